// Help lists, the topic chooser, topic files, the viewer's lines, history,
// search and print, and the pieces every list window shares.
#include <gtest/gtest.h>

#include "help/Helplst.h"
#include "help/Helptxt.h"
#include "help/ListFakes.h"
#include "help/TextLists.h"
#include "support/Fakes.h"

namespace qnr::help {
namespace {

using test::FakePlatform;

platform::Bytes Text(const std::string& s) { return platform::Bytes(s.begin(), s.end()); }

std::vector<std::string> Displays(HelpList& list) { return list.DisplayTexts(); }

// ---- Help lists --------------------------------------------------------------

TEST(HelpListBuild, GroupsHeadingsAndSeparators) {
    // Each row: list-file lines and the display texts they give ("" is a blank separator).
    struct Case {
        const char* why;
        std::vector<std::string> file;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"three groups: a blank before each heading and after each end, never two in a row",
         {"\"A\" \"begin\"", "\"a1\" \"a.hlp\"", "\"A\" \"end\"", "\"B\" \"BEGIN\"", "\"b1\" \"b.hlp\"",
          "\"B\" \"End\"", "\"C\" \"begin\"", "\"c1\" \"c.hlp\"", "\"C\" \"end\""},
         {"-A-", "  a1", "", "-B-", "  b1", "", "-C-", "  c1", ""}},
        {"a group inside a group is indented once more; the first heading has no blank above it",
         {"\"Outer\" \"begin\"", "\"Inner\" \"begin\"", "\"deep\" \"d.hlp\"", "\"Inner\" \"end\"", "\"Outer\" \"end\"",
          "\"last\" \"l.hlp\""},
         {"-Outer-", "", "  -Inner-", "    deep", "", "last"}},
        {"a topic before the first group gets a blank between them",
         {"\"intro\" \"i.hlp\"", "\"G\" \"begin\"", "\"g\" \"g.hlp\"", "\"G\" \"end\""},
         {"intro", "", "-G-", "  g", ""}},
        {"quotes other than double quotes, and blank lines in the file, which give no entry",
         {"'single' 'x.hlp'", "", "   ", "\"two words\"   \"y.hlp\""}, {"single", "two words"}},
        {"an end without a group does not indent below nothing",
         {"\"X\" \"end\"", "\"t\" \"t.hlp\""}, {"t"}},
    };
    for (const Case& c : cases) {
        HelpList list;
        list.Build(c.file);
        EXPECT_EQ(Displays(list), c.shown) << c.why;
        const auto shown = Displays(list);
        for (std::size_t i = 1; i < shown.size(); ++i)
            EXPECT_FALSE(shown[i].empty() && shown[i - 1].empty()) << c.why << ": two blanks at " << i;
    }
}

TEST(HelpListBuild, FieldsAndLimits) {
    HelpList list;
    const std::string longTitle(70, 'T');
    // Only the first 80 characters of a line are read: the file field is cut short there.
    const std::string longLine = "\"" + std::string(60, 'x') + "\" \"" + std::string(30, 'f') + ".hlp\"";
    list.Build({"\"" + longTitle + "\" \"t.hlp\"", longLine, "\"Group\" \"begin\""});
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.At(0)->text, std::string(65, 'T'));
    EXPECT_EQ(list.At(0)->file, "t.hlp");
    EXPECT_EQ(list.At(1)->file, std::string(80 - 64, 'f'));  // 64 characters precede it
    EXPECT_TRUE(list.At(2)->IsSeparator());
    EXPECT_TRUE(list.At(3)->IsHeading());
    EXPECT_EQ(list.At(4), nullptr);
    EXPECT_EQ(list.lastChosen, 0);
}

TEST(HelpListFind, TrimmedExactMatch) {
    HelpList list;
    list.Build({"\"Using the Telescope\" \"a.hlp\"", "\"Scopes\" \"begin\"", "\"Telescope\" \"b.hlp\"",
                "\"Scopes\" \"end\"", "\"telescope\" \"c.hlp\""});
    // Display texts: Using the Telescope, "", -Scopes-, "  Telescope", "", telescope
    struct Case {
        std::string text;
        bool caseDependent;
        int start;
        int found;
    };
    const std::vector<Case> cases = {
        {"  telescope ", false, 0, 3},  // the indented "Telescope", not "Using the Telescope"
        {"telescope", false, 4, 5},     // from after the selection
        {"telescope", true, 0, 5},      // case-dependent skips "Telescope"
        {"Telescope", true, 0, 3},
        {"the telescope", false, 0, -1},
        {"-scopes-", false, 0, 2},      // headings are display texts too
    };
    for (const Case& c : cases) EXPECT_EQ(list.FindTopic(c.text, c.caseDependent, c.start), c.found) << c.text;
}

TEST(HelpListLoad, UnreadableFileIsReportedAndGivesNoList) {
    FakePlatform fake;
    auto services = fake.services();
    EXPECT_EQ(LoadHelpList("/nonexistent/QnRMnHlp.LST", services), nullptr);
    EXPECT_EQ(fake.dialogs.shown(),
              (std::vector<std::string>{
                  "Help File Error|Help List File /nonexistent/QnRMnHlp.LST is Invalid.\r\nProgram will continue "
                  "with defaults or alternative file.\r\n\r\nFile Not Found!",
                  "File Error|Cannot Access Help List.\r\nFile Name: /nonexistent/QnRMnHlp.LST\r\n\r\nFile Not Found!"}));

    test::TempFolder folder;
    test::WriteAll(folder.file("obsrvhlp.lst"), Text("\"Slewing\" \"slew.hlp\"\r\n\"Hot List\" \"hot.hlp\"\r\n"));
    auto list = LoadHelpList(folder.file("ObsrvHlp.LST"), services);  // found without regard to case
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->valid);
    EXPECT_EQ(Displays(*list), (std::vector<std::string>{"Slewing", "Hot List"}));
}

// A window's Help item: a list not named, or named but not installed, is
// said plainly once; a list that is there loads; one that will not read is
// reported as any list file.
TEST(HelpListLoad, AWindowsListOrThePlainWordThatThereIsNoHelpYet) {
    FakePlatform fake;
    auto services = fake.services();
    test::TempFolder folder;
    EXPECT_EQ(LoadWindowHelpList(folder.path(), "", services), nullptr);
    EXPECT_EQ(LoadWindowHelpList(folder.path(), "CamHlp.LST", services), nullptr);
    EXPECT_EQ(fake.dialogs.shown(),
              (std::vector<std::string>{
                  "No Help Available|There is no help for this window yet.\r\n\r\nNo help list is named in the options.",
                  "No Help Available|There is no help for this window yet.\r\n\r\nThe help list " +
                      folder.file("CamHlp.LST") + " is not installed."}));
    fake.dialogs.clear();

    test::WriteAll(folder.file("camhlp.lst"), Text("\"Exposing\" \"cam.hlp\"\r\n"));
    auto list = LoadWindowHelpList(folder.path(), "CamHlp.LST", services);  // found without regard to case
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Displays(*list), (std::vector<std::string>{"Exposing"}));
    EXPECT_TRUE(fake.dialogs.messages.empty());

    services.files->makeFolders(folder.file("Odd.LST/"));  // there, but no file to read
    EXPECT_EQ(LoadWindowHelpList(folder.path(), "Odd.LST", services), nullptr);
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(fake.dialogs.messages[0].caption, "Help File Error");
}

TEST(HelpChooser, ReadPrintTopicByKindOfEntry) {
    FakePlatform fake;
    auto services = fake.services();
    HelpTopicChooser chooser(services);
    EXPECT_FALSE(chooser.Activate());
    EXPECT_EQ(fake.dialogs.shown(), (std::vector<std::string>{"Select Help Topic|No Help List to Display!"}));
    fake.dialogs.clear();

    HelpList list;
    list.Build({"\"Intro\" \"i.hlp\"", "\"Scopes\" \"begin\"", "\"Slewing\" \"s.hlp\"", "\"Scopes\" \"end\""});
    list.lastChosen = 3;
    chooser.SetList(&list);
    ASSERT_TRUE(chooser.Activate());
    EXPECT_EQ(chooser.selected(), 3);  // the last chosen entry

    chooser.Select(1);  // blank separator
    EXPECT_FALSE(chooser.ReadPrintTopic());
    EXPECT_EQ(fake.dialogs.beeps, 1);
    chooser.Select(2);  // heading
    EXPECT_FALSE(chooser.ReadPrintTopic());
    EXPECT_EQ(fake.dialogs.shown(), (std::vector<std::string>{"Topic Heading|Select a Topic Under \"-Scopes-\""}));
    chooser.Select(0);
    ASSERT_TRUE(chooser.ReadPrintTopic());
    EXPECT_EQ(chooser.chosen()->file, "i.hlp");
    EXPECT_EQ(list.lastChosen, 0);

    fake.dialogs.clear();
    chooser.search.text = "nothing like it";
    EXPECT_FALSE(chooser.FindTopic(SearchStart::FromTop));
    EXPECT_EQ(fake.dialogs.shown(), (std::vector<std::string>{"String Not Found|\"nothing like it\" Not Found."}));
    chooser.search.text = " slewing";
    ASSERT_TRUE(chooser.FindTopic(SearchStart::FromCursor));
    EXPECT_EQ(chooser.selected(), 3);
    chooser.Close();
    EXPECT_EQ(list.lastChosen, 3);
}

// ---- Topic files and the viewer's lines --------------------------------------

TEST(HelpTopicFile, TopicsOfASeveralTopicFile) {
    const std::vector<std::string> file = {"*Logging In*", "Type your names.", "", "*Leaving*", "Choose Exit.",
                                           "*****", "notes after the last topic"};
    struct Case {
        std::string title;
        std::optional<std::vector<std::string>> lines;
    };
    const std::vector<Case> cases = {
        {"Logging In", std::vector<std::string>{"Type your names.", ""}},
        {"  leaving", std::vector<std::string>{"Choose Exit."}},  // indented display text, other case
        {"Setting the Date", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractTopic(file, c.title), c.lines) << c.title;

    // A topic runs to the end of the file when no closing line follows.
    EXPECT_EQ(ExtractTopic({"* A *", "one", "two"}, "a"), (std::vector<std::string>{"one", "two"}));
    // A file that does not begin with "*" is one topic, whatever it is asked for.
    EXPECT_EQ(ExtractTopic({"plain", "text *"}, "anything"), (std::vector<std::string>{"plain", "text *"}));
}

TEST(HelpTopicFile, LineFramingAndSplitting) {
    std::string words;
    while (words.size() < 150) words += "abcdefghi ";
    words.resize(150);
    const std::string exactly72(72, 'x');
    const auto lines = FrameTopicLines({"short", exactly72, words, ""});
    ASSERT_EQ(lines.size(), 1u + 1 + 1 + 3 + 1 + 1);
    EXPECT_EQ(lines.front(), " ");
    EXPECT_EQ(lines.back(), " ");
    EXPECT_EQ(lines[1], "  short  ");
    EXPECT_EQ(lines[2], "  " + exactly72 + "  ");
    std::string joined;
    for (int i = 3; i < 6; ++i) {
        const std::string& l = lines[static_cast<std::size_t>(i)];
        EXPECT_TRUE(l.starts_with("  ") && l.ends_with("  ")) << l;
        EXPECT_LE(l.size(), 72u + 4) << l;
        joined += l.substr(2, l.size() - 4);
    }
    EXPECT_EQ(joined, words);  // nothing lost or added at the breaks
    EXPECT_EQ(lines[6], "    ");
    EXPECT_EQ(RelatedTopicsLine({" ", "  text  ", "  Related Topics:  ", "  RELATED TOPICS  "}), 2);
    EXPECT_EQ(RelatedTopicsLine({" ", "  text  "}), -1);
}

// ---- Searching line pairs ------------------------------------------------------

TEST(LinePairSearch, AMatchBelongsToTheLineWhereItStarts) {
    const std::vector<std::string> lines = {"   The telescope slews", "  to the target when", "you press OK.",
                                            "Press OK"};
    struct Case {
        const char* why;
        std::string text;
        bool caseDependent;
        int start;
        int found;
    };
    const std::vector<Case> cases = {
        {"runs on into the next line: found on the first", "slews to the", false, 0, 0},
        {"leading spaces are removed before joining", "slews to", false, 0, 0},
        {"a match starting in the second line is that line's", "target when you", false, 0, 1},
        {"case ignored", "PRESS ok", false, 0, 2},
        {"case dependent", "Press OK", true, 0, 3},
        {"the last line stands alone", "ok", false, 3, 3},
        {"start after the selection", "the", false, 1, 1},
        {"not there", "slew to", false, 0, -1},
        {"the joining space counts", "when you", false, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(FindInLinePairs(lines, c.text, c.caseDependent, c.start), c.found) << c.why;

    // The viewer's framed lines end in spaces; a phrase broken there is still found.
    EXPECT_EQ(FindInLinePairs({" ", "  a star stays in the   ", "  field of view.  ", " "}, "in the field", false, 0), 1);
}

TEST(SearchDialog, EmptyTextCountsAsCancelled) {
    SearchDialogModel model;
    EXPECT_EQ(model.Press(SearchStart::FromTop, "", true), SearchStart::Cancelled);
    EXPECT_EQ(model.Press(SearchStart::FromCursor, "dome", true), SearchStart::FromCursor);
    EXPECT_EQ(model.Press(SearchStart::Cancelled, "other", false), SearchStart::Cancelled);
    EXPECT_EQ(model.text, "dome");  // Cancel keeps the last search
    EXPECT_TRUE(model.caseDependent);
    EXPECT_EQ(model.Press(SearchStart::FromTop, std::string(90, 'a'), false), SearchStart::FromTop);
    EXPECT_EQ(model.text.size(), 80u);
}

TEST(ListWindowSize, LinesAndWidthLimits) {
    struct Case {
        int widest, lines, lineHeight, screen, margin;
        ClientSize size;
    };
    const std::vector<Case> cases = {
        {500, 10, 20, 1920, 30, {530, 226}},   // 11.3 line heights
        {500, 30, 20, 1920, 30, {530, 446}},   // 22.3 line heights, with a scroll bar
        {500, 21, 10, 1920, 30, {530, 223}},   // 21 lines still fit
        {120, 3, 10, 1920, 20, {220, 43}},     // at least 200 pixels
        {3000, 3, 10, 1024, 30, {1014, 43}},   // at most the screen width - 10
        {500, 2, 2, 1920, 30, {530, 16}},      // a line height of at least 5; 16.5 rounds to even
    };
    for (const Case& c : cases) {
        const ClientSize s = ListClientSize(c.widest, c.lines, c.lineHeight, c.screen, c.margin);
        EXPECT_EQ(s.width, c.size.width) << c.lines << " lines";
        EXPECT_EQ(s.height, c.size.height) << c.lines << " lines";
    }
}

TEST(ReportText, OverwriteQuestionAndLines) {
    FakePlatform fake;
    test::ScriptedChooser chooser;
    auto services = fake.services();
    services.chooser = &chooser;
    test::TempFolder folder;
    const std::string taken = folder.file("Report.TXT"), fresh = folder.file("Other.TXT");
    test::WriteAll(taken, Text("old"));
    chooser.answers = {taken, fresh};
    fake.dialogs.script({platform::Answer::No});

    platform::FileChoice choice;
    choice.title = "Save Report in Text File";
    EXPECT_EQ(SaveReportText({"line 1", "", "line 3"}, choice, services), fresh);
    EXPECT_EQ(chooser.asked.size(), 2u);  // No showed the dialog again
    EXPECT_EQ(fake.dialogs.shown(),
              (std::vector<std::string>{"Replace Existing File?|" + taken +
                                            " Already Exists!\r\n\r\nDo You Want to Overwrite It?",
                                        "Text File Written|Report Text Written to " + fresh + "."}));
    EXPECT_EQ(test::ReadAll(fresh), Text("line 1\r\n\r\nline 3\r\n"));
    EXPECT_EQ(test::ReadAll(taken), Text("old"));
    EXPECT_EQ(SplitTextLines(Text("a\r\nb\nc\rd")), (std::vector<std::string>{"a", "b", "c", "d"}));
}

// ---- The viewer ----------------------------------------------------------------

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        services_ = fake_.services();
        services_.printer = &printer_;
        test::WriteAll(folder_.file("SCOPE.HLP"),
                       Text("*Slewing*\r\nThe telescope moves to a target.\r\n\r\nRELATED TOPICS\r\nTracking\r\n"
                            "Nothing Like This\r\n*Tracking*\r\nThe drive follows the sky.\r\nRELATED TOPICS\r\n"
                            "Slewing\r\n*Empty*\r\nshort\r\n*****\r\n"));
        list_.Build({"\"Telescope\" \"begin\"", "\"Slewing\" \"scope.hlp\"", "\"Tracking\" \"scope.hlp\"",
                     "\"Empty\" \"scope.hlp\"", "\"Missing\" \"scope.hlp\"", "\"Telescope\" \"end\"",
                     "\"No File\" \"none.hlp\""});
        viewer_.AttachList(&list_);
    }
    OpenResult Show(int entry) {
        viewer_.SetTopic(*list_.At(entry), folder_.path());
        return viewer_.Open(width_);
    }

    FakePlatform fake_;
    test::RecordingPrinter printer_;
    platform::Services services_;
    test::TempFolder folder_;
    HelpList list_;
    HelpViewer viewer_{services_};
    // Eight pixels a character.
    std::function<int(const std::string&)> width_ = [](const std::string& s) { return static_cast<int>(s.size()) * 8; };
};

TEST_F(HelpViewerTest, OpeningReportsEachMissingPiece) {
    ASSERT_EQ(Show(1), OpenResult::Shown);
    EXPECT_EQ(viewer_.Caption(), "Help - Slewing");
    EXPECT_EQ(viewer_.lines(), (std::vector<std::string>{" ", "  The telescope moves to a target.  ", "    ",
                                                         "  RELATED TOPICS  ", "  Tracking  ",
                                                         "  Nothing Like This  ", " "}));
    EXPECT_EQ(viewer_.relatedLine(), 3);
    EXPECT_TRUE(fake_.dialogs.messages.empty());

    struct Case {
        int entry;
        OpenResult result;
        std::string shown;
    };
    const std::string path = folder_.path();
    const std::vector<Case> cases = {
        {3, OpenResult::NoText,
         "No Text for Topic|Help Topic: Empty\r\n\r\nHelp on this topic is not available at this time."},
        {4, OpenResult::TopicMissing,
         "Topic Not Found|Help Topic: Missing\r\n\r\nHelp on this topic is not available at this time."},
        {6, OpenResult::FileMissing, "Help Not Available|Cannot Access Help File " + path + "none.hlp\r\n\r\nFile Not Found!"},
    };
    for (const Case& c : cases) {
        fake_.dialogs.clear();
        EXPECT_EQ(Show(c.entry), c.result) << c.entry;
        EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{c.shown}) << c.entry;
    }
    fake_.dialogs.clear();
    HelpViewer unset(services_);
    EXPECT_EQ(unset.Open(width_), OpenResult::NoParameters);
    EXPECT_EQ(fake_.dialogs.shown(), std::vector<std::string>{"Help|THelpWin Parameters Not Set!"});
}

TEST_F(HelpViewerTest, RelatedTopicsAndBack) {
    ASSERT_EQ(Show(1), OpenResult::Shown);
    EXPECT_FALSE(viewer_.RelatedTopicAt(1));  // above the mark
    EXPECT_FALSE(viewer_.RelatedTopicAt(5));  // names no topic of the list
    EXPECT_FALSE(viewer_.RelatedTopicAt(6));  // the closing blank line
    const auto tracking = viewer_.RelatedTopicAt(4);
    ASSERT_TRUE(tracking);
    EXPECT_EQ(tracking->text, "  Tracking");
    EXPECT_EQ(list_.lastChosen, 2);

    viewer_.GoTo(*tracking);
    ASSERT_EQ(viewer_.Open(width_), OpenResult::Shown);
    EXPECT_EQ(viewer_.Caption(), "Help - Tracking");
    EXPECT_TRUE(viewer_.CanGoBack());
    // Following the link back to Slewing is one more step, not a loop of duplicates.
    const auto slewing = viewer_.RelatedTopicAt(3);
    ASSERT_TRUE(slewing);
    viewer_.GoTo(*slewing);
    viewer_.GoTo(*list_.At(1));  // the same topic again adds nothing
    EXPECT_EQ(viewer_.history().size(), 2u);

    auto back = viewer_.Back();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, "  Tracking");
    back = viewer_.Back();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, "  Slewing");  // the topic first shown is reached again
    EXPECT_FALSE(viewer_.CanGoBack());
    EXPECT_FALSE(viewer_.Back());

    viewer_.GoTo(*list_.At(2));
    viewer_.Closed();
    EXPECT_FALSE(viewer_.CanGoBack());
}

TEST_F(HelpViewerTest, SearchAndPrint) {
    ASSERT_EQ(Show(1), OpenResult::Shown);
    // Only the next line joins: a blank line between stops a phrase.
    viewer_.search.text = "target.  related";
    EXPECT_EQ(viewer_.Search(SearchStart::FromTop, -1), -1);
    viewer_.search.text = "a target.";
    EXPECT_EQ(viewer_.Search(SearchStart::FromTop, -1), 1);
    EXPECT_EQ(viewer_.Search(SearchStart::FromCursor, 1), -1);
    EXPECT_EQ(fake_.dialogs.shown().size(), 2u);

    fake_.clock.now = 37360.5;  // 2002-04-14 12:00
    PrintIdentity who{{"Ann Lee", "", "Bo Chan", ""}, ""};
    ASSERT_TRUE(viewer_.Print(who));
    EXPECT_EQ(printer_.title, "Zarn Exercise \"Toval\" - Ann Lee");
    // Lines are 10 units high: date at 0, names from 20, title two lines below the last name.
    const std::vector<test::PrintedLine> head = {
        {1, 0, 0, "2002-04-14 12:00:00     Laboratory Table Number (Not Recorded)"},
        {1, 0, 20, "Ann Lee"},
        {1, 0, 30, "Bo Chan"},
        {1, 50, 50, "Zarn Exercise \"Toval\" - Ann Lee"},
        {1, 50, 70, "Help - Slewing"},
        {1, 50, 90, " "},
    };
    ASSERT_GE(printer_.lines.size(), head.size());
    EXPECT_EQ(std::vector<test::PrintedLine>(printer_.lines.begin(), printer_.lines.begin() + 6), head);
    EXPECT_EQ(printer_.lines.size(), 5 + viewer_.lines().size());
    EXPECT_TRUE(printer_.finished);
    printer_.cancel = true;
    EXPECT_FALSE(viewer_.Print(who));
}

TEST(PageWriterTest, NewPageWhenTheNextLineWouldPassThePage) {
    test::RecordingPrinter printer;
    printer.pageHeight = 45;
    auto canvas = printer.begin("t");
    PageWriter page(*canvas);
    page.Lines(50, 20, {"a", "b", "c", "d", "e"});
    // 20 and 30 fit (a line ends at 40 and 45); the third starts a page at h.
    EXPECT_EQ(printer.lines, (std::vector<test::PrintedLine>{{1, 50, 20, "a"}, {1, 50, 30, "b"}, {2, 50, 10, "c"},
                                                             {2, 50, 20, "d"}, {2, 50, 30, "e"}}));
}

}  // namespace
}  // namespace qnr::help
