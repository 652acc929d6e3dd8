#include "stellation/FacetingEdge.h"

#include "stellation/Faceting.h"

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
