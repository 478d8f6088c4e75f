// Galaxies and quasars: the catalogs, the picture list and the type texts.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogs/CatalogFixture.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/SkyCatalogs.h"

namespace qnr {
namespace {

using test::CatalogTree;

TEST(GalaxyType, TextsFromTheCatalogCodes) {
    struct Row {
        int type;
        char bar, lum, variety;
        const char* text;
    } rows[] = {
        {3, 'X', '4', 's', "SABb(s) II-III"},  // the worked example
        {3, 'B', ' ', ' ', "SBb"},
        {3, ' ', ' ', ' ', "Sb"},
        {-2, 'B', ' ', ' ', "SB0"},          // "L, S0": leading characters go until the S
        {10, 'B', '9', ' ', "IBm V"},
        {-5, ' ', '1', ' ', "E, dwarf E I"},
        {-9, ' ', ' ', ' ', "QSO/AGN"},
        {20, ' ', ' ', 'r', "Unclassified Spiral(r)"},
        // Mended: an empty type name, or one without S or I, with a bar ran the
        // removal past the end; the bar is now left out.
        {-8, 'B', ' ', ' ', ""},
        {13, 'X', '3', ' ', " II"},
        {-7, 'B', ' ', ' ', "Unclassified Elliptical"},
        {25, 'B', ' ', ' ', ""},  // outside the table: no name
        {-12, ' ', ' ', 'p', "(p)"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(GalaxyTypeText(r.type, r.bar, r.lum, r.variety), r.text) << r.type << " " << r.bar;
}

TEST(GalaxyType, ColoursAndSpectralTypesByCode) {
    struct Row {
        int type;
        Single bv, ub;
        const char* sp;
    } rows[] = {
        {-9, -0.35f, -1.15f, "O5"}, {-6, 0.92f, 0.5f, "K2"},   {0, 0.92f, 0.48f, "K2"}, {2, 0.82f, 0.28f, "G9"},
        {3, 0.81f, 0.27f, "G8"},    {4, 0.63f, -0.02f, "G2"},  {7, 0.52f, -0.12f, "F8"}, {16, 0.5f, -0.2f, "F7"},
        {20, 0.7f, 0.0f, "G6"},     {18, 0.7f, 0.0f, "G6"},    {-30, 0.7f, 0.0f, "G6"},
    };
    for (const auto& r : rows) {
        const GalaxyColours c = GalaxyColoursOf(r.type);
        EXPECT_FLOAT_EQ(c.BV, r.bv) << r.type;
        EXPECT_FLOAT_EQ(c.UB, r.ub) << r.type;
        EXPECT_EQ(SpTypeText(c.spType), r.sp) << r.type;
    }
}

TEST(GalaxyMagnitudes, SumAndRatio) {
    // Two equal sources are 2.5 log10 2 brighter; a 20 magnitudes fainter one adds nothing visible.
    EXPECT_NEAR(MagnitudeSum(10, 10), 10 - 2.5 * std::log10(2.0), 1e-12);
    EXPECT_NEAR(MagnitudeSum(10, 30), 10, 1e-7);
    EXPECT_NEAR(MagnitudeSum(12, 11), MagnitudeSum(11, 12), 1e-12);
    EXPECT_NEAR(MagnitudeOfRatio(0.01L, 10), 15, 1e-12);
    EXPECT_EQ(MagnitudeOfRatio(0, 10), 30);
    EXPECT_EQ(MagnitudeOfRatio(-1, 10), 30);
}

TEST(GalaxyImageList, LinesAndTheirNames) {
    struct Row {
        const char* line;
        bool read;
        const char* name;
        Single magnitude;
    } rows[] = {
        {"M 31,224,3.4,0.712,41.27,M31.BMP,1,2,150,160", true, "M 31 (NGC 224)", 3.4f},
        {",4565,,12.6,25.99,N4565.BMP,0,0,10,20", true, "NGC 4565", 0},  // no designation, no magnitude
        {"M 104 Sombrero,4594,8.0,12.67,-11.62,M104.BMP,0,0,5,5", true, "M 104 Sombrero (NG", 8.0f},
        {"M 31,224,3.4,0.712,41.27", false, "", 0},  // no picture part
        {"M 51,5194,8.4,13.5,47.2,M51.BMP,0,0,x,5", false, "", 0},
        {"M 51,5194,8.4,13h,47.2,M51.BMP,0,0,5,5", false, "", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.line);
        const auto e = ParseGalaxyImageLine(r.line);
        ASSERT_EQ(e.has_value(), r.read);
        if (!e) continue;
        EXPECT_EQ(e->name, r.name);
        EXPECT_FLOAT_EQ(e->magnitude, r.magnitude);
    }
    const auto m31 = ParseGalaxyImageLine(rows[0].line);
    EXPECT_DOUBLE_EQ(m31->ra, 0.712);
    EXPECT_DOUBLE_EQ(m31->dec, 41.27);
    EXPECT_EQ(m31->fileName, "M31.BMP");
    EXPECT_EQ(m31->x0, 150);
    EXPECT_EQ(m31->y0, 160);
    // The writer's lines read back as written.
    GalaxyImageLine line{"M 33", "598", 5.7f, 1.564, 30.66, "M33.BMP", 3, 4, 7, 8};
    const auto back = ParseGalaxyImageLine(FormatGalaxyImageLine(line));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, "M 33 (NGC 598)");
    EXPECT_EQ(back->extra1, 3);
    EXPECT_EQ(back->y0, 8);
}

TEST(GalaxyImageList, PicturesAreGreyFromTheRedChannel) {
    ExtObjBmp bmp;
    MessierEntry e;
    e.fileName = "M31.BMP";
    e.x = 10.5;
    e.y = 20.4;
    e.x0 = 3;
    e.y0 = 4;
    std::string asked;
    ImageLoader loader = [&](const std::string& path) {
        asked = path;
        return std::optional<RgbImage>(RgbImage{3, 1, {200, 1, 2, 100, 50, 50, 255, 0, 0}});
    };
    ASSERT_TRUE(bmp.Load(e, "/images/", 2, loader));
    EXPECT_EQ(asked, "/images/M31.BMP");
    // 4.0 m: factor 1.2 x 0.8 = 0.96.
    EXPECT_EQ(bmp.image->grey, (std::vector<std::uint8_t>{192, 96, 245}));
    ASSERT_TRUE(bmp.Load(e, "/images/", 0, loader));
    EXPECT_EQ(bmp.image->grey, (std::vector<std::uint8_t>{112, 56, 143}));  // 0.56
    EXPECT_EQ(bmp.Origin(), (std::pair<int, int>{10 - 3, 20 - 4}));  // 10.5 rounds to even
    EXPECT_FALSE(bmp.Load(e, "/images/", 0, nullptr));
    EXPECT_EQ(bmp.image, nullptr);
}

TEST(GalaxyIndex, StartsAtTheHourMarkOfMinRA) {
    std::vector<GalaxyRecord> records;
    for (double ra : {0.5, 1.2, 1.8, 5.1, 5.9, 6.0, 23.5}) records.push_back(test::Galaxy("1", ra, 0, 10));
    const auto index = BuildGalaxyIndex(records);
    ASSERT_EQ(index.size(), 25u);
    EXPECT_EQ(DecodeGalaxyIndex(EncodeGalaxyIndex(index)).size(), 25u);
    EXPECT_EQ(index.back().record, 7);
    struct Row {
        double minRA;
        std::int32_t start;
    } rows[] = {{0.0, 0}, {1.5, 1}, {5.5, 3}, {6.0, 5}, {12.0, 6}, {23.99, 6}};
    for (const auto& r : rows) EXPECT_EQ(GalaxyIndexStart(index, r.minRA), r.start) << r.minRA;
    EXPECT_EQ(GalaxyIndexName("/a/b.c/ZARN_GLX.DAT"), "/a/b.c/ZARN_GLX.NDX");
}

class GalaxyFieldTest : public testing::Test {
protected:
    void SetUp() override {
        tree.writeTable();
        tree.stars(test::RegionWest, {MakeInstrumentStar("00001", 23.99, 3.0, 12.0, 0.5, 0.1, 0, 0)});
        tree.stars(test::RegionEast, {MakeInstrumentStar("00001", 0.15, 3.0, 12.0, 0.5, 0.1, 0, 0)});
        tree.finderStars(test::RegionWest, {{23.99, 3.0, 10.0f, "00001"}});
        tree.finderStars(test::RegionEast, {{0.15, 3.0, 10.0f, "00001"}});
        tree.quasars({});
        tree.galaxies({test::Galaxy("10", 0.10, 3.5, 14.0f, 3, 'X', '4', 's'), test::Galaxy("20", 0.50, 3.5, 12.0f),
                       test::Galaxy("30", 12.0, 3.5, 12.0f), test::Galaxy("224", 23.85, 3.5, 4.0f),
                       test::Galaxy("2240", 23.86, 3.6, 13.0f), test::Galaxy("40", 23.90, 3.5, 19.0f),
                       test::Galaxy("50", 23.95, 3.9, 21.0f)});
        tree.imageList({{"M 31", "224", 3.4f, 23.85, 3.5, "M31.BMP", 0, 0, 50, 60},
                        {"", "50", {}, 23.95, 3.9, "N50.BMP", 0, 0, 1, 1},
                        {"M 99", "99", 9.0f, 6.0, 3.5, "M99.BMP", 0, 0, 1, 1}});
    }
    std::vector<std::string> GalaxyNames(GSCFieldObj& f) {
        std::vector<std::string> out;
        f.galaxies.Reset();
        while (const GalaxyEntry* g = f.galaxies.Next()) out.push_back(g->name);
        return out;
    }
    CatalogTree tree;
    const FieldLimits across{23.8, 0.2, 3.0, 4.0, 20};
};

TEST_F(GalaxyFieldTest, BothEndsOfTheCatalogAcrossZero) {
    SkyCatalogs sky(tree.services, tree.opts);
    int loads = 0;
    FieldHooks hooks;
    hooks.telescope = 1;
    hooks.loadImage = [&](const std::string&) {
        ++loads;
        return std::optional<RgbImage>(RgbImage{1, 1, {100, 0, 0}});
    };
    sky.SetHooks(hooks);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    // In RA order: 0.1h first. NGC 50 (21 mag) is fainter than the limit even
    // with a picture; NGC 20 and NGC 30 lie outside.
    EXPECT_EQ(GalaxyNames(sky.instrument),
              (std::vector<std::string>{"NGC 10", "M 31 (NGC 224)", "NGC 2240", "NGC 40"}));
    EXPECT_EQ(loads, 1);
    const GalaxyEntry& m31 = *sky.instrument.galaxies.ItemAt(1);
    ASSERT_NE(m31.image, nullptr);
    EXPECT_EQ(m31.image->entry.fileName, "M31.BMP");
    EXPECT_EQ(m31.image->image->grey, (std::vector<std::uint8_t>{68}));  // 1.0 m: 100 x 0.68
    // Mended: the picture of NGC 224 is not taken by NGC 2240.
    EXPECT_EQ(sky.instrument.galaxies.ItemAt(2)->image, nullptr);

    const GalaxyEntry& g = *sky.instrument.galaxies.ItemAt(0);
    EXPECT_EQ(GalaxyTypeText(g), "SABb(s) II-III");
    EXPECT_FLOAT_EQ(g.BV, 0.81f);
    EXPECT_FLOAT_EQ(g.UB, 0.27f);
    EXPECT_EQ(g.spType, ParseSpType("G8"));
    EXPECT_FLOAT_EQ(g.major, 2.0f);
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());
}

TEST_F(GalaxyFieldTest, FinderGalaxiesHaveNoColoursAndNoPictures) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Finder, across, 2452379.0L), FieldStatus::Opened);
    // The finder reads to magnitude 12.
    EXPECT_EQ(GalaxyNames(sky.finder), (std::vector<std::string>{"NGC 224"}));
    const GalaxyEntry& g = *sky.finder.galaxies.ItemAt(0);
    EXPECT_EQ(g.BV, NoMagnitude);
    EXPECT_EQ(g.spType, 0);
    EXPECT_EQ(g.image, nullptr);
}

TEST_F(GalaxyFieldTest, NormalFieldStartsAtItsIndexMark) {
    SkyCatalogs sky(tree.services, tree.opts);
    tree.region(300, {11.5, 12.5, 0.0, 7.5});
    tree.writeTable();
    tree.finderStars(300, {{12.01, 3.4, 9.0f, "00001"}});
    ASSERT_EQ(sky.OpenField(FieldKind::Finder, {11.9, 12.1, 3.0, 4.0, 14}, 2452379.0L), FieldStatus::Opened);
    EXPECT_EQ(GalaxyNames(sky.finder), (std::vector<std::string>{"NGC 30"}));
}

TEST_F(GalaxyFieldTest, MissingCatalogFilesLeaveTheListEmpty) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    ASSERT_FALSE(sky.instrument.galaxies.IsEmpty());
    const std::string index = tree.opts.programFolder + "ZARN_GLX.NDX";
    tree.services.files->removeFile(index);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    EXPECT_TRUE(sky.instrument.galaxies.IsEmpty());
    EXPECT_EQ(tree.fakes.dialogs.shown().back(),
              "Galaxy Catalog File Error!|Unable to Open Galaxy Catalog Index File!\r\n\r\nFile Name: " + index +
                  "\r\nFile Not Found!");
    const std::string list = tree.opts.galaxyImagesFolder + "GLIMAGES.LST";
    tree.services.files->removeFile(list);
    SkyCatalogs fresh(tree.services, tree.opts);
    fresh.OpenField(FieldKind::Instrument, across, 2452379.0L);
    EXPECT_EQ(tree.fakes.dialogs.shown()[tree.fakes.dialogs.messages.size() - 2],
              "File Error!|Unable to Open Messier Galaxies List!\r\n\r\nFile Name: " + list + "\r\nFile Not Found!");
}

}  // namespace
}  // namespace qnr
