// The hot list: its file, its order, its lines, the entry dialog, editing
// with undo, search, the file commands and print.
#include <gtest/gtest.h>

#include <filesystem>

#include "help/ListFakes.h"
#include "observatory/HotList.h"
#include "support/Fakes.h"

namespace qnr::observatory {

void PrintTo(const ObjctDat& e, std::ostream* os) {
    *os << "{\"" << e.identifier << "\", " << static_cast<double>(e.ra) << " h, " << static_cast<double>(e.dec)
        << " deg, \"" << e.comment << "\"}";
}

namespace {

using platform::Answer;

ObjctDat Entry(std::string id, Extended ra, Extended dec, std::string comment = "") {
    return ObjctDat{std::move(id), ra, dec, std::move(comment)};
}

// ---- The file ------------------------------------------------------------------

TEST(HotListFile, RecordLayoutAgainstHandMadeBytes) {
    // The 80-bit forms are worked by hand: 12.5 = 1.5625 x 2^3 (exponent
    // 16383 + 3 = 0x4002, significand 0xC8 00..), -16.75 = -1.046875 x 2^4
    // (0xC003, significand 0x86 00..).
    Bytes golden(HotListRecordSize, 0);
    const std::string id = "3C 273", comment = "quasar";
    golden[0] = static_cast<std::uint8_t>(id.size());
    std::copy(id.begin(), id.end(), golden.begin() + 1);
    const std::uint8_t ra[10] = {0, 0, 0, 0, 0, 0, 0, 0xC8, 0x02, 0x40};
    const std::uint8_t dec[10] = {0, 0, 0, 0, 0, 0, 0, 0x86, 0x03, 0xC0};
    std::copy(ra, ra + 10, golden.begin() + 25);
    std::copy(dec, dec + 10, golden.begin() + 35);
    golden[45] = static_cast<std::uint8_t>(comment.size());
    std::copy(comment.begin(), comment.end(), golden.begin() + 46);

    const Bytes written = EncodeHotList({Entry(id, 12.5L, -16.75L, comment)});
    EXPECT_EQ(written, golden);
    auto read = DecodeHotList(golden);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, (std::vector<ObjctDat>{Entry(id, 12.5L, -16.75L, comment)}));

    // Texts longer than their fields are cut to 24 and 40 characters.
    const Bytes cut = EncodeHotList({Entry(std::string(30, 'i'), 1, 2, std::string(50, 'c'))});
    ASSERT_EQ(cut.size(), HotListRecordSize);
    EXPECT_EQ(cut[0], 24);
    EXPECT_EQ(cut[45], 40);
}

TEST(HotListFile, DamagedFilesAreRefused) {
    const Bytes two = EncodeHotList({Entry("a", 1, 2), Entry("b", 3, 4)});
    struct Case {
        const char* why;
        Bytes bytes;
        std::string error;
    };
    Bytes cutShort(two.begin(), two.end() - 10);
    Bytes notANumber = two;
    notANumber[25 + 9] = 0x7F;  // exponent all ones: infinity or NaN
    notANumber[25 + 8] = 0xFF;
    // Finite but off the sky: the ranges the entry dialog enforces.
    auto one = [](Extended ra, Extended dec) { return EncodeHotList({Entry("a", ra, dec)}); };
    const std::vector<Case> cases = {
        {"a partial last record", cutShort, "EOF!"},
        {"a coordinate that is no number", notANumber, "Invalid Input!"},
        {"a right ascension of 1e3700 hours", one(1e3700L, 0), "Invalid Input!"},
        {"a right ascension of -5 hours", one(-5, 0), "Invalid Input!"},
        {"a right ascension just past 24 hours", one(24.000001L, 0), "Invalid Input!"},
        {"a declination of 100 degrees", one(1, 100), "Invalid Input!"},
        {"a declination just below -90 degrees", one(1, -90.000001L), "Invalid Input!"},
        {"a huge declination", one(1, -1e4000L), "Invalid Input!"},
    };
    for (const Case& c : cases) {
        auto read = DecodeHotList(c.bytes);
        ASSERT_FALSE(read.ok()) << c.why;
        EXPECT_EQ(read.error(), c.error) << c.why;
    }
    // The edges themselves are on the sky.
    auto edges = DecodeHotList(EncodeHotList({Entry("a", 0, -90), Entry("b", 24, 90)}));
    ASSERT_TRUE(edges.ok()) << edges.error();
    EXPECT_EQ(edges->size(), 2u);
    auto empty = DecodeHotList({});
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty->empty());
}

// ---- Lines ---------------------------------------------------------------------

TEST(HotListLines, FormatByMode) {
    struct Case {
        ObjctDat entry;
        int position;
        bool editMode;
        std::string line;
    };
    const std::string pad20(20, ' ');
    const std::vector<Case> cases = {
        {Entry("Vega", 18.6156500L, 38.7836944L, "A0V"), 3, true,
         "Vega" + pad20 + "  18h 36m 56.34s   38\xB0 47' 01.3\"  A0V"},
        {Entry("Vega", 18.6156500L, 38.7836944L, "A0V"), 3, false, "   3  18h 36m 56.34s   38\xB0 47' 01.3\"  "},
        {Entry("", 6.7524778L, -16.7161111L, ""), 12, false, "  12   6h 45m 08.92s  -16\xB0 42' 58.0\"  "},
        // An identifier of the full 24 characters is followed directly by the position.
        {Entry("Whirlpool Galaxy M51 Scd", 13.4979722L, 47.1952778L, "galaxy"), 1, true,
         "Whirlpool Galaxy M51 Scd  13h 29m 52.70s   47\xB0 11' 43.0\"  galaxy"},
        // A declination above -1 degree keeps its sign on the "0".
        {Entry("Near Pole", 0.0L, -0.25L), 1000, false, "1000   0h 00m 00.00s   -0\xB0 15' 00.0\"  "},
    };
    for (const Case& c : cases) EXPECT_EQ(HotListLine(c.entry, c.position, c.editMode), c.line) << c.entry.identifier;
}

// ---- The entry dialog ----------------------------------------------------------

TEST(HotListEntryDialog, FieldsReadAndChecked) {
    struct Case {
        const char* why;
        std::vector<std::string> fields;  // hours, minutes, seconds, degrees, minutes, seconds
        std::optional<std::pair<Extended, Extended>> stored;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"-0 degrees keeps the sign", {"5", "30", "0", "-0", "15", "0"}, std::pair<Extended, Extended>{5.5L, -0.25L}, ""},
        {"the sign of the degrees applies to all parts", {"12", "0", "36", "-10", "30", "36"},
         std::pair<Extended, Extended>{12.01L, -10.51L}, ""},
        {"a plus sign reads", {"0", "0", "0", "+89", "59", "59.9"},
         std::pair<Extended, Extended>{0.0L, 89 + 59 / 60.0L + 59.9L / 3600}, ""},
        {"24 hours is the end of the range", {"24", "0", "0", "0", "0", "0"}, std::pair<Extended, Extended>{24.0L, 0.0L},
         ""},
        {"over 24 hours", {"23", "60", "1", "0", "0", "0"}, std::nullopt, "Input Error!|Right Ascension is Invalid!"},
        {"negative right ascension", {"-1", "0", "0", "0", "0", "0"}, std::nullopt, "Input Error!|Right Ascension is Invalid!"},
        {"not a number", {"12", "3x", "0", "0", "0", "0"}, std::nullopt, "Input Error!|Right Ascension is Invalid!"},
        {"an empty field", {"12", "0", "0", "10", "", "0"}, std::nullopt, "Input Error!|Declination is Invalid!"},
        {"beyond the pole", {"12", "0", "0", "-90", "0", "1"}, std::nullopt, "Input Error!|Declination is Invalid!"},
        {"a locale comma is no decimal point", {"12", "0", "0", "10", "0", "1,5"}, std::nullopt,
         "Input Error!|Declination is Invalid!"},
    };
    for (const Case& c : cases) {
        test::FakeDialogs dialogs;
        HOVerifyModel model;
        model.Load(Entry("old", 1, 1, "old comment"));
        model.raHrs = c.fields[0], model.raMin = c.fields[1], model.raSec = c.fields[2];
        model.decDeg = c.fields[3], model.decMin = c.fields[4], model.decSec = c.fields[5];
        model.id = "New";
        const bool ok = model.Ok(dialogs);
        EXPECT_EQ(ok, c.stored.has_value()) << c.why;
        if (c.stored) {
            EXPECT_NEAR(static_cast<double>(model.entry.ra), static_cast<double>(c.stored->first), 1e-12) << c.why;
            EXPECT_NEAR(static_cast<double>(model.entry.dec), static_cast<double>(c.stored->second), 1e-12) << c.why;
            EXPECT_EQ(model.entry.identifier, "New");
            EXPECT_TRUE(dialogs.messages.empty()) << c.why;
        } else {
            EXPECT_EQ(model.entry, Entry("old", 1, 1, "old comment")) << c.why;  // nothing stored
            EXPECT_EQ(dialogs.shown(), std::vector<std::string>{c.message}) << c.why;
        }
    }
}

TEST(HotListEntryDialog, FieldsShownFromAnEntry) {
    struct Case {
        Extended ra, dec;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {5.5L, -0.25L, {"5", "30", "0.00", "-0", "15", "0.0"}},
        {12.4851944L, 2.0523889L, {"12", "29", "6.70", "2", "3", "8.6"}},
        // Seconds that round to 60 carry into the minutes.
        {1.0L - 0.000001L, -(1.0L - 0.00001L), {"1", "0", "0.00", "-1", "0", "0.0"}},
    };
    for (const Case& c : cases) {
        HOVerifyModel model;
        model.Load(Entry("id", c.ra, c.dec));
        EXPECT_EQ((std::vector<std::string>{model.raHrs, model.raMin, model.raSec, model.decDeg, model.decMin,
                                            model.decSec}),
                  c.fields);
        // What is shown reads back to the value shown.
        test::FakeDialogs dialogs;
        ASSERT_TRUE(model.Ok(dialogs));
        EXPECT_NEAR(static_cast<double>(model.entry.dec), static_cast<double>(c.dec), 0.05 / 3600);
    }
}

// ---- The list ------------------------------------------------------------------

class HotListTest : public ::testing::Test {
protected:
    void SetUp() override {
        opts_.usersFolder = users_.path();
        opts_.programFolder = program_.path();
        opts_.hotListFile = "Quenara.HTL";
        services_ = fake_.services();
        services_.chooser = &chooser_;
        services_.printer = &printer_;
        list_.SetCurrentPath(users_.file("Quenara.HTL"));
    }
    void AddFour() {
        // Added out of order on purpose.
        list_.Add(Entry("Vega", 18.6156L, 38.7837L, "A0V"));
        list_.Add(Entry("Sirius", 6.7525L, -16.7161L, "A1V"));
        list_.Add(Entry("M31", 0.7123L, 41.2688L, "galaxy"));
        list_.Add(Entry("3C 273", 12.4852L, 2.0524L, "quasar"));
    }
    std::vector<std::string> Ids() {
        std::vector<std::string> ids;
        for (const auto& e : list_.Entries()) ids.push_back(e.identifier);
        return ids;
    }
    std::vector<std::string> FileIds(const std::string& path) {
        std::vector<std::string> ids;
        auto read = DecodeHotList(test::ReadAll(path));
        EXPECT_TRUE(read.ok());
        if (read.ok())
            for (const auto& e : *read) ids.push_back(e.identifier);
        return ids;
    }

    test::FakePlatform fake_;
    test::ScriptedChooser chooser_;
    test::RecordingPrinter printer_;
    test::TempFolder users_, program_;
    app::OptsRec opts_;
    platform::Services services_;
    HotList list_{services_, opts_};
};

TEST_F(HotListTest, KeptAndSavedInAscendingRightAscension) {
    AddFour();
    list_.Add(Entry("Sirius B", 6.7525L, -16.7161L));  // equal RA: after the one already there
    EXPECT_EQ(Ids(), (std::vector<std::string>{"M31", "Sirius", "Sirius B", "3C 273", "Vega"}));
    EXPECT_FALSE(list_.saved());
    EXPECT_TRUE(list_.saveEnabled());  // an added entry may be saved outside Edit Mode too

    ASSERT_TRUE(list_.Save());  // outside Edit Mode: the current path, no dialog
    EXPECT_TRUE(chooser_.asked.empty());
    EXPECT_EQ(FileIds(users_.file("Quenara.HTL")), Ids());
    EXPECT_TRUE(list_.saved());
    EXPECT_FALSE(list_.saveEnabled());
    EXPECT_EQ(fake_.dialogs.shown(), (std::vector<std::string>{"Observation List File Saved|Observation list saved in " +
                                                                users_.file("Quenara.HTL")}));
}

TEST_F(HotListTest, OutsideEditModeOnlyNumbersAndCoordinatesShow) {
    AddFour();
    const auto lines = list_.Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with("   " + std::to_string(i + 1) + " ")) << lines[i];
        EXPECT_EQ(lines[i].find("Vega"), std::string::npos);
        EXPECT_EQ(lines[i].find("galaxy"), std::string::npos);
    }
    ASSERT_TRUE(list_.Save());
    EXPECT_EQ(FileIds(users_.file("Quenara.HTL")), (std::vector<std::string>{"M31", "Sirius", "3C 273", "Vega"}));
    opts_.editMode = true;
    EXPECT_TRUE(list_.Lines()[0].starts_with("M31 "));
}

TEST_F(HotListTest, AnEditedRightAscensionMovesTheEntry) {
    opts_.editMode = true;
    AddFour();
    list_.Select(0);  // M31 at 0h 42m goes to 20h
    const bool edited = list_.EditSelection([](HOVerifyModel& m) {
        m.raHrs = "20";
        m.comment = "moved";
        test::FakeDialogs d;
        return m.Ok(d);
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(Ids(), (std::vector<std::string>{"Sirius", "3C 273", "Vega", "M31"}));
    EXPECT_EQ(list_.selected(), 3);  // the selection follows the entry
    EXPECT_TRUE(list_.undoEnabled());

    chooser_.answers = {users_.file("Edited.HTL")};
    ASSERT_TRUE(list_.Save());  // Edit Mode asks for the file
    EXPECT_EQ(chooser_.asked.at(0).title, "Save Hot List File");
    EXPECT_EQ(FileIds(users_.file("Edited.HTL")), Ids());
    EXPECT_EQ(opts_.currentHotList, "Edited.HTL");
    EXPECT_TRUE(list_.saveEnabled());  // stays enabled in Edit Mode

    ASSERT_TRUE(list_.Undo());
    EXPECT_EQ(Ids(), (std::vector<std::string>{"M31", "Sirius", "3C 273", "Vega"}));
    EXPECT_EQ(list_.Entries()[0].comment, "galaxy");
    EXPECT_EQ(list_.selected(), 0);
    EXPECT_FALSE(list_.Undo());  // one step only

    // A cancelled dialog changes nothing and leaves no undo.
    list_.Select(1);
    EXPECT_FALSE(list_.EditSelection([](HOVerifyModel&) { return false; }));
    EXPECT_FALSE(list_.undoEnabled());
}

TEST_F(HotListTest, DeleteAndUndoRestoreThePlace) {
    opts_.editMode = true;
    AddFour();
    struct Case {
        int line;
        int selectedAfter;
    };
    // The first line: the new first is selected. A middle line: the one before it.
    for (const Case c : {Case{0, 0}, Case{2, 1}, Case{3, 2}}) {
        const auto before = Ids();
        list_.Select(c.line);
        fake_.dialogs.script({Answer::Yes});
        ASSERT_TRUE(list_.DeleteSelection());
        EXPECT_EQ(list_.Count(), 3);
        EXPECT_EQ(list_.selected(), c.selectedAfter) << c.line;
        ASSERT_TRUE(list_.Undo());
        EXPECT_EQ(Ids(), before) << c.line;
        EXPECT_EQ(list_.selected(), c.line);
    }
    list_.Select(1);
    fake_.dialogs.script({Answer::No});
    EXPECT_FALSE(list_.DeleteSelection());
    EXPECT_EQ(list_.Count(), 4);
    EXPECT_EQ(fake_.dialogs.messages.back().text, "Delete Highlighted Entry from List?");

    fake_.dialogs.clear();
    list_.Select(-1);
    EXPECT_FALSE(list_.DeleteSelection());
    EXPECT_FALSE(list_.EditSelection([](HOVerifyModel&) { return true; }));
    EXPECT_FALSE(list_.SlewToSelection());
    EXPECT_EQ(fake_.dialogs.shown(),
              (std::vector<std::string>{
                  "No Selection!|Please select an entry, using the left mouse button.",
                  "No Selection!|Please select an entry, using the left mouse button.",
                  "No Selection!|Please select (highlight) an entry on the list, then select \"List\" -> \"Slew to "
                  "Selection\".\r\n(You can also double-click the selection.)"}));
}

TEST_F(HotListTest, SearchFindsTextRunningIntoTheNextLine) {
    opts_.editMode = true;
    AddFour();
    // Lines end in the comment and begin with the identifier: "galaxy Sirius" spans lines 0 and 1.
    list_.search.text = "GALAXY sirius";
    ASSERT_TRUE(list_.Search(help::SearchStart::FromTop));
    EXPECT_EQ(list_.selected(), 0);
    list_.search.text = "sirius";
    ASSERT_TRUE(list_.Search(help::SearchStart::FromCursor));
    EXPECT_EQ(list_.selected(), 1);
    list_.search.caseDependent = true;
    EXPECT_FALSE(list_.Search(help::SearchStart::FromCursor));
    EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{"String Not Found|\"sirius\" Not Found."});
    EXPECT_EQ(list_.selected(), 1);
}

TEST_F(HotListTest, LoadReplacesTheListOnlyOnSuccess) {
    AddFour();
    const std::string good = users_.file("Good.HTL"), partial = users_.file("Partial.HTL");
    test::WriteAll(good, EncodeHotList({Entry("B", 2, 0), Entry("A", 1, 0)}));  // written out of order
    Bytes cut = EncodeHotList({Entry("X", 3, 0), Entry("Y", 4, 0)});
    cut.resize(cut.size() - 1);
    test::WriteAll(partial, cut);

    EXPECT_FALSE(list_.Load(users_.file("Missing.HTL")));
    EXPECT_TRUE(fake_.dialogs.messages.empty());  // a missing file is not an error
    EXPECT_FALSE(list_.Load(partial));
    EXPECT_EQ(fake_.dialogs.shown(), (std::vector<std::string>{"Hotlist File Error!|Unable to Read Hotlist File!\r\n\r\nFile "
                                                                "Name: " + partial + "\r\nEOF!"}));
    EXPECT_EQ(Ids(), (std::vector<std::string>{"M31", "Sirius", "3C 273", "Vega"}));  // the old list stays
    EXPECT_FALSE(list_.saved());

    // A record off the sky is refused as an unreadable file, not listed as "-2147483648h".
    const std::string offSky = users_.file("OffSky.HTL");
    test::WriteAll(offSky, EncodeHotList({Entry("X", 3, 0), Entry("Y", 1e3700L, 0)}));
    fake_.dialogs.clear();
    EXPECT_FALSE(list_.Load(offSky));
    EXPECT_EQ(fake_.dialogs.shown(), (std::vector<std::string>{"Hotlist File Error!|Unable to Read Hotlist File!\r\n\r\nFile "
                                                                "Name: " + offSky + "\r\nInvalid Input!"}));
    EXPECT_EQ(Ids(), (std::vector<std::string>{"M31", "Sirius", "3C 273", "Vega"}));

    ASSERT_TRUE(list_.Load(users_.file("good.htl")));  // found without regard to case
    EXPECT_EQ(Ids(), (std::vector<std::string>{"A", "B"}));  // read through the sorted insertion
    EXPECT_TRUE(list_.saved());
    EXPECT_EQ(list_.currentPath(), good);
}

TEST_F(HotListTest, AtRunTheUsersListComesFirst) {
    test::WriteAll(program_.file("QUENARA.HTL"), EncodeHotList({Entry("program", 1, 0)}));
    ASSERT_TRUE(list_.LoadAtRun());
    EXPECT_EQ(Ids(), std::vector<std::string>{"program"});
    EXPECT_EQ(list_.currentPath(), users_.file("Quenara.HTL"));  // saving goes to the users folder
    EXPECT_EQ(opts_.currentHotList, "Quenara.HTL");

    test::WriteAll(users_.file("Quenara.HTL"), EncodeHotList({Entry("users", 1, 0)}));
    ASSERT_TRUE(list_.LoadAtRun());
    EXPECT_EQ(Ids(), std::vector<std::string>{"users"});
    EXPECT_EQ(list_.currentPath(), users_.file("Quenara.HTL"));
}

TEST_F(HotListTest, StartNewListKeepsEntriesUnlessSavedOrDropped) {
    const std::string question =
        "Current Hot List not Saved!|The current observation Hot List has been updated.  You will lose the "
        "updates if you do not save it.\r\n\r\nDo you want to save it now?";
    struct Case {
        const char* why;
        bool editMode;
        std::string currentPath;
        std::vector<std::optional<std::string>> chosen;
        Answer answer;
        bool started;
    };
    const std::string unwritable = users_.file("no-such-folder/Quenara.HTL");
    const std::vector<Case> cases = {
        {"Yes and the save failed", false, unwritable, {}, Answer::Yes, false},
        {"Yes and the save dialog was cancelled", true, users_.file("Quenara.HTL"), {std::nullopt}, Answer::Yes, false},
        {"Yes and saved", false, users_.file("Quenara.HTL"), {}, Answer::Yes, true},
        {"No: the user let the updates go", false, users_.file("Quenara.HTL"), {}, Answer::No, true},
    };
    for (const Case& c : cases) {
        HotList list(services_, opts_);
        opts_.editMode = c.editMode;
        list.SetCurrentPath(c.currentPath);
        list.Add(Entry("kept?", 5, 5));
        fake_.dialogs.clear();
        chooser_.answers.assign(c.chosen.begin(), c.chosen.end());
        fake_.dialogs.script({c.answer});
        EXPECT_EQ(list.StartNewList("Clusters"), c.started) << c.why;
        EXPECT_EQ(fake_.dialogs.shown().at(0), question) << c.why;
        EXPECT_EQ(list.Count(), c.started ? 0 : 1) << c.why;
        if (c.started) EXPECT_EQ(list.currentPath(), platform::FolderOf(c.currentPath) + "Clusters.HTL");
        else EXPECT_EQ(list.currentPath(), c.currentPath) << c.why;
    }
    // A saved list is replaced without a question.
    fake_.dialogs.clear();
    HotList saved(services_, opts_);
    EXPECT_TRUE(saved.StartNewList("Fresh"));
    EXPECT_TRUE(fake_.dialogs.messages.empty());
}

TEST_F(HotListTest, StartNewListAsksForTheNameWithoutItsExtension) {
    list_.SetCurrentPath(users_.file("Quenara.HTL"));
    struct Case {
        std::optional<std::string> typed;
        bool started;
        std::string path;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false, "Quenara.HTL"},
        {"   ", false, "Quenara.HTL"},
        {" Clusters.htl ", true, "Clusters.HTL"},
        {"Galaxies", true, "Galaxies.HTL"},
    };
    for (const Case& c : cases) {
        list_.MarkSaved();
        fake_.dialogs.clear();
        fake_.dialogs.scriptInput(c.typed);
        EXPECT_EQ(list_.StartNewListFromDialog(), c.started) << c.typed.value_or("cancelled");
        ASSERT_EQ(fake_.dialogs.inputPrompts.size(), 1u);
        EXPECT_EQ(list_.currentPath(), users_.file(c.path));
    }
}

TEST_F(HotListTest, ClosingOffersAnUnsavedListForSaving) {
    const std::string question =
        "Hot List not Saved!|You have not saved your updated observation Hot List.\r\n\r\nDo you want to save it now?";
    list_.SetCurrentPath(users_.file("Quenara.HTL"));
    list_.Add(Entry("Vega", 18.6, 38.8));
    fake_.dialogs.script({Answer::No});
    list_.ConfirmSavedOnClose();
    EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{question});
    EXPECT_TRUE(list_.saved());
    EXPECT_FALSE(std::filesystem::exists(users_.file("Quenara.HTL")));
    fake_.dialogs.clear();
    list_.ConfirmSavedOnClose();  // saved: nothing asked
    EXPECT_TRUE(fake_.dialogs.messages.empty());

    list_.Add(Entry("Deneb", 20.7, 45.3));
    fake_.dialogs.script({Answer::Yes});
    list_.ConfirmSavedOnClose();
    EXPECT_TRUE(list_.saved());
    EXPECT_EQ(FileIds(users_.file("Quenara.HTL")).size(), 2u);
}

TEST_F(HotListTest, SaveErrorIsReportedAndTheListStaysUnsaved) {
    list_.SetCurrentPath(users_.file("no-such-folder/Quenara.HTL"));
    list_.Add(Entry("a", 1, 1));
    EXPECT_FALSE(list_.Save());
    EXPECT_FALSE(list_.saved());
    ASSERT_EQ(fake_.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake_.dialogs.messages[0].caption, "Observation List File Error!");
    EXPECT_TRUE(fake_.dialogs.messages[0].text.starts_with(
        "Unable to save Observation List to file!\r\n\r\nFile Name: " + users_.file("no-such-folder/Quenara.HTL") +
        "\r\n"));
}

class StandInHost final : public HotListHost {
public:
    std::vector<ObjctDat> slews;
    std::vector<bool> answers;  // SlewTo answers in order; true when they run out
    std::vector<bool> saveEnabled;
    ObjctDat current{"NGC 2000", 5.25L, -69.1L, "ignored"};

    bool SlewTo(const ObjctDat& target) override {
        slews.push_back(target);
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    ObjctDat CurrentPosition() override { return current; }
    void SaveEnabledChanged(bool enabled) override { saveEnabled.push_back(enabled); }
};

TEST_F(HotListTest, SelectFromListUntilASlewIsConfirmed) {
    StandInHost host;
    list_.SetHost(&host);
    list_.SelectFromList([] { FAIL() << "an empty list is not shown"; });
    EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{"Observation List Empty|No items in Observation List!"});

    AddFour();
    host.answers = {false};  // the coordinate dialog is cancelled once
    int shown = 0;
    list_.SelectFromList([&] {
        list_.Activate();
        ++shown;
        list_.Select(shown == 1 ? 3 : 1);
        ASSERT_TRUE(list_.SlewToSelection());
    });
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(host.slews.size(), 2u);
    EXPECT_EQ(host.slews[0].identifier, "Vega");
    EXPECT_EQ(host.slews[1].identifier, "Sirius");
    EXPECT_EQ(list_.targetRa(), 6.7525L);
    EXPECT_EQ(list_.targetDec(), -16.7161L);

    // Closing the list without a choice ends it.
    list_.SelectFromList([&] { list_.Activate(); });
    EXPECT_EQ(host.slews.size(), 2u);
}

TEST_F(HotListTest, AddCurrentPosition) {
    StandInHost host;
    list_.SetHost(&host);
    ObjctDat prefilled;
    ASSERT_TRUE(list_.AddCurrentPosition([&](HOVerifyModel& m) {
        test::FakeDialogs d;
        const bool ok = m.Ok(d);
        prefilled = m.entry;
        return ok;
    }));
    EXPECT_EQ(prefilled.identifier, "NGC 2000");
    EXPECT_EQ(prefilled.comment, "");  // the comment starts empty
    EXPECT_NEAR(static_cast<double>(prefilled.dec), -69.1, 0.05 / 3600);
    host.current = Entry("", 1, 2);
    ASSERT_TRUE(list_.AddCurrentPosition([](HOVerifyModel& m) {
        test::FakeDialogs d;
        return m.Ok(d);
    }));
    EXPECT_EQ(fake_.dialogs.shown(),
              (std::vector<std::string>{"Observation List|Object NGC 2000 added to Observation List.",
                                        "Observation List|Position added to Observation List."}));
    EXPECT_EQ(list_.Count(), 2);
    ASSERT_FALSE(host.saveEnabled.empty());
    EXPECT_TRUE(host.saveEnabled.back());  // SaveUpdatedList1 follows
}

TEST_F(HotListTest, PrintedPage) {
    AddFour();
    list_.SetPrintIdentity([] { return help::PrintIdentity{{"Ann Lee", "Bo Chan", "", ""}, "7"}; });
    printer_.pageHeight = 85;  // room for eight lines: the list runs onto a second page
    ASSERT_TRUE(list_.Print());
    EXPECT_TRUE(list_.printed());
    EXPECT_EQ(printer_.title, "Zarn \"Quenara\" Exercise - Ann Lee");
    const auto lines = list_.Lines();
    const std::vector<test::PrintedLine> expected = {
        {1, 0, 0, "2002-04-14 12:00:00     Laboratory Table Number 7"},
        {1, 0, 20, "Ann Lee"},
        {1, 0, 30, "Bo Chan"},
        {1, 50, 40, "Quenara Observation Hot List"},
        {1, 50, 60, lines[0]},
        {1, 50, 70, lines[1]},
        {2, 50, 10, lines[2]},
        {2, 50, 20, lines[3]},
    };
    EXPECT_EQ(printer_.lines, expected);

    opts_.editMode = true;
    printer_.current = platform::Orientation::Landscape;
    ASSERT_TRUE(list_.Print());
    EXPECT_EQ(printer_.title, "Zarn \"Quenara\" Exercise - Database Modification");
    EXPECT_EQ(printer_.lines.at(0), (test::PrintedLine{1, 50, 0, "2002-04-14 12:00:00"}));
    EXPECT_EQ(printer_.lines.at(1), (test::PrintedLine{1, 100, 20, "Quenara Observation Hot List"}));
    EXPECT_EQ(printer_.lines.at(2).y, 40);
}

}  // namespace
}  // namespace qnr::observatory
