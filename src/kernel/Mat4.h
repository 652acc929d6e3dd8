#pragma once

#include "kernel/Vec4D.h"

// 4x4 matrix acting on 4D vectors (rotations and changes of frame, not homogeneous 3D points),
// stored column after column: entries 0-3 are the image of the x axis, 4-7 of y, 8-11 of z,
// 12-15 of w; row i, column j sits at 4j + i.
struct Mat4
{
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double& At(int row, int col) { return m[4 * col + row]; }
    double At(int row, int col) const { return m[4 * col + row]; }

    void SetIdentity();
    // Maps v to (r0.v, r1.v, r2.v, r3.v): coordinates in the frame r0..r3 when it is orthonormal.
    void SetRows(const Vec4D& r0, const Vec4D& r1, const Vec4D& r2, const Vec4D& r3);
    // Maps frame coordinates back: x c0 + y c1 + z c2 + w c3.
    void SetColumns(const Vec4D& c0, const Vec4D& c1, const Vec4D& c2, const Vec4D& c3);
    void GetColumn(Vec4D& out, int col) const;

    // out = M v; out may be v.
    void Transform(Vec4D& out, const Vec4D& v) const;
    void TransformInPlace(Vec4D& v) const { Transform(v, v); }

    // Rotation in the plane of the first two axes, x turning towards y; z and w stay.
    void SetRotationXY(double angle);
};

// A*B: applies B first, then A. out must be distinct from A and B.
void Mat4Mul(Mat4& out, const Mat4& a, const Mat4& b);
