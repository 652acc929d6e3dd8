#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "kernel/Transform3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
void ExpectNear(const Vec3D& a, const Vec3D& b, double tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectIdentity(const Mat3& m, double tol)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(m.m[i], (i % 4 == 0) ? 1.0 : 0.0, tol) << i;
}
}  // namespace

TEST(Mat3, StorageIsColumnMajor)
{
    Mat3 m;
    m.SetColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    EXPECT_EQ(m.m[0], 1);
    EXPECT_EQ(m.m[5], 6);
    EXPECT_EQ(m.At(0, 1), 4);  // row 0, column 1
    Vec3D out;
    m.Transform(out, {1, 0, 0});
    ExpectNear(out, {1, 2, 3}, 0);

    Mat3 r;
    r.SetRows({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    r.Transform(out, {1, 1, 1});
    ExpectNear(out, {6, 15, 24}, 0);
}

TEST(Mat3, AxisRotationsTurnCounterClockwise)
{
    struct Case
    {
        int axis;
        Vec3D in, out;
    };
    const Case cases[] = {
        {0, {0, 1, 0}, {0, 0, 1}}, {1, {0, 0, 1}, {1, 0, 0}}, {2, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.axis);
        Mat3 m;
        m.SetAxisRotation(c.axis, kPi / 2);
        Vec3D out;
        m.Transform(out, c.in);
        ExpectNear(out, c.out, 1e-15);

        // The exact form gives exact zeros and ones.
        m.SetAxisRotationExact(c.axis, 1, 4);
        m.Transform(out, c.in);
        EXPECT_EQ(out.x, c.out.x);
        EXPECT_EQ(out.y, c.out.y);
        EXPECT_EQ(out.z, c.out.z);
    }
    Mat3 unchanged;
    unchanged.SetColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    const Mat3 before = unchanged;
    unchanged.SetAxisRotation(3, 1.0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(unchanged.m[i], before.m[i]);
}

TEST(Mat3, RotationAboutAnyAxis)
{
    Mat3 m;
    // A third of a turn about (1,1,1) cycles the coordinate axes.
    m.SetRotation({2, 2, 2}, 2 * kPi / 3);
    Vec3D out;
    m.Transform(out, {1, 0, 0});
    ExpectNear(out, {0, 1, 0}, 1e-15);
    m.Transform(out, {0, 0, 1});
    ExpectNear(out, {1, 0, 0}, 1e-15);

    // Agrees with the axis rotations, is orthogonal and keeps the axis.
    const Vec3D axes[] = {{0, 0, 1}, {0, 0, -1}, {1, -2, 0.5}};
    for (const Vec3D& axis : axes)
    {
        m.SetRotation(axis, 0.7);
        Mat3 mt = m, product;
        mt.Transpose();
        Mat3Mul(product, m, mt);
        ExpectIdentity(product, 1e-15);
        EXPECT_NEAR(m.Determinant(), 1.0, 1e-15);
        m.Transform(out, axis);
        ExpectNear(out, axis, 1e-15);
    }
    Mat3 z;
    z.SetAxisRotation(2, 0.7);
    m.SetRotation({0, 0, 5}, 0.7);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(m.m[i], z.m[i], 1e-15);
}

TEST(Mat3, SetTransposeSwapsRowsAndColumns)
{
    Mat3 src;
    src.SetColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    Mat3 t;
    t.SetTranspose(src);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(t.At(row, col), src.At(col, row));

    // The transpose of a rotation is its inverse, also when taken in place.
    Mat3 r, rt, product;
    r.SetRotation({1, -2, 0.5}, 2.1);
    rt.SetTranspose(r);
    Mat3Mul(product, r, rt);
    ExpectIdentity(product, 1e-15);
    rt = r;
    rt.SetTranspose(rt);
    Mat3Mul(product, rt, r);
    ExpectIdentity(product, 1e-15);
}

TEST(Mat3, ProductAppliesRightOperandFirst)
{
    Mat3 rz, rx, product;
    rz.SetAxisRotationExact(2, 1, 4);
    rx.SetAxisRotationExact(0, 1, 4);
    Mat3Mul(product, rx, rz);
    Vec3D out;
    product.Transform(out, {1, 0, 0});  // z turns x to y, then x turns y to z
    ExpectNear(out, {0, 0, 1}, 0);
    Mat3Scale(product, 2);
    product.Transform(out, {1, 0, 0});
    ExpectNear(out, {0, 0, 2}, 0);
}

TEST(Transform3D, WorldToFrameUndoesFrameToWorld)
{
    const Vec3D origin{1, -2, 3};
    Vec3D ax{1, 1, 0}, ay{-1, 1, 0}, az{0, 0, 1};
    Vec3Normalize(ax);
    Vec3Normalize(ay);
    Transform3D toWorld, toFrame, both;
    toWorld.SetFrameToWorld(origin, ax, ay, az);
    toFrame.SetWorldToFrame(origin, ax, ay, az);
    Transform3D::Multiply(both, toFrame, toWorld);
    ExpectIdentity(both.m, 1e-15);
    ExpectNear(both.t, {0, 0, 0}, 1e-15);

    Vec3D p;
    toWorld.Apply(p, {2, 0, 0});
    ExpectNear(p, {1 + std::sqrt(2.0), -2 + std::sqrt(2.0), 3}, 1e-15);
}

TEST(Transform3D, EulerRotationTurnsAboutZThenXThenY)
{
    Transform3D t;
    t.SetEulerRotation(kPi / 2, 0, 0);
    Vec3D out;
    t.Apply(out, {0, 0, 1});
    ExpectNear(out, {1, 0, 0}, 1e-15);

    t.SetEulerRotation(kPi / 2, kPi / 2, kPi / 2);
    t.Apply(out, {1, 0, 0});  // z: x -> y; x: y -> z; y: z -> x
    ExpectNear(out, {1, 0, 0}, 1e-15);
    t.Apply(out, {0, 1, 0});  // z: y -> -x; x: -x stays; y: -x -> z
    ExpectNear(out, {0, 0, 1}, 1e-15);

    t.SetRotation(7, kPi / 2);  // any other axis value means z
    t.Apply(out, {1, 0, 0});
    ExpectNear(out, {0, 1, 0}, 1e-15);
}
