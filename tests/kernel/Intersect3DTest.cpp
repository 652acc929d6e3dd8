#include "kernel/Intersect2D.h"
#include "kernel/Intersect3D.h"
#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace
{
void ExpectVec(const Vec3D& v, const Vec3D& expected, double tol = 1e-12)
{
    EXPECT_NEAR(v.x, expected.x, tol);
    EXPECT_NEAR(v.y, expected.y, tol);
    EXPECT_NEAR(v.z, expected.z, tol);
}

Vec3D RandomVec(std::mt19937& random, double range)
{
    std::uniform_real_distribution<double> coord(-range, range);
    return Vec3D{coord(random), coord(random), coord(random)};
}

// Distance of p from the line ab by the textbook formula.
double TrueDistance(const Vec3D& p, const Vec3D& a, const Vec3D& b)
{
    Vec3D ap, ab, c;
    Vec3Sub(ap, p, a);
    Vec3Sub(ab, b, a);
    Vec3Cross(c, ap, ab);
    return Vec3Length(c) / Vec3Length(ab);
}
}  // namespace

TEST(SegmentIsectSegment3D, ClassifiesSegmentsInSpace)
{
    struct Case
    {
        const char* name;
        Vec3D p, q, r, s;
        int code;
        std::optional<Vec3D> out1, out2;
    };
    const Case cases[] = {
        {"skew", {0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {0, 2, 1}, kSegNotCoplanar, {}, {}},
        {"crossing in the plane z = 5", {0, 0, 5}, {2, 2, 5}, {0, 2, 5}, {2, 0, 5}, kSegCross, Vec3D{1, 1, 5}, {}},
        {"crossing in an oblique plane", {0, 0, 0}, {2, 2, 2}, {2, 0, 1}, {0, 2, 1}, kSegCross, Vec3D{1, 1, 1}, {}},
        {"end on the other's interior", {0, 0, 0}, {2, 0, 2}, {1, 0, 1}, {1, 3, 1}, kSegRTouchesA, Vec3D{1, 0, 1}, {}},
        {"coplanar, apart", {0, 0, 0}, {1, 1, 0}, {3, 0, 0}, {2, 1, 0}, kSegNoContact, {}, {}},
        {"colinear overlap on a diagonal", {0, 0, 0}, {4, 2, 2}, {2, 1, 1}, {6, 3, 3}, kSegOverlap, Vec3D{2, 1, 1},
         Vec3D{4, 2, 2}},
        {"colinear and equal", {1, 2, 3}, {2, 4, 7}, {1, 2, 3}, {2, 4, 7}, kSegEqual, Vec3D{1, 2, 3}, Vec3D{2, 4, 7}},
        {"colinear end to end", {0, 0, 1}, {0, 0, 3}, {0, 0, 3}, {0, 0, 5}, kSegQMeetsR, Vec3D{0, 0, 3}, {}},
        // Side by side along the axis the projection drops: the projections coincide, the segments
        // do not.
        {"parallel, offset along the dropped axis", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, kSegNoContact, {}, {}},
        {"parallel, offset in the projection", {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}, kSegNoContact, {}, {}},
        {"parallel within tolerance of one line", {0, 0, 0}, {2, 0, 0}, {1, 5e-8, 0}, {3, 0, 0}, kSegOverlap,
         Vec3D{1, 0, 0}, Vec3D{2, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec3D out1{-99, -99, -99}, out2{-99, -99, -99};
        EXPECT_EQ(SegmentIsectSegment3D(c.p, c.q, c.r, c.s, kTol, &out1, &out2), c.code);
        if (c.out1)
            ExpectVec(out1, *c.out1);
        if (c.out2)
            ExpectVec(out2, *c.out2);
        EXPECT_EQ(SegmentIsectSegment3D(c.p, c.q, c.r, c.s, kTol), c.code);
    }
}

TEST(PlaneIsectPlane, CommonLine)
{
    Vec3D point, dir;
    ASSERT_TRUE(PlaneIsectPlane(point, dir, {0, 0, 1}, 0, {1, 0, 0}, -1, kTol));  // z = 0 and x = 1
    ExpectVec(dir, {0, 1, 0});
    ExpectVec(point, {1, 0, 0});

    // x + y + z = 3 and x - y = 0: the point satisfies both, the direction lies in both.
    const Vec3D na{1, 1, 1}, nb{1, -1, 0};
    ASSERT_TRUE(PlaneIsectPlane(point, dir, na, -3, nb, 0, kTol));
    EXPECT_NEAR(Vec3Dot(na, point) - 3, 0, 1e-12);
    EXPECT_NEAR(Vec3Dot(nb, point), 0, 1e-12);
    EXPECT_NEAR(Vec3Dot(na, dir), 0, 1e-12);
    EXPECT_NEAR(Vec3Dot(nb, dir), 0, 1e-12);
    EXPECT_GT(Vec3Length(dir), 1);

    point = Vec3D{7, 7, 7};
    EXPECT_FALSE(PlaneIsectPlane(point, dir, {0, 0, 1}, 0, {0, 0, -2}, 4, kTol));
    ExpectVec(point, {7, 7, 7});
}

TEST(PlaneIsectLine, MeetingPointsOfLinesAndSegments)
{
    const Vec3D n{0, 0, 1};
    Vec3D out{7, 7, 7};
    EXPECT_FALSE(PlaneIsectLine(out, n, -2, {0, 0, 0}, {1, 1, 0}, kTol));  // parallel
    ExpectVec(out, {7, 7, 7});
    ASSERT_TRUE(PlaneIsectLine(out, n, -2, {1, 1, 0}, {1, 0, 1}, kTol));
    ExpectVec(out, {3, 1, 2});

    // Segments against z = 2.
    ASSERT_TRUE(SegmentIsectPlane(out, n, -2, {0, 0, 0}, {0, 0, 4}, kTol));
    ExpectVec(out, {0, 0, 2});
    EXPECT_TRUE(SegmentIsectPlane(out, n, -2, {0, 0, 0}, {1, 0, 2}, kTol));  // ends on the plane
    ExpectVec(out, {1, 0, 2});
    out = Vec3D{7, 7, 7};
    EXPECT_FALSE(SegmentIsectPlane(out, n, -2, {0, 0, 0}, {2, 0, 1}, kTol));  // stops short
    ExpectVec(out, {4, 0, 2});  // the line's meeting point all the same
    EXPECT_FALSE(SegmentIsectPlane(out, n, -2, {0, 0, 3}, {1, 0, 3}, kTol));  // parallel
}

TEST(LineClosestPoints, AxisAndSkewLine)
{
    Vec3D out1, out2;
    double params[2] = {-1, -1};
    const double h = LineClosestPoints(out1, out2, params, {0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {0, 2, 1}, kTol);
    ExpectVec(out1, {0, 0, 0});
    ExpectVec(out2, {0, 0, 1});
    // u x v = +z, and the first line lies below the second.
    EXPECT_NEAR(h, -1, 1e-12);
    EXPECT_NEAR(params[0], 0, 1e-12);
    EXPECT_NEAR(params[1], -1, 1e-12);

    // Exchanging the lines flips u x v and the side: the sign stays.
    EXPECT_NEAR(LineClosestPoints(out1, out2, nullptr, {0, 1, 1}, {0, 2, 1}, {0, 0, 0}, {1, 0, 0}, kTol), -1, 1e-12);
    // Reversing one line flips u x v only.
    EXPECT_NEAR(LineClosestPoints(out1, out2, nullptr, {1, 0, 0}, {0, 0, 0}, {0, 1, 1}, {0, 2, 1}, kTol), 1, 1e-12);

    // Parallel lines: the first's midpoint and its foot.
    EXPECT_NEAR(LineClosestPoints(out1, out2, params, {0, 0, 0}, {2, 0, 0}, {5, 3, 0}, {6, 3, 0}, kTol), 3, 1e-12);
    EXPECT_EQ(params[0], 0.5);
    EXPECT_NEAR(params[1], -4, 1e-12);
    ExpectVec(out1, {1, 0, 0});
    ExpectVec(out2, {1, 3, 0});
}

TEST(LineClosestPoints, RandomLinesMeetTheirCommonPerpendicular)
{
    std::mt19937 random(17);
    for (int trial = 0; trial < 500; ++trial)
    {
        const Vec3D p0 = RandomVec(random, 5), p1 = RandomVec(random, 5);
        const Vec3D q0 = RandomVec(random, 5), q1 = RandomVec(random, 5);
        Vec3D out1, out2, u, v, d, n;
        double params[2];
        const double h = LineClosestPoints(out1, out2, params, p0, p1, q0, q1, kTol);
        Vec3Sub(u, p1, p0);
        Vec3Sub(v, q1, q0);
        Vec3Sub(d, out1, out2);
        Vec3Cross(n, u, v);
        EXPECT_NEAR(TrueDistance(out1, p0, p1), 0, 1e-9);
        EXPECT_NEAR(TrueDistance(out2, q0, q1), 0, 1e-9);
        EXPECT_NEAR(Vec3Dot(d, u) / Vec3Length(u), 0, 1e-9);
        EXPECT_NEAR(Vec3Dot(d, v) / Vec3Length(v), 0, 1e-9);
        EXPECT_NEAR(std::fabs(h), Vec3Length(d), 1e-9);
        EXPECT_GE(h * Vec3Dot(d, n), 0);
        Vec3D at;
        Vec3AddScaled(at, p0, params[0], u);
        ExpectVec(at, out1, 1e-8);
        Vec3AddScaled(at, q0, params[1], v);
        ExpectVec(at, out2, 1e-8);
    }
}

TEST(PointLineDistance, ProjectionsAndDistances)
{
    EXPECT_NEAR(PointLineDistance({0, 1, 0}, {0, 0, 0}, {1, 0, 0}, kTol), 1, 1e-15);
    EXPECT_EQ(PointLineDistance({5, 0, 0}, {0, 0, 0}, {1, 0, 0}, kTol), 0);
    EXPECT_EQ(PointLineDistance({5, 3, 0}, {1, 1, 1}, {1, 1, 1}, kTol), 0);  // no line

    std::mt19937 random(23);
    for (int trial = 0; trial < 200; ++trial)
    {
        const Vec3D p = RandomVec(random, 5), a = RandomVec(random, 5), b = RandomVec(random, 5);
        EXPECT_NEAR(PointLineDistance(p, a, b, kTol), TrueDistance(p, a, b), 1e-9);
        // The foot: on the line, and the distance away from p.
        Vec3D foot, ab;
        const double t = ProjectPointOnLine(foot, p, a, b, kTol);
        Vec3Sub(ab, b, a);
        Vec3D at;
        Vec3AddScaled(at, a, t, ab);
        ExpectVec(at, foot, 1e-9);
        EXPECT_NEAR(Vec3Distance(p, foot), TrueDistance(p, a, b), 1e-9);
    }

    Vec3D out;
    EXPECT_NEAR(ProjectPointOnLine(out, {1, 2, 3}, {0, 0, 0}, {2, 0, 0}, kTol), 0.5, 1e-15);
    ExpectVec(out, {1, 0, 0});
    EXPECT_EQ(ProjectPointOnLine(out, {1, 2, 3}, {4, 4, 4}, {4, 4, 4 + 1e-8}, kTol), 0);
    ExpectVec(out, {4, 4, 4});

    Plane plane;
    plane.n = Vec3D{0, 0.6, 0.8};
    plane.d = -2;
    ProjectPointOnPlane(out, {1, 1, 1}, plane);
    EXPECT_NEAR(PlaneDistance(plane, out), 0, 1e-15);
    ExpectVec(out, {1, 1 + 0.6 * 0.6, 1 + 0.6 * 0.8});
}

TEST(SphereCentre4Points, CentreOfAKnownSphere)
{
    const Vec3D centre{1, -2, 3};
    const double r = 2.5;
    std::mt19937 random(29);
    for (int trial = 0; trial < 50; ++trial)
    {
        Vec3D pts[4];
        for (Vec3D& p : pts)
        {
            Vec3D dir = RandomVec(random, 1);
            Vec3Normalize(dir);
            Vec3AddScaled(p, centre, r, dir);
        }
        Vec3D out;
        ASSERT_TRUE(SphereCentre4Points(out, pts[0], pts[1], pts[2], pts[3], kTol));
        Vec3D c;
        Vec3Add(c, pts[0], out);
        ExpectVec(c, centre, 1e-8);
        EXPECT_NEAR(Vec3Length(out), r, 1e-8);
    }
    Vec3D out{7, 7, 7};
    EXPECT_FALSE(SphereCentre4Points(out, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {3, 5, 1}, kTol));
    ExpectVec(out, {7, 7, 7});
}
