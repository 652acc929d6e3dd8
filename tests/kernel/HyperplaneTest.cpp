#include "kernel/Hyperplane.h"
#include "kernel/Tolerance.h"
#include "Vec4Expect.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(Hyperplane, UnitPointsInEveryOrder)
{
    const Vec4D units[4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    int order[4] = {0, 1, 2, 3};
    int orders = 0;
    do
    {
        SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2] << order[3]);
        Hyperplane h;
        ASSERT_TRUE(HyperplaneFrom4Points(h, units[order[0]], units[order[1]], units[order[2]], units[order[3]], kTol));
        ExpectVec4Near(h.n, {0.5, 0.5, 0.5, 0.5}, 1e-15);
        EXPECT_NEAR(h.d, -0.5, 1e-15);
        ++orders;
    } while (std::next_permutation(order, order + 4));
    EXPECT_EQ(orders, 24);
}

TEST(Hyperplane, KnownHyperplanesFromPoints)
{
    struct Case
    {
        const char* name;
        Vec4D p[4];
        Vec4D n;
        double d;
    };
    const Case cases[] = {
        // x + 2y - 2z + 4w = 5, |(1, 2, -2, 4)| = 5.
        {"oblique", {{5, 0, 0, 0}, {1, 2, 0, 0}, {1, 0, -2, 0}, {1, 0, 0, 1}}, {0.2, 0.4, -0.4, 0.8}, -1},
        // The normal is turned away from the origin whatever the order of the points.
        {"x = -3", {{-3, 0, 0, 0}, {-3, 1, 0, 0}, {-3, 0, 1, 0}, {-3, 0, 0, 1}}, {-1, 0, 0, 0}, -3},
        {"x = -3 reordered", {{-3, 1, 0, 0}, {-3, 0, 0, 0}, {-3, 0, 1, 0}, {-3, 0, 0, 1}}, {-1, 0, 0, 0}, -3},
        {"w = 2", {{0, 0, 0, 2}, {1, 0, 0, 2}, {0, 5, 0, 2}, {0, 0, -1, 2}}, {0, 0, 0, 1}, -2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hyperplane h;
        ASSERT_TRUE(HyperplaneFrom4Points(h, c.p[0], c.p[1], c.p[2], c.p[3], kTol));
        ExpectVec4Near(h.n, c.n, 1e-15);
        EXPECT_NEAR(h.d, c.d, 1e-15);
        for (const Vec4D& p : c.p)
            EXPECT_NEAR(HyperplaneDistance(h, p), 0.0, 1e-15);
        Vec4D normal;
        HyperplaneNormal(normal, c.p[0], c.p[1], c.p[2], c.p[3]);
        ExpectVec4NearUpToSign(normal, c.n, 1e-15);
    }

    // Through the origin d is 0 and the normal is still a unit normal.
    Hyperplane h;
    ASSERT_TRUE(HyperplaneFrom4Points(h, {0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, kTol));
    EXPECT_EQ(h.d, 0.0);
    ExpectVec4NearUpToSign(h.n, {std::sqrt(0.5), -std::sqrt(0.5), 0, 0}, 1e-15);
}

TEST(Hyperplane, PointsThatSpanNoHyperplaneFail)
{
    struct Case
    {
        const char* name;
        Vec4D p[4];
    };
    const Case cases[] = {
        {"four points in a 2-plane", {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {3, -2, 0, 0}}},
        {"four points in a tilted 2-plane", {{1, 1, 1, 1}, {2, 1, 2, 1}, {1, 2, 1, 2}, {3, 3, 3, 3}}},
        {"colinear", {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}, {0, 0, 0, 1}}},
        {"two points coincide", {{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}}},
        {"all coincide", {{2, 2, 2, 2}, {2, 2, 2, 2}, {2, 2, 2, 2}, {2, 2, 2, 2}}},
        {"off the 2-plane by less than the tolerance", {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {1, 1, 1e-13, 0}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hyperplane h{{7, 7, 7, 7}, 7};
        EXPECT_FALSE(HyperplaneFrom4Points(h, c.p[0], c.p[1], c.p[2], c.p[3], kTol));
        ExpectVec4Near(h.n, {7, 7, 7, 7}, 0);
        EXPECT_EQ(h.d, 7);
    }
    // Off the 2-plane by clearly more than the tolerance.
    Hyperplane h;
    EXPECT_TRUE(HyperplaneFrom4Points(h, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {1, 1, 1e-6, 0}, kTol));
    ExpectVec4NearUpToSign(h.n, {0, 0, 0, 1}, 1e-15);
}

TEST(Hyperplane, NegationKeepsTheHyperplane)
{
    const Hyperplane h{{0.2, 0.4, -0.4, 0.8}, -1};
    Hyperplane neg, copy;
    HyperplaneNeg(neg, h);
    ExpectVec4Near(neg.n, {-0.2, -0.4, 0.4, -0.8}, 0);
    EXPECT_EQ(neg.d, 1);
    const Vec4D on{5, 0, 0, 0}, off{5, 0, 0, 1};
    EXPECT_NEAR(HyperplaneDistance(neg, on), 0.0, 1e-15);
    EXPECT_NEAR(HyperplaneDistance(neg, off), -HyperplaneDistance(h, off), 1e-15);
    HyperplaneCopy(copy, neg);
    HyperplaneNegate(copy);
    EXPECT_TRUE(HyperplaneEqual(copy, h, 0.0));
}

TEST(Hyperplane, CompareOrdersByNormalXFirstAndOffsetLast)
{
    struct Case
    {
        const char* name;
        Hyperplane a, b;
        int expected;
    };
    const Case cases[] = {
        {"x decides before d", {{0, 1, 0, 0}, -9}, {{1, 0, 0, 0}, 0}, -1},
        {"z decides before w and d", {{0.6, 0, 0, 0.8}, -1}, {{0.6, 0, 0.8, 0}, -2}, -1},
        {"d decides last", {{1, 0, 0, 0}, -2}, {{1, 0, 0, 0}, -1}, -1},
        {"within tol everywhere", {{1, 0, 0, 0}, -1}, {{1 + 1e-8, -1e-8, 0, 0}, -1 - 5e-8}, 0},
        {"x within tol, y beyond", {{1, 0, 0, 0}, 0}, {{1 + 1e-8, 2e-7, 0, 0}, -5}, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HyperplaneCompare(c.a, c.b, kTol), c.expected);
        EXPECT_EQ(HyperplaneCompare(c.b, c.a, kTol), -c.expected);
        EXPECT_EQ(HyperplaneEqual(c.a, c.b, kTol), c.expected == 0);
        EXPECT_EQ(HyperplaneEqual(c.b, c.a, kTol), c.expected == 0);
    }
}
