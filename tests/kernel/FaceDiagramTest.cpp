#include "kernel/CoverageList.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"
#include "kernel/Tolerance.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
const int kOwnerA = 0;
const int kOwnerB = 0;
const int kOwnerC = 0;
const void* const A = &kOwnerA;
const void* const B = &kOwnerB;
const void* const C = &kOwnerC;

int CountVerts(const FaceDiagram& d)
{
    int n = 0;
    for (const Vert2D* v = d.mFirstVert; v; v = v->next)
        ++n;
    return n;
}

int CountPieces(const FaceDiagram& d)
{
    int n = 0;
    for (const HalfEdge2D* h = d.mFirstHalfEdge; h; h = h->mListNext)
        ++n;
    return n;
}

// The winding change of the owner crossing the piece from a to b from its left to its right;
// fails the test when there is no such piece.
int CrossingCount(FaceDiagram& d, const void* owner, Vec2D a, Vec2D b)
{
    const Vert2D* va = d.FindVert2D(a);
    const Vert2D* vb = d.FindVert2D(b);
    const HalfEdge2D* h = va && vb ? d.FindPiece(va, vb) : nullptr;
    const FaceArea* area = d.FindFaceArea(owner);
    EXPECT_NE(h, nullptr) << "no piece (" << a.x << "," << a.y << ") - (" << b.x << "," << b.y << ")";
    if (!h || !area)
        return -99;
    return CoverageCount(h->mCoverage, area->mOrder) * (h->IsReversed() ? -1 : 1);
}

// Every half-edge: twin of twin, origins along the loop, next and prev inverse, and the
// half-edges leaving each vertex found around it.
void ExpectConsistent(const FaceDiagram& d)
{
    for (const HalfEdge2D* f = d.mFirstHalfEdge; f; f = f->mListNext)
    {
        ASSERT_FALSE(f->IsReversed());
        for (const HalfEdge2D* h : {f, static_cast<const HalfEdge2D*>(f->mTwin)})
        {
            ASSERT_EQ(h->mTwin->mTwin, h);
            ASSERT_EQ(h->next->prev, h);
            ASSERT_EQ(h->prev->next, h);
            ASSERT_EQ(h->next->mOrigin, h->End());
            ASSERT_NE(h->mOrigin, h->End());
            EXPECT_NE(h->IsReversed(), h->mTwin->IsReversed());
            EXPECT_EQ(h->mCoverage, h->mTwin->mCoverage);
        }
    }
}

// Options restored after each test: they are program-wide.
class FaceDiagramTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetPolygonFillOptions(); }
    void TearDown() override { GetPolygonFillOptions() = mSaved; }

    PolygonFillOptions mSaved;
};

TEST_F(FaceDiagramTest, CoverageListsKeepOwnerOrderAndCompareEntryByEntry)
{
    DiagramPools pools;
    auto make = [&](std::vector<std::pair<int, int>> entries) {
        CoverageEntry* list = nullptr;
        for (auto [owner, count] : entries)
            EXPECT_TRUE(AddToCoverage(owner, count, list, pools.mCoverage));
        return list;
    };
    CoverageEntry* a = make({{5, 1}, {2, 3}, {5, 1}, {9, -1}});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->mOwner, 2);
    EXPECT_EQ(a->mNext->mOwner, 5);
    EXPECT_EQ(a->mNext->mCount, 2);
    EXPECT_EQ(CoverageCount(a, 9), -1);
    EXPECT_EQ(CoverageCount(a, 4), 0);

    CoverageEntry* copy = CopyCoverage(a, pools.mCoverage);
    EXPECT_NE(copy, a);
    EXPECT_TRUE(CoverageEquals(copy, a));
    AddToCoverage(9, 1, copy, pools.mCoverage);
    EXPECT_FALSE(CoverageEquals(copy, a));
    PruneCoverage(copy);
    EXPECT_EQ(CoverageCount(copy, 9), 0);
    EXPECT_EQ(copy->mNext->mNext, nullptr);

    struct Case
    {
        std::vector<std::pair<int, int>> x, y;
        int sign;
    };
    const Case cases[] = {
        {{{1, 1}}, {{1, 2}}, -1},                  // lower count first
        {{{2, 1}}, {{1, 1}}, 1},                   // then lower owner
        {{{1, 1}}, {{1, 1}, {2, 1}}, -1},          // a prefix first
        {{}, {{1, -1}}, -1},                       // the empty list is a prefix of all
        {{{1, 1}, {3, 1}}, {{1, 1}, {3, 1}}, 0},
        {{{1, -2}, {3, 1}}, {{1, 1}}, -1},
    };
    for (const Case& c : cases)
    {
        const CoverageEntry* x = make(c.x);
        const CoverageEntry* y = make(c.y);
        const int forward = CompareCoverage(x, y);
        EXPECT_EQ((forward > 0) - (forward < 0), c.sign);
        const int backward = CompareCoverage(y, x);
        EXPECT_EQ((backward > 0) - (backward < 0), -c.sign);
        EXPECT_EQ(CoverageEquals(x, y), c.sign == 0);
    }
}

TEST_F(FaceDiagramTest, RepeatedSegmentsAddTheirCountsToOnePiece)
{
    struct Case
    {
        const char* name;
        Vec2D a2, b2;
        int expected;
    };
    const Case cases[] = {
        {"same direction", {0, 0}, {1, 0}, -2},
        {"opposite directions", {1, 0}, {0, 0}, 0},
        {"same direction, ends within the tolerance", {0.5e-7, -0.5e-7}, {1 + 0.9e-7, 0}, -2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        FaceDiagram d;
        d.AddEdge(A, {0, 0}, {1, 0});
        d.AddEdge(A, c.a2, c.b2);
        EXPECT_EQ(CountVerts(d), 2);
        EXPECT_EQ(CountPieces(d), 1);
        EXPECT_EQ(CrossingCount(d, A, {0, 0}, {1, 0}), c.expected);
        EXPECT_EQ(CrossingCount(d, A, {1, 0}, {0, 0}), -c.expected);
    }
}

TEST_F(FaceDiagramTest, SegmentShorterThanTheToleranceAddsNothing)
{
    FaceDiagram d;
    d.AddEdge(A, {1, 1}, {1 + 0.6e-7, 1 - 0.9e-7});
    EXPECT_EQ(CountVerts(d), 0);
    EXPECT_EQ(CountPieces(d), 0);
    EXPECT_EQ(d.mFaceAreaCount, 0);
    EXPECT_TRUE(d.Finish(0, nullptr));
    EXPECT_EQ(d.mLoopTypeCount, 0);
}

TEST_F(FaceDiagramTest, ShortEdgesBetweenTwoVerticesKeepTheOutlineClosed)
{
    // B's outline reaches from near one vertex of A to near another, 1.6e-7 or 2.4e-7 apart, in
    // steps each shorter than the tolerance: the steps are all that keeps B's outline closed.
    struct Case
    {
        const char* name;
        Points2D a1, a2, b;
    };
    const Case cases[] = {
        {"one short step", Square(-1, 0, 1), Square(1.6e-7, 0, 1), {{0.5, -1}, {1.5e-7, 0}, {0.2e-7, 0}, {-0.5, -1}}},
        {"a chain of steps whose middle point is near no vertex", Square(-1, 0, 1), Square(2.4e-7, 0, 1),
         {{0.5, -1}, {1.8e-7, 0}, {1.2e-7, 0}, {0.6e-7, 0}, {-0.5, -1}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        FaceDiagram d;
        AddPolygon(d, A, c.a1);
        AddPolygon(d, A, c.a2);
        AddPolygon(d, B, c.b);
        ASSERT_TRUE(d.Finish(0, nullptr));
        EXPECT_EQ(d.mCoverageConflicts, 0);
        EXPECT_NEAR(WeightedOwnerArea(d, B), SignedArea(c.b), 1e-6);
        EXPECT_NEAR(WeightedOwnerArea(d, A), 2.0, 1e-6);
    }
}

TEST_F(FaceDiagramTest, NearbyPointReusesTheVertex)
{
    FaceDiagram d;
    bool isNew = false;
    Vert2D* v = d.FindOrCreateVert2D({2, 3}, isNew);
    EXPECT_TRUE(isNew);
    EXPECT_EQ(d.FindOrCreateVert2D({2 + 1e-7, 3 - 1e-7}, isNew), v);
    EXPECT_FALSE(isNew);
    Vert2D* w = d.FindOrCreateVert2D({2 + 1.1e-7, 3}, isNew);
    EXPECT_TRUE(isNew);
    EXPECT_NE(w, v);
    // Within the tolerance of both: the first made wins.
    EXPECT_EQ(d.FindOrCreateVert2D({2 + 0.6e-7, 3}, isNew), v);
}

TEST_F(FaceDiagramTest, SquaresOverlappingAtACornerCrossTwice)
{
    FaceDiagram d;
    d.Begin(kOwnerKindCallbacks, nullptr);
    AddPolygon(d, A, Square(0, 0, 2));
    AddPolygon(d, B, Square(1, 1, 2));
    EXPECT_EQ(CountVerts(d), 10);
    EXPECT_NE(d.FindVert2D({1, 2}), nullptr);
    EXPECT_NE(d.FindVert2D({2, 1}), nullptr);
    EXPECT_EQ(CountPieces(d), 12);
    ExpectConsistent(d);

    ASSERT_TRUE(d.Finish(0, nullptr));
    ASSERT_EQ(d.mLoopTypeCount, 3);
    const int onlyA = FindType(d, {{A, 1}});
    const int onlyB = FindType(d, {{B, 1}});
    const int both = FindType(d, {{A, 1}, {B, 1}});
    ASSERT_GE(onlyA, 0);
    ASSERT_GE(onlyB, 0);
    ASSERT_GE(both, 0);
    EXPECT_NEAR(TypeArea(d, onlyA), 3.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, onlyB), 3.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, both), 1.0, 1e-12);
    // Each owner covers 4 (doubled: 8).
    EXPECT_NEAR(d.FindFaceArea(A)->mArea, 8.0, 1e-12);
    EXPECT_NEAR(d.FindFaceArea(B)->mArea, 8.0, 1e-12);
}

TEST_F(FaceDiagramTest, CollinearOverlapBecomesOnePieceCarryingBothOwners)
{
    FaceDiagram d;
    d.AddEdge(A, {0, 0}, {2, 0});
    d.AddEdge(B, {3, 0}, {1, 0});
    EXPECT_EQ(CountVerts(d), 4);
    EXPECT_EQ(CountPieces(d), 3);
    ExpectConsistent(d);
    EXPECT_EQ(CrossingCount(d, A, {0, 0}, {1, 0}), -1);
    EXPECT_EQ(CrossingCount(d, A, {1, 0}, {2, 0}), -1);
    EXPECT_EQ(CrossingCount(d, B, {1, 0}, {2, 0}), 1);
    EXPECT_EQ(CrossingCount(d, B, {2, 0}, {3, 0}), 1);
    EXPECT_EQ(CrossingCount(d, B, {0, 0}, {1, 0}), 0);

    // One segment inside the other, and one running over the ends of two others.
    FaceDiagram e;
    e.AddEdge(A, {0, 0}, {0, 4});
    e.AddEdge(B, {0, 1}, {0, 2});
    e.AddEdge(C, {0, 3}, {0, 5});
    e.AddEdge(C, {0, -1}, {0, 6});
    EXPECT_EQ(CountVerts(e), 8);
    EXPECT_EQ(CountPieces(e), 7);
    ExpectConsistent(e);
    EXPECT_EQ(CrossingCount(e, A, {0, 2}, {0, 3}), -1);
    EXPECT_EQ(CrossingCount(e, B, {0, 1}, {0, 2}), -1);
    EXPECT_EQ(CrossingCount(e, C, {0, 3}, {0, 4}), -2);
    EXPECT_EQ(CrossingCount(e, C, {0, 2}, {0, 3}), -1);
}

TEST_F(FaceDiagramTest, SquaresSharingAnEdgeKeepTheirOwnRegions)
{
    FaceDiagram d;
    AddPolygon(d, A, Square(0, 0, 1));
    AddPolygon(d, B, Reversed(Square(1, 0, 1)));
    EXPECT_EQ(CountVerts(d), 6);
    EXPECT_EQ(CountPieces(d), 7);
    ASSERT_TRUE(d.Finish(0, nullptr));
    ASSERT_EQ(d.mLoopTypeCount, 2);
    const int a = FindType(d, {{A, 1}});
    const int b = FindType(d, {{B, -1}});
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_NEAR(TypeArea(d, a), 1.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, b), 1.0, 1e-12);
}

// The regular pentagram of circumradius 1: its inner pentagon has circumradius (3 - sqrt 5) / 2,
// the whole star the area 5 R r sin 36 degrees.
struct PentagramTruth
{
    double r = (3.0 - std::sqrt(5.0)) / 2.0;
    double centre = 2.5 * r * r * std::sin(2.0 * kPi / 5.0);
    double star = 5.0 * r * std::sin(kPi / 5.0);
    double points = star - centre;
};

TEST_F(FaceDiagramTest, PentagramHasFiveCrossingsAndACentreOfWindingTwo)
{
    const PentagramTruth truth;
    TestOwners owners;
    owners[A].color = ColorRGB{0.5f, 0.25f, 0.0f};
    FaceDiagram d;
    d.Begin(kOwnerKindCallbacks, &owners);
    AddPolygon(d, A, StarPolygon(5, 2, 1.0));
    EXPECT_EQ(CountVerts(d), 10);
    EXPECT_EQ(CountPieces(d), 15);
    ExpectConsistent(d);

    GetPolygonFillOptions().mFlags = PolygonFillOptions::kBlend | PolygonFillOptions::kDenseWeighting |
                                     PolygonFillOptions::kLighten;
    ASSERT_TRUE(d.Finish(0, nullptr));
    ASSERT_EQ(d.mLoopTypeCount, 2);
    const int points = FindType(d, {{A, 1}});
    const int centre = FindType(d, {{A, 2}});
    ASSERT_GE(points, 0);
    ASSERT_GE(centre, 0);
    EXPECT_NEAR(TypeArea(d, points), truth.points, 1e-12);
    EXPECT_NEAR(TypeArea(d, centre), truth.centre, 1e-12);
    EXPECT_NEAR(WeightedOwnerArea(d, A), SignedArea(StarPolygon(5, 2, 1.0)), 1e-12);

    // The points keep the colour; the centre moves a fifth of the way to white.
    const LoopType& p = d.mLoopTypes[points];
    const LoopType& c = d.mLoopTypes[centre];
    EXPECT_FLOAT_EQ(p.mColor1.r, 0.5f);
    EXPECT_FLOAT_EQ(p.mColor1.g, 0.25f);
    EXPECT_FLOAT_EQ(p.mColor1.b, 0.0f);
    EXPECT_FLOAT_EQ(c.mColor1.r, 0.5f + 0.2f * 0.5f);
    EXPECT_FLOAT_EQ(c.mColor1.g, 0.25f + 0.2f * 0.75f);
    EXPECT_FLOAT_EQ(c.mColor1.b, 0.2f);
    EXPECT_FLOAT_EQ(c.mColor2.r, c.mColor1.r);
    EXPECT_FLOAT_EQ(c.mOpacity, 1.0f);

    // Modulo 2: the centre is empty, the points stay.
    EXPECT_FALSE(c.mOpacity == 0.0f);
    CalcAllColors(d.mLoopTypes, d.mLoopTypeCount, PolygonFillOptions::kBlend | PolygonFillOptions::kModulo2,
                  kOwnerKindCallbacks, &owners);
    EXPECT_EQ(d.mLoopTypes[centre].mOpacity, 0.0f);
    EXPECT_EQ(d.mLoopTypes[points].mOpacity, 1.0f);
}

TEST_F(FaceDiagramTest, NestedSquareIsAHoleOfTheOuterRegionAndTakesItsCoverage)
{
    FaceDiagram d;
    AddPolygon(d, A, Square(0, 0, 4));
    AddPolygon(d, B, Square(1, 1, 1));
    ASSERT_TRUE(d.Finish(0, nullptr));
    ASSERT_EQ(d.mLoopTypeCount, 2);
    const int ring = FindType(d, {{A, 1}});
    const int inner = FindType(d, {{A, 1}, {B, 1}});
    ASSERT_GE(ring, 0);
    ASSERT_GE(inner, 0);
    EXPECT_NEAR(TypeArea(d, ring), 15.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, inner), 1.0, 1e-12);
    // The outer region's triangulation goes round the hole: 4 + 4 corners, 8 triangles.
    EXPECT_EQ(d.mLoopTypeTriangles[ring].mCount, 24);

    // The tree: one top-level piece; the small square's outline hangs under the outer region.
    ASSERT_NE(d.mOutlines, nullptr);
    EXPECT_EQ(d.mOutlines->mSibling, nullptr);
    const Loop2D* outerRegion = d.mOutlines->mChild;
    ASSERT_NE(outerRegion, nullptr);
    ASSERT_NE(outerRegion->mChild, nullptr);
    EXPECT_TRUE(outerRegion->mChild->mFlags & Loop2D::kNested);
    EXPECT_TRUE(outerRegion->mChild->mFlags & Loop2D::kClockwise);

    // Owners smallest area first.
    EXPECT_EQ(d.mLoopTypes[inner].mOwners[0].mOwner, B);
    EXPECT_EQ(d.mFaceAreas[0].mOwner, B);
}

TEST_F(FaceDiagramTest, PiecesNestSeveralLevelsDeepAndSideBySide)
{
    FaceDiagram d;
    AddPolygon(d, A, Square(0, 0, 10));
    AddPolygon(d, B, Square(1, 1, 4));
    AddPolygon(d, C, Square(2, 2, 1));
    AddPolygon(d, C, Square(6, 6, 1));   // inside A only
    AddPolygon(d, B, Square(20, 0, 1));  // apart from everything
    ASSERT_TRUE(d.Finish(0, nullptr));
    EXPECT_EQ(d.mCoverageConflicts, 0);
    EXPECT_EQ(d.mParentRecoveries, 0);
    const int abc = FindType(d, {{A, 1}, {B, 1}, {C, 1}});
    const int ac = FindType(d, {{A, 1}, {C, 1}});
    const int ab = FindType(d, {{A, 1}, {B, 1}});
    const int a = FindType(d, {{A, 1}});
    const int b = FindType(d, {{B, 1}});
    ASSERT_GE(abc, 0);
    ASSERT_GE(ac, 0);
    ASSERT_GE(ab, 0);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(d.mLoopTypeCount, 5);
    EXPECT_NEAR(TypeArea(d, abc), 1.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, ac), 1.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, ab), 15.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, a), 100.0 - 16.0 - 1.0, 1e-12);
    EXPECT_NEAR(TypeArea(d, b), 1.0, 1e-12);
    int topLevel = 0;
    for (const Loop2D* c = d.mOutlines; c; c = c->mSibling)
        ++topLevel;
    EXPECT_EQ(topLevel, 2);
}

TEST_F(FaceDiagramTest, BrokenLinksAroundAVertexAreRebuiltAndTraced)
{
    struct Case
    {
        const char* name;
        void (*breakLinks)(FaceDiagram& d);
        const char* traced;
    };
    const Case cases[] = {
        {"two half-edges into a crossing lead on to the same one, which is then met twice",
         [](FaceDiagram& d) {
             HalfEdge2D* out = d.FindVert2D({1, 2})->mEdge;
             out->prev->next = out->prev->mTwin;
         },
         "a half-edge was met twice"},
        {"two loops exchange their continuations",
         [](FaceDiagram& d) { std::swap(d.mFirstHalfEdge->next, d.mLastHalfEdge->next); }, "a loop leaves its vertex"},
    };
    static std::string trace;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        trace.clear();
        const TraceSink previous = SetTraceSink([](const char* text) { trace += text; });
        FaceDiagram d;
        AddPolygon(d, A, Square(0, 0, 2));
        AddPolygon(d, B, Square(1, 1, 2));
        c.breakLinks(d);
        const bool finished = d.Finish(0, nullptr);
        SetTraceSink(previous);
        ASSERT_TRUE(finished);
        EXPECT_EQ(d.mRelinks, 1);
        EXPECT_NE(trace.find(c.traced), std::string::npos);
        EXPECT_NE(trace.find("relinking every vertex"), std::string::npos);
        ExpectConsistent(d);
        ASSERT_EQ(d.mLoopTypeCount, 3);
        EXPECT_NEAR(TypeArea(d, FindType(d, {{A, 1}, {B, 1}})), 1.0, 1e-12);
        EXPECT_NEAR(WeightedOwnerArea(d, A), 4.0, 1e-12);
        EXPECT_NEAR(WeightedOwnerArea(d, B), 4.0, 1e-12);
    }
}

TEST_F(FaceDiagramTest, EveryRegionTypeGetsItsTriangles)
{
    // Two overlapping star polygons of two owners and a square over both.
    FaceDiagram d;
    const Points2D star1 = StarPolygon(7, 3, 1.0);
    const Points2D star2 = StarPolygon(5, 2, 0.8, {0.3, 0.1}, 0.2);
    const Points2D square = Reversed(Square(-0.5, -0.5, 1.2));
    AddPolygon(d, A, star1);
    AddPolygon(d, B, star2);
    AddPolygon(d, C, square);
    ASSERT_TRUE(d.Finish(0, nullptr));
    ExpectConsistent(d);
    EXPECT_EQ(d.mCoverageConflicts, 0);
    EXPECT_NEAR(WeightedOwnerArea(d, A), SignedArea(star1), 1e-9);
    EXPECT_NEAR(WeightedOwnerArea(d, B), SignedArea(star2), 1e-9);
    EXPECT_NEAR(WeightedOwnerArea(d, C), SignedArea(square), 1e-9);
    for (int k = 0; k < d.mLoopTypeCount; ++k)
    {
        EXPECT_GT(d.mLoopTypeTriangles[k].mCount, 0);
        EXPECT_GT(TypeArea(d, k), 0.0);
        for (int o = 0; o < d.mLoopTypes[k].mOwnerCount; ++o)
            EXPECT_NE(d.mLoopTypes[k].mOwners[o].mCount, 0);
    }
}

TEST_F(FaceDiagramTest, RegionWithCornersATolerancesApartIsTriangulatedWhole)
{
    // Corners 3 and 10 lie 1.03e-7 apart: at its own size the ear clipping finds no ear near them
    // and drops a reflex corner, covering a sliver outside the region.
    const Points2D ring = {{-0.096852644542866795, -0.61002891526664804}, {-0.069879147637360362, -0.60511947418072232},
                           {-0.058858154405438651, -0.57362887309918498}, {-0.064724599714567344, -0.55432208010358663},
                           {-0.046172264929973041, -0.53738111607495687}, {0.23099116427595937, 0.2545659253436543},
                           {0.1227936571420719, 0.42085783358980777},     {0.041093402883558616, 0.32994617100899881},
                           {-0.15002611135523861, 0.09732172776061826},   {-0.1037822741889525, -0.51784613539646163},
                           {-0.064724702599822867, -0.55432207141534329}, {-0.10071737769612273, -0.55861753201547493}};
    FaceDiagram d;
    AddPolygon(d, A, ring);
    ASSERT_TRUE(d.Finish(0, nullptr));
    EXPECT_EQ(d.VertCount(), 12);
    ASSERT_EQ(d.mLoopTypeCount, 1);
    EXPECT_EQ(d.mRetriangulated, 1);
    EXPECT_NEAR(TypeArea(d, 0), SignedArea(ring), 1e-12);
    EXPECT_EQ(d.mLoopTypeTriangles[0].mCount, 30);
}

TEST_F(FaceDiagramTest, DiagramInAModelsPoolsOutlivesResetsOfTheSharedOnes)
{
    DiagramPools pools;
    DiagramWorkPools work;
    FaceDiagram own;
    own.Begin(kOwnerKindNone, nullptr);
    own.mPools = &pools;
    own.mWorkPools = &work;
    AddPolygon(own, A, StarPolygon(5, 2, 1.0));
    ASSERT_TRUE(own.Finish(FaceDiagram::kFinishKeepEdges, nullptr));
    {
        FaceDiagram shared;  // its reset at the end clears only the shared pools
        AddPolygon(shared, B, Square(0, 0, 1));
        shared.Finish(0, nullptr);
    }
    const PentagramTruth truth;
    EXPECT_NEAR(TypeArea(own, FindType(own, {{A, 2}})), truth.centre, 1e-12);
    EXPECT_NE(own.mEdges, nullptr);
}
}  // namespace
