#include "astro/cli/AstroCommands.h"

#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "astro/Coords.h"
#include "astro/Orbit_Pr.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr {
namespace {

struct ToolRun : test::ToolRun {
    std::map<std::string, std::string> values;
};

ToolRun Tool(test::FakePlatform& platform, std::vector<std::string> argv) {
    tool::Registry registry;
    astro_cli::RegisterCommands(registry);
    ToolRun run;
    static_cast<test::ToolRun&>(run) = test::RunTool(registry, platform.services(), argv);
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        auto eq = line.find(" = ");
        if (eq != std::string::npos) run.values[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return run;
}

Extended Parse(const std::string& s) {
    Extended v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

std::string Digits17(Extended v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    return std::string(buf, r.ptr);
}

TEST(AstroCommands, NumbersKeepAllTheirDigits) {
    // A Julian Date with more digits than a double holds: read as a double it
    // would move the sidereal time in its 11th digit.
    test::FakePlatform platform;
    const std::string jd = "2446895.51234567890123";
    ToolRun r = Tool(platform, {"astro", "sidereal", "--jd", jd, "--lon-deg", "-77.0655"});
    ASSERT_EQ(r.code, tool::ExitOk) << r.err;
    Extended exact = Parse(jd);
    EXPECT_EQ(r.values["gmst_rad"], Digits17(GreenwichSiderealTime(0, exact)));
    EXPECT_EQ(r.values["gast_rad"], Digits17(GreenwichSiderealTime(1, exact)));
    EXPECT_EQ(r.values["lst_hours"], Digits17(LocalSiderealTime(exact, Parse("-77.0655") * DegToRad)));
    EXPECT_NE(r.values["gmst_rad"], Digits17(GreenwichSiderealTime(0, static_cast<double>(exact))));
    EXPECT_EQ(r.values.size(), 3u);
}

TEST(AstroCommands, EachCommandAnswersWithItsKeys) {
    // Worked examples (as in the library tests) through the command line: the
    // units of the names are in question here; each row's tolerance is the
    // printed precision of its source.
    struct Row {
        std::vector<std::string> argv;
        std::map<std::string, double> expect;
        double tol;
    };
    const double pi = 3.14159265358979323846;
    const Row rows[] = {
        {{"astro", "jd", "--date", "1987-04-10", "--time", "14:21:00.000", "--zone-hours", "5"},
         {{"jd", 2446896.30625}, {"day_number", 2446895.5 - 2415018.5 + (14 + 21 / 60.0) / 24}}, 1e-8},
        {{"astro", "sidereal", "--jd", "2451545"}, {{"gmst_rad", 280.46061837 * pi / 180}}, 1e-12},
        {{"astro", "earth", "--jd", "2451545"},
         {{"obliquity_rad", 23.43929111 * pi / 180}, {"general_precession_rad", 0}}, 1e-12},
        {{"astro", "precess", "--ra-hours", "0", "--dec-deg", "0", "--from-jd", "2433282.4235", "--to-jd", "2451545"},
         {{"ra_hours", (2 * 60 + 33.7) / 3600}, {"dec_deg", (16 * 60 + 42) / 3600.0}}, 3e-4},
        {{"astro", "precess-ecliptic", "--lat-deg", "1.76549", "--lon-deg", "149.48194", "--from-jd", "2451545",
          "--to-jd", "1643074.5"},
         {{"lat_deg", 1.615}, {"lon_deg", 118.704}}, 6e-4},
        {{"astro", "ecl2eq", "--lat-deg", "6.684170", "--lon-deg", "113.215630", "--jd", "2451545"},
         {{"ra_hours", 116.328942 / 15}, {"dec_deg", 28.026183}}, 2e-6},
        {{"astro", "horizon", "--ra-hours", "23.154622500", "--dec-deg", "-6.719891667", "--lat-deg", "38.921388889",
          "--lon-deg", "-77.065555556", "--jd", "2446896.30625"},
         {{"alt_deg", 15.1249}, {"az_deg", 248.0337 - 360}}, 3e-4},
        {{"astro", "sun", "--jd", "2451545"}, {{"lon_rad", 280.378 * pi / 180}, {"distance_au", 0.9833}}, 1e-4},
        {{"astro", "aitoff", "--dec-deg", "0", "--ra-hours", "12", "--center-hours", "0"},
         {{"x", -std::sqrt(3.0)}, {"y", 0}}, 1e-15},
    };
    for (const auto& row : rows) {
        test::FakePlatform platform;
        ToolRun r = Tool(platform, row.argv);
        ASSERT_EQ(r.code, tool::ExitOk) << row.argv[1] << ": " << r.err;
        EXPECT_EQ(r.values.size(), row.expect.size() + (row.argv[1] == "sidereal" ? 1 : 0) +
                                       (row.argv[1] == "earth" ? 2 : 0))
            << row.argv[1];
        for (const auto& [key, value] : row.expect) {
            ASSERT_TRUE(r.values.count(key)) << row.argv[1] << " " << key;
            EXPECT_NEAR(static_cast<double>(Parse(r.values[key])), value, row.tol) << row.argv[1] << " " << key;
        }
    }
}

TEST(AstroCommands, OrbitStateMatchesTheLibrary) {
    test::FakePlatform platform;
    ToolRun r = Tool(platform, {"orbit", "state", "--epoch-jd", "2455197.5", "--pos", "3.0e8,2.0e8,1.5e7", "--vel",
                            "-8.5,12.5,1.2", "--h", "3.34", "--g", "0.12", "--jd", "2455300.5", "--mode", "1"});
    ASSERT_EQ(r.code, tool::ExitOk) << r.err;
    for (const char* key : {"a_km", "q_km", "e", "i_deg", "node_deg", "peri_deg", "m_deg", "class", "ra_hours",
                            "dec_deg", "delta_au", "r_au", "sun_au", "mag"})
        EXPECT_TRUE(r.values.count(key)) << key;

    StateVector s;
    s.time = 2455197.5L;
    s.position = {3.0e8L, 2.0e8L, 1.5e7L};
    s.velocity = {-8.5L, 12.5L, 1.2L};
    SetEcliptic(s.header, KindApparent, EpochJ2000, JD_J2000);
    SolarBody body = MakeSolarBody(s, KindApparent, {MagnitudeAsteroid, 3.34L, 0.12L}, nullptr);
    BodyPlace place = GeocentricPosition(body, 2455300.5L);
    SkyPosition eq;
    EclipticToEquatorial(eq, place.position);
    EXPECT_EQ(r.values["e"], Digits17(body.orbit.elements.e));
    EXPECT_EQ(r.values["class"], "1");
    EXPECT_EQ(r.values["ra_hours"], Digits17(NormalizeHours(eq.first * RadToDeg / 15)));
    EXPECT_EQ(r.values["delta_au"], Digits17(place.distance));
    EXPECT_EQ(r.values["mag"], Digits17(Magnitude(body, 2455300.5L)));

    // Without H and G there is no brightness.
    ToolRun dark = Tool(platform, {"orbit", "state", "--epoch-jd", "2455197.5", "--pos", "3.0e8,2.0e8,1.5e7", "--vel",
                               "-8.5,12.5,1.2", "--jd", "2455300.5"});
    ASSERT_EQ(dark.code, tool::ExitOk) << dark.err;
    EXPECT_EQ(dark.values["mag"], "100");
}

TEST(AstroCommands, SolverFailureExitsWithTheMessage) {
    // e = 0.98 at 1 AU, 30000 days later: the near-parabolic series diverges.
    test::FakePlatform platform;
    ToolRun r = Tool(platform, {"orbit", "state", "--epoch-jd", "2455197.5", "--pos", "149597870.66,0,0", "--vel",
                            "0,41.911,0", "--jd", "2485197.5"});
    EXPECT_EQ(r.code, tool::ExitFailure);
    EXPECT_TRUE(r.out.empty());
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].caption, KeplerErrorCaption);
    EXPECT_EQ(platform.dialogs.messages[0].text, KeplerErrorText);
}

TEST(AstroCommands, BadArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"astro", "sidereal"},
        {"astro", "sidereal", "--jd"},
        {"astro", "sidereal", "--jd", "12x"},
        {"astro", "sidereal", "--jd", "nan"},
        {"astro", "sidereal", "--jd", "1", "--bogus", "2"},
        {"astro", "sidereal", "--jd", "1", "stray"},
        {"astro", "jd", "--date", "2001-02-29", "--time", "00:00:00"},
        {"astro", "jd", "--date", "2001-02-28", "--time", "24:00:00"},
        {"astro", "jd", "--date", "2001-02-28", "--time", "12:00"},
        {"astro", "sun", "--jd", "2451545", "--mode", "3"},
        {"astro", "precess", "--ra-hours", "1", "--dec-deg", "2", "--from-jd", "2451545"},
        {"orbit", "state", "--epoch-jd", "1", "--pos", "1,2", "--vel", "0,1,0", "--jd", "1"},
        {"orbit", "state", "--epoch-jd", "1", "--pos", "1,0,0", "--vel", "2,0,0", "--jd", "1"},
        {"orbit", "state", "--epoch-jd", "1", "--pos", "1,0,0", "--vel", "0,1,0", "--jd", "1", "--h", "5"},
        {"orbit", "state", "--epoch-jd", "1", "--pos", "1,0,0", "--vel", "0,1,0", "--jd", "1", "--gm", "-1"},
    };
    for (const auto& argv : cases) {
        test::FakePlatform platform;
        ToolRun r = Tool(platform, argv);
        std::string joined;
        for (const auto& w : argv) joined += w + " ";
        EXPECT_EQ(r.code, tool::ExitUsage) << joined;
        EXPECT_NE(r.err.find("qnrtool: "), std::string::npos) << joined;
        EXPECT_TRUE(r.out.empty()) << joined;
    }
}

}  // namespace
}  // namespace qnr
