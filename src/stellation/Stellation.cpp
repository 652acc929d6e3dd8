#include "stellation/Stellation.h"

#include "kernel/LinkNode.h"
#include "kernel/WaitCursor.h"
#include "mesh/Model3D.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <algorithm>
#include <cmath>

Stellation::Stellation(Poly* poly, bool dual) : mPoly(poly), mFaceting(poly), mDual(dual)
{
    Reset(true);
}

Stellation::~Stellation()
{
    Free(true);
}

void Stellation::ClearStepping()
{
    mStepCell = nullptr;
    mStepLayer = nullptr;
    mMillerStack.clear();
    mMillerLimitCell = nullptr;
    mMillerLimitReached = false;
    mMillerCounted = false;
    for (StellationCellLayer* layer = mFirstLayer; layer; layer = layer->next)
        layer->mFirstCandidate = layer->mLastCandidate = nullptr;
}

void Stellation::Free(bool dropFaceTypes)
{
    ScopedWaitCursor wait;
    mModel3D.reset();
    ClearStepping();
    ListDeleteAll(mFirstLayer, mLastLayer);
    ListDeleteAll(mFirstCell, mLastCell);
    // Reset empties the face-type list when asked to.
    Reset(dropFaceTypes);
}

void Stellation::Reset(bool dropFaceTypes)
{
    mState = kStellationNotBuilt;
    if (dropFaceTypes)
    {
        mBuildDeclined = false;
        while (mFirstFaceType)
        {
            FaceType* next = mFirstFaceType->mNextFaceType;
            delete mFirstFaceType;
            mFirstFaceType = next;
        }
        mLastFaceType = nullptr;
        mNumFaceTypes = 0;
    }
    else
    {
        mBuildDeclined = true;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        {
            type->mFlags &= ~kFaceTypeDuplicateLine;
            type->mDiagramRadius = 1.0;
            type->mRadius = -1.0;
            type->mMaxOriginalRing = -1;
            type->mFacets = type->mUsedFacets = nullptr;
            type->mInnermostRegion = type->mFirstRegion = type->mLastRegion = nullptr;
            type->mNumRegions = 0;
            type->mLineEqns = nullptr;
            type->mOuterVerts = type->mVerts = nullptr;
            type->mOuterEdge = nullptr;
        }
    }
    ClearStepping();
    ListDeleteAll(mFirstLayer, mLastLayer);
    ListDeleteAll(mFirstCell, mLastCell);
    mNumIncludedCells = 0;
    mNumUnmatchedChiralCells = 0;
    mNumChangedCells = 0;
    mSteppingReady = false;
    mNumUsedSegVerts = -1;
    mHighestIncludedCell = nullptr;
    ResetEnumeration();
    mShortestEdge = mLongestEdge = mRadius = -1.0;
    for (auto& row : mKitPanelCounts)
        for (int32_t& count : row)
            count = -1;
    mKitRods = mKitBalls = -1;
    mModel3D.reset();
}

void Stellation::ResetEnumeration()
{
    mMaxCellSoFar = nullptr;
    mNumStellations = BigUInt();
    mNumChirals = BigUInt();
    mNumMillerExceptions = BigUInt();
    mMaxNumCells = -1;
    mTimeTaken = mStartSubTime = mEndSubTime = mEndTime = Duration();
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
        cell->mFlags &= ~kCellEnumerated;
}

FaceType* Stellation::AppendFaceType(std::unique_ptr<FaceType> owned)
{
    FaceType* type = owned.release();
    if (!type)
        return nullptr;
    type->mNextFaceType = nullptr;
    if (mLastFaceType)
        mLastFaceType->mNextFaceType = type;
    else
        mFirstFaceType = type;
    mLastFaceType = type;
    ++mNumFaceTypes;
    return type;
}

int Stellation::GetNumPlaneTypes() const
{
    int n = 0;
    for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        n += type->mCoplanarSource == nullptr;
    return n;
}

FaceType* Stellation::GetFaceType(int n) const
{
    if (n < 0)
        return nullptr;
    FaceType* type = mFirstFaceType;
    for (; type && n > 0; --n)
        type = type->mNextFaceType;
    return type;
}

bool Stellation::IsOriginal(const Stellation* stellation)
{
    return !stellation || stellation->mState != kStellationBuilt || stellation->mNumChangedCells == 0;
}

void Stellation::SetModel3D(std::unique_ptr<Model3D> model)
{
    mModel3D = std::move(model);
}

void Stellation::DropModel3D()
{
    mModel3D.reset();
}

void Stellation::CalcFaceTypeAreas()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mFirstFace)
            type->mArea = std::fabs(type->mFirstFace->GetArea());
}

void Stellation::CalcSolidAngles()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mFirstFace)
            type->mSolidAngle = type->mFirstFace->GetSolidAngle();
}

void Stellation::CalcEdgeLengthRange(double* shortest, double* longest)
{
    if (mShortestEdge < 0.0)
    {
        bool any = false;
        double low = 0.0, high = 0.0;
        for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        {
            const FaceVert* first = type->mFirstFace;
            if (!first || first->mNumSides <= 0)
                continue;
            const double a = first->GetMinSideLength(), b = first->GetMaxSideLength();
            low = any ? std::min(low, a) : a;
            high = any ? std::max(high, b) : b;
            any = true;
        }
        mShortestEdge = low;
        mLongestEdge = high;
    }
    if (shortest)
        *shortest = mShortestEdge;
    if (longest)
        *longest = mLongestEdge;
}
