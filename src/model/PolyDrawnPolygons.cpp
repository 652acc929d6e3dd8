#include "kernel/Polygon3D.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/Tolerance.h"
#include "model/Poly.h"

#include <algorithm>

namespace
{
constexpr int kUndoDrawnPolygons = 28;
// The view types that show facets.
constexpr int kFacetViewTypes[] = {0xC05, 0x840C, 0x1340E, 0x9407, 0xA408, 0xA409};

void ResetFacetings(Poly& poly)
{
    for (Stellation& stellation : poly.mStellations)
        stellation.mFaceting.Clear();
}
}  // namespace

void Poly::AddFacetVertex(const Vec3D& point)
{
    Polygon3D* polygon = mCurrentDrawnPolygon;
    if (!polygon)
        return;
    // Clicking the last point again, or the one before it, takes the last point back.
    const RingVert* last = polygon->mRing ? polygon->mRing->prev : nullptr;
    const bool again = last && (Vec3Equal(last->pos, point, kTol) ||
                                (last != polygon->mRing && Vec3Equal(last->prev->pos, point, kTol)));
    if (again)
    {
        polygon->RemoveLastVert();
    }
    else if (!polygon->IsInPlane(point))
    {
        static constexpr char kText[] = "Vertex not coplanar with existing polygon";
        Shell& shell = GetShell();
        shell.SetViewMessage(shell.ActiveView(), kText);
        SetStatusText("%s", kText);
        return;
    }
    else
    {
        AddRingVert(0.0, 0.0, nullptr, &point, polygon->mRing);
    }
    polygon->Prepare();
    for (Stellation& stellation : mStellations)
    {
        stellation.mFaceting.mCurrentFace = nullptr;
        stellation.mFaceting.mCurrentEdge = nullptr;
    }
    GetShell().InvalidateAllViews(false, 0);
}

void Poly::CloseDrawnPolygon(bool resetFacetings, bool withUndo)
{
    Polygon3D* polygon = mCurrentDrawnPolygon;
    if (!polygon)
        return;
    if (polygon->mRing)
    {
        polygon->mRing = RemoveDuplicateRingVerts(polygon->mRing);
        polygon->Prepare();
    }
    if (!polygon->mRing || polygon->mTriangulation.indexCount <= 0)
    {
        polygon->Clear();
        ReleaseRingVertPool();
        ReleaseRingListPool();
        return;
    }
    if (withUndo)
        GetShell().AddUndo(kUndoDrawnPolygons, false);
    if (resetFacetings)
        ResetFacetings(*this);
    new Polygon3D(mFirstDrawnPolygon, mCurrentDrawnPolygon);
    mFacetingDirty = true;
    ReleaseRingVertPool();
    ReleaseRingListPool();
    GetShell().InvalidateAllViews(false, 0);
}

void Poly::ClearDrawnPolygons(bool resetFacetings)
{
    if (resetFacetings)
        ResetFacetings(*this);
    FreePolygon3DList(mFirstDrawnPolygon);
    mCurrentDrawnPolygon = nullptr;
    new Polygon3D(mFirstDrawnPolygon, mCurrentDrawnPolygon);
    // The table pointed into the polygons just freed.
    mFacetTable.clear();
    mFacetingDirty = true;
    mCurrentFacet = -1;
}

void Poly::RemoveDrawnPolygons(const Polygon3D* position, int count)
{
    Polygon3D* previous = nullptr;
    Polygon3D* p = mFirstDrawnPolygon;
    for (int steps = 0; p && p != position && steps < count && p != mCurrentDrawnPolygon; ++steps)
    {
        previous = p;
        p = p->mNext;
    }
    if (!p || p == mCurrentDrawnPolygon)
        return;
    GetShell().AddUndo(kUndoDrawnPolygons, false);
    ResetFacetings(*this);

    // The current facet keeps pointing at the same entry once the removed polygon's entries are gone.
    if (mCurrentFacet >= 0 && mCurrentFacet < int(mFacetTable.size()))
    {
        if (mFacetTable[size_t(mCurrentFacet)].mPolygon == p)
            mCurrentFacet = -1;
        else
            mCurrentFacet -= int(std::count_if(mFacetTable.begin(), mFacetTable.begin() + mCurrentFacet,
                                               [p](const FacetTableEntry& e) { return e.mPolygon == p; }));
    }
    std::erase_if(mFacetTable, [p](const FacetTableEntry& e) { return e.mPolygon == p; });

    if (previous)
        previous->mNext = p->mNext;
    else
        mFirstDrawnPolygon = p->mNext;
    delete p;
    mFacetingDirty = true;
    for (int type : kFacetViewTypes)
        GetShell().InvalidateViewsOfType(type, 0);
}
