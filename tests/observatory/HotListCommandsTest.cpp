// qnrtool hotlist show and add.
#include <sstream>

#include <gtest/gtest.h>

#include "observatory/HotList.h"
#include "observatory/cli/HotListCommands.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::observatory {
namespace {

using test::ToolRun;

class HotListCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterCommands(registry); }
    ToolRun Call(std::vector<std::string> argv) {
        return test::RunTool(registry, platform.services(), argv);
    }
    static std::string Line(const std::string& text, const std::string& key) {
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);)
            if (l.rfind(key + " = ", 0) == 0) return l.substr(key.size() + 3);
        return "<missing>";
    }

    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

TEST_F(HotListCommandsTest, AddKeepsRightAscensionOrderAndShowListsIt) {
    const std::string file = tmp.file("Lab3.HTL");
    ToolRun r = Call({"hotlist", "add", file, "--id", "Vega", "--ra-hours", "18.6156", "--dec-deg", "38.7837",
                      "--comment", "A0V standard"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Line(r.out, "position"), "1");
    // A negative declination is a value, not an option; "\xC3\xA9" is UTF-8 e-acute.
    r = Call({"hotlist", "add", file, "--id", "Sirius", "--ra-hours", "6.7525", "--dec-deg", "-16.7161", "--comment",
              "d\xC3\xA9j\xC3\xA0 vu"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Line(r.out, "position"), "1");
    EXPECT_EQ(Line(r.out, "entries"), "2");
    EXPECT_EQ(test::ReadAll(file).size(), 2 * HotListRecordSize);
    auto stored = DecodeHotList(test::ReadAll(file));
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(stored->at(0).comment, "d\xE9j\xE0 vu");  // Latin-1 in the file

    r = Call({"hotlist", "show", file});
    ASSERT_EQ(r.code, 0) << r.err;
    struct Row {
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"entries", "2"},
        {"entry.1.id", "Sirius"},
        {"entry.1.ra_hours", "6.75250000"},
        {"entry.1.dec_deg", "-16.7161000"},
        {"entry.1.ra_hms", "06 45 09.00"},
        {"entry.1.dec_dms", "-16 42 58.0"},
        {"entry.1.comment", "d\xC3\xA9j\xC3\xA0 vu"},
        {"entry.2.id", "Vega"},
        {"entry.2.comment", "A0V standard"},
    };
    for (const Row& row : rows) EXPECT_EQ(Line(r.out, row.key), row.value) << row.key;
}

// A file written by another program may hold its records in any order: show
// numbers them as the list window does, so the instructor's number N is the
// students' line N.
TEST_F(HotListCommandsTest, ShowNumbersAFileInAnyOrderAsTheListWindowDoes) {
    const std::string file = tmp.file("Mixed.HTL");
    test::WriteAll(file, EncodeHotList({ObjctDat{"M13", 16.6948L, 36.4613L, ""}, ObjctDat{"M87", 12.5137L, 12.3911L, ""},
                                        ObjctDat{"Twin A", 12.5137L, 10.0L, ""}, ObjctDat{"Vega", 18.6156L, 38.7837L, ""},
                                        ObjctDat{"Sirius", 6.7525L, -16.7161L, ""}}));
    const ToolRun r = Call({"hotlist", "show", file});
    ASSERT_EQ(r.code, 0) << r.err;

    app::OptsRec opts;
    opts.editMode = true;  // the window's lines then start with the identifier
    platform::Services services = platform.services();
    HotList window(services, opts);
    ASSERT_TRUE(window.Load(file));
    const std::vector<std::string> lines = window.Lines();
    ASSERT_EQ(lines.size(), 5u);
    const char* expected[] = {"Sirius", "M87", "Twin A", "M13", "Vega"};  // equal RAs keep file order
    for (std::size_t n = 1; n <= lines.size(); ++n) {
        const std::string id = Line(r.out, "entry." + std::to_string(n) + ".id");
        EXPECT_EQ(id, expected[n - 1]) << n;
        EXPECT_EQ(lines[n - 1].substr(0, id.size()), id) << n;
    }
}

TEST_F(HotListCommandsTest, BadArgumentsAndDamagedFiles) {
    const std::string file = tmp.file("T.HTL");
    struct Case {
        std::vector<std::string> argv;
        int code;
    };
    const std::vector<Case> cases = {
        {{"hotlist", "add", file, "--id", "x", "--ra-hours", "24.5", "--dec-deg", "0"}, tool::ExitUsage},
        {{"hotlist", "add", file, "--id", "x", "--ra-hours", "1", "--dec-deg", "-91"}, tool::ExitUsage},
        {{"hotlist", "add", file, "--id", "x", "--ra-hours", "1,5", "--dec-deg", "0"}, tool::ExitUsage},
        {{"hotlist", "add", file, "--ra-hours", "1", "--dec-deg", "0"}, tool::ExitUsage},
        {{"hotlist", "add", file, "--id", std::string(25, 'i'), "--ra-hours", "1", "--dec-deg", "0"}, tool::ExitUsage},
        {{"hotlist", "add", file, "--id", "x", "--ra-hours", "1", "--dec-deg", "0", "--colour", "red"},
         tool::ExitUsage},
        {{"hotlist", "show"}, tool::ExitUsage},
        {{"hotlist", "show", tmp.file("none.HTL")}, tool::ExitFailure},
    };
    for (const Case& c : cases) {
        ToolRun r = Call(c.argv);
        EXPECT_EQ(r.code, c.code) << c.argv.back();
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_FALSE(platform.files.exists(file));  // nothing written on a refusal

    Bytes damaged = EncodeHotList({ObjctDat{"a", 1, 1, ""}});
    damaged.pop_back();
    test::WriteAll(file, damaged);
    EXPECT_EQ(Call({"hotlist", "add", file, "--id", "b", "--ra-hours", "2", "--dec-deg", "0"}).code,
              tool::ExitFailure);
    EXPECT_EQ(test::ReadAll(file), damaged);  // left alone
    EXPECT_EQ(Call({"hotlist", "show", file}).code, tool::ExitFailure);
}

}  // namespace
}  // namespace qnr::observatory
