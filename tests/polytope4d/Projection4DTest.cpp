#include "Polytope4DFixtures.h"
#include "RegularPolytopes4D.h"

#include "kernel/RecordingSceneDrawer.h"
#include "kernel/SceneParameters.h"
#include "kernel/Tolerance.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Projection4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Keeps the eye distance and the shrink of the cells as they were.
class Projection4DTest : public Polytope4DTestBase
{
protected:
    void SetUp() override
    {
        Polytope4DTestBase::SetUp();
        mEye = GetEyeDistance4D();
        mShrink = GetSceneParameters().shrink4D;
    }
    void TearDown() override
    {
        SetEyeDistance4D(mEye);
        GetSceneParameters().shrink4D = mShrink;
        Polytope4DTestBase::TearDown();
    }

private:
    double mEye = 1.1;
    double mShrink = 0.3;
};

std::unique_ptr<Polytope4D> FinishedFrom(const PolytopeSpec4D& spec)
{
    auto p = std::make_unique<Polytope4D>();
    AddSpec(*p, spec);
    if (!p->FinishPolytope())
        return nullptr;
    return p;
}

// The tesseract with corners (+-1/2)^4: circumradius 1, cells at distance 1/2 along the axes.
std::unique_ptr<Polytope4D> Tesseract()
{
    return FinishedFrom(TesseractSpec(0.5, false));
}

// The cell whose outward normal is the given axis direction.
Cell4D* CellAlong(Polytope4D& p, const Vec4D& normal)
{
    for (Element4D* e = p.mFirstCell; e; e = e->next)
    {
        Cell4D* cell = Element4D::AsCell(e);
        if (Vec4Equal(cell->mPlane.n, normal, 1e-9))
            return cell;
    }
    return nullptr;
}

double ExtentX(const View4D& view, const Cell4D* cell, double a, const Polytope4D* p)
{
    double lo = 1e99, hi = -1e99;
    for (int i = 0; i < cell->mNumVerts; ++i)
    {
        Vec3D q;
        Project4DPoint(view, q, cell->mVerts[i]->mPos, a, p);
        lo = std::min(lo, q.x);
        hi = std::max(hi, q.x);
    }
    return hi - lo;
}
}  // namespace

TEST_F(Projection4DTest, ProjectionScaleFollowsTheEyeDistance)
{
    SetEyeDistance4D(1.1);
    EXPECT_NEAR(Calc4DProjectionScale(1.0), std::sqrt(0.21), 1e-12);
    EXPECT_NEAR(Calc4DProjectionScale(2.5), 2.5 * 0.458257569495584, 1e-12);
    SetEyeDistance4D(5e-8);
    EXPECT_EQ(Calc4DProjectionScale(2.5), 1.0);
}

TEST_F(Projection4DTest, CellFirstTesseractShowsTheNestedCubes)
{
    std::unique_ptr<Polytope4D> p = Tesseract();
    ASSERT_TRUE(p);
    SetEyeDistance4D(1.1);
    View4D view;  // looking down the w axis: the cell at w = 1/2 is the near one
    const double a = Calc4DProjectionScale(view.radius);
    Cell4D* nearCell = CellAlong(*p, Vec4D{0, 0, 0, 1});
    Cell4D* farCell = CellAlong(*p, Vec4D{0, 0, 0, -1});
    ASSERT_TRUE(nearCell && farCell);

    // Corner (1/2)^4 seen from w = 1.1: x = 1/2 sqrt(0.21) / 0.6; the far corner divides by 1.6.
    Vec3D q;
    const double factor = Project4DPoint(view, q, Vec4D{0.5, 0.5, 0.5, 0.5}, a, p.get());
    EXPECT_NEAR(factor, std::sqrt(0.21) / 0.6, 1e-12);
    EXPECT_NEAR(q.x, 0.5 * std::sqrt(0.21) / 0.6, 1e-12);
    EXPECT_NEAR(q.z, q.x, 1e-12);
    Project4DPoint(view, q, Vec4D{-0.5, 0.5, -0.5, -0.5}, a, p.get());
    EXPECT_NEAR(q.x, -0.5 * std::sqrt(0.21) / 1.6, 1e-12);
    EXPECT_NEAR(q.y, 0.5 * std::sqrt(0.21) / 1.6, 1e-12);
    EXPECT_NEAR(ExtentX(view, nearCell, a, p.get()) / ExtentX(view, farCell, a, p.get()), 8.0 / 3.0, 1e-12);

    // A sphere of the view radius has its outline at the view radius in both projections.
    view.radius = 2.0;
    const double a2 = Calc4DProjectionScale(view.radius);
    const double w = 1.0 / 1.1;  // where a ray from the eye touches the sphere, in its radii
    Project4DPoint(view, q, Vec4D{2.0 * std::sqrt(1.0 - w * w), 0, 0, 2.0 * w}, a2, nullptr);
    EXPECT_NEAR(q.x, 2.0, 1e-12);
    view.orthogonal = true;
    Project4DPoint(view, q, Vec4D{2.0, 0, 0, 0.3}, a2, nullptr);
    EXPECT_NEAR(q.x, 2.0, 1e-12);
}

TEST_F(Projection4DTest, FrontAndBackCellsUnderEachHidingMode)
{
    std::unique_ptr<Polytope4D> p = Tesseract();
    ASSERT_TRUE(p);
    SetEyeDistance4D(1.1);
    View4D perspective;
    View4D orthogonal;
    orthogonal.orthogonal = true;
    const Cell4D* nearCell = CellAlong(*p, Vec4D{0, 0, 0, 1});
    const Cell4D* farCell = CellAlong(*p, Vec4D{0, 0, 0, -1});
    const Cell4D* side = CellAlong(*p, Vec4D{1, 0, 0, 0});
    ASSERT_TRUE(nearCell && farCell && side);
    EXPECT_EQ(CellFacing4D(perspective, nearCell), 1);
    EXPECT_EQ(CellFacing4D(perspective, farCell), -1);
    EXPECT_EQ(CellFacing4D(perspective, side), -1);
    EXPECT_EQ(CellFacing4D(orthogonal, side), 0);  // edge-on

    struct ModeCase
    {
        const char* name;
        std::vector<int> toggles;
        int mode;
        bool nearShown, farShown;
    };
    const ModeCase kCases[] = {
        {"start: front hidden", {}, kCellHidingFront, false, true},
        {"back once", {kCellHidingBack}, kCellHidingBack, true, false},
        {"back twice shows all", {kCellHidingBack, kCellHidingBack}, kCellHidingNone, true, true},
        {"back then front", {kCellHidingBack, kCellHidingFront}, kCellHidingFront, false, true},
        {"front toggled off", {kCellHidingFront}, kCellHidingNone, true, true},
    };
    for (const ModeCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SetCellHidingMode4D(kCellHidingFront);
        for (int t : c.toggles)
            ToggleCellHidingMode4D(t);
        EXPECT_EQ(GetCellHidingMode4D(), c.mode);
        EXPECT_EQ(IsCellShown4D(perspective, nearCell, true), c.nearShown);
        EXPECT_EQ(IsCellShown4D(perspective, farCell, true), c.farShown);
        // Edge-on side cells of the orthogonal view take the caller's answer, whatever the mode.
        EXPECT_TRUE(IsCellShown4D(orthogonal, side, true));
        EXPECT_FALSE(IsCellShown4D(orthogonal, side, false));
    }
    // Seven cells drawn at start: the near cell alone is left out.
    SetCellHidingMode4D(kCellHidingFront);
    p->MarkShownCells(perspective, true);
    int shown = 0;
    for (Element4D* e = p->mFirstCell; e; e = e->next)
        shown += (e->mFlags & Element4D::kCellNotShown) ? 0 : 1;
    EXPECT_EQ(shown, 7);
    EXPECT_TRUE(nearCell->mFlags & Element4D::kCellNotShown);
}

TEST_F(Projection4DTest, DirectionRotationsAreOrthonormalWithTheDirectionLast)
{
    const Vec4D kDirections[] = {{0, 0, 0, 1}, {1, 0, 0, 0}, {0, -1, 0, 0}, {1, 2, 3, 4}, {-0.3, 0.1, 0.9, -0.2},
                                 {0.5, 0.5, 0.5, 0.5}};
    for (Vec4D d : kDirections)
    {
        Vec4Div(d, Vec4Length(d));
        SCOPED_TRACE(std::to_string(d.x) + " " + std::to_string(d.y) + " " + std::to_string(d.z) + " " +
                     std::to_string(d.w));
        Mat4 r;
        DirectionRotation4D(r, d);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
            {
                double dot = 0.0;
                for (int k = 0; k < 4; ++k)
                    dot += r.At(i, k) * r.At(j, k);
                EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-12);
            }
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(r.At(3, k), d[k], 1e-12);
        // The direction itself is turned onto the fourth axis, towards the viewer.
        Vec4D turned;
        r.Transform(turned, d);
        EXPECT_NEAR(turned.w, 1.0, 1e-12);
    }
}

TEST_F(Projection4DTest, FirstDirectionPresets)
{
    Polytope4D p;
    Vec4D pos{0, 0, 0, 2};
    p.mCurrentVert = p.NewVert(&pos);
    Vec4D d;
    ASSERT_TRUE(p.GetVertexFirstDirection(d));
    EXPECT_TRUE(Vec4Equal(d, Vec4D{0, 0, 0, 1}, 1e-12));

    std::unique_ptr<Polytope4D> t = Tesseract();
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->GetCellFirstDirection(d));
    EXPECT_TRUE(Vec4Equal(d, t->GetCurrentCell(true)->mPlane.n, 1e-12));
    // A square's plane passes at distance sqrt(1/2) along the sum of two axes.
    ASSERT_TRUE(t->GetFaceFirstDirection(d));
    int halves = 0;
    for (int k = 0; k < 4; ++k)
        halves += std::fabs(std::fabs(d[k]) - std::sqrt(0.5)) < 1e-12 ? 1 : 0;
    EXPECT_EQ(halves, 2);
    ASSERT_TRUE(t->GetEdgeFirstDirection(d));
    EXPECT_NEAR(Vec4Length(d), 1.0, 1e-12);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(std::fabs(d[k]) < 1e-12 || std::fabs(std::fabs(d[k]) - 1.0 / std::sqrt(3.0)) < 1e-12);
}

TEST_F(Projection4DTest, AutomaticDirectionTakesTheRarerKind)
{
    // The tesseract has 8 cells and 16 vertices: it is seen cell first.
    std::unique_ptr<Polytope4D> t = Tesseract();
    ASSERT_TRUE(t);
    Vec4D d;
    t->GetAutoProjectionDirection(d, false);
    EXPECT_TRUE(CellAlong(*t, d) != nullptr);

    // The 16-cell has 16 cells and 8 vertices: it is seen vertex first.
    std::unique_ptr<Polytope4D> c = FinishedFrom(TriangleSpec4D(CrossPolytopeVerts4D(), std::sqrt(2.0), false));
    ASSERT_TRUE(c);
    ASSERT_EQ(c->mNumVerts, 8);
    ASSERT_EQ(c->mNumCells, 16);
    c->GetAutoProjectionDirection(d, false);
    bool isVertex = false;
    for (Element4D* e = c->mFirstVert; e; e = e->next)
    {
        Vec4D v = Element4D::AsVert(e)->mPos;
        Vec4Div(v, Vec4Length(v));
        isVertex = isVertex || Vec4Equal(v, d, 1e-9);
    }
    EXPECT_TRUE(isVertex);

    // Without types there is nothing to choose from.
    Polytope4D empty;
    empty.GetAutoProjectionDirection(d, false);
    EXPECT_TRUE(Vec4Equal(d, Vec4D{1, 0, 0, 0}, 0.0));
}

TEST_F(Projection4DTest, CylinderOrientationIsDefinedForEveryEdge)
{
    struct EdgeCase
    {
        const char* name;
        Vec3D p0, p1;
    };
    const EdgeCase kCases[] = {
        {"pointing at the origin", {0.2, 0.4, 0.6}, {0.4, 0.8, 1.2}},
        {"through the origin", {-1, 0, 0}, {2, 0, 0}},
        {"ending at the origin", {0.5, 0.5, 0}, {0, 0, 0}},
        {"no length", {0.3, 0.3, 0.3}, {0.3, 0.3, 0.3}},
        {"off the origin", {1, 0, 0}, {0, 1, 0}},
    };
    for (const EdgeCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Vec3D u;
        CylinderOrientation4D(u, c.p0, c.p1);
        ASSERT_TRUE(std::isfinite(u.x) && std::isfinite(u.y) && std::isfinite(u.z));
        EXPECT_NEAR(Vec3Length(u), 1.0, 1e-12);
        Vec3D d;
        Vec3Sub(d, c.p1, c.p0);
        EXPECT_NEAR(Vec3Dot(u, d), 0.0, 1e-12);
    }
    // Off the origin it lies in the plane of the origin and the edge, towards the origin's side.
    Vec3D u;
    CylinderOrientation4D(u, Vec3D{1, 0, 0}, Vec3D{0, 1, 0});
    EXPECT_NEAR(u.z, 0.0, 1e-12);
    EXPECT_NEAR(std::fabs(u.x), std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(std::fabs(u.y), std::sqrt(0.5), 1e-12);
}

TEST_F(Projection4DTest, FieldOfViewDragStopsAtItsLimits)
{
    SetEyeDistance4D(1.1);
    EXPECT_NEAR(GetFieldOfView4D(), 2.0 * std::asin(1.0 / 1.1) * 180.0 / kPi, 1e-12);
    DragEyeDistance4D(10.0);
    EXPECT_NEAR(GetEyeDistance4D(), 0.1 * std::pow(1.008, 10.0) + 1.0, 1e-12);
    DragEyeDistance4D(1e5);
    EXPECT_NEAR(GetFieldOfView4D(), 0.1, 1e-9);
    DragEyeDistance4D(-1e5);
    EXPECT_NEAR(GetFieldOfView4D(), 178.0, 1e-9);
    EXPECT_GT(GetEyeDistance4D(), 1.0);
}
