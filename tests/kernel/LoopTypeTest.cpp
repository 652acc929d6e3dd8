#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const int kOwners[4] = {};
const void* const A = &kOwners[0];
const void* const B = &kOwners[1];
const void* const C = &kOwners[2];

const ColorRGB kRed{1.0f, 0.0f, 0.0f};
const ColorRGB kBlue{0.0f, 0.0f, 1.0f};
const ColorRGB kGrey{0.5f, 0.5f, 0.5f};

constexpr uint32_t kBlend = PolygonFillOptions::kBlend;
constexpr uint32_t kSmallest = PolygonFillOptions::kSmallestOnTop;
constexpr uint32_t kSingle = PolygonFillOptions::kSingleNewColor;
constexpr uint32_t kCancel = PolygonFillOptions::kCancel;
constexpr uint32_t kModulo2 = PolygonFillOptions::kModulo2;
constexpr uint32_t kAuto = PolygonFillOptions::kAuto;
constexpr uint32_t kDense = PolygonFillOptions::kDenseWeighting;
constexpr uint32_t kLighten = PolygonFillOptions::kLighten;
constexpr uint32_t kDarken = PolygonFillOptions::kDarken;

void ExpectColor(const ColorRGB& c, float r, float g, float b)
{
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
}

// A loop type over its own owner array.
struct TypeFixture
{
    std::vector<LoopTypeOwner> owners;
    LoopType type;

    explicit TypeFixture(std::vector<LoopTypeOwner> list) : owners(std::move(list))
    {
        type.mOwners = owners.data();
        type.mOwnerCount = int32_t(owners.size());
    }
};

class LoopTypeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSaved = GetPolygonFillOptions();
        mSavedWhite = GetRenderSettings().allWhite;
        owners[A].color = kRed;
        owners[B].color = kBlue;
        owners[C].color = kGrey;
    }
    void TearDown() override
    {
        GetPolygonFillOptions() = mSaved;
        GetRenderSettings().allWhite = mSavedWhite;
    }

    TestOwners owners;
    PolygonFillOptions mSaved;
    bool mSavedWhite = false;
};

TEST_F(LoopTypeTest, BlendingRules)
{
    struct Case
    {
        const char* name;
        std::vector<LoopTypeOwner> list;
        uint32_t options;
        bool drawn;
        float opacity;
        ColorRGB color;
    };
    const float dense = 0.2f;  // the default density factor
    const Case cases[] = {
        {"one owner keeps its colour", {{A, 1}}, kBlend | kDense, true, 1.0f, kRed},
        {"two owners mix evenly", {{A, 1}, {B, 1}}, kBlend, true, 1.0f, {0.5f, 0.0f, 0.5f}},
        {"dense weighting counts the winding number", {{A, 2}, {B, 1}}, kBlend | kDense, true, 1.0f,
         {2.0f / 3.0f, 0.0f, 1.0f / 3.0f}},
        {"without dense weighting each owner counts once", {{A, 2}, {B, 1}}, kBlend, true, 1.0f,
         {0.5f, 0.0f, 0.5f}},
        {"a negative winding number fills too", {{A, -1}}, kBlend | kDense, true, 1.0f, kRed},
        {"lighten moves a dense area towards white", {{C, 3}}, kBlend | kDense | kLighten, true, 1.0f,
         {0.5f + 0.5f * (1.0f - 0.8f * 0.8f), 0.5f + 0.5f * (1.0f - 0.8f * 0.8f), 0.5f + 0.5f * (1.0f - 0.8f * 0.8f)}},
        {"darken wins over lighten", {{C, 2}}, kBlend | kDense | kLighten | kDarken, true, 1.0f,
         {0.5f * (1.0f - dense), 0.5f * (1.0f - dense), 0.5f * (1.0f - dense)}},
        {"modulo 2 takes odd windings and never lightens", {{C, 3}}, kBlend | kDense | kLighten | kModulo2, true,
         1.0f, kGrey},
        {"modulo 2 leaves an even winding empty", {{A, 2}}, kBlend | kModulo2, false, 0.0f, {}},
        {"cancelling empties a winding sum of 0", {{A, 1}, {B, -1}}, kBlend | kCancel, false, 0.0f,
         {0.5f, 0.0f, 0.5f}},
        {"without cancelling that area fills", {{A, 1}, {B, -1}}, kBlend, true, 1.0f, {0.5f, 0.0f, 0.5f}},
        {"cancelling under modulo 2 empties an even sum", {{A, 1}, {B, 1}}, kBlend | kCancel | kModulo2, false,
         0.0f, {0.5f, 0.0f, 0.5f}},
        {"no owner at all is empty", {}, kBlend, false, 0.0f, {}},
        {"a null owner is black", {{nullptr, 1}}, kBlend, true, 1.0f, {}},
        {"smallest on top takes the first owner", {{B, 1}, {A, 1}}, kSmallest, true, 1.0f, kBlue},
        {"single new colour where colours differ", {{A, 1}, {B, 1}}, kSingle, true, 1.0f, {0.9f, 0.9f, 0.9f}},
        {"single new colour keeps a colour shared by all", {{A, 1}, {A, 2}}, kSingle, true, 1.0f, kRed},
        {"colour bits off leave black", {{A, 1}}, kDense, true, 1.0f, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TypeFixture f(c.list);
        EXPECT_EQ(f.type.CalcColor(c.options, kOwnerKindCallbacks, &owners), c.drawn);
        EXPECT_FLOAT_EQ(f.type.mOpacity, c.opacity);
        if (c.drawn)
        {
            ExpectColor(f.type.mColor1, c.color.r, c.color.g, c.color.b);
            ExpectColor(f.type.mColor2, c.color.r, c.color.g, c.color.b);
        }
    }
}

TEST_F(LoopTypeTest, OpacityMultipliesOverTheWindingNumber)
{
    owners[A].opacity = 0.5f;
    TypeFixture twice({{A, 2}});
    EXPECT_TRUE(twice.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    EXPECT_FLOAT_EQ(twice.type.mOpacity, 0.75f);
    ExpectColor(twice.type.mColor1, 1.0f, 0.0f, 0.0f);

    // Two translucent owners: 1 - 0.5 * 0.75.
    owners[B].opacity = 0.25f;
    TypeFixture two({{A, 1}, {B, 1}});
    EXPECT_TRUE(two.type.CalcColor(kBlend, kOwnerKindCallbacks, &owners));
    EXPECT_FLOAT_EQ(two.type.mOpacity, 1.0f - 0.5f * 0.75f);
    // Blending weighs by opacity: red 0.5, blue 0.25.
    ExpectColor(two.type.mColor1, 2.0f / 3.0f, 0.0f, 1.0f / 3.0f);

    // Nothing opaque at all: drawn as empty, with black.
    owners[A].opacity = 0.0f;
    TypeFixture clear({{A, 1}});
    EXPECT_TRUE(clear.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    EXPECT_FLOAT_EQ(clear.type.mOpacity, 0.0f);
    ExpectColor(clear.type.mColor1, 0.0f, 0.0f, 0.0f);
}

TEST_F(LoopTypeTest, TheDiagramColoursCoveredAreasThroughTheOptions)
{
    // Through whole diagrams: a square covered twice by a half-transparent owner, and two equal
    // squares of two owners, once with the same and once with opposite orientations.
    owners[A].opacity = 0.5f;
    FaceDiagram twice;
    twice.Begin(kOwnerKindCallbacks, &owners);
    AddPolygon(twice, A, Square(0, 0, 1));
    AddPolygon(twice, A, Square(0, 0, 1));
    ASSERT_TRUE(twice.Finish(0, nullptr));
    ASSERT_EQ(twice.mLoopTypeCount, 1);
    EXPECT_EQ(OwnerCount(twice.mLoopTypes[0], A), 2);
    EXPECT_FLOAT_EQ(twice.mLoopTypes[0].mOpacity, 0.75f);

    owners[A].opacity = 1.0f;
    for (bool opposite : {false, true})
    {
        SCOPED_TRACE(opposite ? "opposite" : "same orientation");
        FaceDiagram d;
        d.Begin(kOwnerKindCallbacks, &owners);
        AddPolygon(d, A, Square(0, 0, 1));
        AddPolygon(d, B, opposite ? Reversed(Square(0, 0, 1)) : Square(0, 0, 1));
        ASSERT_TRUE(d.Finish(FaceDiagram::kFinishCancel, nullptr));
        ASSERT_EQ(d.mLoopTypeCount, 1);
        EXPECT_EQ(OwnerCount(d.mLoopTypes[0], A), 1);
        EXPECT_EQ(OwnerCount(d.mLoopTypes[0], B), opposite ? -1 : 1);
        EXPECT_FLOAT_EQ(d.mLoopTypes[0].mOpacity, opposite ? 0.0f : 1.0f);
    }
}

TEST_F(LoopTypeTest, SmallestAreaOnTopAndSingleNewColourInADiagram)
{
    // A small blue square inside a large red one, and a red square overlapping the large one's
    // corner from outside.
    for (uint32_t options : {kSmallest, kSingle})
    {
        SCOPED_TRACE(options == kSmallest ? "smallest on top" : "single new colour");
        GetPolygonFillOptions().mFlags = options;
        FaceDiagram d;
        d.Begin(kOwnerKindCallbacks, &owners);
        AddPolygon(d, A, Square(0, 0, 4));
        AddPolygon(d, B, Square(1, 1, 1));
        AddPolygon(d, C, Square(3, 3, 2));
        owners[C].color = kRed;
        ASSERT_TRUE(d.Finish(0, nullptr));
        const int inner = FindType(d, {{A, 1}, {B, 1}});
        const int corner = FindType(d, {{A, 1}, {C, 1}});
        const int red = FindType(d, {{A, 1}});
        ASSERT_GE(inner, 0);
        ASSERT_GE(corner, 0);
        ASSERT_GE(red, 0);
        ExpectColor(d.mLoopTypes[red].mColor1, 1, 0, 0);
        // The small face lies on top; two of one colour keep it; two of different colours give
        // the single new colour.
        if (options == kSmallest)
            ExpectColor(d.mLoopTypes[inner].mColor1, 0, 0, 1);
        else
            ExpectColor(d.mLoopTypes[inner].mColor1, 0.9f, 0.9f, 0.9f);
        ExpectColor(d.mLoopTypes[corner].mColor1, 1, 0, 0);
    }
}

TEST_F(LoopTypeTest, HiddenOwnersAndParentGroups)
{
    // A hidden owner of kind 1 does not count, whatever colour it gives.
    owners[A].hidden = true;
    TypeFixture hidden({{A, 1}, {B, 1}});
    EXPECT_TRUE(hidden.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    ExpectColor(hidden.type.mColor1, 0, 0, 1);
    owners[B].hidden = true;
    EXPECT_FALSE(hidden.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    owners[A].hidden = owners[B].hidden = false;

    // Owners of one parent count together: opposite counts cancel inside the group.
    owners[A].parent = C;
    owners[B].parent = C;
    TypeFixture grouped({{A, 1}, {B, -1}});
    EXPECT_FALSE(grouped.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    TypeFixture summed({{A, 1}, {B, 1}});
    EXPECT_TRUE(summed.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners));
    // The group's colours are its last owner's, weighted by the group's winding number.
    ExpectColor(summed.type.mColor1, 0, 0, 1);
    EXPECT_FLOAT_EQ(summed.type.mOpacity, 1.0f);
}

TEST_F(LoopTypeTest, SelectionPalesTheAreaAndPicksTheNextOwner)
{
    TypeFixture f({{A, 1}, {B, 1}, {C, 2}});
    f.type.CalcColor(kBlend | kDense, kOwnerKindCallbacks, &owners);
    const ColorRGB mixed = f.type.mColor1;
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer scoped(&drawer);

    EXPECT_FALSE(f.type.IsSelected(kOwnerKindCallbacks, &owners));
    EXPECT_FLOAT_EQ(f.type.SelectedFraction(kOwnerKindCallbacks, &owners), 0.0f);
    // Nothing selected: the pick starts after position 1.
    EXPECT_EQ(f.type.NextOwner(kOwnerKindCallbacks, &owners), C);
    ColorRGB out;
    EXPECT_FALSE(f.type.GetColor(out, false, true, kOwnerKindCallbacks, &owners));
    ExpectColor(out, mixed.r, mixed.g, mixed.b);
    GetRenderSettings().allWhite = true;
    EXPECT_FALSE(f.type.GetColor(out, false, true, kOwnerKindCallbacks, &owners));
    ExpectColor(out, 1, 1, 1);
    GetRenderSettings().allWhite = false;
    EXPECT_EQ(drawer.CountCalls("UseDefaultLights"), 0);

    owners[C].selected = true;
    EXPECT_TRUE(f.type.IsSelected(kOwnerKindCallbacks, &owners));
    EXPECT_FLOAT_EQ(f.type.SelectedFraction(kOwnerKindCallbacks, &owners), 0.5f);
    EXPECT_EQ(f.type.NextOwner(kOwnerKindCallbacks, &owners), A);
    EXPECT_TRUE(f.type.GetColor(out, false, true, kOwnerKindCallbacks, &owners));
    EXPECT_FALSE(drawer.lighting);
    ExpectColor(out, mixed.r + 0.5f * (1 - mixed.r), mixed.g + 0.5f * (1 - mixed.g), mixed.b + 0.5f * (1 - mixed.b));
    // Lighting is already off: the second call switches nothing.
    EXPECT_FALSE(f.type.GetColor(out, true, true, kOwnerKindCallbacks, &owners));
    ExpectColor(out, 1, 1, 1);

    // A hidden owner leaves both sums; a selected owner whose group cancels selects nothing.
    owners[A].hidden = true;
    EXPECT_FLOAT_EQ(f.type.SelectedFraction(kOwnerKindCallbacks, &owners), 2.0f / 3.0f);
    EXPECT_EQ(f.type.NextOwner(kOwnerKindCallbacks, &owners), B);
    owners[B].hidden = true;
    owners[C].selected = true;
    // Every other owner hidden or selected: the owner at the starting position.
    EXPECT_EQ(f.type.NextOwner(kOwnerKindCallbacks, &owners), C);
    TypeFixture cancelled({{C, 0}});
    EXPECT_FALSE(cancelled.type.IsSelected(kOwnerKindCallbacks, &owners));
}

TEST_F(LoopTypeTest, DrawFlagsFollowTheSwitches)
{
    struct Case
    {
        uint32_t options;
        bool cancel, nonOrientable;
        uint32_t expected;
    };
    const Case cases[] = {
        {kBlend | kDense, false, false, kBlend | kDense},
        {kBlend | kDense, false, true, kBlend | kDense},
        {kBlend | kAuto, false, true, kBlend | kAuto | kModulo2},
        {kBlend | kAuto | kModulo2, false, false, kBlend | kAuto},
        {kBlend | kModulo2, false, false, kBlend | kModulo2},
        {kBlend, true, false, kBlend | kCancel},
        {kBlend, true, true, kBlend | kCancel | kModulo2},
        {kBlend | kAuto, true, false, kBlend | kAuto | kCancel},
    };
    for (const Case& c : cases)
    {
        GetPolygonFillOptions().mFlags = c.options;
        EXPECT_EQ(GetDiagramDrawFlags(c.cancel, c.nonOrientable), c.expected)
            << std::hex << c.options << " " << c.cancel << c.nonOrientable;
    }
    // The defaults.
    EXPECT_EQ(PolygonFillOptions().mFlags, 0x41u);
    EXPECT_DOUBLE_EQ(PolygonFillOptions().mDensityFactor, 0.2);
}
}  // namespace
