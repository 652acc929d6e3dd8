#include "ElementFixtures.h"

#include "kernel/Palette.h"
#include "model/ColorSchemes.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace
{
ColorRGB Palette(int i)
{
    ColorRGB c;
    ColorFromRGB(c, PaletteEntry(i));
    return c;
}

bool Same(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::tuple<float, float, float> Key(const ColorRGB& c)
{
    return {c.r, c.g, c.b};
}

class PolyColorsTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = FaceColorScheme(); }
    void TearDown() override { FaceColorScheme() = mSaved; }
    uint32_t mSaved = 0;
};

TEST_F(PolyColorsTest, AutomaticColourChoosesItsSchemeByTheNumberOfPlaneTypes)
{
    EXPECT_EQ(kInitialFaceColorScheme, 0x601u);
    struct Case
    {
        const char* name;
        PolySpec spec;
        bool typePerElement;
        uint32_t baseScheme;
        uint32_t dualScheme;
    };
    const Case kCases[] = {
        {"cube, one type a side", CubeSpec(), false, 0x8, 0x8},
        {"tetrahedron, four types a side", TetrahedronSpec(), true, 0x608, 0x608},
        {"cube, six face types and eight vertex types", CubeSpec(), true, 0x688, 0x688},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, c.spec, false);
        if (c.typePerElement)
            OneTypePerElement(poly);
        else
            OneTypePerSide(poly);
        EXPECT_EQ(poly.ColorFaceList(&poly.mFaces, kInitialFaceColorScheme), c.baseScheme);
        EXPECT_EQ(poly.ColorFaceList(&poly.mVerts, kInitialFaceColorScheme), c.dualScheme);
        // An arrangement bit survives the choice.
        EXPECT_EQ(poly.ColorFaceList(&poly.mFaces, kInitialFaceColorScheme | kCubicArrangement) & kCubicArrangement,
                  kCubicArrangement);
    }
}

TEST_F(PolyColorsTest, FaceTypesCountUpFromTheStartOfThePaletteAndDualTypesDownFromItsEnd)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerElement(poly);
    poly.ColorFaces(&poly.mFaces);
    poly.ColorFaces(&poly.mVerts);
    // Six plane types: by type, front and back alike.
    int i = 0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext, ++i)
    {
        EXPECT_TRUE(Same(f->mColor, Palette(i))) << "face " << i;
        EXPECT_TRUE(Same(f->mBackColor, f->mColor)) << "face " << i;
    }
    i = 0;
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext, ++i)
        EXPECT_TRUE(Same(v->mColor, Palette(119 - i))) << "vertex " << i;
    EXPECT_NE(poly.mFlags & Poly::kRecolorFaceDiagrams, 0u);
}

TEST_F(PolyColorsTest, WithoutTheFrontAndBackModifierTheBackIsOneGroupCountFurther)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerSide(poly);
    poly.ColorFaceList(&poly.mFaces, kFaceColorByType);
    poly.ColorFaceList(&poly.mVerts, kFaceColorByType);
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_TRUE(Same(f->mColor, Palette(0)));
        EXPECT_TRUE(Same(f->mBackColor, Palette(1)));
    }
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        EXPECT_TRUE(Same(v->mColor, Palette(119)));
        EXPECT_TRUE(Same(v->mBackColor, Palette(118)));
    }
    // A face through the centre shows the same colour on both sides.
    poly.mFaces.mFirst->mFlags |= FaceVert::kHemi;
    poly.ColorFaceList(&poly.mFaces, kFaceColorByType);
    EXPECT_TRUE(Same(poly.mFaces.mFirst->mBackColor, poly.mFaces.mFirst->mColor));
}

TEST_F(PolyColorsTest, SchemesGroupFacesAsTheirRuleSays)
{
    struct Case
    {
        const char* name;
        uint32_t scheme;
        size_t colours;  // distinct front colours over the cube's faces
    };
    const Case kCases[] = {
        {"single colour", kFaceColorSingle, 1},
        {"by number of sides", kFaceColorBySides, 1},
        {"per face unless parallel: opposite faces alike", kFaceColorPerFace, 3},
        {"by face type, one type a face", kFaceColorByType | kFaceColorFrontBackAlike, 6},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        OneTypePerElement(poly);
        poly.ColorFaceList(&poly.mFaces, c.scheme);
        std::set<std::tuple<float, float, float>> distinct;
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        {
            ASSERT_GE(f->mColor.r, 0.0f);
            distinct.insert(Key(f->mColor));
        }
        EXPECT_EQ(distinct.size(), c.colours);
        EXPECT_TRUE(Same(poly.mFaces.mFirst->mColor, Palette(0)));
    }
}

TEST_F(PolyColorsTest, ChiralPairsShareAColourOnlyWithTheirModifier)
{
    for (const bool alike : {false, true})
    {
        SCOPED_TRACE(alike ? "chiral pairs alike" : "chiral pairs apart");
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        OneTypePerElement(poly);
        FaceType* a = poly.GetNthFace(0)->mFaceType;
        FaceType* b = poly.GetNthFace(1)->mFaceType;
        a->mMirrorFace = b;
        b->mMirrorFace = a;
        poly.ColorFaceList(&poly.mFaces, kFaceColorByType | (alike ? kFaceColorChiralAlike : 0u));
        EXPECT_EQ(Same(poly.GetNthFace(0)->mColor, poly.GetNthFace(1)->mColor), alike);
        EXPECT_FALSE(Same(poly.GetNthFace(0)->mColor, poly.GetNthFace(2)->mColor));
    }
}
}  // namespace
