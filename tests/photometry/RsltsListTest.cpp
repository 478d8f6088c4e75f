// The results list without its window: entries from the instruments, the
// lines, saving in both forms and loading them back with the questions,
// editing and deleting with undo, search and print.
#include <gtest/gtest.h>

#include <utime.h>

#include "help/ListFakes.h"
#include "photometry/ResultsDates.h"
#include "photometry/RsltsList.h"
#include "support/Fakes.h"

namespace qnr::photometry {
namespace {

using platform::Answer;

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

void SetModified(const std::string& path, Extended jd) {
    const auto unixSeconds = static_cast<std::time_t>((jd - 2440587.5L) * 86400);
    const utimbuf times{unixSeconds, unixSeconds};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

class RsltsListTest : public ::testing::Test {
protected:
    void SetUp() override {
        services_ = fake_.services();
        services_.chooser = &chooser_;
        services_.printer = &printer_;
        opts_.usersFolder = users_.path();
        opts_.computeMagnitudes = true;
        opts_.includeRI = false;
    }
    std::unique_ptr<ResultsList> MakeList() {
        auto list = std::make_unique<ResultsList>(services_, opts_);
        list->onDisplayEnabled = [this] { ++displayEnabled_; };
        return list;
    }
    // The photometer's Record: the entry, its readings, the dialog with OK.
    static ObsResult& Record(ResultsList& list, const std::string& id, double time, int filter, Extended value,
                             std::uint8_t kind = 1) {
        ObsResult& e = list.FindOrCreate(id, time);
        e.kind = kind;
        e.values[static_cast<std::size_t>(filter)] = value;
        list.Review(e, [](ObsRsltsModel&) { return true; });
        return e;
    }
    // The dialog typing into its fields, then OK.
    static ResultsList::EntryDialog Typing(std::string id, std::string sp, std::string z, std::string remarks) {
        return [=](ObsRsltsModel& m) {
            m.id = id;
            m.spType = sp;
            m.z = z;
            m.remarks = remarks;
            return true;
        };
    }
    void Fill(ResultsList& list) {
        Record(list, "HD 1234", March2004, 0, 12.345L);
        Record(list, "HD 1234", March2004 + 0.01, 1, 11.802L);  // the same star fills the same entry
        ObsResult& galaxy = list.FindOrCreate("NGC 4565 Core", March2004 - 1);
        galaxy.values[2] = 13.25L;
        list.Review(galaxy, Typing("NGC 4565 Core", "", "4.270E-03", "edge-on, dust lane"));
        ObsResult& star = list.FindOrCreate("Smith, Obj. 3", 0);
        list.Review(star, Typing("Smith, Obj. 3", "K5III:", "", "classified only"));
    }

    test::FakePlatform fake_;
    test::ScriptedChooser chooser_;
    test::RecordingPrinter printer_;
    test::TempFolder users_;
    app::OptsRec opts_;
    platform::Services services_;
    int displayEnabled_ = 0;
};

TEST_F(RsltsListTest, FindOrCreateByObjectAndTime) {
    auto list = MakeList();
    ObsResult& first = list->FindOrCreate("Vega", March2004 + 0.5);
    EXPECT_EQ(first.kind, 1);  // "Compute Magnitudes" on
    ObsResult& again = list->FindOrCreate("Vega", March2004 + 0.9);
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(again.timeValue, March2004 + 0.5);  // the first time stays
    list->FindOrCreate("Altair", March2004);
    list->FindOrCreate("untimed", 0);
    // IDs are held to 15 characters, and a longer one still finds its entry.
    ObsResult& longName = list->FindOrCreate("Messier 31 nucleus region", March2004 + 2);
    EXPECT_EQ(longName.objectId, "Messier 31 nucl");
    EXPECT_EQ(&list->FindOrCreate("Messier 31 nucleus region", 0), &longName);
    std::vector<std::string> ids;
    for (const ObsResult& e : list->Entries()) ids.push_back(e.objectId);
    EXPECT_EQ(ids, (std::vector<std::string>{"untimed", "Altair", "Vega", "Messier 31 nucl"}));

    // With time-dependent data every recording is an entry of its own, in time order.
    opts_.timeDependentData = true;
    opts_.computeMagnitudes = false;
    auto timed = MakeList();
    timed->FindOrCreate("Algol", March2004 + 0.2);
    timed->FindOrCreate("Algol", March2004 + 0.1);
    ObsResult& third = timed->FindOrCreate("Algol", March2004 + 0.1);
    EXPECT_EQ(third.kind, 0);
    ASSERT_EQ(timed->Count(), 3);
    EXPECT_EQ(timed->Entries()[0].timeValue, March2004 + 0.1);
    EXPECT_EQ(timed->Entries()[2].timeValue, March2004 + 0.2);
}

TEST_F(RsltsListTest, ShowAllAndTheDialogsFields) {
    auto list = MakeList();
    EXPECT_EQ(list->caption(), "Recorded Results - Computed Magnitudes");
    Fill(*list);
    EXPECT_EQ(displayEnabled_, 4);
    EXPECT_TRUE(list->lines().empty());  // nothing shown yet
    list->ShowAll();
    const std::vector<std::string> want = {
        "Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments",
        "Smith, Obj. 3   2415018.500000                                  K5III        classified only",
        "NGC 4565 Core   2453071.586910               13.250   4.270E-03              edge-on, dust lane",
        "HD 1234         2453072.586910 12.345 11.802                                 ",
    };
    EXPECT_EQ(list->lines(), want);

    ObsRsltsModel m;
    m.Load(list->Entries()[2], false);
    EXPECT_EQ(m.jd, "2453072.586910");
    EXPECT_EQ(m.resultsLabel, "Observed Magnitudes");
    EXPECT_EQ(m.values[0], "    12.345");
    EXPECT_EQ(m.values[2], "");
    EXPECT_FALSE(m.riEnabled);
    m.Load(list->Entries()[0], true);
    EXPECT_EQ(m.jd, "");  // no time
    EXPECT_EQ(m.spType, "K5III");
    EXPECT_TRUE(m.riEnabled);
    m.Load(list->Entries()[1], false);
    EXPECT_EQ(m.z, "4.270E-03");

    // Cancel keeps what the instrument wrote but not the typing.
    ObsResult& e = list->FindOrCreate("HD 1234", 0);
    e.values[2] = 10.5L;
    EXPECT_FALSE(list->Review(e, [](ObsRsltsModel& dialog) {
        dialog.remarks = "typed";
        return false;
    }));
    EXPECT_EQ(list->Entries()[2].values[2], 10.5L);
    EXPECT_EQ(list->Entries()[2].remarks, "");
    EXPECT_EQ(list->lines()[3].substr(45, 7), "10.500 ");  // shown at once
}

TEST_F(RsltsListTest, BothFormsSaveAndLoadBack) {
    struct Case {
        const char* why;
        bool magnitudes;
        bool ri;
        bool comma;
    };
    const std::vector<Case> cases = {{"magnitudes as displayed", true, false, false},
                                     {"magnitudes comma-separated", true, false, true},
                                     {"counts with R and I as displayed", false, true, false},
                                     {"counts with R and I comma-separated", false, true, true}};
    for (const Case& c : cases) {
        opts_.computeMagnitudes = c.magnitudes;
        opts_.includeRI = c.ri;
        auto list = MakeList();
        const std::uint8_t kind = c.magnitudes ? 1 : 0;
        Record(*list, "HD 1234", March2004, 0, c.magnitudes ? 12.345L : 1234.5L, kind);
        Record(*list, "HD 1234", March2004, c.ri ? 4 : 2, c.magnitudes ? 11.25L : 2.5e7L, kind);
        ObsResult& q = list->FindOrCreate("3C 273, jet", March2004 + 3);
        list->Review(q, Typing("3C 273, jet", "", "0.158", "z from H-beta, \"Hb\""));
        ObsResult& s = list->FindOrCreate("HR 8832", 0);
        list->Review(s, Typing("HR 8832", "sgB1", "", ""));
        list->ShowAll();

        const std::string file = users_.file(std::string(c.ri ? "group3ri" : "group3") + (c.comma ? ".CSV" : ".TXT"));
        chooser_.answers = {file};
        ASSERT_TRUE(c.comma ? list->SaveCommaDelimited() : list->SaveAsDisplayed()) << c.why;
        EXPECT_EQ(fake_.dialogs.messages.back().text, "Report Text Written to " + file + ".") << c.why;

        auto loaded = MakeList();
        ASSERT_TRUE(loaded->Load(file)) << c.why << ": " << fake_.dialogs.shown().back();
        EXPECT_EQ(loaded->lines(), list->lines()) << c.why;
        ASSERT_EQ(loaded->Count(), list->Count()) << c.why;
        for (int i = 0; i < list->Count(); ++i) {
            const ObsResult a = loaded->Entries()[static_cast<std::size_t>(i)];
            const ObsResult b = list->Entries()[static_cast<std::size_t>(i)];
            EXPECT_EQ(a.objectId, b.objectId) << c.why;
            EXPECT_NEAR(a.timeValue, b.timeValue, 5.1e-7) << c.why;
            EXPECT_EQ(a.values, b.values) << c.why;
            EXPECT_EQ(a.spType, b.spType) << c.why;
            EXPECT_EQ(a.z, b.z) << c.why;
            EXPECT_EQ(a.remarks, b.remarks) << c.why;
        }
        // A reloaded entry still belongs to its object: a new reading fills it.
        const int before = loaded->Count();
        Record(*loaded, "HD 1234", March2004 + 5, 1, c.magnitudes ? 11.5L : 99.5L, kind);
        EXPECT_EQ(loaded->Count(), before) << c.why;
    }
    EXPECT_EQ(Text(test::ReadAll(users_.file("group3ri.CSV"))),
              "Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments\r\n"
              "HR 8832,2415018.500000,,,,,,,sgB1,\r\n"
              "HD 1234,2453072.586910,1234.5,,,,2.500E+07,,,\r\n"
              "\"3C 273, jet\",2453075.586910,,,,,,1.580E-01,,\"z from H-beta, \"\"Hb\"\"\"\r\n");
}

TEST_F(RsltsListTest, OlderFilesTakeTheirCenturyFromTheirOwnDate) {
    // Written in 2004 by the older layout; read in 2030. Today's leading
    // digits (246) would put the night in 2031.
    const std::string file = users_.file("old.TXT");
    test::WriteAll(file, [] {
        const std::string text =
            "Object ID    MJD(Days)    U      B      V         Z      Spectrum     Comments\r\n"
            "HD 1234     3072.586910 12.345 11.802                    G2V          check\r\n";
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }());
    SetModified(file, 2453100.5L);
    fake_.clock.now = 47500.5;  // 2030-01-17
    auto list = MakeList();
    ASSERT_TRUE(list->Load(file)) << fake_.dialogs.shown().back();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_NEAR(list->Entries()[0].timeValue, March2004, 5.1e-7);
    EXPECT_EQ(list->lines()[1], "HD 1234         2453072.586910 12.345 11.802                    G2V          check");
    EXPECT_EQ(list->lines()[0], ResultsHeader(true, 2));  // the header of the present layout
}

TEST_F(RsltsListTest, FilesThatDoNotLoad) {
    const std::string counts = users_.file("counts.TXT");
    const std::string ri = users_.file("ri.CSV");
    const std::string other = users_.file("notes.TXT");
    const std::string bad = users_.file("bad.TXT");
    auto write = [](const std::string& path, const std::string& text) {
        test::WriteAll(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    };
    write(counts, ResultsHeader(false, 2) + "\r\n");
    write(ri, "Object ID,JD(Days),U,B,V,R,I,Z,Spectrum,Comments\r\nA,2453072.5,12.345,,,,,,,\r\n");
    write(other, "Observing notes\r\n");
    write(bad, ResultsHeader(true, 2) + "\r\nHD 5678         2453072.686910 12.3x5\r\n");
    const std::string farFuture = users_.file("far.TXT"), beforeTime = users_.file("before.CSV");
    write(farFuture, ResultsHeader(true, 2) + "\r\nHD 5678         1e300          12.345\r\n");
    write(beforeTime, CommaHeader(2) + "\r\nHD5678,-5,12.345,,,,,\r\n");
    const std::string incompatible =
        "Data Not Loaded!|Data in file is incompatible with current settings!  Verify switches \"Compute "
        "Magnitudes\" and/or \"Include R and I Colors\".";
    struct Case {
        const char* why;
        std::string path;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"counts while magnitudes are computed", counts, incompatible},
        {"R and I while they are off", ri, incompatible},
        {"no results file", other, "No Data Loaded!|File " + other + " does not contain saved photometric data!"},
        {"a missing file", users_.file("none.TXT"), ""},
        {"a filter that is no number", bad, "Quenara Exercise|'12.3x5' is not a valid floating point value"},
        {"a time of 1e300", farFuture, "No Data Loaded!|File " + farFuture + " does not contain saved photometric data!"},
        {"a time of -5", beforeTime, "No Data Loaded!|File " + beforeTime + " does not contain saved photometric data!"},
    };
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    const std::vector<std::string> before = list->lines();
    for (const Case& c : cases) {
        fake_.dialogs.clear();
        // Even "No" (clear current data) would be scripted: no question comes.
        fake_.dialogs.script({Answer::No, Answer::Yes});
        EXPECT_FALSE(list->Load(c.path)) << c.why;
        ASSERT_EQ(fake_.dialogs.messages.size(), 1u) << c.why;
        if (!c.message.empty()) {
            EXPECT_EQ(fake_.dialogs.shown()[0], c.message) << c.why;
        }
        EXPECT_EQ(list->lines(), before) << c.why;
        fake_.dialogs = test::FakeDialogs{};
    }
}

TEST_F(RsltsListTest, RetainCurrentDataQuestion) {
    auto source = MakeList();
    Record(*source, "Vega", March2004, 2, 0.03L);
    source->ShowAll();
    const std::string file = users_.file("vega.TXT");
    chooser_.answers = {file};
    ASSERT_TRUE(source->SaveAsDisplayed());

    struct Case {
        const char* why;
        std::vector<Answer> answers;
        bool loaded;
        std::vector<std::string> ids;
        int questions;
    };
    const std::vector<Case> cases = {
        {"Yes adds the file's entries", {Answer::Yes}, true, {"Altair", "Vega"}, 1},
        {"No, then Yes at the confirmation, replaces them", {Answer::No, Answer::Yes}, true, {"Vega"}, 2},
        {"No, then No, keeps the list", {Answer::No, Answer::No}, false, {"Altair"}, 2},
        {"Cancel keeps the list", {Answer::Cancel}, false, {"Altair"}, 1},
    };
    for (const Case& c : cases) {
        fake_.dialogs = test::FakeDialogs{};
        auto list = MakeList();
        Record(*list, "Altair", March2004 - 1, 2, 0.77L);
        list->ShowAll();
        for (Answer a : c.answers) fake_.dialogs.script({a});
        EXPECT_EQ(list->Load(file), c.loaded) << c.why;
        std::vector<std::string> ids;
        for (const ObsResult& e : list->Entries()) ids.push_back(e.objectId);
        EXPECT_EQ(ids, c.ids) << c.why;
        EXPECT_EQ(list->lines().size(), c.ids.size() + 1) << c.why;
        ASSERT_EQ(static_cast<int>(fake_.dialogs.messages.size()), c.questions) << c.why;
        const platform::Message& q = fake_.dialogs.messages[0];
        EXPECT_EQ(q.caption, "Retain Current Data?");
        EXPECT_EQ(q.text,
                  "Do you want to add the file data to your current data?\r\n\r\n\"Yes\" - Add to current data.\r\n"
                  "\"No\"  - Clear current data.");
        EXPECT_EQ(q.buttons, platform::Buttons::YesNoCancel);
        if (c.questions == 2) {
            EXPECT_EQ(fake_.dialogs.messages[1].caption, "Confirm Deletion!");
            EXPECT_EQ(fake_.dialogs.messages[1].text, "Are you SURE you want to delete your current data?");
        }
    }

    // An empty list has nothing to retain.
    fake_.dialogs = test::FakeDialogs{};
    auto empty = MakeList();
    ASSERT_TRUE(empty->Load(file));
    EXPECT_TRUE(fake_.dialogs.messages.empty());
}

TEST_F(RsltsListTest, EditAndDeleteWithUndo) {
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    const std::vector<std::string> shown = list->lines();

    // No entry line selected.
    EXPECT_FALSE(list->EditLine(0, Typing("x", "", "", "")));
    EXPECT_FALSE(list->EditLine(-1, Typing("x", "", "", "")));
    EXPECT_FALSE(list->DeleteLine(0));
    EXPECT_FALSE(list->DeleteLine(9));
    EXPECT_EQ(fake_.dialogs.shown(),
              (std::vector<std::string>{"No Selection!|Select Text Line for Edit!", "No Selection!|Select Text Line for Edit!",
                                        "No Selection!|Select Item for Deletion!", "No Selection!|Select Item for Deletion!"}));

    // Edit line 3 (HD 1234): type, Z and remarks; the readings stay.
    ASSERT_TRUE(list->EditLine(3, Typing("HD 1234", "G2 V", "1.5e-5", "standard, night 2")));
    EXPECT_TRUE(list->undoEnabled());
    ObsResult edited = list->Entries()[2];
    EXPECT_EQ(edited.spType, 50205000);
    EXPECT_FLOAT_EQ(edited.z, 1.5e-5f);
    EXPECT_EQ(edited.values[0], 12.345L);
    EXPECT_EQ(list->lines()[3], "HD 1234         2453072.586910 12.345 11.802          1.500E-05 G2V          standard, night 2");
    // A photometer reading comes in meanwhile; undo still finds the edited entry.
    Record(*list, "Deneb", March2004 - 2, 2, 1.25L);
    ASSERT_TRUE(list->Undo());
    EXPECT_FALSE(list->undoEnabled());
    EXPECT_EQ(list->Entries()[3].spType, 0);
    EXPECT_EQ(list->Entries()[3].remarks, "");
    EXPECT_EQ(list->Entries()[1].objectId, "Deneb");

    // Z that is no number is none.
    ASSERT_TRUE(list->EditLine(4, Typing("HD 1234", "G2V", "far", "")));
    EXPECT_EQ(list->Entries()[3].z, 0);

    // Delete: No keeps, Yes removes; undo puts it back in its place.
    fake_.dialogs.clear();
    fake_.dialogs.script({Answer::No});
    EXPECT_FALSE(list->DeleteLine(2));
    EXPECT_EQ(fake_.dialogs.messages.back().caption, "Confirm Deletion");
    EXPECT_EQ(fake_.dialogs.messages.back().text, "Are You Sure? (Data will be lost!)");
    EXPECT_FALSE(list->undoEnabled());  // a new edit or deletion clears the last undo
    EXPECT_EQ(list->Count(), 4);
    const std::vector<std::string> beforeDelete = list->lines();
    fake_.dialogs.script({Answer::Yes});
    ASSERT_TRUE(list->DeleteLine(2));
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->lines().size(), 4u);
    ASSERT_TRUE(list->Undo());
    EXPECT_EQ(list->lines(), beforeDelete);
    EXPECT_FALSE(list->Undo());

    // Among entries of equal time the restored one keeps its place.
    auto untimed = MakeList();
    for (const char* id : {"A", "B", "C"}) untimed->FindOrCreate(id, 0);
    untimed->ShowAll();
    fake_.dialogs.script({Answer::Yes});
    ASSERT_TRUE(untimed->DeleteLine(1));
    ASSERT_TRUE(untimed->Undo());
    std::vector<std::string> ids;
    for (const ObsResult& e : untimed->Entries()) ids.push_back(e.objectId);
    EXPECT_EQ(ids, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(untimed->lines()[1].substr(0, 2), "A ");
}

TEST_F(RsltsListTest, LoadingClearsUndo) {
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    chooser_.answers = {users_.file("all.TXT")};
    ASSERT_TRUE(list->SaveAsDisplayed());
    ASSERT_TRUE(list->EditLine(1, Typing("Smith, Obj. 3", "", "", "changed")));
    fake_.dialogs.script({Answer::No, Answer::Yes});
    ASSERT_TRUE(list->Load(users_.file("all.TXT")));
    // The edited entry is gone: there is nothing left to undo.
    EXPECT_FALSE(list->undoEnabled());
    EXPECT_FALSE(list->Undo());
}

TEST_F(RsltsListTest, SearchOverTwoLinesAndPrintAcrossThePage) {
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    // "dust lane" ends line 2 and "HD 1234" starts line 3.
    list->search.text = "Dust Lane hd 12";
    EXPECT_EQ(list->Search(help::SearchStart::FromTop, -1), 2);
    list->search.caseDependent = true;
    EXPECT_EQ(list->Search(help::SearchStart::FromTop, -1), -1);
    EXPECT_EQ(fake_.dialogs.shown().back(), "String Not Found|\"Dust Lane hd 12\" Not Found.");
    list->search.text = "HD 1234";
    EXPECT_EQ(list->Search(help::SearchStart::FromCursor, 2), 3);

    list->SetPrintIdentity([] { return help::PrintIdentity{{"Ann Lee", "", "", ""}, "7"}; });
    printer_.current = platform::Orientation::Portrait;
    printer_.pageHeight = 60;  // five lines a page
    ASSERT_TRUE(list->Print());
    EXPECT_EQ(printer_.current, platform::Orientation::Portrait);  // restored
    EXPECT_EQ(printer_.title, "Zarn Exercise \"The Durev for Quenara\" - Ann Lee");
    const std::vector<test::PrintedLine> want = {
        {1, 50, 0, "2002-04-14 12:00:00     Laboratory Table Number 7"},
        {1, 50, 20, "Ann Lee"},
        {1, 100, 40, "Recorded Results - Computed Magnitudes"},
        {2, 100, 10, list->lines()[0]},
    };
    ASSERT_GE(printer_.lines.size(), want.size());
    EXPECT_EQ(std::vector<test::PrintedLine>(printer_.lines.begin(), printer_.lines.begin() + 4), want);
    EXPECT_TRUE(list->printed());
}

TEST_F(RsltsListTest, FileDialogsRememberTheLastFile) {
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    chooser_.answers = {users_.file("night1.CSV")};
    ASSERT_TRUE(list->SaveCommaDelimited());
    EXPECT_TRUE(list->commaSaved());
    EXPECT_EQ(chooser_.asked[0].title, "Save Data in Comma-Separated Text File");
    EXPECT_EQ(chooser_.asked[0].startFolder, users_.path());
    EXPECT_EQ(chooser_.asked[0].defaultName, "Observations.CSV");
    EXPECT_EQ(chooser_.asked[0].defaultExtension, "CSV");

    // An existing file: No shows the dialog again, Yes replaces it.
    fake_.dialogs.clear();
    chooser_.answers = {users_.file("night1.CSV"), users_.file("night1.CSV")};
    fake_.dialogs.script({Answer::No, Answer::Yes});
    ASSERT_TRUE(list->SaveCommaDelimited());
    EXPECT_EQ(chooser_.asked.size(), 3u);
    EXPECT_EQ(fake_.dialogs.messages[0].text, users_.file("night1.CSV") + " Already Exists!\r\n\r\nDo You Want to Overwrite It?");

    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->LoadFromDialog());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night1.CSV");
    EXPECT_EQ(chooser_.asked.back().startFolder, users_.path());
}

// One last file for every save and load of the list: a text save is what
// Load Saved Data and the next saves propose, and so is a loaded file.
TEST_F(RsltsListTest, TextSavesAndLoadsShareTheLastFileWithCommaSaves) {
    auto list = MakeList();
    Fill(*list);
    list->ShowAll();
    chooser_.answers = {users_.file("night1.TXT")};
    ASSERT_TRUE(list->SaveAsDisplayed());
    EXPECT_EQ(chooser_.asked[0].title, "Save Report in Text File");
    EXPECT_EQ(chooser_.asked[0].defaultName, "Observations.TXT");

    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->LoadFromDialog());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night1.TXT");
    EXPECT_EQ(chooser_.asked.back().startFolder, users_.path());
    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->SaveCommaDelimited());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night1.CSV");
    EXPECT_EQ(chooser_.asked.back().startFolder, users_.path());

    // A text file loaded from another folder becomes the last file too.
    test::TempFolder other;
    const std::string night2 = other.file("night2.TXT");
    test::WriteAll(night2, test::ReadAll(users_.file("night1.TXT")));
    fake_.dialogs.script({Answer::Yes});  // add to the current data
    ASSERT_TRUE(list->Load(night2));
    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->SaveAsDisplayed());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night2.TXT");
    EXPECT_EQ(chooser_.asked.back().startFolder, other.path());
    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->SaveCommaDelimited());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night2.CSV");
    EXPECT_EQ(chooser_.asked.back().startFolder, other.path());

    // And a comma-separated save is what the next text save proposes, as a text file.
    chooser_.answers = {users_.file("night3.CSV")};
    ASSERT_TRUE(list->SaveCommaDelimited());
    chooser_.answers = {std::nullopt};
    EXPECT_FALSE(list->SaveAsDisplayed());
    EXPECT_EQ(chooser_.asked.back().defaultName, "night3.TXT");
    EXPECT_EQ(chooser_.asked.back().startFolder, users_.path());
}

}  // namespace
}  // namespace qnr::photometry
