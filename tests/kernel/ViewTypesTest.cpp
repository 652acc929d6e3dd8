#include "kernel/ViewTypes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
// The codes in index order.
const int kCodes[25] = {
    kViewTypePoly, kViewTypeDual, kViewTypePolyAndDual, kViewTypeUniStellation, kViewTypeDualStellation,
    kViewTypeFacetPreview, kViewTypeCompound, kViewTypeFace, kViewTypeStelFace, kViewTypeStelDiagram,
    kViewTypeCellDiagram, kViewTypeVertexFigure, kViewTypeFacetDiagram, kViewTypeSlice, kViewTypeNet2D,
    kViewTypeNet3D, kViewTypeMorphSizing, kViewTypeMorphTruncating, kViewTypeMorphAugmentation,
    kViewTypeMorphWithRects, kViewTypeMorphTiltQuads, kViewTypeMorphTiltTris, kViewTypeMorphViaCompound,
    kViewTypeMorphViaRectified, kViewTypeMorphViaSnub,
};

std::set<int> IndicesWith(int mask)
{
    std::set<int> found;
    for (int i = 0; i < 25; ++i)
        if (ViewTypeHasAll(kCodes[i], mask))
            found.insert(i);
    return found;
}
}  // namespace

// The families as the view table states them, from the codes' bits.
TEST(ViewTypes, CodesCarryTheirIndexAndFamilies)
{
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(kCodes[i] & 0xFF, i) << i;

    EXPECT_EQ(IndicesWith(kViewFamilyBaseOnly), (std::set<int>{0, 3}));
    EXPECT_EQ(IndicesWith(kViewFamilyDualOnly), (std::set<int>{1, 4}));
    EXPECT_EQ(IndicesWith(kViewFamilyFollowsSide), (std::set<int>{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(IndicesWith(kViewFamily3D),
              (std::set<int>{0, 1, 2, 3, 4, 5, 6, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(IndicesWith(kViewFamily4D), (std::set<int>{0, 1, 2, 7, 11, 13, 14, 16, 19, 20}));
    EXPECT_EQ(IndicesWith(kViewFamilyStellation), (std::set<int>{3, 4, 6, 8, 9, 10, 14, 15}));
    EXPECT_EQ(IndicesWith(kViewFamilyMorph), (std::set<int>{16, 17, 18, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(IndicesWith(kViewFamilyNet), (std::set<int>{14, 15}));

    std::set<int> facetViews;
    for (int i = 0; i < 25; ++i)
        if (IsFacetViewType(kCodes[i]))
            facetViews.insert(kCodes[i]);
    EXPECT_EQ(facetViews, (std::set<int>{0xC05, 0x840C, 0x1340E, 0x9407, 0xA408, 0xA409}));
    EXPECT_FALSE(ViewTypeHasAll(kViewTypeNone, kViewFamilyNet));
}

TEST(ViewTypes, NamesFollowTheViewTable)
{
    struct Name
    {
        int code;
        bool model4D;
        const char* name;
    };
    const Name kNames[] = {
        {kViewTypePoly, false, "Base Polyhedron"},
        {kViewTypePolyAndDual, false, "Base/Dual Compound"},
        {kViewTypeFace, false, "Face of Base/Dual Polyhedron"},
        {kViewTypeFace, true, "Cell of Base/Dual Polytope"},
        {kViewTypeSlice, true, "Cross-Section"},
        {kViewTypeNet2D, false, "Unfolded Net"},
        {kViewTypeNet3D, false, "Folding Net"},
        {kViewTypeMorphViaRectified, false, "Morph Duals by Tilting to Rectification"},
        {kViewTypeMorphViaSnub, false, "Morph Duals via Snub"},
    };
    for (const Name& n : kNames)
        EXPECT_STREQ(GetViewTypeName(n.code, n.model4D), n.name) << n.code;
    std::set<std::string> distinct;
    for (int code : kCodes)
    {
        ASSERT_NE(GetViewTypeName(code, false), nullptr) << code;
        distinct.insert(GetViewTypeName(code, false));
    }
    EXPECT_EQ(distinct.size(), 25u);
    // An index with the wrong family bits, past the table, or no type at all has no name.
    for (int code : {kViewTypeNone, 0x0019, 0x1919, 0x1900 | 25})
        EXPECT_EQ(GetViewTypeName(code, false), nullptr) << code;
}

TEST(ViewTypesTest, IndexInTheLowByteMapsToItsCodeAndOtherValuesPassUnchanged)
{
    struct Case
    {
        int value;
        int code;
    };
    const Case kCases[] = {
        {0x00, kViewTypePoly},       {0x12, kViewTypeMorphAugmentation}, {0x0E, kViewTypeNet2D},
        {0x18, kViewTypeMorphViaSnub}, {0x1340E, kViewTypeNet2D},      {0x19, 0x19},
        {0xFF, 0xFF},                {0x1234FF, 0x1234FF},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ViewTypeFromIndex(c.value), c.code) << std::hex << c.value;
}

TEST(ViewTypesTest, TitlePrefixesNameTheShownModelOrTheTypeAlone)
{
    struct Case
    {
        int code;
        bool model4D;
        const char* prefix;  // null: the type's name alone
    };
    const Case kCases[] = {
        {kViewTypePoly, false, ""},
        {kViewTypeDual, false, ""},
        {kViewTypePolyAndDual, false, nullptr},
        {kViewTypeUniStellation, false, "Stellation of "},
        {kViewTypeFacetPreview, false, "Faceting Preview for "},
        {kViewTypeFace, false, "Face of "},
        {kViewTypeFace, true, "Cell of "},
        {kViewTypeStelFace, false, "Face of Stellation of "},
        {kViewTypeSlice, false, "Cross-Section of "},
        {kViewTypeNet2D, false, "Unfolded Net for "},
        {kViewTypeMorphSizing, false, nullptr},
        {kViewTypeMorphViaSnub, false, nullptr},
        {kViewTypeNone, false, nullptr},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.code);
        const char* prefix = GetViewTitlePrefix(c.code, c.model4D);
        if (c.prefix)
            EXPECT_STREQ(prefix, c.prefix);
        else
            EXPECT_EQ(prefix, nullptr);
    }
}
