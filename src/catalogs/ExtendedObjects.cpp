#include "catalogs/ExtendedObjects.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "astro/StringUt.h"
#include "catalogs/RecordCodec.h"
#include "help/TextLists.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace qnr {

namespace {

auto GalaxyVisit = [](auto& v, GalaxyRecord& r) { VisitGalaxyRecord(v, r); };
auto IndexVisit = [](auto& v, GalaxyIndexEntry& e) { VisitGalaxyIndexEntry(v, e); };
auto QuasarVisit = [](auto& v, QuasarRecord& r) { VisitQuasarRecord(v, r); };

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::optional<double> ParseReal(const std::string& field) {
    std::string t = Trim(field);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty()) return std::nullopt;
    double v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::int16_t> ParseInt16(const std::string& field) {
    std::string t = Trim(field);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    int v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || v < -32768 || v > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

std::string Shortest(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string Shortest(float v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

Bytes EncodeGalaxyCatalog(const std::vector<GalaxyRecord>& records) { return EncodeRecords(records, GalaxyVisit); }

std::vector<GalaxyRecord> DecodeGalaxyCatalog(const Bytes& bytes) {
    return DecodeRecords<GalaxyRecord>(bytes, GalaxyRecordSize, GalaxyVisit);
}

GalaxyRecord DecodeGalaxyRecord(const Bytes& bytes, std::size_t index) {
    return DecodeOne<GalaxyRecord>(bytes.data() + index * GalaxyRecordSize, GalaxyRecordSize, GalaxyVisit);
}

std::string GalaxyName(const GalaxyRecord& r) {
    switch (r.nameKind) {
        case GalaxyNameNGC: return "NGC " + TrimRight(r.number);
        case GalaxyNameIC: return "IC " + TrimRight(r.number);
        default: return TrimRight(r.ownName);
    }
}

std::vector<GalaxyIndexEntry> BuildGalaxyIndex(const std::vector<GalaxyRecord>& records) {
    std::vector<GalaxyIndexEntry> index;
    std::size_t i = 0;
    for (std::int32_t hour = 0; hour <= 24; ++hour) {
        while (i < records.size() && records[i].ra < hour) ++i;
        index.push_back({hour, static_cast<std::int32_t>(i)});
    }
    return index;
}

Bytes EncodeGalaxyIndex(const std::vector<GalaxyIndexEntry>& entries) { return EncodeRecords(entries, IndexVisit); }

std::vector<GalaxyIndexEntry> DecodeGalaxyIndex(const Bytes& bytes) {
    return DecodeRecords<GalaxyIndexEntry>(bytes, GalaxyIndexEntrySize, IndexVisit);
}

std::string GalaxyIndexName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".NDX";
    return path.substr(0, dot) + ".NDX";
}

std::int32_t GalaxyIndexStart(const std::vector<GalaxyIndexEntry>& index, double minRA) {
    for (std::int64_t i = static_cast<std::int64_t>(index.size()) - 2; i >= 0; --i)
        if (index[static_cast<std::size_t>(i)].key <= minRA) return index[static_cast<std::size_t>(i)].record;
    return 0;
}

Bytes EncodeQuasarCatalog(const std::vector<QuasarRecord>& records) { return EncodeRecords(records, QuasarVisit); }

std::vector<QuasarRecord> DecodeQuasarCatalog(const Bytes& bytes) {
    return DecodeRecords<QuasarRecord>(bytes, QuasarRecordSize, QuasarVisit);
}

FieldObject QuasarObject(const QuasarRecord& r) {
    FieldObject o;
    o.name = Cut(r.name, FieldObjectNameLength);
    o.ra = r.ra;
    o.dec = r.dec;
    o.V = r.V;
    o.BV = r.BV;
    o.UB = r.UB;
    o.Z = r.Z;
    o.bvAssigned = r.bvAssigned != 0;
    o.ubAssigned = r.ubAssigned != 0;
    o.kind = KindQuasar;
    o.spType = QuasarSpectralCode;
    return o;
}

std::string FormatGalaxyImageLine(const GalaxyImageLine& l) {
    std::string s = l.designation + "," + l.ngcNumber + ",";
    if (l.magnitude) s += Shortest(*l.magnitude);
    s += "," + Shortest(l.ra) + "," + Shortest(l.dec) + "," + l.fileName + "," + std::to_string(l.extra1) + "," +
         std::to_string(l.extra2) + "," + std::to_string(l.x0) + "," + std::to_string(l.y0);
    return s;
}

Bytes EncodeGalaxyImageList(const std::vector<GalaxyImageLine>& lines) {
    Bytes out;
    for (const auto& l : lines) {
        std::string s = FormatGalaxyImageLine(l) + "\r\n";
        out.insert(out.end(), s.begin(), s.end());
    }
    return out;
}

std::optional<MessierEntry> ParseGalaxyImageLine(const std::string& line) {
    std::vector<std::string> f;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        f.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (f.size() < 10) return std::nullopt;
    MessierEntry e;
    const std::string designation = Trim(f[0]), number = Trim(f[1]);
    e.name = Cut(designation.empty() ? "NGC " + number : designation + " (NGC " + number + ")", GalaxyNameLength);
    if (!Trim(f[2]).empty()) {
        auto m = ParseReal(f[2]);
        if (!m) return std::nullopt;
        e.magnitude = static_cast<Single>(*m);
    }
    auto ra = ParseReal(f[3]), dec = ParseReal(f[4]);
    auto a = ParseInt16(f[6]), b = ParseInt16(f[7]), x0 = ParseInt16(f[8]), y0 = ParseInt16(f[9]);
    if (!ra || !dec || !a || !b || !x0 || !y0) return std::nullopt;
    e.ra = *ra;
    e.dec = *dec;
    e.fileName = Cut(Trim(f[5]), 71);
    e.extra1 = *a;
    e.extra2 = *b;
    e.x0 = *x0;
    e.y0 = *y0;
    return e;
}

double GalaxyImageFactor(int telescope) {
    switch (telescope) {
        case 0: return 0.7 * 0.8;
        case 1: return 0.85 * 0.8;
        default: return 1.2 * 0.8;
    }
}

GreyImage GreyFromRed(const RgbImage& in, double factor) {
    GreyImage out;
    out.width = in.width;
    out.height = in.height;
    const std::size_t n = static_cast<std::size_t>(std::max(in.width, 0)) * static_cast<std::size_t>(std::max(in.height, 0));
    out.grey.resize(n);
    for (std::size_t i = 0; i < n && 3 * i < in.rgb.size(); ++i) {
        const double v = std::nearbyint(in.rgb[3 * i] * factor);
        out.grey[i] = static_cast<std::uint8_t>(std::min(v, 255.0));
    }
    return out;
}

bool ExtObjBmp::Load(const MessierEntry& e, const std::string& imagesFolder, int telescope,
                     const ImageLoader& loader) {
    entry = e;
    image.reset();
    if (!loader) return false;
    std::optional<RgbImage> picture = loader(imagesFolder + e.fileName);
    if (!picture) return false;
    image = std::make_shared<GreyImage>(GreyFromRed(*picture, GalaxyImageFactor(telescope)));
    return true;
}

std::pair<int, int> ExtObjBmp::Origin() const {
    return {static_cast<int>(std::nearbyint(entry.x)) - entry.x0, static_cast<int>(std::nearbyint(entry.y)) - entry.y0};
}

bool ExtendedObjects::Load(const std::string& requested, platform::Services& services) {
    entries_.clear();
    inField_.clear();
    const std::string path = services.files->resolve(requested);
    platform::ReadResult file = services.files->readFile(path, std::size_t{64} << 20);
    if (file.code != 0) {
        services.dialogs->show("Unable to Open Messier Galaxies List!\r\n\r\nFile Name: " + path + "\r\n" +
                                   IOErrorText(file.code),
                               "File Error!", platform::Icon::Error);
        return false;
    }
    for (const std::string& line : help::SplitTextLines(file.bytes))
        if (auto e = ParseGalaxyImageLine(line)) entries_.push_back(*e);
    return true;
}

void ExtendedObjects::SelectInField(const FieldLimits& f) {
    inField_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const MessierEntry& e = entries_[i];
        if (e.dec < f.MinDec || e.dec > f.MaxDec) continue;
        const bool raIn = f.acrossZero() ? (e.ra >= f.MinRA || e.ra <= f.MaxRA) : (e.ra >= f.MinRA && e.ra <= f.MaxRA);
        if (raIn) inField_.push_back(i);
    }
}

GalaxyColours GalaxyColoursOf(int t) {
    auto make = [](Single bv, Single ub, const char* type) { return GalaxyColours{bv, ub, ParseSpType(type)}; };
    if (t == -9) return make(-0.35f, -1.15f, "O5");
    if (t >= -8 && t <= -5) return make(0.92f, 0.5f, "K2");
    if (t >= -4 && t <= 0) return make(0.92f, 0.48f, "K2");
    if (t == 1 || t == 2) return make(0.82f, 0.28f, "G9");
    if (t == 3) return make(0.81f, 0.27f, "G8");
    if (t == 4) return make(0.63f, -0.02f, "G2");
    if (t >= 5 && t <= 9) return make(0.52f, -0.12f, "F8");
    if (t >= 10 && t <= 16) return make(0.5f, -0.2f, "F7");
    // 20, and codes the table does not name (17 to 19, or outside -9..20):
    // the colours of an unclassified galaxy.
    return make(0.7f, 0.0f, "G6");
}

GalaxyEntry GalaxyFromRecord(const GalaxyRecord& r) {
    GalaxyEntry g;
    g.name = Cut(GalaxyName(r), GalaxyNameLength);
    g.ra = r.ra;
    g.dec = r.dec;
    g.magnitude = r.magnitude;
    g.major = r.major;
    g.minor = r.minor;
    g.positionAngle = r.positionAngle;
    g.spare = r.spare;
    g.typeCode = r.typeCode;
    g.bar = r.bar;
    g.luminosity = r.luminosity;
    g.variety = r.variety;
    const GalaxyColours c = GalaxyColoursOf(r.typeCode);
    g.BV = c.BV;
    g.UB = c.UB;
    g.spType = c.spType;
    return g;
}

std::string GalaxyTypeText(int typeCode, char bar, char luminosity, char variety) {
    static const std::array<const char*, 30> Names = {
        "QSO/AGN", "", "Unclassified Elliptical", "Compact Elliptical", "E, dwarf E", "E/SO", "L-, S0-", "L, S0",
        "L+, S0+", "S0/a, S0-a", "Sa", "Sab", "Sb", "Sbc", "Sc", "Scd", "Sd", "Sdm", "Sm", "Im",
        "Compact Irregular", "", "", "", "Peculiar, Unclassifiable", "Irr II", "", "", "", "Unclassified Spiral"};
    // Codes outside the table have no name rather than one read from past its end.
    std::string s = typeCode >= -9 && typeCode <= 20 ? Names[static_cast<std::size_t>(typeCode + 9)] : "";
    if (bar != ' ' && bar != '\0') {
        // The bar goes after the first letter of the spiral or irregular part;
        // a text without one (empty, or an elliptical) is left as it is.
        const std::size_t at = s.find_first_of("SI");
        if (at != std::string::npos) {
            s.erase(0, at);
            if (bar == 'X')
                s.insert(1, "AB");
            else if (bar == 'B')
                s.insert(1, "B");
        }
    }
    if (variety != ' ' && variety != '\0') s += std::string("(") + variety + ")";
    static const std::array<const char*, 9> Classes = {"I", "I-II", "II", "II-III", "III", "III-IV", "IV", "IV-V", "V"};
    if (luminosity >= '1' && luminosity <= '9') s += std::string(" ") + Classes[static_cast<std::size_t>(luminosity - '1')];
    return s;
}

std::string GalaxyTypeText(const GalaxyEntry& e) { return GalaxyTypeText(e.typeCode, e.bar, e.luminosity, e.variety); }

Extended MagnitudeSum(Extended m1, Extended m2) {
    return m1 - 2.5L * std::log10(std::pow(10.0L, -(m2 - m1) / 2.5L) + 1);
}

Extended MagnitudeOfRatio(Extended ratio, Extended zero) {
    return ratio > 0 ? zero - 2.5L * std::log10(ratio) : 30.0L;
}

}  // namespace qnr
