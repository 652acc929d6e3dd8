#include "StellationFixtures.h"

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
    // The octahedral group: three 4-fold, four 3-fold and six 2-fold axes, 24 rotations.
    struct Case
    {
        uint32_t vertFlags;
        uint32_t cellFlags;
        int axisClass;
        int copies;
    };
    const Case kCases[] = {
        {kSegVertCentre, kCellCore, 0, 1},
        {kSegVertOnAxis | kSegVertAxisClass0, kCellOnAxis | kCellAxisClass0, 0, 3},
        {kSegVertOnAxis | kSegVertAxisClass1, kCellOnAxis | kCellAxisClass1, 1, 4},
        {kSegVertOnAxis, kCellOnAxis, 2, 6},
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
