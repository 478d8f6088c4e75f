// qnrtool field and asteroids over a catalog tree in the program folder.
#include <gtest/gtest.h>

#include <sstream>

#include "catalogs/CatalogFixture.h"
#include "catalogs/cli/CatalogCommands.h"
#include "tool/Registry.h"

namespace qnr {
namespace {

class CatalogCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        // The options defaults put every catalog in the program folder, as the tree does.
        tree.fakes.identity.program = tree.folder.path();
        tree.fakes.identity.userData = tree.folder.path() + "userdata/";
        tree.fakes.clock.zone = {0, 0, 0, false, true, "UTC"};
        tree.writeTable();
        tree.stars(test::RegionWest, {MakeInstrumentStar("00001", 23.999, 3.5, 12.5, 0.65, 0.2, ParseSpType("G2V"),
                                                          StarClassAssigned)});
        tree.stars(test::RegionEast, {MakeInstrumentStar("00002", 0.001, 3.5, 14.0, 1.1, 0.9, 0, 0)});
        tree.quasars({test::Quasar("Q \"one\"", 0.002, 3.52, 17.0f, 2.5f)});
        tree.galaxies({test::Galaxy("7", 0.003, 3.48, 13.0f)});
        tree.imageList({});
        catalogs_cli::RegisterCommands(registry);
    }
    int Run(std::vector<std::string> argv) {
        out.str("");
        err.str("");
        tool::Context ctx{out, err, tree.services};
        return registry.dispatch(argv, ctx);
    }
    test::CatalogTree tree;
    tool::Registry registry;
    std::ostringstream out, err;
};

TEST_F(CatalogCommandsTest, FieldAsJson) {
    ASSERT_EQ(Run({"field", "--ra-hours", "0", "--dec-deg", "3.5", "--size-arcmin", "15", "--json"}), tool::ExitOk)
        << err.str();
    EXPECT_EQ(out.str(),
              "[\n"
              " {\"name\": \"00282-00001\", \"kind\": 0, \"ra_hours\": 23.999, \"dec_deg\": 3.5, \"V\": 12.5, \"BV\": "
              "0.65, \"UB\": 0.2, \"Z\": 0, \"sptype\": \"G2V\"},\n"
              " {\"name\": \"00285-00002\", \"kind\": 0, \"ra_hours\": 0.001, \"dec_deg\": 3.5, \"V\": 14, \"BV\": "
              "1.1, \"UB\": 0.9, \"Z\": 0, \"sptype\": \"\"},\n"
              " {\"name\": \"Q \\\"one\\\"\", \"kind\": 3, \"ra_hours\": 0.002, \"dec_deg\": 3.52, \"V\": 17, \"BV\": "
              "0.2, \"UB\": -0.7, \"Z\": 2.5, \"sptype\": \"0\"},\n"
              " {\"name\": \"NGC 7\", \"kind\": 1, \"ra_hours\": 0.003, \"dec_deg\": 3.48, \"V\": 13, \"BV\": 0.81, "
              "\"UB\": 0.27, \"Z\": 0, \"sptype\": \"G8\"}\n"
              "]\n");
}

TEST_F(CatalogCommandsTest, FieldTableAndRefusals) {
    ASSERT_EQ(Run({"field", "--ra-hours", "0", "--dec-deg", "3.5", "--size-arcmin", "15"}), tool::ExitOk) << err.str();
    EXPECT_NE(out.str().find("00282-00001              star     23.9990000  3.500000    12.500  0.650   0.200   "
                             "0.0000    G2V\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("objects = 4\n"), std::string::npos);

    // 0.6h lies in a region outside the exercise: the telescope's refusal.
    EXPECT_EQ(Run({"field", "--ra-hours", "0.6", "--dec-deg", "3.5", "--size-arcmin", "15"}), tool::ExitFailure);
    EXPECT_NE(err.str().find("Not Available For This Exercise!\nYou Cannot Access"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"field", "--ra-hours", "25", "--dec-deg", "3.5", "--size-arcmin", "15"}), tool::ExitUsage);
    EXPECT_EQ(Run({"field", "--ra-hours", "1", "--size-arcmin", "15"}), tool::ExitUsage);
    EXPECT_EQ(Run({"field", "--ra-hours", "1", "--dec-deg", "3", "--size-arcmin", "15", "--bogus"}), tool::ExitUsage);
    EXPECT_EQ(Run({"field", "--help"}), tool::ExitOk);
    EXPECT_NE(out.str().find("Usage: qnrtool field --ra-hours A"), std::string::npos);
}

TEST_F(CatalogCommandsTest, AsteroidsWithoutAnOrbitFileFail) {
    EXPECT_EQ(Run({"asteroids", "--date", "2002-04-14"}), tool::ExitFailure);
    EXPECT_EQ(Run({"asteroids", "--date", "2002-02-30"}), tool::ExitUsage);
    EXPECT_EQ(Run({"asteroids", "--date", "2002-04-14", "--time", "25:00:00"}), tool::ExitUsage);
}

TEST_F(CatalogCommandsTest, AsteroidsReport) {
    OrbitRecord r;
    r.name = "Far Away";
    r.epoch = 2452379.0L;
    r.position = {-3.0e8L, -1.0e8L, 0};  // opposite the Sun in April 2002, 2 AU out
    r.velocity = {3.0L, -18.0L, 0};
    r.H = 20;  // far too faint: the list is empty, the report still complete
    r.G = 0.15L;
    tree.orbits({r});
    ASSERT_EQ(Run({"asteroids", "--date", "2002-04-14", "--time", "12:00:00"}), tool::ExitOk) << err.str();
    EXPECT_NE(out.str().find("Observation Date: Sunday April 14, 2002\nLocal Time: 12:00:00 UTC\n"
                             "Julian Date: 2452379.000000\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Total Observable Asteroids: 0\n"), std::string::npos);
    EXPECT_NE(out.str().find("Hr Mn Sec     \xC2\xB0  '"), std::string::npos) << "the degree sign in UTF-8";
}

}  // namespace
}  // namespace qnr
