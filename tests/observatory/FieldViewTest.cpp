// The star kit, the projection and the field view on small pictures and a
// small catalog tree written by the catalogs' own writers.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogs/CatalogFixture.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/FieldView.h"
#include "observatory/StarKit.h"

namespace qnr::observatory {
namespace {

constexpr Extended JD = 2452379.0L;

TEST(StarKit, TemplatesAndPictures) {
    // Values worked by hand from A exp(-r^2 / 2 sigma^2) plus the cross.
    struct Row {
        int amplitude;
        double sigma;
        int dx, dy, value;
    } rows[] = {
        {2000, 6.0, 0, 0, 3000},      // peak + S on the centre column
        {2000, 6.0, 0, 49, 20},       // column tip: 1000 (1 - 49/50)
        {2000, 6.0, 1, 10, 892},      // 2000 e^(-101/72) = 491.8 -> 492, + 400 beside the column
        {2000, 6.0, 30, 0, 400},      // row arm only: 1000 (1 - 30/50)
        {2000, 6.0, 20, 1, 308},      // beside the row: 500 - 200, + 2000 e^(-401/72) = 7.6
        {45000, 2.0, 3, 3, 0},        // off both arms: the Gaussian alone
    };
    rows[5].value = static_cast<int>(std::nearbyint(45000 * std::exp(-18.0 / 8)));
    for (const Row& r : rows) {
        const std::vector<int> t = PsfTemplate(r.amplitude, r.sigma);
        ASSERT_EQ(t.size(), 99u * 99u);
        EXPECT_EQ(t[static_cast<std::size_t>(49 + r.dy) * 99 + 49 + r.dx], r.value) << r.dx << "," << r.dy;
    }
    const StarKit& kit = StarKit::Shared();
    EXPECT_EQ(kit.Small(0).size, 99);
    EXPECT_EQ(kit.Large(0).size, 249);
    EXPECT_EQ(kit.Small(0).at(49, 49), 255);   // capped
    EXPECT_EQ(kit.Small(14).at(49, 49), 71);   // 46000 x 0.63^14 = 71.4
    EXPECT_EQ(kit.Large(0).at(124, 124), 255);
    EXPECT_EQ(kit.Large(14).at(124, 124), 58);  // 255 x 0.9^14 = 58.3
    EXPECT_EQ(kit.Small(99).at(49, 49), kit.Small(14).at(49, 49));  // classes are limited
}

TEST(StarKit, DrawBrightensOnlyAndClips) {
    const StarKit& kit = StarKit::Shared();
    Raster r(11, 11, Rgb(0, 0, 0));
    r.at(5, 5) = Rgb(250, 0, 0);   // red above the star's 71: kept
    r.at(6, 5) = Rgb(10, 200, 200);  // red below: replaced by grey
    kit.DrawSmall(r, 14, 5, 5);
    EXPECT_EQ(r.at(5, 5), Rgb(250, 0, 0));
    const int v = kit.Small(14).at(50, 49);
    ASSERT_GE(v, 30);
    EXPECT_EQ(r.at(6, 5), Rgb(v, v, v));
    // Values below 30 leave the target alone: a class-14 star's far cross arm.
    ASSERT_LT(kit.Small(14).at(49 + 5, 49 + 5), 30);
    EXPECT_EQ(r.at(10, 10), Rgb(0, 0, 0));
    // Centres far outside the picture draw nothing and do not fault.
    Raster edge(3, 3, Rgb(0, 0, 0));
    kit.DrawSmall(edge, 0, -60, -60);
    kit.DrawSmall(edge, 0, 1000, 1);
    for (std::uint32_t p : edge.pixels) EXPECT_EQ(p, Rgb(0, 0, 0));
    kit.DrawSmall(edge, 0, -2, 1);  // the cross arm reaches in
    EXPECT_NE(edge.at(0, 1), Rgb(0, 0, 0));
}

TEST(StarKit, MagnitudeClasses) {
    struct Row {
        ClassTable table;
        double magnitude;
        int k;
    } rows[] = {
        {{1, false}, 1.4, 0},   // the bright-star example: class 0 at projection
        {{1, false}, 2.5, 1},   // ties to even: 2
        {{1, false}, 3.5, 3},   // ties to even: 4
        {{1, true}, 3.9, 2},    // cutting
        {{-2, false}, 0.0, 2},
        {{6, false}, 3.0, 0},   // negative becomes 0
    };
    for (const Row& r : rows) EXPECT_EQ(r.table.ClassOf(r.magnitude), r.k) << r.magnitude;
    // Drawn with the scope offset and limited: 4.0 m (3) gives 0, 0.4 m (-2) gives 2.
    EXPECT_EQ(StarKit::Clamp(0 - 3), 0);
    EXPECT_EQ(StarKit::Clamp(0 + 2), 2);
}

TEST(FieldGeometry, OutlinesProjectionAndAxisRatio) {
    EXPECT_EQ(EvenOutline(312 * 15.0 / 150), 32);  // default finder square: 31.2
    EXPECT_EQ(EvenOutline(30.5), 30);              // ties to even first
    EXPECT_EQ(EvenOutline(31.5), 32);
    EXPECT_EQ(EvenOutline(33.0), 34);

    // 936 pixels over 0.75 degrees (telescope view, default options).
    const FieldProjection p = FieldProjection::Make(23.99L, 10, 936, 936, 0.75L);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.sy), 1248.0);
    EXPECT_LT(p.X(10, 23.995L), p.x0);  // east to the left
    EXPECT_LT(p.X(10, 0.005L), p.X(10, 23.995L));  // across 0 h
    EXPECT_LT(p.Y(10.1L), p.y0);        // north up
    EXPECT_NEAR(static_cast<double>(p.RA(10, p.X(10, 0.005L))), 24.005, 1e-9);
    const FieldProjection pole = FieldProjection::Make(3, 90, 936, 936, 0.75L);
    EXPECT_TRUE(std::isfinite(static_cast<double>(pole.RA(90, 10))));

    GalaxyEntry g;
    g.typeCode = 3;
    for (double ra : {12.5, 3.25, 0.0}) {  // frac(RA x 1000) = 0
        g.ra = ra;
        EXPECT_DOUBLE_EQ(GalaxyAxisRatio(g), MinAxisRatio) << ra;
    }
    g.ra = 1.0004;
    EXPECT_NEAR(GalaxyAxisRatio(g), 0.4, 1e-6);
    g.typeCode = -2;
    EXPECT_DOUBLE_EQ(GalaxyAxisRatio(g), 0.8);
    g.major = 4;
    g.minor = 1;
    EXPECT_DOUBLE_EQ(GalaxyAxisRatio(g), 0.25);
}

// A tree around 23.95h +3.5: exercise regions either side of 0h, one region
// east of them that the exercise does not offer.
struct FieldTree : ::testing::Test {
    FieldTree() {
        tree.writeTable();
        tree.quasars({});
        tree.imageList({});
        std::vector<InstrumentStarRecord> west;
        west.push_back(MakeInstrumentStar("00001", 23.95, 3.5, 9.0, 0.6, 0.1, 0, 0));
        for (int i = 0; i < 40; ++i)
            west.push_back(MakeInstrumentStar("1" + std::to_string(1000 + i).substr(1), 23.94 + 0.0005 * i,
                                              3.45 + 0.0025 * i, 14.0 + 0.1 * (i % 10), 0.6, 0.1, 0, 0));
        tree.stars(test::RegionWest, west);
        tree.stars(test::RegionEast, {MakeInstrumentStar("00001", 0.02, 3.5, 12.0, 0.5, 0.1, 0, 0)});
        tree.stars(test::RegionOther, {MakeInstrumentStar("00001", 0.7, 3.5, 12.0, 0.5, 0.1, 0, 0)});
        tree.finderStars(test::RegionWest, {{23.95, 3.5, 9.0f, "00001"}, {23.9, 3.0, 6.0f, "00002"}});
        tree.finderStars(test::RegionEast, {{0.05, 3.5, 8.0f, "00001"}});
        tree.finderStars(test::RegionOther, {{0.7, 3.5, 8.0f, "00001"}});
        GalaxyRecord m31 = test::Galaxy("224", 23.952, 3.52, 11.0f);
        GalaxyRecord other = test::Galaxy("2240", 23.948, 3.47, 12.0f);
        other.major = 1.0f;
        other.minor = 0.0f;  // no diameter ratio: the type fallback
        other.ra = 23.948;   // frac(23948) = 0 before the floor
        tree.galaxies({other, m31});
    }
    ViewRequest At(double ra, double dec, bool telescope) {
        ViewRequest r;
        r.telescope = telescope;
        r.ra = ra;
        r.dec = dec;
        r.jd = JD;
        r.scopeOffset = 0;
        r.finderOffset = 0;
        r.cameraWidth = 10;
        r.cameraHeight = 8;
        return r;
    }
    test::CatalogTree tree;
};

TEST_F(FieldTree, PhotometerApertureKeepsTheTelescopeScale) {
    // The aperture's angular radius is (r + 0.5) / sy of the telescope view;
    // a finder field's scale is ten times coarser and must not be taken.
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ASSERT_EQ(view.Update(At(23.95, 3.5, true)), ViewOutcome::Built);
    view.SetPhotometerAperture(20);
    EXPECT_NEAR(static_cast<double>(view.apertureDegrees()), 20.5 / 1248, 1e-12);
    view.TakeNotices();
    ASSERT_EQ(view.Update(At(23.95, 3.5, false)), ViewOutcome::Built);
    view.SetPhotometerAperture(30);
    EXPECT_NEAR(static_cast<double>(view.apertureDegrees()), 20.5 / 1248, 1e-12);
    view.TakeNotices();
    ASSERT_EQ(view.Update(At(23.95, 3.5, true)), ViewOutcome::Built);
    EXPECT_EQ(view.outlines().apertureRadius, 30);
    EXPECT_NEAR(static_cast<double>(view.apertureDegrees()), 30.5 / 1248, 1e-12);
}

TEST_F(FieldTree, NewFieldRuleAndCentreBrightness) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ViewRequest r = At(23.95, 3.5, true);
    ASSERT_EQ(view.Update(r), ViewOutcome::Built);
    EXPECT_EQ(view.field().width, 936);
    EXPECT_EQ(view.cornerX(), 312);
    EXPECT_EQ(view.outlines().ccdWidth, EvenOutline(312 * 10 / 15.0));  // 208
    EXPECT_EQ(view.outlines().apertureRadius, 10);
    EXPECT_NEAR(static_cast<double>(view.apertureDegrees()), 10.5 / 1248, 1e-12);
    // The magnitude-9 star sits on the centre.
    view.TakeNotices();  // read as the window would
    const int onStar = view.CentreBrightness();
    EXPECT_GT(onStar, 100);
    const std::optional<FieldObject> centre = view.CurrentObject(r);
    ASSERT_TRUE(centre);
    EXPECT_EQ(centre->name.substr(0, 5), "00282");

    // Drift of 0.1 view widths: the picture moves, no catalog read.
    const double hourPerPixel = 1 / (1248.0 * 15 * std::cos(3.5 * M_PI / 180));
    r.ra = 23.95 + 31 * hourPerPixel;
    EXPECT_EQ(view.Update(r), ViewOutcome::Shown);
    EXPECT_EQ(view.builds(), 1);
    EXPECT_EQ(view.cornerX(), 312 - 31);
    EXPECT_LT(view.CentreBrightness(), onStar / 4);  // only its cross arm is left at the centre
    // Into the outer third: a new field.
    r.ra = 23.95 + 320 * hourPerPixel;
    EXPECT_EQ(view.Update(r), ViewOutcome::Built);
    EXPECT_EQ(view.builds(), 2);
    view.TakeNotices();
    // A new observation time rebuilds at once, as does the finder's magnification.
    r.timeChanged = true;
    EXPECT_EQ(view.Update(r), ViewOutcome::Built);
    view.TakeNotices();
    r.timeChanged = false;
    r.telescope = false;
    EXPECT_EQ(view.Update(r), ViewOutcome::Built);
    EXPECT_EQ(view.outlines().finderSquare, 32);
    EXPECT_EQ(view.builds(), 4);
}

TEST_F(FieldTree, AFieldTakesTheRequestsTelescopeForItsGalaxyPictures) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ViewRequest r = At(23.95, 3.5, true);
    r.telescopeIndex = 2;
    ASSERT_EQ(view.Update(r), ViewOutcome::Built);
    EXPECT_EQ(sky.instrument.hooks.telescope, 2);
    EXPECT_EQ(sky.finder.hooks.telescope, 2);
}

TEST_F(FieldTree, M31ByWholeDesignationAndGlowFloor) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ASSERT_EQ(view.Update(At(23.95, 3.5, true)), ViewOutcome::Built);
    const std::vector<platform::Message> notices = view.TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "Image Too Large!");
    // NGC 2240 is drawn (a glow of at least a few pixels high despite its zero ratio); NGC 224 is not.
    EXPECT_TRUE(view.galaxiesDrawn());
    const FieldProjection& p = view.projection();
    const int gx = static_cast<int>(std::nearbyint(p.X(3.47, 23.948)));
    const int gy = static_cast<int>(std::nearbyint(p.Y(3.47)));
    EXPECT_GT(RedOf(view.galaxyLayer().at(gx, gy)), 0);
    const int mx = static_cast<int>(std::nearbyint(p.X(3.52, 23.952)));
    const int my = static_cast<int>(std::nearbyint(p.Y(3.52)));
    EXPECT_EQ(RedOf(view.galaxyLayer().at(mx, my)), 0);
}

// The camera's answer key needs to know where each galaxy's glow went: the
// box of lit pixels, in the view window's pixels as the camera gets the layer.
TEST_F(FieldTree, DrawnGalaxiesKeepTheBoxTheirGlowLit) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ViewRequest r = At(23.95, 3.5, true);
    ASSERT_EQ(view.Update(r), ViewOutcome::Built);
    view.TakeNotices();
    const auto check = [&](const char* why) {
        const std::vector<DrawnGalaxy> drawn = view.ViewGalaxies();
        ASSERT_EQ(drawn.size(), 1u) << why;  // NGC 224 is not drawn
        const DrawnGalaxy& g = drawn[0];
        EXPECT_EQ(g.object.kind, KindGalaxy) << why;
        EXPECT_NEAR(g.object.ra, 23.948, 1e-9) << why;
        EXPECT_NEAR(g.object.V, 12.0f, 1e-6) << why;
        const Raster layer = view.ViewGalaxyLayer();
        int left = layer.width, right = -1, top = layer.height, bottom = -1;
        for (int y = 0; y < layer.height; ++y)
            for (int x = 0; x < layer.width; ++x)
                if (RedOf(layer.at(x, y)) > 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, left) << why;
        EXPECT_EQ(g.left, left) << why;
        EXPECT_EQ(g.right, right) << why;
        EXPECT_EQ(g.top, top) << why;
        EXPECT_EQ(g.bottom, bottom) << why;
    };
    check("built");
    // Drift moves the view window over the same field, and the boxes with it.
    r.ra = 23.95 + 20 / (1248.0 * 15 * std::cos(3.5 * M_PI / 180));
    ASSERT_EQ(view.Update(r), ViewOutcome::Shown);
    check("drifted");
}

TEST_F(FieldTree, FieldNotAvailableIsReportedOnceAndBlocksRebuilds) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ViewRequest r = At(0.7, 3.5, true);
    EXPECT_EQ(view.Update(r), ViewOutcome::NotAvailable);
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());  // nothing modal from the build itself
    EXPECT_TRUE(view.hasNotices());
    // Further ticks while the message waits build nothing.
    EXPECT_EQ(view.Update(At(0.7, 3.5, false)), ViewOutcome::Kept);
    std::vector<platform::Message> n = view.TakeNotices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].text, FieldNotAvailableText);
    EXPECT_TRUE(view.TakeFinderFallback());
    EXPECT_FALSE(view.TakeFinderFallback());
    view.SetNoticeUp(true);
    EXPECT_EQ(view.Update(At(0.7, 3.5, false)), ViewOutcome::Kept);
    view.SetNoticeUp(false);
    EXPECT_EQ(view.Update(At(0.7, 3.5, false)), ViewOutcome::Built);  // the finder may show it
}

TEST_F(FieldTree, ClickIdentifiesNearestAndMarksIt) {
    SkyCatalogs sky(tree.services, tree.opts);
    FieldView view(tree.opts, sky);
    ASSERT_EQ(view.Update(At(23.95, 3.5, false)), ViewOutcome::Built);
    // The finder's magnitude-6 star at 23.9h +3.0: east-west 0.05h is 0.75 deg.
    const FieldProjection& p = view.projection();
    const int vx = static_cast<int>(std::nearbyint(p.X(3.0, 23.9))) - view.cornerX();
    const int vy = static_cast<int>(std::nearbyint(p.Y(3.0))) - view.cornerY();
    std::optional<Identified> id = view.Identify(vx + 3, vy - 2, false);
    ASSERT_TRUE(id);
    EXPECT_TRUE(id->star);
    EXPECT_FLOAT_EQ(id->object.V, 6.0f);
    ASSERT_TRUE(view.marked());
    EXPECT_EQ(*view.marked(), std::make_pair(vx, vy));
}

TEST(SiteReport, Lines) {
    app::OptsRec opts;
    opts.siteName = "Hill";
    opts.siteLongitude = -(71 + 30 / 60.0 + 15 / 3600.0) * DegToRad;
    opts.siteLatitude = (41 + 5 / 60.0) * DegToRad;
    opts.siteAltitude = 120.25f;
    opts.limitSlewing = true;
    opts.siteHorizonLimit = 10 * DegToRad;
    opts.telescopes[1].name = "1.0 m";
    opts.telescopes[1].aperture = 1000;
    opts.telescopes[1].focalLength = 8000;
    opts.telescopes[1].utMinusLocal = 1;
    const std::vector<std::string> l = SiteReportLines(opts, 1);
    ASSERT_EQ(l.size(), 10u);
    EXPECT_EQ(l[0], "Site Name/ID: Hill");
    EXPECT_EQ(l[1], "Longitude: 71\xB0" "30'15\" W");
    EXPECT_EQ(l[2], "Latitude: 41\xB0" "05'00\" N");
    EXPECT_EQ(l[3], "Altitude: 120.2 Meters");
    EXPECT_EQ(l[4], "Horizon Height: 10.0 Degrees");
    EXPECT_EQ(l[5], "Time Zone (UT-Local Time): 1.0 Hour");
    EXPECT_EQ(l[6], "");
    EXPECT_EQ(l[9], "Focal Length: 8000.0 mm");
}

TEST(SkyImagePrint, TextsUnderThePicture) {
    app::OptsRec opts;
    opts.instrumentField = 15;
    opts.finderField = 2;
    opts.telescopes[2].name = "4.0 m";
    const SkyImageTexts t = SkyImagePrintTexts(opts, true, 2, 1, 12.5, -2.5);
    EXPECT_EQ(t.rightAscension, "Right Ascension:  12h 30m 00.0s");
    EXPECT_EQ(t.declination, "Declination:      -2\xB0 30' 00\"");
    EXPECT_EQ(t.fieldSize, "Field Size: 15.0 Arc Minutes");
    EXPECT_EQ(t.telescope, "Telescope: 4.0 m");
    EXPECT_EQ(t.instrument, "Instrument: Photoelectric Photometer");
    const SkyImageTexts f = SkyImagePrintTexts(opts, false, -1, 0, 0, 0);
    EXPECT_EQ(f.fieldSize, "Field Size: 2.0 Degrees");
    EXPECT_EQ(f.telescope, "Telescope: ");
    EXPECT_EQ(f.instrument, "Instrument: Finder");
}

}  // namespace
}  // namespace qnr::observatory
