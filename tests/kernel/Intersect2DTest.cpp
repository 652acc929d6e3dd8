#include "kernel/Intersect2D.h"
#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

namespace
{
struct SegmentCase
{
    const char* name;
    Vec2D p, q, r, s;
    int code;
    std::optional<Vec2D> out1;
    std::optional<Vec2D> out2;
};

const SegmentCase kSegmentCases[] = {
    {"interiors cross", {0, 0}, {2, 2}, {0, 2}, {2, 0}, kSegCross, Vec2D{1, 1}, {}},
    {"q meets r at a corner", {0, 0}, {1, 0}, {1, 0}, {1, 1}, kSegQMeetsR, Vec2D{1, 0}, {}},
    {"p meets r", {0, 0}, {1, 1}, {0, 0}, {1, -1}, kSegPMeetsR, Vec2D{0, 0}, {}},
    {"p meets s", {0, 0}, {1, 1}, {1, -1}, {0, 0}, kSegPMeetsS, Vec2D{0, 0}, {}},
    {"q meets s", {0, 0}, {1, 1}, {2, 0}, {1, 1}, kSegQMeetsS, Vec2D{1, 1}, {}},
    {"r on the interior of A", {0, 0}, {2, 0}, {1, 0}, {1, 1}, kSegRTouchesA, Vec2D{1, 0}, {}},
    {"s on the interior of A", {0, 0}, {2, 0}, {1, 1}, {1, 0}, kSegSTouchesA, Vec2D{1, 0}, {}},
    {"p on the interior of B", {1, 0}, {1, 1}, {0, 0}, {2, 0}, kSegPTouchesB, Vec2D{1, 0}, {}},
    {"q on the interior of B", {1, 1}, {1, 0}, {0, 0}, {2, 0}, kSegQTouchesB, Vec2D{1, 0}, {}},
    {"r within tolerance of A", {0, 0}, {2, 0}, {1, 5e-8}, {1, 1}, kSegRTouchesA, Vec2D{1, 0}, {}},
    {"r on A's line beyond its end", {0, 0}, {2, 0}, {3, 0}, {3, 1}, kSegNoContact, {}, {}},
    {"parallel and apart", {0, 0}, {2, 0}, {0, 1}, {2, 1}, kSegNoContact, {}, {}},
    {"apart, crossing lines", {0, 0}, {1, 1}, {3, 0}, {2, 1}, kSegNoContact, {}, {}},
    {"colinear and apart", {0, 0}, {1, 0}, {2, 0}, {3, 0}, kSegNoContact, {}, {}},
    {"colinear end to end", {0, 0}, {2, 0}, {2, 0}, {5, 0}, kSegQMeetsR, Vec2D{2, 0}, {}},
    {"colinear end to end at p", {2, 0}, {5, 0}, {0, 0}, {2, 0}, kSegPMeetsS, Vec2D{2, 0}, {}},
    {"equal", {0, 0}, {4, 0}, {0, 0}, {4, 0}, kSegEqual, Vec2D{0, 0}, Vec2D{4, 0}},
    {"equal, reversed", {0, 0}, {4, 0}, {4, 0}, {0, 0}, kSegEqualReversed, Vec2D{0, 0}, Vec2D{4, 0}},
    {"overlapping stretch", {0, 0}, {4, 0}, {2, 0}, {6, 0}, kSegOverlap, Vec2D{2, 0}, Vec2D{4, 0}},
    {"B inside A, vertical", {0, 0}, {0, 4}, {0, 2}, {0, 1}, kSegOverlap, Vec2D{0, 1}, Vec2D{0, 2}},
    {"A inside B, diagonal", {1, 1}, {2, 2}, {3, 3}, {0, 0}, kSegOverlap, Vec2D{1, 1}, Vec2D{2, 2}},
    // A running backwards: the stretch still runs in A's direction, from p's side to q's.
    {"overlap, A backwards", {4, 0}, {0, 0}, {2, 0}, {6, 0}, kSegOverlap, Vec2D{4, 0}, Vec2D{2, 0}},
    {"B inside A, A backwards", {4, 0}, {0, 0}, {1, 0}, {2, 0}, kSegOverlap, Vec2D{2, 0}, Vec2D{1, 0}},
    {"zero-length A across B", {1, 1}, {1, 1}, {0, 0}, {2, 2}, kSegNoContact, {}, {}},
    {"zero-length A on B's line", {1, 0}, {1, 0}, {0, 0}, {2, 0}, kSegNoContact, {}, {}},
    {"zero-length A at B's end", {0, 0}, {0, 0}, {0, 0}, {0, 1}, kSegNoContact, {}, {}},
};

// The code of the same meeting with the roles of A and B exchanged.
int SwappedCode(int code)
{
    switch (code)
    {
    case kSegPMeetsS: return kSegQMeetsR;
    case kSegQMeetsR: return kSegPMeetsS;
    case kSegRTouchesA: return kSegPTouchesB;
    case kSegSTouchesA: return kSegQTouchesB;
    case kSegPTouchesB: return kSegRTouchesA;
    case kSegQTouchesB: return kSegSTouchesA;
    default: return code;
    }
}

double Orient(const Vec2D& a, const Vec2D& b, const Vec2D& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}
}  // namespace

TEST(SegmentIsectSegment2D, ClassifiesEveryKindOfMeeting)
{
    for (const SegmentCase& c : kSegmentCases)
    {
        SCOPED_TRACE(c.name);
        const Vec2D unset{-99, -99};
        Vec2D out1 = unset, out2 = unset;
        EXPECT_EQ(SegmentIsectSegment2D(c.p, c.q, c.r, c.s, kTol, &out1, &out2), c.code);
        if (c.out1)
        {
            EXPECT_NEAR(out1.x, c.out1->x, 1e-12);
            EXPECT_NEAR(out1.y, c.out1->y, 1e-12);
        }
        if (c.out2)
        {
            EXPECT_NEAR(out2.x, c.out2->x, 1e-12);
            EXPECT_NEAR(out2.y, c.out2->y, 1e-12);
        }
        else
        {
            EXPECT_EQ(out2.x, unset.x);
        }
        // Without outputs the answer is the same.
        EXPECT_EQ(SegmentIsectSegment2D(c.p, c.q, c.r, c.s, kTol), c.code);
    }
}

TEST(SegmentIsectSegment2D, ExchangingTheSegmentsMirrorsTheCode)
{
    for (const SegmentCase& c : kSegmentCases)
    {
        if (c.p.x == c.q.x && c.p.y == c.q.y)
            continue;  // a zero-length B is not the mirror of a zero-length A
        SCOPED_TRACE(c.name);
        Vec2D out1;
        const int code = SegmentIsectSegment2D(c.r, c.s, c.p, c.q, kTol, &out1);
        if (c.code == kSegOverlap || c.code == kSegEqual || c.code == kSegEqualReversed)
        {
            EXPECT_EQ(code, c.code == kSegEqual || c.code == kSegEqualReversed ? c.code : kSegOverlap);
            continue;
        }
        EXPECT_EQ(code, SwappedCode(c.code));
        if (c.out1 && c.code != kSegNoContact)
        {
            EXPECT_NEAR(out1.x, c.out1->x, 1e-12);
            EXPECT_NEAR(out1.y, c.out1->y, 1e-12);
        }
    }
}

TEST(SegmentIsectSegment2D, GenericSegmentsCrossExactlyWhenTheirEndsSeparate)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coord(-10, 10);
    int crossings = 0;
    for (int i = 0; i < 2000; ++i)
    {
        const Vec2D p{coord(random), coord(random)}, q{coord(random), coord(random)};
        const Vec2D r{coord(random), coord(random)}, s{coord(random), coord(random)};
        const double o1 = Orient(p, q, r), o2 = Orient(p, q, s), o3 = Orient(r, s, p), o4 = Orient(r, s, q);
        // Keep clear of the tolerance band, where the answer is a matter of convention.
        if (std::fabs(o1) < 1e-3 || std::fabs(o2) < 1e-3 || std::fabs(o3) < 1e-3 || std::fabs(o4) < 1e-3)
            continue;
        const bool cross = (o1 > 0) != (o2 > 0) && (o3 > 0) != (o4 > 0);
        Vec2D out;
        const int code = SegmentIsectSegment2D(p, q, r, s, kTol, &out);
        ASSERT_EQ(code, cross ? kSegCross : kSegNoContact);
        if (cross)
        {
            ++crossings;
            // The point lies on both segments.
            EXPECT_NEAR(Orient(p, q, out) / std::hypot(q.x - p.x, q.y - p.y), 0, 1e-9);
            EXPECT_NEAR(Orient(r, s, out) / std::hypot(s.x - r.x, s.y - r.y), 0, 1e-9);
            EXPECT_GE(out.x, std::fmin(p.x, q.x) - 1e-9);
            EXPECT_LE(out.x, std::fmax(p.x, q.x) + 1e-9);
        }
    }
    EXPECT_GT(crossings, 100);
}

TEST(LineIsectLine2D, MeetsUnlessParallelOrDegenerate)
{
    Vec2D out;
    ASSERT_TRUE(LineIsectLine2D(out, {0, 0}, {1, 1}, {0, 1}, {1, 0}, kTol));
    EXPECT_NEAR(out.x, 0.5, 1e-15);
    EXPECT_NEAR(out.y, 0.5, 1e-15);
    // Meeting outside both segments: the lines are infinite.
    ASSERT_TRUE(LineIsectLine2D(out, {0, 0}, {1, 0}, {5, 1}, {5, 2}, kTol));
    EXPECT_NEAR(out.x, 5, 1e-15);
    EXPECT_NEAR(out.y, 0, 1e-15);

    out = Vec2D{7, 7};
    EXPECT_FALSE(LineIsectLine2D(out, {0, 0}, {1, 2}, {1, 0}, {3, 4}, kTol));  // parallel
    EXPECT_FALSE(LineIsectLine2D(out, {0, 0}, {1, 0}, {2, 3}, {2, 3}, kTol));  // second has no length
    EXPECT_FALSE(LineIsectLine2D(out, {1, 1}, {1, 1}, {0, 0}, {1, 0}, kTol));  // first has no length
    EXPECT_EQ(out.x, 7);
    EXPECT_EQ(out.y, 7);
}

TEST(PointInTriangle2D, InsideOutsideAndOnTheRayLine)
{
    const Vec2D ccw[3] = {{0, 0}, {4, 0}, {0, 4}};
    const Vec2D cw[3] = {{0, 0}, {0, 4}, {4, 0}};
    struct Case
    {
        const char* name;
        Vec2D p;
        bool inside;
    };
    const Case cases[] = {
        {"centroid", {4.0 / 3, 4.0 / 3}, true},
        {"beyond the long side", {3, 3}, false},
        {"left of the triangle", {-1, 1}, false},
        {"below", {1, -1}, false},
        {"level with a corner, inside", {1, 0.0}, false},  // every corner or edge on the line y = 0
        {"level with the top corner", {0.5, 4}, false},
        {"near the top corner", {0.1, 3.8}, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PointInTriangle2D(c.p, ccw), c.inside);
        EXPECT_EQ(PointInTriangle2D(c.p, cw), c.inside);
    }
    const Vec2D flat[3] = {{0, 1}, {2, 1}, {5, 1}};
    EXPECT_FALSE(PointInTriangle2D({1, 1}, flat));
}

TEST(WindingStep, QuadrantsAndSquares)
{
    EXPECT_EQ(Quadrant2D({1, 1}), 0);
    EXPECT_EQ(Quadrant2D({0, 1}), 1);
    EXPECT_EQ(Quadrant2D({-1, 1}), 1);
    EXPECT_EQ(Quadrant2D({-1, 0}), 2);
    EXPECT_EQ(Quadrant2D({0, 0}), 2);
    EXPECT_EQ(Quadrant2D({1, 0}), 3);
    EXPECT_EQ(Quadrant2D({1, -1}), 3);

    struct Case
    {
        const char* name;
        std::vector<Vec2D> ring;
        int quarterTurns;
    };
    const Case cases[] = {
        {"counterclockwise around the origin", {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}, 4},
        {"clockwise around the origin", {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}}, -4},
        {"beside the origin", {{2, 2}, {3, 2}, {3, 3}, {2, 3}}, 0},
        {"straddling an axis", {{-1, 1}, {1, 1}, {1, 3}, {-1, 3}}, 0},
        {"triangle jumping across quadrants", {{3, 1}, {-1, 2}, {-1, -3}}, 4},
        {"triangle jumping, origin outside", {{3, 1}, {-3, -0.5}, {4, 3}}, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec2D prev = c.ring.back();
        int quadrant = Quadrant2D(prev);
        int sum = 0;
        for (const Vec2D& v : c.ring)
        {
            sum += WindingStep(v, prev, quadrant, kTol);
            EXPECT_EQ(prev.x, v.x);
            EXPECT_EQ(quadrant, Quadrant2D(v));
        }
        EXPECT_EQ(sum, c.quarterTurns);
    }
}

TEST(WindingStep, SumsToFourTimesTheWindingNumberOfRandomPolygons)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coord(-4, 4);
    std::uniform_int_distribution<int> size(3, 9);
    int nonZero = 0;
    for (int trial = 0; trial < 3000; ++trial)
    {
        std::vector<Vec2D> ring(size_t(size(random)));
        for (Vec2D& v : ring)
            v = Vec2D{coord(random), coord(random)};
        // The true winding number, from the angles the edges sweep.
        double angle = 0;
        for (size_t i = 0; i < ring.size(); ++i)
        {
            const Vec2D& a = ring[i];
            const Vec2D& b = ring[(i + 1) % ring.size()];
            angle += std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
        }
        const int winding = int(std::lround(angle / (2 * kPi)));
        Vec2D prev = ring.back();
        int quadrant = Quadrant2D(prev);
        int sum = 0;
        for (const Vec2D& v : ring)
            sum += WindingStep(v, prev, quadrant, kTol);
        ASSERT_EQ(sum, 4 * winding) << "trial " << trial;
        nonZero += winding != 0;
    }
    EXPECT_GT(nonZero, 300);
}

namespace
{
// The arcs as angle intervals around the centre, for checking sample points against them.
bool AngleInArcs(double angle, const Vec2D& c, int n, const Vec2D* starts, const Vec2D* ends)
{
    for (int i = 0; i < n; ++i)
    {
        const double a0 = std::atan2(starts[i].y - c.y, starts[i].x - c.x);
        double a1 = std::atan2(ends[i].y - c.y, ends[i].x - c.x);
        if (a1 <= a0)
            a1 += 2 * kPi;
        double a = angle;
        while (a < a0)
            a += 2 * kPi;
        while (a >= a0 + 2 * kPi)
            a -= 2 * kPi;
        if (a <= a1)
            return true;
    }
    return false;
}

// Signed distance of x inside the counterclockwise triangle: the least over its edges.
double InsideDepth(const Vec2D t[3], const Vec2D& x)
{
    double depth = 1e300;
    for (int i = 0; i < 3; ++i)
    {
        const Vec2D& a = t[i];
        const Vec2D& b = t[(i + 1) % 3];
        depth = std::fmin(depth, Orient(a, b, x) / std::hypot(b.x - a.x, b.y - a.y));
    }
    return depth;
}
}  // namespace

TEST(CircleClipTriangle2D, KnownArcs)
{
    const Vec2D t[3] = {{0, 0}, {10, 0}, {0, 10}};
    Vec2D starts[3], ends[3];

    ASSERT_EQ(CircleClipTriangle2D({2, 2}, 1, t, starts, ends), 1);  // wholly inside
    EXPECT_EQ(starts[0].x, 3);
    EXPECT_EQ(starts[0].y, 2);
    EXPECT_EQ(ends[0].x, 3);
    EXPECT_EQ(ends[0].y, 2);

    EXPECT_EQ(CircleClipTriangle2D({20, 20}, 1, t, starts, ends), 0);  // far outside
    EXPECT_EQ(CircleClipTriangle2D({3, 3}, 100, t, starts, ends), 0);  // encloses the triangle

    // Centred on the corner at the right angle: the quarter from the x axis round to the y axis.
    ASSERT_EQ(CircleClipTriangle2D({0, 0}, 1, t, starts, ends), 1);
    EXPECT_NEAR(starts[0].x, 1, 1e-12);
    EXPECT_NEAR(starts[0].y, 0, 1e-12);
    EXPECT_NEAR(ends[0].x, 0, 1e-12);
    EXPECT_NEAR(ends[0].y, 1, 1e-12);

    // Centred on an edge: the half circle on the inner side.
    ASSERT_EQ(CircleClipTriangle2D({5, 0}, 1, t, starts, ends), 1);
    EXPECT_NEAR(starts[0].x, 6, 1e-12);
    EXPECT_NEAR(starts[0].y, 0, 1e-12);
    EXPECT_NEAR(ends[0].x, 4, 1e-12);
    EXPECT_NEAR(ends[0].y, 0, 1e-12);

    // Equilateral triangle with inradius 1: a circle of radius 1.5 about its centre leaves it
    // across all three sides, and its three arcs lie around the corners.
    const double s3 = std::sqrt(3.0);
    const Vec2D eq[3] = {{-s3, -1}, {s3, -1}, {0, 2}};
    ASSERT_EQ(CircleClipTriangle2D({0, 0}, 1.5, eq, starts, ends), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(std::hypot(starts[i].x, starts[i].y), 1.5, 1e-12);
        EXPECT_NEAR(InsideDepth(eq, starts[i]), 0, 1e-12);
        EXPECT_NEAR(InsideDepth(eq, ends[i]), 0, 1e-12);
    }
}

TEST(CircleClipTriangle2D, ArcsHoldExactlyThePointsOfTheCircleInsideTheTriangle)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coord(-5, 5);
    std::uniform_real_distribution<double> radius(0.2, 6);
    int partial = 0;
    for (int trial = 0; trial < 500; ++trial)
    {
        Vec2D t[3] = {{coord(random), coord(random)}, {coord(random), coord(random)}, {coord(random), coord(random)}};
        if (Orient(t[0], t[1], t[2]) < 0)
            std::swap(t[1], t[2]);
        if (Orient(t[0], t[1], t[2]) < 1)
            continue;
        const Vec2D c{coord(random), coord(random)};
        const double r = radius(random);
        Vec2D starts[3], ends[3];
        const int n = CircleClipTriangle2D(c, r, t, starts, ends);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 3);
        const bool full = n == 1 && starts[0].x == ends[0].x && starts[0].y == ends[0].y;
        partial += n > 0 && !full;
        for (int k = 0; k < 360; ++k)
        {
            const double a = 2 * kPi * (k + 0.5) / 360;
            const Vec2D x{c.x + r * std::cos(a), c.y + r * std::sin(a)};
            const double depth = InsideDepth(t, x);
            if (std::fabs(depth) < 1e-3)
                continue;
            const bool inArcs = full || AngleInArcs(a, c, n, starts, ends);
            ASSERT_EQ(inArcs, depth > 0) << "trial " << trial << " angle " << a;
        }
    }
    EXPECT_GT(partial, 50);
}
