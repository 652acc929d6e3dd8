#include "kernel/DiagramPools.h"
#include "kernel/LoopType.h"
#include "kernel/PlaneTriangulation.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/Tolerance.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const int kOwners[3] = {};
const void* const A = &kOwners[0];
const void* const B = &kOwners[1];
const void* const C = &kOwners[2];

using Points3D = std::vector<Vec3D>;

void FeedContour(PlaneFeeder& feeder, const void* owner, const Points3D& points)
{
    PlaneTriangulation::EndContour(owner, feeder);
    for (const Vec3D& p : points)
        PlaneTriangulation::AddPoint(p, feeder);
}

// The square [x0, x0 + side] x [y0, y0 + side] at height z, counterclockwise seen from +z.
Points3D SquareAt(double x0, double y0, double side, double z)
{
    return {{x0, y0, z}, {x0 + side, y0, z}, {x0 + side, y0 + side, z}, {x0, y0 + side, z}};
}

Vec3D TriangleAreaVector(const Vec3D& a, const Vec3D& b, const Vec3D& c)
{
    Vec3D e1, e2, n;
    Vec3Sub(e1, b, a);
    Vec3Sub(e2, c, a);
    Vec3Cross(n, e1, e2);
    Vec3Scale(n, n, 0.5);
    return n;
}

// The area of a loop type's triangles about the normal: positive for triangles that turn
// counterclockwise about it.
double AreaAbout(const PlaneTriangulation& t, int k, const Vec3D& normal)
{
    const LoopTypeTriangles& tri = t.mLoopTypeTriangles[k];
    double area = 0.0;
    for (int i = 0; i + 2 < tri.mCount; i += 3)
        area += Vec3Dot(TriangleAreaVector(t.mPoints[tri.mIndices[i]], t.mPoints[tri.mIndices[i + 1]],
                                           t.mPoints[tri.mIndices[i + 2]]),
                        normal);
    return area;
}

int FindType(const PlaneTriangulation& t, const void* owner, int count, int ownerCount)
{
    for (int k = 0; k < t.mLoopTypeCount; ++k)
        if (t.mLoopTypes[k].mOwnerCount == ownerCount && OwnerCount(t.mLoopTypes[k], owner) == count)
            return k;
    return -1;
}

struct RecordedTriangle
{
    Vec3D corners[3];
    Vec3D normal;
    float rgba[4];
    unsigned flags;
    int selectionType;
    int selectionIndex;
};

std::vector<RecordedTriangle> Triangles(const RecordingSceneDrawer& drawer)
{
    std::vector<RecordedTriangle> out;
    for (const RecordingSceneDrawer::Call& call : drawer.calls)
    {
        if (call.name != "AddTriangle")
            continue;
        const std::vector<double>& v = call.values;
        RecordedTriangle t;
        for (int c = 0; c < 3; ++c)
            t.corners[c] = Vec3D{v[size_t(3 * c)], v[size_t(3 * c + 1)], v[size_t(3 * c + 2)]};
        t.normal = Vec3D{v[9], v[10], v[11]};
        for (int c = 0; c < 4; ++c)
            t.rgba[c] = float(v[size_t(12 + c)]);
        t.flags = unsigned(v[16]);
        t.selectionType = int(v[17]);
        t.selectionIndex = int(v[18]);
        out.push_back(t);
    }
    return out;
}

double TotalArea(const std::vector<RecordedTriangle>& triangles, const Vec3D& normal)
{
    double area = 0.0;
    for (const RecordedTriangle& t : triangles)
        area += Vec3Dot(TriangleAreaVector(t.corners[0], t.corners[1], t.corners[2]), normal);
    return area;
}

class PlaneTriangulationTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetPolygonFillOptions(); }
    void TearDown() override { GetPolygonFillOptions() = mSaved; }

    // Two overlapping squares of side 2 at z = 1, A's on [0, 2] and B's on [1, 3] in x, for owners
    // of kind 1.
    void FeedOverlap(PlaneTriangulation& result, PlaneFeeder& feeder)
    {
        const Vec3D up{0, 0, 1};
        result.Begin(up, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
        FeedContour(feeder, A, SquareAt(0, 0, 2, 1));
        FeedContour(feeder, B, SquareAt(1, 0, 2, 1));
        ASSERT_TRUE(FinishTriangulation(result, feeder, 0));
        ASSERT_EQ(result.mLoopTypeCount, 3);
    }

    PolygonFillOptions mSaved;
    DiagramWorkPools mWork;
    TestOwners mOwners;
};

TEST_F(PlaneTriangulationTest, BeginDropsTheLargestAxisAndKeepsTheTurnSeenFromTheNormal)
{
    struct Case
    {
        const char* name;
        Vec3D normal;
        int axis, u, v;
    };
    const Case kCases[] = {
        {"up", {0, 0, 1}, 2, 0, 1},
        {"down: (y, x)", {0, 0, -1}, 2, 1, 0},
        {"x and y tie, y is dropped", {1, 1, 0.5}, 1, 2, 0},
        {"x and y tie downwards", {-1, -1, 0.5}, 1, 0, 2},
        {"along -x", {-3, 1, 1}, 0, 2, 1},
        {"along +x", {3, -1, 1}, 0, 1, 2},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        PlaneTriangulation result;
        PlaneFeeder feeder;
        feeder.owner = A;
        feeder.first = Vec2D{1, 1};
        result.Begin(c.normal, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
        EXPECT_EQ(feeder.axis, c.axis);
        EXPECT_EQ(feeder.u, c.u);
        EXPECT_EQ(feeder.v, c.v);
        EXPECT_EQ(feeder.first.x, kUnsetValue);
        EXPECT_EQ(feeder.owner, nullptr);
        EXPECT_EQ(feeder.diagram.mWorkPools, &mWork);
        EXPECT_EQ(feeder.diagram.mPools, &GetSharedDiagramPools());
        EXPECT_EQ(result.mOwnerKind, kOwnerKindCallbacks);
        EXPECT_EQ(result.mLoopTypeCount, 0);
        EXPECT_EQ(result.mPoints, nullptr);

        // A point (1, 2, 3) projects to its u and v coordinates.
        const Vec3D p{1, 2, 3};
        PlaneTriangulation::AddPoint(p, feeder);
        EXPECT_EQ(feeder.first.x, p[c.u]);
        EXPECT_EQ(feeder.first.y, p[c.v]);
        EXPECT_EQ(feeder.offset, Vec3Dot(c.normal, p));
    }
}

TEST_F(PlaneTriangulationTest, CounterclockwiseFaceOnADownwardPlaneStaysCounterclockwise)
{
    // Seen from below (the normal's side) the square turns counterclockwise: in x and y it runs
    // clockwise.
    const Vec3D down{0, 0, -1};
    const Points3D square = {{0, 0, -2}, {0, 2, -2}, {2, 2, -2}, {2, 0, -2}};
    PlaneTriangulation result;
    PlaneFeeder feeder;
    result.Begin(down, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
    FeedContour(feeder, A, square);
    ASSERT_TRUE(FinishTriangulation(result, feeder, 0));

    ASSERT_EQ(result.mLoopTypeCount, 1);
    ASSERT_EQ(result.mLoopTypes[0].mOwnerCount, 1);
    EXPECT_EQ(OwnerCount(result.mLoopTypes[0], A), 1);
    ASSERT_EQ(result.mPointCount, 4);
    for (int i = 0; i < result.mPointCount; ++i)
    {
        EXPECT_EQ(result.mPoints[i].z, -2.0);
        bool corner = false;
        for (const Vec3D& q : square)
            corner = corner || Vec3Equal(result.mPoints[i], q, 0.0);
        EXPECT_TRUE(corner) << "point " << i;
    }
    // Every triangle turns about the normal, and they cover the square once.
    const LoopTypeTriangles& tri = result.mLoopTypeTriangles[0];
    ASSERT_EQ(tri.mCount, 6);
    for (int i = 0; i < tri.mCount; i += 3)
        EXPECT_GT(Vec3Dot(TriangleAreaVector(result.mPoints[tri.mIndices[i]], result.mPoints[tri.mIndices[i + 1]],
                                             result.mPoints[tri.mIndices[i + 2]]),
                          down),
                  0.0);
    EXPECT_NEAR(AreaAbout(result, 0, down), 4.0, 1e-12);
    // The results live in the work pools given, not the shared ones.
    EXPECT_EQ(PoolUsed(mWork.mPoints3D), 4u);
}

TEST_F(PlaneTriangulationTest, PointsAreLiftedBackIntoATiltedPlane)
{
    Vec3D normal{1, 2, 2};
    Vec3Normalize(normal);
    // A pentagram in the plane normal . p = 3.
    const Vec3D e1{2, -1, 0}, e2{2, 4, -5};  // perpendicular, with e1 x e2 along the normal
    Vec3D centre;
    Vec3Scale(centre, normal, 3.0);
    PlaneTriangulation result;
    PlaneFeeder feeder;
    result.Begin(normal, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
    PlaneTriangulation::EndContour(A, feeder);
    for (const Vec2D& q : StarPolygon(5, 2, 1.0))
    {
        Vec3D p = centre;
        Vec3AddScaledTo(p, q.x / Vec3Length(e1), e1);
        Vec3AddScaledTo(p, q.y / Vec3Length(e2), e2);
        PlaneTriangulation::AddPoint(p, feeder);
    }
    ASSERT_TRUE(FinishTriangulation(result, feeder, 0));
    ASSERT_EQ(result.mPointCount, 10);
    for (int i = 0; i < result.mPointCount; ++i)
        EXPECT_NEAR(Vec3Dot(result.mPoints[i], normal), 3.0, 1e-12);
    ASSERT_EQ(result.mLoopTypeCount, 2);
    const int points = FindType(result, A, 1, 1);
    const int centrePart = FindType(result, A, 2, 1);
    ASSERT_GE(points, 0);
    ASSERT_GE(centrePart, 0);
    // The turn about the normal is kept: the centre has winding 2.
    const double r = (3.0 - std::sqrt(5.0)) / 2.0;
    const double centreArea = 2.5 * r * r * std::sin(2.0 * kPi / 5.0);
    EXPECT_NEAR(AreaAbout(result, centrePart, normal), centreArea, 1e-12);
    EXPECT_NEAR(AreaAbout(result, points, normal), 5.0 * r * std::sin(kPi / 5.0) - centreArea, 1e-12);
}

TEST_F(PlaneTriangulationTest, OnePointContourAddsNoEdge)
{
    PlaneTriangulation result;
    PlaneFeeder feeder;
    result.Begin(Vec3D{0, 0, 1}, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
    FeedContour(feeder, C, {{5, 5, 0}});
    PlaneTriangulation::EndContour(A, feeder);
    EXPECT_EQ(feeder.diagram.PieceCount(), 0);
    EXPECT_EQ(feeder.diagram.VertCount(), 0);

    // A real contour after it comes out alone.
    FeedContour(feeder, A, SquareAt(0, 0, 1, 0));
    FeedContour(feeder, C, {{0.5, 0.5, 0}});
    ASSERT_TRUE(FinishTriangulation(result, feeder, 0));
    ASSERT_EQ(result.mLoopTypeCount, 1);
    EXPECT_EQ(result.mLoopTypes[0].mOwnerCount, 1);
    EXPECT_EQ(OwnerCount(result.mLoopTypes[0], A), 1);
    EXPECT_EQ(result.mPointCount, 4);
}

TEST_F(PlaneTriangulationTest, FeederFinishedWithoutPointsGivesNothingAndResetsTheSharedPools)
{
    PlaneTriangulation result;
    PlaneFeeder feeder;
    result.Begin(Vec3D{0, 0, 1}, &mWork, kOwnerKindCallbacks, &mOwners, feeder);
    // Whatever else took items from the shared pools since is dropped with them.
    ASSERT_NE(GetSharedDiagramPools().mVerts.Alloc(3), nullptr);
    ASSERT_NE(GetSharedDiagramWorkPools().mLoopTypes.Alloc(2), nullptr);
    ASSERT_GT(SharedPoolsUsed(), 0u);
    FinishTriangulation(result, feeder, 0);
    EXPECT_EQ(result.mLoopTypeCount, 0);
    EXPECT_EQ(result.mLoopTypes, nullptr);
    EXPECT_EQ(result.mPointCount, 0);
    EXPECT_EQ(result.mOwnerKind, kOwnerKindCallbacks);
    EXPECT_EQ(SharedPoolsUsed(), 0u);
}

TEST_F(PlaneTriangulationTest, SelectedOnlyDrawingShowsOnlyTheSelectedAreasWhiteAtHalfAlpha)
{
    mOwners[A].color = ColorRGB{1, 0, 0};
    mOwners[B].color = ColorRGB{0, 0, 1};
    mOwners[A].selected = true;
    PlaneTriangulation result;
    PlaneFeeder feeder;
    FeedOverlap(result, feeder);

    const Vec3D up{0, 0, 1};
    const Vec3D offset{0, 0, 0.5};
    RecordingSceneDrawer drawer;
    {
        ScopedSceneDrawer scope(&drawer);
        result.Draw(up, offset, 2.0, false, true, &mOwners);
    }
    const std::vector<RecordedTriangle> selected = Triangles(drawer);
    ASSERT_FALSE(selected.empty());
    // A's square, scaled by 2: the parts B covers alone are left out.
    EXPECT_NEAR(TotalArea(selected, up), 16.0, 1e-12);
    for (const RecordedTriangle& t : selected)
    {
        EXPECT_EQ(t.rgba[0], 1.0f);
        EXPECT_EQ(t.rgba[1], 1.0f);
        EXPECT_EQ(t.rgba[2], 1.0f);
        EXPECT_EQ(t.rgba[3], 0.5f);
        EXPECT_EQ(t.flags, kTriangleDrawNow);
        EXPECT_TRUE(Vec3Equal(t.normal, up, 0.0));
        for (const Vec3D& c : t.corners)
            EXPECT_DOUBLE_EQ(c.z, 3.0);  // (1 + 0.5) x 2
    }
    EXPECT_TRUE(drawer.lighting);  // switched off for the selected areas and on again

    // Everything, in the owners' colours: the union, B's part in blue.
    drawer.calls.clear();
    {
        ScopedSceneDrawer scope(&drawer);
        result.Draw(up, offset, 2.0, false, false, &mOwners);
    }
    const std::vector<RecordedTriangle> all = Triangles(drawer);
    EXPECT_NEAR(TotalArea(all, up), 24.0, 1e-12);
    std::vector<RecordedTriangle> blue;
    for (const RecordedTriangle& t : all)
    {
        EXPECT_EQ(t.flags, 0u);
        if (t.rgba[2] == 1.0f && t.rgba[0] == 0.0f)
            blue.push_back(t);
    }
    EXPECT_NEAR(TotalArea(blue, up), 8.0, 1e-12);
}

TEST_F(PlaneTriangulationTest, PickingNamesEachAreaAfterItsOwnerAndSkipsHiddenOnes)
{
    mOwners[A].index = 7;
    mOwners[B].index = 9;
    mOwners[B].hidden = true;
    PlaneTriangulation result;
    PlaneFeeder feeder;
    FeedOverlap(result, feeder);

    RecordingSceneDrawer drawer;
    drawer.picking = true;
    {
        ScopedSceneDrawer scope(&drawer);
        result.Draw(Vec3D{0, 0, 1}, Vec3D{}, 1.0, true, false, &mOwners);
    }
    const std::vector<RecordedTriangle> picked = Triangles(drawer);
    // B's own part has only a hidden owner; the rest goes to A, the one visible owner.
    EXPECT_NEAR(TotalArea(picked, Vec3D{0, 0, 1}), 4.0, 1e-12);
    for (const RecordedTriangle& t : picked)
    {
        EXPECT_EQ(t.selectionType, PlaneTriangulation::kPickItemType);
        EXPECT_EQ(t.selectionIndex, 7);
        EXPECT_EQ(t.flags, kTriangleDrawNow);
    }
    EXPECT_EQ(drawer.selectionType, -1);  // cleared after each area
}

TEST_F(PlaneTriangulationTest, MappedDrawingTakesTheNormalOfTheFirstMappedTriangle)
{
    PlaneTriangulation result;
    PlaneFeeder feeder;
    FeedOverlap(result, feeder);

    // Turned over about the x axis and moved: the normal of the drawing is -z.
    struct Seen
    {
        std::vector<const void*> owners;
    } seen;
    auto map = [](Vec3D& out, const Vec3D& in, const void* owner, void* data) {
        out = Vec3D{in.x + 10.0, -in.y, -in.z};
        static_cast<Seen*>(data)->owners.push_back(owner);
    };
    RecordingSceneDrawer drawer;
    {
        ScopedSceneDrawer scope(&drawer);
        result.DrawMapped(map, &seen, 1.0, false, false, &mOwners);
    }
    const std::vector<RecordedTriangle> drawn = Triangles(drawer);
    ASSERT_FALSE(drawn.empty());
    for (const RecordedTriangle& t : drawn)
    {
        EXPECT_TRUE(Vec3Equal(t.normal, Vec3D{0, 0, -1}, 1e-12));
        for (const Vec3D& c : t.corners)
        {
            EXPECT_EQ(c.z, -1.0);
            EXPECT_GE(c.x, 10.0);
        }
    }
    EXPECT_NEAR(TotalArea(drawn, Vec3D{0, 0, -1}), 6.0, 1e-12);
    // Each point was mapped with the first owner of its area.
    for (const void* owner : seen.owners)
        EXPECT_TRUE(owner == A || owner == B);
}

TEST_F(PlaneTriangulationTest, RecolorTakesNewOwnerColoursOverTheSameTriangles)
{
    mOwners[A].color = ColorRGB{1, 0, 0};
    mOwners[B].color = ColorRGB{0, 0, 1};
    PlaneTriangulation result;
    PlaneFeeder feeder;
    FeedOverlap(result, feeder);
    const int onlyA = FindType(result, A, 1, 1);
    ASSERT_GE(onlyA, 0);
    EXPECT_EQ(result.mLoopTypes[onlyA].mColor1.r, 1.0f);
    const int32_t* triangles = result.mLoopTypeTriangles[onlyA].mIndices;

    mOwners[A].color = ColorRGB{0, 1, 0};
    result.Recolor(PolygonFillOptions::kBlend, &mOwners);
    EXPECT_EQ(result.mLoopTypes[onlyA].mColor1.r, 0.0f);
    EXPECT_EQ(result.mLoopTypes[onlyA].mColor1.g, 1.0f);
    EXPECT_EQ(result.mLoopTypeTriangles[onlyA].mIndices, triangles);
}
}  // namespace
