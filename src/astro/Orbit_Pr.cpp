#include "astro/Orbit_Pr.h"

#include <cmath>

#include "platform/Dialogs.h"

namespace qnr {

const std::array<Extended, CentralBodies> CentralBodyGM = {
    132712440000.0L,      22032.080483431833L, 324858.7657747963L, 403503.247L,
    42828.28660958915L,   126712598.46278703L, 37939519.72555746L, 5780158.536585365L,
    6871307.8595837215L,  1020.8649230769231L, 4902.799L,          403503.3087514309L,
};

Extended GravitationalParameter(int centralBody) {
    if (centralBody < 0 || centralBody >= CentralBodies) return GMSun;
    return CentralBodyGM[static_cast<std::size_t>(centralBody)];
}

namespace {

constexpr Extended SecondsPerDay = 86400;
// Below this eccentricity the anomaly is taken from projections (see below).
constexpr Extended NearlyCircular = 1e-6L;

Extended ReducePlusMinusPi(Extended x) {
    Extended r = std::fmod(x, TwoPi);
    if (r > Pi)
        r -= TwoPi;
    else if (r <= -Pi)
        r += TwoPi;
    return r;
}

std::uint8_t EquinoxClass(const SkyPosition& header) {
    switch (header.epochCode) {
        case EpochB1950:
            if (header.epoch == 2433282.4235L) return 1;
            if (header.epoch == 2415020.3135L) return 0;
            break;
        case EpochJ2000:
            if (header.epoch == 2451545.0L) return 2;
            if (header.epoch == 2469807.5L) return 3;
            break;
        default:
            break;
    }
    // Any other equinox is only known by its Julian Date.
    return 4;
}

}  // namespace

int ClassifyOrbit(Extended e) {
    if (e == 0) return OrbitCircular;
    if (e < 0.98L) return OrbitElliptic;
    if (e <= 1.02L) return OrbitNearParabolic;
    return OrbitHyperbolic;
}

OrbitElements ElementsFromState(const StateVector& state) {
    return ElementsFromState(state, GravitationalParameter(state.centralBody));
}

OrbitElements ElementsFromState(const StateVector& state, Extended gm) {
    OrbitElements el;
    el.header = state.header;
    el.name = state.name;
    el.centralBody = state.centralBody;
    el.designation = state.designation;
    el.equinoxClass = EquinoxClass(state.header);

    const Vector3& rv = state.position;
    const Vector3& vv = state.velocity;
    Extended r = VecLength(rv);
    Extended v2 = VecDot(vv, vv);
    Extended rdotv = VecDot(rv, vv);

    Vector3 ev = VecAdd(VecScale(rv, v2 / gm - 1 / r), VecScale(vv, -rdotv / gm));
    Extended e = VecLength(ev);
    Vector3 h = VecCross(rv, vv);
    Extended hLen = VecLength(h);
    Vector3 nodeVec{-h.y, h.x, 0};
    Extended nLen = VecLength(nodeVec);

    Extended invA = 2 / r - v2 / gm;
    Extended a = std::fabs(invA) <= 1e-20L ? 0 : 1 / invA;
    Extended p = hLen * hLen / gm;
    Extended q = p / (1 + e);

    Extended inc = SafeArcCos(h.z / hLen);
    // In the ecliptic the node is undefined: it is taken as 0, so that the
    // node direction is the x axis and the perihelion is measured from there.
    Extended node = 0;
    Vector3 nodeDir{1, 0, 0};
    if (nLen > 0) {
        node = SafeArcCos(nodeVec.x / nLen);
        if (nodeVec.y < 0) node = TwoPi - node;
        nodeDir = VecScale(nodeVec, 1 / nLen);
    }
    // On a circle the perihelion is undefined: it is taken as 0, at the node.
    Extended peri = 0;
    if (e > 0) {
        if (nLen > 0) {
            peri = SafeArcCos(VecDot(nodeVec, ev) / (nLen * e));
            if (ev.z < 0) peri = TwoPi - peri;
        } else {
            // The sense of the angle follows the motion (h.z is +|h| or -|h|).
            peri = std::atan2(h.z / hLen * ev.y, ev.x);
            if (peri < 0) peri += TwoPi;
        }
    }
    if (node == TwoPi) node = 0;
    if (peri == TwoPi) peri = 0;

    // x' = r cos(nu), y' = r sin(nu).
    Extended xp, yp;
    if (e >= NearlyCircular) {
        xp = (p - r) / e;
        yp = std::sqrt(p / gm) * rdotv / e;
    } else {
        // On a (nearly) circular orbit p - r and r.v are rounding noise and
        // their quotients by e meaningless; the position's components along
        // the perihelion direction (the node on a circle) and 90 degrees
        // ahead are the same quantities without the cancellation.
        Vector3 toPeri = e > 0 ? VecScale(ev, 1 / e) : nodeDir;
        Vector3 ahead = VecScale(VecCross(h, toPeri), 1 / hLen);
        xp = VecDot(rv, toPeri);
        yp = VecDot(rv, ahead);
    }

    Extended M, n;
    if (e < 0.9999999L) {
        Extended cosE = e + xp / a;
        Extended sinE = yp / (std::sqrt(1 - e * e) * a);
        Extended E = std::atan2(sinE, cosE);
        M = ReducePlusMinusPi(E - e * std::sin(E));
        n = std::sqrt(gm / (a * a * a));
    } else if (e <= 1.0000001L) {
        // At perihelion rounding may put r a hair inside q.
        Extended s2 = r / q - 1;
        Extended s = SignOf(rdotv) * std::sqrt(s2 > 0 ? s2 : 0);
        n = std::sqrt((1 + e) * gm / (4 * q * q * q));
        M = s + s * s * s / 3;
    } else {
        Extended sinhH = yp / (-std::sqrt(e * e - 1) * a);
        Extended H = std::asinh(sinhH);
        M = e * sinhH - H;
        n = std::sqrt(gm / (-a * -a * -a));
    }
    Extended t = state.time;
    el.T = t - M / (n * SecondsPerDay);
    el.epoch = t;

    int cls = ClassifyOrbit(e);
    el.e = e;
    el.q = q;
    el.a = cls == OrbitNearParabolic ? q : q / (1 - e);
    el.n = cls == OrbitNearParabolic ? std::sqrt((1 + e) * gm / (4 * q * q * q))
                                     : std::sqrt(gm / std::fabs(el.a * el.a * el.a));
    el.M = std::fmod((el.epoch - el.T) * SecondsPerDay * el.n, TwoPi);
    if (cls == OrbitElliptic && el.M < 0) el.M += TwoPi;
    el.i = inc;
    el.node = node;
    el.peri = peri;
    return el;
}

void PrecessElements(OrbitElements& el, std::uint8_t newCode, Extended newJD) {
    Extended jd0 = el.header.epoch;
    if (newJD == jd0) return;
    const EclipticPrecessionAngles k = EclipticAngles(jd0, newJD);
    const Extended eta = k.eta, bigPi = k.bigPi, p = k.p;

    Extended i0 = el.i, node0 = el.node;
    Extended d = node0 - bigPi;
    Extended inc, node;
    if (std::fabs(i0) <= 1e-20L) {
        // The old ecliptic is tilted by |eta| against the new one; for a step
        // back in time (eta < 0) its ascending node lies opposite.
        inc = std::fabs(eta);
        node = p + bigPi + (eta >= 0 ? Pi : 0);
    } else {
        Extended A = std::sin(i0) * std::sin(d);
        Extended B = -std::sin(eta) * std::cos(i0) + std::cos(eta) * std::sin(i0) * std::cos(d);
        node = p + bigPi + std::atan2(A, B);
        inc = std::fabs(i0) <= 0.01L
                  ? SafeArcSin(std::sqrt(A * A + B * B))
                  : SafeArcCos(std::cos(eta) * std::cos(i0) + std::sin(eta) * std::sin(i0) * std::cos(d));
    }
    Extended psi = std::atan2(-std::sin(eta) * std::sin(d),
                              std::cos(eta) * std::sin(i0) - std::sin(eta) * std::cos(i0) * std::cos(d));
    el.i = inc;
    el.node = std::fmod(node, TwoPi);
    el.peri = std::fmod(el.peri + psi, TwoPi);
    el.header.epochCode = newCode;
    el.header.epoch = newJD;
}

namespace {

constexpr Extended KeplerTolerance = 1e-10L;
constexpr int KeplerCorrections = 10;

// Third-order corrections of the root of f, from the start x. f1, f2, f3
// are the first three derivatives' parts the caller supplies.
template <class F>
bool SolveKepler(Extended& x, F terms) {
    for (int k = 0;; ++k) {
        Extended f, f1, f2, f3;
        terms(x, f, f1, f2, f3);
        if (std::fabs(f) <= KeplerTolerance) return true;
        if (k == KeplerCorrections) return false;
        Extended d1 = -f / f1;
        Extended d2 = -f / (f1 + d1 * f2 / 2);
        Extended d3 = -f / (f1 + d2 * f2 / 2 + d2 * d2 * f3 / 6);
        x += d3;
    }
}

// The root of s^3/3 + s = c by Newton's rule from s = 0. Convergence is
// monotone; the cap only guards against values no orbit produces.
bool CubicRoot(Extended c, Extended& s) {
    s = 0;
    for (int k = 0; k < 500; ++k) {
        Extended next = (2 * s * s * s / 3 + c) / (s * s + 1);
        bool done = std::fabs(next - s) < 1e-10L;
        s = next;
        if (done) return true;
    }
    return false;
}

bool NearParabolic(const OrbitElements& el, Extended jd, Extended& s) {
    const Extended e = el.e;
    Extended q = el.q / KmPerAU;
    const Extended k = 0.01720209895L;
    Extended q1 = k * std::sqrt((1 + e) / q) / (2 * q);
    Extended q2 = q1 * (jd - el.T);
    Extended g = (1 - e) / (1 + e);
    if (!CubicRoot(q2, s)) return false;
    if (e == 1) return true;
    for (int l = 1;; ++l) {
        if (l > 50) return false;
        Extended s0 = s;
        Extended y = s * s;
        Extended g1 = -y * s;
        Extended q3 = q2 + 2 * g * s * y / 3;
        for (int z = 2;; ++z) {
            if (z > 50) return false;
            g1 = -g1 * g * y;
            Extended z1 = (z - (z + 1) * g) / (2 * z + 1);
            Extended f = z1 * g1;
            if (std::fabs(f) > 10000) return false;
            q3 += f;
            if (std::fabs(f) < 1e-10L) break;
        }
        if (!CubicRoot(q3, s)) return false;
        if (std::fabs(s - s0) < 1e-10L) return true;
    }
}

}  // namespace

namespace {

// The solution of Kepler's equation as tan(nu/2), or nu itself on a circle.
struct HalfAnomaly {
    bool ok = true;
    bool circular = false;
    Extended nu = 0;        // circular orbits
    Extended tanHalf = 0;   // the others
};

HalfAnomaly SolveAnomaly(const OrbitElements& el, Extended jd) {
    HalfAnomaly out;
    const Extended e = el.e;
    Extended M = el.n * SecondsPerDay * (jd - el.T);
    switch (ClassifyOrbit(e)) {
        case OrbitCircular:
            out.circular = true;
            out.nu = M;
            break;
        case OrbitElliptic: {
            M = ReducePlusMinusPi(M);
            Extended sinM = FastSin(M);
            Extended E = M + e * sinM / (1 + sinM - FastSin(M + e));
            Extended s = 0, c = 1;
            out.ok = SolveKepler(E, [&](Extended x, Extended& f, Extended& f1, Extended& f2, Extended& f3) {
                SinCos(x, s, c);
                f = x - e * s - M;
                f1 = 1 - e * c;
                f2 = e * s;
                f3 = e * c;
            });
            // tan(E/2) from the sine and cosine of the final E, in the form
            // without cancellation on either side of E = pi/2.
            Extended tanHalfE = c >= 0 ? s / (1 + c) : (1 - c) / s;
            out.tanHalf = std::sqrt((1 + e) / (1 - e)) * tanHalfE;
            break;
        }
        case OrbitNearParabolic:
            out.ok = NearParabolic(el, jd, out.tanHalf);
            break;
        default: {
            // ln(2M/e + 1.8) has no value far before perihelion; the curve is
            // odd in H, so the start mirrors the one for +|M| there.
            Extended H = M > -0.9L * e ? std::log(2 * M / e + 1.8L) : -std::log(-2 * M / e + 1.8L);
            out.ok = SolveKepler(H, [&](Extended x, Extended& f, Extended& f1, Extended& f2, Extended& f3) {
                Extended sh = std::sinh(x), ch = std::cosh(x);
                f = e * sh - x - M;
                f1 = e * ch - 1;
                f2 = e * sh;
                f3 = e * ch;
            });
            out.tanHalf = std::sqrt((e + 1) / (e - 1)) * std::tanh(H / 2);
            break;
        }
    }
    return out;
}

}  // namespace

AnomalyResult TrueAnomaly(const OrbitElements& el, Extended jd) {
    HalfAnomaly h = SolveAnomaly(el, jd);
    AnomalyResult out;
    out.ok = h.ok;
    if (h.ok) out.nu = h.circular ? h.nu : 2 * std::atan(h.tanHalf);
    return out;
}

Orbit MakeOrbit(const OrbitElements& el, Extended gm) {
    Orbit o;
    o.elements = el;
    o.gm = gm;
    Extended cw = std::cos(el.peri), sw = std::sin(el.peri);
    Extended cn = std::cos(el.node), sn = std::sin(el.node);
    Extended ci = std::cos(el.i), si = std::sin(el.i);
    o.P = {cw * cn - sw * sn * ci, cw * sn + sw * cn * ci, sw * si};
    o.Q = {-sw * cn - cw * sn * ci, -sw * sn + cw * cn * ci, cw * si};
    return o;
}

std::optional<StateVector> StateAt(const Orbit& orbit, Extended jd) {
    const OrbitElements& el = orbit.elements;
    HalfAnomaly an = SolveAnomaly(el, jd);
    if (!an.ok) return std::nullopt;
    Extended e = el.e;
    Extended p = el.q * (1 + e);
    // cos and sin of nu = 2 arctan(t) straight from t.
    Extended sv, cv;
    if (an.circular) {
        SinCos(an.nu, sv, cv);
    } else {
        Extended t2 = an.tanHalf * an.tanHalf;
        if (std::isinf(t2)) {  // nu = pi
            cv = -1;
            sv = 0;
        } else {
            cv = (1 - t2) / (1 + t2);
            sv = 2 * an.tanHalf / (1 + t2);
        }
    }
    Extended r = p / (1 + e * cv);
    Extended rDot = std::sqrt(orbit.gm / p) * e * sv;
    Extended nuDot = std::sqrt(orbit.gm * p) / (r * r);
    StateVector s;
    s.name = el.name;
    s.time = jd;
    s.centralBody = el.centralBody;
    s.designation = el.designation;
    s.header = el.header;
    s.position = VecAdd(VecScale(orbit.P, r * cv), VecScale(orbit.Q, r * sv));
    s.velocity = VecAdd(VecScale(orbit.P, rDot * cv - r * nuDot * sv), VecScale(orbit.Q, rDot * sv + r * nuDot * cv));
    return s;
}

SolarBody MakeSolarBody(const StateVector& state, std::uint8_t mode, const MagnitudeParameters& magnitude,
                        platform::Dialogs* dialogs) {
    return MakeSolarBody(state, GravitationalParameter(state.centralBody), mode, magnitude, dialogs);
}

SolarBody MakeSolarBody(const StateVector& state, Extended gm, std::uint8_t mode,
                        const MagnitudeParameters& magnitude, platform::Dialogs* dialogs) {
    OrbitElements el = ElementsFromState(state, gm);
    PrecessElements(el, EpochJ2000, JD_J2000);
    SolarBody body;
    body.mode = mode;
    SetEclipticFrame(body.frame, mode, EpochJ2000, JD_J2000);
    body.orbit = MakeOrbit(el, gm);
    body.earth.mode = SunGeometric;
    body.magnitude = magnitude;
    body.dialogs = dialogs;
    return body;
}

Vector3 EarthVector(const Sun& sun, Extended jd) {
    Sun geometric = sun;
    geometric.mode = SunGeometric;
    return VecNegate(SunVector(geometric, jd));
}

namespace {

void ReportFailure(SolarBody& body) {
    body.error = true;
    if (body.dialogs) body.dialogs->show(KeplerErrorText, KeplerErrorCaption, platform::Icon::Error);
}

}  // namespace

BodyPlace GeocentricPosition(SolarBody& body, Extended jd) {
    BodyPlace out;
    body.lastTime = jd;
    body.error = false;
    Sun geometric = body.earth;
    geometric.mode = SunGeometric;
    SunSeriesAt series;
    EvaluateSunSeries(geometric, jd, series);
    Vector3 earth = VecNegate(SunVectorNear(geometric, series, jd));
    Vector3 bodyPos, g;
    Extended delta = 0;
    auto fail = [&]() {
        ReportFailure(body);
        out.ok = false;
        return out;
    };
    if (body.mode == KindMean) {
        std::optional<StateVector> s = StateAt(body.orbit, jd);
        if (!s) return fail();
        bodyPos = s->position;
        g = VecAdd(bodyPos, VecNegate(earth));
        delta = VecLength(g) / KmPerAU;
    } else {
        Extended tau = 0, tauOld = 0;
        // Light time converges by the factor v/c each pass; the cap only stops
        // a loop on values no orbit produces.
        for (int pass = 0;; ++pass) {
            if (pass == 100) return fail();
            if (body.mode == KindApparent && pass > 0) earth = VecNegate(SunVectorNear(geometric, series, jd - tau));
            std::optional<StateVector> s = StateAt(body.orbit, jd - tau);
            if (!s) return fail();
            bodyPos = s->position;
            g = VecAdd(bodyPos, VecNegate(earth));
            Extended d = VecLength(g) / KmPerAU;
            if (pass == 0) delta = d;
            tauOld = tau;
            tau = d * LightDaysPerAU;
            if (std::fabs(tau - tauOld) <= 1e-5L) break;
        }
        out.lightTime = tau;
    }
    EclipticFromVector(out.position, body.frame.position, g);
    PrecessEcliptic(out.position, EpochOfDate, jd);
    if (body.mode == KindApparent) out.position.second += NutationLongitude(jd);
    out.distance = delta;
    body.r = VecLength(bodyPos) / KmPerAU;
    body.delta = delta;
    body.R = VecLength(earth) / KmPerAU;
    return out;
}

BodyPlace HeliocentricPosition(SolarBody& body, Extended jd) {
    BodyPlace out;
    std::optional<StateVector> s = StateAt(body.orbit, jd);
    if (!s) {
        ReportFailure(body);
        out.ok = false;
        return out;
    }
    SkyPosition header;
    SetEcliptic(header, KindMean, EpochOfDate, jd);
    EclipticFromVector(out.position, header, s->position);
    out.position.second += GeneralPrecession(jd);
    out.distance = VecLength(s->position) / KmPerAU;
    return out;
}

Extended Magnitude(SolarBody& body, Extended jd) {
    if (!body.lastTime || *body.lastTime != jd) GeocentricPosition(body, jd);
    if (body.error) return 100;
    const Extended r = body.r, d = body.delta, R = body.R;
    switch (body.magnitude.type) {
        case MagnitudeAsteroid: {
            // alpha = SafeArcCos(cos alpha); tan(alpha/2) follows from its
            // cosine directly.
            Extended cosAlpha = (r * r + d * d - R * R) / (2 * r * d);
            cosAlpha = cosAlpha > 1 ? 1 : (cosAlpha < -1 ? -1 : cosAlpha);
            // tan(alpha/2)^0.63 and ^1.22 through one logarithm (0 gives 0).
            Extended logTan = 0.5L * std::log((1 - cosAlpha) / (1 + cosAlpha));
            Extended phi1 = std::exp(-3.33L * std::exp(0.63L * logTan));
            Extended phi2 = std::exp(-1.87L * std::exp(1.22L * logTan));
            const Extended G = body.magnitude.G;
            // 5 log10(r delta) - 2.5 log10(mix) with one logarithm.
            const Extended rd = r * d;
            return body.magnitude.H + 2.5L * std::log10(rd * rd / ((1 - G) * phi1 + G * phi2));
        }
        case MagnitudeComet:
            return body.magnitude.H + 5 * std::log10(d) + body.magnitude.G * std::log10(r);
        default:
            return 100;
    }
}

Extended PeriodYears(const OrbitElements& el) { return TwoPi / el.n / 31556926.08L; }

namespace {

Extended LessTurnsWhileAbove(Extended x) {
    if (!std::isfinite(x)) return x;
    while (x > TwoPi) x -= TwoPi;
    return x;
}

}  // namespace

Extended LongitudeOfPerihelion(const OrbitElements& el) { return LessTurnsWhileAbove(el.peri + el.node); }

Extended MeanLongitude(const OrbitElements& el) { return LessTurnsWhileAbove(el.M + el.peri + el.node); }

void AdvanceMeanAnomaly(OrbitElements& el, Extended jd) {
    if (jd == el.epoch) return;
    el.M = ReduceTwoPi(el.M + el.n * SecondsPerDay * (jd - el.epoch));
    el.epoch = jd;
}

}  // namespace qnr
