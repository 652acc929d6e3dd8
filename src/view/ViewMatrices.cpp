#include "view/ViewMatrices.h"

#include <cmath>

void Transform3DIdentity(Transform3D& t)
{
    t.m.SetIdentity();
    t.t = Vec3D{0.0, 0.0, 0.0};
}

Transform3D RotationAboutAxis(const Vec3D& axis, double angle)
{
    Transform3D result;
    Transform3DIdentity(result);
    Vec3D w = axis;
    if (!Vec3Normalize(w))
        return result;
    // A frame whose third axis is the turning axis: into it, turn about z, back out.
    Vec3D u, v;
    Vec3Perpendicular(u, w);
    Vec3Normalize(u);
    Vec3Cross(v, w, u);
    Transform3D toFrame, turn, fromFrame, partial;
    const Vec3D origin{0.0, 0.0, 0.0};
    toFrame.SetWorldToFrame(origin, u, v, w);
    turn.SetRotation(2, angle);
    fromFrame.SetFrameToWorld(origin, u, v, w);
    Transform3D::Multiply(partial, turn, toFrame);
    Transform3D::Multiply(result, fromFrame, partial);
    return result;
}

void Transform3DApplyLinear(const Transform3D& t, Vec3D& v)
{
    Vec3D out;
    t.m.Transform(out, v);
    v = out;
}

Vec2D Transform3DApply2D(const Transform3D& t, const Vec3D& p)
{
    Vec3D out;
    t.Apply(out, p);
    return Vec2D{out.x, out.y};
}

Mat4 Mat3ToMat4(const Mat3& m)
{
    Mat4 out;
    out.SetIdentity();
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out.At(row, col) = m.At(row, col);
    return out;
}

Mat3 Mat4ToMat3(const Mat4& m)
{
    Mat3 out;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out.At(row, col) = m.At(row, col);
    return out;
}

Mat4 Mat4PlaneRotation(double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    Mat4 out;
    out.SetColumns({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, c, s}, {0, 0, -s, c});
    return out;
}

void Mat3Copy(Mat3& out, const Mat3& m)
{
    for (int i = 0; i < 9; ++i)
        out.m[i] = m.m[i];
}

bool InsideCube(const Vec3D& p, double h)
{
    return p.x >= -h && p.x <= h && p.y >= -h && p.y <= h && p.z >= -h && p.z <= h;
}
