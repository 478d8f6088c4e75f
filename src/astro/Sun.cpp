#include "astro/Sun.h"

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

// Both sums share their arguments, so one pass gives both.
SeriesSums Sums(const Sun& sun, Extended u, bool wantDistance) {
    SeriesSums s;
    int rows = sun.longitudeTerms > sun.distanceTerms ? sun.longitudeTerms : sun.distanceTerms;
    if (!wantDistance) rows = sun.longitudeTerms;
    for (int i = 0; i < rows; ++i) {
        const SunSeriesRow& row = sun.table[i];
        Extended arg = static_cast<Extended>(row.alpha) + static_cast<Extended>(row.nu) * u;
        if (i < sun.longitudeTerms) s.longitude += static_cast<Extended>(row.l) * std::sin(arg);
        if (wantDistance && i < sun.distanceTerms && row.r != 0)
            s.distance += static_cast<Extended>(row.r) * std::cos(arg);
    }
    return s;
}

Extended LongitudeFromSum(const Sun& sun, Extended jd, Extended u, Extended sum) {
    Extended l = 4.9353929L + 62833.196168L * u + 1e-7L * sum;
    switch (sun.mode) {
        case SunGeometric:
            break;
        case SunApparent:
            l += NutationLongitude(jd) + 1e-7L * (17 * std::cos(3.10L + 62830.14L * u) - 993);
            break;
        case SunAstrometric:
            l += 1e-7L * 17 * std::cos(3.10L + 62830.14L * u);
            break;
        default:
            return 0;
    }
    return ReduceTwoPi(l);
}

Extended DistanceFromSum(Extended sum) { return 1.0001026L + 1e-7L * sum; }

}  // namespace

Extended SunLongitude(const Sun& sun, Extended jd) {
    Extended u = JulianTenMillennia(jd);
    return LongitudeFromSum(sun, jd, u, Sums(sun, u, false).longitude);
}

Extended SunDistance(const Sun& sun, Extended jd) {
    Sun distanceOnly = sun;
    distanceOnly.longitudeTerms = 0;
    return DistanceFromSum(Sums(distanceOnly, JulianTenMillennia(jd), true).distance);
}

SunPlace SunPosition(const Sun& sun, Extended jd) {
    Extended u = JulianTenMillennia(jd);
    SeriesSums s = Sums(sun, u, true);
    SunPlace place;
    SetEcliptic(place.position, sun.mode, EpochOfDate, jd);
    place.position.first = 0;
    place.position.second = LongitudeFromSum(sun, jd, u, s.longitude);
    place.distance = DistanceFromSum(s.distance);
    return place;
}

SunPlace EarthLongitude(const Sun& sun, Extended jd) {
    Sun geometric = sun;
    geometric.mode = SunGeometric;
    SunPlace place = SunPosition(geometric, jd);
    Extended& l = place.position.second;
    l = l < Pi ? l + Pi : l - Pi;
    return place;
}

Vector3 SunVector(const Sun& sun, Extended jd) {
    SunPlace place = SunPosition(sun, jd);
    return PolarToVec(place.distance * KmPerAU, Pi / 2 - place.position.first,
                      place.position.second - GeneralPrecession(jd));
}

}  // namespace qnr
