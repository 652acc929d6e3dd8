#include "document/DrawnFacetUndo.h"

#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"

bool HasDrawnFacets(const Poly& poly)
{
    for (const Polygon3D* p = poly.mFirstDrawnPolygon; p; p = p->mNext)
        if (p->mRing)
            return true;
    return false;
}

DrawnFacetUndo::DrawnFacetUndo() : UndoItem(kUndoFacetingChange) {}

std::vector<DrawnFacetUndo::Polygon> DrawnFacetUndo::CapturePolygons(const Poly& poly)
{
    std::vector<Polygon> polygons;
    for (const Polygon3D* p = poly.mFirstDrawnPolygon; p; p = p->mNext)
    {
        if (!p->mRing)
            continue;
        Polygon polygon;
        polygon.open = p == poly.mCurrentDrawnPolygon;
        const RingVert* v = p->mRing;
        do
        {
            polygon.points.push_back(v->pos);
            v = v->next;
        } while (v != p->mRing);
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

DrawnFacetUndo* DrawnFacetUndo::Capture()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    auto* item = new DrawnFacetUndo();
    item->mPolygons = CapturePolygons(*poly);
    return item;
}

int32_t DrawnFacetUndo::GetSize() const
{
    int32_t size = int32_t(mPolygons.size()) * 8 + 24;
    for (const Polygon& p : mPolygons)
        size += int32_t(p.points.size()) * 24;
    return size;
}

bool DrawnFacetUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    std::vector<Polygon> stored = std::move(mPolygons);
    if (!IsSideItem())
        mPolygons = CapturePolygons(*poly);
    poly->ClearDrawnPolygons(true);
    for (const Polygon& p : stored)
    {
        Polygon3D* current = poly->mCurrentDrawnPolygon;
        if (!current)
            break;
        for (const Vec3D& point : p.points)
            AddRingVert(0.0, 0.0, nullptr, &point, current->mRing);
        // Closing reads the points in the polygon's plane, which preparing places.
        current->Prepare();
        if (p.open)
            break;
        poly->CloseDrawnPolygon(true, false);
    }
    if (IsSideItem())
        mPolygons = std::move(stored);
    GetShell().InvalidateAllViews(false, 1);
    return true;
}
