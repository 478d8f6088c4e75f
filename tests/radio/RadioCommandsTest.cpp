// qnrtool pulsar and options show --radio, run through the registry.
#include "radio/cli/RadioCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "app/cli/AppCommands.h"
#include "radio/Pulsars.h"
#include "radio/RadiOpts.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::radio {
namespace {

std::map<std::string, std::string> Keys(const std::string& out) {
    std::map<std::string, std::string> keys;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find(" = ");
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return keys;
}

class RadioCommandsTest : public ::testing::Test {
protected:
    RadioCommandsTest() {
        RegisterCommands(registry);
        app::RegisterCommands(registry);
        fake.identity.program = program.path();
        fake.identity.userData = userData.path();
        services = fake.services();
        PulsarRecord crab;
        crab.jName = "0534+2200";
        crab.bName = "0531+21";
        crab.ra = 5.5755472L;
        crab.dec = 22.0144722L;
        crab.period = 0.0333924123L;
        crab.periodDerivative = 4.2096e-13L;
        crab.epoch = 2448743.5L;
        crab.dm = 56.77f;
        crab.w50 = 3;
        crab.s400 = 550;
        crab.s600 = 167.6f;
        crab.s1400 = 14;
        const std::string line = FormatCatalogLine(crab) + "\r\n";
        test::WriteAll(program.file("PULSARS.DAT"), std::vector<std::uint8_t>(line.begin(), line.end()));
    }
    test::ToolRun Run(std::vector<std::string> argv) { return test::RunTool(registry, services, argv); }

    tool::Registry registry;
    test::TempFolder program, userData;
    test::FakePlatform fake;
    platform::Services services;
};

TEST_F(RadioCommandsTest, PulsarGivesItsValuesAndTheDispersionDelay) {
    const test::ToolRun run = Run({"pulsar", "B0531+21", "--delay-mhz", "1400,400", "--date", "2002-04-14"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto k = Keys(run.out);
    EXPECT_EQ(k["name"], "J0534+2200");
    EXPECT_EQ(k["b1950_name"], "B0531+21");
    EXPECT_EQ(k["dm"], "56.77");
    // Against the textbook 4.149 ms x DM x (f1^-2 - f2^-2), f in GHz.
    const double expected = 4.149 * 56.77 * (std::pow(0.4, -2) - std::pow(1.4, -2));
    EXPECT_NEAR(std::stod(k["delay_ms"]), expected, expected * 1e-3);
    EXPECT_EQ(k["delay_low_mhz"], "400");
    // 2002-04-14 is 3635 days after the epoch: P grows by Pdot x t.
    EXPECT_NEAR(std::stod(k["period_s"]), 0.0333924123 + 3635 * 86400 * 4.2096e-13, 1e-12);
    EXPECT_NEAR(std::stod(k["distance_kpc"]), 56.77 / 0.03 / 1000, 1e-6);
    EXPECT_NEAR(std::stod(Keys(Run({"pulsar", "0534+2200", "--density", "0.1"}).out)["distance_kpc"]), 0.5677, 1e-6);

    auto list = Keys(Run({"pulsar"}).out);
    EXPECT_EQ(list["pulsars"], "1");
    EXPECT_EQ(list["pulsar.1"], "J0534+2200 B0531+21");
}

TEST_F(RadioCommandsTest, PulsarRefusesBadWordsAndUnknownNames) {
    const struct {
        std::vector<std::string> argv;
        int code;
    } rows[] = {
        {{"pulsar", "B0531+21", "--delay-mhz", "400"}, 2},
        {{"pulsar", "B0531+21", "--delay-mhz", "0,1400"}, 2},
        {{"pulsar", "--delay-mhz", "400,1400"}, 2},
        {{"pulsar", "B0531+21", "--date", "2002-13-01"}, 2},
        {{"pulsar", "B0531+21", "B0329+54"}, 2},
        {{"pulsar", "B0531+21", "--loud"}, 2},
        {{"pulsar", "B0329+54"}, 1},
        {{"pulsar", "--catalog", "/nonexistent/PULSARS.DAT"}, 1},
    };
    for (const auto& r : rows) {
        const test::ToolRun run = Run(r.argv);
        EXPECT_EQ(run.code, r.code) << r.argv.back() << ": " << run.err;
        EXPECT_FALSE(run.err.empty());
    }
}

TEST_F(RadioCommandsTest, OptionsShowRadioListsTheFileLikeTheMainOne) {
    RadiOptsObj o(services, false);
    o.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, program.path());
    o.rec.aperture = 305;
    o.rec.siteName = "Quenara Valley";
    ASSERT_TRUE(o.Write(program.path()));
    const test::ToolRun run = Run({"options", "show", "--radio", program.file(RadioOptionsFileName)});
    ASSERT_EQ(run.code, 0) << run.err;
    auto k = Keys(run.out);
    EXPECT_EQ(k["source"], program.file(RadioOptionsFileName));
    EXPECT_EQ(k["aperture_m"], "305");
    EXPECT_EQ(k["site_name"], "Quenara Valley");
    EXPECT_EQ(k["site_latitude_deg"], "38.43");
    EXPECT_EQ(k["horizon_limit_deg"], "10.0");
    EXPECT_EQ(k["sound_sample_rate_hz"], "5512");
    EXPECT_EQ(k["max_rate_index"], "5");
    EXPECT_EQ(run.out.rfind("source = ", 0), 0u);

    EXPECT_EQ(Run({"options", "show", "--radio", program.file("NONE.INI")}).code, 1);
    test::WriteAll(program.file("SHORT.INI"), {3, '1', '.', '1'});
    EXPECT_EQ(Run({"options", "show", "--radio", program.file("SHORT.INI")}).code, 1);
    EXPECT_EQ(Run({"options", "show", "--radio", "a", "b"}).code, 2);
}

}  // namespace
}  // namespace qnr::radio
