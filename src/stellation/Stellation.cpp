#include "stellation/Stellation.h"

#include "stellation/MillerSearch.h"

#include "kernel/LinkNode.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "mesh/Model3D.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
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
    mMillerGraph.reset();
    ListDeleteAll(mFirstLayer, mLastLayer);
    ListDeleteAll(mFirstCell, mLastCell);
    // Reset frees the face types' diagrams, or the types themselves when asked to.
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
            type->FreeDiagram();
            type->mFlags &= ~kFaceTypeDuplicateLine;
            type->mDiagramRadius = 1.0;
            type->mRadius = -1.0;
            type->mMaxOriginalRing = -1;
        }
    }
    ClearStepping();
    mMillerGraph.reset();
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
    mCountInterrupted = false;
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
    return !stellation || !stellation->IsBuilt() || stellation->mNumChangedCells == 0;
}

void Stellation::SetModel3D(std::unique_ptr<Model3D> model)
{
    mModel3D = std::move(model);
}

void Stellation::DropModel3D()
{
    mModel3D.reset();
}

ElemList* Stellation::GetFaceList() const
{
    if (!mPoly)
        return nullptr;
    return mDual ? static_cast<ElemList*>(&mPoly->mVerts) : static_cast<ElemList*>(&mPoly->mFaces);
}

void Stellation::SetSelectedFace(FaceVert* face)
{
    if (face != mSelectedFace && face && face->mList)
        face->mList->mMaxChordDistance = -1.0;
    mSelectedFace = face;
}

int Stellation::CountCopies(const Stellation* stellation, int axisClass)
{
    const SymGroup* group = stellation && stellation->mPoly ? stellation->mPoly->mGroup.get() : nullptr;
    if (!group)
        return 1;
    if (axisClass < 0)
        return group->mOrder;
    if (axisClass >= group->mNumAxisSets)
        return 1;
    // A record on an axis stands for one copy per pole of its class.
    return group->mAxisSets[axisClass].mNumEnds;
}

void Stellation::SetFaceAreas()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mFirstFace)
            type->mArea = std::fabs(type->mFirstFace->GetArea());
}

void Stellation::SetFaceTurnings()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mFirstFace)
            type->mSolidAngle = type->mFirstFace->GetSolidAngle();
}

void Stellation::CalcEdgeLengthRange(double* shortest, double* longest)
{
    if (mLongestEdge < 0.0)
    {
        double low = kUnsetValue, high = -1.0;
        for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        {
            const FaceVert* face = type->mFirstFace;
            const int n = face ? face->mNumSides : 0;
            for (int i = 0; i < n; ++i)
            {
                const FaceVert* a = face->mNeighbours[i];
                const FaceVert* b = face->mNeighbours[(i + 1) % n];
                if (!a || !b)
                    continue;
                Vec3D d;
                Vec3Sub(d, b->mPoint, a->mPoint);
                const double lengthSq = Vec3LengthSq(d);
                low = std::min(low, lengthSq);
                high = std::max(high, lengthSq);
            }
        }
        // Nothing measured: no size at all rather than the search's starting values.
        if (high < 0.0)
            low = high = 0.0;
        mShortestEdge = std::sqrt(low);
        mLongestEdge = std::sqrt(high);
    }
    if (shortest)
        *shortest = mShortestEdge;
    if (longest)
        *longest = mLongestEdge;
}

double Stellation::GetMeanEdgeLength()
{
    double shortest = 0.0, longest = 0.0;
    CalcEdgeLengthRange(&shortest, &longest);
    return 0.5 * (shortest + longest);
}

void Stellation::CreateFaceDiagrams()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource && type->mFirstFace)
            type->mFirstFace->BuildDrawLoops();
}
