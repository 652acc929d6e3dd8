#include "kernel/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SineTable, EntriesAreTheSinesOfMultiplesOfPiOver120)
{
    EXPECT_EQ(SineTable::Entry(0), 0.0);
    EXPECT_EQ(SineTable::Entry(60), 1.0);
    for (int i = 0; i <= 60; ++i)
        EXPECT_NEAR(SineTable::Entry(i), std::sin(i * M_PI / 120), 1e-15) << i;
}

TEST(SineTable, ExactAnglesComeFromTheTable)
{
    double s, c;
    SineTable::SinCos(1, 4, s, c);
    EXPECT_EQ(s, SineTable::Entry(60));
    EXPECT_EQ(c, -SineTable::Entry(0));

    double s6, c6, s12, c12;
    SineTable::SinCos(1, 6, s6, c6);
    SineTable::SinCos(1, 12, s12, c12);
    EXPECT_EQ(c6, SineTable::Entry(20));
    EXPECT_EQ(c6, s12);  // bit-identical, not merely close

    double s2, c2;
    SineTable::SinCos(2, 12, s2, c2);
    EXPECT_EQ(s2, s6);
    EXPECT_EQ(c2, c6);

    SineTable::SinCos(-1, 4, s, c);
    EXPECT_EQ(s, -1.0);
    EXPECT_EQ(c, -SineTable::Entry(0));
}

TEST(SineTable, OtherAnglesAreComputed)
{
    double s, c;
    SineTable::SinCos(1, 7, s, c);
    EXPECT_EQ(s, std::sin(1 * 6.283185307179586 / 7));
    EXPECT_EQ(c, std::cos(1 * 6.283185307179586 / 7));
    EXPECT_EQ(SineTable::Sin(3, 7), std::sin(3 * 6.283185307179586 / 7));
}

TEST(SineTable, SinCos240ReducesItsArgument)
{
    double s1, c1, s2, c2;
    SineTable::SinCos240(-1, s1, c1);
    SineTable::SinCos240(239, s2, c2);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(c1, c2);
    SineTable::SinCos240(240, s1, c1);
    SineTable::SinCos240(0, s2, c2);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(c1, c2);
    SineTable::SinCos240(-480, s1, c1);
    EXPECT_EQ(s1, 0.0);
    EXPECT_EQ(c1, 1.0);

    // Every quadrant agrees with the maths library.
    for (int k = -240; k < 480; ++k)
    {
        double s, c;
        SineTable::SinCos240(k, s, c);
        EXPECT_NEAR(s, std::sin(k * M_PI / 120), 4e-15) << k;
        EXPECT_NEAR(c, std::cos(k * M_PI / 120), 4e-15) << k;
        EXPECT_EQ(s * s + c * c > 0.999999999999, true);
    }
    float sf, cf;
    SineTable::SinCosF(1, 8, sf, cf);
    EXPECT_EQ(sf, float(SineTable::Entry(30)));
}
