// qnrtool results show: a saved results file in line form or comma-separated.
#include <sstream>

#include <gtest/gtest.h>
#include <utime.h>

#include "photometry/cli/ResultsCommands.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::photometry {
namespace {

using test::ToolRun;

class ResultsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterCommands(registry); }
    ToolRun Call(std::vector<std::string> argv) {
        return test::RunTool(registry, platform.services(), argv);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = tmp.file(name);
        test::WriteAll(path, std::vector<std::uint8_t>(text.begin(), text.end()));
        return path;
    }

    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

TEST_F(ResultsCommandsTest, ShowsAnOlderFileInTheLineFormAndAsCommaSeparated) {
    // An older fixed-column file, written in 2004: 11-character IDs, short
    // Julian Dates, a Latin-1 remark, entries out of time order.
    const std::string file = Write("group3.TXT",
                                   "Object ID    MJD(Days)    U      B      V         Z      Spectrum     Comments\r\n"
                                   "HD 1234     3072.586910 12.345 11.802                    G2V          check\r\n"
                                   "\r\n"
                                   "NGC 4565 Co 3071.586910        14.100 13.250   4.270E-03 K0III        caf\xE9\r\n");
    const std::time_t written = static_cast<std::time_t>((2453100.5L - 2440587.5L) * 86400);
    const utimbuf times{written, written};
    ASSERT_EQ(::utime(file.c_str(), &times), 0);

    ToolRun r = Call({"results", "show", file});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments\n"
              "NGC 4565 Co     2453071.586910        14.100 13.250   4.270E-03 K0III        caf\xC3\xA9\n"
              "HD 1234         2453072.586910 12.345 11.802                    G2V          check\n");

    r = Call({"results", "show", file, "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Object ID,JD(Days),U,B,V,Z,Spectrum,Comments\n"
              "NGC 4565 Co,2453071.586910,,14.100,13.250,4.270E-03,K0III,caf\xC3\xA9\n"
              "HD 1234,2453072.586910,12.345,11.802,,,G2V,check\n");
}

TEST_F(ResultsCommandsTest, CountsWithRAndIFromACommaSeparatedFile) {
    const std::string file = Write("counts.CSV",
                                   "Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments\r\n"
                                   "\"Smith, Obj. 3\",2453072.586910,310.4,,,2.500E+07,,,,\"a, b\"\r\n");
    ToolRun r = Call({"results", "show", file});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Object ID       JD(Days)            U         B         V         R         I         Z      Spectrum     Comments\n"
              "Smith, Obj. 3   2453072.586910     310.4                     2.500E+07                                    a, b\n");
    r = Call({"results", "show", file, "--csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments\n"
              "\"Smith, Obj. 3\",2453072.586910,310.4,,,2.500E+07,,,,\"a, b\"\n");
}

TEST_F(ResultsCommandsTest, RefusesWhatItCannotRead) {
    const std::string notes = Write("notes.TXT", "Observing notes\r\n");
    const std::string bad = Write("bad.TXT",
                                  "Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments\r\n"
                                  "HD 5678         2453072.686910 12.3x5\r\n");
    struct Case {
        const char* why;
        std::vector<std::string> argv;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"not a results file", {"results", "show", notes}, 1,
         "qnrtool: " + notes + " does not contain saved photometric data\n"},
        {"a reading that is no number", {"results", "show", bad}, 1,
         "qnrtool: " + bad + ": '12.3x5' is not a valid floating point value\n"},
        {"a missing file", {"results", "show", tmp.file("none.TXT")}, 1,
         "qnrtool: no such results file: " + tmp.file("none.TXT") + "\n"},
        {"no file", {"results", "show"}, 2, "qnrtool: results show takes one FILE\n"},
        {"an unknown option", {"results", "show", notes, "--tsv"}, 2, "qnrtool: results show takes only --csv\n"},
    };
    for (const Case& c : cases) {
        const ToolRun r = Call(c.argv);
        EXPECT_EQ(r.code, c.code) << c.why;
        EXPECT_EQ(r.err, c.err) << c.why;
        EXPECT_EQ(r.out, "") << c.why;
    }
}

}  // namespace
}  // namespace qnr::photometry
