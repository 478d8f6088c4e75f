#pragma once
// Vectors, the x-axis rotation, trigonometric helpers and the split of an
// angle or hour value into its sexagesimal parts.
#include <cstdint>

#include "astro/Types.h"

namespace qnr {

inline constexpr Extended Pi = 3.14159265358979323846264338327950288L;
inline constexpr Extended TwoPi = 2 * Pi;
inline constexpr Extended DegToRad = Pi / 180;
inline constexpr Extended RadToDeg = 180 / Pi;
inline constexpr Extended ArcsecPerRad = RadToDeg * 3600;

struct Vector3 {
    Extended x = 0, y = 0, z = 0;
};

struct RotMatrix {
    Extended angle = 0;
    Extended sin = 0;
    Extended cos = 1;
    Extended m[3][3] = {};  // row by row

    // angle, sine and cosine stored, matrix zeroed
    void Init(Extended a);
    // Init, then [[1, 0, 0], [0, cos, -sin], [0, sin, cos]]
    void InitXRotation(Extended a);
};

Extended SignOf(Extended x);  // +1 for x >= 0, else -1
Extended SafeArcSin(Extended x);
Extended SafeArcCos(Extended x);

Vector3 VecAdd(const Vector3& a, const Vector3& b);
Vector3 VecScale(const Vector3& a, Extended s);
Vector3 VecNegate(const Vector3& a);
Vector3 VecCross(const Vector3& a, const Vector3& b);
Extended VecDot(const Vector3& a, const Vector3& b);
Extended VecLength(const Vector3& a);

struct Polar {
    Extended r = 0;
    Extended theta = 0;  // from +z
    Extended phi = 0;    // atan2(y, x)
};
Polar VecToPolar(const Vector3& a);
Vector3 PolarToVec(Extended r, Extended theta, Extended phi);

Extended Frac(Extended x);  // x - trunc(x)

// The split of a value in degrees or hours.
struct AngleParts {
    std::int8_t sign = 0;      // -1, 0 or +1
    std::int32_t whole = 0;    // |trunc(v)|
    std::int32_t minutes = 0;  // trunc(|frac(v)| x 60)
    Extended seconds = 0;      // frac(|frac(v)| x 60) x 60
};

AngleParts SplitAngle(Extended v);

}  // namespace qnr
