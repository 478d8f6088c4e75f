// qnrtool log show, read back from logs the log writer itself wrote.
#include <sstream>

#include <gtest/gtest.h>

#include "app/Login.h"
#include "app/cli/AppCommands.h"
#include "app/cli/LogCommands.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::app {
namespace {

using test::ToolRun;

class LogCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterCommands(registry);
        platform.identity.program = tmp.file("program/");
        platform.identity.userData = tmp.file("user/");
        platform.clock.now = 37360.0 + 10 * Hour;  // 2002-04-14 10:00 local
    }
    ToolRun Call(std::vector<std::string> argv) {
        return test::RunTool(registry, platform.services(), argv);
    }

    // Two groups at two tables: the first uses the camera and stays past a
    // day; the second logs in and out.
    void WriteLog(const std::string& path) {
        platform::Services s = platform.services();
        bool on = true;
        LoginRecord a{{"Aaa Bbb", "Ddd Eee", "", ""}, "12", "ABbb"};
        LoginRecord b{{"Fff", "", "", ""}, "", "Fff"};
        LogFileObj la(s, on), lb(s, on);
        la.Create("ZARN_QNR", path, &a);
        la.WriteLogin();
        lb.Create("ZARN_QNR", path, &b);
        lb.WriteLogin();
        platform.clock.now += 0.5 * Hour;
        la.WriteComponent("Exercise: The Durev for Quenara");
        lb.WriteLogout();
        platform.clock.now += 1 + 2 * Hour;
        la.WriteLogout();
    }

    static constexpr double Hour = 1.0 / 24.0;
    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

TEST_F(LogCommandsTest, ShowsEveryEntryAsKeyValueLines) {
    const std::string path = tmp.file("ZARNLOG.LOG");
    WriteLog(path);
    ToolRun r = Call({"log", "show", path});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "source = " + path + "\n"
              "entries = 5\n"
              "\n"
              "kind = login\nprogram = ZARN_QNR\ndate = 04-14-2002\ntime = 10:00:00.00\nname1 = Aaa Bbb\n"
              "name2 = Ddd Eee\ntable = 12\n"
              "\n"
              "kind = login\nprogram = ZARN_QNR\ndate = 04-14-2002\ntime = 10:00:00.00\nname1 = Fff\ntable = \n"
              "\n"
              "kind = component\ncomponent = Exercise: The Durev for Quenara\ndate = 04-14-2002\n"
              "time = 10:30:00.00\nname1 = Aaa Bbb\ntable = 12\nelapsed_days = 0\nelapsed = 0:30:00.00\n"
              "\n"
              "kind = logout\nprogram = ZARN_QNR\ndate = 04-14-2002\ntime = 10:30:00.00\nname1 = Fff\ntable = \n"
              "elapsed_days = 0\nelapsed = 0:30:00.00\n"
              "\n"
              "kind = logout\nprogram = ZARN_QNR\ndate = 04-15-2002\ntime = 12:30:00.00\nname1 = Aaa Bbb\n"
              "name2 = Ddd Eee\ntable = 12\nelapsed_days = 1\nelapsed = 2:30:00.00\n");
}

TEST_F(LogCommandsTest, UserFilterKeepsTheGroupsEntries) {
    const std::string path = tmp.file("ZARNLOG.LOG");
    WriteLog(path);
    struct Row {
        const char* user;
        std::size_t entries;
    };
    // The second student of the first group appears only in its login and
    // logout, yet the group's component entry is hers too.
    const Row rows[] = {{"ddd eee", 3}, {"Aaa Bbb", 3}, {"FFF", 2}, {"Nobody", 0}};
    for (const Row& row : rows) {
        ToolRun r = Call({"log", "show", path, "--user", row.user});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("entries = " + std::to_string(row.entries) + "\n"), std::string::npos) << row.user;
    }
}

TEST_F(LogCommandsTest, DefaultIsTheObservatorysLogAndErrorsAreReported) {
    platform::StdFileSystem files;
    const std::string start = files.currentFolder();
    ASSERT_EQ(files.makeFolders(tmp.file("program/")), 0);
    ASSERT_EQ(files.setCurrentFolder(tmp.file("program/")), 0);
    const std::string data = tmp.file("user/ZARN/QUENARA/");
    ASSERT_EQ(files.makeFolders(data), 0);
    WriteLog(data + "ZARNLOG.LOG");
    ToolRun r = Call({"log", "show"});
    files.setCurrentFolder(start);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "source = " + data + "ZARNLOG.LOG");
    EXPECT_NE(r.out.find("entries = 5\n"), std::string::npos);

    EXPECT_EQ(Call({"log", "show", tmp.file("none.log")}).code, 1);
    EXPECT_EQ(Call({"log", "show", tmp.path()}).code, 1);
    EXPECT_EQ(Call({"log", "show", "a", "b"}).code, 2);
    EXPECT_EQ(Call({"log", "show", "--user"}).code, 2);
    EXPECT_EQ(Call({"log", "show", "--users", "x"}).code, 2);
    ToolRun help = Call({"log", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("elapsed_days"), std::string::npos);
}

TEST(ParseUserLog, SkipsWhatIsNoEntry) {
    const auto entries = ParseUserLog(
        "stray line\nComponent: CCD Camera\nDate: 04-14-2002\nTime:  9:05:09.37\nName1: \nUnknown: x\n"
        "Elapsed Time: 12Days,  0:00:01.00\n**********\n**********\nLogin: ZARN_QNR\nName1: A\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, "component");
    EXPECT_EQ(entries[0].subject, "CCD Camera");
    EXPECT_EQ(entries[0].time, "9:05:09.37");
    EXPECT_EQ(entries[0].names[0], "");
    EXPECT_EQ(entries[0].elapsedDays, "12");
    EXPECT_EQ(entries[0].elapsed, "0:00:01.00");
    // An entry cut off at the end of the file still counts.
    EXPECT_EQ(entries[1].kind, "login");
    EXPECT_EQ(entries[1].names[0], "A");
}

}  // namespace
}  // namespace qnr::app
