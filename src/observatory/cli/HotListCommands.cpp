#include "observatory/cli/HotListCommands.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>

#include "astro/StringUt.h"
#include "observatory/HotList.h"
#include "tool/Registry.h"

namespace qnr::observatory {

namespace {

std::string AbsolutePath(const std::string& path, platform::FileSystem& files) {
    if (!path.empty() && path[0] == '/') return path;
    return files.currentFolder() + path;
}

bool RejectLeftovers(tool::Arguments& args, tool::Context& ctx, std::size_t positionals) {
    if (args.missingValue()) {
        ctx.err << "qnrtool: an option is missing its value\n";
        return true;
    }
    auto extra = args.leftoverOptions();
    if (!extra.empty()) {
        ctx.err << "qnrtool: unknown option " << extra.front() << "\n";
        return true;
    }
    if (args.positionals().size() != positionals) {
        ctx.err << "qnrtool: hotlist commands take one FILE\n";
        return true;
    }
    return false;
}

std::optional<Extended> Number(const std::string& text) {
    std::string s = text;
    if (!s.empty() && s.front() == '+') s.erase(0, 1);
    if (s.empty() || s.find_first_not_of("0123456789.-eE") != std::string::npos) return std::nullopt;
    Extended v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Command-line words arrive as UTF-8; the file holds Latin-1.
std::optional<std::string> Utf8ToLatin1(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Fixed(Extended v, int decimals) { return FixedStr(v, decimals); }

// The entries of FILE; an error text when it cannot be used. A missing file
// is an empty list when `missingIsEmpty`.
Expected<std::vector<ObjctDat>> ReadList(const std::string& path, platform::FileSystem& files, bool missingIsEmpty) {
    if (!files.exists(path)) {
        if (missingIsEmpty) return std::vector<ObjctDat>{};
        return Fail("no such hot-list file: " + path);
    }
    if (files.isFolder(path)) return Fail(path + " is a folder");
    const platform::ReadResult read = files.readFile(path, HotListRecordSize << 20);
    if (read.code != 0) return Fail(path + ": " + IOErrorText(read.code));
    auto entries = DecodeHotList(read.bytes);
    if (!entries) return Fail(path + " is not a usable hot list (" + entries.error() + ")");
    return entries;
}

int Show(tool::Arguments& args, tool::Context& ctx) {
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    const std::string path = AbsolutePath(args.positionals()[0], *ctx.services.files);
    auto entries = ReadList(path, *ctx.services.files, false);
    if (!entries) {
        ctx.err << "qnrtool: " << entries.error() << "\n";
        return tool::ExitFailure;
    }
    ctx.out << "file = " << path << "\n" << "entries = " << entries->size() << "\n";
    std::size_t n = 0;
    for (const ObjctDat& e : *entries) {
        const std::string key = "entry." + std::to_string(++n) + ".";
        ctx.out << key << "id = " << Latin1ToUtf8(e.identifier) << "\n"
                << key << "ra_hours = " << Fixed(e.ra, 8) << "\n"
                << key << "dec_deg = " << Fixed(e.dec, 7) << "\n"
                << key << "ra_hms = " << HMSStr(e.ra, 2, false) << "\n"
                << key << "dec_dms = " << DMSStr(e.dec, 1, false) << "\n"
                << key << "comment = " << Latin1ToUtf8(e.comment) << "\n";
    }
    return tool::ExitOk;
}

int Add(tool::Arguments& args, tool::Context& ctx) {
    const auto id = args.option("--id");
    const auto raText = args.option("--ra-hours");
    const auto decText = args.option("--dec-deg");
    const auto commentText = args.option("--comment");
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    if (!id || !raText || !decText) {
        ctx.err << "qnrtool: hotlist add needs --id, --ra-hours and --dec-deg\n";
        return tool::ExitUsage;
    }
    const auto ra = Number(*raText);
    if (!ra || *ra < 0 || *ra > 24) {
        ctx.err << "qnrtool: --ra-hours must be a number from 0 to 24\n";
        return tool::ExitUsage;
    }
    const auto dec = Number(*decText);
    if (!dec || *dec < -90 || *dec > 90) {
        ctx.err << "qnrtool: --dec-deg must be a number from -90 to 90\n";
        return tool::ExitUsage;
    }
    const auto identifier = Utf8ToLatin1(*id);
    const auto comment = Utf8ToLatin1(commentText.value_or(""));
    if (!identifier || !comment) {
        ctx.err << "qnrtool: the identifier and comment must be Latin-1 text\n";
        return tool::ExitUsage;
    }
    if (identifier->size() > MaxHotListId || comment->size() > MaxHotListComment) {
        ctx.err << "qnrtool: the identifier holds at most 24 characters, the comment at most 40\n";
        return tool::ExitUsage;
    }

    auto& files = *ctx.services.files;
    const std::string path = AbsolutePath(args.positionals()[0], files);
    auto entries = ReadList(path, files, true);
    if (!entries) {
        ctx.err << "qnrtool: " << entries.error() << "\n";
        return tool::ExitFailure;
    }
    ObjctList list;
    for (const ObjctDat& e : *entries) list.InsertSorted(e);
    list.InsertSorted(ObjctDat{*identifier, *ra, *dec, *comment});
    const int position = list.CurrentIndex() + 1;
    const int code = files.writeFileAtomic(path, EncodeHotList(list.Entries()));
    if (code != 0) {
        ctx.err << "qnrtool: cannot write " << path << ": " << IOErrorText(code) << "\n";
        return tool::ExitFailure;
    }
    ctx.out << "written = " << path << "\n"
            << "entries = " << list.Count() << "\n"
            << "position = " << position << "\n";
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"hotlist", "show", "FILE", "every entry of a hot-list file (.HTL) as \"key = value\" lines", Show});
    registry.add({"hotlist", "add", "FILE --id ID --ra-hours A --dec-deg D [--comment C]",
                  "adds a J2000.0 target to a hot-list file (made when missing), kept in RA order", Add});
    registry.describeGroup(
        "hotlist",
        "A hot list holds the targets students slew to without typing coordinates: 86-byte records of an\n"
        "identifier (at most 24 characters), right ascension in hours and declination in degrees (J2000.0)\n"
        "and a comment (at most 40 characters), in ascending right ascension.\n"
        "\"show\" prints \"file\" and \"entries\", then for entry N (1 = smallest RA) the keys entry.N.id,\n"
        "entry.N.ra_hours, entry.N.dec_deg, entry.N.ra_hms (\"hh mm ss.ss\"), entry.N.dec_dms (\"+dd mm ss.s\")\n"
        "and entry.N.comment.\n"
        "\"add\" inserts one entry at its place in RA order and prints \"written\", \"entries\" and \"position\";\n"
        "the file is replaced only once the new one is complete. A damaged file is refused and left alone.\n");
}

}  // namespace qnr::observatory
