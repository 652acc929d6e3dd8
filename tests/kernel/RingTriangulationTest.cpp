#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TriangulationScratch.h"

#include "RingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
using Points = std::vector<Vec2D>;

// An outline (counterclockwise) and its holes (clockwise).
struct Polygon
{
    Points outline;
    std::vector<Points> holes;
};

double Orient(const Vec2D& a, const Vec2D& b, const Vec2D& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

double SignedArea(const Points& ring)
{
    double sum = 0;
    for (size_t i = 0; i < ring.size(); ++i)
    {
        const Vec2D& a = ring[i];
        const Vec2D& b = ring[(i + 1) % ring.size()];
        sum += a.x * b.y - a.y * b.x;
    }
    return sum / 2;
}

double PolygonArea(const Polygon& poly)
{
    double area = SignedArea(poly.outline);
    for (const Points& h : poly.holes)
        area += SignedArea(h);
    return area;
}

// Even-odd over every ring: inside the outline and outside the holes.
bool Inside(const Polygon& poly, const Vec2D& p)
{
    bool inside = false;
    auto crossRing = [&](const Points& ring) {
        for (size_t i = 0; i < ring.size(); ++i)
        {
            const Vec2D& a = ring[i];
            const Vec2D& b = ring[(i + 1) % ring.size()];
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
        }
    };
    crossRing(poly.outline);
    for (const Points& h : poly.holes)
        crossRing(h);
    return inside;
}

// All points by vertex number: the outline first, then each hole.
Points AllPoints(const Polygon& poly)
{
    Points all = poly.outline;
    for (const Points& h : poly.holes)
        all.insert(all.end(), h.begin(), h.end());
    return all;
}

RingList* MakeList(const Polygon& poly)
{
    RingList* first = nullptr;
    RingList* last = nullptr;
    int index = 0;
    AppendRingToList(MakeRing(poly.outline, index), first, last);
    index += int(poly.outline.size());
    for (const Points& h : poly.holes)
    {
        AppendRingToList(MakeRing(h, index), first, last);
        index += int(h.size());
    }
    return first;
}

struct Triangles
{
    int count = 0;  // triangles
    double area = 0;
    double minArea = std::numeric_limits<double>::infinity();
    int overlaps = 0;
    int outside = 0;
};

// Measures a triangulation against the polygon it came from.
Triangles Measure(const Polygon& poly, const int32_t* indices, int indexCount)
{
    const Points all = AllPoints(poly);
    Triangles t;
    t.count = indexCount / 3;
    std::vector<std::array<Vec2D, 3>> tris;
    for (int i = 0; i + 2 < indexCount; i += 3)
    {
        std::array<Vec2D, 3> tri;
        for (int k = 0; k < 3; ++k)
        {
            const int32_t index = indices[i + k];
            if (index < 0 || index >= int(all.size()))
            {
                ADD_FAILURE() << "index " << index << " out of range";
                return t;
            }
            tri[size_t(k)] = all[size_t(index)];
        }
        const double area = Orient(tri[0], tri[1], tri[2]) / 2;
        t.area += area;
        t.minArea = std::min(t.minArea, area);
        const Vec2D centroid{(tri[0].x + tri[1].x + tri[2].x) / 3, (tri[0].y + tri[1].y + tri[2].y) / 3};
        if (area > 1e-12 && !Inside(poly, centroid))
            ++t.outside;
        tris.push_back(tri);
    }
    // Two triangles overlap unless an edge line of one has the other wholly on its outer side.
    const double eps = 1e-9;
    auto separates = [&](const std::array<Vec2D, 3>& a, const std::array<Vec2D, 3>& b) {
        for (int e = 0; e < 3; ++e)
        {
            const Vec2D& p = a[size_t(e)];
            const Vec2D& q = a[size_t((e + 1) % 3)];
            const double len = std::hypot(q.x - p.x, q.y - p.y);
            if (Orient(p, q, b[0]) <= eps * len && Orient(p, q, b[1]) <= eps * len && Orient(p, q, b[2]) <= eps * len)
                return true;
        }
        return false;
    };
    for (size_t i = 0; i < tris.size(); ++i)
        for (size_t j = i + 1; j < tris.size(); ++j)
            if (!separates(tris[i], tris[j]) && !separates(tris[j], tris[i]))
                ++t.overlaps;
    return t;
}

// Triangulates the polygon the way the drawn polygons do, and checks that the rings were consumed.
Triangles TriangulatePolygon(const Polygon& poly)
{
    const int listsBefore = RingListPoolCount();
    RingList* list = MakeList(poly);
    const int vertsBefore = RingVertPoolCount();
    const int nodes = RingListCount(list);
    const int verts = RingListVertexCount(list);
    std::unique_ptr<int32_t[]> indices;
    const int n = TriangulateRingList(list, indices);
    EXPECT_EQ(n % 3, 0);
    EXPECT_GE(RingVertPoolCount() - vertsBefore, verts);  // bridge copies come from the pool too
    EXPECT_EQ(RingListPoolCount(), std::max(listsBefore - nodes, 0) + nodes);
    return Measure(poly, indices.get(), n);
}

void ExpectExact(const Polygon& poly, const Triangles& t, double areaTol = 1e-9)
{
    EXPECT_NEAR(t.area, PolygonArea(poly), areaTol * std::fabs(PolygonArea(poly)));
    EXPECT_GT(t.minArea, 0);
    EXPECT_EQ(t.overlaps, 0);
    EXPECT_EQ(t.outside, 0);
}

Points Reversed(Points p)
{
    std::reverse(p.begin(), p.end());
    return p;
}

// A random simple polygon: random points joined in random order, then untangled by reversing the
// run between any two crossing edges until none cross (each reversal shortens the polygon).
Points RandomSimplePolygon(std::mt19937& random, int n, double x0, double y0, double size)
{
    std::uniform_real_distribution<double> coord(0, size);
    Points p(static_cast<size_t>(n));
    for (Vec2D& v : p)
        v = Vec2D{x0 + coord(random), y0 + coord(random)};
    for (bool changed = true; changed;)
    {
        changed = false;
        for (int i = 0; i < n && !changed; ++i)
            for (int j = i + 2; j < n && !changed; ++j)
            {
                if (i == 0 && j == n - 1)
                    continue;
                const Vec2D &a = p[size_t(i)], &b = p[size_t(i + 1)], &c = p[size_t(j)], &d = p[size_t((j + 1) % n)];
                if ((Orient(a, b, c) > 0) != (Orient(a, b, d) > 0) && (Orient(c, d, a) > 0) != (Orient(c, d, b) > 0))
                {
                    std::reverse(p.begin() + i + 1, p.begin() + j + 1);
                    changed = true;
                }
            }
    }
    if (SignedArea(p) < 0)
        std::reverse(p.begin(), p.end());
    return p;
}

// Counterclockwise and, from four corners on, star-shaped about its centre: one corner in each of
// n equal sectors, so that no gap reaches half a turn.
Points StarPolygon(std::mt19937& random, Vec2D centre, double rMin, double rMax, int n)
{
    std::uniform_real_distribution<double> unit(0, 1);
    Points p;
    for (int i = 0; i < n; ++i)
    {
        const double a = (i + unit(random)) * 2 * 3.141592653589793 / n;
        const double r = rMin + (rMax - rMin) * unit(random);
        p.push_back(Vec2D{centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    if (SignedArea(p) < 0)
        std::reverse(p.begin(), p.end());
    return p;
}

bool SegmentsTouch(const Vec2D& a, const Vec2D& b, const Vec2D& c, const Vec2D& d)
{
    const double o1 = Orient(a, b, c), o2 = Orient(a, b, d), o3 = Orient(c, d, a), o4 = Orient(c, d, b);
    return o1 * o2 <= 0 && o3 * o4 <= 0;
}

bool RingsTouch(const Points& r1, const Points& r2)
{
    for (size_t i = 0; i < r1.size(); ++i)
        for (size_t j = 0; j < r2.size(); ++j)
            if (SegmentsTouch(r1[i], r1[(i + 1) % r1.size()], r2[j], r2[(j + 1) % r2.size()]))
                return true;
    return false;
}

bool InsideRing(const Points& ring, const Vec2D& p)
{
    Polygon poly;
    poly.outline = ring;
    return Inside(poly, p);
}

// Adds up to `tries` random holes that lie inside the outline and clear of each other.
void AddRandomHoles(std::mt19937& random, Polygon& poly, int tries, double minX, double maxX, double maxSize)
{
    std::uniform_real_distribution<double> pos(minX, maxX);
    std::uniform_real_distribution<double> size(0.1 * maxSize, maxSize);
    std::uniform_int_distribution<int> corners(3, 8);
    std::uniform_int_distribution<int> kind(0, 1);
    for (int k = 0; k < tries; ++k)
    {
        const double s = size(random);
        const Vec2D at{pos(random), pos(random)};
        Points hole = kind(random) ? StarPolygon(random, at, 0.3 * s, s, corners(random))
                                   : RandomSimplePolygon(random, corners(random), at.x, at.y, s);
        if (std::fabs(SignedArea(hole)) < 1e-6)
            continue;
        bool ok = InsideRing(poly.outline, hole[0]) && !RingsTouch(poly.outline, hole);
        for (const Points& other : poly.holes)
            ok = ok && !RingsTouch(other, hole) && !InsideRing(other, hole[0]) && !InsideRing(hole, other[0]);
        if (ok)
            poly.holes.push_back(Reversed(hole));
    }
}

const Points kSquare = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
}  // namespace

TEST(RingTriangulation, SmallPolygons)
{
    struct Case
    {
        const char* name;
        Polygon poly;
        int triangles;
    };
    const Case cases[] = {
        {"triangle", {{{0, 0}, {3, 0}, {0, 2}}, {}}, 1},
        {"square", {kSquare, {}}, 2},
        {"L shape", {{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}, {}}, 4},
        {"straight vertex in a triangle", {{{0, 0}, {1, 0}, {2, 0}, {1, 1}}, {}}, 2},
        {"straight vertex in a square", {{{0, 0}, {2, 0}, {4, 0}, {4, 4}, {0, 4}}, {}}, 3},
        {"square with a square hole", {kSquare, {{{1, 1}, {1, 3}, {3, 3}, {3, 1}}}}, 8},
        {"hole touching an outline vertex", {{{0, 0}, {4, 0}, {4, 4}, {2, 4}, {0, 4}}, {{{2, 4}, {3, 3}, {2, 2}, {1, 3}}}}, 7},
        {"two holes", {{{0, 0}, {10, 0}, {10, 4}, {0, 4}}, {{{1, 1}, {1, 3}, {3, 3}, {3, 1}}, {{6, 1}, {7, 3}, {8, 1}}}}, 13},
        {"comb", {{{0, 0}, {5, 0}, {5, 3}, {4, 3}, {4, 1}, {3, 1}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}}, {}}, 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Triangles t = TriangulatePolygon(c.poly);
        EXPECT_EQ(t.count, c.triangles);
        ExpectExact(c.poly, t);
    }
}

TEST(RingTriangulation, ClockwiseRingsGiveNothingAndAreConsumed)
{
    for (const Points& ring : {Points{{0, 0}, {0, 2}, {3, 0}}, Reversed(kSquare)})
    {
        RingVert* r = MakeRing(ring);
        std::vector<RingVert*> verts;
        for (RingVert* v = r; verts.size() < ring.size(); v = v->next)
            verts.push_back(v);
        std::unique_ptr<int32_t[]> indices;
        EXPECT_EQ(TriangulateRing(r, indices), 0);
        for (RingVert* v : verts)
            EXPECT_TRUE(v->flags & kRingVertFree);
    }
}

TEST(RingTriangulation, ATriangleIsWrittenInRingOrder)
{
    std::unique_ptr<int32_t[]> indices;
    ASSERT_EQ(TriangulateRing(MakeRing({{0, 0}, {3, 0}, {0, 2}}, 5), indices), 3);
    // Any rotation of (5, 6, 7): counterclockwise as given.
    const std::vector<int> got(indices.get(), indices.get() + 3);
    const std::vector<std::vector<int>> rotations = {{5, 6, 7}, {6, 7, 5}, {7, 5, 6}};
    EXPECT_NE(std::find(rotations.begin(), rotations.end(), got), rotations.end());
}

TEST(RingTriangulation, RingsOfFewerThanThreeVertices)
{
    std::unique_ptr<int32_t[]> indices(new int32_t[3]);
    const int before = RingVertPoolCount();
    EXPECT_EQ(TriangulateRing(MakeRing({{0, 0}, {1, 0}}), indices), 0);
    EXPECT_EQ(indices, nullptr);
    EXPECT_EQ(TriangulateRing(MakeRing({{0, 0}}), indices), 0);
    EXPECT_EQ(TriangulateRing(nullptr, indices), 0);
    EXPECT_EQ(TriangulateRingList(nullptr, indices), 0);
    EXPECT_EQ(RingVertPoolCount(), std::max(before, 2));
}

TEST(RingTriangulation, TooLittleRoomIsReportedAndKeepsWhatFits)
{
    ScopedScriptedServices scripted;
    int32_t indices[6] = {-1, -1, -1, -1, -1, -1};
    RingVert* square = MakeRing(kSquare);
    RingVert* third = square->next->next;
    EXPECT_EQ(TriangulateRingInto(square, 3, indices, nullptr), 3);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scripted.services.LastCall()->text.find("Triangulation failed: insufficient space"), std::string::npos);
    EXPECT_EQ(indices[3], -1);
    EXPECT_TRUE(third->flags & kRingVertFree);

    scripted.services.Clear();
    EXPECT_EQ(TriangulateRingInto(MakeRing({{0, 0}, {1, 0}, {0, 1}}), 2, indices, nullptr), 0);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scripted.services.LastCall()->text.find("max 2, needed 3"), std::string::npos);

    // Enough room: no message.
    scripted.services.Clear();
    EXPECT_EQ(TriangulateRingInto(MakeRing(kSquare), 6, indices, nullptr), 6);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(RingTriangulation, DegenerateRingsEndAndGiveOnlyValidTriangles)
{
    ScopedScriptedServices scripted;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* name;
        Points ring;
        double area;  // the true area, or NaN when none is expected
    };
    const Case cases[] = {
        {"all on one line", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1.5, 0}}, 0},
        {"all at one point", {{1, 1}, {1, 1}, {1, 1}, {1, 1}}, 0},
        {"spike out and back", {{0, 0}, {2, 0}, {1, 0}}, 0},
        {"square with a spike", {{0, 0}, {4, 0}, {6, 0}, {4, 0}, {4, 4}, {0, 4}}, 16},
        {"square with doubled corners", {{0, 0}, {0, 0}, {4, 0}, {4, 0}, {4, 4}, {4, 4}, {0, 4}, {0, 4}}, 16},
        {"square with near-coincident corners",
         {{0, 0}, {1e-12, 0}, {4, 0}, {4, 1e-12}, {4, 4}, {4 - 1e-12, 4}, {0, 4}, {0, 4 - 1e-12}},
         16},
        {"square with straight runs", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 2}, {4, 4}, {2, 4}, {0, 4}, {0, 2}}, 16},
        {"bow tie", {{0, 0}, {2, 2}, {2, 0}, {0, 2}}, nan},
        {"figure crossing itself twice", {{0, 0}, {4, 0}, {0, 2}, {4, 4}, {0, 4}, {4, 2}}, nan},
        {"huge coordinates", {{0, 0}, {1e200, 0}, {1e200, 1e200}, {0, 1e200}}, nan},
        {"not a number", {{0, 0}, {1, 0}, {nan, 1}, {0, 1}}, nan},
        {"tiny triangle", {{0, 0}, {1e-300, 0}, {0, 1e-300}}, nan},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const int n = int(c.ring.size());
        RingVert* ring = MakeRing(c.ring);
        const int before = RingVertPoolCount();
        std::unique_ptr<int32_t[]> indices;
        const int count = TriangulateRing(ring, indices);
        EXPECT_EQ(RingVertPoolCount() - before, n);
        EXPECT_EQ(count % 3, 0);
        EXPECT_LE(count, 3 * (n - 2));
        for (int i = 0; i < count; ++i)
        {
            EXPECT_GE(indices[size_t(i)], 0);
            EXPECT_LT(indices[size_t(i)], n);
        }
        if (!std::isnan(c.area))
        {
            Polygon poly{c.ring, {}};
            const Triangles t = Measure(poly, indices.get(), count);
            EXPECT_NEAR(t.area, c.area, 1e-9);
            if (count > 0)
            {
                EXPECT_GT(t.minArea, 0);
                EXPECT_EQ(t.overlaps, 0);
            }
        }
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(RingTriangulation, ScratchServesTheArraysAndGivesTheSameTriangles)
{
    std::mt19937 random(41);
    TriangulationScratch scratch;
    RingVert** previous = nullptr;
    for (int n : {30, 10, 80})
    {
        const Points ring = RandomSimplePolygon(random, n, 0, 0, 10);
        std::unique_ptr<int32_t[]> own;
        const int count = TriangulateRing(MakeRing(ring), own);
        int32_t* pooled = nullptr;
        ASSERT_EQ(TriangulateRing(MakeRing(ring), pooled, scratch), count);
        EXPECT_TRUE(std::equal(own.get(), own.get() + count, pooled));
        // The pointer array grows with room to spare and is kept while it is big enough.
        RingVert** pointers = scratch.GetVertexPointers(n);
        if (n == 10)
        {
            EXPECT_EQ(pointers, previous);
        }
        previous = pointers;
        EXPECT_EQ(scratch.Capacity(), n == 80 ? 80 * 3 / 2 + 20 : 30 * 3 / 2 + 20);
    }
    EXPECT_NE(scratch.AllocPoints(7), nullptr);
}

TEST(JoinRingHoles, ABridgeCopiesTheHoleTopAndItsTarget)
{
    Polygon poly{kSquare, {{{1, 1}, {1, 3}, {3, 3}, {3, 1}}}};
    RingList* list = MakeList(poly);
    JoinRingHoles(list);
    EXPECT_EQ(RingListCount(list), 1);
    RingVert* ring = list->ring;
    EXPECT_TRUE(RingLinksConsistent(ring));
    // The hole's first top vertex (1, 3), number 5, and the outline corner it sees, (4, 4) number 2,
    // each appear twice; the bridge runs between them in both directions.
    const std::vector<int> order = RingIndices(ring);
    EXPECT_EQ(order.size(), 10u);
    EXPECT_EQ(std::count(order.begin(), order.end(), 5), 2);
    EXPECT_EQ(std::count(order.begin(), order.end(), 2), 2);
    int bridges = 0;
    for (size_t i = 0; i < order.size(); ++i)
    {
        const int a = order[i], b = order[(i + 1) % order.size()];
        bridges += (a == 2 && b == 5) || (a == 5 && b == 2);
    }
    EXPECT_EQ(bridges, 2);
    FreeRingList(list);
}

TEST(JoinRingHoles, AHoleSharingAVertexIsSplicedInWithoutCopies)
{
    Polygon poly{{{0, 0}, {4, 0}, {4, 4}, {2, 4}, {0, 4}}, {{{2, 4}, {3, 3}, {2, 2}, {1, 3}}}};
    RingList* list = MakeList(poly);
    JoinRingHoles(list);
    EXPECT_EQ(RingIndices(list->ring), (std::vector<int>{0, 1, 2, 5, 6, 7, 8, 3, 4}));
    FreeRingList(list);
}

TEST(JoinRingHoles, HolesWithoutAnOutlineAreDropped)
{
    RingList* first = nullptr;
    RingList* last = nullptr;
    AppendRingToList(nullptr, first, last);
    AppendRingToList(MakeRing({{1, 1}, {1, 2}, {2, 1}}), first, last);
    const int before = RingVertPoolCount();
    JoinRingHoles(first);
    EXPECT_EQ(RingListCount(first), 1);
    EXPECT_EQ(first->ring, nullptr);
    EXPECT_EQ(RingVertPoolCount() - before, 3);
    FreeRingList(first);
}

// A second hole straight below the corner that the first hole's bridge reaches: its bridge must
// start from the copy of that corner whose side faces down, or the ring would cross itself there.
TEST(JoinRingHoles, ABridgeToACopiedCornerLeavesFromTheCopyFacingTheHole)
{
    Polygon poly;
    poly.outline = {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {5, 8}, {4, 10}, {0, 10}};
    poly.holes = {Reversed({{4.5, 6}, {4.2, 5.5}, {4.5, 5}, {4.8, 5.5}}), Reversed({{4, 3}, {3.7, 2.5}, {4, 2}, {4.3, 2.5}})};
    const Triangles t = TriangulatePolygon(poly);
    EXPECT_EQ(t.count, 7 + 4 + 4 + 2 * 2 - 2);
    ExpectExact(poly, t);
}

TEST(RingTriangulation, RandomSimplePolygonsAreCoveredExactly)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> size(3, 60);
    for (int trial = 0; trial < 300; ++trial)
    {
        SCOPED_TRACE("trial " + std::to_string(trial));
        // Every third polygon a thousand times smaller, away from the axes where near-zero
        // coordinates would be snapped.
        Polygon poly{trial % 3 ? RandomSimplePolygon(random, size(random), -5, -5, 10)
                               : RandomSimplePolygon(random, size(random), 3, 3, 0.01),
                     {}};
        const Triangles t = TriangulatePolygon(poly);
        EXPECT_EQ(t.count, int(poly.outline.size()) - 2);
        ExpectExact(poly, t);
        if (HasFailure())
            break;
    }
}

TEST(RingTriangulation, RandomPolygonsWithHolesAreCoveredExactly)
{
    std::mt19937 random(2);
    std::uniform_int_distribution<int> size(8, 40);
    int withHoles = 0;
    for (int trial = 0; trial < 300; ++trial)
    {
        SCOPED_TRACE("trial " + std::to_string(trial));
        Polygon poly;
        if (trial % 2)
            poly.outline = StarPolygon(random, {0, 0}, 5, 10, size(random));
        else
            poly.outline = RandomSimplePolygon(random, size(random), -10, -10, 20);
        AddRandomHoles(random, poly, 12, -6, 6, 2.5);
        withHoles += !poly.holes.empty();
        const Triangles t = TriangulatePolygon(poly);
        // Every hole adds two bridge copies, so the count of a full triangulation is known.
        const int verts = int(AllPoints(poly).size());
        EXPECT_EQ(t.count, verts + 2 * int(poly.holes.size()) - 2);
        ExpectExact(poly, t);
        if (HasFailure())
            break;
    }
    EXPECT_GT(withHoles, 200);
}

// Lattice polygons: every bridge, top vertex and ray meets others exactly, holes touch the outline
// and each other at corners, and straight vertices abound.
TEST(RingTriangulation, LatticePolygonsWithTouchingHolesAreCoveredExactly)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> side(3, 9);
    std::uniform_int_distribution<int> bigSide(20, 30);
    for (int trial = 0; trial < 200; ++trial)
    {
        SCOPED_TRACE("trial " + std::to_string(trial));
        // Some lattices big enough for the indexed clipping of long rings.
        const bool big = trial % 20 == 0;
        const int w = big ? bigSide(random) : side(random), h = big ? bigSide(random) : side(random);
        Polygon poly;
        for (int x = 0; x < w; ++x)
            poly.outline.push_back(Vec2D{double(x), 0});
        for (int y = 0; y < h; ++y)
            poly.outline.push_back(Vec2D{double(w), double(y)});
        for (int x = w; x > 0; --x)
            poly.outline.push_back(Vec2D{double(x), double(h)});
        for (int y = h; y > 0; --y)
            poly.outline.push_back(Vec2D{0, double(y)});

        // Diamonds about lattice points; they may share corners but never an edge or area.
        std::vector<std::pair<int, int>> centres;
        std::uniform_int_distribution<int> cx(1, w - 1), cy(1, h - 1);
        for (int k = 0; k < w * h / 2; ++k)
        {
            const int x = cx(random), y = cy(random);
            bool ok = true;
            for (const auto& [ox, oy] : centres)
            {
                const int dx = std::abs(ox - x), dy = std::abs(oy - y);
                ok = ok && dx + dy >= 2 && !(dx == 1 && dy == 1);
            }
            if (!ok)
                continue;
            centres.push_back({x, y});
            poly.holes.push_back({{double(x), y + 1.0}, {x + 1.0, double(y)}, {double(x), y - 1.0}, {x - 1.0, double(y)}});
        }
        const Triangles t = TriangulatePolygon(poly);
        EXPECT_NEAR(t.area, w * h - 2.0 * double(poly.holes.size()), 1e-9);
        EXPECT_EQ(t.overlaps, 0);
        EXPECT_EQ(t.outside, 0);
        EXPECT_GT(t.minArea, 0);
        if (HasFailure())
            break;
    }
}

namespace
{
Points RegularPolygon(int n, double radius, Vec2D centre)
{
    Points p;
    for (int i = 0; i < n; ++i)
    {
        const double a = 2 * 3.141592653589793 * i / n;
        p.push_back(Vec2D{centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return p;
}

Points SpikyStar(int n, double inner, double outer)
{
    Points p = RegularPolygon(n, outer, {0, 0});
    for (size_t i = 1; i < p.size(); i += 2)
        p[i] = Vec2D{p[i].x * inner / outer, p[i].y * inner / outer};
    return p;
}
}  // namespace

// Nearly straight ears of finely divided or small rings: the neighbours of an ear lie just past
// its far edge, and must not count as inside it.
TEST(RingTriangulation, FineAndSmallRingsAreFilledCompletely)
{
    struct Case
    {
        const char* name;
        Points ring;
    };
    const Case cases[] = {
        {"4000-gon", RegularPolygon(4000, 0.5, {0, 0})},
        {"200-gon", RegularPolygon(200, 0.5, {0, 0})},
        {"small 60-gon", RegularPolygon(60, 0.001, {2, 2})},
        {"star of 1500 spikes", SpikyStar(3000, 0.5, 1)},
        {"small star of 50 spikes", SpikyStar(100, 0.0005, 0.001)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Polygon poly{c.ring, {}};
        const Triangles t = TriangulatePolygon(poly);
        EXPECT_EQ(t.count, int(c.ring.size()) - 2);
        ExpectExact(poly, t);
    }
}

TEST(RingTriangulation, LongRingsWithHolesAreCoveredExactly)
{
    std::mt19937 random(4);
    std::uniform_int_distribution<int> size(300, 1200);
    for (int trial = 0; trial < 12; ++trial)
    {
        SCOPED_TRACE("trial " + std::to_string(trial));
        Polygon poly{StarPolygon(random, {0, 0}, 6, 10, size(random)), {}};
        AddRandomHoles(random, poly, 40, -5, 4, 1.5);
        const Triangles t = TriangulatePolygon(poly);
        const int verts = int(AllPoints(poly).size());
        EXPECT_EQ(t.count, verts + 2 * int(poly.holes.size()) - 2);
        ExpectExact(poly, t);
        if (HasFailure())
            break;
    }
}
