#include "astro/Coords.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "astro/DateTime.h"

namespace qnr {
namespace {

constexpr Extended SecondsOfTimePerRad = 86400 / TwoPi;

Extended Hms(int h, int m, Extended s) { return h + m / 60.0L + s / 3600; }
Extended Dms(int sign, int d, int m, Extended s) { return sign * (d + m / 60.0L + s / 3600); }

// Angles that may differ by whole turns.
Extended TurnDifference(Extended a, Extended b) {
    Extended d = std::fmod(a - b, TwoPi);
    if (d > Pi) d -= TwoPi;
    if (d < -Pi) d += TwoPi;
    return d;
}

TEST(SiderealTime, MeanAgainstPublishedValues) {
    // The mean formula is the published one, so the only slack is the last
    // printed digit of the reference: 0.0001 s of time.
    struct Row { const char* source; Extended jd; Extended hours; };
    const Row rows[] = {
        {"Meeus ex. 12.a, 1987-04-10 0h UT", 2446895.5L, Hms(13, 10, 46.3668L)},
        {"Meeus ex. 12.b, 1987-04-10 19:21 UT", 2446896.30625L, 128.7378734L / 15},
        {"J2000.0: 280.46061837 deg", 2451545.0L, 280.46061837L / 15},
    };
    for (const auto& r : rows) {
        Extended got = GreenwichSiderealTime(0, r.jd);
        EXPECT_NEAR(static_cast<double>(TurnDifference(got, r.hours * Pi / 12) * SecondsOfTimePerRad), 0.0, 1e-4)
            << r.source;
        EXPECT_GE(got, 0);
        EXPECT_LT(got, TwoPi);
    }
    EXPECT_NEAR(static_cast<double>(GreenwichSiderealTime(0, 2451545.0L)), 4.894961, 1e-6);
}

TEST(SiderealTime, ApparentDiffersByTheTwoTermNutation) {
    // Meeus ex. 12.a gives 13h10m46.1351s with the full nutation series. The
    // two-term nutation here leaves out terms of up to about 0.5" in longitude,
    // 0.03 s of time in the equation of the equinoxes.
    Extended got = GreenwichSiderealTime(1, 2446895.5L) * SecondsOfTimePerRad;
    EXPECT_NEAR(static_cast<double>(got - Hms(13, 10, 46.1351L) * 3600), 0.0, 0.03);
}

TEST(EarthOrientation, ObliquityAndNutationAgainstMeeus22a) {
    // 1987-04-10 0h: mean obliquity 23d26'27.407" (same polynomial, so the
    // last digit, 0.001"); nutation dpsi -3.788", deps +9.443" from the full
    // series, of which the two terms kept here leave out up to about 0.6" in
    // longitude and 0.25" in obliquity.
    const Extended jd = 2446895.5L;
    EXPECT_NEAR(static_cast<double>(Obliquity(jd) * RadToDeg - Dms(1, 23, 26, 27.407L)) * 3600, 0.0, 0.001);
    EXPECT_NEAR(static_cast<double>(NutationLongitude(jd) * ArcsecPerRad), -3.788, 0.6);
    EXPECT_NEAR(static_cast<double>(NutationObliquity(jd) * ArcsecPerRad), 9.443, 0.25);
}

TEST(EarthOrientation, GeneralPrecessionGrowsByTheAnnualRate) {
    // 50.29" a year at J2000.0 (the first coefficient), 0 at J2000.0 itself.
    EXPECT_EQ(GeneralPrecession(JD_J2000), 0);
    EXPECT_NEAR(static_cast<double>(GeneralPrecession(JD_J2000 + 365.25L) * ArcsecPerRad), 50.291, 0.001);
}

TEST(LocalSiderealTime, StaysInADayForAnyLongitude) {
    const Extended lons[] = {-Pi, -2.0L, 0.0L, 1.0L, Pi};
    for (Extended jd = 2451000.5L; jd < 2452000; jd += 37.13L)
        for (Extended lon : lons) {
            Extended h = LocalSiderealTime(jd, lon);
            EXPECT_GE(h, 0) << static_cast<double>(jd);
            EXPECT_LE(h, 24) << static_cast<double>(jd);
            // The same instant as the Greenwich mean time plus the longitude.
            Extended expect = std::fmod(GreenwichSiderealTime(0, jd) + lon + 2 * TwoPi, TwoPi) * 12 / Pi;
            EXPECT_NEAR(static_cast<double>(std::fmod(h - expect + 36, 24.0L) - 12), 0.0, 1e-12);
        }
}

TEST(LocalSiderealTime, FromTheDateAndTimeUsesUniversalTime) {
    // 1987-04-10 14:21 local at 5 h west of Greenwich is 19:21 UT (Meeus
    // ex. 12.b, 8h34m57.0896s at Greenwich); 77 deg W takes 5h08m off.
    ObsDateTime dt;
    dt.zone = 5.0L / 24;
    dt.SetDayNumber(static_cast<double>(EncodeDate(1987, 4, 10)) + (14 + 21 / 60.0) / 24);
    Extended lon = -77 * DegToRad;
    Extended expect = Hms(8, 34, 57.0896L) - 77.0L / 15;
    // The day number is a double: about 1e-11 day, under 1e-5 s.
    EXPECT_NEAR(static_cast<double>((LocalSiderealTime(dt, lon) - expect) * 3600), 0.0, 1e-3);
}

TEST(NormalizeHours, Table) {
    struct Row { Extended in, out; };
    const Row rows[] = {{0, 0}, {25.5L, 1.5L}, {-1, 23}, {-48.25L, 23.75L}, {24, 0}, {23.999L, 23.999L}};
    for (const auto& r : rows) EXPECT_NEAR(static_cast<double>(NormalizeHours(r.in)), static_cast<double>(r.out), 1e-15);
    EXPECT_LT(NormalizeHours(-1e-30L), 24);
}

SkyPosition Equatorial(Extended raHours, Extended decDeg, std::uint8_t code, Extended jd) {
    SkyPosition p;
    SetEquatorial(p, KindAstrometric, code, jd);
    p.first = raHours * 15 * DegToRad;
    p.second = decDeg * DegToRad;
    return p;
}

TEST(PrecessEquatorial, PublishedCases) {
    struct Row {
        const char* source;
        Extended ra0, dec0, jd0, jd1;  // hours, degrees
        Extended ra1, dec1;
        Extended tolArcsec;
    };
    const Row rows[] = {
        // Rigorous precession, the same formulas: 1e-6 deg of the printed result.
        {"Meeus ex. 21.b, theta Persei to 2028-11-13.19", 41.054063L / 15, 49.227750L, JD_J2000, 2462088.69L,
         41.547214L / 15, 49.348483L, 0.004},
        // Origin and equator of B1950.0 at J2000.0, printed to 0.1 s and 1".
        {"B1950.0 origin", 0, 0, JD_B1950, JD_J2000, Hms(0, 2, 33.7L), Dms(1, 0, 16, 42), 1.5},
    };
    for (const auto& r : rows) {
        SkyPosition p = Equatorial(r.ra0, r.dec0, 0, r.jd0);
        PrecessEquatorial(p, 1, r.jd1);
        Extended dRa = TurnDifference(p.first, r.ra1 * 15 * DegToRad) * ArcsecPerRad;
        EXPECT_NEAR(static_cast<double>(dRa * std::cos(r.dec1 * DegToRad)), 0.0, r.tolArcsec) << r.source;
        EXPECT_NEAR(static_cast<double>((p.second * RadToDeg - r.dec1) * 3600), 0.0, r.tolArcsec) << r.source;
        EXPECT_EQ(p.epochCode, 1);
        EXPECT_EQ(p.epoch, r.jd1);
    }
}

TEST(PrecessEquatorial, NearThePoleKeepsTheSign) {
    // 2h, -89.8 deg at B1950.0 comes to about -89.54 deg at J2000.0.
    SkyPosition p = Equatorial(2, -89.8L, EpochB1950, JD_B1950);
    PrecessEquatorial(p, EpochJ2000, JD_J2000);
    EXPECT_NEAR(static_cast<double>(p.second * RadToDeg), -89.54, 0.005);
    // The arc cosine branch agrees with the arc sine of the rotated z there.
    SkyPosition north = Equatorial(14, 89.8L, EpochB1950, JD_B1950);
    PrecessEquatorial(north, EpochJ2000, JD_J2000);
    EXPECT_GT(north.second, 89.5 * DegToRad);
}

TEST(PrecessEquatorial, SameEpochChangesNothingAndRoundTripReturns) {
    SkyPosition p = Equatorial(5.5L, 20, EpochB1950, JD_J2000);
    SkyPosition same = p;
    PrecessEquatorial(same, EpochOfDate, JD_J2000);
    EXPECT_EQ(same.epochCode, EpochB1950);
    EXPECT_EQ(same.first, p.first);
    EXPECT_EQ(same.second, p.second);

    // There and back over a century: the two series are each other's inverse
    // to their truncation, well under 1e-3".
    const Extended starts[][2] = {{5.5L, 20}, {23.9L, -60}, {12, 0}, {18, 66.56L}};
    for (const auto& s : starts) {
        SkyPosition q = Equatorial(s[0], s[1], EpochJ2000, JD_J2000);
        PrecessEquatorial(q, EpochOfDate, JD_J2000 + 36525);
        PrecessEquatorial(q, EpochJ2000, JD_J2000);
        EXPECT_NEAR(static_cast<double>(TurnDifference(q.first, s[0] * 15 * DegToRad) * ArcsecPerRad *
                                        std::cos(s[1] * DegToRad)),
                    0.0, 1e-3);
        EXPECT_NEAR(static_cast<double>((q.second * RadToDeg - s[1]) * 3600), 0.0, 1e-3);
    }
}

TEST(PrecessEcliptic, VenusBackToMinus214AgainstMeeus21c) {
    // Meeus ex. 21.c: 149.48194, +1.76549 at J2000.0 to -214 June 30.0 gives
    // 118.704, +1.615 (printed to 0.001 deg).
    SkyPosition p;
    SetEcliptic(p, KindMean, EpochJ2000, JD_J2000);
    p.first = 1.76549L * DegToRad;
    p.second = 149.48194L * DegToRad;
    PrecessEcliptic(p, EpochOfDate, 1643074.5L);
    EXPECT_NEAR(static_cast<double>(p.second * RadToDeg), 118.704, 0.0006);
    EXPECT_NEAR(static_cast<double>(p.first * RadToDeg), 1.615, 0.0006);
    EXPECT_EQ(p.epochCode, EpochOfDate);
}

TEST(PrecessEcliptic, SameEpochNothingAndRoundTrip) {
    SkyPosition p;
    SetEcliptic(p, KindMean, EpochB1950, JD_B1950);
    p.first = 0.3L;
    p.second = 6.2L;
    SkyPosition same = p;
    PrecessEcliptic(same, EpochJ2000, JD_B1950);
    EXPECT_EQ(same.epochCode, EpochB1950);
    EXPECT_EQ(same.second, p.second);

    PrecessEcliptic(p, EpochJ2000, JD_J2000);
    EXPECT_GE(p.second, 0);
    EXPECT_LT(p.second, TwoPi);
    PrecessEcliptic(p, EpochB1950, JD_B1950);
    EXPECT_NEAR(static_cast<double>(TurnDifference(p.second, 6.2L) * ArcsecPerRad), 0.0, 1e-4);
    EXPECT_NEAR(static_cast<double>((p.first - 0.3L) * ArcsecPerRad), 0.0, 1e-4);

    // Near the ecliptic pole the latitude keeps its sign.
    SkyPosition pole;
    SetEcliptic(pole, KindMean, EpochJ2000, JD_J2000);
    pole.first = -89.9L * DegToRad;
    pole.second = 1;
    PrecessEcliptic(pole, EpochOfDate, JD_J2000 + 365250);
    EXPECT_LT(pole.first, -89 * DegToRad);
}

TEST(EclipticToEquatorial, PublishedAndSpecialDirections) {
    // Meeus ex. 13.a: Pollux, lambda 113.215630, beta 6.684170 with
    // eps 23.4392911 gives alpha 116.328942, delta 28.026183 (1e-6 deg).
    struct Row {
        const char* source;
        Extended betaDeg, lambdaDeg;
        Extended alphaDeg, deltaDeg;  // alpha in (-180, 180]
    };
    const Extended eps = Obliquity(JD_J2000) * RadToDeg;
    const Row rows[] = {
        {"Meeus ex. 13.a Pollux", 6.684170L, 113.215630L, 116.328942L, 28.026183L},
        {"vernal equinox", 0, 0, 0, 0},
        {"summer solstice", 0, 90, 90, eps},
        {"autumnal equinox", 0, 180, 180, 0},
        {"winter solstice", 0, 270, -90, -eps},
        {"north ecliptic pole", 90, 0, -90, 90 - eps},
    };
    for (const auto& r : rows) {
        SkyPosition src, dst;
        SetEcliptic(src, KindMean, EpochJ2000, JD_J2000);
        src.first = r.betaDeg * DegToRad;
        src.second = r.lambdaDeg * DegToRad;
        EclipticToEquatorial(dst, src);
        EXPECT_NEAR(static_cast<double>(dst.first * RadToDeg), static_cast<double>(r.alphaDeg), 2e-6) << r.source;
        EXPECT_GT(dst.first, -Pi);
        EXPECT_LE(dst.first, Pi);
        EXPECT_NEAR(static_cast<double>(dst.second * RadToDeg), static_cast<double>(r.deltaDeg), 2e-6) << r.source;
        EXPECT_EQ(dst.kind, src.kind);
        EXPECT_EQ(dst.epoch, src.epoch);
    }
}

TEST(EclipticToEquatorial, ApparentKindAddsTheNutationInObliquity) {
    SkyPosition src, mean, apparent;
    SetEcliptic(src, KindMean, EpochOfDate, 2446895.5L);
    src.first = 0;
    src.second = Pi / 2 + 1e-9L;
    EclipticToEquatorial(mean, src);
    src.kind = KindApparent;
    EclipticToEquatorial(apparent, src);
    // At the solstice the declination is the obliquity itself.
    EXPECT_NEAR(static_cast<double>(apparent.second - mean.second),
                static_cast<double>(NutationObliquity(2446895.5L)), 1e-15);
}

TEST(EclipticFromVector, TakesHeaderAndDirection) {
    SkyPosition header, p;
    SetEcliptic(header, KindApparent, EpochJ2000, JD_J2000);
    EclipticFromVector(p, header, Vector3{-1, 1, std::sqrt(2.0L)});
    EXPECT_EQ(p.kind, KindApparent);
    EXPECT_EQ(p.frame, FrameEcliptic);
    EXPECT_NEAR(static_cast<double>(p.first), static_cast<double>(Pi / 4), 1e-15);
    EXPECT_NEAR(static_cast<double>(p.second), static_cast<double>(3 * Pi / 4), 1e-15);
}

TEST(HorizonPosition, VenusAtWashingtonAgainstMeeus13b) {
    // Meeus ex. 13.b: 1987-04-10 19:21 UT, 38d55'17" N 77d03'56" W, Venus at
    // 23h09m16.641s -6d43'11.61": altitude 15.1249, azimuth 68.0337 from the
    // south westward (248.0337 from north through east). With its printed
    // inputs and our two-term nutation the hour angle comes out 0.0002 deg
    // below the example's 64.352133, which moves both angles by as much: 3e-4 deg.
    Site site{Dms(1, 38, 55, 17) * DegToRad, -Dms(1, 77, 3, 56) * DegToRad};
    SkyPosition venus = Equatorial(Hms(23, 9, 16.641L), Dms(-1, 6, 43, 11.61L), EpochOfDate, 2446896.30625L);
    Horizontal h = HorizonPosition(site, venus, 2446896.30625L);
    EXPECT_NEAR(static_cast<double>(h.altitude * RadToDeg), 15.1249, 3e-4);
    EXPECT_NEAR(static_cast<double>(TurnDifference(h.azimuth, 248.0337L * DegToRad) * RadToDeg), 0.0, 3e-4);
    EXPECT_GT(h.azimuth, -Pi);
    EXPECT_LE(h.azimuth, Pi);
}

TEST(HorizonPosition, OnTheMeridianSouthOfTheZenithIsSouth) {
    const Extended jd = 2451545.0L;
    Site site{50 * DegToRad, 0.3L};
    SkyPosition star;
    SetEquatorial(star, KindMean, EpochOfDate, jd);
    star.first = GreenwichSiderealTime(1, jd) + site.eastLongitude;  // H = 0
    star.second = 10 * DegToRad;
    Horizontal h = HorizonPosition(site, star, jd);
    // -pi and pi are the same direction.
    EXPECT_NEAR(static_cast<double>(TurnDifference(h.azimuth, Pi)), 0.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.altitude * RadToDeg), 50.0, 1e-12);
    // North of the zenith it is north.
    star.second = 80 * DegToRad;
    EXPECT_NEAR(static_cast<double>(HorizonPosition(site, star, jd).azimuth), 0.0, 1e-15);
}


TEST(FastTrigonometry, AgreesWithTheLibrary) {
    // Against the library's long double functions: within 3e-19, about three
    // units in the last place of values near 1, after the reduction by whole
    // turns; unreduced, the coprocessor's 66-bit pi adds |x| x 1.3e-21.
    std::uint64_t seed = 88172645463325252ull;
    auto next = [&]() {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return static_cast<Extended>(seed >> 11) / 9007199254740992.0L * 2 - 1;  // [-1, 1)
    };
    for (Extended range : {0.5L, 3.2L, 64.0L, 1000.0L, 1e6L, 1e9L}) {
        Extended worst = 0, worstRaw = 0;
        for (int k = 0; k < 20000; ++k) {
            Extended x = range * next();
            Extended s, c;
            SinCos(x, s, c);
            worst = std::max(worst, std::max(std::fabs(s - std::sin(x)), std::fabs(c - std::cos(x))));
            if (range <= 1e6L) {
                SinCosUnreduced(x, s, c);
                Extended err = std::max(std::fabs(s - std::sin(x)), std::fabs(c - std::cos(x)));
                worstRaw = std::max(worstRaw, err - std::fabs(x) * 1.3e-21L);
            }
        }
        EXPECT_LT(worst, 3e-19L) << static_cast<double>(range);
        EXPECT_LT(worstRaw, 3e-19L) << static_cast<double>(range);
    }
    // Arc sine and cosine, clamped like SafeArcSin and SafeArcCos.
    for (Extended x : {-1.0000001L, -1.0L, -0.999999L, -0.5L, 0.0L, 1e-10L, 0.7071L, 0.99999999L, 1.0L, 1.5L}) {
        EXPECT_NEAR(static_cast<double>(ClampedArcSin(x) - SafeArcSin(x)), 0.0, 1e-18) << static_cast<double>(x);
        EXPECT_NEAR(static_cast<double>(ClampedArcCos(x) - SafeArcCos(x)), 0.0, 1e-18) << static_cast<double>(x);
    }
}

}  // namespace
}  // namespace qnr
