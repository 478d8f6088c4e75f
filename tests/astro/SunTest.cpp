#include "astro/Sun.h"

#include <cmath>

#include <gtest/gtest.h>

namespace qnr {
namespace {

TEST(SunSeries, PrintedRowsAreTheTable) {
    // The rows printed with the theory's description, as singles and a double.
    struct Row { int index; float l, r, alpha; double nu; };
    const Row rows[] = {
        {0, 403406, 0, 4.721964f, 1.621043},
        {1, 195207, -97597, 5.937458f, 62830.348067},
        {2, 119433, -59715, 1.115589f, 62830.821524},
        {3, 112392, -56188, 5.781616f, 62829.634302},
        {4, 3891, -1556, 5.5474f, 125660.5691},
        {49, 10, -9, 2.55f, 157208.4},
    };
    for (const auto& r : rows) {
        const SunSeriesRow& t = SunSeries[static_cast<std::size_t>(r.index)];
        EXPECT_EQ(t.l, r.l) << r.index;
        EXPECT_EQ(t.r, r.r) << r.index;
        EXPECT_EQ(t.alpha, r.alpha) << r.index;
        EXPECT_EQ(t.nu, r.nu) << r.index;
    }
}

TEST(SunPosition, AtJ2000) {
    // U = 0: L = 4.9353929 + 1e-7 sum(l sin alpha), about 280.378 deg; R about 0.9833 AU.
    Sun sun;
    Extended sum = 0;
    for (const auto& row : SunSeries) sum += static_cast<Extended>(row.l) * std::sin(static_cast<Extended>(row.alpha));
    Extended l = SunLongitude(sun, JD_J2000);
    EXPECT_NEAR(static_cast<double>(l), static_cast<double>(4.9353929L + 1e-7L * sum), 1e-15);
    EXPECT_NEAR(static_cast<double>(l * RadToDeg), 280.378, 0.0005);
    EXPECT_NEAR(static_cast<double>(SunDistance(sun, JD_J2000)), 0.9833, 0.0001);
}

TEST(SunPosition, AgainstMeeus25b) {
    // 1992-10-13.0 from the full planetary theory (Meeus ex. 25.b): geometric
    // 199.907347 deg (FK5), apparent 199d54'21.818", R 0.99760775 AU. The
    // 50-term series is good to about 1"; apparent adds the two-term nutation
    // (up to 0.6" short) and a near-constant aberration: 2" for apparent.
    const Extended jd = 2448908.5L;
    Sun sun;
    EXPECT_NEAR(static_cast<double>((SunLongitude(sun, jd) * RadToDeg - 199.907347L) * 3600), 0.0, 1.0);
    EXPECT_NEAR(static_cast<double>(SunDistance(sun, jd)), 0.99760775, 2e-6);
    sun.mode = SunApparent;
    Extended apparent = 199 + 54 / 60.0L + 21.818L / 3600;
    EXPECT_NEAR(static_cast<double>((SunLongitude(sun, jd) * RadToDeg - apparent) * 3600), 0.0, 2.0);
}

TEST(SunPosition, ModesDifferByNutationAndAberration) {
    const Extended jd = 2455000.25L;
    const Extended u = (jd - JD_J2000) / 3652500;
    Sun geo, app, ast, bad;
    app.mode = SunApparent;
    ast.mode = SunAstrometric;
    bad.mode = 7;
    Extended l0 = SunLongitude(geo, jd);
    Extended periodic = 1e-7L * 17 * std::cos(3.10L + 62830.14L * u);
    EXPECT_NEAR(static_cast<double>(SunLongitude(ast, jd) - l0), static_cast<double>(periodic), 1e-15);
    EXPECT_NEAR(static_cast<double>(SunLongitude(app, jd) - l0),
                static_cast<double>(NutationLongitude(jd) + periodic - 993e-7L), 1e-15);
    EXPECT_EQ(SunLongitude(bad, jd), 0);
    // The aberration is the familiar 20.5".
    EXPECT_NEAR(static_cast<double>(-993e-7L * ArcsecPerRad), -20.48, 0.01);
}

TEST(SunPosition, LongitudeInOneTurnBeforeAndAfter2000) {
    Sun sun;
    for (Extended jd = 2415020.0L; jd < 2488000; jd += 97.3L) {
        Extended l = SunLongitude(sun, jd);
        EXPECT_GE(l, 0);
        EXPECT_LT(l, TwoPi);
    }
}

TEST(SunPosition, PositionEarthAndVector) {
    const Extended jd = 2448908.5L;
    Sun sun;
    sun.mode = SunApparent;
    SunPlace place = SunPosition(sun, jd);
    EXPECT_EQ(place.position.kind, SunApparent);
    EXPECT_EQ(place.position.frame, FrameEcliptic);
    EXPECT_EQ(place.position.epochCode, EpochOfDate);
    EXPECT_EQ(place.position.epoch, jd);
    EXPECT_EQ(place.position.first, 0);
    EXPECT_EQ(place.position.second, SunLongitude(sun, jd));
    EXPECT_EQ(place.distance, SunDistance(sun, jd));

    // The Earth is opposite the geometric Sun, whatever the object's mode.
    Sun geometric;
    SunPlace earth = EarthLongitude(sun, jd);
    EXPECT_NEAR(static_cast<double>(earth.position.second), static_cast<double>(SunLongitude(geometric, jd) - Pi),
                1e-15);
    Extended spring = 2451623.8L;  // near the March equinox the Sun is near 0, the Earth near pi
    Extended le = EarthLongitude(geometric, spring).position.second;
    EXPECT_GE(le, 0);
    EXPECT_LT(le, TwoPi);

    // In the J2000.0 ecliptic, km: length R AU, direction precessed back.
    Vector3 v = SunVector(geometric, jd);
    EXPECT_NEAR(static_cast<double>(VecLength(v) / (SunDistance(geometric, jd) * KmPerAU)), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(v.z), 0.0, 1e-6);
    Extended lon = std::atan2(v.y, v.x);
    Extended expect = SunLongitude(geometric, jd) - GeneralPrecession(jd);
    EXPECT_NEAR(static_cast<double>(std::remainder(lon - expect, TwoPi)), 0.0, 1e-15);
}


TEST(SunPosition, NearbyDatesFromTheStoredSeriesEqualTheDirectOnes) {
    // The light-time loop shifts the stored series instead of evaluating it
    // again: equal to rounding (1e-17 relative) on both of its polynomial
    // ranges and beyond them, where it evaluates afresh.
    Sun sun;
    for (Extended jd : {2451545.0L, 2455197.5L, 2433282.4235L}) {
        SunSeriesAt at;
        EvaluateSunSeries(sun, jd, at);
        for (Extended back : {0.0L, 0.0001L, 0.0116L, 0.058L, 0.2L, 0.4L, 3.0L}) {
            Vector3 near = SunVectorNear(sun, at, jd - back);
            Vector3 direct = SunVector(sun, jd - back);
            Extended gap = VecLength(VecAdd(near, VecNegate(direct))) / VecLength(direct);
            EXPECT_LT(gap, 1e-17L) << static_cast<double>(jd) << " " << static_cast<double>(back);
        }
    }
}

}  // namespace
}  // namespace qnr
