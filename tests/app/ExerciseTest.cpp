// The exercise without its window, driven through the platform fakes and a
// scripted view: phases, login, the password, Run, the date dialog, the saves,
// exit and the outside programs.
#include "app/Exercise.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/APIUtils.h"
#include "ExerciseFakes.h"
#include "support/Fakes.h"

namespace qnr::app {
namespace {

using platform::Answer;
using platform::Buttons;

// Day numbers of the fake clock's moment are near 37360; a double holds them to
// about 1e-11 day, and the dialog's whole seconds are exact.
constexpr double DayTolerance = 1e-9;
constexpr double Hour = 1.0 / 24.0;

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class ExerciseTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.identity.program = program.path();
        fake.identity.userData = userData.path();
        services = fake.services();
        services.files = &files;
        services.processes = &processes;
        services.chooser = &chooser;
        startFolder = files.currentFolder();
        // Started in the program folder, as the desktop starts it: the data
        // folder is then the per-user one.
        ASSERT_EQ(files.setCurrentFolder(program.path()), 0);
        dataFolder = userData.path() + "ZARN/QUENARA/";
    }
    void TearDown() override {
        exercise.reset();
        files.setCurrentFolder(startFolder);
    }

    // An options file in the data folder, the defaults changed by `edit`.
    void WriteOptions(const std::function<void(OptsRec&)>& edit) {
        files.makeFolders(dataFolder);
        test::FakeDialogs yes;
        yes.fallback = Answer::Yes;  // the Edit Mode question
        platform::Services s = services;
        s.dialogs = &yes;
        OptsObj o(s);
        o.InitIdentification(OptionsFileName, ProgramVersion);
        o.SetDefaults();
        edit(o.rec);
        ASSERT_TRUE(o.Save(dataFolder));
    }

    Exercise& Start() {
        exercise = std::make_unique<Exercise>(services, view);
        exercise->Create();
        return *exercise;
    }

    void Login(std::array<std::string, 4> names, std::string table = "12") {
        view.students = std::move(names);
        view.table = std::move(table);
        fake.dialogs.script({Answer::Yes});  // "Have You Finished Logging In?"
        exercise->Login();
    }

    void MakeCatalogs(const std::string& folder) {
        ASSERT_EQ(files.makeFolders(folder + "TABLES/"), 0);
        test::WriteAll(folder + "TABLES/REGIONS.BIN", {1, 2, 3, 4});
    }

    // Login, catalogs in the program folder, Run with the ID typed.
    void StartRunning(const std::string& id = "M 67") {
        Start();
        Login({"Aaa Bbb Ccc", "", "", ""});
        MakeCatalogs(program.path() + "CGSC/");
        view.dateAttempts.push_back({std::nullopt, id});
        exercise->Run();
        ASSERT_EQ(exercise->displayPhase(), DisplayPhase::Running);
        fake.dialogs.clear();
    }

    std::string Log() { return Text(test::ReadAll(dataFolder + "ZARNLOG.LOG")); }

    void ExpectItems(const std::vector<std::tuple<const char*, bool, bool>>& rows) {
        for (const auto& [name, enabled, visible] : rows) {
            EXPECT_EQ(exercise->item(name).enabled, enabled) << name << " enabled";
            EXPECT_EQ(exercise->item(name).visible, visible) << name << " visible";
        }
    }

    test::TempFolder program, userData, media;
    test::FakePlatform fake;
    test::MediaFileSystem files;
    test::FakeProcesses processes;
    test::FakeChooser chooser;
    platform::Services services;
    test::ScriptView view{fake.dialogs};
    std::unique_ptr<Exercise> exercise;
    std::string startFolder, dataFolder;
};

// ---------------------------------------------------------------------------
// Start and login

TEST_F(ExerciseTest, StartsOnTheLogoWithTheLogoMenus) {
    Exercise& ex = Start();
    EXPECT_EQ(ex.displayPhase(), DisplayPhase::Logo);
    EXPECT_FALSE(ex.loggedIn());
    EXPECT_FALSE(ex.optionsAccess());
    EXPECT_EQ(ex.log(), nullptr);
    // The state table: Login, Preferences, Help and Exit; nothing of the run.
    ExpectItems({{"File1", true, true},          {"Login1", true, true},        {"Run1", false, true},
                 {"SetDateTime1", false, false}, {"Preferences1", true, true},  {"SaveUpdates1", false, true},
                 {"Exit1", true, true},          {"Telescopes1", false, true},  {"Tools1", false, true},
                 {"Window1", false, true},       {"Help1", true, true},         {"AboutthisExercise1", true, true},
                 {"Optical1", true, false},      {"Radio1", true, false},       {"Spreadsheet1", false, true},
                 {"OptCntrlSw", false, false},   {"RadCntrlSw", false, false},  {"IDPnl", true, false},
                 {"DomePnl", false, false}});
    // The clock runs on the zone of the options (the fake's 5 hours) from now.
    EXPECT_NEAR(static_cast<double>(ex.observationClock().zone), 5 * Hour, 1e-12);
    EXPECT_NEAR(ex.observationClock().value, fake.clock.now, DayTolerance);
    EXPECT_TRUE(view.menusChanged > 0);

    // Without options access Preferences only tells what it is for.
    ex.Preferences();
    EXPECT_EQ(view.optionsShown, 0);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].caption, "USER OPTIONS!");
    EXPECT_EQ(fake.dialogs.messages[0].text,
              "INSTRUCTOR := Many features of this software are controlled by\r\noption switches and parameters that "
              "enable you to tailor the\r\nexercise to your own needs and preferences.\r\n\r\nSee the technical "
              "documentation for details and instructions!");
}

TEST_F(ExerciseTest, DemonstrationModeLogsInAtOnce) {
    WriteOptions([](OptsRec& r) {
        r.loginRequired = false;
        r.writeLogFile = true;
    });
    Exercise& ex = Start();
    EXPECT_EQ(ex.displayPhase(), DisplayPhase::Title);
    EXPECT_TRUE(ex.loggedIn());
    EXPECT_TRUE(ex.optionsAccess());
    EXPECT_EQ(ex.loginRecord().names[0], "Demonstration");
    EXPECT_EQ(ex.opts().usersFolder, dataFolder + "Users/DEMO/");
    EXPECT_TRUE(files.isFolder(dataFolder + "Users/DEMO/"));
    ExpectItems({{"Login1", false, true}, {"Run1", true, true}, {"Spreadsheet1", true, true}});
    EXPECT_GT(view.repaints, 0);
    EXPECT_EQ(Log(),
              "Login: ZARN_QNR\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\nName1: Demonstration\r\n"
              "EndLogin: ZARN_QNR\r\n**********\r\n");
}

TEST_F(ExerciseTest, StudentLoginMakesTheGroupFolderAndTheLoginEntry) {
    struct Row {
        bool editMode;
        std::string astrometry;
        bool access;
        bool astrometryEnabled;
    };
    const Row rows[] = {
        {false, "", false, false},
        {true, "/opt/Ravorizi/ZARN_AST.EXE", true, true},  // Edit Mode grants the options
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.editMode ? "edit mode" : "plain");
        files.removeFile(dataFolder + "ZARNLOG.LOG");
        WriteOptions([&](OptsRec& o) {
            o.writeLogFile = true;
            o.editMode = r.editMode;
            o.astrometryProgram = r.astrometry;
        });
        Exercise& ex = Start();
        Login({"Aaa Bbb Ccc", "Ddd", "", ""}, "12");
        EXPECT_EQ(ex.displayPhase(), DisplayPhase::Title);
        EXPECT_EQ(ex.loginRecord().userFolder, "ACcc");
        EXPECT_EQ(ex.opts().usersFolder, dataFolder + "Users/ACcc/");
        EXPECT_TRUE(files.isFolder(ex.opts().usersFolder));
        EXPECT_EQ(ex.optionsAccess(), r.access);
        ExpectItems({{"Login1", false, true},
                     {"Run1", true, true},
                     {"Spreadsheet1", true, true},
                     {"Preferences1", true, true}});
        EXPECT_EQ(ex.item("Astrometry1").enabled, r.astrometryEnabled);
        EXPECT_EQ(view.passwordFieldAtShow.size(), 0u);
        EXPECT_EQ(Log(),
                  "Login: ZARN_QNR\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\nName1: Aaa Bbb Ccc\r\n"
                  "Name2: Ddd\r\nTable: 12\r\nEndLogin: ZARN_QNR\r\n**********\r\n");
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, InstructorPasswordHasThreeTries) {
    struct Row {
        const char* name;
        std::vector<std::string> typed;
        int showings;
        bool optionsShown;
        bool refused;  // "Too Many Invalid Passwords!"
    };
    // The default password is "MVRQ", compared with regard to case.
    const Row rows[] = {
        {"instructor", {"MVRQ"}, 1, true, false},
        {"INSTRUCTOR", {"wrong", "MVRQ"}, 2, true, false},
        {"Instructor", {"mvrq", "Mvrq", "MVRQ"}, 3, true, false},
        {"Instructor", {"a", "b", "c"}, 3, false, true},
        {"Instructor", {}, 1, false, false},  // Cancel at once
        {"Instructors", {}, 0, false, false},  // only the exact name asks
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name + std::string(" ") + std::to_string(r.typed.size()));
        view = test::ScriptView(fake.dialogs);
        view.passwords.assign(r.typed.begin(), r.typed.end());
        fake.dialogs.clear();
        Start();
        Login({r.name, "", "", ""});
        EXPECT_EQ(static_cast<int>(view.passwordFieldAtShow.size()), r.showings);
        for (const auto& field : view.passwordFieldAtShow) EXPECT_EQ(field, "");  // emptied each time
        EXPECT_EQ(view.optionsShown, r.optionsShown ? 1 : 0);
        const auto shown = fake.dialogs.shown();
        EXPECT_EQ(std::count(shown.begin(), shown.end(), "Options Access Denied!|Too Many Invalid Passwords!"),
                  r.refused ? 1 : 0);
        // Whatever happened, the login completes under the name typed.
        EXPECT_TRUE(exercise->loggedIn());
        EXPECT_EQ(exercise->displayPhase(), DisplayPhase::Title);
        EXPECT_EQ(exercise->loginRecord().names[0], r.name);
        EXPECT_EQ(exercise->loginRecord().userFolder, UserFolderName(r.name));
        EXPECT_FALSE(exercise->optionsAccess());
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, AcceptedInstructorOptionsAreSavedAndAccessMayBeRetained) {
    for (Answer retain : {Answer::Yes, Answer::No}) {
        SCOPED_TRACE(retain == Answer::Yes ? "retained" : "not retained");
        files.removeFile(dataFolder + OptionsFileName);
        view = test::ScriptView(fake.dialogs);
        view.passwords = {"MVRQ"};
        view.optionsAnswer = true;
        view.editOptions = [](OptsRec& o) { o.labTable = "T9"; };
        fake.dialogs.clear();
        Start();
        view.students = {"Instructor", "", "", ""};
        fake.dialogs.script({Answer::Yes, Answer::Yes, retain});  // finished?, save?, retain?
        exercise->Login();
        EXPECT_EQ(fake.dialogs.shown()[1], "Save Option Changes?|Save Updated Parameters in " + dataFolder +
                                               "QNR_OPTS.INI?");
        EXPECT_EQ(fake.dialogs.messages.back().caption, "Retain Options Access?");
        EXPECT_EQ(fake.dialogs.messages.back().text,
                  "Do you want to retain access to the Options dialog\r\n(via \"File\"->\"Preferences\" from the "
                  "Main Menu) for\r\nthe remainder of this session?");
        // The change reached the file.
        OptsObj saved(services);
        saved.InitIdentification(OptionsFileName, ProgramVersion);
        ASSERT_TRUE(saved.ReadFile(dataFolder + OptionsFileName));
        EXPECT_EQ(saved.rec.labTable, "T9");
        EXPECT_FALSE(exercise->updatesPending());
        EXPECT_EQ(exercise->optionsAccess(), retain == Answer::Yes);

        view.optionsAnswer = false;
        fake.dialogs.clear();
        exercise->Preferences();
        EXPECT_EQ(view.optionsShown, retain == Answer::Yes ? 2 : 1);
        EXPECT_EQ(fake.dialogs.messages.size(), retain == Answer::Yes ? 0u : 1u);
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

// ---------------------------------------------------------------------------
// Saving the options

TEST_F(ExerciseTest, SaveUpdatesKeepsTheChangesPendingUntilTheyAreSaved) {
    struct Row {
        const char* what;
        bool editMode;
        bool brokenFolder;
        std::vector<Answer> answers;
        bool saved;
        bool pending;
    };
    const Row rows[] = {
        {"saved", false, false, {Answer::Yes}, true, false},
        {"declined at Save?", false, false, {Answer::No}, false, false},
        {"declined at the Edit Mode question", true, false, {Answer::Yes, Answer::No}, false, true},
        {"save failed", false, true, {Answer::Yes}, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WriteOptions([&](OptsRec& o) {
            o.loginRequired = false;  // options access without a password
            o.editMode = r.editMode;
            o.labTable = "A1";
        });
        view = test::ScriptView(fake.dialogs);
        view.optionsAnswer = true;
        view.editOptions = [](OptsRec& o) { o.labTable = "B2"; };
        fake.dialogs.clear();
        Exercise& ex = Start();
        const std::string goodFolder = ex.opts().dataFolder;
        if (r.brokenFolder) {
            test::WriteAll(program.file("plainfile"), {1});
            ex.opts().dataFolder = program.file("plainfile") + "/";
        }
        for (Answer a : r.answers) fake.dialogs.script({a});
        // The hourglass is off for every question and message.
        std::vector<int> busyWhileShown;
        fake.dialogs.whileShown = [&] { busyWhileShown.push_back(view.busy); };
        ex.Preferences();
        fake.dialogs.whileShown = nullptr;
        EXPECT_EQ(busyWhileShown, std::vector<int>(fake.dialogs.messages.size(), 0));
        EXPECT_EQ(view.busy, 0);
        EXPECT_EQ(view.maxBusy, r.answers.back() == Answer::Yes ? 1 : 0);
        EXPECT_EQ(ex.updatesPending(), r.pending);
        EXPECT_EQ(ex.item("SaveUpdates1").enabled, r.pending);
        OptsObj saved(services);
        saved.InitIdentification(OptionsFileName, ProgramVersion);
        ASSERT_TRUE(saved.ReadFile(goodFolder + OptionsFileName));
        EXPECT_EQ(saved.rec.labTable, r.saved ? "B2" : "A1");
        if (r.brokenFolder) {
            EXPECT_EQ(fake.dialogs.messages.back().caption, "Options File Error!");
            // Offered again, it saves once the folder can take it.
            ex.opts().dataFolder = goodFolder;
            fake.dialogs.script({Answer::Yes});
            ex.SaveUpdates();
            EXPECT_FALSE(ex.updatesPending());
        }
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, AllUsersSaveFollowsTheAdministratorOption) {
    for (bool programFolderWritable : {true, false}) {
        SCOPED_TRACE(programFolderWritable ? "program folder writable" : "program folder not writable");
        WriteOptions([](OptsRec& o) { o.loginRequired = false; });
        view = test::ScriptView(fake.dialogs);
        view.optionsAnswer = true;
        view.editOptions = [](OptsRec& o) { o.administrator = true; };
        fake.dialogs.clear();
        Exercise& ex = Start();
        if (!programFolderWritable) {
            test::WriteAll(program.file("plainfile"), {1});
            ex.opts().programFolder = program.file("plainfile") + "/";
        }
        fake.dialogs.script({Answer::Yes, Answer::Yes});
        std::vector<int> busyWhileShown;
        fake.dialogs.whileShown = [&] { busyWhileShown.push_back(view.busy); };
        ex.Preferences();
        fake.dialogs.whileShown = nullptr;
        EXPECT_EQ(busyWhileShown, std::vector<int>(fake.dialogs.messages.size(), 0));
        EXPECT_EQ(view.busy, 0);
        const auto shown = fake.dialogs.shown();
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[1], "Use As Defaults for All Users?|Save Updated Parameters in " + ex.opts().programFolder +
                                "QNR_OPTS.INI?");
        EXPECT_EQ(files.exists(program.file("QNR_OPTS.INI")), programFolderWritable);
        // A failed save there switches the option off for the rest of the run.
        EXPECT_EQ(ex.opts().administrator, programFolderWritable);
        EXPECT_FALSE(ex.allUsersSavePending());
        exercise.reset();
        files.removeFile(program.file("QNR_OPTS.INI"));
        files.setCurrentFolder(program.path());
    }
}

// The radio options file lies beside the options and is saved with them when
// the radio dialog ended with OK; a failed write is reported and stays pending.
TEST_F(ExerciseTest, RadioOptionsAreReadBesideTheOptionsAndSavedWithThem) {
    WriteOptions([](OptsRec& o) { o.loginRequired = false; });
    {
        radio::RadiOptsObj r(services, false);
        r.Init(radio::RadioOptionsFileName, program.path(), radio::RadioOptionsVersion, dataFolder);
        r.rec.aperture = 42;
        ASSERT_TRUE(r.Write(dataFolder));
    }
    view.optionsAnswer = true;
    view.editOptions = [this](OptsRec&) {
        exercise->radioOpts().aperture = 64;
        exercise->RadioOptionsAccepted();
    };
    Exercise& ex = Start();
    EXPECT_EQ(ex.radioOpts().aperture, 42);
    fake.dialogs.script({Answer::Yes});
    ex.Preferences();
    EXPECT_FALSE(ex.updatesPending());
    EXPECT_FALSE(ex.radioOptionsChanged());
    radio::RadiOptsObj saved(services, false);
    ASSERT_TRUE(saved.Load(dataFolder + radio::RadioOptionsFileName));
    EXPECT_EQ(saved.rec.aperture, 64);
    ASSERT_TRUE(saved.Load(dataFolder + "QNR_RADI.BAK"));
    EXPECT_EQ(saved.rec.aperture, 42);

    // A radio file that cannot be written is reported and offered again.
    files.removeFile(dataFolder + radio::RadioOptionsFileName);
    ASSERT_EQ(files.makeFolders(dataFolder + radio::RadioOptionsFileName + "/"), 0);
    fake.dialogs.clear();
    fake.dialogs.script({Answer::Yes});
    ex.Preferences();
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.messages.back().caption, "Options File Error!");
    EXPECT_TRUE(ex.updatesPending());
    EXPECT_TRUE(ex.radioOptionsChanged());
    EXPECT_TRUE(ex.item("SaveUpdates1").enabled);
}

TEST_F(ExerciseTest, AnObsoleteRadioOptionsFileIsReportedAndKept) {
    WriteOptions([](OptsRec& o) { o.loginRequired = false; });
    radio::RadioOptsRec old = radio::DefaultRadioOptions(false);
    old.version = "1.0";
    old.aperture = 42;
    const std::string path = dataFolder + radio::RadioOptionsFileName;
    test::WriteAll(path, radio::EncodeRadioOptions(old));
    Exercise& ex = Start();
    EXPECT_EQ(ex.radioOpts().aperture, 100);
    const auto shown = fake.dialogs.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Version Error|Options File " + path + " is obsolete.", 0), 0u);
    EXPECT_EQ(test::ReadAll(path), radio::EncodeRadioOptions(old));
}

// ---------------------------------------------------------------------------
// Run

TEST_F(ExerciseTest, RunFindsTheCatalogsAndStartsOnTheFixedMoment) {
    WriteOptions([&](OptsRec& o) {
        o.writeLogFile = true;
        o.instrumentCatalogFolder = media.path() + "gone/CGSC/";
    });
    Exercise& ex = Start();
    Login({"Aaa Bbb Ccc", "", "", ""});
    // The catalogs in the program folder, spelt in lower case on disk.
    MakeCatalogs(program.path() + "cgsc/");
    view.dateAttempts.push_back({std::nullopt, ""});
    ex.Run();

    EXPECT_EQ(ex.displayPhase(), DisplayPhase::Running);
    EXPECT_EQ(ex.opts().instrumentCatalogFolder, program.path() + "cgsc/");
    EXPECT_EQ(ex.opts().finderCatalogFolder, program.path() + "FGSC/");
    EXPECT_TRUE(view.mountsShown.empty());
    // Written into the options in the data folder at once, without a question.
    OptsObj saved(services);
    saved.InitIdentification(OptionsFileName, ProgramVersion);
    ASSERT_TRUE(saved.ReadFile(dataFolder + OptionsFileName));
    EXPECT_EQ(saved.rec.instrumentCatalogFolder, program.path() + "cgsc/");
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);  // only the login question

    // The first date dialog: fixed date and time, no Cancel.
    ASSERT_EQ(view.datesShown.size(), 1u);
    const DateTimeDialogModel& d = view.datesShown[0];
    EXPECT_EQ(d.dateText, "2002/04/14");
    EXPECT_EQ(d.timeText, "12:00:00");
    EXPECT_FALSE(d.dateEnabled);
    EXPECT_FALSE(d.timeEnabled);
    EXPECT_FALSE(d.cancelEnabled);
    EXPECT_EQ(ex.objectId(), "UNKNOWN");
    EXPECT_TRUE(ex.timeChanged());

    // 2002-04-14 12:00 UT is local 07:00 in the fake's zone (UT - 5 h); the
    // clock then runs at real speed from there.
    const double local = 37360.5 - 5 * Hour;
    EXPECT_NEAR(static_cast<double>(ex.clockOffset()), local - fake.clock.now, DayTolerance);
    EXPECT_NEAR(static_cast<double>(ex.observationClock().JulianDate()), 2452379.0, DayTolerance);
    fake.clock.now += Hour;
    EXPECT_NEAR(ex.ObservationNow().value, local + Hour, DayTolerance);

    ExpectItems({{"SetDateTime1", true, true}, {"Telescopes1", true, true},  {"Tools1", true, true},
                 {"Run1", false, true},        {"Login1", false, true},      {"Optical1", true, true},
                 {"Radio1", true, true},       {"Access0p4", true, true},    {"Access1p0", true, true},
                 {"Access4p0", true, true},    {"RequestTime1", false, true}, {"ClassifySpectra1", true, true},
                 {"AnalyzePulsarData1", true, true}, {"ObservationalResults1", true, true},
                 {"PulsarResults1", true, true}, {"Astrometry1", false, true}, {"AsteroidList1", false, false},
                 {"ClusterData1", true, false}, {"QSOList1", true, false},   {"OptLbl", false, true},
                 {"OptCntrlSw", false, true},  {"RadLbl", false, true},      {"RadCntrlSw", false, true},
                 {"DomePnl", false, true},     {"CntrlPnl", true, true},     {"IDPnl", true, true}});
    EXPECT_FALSE(ex.restrictedAccess());
    EXPECT_NE(Log().find("Component: Exercise: The Durev for Quenara\r\nDate: 04-14-2002\r\n"), std::string::npos);
}

TEST_F(ExerciseTest, CatalogsAreSoughtOnMediaThenAskedFor) {
    struct Row {
        const char* what;
        bool onSecondMedium;
        std::optional<std::string> typed;  // relative to the media folder
        std::string instrument, finder;   // relative to the media folder
    };
    const Row rows[] = {
        {"second medium", true, std::nullopt, "B/CGSC/", "B/FGSC/"},
        // A typed path counts like a browsed one; its case stays.
        {"typed path", false, std::string("Data Disk/cgsc/"), "Data Disk/cgsc/", "Data Disk/fgsc/"},
        {"typed folder above", false, std::string("Data Disk"), "Data Disk/cgsc/", "Data Disk/fgsc/"},
    };
    ASSERT_EQ(files.makeFolders(media.path() + "A/"), 0);
    ASSERT_EQ(files.makeFolders(media.path() + "Data Disk/fgsc/"), 0);
    MakeCatalogs(media.path() + "Data Disk/cgsc/");
    MakeCatalogs(media.path() + "B/CGSC/");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        files.media.clear();
        view = test::ScriptView(fake.dialogs);
        if (r.typed) view.mountPaths.push_back(media.path() + *r.typed);
        view.dateAttempts.push_back({std::nullopt, "X"});
        Start();
        Login({"Aaa", "", "", ""});
        // Mounted after the start, so that only Run looks for them.
        files.media = {media.path() + "A/"};
        if (r.onSecondMedium) files.media.push_back(media.path() + "B/");
        exercise->Run();
        EXPECT_EQ(exercise->opts().instrumentCatalogFolder, media.path() + r.instrument);
        EXPECT_EQ(exercise->opts().finderCatalogFolder, media.path() + r.finder);
        EXPECT_EQ(view.mountsShown.size(), r.typed ? 1u : 0u);
        if (r.typed) {
            const MountDialogModel& m = view.mountsShown[0];
            EXPECT_EQ(m.drive(), media.path() + "A/");
            EXPECT_EQ(m.path, media.path() + "A/");
            EXPECT_EQ(m.Text(),
                      "Please mount Toval Installation CD-ROM on drive indicated, or supply correct path to Finder "
                      "or Instrument Star Catalog (FGSC/ or CGSC/).");
        }
        EXPECT_FALSE(exercise->item("Run1").enabled);
        exercise.reset();
        files.removeFile(dataFolder + OptionsFileName);
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, CancellingTheMountDialogLeavesTheExerciseNotRunning) {
    Exercise& ex = Start();
    Login({"Aaa", "", "", ""});
    view.mountPaths.push_back(std::nullopt);
    ex.Run();
    EXPECT_EQ(view.mountsShown.size(), 1u);
    EXPECT_EQ(view.mountsShown[0].drive(), "");  // no medium at all
    EXPECT_TRUE(view.datesShown.empty());
    ExpectItems({{"Run1", true, true}, {"Telescopes1", false, true}, {"Tools1", false, true},
                 {"SetDateTime1", false, true}});
    // Run can be chosen again.
    MakeCatalogs(program.path() + "CGSC/");
    view.dateAttempts.push_back({std::nullopt, "NGC 188"});
    ex.Run();
    EXPECT_EQ(view.datesShown.size(), 1u);
    EXPECT_EQ(ex.objectId(), "NGC 188");
    ExpectItems({{"Run1", false, true}, {"Telescopes1", true, true}});
}

TEST(CatalogFoldersFromPath, CutsAtACatalogPartWhateverItsCase) {
    test::TempFolder tmp;
    platform::StdFileSystem files;
    ASSERT_EQ(files.makeFolders(tmp.path() + "E/cgsc/"), 0);
    ASSERT_EQ(files.makeFolders(tmp.path() + "E/Fgsc/"), 0);
    struct Row {
        const char* path;
        const char* instrument;
        const char* finder;
    };
    const Row rows[] = {
        {"B/", "B/CGSC/", "B/FGSC/"},
        {"B/cgsc/", "B/cgsc/", "B/FGSC/"},
        {"B/FGSC/TABLES/", "B/CGSC/", "B/FGSC/"},
        {"B/fgsc", "B/CGSC/", "B/fgsc/"},
        {"B/xcgsc/", "B/xcgsc/CGSC/", "B/xcgsc/FGSC/"},  // only a whole folder name counts
        {"E/", "E/cgsc/", "E/Fgsc/"},                    // folders on disk keep their spelling
        {"E/CGSC/", "E/CGSC/", "E/Fgsc/"},
    };
    for (const Row& r : rows) {
        const CatalogFolders f = CatalogFoldersFromPath(tmp.path() + r.path, files);
        EXPECT_EQ(f.instrument, tmp.path() + r.instrument) << r.path;
        EXPECT_EQ(f.finder, tmp.path() + r.finder) << r.path;
    }
}

// ---------------------------------------------------------------------------
// The date dialog

TEST(DateDialogTexts, ParseAsTheDialogReadsThem) {
    struct TimeRow {
        const char* text;
        double seconds;  // -1: not a time
    };
    const TimeRow times[] = {
        {"12:00:00", 43200},   {"00:00:00", 0},       {"23:59:59", 86399}, {"9:05", 32700},
        {"7", 25200},          {"12:00:00.5", 43200.5}, {"1:30 PM", 48600}, {"12:00 AM", 0},
        {"12:15 pm", 44100},   {"24:00:00", -1},      {"12:60:00", -1},    {"12:00:60", -1},
        {"13:00 PM", -1},      {"", -1},              {"ab:cd", -1},       {"-1:00", -1},
        {"12:00:00:00", -1},   {"12::00", -1},
    };
    for (const auto& r : times) {
        const auto t = ParseColonTime(r.text);
        if (r.seconds < 0) {
            EXPECT_FALSE(t) << r.text;
        } else {
            ASSERT_TRUE(t) << r.text;
            EXPECT_NEAR(static_cast<double>(*t) * 86400, r.seconds, 1e-6) << r.text;
        }
    }
    struct DateRow {
        const char* text;
        std::int64_t day;  // -1: not a date
    };
    const DateRow dates[] = {
        {"2002/04/14", 37360}, {"1899/12/30", 0}, {"2000/02/29", 36585}, {"2002/4/1", 37347},
        {"2002/02/29", -1},    {"2002-04-14", -1}, {"2002/13/01", -1},   {"", -1},
        {"2002/04", -1},       {"2002/04/14/1", -1},
    };
    for (const auto& r : dates) {
        const auto d = ParseSlashDate(r.text);
        if (r.day < 0) {
            EXPECT_FALSE(d) << r.text;
        } else {
            ASSERT_TRUE(d) << r.text;
            EXPECT_EQ(*d, r.day) << r.text;
        }
    }
}

TEST_F(ExerciseTest, LaterDateDialogShowsAndTakesUniversalTime) {
    StartRunning("M 67");
    // Set 03:00 UT on the fixed date: local time is the evening before.
    view.dateAttempts.push_back({std::string("25:00:00"), "M 67"});  // refused, the dialog stays open
    view.dateAttempts.push_back({std::string("03:00:00"), "M 67"});
    exercise->SetDateTime();
    ASSERT_EQ(view.datesShown.size(), 2u);
    EXPECT_EQ(view.datesShown[1].timeText, "12:00:00");
    EXPECT_TRUE(view.datesShown[1].timeEnabled);
    EXPECT_FALSE(view.datesShown[1].dateEnabled);
    EXPECT_EQ(view.datesShown[1].idText, "M 67");  // the ID so far
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown()[0], "Quenara Exercise|'25:00:00' is not a valid time");
    const double local = 37360.0 + 3 * Hour - 5 * Hour;
    EXPECT_NEAR(exercise->observationClock().value, local, DayTolerance);
    EXPECT_EQ(exercise->observationClock().day, 13);

    // Opened again, it shows the UT date beside the UT time, so OK without
    // a change keeps the moment.
    view.dateAttempts.push_back({std::nullopt, ""});
    exercise->SetDateTime();
    EXPECT_EQ(view.datesShown[2].dateText, "2002/04/14");
    EXPECT_EQ(view.datesShown[2].timeText, "03:00:00");
    EXPECT_NEAR(exercise->observationClock().value, local, DayTolerance);
    EXPECT_EQ(exercise->objectId(), "UNKNOWN");
}

TEST_F(ExerciseTest, LaterDateDialogCancelAndId) {
    struct Row {
        bool testMode;
        bool cancelDisabled;
        bool cancelEnabled;
    };
    const Row rows[] = {{false, false, true}, {false, true, false}, {true, true, true}, {true, false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.testMode) + std::to_string(r.cancelDisabled));
        WriteOptions([&](OptsRec& o) { o.testMode = r.testMode; });
        view = test::ScriptView(fake.dialogs);
        StartRunning();
        view.dateAttempts.push_back({std::nullopt, "A Very Long Object Name Indeed"});
        exercise->SetDateTime(r.cancelDisabled);
        ASSERT_EQ(view.datesShown.size(), 2u);
        EXPECT_EQ(view.datesShown[1].cancelEnabled, r.cancelEnabled);
        EXPECT_EQ(exercise->objectId(), "A Very Long Object");  // 18 characters
        // Cancel changes nothing.
        const double before = exercise->observationClock().value;
        exercise->SetDateTime(r.cancelDisabled);
        EXPECT_EQ(exercise->objectId(), "A Very Long Object");
        EXPECT_NEAR(exercise->observationClock().value, before, DayTolerance);
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

// ---------------------------------------------------------------------------
// Leaving

TEST_F(ExerciseTest, ExitAsksAndWritesTheLogout) {
    struct Row {
        const char* what;
        bool running;
        std::optional<std::string> reminder;  // file contents; nullopt: no file
        Answer answer;
        bool closes;
        std::vector<std::string> shown;  // "caption|text"; "@" stands for the reminder's path
        Buttons lastButtons;
    };
    const std::string footer = "\r\n\r\nSelect \"OK\" to Quit Exercise, \"Cancel\" to Continue.";
    const std::string question = "** Exercise Finished? **|Are You Sure You Want to Quit This Exercise?";
    const Row rows[] = {
        {"before Run", false, std::string("Reminder"), Answer::Yes, true, {question}, Buttons::YesNo},
        {"before Run, No", false, std::nullopt, Answer::No, false, {question}, Buttons::YesNo},
        {"reminder", true, std::string("Hand in your sheet.\r\nSwitch off\n"), Answer::OK, true,
         {"** Exercise Finished? **|Hand in your sheet.\r\nSwitch off" + footer}, Buttons::OKCancel},
        {"reminder, Cancel", true, std::string("Bye"), Answer::Cancel, false,
         {"** Exercise Finished? **|Bye" + footer}, Buttons::OKCancel},
        {"long reminder", true, std::string(2000, 'x'), Answer::OK, true,
         {"** Exercise Finished? **|" + std::string(1023, 'x') + footer}, Buttons::OKCancel},
        {"reminder missing", true, std::nullopt, Answer::Yes, true,
         {"File Error!|Cannot Access Reminder File!\r\nFile Name: @\r\n\r\nFile Not Found!", question},
         Buttons::YesNo},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        files.removeFile(program.file("REMINDER.OBS"));
        if (r.reminder) test::WriteAll(program.file("REMINDER.OBS"), {r.reminder->begin(), r.reminder->end()});
        files.removeFile(dataFolder + "ZARNLOG.LOG");
        WriteOptions([](OptsRec& o) { o.writeLogFile = true; });
        view = test::ScriptView(fake.dialogs);
        if (r.running) {
            StartRunning();
        } else {
            Start();
            Login({"Aaa Bbb Ccc", "", "", ""});
            fake.dialogs.clear();
        }
        fake.dialogs.script({r.answer});
        EXPECT_EQ(exercise->CloseQuery(), r.closes);
        EXPECT_EQ(exercise->closeConfirmed(), r.closes);
        std::vector<std::string> expected = r.shown;
        for (auto& s : expected)
            if (auto at = s.find('@'); at != std::string::npos) s.replace(at, 1, program.file("REMINDER.OBS"));
        EXPECT_EQ(fake.dialogs.shown(), expected);
        EXPECT_EQ(fake.dialogs.messages.back().buttons, r.lastButtons);
        if (r.closes) {
            exercise->Close();
            exercise->Close();  // a second close writes nothing more
            const std::string log = Log();
            const auto logout = log.find("Logout: ZARN_QNR\r\n");
            ASSERT_NE(logout, std::string::npos);
            EXPECT_EQ(log.substr(logout),
                      "Logout: ZARN_QNR\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\nName1: Aaa Bbb Ccc\r\n"
                      "Table: 12\r\nElapsed Time:  0:00:00.00\r\nEndLogout: ZARN_QNR\r\n**********\r\n"
                      "**********\r\n");
        } else {
            EXPECT_EQ(Log().find("Logout:"), std::string::npos);
        }
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, ExitOffersPendingChangesAgain) {
    WriteOptions([](OptsRec& o) {
        o.loginRequired = false;
        o.editMode = true;
    });
    view.optionsAnswer = true;
    Exercise& ex = Start();
    fake.dialogs.clear();
    fake.dialogs.script({Answer::Yes, Answer::No});  // save? yes; Edit Mode: no
    ex.Preferences();
    ASSERT_TRUE(ex.updatesPending());
    fake.dialogs.clear();
    fake.dialogs.script({Answer::Yes, Answer::Yes, Answer::Yes});  // quit, save, Edit Mode
    EXPECT_TRUE(ex.CloseQuery());
    const auto shown = fake.dialogs.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], "Save Option Changes?|Save Updated Parameters in " + dataFolder + "QNR_OPTS.INI?");
    EXPECT_EQ(fake.dialogs.messages[2].caption, "Are You Sure?");
    EXPECT_FALSE(ex.updatesPending());
}

// ---------------------------------------------------------------------------
// Outside programs

TEST_F(ExerciseTest, SpreadsheetGetsTheChosenFile) {
    struct Row {
        const char* what;
        std::string option;
        bool choose;
        platform::Association association;
        int startError;
        std::vector<std::string> shown;
        std::string program;                  // started; empty: nothing started
        std::vector<std::string> arguments;
        bool logged;
    };
    const std::string file = "Run 1 results.CSV";
    const Row rows[] = {
        {"cancelled, no association", "", false, {2, "", {}}, 0,
         {"Cannot Run Spreadsheet!|Unable to obtain associated processor for \r\n\r\n\r\nCode = 2 - File Not Found"},
         "", {}, false},
        {"no association", "", true, {31, "", {}}, 0,
         {"Cannot Run Spreadsheet!|Unable to obtain associated processor for \r\n" + file +
          "\r\n\r\nCode = 31 - No Association for Specified File Type"},
         "", {}, false},
        {"associated program", "", true, {33, "/usr/bin/sheet", {"@" + file}}, 0, {}, "/usr/bin/sheet",
         {"@" + file}, true},
        // The whole command of the association, not its first word with the file.
        {"associated launcher", "", true,
         {33, "/usr/bin/flatpak", {"run", "--file-forwarding", "org.example.Sheet", "@@u", "@" + file, "@@"}}, 0, {},
         "/usr/bin/flatpak", {"run", "--file-forwarding", "org.example.Sheet", "@@u", "@" + file, "@@"}, true},
        {"option", "/opt/My Sheet/sheet", true, {}, 0, {}, "/opt/My Sheet/sheet", {file}, true},
        {"option, cancelled", "/opt/My Sheet/sheet", false, {}, 0, {}, "/opt/My Sheet/sheet", {}, true},
        {"bad folder", "/opt/sheet", true, {}, 267, {"Cannot Run Spreadsheet!|Unable to Execute /opt/sheet\r\n\r\n"
                                                    "Code = 267 - Directory Name is Invalid"},
         "/opt/sheet", {file}, false},
        {"not allowed", "/opt/sheet", true, {}, 5,
         {"Cannot Run Spreadsheet!|Unable to Execute /opt/sheet\r\n\r\nCode = 5 - Access Denied"}, "/opt/sheet",
         {file}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        files.removeFile(dataFolder + "ZARNLOG.LOG");
        WriteOptions([&](OptsRec& o) {
            o.writeLogFile = true;
            o.spreadsheetProgram = r.option;
        });
        processes = test::FakeProcesses();
        processes.startError = r.startError;
        chooser = test::FakeChooser();
        Start();
        Login({"Aaa", "", "", ""});
        const std::string users = exercise->opts().usersFolder;
        // "@" at the start of an argument stands for the users folder.
        auto inUsers = [&](std::vector<std::string> args) {
            for (auto& a : args)
                if (a.size() > 1 && a[0] == '@' && a[1] != '@') a = users + a.substr(1);
            return args;
        };
        processes.association = r.association;
        processes.association.arguments = inUsers(r.association.arguments);
        if (r.choose) chooser.openAnswer = users + file;
        fake.dialogs.clear();
        exercise->Spreadsheet();

        ASSERT_EQ(chooser.opens.size(), 1u);
        EXPECT_EQ(chooser.opens[0].title, "Select data to pass to spreadsheet.");
        EXPECT_EQ(chooser.opens[0].startFolder, users);
        EXPECT_EQ(fake.dialogs.shown(), r.shown);
        if (r.option.empty()) {
            ASSERT_EQ(processes.associationQueries.size(), 1u);
            EXPECT_EQ(processes.associationQueries[0], r.choose ? users + "|" + file : "|");
        }
        if (r.program.empty()) {
            EXPECT_TRUE(processes.starts.empty());
        } else {
            ASSERT_EQ(processes.starts.size(), 1u);
            EXPECT_EQ(processes.starts[0].program, r.program);
            EXPECT_EQ(processes.starts[0].arguments, inUsers(r.arguments));
            EXPECT_EQ(processes.starts[0].folder, r.choose ? users : "");
        }
        EXPECT_EQ(Log().find("Component: Spreadsheet Program\r\n") != std::string::npos, r.logged);
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, OutsideProgramsStartOnceWhileRunning) {
    struct Row {
        const char* what;
        void (Exercise::*command)();
        const char* running;
    };
    const Row rows[] = {
        {"spreadsheet", &Exercise::Spreadsheet,
         "Module Already Loaded|The Spreadsheet Program is Already Running.\r\n\r\nUse Alt-Tab to Scan Current "
         "Modules."},
        {"astrometry", &Exercise::Astrometry,
         "Module Already Loaded|The Astrometry Program is Already Running.\r\n\r\nUse Alt-Tab to Scan Current "
         "Modules."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WriteOptions([](OptsRec& o) {
            o.spreadsheetProgram = "/opt/sheet";
            o.astrometryProgram = "/opt/Ravorizi/ZARN_AST.EXE";
        });
        processes = test::FakeProcesses();
        Start();
        Login({"Aaa", "", "", ""});
        fake.dialogs.clear();
        (exercise.get()->*r.command)();
        (exercise.get()->*r.command)();
        EXPECT_EQ(processes.starts.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown(), std::vector<std::string>{r.running});
        EXPECT_EQ(fake.dialogs.beeps, 1);
        // Once it has ended it starts again.
        processes.running = false;
        (exercise.get()->*r.command)();
        EXPECT_EQ(processes.starts.size(), 2u);
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST_F(ExerciseTest, AstrometryGetsTheCatalogFolder) {
    WriteOptions([](OptsRec& o) {
        o.astrometryProgram = "/opt/Ravorizi/ZARN_AST.EXE";
        o.writeLogFile = true;
    });
    StartRunning();
    exercise->Astrometry();
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].program, "/opt/Ravorizi/ZARN_AST.EXE");
    EXPECT_EQ(processes.starts[0].arguments, std::vector<std::string>{program.path() + "CGSC/"});
    EXPECT_EQ(processes.starts[0].folder, exercise->opts().usersFolder);
    EXPECT_NE(Log().find("Component: Astrometry Module\r\n"), std::string::npos);

    // A failure names the code; the folder reason belongs to the spreadsheet.
    for (int code : {2, 267}) {
        processes.running = false;
        processes.startError = code;
        fake.dialogs.clear();
        exercise->Astrometry();
        EXPECT_EQ(fake.dialogs.shown(),
                  std::vector<std::string>{"Cannot Run Astrometry Module!|Unable to Execute "
                                           "/opt/Ravorizi/ZARN_AST.EXE\r\n\r\nCode = " +
                                           std::to_string(code) + (code == 2 ? " - File Not Found" : "")});
    }
}

// A launcher that cannot run what it was asked to (a sandbox without the
// program, a wrapper pointing nowhere) starts and ends at once with an error:
// that is a failed start, not a spreadsheet. A quick clean end (a program
// that hands the file to one already open) is a start.
TEST_F(ExerciseTest, AProgramEndingAtOnceWithAnErrorIsReported) {
    struct Row {
        const char* what;
        void (Exercise::*command)();
        int exitCode;
        std::vector<std::string> shown;
        const char* component;  // logged, or nullptr
    };
    const Row rows[] = {
        {"spreadsheet", &Exercise::Spreadsheet, 1,
         {"Cannot Run Spreadsheet!|Unable to Execute /opt/sheet\r\n\r\nExit Code = 1 - Program Ended at Once"},
         nullptr},
        {"astrometry", &Exercise::Astrometry, 127,
         {"Cannot Run Astrometry Module!|Unable to Execute /opt/Ravorizi/ZARN_AST.EXE\r\n\r\n"
          "Exit Code = 127 - Program Ended at Once"},
         nullptr},
        {"spreadsheet ending well", &Exercise::Spreadsheet, 0, {}, "Component: Spreadsheet Program\r\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        files.removeFile(dataFolder + "ZARNLOG.LOG");
        WriteOptions([](OptsRec& o) {
            o.writeLogFile = true;
            o.spreadsheetProgram = "/opt/sheet";
            o.astrometryProgram = "/opt/Ravorizi/ZARN_AST.EXE";
        });
        processes = test::FakeProcesses();
        processes.endsAtOnceWith = r.exitCode;
        view = test::ScriptView(fake.dialogs);
        Start();
        Login({"Aaa", "", "", ""});
        fake.dialogs.clear();
        std::vector<int> busyWhileShown;
        fake.dialogs.whileShown = [&] { busyWhileShown.push_back(view.busy); };
        (exercise.get()->*r.command)();
        fake.dialogs.whileShown = nullptr;
        EXPECT_EQ(processes.starts.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown(), r.shown);
        EXPECT_EQ(busyWhileShown, std::vector<int>(r.shown.size(), 0));
        EXPECT_EQ(view.busy, 0);
        const std::string log = Log();
        const bool logged = log.find("Component: Spreadsheet Program") != std::string::npos ||
                            log.find("Component: Astrometry Module") != std::string::npos;
        EXPECT_EQ(logged, r.component != nullptr);
        if (r.component) {
            EXPECT_NE(log.find(r.component), std::string::npos);
        }
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

TEST(ExecMod32Obj, RemembersOnlyTheExactProgram) {
    test::FakeProcesses processes;
    ExecMod32Obj launcher(processes);
    launcher.Start("/opt/sheet", {"a b.csv"}, "/tmp/");
    EXPECT_TRUE(launcher.started());
    EXPECT_TRUE(launcher.IsRunning("/opt/sheet"));
    // Another spelling is another program; the remembered one is forgotten.
    EXPECT_FALSE(launcher.IsRunning("/opt/Sheet"));
    EXPECT_EQ(launcher.program(), "");
    launcher.Start("/opt/sheet", {}, "/tmp/");
    EXPECT_EQ(processes.starts.size(), 2u);
    processes.startError = 11;
    processes.running = false;
    launcher.Start("/opt/other", {}, "");
    EXPECT_FALSE(launcher.started());
    EXPECT_FALSE(launcher.endedAtOnce());
    EXPECT_EQ(launcher.errorCode(), 11);

    // Started, then ended at once with an error: not started, and not running.
    processes.startError = 0;
    processes.endsAtOnceWith = 3;
    launcher.Start("/opt/other", {}, "");
    EXPECT_FALSE(launcher.started());
    EXPECT_TRUE(launcher.endedAtOnce());
    EXPECT_EQ(launcher.exitCode(), 3);
    EXPECT_FALSE(launcher.IsRunning("/opt/other"));
    processes.endsAtOnceWith = 0;
    launcher.Start("/opt/other", {}, "");
    EXPECT_TRUE(launcher.started());
    EXPECT_FALSE(launcher.endedAtOnce());
}

TEST(LauncherTexts, ReasonsByCode) {
    struct Row {
        int code;
        const char* start;
        const char* association;
    };
    const Row rows[] = {
        {0, "", " - Out of Memory or Resources"},
        {2, " - File Not Found", " - File Not Found"},
        {3, " - Path Not Found", " - Path Not Found"},
        {4, " - Too Many Open Files", ""},
        {5, " - Access Denied", ""},
        {8, " - Not Enough Memory", ""},
        {11, " - Program Has Incorrect Format", " - Error in Associated .EXE File"},
        {14, " - Out of Memory", ""},
        {31, "", " - No Association for Specified File Type"},
        {267, " - Directory Name is Invalid", ""},
        {1234, "", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(StartFailureReason(r.code, true), r.start) << r.code;
        EXPECT_EQ(AssociationFailureReason(r.code), r.association) << r.code;
    }
    EXPECT_EQ(StartFailureReason(267, false), "");
    EXPECT_EQ(StartFailureReason(5, false), " - Access Denied");
}

TEST(PlatformFamily, OnlyTheOlderConsumerVersions) {
    EXPECT_TRUE(IsOlderConsumerVersion("Windows", 3, 95));
    EXPECT_TRUE(IsOlderConsumerVersion("Windows", 4, 10));
    EXPECT_TRUE(IsOlderConsumerVersion("Windows", 4, 90));
    EXPECT_FALSE(IsOlderConsumerVersion("Windows", 4, 0));
    EXPECT_FALSE(IsOlderConsumerVersion("Windows", 10, 0));
    EXPECT_FALSE(IsOlderConsumerVersion("Linux", 4, 10));
    test::FakeIdentity identity;
    EXPECT_FALSE(IsOlderConsumerPlatform(identity));
}

// ---------------------------------------------------------------------------
// Help menu and about box

TEST_F(ExerciseTest, HelpMenuFollowsTheHelpOptions) {
    struct Row {
        std::string general, user, topics;
    };
    const Row rows[] = {{"", "", "QnRMnHlp.LST"}, {"OnHelp.TXT", "", ""}, {"", "User.TXT", "T.LST"}};
    for (const Row& r : rows) {
        WriteOptions([&](OptsRec& o) {
            o.generalHelp = r.general;
            o.userHelp = r.user;
            o.mainHelpList = r.topics;
        });
        view = test::ScriptView(fake.dialogs);
        Start();
        const bool g = !r.general.empty(), u = !r.user.empty(), t = !r.topics.empty();
        ExpectItems({{"OnHelp1", g, g}, {"OnHelpSep", true, g}, {"Topics1", t, true},
                     {"User1", u, u}, {"UserSep", true, u}});
        exercise->OnHelp();
        exercise->UserHelp();
        EXPECT_EQ(view.helpShown, (std::vector<std::string>{"On Help|" + program.path() + r.general,
                                                            "User Help|" + program.path() + r.user}));
        exercise->About();
        EXPECT_EQ(view.aboutShown, std::vector<std::string>{"Version 1.121"});
        exercise.reset();
        files.setCurrentFolder(program.path());
    }
}

}  // namespace
}  // namespace qnr::app
