#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"

#include "RingTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const std::vector<Vec2D> kSquare = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};

bool SamePoints(const std::vector<Vec2D>& a, const std::vector<Vec2D>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

struct FakeOwner
{
    bool marksAtCreation = false;
    bool marked = false;
    bool linkedMarked = false;
};

// Owner questions are program-wide: the fixture takes them away again.
class RingOwners : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetRingOwnerTests(
            [](const void* owner) { return static_cast<const FakeOwner*>(owner)->marksAtCreation; },
            [](const void* owner, bool alsoLinked) {
                const FakeOwner* o = static_cast<const FakeOwner*>(owner);
                return o->marked || (alsoLinked && o->linkedMarked);
            });
    }
    void TearDown() override { SetRingOwnerTests(nullptr, nullptr); }
};
}  // namespace

TEST(RingVert, AddingBuildsTheRingInOrderAndSnapsNearZeroCoordinates)
{
    RingVert* ring = nullptr;
    const Vec3D pos{1, 2, 3};
    RingVert* a = AddRingVert(5e-8, 2e-7, nullptr, &pos, ring);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(ring, a);
    EXPECT_EQ(a->next, a);
    EXPECT_EQ(a->prev, a);
    EXPECT_EQ(a->x, 0.0);
    EXPECT_EQ(a->y, 2e-7);
    EXPECT_EQ(a->pos.z, 3.0);
    EXPECT_EQ(a->index, -1);
    EXPECT_EQ(a->length, -1.0);
    EXPECT_EQ(a->flags, 0u);

    RingVert* b = AddRingVert(-1e-7, 1, nullptr, nullptr, ring);
    RingVert* c = AddRingVert(3, -1.00000001e-7, nullptr, nullptr, ring);
    EXPECT_EQ(ring, a);  // added at the end
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->next, c);
    EXPECT_EQ(c->next, a);
    EXPECT_TRUE(RingLinksConsistent(ring));
    EXPECT_EQ(b->x, 0.0);  // the tolerance includes its end
    EXPECT_EQ(c->y, -1.00000001e-7);
    EXPECT_EQ(b->pos.x, 0.0);
    EXPECT_EQ(RingCount(ring), 3);
    EXPECT_EQ(RingCount(nullptr), 0);
    FreeRing(ring);
}

TEST(RingVert, FreedVerticesAreReusedWithEveryFieldReset)
{
    ReleaseRingVertPool();
    RingVert* ring = MakeRing(kSquare, 10);
    RingVert* second = ring->next;
    second->priority = 5;
    second->blocker = ring;
    FreeRing(ring);
    EXPECT_EQ(RingVertPoolCount(), 4);
    EXPECT_TRUE(second->flags & kRingVertFree);

    // Last freed, first reused.
    RingVert* again = nullptr;
    RingVert* v = AddRingVert(7, 8, nullptr, nullptr, again);
    RingVert* reusedLast = ring->prev;
    EXPECT_EQ(v, reusedLast);
    EXPECT_EQ(RingVertPoolCount(), 3);
    EXPECT_EQ(v->flags, 0u);
    EXPECT_EQ(v->index, -1);
    EXPECT_EQ(v->next, v);
    EXPECT_EQ(v->x, 7.0);
    for (int i = 0; i < 3; ++i)
        AddRingVert(i, 0, nullptr, nullptr, again);
    EXPECT_EQ(RingVertPoolCount(), 0);
    EXPECT_EQ(second->priority, 0.0);
    EXPECT_EQ(second->blocker, nullptr);
    FreeRing(again);
    ReleaseRingVertPool();
    EXPECT_EQ(RingVertPoolCount(), 0);
}

TEST(RingVert, CopiesKeepPositionOwnerPointAndIndex)
{
    RingVert* ring = MakeRing(kSquare, 3);
    CrossPoint* point = reinterpret_cast<CrossPoint*>(&ring);  // an address to carry, never read
    ring->next->point = point;
    ring->flags |= kRingVertMeshFlag;
    RingVert* copy = CopyRing(ring);
    EXPECT_TRUE(SamePoints(RingPoints(copy), kSquare));
    EXPECT_EQ(RingIndices(copy), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(copy->next->point, point);
    EXPECT_EQ(copy->flags, 0u);  // flags are not copied
    EXPECT_EQ(copy->next->pos.x, 2.0);
    EXPECT_NE(copy, ring);
    EXPECT_EQ(CopyRing(nullptr), nullptr);
    FreeRing(ring);
    FreeRing(copy);
}

TEST(RingVert, RemovingDuplicates)
{
    struct Case
    {
        const char* name;
        std::vector<Vec2D> points;
        std::vector<int> kept;  // indices of the vertices kept, from the result's first
    };
    const Case cases[] = {
        {"first two coincide", {{0, 0}, {0, 5e-8}, {1, 0}, {1, 1}}, {1, 2, 3}},
        {"last equals first", {{0, 0}, {1, 0}, {1, 1}, {0, 0}}, {0, 1, 2}},
        {"a run of three", {{0, 0}, {1, 0}, {1, 1e-8}, {1, -1e-8}, {1, 1}}, {0, 3, 4}},
        {"no duplicates", kSquare, {0, 1, 2, 3}},
        {"four coincident", {{1, 1}, {1, 1}, {1, 1 + 1e-8}, {1, 1}}, {}},
        {"two coincident", {{1, 1}, {1, 1}}, {}},
        {"a lone vertex", {{1, 1}}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RingVert* made = MakeRing(c.points);
        const int poolBefore = RingVertPoolCount();
        RingVert* ring = RemoveDuplicateRingVerts(made);
        EXPECT_EQ(RingIndices(ring), c.kept);
        EXPECT_TRUE(RingLinksConsistent(ring));
        EXPECT_EQ(RingVertPoolCount() - poolBefore, int(c.points.size() - c.kept.size()));
        FreeRing(ring);
    }
    EXPECT_EQ(RemoveDuplicateRingVerts(nullptr), nullptr);
}

TEST(RingVert, ReversingKeepsEachFlagWithItsEdge)
{
    RingVert* ring = MakeRing({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    // Flag the edge from index 1 to index 2.
    ring->next->flags = kRingVertEdgeTraced;
    ReverseRing(ring);
    EXPECT_EQ(RingIndices(ring), (std::vector<int>{0, 3, 2, 1}));
    EXPECT_TRUE(RingLinksConsistent(ring));
    // The same edge now leaves index 2 towards index 1.
    for (RingVert* v = ring;;)
    {
        EXPECT_EQ(v->flags == kRingVertEdgeTraced, v->index == 2) << v->index;
        v = v->next;
        if (v == ring)
            break;
    }
    EXPECT_FALSE(IsConvexRing(ring));  // now clockwise
    ReverseRing(ring);
    EXPECT_EQ(RingIndices(ring), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(ring->next->flags, kRingVertEdgeTraced);
    EXPECT_TRUE(IsConvexRing(ring));
    FreeRing(ring);
}

TEST(RingVert, ConvexityOfRings)
{
    struct Case
    {
        const char* name;
        std::vector<Vec2D> points;
        bool convex;
    };
    const Case cases[] = {
        {"counterclockwise square", kSquare, true},
        {"clockwise square", {{0, 0}, {0, 2}, {2, 2}, {2, 0}}, false},
        {"with a straight vertex", {{0, 0}, {1, 0}, {2, 0}, {2, 2}}, true},
        {"with a notch", {{0, 0}, {2, 0}, {1, 0.5}, {2, 2}, {0, 2}}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RingVert* ring = MakeRing(c.points);
        EXPECT_EQ(IsConvexRing(ring), c.convex);
        FreeRing(ring);
    }
    EXPECT_TRUE(IsConvexRing(nullptr));
}

TEST(RingVert, SpaceMeasuresOfARing)
{
    // A square of side 2 in the plane x = 1, given counterclockwise seen from +x.
    RingVert* ring = nullptr;
    const Vec3D pts[] = {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, 2, 2}, {1, 0, 2}};
    for (const Vec3D& p : pts)
        AddRingVert(0, 0, nullptr, &p, ring);
    Vec3D n;
    ASSERT_TRUE(RingNormal3D(ring, n));  // the first two edges run straight on
    EXPECT_NEAR(n.x, 1, 1e-15);
    EXPECT_NEAR(n.y, 0, 1e-15);
    EXPECT_NEAR(n.z, 0, 1e-15);
    const Vec3D area = RingAreaVector3D(ring);
    EXPECT_NEAR(area.x, 8, 1e-15);  // twice the area
    EXPECT_NEAR(area.y, 0, 1e-15);
    const Vec3D centroid = RingCentroid3D(ring);
    EXPECT_NEAR(centroid.x, 1, 1e-15);
    EXPECT_NEAR(centroid.y, 1, 1e-15);
    EXPECT_NEAR(centroid.z, 0.8, 1e-15);
    FreeRing(ring);

    RingVert* line = nullptr;
    for (int i = 0; i < 4; ++i)
    {
        const Vec3D p{double(i), double(i), 0};
        AddRingVert(0, 0, nullptr, &p, line);
    }
    n = Vec3D{5, 5, 5};
    EXPECT_FALSE(RingNormal3D(line, n));
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(Vec3Length(RingAreaVector3D(line)), 0.0);
    FreeRing(line);
    EXPECT_FALSE(RingNormal3D(nullptr, n));
    EXPECT_EQ(Vec3Length(RingCentroid3D(nullptr)), 0.0);
}

TEST(RingVert, RestoringUndoesInsertions)
{
    RingVert* ring = MakeRing(kSquare);
    SaveRingLinks(ring);
    // Split two edges as a crossing search would.
    RingVert* at = ring->next;
    AddRingVert(1, 0, nullptr, nullptr, at);  // before the second vertex: on the first edge
    at = ring->next->next->next->next;        // the fourth original vertex
    AddRingVert(2, 1, nullptr, nullptr, at);
    AddRingVert(2, 1.5, nullptr, nullptr, at);
    EXPECT_EQ(RingCount(ring), 7);
    const int poolBefore = RingVertPoolCount();
    RestoreRing(ring);
    EXPECT_EQ(RingVertPoolCount() - poolBefore, 3);
    EXPECT_TRUE(SamePoints(RingPoints(ring), kSquare));
    EXPECT_TRUE(RingLinksConsistent(ring));
    FreeRing(ring);
}

TEST_F(RingOwners, OwnersMarkTheirVertices)
{
    FakeOwner plain, atCreation, marked, linked;
    atCreation.marksAtCreation = true;
    marked.marked = true;
    linked.linkedMarked = true;

    RingVert* ring = nullptr;
    RingVert* a = AddRingVert(0, 0, &plain, nullptr, ring);
    RingVert* b = AddRingVert(1, 0, &atCreation, nullptr, ring);
    RingVert* c = AddRingVert(1, 1, nullptr, nullptr, ring);
    EXPECT_EQ(a->flags, 0u);
    EXPECT_EQ(b->flags, kRingVertMarkedAtCreation);
    EXPECT_EQ(b->owner, &atCreation);
    EXPECT_EQ(c->flags, 0u);

    MarkRingVertFromOwner(a, &plain, true);
    EXPECT_EQ(a->flags, 0u);
    MarkRingVertFromOwner(a, &linked, false);
    EXPECT_EQ(a->flags, 0u);
    MarkRingVertFromOwner(a, &linked, true);
    EXPECT_EQ(a->flags, kRingVertOwnerMarked);
    MarkRingVertFromOwner(c, &marked, false);
    EXPECT_EQ(c->flags, kRingVertOwnerMarked);
    MarkRingVertFromOwner(b, nullptr, true);
    EXPECT_EQ(b->flags, kRingVertMarkedAtCreation);
    FreeRing(ring);
}

TEST(RingList, ListsOfRings)
{
    ReleaseRingListPool();
    RingList* first = nullptr;
    RingList* last = nullptr;
    AppendRingToList(MakeRing(kSquare, 0), first, last);
    AppendRingToList(MakeRing({{0.5, 0.5}, {0.5, 1.5}, {1.5, 1.5}, {1.5, 0.5}}, 4), first, last);
    AppendRingToList(MakeRing({{3, 3}, {4, 3}, {4, 4}}, 8), first, last);
    EXPECT_EQ(RingListCount(first), 3);
    EXPECT_EQ(RingListVertexCount(first), 11);
    EXPECT_EQ(last->ring->index, 8);
    EXPECT_FALSE(IsSingleConvexRing(first));

    SetRingListFlags(first, kRingVertMeshFlag);
    EXPECT_EQ(first->ring->prev->flags, kRingVertMeshFlag);
    EXPECT_EQ(first->next->ring->flags, 0u);  // only the first ring

    RingList* copy = CopyRingList(first);
    EXPECT_EQ(RingListCount(copy), 3);
    EXPECT_EQ(RingIndices(copy->next->ring), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_NE(copy->next->ring, first->next->ring);

    ReverseRingList(copy);
    EXPECT_EQ(RingIndices(copy->ring), (std::vector<int>{0, 3, 2, 1}));
    EXPECT_EQ(RingIndices(copy->next->next->ring), (std::vector<int>{8, 10, 9}));

    FreeRingList(first);
    EXPECT_EQ(RingListPoolCount(), 3);
    RingList* single = nullptr;
    RingList* singleLast = nullptr;
    RingList* reused = AppendRingToList(MakeRing(kSquare), single, singleLast);
    EXPECT_EQ(RingListPoolCount(), 2);
    EXPECT_NE(reused, nullptr);
    EXPECT_TRUE(IsSingleConvexRing(single));
    EXPECT_FALSE(IsSingleConvexRing(nullptr));
    FreeRingList(single);
    FreeRingList(copy);
    ReleaseRingListPool();
    EXPECT_EQ(RingListPoolCount(), 0);
}
