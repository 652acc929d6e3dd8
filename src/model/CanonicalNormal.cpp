#include "model/CanonicalNormal.h"

#include "kernel/Tolerance.h"

Vec3D CanonicalNormal(const Vec3D& n)
{
    bool flip;
    if (!IsZeroTol(n.x, kTol))
        flip = n.x < 0.0;
    else if (!IsZeroTol(n.y, kTol))
        flip = n.y < 0.0;
    else
        flip = n.z < -kTol;
    Vec3D d = n;
    if (flip)
        Vec3Negate(d);
    return d;
}
