#include "HemiPolyhedra.h"
#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/GrowableArray.h"
#include "kernel/Mat3.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/ElementDisplayOptions.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"
#include "operations/VertexPair.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

std::unique_ptr<SimplePoly> MakeCube()
{
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    return MakeFacedPoly(cube.points, CubeFaces(cube.points));
}

std::unique_ptr<SimplePoly> MakeTetrahedron()
{
    const KnownSolid tetra = FindSolid(PlatonicAndArchimedeanSolids(), "tetrahedron");
    return MakeModel(ConvexSolid(tetra.points));
}

// A model of one regular {n/d} star polygon of circumradius 1 in the plane z = 1, its corners
// running counterclockwise seen from above.
std::unique_ptr<SimplePoly> MakeStar(int n, int d)
{
    std::vector<Vec3D> points;
    std::vector<int> corners;
    for (int k = 0; k < n; ++k)
    {
        points.push_back({std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n), 1.0});
        corners.push_back(k * d % n);
    }
    return MakeFacedPoly(points, {corners});
}

// A 4D model: the polytope holds the five vertices and ten triangles of a 4-simplex, moved along w
// by the offset, and nothing else.
std::unique_ptr<SimplePoly> MakeSimplex4D(double offset, double scale)
{
    auto polytope = std::make_unique<Polytope4D>();
    const Vec4D corners[5] = {{1, 0, 0, offset}, {0, 1, 0, offset}, {0, 0, 1, offset}, {-1, -1, -1, offset},
                              {0, 0, 0, offset + 2}};
    for (const Vec4D& corner : corners)
        polytope->NewVert(&corner);
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            for (int k = j + 1; k < 5; ++k)
            {
                Face4D* face = polytope->NewFace(3);
                face->SetVert(0, polytope->GetVert(i));
                face->SetVert(1, polytope->GetVert(j));
                face->SetVert(2, polytope->GetVert(k));
            }
    polytope->mScale = scale;
    auto model = std::make_unique<SimplePoly>();
    model->InitFromPolytope4D(std::move(polytope), false);
    return model;
}

Vec3D TriangleAreaVector(const SimpleFace& f)
{
    Vec3D a, b, n;
    Vec3Sub(a, f.GetVert(1)->mPos, f.GetVert(0)->mPos);
    Vec3Sub(b, f.GetVert(2)->mPos, f.GetVert(0)->mPos);
    Vec3Cross(n, a, b);
    Vec3Scale(n, n, 0.5);
    return n;
}

double DistanceToSegment(const Vec3D& p, const Vec3D& a, const Vec3D& b)
{
    Vec3D ab, ap, foot;
    Vec3Sub(ab, b, a);
    Vec3Sub(ap, p, a);
    const double t = std::clamp(Vec3Dot(ap, ab) / Vec3Dot(ab, ab), 0.0, 1.0);
    Vec3AddScaled(foot, a, t, ab);
    return Vec3Distance(p, foot);
}

std::set<std::pair<int, int>> PairSet(const VertexPair* list)
{
    std::set<std::pair<int, int>> out;
    for (; list; list = list->mNext)
        out.insert({list->mLow, list->mHigh});
    return out;
}
}  // namespace

TEST(SimplePolyCopiesTest, CloneCopiesRecordsListsAndTextsIntoItsOwnArrays)
{
    auto cube = MakeCube();
    cube->CreateVertexFaceLists(true);
    ASSERT_TRUE(SimpleSortVertFaces(*cube));
    cube->SetName("Cube");
    cube->SetDualName("Octahedron");
    cube->SetComments("six squares");
    cube->SetLink("https://example.org/cube");
    cube->SetSymGroup(SymGroup::Create(SymGroup::kOctahedral).get());
    cube->mSelectedFace = &cube->mFaces[3];
    cube->mScale = 2.5;
    cube->mFlags |= P::kKeepCentre;
    cube->mFaces[1].mRots = 4;
    cube->mFaces[1].mId = 7;
    cube->mFaces[1].mColor = 0x102030;
    cube->mFaces[1].SetText("one");
    cube->mVerts[2].mId = 5;
    cube->mVerts[6].mFlags |= E::kHidden;
    // Type rings are the source's business: the copy's elements stand alone.
    cube->mFaces[0].mNextOfType = &cube->mFaces[1];
    cube->mFaces[1].mNextOfType = &cube->mFaces[0];

    auto copy = SimplePoly::Clone(cube.get());
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->mNumVerts, 8);
    ASSERT_EQ(copy->mNumFaces, 6);
    EXPECT_EQ(copy->mFlags, cube->mFlags);
    EXPECT_EQ(copy->mScale, 2.5);
    EXPECT_EQ(copy->mName, "Cube");
    EXPECT_EQ(copy->mDualName, "Octahedron");
    EXPECT_EQ(copy->mComments, "six squares");
    EXPECT_EQ(copy->mLink, "https://example.org/cube");
    ASSERT_TRUE(copy->mSymGroup);
    EXPECT_NE(copy->mSymGroup.get(), cube->mSymGroup.get());
    EXPECT_EQ(copy->mSymGroup->mKind, SymGroup::kOctahedral);
    EXPECT_EQ(copy->mSelectedFace, &copy->mFaces[3]);
    for (int i = 0; i < 8; ++i)
    {
        const SimpleVert& v = copy->mVerts[i];
        EXPECT_TRUE(Vec3Equal(v.mPos, cube->mVerts[i].mPos, 0.0));
        EXPECT_EQ(v.mId, cube->mVerts[i].mId);
        EXPECT_EQ(v.mFlags & E::kHidden, cube->mVerts[i].mFlags & E::kHidden);
        // The fans in the source's order, as faces of the copy.
        ASSERT_EQ(v.mNum, 3);
        for (int k = 0; k < v.mNum; ++k)
            EXPECT_EQ(v.GetFace(k), &copy->mFaces[cube->mVerts[i].GetFace(k)->GetIndex()]);
    }
    for (int f = 0; f < 6; ++f)
    {
        const SimpleFace& face = copy->mFaces[f];
        EXPECT_EQ(face.mNextOfType, &face);
        ASSERT_EQ(face.mNum, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(face.GetVert(k), &copy->mVerts[cube->mFaces[f].GetVert(k)->GetIndex()]);
        EXPECT_TRUE(Vec3Equal(face.mNormal, cube->mFaces[f].mNormal, 0.0));
    }
    EXPECT_EQ(copy->mFaces[1].mRots, 4);
    EXPECT_EQ(copy->mFaces[1].mId, 7);
    EXPECT_EQ(copy->mFaces[1].mColor, 0x102030u);
    EXPECT_EQ(copy->mFaces[1].mText, "one");

    EXPECT_EQ(SimplePoly::Clone(nullptr), nullptr);
}

TEST(SimplePolyCopiesTest, CloneBuildsTheFaceListsASourceHasUnsorted)
{
    auto cube = MakeCube();
    cube->CreateVertexFaceLists(true);
    ASSERT_FALSE(cube->mFlags & P::kSortedFaceLists);
    auto copy = SimplePoly::Clone(cube.get());
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->mFlags & P::kHasVertFaceLists);
    for (int i = 0; i < 8; ++i)
    {
        ASSERT_EQ(copy->mVerts[i].mNum, 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_GE(copy->mVerts[i].GetFace(k)->IndexInList(&copy->mVerts[i], -1), 0);
    }
}

TEST(SimplePolyCopiesTest, CloneFindsItsVerticesAtInfinityAndInSpace)
{
    const HemiPolyhedron hemi = HemiPolyhedra()[1];
    auto model = MakeModel(hemi.solid);
    auto dual = SimplePoly::CreateDual(model.get(), 1.0);
    ASSERT_TRUE(dual);
    auto copy = SimplePoly::Clone(dual.get());
    ASSERT_TRUE(copy);
    int atInfinity = 0;
    for (int i = 0; i < copy->mNumVerts; ++i)
    {
        const SimpleVert& v = copy->mVerts[i];
        const bool inf = (v.mFlags & E::kInf) != 0;
        atInfinity += inf;
        int next = copy->mNumVerts;
        EXPECT_EQ(copy->FindOrCreateVert(v.mPos, next, inf), &v) << i;
        EXPECT_EQ(next, copy->mNumVerts);
    }
    EXPECT_EQ(atInfinity, 4);  // the octahemioctahedron's hexagons
}

TEST(SimplePolyCopiesTest, CloneOfAFourDModelCopiesThePolytope)
{
    auto model = MakeSimplex4D(0.0, 1.0);
    model->SetName("Simplex");
    model->mScale = 3.0;
    auto copy = SimplePoly::Clone(model.get());
    ASSERT_TRUE(copy);
    ASSERT_TRUE(copy->StandsFor4D());
    EXPECT_NE(copy->mPolytope4D.get(), model->mPolytope4D.get());
    EXPECT_EQ(copy->mPolytope4D->mNumVerts, 5);
    EXPECT_TRUE(copy->mFlags & P::kFrom4D);
    EXPECT_EQ(copy->mName, "Simplex");
    EXPECT_EQ(copy->mScale, 3.0);
}

TEST(SimplePolyCopiesTest, CombiningAModelWithItselfDoublesEveryVertexAndFace)
{
    auto cube = MakeCube();
    cube->mSelectedFace = &cube->mFaces[2];
    cube->SetName("Cube");
    auto both = cube->Combine(*cube);
    ASSERT_TRUE(both);
    ASSERT_EQ(both->mNumVerts, 16);
    ASSERT_EQ(both->mNumFaces, 12);
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_TRUE(Vec3Equal(both->mVerts[i].mPos, cube->mVerts[i].mPos, 0.0));
        EXPECT_TRUE(Vec3Equal(both->mVerts[i + 8].mPos, cube->mVerts[i].mPos, 0.0));
        // Of two vertices in one place a search finds the first.
        int next = both->mNumVerts;
        EXPECT_EQ(both->FindOrCreateVert(cube->mVerts[i].mPos, next), &both->mVerts[i]);
    }
    for (int f = 0; f < 6; ++f)
    {
        for (int k = 0; k < 4; ++k)
        {
            const int corner = cube->mFaces[f].GetVert(k)->GetIndex();
            EXPECT_EQ(both->mFaces[f].GetVert(k), &both->mVerts[corner]);
            EXPECT_EQ(both->mFaces[f + 6].GetVert(k), &both->mVerts[corner + 8]);
        }
    }
    EXPECT_EQ(both->mSelectedFace, &both->mFaces[2]);
    EXPECT_TRUE(both->mName.empty());
    EXPECT_EQ(both->mFlags & (P::kKeepOrientation | P::kKeepRealSize | P::kKeepCentre | P::kFrom4D),
              P::kKeepOrientation | P::kKeepRealSize);
}

TEST(SimplePolyCopiesTest, CombineOffsetsTheSecondModelAndKeepsSortedFans)
{
    auto cube = MakeCube();
    auto tetra = MakeTetrahedron();
    for (SimplePoly* m : {cube.get(), tetra.get()})
    {
        m->CreateVertexFaceLists(true);
        ASSERT_TRUE(SimpleSortVertFaces(*m));
    }
    cube->mScale = 2.0;
    tetra->mScale = 5.0;
    tetra->mFlags |= P::kKeepCentre | P::kFrom4D;
    auto both = cube->Combine(*tetra);
    ASSERT_TRUE(both);
    ASSERT_EQ(both->mNumVerts, 12);
    ASSERT_EQ(both->mNumFaces, 10);
    EXPECT_EQ(both->mScale, 5.0);
    EXPECT_TRUE(both->mFlags & P::kKeepCentre);
    EXPECT_TRUE(both->mFlags & P::kFrom4D);
    EXPECT_TRUE(both->mFlags & P::kSortedFaceLists);
    for (int f = 0; f < 4; ++f)
    {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(both->mFaces[6 + f].GetVert(k), &both->mVerts[8 + tetra->mFaces[f].GetVert(k)->GetIndex()]);
    }
    for (int i = 0; i < 12; ++i)
    {
        const SimpleVert& from = i < 8 ? cube->mVerts[i] : tetra->mVerts[i - 8];
        ASSERT_EQ(both->mVerts[i].mNum, 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(both->mVerts[i].GetFace(k), &both->mFaces[from.GetFace(k)->GetIndex() + (i < 8 ? 0 : 6)]);
    }

    // Without sorted fans on both sides no lists are made.
    tetra->mFlags &= ~P::kSortedFaceLists;
    auto unsorted = cube->Combine(*tetra);
    ASSERT_TRUE(unsorted);
    EXPECT_FALSE(unsorted->mFlags & P::kHasVertFaceLists);
}

TEST(SimplePolyCopiesTest, FourDModelsCombineOnlyWithEachOther)
{
    ScopedScriptedServices scripted;
    auto cube = MakeCube();
    auto first = MakeSimplex4D(0.0, 1.0);
    auto second = MakeSimplex4D(10.0, 1.0);
    first->mScale = 2.0;
    second->mScale = 3.0;
    EXPECT_EQ(cube->Combine(*first), nullptr);
    EXPECT_EQ(first->Combine(*cube), nullptr);
    auto both = first->Combine(*second);
    ASSERT_TRUE(both);
    ASSERT_TRUE(both->StandsFor4D());
    // The compound is finished: two simplices of five cells each, apart.
    const Polytope4D& polytope = *both->mPolytope4D;
    EXPECT_EQ(polytope.mNumVerts, 10);
    EXPECT_EQ(polytope.mNumCells, 10);
    EXPECT_EQ(polytope.mNumEdges, 20);
    EXPECT_EQ(polytope.GetNumParts(), 2);
    EXPECT_EQ(both->mScale, 3.0);
    EXPECT_TRUE(both->mFlags & P::kKeepOrientation);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(SimplePolyCopiesTest, MirrorImageReflectsInTheGroupsTurnedPlane)
{
    const Mat3 turn = RandomRotation(17);
    struct Case
    {
        const char* name;
        bool withGroup;
        bool turned;
    };
    const Case kCases[] = {{"no group", false, false}, {"group not turned", true, false}, {"turned group", true, true}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto cube = MakeCube();
        cube->mFaces[5].mNormal = {-2, -2, -2};  // not yet computed: stays so
        // Turn the model off its axes so that the reflection is told apart from its symmetries.
        const Mat3 place = RandomRotation(5);
        cube->Rotate(place);
        std::vector<Vec3D> before;
        for (int i = 0; i < 8; ++i)
            before.push_back(cube->mVerts[i].mPos);
        std::unique_ptr<SymGroup> group;
        if (c.withGroup)
        {
            group = SymGroup::Create(SymGroup::kOctahedral);
            if (c.turned)
                group->Rotate(turn);
        }
        cube->SetSymGroup(group.get());
        cube->MirrorImage(group.get());
        EXPECT_FALSE(cube->mSymGroup);
        // x -> -x in the group's own frame.
        const Mat3 frame = c.turned ? turn : Mat3();
        for (int i = 0; i < 8; ++i)
        {
            Vec3D local, expected;
            frame.TransformTransposed(local, before[size_t(i)]);
            local.x = -local.x;
            frame.Transform(expected, local);
            EXPECT_TRUE(Vec3Equal(cube->mVerts[i].mPos, expected, 1e-12)) << i;
            int next = cube->mNumVerts;
            EXPECT_EQ(cube->FindOrCreateVert(expected, next), &cube->mVerts[i]);
        }
        // Normals follow their faces, whose corner order is left as it was.
        for (int f = 0; f < 5; ++f)
        {
            Vec3D area = cube->mFaces[f].GetAreaVector();
            Vec3Normalize(area);
            EXPECT_TRUE(Vec3Equal(cube->mFaces[f].mNormal, Vec3D{-area.x, -area.y, -area.z}, 1e-12)) << f;
        }
        EXPECT_EQ(cube->mFaces[5].mNormal.x, -2.0);
    }
}

TEST(SimplePolyCopiesTest, CopyTriangulatedCutsStarPolygonsWhereTheirSidesCross)
{
    struct Case
    {
        int n, d;
    };
    for (const Case c : {Case{5, 2}, Case{7, 2}, Case{7, 3}, Case{8, 3}})
    {
        SCOPED_TRACE(std::to_string(c.n) + "/" + std::to_string(c.d));
        auto star = MakeStar(c.n, c.d);
        VertexPair* edges = nullptr;
        auto tri = SimplePoly::CopyTriangulated(star.get(), P::kTriangulateAll, &edges);
        ASSERT_TRUE(tri);
        // The sides before the cut: the star's own n sides.
        EXPECT_EQ(CountVertexPairs(edges), c.n);
        for (const auto& [a, b] : PairSet(edges))
            EXPECT_TRUE((b - a) % c.n == c.d || (a - b + c.n) % c.n == c.d);
        FreeVertexPairs(edges);

        // Every side is crossed by 2 (d - 1) others: n (d - 1) crossings, each a new vertex on two sides.
        ASSERT_EQ(tri->mNumVerts, c.n + c.n * (c.d - 1));
        for (int i = c.n; i < tri->mNumVerts; ++i)
        {
            int sides = 0;
            for (int k = 0; k < c.n; ++k)
                sides += DistanceToSegment(tri->mVerts[i].mPos, star->mVerts[k].mPos,
                                           star->mVerts[(k + c.d) % c.n].mPos) < 1e-9;
            EXPECT_EQ(sides, 2) << i;
        }
        // The outline is filled once, the inner regions wound around more than once included:
        // n kites of the outer radius and the inner one of the outline.
        const double inner = std::cos(kPi * c.d / c.n) / std::cos(kPi * (c.d - 1) / c.n);
        const double area = c.n * inner * std::sin(kPi / c.n);
        double sum = 0.0;
        for (int f = 0; f < tri->mNumFaces; ++f)
        {
            const SimpleFace& face = tri->mFaces[f];
            ASSERT_EQ(face.mNum, 3);
            const Vec3D a = TriangleAreaVector(face);
            EXPECT_GT(a.z, 0.0);  // the way the star runs
            sum += a.z;
            EXPECT_TRUE(Vec3Equal(face.mNormal, star->mFaces[0].mNormal, 0.0));
        }
        EXPECT_NEAR(sum, area, 1e-12);
    }
}

TEST(SimplePolyCopiesTest, CopyTriangulatedKeepsEachFacesCornersDataAndOrientation)
{
    auto cube = MakeCube();
    cube->SetName("Cube");
    cube->mScale = 4.0;
    cube->mFlags |= P::kKeepRealSize;
    cube->mFaces[3].mColor = 0x00FF00;
    cube->CreateVertexFaceLists(true);
    auto tri = SimplePoly::CopyTriangulated(cube.get(), P::kTriangulateNonConvex, nullptr);
    ASSERT_TRUE(tri);
    EXPECT_EQ(tri->mNumVerts, 8);
    ASSERT_EQ(tri->mNumFaces, 12);
    EXPECT_EQ(tri->mName, "Cube");
    EXPECT_EQ(tri->mScale, 4.0);
    EXPECT_TRUE(tri->mFlags & P::kKeepRealSize);
    EXPECT_FALSE(tri->mFlags & P::kMayGrow);
    EXPECT_FALSE(tri->mFlags & P::kSortedFaceLists);
    int green = 0;
    for (int f = 0; f < 12; ++f)
    {
        const SimpleFace& face = tri->mFaces[f];
        ASSERT_EQ(face.mNum, 3);
        Vec3D a = TriangleAreaVector(face);
        EXPECT_NEAR(Vec3Length(a), 2.0, 1e-12);  // half of a 2 x 2 square
        Vec3Normalize(a);
        EXPECT_TRUE(Vec3Equal(a, face.mNormal, 1e-12)) << f;
        green += face.mColor == 0x00FF00;
    }
    EXPECT_EQ(green, 2);
    for (int i = 0; i < 8; ++i)
        EXPECT_GE(tri->mVerts[i].mNum, 3);  // the lists the source had are made again
}

TEST(SimplePolyCopiesTest, CopyTriangulatedWithoutATriangleRequestIsAPlainCopy)
{
    auto star = MakeStar(5, 2);
    auto copy = SimplePoly::CopyTriangulated(star.get(), P::kTriangulateHoles, nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->mNumVerts, 5);
    ASSERT_EQ(copy->mNumFaces, 1);
    EXPECT_EQ(copy->mFaces[0].mNum, 5);
    EXPECT_EQ(SimplePoly::CopyTriangulated(nullptr, P::kTriangulateAll, nullptr), nullptr);

    // A slot that holds a list already keeps it.
    VertexPair* edges = nullptr;
    AddVertexPair(7, 9, 1, edges);
    auto tri = SimplePoly::CopyTriangulated(star.get(), P::kTriangulateAll, &edges);
    EXPECT_EQ(CountVertexPairs(edges), 1);
    FreeVertexPairs(edges);
}

TEST(SimplePolyCopiesTest, CollectColorsListsEachVisibleColourOnce)
{
    auto cube = MakeCube();
    const uint32_t colors[6] = {0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int f = 0; f < 6; ++f)
        cube->mFaces[f].mColor = colors[f];
    cube->mFaces[4].mFlags |= E::kHidden;
    cube->mFaces[5].mFlags |= E::kTemp;
    GrowableArray<ColorRGB> list;
    ColorRGB stale{0.5f, 0.5f, 0.5f};
    list.Add(stale);
    cube->CollectColors(list);
    EXPECT_EQ(list.capacity, 6u);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(ColorToRGB(list[0]), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(list[1]), 0x00FF00u);
}

TEST(SimplePolyCopiesTest, CollectEdgesTakesTheSidesOfVisibleFacesOrTheEdgeRecords)
{
    // The cube without edge records: its twelve edges in the default edge colour.
    auto cube = MakeCube();
    VertexPair* edges = cube->CollectEdges();
    const std::set<std::pair<int, int>> pairs = PairSet(edges);
    EXPECT_EQ(CountVertexPairs(edges), 12);
    for (const auto& [a, b] : pairs)
        EXPECT_DOUBLE_EQ(Vec3Distance(cube->mVerts[a].mPos, cube->mVerts[b].mPos), 2.0);
    const int defaultColor = int(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor));
    for (const VertexPair* p = edges; p; p = p->mNext)
        EXPECT_EQ(p->mValue, defaultColor);
    FreeVertexPairs(edges);

    // Two triangles on a diagonal: a hidden one and a Temp one add nothing of their own.
    SimplePoly pair(4, 3);
    pair.mVerts[0].SetPos({0, 0, 1});
    pair.mVerts[1].SetPos({1, 0, 1});
    pair.mVerts[2].SetPos({1, 1, 1});
    pair.mVerts[3].SetPos({0, 1, 1});
    const int corners[3][3] = {{0, 1, 2}, {0, 2, 3}, {1, 2, 3}};
    for (int f = 0; f < 3; ++f)
    {
        pair.mFaces[f].SetNumVerts(3);
        for (int k = 0; k < 3; ++k)
            pair.mFaces[f].SetVert(k, &pair.mVerts[corners[f][k]]);
    }
    pair.mFaces[1].mFlags |= E::kHidden;
    pair.mFaces[2].mFlags |= E::kTemp;
    edges = pair.CollectEdges();
    EXPECT_EQ(PairSet(edges), (std::set<std::pair<int, int>>{{0, 1}, {1, 2}, {0, 2}}));
    FreeVertexPairs(edges);

    // With edge records: their own colours, hidden ones and those of hidden faces left out.
    ASSERT_TRUE(pair.AllocateEdges(4));
    const int ends[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};
    for (int i = 0; i < 4; ++i)
    {
        pair.mEdges[i].mVerts[0] = &pair.mVerts[ends[i][0]];
        pair.mEdges[i].mVerts[1] = &pair.mVerts[ends[i][1]];
        pair.mEdges[i].mColor = 0x10u * uint32_t(i + 1);
    }
    pair.mEdges[0].mFaces[0] = &pair.mFaces[0];
    pair.mEdges[1].mFaces[0] = &pair.mFaces[0];
    pair.mEdges[1].mFlags |= SimpleEdge::kHidden;
    pair.mEdges[2].mFaces[0] = &pair.mFaces[1];
    pair.mEdges[2].mFaces[1] = &pair.mFaces[2];
    pair.mEdges[3].mFaces[1] = &pair.mFaces[1];
    pair.mEdges[3].mFaces[0] = &pair.mFaces[0];
    edges = pair.CollectEdges();
    EXPECT_EQ(PairSet(edges), (std::set<std::pair<int, int>>{{0, 1}, {0, 3}}));
    for (const VertexPair* p = edges; p; p = p->mNext)
        EXPECT_EQ(p->mValue, p->mHigh == 1 ? 0x10 : 0x40);
    FreeVertexPairs(edges);
}

TEST(SimplePolyCopiesTest, HasImagesLooksAtTheModelsOwnFaces)
{
    auto cube = MakeCube();
    auto other = MakeCube();
    EXPECT_FALSE(cube->HasImages());
    FaceImage* image =
        FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, other->GetFace(0), false);
    other->GetFace(0)->mImage.Set(image);
    ASSERT_TRUE(FaceImagesExist());
    EXPECT_FALSE(cube->HasImages());
    EXPECT_TRUE(other->HasImages());
    other.reset();
    EXPECT_FALSE(FaceImagesExist());
}

TEST(SimplePolyCopiesTest, CopiesAndDualsCarryImagesAsClones)
{
    auto cube = MakeCube();
    FaceImage* image =
        FaceImage::Create(nullptr, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat, cube->GetFace(1), false);
    cube->GetFace(1)->mImage.Set(image);
    auto copy = SimplePoly::Clone(cube.get());
    ASSERT_TRUE(copy);
    FaceImage* clone = copy->mFaces[1].mImage.Get();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, image);
    EXPECT_EQ(clone->mOwner, &copy->mFaces[1]);

    // In the dual, face 1's image goes to vertex 1, which places it.
    auto dual = SimplePoly::CreateDual(cube.get(), 1.0);
    ASSERT_TRUE(dual);
    FaceImage* dualImage = dual->mVerts[1].mImage.Get();
    ASSERT_NE(dualImage, nullptr);
    EXPECT_EQ(dualImage->mOwner, &dual->mVerts[1]);
    cube.reset();
    copy.reset();
    dual.reset();
    EXPECT_FALSE(FaceImagesExist());
}
