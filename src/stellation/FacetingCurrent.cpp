#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"

#include <climits>

void Faceting::CountVertexType(const FaceVert* vert, int change)
{
    const int i = FaceType::GetIndex(vert ? vert->mFaceType : nullptr);
    if (i < 0 || i >= int(mVertexTypeUses.size()))
        return;
    const int before = mVertexTypeUses[size_t(i)];
    mVertexTypeUses[size_t(i)] += change;
    if (before == 0 && mVertexTypeUses[size_t(i)] > 0)
        ++mNumVertexTypesUsed;
    else if (before > 0 && mVertexTypeUses[size_t(i)] == 0)
        --mNumVertexTypesUsed;
}

void Faceting::UnlinkOpenEdge(FacetingEdge* edge)
{
    if (edge->mPrevOpen)
        edge->mPrevOpen->mNextOpen = edge->mNextOpen;
    else
        mFirstOpenEdge = edge->mNextOpen;
    if (edge->mNextOpen)
        edge->mNextOpen->mPrevOpen = edge->mPrevOpen;
    else
        mLastOpenEdge = edge->mPrevOpen;
    edge->mNextOpen = edge->mPrevOpen = nullptr;
    --mNumOpenEdges;
}

void Faceting::OpenEdge(FacetingEdge* edge, FaceUse* use)
{
    if (edge->mFlags & kFacetingEdgeOpen)
        return;
    edge->mFlags = (edge->mFlags & ~kFacetingEdgeClosed) | kFacetingEdgeOpen;
    if (use)
        edge->mOpenedBy = use;
    edge->mClosedBy = nullptr;
    edge->mNextOpen = nullptr;
    edge->mPrevOpen = mLastOpenEdge;
    if (mLastOpenEdge)
        mLastOpenEdge->mNextOpen = edge;
    else
        mFirstOpenEdge = edge;
    mLastOpenEdge = edge;
    ++mNumOpenEdges;
}

void Faceting::CloseEdge(FacetingEdge* edge, FaceUse* use)
{
    if (edge->mFlags & kFacetingEdgeClosed)
        return;
    if (edge->mFlags & kFacetingEdgeOpen)
        UnlinkOpenEdge(edge);
    else
        edge->mOpenedBy = use;
    edge->mFlags = (edge->mFlags & ~kFacetingEdgeOpen) | kFacetingEdgeClosed;
    edge->mClosedBy = use;
}

void Faceting::UnopenEdge(FacetingEdge* edge)
{
    if (edge->mFlags & kFacetingEdgeOpen)
        UnlinkOpenEdge(edge);
    if (edge->mFlags & (kFacetingEdgeOpen | kFacetingEdgeClosed))
    {
        edge->mFlags &= ~(kFacetingEdgeOpen | kFacetingEdgeClosed);
        edge->mOpenedBy = edge->mClosedBy = nullptr;
    }
}

void Faceting::AddFace(FacetingFace* face)
{
    for (FaceUse& use : face->mUses)
    {
        FacetingEdge* e = use.mEdge;
        CountVertexType(e->mVertA, 1);
        CountVertexType(e->mVertB, 1);
        if ((e->mFlags & kFacetingEdgeOpen) || use.mNumHits == 2)
            CloseEdge(e, &use);
        else
            OpenEdge(e, &use);
    }
    const int n = face->GetNumBaseVerts();
    for (int i = 0; i < n; ++i)
        ++face->mVerts[size_t(i)]->mLeader->mUseCount;

    face->mNextFacet = nullptr;
    face->mPrevFacet = mLastFacet;
    if (mLastFacet)
        mLastFacet->mNextFacet = face;
    else
        mFirstFacet = face;
    mLastFacet = face;
    ++mNumFacets;
    face->mFlags |= kFacetingFaceUsed;

    const FacetingFace* mirror = face->mMirror;
    if (mirror && mirror != face)
        mNumUnmatchedChirals += (mirror->mFlags & kFacetingFaceUsed) ? -1 : 1;
}

void Faceting::RemoveFace(FacetingFace* face)
{
    for (FaceUse& use : face->mUses)
    {
        FacetingEdge* e = use.mEdge;
        CountVertexType(e->mVertA, -1);
        CountVertexType(e->mVertB, -1);
        if ((e->mFlags & kFacetingEdgeClosed) && use.mNumHits == 1)
            OpenEdge(e, nullptr);  // the facet that opened it keeps it open
        else
            UnopenEdge(e);
    }
    const int n = face->GetNumBaseVerts();
    for (int i = 0; i < n; ++i)
        --face->mVerts[size_t(i)]->mLeader->mUseCount;
    face->mFlags &= ~(kFacetingFaceUnreached | kFacetingFaceUsed);

    if (mNumFacets <= 2)
        mUnitingFace = -1;
    else if (mNumFacets == mUnitingFace)
        mUnitingFace = INT_MAX;
    if (face->mPrevFacet)
        face->mPrevFacet->mNextFacet = face->mNextFacet;
    else
        mFirstFacet = face->mNextFacet;
    if (face->mNextFacet)
        face->mNextFacet->mPrevFacet = face->mPrevFacet;
    else
        mLastFacet = face->mPrevFacet;
    face->mNextFacet = face->mPrevFacet = nullptr;
    --mNumFacets;

    const FacetingFace* mirror = face->mMirror;
    if (mirror && mirror != face)
        mNumUnmatchedChirals += (mirror->mFlags & kFacetingFaceUsed) ? 1 : -1;
}

bool Faceting::CanAddFace(const FacetingFace* face, uint32_t mask) const
{
    if (face->mFlags & mask)
        return false;
    if ((GetFacetingSettings().options & kFacetingSpikyOnly) && (face->mFlags & kFacetingFaceSpiky))
        return false;
    for (const FaceUse& use : face->mUses)
    {
        const FacetingEdge* e = use.mEdge;
        if (e->mFlags & kFacetingEdgeClosed)
            return false;
        if ((e->mFlags & kFacetingEdgeOpen) &&
            (use.mNumHits == 2 || (e->mOpenedBy && e->mOpenedBy->mFace->mPlane == face->mPlane)))
            return false;
    }
    if (IsTidyFacetingCriterion(GetFacetingSettings().criterion))
    {
        const int n = face->GetNumBaseVerts();
        for (int i = 0; i < n; ++i)
        {
            if (face->mVerts[size_t(i)]->mLeader->mUseCount > 0)
                return false;
        }
    }
    return true;
}
