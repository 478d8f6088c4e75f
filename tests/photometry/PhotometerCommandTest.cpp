// qnrtool photometry on the bundled data tree: the hot list's Landolt field
// holds standards a student can calibrate on, and the sky-subtracted
// magnitude of a standard agrees with its catalog value within three times
// the error its counts imply, at each of the three telescopes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "help/Helplst.h"
#include "help/Helptxt.h"
#include "help/TextLists.h"
#include "observatory/HotList.h"
#include "photometry/cli/PhotometerCommand.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::photometry {
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

class PhotometryCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.identity.program = QNR_PROGRAM_FOLDER "/";
        RegisterPhotometerCommand(registry);
    }
    test::ToolRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), "photometry");
        return test::RunTool(registry, fake.services(), args);
    }
    static std::vector<std::string> At(double ra, double dec, int telescope, const char* filter, const char* seconds,
                                       int count, int seed) {
        return {"--ra-hours", std::to_string(ra), "--dec-deg", std::to_string(dec), "--date", "2002-04-15", "--time",
                "05:00:00", "--telescope", std::to_string(telescope), "--filter", filter, "--integration-s", seconds,
                "--count", std::to_string(count), "--seed", std::to_string(seed)};
    }

    test::FakePlatform fake;
    tool::Registry registry;
};

TEST_F(PhotometryCommandTest, HotListHasALandoltFieldWithStandardsInTheAperture) {
    const auto decoded = observatory::DecodeHotList(test::ReadAll(QNR_PROGRAM_FOLDER "/Quenara.HTL"));
    ASSERT_TRUE(decoded.ok());
    const observatory::ObjctDat* landolt = nullptr;
    for (const auto& e : decoded.value())
        if (e.identifier.find("Landolt") != std::string::npos) landolt = &e;
    ASSERT_NE(landolt, nullptr) << "no Landolt field in Quenara.HTL";
    const test::ToolRun run = Run(At(static_cast<double>(landolt->ra), static_cast<double>(landolt->dec), 1, "V", "1",
                                     1, 3));
    ASSERT_EQ(run.code, 0) << run.err;
    auto k = Keys(run.out);
    // SA 104-335 of Landolt's list (the data tree's seed): V 11.665, B-V 0.622, U-B 0.145.
    EXPECT_EQ(k["catalog_V"], "11.665");
    EXPECT_EQ(k["catalog_BV"], "0.622");
    EXPECT_EQ(k["catalog_UB"], "0.145");
    // Nothing else of note shares the aperture.
    EXPECT_NEAR(std::stod(k["aperture_mag"]), 11.665, 0.01);
    // The sky was read beside the field's star, not on it.
    const double dRa = (std::stod(k["sky_ra_hours"]) - static_cast<double>(landolt->ra)) * 15 * 60;
    const double dDec = (std::stod(k["sky_dec_deg"]) - static_cast<double>(landolt->dec)) * 60;
    EXPECT_GE(std::hypot(dRa, dDec), 1.4);
}

TEST_F(PhotometryCommandTest, StandardsAgreeWithinThreeSigmaAtEachTelescope) {
    // Standards of Landolt's SA 104 field beside the hot-list target (positions
    // and values from the data tree's seed): catalog magnitude in the filter.
    struct Row {
        const char* star;
        double ra, dec;
        int telescope;
        const char* filter;
        const char* seconds;
        int count;
        double catalog;
    };
    const Row rows[] = {
        {"104_335", 12.706111, -0.55250, 0, "V", "10", 3, 11.665},
        {"104_456", 12.715000, -0.53500, 1, "B", "10", 2, 12.362 + 0.622},
        {"104_334", 12.705833, -0.67444, 2, "V", "1", 3, 13.484},
        {"104_335", 12.706111, -0.55250, 2, "U", "1", 2, 11.665 + 0.622 + 0.145},
    };
    for (const Row& r : rows) {
        const test::ToolRun run = Run(At(r.ra, r.dec, r.telescope, r.filter, r.seconds, r.count, 2002));
        ASSERT_EQ(run.code, 0) << r.star << ": " << run.err;
        auto k = Keys(run.out);
        EXPECT_NEAR(std::stod(k["catalog_mag"]), r.catalog, 0.0015) << r.star;
        ASSERT_EQ(k["magnitude_valid"], "1") << r.star;
        const double error = std::stod(k["magnitude_error"]);
        EXPECT_GT(error, 0) << r.star;
        EXPECT_LT(error, 0.05) << r.star;
        EXPECT_NEAR(std::stod(k["magnitude"]), r.catalog, 3 * error)
            << r.star << " at telescope " << r.telescope << " in " << r.filter;
        EXPECT_GT(std::stod(k["sky_rate"]), 0) << r.star;
        EXPECT_GT(std::stod(k["snr"]), 20) << r.star;
    }
}

TEST_F(PhotometryCommandTest, SkyAloneAndBadArguments) {
    const test::ToolRun sky = Run(
        {"--ra-hours", "12.7", "--dec-deg", "-0.6", "--date", "2002-04-15", "--time", "05:00:00", "--telescope", "1",
         "--filter", "V", "--integration-s", "0.1", "--count", "5", "--seed", "9", "--sky"});
    ASSERT_EQ(sky.code, 0) << sky.err;
    auto k = Keys(sky.out);
    EXPECT_EQ(k["sky_dec_deg"], "-0.60000");
    EXPECT_EQ(k.count("object"), 0u);
    EXPECT_EQ(std::count(k["sky_counts"].begin(), k["sky_counts"].end(), ','), 4);

    struct Bad { std::vector<std::string> args; int code; };
    auto with = [&](const char* key, const char* value) {
        std::vector<std::string> a = At(12.7, -0.6, 1, "V", "1", 3, 9);
        for (std::size_t i = 0; i + 1 < a.size(); ++i)
            if (a[i] == key) a[i + 1] = value;
        return a;
    };
    for (const Bad& b : {Bad{with("--filter", "Q"), 2}, Bad{with("--integration-s", "2"), 2},
                         Bad{with("--count", "6"), 2}, Bad{with("--telescope", "3"), 2},
                         Bad{with("--date", "2002-13-01"), 2},
                         Bad{with("--ra-hours", "3"), 1}})  // outside the exercise's fields
        EXPECT_EQ(Run(b.args).code, b.code) << b.args[1] << " " << b.args[11] << " " << b.args[13];
}

TEST_F(PhotometryCommandTest, HelpListNamesEveryTopicAndItsRelatedTopics) {
    // The photometer's help as the options name it by default, in the program folder.
    platform::Services services = fake.services();
    auto list = help::LoadHelpList(QNR_PROGRAM_FOLDER "/PhotoHlp.LST", services);
    ASSERT_NE(list, nullptr);
    int topics = 0;
    for (int i = 0; i < list->Count(); ++i) {
        const help::HelpEntry entry = *list->At(i);
        if (entry.IsHeading() || entry.IsSeparator() || entry.file == "end") continue;
        ++topics;
        const auto bytes = test::ReadAll(std::string(QNR_PROGRAM_FOLDER "/") + entry.file);
        const auto topic = help::ExtractTopic(help::SplitTextLines(bytes), entry.text);
        ASSERT_TRUE(topic.has_value()) << entry.text;
        ASSERT_GT(topic->size(), 2u) << entry.text;
        bool related = false;
        for (const std::string& line : *topic) {
            if (line.find("RELATED TOPICS") != std::string::npos) {
                related = true;
                continue;
            }
            if (related && !line.empty()) {
                EXPECT_GE(list->FindTopic(line, false, 0), 0) << entry.text << ": related topic " << line;
            }
        }
    }
    EXPECT_GE(topics, 10);
}

}  // namespace
}  // namespace qnr::photometry
