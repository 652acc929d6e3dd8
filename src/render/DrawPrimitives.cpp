#include "render/DrawPrimitives.h"

#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"

#include <GL/gl.h>

#include <cmath>

namespace
{
// A unit vector perpendicular to a unit vector d: d x the axis of its smallest component.
Vec3D PerpendicularUnit(const Vec3D& d)
{
    Vec3D axis;
    axis[Vec3MinAxis(d)] = 1.0;
    Vec3D p;
    Vec3Cross(p, d, axis);
    Vec3Normalize(p);
    return p;
}

void Vertex(const Vec3D& v)
{
    glVertex3d(v.x, v.y, v.z);
}
}  // namespace

// ---- 2D ----

int OutCode2D(const Vec2D& p, const Vec2D& min, const Vec2D& max)
{
    int code = 0;
    if (p.x < min.x)
        code |= 1;
    else if (p.x > max.x)
        code |= 2;
    if (p.y < min.y)
        code |= 4;
    else if (p.y > max.y)
        code |= 8;
    return code;
}

bool ClipLine2D(Vec2D& p, Vec2D& q, const Vec2D& min, const Vec2D& max)
{
    int cp = OutCode2D(p, min, max);
    int cq = OutCode2D(q, min, max);
    // Each round moves one end onto an edge it lies outside of: four rounds settle any segment.
    for (int round = 0; round < 8; ++round)
    {
        if (!(cp | cq))
            return true;
        if (cp & cq)
            return false;
        const int code = cp ? cp : cq;
        Vec2D r;
        if (code & 8)
            r = Vec2D{p.x + (q.x - p.x) * (max.y - p.y) / (q.y - p.y), max.y};
        else if (code & 4)
            r = Vec2D{p.x + (q.x - p.x) * (min.y - p.y) / (q.y - p.y), min.y};
        else if (code & 2)
            r = Vec2D{max.x, p.y + (q.y - p.y) * (max.x - p.x) / (q.x - p.x)};
        else
            r = Vec2D{min.x, p.y + (q.y - p.y) * (min.x - p.x) / (q.x - p.x)};
        if (code == cp)
        {
            p = r;
            cp = OutCode2D(p, min, max);
        }
        else
        {
            q = r;
            cq = OutCode2D(q, min, max);
        }
    }
    return !(cp | cq);
}

void DrawCircle2D(const Vec2D& centre, double radius, int n, bool filled)
{
    if (n < 3)
        return;
    glBegin(filled ? GL_POLYGON : GL_LINE_LOOP);
    for (int i = 0; i < n; ++i)
    {
        double s, c;
        SineTable::SinCos(i, n, s, c);
        glVertex2d(centre.x + radius * c, centre.y + radius * s);
    }
    glEnd();
}

void DrawArc2D(const Vec2D& centre, double radius, const Vec2D& from, const Vec2D& to, int n)
{
    if (n < 1)
        return;
    const double a0 = std::atan2(from.y - centre.y, from.x - centre.x);
    double a1 = std::atan2(to.y - centre.y, to.x - centre.x);
    if (a1 <= a0)
        a1 += 2.0 * kPi;
    const double step = 2.0 * kPi / n;
    glBegin(GL_LINE_STRIP);
    // Counted steps: summed angles would drift onto the end and repeat it.
    for (int k = 0; a0 + k * step < a1 - 1e-12; ++k)
        glVertex2d(centre.x + radius * std::cos(a0 + k * step), centre.y + radius * std::sin(a0 + k * step));
    glVertex2d(centre.x + radius * std::cos(a1), centre.y + radius * std::sin(a1));
    glEnd();
}

void DrawArrowHead2D(const Vec2D& from, const Vec2D& to, double size)
{
    Vec2D d;
    Vec2Sub(d, from, to);
    const double length = std::sqrt(Vec2Dot(d, d));
    if (length < 1e-6)
        return;
    const double k = size / length;
    const double c = std::sqrt(0.5);
    // The back direction turned by plus and minus 45 degrees.
    const Vec2D b1{(d.x * c - d.y * c) * k, (d.x * c + d.y * c) * k};
    const Vec2D b2{(d.x * c + d.y * c) * k, (-d.x * c + d.y * c) * k};
    glBegin(GL_LINE_STRIP);
    glVertex2d(to.x + b1.x, to.y + b1.y);
    glVertex2d(to.x, to.y);
    glVertex2d(to.x + b2.x, to.y + b2.y);
    glEnd();
}

void DrawArrow2D(const Vec2D& from, const Vec2D& to, double size)
{
    glBegin(GL_LINES);
    glVertex2d(from.x, from.y);
    glVertex2d(to.x, to.y);
    glEnd();
    DrawArrowHead2D(from, to, size);
}

void DrawDoubleArrow2D(const Vec2D& from, const Vec2D& to, double size)
{
    DrawArrow2D(from, to, size);
    DrawArrowHead2D(to, from, size);
}

// ---- 3D ----

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
        double s, c;
        SineTable::SinCos(i, segments, s, c);
        glVertex3d(centre.x + r * (c * u.x + s * v.x), centre.y + r * (c * u.y + s * v.y),
                   centre.z + r * (c * u.z + s * v.z));
    }
    glEnd();
}

void DrawCircle3DF(const Vec3F& centre, const Vec3F& normal, float radius, int segments, bool filled,
                   const Vec3F* startAxis)
{
    const Vec3D axis = startAxis ? Vec3D{startAxis->x, startAxis->y, startAxis->z} : Vec3D{};
    DrawCircle3D(Vec3D{centre.x, centre.y, centre.z}, Vec3D{normal.x, normal.y, normal.z}, radius, segments,
                 filled, startAxis ? &axis : nullptr);
}

void DrawArc3D(const Vec3D& centre, const Vec3D& axis, double radius, const Vec3D& from, const Vec3D& to, int n)
{
    Vec3D a = axis;
    if (n < 1 || !Vec3Normalize(a))
        return;
    // The plane's frame: u towards from, v = a x u.
    Vec3D u;
    Vec3Sub(u, from, centre);
    Vec3AddScaledTo(u, -Vec3Dot(u, a), a);
    if (!Vec3Normalize(u))
        u = PerpendicularUnit(a);
    Vec3D v;
    Vec3Cross(v, a, u);
    Vec3D t;
    Vec3Sub(t, to, centre);
    const double a0 = 0.0;
    double a1 = std::atan2(Vec3Dot(t, v), Vec3Dot(t, u));
    if (a1 <= a0)
        a1 += 2.0 * kPi;
    auto point = [&](double angle) {
        const double c = radius * std::cos(angle), s = radius * std::sin(angle);
        glVertex3d(centre.x + c * u.x + s * v.x, centre.y + c * u.y + s * v.y, centre.z + c * u.z + s * v.z);
    };
    const double step = 2.0 * kPi / n;
    glBegin(GL_LINE_STRIP);
    for (int k = 0; a0 + k * step < a1 - 1e-12; ++k)
        point(a0 + k * step);
    point(a1);
    glEnd();
}

void DrawWireSphere(const Vec3D& centre, double radius)
{
    for (int i = 1; i <= 11; ++i)
    {
        double s, c;
        SineTable::SinCos(i, 24, s, c);
        const Vec3D at{centre.x, centre.y + radius * c, centre.z};
        const Vec3D x{1, 0, 0};
        DrawCircle3D(at, Vec3D{0, 1, 0}, radius * s * std::cos(kPi / 120), 120, false, &x);
    }
    for (int i = 0; i < 24; ++i)
    {
        double s, c;
        SineTable::SinCos(i, 48, s, c);
        const Vec3D y{0, 1, 0};
        DrawCircle3D(centre, Vec3D{c, 0, s}, radius * std::cos(kPi / 120), 120, false, &y);
    }
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
    Vertex(tip);
    glVertex3d(tip.x + size * b2.x, tip.y + size * b2.y, tip.z + size * b2.z);
    glEnd();
}

void DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size, const Vec3D& backward)
{
    glBegin(GL_LINES);
    Vertex(a);
    Vertex(b);
    glEnd();
    DrawArrowHead3D(a, b, size, backward);
    DrawArrowHead3D(b, a, size, backward);
}

// ---- Spheres ----

std::vector<Vec3F> BuildOctantGrid(int n)
{
    std::vector<Vec3F> grid;
    if (n < 1)
        return grid;
    grid.reserve(size_t((n + 1) * (n + 2) / 2));
    for (int i = 0; i <= n; ++i)
    {
        double st, ct;
        SineTable::SinCos(i, 4 * n, st, ct);  // t = i / n x pi / 2
        for (int j = 0; j <= i; ++j)
        {
            Vec3D p;
            if (j == 0)
                p = Vec3D{0, ct, st};
            else if (j == i)
                p = Vec3D{st, ct, 0};
            else if (i == n)
            {
                double s, c;
                SineTable::SinCos(j, 4 * n, s, c);
                p = Vec3D{s, 0, c};
            }
            else
            {
                p = Vec3D{double(j), double(n - i), double(i - j)};
                Vec3Normalize(p);
            }
            grid.push_back(Vec3F{float(p.x), float(p.y), float(p.z)});
        }
    }
    return grid;
}

const std::vector<Vec3F>& SphereOctantTable(int gridN)
{
    static const std::vector<Vec3F> grid8 = BuildOctantGrid(8);
    static const std::vector<Vec3F> grid6 = BuildOctantGrid(6);
    return gridN == 6 ? grid6 : grid8;
}

void DrawSphereOctant(const Vec3D& centre, double radius, const std::vector<Vec3F>& grid, int gridN, int step,
                      const int signs[3])
{
    const int n = gridN / step;
    // Mirroring by an odd number of axes turns the strips' winding over.
    const bool reverse = signs[0] * signs[1] * signs[2] > 0;
    // The longest strip has 2 (gridN - 1) + 3 vertices.
    constexpr int kMaxCount = 2 * 8 + 1;
    GLfloat normals[kMaxCount * 3], vertices[kMaxCount * 3], texCoords[kMaxCount * 2];
    for (int i = 0; i < n; ++i)
    {
        const int count = 2 * i + 3;
        if (count > kMaxCount)
            return;
        for (int k = 0; k < count; ++k)
        {
            // Alternately row i + 1 and row i, starting and ending on the longer row.
            const int row = (k % 2 == 0) ? i + 1 : i;
            const int col = k / 2;
            const int gi = row * step, gj = col * step;
            const Vec3F& g = grid[size_t(gi * (gi + 1) / 2 + gj)];
            const int slot = reverse ? count - 1 - k : k;
            const float nx = g.x * float(signs[0]), ny = g.y * float(signs[1]), nz = g.z * float(signs[2]);
            normals[size_t(slot) * 3] = nx;
            normals[size_t(slot) * 3 + 1] = ny;
            normals[size_t(slot) * 3 + 2] = nz;
            vertices[size_t(slot) * 3] = float(centre.x + radius * nx);
            vertices[size_t(slot) * 3 + 1] = float(centre.y + radius * ny);
            vertices[size_t(slot) * 3 + 2] = float(centre.z + radius * nz);
            texCoords[size_t(slot) * 2] = (nx + 1.0f) / 2.0f;
            texCoords[size_t(slot) * 2 + 1] = (ny + 1.0f) / 2.0f;
        }
        glNormalPointer(GL_FLOAT, 0, normals);
        glVertexPointer(3, GL_FLOAT, 0, vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, count);
    }
}
