#include "kernel/Mat3.h"
#include "kernel/Quaternion.h"
#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
// The rotation matrix of a unit quaternion, from the textbook formula.
Mat3 MatrixOf(const Quaternion& q)
{
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    Mat3 m;
    m.SetRows({1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
              {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
              {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)});
    return m;
}

void ExpectSameMatrix(const Mat3& a, const Mat3& b, double tol)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a.m[i], b.m[i], tol) << i;
}
}  // namespace

TEST(Quaternion, HalfTurnAboutDiagonal)
{
    const double s2 = std::sqrt(0.5);
    Mat3 m;
    m.SetRotation({s2, s2, 0}, kPi);
    const Quaternion q = Quaternion::FromMat3(m);
    const double sign = q.x < 0 ? -1.0 : 1.0;  // q and -q are the same turn
    EXPECT_NEAR(q.w, 0.0, 1e-12);
    EXPECT_NEAR(sign * q.x, s2, 1e-12);
    EXPECT_NEAR(sign * q.y, s2, 1e-12);
    EXPECT_NEAR(q.z, 0.0, 1e-12);
}

TEST(Quaternion, AngleAndAxisOfRotations)
{
    struct Case
    {
        const char* name;
        Vec3D axis;
        double angle;
    };
    // Half turns and near-half turns reach each branch that avoids a small divisor.
    const Case cases[] = {
        {"identity", {0, 0, 1}, 0.0},
        {"quarter turn about y", {0, 1, 0}, kPi / 2},
        {"half turn about x", {1, 0, 0}, kPi},
        {"half turn about y", {0, 1, 0}, kPi},
        {"half turn about z", {0, 0, 1}, kPi},
        {"near half turn about a skew axis", {0.3, -0.2, 0.9}, kPi - 1e-9},
        {"two fifths about a five-fold axis", {1, 1.618033988749895, 0}, 4 * kPi / 5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Mat3 m;
        m.SetRotation(c.axis, c.angle);
        const Quaternion q = Quaternion::FromMat3(m);
        EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0, 1e-12);
        ExpectSameMatrix(MatrixOf(q), m, 1e-12);

        // The alignment code's reading: angle 2 acos(w), axis (x, y, z) / sin(angle / 2).
        const double sign = q.w < 0 ? -1.0 : 1.0;
        EXPECT_NEAR(2 * std::acos(std::fmin(1.0, sign * q.w)), c.angle, 1e-7);
        const double s = std::sqrt(1 - q.w * q.w);
        if (s > 1e-6)
        {
            Vec3D axis = c.axis;
            Vec3Normalize(axis);
            EXPECT_NEAR(sign * q.x / s, axis.x, 1e-7);
            EXPECT_NEAR(sign * q.y / s, axis.y, 1e-7);
            EXPECT_NEAR(sign * q.z / s, axis.z, 1e-7);
        }
    }
}

TEST(Quaternion, RoundTripOfRandomRotations)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> coord(-1.0, 1.0), angle(0.0, kPi);
    for (int i = 0; i < 500; ++i)
    {
        Vec3D axis = {coord(random), coord(random), coord(random)};
        if (!Vec3Normalize(axis))
            continue;
        Mat3 m;
        m.SetRotation(axis, angle(random));
        // Turns just short of a half turn keep the trace branch, which loses a few digits there.
        ExpectSameMatrix(MatrixOf(Quaternion::FromMat3(m)), m, 1e-9);
    }
}
