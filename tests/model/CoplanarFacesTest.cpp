#include "ElementFixtures.h"

#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/CoplanarFaces.h"
#include "model/ElemList.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const Vec3D kUp{0.0, 0.0, 1.0};

std::vector<Vec3D> Translated(std::vector<Vec3D> points, const Vec3D& by)
{
    for (Vec3D& p : points)
        Vec3AddTo(p, by);
    return points;
}

std::vector<Vec3D> Turned(std::vector<Vec3D> points, const Vec3D& axis, double angle)
{
    Mat3 m;
    m.SetRotation(axis, angle);
    for (Vec3D& p : points)
        m.Transform(p, p);
    return points;
}

// Corners listed each way round for the faces of a model that holds the origin: made
// counterclockwise seen from outside.
PolySpec OrientedOutward(PolySpec spec)
{
    for (std::vector<int>& f : spec.faces)
    {
        Vec3D normal, centroid;
        Vec3Normal3(normal, spec.verts[size_t(f[0])], spec.verts[size_t(f[1])], spec.verts[size_t(f[2])]);
        for (int k : f)
            Vec3AddTo(centroid, spec.verts[size_t(k)]);
        if (Vec3Dot(normal, centroid) < 0.0)
            std::reverse(f.begin(), f.end());
    }
    return spec;
}

Face* FaceWithCentroid(Poly& poly, const Vec3D& c)
{
    for (int i = 0; i < poly.mFaces.mCount; ++i)
        if (Vec3Equal(poly.GetNthFace(i)->mCentroid, c, 1e-9))
            return poly.GetNthFace(i);
    return nullptr;
}

// The box [-1, 1]^3 with its top and bottom squares and four sides, scaled to height 2h.
PolySpec BoxSpec(double h)
{
    PolySpec spec = CubeSpec();
    for (Vec3D& v : spec.verts)
        v.z *= h;
    return spec;
}
}  // namespace

TEST(CoplanarFaces, FacesOfOnePlaneFormOneRing)
{
    Poly poly;
    std::vector<Face*> faces;
    for (int i = 0; i < 12; ++i)
    {
        const Vec3D centre{0, 0, 2.0 + i};
        faces.push_back(MakePolygonFace(poly, StarPolygon(3, 1, 1.0 + 0.1 * i, centre.z), centre, kUp));
    }
    // Faces 4 and 9 (of type 0) and 2 (of type 1) share the plane z = 1; faces 5 and 6 share
    // z = -3 with opposite normals.
    for (int i : {2, 4, 9})
        faces[size_t(i)]->mCentre = Vec3D{0, 0, 1};
    faces[5]->mCentre = faces[6]->mCentre = Vec3D{0, 0, -3};
    faces[5]->mZAxis = Vec3D{0, 0, -1};
    AddFaceType(poly, false, {faces[9], faces[4], faces[6]}, 10);
    AddFaceType(poly, false, {faces[2], faces[5]}, 11);
    // Stale rings and flags give way.
    faces[0]->mNextCoplanar = faces[1];
    faces[1]->mNextCoplanar = faces[0];
    faces[3]->mFlags |= FaceVert::kCoplanar;

    FindCoplanarFaces(poly.mFaces);

    // By type index, then element index: 4 -> 9 -> 2 -> 4; 9 follows a face of its own type.
    EXPECT_EQ(faces[4]->mNextCoplanar, faces[9]);
    EXPECT_EQ(faces[9]->mNextCoplanar, faces[2]);
    EXPECT_EQ(faces[2]->mNextCoplanar, faces[4]);
    EXPECT_EQ(faces[9]->GetRingSize(), 3);
    EXPECT_TRUE(faces[9]->mFlags & FaceVert::kCoplanar);
    EXPECT_FALSE(faces[4]->mFlags & FaceVert::kCoplanar);
    EXPECT_FALSE(faces[2]->mFlags & FaceVert::kCoplanar);
    // Opposite normals, one plane: one ring.
    EXPECT_EQ(faces[6]->mNextCoplanar, faces[5]);
    EXPECT_EQ(faces[5]->mNextCoplanar, faces[6]);
    EXPECT_FALSE(faces[5]->mFlags & FaceVert::kCoplanar);
    EXPECT_FALSE(faces[6]->mFlags & FaceVert::kCoplanar);
    for (int i : {0, 1, 3, 7, 8, 10, 11})
    {
        EXPECT_EQ(faces[size_t(i)]->mNextCoplanar, nullptr) << i;
        EXPECT_FALSE(faces[size_t(i)]->mFlags & FaceVert::kCoplanar) << i;
    }
}

TEST(CoplanarFaces, CoincidentVerticesShareTheirPolarPlane)
{
    Poly poly;
    std::vector<Vert*> verts;
    const Vec3D points[] = {{1, 2, 2}, {0, 0, 3}, {1, 2, 2}, {2, 2, 1}, {1, 2, 2}};
    for (Vec3D p : points)
        verts.push_back(new Vert(&poly, p, 0));
    FindCoplanarFaces(poly.mVerts);
    EXPECT_EQ(verts[0]->mNextCoplanar, verts[2]);
    EXPECT_EQ(verts[2]->mNextCoplanar, verts[4]);
    EXPECT_EQ(verts[4]->mNextCoplanar, verts[0]);
    EXPECT_EQ(verts[1]->mNextCoplanar, nullptr);
    EXPECT_EQ(verts[3]->mNextCoplanar, nullptr);
}

TEST(CoplanarFaces, CongruenceUpToMotionAndScale)
{
    const std::vector<Vec3D> square = StarPolygon(4, 1, 1.0, 0.0);
    const std::vector<Vec3D> rhombus = {{1, 0, 0}, {0, 0.5, 0}, {-1, 0, 0}, {0, -0.5, 0}};
    const std::vector<Vec3D> kite = {{2, 0, 0}, {0, 1, 0}, {-0.5, 0.2, 0}, {0, -0.7, 0}};
    std::vector<Vec3D> kiteMirror = kite;
    for (Vec3D& p : kiteMirror)
        p.y = -p.y;
    std::reverse(kiteMirror.begin(), kiteMirror.end());  // counterclockwise again
    const Vec3D axis{1, 2, -1};
    struct Case
    {
        const char* name;
        std::vector<Vec3D> a, b;
        bool congruent, similar;
        Vec3D normalB;  // zero: the normal of b's corners
    };
    const Case cases[] = {
        {"square, same square turned and moved", square,
         Translated(Turned(StarPolygon(4, 1, 1.0, 0.0), axis, 0.8), {3, 1, 2}), true, true, {}},
        {"square, larger square", square, Translated(StarPolygon(4, 1, 2.5, 0.0), {0, 0, 4}), false, true, {}},
        {"square, rhombus of its circumradius", square, rhombus, false, false, {}},
        {"square, listed the other way round its normal", square, {square[0], square[3], square[2], square[1]}, true,
         true, kUp},
        {"square, turned over", square, {square[0], square[3], square[2], square[1]}, true, true, {}},
        {"kite, kite turned", kite, Translated(Turned(kite, axis, 2.0), {1, 1, 1}), true, true, {}},
        {"kite, its mirror image in the plane", kite, kiteMirror, false, false, {}},
        {"square, pentagon", square, StarPolygon(5, 1, 1.0, 0.0), false, false, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        Face* a = MakePolygonFace(poly, c.a, {0, 0, 0}, kUp);
        Vec3D n = c.normalB;
        if (Vec3IsZero(n, 0.0))
            Vec3Normal3(n, c.b[0], c.b[1], c.b[2]);
        Vec3Normalize(n);
        Vec3D centroid;
        for (const Vec3D& p : c.b)
            Vec3AddTo(centroid, p);
        Vec3Div(centroid, centroid, double(c.b.size()));
        Face* b = MakePolygonFace(poly, c.b, centroid, n);
        EXPECT_EQ(a->IsCongruent(b, false), c.congruent);
        EXPECT_EQ(b->IsCongruent(a, false), c.congruent);
        EXPECT_EQ(a->IsCongruent(b, true), c.similar);
        EXPECT_EQ(b->IsCongruent(a, true), c.similar);
    }
    // A face with itself, and faces of one type, at once.
    Poly poly;
    Face* a = MakePolygonFace(poly, square, {0, 0, 0}, kUp);
    Face* b = MakePolygonFace(poly, rhombus, {0, 0, 0}, kUp);
    EXPECT_TRUE(a->IsCongruent(a, false));
    AddFaceType(poly, false, {a, b}, 3);
    EXPECT_TRUE(a->IsCongruent(b, false));
}

TEST(CoplanarFaces, ReorientingStartsEachFaceLikeItsTypesFirst)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildPoly(poly, BoxSpec(2.0), true);
    CalcAllCentroids(poly);
    SetAllFrames(poly);
    // Top and bottom squares; the four sides are 2 by 4 rectangles, of order 2.
    FaceType* squares = AddFaceType(poly, false, {poly.GetNthFace(0), poly.GetNthFace(1)}, 1);
    squares->mNumRotations = 4;
    FaceType* sides = AddFaceType(poly, false,
                                  {poly.GetNthFace(2), poly.GetNthFace(3), poly.GetNthFace(4), poly.GetNthFace(5)}, 2);
    sides->mNumRotations = 2;
    std::vector<FaceVert*> verts;
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        verts.push_back(v);
    AddFaceType(poly, true, verts, 3);
    // The squares keep their corners and axes whatever they are.
    Face* top = poly.GetNthFace(1);
    top->mXAxis = Vec3D{0, 1, 0};
    top->mYAxis = Vec3D{-1, 0, 0};
    FaceVert* topCorner = top->mNeighbours[0];

    ReorientFaceAxes(poly.mFaces, squares);

    EXPECT_EQ(top->mNeighbours[0], topCorner);
    EXPECT_EQ(top->mXAxis.y, 1.0);
    EXPECT_EQ(top->mYAxis.x, -1.0);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);
    // Every side now starts with a short side along a square, as the first side does.
    for (int i = 2; i < 6; ++i)
    {
        const Face* side = poly.GetNthFace(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(FaceVert::GetAdjacent(side, 0)->mFaceType, squares);
        EXPECT_EQ(FaceVert::GetAdjacent(side, 1)->mFaceType, sides);
        // The x axis runs from the centre to corner 0, in the face's plane.
        Vec3D x;
        Vec3Sub(x, side->mNeighbours[0]->mPoint, side->mCentre);
        Vec3Normalize(x);
        EXPECT_NEAR(Vec3Dot(x, side->mXAxis), 1.0, 1e-12);
        Vec3D y;
        Vec3Cross(y, side->mZAxis, side->mXAxis);
        EXPECT_NEAR(Vec3Dot(y, side->mYAxis), 1.0, 1e-12);
        // Each side of the face still separates the same two faces: the edges turned with it.
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(side->mEdges[k]->Touches(side->mNeighbours[k])) << k;
    }
}

TEST(CoplanarFaces, CoplanarPartnersShareTheFlagByTheirTurn)
{
    Poly poly;
    // Two pairs of triangles of one type, each pair in one plane, turned 40 degrees apart; in the
    // second plane the triangle turned like the first pair's first one is listed second.
    const std::vector<Vec3D> at0 = StarPolygon(3, 1, 1.0, 0.0);
    const std::vector<Vec3D> at40 = Turned(StarPolygon(3, 1, 1.0, 0.0), kUp, 40.0 * kPi / 180.0);
    Face* f1 = MakePolygonFace(poly, Translated(at0, {0, 0, 1}), {0, 0, 1}, kUp);
    Face* g1 = MakePolygonFace(poly, Translated(at40, {0, 0, 1}), {0, 0, 1}, kUp);
    Face* f2 = MakePolygonFace(poly, Translated(at40, {0, 0, 2}), {0, 0, 2}, kUp);
    Face* g2 = MakePolygonFace(poly, Translated(at0, {0, 0, 2}), {0, 0, 2}, kUp);
    FaceType* triangles = AddFaceType(poly, false, {f1, g1, f2, g2}, 1);
    triangles->mNumRotations = 3;
    FindCoplanarFaces(poly.mFaces);
    ASSERT_EQ(f1->mNextCoplanar, g1);
    ASSERT_EQ(f2->mNextCoplanar, g2);

    ReorientFaceAxes(poly.mFaces, triangles);

    // In each pair exactly the triangle at 40 degrees carries the flag.
    EXPECT_TRUE(g1->mFlags & FaceVert::kCoplanar);
    EXPECT_FALSE(f1->mFlags & FaceVert::kCoplanar);
    EXPECT_TRUE(f2->mFlags & FaceVert::kCoplanar);
    EXPECT_FALSE(g2->mFlags & FaceVert::kCoplanar);
}

TEST(CoplanarFaces, CopiedAxesComeFromTheMasterTypesMember)
{
    Poly poly;
    Face* master = MakePolygonFace(poly, StarPolygon(4, 1, 1.0, 1.0), {0, 0, 1}, kUp);
    Face* other = MakePolygonFace(poly, StarPolygon(3, 1, 0.5, 1.0), {0, 0, 1}, kUp);
    Face* copy = MakePolygonFace(poly, StarPolygon(5, 1, 0.3, 1.0), {0, 0, 1}, kUp);
    FaceType* masterType = AddFaceType(poly, false, {master}, 1);
    AddFaceType(poly, false, {other}, 2);
    FaceType* copyType = AddFaceType(poly, false, {copy}, 3);
    copyType->mCoplanarSource = masterType;
    master->mXAxis = Vec3D{0, 1, 0};
    master->mYAxis = Vec3D{-1, 0, 0};
    FindCoplanarFaces(poly.mFaces);
    copy->CopyAxesFromRing();
    EXPECT_EQ(copy->mXAxis.y, 1.0);
    EXPECT_EQ(copy->mYAxis.x, -1.0);
    // Without a master type nothing is copied.
    other->CopyAxesFromRing();
    EXPECT_NE(other->mXAxis.y, 1.0);
}

TEST(CoplanarFaces, MatchingUnderSymmetryOperations)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    CalcAllCentroids(poly);
    Face* right = static_cast<Face*>(FaceWithCentroid(poly, {1, 0, 0}));
    Face* front = static_cast<Face*>(FaceWithCentroid(poly, {0, 1, 0}));
    Face* left = static_cast<Face*>(FaceWithCentroid(poly, {-1, 0, 0}));
    Face* top = static_cast<Face*>(FaceWithCentroid(poly, {0, 0, 1}));
    ASSERT_TRUE(right && front && left && top);

    Mat3 quarter;  // x to y about z
    quarter.SetAxisRotation(2, kPi / 2.0);
    EXPECT_TRUE(right->MatchesUnderTransform(front, quarter));
    EXPECT_FALSE(right->MatchesUnderTransform(top, quarter));
    EXPECT_FALSE(right->MatchesUnderTransform(left, quarter));

    // The corner of the image where corner 0 lands, and the turn: kept by a rotation, reversed by
    // a reflection.
    auto imageOf = [](const Face* a, const Mat3& m, const Face* b) {
        Vec3D q;
        m.Transform(q, a->mNeighbours[0]->mPoint);
        for (int i = 0; i < b->mNumSides; ++i)
            if (Vec3Equal(b->mNeighbours[i]->mPoint, q, 1e-9))
                return i;
        return -1;
    };
    Mat3 mirror;  // x -> -x
    mirror.At(0, 0) = -1.0;
    struct Case
    {
        const char* name;
        const Mat3* m;
        Face* b;
        bool reversed;
    };
    const Case cases[] = {{"quarter turn", &quarter, front, false}, {"mirror", &mirror, left, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const int expectedStart = imageOf(right, *c.m, c.b);
        ASSERT_GE(expectedStart, 0);
        Vec3D centre, axis, corner, point, cornerCentre;
        c.m->Transform(centre, right->mCentre);
        c.m->Transform(axis, right->mZAxis);
        c.m->Transform(corner, right->mNeighbours[0]->mPoint);
        c.m->Transform(point, right->mPoint);
        c.m->Transform(cornerCentre, right->mNeighbours[0]->mCentre);
        for (bool ordered : {true, false})
        {
            int start = -1;
            bool reversed = !c.reversed;
            EXPECT_TRUE(right->MatchesTransformed(c.b, centre, axis, corner, *c.m, ordered, &start, &reversed));
            EXPECT_EQ(start, expectedStart);
            EXPECT_EQ(reversed, ordered && c.reversed);
            start = -1;
            EXPECT_TRUE(
                right->MatchesTransformedPoint(c.b, point, cornerCentre, *c.m, ordered, &start, &reversed));
            EXPECT_EQ(start, expectedStart);
            EXPECT_EQ(reversed, ordered && c.reversed);
            EXPECT_FALSE(right->MatchesTransformed(top, centre, axis, corner, *c.m, ordered, nullptr, nullptr));
            EXPECT_FALSE(
                right->MatchesTransformedPoint(top, point, cornerCentre, *c.m, ordered, nullptr, nullptr));
        }
    }

    // Under the octahedral group's mirror x = 0 the right face's image is the left face, turned.
    std::unique_ptr<SymGroup> group = SymGroup::Create(SymGroup::kOctahedral);
    group->SetReflectionKind(SymGroup::kHorizontal);
    int k = -1;
    for (int i = 0; i < group->mMirrors.count; ++i)
        if (Vec3Parallel(group->mMirrors[i].mDir, Vec3D{1, 0, 0}, 1e-12))
            k = i;
    ASSERT_GE(k, 0);
    int direction = 0;
    EXPECT_EQ(right->FindImageUnderSymmetry(left, nullptr, nullptr, nullptr, *group, k, direction),
              imageOf(right, mirror, left));
    EXPECT_EQ(direction, -1);
    EXPECT_EQ(right->FindImageUnderSymmetry(front, nullptr, nullptr, nullptr, *group, k, direction), -1);
    // Across the mirror y = 0 the right face is its own image.
    for (int i = 0; i < group->mMirrors.count; ++i)
        if (Vec3Parallel(group->mMirrors[i].mDir, Vec3D{0, 1, 0}, 1e-12))
            k = i;
    EXPECT_GE(right->FindImageUnderSymmetry(right, nullptr, nullptr, nullptr, *group, k, direction), 0);
    EXPECT_EQ(direction, -1);
}

TEST(CoplanarFaces, HalfTurnAxisOfAFaceThroughTheCentre)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> corners;
        bool found;
    };
    const Case cases[] = {{"square", {{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}}, true},
                          {"isosceles triangle", {{0.5, 0.2, 0}, {-0.5, 0.2, 0}, {0, -1.2, 0}}, true},
                          {"scalene triangle", {{1, 0.2, 0}, {-0.3, 1, 0}, {-0.5, -0.9, 0}}, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        poly.mGroup = SymGroup::Create(SymGroup::kOctahedral);
        Face* face = MakePolygonFace(poly, c.corners, {0, 0, 0}, kUp);
        ASSERT_TRUE(face->mFlags & FaceVert::kHemi);
        const Vec3D* axis = face->FindHalfTurnAxis();
        ASSERT_EQ(axis != nullptr, c.found);
        if (!axis)
            continue;
        EXPECT_NEAR(Vec3Dot(*axis, kUp), 0.0, 1e-12);
        // The half turn maps every corner onto a corner.
        Mat3 half;
        half.SetRotation(*axis, kPi);
        for (const Vec3D& p : c.corners)
        {
            Vec3D q;
            half.Transform(q, p);
            bool onCorner = false;
            for (const Vec3D& r : c.corners)
                onCorner = onCorner || Vec3Equal(q, r, 1e-9);
            EXPECT_TRUE(onCorner);
        }
        // Only for faces through the centre.
        face->mFlags &= ~FaceVert::kHemi;
        EXPECT_EQ(face->FindHalfTurnAxis(), nullptr);
    }
}

TEST(CoplanarFaces, MirrorLinesOfPolygons)
{
    Poly poly;
    Face* pentagon = MakePolygonFace(poly, Turned(StarPolygon(5, 1, 1.0, 0.0), kUp, 0.3), {0, 0, 0}, kUp);
    Vec3D normal;
    ASSERT_TRUE(pentagon->FindMirrorLine(normal));
    // The first line found passes through the midpoint of side 0.
    Vec3D mid;
    Vec3Midpoint(mid, pentagon->mNeighbours[0]->mPoint, pentagon->mNeighbours[1]->mPoint);
    EXPECT_NEAR(Vec3Dot(normal, mid), 0.0, 1e-12);
    EXPECT_GT(Vec3Length(normal), 0.1);

    Face* isosceles = MakePolygonFace(poly, {{2, 0, 0}, {0, 1, 0}, {0, -1, 0}}, {0, 0, 0}, kUp);
    ASSERT_TRUE(isosceles->FindMirrorLine(normal));
    EXPECT_NEAR(normal.x, 0.0, 1e-12);  // the x axis through the apex
    EXPECT_TRUE(isosceles->IsMirrorSymmetric(Vec3D{0, 1, 0}));
    EXPECT_FALSE(isosceles->IsMirrorSymmetric(Vec3D{1, 0, 0}));
    EXPECT_FALSE(isosceles->IsMirrorSymmetric(Vec3D{}));

    Face* scalene = MakePolygonFace(poly, {{2, 0, 0}, {0, 1, 0}, {-0.5, -1, 0}}, {0, 0, 0}, kUp);
    EXPECT_FALSE(scalene->FindMirrorLine(normal));
}

TEST(CoplanarFaces, OriginalEdgeRunsOnThroughCoplanarFaces)
{
    // A 4 by 2 by 2 box whose long faces are each split into two squares: the long edges pass
    // through the vertices in the middle.
    PolySpec spec;
    for (double x : {-2.0, 0.0, 2.0})
        for (double y : {-1.0, 1.0})
            for (double z : {-1.0, 1.0})
                spec.verts.push_back(Vec3D{x, y, z});
    auto at = [&](double x, double y, double z) {
        for (size_t i = 0; i < spec.verts.size(); ++i)
            if (Vec3Equal(spec.verts[i], Vec3D{x, y, z}, 1e-12))
                return int(i);
        return -1;
    };
    spec.faces.push_back({at(-2, -1, -1), at(-2, 1, -1), at(-2, 1, 1), at(-2, -1, 1)});
    spec.faces.push_back({at(2, -1, -1), at(2, 1, -1), at(2, 1, 1), at(2, -1, 1)});
    for (double x0 : {-2.0, 0.0})
    {
        const double x1 = x0 + 2.0;
        spec.faces.push_back({at(x0, -1, -1), at(x1, -1, -1), at(x1, -1, 1), at(x0, -1, 1)});
        spec.faces.push_back({at(x0, 1, -1), at(x1, 1, -1), at(x1, 1, 1), at(x0, 1, 1)});
        spec.faces.push_back({at(x0, -1, -1), at(x1, -1, -1), at(x1, 1, -1), at(x0, 1, -1)});
        spec.faces.push_back({at(x0, -1, 1), at(x1, -1, 1), at(x1, 1, 1), at(x0, 1, 1)});
    }
    Poly poly;
    BuildPoly(poly, OrientedOutward(spec), false);
    CalcAllCentroids(poly);
    Face* frontLeft = FaceWithCentroid(poly, {-1, -1, 0});   // y = -1
    Face* frontRight = FaceWithCentroid(poly, {1, -1, 0});
    Face* bottomLeft = FaceWithCentroid(poly, {-1, 0, -1});  // z = -1
    ASSERT_TRUE(frontLeft && frontRight && bottomLeft);
    FaceVert* u = poly.mVerts.FindAtPoint({-2, -1, -1});
    FaceVert* v = poly.mVerts.FindAtPoint({0, -1, -1});
    FaceVert* end = poly.mVerts.FindAtPoint({2, -1, -1});

    std::vector<FaceVert*> line;
    EXPECT_TRUE(frontLeft->TraceOriginalEdge(line, u, bottomLeft, v, frontRight));
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0], v);
    EXPECT_EQ(line[1], end);

    // A next face in neither plane: nothing beyond v.
    line.clear();
    Face* top = FaceWithCentroid(poly, {-1, 0, 1});
    EXPECT_FALSE(frontLeft->TraceOriginalEdge(line, u, bottomLeft, v, top));
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0], v);
}

TEST(CoplanarFaces, FaceThatMatchesNoStartIsReportedAndKeptAsItIs)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    CalcAllCentroids(poly);
    // Bottom and top in one type of order 2, but their corners of different vertex types: the top
    // cannot be started like the bottom.
    FaceType* type = AddFaceType(poly, false, {poly.GetNthFace(0), poly.GetNthFace(1)}, 1);
    type->mNumRotations = 2;
    AddFaceType(poly, false, {poly.GetNthFace(2), poly.GetNthFace(3), poly.GetNthFace(4), poly.GetNthFace(5)}, 2);
    std::vector<FaceVert*> low, high;
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        (v->mPoint.z < 0 ? low : high).push_back(v);
    AddFaceType(poly, true, low, 3);
    AddFaceType(poly, true, high, 4);
    Face* top = poly.GetNthFace(1);
    FaceVert* corner0 = top->mNeighbours[0];

    ReorientFaceAxes(poly.mFaces, type);

    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scope.services.calls[0].text.find("ReorientFaceAxes: Couldn't find match for face"),
              std::string::npos);
    // Started at offset 0, its axes rebuilt from there.
    EXPECT_EQ(top->mNeighbours[0], corner0);
    Vec3D x;
    Vec3Sub(x, corner0->mPoint, top->mCentre);
    Vec3Normalize(x);
    EXPECT_NEAR(Vec3Dot(x, top->mXAxis), 1.0, 1e-12);
}
