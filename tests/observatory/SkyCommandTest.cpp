#include <sstream>

#include <gtest/gtest.h>

#include "observatory/cli/HotListCommands.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::observatory {
namespace {

using Out = test::ToolRun;

class SkyCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSkyCommand(registry);
        platform.identity.program = tmp.file("program/");
    }
    Out Call(std::vector<std::string> argv) {
        return test::RunTool(registry, platform.services(), argv);
    }
    static double Value(const std::string& text, const std::string& key) {
        auto p = text.find(key + " = ");
        return p == std::string::npos ? -999 : std::stod(text.substr(p + key.size() + 3));
    }
    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

TEST_F(SkyCommandTest, ATargetOnTheMeridianCulminates) {
    Out first = Call({"sky", "--site", "1", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", "0",
                      "--dec-deg", "0"});
    ASSERT_EQ(first.code, 0) << first.err;
    const double lst = Value(first.out, "lst_hours");
    EXPECT_NEAR(Value(first.out, "ha_hours"), lst > 12 ? lst - 24 : lst, 1e-12);
    // On the meridian the altitude is 90 - latitude + declination, due south.
    char ra[64];
    std::snprintf(ra, sizeof ra, "%.15f", lst);
    struct Row { const char* dec; double alt, az; };
    const Row rows[] = {{"0", 90 - 31.9633333, 180}, {"-20", 90 - 31.9633333 - 20, 180}, {"60", 90 - 28.0366667, 0}};
    for (const auto& r : rows) {
        Out o = Call({"sky", "--site", "1", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", ra,
                      "--dec-deg", r.dec});
        ASSERT_EQ(o.code, 0) << o.err;
        EXPECT_NEAR(Value(o.out, "alt_deg"), r.alt, 1e-6) << r.dec;
        double az = Value(o.out, "az_deg");
        if (r.az == 0 && az > 180) az -= 360;
        EXPECT_NEAR(az, r.az, 1e-6) << r.dec;
        EXPECT_NEAR(Value(o.out, "ha_hours"), 0, 1e-9);
    }
}

TEST_F(SkyCommandTest, BadArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"sky"},
        {"sky", "--site", "3", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", "1", "--dec-deg", "0"},
        {"sky", "--site", "0", "--date", "2002-02-30", "--time", "06:00:00", "--ra-hours", "1", "--dec-deg", "0"},
        {"sky", "--site", "0", "--date", "2002-04-14", "--time", "6:00", "--ra-hours", "1", "--dec-deg", "0"},
        {"sky", "--site", "0", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", "24", "--dec-deg", "0"},
        {"sky", "--site", "0", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", "1", "--dec-deg", "x"},
        {"sky", "--site", "0", "--date", "2002-04-14", "--time", "06:00:00", "--ra-hours", "1", "--dec-deg", "0",
         "--bogus", "1"},
    };
    for (const auto& argv : bad) {
        Out o = Call(argv);
        EXPECT_EQ(o.code, 2) << argv.size();
        EXPECT_FALSE(o.err.empty());
    }
}

}  // namespace
}  // namespace qnr::observatory
