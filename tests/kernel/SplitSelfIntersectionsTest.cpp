#include "kernel/SplitSelfIntersections.h"

#include "kernel/PolygonFillOptions.h"
#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "kernel/RingVert.h"
#include "RingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace
{
struct Split
{
    RingList* list = nullptr;
    std::unique_ptr<Vec2D[]> points;
    int count = -99;

    explicit Split(RingVert* ring) { list = SplitSelfIntersections(ring, points, &count); }
    ~Split() { FreeRingList(list); }
};

double SignedArea(const std::vector<Vec2D>& p)
{
    double area = 0.0;
    for (size_t i = 0; i < p.size(); ++i)
    {
        const Vec2D& a = p[i];
        const Vec2D& b = p[(i + 1) % p.size()];
        area += a.x * b.y - a.y * b.x;
    }
    return area / 2.0;
}

void ExpectPoints(const std::vector<Vec2D>& actual, const std::vector<Vec2D>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
    {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-12) << "vertex " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-12) << "vertex " << i;
    }
}

// Every ring vertex's number must name its own position in the point array.
void ExpectIndicesMatchPoints(const Split& s)
{
    for (const RingList* node = s.list; node; node = node->next)
    {
        const RingVert* v = node->ring;
        do
        {
            ASSERT_GE(v->index, 0);
            ASSERT_LT(v->index, s.count);
            EXPECT_EQ(s.points[size_t(v->index)].x, v->x);
            EXPECT_EQ(s.points[size_t(v->index)].y, v->y);
            EXPECT_EQ(v->point, nullptr);  // the crossing points are gone once the split returns
            v = v->next;
        } while (v != node->ring);
    }
}

// The input ring must come back with its own vertices, links and positions, and with nothing
// pointing into the freed crossing points.
void ExpectInputIntact(const RingVert* ring, const std::vector<Vec2D>& points)
{
    ASSERT_TRUE(RingLinksConsistent(ring));
    ExpectPoints(RingPoints(ring), points);
    const RingVert* v = ring;
    do
    {
        EXPECT_EQ(v->point, nullptr);
        EXPECT_EQ(v->nextAtPoint, nullptr);
        EXPECT_EQ(v->flags & kRingVertEdgeTraced, 0u);
        v = v->next;
    } while (v != ring);
}
}  // namespace

TEST(SplitSelfIntersectionsTest, SimpleSquaresComeBackAsOneCounterclockwiseRing)
{
    const std::vector<Vec2D> ccw = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const std::vector<Vec2D> cw = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    for (const auto& input : {ccw, cw})
    {
        RingVert* ring = MakeRing(input);
        {
            Split s(ring);
            ASSERT_NE(s.list, nullptr);
            EXPECT_EQ(RingListCount(s.list), 1);
            EXPECT_EQ(s.count, 4);
            const std::vector<Vec2D> out = RingPoints(s.list->ring);
            EXPECT_GT(SignedArea(out), 0.0);
            EXPECT_NEAR(SignedArea(out), 4.0, 1e-12);
            EXPECT_EQ(RingIndices(s.list->ring), (std::vector<int>{0, 1, 2, 3}));
            ExpectIndicesMatchPoints(s);
        }
        ExpectInputIntact(ring, input);
        FreeRing(ring);
    }
}

TEST(SplitSelfIntersectionsTest, NothingToSplitGivesNullAndLeavesTheCount)
{
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<Vec2D>> cases = {
        {},
        {{0, 0}, {1, 0}},
        {{0.5, 0.5}, {0.5 + 5e-8, 0.5}, {0.5, 0.5 - 5e-8}, {0.5, 0.5}},
        // Projected from coordinates near the largest double: no vertex has a distance to compare.
        {{kNaN, kNaN}, {kNaN, 0.0}, {0.0, kNaN}},
    };
    for (const auto& input : cases)
    {
        RingVert* ring = MakeRing(input);
        std::unique_ptr<Vec2D[]> points(new Vec2D[3]);
        int count = 77;
        EXPECT_EQ(SplitSelfIntersections(ring, points, &count), nullptr) << input.size() << " vertices";
        EXPECT_EQ(count, 77);
        EXPECT_EQ(points, nullptr);  // what the caller held is released
        if (ring)
        {
            EXPECT_TRUE(RingLinksConsistent(ring));
            EXPECT_EQ(RingCount(ring), int(input.size()));
            EXPECT_EQ(ring->point, nullptr);
        }
        FreeRing(ring);
    }
}

TEST(SplitSelfIntersectionsTest, BowTiePassesItsCrossingTwice)
{
    const Vec2D a{-1, 1}, b{1, -1}, c{1, 1}, d{-1, -1}, x{0, 0};
    RingVert* ring = MakeRing({a, b, c, d});
    {
        Split s(ring);
        ASSERT_NE(s.list, nullptr);
        ASSERT_EQ(RingListCount(s.list), 1);
        ExpectPoints(RingPoints(s.list->ring), {d, x, b, c, x, a});
        EXPECT_EQ(RingIndices(s.list->ring), (std::vector<int>{0, 1, 2, 3, 1, 4}));
        EXPECT_EQ(s.count, 5);
        ExpectIndicesMatchPoints(s);

        // Both lobes are filled: two triangles of area 1 each.
        std::unique_ptr<int32_t[]> indices;
        const int n = TriangulateRingList(CopyRingList(s.list), indices);
        ASSERT_EQ(n, 6);
        double area = 0.0;
        for (int t = 0; t < n; t += 3)
        {
            const std::vector<Vec2D> tri = {s.points[size_t(indices[t])], s.points[size_t(indices[t + 1])],
                                            s.points[size_t(indices[t + 2])]};
            EXPECT_GT(SignedArea(tri), 0.0);
            area += SignedArea(tri);
        }
        EXPECT_NEAR(area, 2.0, 1e-12);
    }
    ExpectInputIntact(ring, {a, b, c, d});
    FreeRing(ring);
}

TEST(SplitSelfIntersectionsTest, PentagramOutlineRunsThroughItsFiveCrossings)
{
    // {5/2} of circumradius 1: its outline is a ten-cornered star whose inner corners lie at radius
    // cos(72°)/cos(36°).
    std::vector<Vec2D> input;
    for (int k = 0; k < 5; ++k)
    {
        const double t = std::numbers::pi / 2 + 2 * k * 2 * std::numbers::pi / 5;
        input.push_back(Vec2D{std::cos(t), std::sin(t)});
    }
    RingVert* ring = MakeRing(input);
    {
        Split s(ring);
        ASSERT_NE(s.list, nullptr);
        EXPECT_EQ(s.count, 10);
        const std::vector<Vec2D> outer = RingPoints(s.list->ring);
        ASSERT_EQ(outer.size(), 10u);
        EXPECT_GT(SignedArea(outer), 0.0);
        const double inner = std::cos(2 * std::numbers::pi / 5) / std::cos(std::numbers::pi / 5);
        for (size_t i = 0; i < outer.size(); ++i)
        {
            const double r = std::hypot(outer[i].x, outer[i].y);
            const double r2 = std::hypot(outer[(i + 1) % 10].x, outer[(i + 1) % 10].y);
            // Corners alternate between the tips and the crossings.
            EXPECT_NEAR(std::min(r, r2), inner, 1e-12);
            EXPECT_NEAR(std::max(r, r2), 1.0, 1e-12);
        }
        ExpectIndicesMatchPoints(s);
    }
    ExpectInputIntact(ring, input);
    FreeRing(ring);
}

TEST(SplitSelfIntersectionsTest, PentagramAnywhereInItsPlaneIsOneFilledStar)
{
    // A crossing passed straight through can come out as a hair's turn to the right; the other
    // edge's sides must then still be told apart. Moved off the origin, sheared or mirrored, the
    // {5/2} star stays one outline of area 5 r sin 36 (times the map's determinant).
    const double r = std::cos(2 * std::numbers::pi / 5) / std::cos(std::numbers::pi / 5);
    const double star = 5 * r * std::sin(std::numbers::pi / 5);
    struct Placement
    {
        const char* name;
        double xx, xy, shiftX, shiftY;  // x' = xx x + xy y + shiftX, y' = y + shiftY
    };
    const Placement kPlacements[] = {
        {"a tip at the origin", 1, 0, 0, -1},      {"off centre", 1, 0, 0.3, 0.2},
        {"sheared", 1, 0.7, 0, 0},                 {"sheared, a tip at the origin", 1, 0.7, -0.7, -1},
        {"squeezed", 0.3, 0, 0.1, -0.4},           {"mirrored", -1, 0, 0, 0},
        {"mirrored, a tip at the origin", -1, 0.7, -0.7, -1},
    };
    for (const Placement& pl : kPlacements)
    {
        SCOPED_TRACE(pl.name);
        std::vector<Vec2D> input;
        for (int k = 0; k < 5; ++k)
        {
            const double t = std::numbers::pi / 2 + 4 * k * std::numbers::pi / 5;
            const double x = std::cos(t), y = std::sin(t);
            input.push_back(Vec2D{pl.xx * x + pl.xy * y + pl.shiftX, y + pl.shiftY});
        }
        RingVert* ring = MakeRing(input);
        {
            Split s(ring);
            ASSERT_NE(s.list, nullptr);
            EXPECT_EQ(RingListCount(s.list), 1);
            EXPECT_EQ(s.count, 10);
            std::unique_ptr<int32_t[]> indices;
            const int n = TriangulateRingList(CopyRingList(s.list), indices);
            EXPECT_EQ(n, 24);
            double area = 0.0;
            for (int t = 0; t + 2 < n; t += 3)
                area += SignedArea({s.points[size_t(indices[t])], s.points[size_t(indices[t + 1])],
                                    s.points[size_t(indices[t + 2])]});
            EXPECT_NEAR(area, star * std::fabs(pl.xx), 1e-12);
        }
        FreeRing(ring);
    }
}

TEST(SplitSelfIntersectionsTest, CrossPointsAreSharedWithinTolerance)
{
    CrossPoint* first = nullptr;
    CrossPoint* last = nullptr;
    Vec2D p{1, 2};
    CrossPoint* a = FindOrAddCrossPoint(p, first, last);
    Vec2D q{1 + 9e-8, 2 - 9e-8};
    EXPECT_EQ(FindOrAddCrossPoint(q, first, last), a);
    EXPECT_EQ(q.x, 1.0);  // snapped onto the point
    EXPECT_EQ(q.y, 2.0);
    Vec2D r{1 + 2e-7, 2};
    CrossPoint* b = FindOrAddCrossPoint(r, first, last);
    EXPECT_NE(b, a);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(last, b);
    EXPECT_EQ(b->index, -1);
    EXPECT_EQ(b->vertices, nullptr);
    FreeCrossPoints(first);
}

TEST(SplitSelfIntersectionsTest, ThePentagramsCentreIsFilledUnlessOnlyOddWindingsCount)
{
    // The centre pentagon of {5/2} is wound twice. Circumradius 1, inner corners at radius r.
    const double r = std::cos(2 * std::numbers::pi / 5) / std::cos(std::numbers::pi / 5);
    const double star = 5 * r * std::sin(std::numbers::pi / 5);
    const double centre = 2.5 * r * r * std::sin(2 * std::numbers::pi / 5);
    const uint32_t saved = GetPolygonFillOptions().mFlags;
    struct Case
    {
        uint32_t flags;
        int rings;
        double area;
    };
    for (const Case& c : {Case{0, 1, star}, Case{PolygonFillOptions::kModulo2, 2, star - centre}})
    {
        SCOPED_TRACE(c.flags);
        GetPolygonFillOptions().mFlags = c.flags;
        std::vector<Vec2D> input;
        for (int k = 0; k < 5; ++k)
        {
            const double t = std::numbers::pi / 2 + 4 * k * std::numbers::pi / 5;
            input.push_back(Vec2D{std::cos(t), std::sin(t)});
        }
        RingVert* ring = MakeRing(input);
        {
            Split s(ring);
            ASSERT_NE(s.list, nullptr);
            EXPECT_EQ(RingListCount(s.list), c.rings);
            std::unique_ptr<int32_t[]> indices;
            const int n = TriangulateRingList(CopyRingList(s.list), indices);
            double area = 0.0;
            for (int t = 0; t + 2 < n; t += 3)
                area += SignedArea({s.points[size_t(indices[t])], s.points[size_t(indices[t + 1])],
                                    s.points[size_t(indices[t + 2])]});
            EXPECT_NEAR(area, c.area, 1e-12);
        }
        FreeRing(ring);
    }
    GetPolygonFillOptions().mFlags = saved;
}
