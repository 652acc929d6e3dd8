#include "kernel/Mat4.h"

#include <cmath>

void Mat4::SetIdentity()
{
    *this = Mat4();
}

void Mat4::SetRows(const Vec4D& r0, const Vec4D& r1, const Vec4D& r2, const Vec4D& r3)
{
    const Vec4D* rows[4] = {&r0, &r1, &r2, &r3};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            m[4 * col + row] = (*rows[row])[col];
}

void Mat4::SetColumns(const Vec4D& c0, const Vec4D& c1, const Vec4D& c2, const Vec4D& c3)
{
    const Vec4D* cols[4] = {&c0, &c1, &c2, &c3};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            m[4 * col + row] = (*cols[col])[row];
}

void Mat4::GetColumn(Vec4D& out, int col) const
{
    Vec4Set(out, m[4 * col], m[4 * col + 1], m[4 * col + 2], m[4 * col + 3]);
}

void Mat4::Transform(Vec4D& out, const Vec4D& v) const
{
    const double x = v.x, y = v.y, z = v.z, w = v.w;
    out.x = m[0] * x + m[4] * y + m[8] * z + m[12] * w;
    out.y = m[1] * x + m[5] * y + m[9] * z + m[13] * w;
    out.z = m[2] * x + m[6] * y + m[10] * z + m[14] * w;
    out.w = m[3] * x + m[7] * y + m[11] * z + m[15] * w;
}

void Mat4::SetRotationXY(double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    SetColumns({c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
}

void Mat4Mul(Mat4& out, const Mat4& a, const Mat4& b)
{
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            out.m[4 * col + row] = a.m[row] * b.m[4 * col] + a.m[4 + row] * b.m[4 * col + 1] +
                                   a.m[8 + row] * b.m[4 * col + 2] + a.m[12 + row] * b.m[4 * col + 3];
}
