#pragma once

#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Vec2D.h"

#include <cmath>
#include <map>
#include <vector>

// Helpers for the face diagram tests: polygons fed edge by edge, owners answered through callbacks,
// and the areas of the loop types read back from their triangles.

using Points2D = std::vector<Vec2D>;

inline void AddPolygon(FaceDiagram& diagram, const void* owner, const Points2D& points)
{
    for (size_t i = 0; i < points.size(); ++i)
        diagram.AddEdge(owner, points[i], points[(i + 1) % points.size()]);
}

inline Points2D Square(double x0, double y0, double side)
{
    return {{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}};
}

inline Points2D Reversed(Points2D points)
{
    return Points2D(points.rbegin(), points.rend());
}

// The star polygon {n/k} of the given circumradius, its first corner at angle phase.
inline Points2D StarPolygon(int n, int k, double radius, Vec2D centre = {}, double phase = 0.0)
{
    Points2D points;
    for (int i = 0; i < n; ++i)
    {
        const double a = phase + 2.0 * 3.141592653589793 * double(i * k % n) / double(n);
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return points;
}

// Shoelace area, counterclockwise positive.
inline double SignedArea(const Points2D& points)
{
    double sum = 0.0;
    for (size_t i = 0; i < points.size(); ++i)
    {
        const Vec2D& a = points[i];
        const Vec2D& b = points[(i + 1) % points.size()];
        sum += a.x * b.y - a.y * b.x;
    }
    return sum / 2.0;
}

// The diagram's vertices by number (valid after Finish).
inline std::vector<Vec2D> DiagramPoints(const FaceDiagram& diagram)
{
    std::vector<Vec2D> points(size_t(diagram.VertCount()));
    for (const Vert2D* v = diagram.mFirstVert; v; v = v->next)
        if (v->mIndex >= 0 && size_t(v->mIndex) < points.size())
            points[size_t(v->mIndex)] = v->mPoint;
    return points;
}

// The area of a loop type's triangles.
inline double TypeArea(const FaceDiagram& diagram, int type)
{
    const std::vector<Vec2D> points = DiagramPoints(diagram);
    const LoopTypeTriangles& t = diagram.mLoopTypeTriangles[type];
    double area = 0.0;
    for (int i = 0; i + 2 < t.mCount; i += 3)
    {
        const Vec2D& a = points[size_t(t.mIndices[i])];
        const Vec2D& b = points[size_t(t.mIndices[i + 1])];
        const Vec2D& c = points[size_t(t.mIndices[i + 2])];
        area += ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2.0;
    }
    return area;
}

// The owner's winding number in a loop type; 0 when it is not among the owners.
inline int OwnerCount(const LoopType& type, const void* owner)
{
    for (int i = 0; i < type.mOwnerCount; ++i)
        if (type.mOwners[i].mOwner == owner)
            return type.mOwners[i].mCount;
    return 0;
}

// The loop type whose owners and counts are exactly these; -1 when none is.
inline int FindType(const FaceDiagram& diagram, const std::map<const void*, int>& coverage)
{
    for (int k = 0; k < diagram.mLoopTypeCount; ++k)
    {
        const LoopType& type = diagram.mLoopTypes[k];
        if (size_t(type.mOwnerCount) != coverage.size())
            continue;
        bool same = true;
        for (const auto& [owner, count] : coverage)
            same = same && OwnerCount(type, owner) == count;
        if (same)
            return k;
    }
    return -1;
}

// Sum over the loop types of the owner's winding number times the area: the signed area of
// everything the owner drew.
inline double WeightedOwnerArea(const FaceDiagram& diagram, const void* owner)
{
    double sum = 0.0;
    for (int k = 0; k < diagram.mLoopTypeCount; ++k)
        if (const int count = OwnerCount(diagram.mLoopTypes[k], owner))
            sum += count * TypeArea(diagram, k);
    return sum;
}

// Owners of kind 1 for tests: each with a colour, an opacity, a parent, the two switches and a
// pick number.
class TestOwners : public OwnerCallbacks
{
public:
    struct Owner
    {
        ColorRGB color;
        float opacity = 1.0f;
        bool hidden = false;
        bool selected = false;
        const void* parent = nullptr;
        int index = -1;  // what a pick of the owner answers
    };

    Owner& operator[](const void* owner) { return mOwners[owner]; }

    void GetOwnerColor(const void* owner, ColorRGB& color, float& opacity) override
    {
        const Owner& o = mOwners[owner];
        color = o.color;
        opacity = o.opacity;
    }
    bool IsOwnerSelected(const void* owner) override { return mOwners[owner].selected; }
    bool IsOwnerHidden(const void* owner) override { return mOwners[owner].hidden; }
    const void* GetOwnerParent(const void* owner) override
    {
        const Owner& o = mOwners[owner];
        return o.parent ? o.parent : owner;
    }
    int GetOwnerIndex(const void* owner) override { return mOwners[owner].index; }

private:
    std::map<const void*, Owner> mOwners;
};

template <class T>
uint64_t PoolUsed(const ChunkPool<T>& pool)
{
    uint64_t used = 0;
    for (int i = 0; i < pool.NumChunks(); ++i)
        used += pool.ChunkUsed(i);
    return used;
}

// Items taken from the shared pools and work pools since they were last reset.
inline uint64_t SharedPoolsUsed()
{
    const DiagramPools& p = GetSharedDiagramPools();
    const DiagramWorkPools& w = GetSharedDiagramWorkPools();
    return PoolUsed(p.mCoverage) + PoolUsed(p.mVerts) + PoolUsed(p.mHalfEdges) + PoolUsed(p.mLoops) +
           PoolUsed(p.mEdges) + PoolUsed(p.mFaceAreas) + PoolUsed(p.mVertPointers) + PoolUsed(w.mLoopTypes) +
           PoolUsed(w.mTriangles) + PoolUsed(w.mOwners) + PoolUsed(w.mPoints3D) + PoolUsed(w.mPoints2D) +
           PoolUsed(w.mIndices);
}
