#include "kernel/ColorRGB.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ColorRGB, PacksAsBGRAndRoundsHalfAway)
{
    struct Case
    {
        ColorRGB c;
        uint32_t packed;
    };
    const Case cases[] = {
        {{1, 1, 1}, 0x00FFFFFF}, {{1, 0, 0}, 0x000000FF}, {{0, 1, 0}, 0x0000FF00},
        {{0, 0, 1}, 0x00FF0000}, {{0.5f, 0, 0}, 0x00000080}, {{0, 0, 0}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToRGB(c.c), c.packed);
}

TEST(ColorRGB, UnpacksByteTimesNearestOneOver255)
{
    ColorRGB c;
    ColorFromRGB(c, 0x00FFFFFF);
    EXPECT_EQ(c.r, 1.0f);
    EXPECT_EQ(c.g, 1.0f);
    EXPECT_EQ(c.b, 1.0f);
    ColorFromRGB(c, 0xAB000080);  // the top byte is ignored
    EXPECT_EQ(c.r, 128.0f * (1.0f / 255.0f));
    EXPECT_EQ(c.g, 0.0f);
    EXPECT_EQ(c.b, 0.0f);

    // Every byte survives a round trip.
    for (uint32_t byte = 0; byte < 256; ++byte)
    {
        const uint32_t packed = byte | ((255 - byte) << 8) | ((byte * 7 % 256) << 16);
        ColorFromRGB(c, packed);
        EXPECT_EQ(ColorToRGB(c), packed);
    }
}

TEST(ColorRGB, LerpClampsOnlyWhenAsked)
{
    const ColorRGB a{0, 0.5f, 1}, b{1, 0.5f, 0};
    ColorRGB out;
    ColorLerpClamped(out, a, b, -0.1f);
    EXPECT_EQ(ColorToRGB(out), ColorToRGB(a));
    ColorLerpClamped(out, a, b, 1.5f);
    EXPECT_EQ(ColorToRGB(out), ColorToRGB(b));
    ColorLerpClamped(out, a, b, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(ColorToRGB(out), ColorToRGB(a));
    ColorLerp(out, a, b, 2.0f);
    EXPECT_FLOAT_EQ(out.r, 2.0f);
    EXPECT_FLOAT_EQ(out.b, -1.0f);
    ColorLerpClamped(out, a, b, 0.25f);
    EXPECT_FLOAT_EQ(out.r, 0.25f);
}

TEST(ColorRGB, SameWithinOneOver512)
{
    const ColorRGB a{0.5f, 0.5f, 0.5f};
    EXPECT_TRUE(ColorSame(a, {0.5f + 1.0f / 512, 0.5f, 0.5f - 1.0f / 512}));
    EXPECT_FALSE(ColorSame(a, {0.5f, 0.5f, 0.51f}));
}
