#include "kernel/KitPanelShape.h"

#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"

#include <algorithm>

namespace
{
constexpr double kPanelTol = 1e-6;

bool IsPanelCornerCount(int n)
{
    switch (n)
    {
    case 3:
    case 4:
    case 5:
    case 6:
    case 8:
    case 10:
    case 12:
        return true;
    default:
        return false;
    }
}

bool Vec3WithinTol(const Vec3D& a, const Vec3D& b, double tol)
{
    return WithinTol(a.x, b.x, tol) && WithinTol(a.y, b.y, tol) && WithinTol(a.z, b.z, tol);
}
}  // namespace

bool IsKitPanelShape(int n, Vec3D* corners, const Vec3D& normal, int* rhombusOut)
{
    if (!corners || !IsPanelCornerCount(n))
        return false;

    Vec3D incoming;  // the closing edge enters corner 0
    Vec3Sub(incoming, corners[0], corners[n - 1]);
    const double lengthSq = Vec3LengthSq(incoming);
    // Equal edges turning by 2*pi/n at every corner: each cross product of consecutive edges is
    // that sine times the squared edge along the normal.
    Vec3D expected;
    Vec3Scale(expected, normal, SineTable::Sin(1, n) * lengthSq);

    bool rhombus = false;
    for (int i = 0; i < n; ++i)
    {
        Vec3D outgoing;
        Vec3Sub(outgoing, corners[(i + 1) % n], corners[i]);
        if (!WithinTol(Vec3LengthSq(outgoing), lengthSq, kPanelTol))
            return false;
        Vec3D turn;
        Vec3Cross(turn, incoming, outgoing);
        if (n == 4 && i == 0 && !Vec3WithinTol(turn, expected, kPanelTol))
        {
            // Not a square: the rhombus turns by 60 or 120 degrees, both of sine sin(2*pi/3).
            Vec3Scale(expected, normal, SineTable::Sin(1, 3) * lengthSq);
            rhombus = true;
        }
        if (!Vec3WithinTol(turn, expected, kPanelTol))
            return false;
        incoming = outgoing;
    }

    if (rhombusOut)
        *rhombusOut = rhombus ? 1 : 0;
    if (rhombus)
    {
        Vec3D leaving, entering;
        Vec3Sub(leaving, corners[1], corners[0]);
        Vec3Sub(entering, corners[0], corners[3]);
        if (Vec3Dot(leaving, entering) > 0.0)
            std::rotate(corners, corners + 1, corners + 4);
    }
    return true;
}
