#include "render/DrawPrimitives.h"

#include "kernel/Tolerance.h"

#include <GL/gl.h>

#include <cmath>

namespace
{
// A unit vector perpendicular to a unit vector d, from the axis of its smallest component.
Vec3D PerpendicularUnit(const Vec3D& d)
{
    Vec3D axis;
    axis[Vec3MinAxis(d)] = 1.0;
    Vec3D p;
    Vec3Cross(p, d, axis);
    Vec3Normalize(p);
    return p;
}
}  // namespace

void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                  const Vec3D* startAxis)
{
    if (segments < 3)
        return;
    Vec3D n = normal;
    if (!Vec3Normalize(n))
        return;
    Vec3D u;
    if (startAxis)
    {
        u = *startAxis;
        if (!Vec3Normalize(u))
            return;
    }
    else
        u = PerpendicularUnit(n);
    Vec3D v;
    Vec3Cross(v, n, u);
    const double r = radius / std::cos(kPi / segments);
    glBegin(filled ? GL_POLYGON : GL_LINE_LOOP);
    if (filled)
        glNormal3d(n.x, n.y, n.z);
    for (int i = 0; i < segments; ++i)
    {
        const double a = 2.0 * kPi * i / segments;
        const double c = r * std::cos(a);
        const double s = r * std::sin(a);
        glVertex3d(centre.x + c * u.x + s * v.x, centre.y + c * u.y + s * v.y, centre.z + c * u.z + s * v.z);
    }
    glEnd();
}

void DrawArrowHead3D(const Vec3D& from, const Vec3D& tip, double size, const Vec3D& backward)
{
    Vec3D d;
    Vec3Sub(d, from, tip);
    if (Vec3Length(d) < 1e-6)
        return;
    Vec3Normalize(d);
    Vec3D s;
    Vec3Cross(s, d, backward);
    if (Vec3Length(s) < 1e-6)
        s = PerpendicularUnit(d);
    else
        Vec3Normalize(s);
    Vec3D b1, b2;
    Vec3Add(b1, d, s);
    Vec3Sub(b2, d, s);
    Vec3Normalize(b1);
    Vec3Normalize(b2);
    glBegin(GL_LINE_STRIP);
    glVertex3d(tip.x + size * b1.x, tip.y + size * b1.y, tip.z + size * b1.z);
    glVertex3d(tip.x, tip.y, tip.z);
    glVertex3d(tip.x + size * b2.x, tip.y + size * b2.y, tip.z + size * b2.z);
    glEnd();
}

void DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size, const Vec3D& backward)
{
    glBegin(GL_LINES);
    glVertex3d(a.x, a.y, a.z);
    glVertex3d(b.x, b.y, b.z);
    glEnd();
    DrawArrowHead3D(a, b, size, backward);
    DrawArrowHead3D(b, a, size, backward);
}
