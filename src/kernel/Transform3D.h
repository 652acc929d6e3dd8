#pragma once

#include "kernel/Mat3.h"

// p -> M p + t: matrix first, then translation.
struct Transform3D
{
    Mat3 m;
    Vec3D t;

    void SetFromMat3(const Mat3& mat);
    // Frame coordinates (u, v, w) to origin + u ax + v ay + w az.
    void SetFrameToWorld(const Vec3D& origin, const Vec3D& ax, const Vec3D& ay, const Vec3D& az);
    // The inverse of SetFrameToWorld for an orthonormal frame.
    void SetWorldToFrame(const Vec3D& origin, const Vec3D& ax, const Vec3D& ay, const Vec3D& az);
    // Axis 0 is x, 1 is y, anything else z.
    void SetRotation(int axis, double angle);
    // Ry(a1) Rx(a2) Rz(a3): about z first, then x, then y.
    void SetEulerRotation(double a1, double a2, double a3);

    void Apply(Vec3D& out, const Vec3D& p) const;

    // Applies b first, then a. out must be distinct from a and b.
    static void Multiply(Transform3D& out, const Transform3D& a, const Transform3D& b);
};
