#include "datagen/layout/Orbits.h"

#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/Sun.h"

namespace qnr::datagen {

namespace {

constexpr Extended SecondsPerDay = 86400;
// Mean obliquity of J2000.0, the tilt between the equator and the ecliptic
// of the state vectors.
constexpr Extended ObliquityJ2000 = 23.4392911L * DegToRad;

Vector3 EquatorialToEcliptic(const Vector3& v) {
    const Extended c = std::cos(ObliquityJ2000), s = std::sin(ObliquityJ2000);
    return {v.x, v.y * c + v.z * s, -v.y * s + v.z * c};
}

}  // namespace

StateVector StateFromElements(const Elements& el, Extended gm, Extended kmPerAU) {
    const Extended a = static_cast<Extended>(el.a) * kmPerAU;
    const Extended e = el.e;
    const Extended M = static_cast<Extended>(el.M) * DegToRad;
    Extended E = e < 0.8L ? M : Pi;
    for (int k = 0; k < 100; ++k) {
        const Extended d = (E - e * std::sin(E) - M) / (1 - e * std::cos(E));
        E -= d;
        if (std::fabs(d) < 1e-18L) break;
    }
    const Extended n = std::sqrt(gm / (a * a * a));  // rad/s
    const Extended cosE = std::cos(E), sinE = std::sin(E), root = std::sqrt(1 - e * e);
    const Extended x = a * (cosE - e), y = a * root * sinE;
    const Extended speed = a * n / (1 - e * cosE);
    const Extended vx = -speed * sinE, vy = speed * root * cosE;

    const Extended O = static_cast<Extended>(el.node) * DegToRad, w = static_cast<Extended>(el.peri) * DegToRad,
                   I = static_cast<Extended>(el.i) * DegToRad;
    const Extended cO = std::cos(O), sO = std::sin(O), cw = std::cos(w), sw = std::sin(w), ci = std::cos(I),
                   si = std::sin(I);
    // Columns of the rotation Rz(node) Rx(i) Rz(peri): towards perihelion and 90 degrees ahead.
    const Vector3 P{cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si};
    const Vector3 Q{-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si};

    StateVector s;
    s.name = el.name;
    s.designation = el.number;
    s.time = el.epoch;
    s.position = VecAdd(VecScale(P, x), VecScale(Q, y));
    s.velocity = VecAdd(VecScale(P, vx), VecScale(Q, vy));
    s.centralBody = 0;
    SetEcliptic(s.header, KindMean, EpochJ2000, JD_J2000);
    return s;
}

std::uint8_t MpcGroup(const std::string& cls, double a, double e) {
    if (cls == "ATE") return 2;
    if (cls == "APO") return 3;
    if (cls == "AMO") return 4;
    if (cls == "TJN") return 9;
    if (cls == "CEN") return 10;
    if (cls == "TNO") {
        if (a >= 38.8 && a <= 40.2) return 14;
        if (a > 40.2 && a < 48 && e < 0.25) return 16;
        if (a >= 48 || e >= 0.25) return 17;
        return 15;
    }
    if (a >= 3.7 && a <= 4.2 && e < 0.3) return 8;
    return 0;
}

OrbitRecord MakeOrbitRecord(const Elements& el) {
    const StateVector s = StateFromElements(el);
    OrbitRecord r;
    r.name = el.name.substr(0, 30);
    r.number = el.number.substr(0, 7);
    r.epoch = s.time;
    r.position = s.position;
    r.velocity = s.velocity;
    r.centralBody = 0;
    r.magnitudeType = MagnitudeAsteroid;
    r.H = el.H;
    r.G = el.G;
    r.kind = KindMean;
    r.frame = FrameEcliptic;
    r.equinoxCode = EpochJ2000;
    r.equinoxJD = JD_J2000;
    r.notes[NoteGroup] = MpcGroup(el.orbitClass, el.a, el.e);
    if (el.hazardous) r.notes[NoteCritical] = 128;
    return r;
}

std::optional<AsteroidSighting> SightingAt(const OrbitRecord& record, Extended jd) {
    SolarBody body = MakeSolarBody(StateOf(record), KindAstrometric, MagnitudeOf(record), nullptr);
    // In the star catalog's frame, as the field query places asteroids.
    const auto place = AsteroidPlaceAt(body, jd);
    if (!place) return std::nullopt;
    AsteroidSighting s;
    s.ra = place->ra;
    s.dec = place->dec;
    s.V = static_cast<double>(place->magnitude);
    s.distanceAU = static_cast<double>(place->distanceAU);
    return s;
}

double RateAt(const OrbitRecord& record, Extended jd) {
    const Extended half = 5.0L / 1440;  // five minutes either side
    const auto a = SightingAt(record, jd - half), b = SightingAt(record, jd + half);
    if (!a || !b) return 0;
    double dra = b->ra - a->ra;
    if (dra > 12) dra -= 24;
    if (dra < -12) dra += 24;
    const double cd = std::cos((a->dec + b->dec) / 2 * static_cast<double>(DegToRad));
    const double deg = std::hypot(dra * 15 * cd, b->dec - a->dec);
    return deg * 3600 / 10;
}

Expected<OrbitRecord> DesignAsteroid(const AsteroidDesign& d) {
    const Sun sun{};
    const Extended dt = 0.01L;
    const Vector3 earth = EarthVector(sun, d.jd);
    const Vector3 earthVel = VecScale(VecAdd(EarthVector(sun, d.jd + dt), VecScale(EarthVector(sun, d.jd - dt), -1)),
                                    1 / (2 * dt * SecondsPerDay));
    const Extended dist = static_cast<Extended>(d.distanceAU) * KmPerAU;
    const Extended transverse = static_cast<Extended>(d.rateArcsecPerMin) / 60 / 206264.80624709636L * dist;

    Extended aimRA = static_cast<Extended>(d.ra) * 15 * DegToRad, aimDec = static_cast<Extended>(d.dec) * DegToRad;
    OrbitRecord r;
    r.name = d.name;
    r.magnitudeType = MagnitudeAsteroid;
    r.H = 18;
    r.G = d.G;
    r.epoch = d.jd;
    for (int pass = 0; pass < 8; ++pass) {
        const Extended ca = std::cos(aimRA), sa = std::sin(aimRA), cd = std::cos(aimDec), sd = std::sin(aimDec);
        const Vector3 u = EquatorialToEcliptic({cd * ca, cd * sa, sd});
        const Vector3 east = EquatorialToEcliptic({-sa, ca, 0});
        const Vector3 north = EquatorialToEcliptic({-sd * ca, -sd * sa, cd});
        const Extended pa = static_cast<Extended>(d.directionDeg) * DegToRad;
        const Vector3 along = VecAdd(VecScale(east, std::sin(pa)), VecScale(north, std::cos(pa)));
        r.position = VecAdd(earth, VecScale(u, dist));
        r.velocity = VecAdd(VecAdd(earthVel, VecScale(u, static_cast<Extended>(d.radialKmS))), VecScale(along, transverse));
        const auto seen = SightingAt(r, d.jd);
        if (!seen) return Fail("the designed orbit of " + d.name + " cannot be solved");
        double dra = d.ra - seen->ra;
        if (dra > 12) dra -= 24;
        if (dra < -12) dra += 24;
        aimRA += static_cast<Extended>(dra) * 15 * DegToRad;
        aimDec += static_cast<Extended>(d.dec - seen->dec) * DegToRad;
        r.H += static_cast<Extended>(d.V - seen->V);
    }
    const OrbitElements el = ElementsFromState(StateOf(r), GMSun);
    const Extended q = el.q / KmPerAU, a = el.a / KmPerAU;
    if (!(el.e < 1)) return Fail("the designed orbit of " + d.name + " is not bound");
    r.notes[NoteGroup] = a < 1 ? 2 : (q < 1.0167L ? 3 : (q < 1.3L ? 4 : 0));
    if (r.notes[NoteGroup] == 0) return Fail("the designed orbit of " + d.name + " does not come near the Earth");
    return r;
}

}  // namespace qnr::datagen
