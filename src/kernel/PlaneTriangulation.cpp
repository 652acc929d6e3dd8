#include "kernel/PlaneTriangulation.h"

#include "kernel/DiagramItems.h"
#include "kernel/DiagramPools.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/SceneDrawer.h"

#include <utility>

namespace
{
bool AllOwnersHidden(const LoopType& type, int kind, OwnerCallbacks* callbacks)
{
    for (int32_t i = 0; i < type.mOwnerCount; ++i)
        if (!type.mOwners[i].IsHidden(kind, callbacks))
            return false;
    return true;
}
}  // namespace

void PlaneTriangulation::Clear()
{
    mOwnerKind = -1;
    mLoopTypeCount = 0;
    mLoopTypes = nullptr;
    mLoopTypeTriangles = nullptr;
    mPoints = nullptr;
    mPointCount = 0;
}

void PlaneTriangulation::Begin(const Vec3D& normal, DiagramWorkPools* workPools, int ownerKind,
                               OwnerCallbacks* callbacks, PlaneFeeder& feeder)
{
    feeder.axis = Vec3MaxAxis(normal);
    feeder.u = (feeder.axis + 1) % 3;
    feeder.v = (feeder.axis + 2) % 3;
    if (normal[feeder.axis] < 0.0)
        std::swap(feeder.u, feeder.v);
    feeder.normal = normal;
    feeder.offset = 0.0;
    feeder.first.x = kUnsetValue;
    feeder.owner = nullptr;
    feeder.diagram.Begin(ownerKind, callbacks);
    feeder.diagram.mPools = &GetSharedDiagramPools();
    if (workPools)
        feeder.diagram.mWorkPools = workPools;
    Clear();
    mOwnerKind = ownerKind;
}

void PlaneTriangulation::EndContour(const void* owner, PlaneFeeder& feeder)
{
    if (feeder.first.x != kUnsetValue)
    {
        feeder.diagram.AddEdge(feeder.owner, feeder.last, feeder.first);
        feeder.first.x = kUnsetValue;
    }
    feeder.owner = owner;
}

void PlaneTriangulation::AddPoint(const Vec3D& point, PlaneFeeder& feeder)
{
    const Vec2D q{point[feeder.u], point[feeder.v]};
    if (feeder.first.x == kUnsetValue)
    {
        feeder.first = q;
        feeder.offset = Vec3Dot(feeder.normal, point);
    }
    else
        feeder.diagram.AddEdge(feeder.owner, feeder.last, q);
    feeder.last = q;
}

bool FinishTriangulation(PlaneTriangulation& result, PlaneFeeder& feeder, uint32_t flags)
{
    PlaneTriangulation::EndContour(feeder.owner, feeder);
    FaceDiagram& diagram = feeder.diagram;
    bool ok = diagram.Finish(flags, nullptr);

    int32_t pointCount = 0;
    for (const Vert2D* v = diagram.mFirstVert; v; v = v->next)
        ++pointCount;
    Vec3D* points = pointCount > 0 ? diagram.mWorkPools->mPoints3D.Alloc(uint32_t(pointCount)) : nullptr;
    if (pointCount > 0 && !points)
    {
        InternalError("FinishTriangulation(): no memory for %d points", pointCount);
        pointCount = 0;
        ok = false;
    }
    for (int32_t i = 0; i < pointCount; ++i)
        points[i] = Vec3D{};
    const Vec3D& n = feeder.normal;
    const int a = feeder.axis, u = feeder.u, v = feeder.v;
    for (const Vert2D* vert = diagram.mFirstVert; vert && points; vert = vert->next)
    {
        if (vert->mIndex < 0 || vert->mIndex >= pointCount)
            continue;
        Vec3D& p = points[vert->mIndex];
        const double x = vert->mPoint.x, y = vert->mPoint.y;
        p[u] = x;
        p[v] = y;
        p[a] = (feeder.offset - n[u] * x - n[v] * y) / n[a];
    }
    result.mPoints = points;
    result.mPointCount = pointCount;
    result.mLoopTypeCount = diagram.mLoopTypeCount;
    result.mLoopTypes = diagram.mLoopTypes;
    result.mLoopTypeTriangles = diagram.mLoopTypeTriangles;
    diagram.Reset();
    return ok;
}

void PlaneTriangulation::Recolor(uint32_t options, OwnerCallbacks* callbacks)
{
    CalcAllColors(mLoopTypes, mLoopTypeCount, options, mOwnerKind, callbacks);
}

void PlaneTriangulation::Draw(const Vec3D& normal, const Vec3D& offset, double scale, bool picking,
                              bool selectedOnly, OwnerCallbacks* callbacks) const
{
    DrawAreas(&normal, offset, nullptr, nullptr, scale, picking, selectedOnly, callbacks);
}

void PlaneTriangulation::DrawMapped(PointMap map, void* userData, double scale, bool picking, bool selectedOnly,
                                    OwnerCallbacks* callbacks) const
{
    DrawAreas(nullptr, Vec3D{}, map, userData, scale, picking, selectedOnly, callbacks);
}

void PlaneTriangulation::DrawAreas(const Vec3D* normal, const Vec3D& offset, PointMap map, void* userData,
                                   double scale, bool picking, bool selectedOnly, OwnerCallbacks* callbacks) const
{
    if (!mLoopTypes || !mLoopTypeTriangles || !mPoints)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const unsigned flags = selectedOnly || picking ? kTriangleDrawNow : 0u;
    Vec3D mappedNormal;
    bool haveNormal = normal != nullptr;
    if (normal)
        mappedNormal = *normal;
    for (int32_t k = 0; k < mLoopTypeCount; ++k)
    {
        const LoopType& type = mLoopTypes[k];
        if (type.mOpacity == 0.0f)
            continue;
        if (selectedOnly && !type.IsSelected(mOwnerKind, callbacks))
            continue;
        if (picking)
        {
            if (AllOwnersHidden(type, mOwnerKind, callbacks))
                continue;
            const void* target = type.NextOwner(mOwnerKind, callbacks);
            drawer.SetGLSelectionItem(kPickItemType, callbacks && target ? callbacks->GetOwnerIndex(target) : -1);
        }
        ColorRGB color;
        const bool unlit = type.GetColor(color, selectedOnly, true, mOwnerKind, callbacks);
        const float rgba[4] = {color.r, color.g, color.b, selectedOnly ? 0.5f : type.mOpacity};
        const void* firstOwner = type.mOwnerCount > 0 ? type.mOwners[0].mOwner : nullptr;
        const LoopTypeTriangles& t = mLoopTypeTriangles[k];
        for (int32_t i = 0; i + 2 < t.mCount; i += 3)
        {
            Vec3D corners[3];
            bool inside = true;
            for (int c = 0; c < 3; ++c)
            {
                const int32_t index = t.mIndices[i + c];
                if (index < 0 || index >= mPointCount)
                {
                    inside = false;
                    break;
                }
                if (map)
                    map(corners[c], mPoints[index], firstOwner, userData);
                else
                    Vec3Add(corners[c], mPoints[index], offset);
            }
            if (!inside)
                continue;
            if (!haveNormal)
            {
                Vec3D e1, e2;
                Vec3Sub(e1, corners[1], corners[0]);
                Vec3Sub(e2, corners[2], corners[1]);
                Vec3Cross(mappedNormal, e1, e2);
                Vec3Normalize(mappedNormal);
                haveNormal = true;
            }
            drawer.AddTriangle(corners, mappedNormal, rgba, flags, scale, nullptr, nullptr, nullptr);
        }
        if (unlit)
            drawer.UseRainbowLights(false);
        if (picking)
            drawer.ClearGLSelectionItem();
    }
}
