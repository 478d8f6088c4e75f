// The information list: print layout and orientation, search and text save.
#include <gtest/gtest.h>

#include "help/ListFakes.h"
#include "photometry/InfoList.h"
#include "support/Fakes.h"

namespace qnr::photometry {
namespace {

class AcrossThePage final : public InfoListReport {
public:
    using InfoListReport::InfoListReport;
    bool PrintsLandscape() const override { return true; }
};

class InfoListTest : public ::testing::Test {
protected:
    void SetUp() override {
        services_ = fake_.services();
        services_.chooser = &chooser_;
        services_.printer = &printer_;
        opts_.usersFolder = users_.path();
    }
    test::FakePlatform fake_;
    test::ScriptedChooser chooser_;
    test::RecordingPrinter printer_;
    test::TempFolder users_;
    app::OptsRec opts_;
    platform::Services services_;
};

TEST_F(InfoListTest, PrintLayoutByModeAndOrientation) {
    struct Case {
        const char* why;
        bool editMode;
        bool landscape;
        std::vector<test::PrintedLine> head;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"portrait, two names: the caption two lines below the last name", false, false,
         {{1, 0, 0, "2002-04-14 12:00:00     Laboratory Table Number 12"},
          {1, 0, 20, "Ann Lee"},
          {1, 0, 30, "Bo Chan"},
          {1, 50, 50, "Current Site & Telescope Parameters"},
          {1, 50, 70, "Site Name/ID: Test Site"}},
         "Zarn Exercise \"The Durev for Quenara\" - Ann Lee"},
        {"Edit Mode in landscape: no table, no names, the margin of 50", true, true,
         {{1, 50, 0, "2002-04-14 12:00:00"},
          {1, 100, 20, "Current Site & Telescope Parameters"},
          {1, 100, 40, "Site Name/ID: Test Site"}},
         "Zarn Exercise \"The Durev for Quenara\" - Database Modification"},
    };
    for (const Case& c : cases) {
        opts_.editMode = c.editMode;
        std::unique_ptr<InfoListReport> list = c.landscape ? std::make_unique<AcrossThePage>(services_, opts_)
                                                           : std::make_unique<InfoListReport>(services_, opts_);
        list->SetCaption("Current Site & Telescope Parameters");
        list->SetLines({"Site Name/ID: Test Site", "Altitude: 100.0 Meters"});
        list->SetPrintIdentity([] { return help::PrintIdentity{{"Ann Lee", "Bo Chan", "", ""}, "12"}; });
        printer_.current = platform::Orientation::Portrait;
        ASSERT_TRUE(list->Print()) << c.why;
        EXPECT_EQ(printer_.title, c.title) << c.why;
        EXPECT_EQ(std::vector<test::PrintedLine>(printer_.lines.begin(), printer_.lines.begin() + c.head.size()), c.head)
            << c.why;
        EXPECT_EQ(printer_.current, platform::Orientation::Portrait) << c.why;  // restored
        EXPECT_TRUE(list->printed());
    }
}

TEST_F(InfoListTest, SearchAndSave) {
    InfoListReport list(services_, opts_);
    list.SetTitle("Site Parameters");
    list.SetLines({"Site Name/ID: Test", "Longitude: 77 W", "Latitude: 39 N"});
    list.search.text = "77 w latitude";
    EXPECT_EQ(list.Search(help::SearchStart::FromTop, -1), 1);
    EXPECT_EQ(list.Search(help::SearchStart::FromCursor, 1), -1);

    chooser_.answers = {users_.file("Site Parameters.TXT")};
    ASSERT_TRUE(list.SaveAsDisplayed());
    EXPECT_EQ(chooser_.asked.at(0).defaultName, "Site Parameters.TXT");
    const auto bytes = test::ReadAll(users_.file("Site Parameters.TXT"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Site Name/ID: Test\r\nLongitude: 77 W\r\nLatitude: 39 N\r\n");
    EXPECT_TRUE(list.saved());
}

}  // namespace
}  // namespace qnr::photometry
