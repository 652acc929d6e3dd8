#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Vec3D, AxisChoicesBreakTiesAsDocumented)
{
    struct Case
    {
        const char* name;
        Vec3D v;
        int maxAxis, minAxis, minAxisTol;
    };
    const Case cases[] = {
        {"all equal", {1, 1, 1}, 2, 2, 0},
        {"x and y tie for max", {2, 2, 1}, 1, 2, 2},
        {"zero x and y", {0, 0, 5}, 2, 1, 0},
        {"negative components count by magnitude", {-3, 1, 2}, 0, 1, 1},
        {"x largest strictly", {5, -1, 1}, 0, 2, 1},
        {"y and z tie", {0, 3, -3}, 2, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Vec3MaxAxis(c.v), c.maxAxis);
        EXPECT_EQ(Vec3MinAxis(c.v), c.minAxis);
        EXPECT_EQ(Vec3MinAxisTol(c.v, kTol), c.minAxisTol);
    }
    // Within the tolerance the earlier axis stays.
    EXPECT_EQ(Vec3MinAxisTol({1.0, 1.0 - 1e-8, 5}, kTol), 0);
    EXPECT_EQ(Vec3MaxAxisOfDiff({1, 1, 1}, {1, 4, 2}), 1);
}

TEST(Vec3D, ParallelAndColinear)
{
    EXPECT_TRUE(Vec3Parallel({2, 4, 6}, {-1, -2, -3}, kTol));
    EXPECT_TRUE(Vec3Parallel({7, -3, 2}, {0, 0, 0}, kTol));
    EXPECT_TRUE(Vec3Parallel({0, 0, 0}, {1, 2, 3}, kTol));
    EXPECT_FALSE(Vec3Parallel({1, 0, 0}, {0, 1, 0}, kTol));
    EXPECT_FALSE(Vec3Parallel({1, 2, 3.001}, {1, 2, 3}, kTol));
    EXPECT_TRUE(Vec3Colinear({1, 2, 3}, {5, 5, 5}, {1, 2, 3}, kTol));
    EXPECT_TRUE(Vec3Colinear({0, 0, 0}, {1, 1, 0}, {-2, -2, 0}, kTol));
    EXPECT_FALSE(Vec3Colinear({0, 0, 0}, {1, 1, 0}, {2, 1, 0}, kTol));
}

TEST(Vec3D, ToleranceIsClosedAndNaNIsNeverEqual)
{
    EXPECT_TRUE(Vec3Equal({1, 2, 3}, {1 + 1e-7, 2 - 1e-7, 3}, 1e-7 * 1.0000001));
    EXPECT_TRUE(WithinTol(1.0, 0.5, 0.5));
    EXPECT_FALSE(Vec3Equal({1, 2, 3}, {1 + 2e-7, 2, 3}, kTol));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(Vec3Equal({nan, 0, 0}, {nan, 0, 0}, kTol));
    EXPECT_FALSE(Vec3Equal({nan, 0, 0}, {0, 0, 0}, 1e300));
    EXPECT_TRUE(Vec3EqualNeg({1, -2, 3}, {-1, 2, -3}, kTol));
    EXPECT_FALSE(Vec3EqualNeg({1, -2, 3}, {1, -2, 3}, kTol));
}

TEST(Vec3D, CompareTakesTheFirstDecidingComponent)
{
    EXPECT_EQ(Vec3Compare({1, 5, 0}, {1 + 1e-8, 2, 9}, kTol), 1);
    EXPECT_EQ(Vec3Compare({1, 2, 0}, {1, 5, -9}, kTol), -1);
    EXPECT_EQ(Vec3Compare({1, 2, 3}, {1 + 1e-8, 2 - 1e-8, 3}, kTol), 0);
    EXPECT_EQ(Vec3Compare({0, 0, 1}, {0, 0, 2}, kTol), -1);
}

TEST(Vec3D, AnglesAreExactAtTheEnds)
{
    const Vec3D x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}, negX{-1, 0, 0};
    EXPECT_EQ(Vec3Angle(x, x), 0.0);
    EXPECT_DOUBLE_EQ(Vec3Angle(x, negX), kPi);
    EXPECT_DOUBLE_EQ(Vec3Angle(x, y), kPi / 2);
    EXPECT_DOUBLE_EQ(Vec3SignedAngle(x, y, z), kPi / 2);
    EXPECT_DOUBLE_EQ(Vec3SignedAngle(y, x, z), -kPi / 2);
    // A zero triple product counts as positive.
    EXPECT_DOUBLE_EQ(Vec3SignedAngle(x, y, x), kPi / 2);
    // Rounding past unit length must not give NaN.
    const Vec3D a{1.0000000000000002, 0, 0};
    EXPECT_FALSE(std::isnan(Vec3Angle(a, Vec3D{-1.0000000000000002, 0, 0})));
}

TEST(Vec3D, CrossNormalAndPerpendicular)
{
    Vec3D out;
    Vec3Cross(out, {1, 0, 0}, {0, 1, 0});
    EXPECT_TRUE(Vec3Equal(out, {0, 0, 1}, 0));
    Vec3Normal3(out, {0, 0, 0}, {1, 0, 0}, {1, 1, 0});
    EXPECT_TRUE(Vec3Equal(out, {0, 0, 1}, 0));

    const Vec3D vs[] = {{1, 2, 3}, {0, 0, 5}, {-4, 0.5, 0.5}, {1e-9, 1, 0}};
    for (const Vec3D& v : vs)
    {
        Vec3Perpendicular(out, v);
        EXPECT_NEAR(Vec3Dot(out, v), 0.0, 1e-12);
        EXPECT_GT(Vec3Length(out), 0.0);
    }
    Vec3Perpendicular(out, Vec3D{});
    EXPECT_TRUE(Vec3IsZero(out, 0));
}

TEST(Vec3D, InPlaceOperationsMayAliasTheirOperands)
{
    Vec3D v{1, 2, 3};
    Vec3Add(v, v, v);
    EXPECT_TRUE(Vec3Equal(v, {2, 4, 6}, 0));
    Vec3AddScaled(v, v, 0.5, v);
    EXPECT_TRUE(Vec3Equal(v, {3, 6, 9}, 0));
    Vec3SnapZero(v = {1e-8, -1e-8, 1e-6}, kTol);
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 1e-6);
    v = {3, 0, 4};
    EXPECT_TRUE(Vec3Normalize(v));
    EXPECT_TRUE(Vec3Equal(v, {0.6, 0, 0.8}, 1e-15));
    Vec3D zero;
    EXPECT_FALSE(Vec3Normalize(zero));
}

TEST(Vec2D, PseudoAngleFollowsTheDirectionAngle)
{
    struct Case
    {
        Vec2D v;
        double expected;
    };
    const Case cases[] = {{{1, 0}, 0},  {{1, 1}, 1},   {{0, 1}, 2},  {{-1, 1}, 3},
                          {{-1, 0}, 4}, {{0, -1}, -2}, {{1, -1}, -1}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(PseudoAngle2D(c.v), c.expected) << c.v.x << "," << c.v.y;

    // Strictly increasing over (-180, 180] degrees.
    double previous = -5;
    for (int deg = -179; deg <= 180; ++deg)
    {
        const double a = deg * kPi / 180.0;
        const double p = PseudoAngle2D({std::cos(a), std::sin(a)});
        EXPECT_GT(p, previous) << deg;
        previous = p;
    }
}
