#include "astro/Coords.h"

#include <algorithm>
#include <cmath>

#include "astro/DateTime.h"

namespace qnr {

namespace {

constexpr Extended ArcsecToRad = DegToRad / 3600;

// Rounding can turn a tiny negative value plus a full turn into the full turn.
Extended AddTurnIfNegative(Extended x, Extended turn) {
    if (x < 0) x += turn;
    return x >= turn ? 0 : x;
}

// The latitude (or declination) after a rotation: near a pole the arc sine
// loses its accuracy, so the arc cosine of the horizontal part is used there.
Extended PolarAngle(Extended oldAngle, Extended a, Extended b, Extended c) {
    if (Pi / 2 - std::fabs(oldAngle) <= 0.01L) return SignOf(c) * ClampedArcCos(std::sqrt(a * a + b * b));
    return ClampedArcSin(c);
}

// Greenwich mean sidereal angle in degrees, unreduced.
Extended SiderealDegrees(Extended jd) {
    Extended t = JulianCenturies(jd);
    return 280.46061837L + 360.98564736629L * (jd - JD_J2000) + t * t * (0.000387933L - t / 38710000.0L);
}

}  // namespace

Extended JulianCenturies(Extended jd) { return (jd - JD_J2000) / 36525; }
Extended JulianMillennia(Extended jd) { return (jd - JD_J2000) / 365250; }
Extended JulianTenMillennia(Extended jd) { return (jd - JD_J2000) / 3652500; }

Extended ReduceTwoPi(Extended x) { return AddTurnIfNegative(std::fmod(x, TwoPi), TwoPi); }

double SeparationDeg(double ra1, double dec1, double ra2, double dec2) {
    const double d2r = static_cast<double>(DegToRad);
    const double c = std::sin(dec1 * d2r) * std::sin(dec2 * d2r) +
                     std::cos(dec1 * d2r) * std::cos(dec2 * d2r) * std::cos((ra1 - ra2) * 15 * d2r);
    return std::acos(std::clamp(c, -1.0, 1.0)) / d2r;
}

Extended NormalizeHours(Extended h) { return AddTurnIfNegative(24 * Frac(h / 24), 24); }

void SetPosition(SkyPosition& pos, std::uint8_t kind, std::uint8_t frame, std::uint8_t epochCode,
                 Extended epochJD) {
    pos.kind = kind;
    pos.frame = frame;
    pos.epochCode = epochCode;
    pos.epoch = epochJD;
}

void SetEcliptic(SkyPosition& pos, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD) {
    SetPosition(pos, kind, FrameEcliptic, epochCode, epochJD);
}

void SetEquatorial(SkyPosition& pos, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD) {
    SetPosition(pos, kind, FrameEquatorial, epochCode, epochJD);
}

void SetEclipticFrame(EclipticFrame& frame, std::uint8_t kind, std::uint8_t epochCode, Extended epochJD) {
    SetEcliptic(frame.position, kind, epochCode, epochJD);
    Extended eps = Obliquity(epochJD);
    if (kind == KindApparent) eps += NutationObliquity(epochJD);
    frame.rotation.InitXRotation(eps);
}

void PrecessEquatorial(SkyPosition& pos, std::uint8_t newCode, Extended newJD) {
    if (newJD == pos.epoch) return;
    Extended T = JulianCenturies(pos.epoch);
    Extended t = (newJD - pos.epoch) / 36525;
    Extended base = 2306.2181L + 1.39656L * T - 0.000139L * T * T;
    Extended zeta = base * t + (0.30188L - 0.000344L * T) * t * t + 0.017998L * t * t * t;
    Extended z = base * t + (1.09468L + 0.000066L * T) * t * t + 0.018203L * t * t * t;
    Extended theta = (2004.3109L - 0.8533L * T - 0.000217L * T * T) * t + (-0.42665L - 0.000217L * T) * t * t -
                     0.041833L * t * t * t;
    zeta *= ArcsecToRad;
    z *= ArcsecToRad;
    theta *= ArcsecToRad;

    Extended a0 = pos.first, d0 = pos.second;
    Extended sd, cd, sa, ca, st, ct;
    SinCos(d0, sd, cd);
    SinCos(a0 + zeta, sa, ca);
    SinCos(theta, st, ct);
    Extended A = cd * sa;
    Extended B = ct * cd * ca - st * sd;
    Extended C = st * cd * ca + ct * sd;
    pos.first = ReduceTwoPi(std::atan2(A, B) + z);
    pos.second = PolarAngle(d0, A, B, C);
    pos.epochCode = newCode;
    pos.epoch = newJD;
}

EclipticPrecessionAngles EclipticAngles(Extended fromJD, Extended toJD) {
    Extended T = JulianCenturies(fromJD);
    Extended t = (toJD - fromJD) / 36525;
    EclipticPrecessionAngles r;
    r.eta = ((47.0029L - 0.06603L * T + 0.000598L * T * T) * t + (-0.03302L + 0.000598L * T) * t * t +
             0.00006L * t * t * t) *
            ArcsecToRad;
    r.bigPi = (174.876384L + (3289.4789L * T + 0.60622L * T * T - (869.8089L + 0.50491L * T) * t +
                              0.03536L * t * t) /
                                 3600) *
              DegToRad;
    r.p = ((5029.0966L + 2.22226L * T - 0.000042L * T * T) * t + (1.11113L - 0.000042L * T) * t * t -
           0.000006L * t * t * t) *
          ArcsecToRad;
    return r;
}

void PrecessEcliptic(SkyPosition& pos, std::uint8_t newCode, Extended newJD) {
    if (newJD == pos.epoch) return;
    EclipticPrecessionAngles k = EclipticAngles(pos.epoch, newJD);
    Extended b0 = pos.first, l0 = pos.second;
    Extended se, ce, sb, cb, sd, cd;
    SinCos(k.eta, se, ce);
    SinCos(b0, sb, cb);
    SinCos(k.bigPi - l0, sd, cd);
    Extended A = ce * cb * sd - se * sb;
    Extended B = cb * cd;
    Extended C = ce * sb + se * cb * sd;
    pos.second = ReduceTwoPi(k.p + k.bigPi - std::atan2(A, B));
    pos.first = PolarAngle(b0, A, B, C);
    pos.epochCode = newCode;
    pos.epoch = newJD;
}

void EclipticToEquatorial(SkyPosition& dest, const SkyPosition& src) {
    Extended eps = Obliquity(src.epoch);
    if (src.kind == KindApparent) eps += NutationObliquity(src.epoch);
    Extended se, ce, sb, cb, sl, cl;
    SinCos(eps, se, ce);
    SinCos(src.first, sb, cb);
    SinCos(src.second, sl, cl);
    Extended sinDelta = sb * ce + cb * se * sl;
    Extended alpha = cl == 0 ? src.second : std::atan2(ce * cb * sl - se * sb, cb * cl);
    dest.kind = src.kind;
    dest.frame = src.frame;
    dest.epochCode = src.epochCode;
    dest.epoch = src.epoch;
    // atan2 gives -pi for a tiny negative numerator; that is the direction pi.
    dest.first = alpha <= -Pi ? Pi : alpha;
    dest.second = ClampedArcSin(sinDelta);
}

void EclipticFromVector(SkyPosition& dest, const SkyPosition& header, const Vector3& v) {
    SetPosition(dest, header.kind, header.frame, header.epochCode, header.epoch);
    // VecToPolar's angles, with the faster arc cosine.
    Extended r = VecLength(v);
    Extended theta = r > 0 ? ClampedArcCos(v.z / r) : 0;
    dest.first = Pi / 2 - theta;
    dest.second = std::atan2(v.y, v.x);
}

Extended Obliquity(Extended jd) {
    Extended a = JulianMillennia(jd);
    Extended poly =
        a * (-468.093L + a * (-0.0155L + a * (1.99925L + a * (-0.005138L + a * (-0.0024967L +
                                                                               a * (-0.00003905L + a * 0.000000712L))))));
    return (23.43929111L + poly / 3600) * DegToRad;
}

namespace {

// The Moon's node and twice the Sun's mean longitude, radians.
void NutationArguments(Extended jd, Extended& l1, Extended& l2) {
    Extended u = JulianTenMillennia(jd);
    l1 = 2.18L - 3375.7L * u + 0.36L * u * u;
    l2 = 3.51L + 125666.39L * u + 0.1L * u * u;
}

}  // namespace

Extended NutationLongitude(Extended jd) {
    Extended l1, l2;
    NutationArguments(jd, l1, l2);
    return (-834 * FastSin(l1) - 64 * FastSin(l2)) * 1e-7L;
}

Extended NutationObliquity(Extended jd) {
    Extended l1, l2;
    NutationArguments(jd, l1, l2);
    return (446 * FastCos(l1) + 28 * FastCos(l2)) * 1e-7L;
}

Extended GeneralPrecession(Extended jd) {
    Extended a = JulianMillennia(jd);
    Extended p =
        a * (50290.966L +
             a * (111.1971L +
                  a * (0.07732L + a * (-0.235316L + a * (-0.0018055L + a * (0.00017451L + a * 0.000013095L))))));
    return p * ArcsecToRad;
}

Extended GreenwichSiderealTime(int kind, Extended jd) {
    Extended theta = AddTurnIfNegative(Frac(SiderealDegrees(jd) / 360) * TwoPi, TwoPi);
    if (kind == 1) theta += NutationLongitude(jd) * FastCos(Obliquity(jd) + NutationObliquity(jd));
    return theta;
}

Extended LocalSiderealTime(Extended jd, Extended eastLongitude) {
    Extended theta = Frac(SiderealDegrees(jd) / 360) * 360 * DegToRad;
    if (theta < 0) theta += TwoPi;
    Extended hours = (theta + eastLongitude) * 24 / TwoPi;
    if (hours < 0)
        hours += 24;
    else if (hours > 24)
        hours -= 24;
    return hours;
}

Extended LocalSiderealTime(const ObsDateTime& dateTime, Extended eastLongitude) {
    return LocalSiderealTime(dateTime.JulianDate(), eastLongitude);
}

Horizontal HorizonPosition(const Site& site, const SkyPosition& pos, Extended jd) {
    Extended sh, ch, sd, cd, sp, cp;
    SinCos(GreenwichSiderealTime(1, jd) + site.eastLongitude - pos.first, sh, ch);
    SinCos(pos.second, sd, cd);
    SinCos(site.latitude, sp, cp);
    Horizontal out;
    out.altitude = ClampedArcSin(sd * sp + cd * ch * cp);
    out.azimuth = std::atan2(-cd * sh, sd * cp - cd * ch * sp);
    return out;
}

}  // namespace qnr
