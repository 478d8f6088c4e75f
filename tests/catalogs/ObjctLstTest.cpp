// The object-list report: which lines are entries, search over line pairs,
// text save, print and the hand-over to the hot list.
#include <gtest/gtest.h>

#include "catalogs/ObjctLst.h"
#include "help/ListFakes.h"
#include "support/Fakes.h"

namespace qnr::catalogs {
namespace {

using observatory::ObjctDat;
using platform::Answer;

// A report of three objects under two heading lines and above one note.
class ClusterReport final : public ObjectListReport {
public:
    using ObjectListReport::ObjectListReport;
    bool FormatforHotList(int index, ObjctDat& entry) override {
        if (index < 0 || index > 2) return false;
        entry = ObjctDat{"NGC " + std::to_string(100 + index), 1.0L + index, 10.0L * index, "cluster"};
        return true;
    }
    std::string NewHotListName() const override { return "Clusters"; }
};

class RecordingHotList final : public observatory::HotListEditor {
public:
    std::vector<ObjctDat> added;
    std::vector<std::string> started;
    bool startAnswer = true;
    void Add(const ObjctDat& entry) override { added.push_back(entry); }
    bool StartNewList(const std::string& name) override {
        started.push_back(name);
        if (startAnswer) added.clear();
        return startAnswer;
    }
};

class ObjctLstTest : public ::testing::Test {
protected:
    void SetUp() override {
        services_ = fake_.services();
        services_.chooser = &chooser_;
        services_.printer = &printer_;
        opts_.usersFolder = users_.path();
        report_.SetReport({"Open Clusters of the Exercise", "Name      RA        Dec", "NGC 100   01 00     +00",
                           "NGC 101   02 00     +10", "NGC 102   03 00     +20", "(positions J2000.0)"},
                          2, 4);
        report_.SetCaption("Cluster List");
        report_.SetReportName("CLUSTERS");
        report_.SetHotList(&hotList_);
    }

    test::FakePlatform fake_;
    test::ScriptedChooser chooser_;
    test::RecordingPrinter printer_;
    test::TempFolder users_;
    app::OptsRec opts_;
    platform::Services services_;
    RecordingHotList hotList_;
    ClusterReport report_{services_, opts_};
};

TEST_F(ObjctLstTest, OnlyEntryLinesSelect) {
    struct Case {
        int line, entry;
    };
    // Headings and the note select nothing; the last entry line the last entry.
    for (const Case c : {Case{0, -1}, Case{1, -1}, Case{2, 0}, Case{4, 2}, Case{5, -1}, Case{-1, -1}, Case{9, -1}}) {
        report_.SelectLine(c.line);
        EXPECT_EQ(report_.selectedEntry(), c.entry) << c.line;
    }
    report_.SelectLine(1);
    EXPECT_FALSE(report_.AddToCurrentHotList());
    EXPECT_TRUE(hotList_.added.empty());
}

TEST_F(ObjctLstTest, SearchAcrossTwoLinesSelectsTheFirst) {
    report_.search.text = "dec ngc 100";  // the end of line 1 and the start of line 2
    EXPECT_EQ(report_.Search(help::SearchStart::FromTop, -1), 1);
    EXPECT_EQ(report_.selectedEntry(), -1);  // a heading line
    report_.search.text = "NGC";
    EXPECT_EQ(report_.Search(help::SearchStart::FromCursor, 2), 3);
    EXPECT_EQ(report_.selectedEntry(), 1);
    report_.search.text = "globular";
    EXPECT_EQ(report_.Search(help::SearchStart::FromTop, 3), -1);
    EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{"String Not Found|\"globular\" Not Found."});
}

TEST_F(ObjctLstTest, SelectionToTheHotList) {
    report_.SelectLine(3);
    ASSERT_TRUE(report_.AddToCurrentHotList());
    ASSERT_EQ(hotList_.added.size(), 1u);
    EXPECT_EQ(hotList_.added[0].identifier, "NGC 101");

    hotList_.startAnswer = false;  // the user kept the old list
    EXPECT_FALSE(report_.StartNewHotList());
    EXPECT_EQ(hotList_.added.size(), 1u);
    hotList_.startAnswer = true;
    report_.SelectLine(4);
    ASSERT_TRUE(report_.StartNewHotList());
    EXPECT_EQ(hotList_.started, (std::vector<std::string>{"Clusters", "Clusters"}));
    ASSERT_EQ(hotList_.added.size(), 1u);
    EXPECT_EQ(hotList_.added[0].identifier, "NGC 102");
    EXPECT_EQ(fake_.dialogs.shown(),
              (std::vector<std::string>{"Confirmation|Object NGC 101 Added to Current Hot List.",
                                        "Confirmation|New Hot List Created - Object NGC 102 Added to New Hot List."}));
}

TEST_F(ObjctLstTest, SaveAsTextAsksBeforeReplacing) {
    const std::string first = users_.file("CLUSTERS.TXT");
    test::WriteAll(first, {'x'});
    chooser_.answers = {first, first};
    fake_.dialogs.script({Answer::No, Answer::Yes});
    ASSERT_TRUE(report_.SaveAsText());
    ASSERT_EQ(chooser_.asked.size(), 2u);
    EXPECT_EQ(chooser_.asked[0].title, "Save Report in Text File");
    EXPECT_EQ(chooser_.asked[0].startFolder, users_.path());
    EXPECT_EQ(chooser_.asked[0].defaultName, "CLUSTERS.TXT");
    EXPECT_TRUE(report_.saved());
    const auto bytes = test::ReadAll(first);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_TRUE(text.starts_with("Open Clusters of the Exercise\r\nName"));
    EXPECT_TRUE(text.ends_with("(positions J2000.0)\r\n"));

    report_.CommaDelimit();
    EXPECT_EQ(fake_.dialogs.shown().back(),
              "Not Available|Comma-Delimited Output not Available for Displayed Material.");
}

TEST_F(ObjctLstTest, PrintedPageOutsideEditMode) {
    report_.SetPrintIdentity([] { return help::PrintIdentity{{"Ann Lee", "", "", "Di Ross"}, ""}; });
    ASSERT_TRUE(report_.Print());
    EXPECT_TRUE(report_.printed());
    EXPECT_EQ(printer_.title, "Zarn \"Quenara\" Exercise - Ann Lee");
    const auto& l = printer_.lines;
    ASSERT_EQ(l.size(), 4u + 6u);
    EXPECT_EQ(l[0], (test::PrintedLine{1, 0, 0, "2002-04-14 12:00:00     Laboratory Table Number (Not Recorded)"}));
    EXPECT_EQ(l[1], (test::PrintedLine{1, 0, 20, "Ann Lee"}));
    EXPECT_EQ(l[2], (test::PrintedLine{1, 0, 30, "Di Ross"}));
    EXPECT_EQ(l[3], (test::PrintedLine{1, 50, 40, "Cluster List"}));
    EXPECT_EQ(l[4], (test::PrintedLine{1, 50, 60, "Open Clusters of the Exercise"}));
    EXPECT_EQ(l[9].y, 110);
}

}  // namespace
}  // namespace qnr::catalogs
