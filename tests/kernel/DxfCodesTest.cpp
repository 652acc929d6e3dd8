#include "kernel/DxfCodes.h"

#include "kernel/UnitSettings.h"

#include <gtest/gtest.h>

namespace
{
ColorRGB Bytes(int r, int g, int b)
{
    return ColorRGB{float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f};
}

uint32_t Packed(int r, int g, int b)
{
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}
}  // namespace

TEST(DxfCodesTest, InsertionUnitsOfEachDistanceUnit)
{
    EXPECT_EQ(GetDxfInsUnits(kUnitMm), 4);
    EXPECT_EQ(GetDxfInsUnits(kUnitCm), 5);
    EXPECT_EQ(GetDxfInsUnits(kUnitMetres), 6);
    EXPECT_EQ(GetDxfInsUnits(kUnitInches), 1);
    EXPECT_EQ(GetDxfInsUnits(kUnitFeet), 2);
    EXPECT_EQ(GetDxfInsUnits(-1), 0);
    EXPECT_EQ(GetDxfInsUnits(5), 0);
}

TEST(DxfCodesTest, PaletteHoldsThePublishedEntries)
{
    struct Entry
    {
        int index;
        uint32_t rgb;
    };
    const Entry kEntries[] = {
        {1, Packed(255, 0, 0)},     {2, Packed(255, 255, 0)},   {3, Packed(0, 255, 0)},
        {4, Packed(0, 255, 255)},   {5, Packed(0, 0, 255)},     {6, Packed(255, 0, 255)},
        {7, Packed(255, 255, 255)}, {8, Packed(65, 65, 65)},    {9, Packed(128, 128, 128)},
        {10, Packed(255, 0, 0)},    {11, Packed(255, 170, 170)}, {250, Packed(51, 51, 51)},
        {255, Packed(255, 255, 255)},
    };
    for (const Entry& e : kEntries)
    {
        SCOPED_TRACE(e.index);
        EXPECT_EQ(AciPaletteColor(e.index), e.rgb);
    }
    EXPECT_EQ(AciPaletteColor(0), 0u);
    EXPECT_EQ(AciPaletteColor(256), 0u);
}

TEST(DxfCodesTest, NearestIndexPrefersTheLowerOnTies)
{
    struct Case
    {
        const char* name;
        ColorRGB color;
        int index;
    };
    const Case kCases[] = {
        {"near white: 7 before 255", Bytes(254, 254, 254), 7},
        {"blue", Bytes(0, 0, 255), 5},
        {"red: 1 before 10", Bytes(255, 0, 0), 1},
        {"dark grey", Bytes(60, 60, 60), 8},
        {"pale red", Bytes(250, 172, 168), 11},
        {"black: the darkest red shade before grey 250", Bytes(0, 0, 0), 18},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NearestAciColor(c.color), c.index);
    }
}
