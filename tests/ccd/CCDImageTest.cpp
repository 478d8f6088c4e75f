#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "app/Options.h"
#include "astro/Random.h"
#include "catalogs/SkyCatalogs.h"
#include "ccd/CCD_Img.h"
#include "CcdTestSupport.h"
#include "support/Fakes.h"

namespace qnr::ccd {
namespace {

using test::AddObject;
using test::CameraOpts;
using test::Star;

constexpr double Ra0 = 5.5, Dec0 = 22.0;
// Pixel offsets to sky offsets at 9144 mm with 24 micron pixels.
constexpr double ArcsecPerPixel = 24 * 206.2648 / 9144.0;

double RaAt(double dxPixels) { return Ra0 - dxPixels * ArcsecPerPixel / 3600 / 15 / std::cos(Dec0 * M_PI / 180); }
double DecAt(double dyPixels) { return Dec0 - dyPixels * ArcsecPerPixel / 3600; }

struct Rig {
    test::FakePlatform fake;
    platform::Services services = fake.services();
    app::OptsRec opts;
    SkyCatalogs sky{services, opts};
    CCDImageObj image{services, opts};
    explicit Rig(app::OptsRec o = CameraOpts()) : opts(std::move(o)) {}
    bool Build(Extended exposure, int filter = 2, int gain = 1) {
        CameraSettings s;
        s.telescope = 1;
        s.gain = gain;
        s.filter = filter;
        s.field = &sky.instrument;
        return image.Build(exposure, 2452379.0L, Dec0, Ra0, s);
    }
    // Light above the bias in a box around a pixel.
    double Flux(int cx, int cy, int half) const {
        double sum = 0;
        for (int y = cy - half; y <= cy + half; ++y)
            for (int x = cx - half; x <= cx + half; ++x)
                if (image.array.Contains(x, y)) sum += image.array.Get(x, y) - opts.camera.bias;
        return sum;
    }
};

TEST(Noise, ZeroStaysZeroAndEveryDrawLiesInItsBand) {
    RandomGenerator::global().setSeed(7);
    EXPECT_EQ(Noise(0), 0);
    for (Extended n : {1.0L, 2.5L, 100.0L, 1.0e6L}) {
        const Extended half = 1.5L * std::sqrt(n);
        Extended lo = n, hi = n, sum = 0;
        for (int i = 0; i < 20000; ++i) {
            const Extended v = Noise(n);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            sum += v;
        }
        EXPECT_GE(lo, n - half) << n;
        EXPECT_LT(hi, n + half) << n;
        EXPECT_NEAR(static_cast<double>(sum / 20000), static_cast<double>(n), static_cast<double>(half) * 0.03) << n;
    }
}

// The peak of a star of magnitude base + offset is the base count; each
// magnitude brighter is 10^0.4 times more.
TEST(StarDrawer, PeakCountsGrowForBrighterStars) {
    app::OptsRec opts = CameraOpts();
    opts.telescopes[2].scopeFactor = 3.0f;
    ImgArrayObj a;
    ASSERT_TRUE(a.Allocate(8, 8));
    CCDStarImgObj d;
    struct Row { int scope; Extended m; Extended expected; } rows[] = {
        {1, 10, 1000},                 // m = base magnitude, no offset
        {2, 13, 1000},                 // m = base magnitude + offset
        {1, 15, 10},                   // 5 magnitudes fainter: 1/100
        {1, 5, 100000},                // 5 brighter: 100 times
        {1, 20, 0.1L},                 // a V 20 star is 10^4 times fainter than a V 10 one
    };
    for (const Row& r : rows) {
        d.Prepare(opts, r.scope, a);
        EXPECT_NEAR(static_cast<double>(d.PeakCounts(r.m) / r.expected), 1.0, 1e-12) << r.m;
    }
    d.Prepare(opts, 1, a);
    EXPECT_NEAR(static_cast<double>(d.sx), ArcsecPerPixel, 1e-9);
    EXPECT_NEAR(static_cast<double>(d.sigmaX), 1.8 / ArcsecPerPixel, 1e-6);
}

// The worked chip size at the 0.9 m: 1024 x 24 um at 9144 mm.
TEST(Chip, FieldSizeInArcminutes) {
    app::OptsRec o = CameraOpts(1024);
    const ChipSize c = ChipFieldSize(o.camera, o.telescopes[1]);
    const double expected = 1024 * 24 * 0.001 * 206264.8 / (9144.0 * 60);  // 9.2386...
    EXPECT_NEAR(static_cast<double>(c.width), expected, 1e-9);
    EXPECT_NEAR(static_cast<double>(c.height), expected, 1e-9);
}

TEST(Chip, FilterMagnitudesTreatAnUnknownColourAsZero) {
    struct Row { Single bv, ub; int filter; Extended expected; } rows[] = {
        {0.6f, 0.1f, 0, 12 - 0.6L - 0.5L}, {0.6f, 0.1f, 1, 12.6L}, {0.6f, 0.1f, 2, 12},
        {0.6f, 0.1f, 3, 11.4L},            {0.6f, 0.1f, 4, 12.5L},
        {30, 30, 0, 11.5L},                {30, 30, 1, 12},        {99, 30, 4, 12},
    };
    for (const Row& r : rows) {
        FieldObject o = Star("s", 0, 0, 12.0f, r.bv);
        o.UB = r.ub;
        EXPECT_NEAR(static_cast<double>(FilterMagnitude(o, r.filter)), static_cast<double>(r.expected), 1e-6)
            << "filter " << r.filter << " B-V " << r.bv;
    }
}

TEST(Chip, ProjectionPutsNorthUpEastLeftAndKeepsEdges) {
    Rig rig;
    rig.image.field.Setup(rig.opts, 1, 10, Dec0, Ra0);
    CCDFieldObj& f = rig.image.field;
    double x = 0, y = 0;
    ASSERT_TRUE(f.Project(Ra0, Dec0, x, y));
    EXPECT_NEAR(x, 64, 1e-6);
    EXPECT_NEAR(y, 64, 1e-6);
    ASSERT_TRUE(f.Project(RaAt(-20), DecAt(-30), x, y));  // east and north of the centre
    EXPECT_NEAR(x, 44, 0.01);
    EXPECT_NEAR(y, 34, 0.01);
    EXPECT_TRUE(f.Project(RaAt(63.99), Dec0, x, y));
    EXPECT_FALSE(f.Project(RaAt(64.05), Dec0, x, y));
    EXPECT_FALSE(f.Project(Ra0 + 12, -Dec0, x, y));  // the antipode never lands on the chip
}

TEST(Image, FlatBackgroundAndItsDisplayMapping) {
    // Read noise 0 and a cooled camera: every pixel is exactly the bias, and
    // the display mapping must not divide by the zero spread.
    Rig rig;
    ASSERT_TRUE(rig.Build(30));
    for (float v : rig.image.array.values()) ASSERT_EQ(v, 1000.0f);
    EXPECT_EQ(rig.image.histogram.StdDev(), 0);
    EXPECT_EQ(rig.image.mapping.low, 1000);
    EXPECT_EQ(rig.image.mapping.range, 1);
    EXPECT_EQ(rig.image.mapping.IndexOf(999), 64);
    EXPECT_EQ(rig.image.mapping.IndexOf(1000), 64);
    EXPECT_EQ(rig.image.mapping.IndexOf(1001), 127);
}

TEST(Image, BackgroundLevelFollowsDarkCurrentUnlessCooled) {
    struct Row { std::uint8_t cooling; Extended exposure; double level; } rows[] = {
        {0, 10, 1000 + 5 + 2 * 10}, {0, 100, 1000 + 5 + 2 * 100}, {1, 10, 1005}, {1, 100, 1005},
    };
    for (const Row& r : rows) {
        app::OptsRec o = CameraOpts(256);
        o.camera.readNoise = 5;
        o.camera.cooling = r.cooling;
        Rig rig(o);
        ASSERT_TRUE(rig.Build(r.exposure, 2, 2));
        const auto& v = rig.image.array.values();
        const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
        // Gain 2 halves the stored values; the uniform deviate averages out
        // to well below 0.1 ADU over 65536 pixels.
        EXPECT_NEAR(mean, r.level / 2, 0.1) << int(r.cooling) << " " << double(r.exposure);
        EXPECT_NEAR(static_cast<double>(rig.image.histogram.Mean()), r.level / 2, 0.1);
    }
}

// Brighter catalog stars give brighter images, in proportion to 10^(-0.4 m).
TEST(Image, StarLightScalesWithMagnitude) {
    Rig rig;
    const Single mags[] = {11.0f, 12.0f, 13.5f};
    const int xs[] = {30, 64, 98};
    for (int i = 0; i < 3; ++i) AddObject(rig.sky.instrument.objects, Star("s", RaAt(xs[i] - 64), Dec0, mags[i]));
    ASSERT_TRUE(rig.Build(10));
    ASSERT_EQ(rig.image.field.list.size(), 3u);
    const double ref = rig.Flux(xs[0], 64, 14);
    for (int i = 1; i < 3; ++i) {
        const double expected = std::pow(10.0, -0.4 * (mags[i] - mags[0]));
        EXPECT_NEAR(rig.Flux(xs[i], 64, 14) / ref, expected, expected * 0.03) << mags[i];
    }
    // The peak of a V 11 star over one base exposure: about 1000 x 10^-0.4.
    EXPECT_NEAR(rig.image.array.Get(30, 64) - 1000.0, 1000 * std::pow(10.0, -0.4), 60);
}

TEST(Image, SaturationGainAndConverterLimit) {
    struct Row { int gain; int depth; float top; } rows[] = {
        {1, 16, 65536.0f},          // well depth 320000 clipped to 2^16, not 65535
        {5, 16, 64000.0f},          // well depth / gain
        {2, 18, 160000.0f},
    };
    for (const Row& r : rows) {
        app::OptsRec o = CameraOpts(64);
        o.camera.adDepth = r.depth;
        Rig rig(o);
        AddObject(rig.sky.instrument.objects, Star("bright", Ra0, Dec0, 2.0f));
        ASSERT_TRUE(rig.Build(10, 2, r.gain));
        const auto& v = rig.image.array.values();
        EXPECT_EQ(*std::max_element(v.begin(), v.end()), r.top) << r.gain;
    }
}

TEST(Image, AsteroidTrailsAndTheirSpikes) {
    // Coincident positions: a round image with spikes. A trail 20 pixels long
    // spreads the light along the segment and has no spikes.
    struct Row { double dx; bool spikes; } rows[] = {{0, true}, {20, false}};
    for (const Row& r : rows) {
        Rig rig;
        AddObject(rig.sky.instrument.objects, Star("(433) Eros", RaAt(-r.dx / 2), Dec0, 11.0f, 0.65f, KindAsteroid));
        AddObject(rig.sky.instrument.objects, Star("(433) Eros", RaAt(r.dx / 2), Dec0, 11.0f, 0.65f, KindAsteroid));
        ASSERT_TRUE(rig.Build(10));
        ASSERT_EQ(rig.image.field.list.size(), 2u);
        ASSERT_EQ(rig.image.key.size(), 1u);  // the pair is one object
        const ImgArrayObj& a = rig.image.array;
        const double ends = a.Get(static_cast<int>(64 - r.dx / 2), 64) - 1000.0;
        EXPECT_GT(ends, 10) << r.dx;
        EXPECT_GT(a.Get(64, 64) - 1000.0, 10) << r.dx;
        // A pixel on the vertical spike line well outside the core.
        const float spike = a.Get(64, 64 - 20) - 1000.0f;
        if (r.spikes) {
            EXPECT_NE(spike, 0.0f);  // faint spike light may come out either side of 0
        } else {
            EXPECT_EQ(spike, 0.0f);
        }
    }
}

TEST(Image, ImpossibleOpticsAreRefusedWithAMessage) {
    struct Row { Single pixel; Single focal; } rows[] = {{0, 9144}, {-24, 9144}, {24, 0}, {24, -1}};
    for (const Row& r : rows) {
        app::OptsRec o = CameraOpts(16);
        o.camera.pixelWidth = r.pixel;
        o.telescopes[1].focalLength = r.focal;
        Rig rig(o);
        EXPECT_FALSE(rig.Build(10));
        ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
        EXPECT_EQ(rig.fake.dialogs.messages[0].caption, BadOpticsCaption);
    }
}

TEST(Image, SameSeedSameImage) {
    app::OptsRec o = CameraOpts(64);
    o.camera.readNoise = 5;
    o.camera.positionNoise = true;
    Rig a(o), b(o);
    AddObject(a.sky.instrument.objects, Star("s", Ra0, Dec0, 12.0f));
    AddObject(b.sky.instrument.objects, Star("s", Ra0, Dec0, 12.0f));
    ASSERT_TRUE(a.Build(10));
    ASSERT_TRUE(b.Build(10));
    EXPECT_EQ(a.image.array.values(), b.image.array.values());
    b.fake.clock.counter += 1;
    ASSERT_TRUE(b.Build(10));
    EXPECT_NE(a.image.array.values(), b.image.array.values());
}

TEST(Image, GalaxyLayerLightsTheChip) {
    Rig rig;
    // The layer spans the 15' view in 300 pixels; a bright blob at its centre.
    Raster layer(300, 300, Rgb(0, 0, 0));
    for (int y = 140; y < 160; ++y)
        for (int x = 140; x < 160; ++x) layer.at(x, y) = Rgb(200, 200, 200);
    CameraSettings s;
    s.telescope = 1;
    s.field = &rig.sky.instrument;
    s.galaxyLayer = &layer;
    s.viewFieldArcmin = 15;
    ASSERT_TRUE(rig.image.Build(10, 2452379.0L, Dec0, Ra0, s));
    // s = 4 x 200 - 150 = 650 units of a 22nd-magnitude count (0.001585).
    // Each pixel is a uniform deviate of +-4.8 around 10.3; the mean of 6561
    // pixels is good to about 0.05.
    EXPECT_NEAR(rig.Flux(64, 64, 40) / (81 * 81), 650 * 1000 * std::pow(10.0, -4.8), 0.15);
    EXPECT_EQ(rig.image.array.Get(2, 2), 1000.0f);
}

// The key lists a galaxy when the chip took light of its glow (4 x red - 150
// above 0 in the part of the layer the chip covers), at its catalog position
// and magnitude, even when that position lies off the chip.
TEST(Image, GalaxiesWhoseGlowReachesTheChipEnterTheKey) {
    Rig rig;
    // The 300-pixel layer spans 15': the 128-pixel chip covers layer columns and rows 138 to 161.
    Raster layer(300, 300, Rgb(0, 0, 0));
    auto paint = [&](int left, int top, int right, int bottom, int red) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) layer.at(x, y) = Rgb(red, red, red);
        return DrawnGalaxy{FieldObject{}, left, top, right, bottom};
    };
    std::vector<DrawnGalaxy> drawn = {
        paint(145, 145, 150, 150, 200),  // on the chip
        paint(10, 10, 20, 20, 200),      // in the view, off the chip
        paint(150, 20, 155, 150, 30),    // over the chip but too faint for it (4 x 30 < 150)
        paint(100, 150, 138, 152, 200),  // a large glow whose centre lies off the chip
    };
    const struct { const char* name; double dx, dy; Single v, bv; } galaxies[] = {
        {"NGC 1", 10, -5, 12.0f, 0.8f}, {"NGC 2", -150, -150, 11.0f, 0.8f},
        {"NGC 3", 20, 0, 13.0f, 0.8f},  {"NGC 4", -200, 10, 9.5f, NoMagnitude}};
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        drawn[i].object = test::Star(galaxies[i].name, RaAt(galaxies[i].dx), DecAt(galaxies[i].dy), galaxies[i].v,
                                     galaxies[i].bv, KindGalaxy);
    }
    AddObject(rig.sky.instrument.objects, test::Star("star", RaAt(-20), DecAt(30), 14.0f));
    CameraSettings s;
    s.telescope = 1;
    s.filter = 1;  // B: the key takes the chosen filter's magnitude
    s.field = &rig.sky.instrument;
    s.galaxyLayer = &layer;
    s.layerGalaxies = &drawn;
    s.viewFieldArcmin = 15;
    ASSERT_TRUE(rig.image.Build(10, 2452379.0L, Dec0, Ra0, s));
    const std::vector<KeyEntry>& key = rig.image.key;
    ASSERT_EQ(key.size(), 3u);
    EXPECT_EQ(key[0].name, "star");  // point objects first
    EXPECT_EQ(key[1].name, "NGC 1");
    EXPECT_EQ(key[1].kind, KindGalaxy);
    EXPECT_NEAR(key[1].x, 74, 0.01);
    EXPECT_NEAR(key[1].y, 59, 0.01);
    EXPECT_NEAR(static_cast<double>(key[1].magnitude), 12.8, 1e-5);
    EXPECT_EQ(key[2].name, "NGC 4");
    EXPECT_NEAR(key[2].x, 64 - 200, 0.1);
    EXPECT_NEAR(key[2].y, 74, 0.1);
    EXPECT_NEAR(static_cast<double>(key[2].magnitude), 9.5, 1e-5);  // no B-V known: counted as 0

    // Without the drawn galaxies nothing but the points.
    s.layerGalaxies = nullptr;
    ASSERT_TRUE(rig.image.Build(10, 2452379.0L, Dec0, Ra0, s));
    EXPECT_EQ(rig.image.key.size(), 1u);
}

}  // namespace
}  // namespace qnr::ccd
