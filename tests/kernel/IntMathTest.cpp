#include "kernel/IntMath.h"

#include <gtest/gtest.h>

#include <climits>

TEST(IntMath, GcdAndLcm)
{
    EXPECT_EQ(Gcd(0, 7), 7);
    EXPECT_EQ(Gcd(7, 0), 7);
    EXPECT_EQ(Gcd(12, 18), 6);
    EXPECT_EQ(Gcd(17, 5), 1);
    EXPECT_EQ(Lcm(4, 6), 12);
    EXPECT_EQ(Lcm(0, 5), 0);
    EXPECT_EQ(Lcm(5, 0), 0);
    // 32-bit multiplication would overflow here.
    EXPECT_EQ(Lcm(120000, 70001), int64_t(120000) * 70001);
    EXPECT_EQ(Lcm(INT_MAX, INT_MAX - 1), int64_t(INT_MAX) * (INT_MAX - 1));
}

TEST(IntMath, PosFmodIsNeverNegative)
{
    struct Case
    {
        double a, b, expected;
    };
    const Case cases[] = {
        {-1, 360, 359}, {-360, 360, 0}, {725, 360, 5}, {360, 360, 0}, {10, 360, 10}, {-725, 360, 355},
    };
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(PosFmod(c.a, c.b), c.expected) << c.a;
        EXPECT_FLOAT_EQ(PosFmodF(float(c.a), float(c.b)), float(c.expected)) << c.a;
    }
}

TEST(IntMath, RoundingAndRotation)
{
    EXPECT_EQ(RoundToInt(2.5f), 3);
    EXPECT_EQ(RoundToInt(-2.5f), -3);
    EXPECT_EQ(RoundToInt(2.49f), 2);
    EXPECT_EQ(RoundToInt(-0.4f), 0);
    EXPECT_EQ(RotateLeft32(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(RotateLeft32(0x12345678u, 0), 0x12345678u);
    EXPECT_EQ(RotateLeft32(0x12345678u, 32), 0x12345678u);
    EXPECT_EQ(RotateLeft32(0x12345678u, 5), (0x12345678u << 5) | (0x12345678u >> 27));
}

TEST(IntMath, DistanceOfTheOriginFromALine)
{
    EXPECT_DOUBLE_EQ(DistOriginToLine2D({-1, 2}, {5, 2}), 2.0);
    EXPECT_DOUBLE_EQ(DistOriginToLine2D({3, 0}, {0, 3}), 3 / std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(DistOriginToLine2D({1, 1}, {2, 2}), 0.0);
}
