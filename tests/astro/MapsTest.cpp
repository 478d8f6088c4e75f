#include "astro/Maps.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/MathStd.h"

namespace qnr {
namespace {

TEST(Aitoff, CentralHourIsTheNearestMultipleOfFour) {
    // Ties go to the even multiple (2 h: 0.5 -> 0; 6 h: 1.5 -> 2).
    struct Row { Extended lst; int c; };
    const Row rows[] = {{22.5L, 0}, {13.9L, 12}, {0, 0}, {1.99L, 0}, {2, 0}, {6, 8}, {10, 8}, {23.99L, 0}, {17.9L, 16}};
    for (const auto& r : rows) EXPECT_EQ(AitoffCentralHour(r.lst), r.c) << static_cast<double>(r.lst);
}

TEST(Aitoff, ProjectionAgainstTheHammerFormula) {
    // The classical Hammer projection x = 2 sqrt2 cos(phi) sin(l/2) / D,
    // y = sqrt2 sin(phi) / D is this one with x scaled by -k/sqrt2 (east to
    // the left) and y by 1/(k sqrt2).
    const Extended k = AitoffFactor(3, 2);
    EXPECT_NEAR(static_cast<double>(k), std::sqrt(0.75), 1e-18);
    struct Row { Extended latDeg, lonDeg; };
    const Row rows[] = {{0, 0}, {0, 90}, {45, -120}, {-60, 180}, {90, 30}, {-30, -179}};
    for (const auto& r : rows) {
        Extended phi = r.latDeg * DegToRad, lam = r.lonDeg * DegToRad;
        Extended d = std::sqrt(1 + std::cos(phi) * std::cos(lam / 2));
        Extended hx = 2 * std::sqrt(2.0L) * std::cos(phi) * std::sin(lam / 2) / d;
        Extended hy = std::sqrt(2.0L) * std::sin(phi) / d;
        MapPoint m = AitoffProject(phi, lam, k);
        EXPECT_NEAR(static_cast<double>(m.x), static_cast<double>(-hx * k / std::sqrt(2.0L)), 1e-15);
        EXPECT_NEAR(static_cast<double>(m.y), static_cast<double>(hy / (k * std::sqrt(2.0L))), 1e-15);
    }
}

TEST(Aitoff, PixelsOfThe640WideMap) {
    // 3:2 in a 640 x 460 box: W 600, H 400, centre (320, 220), s = 400 k / 2.
    AitoffGeometry g;
    g.Init(3, 2, 640, 460, 1.0L);
    EXPECT_EQ(g.W, 600);
    EXPECT_EQ(g.H, 400);
    EXPECT_EQ(g.cx, 320);
    EXPECT_EQ(g.cy, 220);
    EXPECT_EQ(g.right, 620);
    EXPECT_EQ(g.bottom, 420);
    EXPECT_EQ(g.centralHour, 0);
    struct Row { const char* what; Extended dec, ra; PixelPoint at; };
    const Row rows[] = {
        {"centre", 0, 0, {320, 220}},
        {"north pole, any ra", 90, 7.3L, {320, 20}},
        {"south pole", -90, 15, {320, 420}},
        // 12 h east of the centre is the left end of the equator, 12 h west too.
        {"equator, ra = c + 12", 0, 12, {20, 220}},
        {"equator, ra = c - 12 (one hour value)", 0, -12, {20, 220}},
        // ra 6 h: Hammer x = 2 / sqrt(1 + cos 45) = 1.5307; times -k/sqrt2 and s
        // gives -162.36 pixels.
        {"equator, ra 6 h (east, left)", 0, 6, {158, 220}},
        {"equator, ra 18 h (west, right)", 0, 18, {482, 220}},
    };
    for (const auto& r : rows) EXPECT_EQ(g.SkyToPixel(r.dec, r.ra), r.at) << r.what;

    // An odd height rounds the half heights alike: the pole is still at the top.
    AitoffGeometry odd;
    odd.Init(3, 2, 491, 400, 13.9L);  // W 451, H round(300.67) = 301
    EXPECT_EQ(odd.H, 301);
    EXPECT_EQ(odd.centralHour, 12);
    EXPECT_EQ(odd.SkyToPixel(0, 12), (PixelPoint{odd.cx, odd.cy}));
    EXPECT_EQ(odd.SkyToPixel(90, 0).y, 20);
}

TEST(Aitoff, GridAndLabels) {
    AitoffGeometry g;
    g.Init(3, 2, 640, 460, 0);
    auto parallels = g.Parallels();
    ASSERT_EQ(parallels.size(), 4u);
    EXPECT_EQ(parallels[0].size(), 36u);  // -180 to 180 by 10, without 0
    EXPECT_EQ(parallels[0].front(), g.ToPixel(g.Project(60 * DegToRad, -Pi)));
    auto meridians = g.Meridians();
    ASSERT_EQ(meridians.size(), 4u);
    EXPECT_EQ(meridians[0].front(), (PixelPoint{320, 20}));
    EXPECT_EQ(meridians[0].back(), (PixelPoint{320, 420}));
    EXPECT_EQ(meridians[0].size(), 19u);

    auto labels = g.Labels();
    ASSERT_EQ(labels.size(), 19u);
    const char* hours[] = {"12", "08", "04", "00", "20", "16", "12"};
    const int dx[] = {-144, -104, -57, -6, 45, 92, 132};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(labels[12 + i].text, hours[i]);
        EXPECT_EQ(labels[12 + i].at, (PixelPoint{320 + dx[i], 222}));
    }
    EXPECT_EQ(labels[0].text, "N");
    EXPECT_EQ(labels[0].at, (PixelPoint{316, 3}));
}

TEST(Aitoff, MarkerInvertsOnlyWhatChanged) {
    AitoffGeometry g;
    g.Init(3, 2, 640, 460, 0);
    auto first = g.MarkPosition(0, 0);
    EXPECT_FALSE(first.restore);
    ASSERT_TRUE(first.draw);
    EXPECT_EQ(*first.draw, (PixelRect{317, 217, 323, 223}));

    auto same = g.MarkPosition(0, 0);
    EXPECT_FALSE(same.restore);
    EXPECT_FALSE(same.draw);

    auto moved = g.MarkPosition(30, 2);
    ASSERT_TRUE(moved.restore);
    EXPECT_EQ(*moved.restore, *first.draw);
    ASSERT_TRUE(moved.draw);

    // After the background was copied back nothing is left to restore.
    g.ForgetMarker();
    auto again = g.MarkPosition(30, 2);
    EXPECT_FALSE(again.restore);
    EXPECT_EQ(again.draw, moved.draw);
}

}  // namespace
}  // namespace qnr
