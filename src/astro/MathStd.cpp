#include "astro/MathStd.h"

#include <cmath>

namespace qnr {

void RotMatrix::Init(Extended a) {
    angle = a;
    sin = std::sin(a);
    cos = std::cos(a);
    for (auto& row : m)
        for (auto& v : row) v = 0;
}

void RotMatrix::InitXRotation(Extended a) {
    Init(a);
    m[0][0] = 1;
    m[1][1] = cos;
    m[1][2] = -sin;
    m[2][1] = sin;
    m[2][2] = cos;
}

Extended SignOf(Extended x) { return x >= 0 ? 1 : -1; }

Extended SafeArcSin(Extended x) { return std::asin(x > 1 ? 1 : (x < -1 ? -1 : x)); }
Extended SafeArcCos(Extended x) { return std::acos(x > 1 ? 1 : (x < -1 ? -1 : x)); }

Vector3 VecAdd(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 VecScale(const Vector3& a, Extended s) { return {s * a.x, s * a.y, s * a.z}; }
Vector3 VecNegate(const Vector3& a) { return VecScale(a, -1); }
Vector3 VecCross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Extended VecDot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Extended VecLength(const Vector3& a) { return std::sqrt(VecDot(a, a)); }

Polar VecToPolar(const Vector3& a) {
    Polar p;
    p.r = VecLength(a);
    // The zero vector has no direction; theta 0 keeps it finite.
    p.theta = p.r > 0 ? SafeArcCos(a.z / p.r) : 0;
    p.phi = std::atan2(a.y, a.x);
    return p;
}

Vector3 PolarToVec(Extended r, Extended theta, Extended phi) {
    return {r * std::sin(theta) * std::cos(phi), r * std::sin(theta) * std::sin(phi), r * std::cos(theta)};
}

Extended Frac(Extended x) { return x - std::trunc(x); }

AngleParts SplitAngle(Extended v) {
    AngleParts p;
    p.sign = static_cast<std::int8_t>(v > 0 ? 1 : (v < 0 ? -1 : 0));
    p.whole = static_cast<std::int32_t>(std::fabs(std::trunc(v)));
    Extended m = std::fabs(Frac(v)) * 60;
    p.minutes = static_cast<std::int32_t>(std::trunc(m));
    p.seconds = Frac(m) * 60;
    return p;
}

}  // namespace qnr
