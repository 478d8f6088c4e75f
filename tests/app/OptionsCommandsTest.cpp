#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "app/Options.h"
#include "app/cli/AppCommands.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::app {
namespace {

using test::ToolRun;

class OptionsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterCommands(registry);
        platform.identity.program = tmp.file("program/");
    }
    ToolRun Call(std::vector<std::string> argv) {
        return test::RunTool(registry, platform.services(), argv);
    }
    std::string Line(const std::string& text, const std::string& key) {
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);)
            if (l.rfind(key + " = ", 0) == 0) return l.substr(key.size() + 3);
        return "<missing>";
    }

    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

TEST_F(OptionsCommandsTest, DefaultsRoundTripThroughShow) {
    const std::string file = tmp.file("X.INI");
    ToolRun written = Call({"options", "defaults", file});
    ASSERT_EQ(written.code, 0) << written.err;
    EXPECT_EQ(test::ReadAll(file).size(), OptionsFileSize);

    ToolRun shown = Call({"options", "show", file});
    ASSERT_EQ(shown.code, 0) << shown.err;
    struct Row { const char* key; const char* value; };
    const Row rows[] = {
        {"file_version", "1.121"},
        {"logo_bitmap", "ZARNLOGO.BMP"},
        {"hot_list_file", "Quenara.HTL"},
        {"orbit_file_kind", "1"},
        {"finder_mag_limit", "11.5"},
        {"telescope.0.name", "0.4m (16\") Telescope"},
        {"telescope.0.longitude_deg", "-77.2405556"},
        {"telescope.0.latitude_deg", "39.8402778"},
        {"telescope.1.longitude_deg", "-111.6"},
        {"telescope.2.latitude_deg", "31.9633333"},
        {"telescope.2.horizon_limit_deg", "10.0"},
        {"telescope.2.focal_length_mm", "10287"},
        {"telescope.0.aperture_mm", "406.4"},
        {"camera.name", "Site CH350 003B Back-Illuminated"},
        {"camera.well_depth", "320000"},
        {"password_length", "4"},
        {"login_required", "1"},
        {"edit_mode", "0"},
        {"restrict_scope_access", "1"},
    };
    EXPECT_EQ(Line(shown.out, "source"), file);
    for (const auto& r : rows) EXPECT_EQ(Line(shown.out, r.key), r.value) << r.key;
    EXPECT_EQ(shown.out.find("MVRQ"), std::string::npos);  // the password itself is never shown

    // 4586 bytes hold 127 saved fields (the password counted once, as its length).
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 1 + 127);
}

TEST_F(OptionsCommandsTest, BadFilesAndArgumentsExitNonZero) {
    test::WriteAll(tmp.file("short.INI"), {5, '1', '.', '1', '2', '1'});
    ToolRun shortFile = Call({"options", "show", tmp.file("short.INI")});
    EXPECT_EQ(shortFile.code, 1);
    EXPECT_NE(shortFile.err.find("is not a usable options file"), std::string::npos);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].caption, "File Error");

    EXPECT_EQ(Call({"options", "show", tmp.file("missing.INI")}).code, 1);
    EXPECT_EQ(Call({"options", "defaults"}).code, 2);
    EXPECT_EQ(Call({"options", "defaults", tmp.file("a"), tmp.file("b")}).code, 2);
    EXPECT_EQ(Call({"options", "show", "--bogus"}).code, 2);
    EXPECT_EQ(Call({"options", "nonsense"}).code, 2);
    EXPECT_EQ(Call({"nonsense"}).code, 2);
    EXPECT_EQ(Call({}).code, 2);
    EXPECT_EQ(Call({"options", "defaults", tmp.path()}).code, 1);  // a folder
    ToolRun help = Call({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("options show [FILE]"), std::string::npos);
}

}  // namespace
}  // namespace qnr::app
