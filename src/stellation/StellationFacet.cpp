#include "stellation/StellationFacet.h"

#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cstdio>

StellationFacet::StellationFacet(FaceType* faceType, int ring, int index, StellationFacet*& first,
                                 StellationFacet*& last)
    : mFaceType(faceType), mIndex(index), mRing(ring), mMirror(this)
{
    ListAppend(this, first, last);
    const FaceVert* firstFace = faceType ? faceType->mFirstFace : nullptr;
    if (firstFace && (firstFace->mFlags & FaceVert::kHemi))
        mFlags |= kFacetCentral;
    mRegions.assign(size_t(std::max(faceType ? faceType->mNumRotations : 1, 1)), nullptr);
}

int StellationFacet::GetSideClass() const
{
    if (mFlags & kFacetUsed)
        return (mFlags & kFacetBack) ? kFacetSideBack : kFacetSideFront;
    return (mFlags & kFacetInternal) ? kFacetSideInternal : kFacetSideOff;
}

std::string StellationFacet::GetLabel(const StellationFacet* facet)
{
    if (!facet)
        return "NULL";
    char text[32];
    const int type = FaceType::GetIndex(facet->mFaceType);
    if (facet->mIndex >= 0)
        std::snprintf(text, sizeof text, "%d-%d", type, facet->mIndex);
    else
        std::snprintf(text, sizeof text, "%d-?", type);
    return text;
}

void StellationFacet::SetRegion(int i, StellationEdge* edge)
{
    StellationRegion* region = edge ? edge->mRegion : nullptr;
    if (i < 0 || i >= GetNumRegions() || !region)
        return;
    mRegions[size_t(i)] = region;
    region->mFacet = this;
    region->mEdge = edge;
}

void StellationFacet::PairMirror(StellationFacet* other)
{
    if (!other)
        return;
    mFlags |= kFacetChiralFirst;
    other->mFlags |= kFacetChiralSecond;
    mMirror = other;
    other->mMirror = this;
}
