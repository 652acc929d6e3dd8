#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/RotationAxisTester.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;

std::unique_ptr<SimplePoly> Solid(const std::string& name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    auto poly = MakeModel(ConvexSolid(FindSolid(solids, name).points));
    poly->CreateVertexFaceLists(true);
    poly->ResetTypeIds();
    return poly;
}

const SimpleFace* FaceWithNormal(const SimplePoly& poly, const Vec3D& n)
{
    for (int i = 0; i < poly.mNumFaces; ++i)
    {
        if (Vec3Equal(poly.mFaces[i].mNormal, n, kTol))
            return &poly.mFaces[i];
    }
    return nullptr;
}

// Every element of a model grouped by type id, each id checked against its ring.
std::map<int, std::set<int>> TypesOf(const SimplePoly& poly, bool faces)
{
    std::map<int, std::set<int>> types;
    const int n = faces ? poly.mNumFaces : poly.mNumVerts;
    for (int i = 0; i < n; ++i)
    {
        const SimpleElem* e = faces ? static_cast<const SimpleElem*>(&poly.mFaces[i]) : &poly.mVerts[i];
        types[e->mId].insert(i);
        int ring = 0;
        const SimpleElem* r = e;
        do
        {
            EXPECT_EQ(r->mId, e->mId);
            r = r->mNextOfType;
        } while (r != e && ++ring < 1000);
    }
    return types;
}

bool AnyMarks(const SimplePoly& poly)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        if (poly.mVerts[i].mFlags & (E::kDone | E::kEdgeTypeMark))
            return true;
    }
    for (int i = 0; i < poly.mNumFaces; ++i)
    {
        if (poly.mFaces[i].mFlags & (E::kDone | E::kEdgeTypeMark))
            return true;
    }
    return false;
}
}  // namespace

TEST(RotationAxisTesterTest, HexagonAtOrderThreeSeedsItsAlternateCorners)
{
    auto model = Solid("truncated tetrahedron");
    auto hull = CreateConvexHull(model.get(), kHullMarkingMode);
    ASSERT_TRUE(hull);
    const SimpleFace* hexagon = nullptr;
    for (int i = 0; i < hull->mNumFaces && !hexagon; ++i)
        hexagon = hull->mFaces[i].mNum == 6 ? &hull->mFaces[i] : nullptr;
    ASSERT_NE(hexagon, nullptr);

    RotationAxisTester tester(*model, 6);
    Mat3 turn;
    EXPECT_FALSE(tester.TestRotation(hexagon, nullptr, -1, hexagon->mNormal, turn, 6, 6));
    model->ClearFlags(E::kDone);
    ASSERT_TRUE(tester.TestRotation(hexagon, nullptr, -1, hexagon->mNormal, turn, 6, 3));
    model->ClearFlags(E::kDone);

    const std::vector<SimpleVert*>& work = tester.Work();
    ASSERT_EQ(tester.Count(), 12);
    auto corner = [&](int k) { return &model->mVerts[hexagon->GetVert(k)->GetIndex()]; };
    EXPECT_EQ(work[0], corner(0));
    EXPECT_EQ(work[1], corner(2));
    EXPECT_EQ(work[2], corner(4));
    // Each vertex once, each group a vertex and its images.
    std::set<const SimpleVert*> seen(work.begin(), work.begin() + 12);
    EXPECT_EQ(seen.size(), 12u);
    for (int g = 0; g < 12; g += 3)
    {
        Vec3D p = work[size_t(g)]->mPos;
        for (int j = 1; j < 3; ++j)
        {
            turn.Transform(p, p);
            EXPECT_TRUE(Vec3Equal(work[size_t(g + j)]->mPos, p, kTol));
        }
        // Growth from the first group reached corner 1 before its seed came up: no group starts there.
        EXPECT_NE(work[size_t(g)], corner(1));
    }
}

TEST(RotationAxisTesterTest, AQuarterTurnOfTheCubeMergesItsOrbits)
{
    auto cube = Solid("cube");
    const SimpleFace* top = FaceWithNormal(*cube, {0, 0, 1});
    RotationAxisTester tester(*cube, 4);
    EXPECT_FALSE(tester.TestAxisAndCombineSameTypes(top, nullptr, -1, {0, 0, 1}, 4, 3));  // 4 is no multiple of 3
    EXPECT_FALSE(AnyMarks(*cube));
    ASSERT_TRUE(tester.TestAxisAndCombineSameTypes(top, nullptr, -1, {0, 0, 1}, 4, 4));
    EXPECT_FALSE(AnyMarks(*cube));

    // Vertices: the top four and the bottom four. Faces: top, bottom and the four sides.
    std::map<int, std::set<int>> verts = TypesOf(*cube, false);
    ASSERT_EQ(verts.size(), 2u);
    for (const auto& [id, members] : verts)
    {
        ASSERT_EQ(members.size(), 4u);
        const double z = cube->mVerts[*members.begin()].mPos.z;
        for (int i : members)
            EXPECT_EQ(cube->mVerts[i].mPos.z, z);
    }
    std::map<int, std::set<int>> faces = TypesOf(*cube, true);
    ASSERT_EQ(faces.size(), 3u);
    std::multiset<size_t> sizes;
    for (const auto& [id, members] : faces)
        sizes.insert(members.size());
    EXPECT_EQ(sizes, (std::multiset<size_t>{1, 1, 4}));
    // No face lies where another does.
    for (int i = 0; i < cube->mNumFaces; ++i)
        EXPECT_EQ(cube->mFaces[i].mNextCoincident, &cube->mFaces[i]);

    // The quarter turn about a body diagonal is no symmetry; the third turn is.
    Vec3D diagonal{1, 1, 1};
    Vec3Normalize(diagonal);
    const SimpleVert* corner = nullptr;
    for (int i = 0; i < cube->mNumVerts && !corner; ++i)
        corner = Vec3Equal(cube->mVerts[i].mPos, {1, 1, 1}, kTol) ? &cube->mVerts[i] : nullptr;
    ASSERT_NE(corner, nullptr);
    Mat3 turn;
    EXPECT_TRUE(tester.TestRotation(nullptr, corner, -1, diagonal, turn, 3, 3));
    EXPECT_EQ(tester.Work()[0], corner);  // on the axis: a group of itself
    EXPECT_EQ(tester.Work()[2], corner);
    cube->ClearFlags(E::kDone);
}

TEST(RotationAxisTesterTest, PositionsAloneDoNotMakeASymmetry)
{
    // Two square pyramids apex to apex, each apex its own vertex at the origin; the lower base is
    // cut into two triangles along a diagonal.
    const std::vector<Vec3D> verts = {{0, 0, 0},  {0, 0, 0},   {1, 1, 1},   {-1, 1, 1},  {-1, -1, 1},
                                      {1, -1, 1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}};
    auto poly = MakeFacedPoly(verts, {{0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 2}, {2, 5, 4, 3}, {1, 6, 7},
                                      {1, 7, 8}, {1, 8, 9}, {1, 9, 6}, {6, 9, 8}, {6, 8, 7}});
    poly->CreateVertexFaceLists(true);
    poly->ResetTypeIds();
    poly->mVerts[0].mNextCoincident = &poly->mVerts[1];
    poly->mVerts[1].mNextCoincident = &poly->mVerts[0];
    const SimpleFace* base = &poly->mFaces[4];
    RotationAxisTester tester(*poly, 4);
    Mat3 turn;

    // The half turn about z keeps both pyramids and the cut.
    EXPECT_TRUE(tester.TestRotation(base, nullptr, -1, {0, 0, 1}, turn, 4, 2));
    poly->ClearFlags(E::kDone);
    // The quarter turn about z moves every vertex onto one, but not the cut.
    EXPECT_FALSE(tester.TestRotation(base, nullptr, -1, {0, 0, 1}, turn, 4, 4));
    poly->ClearFlags(E::kDone);
    // The half turn about x, through the centre of the hull's face x = 1, swaps the apexes, which
    // is right for them, but takes the square onto the two triangles.
    auto hull = CreateConvexHull(poly.get(), 0);
    ASSERT_TRUE(hull);
    const SimpleFace* side = FaceWithNormal(*hull, {1, 0, 0});
    ASSERT_NE(side, nullptr);
    EXPECT_FALSE(tester.TestRotation(side, nullptr, -1, {1, 0, 0}, turn, 4, 2));
    poly->ClearFlags(E::kDone);

    // With a square below as well, the half turn about x holds, and it pairs each apex with the other.
    auto whole = MakeFacedPoly(verts, {{0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 2}, {2, 5, 4, 3}, {1, 6, 7},
                                       {1, 7, 8}, {1, 8, 9}, {1, 9, 6}, {6, 9, 8, 7}});
    whole->CreateVertexFaceLists(true);
    whole->ResetTypeIds();
    whole->mVerts[0].mNextCoincident = &whole->mVerts[1];
    whole->mVerts[1].mNextCoincident = &whole->mVerts[0];
    RotationAxisTester wholeTester(*whole, 4);
    ASSERT_TRUE(wholeTester.TestAxisAndCombineSameTypes(side, nullptr, -1, {1, 0, 0}, 4, 2));
    EXPECT_EQ(whole->mVerts[0].mId, whole->mVerts[1].mId);
    EXPECT_EQ(whole->mFaces[4].mId, whole->mFaces[9].mId);
}

TEST(RotationAxisTesterTest, EmptyFacesMustHaveImages)
{
    auto cube = Solid("cube");
    const int first = cube->mNumFaces;
    cube->Grow(cube->mNumVerts, first + 2);
    const Vec3D points[2] = {{0, 0, 2}, {0, 0, -2}};
    for (int i = 0; i < 2; ++i)
    {
        cube->mFaces[first + i].SetNumVerts(0);
        cube->mFaces[first + i].mNormal = points[i];
    }
    cube->ResetTypeIds();
    ASSERT_TRUE(cube->mFlags & SimplePoly::kHasEmptyFaces);
    const SimpleFace* top = FaceWithNormal(*cube, {0, 0, 1});
    const SimpleFace* side = FaceWithNormal(*cube, {1, 0, 0});
    RotationAxisTester tester(*cube, 4);
    // About z each point stays; about x the quarter turn takes them where no empty face is.
    EXPECT_TRUE(tester.TestAxisAndCombineSameTypes(top, nullptr, -1, {0, 0, 1}, 4, 4));
    EXPECT_NE(cube->mFaces[first].mId, cube->mFaces[first + 1].mId);
    EXPECT_FALSE(tester.TestAxisAndCombineSameTypes(side, nullptr, -1, {1, 0, 0}, 4, 4));
    // The half turn about x swaps them: one type.
    EXPECT_TRUE(tester.TestAxisAndCombineSameTypes(side, nullptr, -1, {1, 0, 0}, 4, 2));
    EXPECT_EQ(cube->mFaces[first].mId, cube->mFaces[first + 1].mId);
    EXPECT_FALSE(AnyMarks(*cube));
}

TEST(RotationAxisTesterTest, FacesInOnePlaceJoinOneRingAndType)
{
    // The cube with its top face given twice.
    auto cube = Solid("cube");
    const SimpleFace* top = FaceWithNormal(*cube, {0, 0, 1});
    FacedSolid doubled;
    for (int i = 0; i < cube->mNumVerts; ++i)
        doubled.verts.push_back(cube->mVerts[i].mPos);
    for (int f = 0; f < cube->mNumFaces; ++f)
    {
        std::vector<int> corners;
        for (int k = 0; k < cube->mFaces[f].mNum; ++k)
            corners.push_back(cube->mFaces[f].GetVert(k)->GetIndex());
        doubled.faces.push_back(corners);
        if (&cube->mFaces[f] == top)
            doubled.faces.push_back(corners);
    }
    auto poly = MakeModel(doubled);
    poly->CreateVertexFaceLists(true);
    poly->ResetTypeIds();
    const SimpleFace* a = FaceWithNormal(*poly, {0, 0, 1});
    const SimpleFace* b = a + 1;
    ASSERT_TRUE(Vec3Equal(b->mNormal, a->mNormal, kTol));
    RotationAxisTester tester(*poly, 4);
    ASSERT_TRUE(tester.TestAxisAndCombineSameTypes(a, nullptr, -1, {0, 0, 1}, 4, 4));
    EXPECT_EQ(a->mNextCoincident, b);
    EXPECT_EQ(b->mNextCoincident, a);
    EXPECT_EQ(a->mId, b->mId);
    EXPECT_NE(a->mId, FaceWithNormal(*poly, {1, 0, 0})->mId);
}
