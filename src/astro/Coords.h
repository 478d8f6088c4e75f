#pragma once
// Time arguments, sidereal time, precession, nutation, the obliquity of the
// ecliptic and the conversions between ecliptic, equatorial and horizon
// coordinates. All time arguments are Julian Dates, taken as UT.
#include <cstdint>

#include "astro/MathStd.h"
#include "astro/Types.h"

namespace qnr {

struct ObsDateTime;

inline constexpr Extended JD_B1950 = 2433282.4235L;
inline constexpr Extended JD_J2000 = 2451545.0L;

// SkyPosition kinds, frames and epoch codes.
inline constexpr std::uint8_t KindMean = 0;
inline constexpr std::uint8_t KindApparent = 1;
inline constexpr std::uint8_t KindAstrometric = 2;
inline constexpr std::uint8_t FrameEcliptic = 0;
inline constexpr std::uint8_t FrameEquatorial = 1;
inline constexpr std::uint8_t EpochB1950 = 0;
inline constexpr std::uint8_t EpochJ2000 = 1;
inline constexpr std::uint8_t EpochOfDate = 2;

// A direction with its reference. The angles are (alpha, delta) in the
// equatorial frame and (beta, lambda) in the ecliptic frame, in that order.
struct SkyPosition {
    std::uint8_t kind = KindMean;
    std::uint8_t frame = FrameEcliptic;
    std::uint8_t epochCode = EpochJ2000;
    Extended epoch = JD_J2000;
    Extended first = 0;   // alpha or beta, radians
    Extended second = 0;  // delta or lambda, radians
};

// A SkyPosition with the rotation between its ecliptic and the equator.
struct EclipticFrame {
    SkyPosition position;
    RotMatrix rotation;
};

// Julian centuries, millennia and units of 10000 Julian years since J2000.0.
Extended JulianCenturies(Extended jd);
Extended JulianMillennia(Extended jd);
Extended JulianTenMillennia(Extended jd);

void SetPosition(SkyPosition& pos, std::uint8_t kind, std::uint8_t frame, std::uint8_t epochCode,
                 Extended epochJD);
void SetEcliptic(SkyPosition& pos, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD);
void SetEquatorial(SkyPosition& pos, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD);
void SetEclipticFrame(EclipticFrame& frame, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD);

void PrecessEquatorial(SkyPosition& pos, std::uint8_t newCode, Extended newJD);
void PrecessEcliptic(SkyPosition& pos, std::uint8_t newCode, Extended newJD);
void EclipticToEquatorial(SkyPosition& dest, const SkyPosition& src);
// dest takes header's kind, frame and epoch, and the direction of v.
void EclipticFromVector(SkyPosition& dest, const SkyPosition& header, const Vector3& v);

Extended Obliquity(Extended jd);
Extended NutationLongitude(Extended jd);
Extended NutationObliquity(Extended jd);
Extended GeneralPrecession(Extended jd);

// kind 0 mean, kind 1 apparent (with the equation of the equinoxes); radians.
Extended GreenwichSiderealTime(int kind, Extended jd);
// Mean local sidereal time in hours for an east longitude in radians.
Extended LocalSiderealTime(Extended jd, Extended eastLongitude);
// The same at the UT of the date and time.
Extended LocalSiderealTime(const ObsDateTime& dateTime, Extended eastLongitude);

struct Site {
    Extended latitude = 0;       // radians, north positive
    Extended eastLongitude = 0;  // radians
};
struct Horizontal {
    Extended altitude = 0;  // radians
    Extended azimuth = 0;   // radians from north through east, in (-pi, pi]
};
Horizontal HorizonPosition(const Site& site, const SkyPosition& pos, Extended jd);

Extended NormalizeHours(Extended h);  // into [0, 24)

// x reduced into [0, 2 pi).
Extended ReduceTwoPi(Extended x);

}  // namespace qnr
