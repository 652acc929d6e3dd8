#include "document/AppShell.h"
#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Transform3D.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "kernel/ViewTypes.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/GLCanvasWindow.h"
#include "support/PolyBuilder.h"
#include "ui/MainFrameFixture.h"
#include "view/PaneFrame.h"
#include "view/PolyView.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <vector>

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
        // Setting the type it has already changes nothing: the names are taken again as after
        // a change of the model.
        UpdateAllViewTitles();
        EXPECT_EQ(pane->GetTitle(), c.title);
    }
    poly->mShowDual = false;
    poly->SetBaseName(nullptr);
    poly->SetDualName(nullptr);
    pane->SetViewType(kViewTypePoly, false);
    UpdateAllViewTitles();
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
                           {kViewTypeNet2D, false},      {kViewTypeVertexFigure, false}, {kViewTypeMorphSizing, false},
                           {kViewTypeFacetPreview, true},  {kViewTypeFacetDiagram, false}};
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

TEST_F(PolyViewTest, TheProgramsFirstModelIsTheIcosahedronSeenWhole)
{
    ScopedScriptedServices scripted;
    AppShell shell;
    Shell* previousShell = SetShell(&shell);
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    mDocument->FinishAllTransitions();
    Poly* poly = GetCurrentPoly();
    ASSERT_EQ(poly->mFaces.mCount, 20);
    EXPECT_EQ(mDocument->GetTitle(), "3.3.3.3.3 - Icosahedron");
    CPolyView* pane = FirstPane();
    EXPECT_EQ(pane->GetTitle(), "Icosahedron");
    SetShell(previousShell);
    // The export description names the catalogue model with its symbol and its numbers.
    const LibraryEntry* entry = poly->mLibraryEntry;
    ASSERT_NE(entry, nullptr);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, ", W%d, p%d", entry->mNumber, entry->mPage1);
    EXPECT_EQ(pane->GetExportTitle(), std::string("Icosahedron (3.3.3.3.3)") + numbers);
    pane->SetViewType(kViewTypeUniStellation, true);
    EXPECT_EQ(pane->GetExportTitle(), std::string("Icosahedron (3.3.3.3.3)") + numbers)
        << "the unstellated model is named as itself";
    pane->SetViewType(kViewTypePolyAndDual, true);
    EXPECT_EQ(pane->GetExportTitle(), std::string("Dual compound of Icosahedron (3.3.3.3.3)") + numbers);
    pane->SetViewType(kViewTypePoly, true);
    // One plane type: coloured by face type, the first palette colour in front, the next behind.
    ColorRGB first, second;
    ColorFromRGB(first, PaletteEntry(0));
    ColorFromRGB(second, PaletteEntry(1));
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_TRUE(f->mColor.r == first.r && f->mColor.g == first.g && f->mColor.b == first.b);
        EXPECT_TRUE(f->mBackColor.r == second.r && f->mBackColor.g == second.g && f->mBackColor.b == second.b);
    }

    // Looking down the normal of a face, a 3-fold axis: the model's outline is unchanged by a turn
    // of 120 degrees about the middle of the pane.
    Vec3D back = poly->mFaces.mFirst->GetNormal();
    Vec3D right, up;
    Vec3Perpendicular(right, back);
    Vec3Normalize(right);
    Vec3Cross(up, back, right);
    Transform3D camera;
    Vec3D eye;
    Vec3Scale(eye, back, 5.0);
    camera.SetFrameToWorld(eye, right, up, back);
    pane->SetCameraTransform(camera);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    const PaneFrame frame = DrawPaneAndRead(pane);
    ASSERT_GT(frame.width, 100);
    const double cx = (frame.width - 1) / 2.0;
    const double cy = (frame.height - 1) / 2.0;
    const double c = std::cos(2.0 * kPi / 3.0);
    const double s = std::sin(2.0 * kPi / 3.0);
    int covered = 0;
    int mismatched = 0;
    for (int y = 0; y < frame.height; y += 2)
        for (int x = 0; x < frame.width; x += 2)
        {
            const bool here = frame.Covered(x, y);
            const double dx = x - cx;
            const double dy = y - cy;
            const int tx = int(std::lround(cx + c * dx - s * dy));
            const int ty = int(std::lround(cy + s * dx + c * dy));
            covered += here;
            // Pixels on the outline may fall either way after rounding.
            bool nearOutline = false;
            for (int ox = -1; ox <= 1 && !nearOutline; ++ox)
                for (int oy = -1; oy <= 1 && !nearOutline; ++oy)
                    nearOutline = frame.Covered(tx + ox, ty + oy) != here;
            if (!nearOutline && frame.Covered(tx, ty) != here)
                ++mismatched;
        }
    EXPECT_GT(covered, 1000);
    EXPECT_EQ(mismatched, 0);
    poly->Clear();
}
}  // namespace
