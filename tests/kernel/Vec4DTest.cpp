#include "kernel/Tolerance.h"
#include "kernel/Vec4D.h"
#include "Vec4Expect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const Vec4D kEx{1, 0, 0, 0}, kEy{0, 1, 0, 0}, kEz{0, 0, 1, 0}, kEw{0, 0, 0, 1};

// Determinant of the Gram matrix of a, b, c: the squared 3-volume they span.
double Gram3(const Vec4D& a, const Vec4D& b, const Vec4D& c)
{
    const double aa = Vec4Dot(a, a), ab = Vec4Dot(a, b), ac = Vec4Dot(a, c);
    const double bb = Vec4Dot(b, b), bc = Vec4Dot(b, c), cc = Vec4Dot(c, c);
    return aa * (bb * cc - bc * bc) - ab * (ab * cc - bc * ac) + ac * (ab * bc - bb * ac);
}

void ExpectOrthonormal(const Vec4D* frame, int count)
{
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            EXPECT_NEAR(Vec4Dot(frame[i], frame[j]), i == j ? 1.0 : 0.0, 1e-12) << i << ", " << j;
}
}  // namespace

TEST(Vec4D, CrossOfUnitVectors)
{
    struct Case
    {
        const char* name;
        Vec4D a, b, c, expected;
    };
    const Case cases[] = {
        {"x, y, z", kEx, kEy, kEz, {0, 0, 0, -1}},
        {"y, z, w", kEy, kEz, kEw, {1, 0, 0, 0}},
        {"x, z, w", kEx, kEz, kEw, {0, -1, 0, 0}},
        {"x, y, w", kEx, kEy, kEw, {0, 0, 1, 0}},
        {"swapping two operands negates", kEy, kEx, kEz, {0, 0, 0, 1}},
        {"a repeated operand gives zero", kEx, kEy, kEx, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D n;
        Vec4Cross(n, c.a, c.b, c.c);
        ExpectVec4Near(n, c.expected, 0.0);
    }
}

TEST(Vec4D, CrossIsTheDeterminantFunctional)
{
    struct Case
    {
        const char* name;
        Vec4D a, b, c;
    };
    const Case cases[] = {
        {"general", {1, 2, -1, 3}, {0.5, -2, 4, 1}, {-3, 1, 2, -2}},
        {"small and large components", {1e-3, 5, 0, 2}, {7, -1e-2, 3, 0}, {0, 2, -9, 1e2}},
        {"dependent", {1, 2, 3, 4}, {2, 0, 1, -1}, {4, 4, 7, 7}},
    };
    const Vec4D probes[] = {kEx, kEy, kEz, kEw, {2, -1, 0.5, 3}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D n;
        Vec4Cross(n, c.a, c.b, c.c);
        for (const Vec4D& v : probes)
            EXPECT_NEAR(Vec4Dot(n, v), Det4Rows(v, c.a, c.b, c.c), 1e-9);
        EXPECT_NEAR(Vec4Dot(n, c.a), 0.0, 1e-9);
        EXPECT_NEAR(Vec4Dot(n, c.b), 0.0, 1e-9);
        EXPECT_NEAR(Vec4Dot(n, c.c), 0.0, 1e-9);
        // Its length is the 3-volume of the parallelepiped.
        EXPECT_NEAR(Vec4LengthSq(n), Gram3(c.a, c.b, c.c), 1e-7 * (1.0 + Vec4LengthSq(n)));
    }
}

TEST(Vec4D, ArithmeticMayWriteOverAnOperand)
{
    const Vec4D a{1, 2, 3, 4}, b{-2, 0.5, 1, 8};
    Vec4D v = a;
    Vec4Add(v, v, b);
    ExpectVec4Near(v, {-1, 2.5, 4, 12}, 0);
    Vec4Sub(v, v, b);
    ExpectVec4Near(v, a, 0);
    Vec4AddScaled(v, v, 2, b);
    ExpectVec4Near(v, {-3, 3, 5, 20}, 0);
    Vec4AddScaledTo(v, -2, b);
    ExpectVec4Near(v, a, 0);
    Vec4Scale(v, 3);
    ExpectVec4Near(v, {3, 6, 9, 12}, 0);
    Vec4Div(v, 3);
    ExpectVec4Near(v, a, 0);
    Vec4ScaleTo(v, b, 2);
    ExpectVec4Near(v, {-4, 1, 2, 16}, 0);
    Vec4DivTo(v, v, 4);
    ExpectVec4Near(v, {-1, 0.25, 0.5, 4}, 0);
    Vec4Neg(v, a);
    ExpectVec4Near(v, {-1, -2, -3, -4}, 0);
    Vec4Negate(v);
    ExpectVec4Near(v, a, 0);
    Vec4Set(v, 5, 6, 7, 8);
    Vec4Copy(v, v);
    ExpectVec4Near(v, {5, 6, 7, 8}, 0);
    EXPECT_EQ(Vec4Dot(a, b), -2 + 1 + 3 + 32);
    EXPECT_EQ(Vec4LengthSq(a), 30);
    EXPECT_EQ(v[3], 8);
}

TEST(Vec4D, AxisChoicesBreakTiesTowardsZThenWThenY)
{
    struct Case
    {
        const char* name;
        Vec4D v;
        int maxAxis, minAxis, minAxisTol;
    };
    const Case cases[] = {
        {"all equal", {1, 1, 1, 1}, 2, 2, 0},
        {"x and y tie for max", {3, 3, 0, 1}, 1, 2, 2},
        {"zero everywhere but z", {0, 0, 1, 0}, 2, 3, 0},
        {"negative components count by magnitude", {-5, 1, 2, 3}, 0, 1, 1},
        {"z and w tie for max", {1, 2, 3, -3}, 2, 0, 0},
        {"w and z tie for min", {2, 2, 1, 1}, 1, 2, 3},
        {"y and w tie for min", {4, 1, 4, 1}, 2, 3, 1},
        {"w largest strictly", {1, 2, 3, 4}, 3, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Vec4MaxAxis(c.v), c.maxAxis);
        EXPECT_EQ(Vec4MinAxis(c.v), c.minAxis);
        EXPECT_EQ(Vec4MinAxisTol(c.v, kTol), c.minAxisTol);
    }
    // Within the tolerance the earlier axis stays; beyond it the smaller one wins.
    EXPECT_EQ(Vec4MinAxisTol({1, 1 - 1e-8, 5, 5}, kTol), 0);
    EXPECT_EQ(Vec4MinAxisTol({1, 1 - 1e-6, 5, 5}, kTol), 1);
    EXPECT_EQ(Vec4MinAxisTol({1, 5, 1 - 1e-6, 1 - 1e-6}, kTol), 3);

    EXPECT_EQ(Vec4MinAxisExcept({0, 5, 5, 5}, 0), 2);
    EXPECT_EQ(Vec4MinAxisExcept({1, 0, 2, 3}, 1), 0);
    EXPECT_EQ(Vec4MinAxisExcept({4, 1, 4, 1}, 3), 1);
}

TEST(Vec4D, TolerantComparisons)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(Vec4Equal({1, 2, 3, 4}, {1, 2, 3, 4 + 0.5}, 0.5));  // closed interval
    EXPECT_FALSE(Vec4Equal({1, 2, 3, 4}, {1, 2, 3, 4 + 2e-7}, kTol));
    EXPECT_FALSE(Vec4Equal({1, 2, 3, nan}, {1, 2, 3, nan}, 1e300));
    EXPECT_TRUE(Vec4EqualNeg({1, -2, 3, 0}, {-1, 2, -3, 1e-8}, kTol));
    EXPECT_FALSE(Vec4EqualNeg({1, -2, 3, 4}, {1, -2, 3, 4}, kTol));
    EXPECT_TRUE(Vec4IsZero({1e-7, -1e-7, 0, 0}, kTol));
    EXPECT_FALSE(Vec4IsZero({0, 0, 0, 2e-7}, kTol));
    EXPECT_FALSE(Vec4IsZero({0, 0, nan, 0}, 1.0));

    struct Case
    {
        const char* name;
        Vec4D a, b;
        bool parallel;
    };
    const Case cases[] = {
        {"multiple", {2, 4, 6, -8}, {1, 2, 3, -4}, true},
        {"opposite", {-1, -2, 0, 3}, {2, 4, 0, -6}, true},
        {"b zero", {7, -3, 2, 1}, {0, 0, 0, 0}, true},
        {"a zero", {0, 0, 0, 0}, {1, 2, 3, 4}, true},
        {"different in w only", {1, 2, 3, 4.001}, {1, 2, 3, 4}, false},
        {"perpendicular", {0, 0, 0, 1}, {1, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Vec4Parallel(c.a, c.b, kTol), c.parallel);
    }
}

TEST(Vec4D, DependenceAndCoplanarity)
{
    // Vectors that span only a plane.
    EXPECT_TRUE(Vec4Dependent({1, 2, 0, 1}, {0, 1, 1, 0}, {2, 5, 1, 2}, kTol));
    EXPECT_TRUE(Vec4Dependent({1, 2, 3, 4}, {0, 0, 0, 0}, {5, 1, 0, 2}, kTol));
    EXPECT_FALSE(Vec4Dependent(kEx, kEy, {0, 0, 1e-3, 0}, kTol));
    // The threshold is 100 tol^2 on cross-product components.
    EXPECT_TRUE(Vec4Dependent(kEx, kEy, {0, 0, 0.9e-12, 0}, kTol));
    EXPECT_FALSE(Vec4Dependent(kEx, kEy, {0, 0, 1.1e-12, 0}, kTol));

    // Four points on the 2-plane through o spanned by u and v.
    const Vec4D o{1, -1, 2, 0.5}, u{1, 2, -1, 3}, v{0, 1, 4, -2};
    Vec4D pts[4];
    const double coef[4][2] = {{0, 0}, {1, 0}, {0.3, 2}, {-1.5, 0.7}};
    for (int i = 0; i < 4; ++i)
    {
        pts[i] = o;
        Vec4AddScaledTo(pts[i], coef[i][0], u);
        Vec4AddScaledTo(pts[i], coef[i][1], v);
    }
    EXPECT_TRUE(Vec4Coplanar(pts[0], pts[1], pts[2], pts[3], kTol));
    EXPECT_TRUE(Vec4Coplanar(pts[3], pts[1], pts[0], pts[2], kTol));
    // Off the plane along a direction that has a part across it.
    Vec4D off = pts[3];
    off.w += 1e-3;
    EXPECT_FALSE(Vec4Coplanar(pts[0], pts[1], pts[2], off, kTol));
}

TEST(Vec4D, RejectionsAndLineParameters)
{
    struct Case
    {
        const char* name;
        Vec4D a, dir1, dir2, expected;
    };
    const Case cases[] = {
        {"plane of x and x+y", {1, 2, 3, 4}, {2, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 3, 4}},
        {"dir2 parallel to dir1 counts once", {1, 2, 3, 4}, {0, 3, 0, 0}, {0, -1, 0, 0}, {1, 0, 3, 4}},
        {"tilted plane", {0, 0, 0, 1}, {0, 0, 1, 1}, {1, 0, 0, 0}, {0, 0, -0.5, 0.5}},
        {"a in the plane", {3, 1, 0, 0}, {1, 1, 0, 0}, {1, -1, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Vec4D out;
        Vec4RejectFrom2(out, c.a, c.dir1, c.dir2, kTol);
        ExpectVec4Near(out, c.expected, 1e-12);
    }
    Vec4D r;
    Vec4RejectFrom(r, {1, 2, 3, 4}, {0, 0.6, 0.8, 0});
    ExpectVec4Near(r, {1, 2 - 3.6 * 0.6, 3 - 3.6 * 0.8, 4}, 1e-12);

    // The parameter is read along the line's longest axis, so any axis-aligned line works.
    const Vec4D a{1, 2, 3, 4};
    const Vec4D dirs[] = {{0, 0, 0, 2}, {0, -3, 0, 0}, {1, 1, 1, 1}, {0.5, 0, 0, -0.1}};
    for (const Vec4D& d : dirs)
        for (double t : {0.0, 1.0, -2.5, 0.25})
        {
            Vec4D b, p;
            Vec4Add(b, a, d);
            Vec4AddScaled(p, a, t, d);
            EXPECT_NEAR(Vec4LineParam(p, a, b), t, 1e-12);
        }
}

TEST(Vec4D, PerpendicularToTwoPicksTheLongestCandidate)
{
    // x and y: the candidates leaving out z and w are equally long; z wins the tie.
    Vec4D out;
    Vec4PerpendicularTo2(out, kEx, kEy);
    ExpectVec4Near(out, {0, 0, 0, -1}, 0);
    Vec4PerpendicularTo2(out, kEz, kEw);
    ExpectVec4Near(out, {1, 0, 0, 0}, 0);
    Vec4PerpendicularTo2(out, {1, 2, 3, 4}, {-2, -4, -6, -8});
    ExpectVec4Near(out, {0, 0, 0, 0}, 0);

    const Vec4D pairs[][2] = {
        {{1, 2, 3, 4}, {2, -1, 0, 1}},
        {{0, 0, 1, 1}, {1, 1, 0, 0}},
        {{1, 1e-3, 0, 0}, {1, 0, 1e-3, 0}},
        {{3, -1, 2, 5}, {0.5, 4, -2, 1}},
    };
    for (const auto& p : pairs)
    {
        Vec4PerpendicularTo2(out, p[0], p[1]);
        EXPECT_NEAR(Vec4Dot(out, p[0]), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(out, p[1]), 0.0, 1e-12);
        // The six minors squared add up to |a|^2 |b|^2 - (a.b)^2 and each candidate holds three:
        // the longest holds at least half.
        const double gram = Vec4LengthSq(p[0]) * Vec4LengthSq(p[1]) - Vec4Dot(p[0], p[1]) * Vec4Dot(p[0], p[1]);
        EXPECT_GE(Vec4LengthSq(out), 0.5 * gram * (1 - 1e-9));
    }
}

TEST(Vec4D, CompletedBasesAndPerpendicularPairs)
{
    const double s = std::sqrt(0.5);
    const Vec4D pairs[][2] = {
        {kEx, kEy},
        {kEz, kEw},
        {kEw, kEx},
        {{s, 0, s, 0}, {0, s, 0, -s}},
        {{0.5, 0.5, 0.5, 0.5}, {0.5, -0.5, 0.5, -0.5}},
    };
    for (const auto& p : pairs)
    {
        Vec4D frame[4] = {p[0], p[1]};
        Vec4CompleteBasis(frame[2], frame[3], p[0], p[1]);
        ExpectOrthonormal(frame, 4);
    }

    const Vec4D vectors[] = {kEx, kEw, {1, 2, 3, 4}, {0, 0, -2, 2}, {5, -1e-3, 0, 1}};
    for (const Vec4D& v : vectors)
    {
        Vec4D a, b;
        Vec4PerpendicularPair(a, b, v);
        EXPECT_GT(Vec4LengthSq(a), 1e-6);
        EXPECT_GT(Vec4LengthSq(b), 1e-6);
        EXPECT_NEAR(Vec4Dot(a, v), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(b, v), 0.0, 1e-12);
        EXPECT_NEAR(Vec4Dot(a, b), 0.0, 1e-12);
    }
}

TEST(Vec4D, PlaneBasisAndNormals)
{
    const Vec4D p0{1, 1, 0, 2}, p1{3, 1, 0, 2}, p2{1, 4, 5, -1};
    Vec4D frame[4];
    ASSERT_TRUE(PlaneBasis4D(frame[0], frame[1], p0, p1, p2, kTol));
    ExpectVec4Near(frame[0], kEx, 1e-15);  // along p1 - p0
    // p2 - p0 lies in the span, on the positive side of the second direction.
    Vec4D d, rebuilt;
    Vec4Sub(d, p2, p0);
    Vec4ScaleTo(rebuilt, frame[0], Vec4Dot(d, frame[0]));
    Vec4AddScaledTo(rebuilt, Vec4Dot(d, frame[1]), frame[1]);
    ExpectVec4Near(rebuilt, d, 1e-12);
    EXPECT_GT(Vec4Dot(d, frame[1]), 0.0);
    ASSERT_TRUE(PlaneNormals4D(frame[2], frame[3], p0, p1, p2, kTol));
    ExpectOrthonormal(frame, 4);

    struct Case
    {
        const char* name;
        Vec4D q0, q1, q2;
    };
    const Case degenerate[] = {
        {"colinear", {0, 0, 0, 0}, {1, 2, 3, 4}, {-2, -4, -6, -8}},
        {"p2 equal to p0", {1, 2, 3, 4}, {0, 0, 0, 0}, {1, 2, 3, 4}},
        {"p1 equal to p0", {1, 2, 3, 4}, {1, 2, 3, 4}, {0, 0, 0, 0}},
        {"colinear within tol", {0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 1e-7}},
        {"all equal", {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
    };
    for (const Case& c : degenerate)
    {
        SCOPED_TRACE(c.name);
        const Vec4D sentinel{7, 7, 7, 7};
        Vec4D a = sentinel, b = sentinel;
        EXPECT_FALSE(PlaneBasis4D(a, b, c.q0, c.q1, c.q2, kTol));
        EXPECT_FALSE(PlaneNormals4D(a, b, c.q0, c.q1, c.q2, kTol));
        ExpectVec4Near(a, sentinel, 0);
        ExpectVec4Near(b, sentinel, 0);
    }
    Vec4D a, b;
    EXPECT_TRUE(PlaneBasis4D(a, b, {0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 1e-6}, kTol));
}
