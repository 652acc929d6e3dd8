#include "StellationFixtures.h"

#include "kernel/ScriptedServices.h"
#include "stellation/DiagramLinks.h"
#include "stellation/FaceTypePreparation.h"
#include "stellation/StellationCell.h"

#include <gtest/gtest.h>

namespace
{
struct OctahedralCube
{
    Poly poly;
    FaceType* type = nullptr;

    OctahedralCube()
    {
        BuildPoly(poly, CubeSpec(), false);
        type = MakeTypesBy(poly, false, [](const FaceVert*) { return 0; })[0];
        SetGroup(poly, SymGroup::kOctahedral, 1, true);
    }
};
}  // namespace

TEST(StellationRecords, LinesKnowTheirDirectionAndHowTheyLie)
{
    OctahedralCube m;
    FaceVert* first = m.type->mFirstFace;  // faces -z
    FaceVert* right = m.poly.GetNthFace(4);  // faces +x
    ASSERT_TRUE(Vec3Equal(first->mZAxis, Vec3D{0, 0, -1}, 0.0));
    ASSERT_TRUE(Vec3Equal(right->mZAxis, Vec3D{1, 0, 0}, 0.0));

    struct Case
    {
        double a, b, c;
        uint32_t flags;
    };
    const Case kCases[] = {
        {0, 1, 0, kLineThroughCentre | kLineNearHorizontal},
        {1, 0, -1, 0},
        {0.5, 0.5, 1e-8, kLineThroughCentre},  // equal slopes compare by y
        {1, 2, 3, kLineNearHorizontal},
        {-2, 1, 2e-7, 0},
    };
    StellationLine* list = nullptr;
    std::vector<StellationLine*> made;
    for (const Case& c : kCases)
    {
        StellationLine* line = new StellationLine(m.type, c.a, c.b, c.c, right, list);
        made.push_back(line);
        EXPECT_EQ(line->mFlags, c.flags) << c.a << " " << c.b << " " << c.c;
        EXPECT_EQ(line->mFace, right);
        EXPECT_EQ(line->mFace2, right);
        EXPECT_EQ(line->mOuterNeighbour, nullptr);
        // The other plane's normal across the first face's normal: +x across -z is +y.
        EXPECT_TRUE(Vec3Equal(line->mDir, Vec3D{0, 1, 0}, 0.0));
        EXPECT_DOUBLE_EQ(line->Eval(2.0, 3.0), c.a * 2.0 + c.b * 3.0 + c.c);
    }
    // Newest first.
    const StellationLine* l = list;
    for (auto it = made.rbegin(); it != made.rend(); ++it, l = l->mNext)
        EXPECT_EQ(l, *it);
    EXPECT_EQ(l, nullptr);
    m.type->mLineEqns = list;  // the type frees them
}

TEST(StellationRecords, EdgesWalkAlongLinesAroundVertices)
{
    FaceType type(nullptr, nullptr, 0, 0);
    GridDiagram g = BuildGridDiagram(type);
    struct Case
    {
        int from, to;
        const char* line;
        int nextFrom, nextTo;  // -1: none
    };
    const Case kCases[] = {
        {1, 4, "x=0", 4, 7}, {7, 4, "x=0", 4, 1}, {3, 4, "y=0", 4, 5},   {0, 1, "bottom", 1, 2},
        {1, 2, "bottom", -1, -1}, {1, 4, "y=0", 4, 3}, {8, 5, "right", 5, 2}, {4, 7, "top", 7, 6},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(testing::Message() << c.from << "-" << c.to << " on " << c.line);
        const StellationEdge* e = g.Edge(c.from, c.to);
        EXPECT_EQ(e->mStart, g.verts[size_t(c.from)]);
        EXPECT_EQ(e->GetEnd(), g.verts[size_t(c.to)]);
        const StellationEdge* next = e->FindOnLineAroundVertex(g.lines.at(c.line));
        if (c.nextFrom < 0)
            EXPECT_EQ(next, nullptr);
        else
            EXPECT_EQ(next, g.Edge(c.nextFrom, c.nextTo));
    }

    // Across into the next diagram: side 1 is the edge's own link, side 0 the twin's, read back.
    StellationEdge* e = g.Edge(1, 4);
    e->mNeighbour = g.Edge(2, 5);
    e->mTwin->mNeighbour = g.Edge(5, 8);
    EXPECT_EQ(e->GetNeighbourOnSide(1), g.Edge(2, 5));
    EXPECT_EQ(e->GetNeighbourOnSide(0), g.Edge(8, 5));
    EXPECT_EQ(e->GetNeighbourOnOtherSide(0), g.Edge(2, 5));
    EXPECT_EQ(e->GetNeighbourOnOtherSide(1), g.Edge(8, 5));
    EXPECT_EQ(g.Edge(0, 1)->GetNeighbourOnSide(0), nullptr);
    EXPECT_EQ(g.Edge(0, 1)->GetNeighbourOnSide(1), nullptr);

    // Labels name the region's place and the edge's place round it.
    EXPECT_EQ(g.Edge(4, 7)->GetLabel(), "2-1");
    EXPECT_EQ(g.Edge(0, 1)->GetLabel(), "0-0");
    EXPECT_EQ(g.Edge(6, 7)->GetLabel(), "2-?");  // outside, beside region 2
    StellationEdge loose(nullptr, nullptr, nullptr);
    EXPECT_EQ(loose.GetLabel(), "Empty");
    EXPECT_EQ(loose.GetEnd(), nullptr);
}

TEST(StellationRecords, EdgeWindingIsClampedAndLeavesOtherBits)
{
    StellationEdge e(nullptr, nullptr, nullptr);
    e.mFlags = kEdgeOnSurface | kEdgeOnOriginalBoundary;
    const int kCases[][2] = {{0, 0}, {3, 3}, {-7, -7}, {255, 255}, {300, 255}, {-300, -255}, {-1, -1}};
    for (const auto& c : kCases)
    {
        e.SetWinding(c[0]);
        EXPECT_EQ(e.GetWinding(), c[1]) << c[0];
        EXPECT_EQ(e.mFlags & (kEdgeOnSurface | kEdgeOnOriginalBoundary), kEdgeOnSurface | kEdgeOnOriginalBoundary);
        EXPECT_EQ((e.mFlags & kEdgeWindingNegative) != 0, c[1] < 0);
    }
}

TEST(StellationRecords, FacetsStartAsTheirOwnMirrorsWithASlotPerRotation)
{
    OctahedralCube m;
    m.type->mNumRotations = 4;
    m.type->mIndex = 2;
    StellationFacet* a = new StellationFacet(m.type, 0, 0, m.type->mFacets, m.type->mLastFacet);
    EXPECT_EQ(a->GetNumRegions(), 4);
    for (const StellationRegion* r : a->mRegions)
        EXPECT_EQ(r, nullptr);
    EXPECT_EQ(a->GetMirror(), a);
    EXPECT_EQ(a->mFlags, 0u);
    EXPECT_EQ(a->mHemiPartner, nullptr);

    // A type whose first face passes the centre makes central facets.
    m.type->mFirstFace->mFlags |= FaceVert::kHemi;
    StellationFacet* b = new StellationFacet(m.type, 1, 5, m.type->mFacets, m.type->mLastFacet);
    EXPECT_EQ(b->mFlags, kFacetCentral);
    EXPECT_EQ(m.type->mFacets, a);
    EXPECT_EQ(m.type->mLastFacet, b);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->prev, a);
    b->mMirror = a;
    a->mMirror = b;
    EXPECT_EQ(a->GetMirror(), b);
    EXPECT_EQ(b->GetMirror()->GetMirror(), b);

    EXPECT_EQ(StellationFacet::GetLabel(b), "2-5");
    b->mIndex = -1;
    EXPECT_EQ(StellationFacet::GetLabel(b), "2-?");
    EXPECT_EQ(StellationFacet::GetLabel(nullptr), "NULL");

    struct Case
    {
        uint32_t flags;
        int sideClass;
        bool used;
    };
    const Case kCases[] = {
        {0, kFacetSideOff, false},
        {kFacetUsed, kFacetSideFront, true},
        {kFacetUsed | kFacetBack, kFacetSideBack, true},
        {kFacetInternal, kFacetSideInternal, false},
        {kFacetBack, kFacetSideOff, false},
    };
    for (const Case& c : kCases)
    {
        a->mFlags = c.flags;
        EXPECT_EQ(a->GetSideClass(), c.sideClass) << c.flags;
        EXPECT_EQ(a->IsUsed(), c.used) << c.flags;
    }
}

TEST(StellationRecords, CopiesOfVerticesAndCellsFollowTheirAxes)
{
    OctahedralCube m;
    Stellation* st = m.poly.GetFaceStellation();
    // The octahedral group, 24 rotations: a record on an axis stands for one copy per pole, 24 / 4
    // on the 4-fold axes, 24 / 3 on the 3-fold and 24 / 2 on the 2-fold.
    struct Case
    {
        uint32_t vertFlags;
        uint32_t cellFlags;
        int axisClass;
        int copies;
    };
    const Case kCases[] = {
        {kSegVertCentre, kCellCore, 0, 1},
        {kSegVertOnAxis | kSegVertAxisClass0, kCellOnAxis | kCellAxisClass0, 0, 6},
        {kSegVertOnAxis | kSegVertAxisClass1, kCellOnAxis | kCellAxisClass1, 1, 8},
        {kSegVertOnAxis, kCellOnAxis, 2, 12},
        {0, 0, -1, 24},
    };
    SegVert* verts = nullptr;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.copies);
        SegVert* v = new SegVert(m.type, 0.5, 0.25, verts);
        v->mFlags = c.vertFlags;
        EXPECT_EQ(v->GetAxisClass(), c.axisClass);
        EXPECT_EQ(v->GetNumCopies(), c.copies);
        StellationCell* cell = new StellationCell(st, st->mLastCell ? st->mLastCell->mIndex + 1 : 0, nullptr);
        cell->mFlags = c.cellFlags;
        new StellationCell(st, cell->mIndex + 1, nullptr);  // an outer cell after it, for now
        EXPECT_EQ(cell->GetNumCopies(), c.copies);
        EXPECT_EQ(st->mLastCell->GetNumCopies(), 0);
    }
    m.type->mVerts = verts;
    EXPECT_EQ(verts->mPos.x, 0.5);
    EXPECT_EQ(verts->mCoincident, nullptr);

    // Without a group every record stands for itself.
    FaceType lone(nullptr, nullptr, 0, 0);
    SegVert* none = nullptr;
    SegVert* v = new SegVert(&lone, 0, 0, none);
    v->mFlags = kSegVertOnAxis;
    EXPECT_EQ(v->GetNumCopies(), 1);
    lone.mVerts = none;
    Stellation bare(nullptr, false);
    StellationCell* cell = new StellationCell(&bare, 0, nullptr);
    new StellationCell(&bare, 1, nullptr);
    EXPECT_EQ(cell->GetNumCopies(), 1);
}

TEST(StellationRecords, FreeingADiagramFreesEveryRecordOnce)
{
    OctahedralCube m;
    Stellation* st = m.poly.GetFaceStellation();
    FaceType* copy = st->AppendFaceType(std::make_unique<FaceType>(&m.poly, st, 1, 1));
    copy->mCoplanarSource = m.type;
    BuildGridDiagram(*m.type);
    CopyCoplanarInfo(copy);
    m.type->mFlags |= kFaceTypeDuplicateLine | kFaceTypeReflexible;
    m.type->mDiagramRadius = 3.0;

    // Keeping the types frees the diagrams, the source's once, and leaves the copy borrowing nothing.
    st->Free(false);
    for (const FaceType* t : {m.type, copy})
    {
        EXPECT_EQ(t->mFacets, nullptr);
        EXPECT_EQ(t->mLastFacet, nullptr);
        EXPECT_EQ(t->mFirstRegion, nullptr);
        EXPECT_EQ(t->mInnermostRegion, nullptr);
        EXPECT_EQ(t->mNumRegions, 0);
        EXPECT_EQ(t->mLineEqns, nullptr);
        EXPECT_EQ(t->mVerts, nullptr);
        EXPECT_EQ(t->mOuterVerts, nullptr);
        EXPECT_EQ(t->mOuterEdge, nullptr);
    }
    EXPECT_EQ(m.type->mFlags, kFaceTypeReflexible);
    EXPECT_EQ(m.type->mDiagramRadius, 1.0);
    EXPECT_EQ(st->GetNumFaceTypes(), 2);

    // A new diagram goes with its type when the model goes.
    BuildGridDiagram(*m.type);
    CopyCoplanarInfo(copy);
}

TEST(StellationRecords, LinesCrossAndAreReadAtAHeightOrWidth)
{
    FaceType type(nullptr, nullptr, 0, 0);
    StellationLine* diagonal = new StellationLine(&type, 1, -1, 0, nullptr, type.mLineEqns);  // y = x
    StellationLine* flat = new StellationLine(&type, 0, 2, -3, nullptr, type.mLineEqns);      // y = 1.5
    StellationLine* steep = new StellationLine(&type, 1, 5e-8, -2, nullptr, type.mLineEqns);  // x = 2
    StellationLine* nearDiagonal = new StellationLine(&type, 1, -1 + 5e-8, 0.3, nullptr, type.mLineEqns);
    double x = 0.0, y = 0.0;
    ASSERT_TRUE(diagonal->Intersect(*flat, x, y));
    EXPECT_DOUBLE_EQ(x, 1.5);
    EXPECT_DOUBLE_EQ(y, 1.5);
    // Coordinates within 1e-7 of zero come out as zero.
    StellationLine* offset = new StellationLine(&type, 1, 1, -4e-8, nullptr, type.mLineEqns);
    ASSERT_TRUE(diagonal->Intersect(*offset, x, y));
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    // Parallel within 1e-7: no crossing, in both orders.
    EXPECT_FALSE(diagonal->Intersect(*nearDiagonal, x, y));
    EXPECT_FALSE(nearDiagonal->Intersect(*diagonal, x, y));

    EXPECT_TRUE(diagonal->XAtY(2.5, x));
    EXPECT_DOUBLE_EQ(x, 2.5);
    EXPECT_FALSE(flat->XAtY(0.0, x));
    EXPECT_TRUE(flat->YAtX(7.0, y));
    EXPECT_DOUBLE_EQ(y, 1.5);
    EXPECT_FALSE(steep->YAtX(0.0, y));
    EXPECT_TRUE(steep->XAtY(-9.0, x));
    EXPECT_NEAR(x, 2.0, 1e-6);
    EXPECT_EQ(type.GetNumLines(), 5);
    EXPECT_EQ(type.GetLineIndex(offset), 0);
    EXPECT_EQ(type.GetLineIndex(diagonal), 4);
    EXPECT_EQ(type.GetLineIndex(nullptr), -1);
    StellationLine* elsewhere = nullptr;
    StellationLine stray(nullptr, 0, 1, 0, nullptr, elsewhere);
    EXPECT_EQ(type.GetLineIndex(&stray), -2);
    type.FreeDiagram();
}

TEST(StellationRecords, RegionQueriesWalkTheRing)
{
    FaceType type(nullptr, nullptr, 0, 0);
    GridDiagram g = BuildGridDiagram(type);
    const StellationRegion* bottomLeft = g.regions[0];
    EXPECT_EQ(bottomLeft->GetNumEdges(), 4);
    const Vec2D c = bottomLeft->GetCentroid();
    EXPECT_DOUBLE_EQ(c.x, -0.5);
    EXPECT_DOUBLE_EQ(c.y, -0.5);
    EXPECT_EQ(bottomLeft->GetEdge(0), g.Edge(0, 1));
    EXPECT_EQ(bottomLeft->GetEdge(2), g.Edge(4, 3));
    EXPECT_EQ(bottomLeft->GetEdge(4), nullptr);
    // Two of its sides lie on the border, the other two face its neighbours.
    EXPECT_EQ(bottomLeft->GetNumOpenEdges(), 2);
    EXPECT_TRUE(bottomLeft->HasOpenEdge());
    EXPECT_EQ(type.GetRegionIndex(g.regions[3]), 3);
    EXPECT_EQ(type.GetRegionIndex(nullptr), -1);
    StellationRegion stray;
    EXPECT_EQ(type.GetRegionIndex(&stray), -2);
    EXPECT_EQ(type.GetVertIndex(g.verts[4]), 8);  // after the eight on the outer list
    EXPECT_EQ(type.GetVertIndex(g.verts[8]), 0);  // the outer list is newest first
    EXPECT_EQ(type.GetVertIndex(nullptr), -1);
}

TEST(StellationRecords, MirrorLineTests)
{
    FaceType type(nullptr, nullptr, 0, 0);
    GridDiagram g = BuildGridDiagram(type);
    type.mMirrorDir = Vec2D{1.0, 1.0};  // the diagonal y = x
    const Vec2D image = type.ReflectPoint(Vec2D{1.0, 0.0});
    EXPECT_NEAR(image.x, 0.0, 1e-15);
    EXPECT_NEAR(image.y, 1.0, 1e-15);
    EXPECT_TRUE(type.IsOnMirror(Vec2D{2.0, 2.0 + 5e-7}));
    EXPECT_FALSE(type.IsOnMirror(Vec2D{2.0, 2.0 + 5e-6}));
    EXPECT_TRUE(type.IsLeftOfMirror(Vec2D{0.0, 1.0}));
    EXPECT_FALSE(type.IsLeftOfMirror(Vec2D{1.0, 0.0}));
    // The diagonal runs through the bottom left and top right squares, corner to corner; the other
    // two only touch it at the centre.
    EXPECT_TRUE(type.RegionStraddlesMirror(g.regions[0], false));
    EXPECT_TRUE(type.RegionStraddlesMirror(g.regions[3], false));
    EXPECT_FALSE(type.RegionStraddlesMirror(g.regions[1], false));
    EXPECT_TRUE(type.RegionStraddlesMirror(g.regions[1], true));
    // Along y = 0 the line is an edge of the bottom squares, which then straddle it.
    type.mMirrorDir = Vec2D{1.0, 0.0};
    EXPECT_TRUE(type.RegionStraddlesMirror(g.regions[0], false));
    EXPECT_TRUE(type.RegionStraddlesMirror(g.regions[2], false));
}

TEST(StellationRecords, CoincidenceRingsSpliceOnce)
{
    FaceType type(nullptr, nullptr, 0, 0);
    SegVert* v[4];
    for (int i = 0; i < 4; ++i)
    {
        v[i] = new SegVert(&type, i, 0, type.mVerts);
        v[i]->mCoincident = v[i];
    }
    auto ringSize = [](const SegVert* s) {
        int n = 0;
        const SegVert* u = s;
        do
        {
            ++n;
            u = u->mCoincident;
        } while (u != s && n < 10);
        return n;
    };
    ScopedScriptedServices scripted;
    JoinCoincidentLists(v[0], v[1]);
    JoinCoincidentLists(v[2], v[3]);
    JoinCoincidentLists(v[1], v[3]);
    EXPECT_EQ(ringSize(v[0]), 4);
    // Already one ring: splicing again would split it.
    JoinCoincidentLists(v[3], v[0]);
    JoinCoincidentLists(v[2], v[2]);
    for (SegVert* s : v)
        EXPECT_EQ(ringSize(s), 4);
    EXPECT_TRUE(scripted.services.calls.empty());
    SegVert* alone = new SegVert(&type, 9, 9, type.mVerts);
    JoinCoincidentLists(v[0], alone);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, "JoinCoincidentLists: Empty lists");
    EXPECT_EQ(ringSize(v[0]), 4);
    EXPECT_EQ(alone->mCoincident, nullptr);
}
