#include "SurfaceChecks.h"

#include "model/SimplePoly.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace
{
Vec3D Sub(const Vec3D& a, const Vec3D& b)
{
    return Vec3D{a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3D Cross(const Vec3D& a, const Vec3D& b)
{
    return Vec3D{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Dot(const Vec3D& a, const Vec3D& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Distance(const Vec3D& a, const Vec3D& b)
{
    return std::sqrt(Dot(Sub(a, b), Sub(a, b)));
}

// Faces drawn in a little towards their centres, so that faces that only share edges or corners
// stay apart, and cut into fans.
std::vector<std::pair<int, SurfaceTriangle>> ShrunkTriangles(const SurfaceModel& model, double shrink)
{
    std::vector<std::pair<int, SurfaceTriangle>> out;
    for (size_t f = 0; f < model.faces.size(); ++f)
    {
        const std::vector<int>& face = model.faces[f];
        const Vec3D c = SurfaceCentroid(model, face);
        std::vector<Vec3D> corners;
        for (int i : face)
        {
            const Vec3D& p = model.verts[size_t(i)];
            corners.push_back(Vec3D{c.x + (p.x - c.x) * (1 - shrink), c.y + (p.y - c.y) * (1 - shrink),
                                    c.z + (p.z - c.z) * (1 - shrink)});
        }
        for (size_t k = 1; k + 1 < corners.size(); ++k)
            out.push_back({int(f), SurfaceTriangle{corners[0], corners[k], corners[k + 1]}});
    }
    return out;
}
}  // namespace

SurfaceModel SurfaceModelOf(const SimplePoly& poly)
{
    SurfaceModel model;
    for (int i = 0; i < poly.mNumVerts; ++i)
        model.verts.push_back(poly.mVerts[i].mPos);
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        std::vector<int> face;
        for (int k = 0; k < poly.mFaces[f].mNum; ++k)
            face.push_back(SimpleVert::GetIndex(poly.mFaces[f].GetVert(k)));
        model.faces.push_back(face);
    }
    return model;
}

Vec3D SurfaceCentroid(const SurfaceModel& model, const std::vector<int>& face)
{
    Vec3D c{};
    for (int i : face)
        c = Vec3D{c.x + model.verts[size_t(i)].x, c.y + model.verts[size_t(i)].y, c.z + model.verts[size_t(i)].z};
    const double n = double(face.size());
    return Vec3D{c.x / n, c.y / n, c.z / n};
}

Vec3D SurfaceAreaNormal(const SurfaceModel& model, const std::vector<int>& face)
{
    Vec3D n{};
    for (size_t k = 0; k < face.size(); ++k)
    {
        const Vec3D& a = model.verts[size_t(face[k])];
        const Vec3D& b = model.verts[size_t(face[(k + 1) % face.size()])];
        n = Vec3D{n.x + (a.y - b.y) * (a.z + b.z), n.y + (a.z - b.z) * (a.x + b.x), n.z + (a.x - b.x) * (a.y + b.y)};
    }
    const double length = std::sqrt(Dot(n, n));
    return Vec3D{n.x / length, n.y / length, n.z / length};
}

double WorstPlaneDistance(const SurfaceModel& model, const std::vector<int>& face)
{
    const Vec3D n = SurfaceAreaNormal(model, face);
    const Vec3D c = SurfaceCentroid(model, face);
    double worst = 0.0;
    for (int i : face)
        worst = std::max(worst, std::fabs(Dot(Sub(model.verts[size_t(i)], c), n)));
    return worst;
}

bool IsRegularFace(const SurfaceModel& model, const std::vector<int>& face, double tol)
{
    const Vec3D c = SurfaceCentroid(model, face);
    const double side = Distance(model.verts[size_t(face[0])], model.verts[size_t(face[1])]);
    const double radius = Distance(model.verts[size_t(face[0])], c);
    for (size_t k = 0; k < face.size(); ++k)
    {
        const Vec3D& p = model.verts[size_t(face[k])];
        if (std::fabs(Distance(p, model.verts[size_t(face[(k + 1) % face.size()])]) - side) > tol ||
            std::fabs(Distance(p, c) - radius) > tol)
            return false;
    }
    return true;
}

// Separating-axis test: the triangles meet unless one of the face normals, the nine cross products
// of their sides, or (for triangles in one plane, where all those crosses are the normal) a side's
// normal within the plane separates them.
bool TrianglesMeet(const SurfaceTriangle& a, const SurfaceTriangle& b)
{
    const Vec3D na = Cross(Sub(a[1], a[0]), Sub(a[2], a[0]));
    const Vec3D nb = Cross(Sub(b[1], b[0]), Sub(b[2], b[0]));
    std::vector<Vec3D> axes = {na, nb};
    for (int i = 0; i < 3; ++i)
    {
        for (int j = 0; j < 3; ++j)
            axes.push_back(Cross(Sub(a[(i + 1) % 3], a[i]), Sub(b[(j + 1) % 3], b[j])));
        axes.push_back(Cross(na, Sub(a[(i + 1) % 3], a[i])));
        axes.push_back(Cross(nb, Sub(b[(i + 1) % 3], b[i])));
    }
    for (const Vec3D& axis : axes)
    {
        if (Dot(axis, axis) < 1e-24)
            continue;
        double minA = 1e300, maxA = -1e300, minB = 1e300, maxB = -1e300;
        for (const Vec3D& p : a)
        {
            minA = std::min(minA, Dot(p, axis));
            maxA = std::max(maxA, Dot(p, axis));
        }
        for (const Vec3D& p : b)
        {
            minB = std::min(minB, Dot(p, axis));
            maxB = std::max(maxB, Dot(p, axis));
        }
        if (maxA < minB || maxB < minA)
            return false;
    }
    return true;
}

int CountFacePairsThatMeet(const SurfaceModel& model)
{
    const std::vector<std::pair<int, SurfaceTriangle>> triangles = ShrunkTriangles(model, 1e-4);
    std::set<std::pair<int, int>> meeting;
    for (size_t i = 0; i < triangles.size(); ++i)
    {
        for (size_t j = i + 1; j < triangles.size(); ++j)
        {
            if (triangles[i].first != triangles[j].first && TrianglesMeet(triangles[i].second, triangles[j].second))
                meeting.insert({triangles[i].first, triangles[j].first});
        }
    }
    return int(meeting.size());
}

std::map<std::pair<int, int>, std::vector<int>> FacesByEdge(const SurfaceModel& model)
{
    std::map<std::pair<int, int>, std::vector<int>> edges;
    for (size_t f = 0; f < model.faces.size(); ++f)
    {
        const std::vector<int>& face = model.faces[f];
        for (size_t k = 0; k < face.size(); ++k)
        {
            const int a = face[k], b = face[(k + 1) % face.size()];
            edges[{std::min(a, b), std::max(a, b)}].push_back(int(f));
        }
    }
    return edges;
}

std::pair<double, double> EdgeRange(const SurfaceModel& model)
{
    double shortest = 1e300, longest = 0.0;
    for (const auto& [edge, faces] : FacesByEdge(model))
    {
        const double length = Distance(model.verts[size_t(edge.first)], model.verts[size_t(edge.second)]);
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    return {shortest, longest};
}
