#pragma once
// One line of the observational results list, the list itself, and the two
// text forms of a results file (fixed columns and comma-separated).
//
// Fixed columns, counted from 0: the object ID in 0-15 (15 characters and a
// blank), the full Julian Date right-aligned in 16-30, then one field per
// filter (7 wide for magnitudes, 10 for counts), Z (12), the spectral type
// (13) and the remarks. Files of the older layout, with an 11-character ID
// and the Julian Date without its first three digits in 12-23, still load.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astro/Expected.h"
#include "astro/LinkLst.h"
#include "astro/Types.h"
#include "catalogs/SpType.h"

namespace qnr::photometry {

inline constexpr std::size_t ObjectIdChars = 15;
inline constexpr std::size_t RemarksChars = 36;
inline constexpr int FilterCount = 5;  // U, B, V, R, I

struct ObsResult {
    std::string objectId;  // text[15]
    double timeValue = 0;  // day number (zone 0); 0 = no time
    std::array<Extended, FilterCount> values{};  // 0 = no value
    std::uint8_t kind = 0;  // 1 = magnitudes, 0 = mean counts per second
    SpectralTypeCode spType = 0;
    Single z = 0;
    std::string remarks;  // text[36]

    bool magnitudes() const { return kind == 1; }
    bool operator==(const ObsResult&) const = default;
};

// In ascending time; entries of equal time keep the order they came in.
class ObsResultList final : public SortableLinkList<ObsResult> {
public:
    bool Greater(const ObsResult& a, const ObsResult& b) const override { return a.timeValue > b.timeValue; }
};

// The highest filter index shown: 4 with R and I, else 2.
inline int HighestFilter(bool includeRI) { return includeRI ? 4 : 2; }

// Column layout of a fixed-column file.
struct ResultsLayout {
    int idWidth = 16;    // the ID's characters and their blank
    int timeWidth = 15;  // the Julian Date and its blank
    int filterStart() const { return idWidth + timeWidth; }
};
inline constexpr ResultsLayout CurrentLayout{16, 15};
inline constexpr ResultsLayout ShortDateLayout{12, 12};

// The header line for magnitudes or counts with filters 0..nf.
std::string ResultsHeader(bool magnitudes, int nf);
// An entry's line. An entry named "Sky" has no text while magnitudes are
// computed (a sky reading is no result then).
std::string ResultsLine(const ObsResult& entry, int nf, bool computeMagnitudes);

// "Object ID,JD(Days),U,B,V," + "R,I," for nf = 4 + "Z,Spectrum,Comments".
std::string CommaHeader(int nf);
// The entry's fields without their padding; an ID or remark holding a comma
// or starting with a quote is quoted. Nothing for an entry without a line.
std::optional<std::string> CommaLine(const ObsResult& entry, int nf, bool computeMagnitudes);

// What a results file's first lines tell about it.
struct ResultsFileForm {
    bool commaSeparated = false;
    // Magnitudes or counts; unknown for a comma-separated file without any
    // filter value.
    std::optional<bool> magnitudes;
    bool includeRI = false;
    ResultsLayout layout = CurrentLayout;  // of a fixed-column file
};

// The "does not contain saved photometric data!" case is the error (its text
// is the caller's, who knows the file's name).
Expected<ResultsFileForm> DetectResultsForm(const std::vector<std::string>& lines);

// A Julian Date field. The full date, or the date without its first three
// digits (older files), whose missing digits make the latest date not after
// `referenceJd` (the day the file was written). The short text of day 0 is
// day 0 again.
std::optional<Extended> ReadJulianDateField(const std::string& field, Extended referenceJd);

// The error of a file that holds no results data (its text is the caller's,
// who knows the file's name).
inline constexpr const char* NoResultsData = "";

// Every entry of a results file, in file order. The kind flag of each entry
// is `kind`; filters above nf get no value. A filter field that is neither
// blank nor a number makes the whole file fail with the conversion error; a
// time outside the years the observation date dialog takes (0 to 8000) makes
// it fail as NoResultsData.
Expected<std::vector<ObsResult>> ParseResultsFile(const std::vector<std::string>& lines, const ResultsFileForm& form,
                                                  std::uint8_t kind, int nf, Extended referenceJd);

// The Julian Date of a time as seconds since 1970-01-01 00:00 UT.
Extended JulianDateOfUnixSeconds(std::int64_t seconds);

// A results file's `referenceJd`: the day it was written (its modification
// time); a file without a date of its own counts as written before JD 2460000.
Extended ResultsFileReferenceJd(std::optional<std::int64_t> modifiedSeconds);
inline constexpr std::size_t MaxResultsFileBytes = 64u << 20;

}  // namespace qnr::photometry
