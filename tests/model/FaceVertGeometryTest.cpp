#include "ElementFixtures.h"
#include "SolidPoints.h"

#include "kernel/Tolerance.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const Vec3D kUp{0.0, 0.0, 1.0};

void ExpectNear(const Vec3D& v, const Vec3D& w, double tol = 1e-12)
{
    EXPECT_NEAR(v.x, w.x, tol);
    EXPECT_NEAR(v.y, w.y, tol);
    EXPECT_NEAR(v.z, w.z, tol);
}

// The same corners turned by a fixed rotation, with the plane's normal turned alike.
struct Tilted
{
    Mat3 m;
    Tilted(const Vec3D& axis, double angle) { m.SetRotation(axis, angle); }
    std::vector<Vec3D> Apply(std::vector<Vec3D> points) const
    {
        for (Vec3D& p : points)
            m.Transform(p, p);
        return points;
    }
    Vec3D Apply(Vec3D p) const
    {
        m.Transform(p, p);
        return p;
    }
};

class DisplayOptionsGuard
{
public:
    DisplayOptionsGuard() : mSaved(GetElementDisplayOptions()) {}
    ~DisplayOptionsGuard() { GetElementDisplayOptions() = mSaved; }

private:
    ElementDisplayOptions mSaved;
};

// The cube with vertices (+-1, +-1, +-1), edges, planes, poles, centroids and frames set.
void BuildCube(Poly& poly)
{
    BuildPoly(poly, CubeSpec(), true);
    CalcAllCentroids(poly);
    SetAllFrames(poly);
}

Vert* FindVertAt(Poly& poly, const Vec3D& p)
{
    return static_cast<Vert*>(poly.mVerts.FindAtPoint(p));
}
}  // namespace

TEST(FaceVertGeometry, DensityCountsTheTurnsOfTheSides)
{
    struct Case
    {
        const char* name;
        int n, d;
        int expected;
    };
    const Case cases[] = {{"pentagram {5/2}", 5, 2, 2}, {"heptagram {7/3}", 7, 3, 3}, {"heptagram {7/2}", 7, 2, 2},
                          {"convex hexagon", 6, 1, 1},  {"octagram {8/3}", 8, 3, 3}, {"enneagram {9/4}", 9, 4, 4}};
    // In the plane z = 0 and leaning on each coordinate plane in turn, so that every projection
    // the density takes is used.
    const Tilted tilts[] = {{Vec3D{1, 0, 0}, 0.0}, {Vec3D{0, 1, 0}, 1.3}, {Vec3D{1, 0, 0}, 1.2},
                            {Vec3D{1, 1, 0}, 2.5}};
    for (const Case& c : cases)
    {
        for (const Tilted& tilt : tilts)
        {
            SCOPED_TRACE(c.name);
            Poly poly;
            Face* face = MakePolygonFace(poly, tilt.Apply(StarPolygon(c.n, c.d, 1.0, 0.5)), tilt.Apply({0, 0, 0.5}),
                                         tilt.Apply(kUp));
            face->mDensity = 99;
            face->CalcDensity();
            EXPECT_EQ(face->mDensity, c.expected);
        }
    }
    // Below five sides the density is left as it is.
    Poly poly;
    Face* square = MakePolygonFace(poly, StarPolygon(4, 1, 1.0, 0.5), {0, 0, 0.5}, kUp);
    square->mDensity = 7;
    square->CalcDensity();
    EXPECT_EQ(square->mDensity, 7);
}

TEST(FaceVertGeometry, LocalFrameInvertsWorldToLocal)
{
    Poly poly;
    const Tilted tilt(Vec3D{1, 2, 3}, 0.7);
    Face* face = MakePolygonFace(poly, tilt.Apply(StarPolygon(5, 1, 1.0, 0.8)), tilt.Apply({0, 0, 0.8}),
                                 tilt.Apply(kUp));
    const Transform3D toLocal = face->GetWorldToLocal(false);
    const Transform3D toWorld = face->GetLocalFrame(false);
    const Vec3D samples[] = {{0.3, -1.2, 2.5}, {0, 0, 0}, {-4, 1, 0.5}};
    for (const Vec3D& p : samples)
    {
        Vec3D local, back;
        toLocal.Apply(local, p);
        toWorld.Apply(back, local);
        ExpectNear(back, p);
        // The flipped frames mirror x alone.
        Vec3D flipped;
        face->GetWorldToLocal(true).Apply(flipped, p);
        ExpectNear(flipped, Vec3D{-local.x, local.y, local.z});
        face->GetLocalFrame(true).Apply(back, flipped);
        ExpectNear(back, p);
    }
    // The centre is the origin and the corners lie at z = 0, at the circumradius.
    Vec3D local;
    toLocal.Apply(local, face->mCentre);
    ExpectNear(local, Vec3D{});
    for (int i = 0; i < face->mNumSides; ++i)
    {
        toLocal.Apply(local, face->mNeighbours[i]->mPoint);
        EXPECT_NEAR(local.z, 0.0, 1e-12);
        EXPECT_NEAR(std::hypot(local.x, local.y), 1.0, 1e-12);
    }
}

TEST(FaceVertGeometry, SolidAnglesOfClosedModelsFillTheSphere)
{
    struct Case
    {
        const char* name;
        PolySpec spec;
        double each;
    };
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    const Case cases[] = {{"cube", CubeSpec(), 4.0 * kPi / 6.0},
                          {"tetrahedron", TetrahedronSpec(), kPi},
                          {"icosahedron", ConvexSpec(FindSolid(solids, "icosahedron").points), 4.0 * kPi / 20.0},
                          {"dodecahedron", ConvexSpec(FindSolid(solids, "dodecahedron").points), 4.0 * kPi / 12.0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, c.spec, false);
        double sum = 0.0;
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        {
            EXPECT_NEAR(f->GetSolidAngle(), c.each, 1e-12);
            sum += f->GetSolidAngle();
        }
        EXPECT_NEAR(sum, 4.0 * kPi, 1e-12);
        // A face marked reversed counts the other way.
        poly.GetNthFace(0)->mFlags |= FaceVert::kReversed;
        EXPECT_NEAR(poly.GetNthFace(0)->GetSolidAngle(), -c.each, 1e-12);
    }

    // One eighth of the sphere, seen through the triangle of the three unit points.
    Poly octant;
    Face* triangle = MakePolygonFace(octant, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {1.0 / 3, 1.0 / 3, 1.0 / 3},
                                     {1, 1, 1});
    EXPECT_NEAR(triangle->GetSolidAngle(), kPi / 2.0, 1e-12);

    // A side whose line passes through the centre: the face is seen edge-on there.
    Poly edgeOn;
    Face* face = MakePolygonFace(edgeOn, {{1, 1, 0}, {-1, -1, 0}, {1, -1, 1}}, {0, 0, 0}, {1, -1, 2});
    EXPECT_EQ(face->GetSolidAngle(), 0.0);
}

TEST(FaceVertGeometry, RegularPolygonTest)
{
    const Tilted tilt(Vec3D{0.2, 1, 0.4}, 0.9);
    struct Case
    {
        const char* name;
        std::vector<Vec3D> corners;
        bool regular;
    };
    const Case cases[] = {{"regular pentagram", tilt.Apply(StarPolygon(5, 2, 1.3, 0.4)), true},
                          {"square", tilt.Apply(StarPolygon(4, 1, 1.0, 0.4)), true},
                          {"rectangle", tilt.Apply({{2, 1, 0.4}, {-2, 1, 0.4}, {-2, -1, 0.4}, {2, -1, 0.4}}), false},
                          {"rhombus", tilt.Apply({{2, 0, 0.4}, {0, 1, 0.4}, {-2, 0, 0.4}, {0, -1, 0.4}}), false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        Face* face = MakePolygonFace(poly, c.corners, tilt.Apply({0, 0, 0.4}), tilt.Apply(kUp));
        EXPECT_EQ(face->IsRegularPolygon(), c.regular);
    }
    // Any corner at infinity spoils it, wherever it is.
    for (int at = 0; at < 5; ++at)
    {
        Poly poly;
        Face* face = MakePolygonFace(poly, StarPolygon(5, 1, 1.0, 0.4), {0, 0, 0.4}, kUp);
        face->mNeighbours[at]->mFlags |= FaceVert::kHemi;
        EXPECT_FALSE(face->IsRegularPolygon()) << at;
    }
}

TEST(FaceVertGeometry, AreaAndSideMeasures)
{
    // The signed area of the star polygon {n/d} of circumradius r: n triangles from the centre.
    for (int d : {1, 2})
    {
        Poly poly;
        Face* face = MakePolygonFace(poly, StarPolygon(5, d, 2.0, 1.0), {0, 0, 1}, kUp);
        EXPECT_NEAR(face->GetArea(), 2.5 * 4.0 * std::sin(2.0 * kPi * d / 5.0), 1e-12) << d;
    }

    Poly poly;
    Face* rect = MakePolygonFace(poly, {{2, 1, 3}, {-2, 1, 3}, {-2, -1, 3}, {2, -1, 3}}, {0, 0, 3}, kUp);
    EXPECT_NEAR(rect->GetArea(), 8.0, 1e-12);
    rect->mZAxis = Vec3D{0, 0, -1};
    EXPECT_NEAR(rect->GetArea(), -8.0, 1e-12);
    rect->mZAxis = kUp;
    EXPECT_DOUBLE_EQ(rect->GetMinSideLength(), 2.0);
    EXPECT_DOUBLE_EQ(rect->GetMaxSideLength(), 4.0);
    EXPECT_DOUBLE_EQ(rect->GetAverageSideLength(), 3.0);
    EXPECT_DOUBLE_EQ(rect->GetRadiusFromCentroid(), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(rect->GetRadius(), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(rect->GetMinSideDistance(rect->mCentroid, false), 1.0);
    // From a corner two side lines pass through it; skipping them leaves the far sides.
    EXPECT_DOUBLE_EQ(rect->GetMinSideDistance(Vec3D{2, 1, 3}, false), 0.0);
    EXPECT_DOUBLE_EQ(rect->GetMinSideDistance(Vec3D{2, 1, 3}, true), 2.0);
    EXPECT_DOUBLE_EQ(rect->GetMaxCornerDistance2D(2.0, 1.0), std::sqrt(16.0 + 4.0));
    EXPECT_DOUBLE_EQ(rect->DistanceAlongNormal(Vec3D{5, 5, 7}, Vec3D{0, 0, 3}), 4.0);
}

TEST(FaceVertGeometry, CentroidSkipsCornersAtInfinity)
{
    Poly poly;
    Face* face = MakePolygonFace(poly, {{1, 0, 0}, {0, 4, 0}, {-1, 0, 0}}, {0, 0, 0}, kUp);
    ExpectNear(face->mCentroid, Vec3D{0, 4.0 / 3, 0});
    face->mNeighbours[1]->mFlags |= FaceVert::kHemi;
    face->CalcCentroid();
    ExpectNear(face->mCentroid, Vec3D{0, 0, 0});
    for (int i = 0; i < 3; ++i)
        face->mNeighbours[i]->mFlags |= FaceVert::kHemi;
    face->mCentre = Vec3D{0.5, 0.25, 0};
    face->CalcCentroid();
    ExpectNear(face->mCentroid, face->mCentre);
}

TEST(FaceVertGeometry, ExtremeCornersCountWhatExists)
{
    Poly poly;
    Face* triangle = MakePolygonFace(poly, {{0, 0, 1}, {4, 0, 1}, {0, 1, 1}}, {0, 0, 1}, kUp);
    Vec3D out[3];
    ASSERT_EQ(triangle->GetExtremeCorners(out), 3);
    ExpectNear(out[0], Vec3D{4, 0, 1});  // farthest from the centroid
    ExpectNear(out[1], Vec3D{0, 1, 1});  // farthest from that
    ExpectNear(out[2], Vec3D{0, 0, 1});  // farthest from their line

    Poly lineModel;
    Face* line = MakePolygonFace(lineModel, {{0, 0, 1}, {1, 0, 1}, {3, 0, 1}}, {0, 0, 1}, kUp);
    EXPECT_EQ(line->GetExtremeCorners(out), 2);

    Poly pointModel;
    Face* point = MakePolygonFace(pointModel, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}, {0, 0, 1}, kUp);
    EXPECT_EQ(point->GetExtremeCorners(out), 0);  // every corner sits on the centroid
    point->mCentroid = Vec3D{};
    EXPECT_EQ(point->GetExtremeCorners(out), 1);
}

TEST(FaceVertGeometry, NormalsOfTheAdjacentPolygonPointToTheElement)
{
    Poly poly;
    BuildCube(poly);
    Vert* corner = FindVertAt(poly, {1, 1, 1});
    ASSERT_NE(corner, nullptr);
    Vec3D expected{1, 1, 1};
    Vec3Normalize(expected);
    ExpectNear(corner->CalcNormal(), expected);
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        ExpectNear(f->CalcNormal(), f->mZAxis);
}

TEST(FaceVertGeometry, RadiiOfFacesAndVertexFigures)
{
    Poly poly;
    BuildCube(poly);
    // A cube face: centre to corner.
    EXPECT_DOUBLE_EQ(poly.GetNthFace(0)->GetRadius(), std::sqrt(2.0));
    // The dual face of a vertex is the triangle of the poles of its faces, the unit points, whose
    // circumradius about the foot (1, 1, 1) / 3 is sqrt(6) / 3.
    Vert* corner = FindVertAt(poly, {1, 1, 1});
    EXPECT_NEAR(corner->GetRadius(), std::sqrt(6.0) / 3.0, 1e-12);
    EXPECT_NEAR(corner->GetRingRadius(), std::sqrt(6.0) / 3.0, 1e-12);
    // Its figure reaches the neighbouring vertices, which lie in its polar plane x + y + z = 1.
    DisplayOptionsGuard guard;
    RecordingFitSink sink;
    corner->FitFigure(sink);
    EXPECT_EQ(sink.points.size(), 6u);  // three dual-face corners, three neighbours
    EXPECT_NEAR(sink.LargestRadius2D(), 2.0 * std::sqrt(6.0) / 3.0, 1e-12);
    EXPECT_NEAR(corner->GetFigureRadius(), 2.0 * std::sqrt(6.0) / 3.0, 1e-12);
    GetElementDisplayOptions().mShowDualFaceOnVertexFigure = false;
    sink.points.clear();
    corner->FitFigure(sink);
    EXPECT_EQ(sink.points.size(), 3u);
}

TEST(FaceVertGeometry, FaceOutlineFitsItsCornersThroughTheFrame)
{
    Poly poly;
    BuildCube(poly);
    Face* face = poly.GetNthFace(1);
    RecordingFitSink sink;
    face->FitOutline(sink, face->GetWorldToLocal(false));
    ASSERT_EQ(sink.points.size(), 4u);
    for (const Vec3D& p : sink.points)
    {
        EXPECT_NEAR(p.z, 0.0, 1e-12);
        EXPECT_NEAR(std::hypot(p.x, p.y), std::sqrt(2.0), 1e-12);
    }
}

TEST(FaceVertGeometry, ChordsOfTheVertexListSeenFromAVertex)
{
    Poly poly;
    BuildCube(poly);
    Vert* corner = FindVertAt(poly, {1, 1, 1});
    // From (1, 1, 1) the other vertices fall on its polar plane at the corners and side midpoints
    // of a triangle about the foot and at the foot itself: the farthest chord is a side, at the
    // triangle's inradius sqrt(6) / 3.
    EXPECT_NEAR(corner->GetMaxChordDistance(), std::sqrt(6.0) / 3.0, 1e-12);
    EXPECT_NEAR(poly.mVerts.mMaxChordDistance, std::sqrt(6.0) / 3.0, 1e-12);
    // Kept for the whole list until its owner resets it.
    poly.mVerts.mMaxChordDistance = 0.25;
    EXPECT_EQ(poly.GetNthVert(3)->GetMaxChordDistance(), 0.25);
    poly.mVerts.mMaxChordDistance = -1.0;
    EXPECT_NEAR(corner->GetMaxChordDistance(), std::sqrt(6.0) / 3.0, 1e-12);

    // Every other vertex is seen; the one opposite projects onto the foot itself.
    RecordingFitSink sink;
    corner->FitRingFigure(sink);
    EXPECT_EQ(sink.points.size(), 7u);
    EXPECT_NEAR(corner->GetListFigureRadius(), 2.0 * std::sqrt(6.0) / 3.0, 1e-12);
}

TEST(FaceVertGeometry, PlanesMeetInALineOfBoth)
{
    Poly poly;
    BuildCube(poly);
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
    {
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        {
            double a = 0, b = 0, d = 0;
            const bool parallel = Vec3Parallel(e->mZAxis, f->mZAxis, kTol);
            ASSERT_EQ(e->IntersectPlanes(f, a, b, d), !parallel) << e->mIndex << " " << f->mIndex;
            if (parallel)
                continue;
            EXPECT_NEAR(std::hypot(a, b), 1.0, 1e-12);
            // Two points of the line, back in the model, lie in both planes.
            const Transform3D toWorld = e->GetLocalFrame(false);
            for (double t : {-2.0, 3.0})
            {
                Vec3D local{-a * d - b * t, -b * d + a * t, 0.0}, p;
                toWorld.Apply(p, local);
                EXPECT_NEAR(Vec3Dot(p, e->mZAxis), Vec3Dot(e->mCentre, e->mZAxis), 1e-12);
                EXPECT_NEAR(Vec3Dot(p, f->mZAxis), Vec3Dot(f->mCentre, f->mZAxis), 1e-12);
            }
        }
    }
}

TEST(FaceVertGeometry, ProjectionsThroughTheElementsPoint)
{
    Poly poly;
    BuildCube(poly);
    Vert* corner = FindVertAt(poly, {1, 1, 1});
    const Transform3D frame = corner->GetWorldToLocal(false);
    // The opposite vertex is seen at the foot of the polar plane.
    Vec2D p;
    EXPECT_TRUE(corner->ProjectNeighbour(FindVertAt(poly, {-1, -1, -1}), frame, p));
    EXPECT_NEAR(p.x, 0.0, 1e-12);
    EXPECT_NEAR(p.y, 0.0, 1e-12);
    // (-1, -1, 1) is seen where the line through it meets x + y + z = 1: at (0, 0, 1).
    Vec3D met;
    EXPECT_TRUE(corner->IntersectWithPlane(Vec3D{-1, -1, 1}, false, met));
    ExpectNear(met, Vec3D{0, 0, 1});
    // Along a direction in the plane there is no meeting point: the answer is the direction.
    EXPECT_FALSE(corner->IntersectWithPlane(Vec3D{0, 3, -3}, true, met));
    ExpectNear(met, Vec3D{0, std::sqrt(0.5), -std::sqrt(0.5)});
    EXPECT_FALSE(corner->ProjectPoint(Vec3D{0, 3, -3}, true, frame, p));
    EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-12);

    // A face through the centre sees a point along its own direction; a direction not at all.
    Poly hemiModel;
    Face* hemi = MakePolygonFace(hemiModel, {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, {0, 0, 0}, kUp);
    ASSERT_TRUE(hemi->mFlags & FaceVert::kHemi);
    EXPECT_TRUE(hemi->IntersectWithPlane(Vec3D{0.5, 0.5, 4}, false, met));
    ExpectNear(met, Vec3D{0.5, 0.5, 0});
    EXPECT_FALSE(hemi->IntersectWithPlane(Vec3D{0, 0, 1}, true, met));
    ExpectNear(met, Vec3D{});
}

TEST(FaceVertGeometry, SideAtInfinityIsClosedOffAtTheModelSphere)
{
    Poly poly;  // no face types: the model's radius is 1
    Face* face = MakePolygonFace(poly, {{0.5, 0, 0}, {0, 1, 0}, {-0.5, 0, 0}}, {0, 0, 0}, kUp);
    face->mXAxis = Vec3D{1, 0, 0};
    face->mYAxis = Vec3D{0, 1, 0};
    face->mNeighbours[1]->mFlags |= FaceVert::kHemi;
    const Transform3D frame = face->GetWorldToLocal(false);
    Vec2D points[5];
    ASSERT_EQ(face->ProjectSide(0, frame, points), 1);
    EXPECT_NEAR(points[0].x, 0.5, 1e-12);
    ASSERT_EQ(face->ProjectSide(1, frame, points), 5);
    const double h = std::sqrt(0.75);
    const Vec2D expected[5] = {{0.5, h}, {-0.5, h}, {-0.5, -h}, {0.5, -h}, {0.5, 0}};
    for (int k = 0; k < 5; ++k)
    {
        EXPECT_NEAR(points[k].x, expected[k].x, 1e-12) << k;
        EXPECT_NEAR(points[k].y, expected[k].y, 1e-12) << k;
    }
    // A corner at infinity between corners that are all at infinity closes nothing off.
    face->mNeighbours[0]->mFlags |= FaceVert::kHemi;
    face->mNeighbours[2]->mFlags |= FaceVert::kHemi;
    EXPECT_EQ(face->ProjectSide(1, frame, points), 0);
}

TEST(FaceVertGeometry, MeasuresOverAConnectedPart)
{
    // Two cubes apart: a part is one of them.
    PolySpec spec = CubeSpec();
    const PolySpec second = CubeSpec();
    for (Vec3D p : second.verts)
    {
        p.x += 10.0;
        spec.verts.push_back(p);
    }
    for (std::vector<int> f : second.faces)
    {
        for (int& k : f)
            k += 8;
        spec.faces.push_back(f);
    }
    Poly poly;
    BuildPoly(poly, spec, false);
    CalcAllCentroids(poly);
    Face* face = poly.GetNthFace(7);  // of the second cube
    Vec3D centre;
    std::vector<FaceVert*> buffer(64);
    EXPECT_EQ(face->GetPartCentre(true, centre, buffer.data()), 14);
    ExpectNear(centre, Vec3D{10, 0, 0});
    EXPECT_NEAR(face->GetPartRadius(true), std::sqrt(3.0), 1e-12);
    // The faces' poles, with respect to the unit sphere about the model's centre.
    Vec3D poleMean;
    for (int i = 6; i < 12; ++i)
        Vec3AddTo(poleMean, poly.GetNthFace(i)->mPoint);
    Vec3Div(poleMean, poleMean, 6.0);
    face->GetPartCentre(false, centre, nullptr);
    ExpectNear(centre, poleMean);
    EXPECT_NEAR(face->GetPartMinInradius(false), 1.0, 1e-12);
    EXPECT_NEAR(poly.GetNthFace(0)->GetPartHalfMinEdge(false), std::sqrt(2.0) / 2.0, 1e-12);
    // Cube vertices two apart: half the edge.
    EXPECT_NEAR(poly.GetNthVert(0)->GetPartHalfMinEdge(false), 1.0, 1e-12);
    // The walks leave no marks.
    for (int i = 0; i < 28; ++i)
        EXPECT_FALSE(Poly::GetElement(&poly, i)->mFlags & FaceVert::kVisitMark) << i;
}

TEST(FaceVertGeometry, RotateTurnsPointsAndAxes)
{
    Poly poly;
    BuildCube(poly);
    Face* face = poly.GetNthFace(1);
    const Vec3D centroid = face->mCentroid;
    Mat3 quarter;
    quarter.SetAxisRotation(0, kPi / 2.0);
    const Vec3D z = face->mZAxis;
    face->Rotate(quarter);
    Vec3D expected;
    quarter.Transform(expected, z);
    EXPECT_EQ(face->mZAxis.x, expected.x);
    EXPECT_EQ(face->mZAxis.y, expected.y);  // snapped: exactly the turned axis
    EXPECT_EQ(face->mZAxis.z, 0.0);
    ExpectNear(face->mCentroid, centroid);  // waits for its recomputation
}

TEST(FaceVertGeometry, EdgeMeasures)
{
    Poly poly;
    BuildCube(poly);
    for (int i = 0; i < poly.mNumEdges; ++i)
    {
        const Edge* e = poly.GetEdge(i);
        EXPECT_DOUBLE_EQ(e->GetLength(false), 2.0);
        // The dual edge joins two unit poles at right angles.
        EXPECT_NEAR(e->GetLength(true), std::sqrt(2.0), 1e-12);
        // The foot is the edge's midpoint; on the dual edge, the midpoint of the two poles.
        Vec3D mid;
        Vec3Midpoint(mid, e->mVerts[0]->mPoint, e->mVerts[1]->mPoint);
        ExpectNear(e->GetFoot(false), mid);
        Vec3D dualMid;
        Vec3Midpoint(dualMid, e->mFaces[0]->mPoint, e->mFaces[1]->mPoint);
        ExpectNear(e->GetFoot(true), dualMid);
        // Halfway between the normals of the two faces: along the foot.
        Vec3D n = mid;
        Vec3Normalize(n);
        ExpectNear(e->GetMidNormal(false), n);
        Vec3D v;
        Vec3Sub(v, e->mVerts[1]->mPoint, e->mVerts[0]->mPoint);
        ExpectNear(e->GetVector(false), v);
    }

    // Ends at infinity; a line through the centre; sides that face opposite ways.
    Poly hand;
    Vec3D a{1, 1, 0}, b{1, -1, 0};
    Vert* va = new Vert(&hand, a, 0);
    Vert* vb = new Vert(&hand, b, 0);
    Face* f0 = new Face(&hand, nullptr, 0);
    Face* f1 = new Face(&hand, nullptr, 0);
    f0->mZAxis = Vec3D{0, 0, 1};
    f1->mZAxis = Vec3D{0, 0, -1};
    Edge edge;
    edge.mVerts[0] = va;
    edge.mVerts[1] = vb;
    edge.mFaces[0] = f0;
    edge.mFaces[1] = f1;
    ExpectNear(edge.GetMidNormal(false), Vec3D{1, 0, 0});
    f0->mCentre = Vec3D{2, 0, 0};
    ExpectNear(edge.GetMidNormal(false), Vec3D{-1, 0, 0});
    ExpectNear(edge.GetFoot(false), Vec3D{1, 0, 0});
    vb->mPoint = Vec3D{-1, -1, 0};
    ExpectNear(edge.GetFoot(false), Vec3D{});  // the line passes through the centre
    vb->mFlags |= FaceVert::kHemi;
    vb->mPoint = Vec3D{0, 1, 0};
    EXPECT_EQ(edge.GetLength(false), -1.0);
    ExpectNear(edge.GetVector(false), Vec3D{0, 1, 0});
    va->mFlags |= FaceVert::kHemi;
    va->mPoint = Vec3D{1, 0, 0};
    ExpectNear(edge.GetVector(false), Vec3D{1, 1, 0});
}

TEST(FaceVertGeometry, ElementListComputesEveryDensity)
{
    Poly poly;
    Face* star = MakePolygonFace(poly, StarPolygon(7, 3, 1.0, 1.0), {0, 0, 1}, kUp);
    Face* hexagon = MakePolygonFace(poly, StarPolygon(6, 1, 1.0, 2.0), {0, 0, 2}, kUp);
    star->mDensity = hexagon->mDensity = 5;
    poly.mFaces.CalcDensities();
    EXPECT_EQ(star->mDensity, 3);
    EXPECT_EQ(hexagon->mDensity, 1);
}

TEST(FaceVertGeometry, DegeneratePolygonsGiveNumbersNotNaN)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> corners;
    };
    const Case cases[] = {{"all corners in one point", {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
                          {"corners on a line through the centre", {{1, 1, 0}, {2, 2, 0}, {-1, -1, 0}}},
                          {"a corner on the centroid", {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {-1, 0, 1}, {0, -1, 1}}},
                          {"a corner on the centre", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        Face* face = MakePolygonFace(poly, c.corners, {0, 0, 1}, kUp);
        Face* other = MakePolygonFace(poly, c.corners, {0, 0, 1}, Vec3D{0, 1, 1});
        face->mCentroid = Vec3D{0, 0, 1};
        auto finite = [](const Vec3D& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); };
        face->CalcDensity();
        EXPECT_GE(face->mDensity, 1);
        EXPECT_TRUE(std::isfinite(face->GetSolidAngle()));
        EXPECT_TRUE(std::isfinite(face->GetArea()));
        EXPECT_TRUE(finite(face->CalcNormal()));
        EXPECT_TRUE(std::isfinite(face->GetMaxChordDistance()));
        EXPECT_TRUE(std::isfinite(face->GetRadius()));
        EXPECT_TRUE(std::isfinite(face->GetMinSideDistance(face->mCentroid, true)));
        double a = 0, b = 0, d = 0;
        if (face->IntersectPlanes(other, a, b, d))
        {
            EXPECT_TRUE(std::isfinite(a) && std::isfinite(b) && std::isfinite(d));
        }
        Vec3D n;
        face->FindMirrorLine(n);
        EXPECT_TRUE(finite(n));
    }
}

TEST(FaceVertGeometry, CornerOnTheCentroidProvesNoCongruence)
{
    // Corner 0 on the centroid gives no direction to measure the others from: two different
    // shapes must not pass for similar.
    Poly poly;
    Face* a = MakePolygonFace(poly, {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {-1, 0, 1}, {0, -1, 1}}, {0, 0, 1}, kUp);
    Face* b = MakePolygonFace(poly, {{0, 0, 1}, {2, 0, 1}, {0, 0.5, 1}, {-2, 0, 1}, {0, -0.5, 1}}, {0, 0, 1}, kUp);
    EXPECT_FALSE(a->IsCongruent(b, true));
    EXPECT_FALSE(b->IsCongruent(a, true));
}
