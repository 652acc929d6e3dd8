#include "stellation/FacetingEdge.h"

#include "stellation/Faceting.h"
#include "stellation/FacetingFace.h"

FacetingEdge::FacetingEdge(Faceting& faceting, FaceVert* a, FaceVert* b, double lengthSq)
    : mVertA(a), mVertB(b), mLengthSq(lengthSq)
{
    ListAppend(this, faceting.mFirstEdge, faceting.mLastEdge);
    ++faceting.mNumEdges;
}

FacetingEdge* FacetingEdge::GetMirror()
{
    if ((mFlags & kFacetingEdgeChiralFirst) && next)
        return next;
    if ((mFlags & kFacetingEdgeChiralSecond) && prev)
        return prev;
    return this;
}

int FacetingEdge::CountCandidates() const
{
    const FacetPlane* openerPlane = mOpenedBy ? mOpenedBy->mFace->mPlane : nullptr;
    int count = 0;
    for (const FaceUse* use = mUses; use; use = use->mNextOfEdge)
        count += use->mFace->mDepth == -1 && use->mFace->mPlane != openerPlane;
    return count;
}
