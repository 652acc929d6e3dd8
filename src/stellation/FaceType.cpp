#include "stellation/FaceType.h"

#include "kernel/FaceDiagram.h"
#include "kernel/KitPanelShape.h"
#include "kernel/LinkNode.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <unordered_set>
#include <vector>

namespace
{
template <class Record>
void DeleteChain(Record*& first)
{
    while (first)
    {
        Record* next = first->mNext;
        delete first;
        first = next;
    }
}
}  // namespace

FaceType::FaceType(Poly* poly, Stellation* stellation, int typeId, int index)
    : mPoly(poly), mTypeId(typeId), mIndex(index), mStellation(stellation)
{
}

FaceType::~FaceType()
{
    FreeDiagram();
}

bool FaceType::HasEarlierMirror() const
{
    return mMirrorFace && mMirrorFace->mIndex < mIndex;
}

void FaceType::AddFace(FaceVert* face)
{
    if (!face)
        return;
    face->mNextOfType = nullptr;
    face->mFaceType = this;
    if (mLastFace)
        mLastFace->mNextOfType = face;
    else
        mFirstFace = face;
    mLastFace = face;
    ++mCount;
}

FaceVert* FaceType::GetElementListHead() const
{
    if (!mFirstFace)
        return nullptr;
    if (mFirstFace->mList)
        return mFirstFace->mList->mFirst;
    if (!mPoly)
        return nullptr;
    return mFirstFace->IsVert() ? mPoly->mVerts.mFirst : mPoly->mFaces.mFirst;
}

bool FaceType::IsPanelShape()
{
    if (mFlags & (kFaceTypePanelShape | kFaceTypeNotPanelShape))
        return (mFlags & kFaceTypePanelShape) != 0;
    const FaceVert* face = mFirstFace;
    if (!face)
        return false;
    std::vector<Vec3D> corners;
    const int n = face->mNumSides;
    // Larger outlines are no panel; they need no corners to say so.
    for (int i = 0; i < n && n <= 12; ++i)
    {
        const FaceVert* corner = face->mNeighbours[(face->mFlags & FaceVert::kReversed) ? n - 1 - i : i];
        if (!corner)
            break;
        corners.push_back(corner->mPoint);
    }
    if (int(corners.size()) != n)
    {
        mFlags |= kFaceTypeNotPanelShape;
        return false;
    }
    return IsPanelShape(corners, face->GetNormal());
}

bool FaceType::IsPanelShape(std::span<const Vec3D> firstFaceCorners, const Vec3D& normal)
{
    if (mFlags & kFaceTypePanelShape)
        return true;
    if (mFlags & kFaceTypeNotPanelShape)
        return false;
    if (firstFaceCorners.empty())
        return false;

    // The panel test may turn a rhombus to start at an acute corner: work on a copy.
    std::vector<Vec3D> corners(firstFaceCorners.begin(), firstFaceCorners.end());
    int rhombus = 0;
    if (corners.size() <= 12 && IsKitPanelShape(int(corners.size()), corners.data(), normal, &rhombus))
    {
        mFlags |= kFaceTypePanelShape;
        if (rhombus)
            mFlags |= kFaceTypeRhombusPanel;
        return true;
    }
    mFlags |= kFaceTypeNotPanelShape;
    return false;
}

void FaceType::FreeDiagram()
{
    if (mCoplanarSource)
    {
        ForgetDiagram();
        return;
    }
    // Every edge lies on one ring: a region's, or the ring outside the finite diagram that the
    // twins of its border make. Collecting them as a set frees each once, even from broken links.
    std::unordered_set<StellationEdge*> edges;
    std::vector<StellationEdge*> starts;
    for (StellationRegion* r = mFirstRegion; r; r = r->next)
        starts.push_back(r->mEdge);
    starts.push_back(mOuterEdge);
    while (!starts.empty())
    {
        StellationEdge* e = starts.back();
        starts.pop_back();
        for (; e && edges.insert(e).second; e = e->mNext)
            starts.push_back(e->mTwin);
    }
    for (StellationEdge* e : edges)
        delete e;
    ListDeleteAll(mFirstRegion, mLastRegion);
    ListDeleteAll(mFacets, mLastFacet);
    DeleteChain(mLineEqns);
    DeleteChain(mOuterVerts);
    DeleteChain(mVerts);
    ForgetDiagram();
}

void FaceType::ForgetDiagram()
{
    mFacets = mLastFacet = mUsedFacets = nullptr;
    mInnermostRegion = mFirstRegion = mLastRegion = nullptr;
    mNumRegions = 0;
    mLineEqns = nullptr;
    mOuterVerts = mVerts = nullptr;
    mOuterEdge = nullptr;
}
