// A 4D model in a real pane: 4D > Create 4D Prism on Current Polyhedron makes the tesseract of the
// cube, the pane draws its cells as the hiding modes and the shrink say, picks its cells, faces and
// vertices, and Ctrl+Z gives the cube back.

#include "PaneFixture.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/Transform3D.h"
#include "platform/CommandIds.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"
#include "polytope4d/Projection4D.h"
#include "support/ModelUndoByCopy.h"
#include "view/Picking.h"

#include <wx/uiaction.h>

#include <cmath>
#include <string>

namespace
{
class Polytope4DPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mHiding = GetCellHidingMode4D();
        InstallModelUndoByCopy();
        mPane = Pane(0);
        ASSERT_NE(mPane, nullptr);
        mPane->Activate(true);
        mPane->SetViewType(kViewTypePoly, false);
        CPolyView::SetMouseMode(kMouseModeSelect);
        ASSERT_NE(OpenModel("Cube"), nullptr);
        ClearUndoList();
        RunCommand(kCmdCreate4DPrism);
        mDocument->FinishAllTransitions();
        Pump();
        // Along a diagonal the middle of the pane sees the far cube past the side cells' corners.
        LookAlongDiagonal();
    }

    void LookAlongDiagonal()
    {
        Transform3D camera;
        mPane->GetCameraTransform(camera);
        const double distance = Vec3Length(camera.t);
        Vec3D back{1.0, 1.0, 1.0}, up{0.0, 1.0, 0.0}, right;
        Vec3Normalize(back);
        Vec3Cross(right, up, back);
        Vec3Normalize(right);
        Vec3Cross(up, back, right);
        camera.m.SetColumns(right, up, back);
        Vec3Scale(camera.t, back, distance);
        mPane->SetCameraTransform(camera);
    }

    void TearDown() override
    {
        if (!IsSkipped())
        {
            CPolyView::SetMouseMode(kMouseModeSelect);
            SetCellHidingMode4D(mHiding);
            GetSelection4D() = Selection4D();
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        }
        PaneFixture::TearDown();
    }

    Polytope4D* Polytope() const
    {
        Poly* poly = GetCurrentPoly();
        return poly ? poly->mPolytope.get() : nullptr;
    }

    // The cell whose outward normal points along the pane's line of sight, away from or towards it.
    Cell4D* CellFacing(bool towardViewer) const
    {
        const Mat4& r = mPane->GetRotation4D();
        const Vec4D sight{r.At(3, 0), r.At(3, 1), r.At(3, 2), r.At(3, 3)};
        for (Element4D* e = Polytope()->mFirstCell; e; e = e->next)
        {
            const double d = Vec4Dot(Element4D::AsCell(e)->mPlane.n, sight);
            if (std::fabs(d - (towardViewer ? 1.0 : -1.0)) < 1e-9)
                return Element4D::AsCell(e);
        }
        return nullptr;
    }

    // The pane's client pixel (y down) of a 4D point as the pane draws it.
    wxPoint ClientPixel(const Vec4D& p) const
    {
        const Poly* poly = GetCurrentPoly();
        const double m = Calc4DProjectionScale(mPane->GetViewRadius(0)) * poly->mDisplayScale;
        Vec3D q, w;
        mPane->Project4DPoint(q, p, m, Polytope());
        mPane->ProjectToWindow(w, q);
        return wxPoint(int(std::lround(w.x)), int(std::lround(w.y)));
    }
    wxPoint Middle() const
    {
        const wxSize size = mPane->GetCanvas()->GetClientSize();
        return wxPoint(size.x / 2, size.y / 2);
    }

    // Pixels of the frame that differ from its corner, the background.
    static int ModelPixels(const PaneFrame& frame)
    {
        const unsigned char* bg = frame.At(0, 0);
        int n = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
            {
                const unsigned char* p = frame.At(x, y);
                n += std::abs(p[0] - bg[0]) + std::abs(p[1] - bg[1]) + std::abs(p[2] - bg[2]) > 12;
            }
        return n;
    }

    void Pick(int request, wxPoint at)
    {
        PickRequest r;
        r.kind = request;
        r.x = at.x;
        r.y = at.y;
        mPane->PickAt(r, nullptr);
    }

    CPolyView* mPane = nullptr;
    int mHiding = kCellHidingFront;
};
}  // namespace

TEST_F(Polytope4DPaneTest, ThePrismOfTheCubeIsTheTesseractAndUndoGivesTheCubeBack)
{
    Polytope4D* p = Polytope();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->mNumCells, 8);
    EXPECT_EQ(p->mNumFaces, 24);
    EXPECT_EQ(p->mNumEdges, 32);
    EXPECT_EQ(p->mNumVerts, 16);
    EXPECT_STREQ(GetCurrentPoly()->GetBaseName(), "Cube Prism");
    EXPECT_NE(mPane->GetViewName().find("Cube Prism"), std::string::npos) << mPane->GetViewName();
    EXPECT_EQ(GetUndoStepCount(), 1);
    // The automatic direction looks at a cell straight on.
    EXPECT_NE(CellFacing(true), nullptr);
    EXPECT_NE(CellFacing(false), nullptr);

    RunCommand(kCmdUndo);
    mDocument->FinishAllTransitions();
    Poly* cube = GetCurrentPoly();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->mPolytope, nullptr);
    EXPECT_EQ(cube->mFaces.mCount, 6);
    EXPECT_EQ(cube->mVerts.mCount, 8);
}

TEST_F(Polytope4DPaneTest, TheCubeAsVertexFigureGivesThe24CellAndUndoGivesTheCubeBack)
{
    RunCommand(kCmdUndo);
    mDocument->FinishAllTransitions();
    ASSERT_EQ(GetCurrentPoly()->mPolytope, nullptr);
    RunCommand(kCmdCreatePolychoron);
    mDocument->FinishAllTransitions();
    Pump();
    Polytope4D* p = Polytope();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->mNumVerts, 24);
    EXPECT_EQ(p->mNumEdges, 96);
    EXPECT_EQ(p->mNumFaces, 96);
    EXPECT_EQ(p->mNumCells, 24);
    EXPECT_STREQ(GetCurrentPoly()->GetBaseName(), "Polychoron with Cube Vertex Figure");
    EXPECT_EQ(mScripted.services.CountCalls("Question"), 0) << "the cube's edges fit triangles only";

    RunCommand(kCmdUndo);
    mDocument->FinishAllTransitions();
    Poly* cube = GetCurrentPoly();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->mPolytope, nullptr);
    EXPECT_EQ(cube->mFaces.mCount, 6);
}

TEST_F(Polytope4DPaneTest, HidingModesAndTheShrinkChangeThePicture)
{
    ASSERT_NE(Polytope(), nullptr);
    ASSERT_EQ(GetCellHidingMode4D(), kCellHidingFront);
    const int seven = ModelPixels(DrawAndRead(mPane));
    RunCommand(kCmdHideBackCells);
    EXPECT_EQ(GetCellHidingMode4D(), kCellHidingBack);
    const int one = ModelPixels(DrawAndRead(mPane));
    RunCommand(kCmdHideBackCells);
    EXPECT_EQ(GetCellHidingMode4D(), kCellHidingNone);
    const int eight = ModelPixels(DrawAndRead(mPane));
    EXPECT_GT(one, 0);
    EXPECT_LT(one, seven);
    EXPECT_GT(eight, seven);

    // Growing the cells covers more of the pane.
    GetSceneParameters().shrink4D = 0.6;
    EXPECT_GT(ModelPixels(DrawAndRead(mPane)), eight);
}

TEST_F(Polytope4DPaneTest, ShiftClickOnTheFarCubeSelectsIt)
{
    Cell4D* far = CellFacing(false);
    ASSERT_NE(far, nullptr);
    DrawAndRead(mPane);
    // The middle of the far cube's face that is turned most towards the camera: far cells project
    // about the origin, shrunk by 0.3.
    const Poly* poly = GetCurrentPoly();
    const double m = Calc4DProjectionScale(mPane->GetViewRadius(0)) * poly->mDisplayScale;
    Vec3D best{0, 0, 0};
    for (int i = 0; i < far->mNumFaces; ++i)
    {
        Vec4D centre;
        far->mFaces[i]->GetCentre(centre);
        Vec3D q;
        mPane->Project4DPoint(q, centre, m, Polytope());
        if (q.x + q.y + q.z > best.x + best.y + best.z)
            best = q;
    }
    Vec3D shrunk, window;
    Vec3Scale(shrunk, best, GetSceneParameters().shrink4D);
    mPane->ProjectToWindow(window, shrunk);
    const wxPoint onFar(int(std::lround(window.x)), int(std::lround(window.y)));
    wxUIActionSimulator sim;
    sim.MouseMove(mPane->GetCanvas()->ClientToScreen(onFar));
    Pump();
    sim.KeyDown(WXK_SHIFT);
    Pump();
    sim.MouseClick(wxMOUSE_BTN_LEFT);
    EXPECT_TRUE(PumpEventsUntil([&] { return GetSelection4D().mCell == far; })) << "the click selected no cell";
    sim.KeyUp(WXK_SHIFT);
    Pump();
    char expected[96];
    std::snprintf(expected, sizeof expected, "Selected base cell %d (type 1, 6-hedron)", Cell4D::GetNumber(far));
    EXPECT_EQ(mScripted.services.statusText, expected);

    // In Identification Mode the status bar names the cell.
    CPolyView::SetMouseMode(kMouseModeIdentify);
    const std::string text = mPane->IdentifyAt(onFar.x, onFar.y);
    EXPECT_NE(text.find("base-cell " + std::to_string(Cell4D::GetNumber(far)) + ","), std::string::npos) << text;
}

TEST_F(Polytope4DPaneTest, WholeCellsAlternateBetweenTheTwoCellsOfAFace)
{
    SetCellHidingMode4D(kCellHidingNone);
    GetSceneParameters().shrink4D = 1.0;
    DrawAndRead(mPane);
    // A point a little off the middle lies on the near cube's face, between it and a side cube.
    const wxPoint at(Middle().x + 3, Middle().y + 2);
    Pick(kPickAnything, at);
    Cell4D* first = GetSelection4D().mCell;
    ASSERT_NE(first, nullptr);
    Pick(kPickAnything, at);
    Cell4D* second = GetSelection4D().mCell;
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    bool shareFace = false;
    for (int i = 0; i < first->mNumFaces; ++i)
        shareFace = shareFace || second->HasFace(first->mFaces[i]);
    EXPECT_TRUE(shareFace);
    Pick(kPickAnything, at);
    EXPECT_EQ(GetSelection4D().mCell, first);
}

TEST_F(Polytope4DPaneTest, ShiftRightClickNearAVertexSelectsIt)
{
    SetCellHidingMode4D(kCellHidingNone);
    DrawAndRead(mPane);
    // A corner of the near cube, drawn largest.
    Cell4D* nearCell = CellFacing(true);
    ASSERT_NE(nearCell, nullptr);
    // Its corner farthest from the middle on the screen stands alone there.
    Vert4D* vert = nullptr;
    double farthest = -1.0;
    for (int i = 0; i < nearCell->mNumVerts; ++i)
    {
        const wxPoint p = ClientPixel(nearCell->mVerts[i]->mPos);
        const double d = std::hypot(p.x - Middle().x, p.y - Middle().y);
        if (d > farthest)
        {
            farthest = d;
            vert = nearCell->mVerts[i];
        }
    }
    ASSERT_NE(vert, nullptr);
    wxPoint at = ClientPixel(vert->mPos);
    at.x += 2;
    at.y += 1;
    wxUIActionSimulator sim;
    sim.MouseMove(mPane->GetCanvas()->ClientToScreen(at));
    Pump();
    sim.KeyDown(WXK_SHIFT);
    Pump();
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(PumpEventsUntil([&] { return GetSelection4D().mVert == vert; })) << "no vertex selected";
    sim.KeyUp(WXK_SHIFT);
    Pump();
}

TEST_F(Polytope4DPaneTest, ProjectionCommandsTurnAndProjectThePane)
{
    Polytope4D* p = Polytope();
    ASSERT_NE(p, nullptr);
    Vert4D* vert = p->GetCurrentVert(true);
    ASSERT_NE(vert, nullptr);
    RunCommand(kCmdProjectVertexFirst);
    Vec4D d = vert->mPos;
    Vec4Div(d, Vec4Length(d));
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(mPane->GetRotation4D().At(3, k), d[k], 1e-12);

    RunCommand(kCmdProjection4DOrthogonal);
    EXPECT_TRUE(mPane->IsOrthogonal4D());
    RunCommand(kCmdProjection4DSameAs3D);
    EXPECT_EQ(mPane->IsOrthogonal4D(), mPane->IsOrthogonal());
    RunCommand(kCmdProjection4DPerspective);
    EXPECT_FALSE(mPane->IsOrthogonal4D());
}

TEST_F(Polytope4DPaneTest, TumbleDragsTurnThroughAVertexAndWidenTheView)
{
    Polytope4D* p = Polytope();
    ASSERT_NE(p, nullptr);
    const double eye = GetEyeDistance4D();
    mPane->DragFieldOfView4D(0.0f, 20.0f);
    EXPECT_NEAR(GetEyeDistance4D(), (eye - 1.0) * std::pow(1.008, 20.0) + 1.0, 1e-12);
    char expected[64];
    std::snprintf(expected, sizeof expected, "4D projection FOV: %.1f degrees", GetFieldOfView4D());
    EXPECT_EQ(mScripted.services.statusText, expected);
    SetEyeDistance4D(eye);

    // Away from the model nothing is picked: the current vertex is turned through.
    Vert4D* vert = p->GetCurrentVert(true);
    ASSERT_NE(vert, nullptr);
    mPane->StartTurnThrough4D(63, 2, 2);
    Vec4D turned = vert->mPos;
    mPane->GetRotation4D().TransformInPlace(turned);
    turned.w = 0.0;
    Vec4Div(turned, Vec4Length(turned));
    EXPECT_TRUE(Vec4Equal(mPane->GetRotateThrough4DThrow().GetDirection(), turned, 1e-9));
}
