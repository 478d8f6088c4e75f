// qnrtool ccd on the bundled data tree: the answer key of an image of M87.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "ccd/cli/CcdCommand.h"
#include "support/Fakes.h"
#include "support/ToolRun.h"
#include "tool/Registry.h"

namespace qnr::ccd {
namespace {

struct KeyLine {
    std::string name;
    int kind = -1;
    double x = 0, y = 0, mag = 0;
};

// The key's "name,kind,x,y,mag" lines of the output (names here hold no comma).
std::vector<KeyLine> KeyLines(const std::string& out) {
    std::vector<KeyLine> lines;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) {
        if (l.find(" = ") != std::string::npos) continue;
        std::istringstream fields(l);
        KeyLine k;
        std::string kind, x, y, mag;
        if (!std::getline(fields, k.name, ',') || !std::getline(fields, kind, ',') || !std::getline(fields, x, ',') ||
            !std::getline(fields, y, ',') || !std::getline(fields, mag))
            continue;
        k.kind = std::stoi(kind);
        k.x = std::stod(x);
        k.y = std::stod(y);
        k.mag = std::stod(mag);
        lines.push_back(k);
    }
    return lines;
}

const KeyLine* Find(const std::vector<KeyLine>& key, const std::string& name) {
    for (const KeyLine& k : key)
        if (k.name == name) return &k;
    return nullptr;
}

class CcdCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.identity.program = QNR_PROGRAM_FOLDER "/";
        platform.identity.userData = tmp.file("userdata/");
        if (!platform.files.exists(QNR_PROGRAM_FOLDER "/ZARN_GLX.DAT"))
            GTEST_SKIP() << "the bundled data tree is not laid out in " QNR_PROGRAM_FOLDER;
        RegisterCommands(registry);
    }
    test::ToolRun Image(const std::string& telescope) {
        return test::RunTool(registry, platform.services(),
                             {"ccd", "--ra-hours", "12.5137287", "--dec-deg", "12.3911233", "--date", "2002-04-14",
                              "--time", "04:00:00", "--exposure-s", "60", "--seed", "1", "--telescope", telescope,
                              "-o", tmp.file("m87.fit")});
    }
    test::TempFolder tmp;
    test::FakePlatform platform;
    tool::Registry registry;
};

// The galaxies drawn on the image are in its key, as the stars are: M87 at
// the centre; with the 0.4 m telescope's wider chip its companion NGC 4486B
// (5.9' north, 4.3' west) too.
TEST_F(CcdCommandTest, TheKeyListsTheGalaxiesOnTheChip) {
    const test::ToolRun one = Image("1");
    ASSERT_EQ(one.code, 0) << one.err;
    const std::vector<KeyLine> key = KeyLines(one.out);
    const KeyLine* m87 = Find(key, "M 87 (NGC 4486)");
    ASSERT_NE(m87, nullptr) << one.out;
    EXPECT_EQ(m87->kind, 1);
    EXPECT_NEAR(m87->x, 512, 0.5);
    EXPECT_NEAR(m87->y, 512, 0.5);
    EXPECT_NEAR(m87->mag, 8.6, 0.005);  // the catalog's V
    EXPECT_EQ(Find(key, "NGC 4486B"), nullptr);  // north of the 9.2' chip
    EXPECT_GT(std::count_if(key.begin(), key.end(), [](const KeyLine& k) { return k.kind == 0; }), 10);

    const test::ToolRun wide = Image("0");
    ASSERT_EQ(wide.code, 0) << wide.err;
    const std::vector<KeyLine> wideKey = KeyLines(wide.out);
    const KeyLine* b = Find(wideKey, "NGC 4486B");
    ASSERT_NE(b, nullptr) << wide.out;
    EXPECT_EQ(b->kind, 1);
    // 18.3' over 1024 pixels: 4.27' west is 239 pixels right, 5.94' north 332 up.
    EXPECT_NEAR(b->x, 512 + 239, 3);
    EXPECT_NEAR(b->y, 512 - 332, 3);
    EXPECT_NEAR(b->mag, 13.4, 0.005);
}

}  // namespace
}  // namespace qnr::ccd
