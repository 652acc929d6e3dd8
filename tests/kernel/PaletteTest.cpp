#include "kernel/Palette.h"

#include <gtest/gtest.h>

namespace
{
ColorRGB TableColor(int i)
{
    ColorRGB c;
    ColorFromRGB(c, PaletteEntry(i));
    return c;
}

bool Same(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
}  // namespace

TEST(Palette, TableHasTheDocumentedEnds)
{
    EXPECT_EQ(PaletteEntry(0), 0x0000FFu);      // 255, 0, 0
    EXPECT_EQ(PaletteEntry(11), 0x35D0FDu);     // 253, 208, 53
    EXPECT_EQ(PaletteEntry(119), 0x0080FFu);    // 255, 128, 0
    EXPECT_EQ(PaletteEntry(60), 0x8CE6F0u);     // 240, 230, 140
    for (int i = 0; i < kPaletteSize; ++i)
        for (int j = i + 1; j < kPaletteSize; ++j)
            EXPECT_NE(PaletteEntry(i), PaletteEntry(j)) << i << " " << j;
}

TEST(Palette, CursorResetsAndSteps)
{
    EXPECT_EQ(NextPaletteColor(nullptr, 1), 119);
    EXPECT_EQ(NextPaletteColor(nullptr, 3), 59);
    EXPECT_EQ(NextPaletteColor(nullptr, 2), 60);
    EXPECT_EQ(NextPaletteColor(nullptr, 0), 0);

    ColorRGB c;
    // Cursor 1 counts down from 119 and wraps below 0, reporting -1 at the wrap.
    EXPECT_EQ(NextPaletteColor(&c, 1), 118);
    EXPECT_TRUE(Same(c, TableColor(119)));
    NextPaletteColor(nullptr, 1);
    for (int i = 0; i < 119; ++i)
        NextPaletteColor(&c, 1);
    EXPECT_EQ(NextPaletteColor(&c, 1), -1);
    EXPECT_TRUE(Same(c, TableColor(0)));
    EXPECT_EQ(NextPaletteColor(&c, 1), 118);
    EXPECT_TRUE(Same(c, TableColor(119)));

    // Cursor 2 counts up from 60 and reports 120 at its wrap.
    NextPaletteColor(nullptr, 2);
    for (int i = 0; i < 59; ++i)
        NextPaletteColor(&c, 2);
    EXPECT_EQ(NextPaletteColor(&c, 2), 120);
    EXPECT_TRUE(Same(c, TableColor(119)));
    NextPaletteColor(&c, 2);
    EXPECT_TRUE(Same(c, TableColor(0)));
}

TEST(Palette, GetPaletteColorMapsIndices)
{
    struct Case
    {
        int i, flags, entry;
    };
    const Case cases[] = {{-1, 0, 119}, {0, 1, 119}, {5, 2, 65}, {-120, 0, 0}, {125, 0, 5}, {3, 3, 56}};
    for (const Case& c : cases)
    {
        ColorRGB out;
        EXPECT_TRUE(Same(GetPaletteColor(c.i, out, c.flags), TableColor(c.entry))) << c.i << " " << c.flags;
    }
}

TEST(Palette, NextUnusedSkipsUsedColours)
{
    GrowableArray<ColorRGB> used;
    ColorRGB c;
    NextUnusedPaletteColor(c, used, true);  // an empty list gives the next colour
    EXPECT_TRUE(Same(c, TableColor(0)));

    used.Add(TableColor(0));
    used.Add(TableColor(1));
    NextUnusedPaletteColor(c, used, true);
    EXPECT_TRUE(Same(c, TableColor(2)));
    EXPECT_EQ(NextUnusedPaletteColorRef(used, true), PaletteEntry(2));

    // Equal in two channels and 0.01 off in the third is a different colour.
    GrowableArray<ColorRGB> near;
    ColorRGB first = TableColor(0);
    first.g += 0.01f;
    near.Add(first);
    NextUnusedPaletteColor(c, near, true);
    EXPECT_TRUE(Same(c, TableColor(0)));
}

TEST(Palette, AllTableColoursUsedGivesTheFirstGeneratedOne)
{
    GrowableArray<ColorRGB> used;
    for (int i = 0; i < kPaletteSize; ++i)
        used.Add(TableColor(i));
    ColorRGB c;
    NextUnusedPaletteColor(c, used, true);
    ColorRGB expected;
    ColorFromRGB(expected, 115 | (72 << 8) | (97 << 16));
    EXPECT_TRUE(Same(c, expected));

    // When that one is taken too, the next candidate steps by the same stride.
    used.Add(expected);
    NextUnusedPaletteColor(c, used, true);
    ColorFromRGB(expected, (6375539u * 2) % 16777216u);
    EXPECT_TRUE(Same(c, expected));
}
