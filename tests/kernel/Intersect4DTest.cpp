#include "kernel/Intersect4D.h"
#include "kernel/Mat4.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "Vec4Expect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace
{
const Vec4D kOrigin{0, 0, 0, 0};
const Vec4D kEx{1, 0, 0, 0}, kEy{0, 1, 0, 0}, kEz{0, 0, 1, 0}, kEw{0, 0, 0, 1};
const Vec4D kSentinel{7, 7, 7, 7};
const double kDeg = 180.0 / kPi;

Vec4D Sum(const Vec4D& a, double s, const Vec4D& b)
{
    Vec4D out;
    Vec4AddScaled(out, a, s, b);
    return out;
}

Vec4D Diff(const Vec4D& a, const Vec4D& b)
{
    Vec4D out;
    Vec4Sub(out, a, b);
    return out;
}

Vec4D Unit(Vec4D v)
{
    Vec4Div(v, Vec4Length(v));
    return v;
}

// Distance of p from the plane through a, b, c, by Gram-Schmidt written out here.
double DistanceToPlane(const Vec4D& p, const Vec4D& a, const Vec4D& b, const Vec4D& c)
{
    const Vec4D u = Unit(Diff(b, a));
    Vec4D v = Diff(c, a);
    v = Unit(Sum(v, -Vec4Dot(v, u), u));
    Vec4D d = Diff(p, a);
    d = Sum(d, -Vec4Dot(d, u), u);
    d = Sum(d, -Vec4Dot(d, v), v);
    return Vec4Length(d);
}

double DistanceToLine(const Vec4D& p, const Vec4D& a, const Vec4D& b)
{
    const Vec4D u = Unit(Diff(b, a));
    const Vec4D d = Diff(p, a);
    return Vec4Length(Sum(d, -Vec4Dot(d, u), u));
}

// A deterministic rotation: Gram-Schmidt on pseudo-random vectors.
Mat4 SomeRotation(uint32_t seed)
{
    std::mt19937 gen(seed);
    auto coord = [&gen] { return double(gen()) / 4294967295.0 * 2.0 - 1.0; };
    Vec4D f[4];
    for (int i = 0; i < 4; ++i)
    {
        f[i] = {coord(), coord(), coord(), coord()};
        for (int j = 0; j < i; ++j)
            f[i] = Sum(f[i], -Vec4Dot(f[i], f[j]), f[j]);
        f[i] = Unit(f[i]);
    }
    Mat4 m;
    m.SetColumns(f[0], f[1], f[2], f[3]);
    return m;
}

Vec4D Apply(const Mat4& m, const Vec4D& v, const Vec4D& shift)
{
    Vec4D out;
    m.Transform(out, v);
    Vec4Add(out, out, shift);
    return out;
}

Vec4D RandomPoint(std::mt19937& gen)
{
    auto coord = [&gen] { return double(gen()) / 4294967295.0 * 4.0 - 2.0; };
    return {coord(), coord(), coord(), coord()};
}
}  // namespace

TEST(Intersect4D, ProjectionsOfPoints)
{
    Vec4D out;
    EXPECT_NEAR(ProjectPointOnLine4D(out, {3, 4, 5, 6}, kOrigin, {2, 0, 0, 0}, kTol), 1.5, 1e-15);
    ExpectVec4Near(out, {3, 0, 0, 0}, 1e-15);
    EXPECT_NEAR(ProjectPointOnLine4D(out, {0, 0, 0, 0}, {1, 1, 1, 1}, {3, 3, 3, 3}, kTol), -0.5, 1e-15);
    ExpectVec4Near(out, {0, 0, 0, 0}, 1e-15);
    // A line whose ends coincide gives its first point.
    EXPECT_EQ(ProjectPointOnLine4D(out, {3, 4, 5, 6}, {1, 2, 3, 4}, {1, 2, 3, 4 + 1e-8}, kTol), 0.0);
    ExpectVec4Near(out, {1, 2, 3, 4}, 0);

    // Onto planes: the foot lies in the plane and p - foot is perpendicular to it.
    struct PlaneCase
    {
        const char* name;
        Vec4D p, a, b, c;
        std::optional<Vec4D> expected;
    };
    const PlaneCase planes[] = {
        {"xy-plane", {1, 2, 3, 4}, kOrigin, {2, 0, 0, 0}, {1, 1, 0, 0}, Vec4D{1, 2, 0, 0}},
        {"zw-plane moved", {1, 2, 3, 4}, {5, 5, 0, 0}, {5, 5, 1, 0}, {5, 5, 7, 1}, Vec4D{5, 5, 3, 4}},
        {"point in the plane", {1, 1, 0, 0}, kOrigin, {1, 0, 0, 0}, {0, 1, 0, 0}, Vec4D{1, 1, 0, 0}},
        {"oblique", {-1, 3, 0.5, 2}, {1, 0, 2, -1}, {2, 1, 1, 0}, {0, 3, 2, 2}, std::nullopt},
    };
    for (const PlaneCase& c : planes)
    {
        SCOPED_TRACE(c.name);
        ProjectPointOnPlane4D(out, c.p, c.a, c.b, c.c, kTol);
        if (c.expected)
            ExpectVec4Near(out, *c.expected, 1e-14);
        EXPECT_NEAR(DistanceToPlane(out, c.a, c.b, c.c), 0.0, 1e-14);
        const Vec4D d = Diff(c.p, out);
        EXPECT_NEAR(Vec4Dot(d, Diff(c.b, c.a)), 0.0, 1e-14);
        EXPECT_NEAR(Vec4Dot(d, Diff(c.c, c.a)), 0.0, 1e-14);
    }

    // Onto x + y + z + w = 2.
    const Hyperplane h{{0.5, 0.5, 0.5, 0.5}, -1};
    ProjectPointOnHyperplane(out, {1, 1, 1, 1}, h);
    ExpectVec4Near(out, {0.5, 0.5, 0.5, 0.5}, 1e-15);
    ProjectPointOnHyperplane(out, {3, -1, 0, 2}, h);
    ExpectVec4Near(out, {2.5, -1.5, -0.5, 1.5}, 1e-15);
}

TEST(Intersect4D, LinesMeetingHyperplanes)
{
    struct Case
    {
        const char* name;
        Vec4D a, b;
        Hyperplane h;
        std::optional<Vec4D> expected;  // none: parallel
    };
    const Case cases[] = {
        {"diagonal through w = 0.5", kOrigin, {1, 1, 1, 1}, {kEw, -0.5}, Vec4D{0.5, 0.5, 0.5, 0.5}},
        {"beyond the segment", {0, 0, 0, 2}, {0, 0, 0, 3}, {kEw, -0.5}, Vec4D{0, 0, 0, 0.5}},
        {"oblique", {1, 0, 0, 0}, {1, 2, 0, 0}, {{0.5, 0.5, 0.5, 0.5}, -1}, Vec4D{1, 1, 0, 0}},
        {"parallel", kOrigin, {1, 0, 0, 0}, {kEw, -0.5}, std::nullopt},
        {"in the hyperplane", {0, 0, 0, 0.5}, {1, 2, 3, 0.5}, {kEw, -0.5}, std::nullopt},
        {"nearly parallel within tol", kOrigin, {1, 0, 0, 1e-7}, {kEw, -0.5}, std::nullopt},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D out = kSentinel;
        EXPECT_EQ(LineIsectHyperplane(out, c.a, c.b, c.h, kTol), c.expected.has_value());
        ExpectVec4Near(out, c.expected.value_or(kSentinel), 1e-15);
    }
}

TEST(Intersect4D, ClosestPointsOfTwoLines)
{
    struct Case
    {
        const char* name;
        Vec4D a1, a2, b1, b2;
        Vec4D out1, out2;
        double t1, t2, distance;  // distance by magnitude
    };
    const Case cases[] = {
        {"x axis and a line along y", kOrigin, kEx, {0, 1, 1, 0}, {0, 2, 1, 0}, kOrigin, kEz, 0, -1, 1},
        {"parallel lines", kOrigin, kEx, {0, 0, 0, 3}, {5, 0, 0, 3}, {0.5, 0, 0, 0}, {0.5, 0, 0, 3}, 0.5, 0.1, 3},
        {"crossing lines", kOrigin, {2, 0, 0, 0}, {1, -1, 0, 0}, {1, 1, 0, 0}, kEx, kEx, 0.5, 0.5, 0},
        {"skew across all four axes", kOrigin, kEx, {0, 0, 1, 1}, {0, 1, 1, 2}, kOrigin, {0, -0.5, 1, 0.5}, 0, -0.5,
         std::sqrt(1.5)},
        {"the same line", {1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {5, 5, 5, 5}, {1.5, 1.5, 1.5, 1.5},
         {1.5, 1.5, 1.5, 1.5}, 0.5, -0.75, 0},
        {"second line of zero length", kOrigin, kEx, {3, 2, 0, 0}, {3, 2, 0, 0}, {0.5, 0, 0, 0}, {3, 2, 0, 0}, 0.5, 0,
         std::sqrt(6.25 + 4)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D out1, out2;
        double params[2];
        const double h = LineClosestPoints4D(out1, out2, params, c.a1, c.a2, c.b1, c.b2, kTol);
        ExpectVec4Near(out1, c.out1, 1e-14);
        ExpectVec4Near(out2, c.out2, 1e-14);
        EXPECT_NEAR(params[0], c.t1, 1e-14);
        EXPECT_NEAR(params[1], c.t2, 1e-14);
        EXPECT_NEAR(std::fabs(h), c.distance, 1e-14);
        // Without params the points are the same.
        Vec4D again1, again2;
        EXPECT_EQ(LineClosestPoints4D(again1, again2, nullptr, c.a1, c.a2, c.b1, c.b2, kTol), h);
        ExpectVec4Near(again1, out1, 0);
        ExpectVec4Near(again2, out2, 0);
    }
}

TEST(Intersect4D, ClosestPointsOfLinesInGeneralPosition)
{
    // The closest points are the ones whose join is perpendicular to both lines.
    std::mt19937 gen(4711);
    for (int i = 0; i < 20; ++i)
    {
        SCOPED_TRACE(i);
        const Vec4D a1 = RandomPoint(gen), a2 = RandomPoint(gen), b1 = RandomPoint(gen), b2 = RandomPoint(gen);
        Vec4D out1, out2;
        double params[2];
        const double h = LineClosestPoints4D(out1, out2, params, a1, a2, b1, b2, kTol);
        const Vec4D u = Diff(a2, a1), v = Diff(b2, b1), join = Diff(out2, out1);
        ExpectVec4Near(out1, Sum(a1, params[0], u), 1e-12);
        ExpectVec4Near(out2, Sum(b1, params[1], v), 1e-12);
        EXPECT_NEAR(Vec4Dot(join, u), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(join, v), 0.0, 1e-12);
        EXPECT_NEAR(std::fabs(h), Vec4Length(join), 1e-12);
    }
}

TEST(Intersect4D, NearlyParallelSkewLinesStillGivePointsOnBothLines)
{
    // Not in one 2-plane, yet closer to parallel than tol: treated as parallel.
    const Vec4D a1 = kOrigin, a2 = kEx, b1 = kEw, b2{1, 1e-8, 0, 1};
    Vec4D out1 = kSentinel, out2 = kSentinel;
    double params[2] = {-1, -1};
    const double h = LineClosestPoints4D(out1, out2, params, a1, a2, b1, b2, kTol);
    EXPECT_NEAR(DistanceToLine(out1, a1, a2), 0.0, 1e-15);
    EXPECT_NEAR(DistanceToLine(out2, b1, b2), 0.0, 1e-15);
    EXPECT_NEAR(h, 1.0, 1e-7);
    EXPECT_EQ(params[0], 0.5);
    EXPECT_NEAR(params[1], 0.5, 1e-7);
}

TEST(Intersect4D, ClosestPointsOfALineAndAPlane)
{
    const Vec4D xy[3] = {kOrigin, kEx, kEy};
    struct Case
    {
        const char* name;
        Vec4D a1, a2, b1, b2, b3;
        Vec4D out1, out2;
        double distance;  // by magnitude
    };
    const Case cases[] = {
        {"line along z off the xy-plane in w", {0, 0, 1, 1}, {0, 0, 2, 1}, xy[0], xy[1], xy[2], kEw, kOrigin, 1},
        {"line through the plane", {1, 2, -1, 0}, {1, 2, 1, 0}, xy[0], xy[1], xy[2], {1, 2, 0, 0}, {1, 2, 0, 0}, 0},
        {"line parallel to the plane", {0, 0, 1, 0}, {1, 1, 1, 0}, xy[0], xy[1], xy[2], {0.5, 0.5, 1, 0},
         {0.5, 0.5, 0, 0}, 1},
        {"line in the plane", {0, 0, 0, 0}, {3, 1, 0, 0}, xy[0], xy[1], xy[2], {1.5, 0.5, 0, 0}, {1.5, 0.5, 0, 0}, 0},
        {"colinear plane points: the line through the first two", {0, 1, 1, 0}, {0, 2, 1, 0}, kOrigin, kEx,
         {2, 0, 0, 0}, kEz, kOrigin, 1},
        {"first two plane points equal: the line through the first and third", {0, 1, 1, 0}, {0, 2, 1, 0}, kOrigin,
         kOrigin, {3, 0, 0, 0}, kEz, kOrigin, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D out1, out2;
        const double h = LinePlaneClosestPoints4D(out1, out2, c.a1, c.a2, c.b1, c.b2, c.b3, kTol);
        ExpectVec4Near(out1, c.out1, 1e-14);
        ExpectVec4Near(out2, c.out2, 1e-14);
        EXPECT_NEAR(std::fabs(h), c.distance, 1e-14);
    }

    std::mt19937 gen(815);
    for (int i = 0; i < 20; ++i)
    {
        SCOPED_TRACE(i);
        const Vec4D a1 = RandomPoint(gen), a2 = RandomPoint(gen);
        const Vec4D b1 = RandomPoint(gen), b2 = RandomPoint(gen), b3 = RandomPoint(gen);
        Vec4D out1, out2;
        const double h = LinePlaneClosestPoints4D(out1, out2, a1, a2, b1, b2, b3, kTol);
        const Vec4D join = Diff(out2, out1);
        EXPECT_NEAR(DistanceToLine(out1, a1, a2), 0.0, 1e-12);
        EXPECT_NEAR(DistanceToPlane(out2, b1, b2, b3), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(join, Diff(a2, a1)), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(join, Diff(b2, b1)), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(join, Diff(b3, b1)), 0.0, 1e-12);
        EXPECT_NEAR(std::fabs(h), Vec4Length(join), 1e-12);
    }
}

TEST(Intersect4D, PlaneMeetingAHyperplane)
{
    const double s = std::sqrt(0.5);
    struct Case
    {
        const char* name;
        Vec4D p0, p1, p2;
        Hyperplane h;
        bool meets;
        std::optional<Vec4D> point, dir;  // dir up to sign
    };
    const Case cases[] = {
        {"xy-plane and x + y = 1", kOrigin, kEx, kEy, {{s, s, 0, 0}, -s}, true, Vec4D{0.5, 0.5, 0, 0},
         Vec4D{-s, s, 0, 0}},
        {"xy-plane and x = 2", kOrigin, kEx, kEy, {kEx, -2}, true, Vec4D{2, 0, 0, 0}, kEy},
        {"tilted plane and w = 1", kOrigin, {1, 0, 0, 1}, kEy, {kEw, -1}, true, Vec4D{1, 0, 0, 1}, kEy},
        {"oblique", {1, 2, 0, -1}, {0, 1, 3, 1}, {2, -1, 1, 0}, {{0.2, 0.4, -0.4, 0.8}, -1}, true, std::nullopt,
         std::nullopt},
        {"plane z = 5, w = 0 and w = 1", {0, 0, 5, 0}, {1, 0, 5, 0}, {0, 1, 5, 0}, {kEw, -1}, false, std::nullopt,
         std::nullopt},
        {"plane inside the hyperplane", {0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {kEw, -1}, false, std::nullopt,
         std::nullopt},
        {"colinear points", kOrigin, kEx, {2, 0, 0, 0}, {kEx, -1}, false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D point = kSentinel, dir = kSentinel;
        ASSERT_EQ(PlaneIsectHyperplane(point, dir, c.p0, c.p1, c.p2, c.h, kTol), c.meets);
        if (!c.meets)
        {
            ExpectVec4Near(point, kSentinel, 0);
            ExpectVec4Near(dir, kSentinel, 0);
            continue;
        }
        if (c.point)
            ExpectVec4Near(point, *c.point, 1e-15);
        if (c.dir)
            ExpectVec4NearUpToSign(dir, *c.dir, 1e-15);
        EXPECT_NEAR(HyperplaneDistance(c.h, point), 0.0, 1e-14);
        EXPECT_NEAR(DistanceToPlane(point, c.p0, c.p1, c.p2), 0.0, 1e-14);
        EXPECT_NEAR(Vec4Length(dir), 1.0, 1e-15);
        EXPECT_NEAR(Vec4Dot(dir, c.h.n), 0.0, 1e-15);
        EXPECT_NEAR(DistanceToPlane(Sum(point, 1.0, dir), c.p0, c.p1, c.p2), 0.0, 1e-14);
    }
}

TEST(Intersect4D, PlaneCommonToTwoHyperplanes)
{
    const double s = std::sqrt(0.5);
    struct Case
    {
        const char* name;
        Hyperplane h1, h2;
        bool meets;
        std::optional<Vec4D> point;
    };
    const Case cases[] = {
        {"x = 1 and y = 2", {kEx, -1}, {kEy, -2}, true, Vec4D{1, 2, 0, 0}},
        {"x = 1 and (x + y)/sqrt2 = 2", {kEx, -1}, {{s, s, 0, 0}, -2}, true, Vec4D{1, 2 / s - 1, 0, 0}},
        {"oblique pair", {{0.2, 0.4, -0.4, 0.8}, -1}, {{0.5, -0.5, 0.5, 0.5}, 0.3}, true, std::nullopt},
        {"x = 1 and 2x = 1", {kEx, -1}, {kEx, -0.5}, false, std::nullopt},
        {"opposite normals", {kEx, -1}, {{-1, 0, 0, 0}, -1}, false, std::nullopt},
        {"normals parallel within tol", {kEx, -1}, {{1, 1e-8, 0, 0}, -2}, false, std::nullopt},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D point = kSentinel, dir1 = kSentinel, dir2 = kSentinel;
        ASSERT_EQ(HyperplaneIsectHyperplane(point, dir1, dir2, c.h1, c.h2, kTol), c.meets);
        if (!c.meets)
        {
            ExpectVec4Near(point, kSentinel, 0);
            ExpectVec4Near(dir1, kSentinel, 0);
            ExpectVec4Near(dir2, kSentinel, 0);
            continue;
        }
        if (c.point)
            ExpectVec4Near(point, *c.point, 1e-14);
        // On both hyperplanes, nearest the origin, with an orthonormal pair of directions in both.
        for (const Hyperplane* h : {&c.h1, &c.h2})
        {
            EXPECT_NEAR(HyperplaneDistance(*h, point), 0.0, 1e-14);
            EXPECT_NEAR(Vec4Dot(dir1, h->n), 0.0, 1e-15);
            EXPECT_NEAR(Vec4Dot(dir2, h->n), 0.0, 1e-15);
        }
        EXPECT_NEAR(Vec4Dot(point, dir1), 0.0, 1e-14);
        EXPECT_NEAR(Vec4Dot(point, dir2), 0.0, 1e-14);
        EXPECT_NEAR(Vec4Length(dir1), 1.0, 1e-15);
        EXPECT_NEAR(Vec4Length(dir2), 1.0, 1e-15);
        EXPECT_NEAR(Vec4Dot(dir1, dir2), 0.0, 1e-15);
    }

    // x = 1 and y = 2 leave the z and w directions.
    Vec4D point, dir1, dir2;
    ASSERT_TRUE(HyperplaneIsectHyperplane(point, dir1, dir2, {kEx, -1}, {kEy, -2}, kTol));
    EXPECT_NEAR(std::fabs(dir1.w) + std::fabs(dir2.w), 1.0, 1e-15);
    EXPECT_NEAR(std::fabs(dir1.z) + std::fabs(dir2.z), 1.0, 1e-15);
}

namespace
{
struct PlanePlaneCase
{
    const char* name;
    Vec4D p[3], q[3];
    double tol;
    int code;
    std::optional<Vec4D> out;
    std::optional<Vec4D> rec[4];
    bool lineDirectionSignFree;                  // rec[2] of code 4
    std::optional<std::pair<double, double>> angles;  // degrees: rec0 to rec1, rec2 to rec3
};

// What every result must satisfy, whatever the configuration.
void CheckPlanePlaneRecord(const Vec4D p[3], const Vec4D q[3], int code, const Vec4D& out, const Vec4D rec[4])
{
    if (code >= 3)
    {
        EXPECT_NEAR(DistanceToPlane(out, p[0], p[1], p[2]), 0.0, 1e-9);
    }
    if (code >= 4)
    {
        EXPECT_NEAR(DistanceToPlane(out, q[0], q[1], q[2]), 0.0, 1e-9);
    }
    if (code == 3)
    {
        EXPECT_NEAR(DistanceToPlane(rec[2], q[0], q[1], q[2]), 0.0, 1e-9);
    }
    if (code < 3)
        return;
    // rec0 (and rec2 for codes 5-7) are unit directions of P, rec1 (and rec3) of Q.
    const int count = code >= 5 ? 4 : 2;
    for (int i = 0; i < count; ++i)
    {
        const Vec4D* plane = i % 2 == 0 ? p : q;
        EXPECT_NEAR(Vec4Length(rec[i]), 1.0, 1e-12) << i;
        EXPECT_NEAR(DistanceToPlane(Sum(plane[0], 1.0, rec[i]), plane[0], plane[1], plane[2]), 0.0, 1e-9) << i;
    }
    if (code == 4)
    {
        EXPECT_NEAR(Vec4Length(rec[2]), 1.0, 1e-12);
        EXPECT_NEAR(DistanceToPlane(Sum(out, 1.0, rec[2]), p[0], p[1], p[2]), 0.0, 1e-9);
        EXPECT_NEAR(DistanceToPlane(Sum(out, 1.0, rec[2]), q[0], q[1], q[2]), 0.0, 1e-9);
    }
    if (code == 4)
    {
        // Across the common line.
        EXPECT_NEAR(Vec4Dot(rec[0], rec[2]), 0.0, 1e-9);
        EXPECT_NEAR(Vec4Dot(rec[1], rec[2]), 0.0, 1e-9);
    }
    if (code <= 4)
        return;
    EXPECT_NEAR(Vec4Dot(rec[0], rec[2]), 0.0, 1e-12);
    EXPECT_NEAR(Vec4Dot(rec[1], rec[3]), 0.0, 1e-12);
    // Principal pairs: each direction is perpendicular to the other pair's partner.
    EXPECT_NEAR(Vec4Dot(rec[0], rec[3]), 0.0, 1e-9);
    EXPECT_NEAR(Vec4Dot(rec[2], rec[1]), 0.0, 1e-9);
    if (code >= 6)
    {
        Vec4D c1 = Sum(Sum(p[0], 1.0, p[1]), 1.0, p[2]);
        Vec4Div(c1, 3.0);
        const Vec4D toC1 = Diff(c1, out);
        EXPECT_GE(Vec4Dot(rec[0], toC1), -1e-12);
        EXPECT_GE(Vec4Dot(rec[2], toC1), -1e-12);
        EXPECT_GE(Vec4Dot(rec[3], rec[2]), -1e-12);
    }
    if (code == 7)
    {
        EXPECT_GE(Vec4Dot(rec[1], rec[0]), -1e-12);
    }
}

void ExpectAngles(const Vec4D rec[4], double first, double second, double tol)
{
    EXPECT_NEAR(AngleDeg4(rec[0], rec[1]), first, tol);
    EXPECT_NEAR(AngleDeg4(rec[2], rec[3]), second, tol);
}
}  // namespace

TEST(Intersect4D, HowTwoPlanesLie)
{
    const double r5 = std::sqrt(5.0), s = std::sqrt(0.5);
    const double third = 1.0 / 3;
    const Vec4D xy[3] = {kOrigin, kEx, kEy};
    const PlanePlaneCase cases[] = {
        {"P colinear", {kOrigin, kEx, {2, 0, 0, 0}}, {kOrigin, kEz, kEw}, kTol, 0, std::nullopt, {}, false,
         std::nullopt},
        {"Q with two equal points", {xy[0], xy[1], xy[2]}, {kEz, kEw, kEz}, kTol, 0, std::nullopt, {}, false,
         std::nullopt},
        {"coincident", {xy[0], xy[1], xy[2]}, {{1, 1, 0, 0}, {1, 2, 0, 0}, {3, 0, 0, 0}}, kTol, 1,
         Vec4D{1, 2.0 / 3, 0, 0}, {Vec4D{1, 2.0 / 3, 0, 0}, Vec4D{}, Vec4D{}, Vec4D{}}, false, std::nullopt},
        {"parallel, apart", {xy[0], xy[1], xy[2]}, {kEz, {1, 0, 1, 0}, {0, 1, 1, 0}}, kTol, 2,
         Vec4D{third, third, 1, 0}, {Vec4D{third, third, 0, 0}, Vec4D{}, Vec4D{}, Vec4D{}}, false, std::nullopt},
        {"apart by 0.9 tol: coincident", {xy[0], xy[1], xy[2]},
         {{0, 0, 0.9e-7, 0}, {1, 0, 0.9e-7, 0}, {0, 1, 0.9e-7, 0}}, kTol, 1, std::nullopt, {}, false, std::nullopt},
        {"apart by 0.8 tol in z and w: parallel", {xy[0], xy[1], xy[2]},
         {{0, 0, 0.8e-7, 0.8e-7}, {1, 0, 0.8e-7, 0.8e-7}, {0, 1, 0.8e-7, 0.8e-7}}, kTol, 2, std::nullopt, {}, false,
         std::nullopt},
        {"sharing a direction, apart in w", {xy[0], xy[1], xy[2]}, {kEw, {1, 0, 0, 1}, {0, 0, 1, 1}}, kTol, 3,
         Vec4D{third, 0, 0, 0}, {kEy, kEz, Vec4D{third, 0, 0, 1}, Vec4D{}}, false, std::nullopt},
        {"meeting in a line: the xz-plane", {xy[0], xy[1], xy[2]}, {kOrigin, kEx, kEz}, kTol, 4,
         Vec4D{third, 0, 0, 0}, {kEy, kEz, kEx, Vec4D{}}, true, std::nullopt},
        {"meeting in a point, absolutely perpendicular", {xy[0], xy[1], xy[2]}, {kOrigin, kEz, kEw}, kTol, 5,
         kOrigin, {Vec4D{s, s, 0, 0}, Vec4D{0, 0, s, s}, std::nullopt, std::nullopt}, false,
         std::make_pair(90.0, 90.0)},
        {"meeting in a point at 90 and 45 degrees", {xy[0], xy[1], xy[2]}, {kOrigin, {1, 0, 1, 0}, kEw}, kTol, 6,
         kOrigin, {kEy, kEw, kEx, Vec4D{s, 0, s, 0}}, false, std::make_pair(90.0, 45.0)},
        {"meeting in a point at 26.57 and 63.43 degrees", {xy[0], xy[1], xy[2]},
         {kOrigin, {1, 0, 2, 0}, {0, 1, 0, 0.5}}, kTol, 7, kOrigin,
         {kEy, Vec4D{0, 2 / r5, 0, 1 / r5}, kEx, Vec4D{1 / r5, 0, 2 / r5, 0}}, false,
         std::make_pair(std::acos(2 / r5) * kDeg, std::acos(1 / r5) * kDeg)},
    };
    for (const PlanePlaneCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D out = kSentinel, rec[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
        ASSERT_EQ(PlaneIsectPlane4D(out, rec, c.p[0], c.p[1], c.p[2], c.q[0], c.q[1], c.q[2], c.tol), c.code);
        if (c.out)
            ExpectVec4Near(out, *c.out, 1e-14);
        else if (c.code == 0)
            ExpectVec4Near(out, kSentinel, 0);
        for (int i = 0; i < 4; ++i)
        {
            SCOPED_TRACE(testing::Message() << "rec[" << i << "]");
            if (c.code == 0)
                ExpectVec4Near(rec[i], kOrigin, 0);
            else if (c.rec[i] && i == 2 && c.lineDirectionSignFree)
                ExpectVec4NearUpToSign(rec[i], *c.rec[i], 1e-14);
            else if (c.rec[i])
                ExpectVec4Near(rec[i], *c.rec[i], 1e-14);
        }
        if (c.angles)
            ExpectAngles(rec, c.angles->first, c.angles->second, 1e-9);
        CheckPlanePlaneRecord(c.p, c.q, c.code, out, rec);
    }
}

TEST(Intersect4D, PlanesMeetingInAPointAtKnownAngles)
{
    // Canonical P = span(x, y) and Q = span(cos a x + sin a z, cos b y + sin b w) have the principal
    // angles a and b and meet at the origin. Each case turns Q's pair within Q, rotates the whole
    // configuration and moves it to X; the answer must not change.
    struct Case
    {
        const char* name;
        double alpha, beta;  // degrees
        int code;
    };
    const Case cases[] = {
        {"generic", 20, 55, 7},
        {"isoclinic", 40, 40, 7},
        {"one small angle", 1, 80, 7},
        {"nearly perpendicular", 89, 88, 7},
        {"one right angle", 30, 90, 6},
        {"absolutely perpendicular", 90, 90, 5},
    };
    const Vec4D x{0.3, -1.2, 2.0, 0.7};
    for (const Case& c : cases)
        for (uint32_t seed = 1; seed <= 6; ++seed)
        {
            SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
            const double a = c.alpha / kDeg, b = c.beta / kDeg, psi = 0.7 * seed;
            const Vec4D u1{std::cos(a), 0, std::sin(a), 0}, u2{0, std::cos(b), 0, std::sin(b)};
            const Vec4D qa = Sum(Sum(Vec4D{}, std::cos(psi), u1), std::sin(psi), u2);
            const Vec4D qb = Sum(Sum(Vec4D{}, -std::sin(psi), u1), std::cos(psi), u2);
            const Mat4 r = SomeRotation(seed);
            const Vec4D p[3] = {Apply(r, {1, 0.5, 0, 0}, x), Apply(r, {-0.5, 2, 0, 0}, x), Apply(r, {2, 1.5, 0, 0}, x)};
            const Vec4D q[3] = {Apply(r, Sum(Sum(Vec4D{}, 0.7, qa), -0.2, qb), x),
                                Apply(r, Sum(Sum(Vec4D{}, -1.1, qa), 0.4, qb), x),
                                Apply(r, Sum(Sum(Vec4D{}, 0.3, qa), 1.9, qb), x)};
            Vec4D out, rec[4];
            ASSERT_EQ(PlaneIsectPlane4D(out, rec, p[0], p[1], p[2], q[0], q[1], q[2], kTol), c.code);
            ExpectVec4Near(out, x, 1e-12);
            CheckPlanePlaneRecord(p, q, c.code, out, rec);
            if (c.code == 6)
                ExpectAngles(rec, 90, c.alpha, 1e-9);
            else
            {
                const double first = AngleDeg4(rec[0], rec[1]), second = AngleDeg4(rec[2], rec[3]);
                EXPECT_NEAR(std::min(first, second), std::min(c.alpha, c.beta), 1e-9);
                EXPECT_NEAR(std::max(first, second), std::max(c.alpha, c.beta), 1e-9);
            }
        }
}

TEST(Intersect4D, PrincipalDirectionsWhenProjectionsAreEquallyLong)
{
    // Q's two directions picked by P's normals, (1, 0, 0, 1) and the part of (1, 1, 1, 0) across it,
    // project onto P with equal lengths but not at right angles. The Gram matrix of their
    // projections has the eigenvalues 1/2 +- 1/(2 sqrt 5), the squared cosines of the angles.
    Vec4D out, rec[4];
    ASSERT_EQ(PlaneIsectPlane4D(out, rec, kOrigin, kEx, kEy, kOrigin, {1, 0, 0, 1}, {1, 1, 1, 0}, kTol), 7);
    const Vec4D p[3] = {kOrigin, kEx, kEy}, q[3] = {kOrigin, {1, 0, 0, 1}, {1, 1, 1, 0}};
    CheckPlanePlaneRecord(p, q, 7, out, rec);
    const double spread = 0.5 / std::sqrt(5.0);
    const double small = std::acos(std::sqrt(0.5 + spread)) * kDeg, large = std::acos(std::sqrt(0.5 - spread)) * kDeg;
    const double first = AngleDeg4(rec[0], rec[1]), second = AngleDeg4(rec[2], rec[3]);
    EXPECT_NEAR(std::min(first, second), small, 1e-9);
    EXPECT_NEAR(std::max(first, second), large, 1e-9);
}

TEST(Intersect4D, PlanesSharingADirectionAtKnownAngles)
{
    // Canonical P = span(x, y) and Q = span(x, cos b y + sin b z), Q moved by d along w: the planes
    // share the x direction, meet across it at b when d = 0 and lie in parallel 3-spaces otherwise.
    struct Case
    {
        const char* name;
        double beta;  // degrees
        double apart;
        int code;
    };
    const Case cases[] = {
        {"meeting at 30 degrees", 30, 0, 4},
        {"meeting at a right angle", 90, 0, 4},
        {"meeting at 150 degrees", 150, 0, 4},
        {"3-spaces 0.5 apart", 60, 0.5, 3},
        {"3-spaces 2 apart, obtuse", 120, -2, 3},
    };
    const Vec4D x{-1, 0.5, 1.5, 2};
    for (const Case& c : cases)
        for (uint32_t seed = 11; seed <= 15; ++seed)
        {
            SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
            const double b = c.beta / kDeg;
            const Vec4D across{0, std::cos(b), std::sin(b), 0}, shift{0, 0, 0, c.apart};
            const Mat4 r = SomeRotation(seed);
            // Both centroids lie on the positive side across the common line.
            const Vec4D pc[3] = {{0, 0.5, 0, 0}, {2, 1, 0, 0}, {-1, 0.3, 0, 0}};
            const Vec4D qc[3] = {Sum(shift, 0.4, across), Sum(Sum(shift, 1.0, kEx), 1.2, across),
                                 Sum(Sum(shift, -0.5, kEx), 0.8, across)};
            Vec4D p[3], q[3];
            for (int i = 0; i < 3; ++i)
            {
                p[i] = Apply(r, pc[i], x);
                q[i] = Apply(r, qc[i], x);
            }
            Vec4D out, rec[4];
            ASSERT_EQ(PlaneIsectPlane4D(out, rec, p[0], p[1], p[2], q[0], q[1], q[2], kTol), c.code);
            CheckPlanePlaneRecord(p, q, c.code, out, rec);
            EXPECT_NEAR(AngleDeg4(rec[0], rec[1]), c.beta, 1e-9);
            // out is the foot, on P's copy of the line, of the midpoint of the two centroids.
            const double midX = (pc[0].x + pc[1].x + pc[2].x + qc[0].x + qc[1].x + qc[2].x) / 6;
            ExpectVec4Near(out, Apply(r, {midX, 0, 0, 0}, x), 1e-12);
            if (c.code == 4)
                ExpectVec4NearUpToSign(rec[2], Apply(r, kEx, kOrigin), 1e-12);
            else
                ExpectVec4Near(rec[2], Apply(r, {midX, 0, 0, c.apart}, x), 1e-12);
        }
}

namespace
{
std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}
}  // namespace

TEST(Intersect4D, PlanesTiltedByLittleMoreThanTolStillMeetInALine)
{
    // Q shares the direction a with the xy-plane and leaves it towards w by 1.2 tol: not parallel
    // within tol, so the planes meet in the line through the origin along a.
    const double s = std::sqrt(0.5), tilt = 1.2e-7, c = std::sqrt(1 - tilt * tilt);
    const Vec4D a{s, s, 0, 0}, b{-s * c, s * c, 0, tilt};
    gTrace.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    Vec4D out, rec[4];
    const int code = PlaneIsectPlane4D(out, rec, kOrigin, kEx, {0, 2, 0, 0}, kOrigin, b, a, kTol);
    SetTraceSink(previous);
    ASSERT_EQ(code, 4);
    EXPECT_TRUE(gTrace.empty());
    ExpectVec4NearUpToSign(rec[2], a, 1e-9);
    EXPECT_NEAR(DistanceToLine(out, kOrigin, a), 0.0, 1e-12);
    ExpectVec4Near(rec[0], {-s, s, 0, 0}, 1e-9);
    ExpectVec4Near(rec[1], b, 1e-9);
}
