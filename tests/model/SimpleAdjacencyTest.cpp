#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "model/SimpleAdjacency.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
using E = SimpleElem;

std::unique_ptr<SimplePoly> Solid(const char* name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    auto poly = MakeModel(ConvexSolid(FindSolid(solids, name).points));
    poly->CreateVertexFaceLists(true);
    return poly;
}

// Puts the faces around every vertex of a convex solid in counter-clockwise order seen from
// outside, by the angles of their centroids about the vertex: an order found without walking edges.
void SortFacesByAngle(SimplePoly& poly)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        SimpleVert& v = poly.mVerts[i];
        Vec3D axis = v.mPos, u, w;
        Vec3Normalize(axis);
        Vec3Perpendicular(u, axis);
        Vec3Normalize(u);
        Vec3Cross(w, axis, u);
        auto angle = [&](const SimpleElem* f) {
            Vec3D c = static_cast<const SimpleFace*>(f)->GetCentroid();
            Vec3SubFrom(c, v.mPos);
            return std::atan2(Vec3Dot(c, w), Vec3Dot(c, u));
        };
        std::sort(v.mList.get(), v.mList.get() + v.mNum,
                  [&](const SimpleElem* a, const SimpleElem* b) { return angle(a) < angle(b); });
    }
}

bool HasCorner(const SimpleFace& f, const SimpleVert* v)
{
    return f.IndexInList(v, -1) >= 0;
}

Mat3 TurnZ(int num, int den)
{
    Mat3 m;
    m.SetAxisRotationExact(2, num, den);
    return m;
}
}  // namespace

TEST(SimpleAdjacencyTest, NeighboursOfCubeFacesAndVertices)
{
    auto cube = Solid("cube");
    SortFacesByAngle(*cube);
    for (int fi = 0; fi < cube->mNumFaces; ++fi)
    {
        const SimpleFace& f = cube->mFaces[fi];
        for (int k = 0; k < f.mNum; ++k)
        {
            SCOPED_TRACE(testing::Message() << "face " << fi << " side " << k);
            const SimpleVert* a = f.GetVert(k);
            const SimpleVert* b = f.GetVert((k + 1) % f.mNum);
            const SimpleFace* g = GetAdjFace(&f, k);
            ASSERT_NE(g, nullptr);
            EXPECT_NE(g, &f);
            EXPECT_TRUE(HasCorner(*g, a) && HasCorner(*g, b));
            // And back across the same edge.
            const int back = g->IndexInList(b, -1);
            ASSERT_GE(back, 0);
            EXPECT_EQ(g->GetVert((back + 1) % g->mNum), a);
            EXPECT_EQ(GetAdjFace(g, back), &f);
        }
    }
    for (int vi = 0; vi < cube->mNumVerts; ++vi)
    {
        const SimpleVert& v = cube->mVerts[vi];
        ASSERT_EQ(v.mNum, 3);
        std::vector<const SimpleVert*> seen;
        for (int i = 0; i < v.mNum; ++i)
        {
            const SimpleVert* w = GetAdjVert(&v, i);
            ASSERT_NE(w, nullptr);
            // The far end of the edge between faces i and i + 1: an edge of the cube, in both faces.
            EXPECT_NEAR(Vec3Distance(v.mPos, w->mPos), 2.0, kTol);
            EXPECT_TRUE(HasCorner(*v.GetFace(i), w) && HasCorner(*v.GetFace((i + 1) % 3), w));
            seen.push_back(w);
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    }
}

TEST(SimpleAdjacencyTest, NoNeighbourWithoutFaceLists)
{
    auto cube = MakeModel(ConvexSolid(FindSolid(PlatonicAndArchimedeanSolids(), "cube").points));
    EXPECT_EQ(GetAdjFace(&cube->mFaces[0], 0), nullptr);
    EXPECT_EQ(GetAdjVert(&cube->mVerts[0], 0), nullptr);
}

TEST(SimpleAdjacencyTest, ListEntriesAreFoundRemovedAndInserted)
{
    SimplePoly poly(0, 4);
    SimpleFace* a = &poly.mFaces[0];
    SimpleFace* b = &poly.mFaces[1];
    SimpleFace* c = &poly.mFaces[2];
    SimpleFace& holder = poly.mFaces[3];
    holder.mNum = 0;
    ASSERT_TRUE(holder.InsertEntry(0, a));
    ASSERT_TRUE(holder.InsertEntry(1, b));
    ASSERT_TRUE(holder.InsertEntry(1, c));  // a c b
    ASSERT_TRUE(holder.InsertEntry(3, a));  // a c b a
    ASSERT_EQ(holder.mNum, 4);
    EXPECT_EQ(holder.mList[1], c);
    EXPECT_EQ(holder.IndexInList(a, -1), 0);
    EXPECT_EQ(holder.IndexInList(a, 0), 3);
    EXPECT_EQ(holder.IndexInList(a, 3), -1);
    EXPECT_EQ(holder.IndexInList(&poly.mFaces[3], -1), -1);

    holder.RemoveEntry(a);  // c b a
    ASSERT_EQ(holder.mNum, 3);
    EXPECT_EQ(holder.mList[0], c);
    EXPECT_EQ(holder.mList[2], a);
    holder.RemoveEntry(&holder);  // absent: nothing
    EXPECT_EQ(holder.mNum, 3);
    holder.RemoveEntries(0, 2);
    ASSERT_EQ(holder.mNum, 1);
    EXPECT_EQ(holder.mList[0], a);
}

TEST(SimpleAdjacencyTest, MergedTypesShareOneRingAndId)
{
    SimplePoly poly(0, 5);
    poly.ResetTypeIds();
    SimpleFace* f = poly.mFaces.get();
    MergeTypes(&f[0], &f[1]);
    MergeTypes(&f[2], &f[3]);
    MergeTypes(&f[0], &f[3]);  // rings {0, 1} and {2, 3} become one with id 0
    int ringSize = 0;
    const SimpleElem* e = &f[0];
    do
    {
        EXPECT_EQ(e->mId, 0);
        ++ringSize;
        e = e->mNextOfType;
    } while (e != &f[0] && ringSize < 10);
    EXPECT_EQ(ringSize, 4);
    EXPECT_EQ(f[4].mNextOfType, &f[4]);
    EXPECT_EQ(f[4].mId, 4);

    // The same type again changes nothing: the ring stays whole.
    MergeTypes(&f[1], &f[2]);
    ringSize = 0;
    e = &f[0];
    do
    {
        ++ringSize;
        e = e->mNextOfType;
    } while (e != &f[0] && ringSize < 10);
    EXPECT_EQ(ringSize, 4);
}

TEST(SimpleAdjacencyTest, FaceMeasuresOfKnownSolids)
{
    auto cube = Solid("cube");
    double total = 0.0;
    for (int fi = 0; fi < cube->mNumFaces; ++fi)
    {
        const SimpleFace& f = cube->mFaces[fi];
        Vec3D centroid;
        EXPECT_NEAR(f.GetCentroidAndRadius(centroid), std::sqrt(2.0), kTol);
        EXPECT_TRUE(Vec3Equal(centroid, f.mNormal, kTol));  // the cube's faces are 1 from the centre
        // Twice the area (4) along the outward normal.
        Vec3D expected;
        Vec3Scale(expected, f.mNormal, 8.0);
        EXPECT_TRUE(Vec3Equal(f.GetAreaVector(), expected, kTol));
        EXPECT_NEAR(f.GetSolidAngle(), 4 * kPi / 6, 1e-12);
        total += f.GetSolidAngle();
    }
    EXPECT_NEAR(total, 4 * kPi, 1e-12);

    auto tetra = Solid("tetrahedron");
    for (int fi = 0; fi < tetra->mNumFaces; ++fi)
        EXPECT_NEAR(tetra->mFaces[fi].GetSolidAngle(), kPi, 1e-12);
}

TEST(SimpleAdjacencyTest, SolidAngleOfDegenerateAndReversedFaces)
{
    // A triangle with one side on a line through the centre subtends nothing we can measure.
    auto poly = MakeFacedPoly({{1, 0, 0}, {2, 0, 0}, {1, 1, 1}}, {{0, 1, 2}});
    EXPECT_EQ(poly->mFaces[0].GetSolidAngle(), 0.0);

    // The octant triangle subtends an eighth of the sphere; run backwards it counts negative.
    auto octant = MakeFacedPoly({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 2}, {0, 2, 1}});
    octant->mFaces[1].mNormal = octant->mFaces[0].mNormal;
    EXPECT_NEAR(octant->mFaces[0].GetSolidAngle(), kPi / 2, 1e-12);
    EXPECT_NEAR(octant->mFaces[1].GetSolidAngle(), -kPi / 2, 1e-12);
}

TEST(SimpleAdjacencyTest, FacesMatchTheirImages)
{
    auto cube = Solid("cube");
    auto matches = [](const SimpleFace& f, const SimpleFace& g, const Mat3& m, bool* reversed) {
        Vec3D n, first;
        m.Transform(n, f.mNormal);
        m.Transform(first, f.GetVert(0)->mPos);
        return f.MatchesUnder(g, n, first, m, reversed);
    };
    auto faceWithNormal = [&](double x, double y, double z) -> const SimpleFace& {
        for (int i = 0; i < cube->mNumFaces; ++i)
        {
            if (Vec3Equal(cube->mFaces[i].mNormal, {x, y, z}, kTol))
                return cube->mFaces[i];
        }
        return cube->mFaces[0];
    };
    const Mat3 identity;
    for (int i = 0; i < cube->mNumFaces; ++i)
    {
        bool reversed = true;
        EXPECT_TRUE(matches(cube->mFaces[i], cube->mFaces[i], identity, &reversed));
        EXPECT_FALSE(reversed);
        for (int j = 0; j < cube->mNumFaces; ++j)
        {
            if (j != i)
            {
                EXPECT_FALSE(matches(cube->mFaces[i], cube->mFaces[j], identity, nullptr));
            }
        }
    }
    // A quarter turn about z takes the face x = 1 onto y = 1 and the top onto itself.
    const Mat3 quarter = TurnZ(1, 4);
    bool reversed = true;
    EXPECT_TRUE(matches(faceWithNormal(1, 0, 0), faceWithNormal(0, 1, 0), quarter, &reversed));
    EXPECT_FALSE(reversed);
    EXPECT_FALSE(matches(faceWithNormal(1, 0, 0), faceWithNormal(0, -1, 0), quarter, nullptr));
    EXPECT_TRUE(matches(faceWithNormal(0, 0, 1), faceWithNormal(0, 0, 1), quarter, &reversed));
    // A mirror turns the corner order round.
    Mat3 mirror;
    mirror.At(0, 0) = -1;
    EXPECT_TRUE(matches(faceWithNormal(1, 0, 0), faceWithNormal(-1, 0, 0), mirror, &reversed));
    EXPECT_TRUE(reversed);

    // Vertices with their faces.
    for (int i = 0; i < cube->mNumVerts; ++i)
    {
        const SimpleVert& v = cube->mVerts[i];
        Vec3D image;
        quarter.Transform(image, v.mPos);
        for (int j = 0; j < cube->mNumVerts; ++j)
        {
            const SimpleVert& w = cube->mVerts[j];
            EXPECT_EQ(v.MatchesUnder(w, image, quarter), Vec3Equal(w.mPos, image, kTol));
        }
    }
}

TEST(SimpleAdjacencyTest, VerticesInOnePlaceAreToldApartByTheirFaces)
{
    // Two square pyramids meeting apex to apex, each apex a vertex of its own at the origin.
    const std::vector<Vec3D> verts = {{0, 0, 0},  {0, 0, 0},   {1, 1, 1},   {-1, 1, 1},  {-1, -1, 1},
                                      {1, -1, 1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}};
    auto poly = MakeFacedPoly(verts, {{0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 2}, {2, 5, 4, 3},
                                      {1, 6, 7}, {1, 7, 8}, {1, 8, 9}, {1, 9, 6}, {6, 9, 8, 7}});
    poly->CreateVertexFaceLists(true);
    SimpleVert& a = poly->mVerts[0];
    SimpleVert& b = poly->mVerts[1];
    a.mNextCoincident = &b;
    b.mNextCoincident = &a;
    EXPECT_FALSE(Vec3Equal(a.SumFaceCentroids(), b.SumFaceCentroids(), kSymTol));

    const Mat3 identity;
    const Vec3D origin;
    EXPECT_TRUE(a.MatchesUnder(a, origin, identity));
    EXPECT_FALSE(a.MatchesUnder(b, origin, identity));
    // A half turn about x swaps the pyramids: now a goes onto b.
    Mat3 half;
    half.SetAxisRotationExact(0, 1, 2);
    EXPECT_TRUE(a.MatchesUnder(b, origin, half));
    EXPECT_FALSE(a.MatchesUnder(a, origin, half));
    // A side face of the upper pyramid matches the lower pyramid's face under the half turn only
    // at corners that are told apart correctly.
    const SimpleFace& upper = poly->mFaces[0];
    Vec3D n, first;
    half.Transform(n, upper.mNormal);
    half.Transform(first, upper.GetVert(0)->mPos);
    int hits = 0;
    for (int j = 5; j < 9; ++j)
        hits += upper.MatchesUnder(poly->mFaces[j], n, first, half);
    EXPECT_EQ(hits, 1);
    for (int j = 0; j < 4; ++j)
        EXPECT_FALSE(upper.MatchesUnder(poly->mFaces[j], n, first, half));
}
