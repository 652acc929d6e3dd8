#include "kernel/ScriptedServices.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/GLCanvasWindow.h"
#include "support/PolyBuilder.h"
#include "ui/MainFrameFixture.h"
#include "view/PolyView.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

namespace
{
class PolyViewTest : public MainFrameFixture
{
protected:
    CPolyView* FirstPane() { return dynamic_cast<CPolyView*>(NewView::GetFirstView()); }
};

TEST(PolyViewFunctions, PolygonOffsetFollowsTheCameraDistanceInLogLog)
{
    struct Case
    {
        const char* name;
        double distance;
        bool orthogonal;
        double depthFactor;
        double units;
    };
    const Case kCases[] = {
        {"close", 1.2, false, 1.0, 8000.0},
        {"middle", 4.5, false, 1.0, 200.0},
        {"far", 75.0, false, 1.0, 6.0},
        {"half way in log between 1.2 and 4.5", std::sqrt(1.2 * 4.5), false, 1.0, std::sqrt(8000.0 * 200.0)},
        {"very far stays at 1", 1e6, false, 1.0, 1.0},
        {"orthogonal", 4.5, true, 1.0, 10.0},
        {"16-bit depth buffer", 4.5, false, 1.0 / 256.0, std::pow(200.0, 1.0 / 256.0)},
        {"coarser depth, closer", 1.2, false, 0.5, std::sqrt(8000.0)},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(PolygonOffsetUnitsAt(c.distance, c.orthogonal, c.depthFactor), c.units, c.units * 1e-5);
    }
}

TEST(PolyViewFunctions, FitSuspensionNests)
{
    EXPECT_FALSE(FitSuspendScope::Active());
    {
        FitSuspendScope outer;
        {
            FitSuspendScope inner;
            EXPECT_TRUE(FitSuspendScope::Active());
        }
        EXPECT_TRUE(FitSuspendScope::Active());
    }
    EXPECT_FALSE(FitSuspendScope::Active());
}

TEST_F(PolyViewTest, TypeNamesAndTheUnknownTypeReport)
{
    ScopedScriptedServices scripted;
    EXPECT_STREQ(GetViewTypeName(0x1340E), "Unfolded Net");
    EXPECT_STREQ(GetViewTypeName(ViewTypeFromIndex(0x12)), "Morph Duals by Augmentation");
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    EXPECT_STREQ(GetViewTypeName(0x77), "Unknown view type");
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_NE(call->text.find("Illegal view type in GetViewTypeName (0x77)."), std::string::npos) << call->text;
}

TEST_F(PolyViewTest, TitlesNameTheShownModelAfterTheirPrefix)
{
    CPolyView* pane = FirstPane();
    ASSERT_NE(pane, nullptr);
    Poly* poly = GetCurrentPoly();
    ASSERT_NE(poly, nullptr);
    poly->SetBaseName("Cube");
    struct Case
    {
        int code;
        bool showDual;
        const char* dualName;  // null: none
        const char* title;
    };
    const Case kCases[] = {
        {kViewTypePoly, false, "Octahedron", "Cube"},
        {kViewTypeDual, false, "Octahedron", "Octahedron"},
        {kViewTypeDual, false, nullptr, "Dual of Cube"},
        {kViewTypePolyAndDual, false, nullptr, "Base/Dual Compound"},
        {kViewTypeUniStellation, false, nullptr, "Stellation of Cube"},
        {kViewTypeDualStellation, false, "Octahedron", "Stellation of Octahedron"},
        {kViewTypeFace, false, nullptr, "Face of Cube"},
        {kViewTypeFace, true, "Octahedron", "Face of Octahedron"},
        {kViewTypeNet2D, false, nullptr, "Unfolded Net for Cube"},
        {kViewTypeSlice, false, nullptr, "Cross-Section of Cube"},
        {kViewTypeMorphViaSnub, false, nullptr, "Morph Duals via Snub"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.title);
        poly->SetDualName(c.dualName);
        poly->mShowDual = c.showDual;
        pane->SetViewType(c.code, false);
        EXPECT_EQ(pane->GetTitle(), c.title);
    }
    poly->mShowDual = false;
    poly->SetBaseName(nullptr);
    poly->SetDualName(nullptr);
    pane->SetViewType(kViewTypePoly, false);
    EXPECT_EQ(pane->GetTitle(), "Unnamed");
}

TEST_F(PolyViewTest, TheSideAPaneShowsFollowsItsFamily)
{
    CPolyView* pane = FirstPane();
    Poly* poly = GetCurrentPoly();
    struct Case
    {
        int code;
        bool showDual;
        bool single;
        bool dual;
    };
    const Case kCases[] = {
        {kViewTypePoly, true, true, false},          {kViewTypeDual, false, true, true},
        {kViewTypeUniStellation, true, true, false}, {kViewTypeFace, false, true, false},
        {kViewTypeFace, true, true, true},           {kViewTypePolyAndDual, false, false, false},
        {kViewTypeMorphSizing, true, false, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.code);
        poly->mShowDual = c.showDual;
        pane->SetViewType(c.code, true);
        bool dual = !c.dual;
        EXPECT_EQ(pane->GetShownSide(dual), c.single);
        EXPECT_EQ(dual, c.dual);
    }
    poly->mShowDual = false;
    pane->SetViewType(kViewTypePoly, true);
}

TEST_F(PolyViewTest, BlendModesNestAndFitsWaitWhileSuspended)
{
    CPolyView* pane = FirstPane();
    ASSERT_TRUE(pane->PreOpenGL());
    EXPECT_EQ(pane->GetBlendDepth(), 0);
    const int first = pane->PushBlendMode(2);
    const int second = pane->PushBlendMode(1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(pane->GetBlendDepth(), 2);
    EXPECT_EQ(pane->PopBlendMode(2), 1);
    EXPECT_EQ(pane->PopBlendMode(first), 0);
    EXPECT_EQ(pane->GetBlendMode(), first);
    pane->PostOpenGL();

    pane->OnDraw();  // takes any fit pending
    ASSERT_EQ(pane->GetPendingFit(), 0);
    {
        FitSuspendScope suspended;
        pane->RequestFit(3);
        EXPECT_EQ(pane->GetPendingFit(), 0);
    }
    pane->RequestFit(3);
    EXPECT_EQ(pane->GetPendingFit(), 3);
}

TEST_F(PolyViewTest, ViewsThatCannotDrawYetSayWhyInsteadOfDrawing)
{
    CPolyView* pane = FirstPane();
    struct Case
    {
        int code;
        bool empty;
    };
    const Case kCases[] = {{kViewTypePoly, true},        {kViewTypePolyAndDual, true}, {kViewTypeMorphViaSnub, true},
                           {kViewTypeNet2D, false},      {kViewTypeStelDiagram, false}, {kViewTypeMorphSizing, false},
                           {kViewTypeFacetPreview, false}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.code);
        pane->SetViewType(c.code, true);
        EXPECT_EQ(*pane->GetPlaceholderText() == '\0', c.empty);
        pane->OnDraw();  // never a crash, whatever the type
    }
    pane->SetViewType(kViewTypeNet2D, true);
    EXPECT_STREQ(pane->GetPlaceholderText(), "No nets.");
    pane->SetViewType(kViewTypePoly, true);
}

TEST_F(PolyViewTest, TheBasePaneShowsTheCurrentModelInItsFaceColours)
{
    CPolyView* pane = FirstPane();
    Poly* poly = GetCurrentPoly();
    BuildPoly(*poly, CubeSpec(), false);
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{1.0f, 0.0f, 0.0f};
    pane->SetViewType(kViewTypePoly, false);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    pane->RequestFit(1);
    // The centre and a corner of the finished frame: the cube covers the one and not the other.
    unsigned char centre[3] = {0, 0, 0};
    unsigned char corner[3] = {9, 9, 9};
    bool read = false;
    pane->GetCanvas()->SetFrameDrawnCallback([&](GLCanvasWindow& canvas) {
        const wxSize size = canvas.GetClientSize() * canvas.GetContentScaleFactor();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(size.x / 2, size.y / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, centre);
        glReadPixels(2, 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, corner);
        read = true;
    });
    pane->OnDraw();
    pane->GetCanvas()->SetFrameDrawnCallback(nullptr);
    ASSERT_TRUE(read);
    EXPECT_GT(centre[0], 40);
    EXPECT_LT(centre[1], centre[0] / 4 + 1);
    EXPECT_LT(centre[2], centre[0] / 4 + 1);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);
    poly->Clear();
}
}  // namespace
