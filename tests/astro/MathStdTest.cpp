#include "astro/MathStd.h"

#include <cmath>

#include <gtest/gtest.h>

namespace qnr {
namespace {

TEST(MathStd, SplitAngleOfANegativeFraction) {
    AngleParts p = SplitAngle(-0.5L);
    EXPECT_EQ(p.sign, -1);
    EXPECT_EQ(p.whole, 0);
    EXPECT_EQ(p.minutes, 30);
    EXPECT_NEAR(static_cast<double>(p.seconds), 0.0, 1e-12);
}

TEST(MathStd, SplitAngleTable) {
    struct Row { Extended v; int sign, whole, minutes; double seconds; };
    const Row rows[] = {
        {0.0L, 0, 0, 0, 0.0},
        {5.1191666666666666667L, 1, 5, 7, 9.0},   // 5 07 09
        {-123.5125L, -1, 123, 30, 45.0},
        {359.99999L, 1, 359, 59, 59.964},
    };
    for (const auto& r : rows) {
        AngleParts p = SplitAngle(r.v);
        EXPECT_EQ(p.sign, r.sign) << static_cast<double>(r.v);
        EXPECT_EQ(p.whole, r.whole) << static_cast<double>(r.v);
        EXPECT_EQ(p.minutes, r.minutes) << static_cast<double>(r.v);
        EXPECT_NEAR(static_cast<double>(p.seconds), r.seconds, 1e-6) << static_cast<double>(r.v);
    }
}

TEST(MathStd, VectorsAndPolarForm) {
    Vector3 x{1, 0, 0}, y{0, 1, 0};
    Vector3 z = VecCross(x, y);
    EXPECT_EQ(z.z, 1);
    EXPECT_EQ(VecDot(x, y), 0);
    Vector3 v{1, 2, 3};
    Polar p = VecToPolar(v);
    Vector3 back = PolarToVec(p.r, p.theta, p.phi);
    EXPECT_NEAR(static_cast<double>(back.x), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(back.y), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(back.z), 3, 1e-15);
    Polar zero = VecToPolar(Vector3{});
    EXPECT_EQ(zero.r, 0);
    EXPECT_FALSE(std::isnan(zero.theta));
}

TEST(MathStd, XRotationMatrix) {
    RotMatrix m;
    m.InitXRotation(Pi / 2);
    EXPECT_EQ(m.m[0][0], 1);
    EXPECT_NEAR(static_cast<double>(m.m[1][2]), -1, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.m[2][1]), 1, 1e-18);
    EXPECT_EQ(SafeArcSin(1.0000001L), Pi / 2);
    EXPECT_EQ(SignOf(0), 1);
    EXPECT_EQ(SignOf(-1e-30L), -1);
}

}  // namespace
}  // namespace qnr
