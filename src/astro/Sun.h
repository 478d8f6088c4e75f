#pragma once
// The Sun's geocentric ecliptic longitude and distance from a 50-term series,
// with optional nutation and aberration. The Earth's heliocentric position of
// every orbit computation comes from here.
#include <array>
#include <cstdint>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/Types.h"

namespace qnr {

inline constexpr Extended KmPerAU = 149597870.66L;

// One row of the series: l in 1e-7 rad, r in 1e-7 AU, phase in rad,
// frequency in rad per 10000 Julian years.
struct SunSeriesRow {
    Single l;
    Single r;
    Single alpha;
    double nu;
};

inline constexpr int SunSeriesRows = 50;
extern const std::array<SunSeriesRow, SunSeriesRows> SunSeries;

// Reduction modes, as the SkyPosition kinds.
inline constexpr std::uint8_t SunGeometric = 0;
inline constexpr std::uint8_t SunApparent = 1;
inline constexpr std::uint8_t SunAstrometric = 2;

struct Sun {
    std::uint8_t mode = SunGeometric;
    int longitudeTerms = SunSeriesRows;
    int distanceTerms = SunSeriesRows;
    const SunSeriesRow* table = SunSeries.data();
};

// Ecliptic longitude of date, radians in [0, 2 pi); 0 for an unknown mode.
Extended SunLongitude(const Sun& sun, Extended jd);
// Earth-Sun distance, AU.
Extended SunDistance(const Sun& sun, Extended jd);

struct SunPlace {
    SkyPosition position;  // ecliptic of date, latitude 0
    Extended distance = 0;  // AU
};
SunPlace SunPosition(const Sun& sun, Extended jd);
// The geometric position seen from the Sun: the longitude turned by pi.
SunPlace EarthLongitude(const Sun& sun, Extended jd);
// Geocentric vector of the Sun in the ecliptic of J2000.0, km.
Vector3 SunVector(const Sun& sun, Extended jd);

// The series' sines and cosines at one date. The light-time loop needs the
// Sun again a few hundredths of a day earlier: from these, the addition
// theorem gives those values without new sines, so SunVectorNear equals
// SunVector to rounding (and falls back to it beyond 0.02 rad of any term).
struct SunSeriesAt {
    Extended jd = 0;
    Extended fastest = 0;  // the largest |frequency|
    Extended seventh = 0;  // the largest amplitude x |frequency|^7
    Extended longitudeSum = 0, distanceSum = 0;  // the two sums, 1e-7 rad and 1e-7 AU
    std::array<Extended, SunSeriesRows> sines{}, cosines{};
};
void EvaluateSunSeries(const Sun& sun, Extended jd, SunSeriesAt& at);
Vector3 SunVectorNear(const Sun& sun, const SunSeriesAt& at, Extended jd);

}  // namespace qnr
