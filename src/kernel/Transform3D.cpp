#include "kernel/Transform3D.h"

void Transform3D::SetFromMat3(const Mat3& mat)
{
    m = mat;
    t = Vec3D();
}

void Transform3D::SetFrameToWorld(const Vec3D& origin, const Vec3D& ax, const Vec3D& ay, const Vec3D& az)
{
    m.SetColumns(ax, ay, az);
    t = origin;
}

void Transform3D::SetWorldToFrame(const Vec3D& origin, const Vec3D& ax, const Vec3D& ay, const Vec3D& az)
{
    m.SetRows(ax, ay, az);
    m.Transform(t, origin);
    Vec3Negate(t);
}

void Transform3D::SetRotation(int axis, double angle)
{
    m.SetAxisRotation(axis == 0 || axis == 1 ? axis : 2, angle);
    t = Vec3D();
}

void Transform3D::SetEulerRotation(double a1, double a2, double a3)
{
    Mat3 ry, rx, rz, tmp;
    ry.SetAxisRotation(1, a1);
    rx.SetAxisRotation(0, a2);
    rz.SetAxisRotation(2, a3);
    Mat3Mul(tmp, ry, rx);
    Mat3Mul(m, tmp, rz);
    t = Vec3D();
}

void Transform3D::Apply(Vec3D& out, const Vec3D& p) const
{
    m.Transform(out, p);
    Vec3AddTo(out, t);
}

void Transform3D::Multiply(Transform3D& out, const Transform3D& a, const Transform3D& b)
{
    Mat3Mul(out.m, a.m, b.m);
    a.m.Transform(out.t, b.t);
    Vec3AddTo(out.t, a.t);
}
