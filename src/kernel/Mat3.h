#pragma once

#include "kernel/Vec3D.h"

// 3x3 matrix stored column after column: entries 0-2 are the image of the x axis,
// 3-5 of y, 6-8 of z; row i, column j sits at 3j + i.
struct Mat3
{
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    double& At(int row, int col) { return m[3 * col + row]; }
    double At(int row, int col) const { return m[3 * col + row]; }

    void SetIdentity();
    void SetColumns(const Vec3D& c0, const Vec3D& c1, const Vec3D& c2);
    void SetRows(const Vec3D& r0, const Vec3D& r1, const Vec3D& r2);
    void GetColumn(Vec3D& out, int col) const;

    // out = M v; out may be v.
    void Transform(Vec3D& out, const Vec3D& v) const;
    // out = M^T v; the inverse for a rotation.
    void TransformTransposed(Vec3D& out, const Vec3D& v) const;

    // Counter-clockwise seen from the positive end of the axis; another axis value leaves M alone.
    void SetAxisRotation(int axis, double angle);
    // The same for 2*pi*num/den, with exactly repeatable entries for multiples of 2*pi/240.
    void SetAxisRotationExact(int axis, int num, int den);
    // Right-hand rotation about any non-zero axis.
    void SetRotation(const Vec3D& axis, double angle);

    void Transpose();
    // This matrix becomes src transposed; src may be this matrix.
    void SetTranspose(const Mat3& src);
    double Determinant() const;
};

// A*B: applies B first, then A. out must be distinct from A and B.
void Mat3Mul(Mat3& out, const Mat3& a, const Mat3& b);

void Mat3Scale(Mat3& a, double s);
