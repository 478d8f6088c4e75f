#include "photometry/ObsResult.h"

#include <cmath>

#include "astro/DateTime.h"
#include "astro/StringUt.h"

namespace qnr::photometry {

namespace {

constexpr const char* FilterNames = "UBVRI";

std::string PadRight(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string PadLeft(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string TrimBoth(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : TrimRight(s.substr(first));
}

bool AllBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// Characters [at, at + count) of s, as far as s reaches.
std::string Slice(const std::string& s, std::size_t at, std::size_t count = std::string::npos) {
    return at >= s.size() ? std::string() : s.substr(at, count);
}

std::string JulianDateText(double timeValue) {
    ObsDateTime date;
    date.zone = 0;
    date.SetDayNumber(timeValue);
    return date.JulianDateStr(6);
}

// A value's text that keeps inside its column: counts of ten million and
// more do not fit the fixed form, so they go over to the exponent form.
std::string FittedValue(Extended value, int decimals, std::size_t width) {
    std::string text = FixedStr(value, decimals);
    for (int p = 4; text.size() > width && p >= 1; --p) text = SciStr(value, p);
    return text;
}

std::string ValueText(const ObsResult& entry, int filter) {
    const Extended v = entry.values[static_cast<std::size_t>(filter)];
    if (v == 0) return {};
    return entry.magnitudes() ? FittedValue(v, 3, 6) : FittedValue(v, 1, 9);
}

std::string ZText(Single z) { return z == 0 ? std::string() : SciStr(z, 4); }

bool HidesLine(const ObsResult& entry, bool computeMagnitudes) {
    return computeMagnitudes && entry.objectId == "Sky";
}

// A comma-separated field, quoted when it holds a comma or starts with a quote.
std::string CommaField(const std::string& text) {
    if (text.find(',') == std::string::npos && (text.empty() || text.front() != '"')) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The field at `at` up to the next comma, or a quoted field; `at` moves past
// the comma after it (to npos at the end of the line).
std::string NextCommaField(const std::string& line, std::size_t& at) {
    if (at == std::string::npos || at > line.size()) {
        at = std::string::npos;
        return {};
    }
    if (at < line.size() && line[at] == '"') {
        std::string field;
        std::size_t i = at + 1;
        for (; i < line.size(); ++i) {
            if (line[i] != '"') {
                field += line[i];
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                break;
            }
        }
        if (i < line.size() && (i + 1 == line.size() || line[i + 1] == ',')) {
            at = i + 1 == line.size() ? std::string::npos : i + 2;
            return field;
        }
        // Not a well-formed quoted field: read it as it stands.
    }
    const std::size_t comma = line.find(',', at);
    std::string field = line.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    at = comma == std::string::npos ? std::string::npos : comma + 1;
    return field;
}

// The remarks: the rest of the line, unquoted when it is one quoted field.
std::string RestField(const std::string& line, std::size_t at) {
    if (at == std::string::npos || at >= line.size()) return {};
    if (line[at] == '"') {
        std::size_t probe = at;
        std::string field = NextCommaField(line, probe);
        if (probe == std::string::npos && line.back() == '"' && line.size() - at >= 2) return field;
    }
    return line.substr(at);
}

// The whole field as one number (no delimiter inside it).
std::optional<Extended> Number(const std::string& field) {
    std::string text = field;
    auto v = NextRealField(text, '\0');
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return *v;
}

std::string ConversionError(const std::string& field) {
    return "'" + field + "' is not a valid floating point value";
}

// A filter field: blanks are no value.
Expected<Extended> FilterValue(const std::string& field) {
    if (AllBlank(field)) return Extended{0};
    const std::optional<Extended> v = Number(field);
    if (!v) return Fail(ConversionError(TrimBoth(field)));
    return *v;
}

Single ZValue(const std::string& field) {
    const std::optional<Extended> v = Number(field);
    return v ? static_cast<Single>(*v) : Single{0};
}

// The times the observation date dialog can set: years 0 to 8000. A time
// outside them is no observation, and its line would run over its column.
bool OnTheDialogsDates(Extended jd) {
    static const Extended first = static_cast<Extended>(EncodeDate(0, 1, 1)) + JulianDateOfDayZero;
    static const Extended end = static_cast<Extended>(EncodeDate(8001, 1, 1)) + JulianDateOfDayZero;
    return jd >= first && jd < end;
}

Expected<double> TimeValue(const std::string& field, Extended referenceJd) {
    const std::optional<Extended> jd = ReadJulianDateField(field, referenceJd);
    if (!jd) return Fail(ConversionError(TrimBoth(field)));
    if (!OnTheDialogsDates(*jd)) return Fail(std::string(NoResultsData));
    ObsDateTime date;
    date.zone = 0;
    date.SetJulianDate(*jd);
    return date.value;
}

Expected<ObsResult> ParseFixedLine(const std::string& line, const ResultsLayout& layout, std::uint8_t kind, int nf,
                                   Extended referenceJd) {
    ObsResult entry;
    entry.objectId = TrimRight(Slice(line, 0, std::min<std::size_t>(layout.idWidth - 1, ObjectIdChars)));
    auto time = TimeValue(Slice(line, static_cast<std::size_t>(layout.idWidth),
                                static_cast<std::size_t>(layout.timeWidth - 1)),
                          referenceJd);
    if (!time) return Fail(time.error());
    entry.timeValue = *time;
    entry.kind = kind;
    const std::size_t width = kind == 1 ? 7 : 10;
    std::size_t at = static_cast<std::size_t>(layout.filterStart());
    for (int f = 0; f < FilterCount; ++f) {
        if (f > nf) continue;
        auto v = FilterValue(Slice(line, at, width - 1));
        if (!v) return Fail(v.error());
        entry.values[static_cast<std::size_t>(f)] = *v;
        at += width;
    }
    entry.z = ZValue(Slice(line, at, 11));
    entry.spType = ParseSpType(Slice(line, at + 12, 12));
    entry.remarks = Slice(line, at + 25, RemarksChars);
    return entry;
}

Expected<ObsResult> ParseCommaLine(const std::string& line, int fileFilters, std::uint8_t kind, int nf,
                                   Extended referenceJd) {
    ObsResult entry;
    std::size_t at = 0;
    entry.objectId = TrimRight(NextCommaField(line, at)).substr(0, ObjectIdChars);
    auto time = TimeValue(NextCommaField(line, at), referenceJd);
    if (!time) return Fail(time.error());
    entry.timeValue = *time;
    entry.kind = kind;
    for (int f = 0; f < fileFilters; ++f) {
        auto v = FilterValue(NextCommaField(line, at));
        if (!v) return Fail(v.error());
        if (f <= nf) entry.values[static_cast<std::size_t>(f)] = *v;
    }
    entry.z = ZValue(NextCommaField(line, at));
    entry.spType = ParseSpType(NextCommaField(line, at));
    entry.remarks = RestField(line, at).substr(0, RemarksChars);
    return entry;
}

// Counts are written with one decimal (or in the exponent form when large),
// magnitudes with three.
std::optional<bool> KindOfValueText(const std::string& field) {
    const std::string text = TrimBoth(field);
    if (text.empty()) return std::nullopt;
    if (text.find_first_of("eE") != std::string::npos) return false;
    const std::size_t dot = text.find('.');
    return !(dot != std::string::npos && text.size() - dot - 1 == 1);
}

}  // namespace

std::string ResultsHeader(bool magnitudes, int nf) {
    std::string header = PadRight("Object ID", 16) + PadRight("JD(Days)", 15);
    for (int f = 0; f <= nf && f < FilterCount; ++f)
        header += (magnitudes ? "  " : "     ") + std::string(1, FilterNames[f]) + "    ";
    return header + "     Z      Spectrum     Comments";
}

std::string ResultsLine(const ObsResult& entry, int nf, bool computeMagnitudes) {
    if (HidesLine(entry, computeMagnitudes)) return {};
    std::string line = PadRight(entry.objectId.substr(0, ObjectIdChars), 16);
    line += PadLeft(JulianDateText(entry.timeValue), 14) + " ";
    const std::size_t width = entry.magnitudes() ? 7 : 10;
    for (int f = 0; f <= nf && f < FilterCount; ++f) {
        const std::string text = ValueText(entry, f);
        line += text.empty() ? std::string(width, ' ') : PadLeft(text + " ", width);
    }
    const std::string z = ZText(entry.z);
    line += z.empty() ? std::string(12, ' ') : PadLeft(z + " ", 12);
    line += PadRight(SpTypeText(entry.spType), 13);
    return line + entry.remarks;
}

std::string CommaHeader(int nf) {
    return std::string("Object ID,JD(Days),U,B,V,") + (nf == 4 ? "R,I," : "") + "Z,Spectrum,Comments";
}

std::optional<std::string> CommaLine(const ObsResult& entry, int nf, bool computeMagnitudes) {
    if (HidesLine(entry, computeMagnitudes)) return std::nullopt;
    std::string line = CommaField(TrimRight(entry.objectId.substr(0, ObjectIdChars))) + ",";
    line += JulianDateText(entry.timeValue) + ",";
    for (int f = 0; f <= nf && f < FilterCount; ++f) line += ValueText(entry, f) + ",";
    line += ZText(entry.z) + ",";
    line += SpTypeText(entry.spType) + ",";
    return line + CommaField(entry.remarks);
}

Expected<ResultsFileForm> DetectResultsForm(const std::vector<std::string>& lines) {
    if (lines.empty() || !lines[0].starts_with("Object ID")) return Fail("");
    const std::string& header = lines[0];
    ResultsFileForm form;
    if (header.find(',') != std::string::npos) {
        form.commaSeparated = true;
        form.includeRI = header.find(",R,") != std::string::npos;
        const int filters = form.includeRI ? 5 : 3;
        // The first value of the file tells its kind.
        for (std::size_t i = 1; i < lines.size() && !form.magnitudes; ++i) {
            std::size_t at = 0;
            NextCommaField(lines[i], at);
            NextCommaField(lines[i], at);
            for (int f = 0; f < filters && !form.magnitudes; ++f) form.magnitudes = KindOfValueText(NextCommaField(lines[i], at));
        }
        return form;
    }
    const std::size_t u = header.find("U ");
    const std::size_t b = header.find("B ");
    if (u == std::string::npos || b == std::string::npos || b < u) return Fail("");
    form.magnitudes = b - u == 7;
    form.includeRI = header.find("R ") != std::string::npos;
    // The letter stands 2 (magnitudes) or 5 (counts) into its field.
    const std::size_t offset = *form.magnitudes ? 2 : 5;
    if (u < offset) return Fail("");
    const std::size_t start = u - offset;
    if (start == static_cast<std::size_t>(ShortDateLayout.filterStart()))
        form.layout = ShortDateLayout;
    else if (start == static_cast<std::size_t>(CurrentLayout.filterStart()))
        form.layout = CurrentLayout;
    else
        return Fail("");
    return form;
}

std::optional<Extended> ReadJulianDateField(const std::string& field, Extended referenceJd) {
    const std::optional<Extended> v = Number(field);
    if (!v) return std::nullopt;
    const Extended t = *v;
    if (t < 0 || t >= 10000) return t;
    // The short text of day 0 (JD 2415018.5) stands for "no time".
    if (t == 5018.5L) return JulianDateOfDayZero;
    const Extended base = std::floor((referenceJd + 1 - t) / 10000) * 10000;
    return base + t;
}

Expected<std::vector<ObsResult>> ParseResultsFile(const std::vector<std::string>& lines, const ResultsFileForm& form,
                                                  std::uint8_t kind, int nf, Extended referenceJd) {
    std::vector<ObsResult> entries;
    const int fileFilters = form.includeRI ? 5 : 3;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // A blank line holds no entry (a sky reading's line while magnitudes are computed).
        if (AllBlank(lines[i])) continue;
        auto entry = form.commaSeparated ? ParseCommaLine(lines[i], fileFilters, kind, nf, referenceJd)
                                         : ParseFixedLine(lines[i], form.layout, kind, nf, referenceJd);
        if (!entry) return Fail(entry.error());
        entries.push_back(std::move(*entry));
    }
    return entries;
}

Extended JulianDateOfUnixSeconds(std::int64_t seconds) {
    return static_cast<Extended>(seconds) / 86400 + 2440587.5L;
}

Extended ResultsFileReferenceJd(std::optional<std::int64_t> modifiedSeconds) {
    return modifiedSeconds ? JulianDateOfUnixSeconds(*modifiedSeconds) : 2459999.0L;
}

}  // namespace qnr::photometry
