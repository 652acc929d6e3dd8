#include "kernel/Mat4.h"
#include "kernel/Tolerance.h"
#include "Vec4Expect.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const Vec4D kEx{1, 0, 0, 0}, kEy{0, 1, 0, 0}, kEz{0, 0, 1, 0}, kEw{0, 0, 0, 1};

void ExpectIdentity(const Mat4& m, double tol)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], (i % 5 == 0) ? 1.0 : 0.0, tol) << i;
}
}  // namespace

TEST(Mat4, StorageIsColumnMajor)
{
    Mat4 m;
    m.SetColumns({1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16});
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.m[i], i + 1);
    EXPECT_EQ(m.At(1, 2), 10);  // row 1, column 2
    Vec4D out;
    m.Transform(out, kEz);
    ExpectVec4Near(out, {9, 10, 11, 12}, 0);
    m.GetColumn(out, 3);
    ExpectVec4Near(out, {13, 14, 15, 16}, 0);

    Mat4 r;
    r.SetRows({1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16});
    EXPECT_EQ(r.At(1, 2), 7);
    Vec4D v{1, 1, 1, 1};
    r.TransformInPlace(v);
    ExpectVec4Near(v, {10, 26, 42, 58}, 0);
}

TEST(Mat4, RowsAndColumnsOfAFrameAreInverse)
{
    // An orthonormal frame, not aligned with the axes.
    const Vec4D f[4] = {{0.5, 0.5, 0.5, 0.5}, {0.5, -0.5, 0.5, -0.5}, {0.5, 0.5, -0.5, -0.5}, {0.5, -0.5, -0.5, 0.5}};
    Mat4 rows, cols, product;
    rows.SetRows(f[0], f[1], f[2], f[3]);
    cols.SetColumns(f[0], f[1], f[2], f[3]);
    Mat4Mul(product, rows, cols);
    ExpectIdentity(product, 1e-15);
    Mat4Mul(product, cols, rows);
    ExpectIdentity(product, 1e-15);

    // Rows give frame coordinates: each frame vector goes to its axis.
    const Vec4D axes[4] = {kEx, kEy, kEz, kEw};
    for (int i = 0; i < 4; ++i)
    {
        Vec4D out;
        rows.Transform(out, f[i]);
        ExpectVec4Near(out, axes[i], 1e-15);
    }
}

TEST(Mat4, RotationInTheXYPlane)
{
    struct Case
    {
        const char* name;
        double angle;
        Vec4D v, expected;
    };
    const double h = std::sqrt(3.0) / 2;
    const Case cases[] = {
        {"quarter turn takes x to y", kPi / 2, kEx, kEy},
        {"quarter turn takes y to -x", kPi / 2, kEy, {-1, 0, 0, 0}},
        {"z stays", kPi / 2, kEz, kEz},
        {"w stays", kPi / 2, kEw, kEw},
        {"sixth of a turn", kPi / 3, kEx, {0.5, h, 0, 0}},
        {"negative angle", -kPi / 3, {2, 0, 5, -1}, {1, -2 * h, 5, -1}},
        {"half turn", kPi, {1, 2, 3, 4}, {-1, -2, 3, 4}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Mat4 r;
        r.SetRotationXY(c.angle);
        Vec4D out;
        r.Transform(out, c.v);
        ExpectVec4Near(out, c.expected, 1e-15);
    }

    // Turns add up, and a full turn is the identity.
    Mat4 a, b, ab, expected;
    a.SetRotationXY(0.3);
    b.SetRotationXY(1.1);
    Mat4Mul(ab, a, b);
    expected.SetRotationXY(1.4);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(ab.m[i], expected.m[i], 1e-15) << i;
    a.SetRotationXY(2 * kPi);
    ExpectIdentity(a, 1e-15);
}

TEST(Mat4, ProductAppliesTheRightOperandFirst)
{
    Mat4 turn, swapYW, turnAfterSwap, swapAfterTurn;
    turn.SetRotationXY(kPi / 2);            // x -> y
    swapYW.SetColumns(kEx, kEw, kEz, kEy);  // y <-> w
    Mat4Mul(turnAfterSwap, turn, swapYW);
    Mat4Mul(swapAfterTurn, swapYW, turn);

    Vec4D out;
    turnAfterSwap.Transform(out, kEx);  // swap leaves x, turn takes it to y
    ExpectVec4Near(out, kEy, 1e-15);
    swapAfterTurn.Transform(out, kEx);  // turn takes x to y, swap takes y to w
    ExpectVec4Near(out, kEw, 1e-15);

    // In general (A B) v = A (B v).
    Mat4 a, b, ab;
    a.SetColumns({1, 2, 0, -1}, {0, 1, 3, 2}, {4, 0, 1, 0}, {-2, 1, 1, 1});
    b.SetColumns({0, 1, 1, 0}, {2, 0, -1, 3}, {1, 1, 1, 1}, {0, -3, 2, 5});
    Mat4Mul(ab, a, b);
    const Vec4D v{1, -2, 0.5, 3};
    Vec4D bv, abv, direct;
    b.Transform(bv, v);
    a.Transform(abv, bv);
    ab.Transform(direct, v);
    ExpectVec4Near(direct, abv, 1e-12);
}
