#include "model/FaceVert.h"
#include "render/KitStyle.h"
#include "view/ColorChanges.h"
#include "view/PaneFixture.h"

#include <string>

namespace
{
class ColorChangesTest : public PaneFixture
{
protected:
    static std::string ActiveMessage()
    {
        NewView* view = NewView::GetActiveView();
        return view ? view->GetMessage() : std::string();
    }
};

constexpr uint32_t kRed = 0x0000ff;
constexpr uint32_t kBlue = 0xff0000;

TEST_F(ColorChangesTest, ColourChangesInRainbowModeSayTheyCannotBeSeen)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    Pane(0)->Activate(true);
    const uint32_t edgeColor = ColorToRGB(poly->mEdges[0].mColor);

    NewView::ClearMessage(NewView::GetActiveView());
    poly->ReplaceEdgeColor(kRed, edgeColor);
    EXPECT_EQ(ActiveMessage(), "");

    GetRenderSettings().renderFlags |= RenderSettings::kRainbowColors;
    poly->ReplaceEdgeColor(kBlue, kRed);
    EXPECT_NE(ActiveMessage().find("no visible effect in\n'Rainbow Color Mode'"), std::string::npos)
        << ActiveMessage();

    // Face colours take the same road.
    NewView::ClearMessage(NewView::GetActiveView());
    GetElementDisplayOptions().mColorVertsSameAsDualFace = true;
    const uint32_t vertColor = ColorToRGB(poly->mVerts.mFirst->mColor);
    poly->ReplaceVertexColor(kRed, vertColor);
    EXPECT_NE(ActiveMessage().find("Rainbow Color Mode"), std::string::npos);
}

TEST_F(ColorChangesTest, EdgeColoursHiddenByCylindersSaySo)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    Pane(0)->Activate(true);
    ElementDisplayOptions& options = GetElementDisplayOptions();
    options.mSpheresAndCylinders = true;
    options.mCylinderSwitch = true;
    const uint32_t edgeColor = ColorToRGB(poly->mEdges[0].mColor);

    struct Case
    {
        int material;
        bool warned;
    };
    const Case kCases[] = {{3, true}, {1, false}};
    uint32_t from = edgeColor;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.material);
        options.mCylinderMaterial = c.material;
        NewView::ClearMessage(NewView::GetActiveView());
        const uint32_t to = from == kRed ? kBlue : kRed;
        poly->ReplaceEdgeColor(to, from);
        from = to;
        EXPECT_EQ(ActiveMessage().find("Warning: you have changed the color for edges drawn as lines.") == 0,
                  c.warned)
            << ActiveMessage();
    }
}

TEST_F(ColorChangesTest, ASideShownAnewForgetsOnlyItsOwnKitCheck)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    SetKitStyle(true);
    poly->IsKitBuildable(false, nullptr);
    poly->IsKitBuildable(true, nullptr);
    const uint32_t base = Poly::kKitYes | Poly::kKitNo;
    const uint32_t dual = Poly::kDualKitYes | Poly::kDualKitNo;
    ASSERT_NE(poly->mFlags & base, 0u);
    ASSERT_NE(poly->mFlags & dual, 0u);
    mShell.TakeInfoMask();
    poly->mFlags &= ~(Poly::kRecolorFaceDiagrams | Poly::kRecolorMorphDiagrams | Poly::kRecolorSection);

    InvalidateModelDisplay(poly, false, false);
    EXPECT_EQ(poly->mFlags & base, 0u);
    EXPECT_NE(poly->mFlags & dual, 0u) << "the dual side was not changed";
    EXPECT_EQ(mShell.TakeInfoMask(), 15);
    EXPECT_NE(poly->mFlags & Poly::kRecolorFaceDiagrams, 0u);
    EXPECT_NE(Pane(0)->GetRedrawMarks() & NewView::kRedraw, 0);

    // Without the kit style nothing about the kit is forgotten.
    SetKitStyle(false);
    poly->IsKitBuildable(false, nullptr);
    mShell.TakeInfoMask();
    InvalidateModelDisplay(poly, false, false);
    EXPECT_NE(poly->mFlags & base, 0u);
    EXPECT_EQ(mShell.TakeInfoMask(), 0);
}
}  // namespace
