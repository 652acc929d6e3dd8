#include "kernel/Mat3.h"

#include "kernel/SineTable.h"

#include <cmath>
#include <utility>

namespace
{
void SetAxisRotationSC(Mat3& r, int axis, double s, double c)
{
    switch (axis)
    {
    case 0:
        r.SetColumns({1, 0, 0}, {0, c, s}, {0, -s, c});
        break;
    case 1:
        r.SetColumns({c, 0, -s}, {0, 1, 0}, {s, 0, c});
        break;
    case 2:
        r.SetColumns({c, s, 0}, {-s, c, 0}, {0, 0, 1});
        break;
    default:
        break;
    }
}
}  // namespace

void Mat3::SetIdentity()
{
    *this = Mat3();
}

void Mat3::SetColumns(const Vec3D& c0, const Vec3D& c1, const Vec3D& c2)
{
    m[0] = c0.x, m[1] = c0.y, m[2] = c0.z;
    m[3] = c1.x, m[4] = c1.y, m[5] = c1.z;
    m[6] = c2.x, m[7] = c2.y, m[8] = c2.z;
}

void Mat3::SetRows(const Vec3D& r0, const Vec3D& r1, const Vec3D& r2)
{
    m[0] = r0.x, m[3] = r0.y, m[6] = r0.z;
    m[1] = r1.x, m[4] = r1.y, m[7] = r1.z;
    m[2] = r2.x, m[5] = r2.y, m[8] = r2.z;
}

void Mat3::GetColumn(Vec3D& out, int col) const
{
    out.x = m[3 * col];
    out.y = m[3 * col + 1];
    out.z = m[3 * col + 2];
}

void Mat3::Transform(Vec3D& out, const Vec3D& v) const
{
    const double x = v.x, y = v.y, z = v.z;
    out.x = m[0] * x + m[3] * y + m[6] * z;
    out.y = m[1] * x + m[4] * y + m[7] * z;
    out.z = m[2] * x + m[5] * y + m[8] * z;
}

void Mat3::TransformTransposed(Vec3D& out, const Vec3D& v) const
{
    const double x = v.x, y = v.y, z = v.z;
    out.x = m[0] * x + m[1] * y + m[2] * z;
    out.y = m[3] * x + m[4] * y + m[5] * z;
    out.z = m[6] * x + m[7] * y + m[8] * z;
}

void Mat3::SetAxisRotation(int axis, double angle)
{
    SetAxisRotationSC(*this, axis, std::sin(angle), std::cos(angle));
}

void Mat3::SetAxisRotationExact(int axis, int num, int den)
{
    double s, c;
    SineTable::SinCos(num, den, s, c);
    SetAxisRotationSC(*this, axis, s, c);
}

void Mat3::SetRotation(const Vec3D& axis, double angle)
{
    Vec3D u;
    Vec3Div(u, axis, Vec3Length(axis));
    Vec3D e, c, w;
    e[Vec3MinAxis(u)] = 1.0;
    Vec3Cross(c, u, e);
    Vec3Normalize(c);
    Vec3Cross(w, u, c);

    Mat3 frame, rot, frameT, tmp;
    frame.SetColumns(c, w, u);
    rot.SetAxisRotation(2, angle);
    frameT.SetRows(c, w, u);
    Mat3Mul(tmp, frame, rot);
    Mat3Mul(*this, tmp, frameT);
}

void Mat3::Transpose()
{
    std::swap(m[1], m[3]);
    std::swap(m[2], m[6]);
    std::swap(m[5], m[7]);
}

void Mat3::SetTranspose(const Mat3& src)
{
    if (&src == this)
    {
        Transpose();
        return;
    }
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            m[3 * col + row] = src.m[3 * row + col];
}

double Mat3::Determinant() const
{
    return m[0] * (m[4] * m[8] - m[7] * m[5]) - m[3] * (m[1] * m[8] - m[7] * m[2]) +
           m[6] * (m[1] * m[5] - m[4] * m[2]);
}

void Mat3Mul(Mat3& out, const Mat3& a, const Mat3& b)
{
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            out.m[3 * col + row] = a.m[row] * b.m[3 * col] + a.m[3 + row] * b.m[3 * col + 1] +
                                   a.m[6 + row] * b.m[3 * col + 2];
}

void Mat3Scale(Mat3& a, double s)
{
    for (double& v : a.m)
        v *= s;
}
