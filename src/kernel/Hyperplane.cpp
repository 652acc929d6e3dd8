#include "kernel/Hyperplane.h"

#include "kernel/Tolerance.h"

namespace
{
void CrossOfEdges(Vec4D& out, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& p3)
{
    Vec4D a, b, c;
    Vec4Sub(a, p1, p0);
    Vec4Sub(b, p2, p0);
    Vec4Sub(c, p3, p0);
    Vec4Cross(out, a, b, c);
}
}  // namespace

bool HyperplaneFrom4Points(Hyperplane& out, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                           const Vec4D& p3, double tol)
{
    Vec4D n;
    CrossOfEdges(n, p0, p1, p2, p3);
    if (Vec4IsZero(n, 100.0 * tol * tol))
        return false;
    Vec4Div(n, Vec4Length(n));
    const double s = Vec4Dot(n, p0);
    if (s >= 0.0)
    {
        out.n = n;
        out.d = -s;
    }
    else
    {
        Vec4Neg(out.n, n);
        out.d = s;
    }
    return true;
}

void HyperplaneNormal(Vec4D& out, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& p3)
{
    Vec4D n;
    CrossOfEdges(n, p0, p1, p2, p3);
    Vec4DivTo(out, n, Vec4Length(n));
}

bool HyperplaneEqual(const Hyperplane& a, const Hyperplane& b, double tol)
{
    return Vec4Equal(a.n, b.n, tol) && WithinTol(a.d, b.d, tol);
}

int HyperplaneCompare(const Hyperplane& a, const Hyperplane& b, double tol)
{
    const double av[5] = {a.n.x, a.n.y, a.n.z, a.n.w, a.d};
    const double bv[5] = {b.n.x, b.n.y, b.n.z, b.n.w, b.d};
    for (int i = 0; i < 5; ++i)
    {
        if (av[i] < bv[i] - tol)
            return -1;
        if (av[i] > bv[i] + tol)
            return 1;
    }
    return 0;
}
