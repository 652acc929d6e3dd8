#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/SimpEdgeType.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

std::unique_ptr<SimplePoly> Solid(const std::string& name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return MakeModel(ConvexSolid(FindSolid(solids, name).points));
}

// Every vertex and every face in one type ring of its kind.
void OneTypeEach(SimplePoly& poly)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        poly.mVerts[i].mId = 0;
        poly.mVerts[i].mNextOfType = &poly.mVerts[(i + 1) % poly.mNumVerts];
    }
    for (int i = 0; i < poly.mNumFaces; ++i)
    {
        poly.mFaces[i].mId = 0;
        poly.mFaces[i].mNextOfType = &poly.mFaces[(i + 1) % poly.mNumFaces];
    }
}

// The corners next to v in f.
std::vector<const SimpleElem*> Neighbours(const SimpleFace& f, const SimpleVert& v)
{
    std::vector<const SimpleElem*> out;
    for (int p = f.IndexInList(&v, -1); p >= 0; p = f.IndexInList(&v, p))
    {
        out.push_back(f.mList[(p + 1) % f.mNum]);
        out.push_back(f.mList[(p + f.mNum - 1) % f.mNum]);
    }
    return out;
}

// Each face around v shares an edge at v with the next one, the last with the first.
bool FanIsCycle(const SimpleVert& v)
{
    for (int i = 0; i < v.mNum; ++i)
    {
        const auto a = Neighbours(*v.GetFace(i), v);
        const auto b = Neighbours(*v.GetFace((i + 1) % v.mNum), v);
        bool shared = false;
        for (const SimpleElem* x : a)
        {
            for (const SimpleElem* y : b)
                shared = shared || x == y;
        }
        if (!shared)
            return false;
    }
    return true;
}

// The four vertices of a regular tetrahedron of edge 2 with one corner at apex, pointing away along dir.
std::vector<Vec3D> TetraFrom(const Vec3D& apex, double dir)
{
    const double h = std::sqrt(8.0 / 3.0), r = 2.0 / std::sqrt(3.0);
    std::vector<Vec3D> out = {apex};
    for (int k = 0; k < 3; ++k)
    {
        const double a = 2 * kPi * k / 3 + (dir < 0 ? kPi / 3 : 0.0);
        out.push_back({apex.x + r * std::cos(a), apex.y + dir * h, apex.z + r * std::sin(a)});
    }
    return out;
}

FacedSolid TwoTetrahedraAtAVertex()
{
    FacedSolid s;
    const std::vector<Vec3D> up = TetraFrom({0, 0, 0}, 1.0), down = TetraFrom({0, 0, 0}, -1.0);
    s.verts = {up[0], up[1], up[2], up[3], down[1], down[2], down[3]};
    // Each tetrahedron counter-clockwise from outside.
    s.faces = {{0, 2, 1}, {0, 3, 2}, {0, 1, 3}, {1, 2, 3}, {0, 4, 5}, {0, 5, 6}, {0, 6, 4}, {4, 6, 5}};
    return s;
}

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}
}  // namespace

TEST(VertexFansTest, ManifoldModelsPairEveryEdgeAndSplitNothing)
{
    const auto group = SymGroup::Create(SymGroup::kNoSymmetry);
    for (const char* name : {"tetrahedron", "cube", "icosahedron", "snub cube", "truncated icosahedron"})
    {
        SCOPED_TRACE(name);
        auto poly = Solid(name);
        poly->ResetTypeIds();
        const int numVerts = poly->mNumVerts;
        EdgeTypeList types(CreateEdgeTypes(*poly, *group));
        ASSERT_TRUE(types);
        ASSERT_TRUE(TraverseEdgeTypes(*poly, types.get()));
        int edges = 0;
        for (const SimpEdgeType* t = types.get(); t; t = t->mNext)
        {
            ASSERT_EQ(t->mNumFaces, 2);
            EXPECT_EQ(t->mSlots[0].mPartner, 1);
            EXPECT_EQ(t->mSlots[1].mPartner, 0);
            for (const EdgeInstance* i = t->mFirstInstance; i; i = i->mNext)
                ++edges;
        }
        // Euler: every edge found once.
        EXPECT_EQ(poly->mNumVerts - edges + poly->mNumFaces, 2);
        types.reset();

        ASSERT_TRUE(SortVertFaces(*poly, *group));
        EXPECT_TRUE(poly->mFlags & P::kSortedFaceLists);
        EXPECT_EQ(poly->mNumVerts, numVerts);
        for (int i = 0; i < poly->mNumVerts; ++i)
            EXPECT_TRUE(FanIsCycle(poly->mVerts[i])) << "vertex " << i;
    }
}

TEST(VertexFansTest, EdgesOfOneTypeUnderTheCubesGroup)
{
    auto cube = Solid("cube");
    OneTypeEach(*cube);
    const auto group = SymGroup::Create(SymGroup::kOctahedral);
    EdgeTypeList types(CreateEdgeTypes(*cube, *group));
    ASSERT_TRUE(types);
    EXPECT_EQ(types->mNext, nullptr);
    int instances = 0;
    for (const EdgeInstance* i = types->mFirstInstance; i; i = i->mNext)
    {
        ++instances;
        // Each edge's faces were put in the order of the first edge's images: slot 0 holds the face
        // that runs from the type's first end in both.
        EXPECT_EQ(i->mRecords[0].mFlags & EdgeFace::kFromFirstEnd,
                  types->mFirstInstance->mRecords[0].mFlags & EdgeFace::kFromFirstEnd);
        EXPECT_NE(i->mRecords[0].mFlags & EdgeFace::kFromFirstEnd, i->mRecords[1].mFlags & EdgeFace::kFromFirstEnd);
    }
    EXPECT_EQ(instances, 12);
    // A half turn across the edge swaps its faces.
    EXPECT_TRUE(types->mHasHalfTurnAxis);
    EXPECT_EQ(types->mRotOrder, 2);
    EXPECT_EQ(types->mSlots[0].mRotNext, 1);
    types.reset();
    ASSERT_TRUE(SortVertFaces(*cube, *group));
    for (int i = 0; i < cube->mNumVerts; ++i)
        EXPECT_TRUE(FanIsCycle(cube->mVerts[i]));
}

TEST(VertexFansTest, TwoTetrahedraSharingAVertexSplitIt)
{
    auto poly = MakeModel(TwoTetrahedraAtAVertex());
    poly->ResetTypeIds();
    const auto group = SymGroup::Create(SymGroup::kNoSymmetry);
    ASSERT_EQ(poly->mNumVerts, 7);
    const int oldId = poly->mVerts[0].mId;

    ScopedScriptedServices scripted;
    ASSERT_TRUE(SortVertFaces(*poly, *group));
    EXPECT_TRUE(scripted.services.calls.empty());
    ASSERT_EQ(poly->mNumVerts, 8);
    SimpleVert& kept = poly->mVerts[0];
    SimpleVert& fresh = poly->mVerts[7];
    EXPECT_EQ(fresh.mId, 7 + oldId);
    EXPECT_EQ(kept.mId, oldId);
    EXPECT_TRUE(Vec3Equal(fresh.mPos, kept.mPos, 0.0));
    ASSERT_EQ(kept.mNum, 3);
    ASSERT_EQ(fresh.mNum, 3);
    EXPECT_TRUE(FanIsCycle(kept));
    EXPECT_TRUE(FanIsCycle(fresh));
    // Each keeps the faces of one tetrahedron, and those faces name it.
    auto tetra = [&](const SimpleVert& v) { return v.GetFace(0)->GetIndex() < 4 ? 0 : 1; };
    EXPECT_NE(tetra(kept), tetra(fresh));
    for (const SimpleVert* v : {&kept, &fresh})
    {
        for (int k = 0; k < 3; ++k)
        {
            EXPECT_EQ(v->GetFace(k)->GetIndex() < 4 ? 0 : 1, tetra(*v));
            EXPECT_GE(v->GetFace(k)->IndexInList(v, -1), 0);
        }
    }
    for (int f = 0; f < poly->mNumFaces; ++f)
    {
        const bool namesKept = poly->mFaces[f].IndexInList(&kept, -1) >= 0;
        const bool namesFresh = poly->mFaces[f].IndexInList(&fresh, -1) >= 0;
        EXPECT_FALSE(namesKept && namesFresh);
        EXPECT_EQ(namesKept || namesFresh, f != 3 && f != 7);
    }
    EXPECT_EQ(poly->mVertTree, nullptr);
    EXPECT_TRUE(poly->mFlags & P::kSortedFaceLists);

    // Fans that cannot be walked by their edges alone.
    auto plain = MakeModel(TwoTetrahedraAtAVertex());
    plain->CreateVertexFaceLists(true);
    EXPECT_FALSE(SimpleSortVertFaces(*plain));
    EXPECT_FALSE(plain->mFlags & P::kSortedFaceLists);
}

TEST(VertexFansTest, AnEdgeInThreeFacesIsReportedOnceAndSortingFails)
{
    // A tetrahedron with a fin on one edge: that edge has three faces, the fin's others one each.
    FacedSolid s;
    s.verts = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}, {3, 3, -3}};
    s.faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}, {0, 1, 4}};
    auto poly = MakeModel(s);
    poly->ResetTypeIds();
    const auto group = SymGroup::Create(SymGroup::kNoSymmetry);

    ScopedScriptedServices scripted;
    TraceSink previous = SetTraceSink(RecordTrace);
    gTrace.clear();
    const bool sorted = SortVertFaces(*poly, *group);
    SetTraceSink(previous);
    EXPECT_FALSE(sorted);
    EXPECT_FALSE(poly->mFlags & P::kSortedFaceLists);
    int shown = 0;
    for (const ScriptedServices::Call& c : scripted.services.calls)
        shown += c.text == "Model is invalid\nEdge found with odd number of faces (3)";
    EXPECT_EQ(shown, 1);
    int traced = 0;
    for (const std::string& line : gTrace)
        traced += line == "ERROR: numEdgeFaces = 1\n";
    EXPECT_EQ(traced, 2);
}

TEST(VertexFansTest, CoincidentVerticesAreMergedOrLinked)
{
    // The cube given face by face, each face with corners of its own, nudged by less than 1e-7.
    auto cube = Solid("cube");
    FacedSolid loose;
    for (int f = 0; f < cube->mNumFaces; ++f)
    {
        std::vector<int> corners;
        for (int k = 0; k < cube->mFaces[f].mNum; ++k)
        {
            Vec3D p = cube->mFaces[f].GetVert(k)->mPos;
            p.x += 3e-8 * ((f + k) % 3 - 1);
            corners.push_back(int(loose.verts.size()));
            loose.verts.push_back(p);
        }
        loose.faces.push_back(corners);
    }
    auto merged = MakeModel(loose);
    merged->CreateVertexFaceLists(true);
    merged->mFlags |= P::kSortedFaceLists;
    MergeCoincidentVerts(*merged);
    EXPECT_FALSE(merged->mFlags & P::kSortedFaceLists);
    int live = 0;
    for (int i = 0; i < merged->mNumVerts; ++i)
    {
        const SimpleVert& v = merged->mVerts[i];
        if (v.mFlags & E::kTemp)
        {
            EXPECT_EQ(v.mNum, 0);
            continue;
        }
        ++live;
        EXPECT_EQ(v.mNum, 3);
        // The lowest index of its place is the one kept.
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(merged->mVerts[j].SamePos(v));
    }
    EXPECT_EQ(live, 8);
    for (int f = 0; f < merged->mNumFaces; ++f)
    {
        for (int k = 0; k < 4; ++k)
            EXPECT_FALSE(merged->mFaces[f].GetVert(k)->mFlags & E::kTemp);
    }
    ASSERT_TRUE(SimpleSortVertFaces(*merged));

    auto linked = MakeModel(loose);
    LinkCoincidentVerts(*linked);
    for (int i = 0; i < linked->mNumVerts; ++i)
    {
        const SimpleVert* v = &linked->mVerts[i];
        int ring = 0;
        const SimpleVert* w = v;
        do
        {
            EXPECT_TRUE(w->SamePos(*v));
            EXPECT_FALSE(w->mFlags & E::kTemp);
            w = w->mNextCoincident;
            ++ring;
        } while (w != v && ring < 10);
        EXPECT_EQ(ring, 3);
    }
}

TEST(VertexFansTest, TypeIdsAreCompressedInOrderOfFirstVertices)
{
    SimplePoly poly(5, 0);
    poly.ResetTypeIds();
    SimpleVert* v = poly.mVerts.get();
    // Types {1, 3} and {2, 4}; vertex 0 alone.
    v[1].mNextOfType = &v[3];
    v[3].mNextOfType = &v[1];
    v[2].mNextOfType = &v[4];
    v[4].mNextOfType = &v[2];
    CompressVertexTypeIds(poly);
    const int expected[5] = {0, 1, 2, 1, 2};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(v[i].mId, expected[i]);
        EXPECT_FALSE(v[i].mFlags & E::kDone);
    }
}
