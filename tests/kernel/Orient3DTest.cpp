#include "kernel/Orient3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
// The exact determinant of integer points, independently, in 128-bit integers.
int ExactSign(const long long a[3], const long long b[3], const long long c[3], const long long d[3])
{
    __int128 u[3], v[3], w[3];
    for (int i = 0; i < 3; ++i)
    {
        u[i] = b[i] - a[i];
        v[i] = c[i] - a[i];
        w[i] = d[i] - a[i];
    }
    const __int128 det = (u[1] * v[2] - u[2] * v[1]) * w[0] + (u[2] * v[0] - u[0] * v[2]) * w[1] +
                         (u[0] * v[1] - u[1] * v[0]) * w[2];
    return det > 0 ? 1 : det < 0 ? -1 : 0;
}

int Sign(double x)
{
    return x > 0 ? 1 : x < 0 ? -1 : 0;
}

Vec3D ToVec(const long long p[3], double scale)
{
    return Vec3D{double(p[0]) * scale, double(p[1]) * scale, double(p[2]) * scale};
}
}  // namespace

TEST(Orient3DTest, SideOfThePlaneFollowsTheRightHandNormal)
{
    const Vec3D o{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0};
    EXPECT_GT(Orient3D(o, x, y, Vec3D{0.2, 0.3, 1}), 0.0);
    EXPECT_LT(Orient3D(o, x, y, Vec3D{0.2, 0.3, -1}), 0.0);
    EXPECT_EQ(Orient3D(o, x, y, Vec3D{5, -7, 0}), 0.0);
    EXPECT_DOUBLE_EQ(Orient3D(o, x, y, Vec3D{0, 0, 2}), 2.0);
}

TEST(Orient3DTest, SignIsExactWhereRoundingWouldDecideIt)
{
    // Points on or next to a plane through large integer points, where the products of the plain
    // determinant carry more bits than a double: the sign must agree with exact integer arithmetic.
    // Scaling every coordinate by a power of two changes no sign.
    std::mt19937_64 rng(1);
    std::uniform_int_distribution<long long> coord(-(1LL << 30), 1LL << 30);
    std::uniform_int_distribution<long long> small(-3, 3);
    int zeros = 0, nonzeros = 0;
    for (int trial = 0; trial < 20000; ++trial)
    {
        long long a[3], b[3], c[3], d[3];
        for (int i = 0; i < 3; ++i)
        {
            a[i] = coord(rng);
            b[i] = a[i] + small(rng) * (1LL << 20) + small(rng);
            c[i] = a[i] + small(rng) * (1LL << 20) + small(rng);
        }
        // d = a + s (b - a) + t (c - a), nudged by at most one unit.
        const long long s = small(rng), t = small(rng);
        for (int i = 0; i < 3; ++i)
            d[i] = a[i] + s * (b[i] - a[i]) + t * (c[i] - a[i]) + (trial % 3 == 0 ? small(rng) % 2 : 0);
        const int truth = ExactSign(a, b, c, d);
        (truth == 0 ? zeros : nonzeros)++;
        for (double scale : {1.0, std::ldexp(1.0, -70), std::ldexp(1.0, 40)})
        {
            const double got = Orient3D(ToVec(a, scale), ToVec(b, scale), ToVec(c, scale), ToVec(d, scale));
            ASSERT_EQ(Sign(got), truth) << "trial " << trial << " scale " << scale;
        }
        // Swapping two points turns the plane over.
        ASSERT_EQ(Sign(Orient3D(ToVec(b, 1), ToVec(a, 1), ToVec(c, 1), ToVec(d, 1))), -truth);
    }
    EXPECT_GT(zeros, 1000);
    EXPECT_GT(nonzeros, 1000);
}
