#pragma once
// Time arguments, sidereal time, precession, nutation, the obliquity of the
// ecliptic and the conversions between ecliptic, equatorial and horizon
// coordinates. All time arguments are Julian Dates, taken as UT.
#include <cmath>
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
// The angles that carry the ecliptic of fromJD to that of toJD: its tilt eta,
// the longitude of the hinge Pi, and the general precession p (radians).
struct EclipticPrecessionAngles {
    Extended eta, bigPi, p;
};
EclipticPrecessionAngles EclipticAngles(Extended fromJD, Extended toJD);
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
// The great-circle distance in degrees between two points (RA in hours, Dec in degrees).
double SeparationDeg(double ra1, double dec1, double ra2, double dec2);

// x reduced into [0, 2 pi).
Extended ReduceTwoPi(Extended x);

// Sine and cosine together, to the full extended precision. The library's
// long double sine is a slow software routine; the coprocessor's own
// instruction is several times faster. It reduces the argument itself with
// a 66-bit pi, which leaves an absolute error of about |x| x 1.3e-21: below
// 1e-19 up to |x| = 64, past which SinCos first takes away whole turns with
// a three-part 2 pi.
#if (defined(__x86_64__) || defined(__i386__)) && __LDBL_MANT_DIG__ == 64
inline void SinCosUnreduced(Extended x, Extended& s, Extended& c) {
    if (x > -0x1p62L && x < 0x1p62L) {
        __asm__("fsincos" : "=t"(c), "=u"(s) : "0"(x));
        return;
    }
    s = std::sin(x);
    c = std::cos(x);
}
inline void SinCos(Extended x, Extended& s, Extended& c) {
    if (!(x >= -64 && x <= 64)) {
        constexpr Extended C1 = 0x1.921fb544p+2L;  // 2 pi in 32 + 32 + 64 bits,
        constexpr Extended C2 = 0x1.0b4611a6p-32L;  // so that k C1 and k C2 are
        constexpr Extended C3 = 0x1.3198a2e03707344ap-67L;  // exact for |k| < 2^31
#if defined(__FAST_MATH__)
        Extended k = std::nearbyint(x * (1 / TwoPi));
#else
        // Adding and taking away 1.5 x 2^63 rounds to an integer in the
        // 64-bit significand (much faster than the library's rounding).
        constexpr Extended Round = 0x1.8p63L;
        Extended k = (x * (1 / TwoPi) + Round) - Round;
#endif
        if (!(k > -2147483648.0L && k < 2147483648.0L)) {
            s = std::sin(x);
            c = std::cos(x);
            return;
        }
        x = ((x - k * C1) - k * C2) - k * C3;
    }
    SinCosUnreduced(x, s, c);
}
#else
// Elsewhere the library's functions.
inline void SinCosUnreduced(Extended x, Extended& s, Extended& c) {
    s = std::sin(x);
    c = std::cos(x);
}
inline void SinCos(Extended x, Extended& s, Extended& c) { SinCosUnreduced(x, s, c); }
#endif
inline Extended FastSin(Extended x) {
    Extended s, c;
    SinCos(x, s, c);
    return s;
}
inline Extended FastCos(Extended x) {
    Extended s, c;
    SinCos(x, s, c);
    return c;
}
// SafeArcSin and SafeArcCos (arguments clamped to [-1, 1]) by the arc
// tangent, which the library computes several times faster.
inline Extended ClampedArcSin(Extended x) {
    x = x > 1 ? 1 : (x < -1 ? -1 : x);
    return std::atan2(x, std::sqrt((1 - x) * (1 + x)));
}
inline Extended ClampedArcCos(Extended x) {
    x = x > 1 ? 1 : (x < -1 ? -1 : x);
    return std::atan2(std::sqrt((1 - x) * (1 + x)), x);
}

}  // namespace qnr
