#include "kernel/Plane.h"

bool PlaneFrom3Points(Plane& out, const Vec3D& p0, const Vec3D& p1, const Vec3D& p2, double tol)
{
    Vec3D a, b;
    Vec3Sub(a, p1, p0);
    Vec3Sub(b, p2, p0);
    if (Vec3Parallel(a, b, tol))
        return false;
    Vec3D n;
    Vec3Normal3(n, p0, p1, p2);
    Vec3Div(n, n, Vec3Length(n));
    const double s = Vec3Dot(n, p0);
    if (s >= 0.0)
    {
        out.n = n;
        out.d = -s;
    }
    else
    {
        Vec3Neg(out.n, n);
        out.d = s;
    }
    return true;
}
