#include "app/Login.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace qnr::app {
namespace {

using platform::Answer;

TEST(UserFolderName, FollowsTheNameRule) {
    struct Row { const char* name; const char* folder; };
    const Row rows[] = {
        {"Aaa Bbb", "ABbb"},                  // the documented examples
        {"Aaa Bbb Ccc", "ACcc"},
        {"Aaaa Bbbbbbbbbbbb", "ABbbbbbb"},
        {"Ddd", "Ddd"},
        {"Aaa ", "A"},                        // ending in a space: the first letter alone
        {"Abcdefghijkl", "Abcdefgh"},
    };
    for (const auto& r : rows) EXPECT_EQ(UserFolderName(r.name), r.folder) << r.name;
}

// Folder names are plain ASCII, so that the folder the core makes is the one
// the file dialogs reach, whatever encoding either gives its file names.
TEST(UserFolderName, AccentedLettersBecomeTheirBaseLetters) {
    struct Row { const char* name; const char* folder; };
    const Row rows[] = {
        {"Ana Garc\xED" "a", "AGarcia"},
        {"\xC9mile", "Emile"},
        {"M\xFCller", "Muller"},
        {"J\xFCrgen Wei\xDF", "JWeiss"},                 // two letters for one
        {"\xC6gir \xDE\xF3rsson", "AETHorss"},          // still at most 8
        {"Zo\xEB \xC5ngstr\xF6m", "ZAngstro"},          // cut to 8 as typed
        {"Ana \xA9\xD7", "A__"},                         // Latin-1 signs are no letters
        {"\xFF\xFD\xE7\xF1\xF8\xF0\xE6", "yycnodae"},
    };
    for (const auto& r : rows) EXPECT_EQ(UserFolderName(r.name), r.folder) << r.folder;
}

TEST(UserFolderName, NeverLeavesTheUsersFolder) {
    struct Row { const char* name; const char* folder; };
    const Row rows[] = {
        {"..", "_."},          {".", "_"},           {"a/b", "a_b"},       {"x ../..", "x.._.."},
        {"C:\\x", "C__x"},     {"tab\there", "tab_here"}, {" ", "_"},  {"a ?*<>|", "a_____"},
    };
    for (const auto& r : rows) {
        std::string f = UserFolderName(r.name);
        EXPECT_EQ(f, r.folder) << r.name;
        EXPECT_EQ(f.find('/'), std::string::npos);
        EXPECT_NE(f, "..");
        EXPECT_NE(f, ".");
    }
}

TEST(LoginDialog, FinishedLoginNamesTheFolder) {
    test::FakeDialogs dialogs;
    LoginDialogModel dlg("12");
    dlg.students = {"Aaa Bbb Ccc", "Second Student", "", ""};
    LoginRecord rec;
    dialogs.script({Answer::No});
    EXPECT_FALSE(dlg.Ok(rec, dialogs));  // stays open
    dialogs.script({Answer::Yes});
    EXPECT_TRUE(dlg.Ok(rec, dialogs));
    EXPECT_EQ(rec.userFolder, "ACcc");
    EXPECT_EQ(rec.table, "12");
    EXPECT_EQ(rec.names[1], "Second Student");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.shown()[0], "Login Completed?|Have You Finished Logging In?");
    EXPECT_EQ(dialogs.messages[0].buttons, platform::Buttons::YesNo);
}

TEST(LoginDialog, EmptyNameAsksAndLogsInAsNotLoggedIn) {
    test::FakeDialogs dialogs;
    LoginDialogModel dlg("");
    LoginRecord rec;
    dialogs.script({Answer::Cancel});
    EXPECT_FALSE(dlg.Ok(rec, dialogs));
    dialogs.script({Answer::OK});
    EXPECT_TRUE(dlg.Ok(rec, dialogs));
    EXPECT_EQ(rec.names[0], "*** Student Did Not Log In Properly ***");
    EXPECT_EQ(rec.userFolder, "NOLOG");
    EXPECT_EQ(dialogs.shown()[0], "No Entry!|You Didn't Enter Anything!");
    EXPECT_EQ(dialogs.messages[0].buttons, platform::Buttons::OKCancel);
}

TEST(LoginDialog, LongEntriesAreCut) {
    test::FakeDialogs dialogs;
    LoginDialogModel dlg("123456");
    dlg.students[0] = std::string(50, 'x');
    LoginRecord rec;
    dialogs.script({Answer::Yes});
    ASSERT_TRUE(dlg.Ok(rec, dialogs));
    EXPECT_EQ(rec.names[0].size(), 40u);
    EXPECT_EQ(rec.table, "1234");
}

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 2002-04-14 10:15:02.31 local
        platform.clock.now = 37360.0 + (10 * 3600 + 15 * 60 + 2.31) / 86400.0;
        record.names = {"Aaa Bbb Ccc", "", "Ddd", ""};
        record.table = "12";
    }
    std::string Log() {
        auto b = test::ReadAll(path);
        return std::string(b.begin(), b.end());
    }
    test::TempFolder tmp;
    test::FakePlatform platform;
    platform::Services services = platform.services();
    bool writeLog = true;
    LoginRecord record;
    std::string path = tmp.file("ZARNLOG.LOG");
};

TEST_F(LogFileTest, LoginComponentAndLogoutEntries) {
    LogFileObj log(services, writeLog);
    log.Create("ZARN_QNR", path, &record);
    log.WriteLogin();
    platform.clock.now += (1 * 3600 + 2 * 60 + 3.5) / 86400.0;  // 1 h 02 m 03.5 s later
    log.WriteComponent("CCD Camera");
    platform.clock.now += 1.0;  // more than a day
    log.WriteLogout();
    EXPECT_TRUE(log.loginWritten());
    EXPECT_TRUE(log.logoutWritten());
    EXPECT_EQ(Log(),
              "Login: ZARN_QNR\r\n"
              "Date: 04-14-2002\r\n"
              "Time: 10:15:02.31\r\n"
              "Name1: Aaa Bbb Ccc\r\n"
              "Name3: Ddd\r\n"
              "Table: 12\r\n"
              "EndLogin: ZARN_QNR\r\n"
              "**********\r\n"
              "Component: CCD Camera\r\n"
              "Date: 04-14-2002\r\n"
              "Time: 11:17:05.81\r\n"
              "Name1: Aaa Bbb Ccc\r\n"
              "Table: 12\r\n"
              "Elapsed Time:  1:02:03.50\r\n"
              "**********\r\n"
              "Logout: ZARN_QNR\r\n"
              "Date: 04-15-2002\r\n"
              "Time: 11:17:05.81\r\n"
              "Name1: Aaa Bbb Ccc\r\n"
              "Name3: Ddd\r\n"
              "Table: 12\r\n"
              "Elapsed Time: 1Days,  1:02:03.50\r\n"
              "EndLogout: ZARN_QNR\r\n"
              "**********\r\n"
              "**********\r\n");
}

TEST_F(LogFileTest, ComponentAlwaysHasName1AndSingleDigitHoursAreSpaced) {
    record.names = {"", "", "", ""};
    record.table = "";
    platform.clock.now = 37360.0 + (9 * 3600 + 5 * 60 + 9.37) / 86400.0;
    LogFileObj log(services, writeLog);
    log.Create("ZARN_QNR", path, &record);
    log.WriteComponent("Photometer");
    EXPECT_EQ(Log(),
              "Component: Photometer\r\n"
              "Date: 04-14-2002\r\n"
              "Time:  9:05:09.37\r\n"
              "Name1: \r\n"
              "Elapsed Time:  0:00:00.00\r\n"
              "**********\r\n");
}

// The log shows hundredths of a second: a moment is rounded to them once,
// before it is split into date and time or days and time, so the last few
// milliseconds of a day read as the next day's 0:00:00.00.
TEST_F(LogFileTest, MomentsNearMidnightRoundOnceToTheShownHundredths) {
    struct Row {
        const char* what;
        double loginSeconds;    // of 2002-04-14, local
        double elapsedSeconds;  // until the component entry
        const char* login;      // "Date" and "Time" lines of the login entry
        const char* elapsed;    // the component entry's "Elapsed Time" line
    };
    constexpr double Day = 86400;
    const Row rows[] = {
        {"before the last 5 ms", Day - 0.006, 0, "Date: 04-14-2002\r\nTime: 23:59:59.99", "Elapsed Time:  0:00:00.00"},
        {"in the last 5 ms", Day - 0.003, 0, "Date: 04-15-2002\r\nTime:  0:00:00.00", "Elapsed Time:  0:00:00.00"},
        {"a minute's carry", 12 * 3600 + 34 * 60 + 59.996, 0, "Date: 04-14-2002\r\nTime: 12:35:00.00",
         "Elapsed Time:  0:00:00.00"},
        {"a day less 3 ms", 10 * 3600, Day - 0.003, "Date: 04-14-2002\r\nTime: 10:00:00.00",
         "Elapsed Time: 1Days,  0:00:00.00"},
        {"a day less 6 ms", 10 * 3600, Day - 0.006, "Date: 04-14-2002\r\nTime: 10:00:00.00",
         "Elapsed Time: 23:59:59.99"},
        {"a hair below a second", 10 * 3600, 1 - 1e-6, "Date: 04-14-2002\r\nTime: 10:00:00.00",
         "Elapsed Time:  0:00:01.00"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        platform.files.removeFile(path);
        platform.clock.now = 37360.0 + r.loginSeconds / Day;
        LogFileObj log(services, writeLog);
        log.Create("ZARN_QNR", path, &record);
        log.WriteLogin();
        platform.clock.now += r.elapsedSeconds / Day;
        log.WriteComponent("Photometer");
        const std::string text = Log();
        EXPECT_NE(text.find("Login: ZARN_QNR\r\n" + std::string(r.login) + "\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find(std::string(r.elapsed) + "\r\n**********\r\n"), std::string::npos) << text;
    }
}

TEST_F(LogFileTest, NothingIsWrittenWhenTheLogIsOff) {
    writeLog = false;
    LogFileObj log(services, writeLog);
    log.Create("ZARN_QNR", path, &record);
    log.WriteLogin();
    log.WriteComponent("Photometer");
    log.WriteLogout();
    EXPECT_FALSE(platform.files.exists(path));
    EXPECT_FALSE(log.loginWritten());
    // Switching the option on takes effect at the next entry.
    writeLog = true;
    log.WriteComponent("Photometer");
    EXPECT_TRUE(platform.files.exists(path));
}

TEST_F(LogFileTest, AnUnwritableLogIsSkippedQuietly) {
    LogFileObj log(services, writeLog);
    log.Create("ZARN_QNR", tmp.file("no/such/folder/ZARNLOG.LOG"), &record);
    log.WriteLogin();
    EXPECT_FALSE(log.loginWritten());
    EXPECT_NE(log.lastResult(), 0);
    EXPECT_TRUE(platform.dialogs.messages.empty());
    LogFileObj noName(services, writeLog);
    noName.Create("ZARN_QNR", "", &record);
    noName.WriteLogin();
    EXPECT_FALSE(noName.loginWritten());
}

}  // namespace
}  // namespace qnr::app
