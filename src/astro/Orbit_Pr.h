#pragma once
// Orbits from heliocentric state vectors: classical elements, their
// precession, Kepler's equation by orbit class, positions and velocities at
// any date, the light-time corrected geocentric position and the magnitude.
//
// Units: km, km/s, GM in km^3/s^2, Julian Dates, radians.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/Sun.h"
#include "astro/Types.h"

namespace qnr {

namespace platform { class Dialogs; }

inline constexpr Extended GMSun = 132712440000.0L;
inline constexpr int CentralBodies = 12;
// By central-body index: the Sun, Mercury to Pluto, the Moon, and the last entry.
extern const std::array<Extended, CentralBodies> CentralBodyGM;
// GM of a central body; the Sun's for an unknown index.
Extended GravitationalParameter(int centralBody);

inline constexpr char KeplerErrorText[] =
    "Maximum Iterations Exceeded for Kepler's Equation\r\nOr Convergence Failure for Stumpff/Landgraf Method!";
inline constexpr char KeplerErrorCaption[] = "*** Orbit Calculation Error! ***";

// The leading part of an orbit file record.
struct StateVector {
    std::string name;
    Extended time = 0;  // JD of the state
    Vector3 position;   // km, ecliptic of the header's equinox
    Vector3 velocity;   // km/s
    std::uint8_t centralBody = 0;
    std::string designation;
    SkyPosition header;  // kind, frame, equinox code and JD; the angles are unused
};

// Orbit classes.
inline constexpr int OrbitCircular = 0;
inline constexpr int OrbitElliptic = 1;
inline constexpr int OrbitNearParabolic = 2;
inline constexpr int OrbitHyperbolic = 3;

struct OrbitElements {
    SkyPosition header;
    std::string name;
    Extended a = 0;      // km; q for near-parabolic orbits
    Extended q = 0;      // km
    Extended e = 0;
    Extended i = 0;      // radians, ecliptic of the equinox
    Extended node = 0;   // longitude of the ascending node
    Extended peri = 0;   // argument of perihelion
    Extended n = 0;      // rad/s
    Extended M = 0;      // mean anomaly at the epoch
    Extended T = 0;      // JD of perihelion
    Extended epoch = 0;  // JD
    std::uint8_t centralBody = 0;
    std::string designation;
    std::uint8_t extra = 0;
    // 0 B1900.0, 1 B1950.0, 2 J2000.0, 3 J2050.0, 4 equinox of date.
    std::uint8_t equinoxClass = 4;
};

OrbitElements ElementsFromState(const StateVector& state, Extended gm);
// With the GM of the state's central body.
OrbitElements ElementsFromState(const StateVector& state);
int ClassifyOrbit(Extended e);
void PrecessElements(OrbitElements& elements, std::uint8_t newCode, Extended newJD);

struct AnomalyResult {
    Extended nu = 0;  // true anomaly, radians
    bool ok = true;   // false when the solver did not converge
};
AnomalyResult TrueAnomaly(const OrbitElements& elements, Extended jd);

// The Kepler propagator of one body.
struct Orbit {
    OrbitElements elements;  // at J2000.0
    Extended gm = GMSun;
    Vector3 P, Q;            // unit vectors towards perihelion and 90 degrees ahead
};
Orbit MakeOrbit(const OrbitElements& elements, Extended gm);
// Heliocentric state at jd; nullopt when Kepler's equation was not solved.
std::optional<StateVector> StateAt(const Orbit& orbit, Extended jd);

// Magnitude types.
inline constexpr std::uint8_t MagnitudeNone = 0;
inline constexpr std::uint8_t MagnitudeAsteroid = 1;
inline constexpr std::uint8_t MagnitudeComet = 2;

struct MagnitudeParameters {
    std::uint8_t type = MagnitudeNone;
    Extended H = 0;
    Extended G = 0;  // the H-G slope, or the comet's slope
};

// One asteroid or planet being followed.
struct SolarBody {
    std::uint8_t mode = KindApparent;  // 0 geometric, 1 apparent, 2 astrometric
    EclipticFrame frame;               // ecliptic of J2000.0
    Orbit orbit;
    Sun earth;                         // geometric; gives the Earth's position
    MagnitudeParameters magnitude;
    platform::Dialogs* dialogs = nullptr;  // where solver failures are reported
    // The last geocentric computation.
    std::optional<Extended> lastTime;
    Extended r = 0;      // heliocentric distance, AU
    Extended delta = 0;  // geocentric distance, AU
    Extended R = 0;      // Sun-Earth distance, AU
    bool error = false;
};

// Elements, precession to J2000.0, the frame and the orbit from one record.
SolarBody MakeSolarBody(const StateVector& state, std::uint8_t mode, const MagnitudeParameters& magnitude,
                        platform::Dialogs* dialogs);
SolarBody MakeSolarBody(const StateVector& state, Extended gm, std::uint8_t mode,
                        const MagnitudeParameters& magnitude, platform::Dialogs* dialogs);

// The Earth's heliocentric vector, ecliptic of J2000.0, km.
Vector3 EarthVector(const Sun& sun, Extended jd);

struct BodyPlace {
    SkyPosition position;  // ecliptic of date
    Extended distance = 0;   // AU: geocentric distance or heliocentric radius
    Extended lightTime = 0;  // days, of the last pass of the light-time loop
    bool ok = true;
};
// On a solver failure the message is shown, the error flag set and ok false.
BodyPlace GeocentricPosition(SolarBody& body, Extended jd);
BodyPlace HeliocentricPosition(SolarBody& body, Extended jd);
// 100 when the brightness cannot be computed.
Extended Magnitude(SolarBody& body, Extended jd);

Extended PeriodYears(const OrbitElements& elements);
Extended LongitudeOfPerihelion(const OrbitElements& elements);
Extended MeanLongitude(const OrbitElements& elements);
void AdvanceMeanAnomaly(OrbitElements& elements, Extended jd);

// Light time per AU, days.
inline constexpr Extended LightDaysPerAU = 0.005775518329861111L;

}  // namespace qnr
