// The View menu on the model panes: view types and their marks, base and dual, the axis and
// selection orientations, the typed rotations, the fits and the orthogonal projection.

#include "kernel/Mat4.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/MenuPictureChecks.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Prisms4D.h"
#include "render/ViewSnapshot.h"
#include "view/PaneFixture.h"
#include "view/PolyCaptionWnd.h"
#include "view/ViewOrientation.h"

#include <wx/menu.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
using ViewMenuTest = PaneFixture;

struct UpdateState
{
    bool enabled = false;
    bool checked = false;
    std::string text;
};

UpdateState UpdateOf(wxWindow* frame, int id)
{
    wxUpdateUIEvent update(id);
    update.SetEventObject(frame);
    frame->ProcessWindowEvent(update);
    UpdateState state;
    state.enabled = update.GetSetEnabled() ? update.GetEnabled() : true;
    state.checked = update.GetSetChecked() && update.GetChecked();
    state.text = update.GetSetText() ? wxStripMenuCodes(update.GetText()).ToStdString() : std::string();
    return state;
}

void ExpectVecNear(const Vec3D& a, const Vec3D& b, double tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

constexpr int kViewTypeCommandIds[] = {
    kCmdViewBasePolyhedron, kCmdViewDualPolyhedron,    kCmdViewBaseAndDual,        kCmdViewBaseStellation,
    kCmdViewDualStellation, kCmdViewPreviewFaceting,   kCmdViewFace,               kCmdViewStellationFace,
    kCmdViewStellationDiagram, kCmdViewCellDiagram,    kCmdViewVertexFigure,       kCmdViewFacetingDiagram,
    kCmdViewCrossSection,   kCmdViewUnfoldedNet,       kCmdViewFoldingNet,         kCmdMorphBySizing,
    kCmdMorphByTruncation,  kCmdMorphByAugmentation,   kCmdMorphByExpansion,       kCmdMorphByTiltingQuads,
    kCmdMorphByTiltingTriangles, kCmdMorphByTiltingToCompound, kCmdMorphByTiltingToRectify};
}  // namespace

TEST(ViewOrientationTest, ChooseUpVectorWithoutAUsableAxisCrossesTheSmallestCoordinateAxis)
{
    const Vec3D d{0.6, -0.8, 0.0};
    // The smallest component is z: d x (0, 0, 1) = (-0.8, -0.6, 0).
    ExpectVecNear(ChooseUpVector(d, nullptr), Vec3D{-0.8, -0.6, 0.0}, 1e-15);
    // The smallest component is x: d x (1, 0, 0) = (0, 0.8, -0.6).
    ExpectVecNear(ChooseUpVector(Vec3D{0.0, 0.6, 0.8}, nullptr), Vec3D{0.0, 0.8, -0.6}, 1e-15);
}

TEST(ViewOrientationTest, ExportOrientationAxisNamesTheClassOfTheLookDownAndSitOnCodes)
{
    const int expected[] = {-1, -1, 0, 1, 2, -1, 0, 1, 2, -1, -1};
    for (int code = 0; code <= 10; ++code)
        EXPECT_EQ(ExportOrientationAxis(code), expected[code]) << code;
    EXPECT_EQ(ExportOrientationAxis(-1), -1);
}

TEST_F(ViewMenuTest, TheViewTypeItemsMarkThePaneTypeAndSwitchIt)
{
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    for (int id : kViewTypeCommandIds)
    {
        const int code = ViewTypeOfCommand(id);
        SCOPED_TRACE(GetViewTypeName(code));
        ASSERT_NE(code, kViewTypeNone);
        RunCommand(id);
        EXPECT_EQ(pane->GetViewType(), code);
        for (int other : kViewTypeCommandIds)
            EXPECT_EQ(UpdateOf(mFrame, other).checked, other == id) << other;
    }
    RunCommand(kCmdViewBasePolyhedron);
    EXPECT_EQ(pane->GetViewType(), kViewTypePoly);
}

TEST_F(ViewMenuTest, TheAxisItemsAreNamedAfterTheGroupAndGreyedForAMissingClass)
{
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    Pane(0)->Activate(true);
    EXPECT_EQ(UpdateOf(mFrame, kCmdLookDownAxis0).text, "Look Down 5-fold Axis");
    EXPECT_TRUE(UpdateOf(mFrame, kCmdSitOnAxis2).enabled);

    // The square pyramid's group has two axis classes: the two ends of its 4-fold axis.
    Poly* pyramid = OpenModel("Square Pyramid");
    ASSERT_NE(pyramid, nullptr);
    ASSERT_NE(pyramid->GetSymGroup(), nullptr);
    EXPECT_EQ(UpdateOf(mFrame, kCmdLookDownAxis0).text, "Look Down 4-fold Axis");
    EXPECT_TRUE(UpdateOf(mFrame, kCmdSitOnAxis0).enabled);
    std::string fallback;
    EXPECT_FALSE(SymGroup::GetAxisText(pyramid->GetSymGroup(), fallback, "Look Down", 2));
    EXPECT_EQ(fallback, "Look Down 3rd Axis");
    const UpdateState look = UpdateOf(mFrame, kCmdLookDownAxis2);
    EXPECT_FALSE(look.enabled);
    EXPECT_EQ(look.text, fallback);
    EXPECT_FALSE(UpdateOf(mFrame, kCmdSitOnAxis2).enabled);
    EXPECT_TRUE(UpdateOf(mFrame, kCmdSitOnAxis1).enabled);
    // Nothing happens when the command comes anyway.
    const Vec3D up = Pane(0)->GetUp();
    EXPECT_FALSE(Pane(0)->SitOnAxis(2, true));
    ExpectVecNear(Pane(0)->GetUp(), up, 0.0);
}

TEST_F(ViewMenuTest, LookAtSelectedVertexOfTheCubeFacesItWithATwoFoldAxisUp)
{
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    DrawAndRead(pane);
    FaceVert* vertex = poly->mVerts.mFirst;
    ASSERT_NE(vertex, nullptr);
    poly->SelectFace(vertex, true);
    const double distance = Vec3Length(pane->GetEye());

    RunCommand(kCmdLookAtSelected);
    Vec3D z = vertex->mPoint;
    Vec3Normalize(z);
    ExpectVecNear(pane->GetBackward(), z, 1e-12);
    // A cube vertex lies on a 3-fold axis: (±1, ±1, ±1)/√3.
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(std::fabs(z[k]), 1.0 / std::sqrt(3.0), 1e-12);
    const Vec3D& y = pane->GetUp();
    EXPECT_NEAR(Vec3Dot(y, z), 0.0, 1e-12);
    EXPECT_NE(poly->GetSymGroup()->FindAxisByAbsDir(y), nullptr);
    const SymAxisSet* set = poly->GetSymGroup()->FindAxisByAbsDir(y);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->mOrder, 2);
    EXPECT_NEAR(Vec3Length(pane->GetEye()), distance, 1e-9);

    // Sitting on it puts the vertex straight down.
    RunCommand(kCmdSitOnSelected);
    ExpectVecNear(pane->GetUp(), Vec3D{-z.x, -z.y, -z.z}, 1e-12);
    EXPECT_NEAR(Vec3Length(pane->GetEye()), distance, 1e-9);
}

TEST_F(ViewMenuTest, DualOfCurrentViewSwapsTheTypeOrTheModelSide)
{
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    pane->SetViewType(kViewTypeFace, false);
    const bool side = poly->mShowDual;
    RunCommand(kCmdDualOfCurrentView);
    EXPECT_EQ(pane->GetViewType(), kViewTypeFace);
    EXPECT_EQ(poly->mShowDual, !side);

    // The swap of a one-sided type does not toggle the side itself: the model shows the side of
    // the active pane, as after any type switch.
    pane->SetViewType(kViewTypeDualStellation, false);
    ASSERT_TRUE(poly->mShowDual);
    RunCommand(kCmdDualOfCurrentView);
    EXPECT_EQ(pane->GetViewType(), kViewTypeUniStellation);
    EXPECT_FALSE(poly->mShowDual);
    RunCommand(kCmdDualOfCurrentView);
    EXPECT_EQ(pane->GetViewType(), kViewTypeDualStellation);
    EXPECT_TRUE(poly->mShowDual);
}

TEST_F(ViewMenuTest, DualAllViewsSwapsTheOtherPaneAndFlipsTheSideOnce)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    CPolyView* base = Pane(0);
    CPolyView* face = Pane(1);
    ASSERT_NE(face, nullptr);
    base->SetViewType(kViewTypePoly, false);
    face->SetViewType(kViewTypeFace, false);
    face->Activate(true);
    const bool side = poly->mShowDual;
    RunCommand(kCmdDualAllViews);
    EXPECT_EQ(base->GetViewType(), kViewTypeDual);
    EXPECT_EQ(face->GetViewType(), kViewTypeFace);
    EXPECT_EQ(poly->mShowDual, !side);
}

TEST_F(ViewMenuTest, RotatePromptsRememberTheirOwnAngleAndTurnTheCameraBack)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    for (int axis = 0; axis < 3; ++axis)
        RememberedRotateAngle(axis) = 90.0f;
    mScripted.services.promptStarts.clear();

    RunCommand(kCmdRotateAroundX);  // OK on the offered 90
    // Turning the camera by -90 about x brings its up axis to where the z axis pointed.
    ExpectVecNear(pane->GetUp(), Vec3D{0, 0, -1}, 1e-12);
    mScripted.services.PushText("30");
    RunCommand(kCmdRotateAroundX);
    RunCommand(kCmdRotateAroundX);
    RunCommand(kCmdRotateAroundY);
    RunCommand(kCmdRotateAroundZ);
    ASSERT_EQ(mScripted.services.promptStarts.size(), 5u);
    EXPECT_EQ(mScripted.services.promptStarts[0], "90");
    EXPECT_EQ(mScripted.services.promptStarts[1], "90");
    EXPECT_EQ(mScripted.services.promptStarts[2], "30");
    EXPECT_EQ(mScripted.services.promptStarts[3], "90");
    EXPECT_EQ(mScripted.services.promptStarts[4], "90");

    // A cancelled prompt leaves the camera alone.
    const Vec3D up = pane->GetUp();
    mScripted.services.PushText("45", false);
    RunCommand(kCmdRotateAroundZ);
    ExpectVecNear(pane->GetUp(), up, 0.0);
    for (int axis = 0; axis < 3; ++axis)
        RememberedRotateAngle(axis) = 90.0f;
}

TEST_F(ViewMenuTest, OrthogonalViewIsGreyedInDiagramsAndFollowedByLockedPanes)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* first = Pane(0);
    CPolyView* second = Pane(1);
    ASSERT_NE(second, nullptr);
    first->SetViewType(kViewTypeFace, false);
    first->Activate(true);
    EXPECT_FALSE(UpdateOf(mFrame, kCmdOrthogonalView).enabled);

    first->SetViewType(kViewTypePoly, false);
    second->SetViewType(kViewTypeDual, false);
    DrawAndRead(first);
    DrawAndRead(second);
    OpenGLView::ViewsLocked() = true;
    RunCommand(kCmdOrthogonalView);
    EXPECT_TRUE(first->IsOrthogonal());
    EXPECT_TRUE(UpdateOf(mFrame, kCmdOrthogonalView).checked);
    EXPECT_TRUE(second->IsOrthogonal());
    ExpectVecNear(second->GetEye(), first->GetEye(), 0.0);
    ExpectVecNear(second->GetUp(), first->GetUp(), 0.0);
}

TEST_F(ViewMenuTest, OrthogonalOnAndOffKeepsTheApparentSize)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    const auto extent = [&] {
        const PaneFrame frame = DrawAndRead(pane);
        int lo = frame.width, hi = -1;
        for (int x = 0; x < frame.width; ++x)
            if (frame.CountLit(x, 0, x + 1, frame.height) > 0)
            {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        return hi - lo;
    };
    const int before = extent();
    ASSERT_GT(before, 10);
    RunCommand(kCmdOrthogonalView);
    ASSERT_TRUE(pane->IsOrthogonal());
    RunCommand(kCmdOrthogonalView);
    EXPECT_FALSE(pane->IsOrthogonal());
    EXPECT_NEAR(extent(), before, 2);
}

TEST_F(ViewMenuTest, FitAllActsOnEveryPaneAndDefaultOrientationPutsTheAxesBack)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    ASSERT_NE(OpenModel("Cube"), nullptr);
    Pane(0)->Activate(true);
    DrawAndRead(Pane(0));
    DrawAndRead(Pane(1));
    RunCommand(kCmdFitAllViews);
    EXPECT_EQ(Pane(0)->GetPendingFit(), 1);
    EXPECT_EQ(Pane(1)->GetPendingFit(), 1);
    RunCommand(kCmdTightFitView);
    EXPECT_EQ(Pane(0)->GetPendingFit(), 3);

    Pane(0)->RotateView(1, 40.0);
    RunCommand(kCmdDefaultOrientation);
    ExpectVecNear(Pane(0)->GetRight(), Vec3D{1, 0, 0}, 0.0);
    ExpectVecNear(Pane(0)->GetUp(), Vec3D{0, 1, 0}, 0.0);
    ExpectVecNear(Pane(0)->GetBackward(), Vec3D{0, 0, 1}, 0.0);
    EXPECT_EQ(Pane(0)->GetPendingFit(), 1);
}

TEST_F(ViewMenuTest, FullScreenGoesAndComesBack)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    RunCommand(kCmdFullScreen);
    EXPECT_TRUE(pane->IsFullScreen());
    Pump();
    RunCommand(kCmdFullScreen);
    EXPECT_FALSE(pane->IsFullScreen());
    Pump();
}

TEST_F(ViewMenuTest, TightFitComesAsCloseAsTheCubeAsTurnedNowAllows)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    DrawAndRead(pane);
    // Face on, the unit-circumradius cube's half side a = 1/sqrt(3) is all an orthogonal camera
    // needs vertically; the rotation-proof fit needs the whole circumradius.
    const double a = 1.0 / std::sqrt(3.0);
    const double margin = pane->GetMarkerMargin();
    pane->SetOrthogonal(true);
    RunCommand(kCmdFitView);
    DrawAndRead(pane);
    ASSERT_GT(pane->GetWidth(), pane->GetHeight());
    EXPECT_NEAR(pane->GetHalfHeight(), 1.0 + margin, 1e-5);
    RunCommand(kCmdTightFitView);
    DrawAndRead(pane);
    EXPECT_NEAR(pane->GetHalfHeight(), a + margin, 1e-5);

    // In perspective the nearest top corners (a, a, a) touch the top of the view cone, widened by
    // the marker margin.
    pane->SetOrthogonal(false);
    RunCommand(kCmdFitView);
    DrawAndRead(pane);
    const double sphereDistance = Vec3Length(pane->GetEye());
    RunCommand(kCmdTightFitView);
    DrawAndRead(pane);
    const double distance = Vec3Length(pane->GetEye());
    EXPECT_LT(distance, sphereDistance);
    const double halfAngle = pane->GetVerticalFOV() * kPi / 360.0;
    EXPECT_NEAR(distance, a / std::tan(halfAngle) + a + margin / std::sin(halfAngle), 1e-4);
    ExpectVecNear(pane->GetBackward(), Vec3D{0, 0, 1}, 1e-12);
}

TEST_F(ViewMenuTest, ExportOrientationsTurnTheViewAndTheRestoreGivesTheCameraBack)
{
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    const SymGroup* group = poly->GetSymGroup();
    ASSERT_NE(group, nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    DrawAndRead(pane);
    pane->SetOrthogonal(true);
    pane->RotateView(0, 30.0);
    pane->RotateView(1, 20.0);
    const float halfHeight = pane->GetHalfHeight();
    Vec3D up = pane->GetUp();

    struct Case
    {
        int orientation;
        int axisClass;
    };
    for (const Case c : {Case{2, 0}, Case{3, 1}, Case{1, 0}})
    {
        SCOPED_TRACE(c.orientation);
        const Vec3D eye = pane->GetEye(), right = pane->GetRight();
        up = pane->GetUp();
        ExportOrientation3D options;
        options.orientation = c.orientation;
        options.lookDownClass = options.sitOnClass = c.axisClass;
        ViewSnapshot store;
        pane->OrientForExport3D(options, store);
        Vec3D dir = group->mAxisSets[size_t(c.axisClass)].mAxes[0].mDir;
        Vec3Normalize(dir);
        if (c.orientation == 2)
            ExpectVecNear(pane->GetBackward(), dir, 1e-12);
        else if (c.orientation == 3)
        {
            Vec3D down;
            Vec3Scale(down, pane->GetUp(), -1.0);
            ExpectVecNear(down, dir, 1e-12);
        }
        else
        {
            ExpectVecNear(pane->GetBackward(), Vec3D{0, 0, 1}, 0.0);
            // The default fit happens at once, not at the next frame.
            EXPECT_NEAR(pane->GetHalfHeight(), 1.0 + pane->GetMarkerMargin(), 1e-5);
        }
        pane->RestoreAfterExport3D(store);
        ExpectVecNear(pane->GetEye(), eye, 0.0);
        ExpectVecNear(pane->GetRight(), right, 0.0);
        ExpectVecNear(pane->GetUp(), up, 0.0);
        EXPECT_EQ(pane->GetHalfHeight(), halfHeight);
        // An emptied store restores nothing a second time.
        pane->RotateView(2, 10.0);
        const Vec3D turned = pane->GetRight();
        pane->RestoreAfterExport3D(store);
        ExpectVecNear(pane->GetRight(), turned, 0.0);
        pane->RotateView(2, -10.0);
    }

    // The picture codes: 6 sits on class 0, 0 puts the saved camera back.
    ViewSnapshot saved;
    saved.Save(*pane);
    pane->ApplyExportOrientation(6, saved);
    Vec3D dir = group->mAxisSets[0].mAxes[0].mDir;
    Vec3Normalize(dir);
    Vec3D down;
    Vec3Scale(down, pane->GetUp(), -1.0);
    ExpectVecNear(down, dir, 1e-12);
    pane->ApplyExportOrientation(0, saved);
    ExpectVecNear(pane->GetUp(), up, 0.0);
}

TEST_F(ViewMenuTest, TheSelectedPointOfA4DModelIsTheSelectedElementTurnedByThePaneRotation)
{
    Poly* cube = OpenModel("Cube");
    ASSERT_NE(cube, nullptr);
    SetModelFromPolytope4D(-1, Create4DPrism(cube, 0), Poly::kKeepScale, "Tesseract", nullptr);
    Poly* poly = GetCurrentPoly();
    ASSERT_NE(poly, nullptr);
    ASSERT_NE(poly->mPolytope, nullptr);
    Polytope4D& tesseract = *poly->mPolytope;
    ASSERT_EQ(tesseract.mNumVerts, 16);
    CPolyView* pane = Pane(0);
    Selection4D& selection = GetSelection4D();
    selection = Selection4D();
    Vert4D* vert = tesseract.GetVert(0);
    selection.mVert = vert;
    Vec3D point;
    Vec4D unturned;
    ASSERT_TRUE(pane->GetSelectedItemPoint4D(point, &unturned));
    ExpectVecNear(point, Vec3D{vert->mPos.x, vert->mPos.y, vert->mPos.z}, 1e-12);
    EXPECT_NEAR(Vec4Length(unturned), 1.0, 1e-12);

    // A quarter turn in the x-w plane brings w into x.
    Mat4 turn;
    turn.At(0, 0) = 0.0;
    turn.At(0, 3) = 1.0;
    turn.At(3, 0) = -1.0;
    turn.At(3, 3) = 0.0;
    pane->SetRotation4D(turn);
    ASSERT_TRUE(pane->GetSelectedItemPoint(point));
    ExpectVecNear(point, Vec3D{vert->mPos.w, vert->mPos.y, vert->mPos.z}, 1e-12);

    // An edge gives its midpoint; with nothing selected the current cell's centre.
    selection.mVert = nullptr;
    Edge4D* edge = tesseract.GetEdge(0);
    ASSERT_NE(edge, nullptr);
    selection.mEdge = edge;
    pane->SetRotation4D(Mat4());
    ASSERT_TRUE(pane->GetSelectedItemPoint(point));
    ExpectVecNear(point,
                  Vec3D{(edge->mVerts[0]->mPos.x + edge->mVerts[1]->mPos.x) / 2,
                        (edge->mVerts[0]->mPos.y + edge->mVerts[1]->mPos.y) / 2,
                        (edge->mVerts[0]->mPos.z + edge->mVerts[1]->mPos.z) / 2},
                  1e-12);
    selection = Selection4D();
    const Cell4D* cell = tesseract.GetCurrentCell(true);
    ASSERT_NE(cell, nullptr);
    const Vec3D centre{cell->mCentre.x, cell->mCentre.y, cell->mCentre.z};
    ASSERT_GT(Vec3Length(centre), 1e-7);
    ASSERT_TRUE(pane->GetSelectedItemPoint(point));
    ExpectVecNear(point, centre, 1e-12);

    // A cap cell lies on the w axis and projects onto the centre: no direction to look along.
    for (int i = 0; i < tesseract.mNumCells; ++i)
    {
        Cell4D* c = tesseract.GetCell(i);
        if (std::fabs(c->mCentre.x) + std::fabs(c->mCentre.y) + std::fabs(c->mCentre.z) < 1e-9)
            selection.mCell = c;
    }
    ASSERT_NE(selection.mCell, nullptr);
    EXPECT_FALSE(pane->GetSelectedItemPoint(point));
    selection = Selection4D();
}

TEST_F(ViewMenuTest, TheCaptionPictureOpensTheViewTypesWithThePaneTypeCheckedAndItsChoiceComesToThePane)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    mFrame->SetLayout(kLayout2);
    Pump();
    CPolyView* pane = Pane(1);
    ASSERT_NE(pane, nullptr);
    auto* caption = dynamic_cast<PolyCaptionWnd*>(pane->GetCaptionWnd());
    ASSERT_NE(caption, nullptr);
    const wxRect icon = caption->GetIconRect();
    EXPECT_TRUE(wxRect(wxPoint(0, 0), caption->GetClientSize()).Contains(icon));
    EXPECT_EQ(icon.GetWidth(), 16);

    pane->SetViewType(kViewTypeStelFace, false);
    std::unique_ptr<wxMenu> menu(pane->BuildViewTypeMenu());
    ASSERT_NE(menu, nullptr);
    int checked = 0, items = 0;
    for (const wxMenuItem* item : menu->GetMenuItems())
    {
        if (item->IsSeparator())
            continue;
        ++items;
        EXPECT_NE(ViewTypeOfCommand(item->GetId()), kViewTypeNone) << item->GetItemLabelText();
        if (item->IsCheckable() ? item->IsChecked() : IsPictureCheckItemChecked(item))
        {
            ++checked;
            EXPECT_EQ(item->GetId(), kCmdViewStellationFace);
        }
    }
    EXPECT_EQ(items, 23);
    EXPECT_EQ(checked, 1);

    // The choice reaches this pane even when another was active.
    Pane(0)->Activate(true);
    pane->RunViewTypeMenuChoice(kCmdViewDualPolyhedron);
    EXPECT_EQ(pane->GetViewType(), kViewTypeDual);
    EXPECT_EQ(Pane(0)->GetViewType(), kViewTypePoly);
}

TEST_F(ViewMenuTest, FullScreenEndsWhenAnotherProgramTakesTheFocusButNotForTheProgramsOwnWindows)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    RunCommand(kCmdFullScreen);
    ASSERT_TRUE(pane->IsFullScreen());
    Pump();
    wxWindow* screen = pane->GetParent();
    ASSERT_NE(screen, nullptr);
    const auto deactivate = [&]() {
        wxActivateEvent event(wxEVT_ACTIVATE, false);
        event.SetEventObject(screen);
        screen->ProcessWindowEvent(event);
        Pump();
    };

    const NewView::ProgramActiveCheck before = NewView::SetProgramActiveCheck([]() { return true; });
    deactivate();
    EXPECT_TRUE(pane->IsFullScreen());

    NewView::SetProgramActiveCheck([]() { return false; });
    deactivate();
    EXPECT_FALSE(pane->IsFullScreen());
    NewView::SetProgramActiveCheck(before);
    Pump();
}
