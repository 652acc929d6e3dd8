#include "kernel/Plane.h"
#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

TEST(Plane, ThroughThreePointsFacesAwayFromTheOrigin)
{
    const double s = 1 / std::sqrt(3.0);
    const Vec3D a{1, 0, 0}, b{0, 1, 0}, c{0, 0, 1};
    for (const auto& order : {std::array<Vec3D, 3>{a, b, c}, std::array<Vec3D, 3>{a, c, b}})
    {
        Plane p;
        ASSERT_TRUE(PlaneFrom3Points(p, order[0], order[1], order[2], kTol));
        EXPECT_NEAR(p.n.x, s, 1e-15);
        EXPECT_NEAR(p.n.y, s, 1e-15);
        EXPECT_NEAR(p.n.z, s, 1e-15);
        EXPECT_NEAR(p.d, -s, 1e-15);
        EXPECT_NEAR(PlaneDistance(p, {0, 0, 0}), -s, 1e-15);
    }

    // The far side of the origin: the normal is reversed so that d stays <= 0.
    Plane p;
    ASSERT_TRUE(PlaneFrom3Points(p, {0, 0, -2}, {1, 0, -2}, {0, 1, -2}, kTol));
    EXPECT_NEAR(p.n.z, -1, 1e-15);
    EXPECT_NEAR(p.d, -2, 1e-15);
}

TEST(Plane, ColinearPointsLeaveThePlaneUntouched)
{
    Plane p;
    p.d = 42;
    EXPECT_FALSE(PlaneFrom3Points(p, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, kTol));
    EXPECT_FALSE(PlaneFrom3Points(p, {1, 2, 3}, {1, 2, 3}, {4, 5, 7}, kTol));
    EXPECT_EQ(p.d, 42);
}

TEST(Plane, ThroughTheOriginKeepsTheComputedNormal)
{
    Plane p;
    ASSERT_TRUE(PlaneFrom3Points(p, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, kTol));
    EXPECT_NEAR(p.n.z, -1, 1e-15);  // right-hand normal of the three points
    EXPECT_EQ(p.d, 0.0);
}
