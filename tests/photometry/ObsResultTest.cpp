// The results file forms without a window: the line of each kind of entry,
// the comma-separated form, the round trip of both, the reading of older
// files and the rules that tell a file's form.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "photometry/ResultsDates.h"
#include "photometry/ObsResult.h"

namespace qnr::photometry {
namespace {

ObsResult Entry(std::string id, double time, std::array<Extended, 5> values, std::uint8_t kind,
                SpectralTypeCode type = 0, Single z = 0, std::string remarks = "") {
    ObsResult e;
    e.objectId = std::move(id);
    e.timeValue = time;
    e.values = values;
    e.kind = kind;
    e.spType = type;
    e.z = z;
    e.remarks = std::move(remarks);
    return e;
}

// Times come back to 6 decimals of a day; everything else as printed.
void ExpectSame(const ObsResult& got, const ObsResult& want, const std::string& why) {
    EXPECT_EQ(got.objectId, want.objectId) << why;
    EXPECT_NEAR(got.timeValue, want.timeValue, 5.1e-7) << why;
    for (std::size_t f = 0; f < 5; ++f) EXPECT_EQ(got.values[f], want.values[f]) << why << " filter " << f;
    EXPECT_EQ(got.kind, want.kind) << why;
    EXPECT_EQ(got.spType, want.spType) << why;
    EXPECT_EQ(got.z, want.z) << why;
    EXPECT_EQ(got.remarks, want.remarks) << why;
}

TEST(ObsResultLinesTest, FixedColumnsOfEveryKindOfEntry) {
    // Columns from 0: ID 0-15, JD 16-30, filters from 31 (7 or 10 wide), Z 12, type 13, remarks.
    const std::string mags = "Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments";
    const std::string countsRI =
        "Object ID       JD(Days)            U         B         V         R         I         Z      Spectrum     Comments";
    EXPECT_EQ(ResultsHeader(true, 2), mags);
    EXPECT_EQ(ResultsHeader(false, 4), countsRI);

    struct Case {
        const char* why;
        ObsResult entry;
        int nf;
        bool computeMagnitudes;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"the worked example: U and B magnitudes, no V, no Z, G2V", Entry("HD 1234", March2004, {12.345L, 11.802L}, 1, 50205000, 0, "check"), 2, true,
         "HD 1234         2453072.586910 12.345 11.802                    G2V          check"},
        {"all 15 characters of the ID stay", Entry("NGC 1234 Knot A", March2004, {0, 0, 9.5L}, 1), 2, true,
         "NGC 1234 Knot A 2453072.586910                9.500                          "},
        {"counts with R and I; a redshift", Entry("3C 273", March2004, {1234.56L, 0, 98765.4L, 7.0L, 12.25L}, 0, 0, 0.158f, "qso"), 4, false,
         "3C 273          2453072.586910    1234.6             98765.4       7.0      12.2   1.580E-01              qso"},
        {"a classification alone, no time", Entry("HR 8832", 0, {}, 1, 60003000, 0, "from the atlas"), 2, true,
         "HR 8832         2415018.500000                                  K0III        from the atlas"},
        {"a sky reading has no line while magnitudes are computed", Entry("Sky", March2004, {0, 0, 310.4L}, 0), 2, true, ""},
        {"and is a line of counts otherwise", Entry("Sky", March2004, {0, 0, 310.4L}, 0), 2, false,
         "Sky             2453072.586910                         310.4                          "},
        {"ten million counts and more keep to their column", Entry("Vega", March2004, {0, 25118864.3L, 123456789.0L}, 0), 2, false,
         "Vega            2453072.586910           2.512E+07 1.235E+08                          "},
    };
    for (const Case& c : cases) EXPECT_EQ(ResultsLine(c.entry, c.nf, c.computeMagnitudes), c.line) << c.why;

    // The columns sit under their header labels.
    const std::string line = cases[2].line;
    EXPECT_EQ(line.substr(16, 14), "2453072.586910");
    EXPECT_EQ(countsRI.find("U "), 31u + 5u);
    EXPECT_EQ(line.substr(31, 10), "   1234.6 ");
    EXPECT_EQ(line.substr(106), "qso");
}

TEST(ObsResultLinesTest, CommaSeparatedLines) {
    EXPECT_EQ(CommaHeader(2), "Object ID,JD(Days),U,B,V,Z,Spectrum,Comments");
    EXPECT_EQ(CommaHeader(4), "Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments");
    struct Case {
        const char* why;
        ObsResult entry;
        int nf;
        std::optional<std::string> line;
    };
    const std::vector<Case> cases = {
        {"the worked example; the blank inside the ID stays", Entry("HD 1234", March2004, {12.345L, 11.802L}, 1, 50205000, 0, "check"), 2,
         "HD 1234,2453072.586910,12.345,11.802,,,G2V,check"},
        {"an ID and a remark holding commas are quoted", Entry("Smith, Obj. 3", March2004, {0, 0, 10.25L}, 1, 0, 0, "thin cloud, \"guess\""), 2,
         "\"Smith, Obj. 3\",2453072.586910,,,10.250,,,\"thin cloud, \"\"guess\"\"\""},
        {"counts with R and I and a redshift", Entry("3C 273", March2004, {1234.56L, 0, 0, 7.0L, 0}, 0, 0, 0.158f), 4,
         "3C 273,2453072.586910,1234.6,,,7.0,,1.580E-01,,"},
        {"no line for a sky reading in magnitude mode", Entry("Sky", March2004, {}, 1), 2, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(CommaLine(c.entry, c.nf, true), c.line) << c.why;
}

TEST(ObsResultFilesTest, BothFormsReadBackWhatWasWritten) {
    struct Case {
        const char* why;
        bool magnitudes;
        int nf;
        std::vector<ObsResult> entries;
    };
    const std::vector<Case> cases = {
        {"magnitudes, U B V", true, 2,
         {Entry("HD 1234", March2004, {12.345L, 11.802L, 0}, 1, 50205000, 0, "check"),
          Entry("NGC 4565 Core", March2004 + 0.25, {0, 14.1L, 13.25L}, 1, 0, 0.00427f, "edge-on, dust lane"),
          Entry("Unclassified", 0, {}, 1, 0, 0, ""),
          Entry("HR 8832", March2004 + 1, {}, 1, 20102100, 0, "  leading blanks and a 36-char rem.x")}},
        {"magnitudes with R and I", true, 4,
         {Entry("M67 F-81", March2004, {10.5L, 10.75L, 10.125L, 9.875L, 9.5L}, 1, 50205000, 0, "R, I too")}},
        {"counts with R and I, large and small", false, 4,
         {Entry("Vega", March2004, {2.5e7L, 0, 12.5L, 7.0L, 0.5L}, 0, 0, 0, ""),
          Entry("3C 273", March2004 + 2, {0, 1234.5L, 0, 0, 0}, 0, 0, 0.158f, "qso")}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> fixed{ResultsHeader(c.magnitudes, c.nf)};
        std::vector<std::string> comma{CommaHeader(c.nf)};
        for (const ObsResult& e : c.entries) {
            fixed.push_back(ResultsLine(e, c.nf, c.magnitudes));
            comma.push_back(*CommaLine(e, c.nf, c.magnitudes));
        }
        for (const auto* lines : {&fixed, &comma}) {
            const std::string why = std::string(c.why) + (lines == &fixed ? " (fixed)" : " (comma)");
            auto form = DetectResultsForm(*lines);
            ASSERT_TRUE(form.ok()) << why;
            EXPECT_EQ(form->commaSeparated, lines == &comma) << why;
            EXPECT_EQ(form->magnitudes, std::optional<bool>(c.magnitudes)) << why;
            EXPECT_EQ(form->includeRI, c.nf == 4) << why;
            auto read = ParseResultsFile(*lines, *form, c.magnitudes ? 1 : 0, c.nf, 2460500);
            ASSERT_TRUE(read.ok()) << why << ": " << read.error();
            ASSERT_EQ(read->size(), c.entries.size()) << why;
            for (std::size_t i = 0; i < c.entries.size(); ++i) ExpectSame((*read)[i], c.entries[i], why);
        }
    }
}

TEST(ObsResultFilesTest, ShortJulianDatesTakeTheirDigitsFromTheFilesDate) {
    // Older files hold the JD without its first three digits. The digits make
    // the latest date not after the day the file was written (+1 day for clocks).
    struct Case {
        const char* why;
        const char* field;
        Extended fileWritten;
        Extended jd;
    };
    const std::vector<Case> cases = {
        {"written in 2004", "3072.586910", 2453100.25L, 2453072.586910L},
        {"written in 2025 about a 2004 night (today's digits would put it in 2051)", "3072.586910", 2460800.0L, 2453072.586910L},
        {"a night of early 2023 read later in 2023", "9990.500000", 2460050.0L, 2459990.5L},
        {"after the turn at JD 2460000", "0003.250000", 2460050.0L, 2460003.25L},
        {"observed on the day the file was written", "3100.000000", 2453100.0L, 2453100.0L},
        {"the short text of day 0 is no time", "5018.500000", 2460050.0L, 2415018.5L},
        {"a full Julian Date stands as it is", "2453072.586910", 2460050.0L, 2453072.586910L},
    };
    for (const Case& c : cases) {
        auto jd = ReadJulianDateField(c.field, c.fileWritten);
        ASSERT_TRUE(jd.has_value()) << c.why;
        EXPECT_NEAR(static_cast<double>(*jd), static_cast<double>(c.jd), 1e-7) << c.why;
    }
    EXPECT_FALSE(ReadJulianDateField("30x2.5", 2453100).has_value());
    EXPECT_NEAR(static_cast<double>(JulianDateOfUnixSeconds(0)), 2440587.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(JulianDateOfUnixSeconds(1677283200)), 2460000.5, 1e-9);  // 2023-02-25 00:00 UT
}

TEST(ObsResultFilesTest, FilesOfTheOlderLayoutLoad) {
    // Eleven-character IDs, short Julian Dates, "MJD(Days)" headers.
    const std::vector<std::string> fixed = {
        "Object ID    MJD(Days)    U      B      V         Z      Spectrum     Comments",
        "HD 1234     3072.586910 12.345 11.802                    G2V          check",
        "",
        "NGC 4565 Co 3072.836910        14.100 13.250   4.270E-03 Sbc          edge-on",
    };
    auto form = DetectResultsForm(fixed);
    ASSERT_TRUE(form.ok());
    EXPECT_FALSE(form->commaSeparated);
    EXPECT_EQ(form->magnitudes, std::optional<bool>(true));
    EXPECT_EQ(form->layout.filterStart(), 24);
    auto read = ParseResultsFile(fixed, *form, 1, 2, 2460800);
    ASSERT_TRUE(read.ok()) << read.error();
    ASSERT_EQ(read->size(), 2u);  // the blank line holds no entry
    ExpectSame((*read)[0], Entry("HD 1234", March2004, {12.345L, 11.802L}, 1, 50205000, 0, "check"), "fixed");
    EXPECT_EQ((*read)[1].objectId, "NGC 4565 Co");
    EXPECT_FLOAT_EQ((*read)[1].z, 0.00427f);

    const std::vector<std::string> comma = {
        "Object ID,MJD(Days),U,B,V,R,I,Z,Spectrum,Comments",
        "HD1234,3072.586910,1234.5,,,,,,G2V,check, twice",
    };
    form = DetectResultsForm(comma);
    ASSERT_TRUE(form.ok());
    EXPECT_TRUE(form->commaSeparated);
    EXPECT_TRUE(form->includeRI);
    EXPECT_EQ(form->magnitudes, std::optional<bool>(false));
    read = ParseResultsFile(comma, *form, 0, 4, 2453100);
    ASSERT_TRUE(read.ok()) << read.error();
    // Unquoted commas in the remarks were always the rest of the line.
    ExpectSame((*read)[0], Entry("HD1234", March2004, {1234.5L}, 0, 50205000, 0, "check, twice"), "comma");
}

TEST(ObsResultFilesTest, TheFormOfAFile) {
    struct Case {
        const char* why;
        std::vector<std::string> lines;
        bool ok;
        bool comma = false;
        std::optional<bool> magnitudes;
        bool includeRI = false;
    };
    const std::vector<Case> cases = {
        {"fixed, magnitudes: B 7 after U", {"Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments"}, true, false, true, false},
        {"fixed, counts, R and I", {ResultsHeader(false, 4)}, true, false, false, true},
        {"comma: a value of three decimals is a magnitude", {"Object ID,JD(Days),U,B,V,Z,Spectrum,Comments", "A,2453072.586910,,12.345,,,,"}, true, true, true, false},
        {"comma: one decimal is a count", {"Object ID,JD(Days),U,B,V,Z,Spectrum,Comments", "A,2453072.586910,310.4,,,,,"}, true, true, false, false},
        {"comma: the exponent form is a count", {"Object ID,JD(Days),U,B,V,Z,Spectrum,Comments", "A,2453072.586910,2.512E+07,,,,,"}, true, true, false, false},
        {"comma: a first line without values does not decide (its Z and type are no readings)",
         {"Object ID,JD(Days),U,B,V,Z,Spectrum,Comments", "A,2453072.586910,,,,1.230E-02,B1.5V,x.y", "B,2453072.6,310.4,,,,,"}, true, true, false, false},
        {"comma: no value at all leaves the kind open", {"Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments", "A,2453072.586910,,,,,,,G2V,"}, true, true, std::nullopt, true},
        {"comma: a quoted ID with a point and a comma", {"Object ID,JD(Days),U,B,V,Z,Spectrum,Comments", "\"x.1, y\",2453072.586910,310.4,,,,,"}, true, true, false, false},
        {"not results", {"Objects in field", "HD 1"}, false, false, std::nullopt, false},
        {"an empty file", {}, false, false, std::nullopt, false},
        {"an unknown column layout", {"Object ID  U      B      V"}, false, false, std::nullopt, false},
    };
    for (const Case& c : cases) {
        auto form = DetectResultsForm(c.lines);
        ASSERT_EQ(form.ok(), c.ok) << c.why;
        if (!c.ok) continue;
        EXPECT_EQ(form->commaSeparated, c.comma) << c.why;
        EXPECT_EQ(form->magnitudes, c.magnitudes) << c.why;
        EXPECT_EQ(form->includeRI, c.includeRI) << c.why;
    }
}

// A time the observation dialog could never have set (before year 0, after
// year 8000) is no saved result: its line would not keep to its columns.
TEST(ObsResultFilesTest, TimesOffTheDialogsDatesMakeNoResultsFile) {
    struct Case {
        const char* why;
        std::string field;
        bool ok;
    };
    const Extended firstJd = static_cast<Extended>(EncodeDate(0, 1, 1)) + JulianDateOfDayZero;
    const Extended endJd = static_cast<Extended>(EncodeDate(8001, 1, 1)) + JulianDateOfDayZero;
    const std::vector<Case> cases = {
        {"1e300", "1e300", false},
        {"a negative Julian Date", "-5", false},
        {"just before year 0", FixedStr(firstJd - 0.01L, 6), false},
        {"the first moment of year 0", FixedStr(firstJd, 6), true},
        {"the last day of year 8000", FixedStr(endJd - 0.5L, 6), true},
        {"year 8001", FixedStr(endJd, 6), false},
    };
    for (const Case& c : cases) {
        const std::string time = std::string(c.field.size() < 14 ? 14 - c.field.size() : 0, ' ') + c.field;
        const std::vector<std::string> fixed = {ResultsHeader(true, 2), "HD 1234         " + time + " 12.345 "};
        const std::vector<std::string> comma = {CommaHeader(2), "HD 1234," + c.field + ",12.345,,,,,"};
        for (const auto* lines : {&fixed, &comma}) {
            auto form = DetectResultsForm(*lines);
            ASSERT_TRUE(form.ok()) << c.why;
            auto read = ParseResultsFile(*lines, *form, 1, 2, 2460000);
            ASSERT_EQ(read.ok(), c.ok) << c.why << (lines == &fixed ? " fixed" : " comma");
            if (!c.ok) {
                EXPECT_EQ(read.error(), NoResultsData) << c.why;
                continue;
            }
            // What reads back keeps to its columns: the filter values start where the header says.
            const std::string line = ResultsLine((*read)[0], 2, true);
            EXPECT_EQ(line.substr(static_cast<std::size_t>(CurrentLayout.filterStart()), 6), "12.345") << c.why;
        }
    }
}

TEST(ObsResultFilesTest, AFieldThatIsNoNumberFailsTheWholeFile) {
    const std::vector<std::string> lines = {
        ResultsHeader(true, 2),
        "HD 1234         2453072.586910 12.345 11.802                    G2V          check",
        "HD 5678         2453072.686910 12.3x5                                               ",
    };
    auto form = DetectResultsForm(lines);
    ASSERT_TRUE(form.ok());
    auto read = ParseResultsFile(lines, *form, 1, 2, 2460000);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error(), "'12.3x5' is not a valid floating point value");

    // A Z that is no number reads as none.
    const std::vector<std::string> badZ = {ResultsHeader(true, 2),
                                           "HD 1234         2453072.586910 12.345              redshift?    G2V          "};
    read = ParseResultsFile(badZ, *DetectResultsForm(badZ), 1, 2, 2460000);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ((*read)[0].z, 0);
    EXPECT_EQ((*read)[0].spType, 50205000);
}

}  // namespace
}  // namespace qnr::photometry
