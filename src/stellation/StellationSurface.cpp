#include "stellation/StellationSurface.h"

#include "kernel/Messages.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationRegion.h"

#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

template <typename Visit>
void ForEachRingEdge(StellationEdge* start, Visit visit)
{
    StellationEdge* e = start;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        visit(e);
        e = e->mNext;
        if (e == start)
            break;
    }
}

// The region belongs to a facet of the surface seen from the same side.
bool UsedWith(const StellationRegion* region, bool back)
{
    const StellationFacet* f = region ? region->mFacet : nullptr;
    return f && f->IsUsed() && ((f->mFlags & kFacetBack) != 0) == back;
}

void ClearSurfaceMarks(FaceType* type)
{
    for (SegVert* list : {type->mVerts, type->mOuterVerts})
        for (SegVert* v = list; v; v = v->mNext)
            v->mFlags &= ~(kSegVertCounted | kSegVertUsed);
    auto clear = [](StellationEdge* e) {
        e->mFlags &= ~(kEdgeOnSurface | kEdgeMeshDone);
        if (e->mTwin)
            e->mTwin->mFlags &= ~(kEdgeOnSurface | kEdgeMeshDone);
    };
    for (StellationRegion* r = type->mFirstRegion; r; r = r->next)
        ForEachRingEdge(r->mEdge, clear);
    ForEachRingEdge(type->mOuterEdge, clear);
}

// Turning counterclockwise round the start of the surface edge e: the regions on e's side of its
// line must all be on the surface and those past the line's continuation none of them, or the
// vertex is a corner. Answers 1 for a corner, 0 inside a straight edge, -1 for a broken ring.
int IsCorner(StellationEdge* e, bool back)
{
    bool past = false;
    StellationEdge* x = e;
    for (int i = 0; i < kWalkLimit; ++i)
    {
        const bool used = UsedWith(x->mRegion, back);
        if (used == past)
            return 1;
        x = x->mPrev ? x->mPrev->mTwin : nullptr;
        if (!x)
            return -1;
        if (x == e)
            return past ? 0 : -1;
        if (x->mLine == e->mLine)
            past = true;
    }
    return -1;
}
}  // namespace

int MarkAllUsedSegVerts(Stellation* stellation)
{
    if (!stellation || stellation->IsUnderConstruction())
        return -1;
    if (stellation->mNumUsedSegVerts >= 0)
        return stellation->mNumUsedSegVerts;
    if (!stellation->IsBuilt() && stellation->mPoly)
        stellation->mPoly->CreateStellation(stellation, kStellationBuilt);
    if (!stellation->IsBuilt())
        return -1;
    for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource)
            ClearSurfaceMarks(type);

    int count = 0;
    for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource)
            continue;
        for (StellationFacet* f = type->mUsedFacets; f; f = f->mNextUsed)
        {
            const bool back = (f->mFlags & kFacetBack) != 0;
            // The side of the plane away from the included cell.
            const int outside = back ? 1 : 0;
            for (StellationRegion* region : f->mRegions)
            {
                if (!region)
                    continue;
                ForEachRingEdge(region->mEdge, [&](StellationEdge* e) {
                    bool again = false;
                    if (UsedWith(e->mTwin ? e->mTwin->mRegion : nullptr, back))
                    {
                        // Inside one flat face, unless the surface folds away along the line.
                        const StellationEdge* d = e->GetNeighbourOnSide(outside);
                        const StellationFacet* fold = d && d->mRegion ? d->mRegion->mFacet : nullptr;
                        if (!fold || !fold->IsUsed())
                            return;
                        again = true;
                    }
                    e->mFlags |= kEdgeOnSurface;
                    if (e->mTwin)
                        e->mTwin->mFlags |= kEdgeOnSurface;
                    SegVert* v = e->mStart;
                    if ((v->mFlags & kSegVertCounted) && !again)
                        return;
                    const int corner = IsCorner(e, back);
                    if (corner < 0)
                    {
                        InternalError("MarkAllUsedSegVerts");
                        return;
                    }
                    if (corner == 0)
                    {
                        v->mFlags |= kSegVertCounted;
                        return;
                    }
                    if (!(v->mFlags & kSegVertUsed))
                        count += v->GetNumCopies();
                    SegVert* w = v;
                    for (int i = 0; w && i < kWalkLimit; ++i)
                    {
                        w->mFlags |= kSegVertCounted | kSegVertUsed;
                        w = w->mCoincident;
                        if (w == v)
                            break;
                    }
                });
            }
        }
    }
    stellation->mNumUsedSegVerts = count;
    return count;
}
