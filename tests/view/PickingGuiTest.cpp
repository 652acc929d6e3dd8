// Clicking on the model as the user does, through the window system's pointer and keyboard: Shift+click
// selects and highlights a face, N selects nothing, Shift+right-click selects a vertex, and in the
// Color/Hide Faces mode Shift+click paints a face type like the selected face in one undo step.

#include "PaneFixture.h"
#include "document/UndoList.h"
#include "kernel/Transform3D.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "view/Picking.h"

#include <wx/app.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include <cmath>
#include <string>

namespace
{
class PickingGuiTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mPane = Pane(0);
        ASSERT_NE(mPane, nullptr);
        mPane->Activate(true);
        mPane->SetViewType(kViewTypePoly, false);
        CPolyView::SetMouseMode(kMouseModeSelect);
    }

    void TearDown() override
    {
        if (!IsSkipped())
            CPolyView::SetMouseMode(kMouseModeSelect);
        PaneFixture::TearDown();
    }

    void LookAt(const Vec3D& point)
    {
        Transform3D camera;
        mPane->GetCameraTransform(camera);
        const double distance = Vec3Length(camera.t);
        Vec3D back = point;
        Vec3Normalize(back);
        Vec3D up{0.0, 1.0, 0.0};
        if (std::fabs(Vec3Dot(up, back)) > 0.9)
            up = Vec3D{1.0, 0.0, 0.0};
        Vec3D right;
        Vec3Cross(right, up, back);
        Vec3Normalize(right);
        Vec3Cross(up, back, right);
        camera.m.SetColumns(right, up, back);
        Vec3Scale(camera.t, back, distance);
        mPane->SetCameraTransform(camera);
        DrawAndRead(mPane);
    }

    // The pane's client pixel of a model point (y down), and its place on the screen.
    wxPoint ClientPixel(const Poly& poly, const Vec3D& p)
    {
        Vec3D q, w;
        Vec3Scale(q, p, poly.mDisplayScale);
        mPane->ProjectToWindow(w, q);
        return wxPoint(int(std::lround(w.x)), int(std::lround(w.y)));
    }
    wxPoint Screen(wxPoint client) { return mPane->GetCanvas()->ClientToScreen(client); }

    // A click with a modifier held, as the keyboard and pointer give it.
    void ClickWith(int key, wxPoint client, int button, const std::function<bool()>& done)
    {
        wxUIActionSimulator sim;
        sim.MouseMove(Screen(client));
        Pump();
        sim.KeyDown(key);
        Pump();
        sim.MouseDown(button);
        sim.MouseUp(button);
        EXPECT_TRUE(PumpEventsUntil(done)) << "the click did not act";
        sim.KeyUp(key);
        Pump();
        // Away from the model, so that a later click is no double click.
        sim.MouseMove(Screen(wxPoint(4, 4)));
        Pump();
    }

    CPolyView* mPane = nullptr;
};

int Brightness(const PaneFrame& frame, wxPoint client)
{
    const unsigned char* p = frame.At(client.x, frame.height - 1 - client.y);
    return p[0] + p[1] + p[2];
}
}  // namespace

TEST_F(PickingGuiTest, ShiftClickSelectsAFaceNClearsItShiftRightClickSelectsAVertex)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    FaceVert* face = poly->mFaces.GetNth(5);
    LookAt(face->mCentre);
    const wxPoint centre = ClientPixel(*poly, face->mCentre);
    const int before = Brightness(DrawAndRead(mPane), centre);

    ClickWith(WXK_SHIFT, centre, wxMOUSE_BTN_LEFT, [&] { return poly->mSelectedFace == face; });
    EXPECT_EQ(poly->mSelectedFace, face);
    EXPECT_NE(mScripted.services.statusText.find("Selected base face 6"), std::string::npos)
        << mScripted.services.statusText;
    // The highlight lightens the face.
    const PaneFrame highlighted = DrawAndRead(mPane);
    EXPECT_GT(Brightness(highlighted, centre), before + 30);

    // The menus take the selection at the next idle time, as in the running program.
    wxTheApp->ProcessIdle();
    wxUIActionSimulator sim;
    sim.Char('n');
    EXPECT_TRUE(PumpEventsUntil([&] { return poly->mSelectedFace == nullptr; })) << "N did not clear the selection";
    EXPECT_LE(std::abs(Brightness(DrawAndRead(mPane), centre) - before), 6);

    // Two pixels beside a corner of the face.
    const FaceVert* corner = face->mNeighbours[0];
    wxPoint near = ClientPixel(*poly, corner->mPoint);
    near.x += 2;
    near.y += 1;
    ClickWith(WXK_SHIFT, near, wxMOUSE_BTN_RIGHT, [&] { return poly->mSelectedFace == corner; });
    EXPECT_EQ(poly->mSelectedFace, corner);
    EXPECT_TRUE(poly->mSelectedFace && poly->mSelectedFace->IsVert());
}

TEST_F(PickingGuiTest, PaintingColoursAFaceTypeInOneUndoStep)
{
    Poly* poly = OpenModel("Cuboctahedron");
    ASSERT_NE(poly, nullptr);
    FaceVert* triangle = nullptr;
    FaceVert* square = nullptr;
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        if (f->mNumSides == 3 && !triangle)
            triangle = f;
        if (f->mNumSides == 4 && !square)
            square = f;
    }
    ASSERT_TRUE(triangle && square);
    poly->SelectElement(triangle, false);
    const ColorRGB paint{0.8f, 0.2f, 0.4f};
    triangle->mColor = paint;
    triangle->mBackColor = paint;
    std::vector<ColorRGB> colors;
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        colors.push_back(f->mColor);
    const int steps = GetUndoStepCount();

    RunCommand(kCmdModeColorFaces);
    ASSERT_EQ(GetMouseMode(), kMouseModeColorFaces);
    LookAt(square->mCentre);
    ClickWith(WXK_SHIFT, ClientPixel(*poly, square->mCentre), wxMOUSE_BTN_LEFT,
              [&] { return square->mColor.r == paint.r; });
    EXPECT_EQ(GetUndoStepCount(), steps + 1);
    int painted = 0;
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        const bool same = f->mColor.r == paint.r && f->mColor.g == paint.g && f->mColor.b == paint.b;
        if (f->mNumSides == 4)
        {
            EXPECT_TRUE(same) << "square " << f->mIndex;
            painted += same;
        }
        else if (f != triangle)
        {
            EXPECT_EQ(f->mColor.r, colors[size_t(f->mIndex)].r) << "triangle " << f->mIndex;
        }
    }
    EXPECT_EQ(painted, 6);

    // Ctrl+Z from the keyboard brings every colour back.
    wxTheApp->ProcessIdle();
    wxUIActionSimulator sim;
    sim.Char('z', wxMOD_CONTROL);
    EXPECT_TRUE(PumpEventsUntil([&] { return GetUndoStepCount() == steps || square->mColor.r != paint.r; }));
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_NEAR(f->mColor.r, colors[size_t(f->mIndex)].r, 1.0 / 255) << f->mIndex;
        EXPECT_NEAR(f->mColor.g, colors[size_t(f->mIndex)].g, 1.0 / 255) << f->mIndex;
        EXPECT_NEAR(f->mColor.b, colors[size_t(f->mIndex)].b, 1.0 / 255) << f->mIndex;
    }
}

TEST_F(PickingGuiTest, TheModeItemsAndSelectNoneFollowTheirState)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    const auto enabled = [this](int id) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(update);
        return update.GetEnabled();
    };
    EXPECT_FALSE(enabled(kCmdSelectNone));
    poly->SelectElement(poly->mFaces.mFirst, false);
    EXPECT_TRUE(enabled(kCmdSelectNone));
    RunCommand(kCmdSelectNone);
    EXPECT_EQ(poly->mSelectedFace, nullptr);
    EXPECT_FALSE(enabled(kCmdSelectNone));

    RunCommand(kCmdModeIdentify);
    EXPECT_EQ(GetMouseMode(), kMouseModeIdentify);
    EXPECT_NE(mPane->GetMessage().find("IDENTIFICATION MODE"), std::string::npos);
    wxUpdateUIEvent check(kCmdModeIdentify);
    check.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(check);
    EXPECT_TRUE(check.GetChecked());
    RunCommand(kCmdModeSelect);
    EXPECT_EQ(GetMouseMode(), kMouseModeSelect);
}

TEST_F(PickingGuiTest, FacetingModeDrawsAFacetThroughTheVerticesClicked)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    CPolyView::SetMouseMode(kMouseModeFaceting);
    const FaceVert* face = poly->mFaces.GetNth(5);
    LookAt(face->mCentre);
    const Polygon3D* drawn = poly->mCurrentDrawnPolygon;
    const auto points = [&] { return RingCount(drawn->mRing); };
    for (int k = 0; k < 3; ++k)
    {
        const wxPoint corner = ClientPixel(*poly, face->mNeighbours[size_t(k)]->mPoint);
        ClickWith(WXK_SHIFT, corner, wxMOUSE_BTN_LEFT, [&] { return points() == k + 1; });
    }
    ASSERT_EQ(points(), 3);
    // The last corner again takes it back; then it goes in once more.
    const wxPoint last = ClientPixel(*poly, face->mNeighbours[2]->mPoint);
    ClickWith(WXK_SHIFT, last, wxMOUSE_BTN_LEFT, [&] { return points() == 2; });
    ClickWith(WXK_SHIFT, last, wxMOUSE_BTN_LEFT, [&] { return points() == 3; });
    // Shift+right-click accepts the facet: it joins the list and a new polygon is begun.
    ClickWith(WXK_SHIFT, ClientPixel(*poly, face->mCentre), wxMOUSE_BTN_RIGHT,
              [&] { return ListCount(poly->mFirstDrawnPolygon) == 2; });
    EXPECT_EQ(poly->mFirstDrawnPolygon, drawn);
    EXPECT_EQ(poly->mCurrentDrawnPolygon->mRing, nullptr);
}
