// The data tree's layout pieces: region numbering, the star-count model, the
// orbit conversion, the galaxy types, the naked-eye file.
#include <gtest/gtest.h>
#include <lzma.h>

#include <cmath>
#include <set>

#include "astro/MathStd.h"
#include "catalogs/Star_Cat.h"
#include "datagen/layout/ClusterModel.h"
#include "datagen/layout/Galaxies.h"
#include "datagen/layout/Orbits.h"
#include "datagen/layout/RegionLayout.h"
#include "datagen/layout/SeedText.h"
#include "datagen/layout/StarModel.h"
#include "spectroscopy/Nkd_Eye.h"
#include "support/Fakes.h"

namespace qnr::datagen {
namespace {

TargetBox Box(const char* name, double ra, double dec) {
    return {name, ra, dec, MakeFieldLimits(ra, dec, 0.475, 20.0f)};
}

TEST(RegionLayout, BandsFollowTheRegionFolderTable) {
    const auto& bands = Bands();
    ASSERT_EQ(bands.size(), 24u);
    EXPECT_EQ(bands[0].first, 1);
    EXPECT_EQ(bands[0].last, 593);
    EXPECT_EQ(bands[0].name, "N0000");
    EXPECT_EQ(bands[1].name, "N0730");
    EXPECT_EQ(bands[12].name, "S0000");
    EXPECT_EQ(bands[12].first, 4663);
    EXPECT_DOUBLE_EQ(bands[12].highDec, 0);
    EXPECT_EQ(bands.back().last, RegionCount);
    for (const Band& b : bands) EXPECT_EQ(LayBand(b, 4).size(), static_cast<std::size_t>(b.count())) << b.name;
}

TEST(RegionLayout, TargetsLieInExerciseRegionsOnlyAndEveryNumberIsUsedOnce) {
    // M87 and 3C 273: two bands whose exercise numbers (872, 879 and 282 ...)
    // lie far from 12.5 h in the even layout.
    const std::vector<TargetBox> targets{Box("M87", 12.5137, 12.3911), Box("3C 273", 12.4852, 2.0525)};
    auto layout = LayOutRegions(targets);
    ASSERT_TRUE(layout) << layout.error();
    const std::set<int> exercise(ExerciseRegions().begin(), ExerciseRegions().end());
    for (const TargetBox& t : targets)
        for (int n = 1; n <= RegionCount; ++n) {
            const bool touches = RegionOverlaps(t.box, layout->regions[static_cast<std::size_t>(n - 1)]);
            EXPECT_TRUE(!touches || exercise.count(n)) << t.name << " touches region " << n;
        }
    // The regions still tile the sky once.
    double area = 0;
    for (const RegionRecord& r : layout->regions)
        area += (r.highRA - r.lowRA) * 15 * (std::sin(r.highDec * 3.14159265358979 / 180) - std::sin(r.lowDec * 3.14159265358979 / 180)) * 180 / 3.14159265358979;
    EXPECT_NEAR(area, 41252.96, 0.1);
    EXPECT_EQ(layout->RegionOf(12.5137, 12.3911) == 872 || layout->RegionOf(12.5137, 12.3911) == 879, true);
}

TEST(RegionLayout, TooManyTargetsInABandFailLoudly) {
    // Band N0730 has two exercise regions; three targets hours apart need three.
    auto layout = LayOutRegions({Box("a", 2, 11), Box("b", 8, 11), Box("c", 14, 11)});
    ASSERT_FALSE(layout);
    EXPECT_NE(layout.error().find("N0730"), std::string::npos);
}

TEST(StarModel, CountsAreOfOrderAThousandAtThePolesAndMoreNearThePlane) {
    // Anchor: the real count at the galactic poles, about 3 stars per
    // magnitude per square degree at V 9.5 (the real catalogs' own).
    const double poles = CountBetween(3.1, 10.5, 20, 90);
    EXPECT_GT(poles, 800);
    EXPECT_LT(poles, 4000);
    EXPECT_GT(CountBetween(7.7, 10.5, 20, 19), 3 * poles);
    // The anchor is the count at V 9.5 itself.
    EXPECT_DOUBLE_EQ(DifferentialCount(3.1, 9.5, 40), 3.1);
    // The slope flattens: each magnitude adds a smaller factor.
    EXPECT_GT(DifferentialCount(1, 12, 90) / DifferentialCount(1, 11, 90),
              DifferentialCount(1, 19, 90) / DifferentialCount(1, 18, 90));
}

TEST(StarModel, DrawsAreDeterministicAndFollowTheModel) {
    const SkyCell cell{12.4, 12.6, 12.0, 14.0};
    const auto a = DrawStars(cell, 0.9, 9, 20, 872), b = DrawStars(cell, 0.9, 9, 20, 872);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); i += 97) {
        EXPECT_EQ(a[i].ra, b[i].ra);
        EXPECT_EQ(a[i].V, b[i].V);
    }
    const double absB = std::fabs(ToGalactic(12.5, 13).b);
    const double expected = CountBetween(0.9, 9, 20, absB) * cell.AreaSqDeg();
    EXPECT_NEAR(static_cast<double>(a.size()), expected, 4 * std::sqrt(expected));  // Poisson, 4 sigma
    for (const SyntheticStar& s : a) {
        EXPECT_TRUE(s.ra >= 12.4 && s.ra <= 12.6 && s.dec >= 12 && s.dec <= 14);
        EXPECT_TRUE(s.V > 9 && s.V <= 20);
        EXPECT_NE(s.spType, 0);
    }
    EXPECT_NE(DrawStars(cell, 0.9, 9, 20, 879).size(), 0u);
}

TEST(StarModel, DerivedValuesOfRealStars) {
    // Sirius (A0 in the source, V -1.44, parallax 379 mas): a dwarf, class measured.
    const RealStarValues sirius = DeriveRealStar(-1.44, 0.01, "A0", 379.2);
    EXPECT_EQ(sirius.spType, ParseSpType("A0V"));
    EXPECT_EQ(sirius.flags & StarClassAssigned, 0);
    EXPECT_NE(sirius.flags & StarUBAssigned, 0);
    // Arcturus (K2, V -0.05, 88.8 mas) is a giant by its parallax.
    EXPECT_EQ(DeriveRealStar(-0.05, 1.24, "K2", 88.8).spType, ParseSpType("K2III"));
    // A "K?" star without parallax: the class kept, subclass from B-V, assigned.
    const RealStarValues k = DeriveRealStar(8.16, 1.47, "K?", 0);
    EXPECT_NE(k.flags & StarClassAssigned, 0);
    EXPECT_EQ(SplitSpectralType(k.spType).C, SplitSpectralType(ParseSpType("K5III")).C);
    // Galactic latitude of the north galactic pole and of the centre.
    EXPECT_NEAR(ToGalactic(12.8573, 27.1283).b, 90, 0.01);
    EXPECT_NEAR(ToGalactic(17.7611, -28.9364).b, 0, 0.1);
}

TEST(Orbits, ElementsComeBackFromTheStateVector) {
    // Table of (a, e, i, node, peri, M): Ceres-like, an Apollo, a Trojan.
    const Elements rows[] = {{"Ceres", "1", 2459800.5, 2.7666, 0.0786, 10.587, 80.266, 73.532, 334.327, 3.3, 0.12, "MBA", false},
                             {"Apollo", "", 2459800.5, 1.47, 0.56, 6.35, 35.6, 286.0, 120.0, 16, 0.15, "APO", false},
                             {"Trojan", "", 2459800.5, 5.2, 0.1, 20, 300, 10, 200, 9, 0.15, "TJN", false}};
    for (const Elements& el : rows) {
        const OrbitElements back = ElementsFromState(StateFromElements(el), GMSun);
        // Tolerances: 1e-9 relative for a, 1e-9 in e, 1e-7 degrees for angles (extended arithmetic).
        EXPECT_NEAR(static_cast<double>(back.a / KmPerAU), el.a, el.a * 1e-9) << el.name;
        EXPECT_NEAR(static_cast<double>(back.e), el.e, 1e-9) << el.name;
        EXPECT_NEAR(static_cast<double>(back.i * RadToDeg), el.i, 1e-7) << el.name;
        EXPECT_NEAR(static_cast<double>(back.node * RadToDeg), el.node, 1e-7) << el.name;
        EXPECT_NEAR(static_cast<double>(back.peri * RadToDeg), el.peri, 1e-7) << el.name;
        EXPECT_NEAR(std::fmod(static_cast<double>(back.M * RadToDeg) + 360, 360), el.M, 1e-7) << el.name;
    }
    EXPECT_EQ(MpcGroup("APO", 1.5, 0.5), 3);
    EXPECT_EQ(MpcGroup("TNO", 39.4, 0.2), 14);
    EXPECT_EQ(MpcGroup("MBA", 3.9, 0.1), 8);
}

TEST(Orbits, TheDesignedAsteroidIsWhereAndAsFastAsDesigned) {
    AsteroidDesign d;
    d.jd = 2452379.5L + 5.0L / 24;
    d.ra = 13.8666667;
    d.dec = -17.5;
    auto r = DesignAsteroid(d);
    ASSERT_TRUE(r) << r.error();
    const auto s = SightingAt(*r, d.jd);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->ra, d.ra, 0.1 / 54000);
    EXPECT_NEAR(s->dec, d.dec, 0.1 / 3600);
    EXPECT_NEAR(s->V, 14.5, 0.01);
    EXPECT_NEAR(RateAt(*r, d.jd), 2.0, 0.1);
    EXPECT_EQ(r->notes[NoteGroup] >= 2 && r->notes[NoteGroup] <= 4, true);
}

TEST(Galaxies, MorphologyTexts) {
    struct Row {
        const char* text;
        GalaxyType type;
    };
    // The Part's own example (SABb(s) II-III) and the source's usual forms.
    const Row rows[] = {{"SAB(s)b II-III", {3, 'X', '4', 's'}}, {"SAB(s)bc", {4, 'X', ' ', 's'}},
                        {"(R')SAB(rs)ab:", {2, 'X', ' ', ' '}}, {"SB(s)m pec", {9, 'B', ' ', 's'}},
                        {"E4", {-5, ' ', ' ', ' '}},            {"E+0-1 pec, NLRG Sy", {-4, ' ', ' ', ' '}},
                        {"E-S0", {-4, ' ', ' ', ' '}},          {"S0 pec", {-2, ' ', ' ', ' '}},
                        {"S0-a", {0, ' ', ' ', ' '}},           {"SB0", {-2, 'B', ' ', ' '}},
                        {"Sc", {5, ' ', ' ', ' '}},             {"S?", {20, ' ', ' ', ' '}},
                        {"IB(s)m", {10, 'B', ' ', 's'}},        {"cE0", {-6, ' ', ' ', ' '}},
                        {"-5", {-5, ' ', ' ', ' '}},            {"", {-8, ' ', ' ', ' '}}};
    for (const Row& r : rows) EXPECT_EQ(MapMorphology(r.text), r.type) << r.text;
}

TEST(Galaxies, PicturesFadeToBlackAndAreValidBmp) {
    const Picture p = RenderGalaxy({{5, ' ', ' ', ' '}, 7.4, 6.3, 108, 9.4});
    ASSERT_GT(p.width, 100);
    EXPECT_EQ(p.grey.front(), 0);
    EXPECT_GT(p.grey[static_cast<std::size_t>(p.height / 2) * p.width + p.width / 2], 100);
    const Bytes bmp = EncodeBmp(p);
    EXPECT_EQ(bmp.size(), 54 + static_cast<std::size_t>((p.width * 3 + 3) & ~3) * p.height);
}

TEST(NakedEye, RecordsAreTwentyBytes) {
    const std::vector<NakedEyeStar> stars{{6.752, -16.716, -1.44f}, {18.6156, 38.7836, 0.03f}};
    const Bytes b = EncodeNakedEyeStars(stars);
    ASSERT_EQ(b.size(), 40u);
    const auto back = DecodeNakedEyeStars(b);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].ra, 18.6156);
    EXPECT_EQ(back[0].V, -1.44f);
}

TEST(SeedText, ReadsPlainAndXzSeedsAndRejectsDamagedOnes) {
    qnr::test::TempFolder dir;
    const std::string text = "# header\n1.5 2.5 9.05 0.61 - 0.0\n";
    std::vector<std::uint8_t> packed(4096);
    std::size_t size = 0;
    ASSERT_EQ(lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const std::uint8_t*>(text.data()),
                                      text.size(), packed.data(), &size, packed.size()),
              LZMA_OK);
    packed.resize(size);
    const std::string plain = dir.file("a.txt"), xz = dir.file("a.txt.xz"), cut = dir.file("b.txt.xz");
    qnr::test::WriteAll(plain, std::vector<std::uint8_t>(text.begin(), text.end()));
    qnr::test::WriteAll(xz, packed);
    qnr::test::WriteAll(cut, std::vector<std::uint8_t>(packed.begin(), packed.end() - 8));

    std::string read, error;
    ASSERT_TRUE(ReadSeedText(plain, read, error)) << error;
    EXPECT_EQ(read, text);
    ASSERT_TRUE(ReadSeedText(xz, read, error)) << error;
    EXPECT_EQ(read, text);
    EXPECT_FALSE(ReadSeedText(cut, read, error));
    EXPECT_NE(error.find("not valid xz data"), std::string::npos);
    EXPECT_FALSE(ReadSeedText(dir.file("missing.txt.xz"), read, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
}

ClusterDesign M13Like() {
    ClusterDesign c;
    c.name = "M13";
    c.ra = 16 + 41 / 60.0 + 41.24 / 3600;
    c.dec = 36 + 27 / 60.0 + 35.5 / 3600;
    c.distanceModulusV = 14.33;
    c.ebv = 0.02;
    c.coreArcmin = 0.62;
    c.tidalArcmin = 21;
    c.giantsAboveHB = 500;
    c.hbBlue = -0.2;
    c.hbRed = 0.1;
    return c;
}

TEST(ClusterModel, MembersDrawTheClustersColourMagnitudeDiagram) {
    const ClusterDesign c = M13Like();
    const auto stars = DrawClusterMembers(c, 20, 7);
    const auto again = DrawClusterMembers(c, 20, 7);
    ASSERT_EQ(stars.size(), again.size());
    EXPECT_EQ(stars.back().V, again.back().V);

    int giantsAboveHB = 0, horizontal = 0;
    double brightest = 99, flux = 0, turnOffBV = 0;
    int turnOff = 0;
    for (const auto& s : stars) {
        brightest = std::min(brightest, s.V);
        flux += std::pow(10.0, -0.4 * s.V);
        if (s.V < 14.9 && s.BV > 0.6) ++giantsAboveHB;
        if (s.V > 14.6 && s.V < 16 && s.BV < 0.35) ++horizontal;
        if (s.V > 18.3 && s.V < 18.7) {
            turnOffBV += s.BV;
            ++turnOff;
        }
        EXPECT_LE(s.V, 20.5);
    }
    // The red-giant tip near V 11.9, about 500 giants (and a few on the
    // asymptotic branch) above a blue horizontal branch as rich, the
    // turn-off near B-V 0.45 at V 18.5, and most of the cluster's V 5.8.
    EXPECT_GT(brightest, 11.5);
    EXPECT_LT(brightest, 12.3);
    EXPECT_NEAR(giantsAboveHB, 550, 90);
    EXPECT_NEAR(horizontal, 500, 80);
    ASSERT_GT(turnOff, 100);
    EXPECT_NEAR(turnOffBV / turnOff, 0.46, 0.04);
    EXPECT_NEAR(-2.5 * std::log10(flux), 6.0, 0.4);
}

TEST(ClusterModel, MembersFollowKingsProfileWithinTheTidalRadius) {
    const ClusterDesign c = M13Like();
    const auto stars = DrawClusterMembers(c, 20, 11);
    const double d2r = static_cast<double>(DegToRad);
    auto inside = [&](double arcmin) {
        int n = 0;
        for (const auto& s : stars) {
            const double dx = (s.ra - c.ra) * 15 * std::cos(c.dec * d2r), dy = s.dec - c.dec;
            if (std::hypot(dx, dy) * 60 <= arcmin) ++n;
        }
        return static_cast<double>(n) / static_cast<double>(stars.size());
    };
    EXPECT_DOUBLE_EQ(inside(c.tidalArcmin * 1.01), 1.0);
    // The share within r of King's profile, by its integral.
    auto share = [&](double r) {
        double a = 0, b = 0;
        for (double x = 0.0005; x < c.tidalArcmin; x += 0.001) {
            const double w = x * KingDensity(x, c.coreArcmin, c.tidalArcmin);
            b += w;
            if (x <= r) a += w;
        }
        return a / b;
    };
    for (double r : {0.62, 1.7, 5.0}) EXPECT_NEAR(inside(r), share(r), 0.02) << r;
    EXPECT_GT(share(1.7), 0.3);
    EXPECT_EQ(KingDensity(c.tidalArcmin, c.coreArcmin, c.tidalArcmin), 0);
}

}  // namespace
}  // namespace qnr::datagen
