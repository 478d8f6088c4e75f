#pragma once
// Orbit records of the orbit file: osculating elements turned into the
// heliocentric ecliptic J2000.0 state vectors the file holds, the MPC notes
// from an orbit class, and the exercise's own asteroid, whose orbit is made
// to pass through its field on the exercise night.
#include <optional>
#include <string>

#include "astro/Expected.h"
#include "astro/Orbit_Pr.h"
#include "catalogs/AstFlDlg.h"

namespace qnr::datagen {

struct Elements {
    std::string name, number;
    double epoch = 0;  // JD
    double a = 0;      // AU
    double e = 0;
    double i = 0, node = 0, peri = 0, M = 0;  // degrees
    double H = 14, G = 0.15;
    std::string orbitClass;  // "APO", "MBA", "TNO", ...
    bool hazardous = false;
};

// Position (km) and velocity (km/s) at the epoch, with the given GM
// (km^3/s^2) and kilometres per AU.
StateVector StateFromElements(const Elements& el, Extended gm = GMSun, Extended kmPerAU = KmPerAU);

// MPC group code (note byte 149) of an orbit class, refined by a for the
// trans-Neptunian and Hilda bodies: 2 Aten, 3 Apollo, 4 Amor, 8 Hilda,
// 9 Trojan, 10 Centaur, 14 Plutino, 15 other resonant, 16 cubewano,
// 17 scattered disk, 0 none.
std::uint8_t MpcGroup(const std::string& orbitClass, double a, double e);

OrbitRecord MakeOrbitRecord(const Elements& el);

// Where and how the exercise's asteroid is to be seen.
struct AsteroidDesign {
    std::string name = "Quenara";
    Extended jd = 0;             // the moment of the design (UT)
    double ra = 0, dec = 0;      // hours, degrees, as the observatory computes the place
    double distanceAU = 0.12;
    double rateArcsecPerMin = 2;
    double directionDeg = 120;   // position angle of the motion, east of north
    double radialKmS = -4;
    double V = 14.5;
    double G = 0.15;
};

// The record whose computed place at jd is the design's (to 0.1 arcsecond).
Expected<OrbitRecord> DesignAsteroid(const AsteroidDesign& design);

// The place of a record as the field query computes it: astrometric RA
// (hours) and Dec (degrees) of J2000.0 and V; nullopt when the orbit cannot
// be solved.
struct AsteroidSighting {
    double ra = 0, dec = 0, V = 0, distanceAU = 0;
};
std::optional<AsteroidSighting> SightingAt(const OrbitRecord& record, Extended jd);
// Apparent motion in arcseconds per minute around jd.
double RateAt(const OrbitRecord& record, Extended jd);

}  // namespace qnr::datagen
