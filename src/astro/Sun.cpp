#include "astro/Sun.h"

#include <algorithm>
#include <cmath>

namespace qnr {

const std::array<SunSeriesRow, SunSeriesRows> SunSeries = {{
    {403406.0f, 0.0f, 4.721964f, 1.621043},
    {195207.0f, -97597.0f, 5.937458f, 62830.348067},
    {119433.0f, -59715.0f, 1.115589f, 62830.821524},
    {112392.0f, -56188.0f, 5.781616f, 62829.634302},
    {3891.0f, -1556.0f, 5.5474f, 125660.5691},
    {2819.0f, -1126.0f, 1.5120f, 125660.9845},
    {1721.0f, -861.0f, 4.1897f, 62832.4766},
    {0.0f, 941.0f, 1.163f, 0.813},
    {660.0f, -264.0f, 5.415f, 125659.310},
    {350.0f, -163.0f, 4.315f, 57533.850},
    {334.0f, 0.0f, 4.553f, -33.931},
    {314.0f, 309.0f, 5.198f, 777137.715},
    {268.0f, -158.0f, 5.989f, 78604.191},
    {242.0f, 0.0f, 2.911f, 5.412},
    {234.0f, -54.0f, 1.423f, 39302.098},
    {158.0f, 0.0f, 0.061f, -34.861},
    {132.0f, -93.0f, 2.317f, 115067.698},
    {129.0f, -20.0f, 3.193f, 15774.337},
    {114.0f, 0.0f, 2.828f, 5296.670},
    {99.0f, -47.0f, 0.52f, 58849.27},
    {93.0f, 0.0f, 4.65f, 5296.11},
    {86.0f, 0.0f, 4.35f, -3980.70},
    {78.0f, -33.0f, 2.75f, 52237.69},
    {72.0f, -32.0f, 4.50f, 55076.47},
    {68.0f, 0.0f, 3.23f, 261.08},
    {64.0f, -10.0f, 1.22f, 15773.85},
    {46.0f, -16.0f, 0.14f, 188491.03},
    {38.0f, 0.0f, 3.44f, -7756.55},
    {37.0f, 0.0f, 4.37f, 264.89},
    {32.0f, -24.0f, 1.14f, 117906.27},
    {29.0f, -13.0f, 2.84f, 55075.75},
    {28.0f, 0.0f, 5.96f, -7961.39},
    {27.0f, -9.0f, 5.09f, 188489.81},
    {27.0f, 0.0f, 1.72f, 2132.19},
    {25.0f, -17.0f, 2.56f, 109771.03},
    {24.0f, -11.0f, 1.92f, 54868.56},
    {21.0f, 0.0f, 0.09f, 25443.93},
    {21.0f, 31.0f, 5.98f, -55731.43},
    {20.0f, -10.0f, 4.03f, 60697.74},
    {18.0f, 0.0f, 4.27f, 2132.79},
    {17.0f, -12.0f, 0.79f, 109771.63},
    {14.0f, 0.0f, 4.24f, -7752.82},
    {13.0f, -5.0f, 2.01f, 188491.91},
    {13.0f, 0.0f, 2.65f, 207.81},
    {13.0f, 0.0f, 4.98f, 29424.63},
    {12.0f, 0.0f, 0.93f, -7.99},
    {10.0f, 0.0f, 2.21f, 46941.14},
    {10.0f, 0.0f, 3.59f, -68.29},
    {10.0f, 0.0f, 1.50f, 21463.25},
    {10.0f, -9.0f, 2.55f, 157208.40},
}};

namespace {

struct SeriesSums {
    Extended longitude = 0;  // 1e-7 rad
    Extended distance = 0;   // 1e-7 AU
};

int RowsOf(const Sun& sun) {
    int rows = sun.longitudeTerms > sun.distanceTerms ? sun.longitudeTerms : sun.distanceTerms;
    return rows < 0 ? 0 : (rows > SunSeriesRows ? SunSeriesRows : rows);
}

SeriesSums SumsOf(const Sun& sun, const Extended* sines, const Extended* cosines) {
    SeriesSums s;
    const int rows = RowsOf(sun);
    for (int i = 0; i < rows; ++i) {
        const SunSeriesRow& row = sun.table[i];
        if (i < sun.longitudeTerms && row.l != 0) s.longitude += static_cast<Extended>(row.l) * sines[i];
        if (i < sun.distanceTerms && row.r != 0) s.distance += static_cast<Extended>(row.r) * cosines[i];
    }
    return s;
}

SeriesSums Sums(const Sun& sun, Extended jd) {
    SunSeriesAt at;
    EvaluateSunSeries(sun, jd, at);
    return {at.longitudeSum, at.distanceSum};
}

Extended LongitudeFromSum(const Sun& sun, Extended jd, Extended sum) {
    const Extended u = JulianTenMillennia(jd);
    Extended l = 4.9353929L + 62833.196168L * u + 1e-7L * sum;
    switch (sun.mode) {
        case SunGeometric:
            break;
        case SunApparent:
            l += NutationLongitude(jd) + 1e-7L * (17 * FastCos(3.10L + 62830.14L * u) - 993);
            break;
        case SunAstrometric:
            l += 1e-7L * 17 * FastCos(3.10L + 62830.14L * u);
            break;
        default:
            return 0;
    }
    return ReduceTwoPi(l);
}

Extended DistanceFromSum(Extended sum) { return 1.0001026L + 1e-7L * sum; }

SunPlace PlaceFromSums(const Sun& sun, Extended jd, const SeriesSums& s) {
    SunPlace place;
    SetEcliptic(place.position, sun.mode, EpochOfDate, jd);
    place.position.first = 0;
    place.position.second = LongitudeFromSum(sun, jd, s.longitude);
    place.distance = DistanceFromSum(s.distance);
    return place;
}

Vector3 VectorOf(const SunPlace& place, Extended jd) {
    // PolarToVec(R km, pi/2 - latitude, longitude - general precession).
    Extended st, ct, sp, cp;
    SinCos(Pi / 2 - place.position.first, st, ct);
    SinCos(place.position.second - GeneralPrecession(jd), sp, cp);
    Extended r = place.distance * KmPerAU;
    return {r * st * cp, r * st * sp, r * ct};
}

struct Bounds {
    Extended fastest = 0;
    Extended seventh = 0;
};

Bounds BoundsOfRows(const Sun& sun) {
    Bounds b;
    const int rows = RowsOf(sun);
    for (int i = 0; i < rows; ++i) {
        const SunSeriesRow& row = sun.table[i];
        const Extended nu = std::fabs(static_cast<Extended>(row.nu));
        const Extended amp = 1e-7L * std::max(std::fabs(row.l), std::fabs(row.r));
        const Extended nu2 = nu * nu;
        b.fastest = std::max(b.fastest, nu);
        b.seventh = std::max(b.seventh, amp * nu2 * nu2 * nu2 * nu);
    }
    return b;
}

// Worked out once for the built-in table with all its rows.
const Bounds& BoundsOf(const Sun& sun) {
    static const Bounds full = BoundsOfRows(Sun{});
    if (sun.table == SunSeries.data() && sun.longitudeTerms == SunSeriesRows && sun.distanceTerms == SunSeriesRows)
        return full;
    thread_local Bounds other;
    other = BoundsOfRows(sun);
    return other;
}

}  // namespace

void EvaluateSunSeries(const Sun& sun, Extended jd, SunSeriesAt& at) {
    at.jd = jd;
    const Bounds& b = BoundsOf(sun);
    at.fastest = b.fastest;
    at.seventh = b.seventh;
    const Extended u = JulianTenMillennia(jd);
    const int rows = RowsOf(sun);
    for (int i = 0; i < rows; ++i) {
        const SunSeriesRow& row = sun.table[i];
        // Unreduced: the error of |x| x 1.3e-21, times amplitudes of 0.04 at
        // most (and 3e-5 for the fastest terms), stays far below the rounding
        // of the longitude's own term 62833.196168 U, which grows alike.
        SinCosUnreduced(static_cast<Extended>(row.alpha) + static_cast<Extended>(row.nu) * u, at.sines[i],
                        at.cosines[i]);
    }
    SeriesSums sums = SumsOf(sun, at.sines.data(), at.cosines.data());
    at.longitudeSum = sums.longitude;
    at.distanceSum = sums.distance;
}

namespace {

// The sums at at.jd + du x 3652500 days by the addition theorem, with sin d
// and cos d of each row's step d from their series: with Terms = 3 to 1e-21
// for |d| <= 0.02, with Terms = 2 while amplitude x d^7/7! stays below 1e-21.
template <int Terms>
SeriesSums ShiftedSums(const Sun& sun, const SunSeriesAt& at, Extended du) {
    constexpr Extended I6 = 1.0L / 6, I20 = 1.0L / 20, I42 = 1.0L / 42;
    constexpr Extended I12 = 1.0L / 12, I30 = 1.0L / 30, I56 = 1.0L / 56;
    const int rows = RowsOf(sun);
    SeriesSums sums;
    for (int i = 0; i < rows; ++i) {
        const SunSeriesRow& row = sun.table[i];
        const Extended d = static_cast<Extended>(row.nu) * du, d2 = d * d;
        Extended sd, cd;
        if constexpr (Terms == 2) {
            sd = d * (1 - d2 * I6 * (1 - d2 * I20));
            cd = 1 - d2 * 0.5L * (1 - d2 * I12 * (1 - d2 * I30));
        } else {
            sd = d * (1 - d2 * I6 * (1 - d2 * I20 * (1 - d2 * I42)));
            cd = 1 - d2 * 0.5L * (1 - d2 * I12 * (1 - d2 * I30 * (1 - d2 * I56)));
        }
        if (i < sun.longitudeTerms && row.l != 0)
            sums.longitude += static_cast<Extended>(row.l) * (at.sines[i] * cd + at.cosines[i] * sd);
        if (i < sun.distanceTerms && row.r != 0)
            sums.distance += static_cast<Extended>(row.r) * (at.cosines[i] * cd - at.sines[i] * sd);
    }
    return sums;
}

}  // namespace

Vector3 SunVectorNear(const Sun& sun, const SunSeriesAt& at, Extended jd) {
    if (jd == at.jd) return VectorOf(PlaceFromSums(sun, jd, {at.longitudeSum, at.distanceSum}), jd);
    const Extended du = (jd - at.jd) / 3652500;
    const Extended adu = std::fabs(du), adu2 = adu * adu;
    // Past 0.02 rad the short series would not be exact: evaluate afresh.
    if (at.fastest * adu > 0.02L) return SunVector(sun, jd);
    // The shorter series while the first term it leaves out stays below 1e-21
    // (about 1/400 of the longitude's last digit) in every row: for bodies
    // within about 10 AU.
    const bool shorter = at.seventh * adu2 * adu2 * adu2 * adu / 5040 <= 1e-21L;
    SeriesSums sums = shorter ? ShiftedSums<2>(sun, at, du) : ShiftedSums<3>(sun, at, du);
    return VectorOf(PlaceFromSums(sun, jd, sums), jd);
}

Extended SunLongitude(const Sun& sun, Extended jd) {
    Sun longitudeOnly = sun;
    longitudeOnly.distanceTerms = 0;
    return LongitudeFromSum(sun, jd, Sums(longitudeOnly, jd).longitude);
}

Extended SunDistance(const Sun& sun, Extended jd) {
    Sun distanceOnly = sun;
    distanceOnly.longitudeTerms = 0;
    return DistanceFromSum(Sums(distanceOnly, jd).distance);
}

SunPlace SunPosition(const Sun& sun, Extended jd) { return PlaceFromSums(sun, jd, Sums(sun, jd)); }

SunPlace EarthLongitude(const Sun& sun, Extended jd) {
    Sun geometric = sun;
    geometric.mode = SunGeometric;
    SunPlace place = SunPosition(geometric, jd);
    Extended& l = place.position.second;
    l = l < Pi ? l + Pi : l - Pi;
    return place;
}

Vector3 SunVector(const Sun& sun, Extended jd) { return VectorOf(SunPosition(sun, jd), jd); }

}  // namespace qnr
