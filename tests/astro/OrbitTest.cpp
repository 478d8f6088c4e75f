#include "astro/Orbit_Pr.h"

#include <cmath>

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace qnr {
namespace {

constexpr Extended Gauss = 0.01720209895L;  // AU^1.5 per day, for the Sun

// Independent solutions of Kepler's equation by bisection, to the last bit.
Extended EllipticAnomaly(Extended e, Extended M) {
    Extended lo = M - 1, hi = M + 1;
    for (int k = 0; k < 300; ++k) {
        Extended mid = (lo + hi) / 2;
        (mid - e * std::sin(mid) - M < 0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}
Extended HyperbolicAnomaly(Extended e, Extended M) {
    Extended lo = -80, hi = 80;
    for (int k = 0; k < 300; ++k) {
        Extended mid = (lo + hi) / 2;
        (e * std::sinh(mid) - mid - M < 0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}
Extended NuFromE(Extended e, Extended E) { return std::atan2(std::sqrt(1 - e * e) * std::sin(E), std::cos(E) - e); }
Extended NuFromH(Extended e, Extended H) {
    return std::atan2(std::sqrt(e * e - 1) * std::sinh(H), e - std::cosh(H));
}

Extended AngleGap(Extended a, Extended b) { return std::remainder(a - b, TwoPi); }

TEST(ClassifyOrbit, Boundaries) {
    struct Row { Extended e; int cls; };
    const Row rows[] = {{0, 0}, {1e-12L, 1}, {0.9799L, 1}, {0.98L, 2}, {1, 2}, {1.02L, 2}, {1.0201L, 3}, {5, 3}};
    for (const auto& r : rows) EXPECT_EQ(ClassifyOrbit(r.e), r.cls) << static_cast<double>(r.e);
}

TEST(TrueAnomaly, EllipticAndHyperbolicAgainstBisection) {
    // The solvers stop once |f| <= 1e-10; the anomaly then is within
    // 1e-10 / (1 - e) and the true anomaly within about ten times that for
    // the most eccentric row: 1e-7 rad covers every row.
    struct Row { Extended e; Extended M; };
    const Row rows[] = {
        {0.1L, 0.3L},  {0.5L, -2.5L}, {0.9L, 0.05L}, {0.9799L, 0.01L}, {0.9799L, 3.0L}, {0.6L, 7.0L},  // elliptic
        {1.5L, 0.5L},  {1.5L, 10},    {3, 1000},     {1.05L, 0.001L},  {1.5L, -50},   {2, -1.81L},   // hyperbolic
    };
    for (const auto& r : rows) {
        OrbitElements el;
        el.e = r.e;
        el.n = 1e-6L;
        el.T = 2450000.5L;
        Extended jd = el.T + r.M / (el.n * 86400);
        AnomalyResult got = TrueAnomaly(el, jd);
        ASSERT_TRUE(got.ok) << static_cast<double>(r.e) << " " << static_cast<double>(r.M);
        Extended want = r.e < 1 ? NuFromE(r.e, EllipticAnomaly(r.e, std::remainder(r.M, TwoPi)))
                                : NuFromH(r.e, HyperbolicAnomaly(r.e, r.M));
        EXPECT_NEAR(static_cast<double>(AngleGap(got.nu, want)), 0.0, 1e-7)
            << static_cast<double>(r.e) << " " << static_cast<double>(r.M);
    }
}

TEST(TrueAnomaly, EllipticFromApheliumNeedsNothing) {
    OrbitElements el;
    el.e = 0.7L;
    el.n = 2e-7L;
    el.T = 2451000;
    AnomalyResult got = TrueAnomaly(el, el.T + Pi / (el.n * 86400));
    ASSERT_TRUE(got.ok);
    EXPECT_NEAR(static_cast<double>(std::fabs(got.nu)), static_cast<double>(Pi), 1e-15);
    // And the body stands at aphelion, q (1 + e) / (1 - e) from the Sun.
    el.q = KmPerAU;
    std::optional<StateVector> s = StateAt(MakeOrbit(el, GMSun), el.T + Pi / (el.n * 86400));
    ASSERT_TRUE(s);
    EXPECT_NEAR(static_cast<double>(VecLength(s->position) / KmPerAU), 1.7 / 0.3, 1e-12);
}

TEST(TrueAnomaly, CircularIsTheMeanAnomaly) {
    OrbitElements el;
    el.e = 0;
    el.n = 3e-7L;
    el.T = 2451545;
    for (Extended days : {-1000.0L, 0.0L, 17.25L, 5000.0L}) {
        AnomalyResult got = TrueAnomaly(el, el.T + days);
        EXPECT_TRUE(got.ok);
        EXPECT_EQ(got.nu, el.n * 86400 * days);
    }
}

TEST(TrueAnomaly, NearParabolicAgainstKeplerByBisection) {
    // The near-parabolic series uses the Gaussian constant, so the reference
    // mean motion is k / a^1.5 per day. It stops when s changes by under 1e-10:
    // 1e-9 rad.
    struct Row { Extended e, qAU, days; };
    const Row rows[] = {{0.98L, 1, 30},     {0.99L, 0.5L, -120}, {0.9999L, 2, 400},
                        {1.0001L, 1, -365}, {1.01L, 1.5L, 200},  {1.02L, 0.3L, 50}};
    for (const auto& r : rows) {
        OrbitElements el;
        el.e = r.e;
        el.q = r.qAU * KmPerAU;
        el.T = 2450000.5L;
        AnomalyResult got = TrueAnomaly(el, el.T + r.days);
        ASSERT_TRUE(got.ok) << static_cast<double>(r.e);
        Extended a = r.qAU / (1 - r.e);
        Extended M = Gauss / std::pow(std::fabs(a), 1.5L) * r.days;
        Extended want = r.e < 1 ? NuFromE(r.e, EllipticAnomaly(r.e, M)) : NuFromH(r.e, HyperbolicAnomaly(r.e, M));
        EXPECT_NEAR(static_cast<double>(AngleGap(got.nu, want)), 0.0, 1e-9) << static_cast<double>(r.e);
    }
}

TEST(TrueAnomaly, ParabolicCase) {
    // e = 1, q = 1 AU, 10 days after perihelion: tan(nu/2) = s with
    // s^3/3 + s = q1 x 10 days, q1 = k sqrt(2/q) / (2q); Cardano's root. The
    // iteration stops when s moves by under 1e-10.
    OrbitElements el;
    el.e = 1;
    el.q = KmPerAU;
    el.T = 2448000.5L;
    AnomalyResult got = TrueAnomaly(el, el.T + 10);
    ASSERT_TRUE(got.ok);
    Extended w = 1.5L * Gauss * std::sqrt(2.0L) / 2 * 10;
    Extended root = std::sqrt(w * w + 1);
    Extended s = std::cbrt(w + root) + std::cbrt(w - root);
    EXPECT_NEAR(static_cast<double>(std::tan(got.nu / 2)), static_cast<double>(s), 1e-10);
}

TEST(TrueAnomaly, MeeusNearParabolicTable) {
    // Meeus, Astronomical Algorithms, the test data of the near-parabolic
    // chapter (p. 247), printed to 1e-5 deg and 1e-6 AU. Rows outside
    // 0.98..1.02 go to the elliptic or hyperbolic solver, given the Gaussian
    // mean motion k / |a|^1.5 per day.
    struct Row { Extended q, e, days, nuDeg, r; };
    const Row rows[] = {
        {0.921326L, 1, 138.4783L, 102.74426L, 2.364192L},
        {0.1L, 0.987L, 254.9L, 164.50029L, 4.063777L},
        {0.123456L, 0.99997L, -30.47L, 221.91190L, 0.965053L},
        {3.363943L, 1.05731L, 1237.1L, 109.40598L, 10.668551L},
        {0.5871018L, 0.9672746L, 20, 52.85331L, 0.729116L},
        {0.5871018L, 0.9672746L, 0, 0, 0.5871018L},
    };
    for (const auto& r : rows) {
        OrbitElements el;
        el.e = r.e;
        el.q = r.q * KmPerAU;
        el.T = 2448000.5L;
        if (r.e != 1) el.n = Gauss / std::pow(std::fabs(r.q / (1 - r.e)), 1.5L) / 86400;
        AnomalyResult got = TrueAnomaly(el, el.T + r.days);
        ASSERT_TRUE(got.ok) << static_cast<double>(r.e);
        EXPECT_NEAR(static_cast<double>(AngleGap(got.nu, r.nuDeg * DegToRad) * RadToDeg), 0.0, 1e-5)
            << static_cast<double>(r.e);
        Extended radius = r.q * (1 + r.e) / (1 + r.e * std::cos(got.nu));
        EXPECT_NEAR(static_cast<double>(radius), static_cast<double>(r.r), 1e-6) << static_cast<double>(r.e);
    }
}

TEST(TrueAnomaly, FailuresAreReported) {
    // The series diverges far from perihelion of a near-parabolic ellipse; a
    // broken record (mean motion not a number) never meets the tolerance.
    OrbitElements far;
    far.e = 0.98L;
    far.q = 1 * KmPerAU;
    far.T = 2450000.5L;
    EXPECT_FALSE(TrueAnomaly(far, far.T + 30000).ok);
    OrbitElements broken;
    broken.e = 0.5L;
    broken.n = std::nanl("");
    EXPECT_FALSE(TrueAnomaly(broken, 2450000.5L).ok);
    broken.e = 2;
    EXPECT_FALSE(TrueAnomaly(broken, 2450000.5L).ok);
}

// A state from elements by the textbook perifocal formulas.
StateVector StateFrom(Extended qAU, Extended e, Extended iDeg, Extended nodeDeg, Extended periDeg, Extended nuDeg,
                      Extended gm, Extended jd) {
    Extended q = qAU * KmPerAU, p = q * (1 + e), nu = nuDeg * DegToRad;
    Extended r = p / (1 + e * std::cos(nu));
    Extended px = r * std::cos(nu), py = r * std::sin(nu);
    Extended vx = -std::sqrt(gm / p) * std::sin(nu), vy = std::sqrt(gm / p) * (e + std::cos(nu));
    Extended i = iDeg * DegToRad, O = nodeDeg * DegToRad, w = periDeg * DegToRad;
    auto rotate = [&](Extended x, Extended y) {
        // Rz(O) Rx(i) Rz(w) (x, y, 0)
        Extended x1 = x * std::cos(w) - y * std::sin(w), y1 = x * std::sin(w) + y * std::cos(w);
        Extended y2 = y1 * std::cos(i), z2 = y1 * std::sin(i);
        return Vector3{x1 * std::cos(O) - y2 * std::sin(O), x1 * std::sin(O) + y2 * std::cos(O), z2};
    };
    StateVector s;
    s.time = jd;
    s.position = rotate(px, py);
    s.velocity = rotate(vx, vy);
    SetEcliptic(s.header, KindMean, EpochJ2000, JD_J2000);
    return s;
}

Extended RelativeGap(const Vector3& a, const Vector3& b) {
    return VecLength(VecAdd(a, VecNegate(b))) / VecLength(b);
}

TEST(ElementsFromState, RoundTripThroughTheElements) {
    // Elements within rounding (1e-12), the time of perihelion from an
    // independent anomaly (1e-6 day, about 0.1 s), and the state back from
    // the propagator: its solvers stop at 1e-10 rad, times at most 10 for the
    // most eccentric rows, so 1e-9 relative.
    struct Row { Extended qAU, e, i, node, peri, nu; int cls; };
    const Row rows[] = {
        {2.0L, 0.2L, 10, 80, 70, 40, 1},          {0.5L, 0.9799L, 150, 300, 10, -30, 1},
        {1.0L, 0.98L, 45, 10, 250, 60, 2},        {0.8L, 0.995L, 5, 200, 100, -50, 2},
        {1.2L, 1, 30, 120, 30, 90, 2},            {1.5L, 1.01L, 60, 45, 300, 70, 2},
        {2.5L, 1.5L, 20, 90, 180, 80, 3},         {1.0L, 1.5L, 100, 260, 45, -120, 3},
    };
    const Extended t = 2455197.5L;
    for (const auto& r : rows) {
        StateVector s = StateFrom(r.qAU, r.e, r.i, r.node, r.peri, r.nu, GMSun, t);
        OrbitElements el = ElementsFromState(s);
        const std::string tag = "e=" + std::to_string(static_cast<double>(r.e));
        EXPECT_EQ(ClassifyOrbit(el.e), r.cls) << tag;
        EXPECT_NEAR(static_cast<double>(el.q / KmPerAU / r.qAU), 1.0, 1e-12) << tag;
        EXPECT_NEAR(static_cast<double>(el.e), static_cast<double>(r.e), 1e-12) << tag;
        EXPECT_NEAR(static_cast<double>(el.i * RadToDeg), static_cast<double>(r.i), 1e-10) << tag;
        EXPECT_NEAR(static_cast<double>(AngleGap(el.node, r.node * DegToRad)), 0.0, 1e-12) << tag;
        EXPECT_NEAR(static_cast<double>(AngleGap(el.peri, r.peri * DegToRad)), 0.0, 1e-12) << tag;
        EXPECT_EQ(el.epoch, t);

        Extended nu = r.nu * DegToRad, M, n;  // n per day
        if (r.e == 1) {
            Extended sh = std::tan(nu / 2);
            M = sh + sh * sh * sh / 3;
            n = std::sqrt(GMSun / (2 * std::pow(r.qAU * KmPerAU, 3))) * 86400;
        } else if (r.e < 1) {
            Extended E = 2 * std::atan(std::sqrt((1 - r.e) / (1 + r.e)) * std::tan(nu / 2));
            M = E - r.e * std::sin(E);
            n = std::sqrt(GMSun / std::pow(r.qAU * KmPerAU / (1 - r.e), 3)) * 86400;
        } else {
            Extended H = 2 * std::atanh(std::sqrt((r.e - 1) / (r.e + 1)) * std::tan(nu / 2));
            M = r.e * std::sinh(H) - H;
            n = std::sqrt(GMSun / std::pow(r.qAU * KmPerAU / (r.e - 1), 3)) * 86400;
        }
        EXPECT_NEAR(static_cast<double>(el.T - (t - M / n)), 0.0, 1e-6) << tag;

        std::optional<StateVector> back = StateAt(MakeOrbit(el, GMSun), t);
        ASSERT_TRUE(back) << tag;
        EXPECT_LT(RelativeGap(back->position, s.position), 1e-9) << tag;
        EXPECT_LT(RelativeGap(back->velocity, s.velocity), 1e-9) << tag;
        EXPECT_EQ(back->time, t);
    }
}

TEST(ElementsFromState, EclipticAndCircularOrbits) {
    // GM 1.6e11 with r = 1e8 km and v = 40 km/s is exactly circular. The angle
    // that has no value (the node in the ecliptic, the perihelion on a circle)
    // is 0; the others place the body where it is.
    const Extended gm = 1.6e11L, t = 2451545.0L;
    struct Row {
        const char* what;
        Vector3 r, v;
        Extended e, iDeg, nodeDeg, periDeg;  // e < 0: some nonzero value
    };
    const Row rows[] = {
        {"circular, inclined", {1e8L, 0, 0}, {0, 24, 32}, 0, std::atan2(32.0L, 24.0L) * RadToDeg, 0, 0},
        {"circular, in the ecliptic", {6e7L, 8e7L, 0}, {-32, 24, 0}, 0, 0, 0, 0},
        {"circular, retrograde in the ecliptic", {6e7L, 8e7L, 0}, {32, -24, 0}, 0, 180, 0, 0},
        {"circular but for rounding", {1e8L, 0, 0}, {0, 40 * std::cos(Pi / 6), 40 * std::sin(Pi / 6)}, -1, 30, 0, -1},
        {"elliptic, in the ecliptic", {1.2e8L, 5e7L, 0}, {-10, 30, 0}, -1, 0, 0, -1},
        {"elliptic, retrograde in the ecliptic", {1.2e8L, 5e7L, 0}, {10, -30, 0}, -1, 180, 0, -1},
    };
    for (const auto& row : rows) {
        StateVector s;
        s.time = t;
        s.position = row.r;
        s.velocity = row.v;
        OrbitElements el = ElementsFromState(s, gm);
        if (row.e >= 0) {
            EXPECT_EQ(el.e, row.e) << row.what;
        }
        EXPECT_NEAR(static_cast<double>(el.i * RadToDeg), static_cast<double>(row.iDeg), 1e-12) << row.what;
        EXPECT_EQ(el.node, row.nodeDeg) << row.what;
        if (row.periDeg >= 0) {
            EXPECT_EQ(el.peri, row.periDeg) << row.what;
        }
        EXPECT_TRUE(std::isfinite(el.M)) << row.what;
        EXPECT_TRUE(std::isfinite(el.T)) << row.what;
        std::optional<StateVector> back = StateAt(MakeOrbit(el, gm), t);
        ASSERT_TRUE(back) << row.what;
        EXPECT_LT(RelativeGap(back->position, s.position), 1e-12) << row.what;
        EXPECT_LT(RelativeGap(back->velocity, s.velocity), 1e-12) << row.what;
        // A quarter period on, a circle has turned by 90 degrees.
        if (row.e == 0) {
            std::optional<StateVector> later = StateAt(MakeOrbit(el, gm), t + Pi / 2 / el.n / 86400);
            ASSERT_TRUE(later);
            EXPECT_NEAR(static_cast<double>(VecDot(later->position, s.position) / 1e16L), 0.0, 1e-12) << row.what;
        }
    }
}

TEST(ElementsFromState, EquinoxClassAndDerivedValues) {
    struct Row { std::uint8_t code; Extended jd; std::uint8_t cls; };
    const Row rows[] = {{0, 2415020.3135L, 0}, {0, 2433282.4235L, 1}, {1, 2451545.0L, 2},
                        {1, 2469807.5L, 3},    {2, 2455000.5L, 4}};
    for (const auto& r : rows) {
        StateVector s = StateFrom(2.7L, 0.08L, 10.6L, 80.3L, 73.6L, 20, GMSun, 2455000.5L);
        SetEcliptic(s.header, KindMean, r.code, r.jd);
        EXPECT_EQ(ElementsFromState(s).equinoxClass, r.cls) << static_cast<double>(r.jd);
    }
    // A Ceres-like orbit: a = 2.7 / 0.92 AU; the period is a^1.5 years.
    OrbitElements el = ElementsFromState(StateFrom(2.7L, 0.08L, 10.6L, 80.3L, 73.6L, 20, GMSun, 2455000.5L));
    Extended a = 2.7L / 0.92L;
    EXPECT_NEAR(static_cast<double>(el.a / KmPerAU), static_cast<double>(a), 1e-12);
    // a^1.5 counts sidereal years (365.25636 d), the divisor is 365.2422 d: 4e-5 relative.
    EXPECT_NEAR(static_cast<double>(PeriodYears(el)), static_cast<double>(std::pow(a, 1.5L)), 1e-3);
    EXPECT_GE(el.M, 0);
    EXPECT_LT(el.M, TwoPi);
    EXPECT_NEAR(static_cast<double>(LongitudeOfPerihelion(el) * RadToDeg), 80.3 + 73.6, 1e-9);
    OrbitElements wrap = el;
    wrap.node = 5;
    wrap.peri = 5;
    wrap.M = 5;
    EXPECT_NEAR(static_cast<double>(MeanLongitude(wrap)), static_cast<double>(15 - 2 * TwoPi), 1e-15);
    EXPECT_NEAR(static_cast<double>(LongitudeOfPerihelion(wrap)), static_cast<double>(10 - TwoPi), 1e-15);

    OrbitElements adv = el;
    AdvanceMeanAnomaly(adv, el.epoch + 100);
    EXPECT_EQ(adv.epoch, el.epoch + 100);
    EXPECT_NEAR(static_cast<double>(AngleGap(adv.M, el.M + el.n * 86400 * 100)), 0.0, 1e-12);
    EXPECT_GE(adv.M, 0);
}

Vector3 Direction(Extended beta, Extended lambda) { return PolarToVec(1, Pi / 2 - beta, lambda); }

SkyPosition EclipticOf(const Vector3& v, Extended jd) {
    SkyPosition header, p;
    SetEcliptic(header, KindMean, EpochOfDate, jd);
    EclipticFromVector(p, header, v);
    return p;
}

TEST(PrecessElements, AgreesWithPrecessingThePerihelionAndThePole) {
    // The orbit's perihelion direction and pole, precessed as points, must be
    // the perihelion and pole of the precessed elements (rotations: 1e-12).
    struct Row { Extended i, node, peri, jd0, jd1; };
    const Row rows[] = {
        {10, 80, 70, JD_J2000, 2469807.5L},  {10, 80, 70, JD_B1950, JD_J2000},   {170, 300, 200, JD_J2000, 2415020.3135L},
        {0.3L, 10, 20, JD_B1950, JD_J2000},  {0, 0, 130, JD_J2000, 2469807.5L}, {0, 0, 130, 2469807.5L, JD_J2000},
        {0, 250, 40, JD_B1950, JD_J2000},    {0, 250, 40, JD_J2000, JD_B1950},
    };
    for (const auto& r : rows) {
        OrbitElements el;
        SetEcliptic(el.header, KindMean, EpochOfDate, r.jd0);
        el.i = r.i * DegToRad;
        el.node = r.node * DegToRad;
        el.peri = r.peri * DegToRad;
        Orbit before = MakeOrbit(el, GMSun);
        PrecessElements(el, EpochOfDate, r.jd1);
        EXPECT_EQ(el.header.epoch, r.jd1);
        Orbit after = MakeOrbit(el, GMSun);
        for (bool pole : {false, true}) {
            Vector3 v0 = pole ? VecCross(before.P, before.Q) : before.P;
            Vector3 v1 = pole ? VecCross(after.P, after.Q) : after.P;
            SkyPosition p = EclipticOf(v0, r.jd0);
            PrecessEcliptic(p, EpochOfDate, r.jd1);
            Extended gap = VecLength(VecAdd(Direction(p.first, p.second), VecNegate(v1)));
            EXPECT_LT(gap, 1e-12) << static_cast<double>(r.i) << (pole ? " pole" : " perihelion") << " to "
                                  << static_cast<double>(r.jd1);
        }
        EXPECT_GE(el.i, 0);
    }
}

TEST(PrecessElements, SameEquinoxChangesNothing) {
    OrbitElements el;
    SetEcliptic(el.header, KindMean, EpochB1950, JD_J2000);
    el.i = 0.2L;
    el.node = 7;  // not reduced: nothing is touched
    el.peri = -1;
    PrecessElements(el, EpochJ2000, JD_J2000);
    EXPECT_EQ(el.header.epochCode, EpochB1950);
    EXPECT_EQ(el.node, 7);
    EXPECT_EQ(el.peri, -1);
}

// A body 2 AU beyond the Earth on a circular orbit, seen at opposition.
SolarBody OppositionBody(std::uint8_t mode, Extended jd, Extended& speed) {
    Sun sun;
    Vector3 earth = EarthVector(sun, jd);
    Extended R = VecLength(earth);
    Vector3 u = VecScale(earth, 1 / R);
    Extended rho = R + 2 * KmPerAU;
    speed = std::sqrt(GMSun / rho);
    Vector3 along = VecScale(VecCross(Vector3{0, 0, 1}, u), 1 / VecLength(VecCross(Vector3{0, 0, 1}, u)));
    StateVector s;
    s.time = jd;
    s.position = VecScale(u, rho);
    s.velocity = VecScale(along, speed);
    SetEcliptic(s.header, KindMean, EpochJ2000, JD_J2000);
    return MakeSolarBody(s, mode, MagnitudeParameters{MagnitudeAsteroid, 5, 0.15L}, nullptr);
}

TEST(GeocentricPosition, LightTimeAtTwoAU) {
    // tau = 2 AU x 499.005 s/AU, within the loop's stopping step of 1e-5 day.
    const Extended jd = 2455197.5L;
    Extended speed;
    SolarBody body = OppositionBody(KindAstrometric, jd, speed);
    BodyPlace place = GeocentricPosition(body, jd);
    ASSERT_TRUE(place.ok);
    EXPECT_NEAR(static_cast<double>(place.distance), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(place.lightTime), 0.01155, 2e-5);
    EXPECT_NEAR(static_cast<double>(place.lightTime), static_cast<double>(2 * LightDaysPerAU), 1e-5);
    EXPECT_EQ(place.position.epochCode, EpochOfDate);
    EXPECT_EQ(place.position.epoch, jd);

    // Against the geometric place the body lags by its motion during tau,
    // v tau / delta, within 1% (the loop's last step and the geometry).
    SolarBody geometric = OppositionBody(KindMean, jd, speed);
    BodyPlace geo = GeocentricPosition(geometric, jd);
    ASSERT_TRUE(geo.ok);
    Extended lag = speed * place.lightTime * 86400 / (2 * KmPerAU);
    EXPECT_NEAR(static_cast<double>(AngleGap(geo.position.second, place.position.second) / lag), 1.0, 0.01);
    EXPECT_EQ(geo.lightTime, 0);
}

TEST(GeocentricPosition, ApparentAddsTheAnnualAberrationAndNutation) {
    // With the Earth also taken at jd - tau, the difference to the astrometric
    // place is the annual aberration; at opposition the classical formula
    // (Meeus 23.2) gives +kappa + e kappa cos(perihelion - lambda), kappa 20.49552".
    // 0.2" covers the Earth's curved path and the series' velocity.
    const Extended jd = 2455197.5L;
    Extended speed;
    SolarBody app = OppositionBody(KindApparent, jd, speed);
    SolarBody ast = OppositionBody(KindAstrometric, jd, speed);
    BodyPlace a = GeocentricPosition(app, jd);
    BodyPlace b = GeocentricPosition(ast, jd);
    ASSERT_TRUE(a.ok && b.ok);
    const Extended kappa = 20.49552L, ecc = 0.016708634L, perihelion = 102.93735L * DegToRad;
    Extended lambda = b.position.second;
    Extended expect = kappa + ecc * kappa * std::cos(perihelion - lambda);
    Extended got = (AngleGap(a.position.second, b.position.second) - NutationLongitude(jd)) * RadToDeg * 3600;
    EXPECT_NEAR(static_cast<double>(got), static_cast<double>(expect), 0.2);
    EXPECT_EQ(a.position.kind, KindApparent);
    // The reported distance is the one at the instant itself.
    EXPECT_EQ(a.distance, b.distance);
}

TEST(GeocentricPosition, CometEnckeAgainstMeeus33b) {
    // 1990-10-06.0, elements for J2000.0 (Meeus ex. 33.b, with the full Earth
    // theory): astrometric J2000.0 alpha 158.558965, delta +19.158495. Our
    // 50-term Sun is good to about 1", which the comet's nearness (0.82 AU
    // against 1 AU) enlarges a little: 2".
    OrbitElements el;
    SetEcliptic(el.header, KindAstrometric, EpochJ2000, JD_J2000);
    Extended a = 2.2091404L;
    el.e = 0.8502196L;
    el.q = a * (1 - el.e) * KmPerAU;
    el.a = a * KmPerAU;
    el.i = 11.94524L * DegToRad;
    el.node = 334.75006L * DegToRad;
    el.peri = 186.23352L * DegToRad;
    el.n = std::sqrt(GMSun / std::pow(el.a, 3));
    el.T = 2448193.04502L;
    SolarBody body;
    body.mode = KindAstrometric;
    SetEclipticFrame(body.frame, KindAstrometric, EpochJ2000, JD_J2000);
    body.orbit = MakeOrbit(el, GMSun);
    const Extended jd = 2448170.5L;
    BodyPlace place = GeocentricPosition(body, jd);
    ASSERT_TRUE(place.ok);
    SkyPosition back = place.position, eq;
    PrecessEcliptic(back, EpochJ2000, JD_J2000);
    EclipticToEquatorial(eq, back);
    EXPECT_NEAR(static_cast<double>((eq.first * RadToDeg - 158.558965L) * 3600 * std::cos(eq.second)), 0.0, 2.0);
    EXPECT_NEAR(static_cast<double>((eq.second * RadToDeg - 19.158495L) * 3600), 0.0, 2.0);
}

TEST(GeocentricPosition, SolverFailureIsShownAndTheBodySkipped) {
    test::FakeDialogs dialogs;
    OrbitElements el;
    SetEcliptic(el.header, KindMean, EpochJ2000, JD_J2000);
    el.e = 0.98L;
    el.q = 1 * KmPerAU;
    el.T = 2450000.5L;
    SolarBody body;
    body.mode = KindApparent;
    body.orbit = MakeOrbit(el, GMSun);
    body.magnitude = {MagnitudeAsteroid, 10, 0.15L};
    body.dialogs = &dialogs;
    BodyPlace place = GeocentricPosition(body, el.T + 30000);
    EXPECT_FALSE(place.ok);
    EXPECT_TRUE(body.error);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Maximum Iterations Exceeded for Kepler's Equation\r\nOr Convergence Failure for Stumpff/Landgraf Method!");
    EXPECT_EQ(dialogs.messages[0].caption, "*** Orbit Calculation Error! ***");
    // No brightness for a body that could not be placed, and no second message.
    EXPECT_EQ(Magnitude(body, el.T + 30000), 100);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_FALSE(HeliocentricPosition(body, el.T + 30000).ok);
    // Near perihelion it is placed again and the flag clears.
    EXPECT_TRUE(GeocentricPosition(body, el.T + 10).ok);
    EXPECT_FALSE(body.error);
}

TEST(HeliocentricPosition, MeanEclipticOfDate) {
    const Extended jd = 2460000.5L;
    Extended speed;
    SolarBody body = OppositionBody(KindApparent, 2455197.5L, speed);
    BodyPlace helio = HeliocentricPosition(body, jd);
    ASSERT_TRUE(helio.ok);
    std::optional<StateVector> s = StateAt(body.orbit, jd);
    ASSERT_TRUE(s);
    EXPECT_NEAR(static_cast<double>(helio.distance * KmPerAU / VecLength(s->position)), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(AngleGap(helio.position.second,
                                             std::atan2(s->position.y, s->position.x) + GeneralPrecession(jd))),
                0.0, 1e-15);
    EXPECT_EQ(helio.position.kind, KindMean);
    EXPECT_EQ(helio.position.epochCode, EpochOfDate);
}

TEST(Magnitude, PhaseLawAndComets) {
    // Hand values of the H-G system: at zero phase both phase functions are 1;
    // at 90 degrees tan(45) = 1, so phi1 = e^-3.33 and phi2 = e^-1.87.
    struct Row {
        const char* what;
        std::uint8_t type;
        Extended H, G, r, delta, R, expect;
    };
    const Extended ninety = -2.5L * std::log10(0.85L * std::exp(-3.33L) + 0.15L * std::exp(-1.87L));
    const Row rows[] = {
        {"asteroid at opposition", MagnitudeAsteroid, 7, 0.15L, 3, 2, 1, 7 + 5 * std::log10(6.0L)},
        {"asteroid at 90 degrees phase", MagnitudeAsteroid, 7, 0.15L, 1, 1, std::sqrt(2.0L), 7 + ninety},
        {"comet", MagnitudeComet, 6, 10, 2, 0.5L, 1.2L, 6 + 5 * std::log10(0.5L) + 10 * std::log10(2.0L)},
        {"no magnitude type", MagnitudeNone, 6, 10, 2, 0.5L, 1.2L, 100},
    };
    for (const auto& r : rows) {
        SolarBody body;
        body.magnitude = {r.type, r.H, r.G};
        body.lastTime = 2451545.0L;
        body.r = r.r;
        body.delta = r.delta;
        body.R = r.R;
        EXPECT_NEAR(static_cast<double>(Magnitude(body, 2451545.0L)), static_cast<double>(r.expect), 1e-12) << r.what;
    }
    EXPECT_NEAR(static_cast<double>(ninety), 3.1783, 1e-4);
}

TEST(Magnitude, RecomputesTheGeometryForANewDate) {
    const Extended jd = 2455197.5L;
    Extended speed;
    SolarBody body = OppositionBody(KindApparent, jd, speed);
    EXPECT_FALSE(body.lastTime);
    Extended m = Magnitude(body, jd);
    ASSERT_TRUE(body.lastTime);
    EXPECT_EQ(*body.lastTime, jd);
    // Near opposition: phase near 0, so m is close to H + 5 log10(r delta).
    EXPECT_NEAR(static_cast<double>(m), static_cast<double>(5 + 5 * std::log10(body.r * body.delta)), 0.02);
    Extended later = Magnitude(body, jd + 60);
    EXPECT_EQ(*body.lastTime, jd + 60);
    EXPECT_GT(later, m);  // farther and at a larger phase
}

}  // namespace
}  // namespace qnr
