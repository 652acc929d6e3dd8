// Picking in the model pane, checked against the geometry: the face a pick returns is the first one
// the pick ray meets, points and edges win over the faces they lie on, identification names what is
// under the point, and the title-bar button makes the dual the base model.

#include "PaneFixture.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "model/CreatePoly.h"
#include "model/SimplePoly.h"
#include "kernel/Transform3D.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "view/Picking.h"
#include "view/TitleButtons.h"
#include "support/ModelUndoByCopy.h"

#include <cmath>
#include <limits>
#include <string>

namespace
{
class PickingTest : public PaneFixture
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

    // Turns the camera about the origin so that it looks at the point, and draws a frame.
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

    // The client pixel (y down) where a model point shows.
    wxPoint ClientPixel(const Vec3D& p)
    {
        Vec3D w;
        mPane->ProjectToWindow(w, p);
        return wxPoint(int(std::lround(w.x)), int(std::lround(w.y)));
    }

    Vec3D Drawn(const Poly& poly, const Vec3D& p) const
    {
        Vec3D q;
        Vec3Scale(q, p, poly.mDisplayScale);
        return q;
    }

    PickResult Pick(int request, wxPoint at, bool precise)
    {
        PickRequest r;
        r.kind = request;
        r.x = at.x;
        r.y = at.y;
        r.precise = precise;
        PickResult result;
        mPane->PickAt(r, &result);
        return result;
    }

    CPolyView* mPane = nullptr;
};

// The first face of the model that the ray meets (nonzero winding inside each face), or null.
const FaceVert* FirstFaceOnRay(const Poly& poly, const Vec3D& origin, const Vec3D& direction)
{
    const FaceVert* best = nullptr;
    double bestT = std::numeric_limits<double>::max();
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        std::vector<Vec3D> corners;
        for (int i = 0; i < f->mNumSides; ++i)
        {
            Vec3D p;
            Vec3Scale(p, f->mNeighbours[size_t(i)]->mPoint, poly.mDisplayScale);
            corners.push_back(p);
        }
        if (corners.size() < 3)
            continue;
        // The normal of the whole polygon (Newell), robust for stars.
        Vec3D n{0, 0, 0};
        for (size_t i = 0; i < corners.size(); ++i)
        {
            const Vec3D& a = corners[i];
            const Vec3D& b = corners[(i + 1) % corners.size()];
            n.x += (a.y - b.y) * (a.z + b.z);
            n.y += (a.z - b.z) * (a.x + b.x);
            n.z += (a.x - b.x) * (a.y + b.y);
        }
        const double denom = Vec3Dot(n, direction);
        if (std::fabs(denom) < 1e-12)
            continue;
        Vec3D toPlane;
        Vec3Sub(toPlane, corners[0], origin);
        const double t = Vec3Dot(n, toPlane) / denom;
        if (t <= 0.0 || t >= bestT)
            continue;
        Vec3D hit;
        Vec3AddScaled(hit, origin, t, direction);
        // Winding number in the plane, on the axes where the normal is smallest.
        const int drop = std::fabs(n.x) > std::fabs(n.y) ? (std::fabs(n.x) > std::fabs(n.z) ? 0 : 2)
                                                          : (std::fabs(n.y) > std::fabs(n.z) ? 1 : 2);
        const int u = drop == 0 ? 1 : 0;
        const int v = drop == 2 ? 1 : 2;
        double angle = 0.0;
        for (size_t i = 0; i < corners.size(); ++i)
        {
            const Vec3D& a = corners[i];
            const Vec3D& b = corners[(i + 1) % corners.size()];
            const double ax = a[u] - hit[u], ay = a[v] - hit[v], bx = b[u] - hit[u], by = b[v] - hit[v];
            angle += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
        }
        if (std::fabs(angle) > 3.0)
        {
            bestT = t;
            best = f;
        }
    }
    return best;
}
}  // namespace

TEST_F(PickingTest, PreciseFacePicksAreTheFirstFacesThePickRayMeets)
{
    // At the second pane size (the toolbars shown) the middle column of samples lies on the
    // symmetry plane, where faces of the stellated dodecahedron are seen edge-on.
    struct Case
    {
        bool bars;
        const char* name;
    };
    for (const Case c : {Case{false, "Snub Cube"}, Case{false, "Small Stellated Dodecahedron"},
                         Case{true, "Snub Cube"}, Case{true, "Small Stellated Dodecahedron"}})
    {
        const char* name = c.name;
        SCOPED_TRACE(name);
        SCOPED_TRACE(c.bars ? "toolbars shown" : "toolbars hidden");
        if (c.bars)
        {
            for (int bar = 0; bar < kNumMainToolBars; ++bar)
                mFrame->GetDockManager().GetPane(mFrame->GetToolBar(bar)).Show();
            mFrame->GetDockManager().Update();
            Pump();
        }
        Poly* poly = OpenModel(name);
        ASSERT_NE(poly, nullptr);
        DrawAndRead(mPane);
        const int w = mPane->GetWidth(), h = mPane->GetHeight();
        const int step = std::min(w, h) / 24;
        int checked = 0, onModel = 0;
        for (int y = h / 2 - 11 * step; y <= h / 2 + 11 * step; y += step)
            for (int x = w / 2 - 11 * step; x <= w / 2 + 11 * step; x += step)
            {
                // Left out where the face under the pixel changes within 2 pixels.
                const FaceVert* truth = nullptr;
                bool steady = true;
                for (int dy = -2; dy <= 2 && steady; ++dy)
                    for (int dx = -2; dx <= 2 && steady; ++dx)
                    {
                        Vec3D origin, direction;
                        mPane->GetPickRay(origin, direction, x + dx, y + dy);
                        const FaceVert* f = FirstFaceOnRay(*poly, origin, direction);
                        if (dx == -2 && dy == -2)
                            truth = f;
                        else
                            steady = f == truth;
                    }
                if (!steady)
                    continue;
                ++checked;
                onModel += truth != nullptr;
                const PickResult picked = Pick(kPickFacesAndCells, wxPoint(x, y), true);
                if (!truth)
                {
                    EXPECT_EQ(picked.kind, -1) << x << ", " << y;
                    continue;
                }
                ASSERT_EQ(picked.kind, kPickBaseFace) << x << ", " << y;
                EXPECT_EQ(picked.index, truth->mIndex) << x << ", " << y;
                EXPECT_EQ(picked.element, static_cast<const PolyElement*>(truth));
            }
        EXPECT_GT(onModel, 150);
        EXPECT_GT(checked, 250);
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            EXPECT_FALSE(f->mFlags & FaceVert::kHidden) << "face " << f->mIndex << " stayed hidden";
    }
}

TEST_F(PickingTest, PointsWinOverEdgesAndEdgesOverTheFacesTheyBound)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    GetElementDisplayOptions().mShowEdges = true;
    // The face, its first edge and that edge's first vertex, seen from in front of the face.
    const FaceVert* face = poly->mFaces.mFirst;
    LookAt(face->mCentre);
    const Edge* edge = nullptr;
    for (int i = 0; i < poly->mEdges.count && !edge; ++i)
    {
        const auto sides = poly->mEdges[i].GetFaces(false);
        if (sides[0] == face || sides[1] == face)
            edge = &poly->mEdges[i];
    }
    ASSERT_NE(edge, nullptr);
    const FaceVert* vert = edge->GetVerts(false)[0];
    Vec3D middle;
    Vec3Add(middle, edge->GetVerts(false)[0]->mPoint, edge->GetVerts(false)[1]->mPoint);
    Vec3Scale(middle, middle, 0.5);

    const PickResult atVert = Pick(kPickAnything, ClientPixel(Drawn(*poly, vert->mPoint)), true);
    EXPECT_EQ(atVert.kind, kPickBaseVert);
    EXPECT_EQ(atVert.index, vert->mIndex);
    EXPECT_GE(FindGLHit(atVert.hits, kPickBaseFace, face->mIndex), 1) << "the face lies under the vertex";

    const PickResult atEdge = Pick(kPickAnything, ClientPixel(Drawn(*poly, middle)), true);
    EXPECT_EQ(atEdge.kind, kPickBaseEdge);
    EXPECT_EQ(atEdge.index, Edge::GetIndex(edge, poly));

    // In the face's middle: the face, and behind it the face on the far side of the model.
    const PickResult atFace = Pick(kPickAnything, ClientPixel(Drawn(*poly, face->mCentre)), true);
    EXPECT_EQ(atFace.kind, kPickBaseFace);
    EXPECT_EQ(atFace.index, face->mIndex);
    int covered = 0;
    for (size_t i = 1; i < atFace.hits.size(); ++i)
        covered += GetGLSelectionItemType(atFace.hits[i].code) == kPickBaseFace;
    EXPECT_GE(covered, 1);
    for (size_t i = 1; i < atFace.hits.size(); ++i)
        EXPECT_GE(atFace.hits[i].depth, atFace.hits[i - 1].depth);

    // With the larger region a vertex a pixel or two away is still taken.
    wxPoint near = ClientPixel(Drawn(*poly, vert->mPoint));
    near.x += 2;
    EXPECT_EQ(Pick(kPickVertsAndEdges, near, false).kind, kPickBaseVert);
    EXPECT_EQ(Pick(kPickVertsAndEdges, wxPoint(3, 3), false).kind, -1);
}

TEST_F(PickingTest, IdentificationNamesWhatIsUnderThePoint)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    GetElementDisplayOptions().mShowEdges = true;
    const Edge& first = poly->mEdges[0];
    const auto ends = first.GetVerts(false);
    Vec3D middle;
    Vec3Add(middle, ends[0]->mPoint, ends[1]->mPoint);
    Vec3Scale(middle, middle, 0.5);
    LookAt(middle);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Selected  base-edge 1 (vert %d-%d),", ends[0]->mIndex + 1,
                  ends[1]->mIndex + 1);
    EXPECT_EQ(mPane->IdentifyAt(ClientPixel(Drawn(*poly, middle)).x, ClientPixel(Drawn(*poly, middle)).y), expected);
    EXPECT_EQ(mScripted.services.statusText, expected);
    // The library's icosahedron lists its first edge between its first two vertices.
    EXPECT_STREQ(expected, "Selected  base-edge 1 (vert 1-2),");

    const FaceVert* third = poly->mFaces.GetNth(2);
    LookAt(third->mCentre);
    const wxPoint centre = ClientPixel(Drawn(*poly, third->mCentre));
    EXPECT_EQ(mPane->IdentifyAt(centre.x, centre.y), "Selected base-face 3,");
    EXPECT_EQ(mPane->IdentifyAt(2, 2), "Selected nothing");
    EXPECT_EQ(mScripted.services.statusText, "Selected nothing");
    // Identifying selects nothing.
    EXPECT_EQ(poly->mSelectedFace, nullptr);
}

TEST_F(PickingTest, TheMakeBaseButtonOfTheDualPaneMakesTheDualTheModel)
{
    // Undo builds the stored model again, as the program arranges at start-up.
    InstallModelUndoByCopy();
    ClearUndoList();
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    ASSERT_EQ(poly->mFaces.mCount, 20);
    mPane->SetViewType(kViewTypeDual, false);
    EXPECT_TRUE(mPane->OnTitleButton(0, kTitleMakeBase, 0));
    mDocument->FinishAllTransitions();
    poly = GetCurrentPoly();
    EXPECT_EQ(poly->mVerts.mCount, 20);
    EXPECT_EQ(poly->mEdges.count, 30);
    EXPECT_EQ(poly->mFaces.mCount, 12);
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(f->mNumSides, 5);

    UndoList::Undo();
    mDocument->FinishAllTransitions();
    poly = GetCurrentPoly();
    EXPECT_EQ(poly->mFaces.mCount, 20);
    EXPECT_EQ(poly->mVerts.mCount, 12);
    ASSERT_NE(NewView::GetActiveView(), nullptr);
    EXPECT_EQ(NewView::GetActiveView()->GetMessage(), "Undid Convert to Base Model");
    ClearUndoList();
    WholeModelUndo::SetModelFunctions(nullptr, nullptr);
}

TEST_F(PickingTest, SizingInfiniteFacesNeedsAnInfiniteDual)
{
    ASSERT_NE(OpenModel("3.3.3.3.3"), nullptr);
    const double before = InfiniteFaceSize();
    mPane->SizeInfiniteFaces(10.0f, 0.0f);
    EXPECT_EQ(mPane->GetMessage(), "That operation requires an infinite dual model.");
    EXPECT_EQ(InfiniteFaceSize(), before);

    ASSERT_NE(OpenModel("Octahemioctahedron"), nullptr);
    ASSERT_TRUE(DualIsInfinite(*GetCurrentPoly()));
    NewView::ClearMessage(mPane);
    mPane->SizeInfiniteFaces(30.0f, 10.0f);
    EXPECT_NEAR(InfiniteFaceSize(), before + 0.1, 1e-12);
    EXPECT_EQ(mPane->GetMessage(), "");
    mPane->SizeInfiniteFaces(0.0f, 1000.0f);
    EXPECT_EQ(InfiniteFaceSize(), 0.0);
    InfiniteFaceSize() = before;
}
