#include "ccd/CCD_Fits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

#include "astro/BinFile.h"
#include "astro/StringUt.h"

namespace qnr::ccd {

const std::array<const char*, 5> FilterNames = {"NONE", "B", "V", "R", "I"};

namespace {

std::string Key(const std::string& key) {
    std::string k = key.substr(0, 8);
    k.resize(8, ' ');
    return k;
}

std::string Finish(std::string card) {
    if (card.size() < 30) card.resize(30, ' ');
    card += " /";
    card.resize(FitsRecord, ' ');
    return card;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string TrimLeft(const std::string& s) {
    const auto p = s.find_first_not_of(' ');
    return p == std::string::npos ? std::string() : s.substr(p);
}

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

void PutBigEndian(std::vector<std::uint8_t>& out, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    out.push_back(static_cast<std::uint8_t>(u >> 24));
    out.push_back(static_cast<std::uint8_t>(u >> 16));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
    out.push_back(static_cast<std::uint8_t>(u));
}

}  // namespace

std::string LogicalRecord(const std::string& key, bool value) {
    return Finish(Key(key) + "=" + std::string(20, ' ') + (value ? "T" : "F"));
}

std::string IntegerRecord(const std::string& key, const std::string& digits) {
    std::string v = digits.size() < 20 ? std::string(20 - digits.size(), ' ') + digits : digits;
    return Finish(Key(key) + "= " + v);
}

std::string TextRecord(const std::string& key, const std::string& text) {
    // Between the quotes there is room for 68 characters (columns 12-79).
    std::string raw = text;
    std::string inner = Escaped(raw);
    while (inner.size() > 68) {
        raw.pop_back();
        inner = Escaped(raw);
    }
    if (inner.size() < 8) inner.resize(8, ' ');
    return Finish(Key(key) + "= '" + inner + "'");
}

std::string EndRecord() {
    std::string r = "END";
    r.resize(FitsRecord, ' ');
    return r;
}

std::string FitsRaText(Extended hours) { return TrimLeft(SexaStr(hours, 1, ":", ":", "")); }
std::string FitsDecText(Extended degrees) { return TrimLeft(SexaStr(degrees, 0, ":", ":", "")); }

std::vector<std::string> HeaderRecords(const FitsHeader& h) {
    return {LogicalRecord("SIMPLE", true),
            IntegerRecord("BITPIX", "-32"),
            IntegerRecord("NAXIS", "2"),
            IntegerRecord("NAXIS1", std::to_string(h.width)),
            IntegerRecord("NAXIS2", std::to_string(h.height)),
            TextRecord("OBJECT", h.object),
            TextRecord("ORIGIN", "Zarn Simulation"),
            TextRecord("DATE", h.date),
            TextRecord("FILTER", FilterNames[static_cast<std::size_t>(std::clamp(h.filter, 0, 4))]),
            TextRecord("RA", FitsRaText(h.ra)),
            TextRecord("DEC", FitsDecText(h.dec)),
            TextRecord("EPOCH", FixedStr(2000.0L, 1)),
            TextRecord("OBSERVAT", h.observatory.substr(0, 40)),
            TextRecord("TELESCOP", h.telescope.substr(0, 40)),
            TextRecord("INSTRUME", h.instrument),
            TextRecord("DETECTOR", h.detector),
            TextRecord("OBSERVER", h.observer),
            IntegerRecord("EXP", FixedStr(h.exposure, 0)),
            TextRecord("DATE-OBS", h.dateObs),
            IntegerRecord("GAIN", std::to_string(h.gain)),
            EndRecord()};
}

std::vector<std::uint8_t> FitsBytes(const FitsHeader& header, const ImgArrayObj& image) {
    std::vector<std::uint8_t> out;
    const std::size_t data = image.values().size() * 4;
    out.reserve(FitsBlock * 2 + data + FitsBlock);
    for (const std::string& r : HeaderRecords(header)) out.insert(out.end(), r.begin(), r.end());
    out.resize((out.size() + FitsBlock - 1) / FitsBlock * FitsBlock, ' ');
    for (float v : image.values()) PutBigEndian(out, v);
    out.resize((out.size() + FitsBlock - 1) / FitsBlock * FitsBlock, 0);
    return out;
}

std::string ObserverText(const std::array<std::string, 4>& names) {
    std::string text = names[0];
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i].empty()) continue;
        if (text.size() + 1 + names[i].size() < 68) text += "," + names[i];
    }
    return text.substr(0, 68);
}

std::string ObjectName(bool showObjectId, const std::string& targetName, const std::string& objectId) {
    if (showObjectId && !targetName.empty()) return targetName;
    const std::string id = objectId.empty() ? std::string("UNKNOWN") : objectId;
    if (Upper(id) == "UNKNOWN") return id;
    return "Qnra-" + id;
}

std::string ObjectText(bool showObjectId, const std::string& targetName, const std::string& objectId) {
    return ObjectName(showObjectId, targetName, objectId).substr(0, 68);
}

bool ExistsIgnoringCase(platform::FileSystem& files, const std::string& path) {
    if (files.exists(path)) return true;
    const std::string want = Upper(platform::FileNameOf(path));
    for (const std::string& entry : files.listFolder(platform::FolderOf(path)))
        if (Upper(platform::FileNameOf(entry)) == want) return true;
    return false;
}

std::string NextFreeName(platform::FileSystem& files, const std::string& folder, const std::string& name) {
    std::string candidate = name;
    for (int guard = 0; guard < 100000 && ExistsIgnoringCase(files, folder + candidate); ++guard) {
        std::size_t dot = candidate.rfind('.');
        if (dot == std::string::npos) dot = candidate.size();
        std::size_t start = dot;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(candidate[start - 1]))) --start;
        if (dot - start < 2) {
            // No sequence number to count up: start one.
            candidate = candidate.substr(0, dot) + "-01" + candidate.substr(dot);
            continue;
        }
        // A run of digits too long for a number (a time stamp in the name) is
        // no sequence number either: one is started after it.
        std::int64_t n = 0;
        const char* first = candidate.data() + start;
        const auto [end, ec] = std::from_chars(first, candidate.data() + dot, n);
        if (ec != std::errc() || end != candidate.data() + dot || n == std::numeric_limits<std::int64_t>::max()) {
            candidate = candidate.substr(0, dot) + "-01" + candidate.substr(dot);
            continue;
        }
        std::string digits = std::to_string(n + 1);
        if (digits.size() < 2) digits = "0" + digits;
        candidate = candidate.substr(0, start) + digits + candidate.substr(dot);
    }
    return candidate;
}

bool FITSFileObj::Save(const ImgArrayObj& image, const FitsHeader& header, const std::string& defaultName,
                       const std::string& defaultFolder) {
    platform::FileSystem& files = *services_.files;
    const std::string startFolder = platform::WithTrailingSlash(folder.empty() ? defaultFolder : folder);
    const std::string base = fileName.empty() ? defaultName : fileName;
    platform::FileChoice choice{FitsSaveTitle, startFolder, "FITS Files (*.FIT);;All Files (*)",
                                NextFreeName(files, startFolder, base), "FIT"};
    std::string path;
    for (;;) {
        std::optional<std::string> chosen = services_.chooser->saveFile(choice);
        if (!chosen) return false;
        path = *chosen;
        if (!ExistsIgnoringCase(files, path)) break;
        const platform::Answer a = services_.dialogs->ask(
            {platform::FileNameOf(path) + " Already Exists!\r\n\r\nDo You Want to Overwrite It?",
             "Replace Existing File?", platform::Buttons::YesNo, platform::Icon::Question});
        if (a == platform::Answer::Yes) break;
        choice.startFolder = platform::FolderOf(path);
        choice.defaultName = platform::FileNameOf(path);
    }
    fileName = platform::FileNameOf(path);
    folder = platform::FolderOf(path);
    // Written beside the target and renamed, so a failure never leaves a
    // partial file under the chosen name.
    const int code = files.writeFileAtomic(path, FitsBytes(header, image));
    if (code != 0) {
        services_.dialogs->show("Unable to Open FITS File!\r\n\r\nFile Name: " + path + "\r\nIOResult = " +
                                    std::to_string(code),
                                FitsErrorCaption, platform::Icon::Error);
        return false;
    }
    return true;
}

std::vector<std::uint8_t> BmpBytes(const std::vector<std::uint8_t>& indexes, int width, int height) {
    RecordWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(0);
    w.u16(0);
    w.u16(0);
    w.u32(1078);
    w.u32(40);
    w.i32(width);
    w.i32(-height);
    w.u16(1);
    w.u16(8);
    w.u32(0);
    w.u32(0);
    w.i32(0);
    w.i32(0);
    w.u32(256);
    w.u32(0);
    for (std::uint8_t g : DisplayGreys()) {
        w.u8(g);
        w.u8(g);
        w.u8(g);
        w.u8(0);
    }
    const std::size_t row = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        w.raw(indexes.data() + static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width));
        w.zeros(row - static_cast<std::size_t>(width));
    }
    return w.take();
}

}  // namespace qnr::ccd
