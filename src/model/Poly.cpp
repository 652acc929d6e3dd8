#include "model/Poly.h"

#include "kernel/Polygon3D.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "model/CompoundPart.h"
#include "model/FaceDiagramOwners.h"
#include "model/Face.h"
#include "model/SectionPolygon.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "operations/PickedPoints.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"

Poly::Poly() : mStellations{{this, false}, {this, true}}
{
    // Its faces may own face diagrams: the diagrams must be able to ask them about themselves.
    InstallFaceDiagramOwners();
    mShowDual = false;
    mAugmenter.Reset();
    Init();
}

Poly::~Poly()
{
    Clear(true);
    mAugmenter.Reset();
    FreePolygon3DList(mFirstDrawnPolygon);
    mCurrentDrawnPolygon = nullptr;
}

void Poly::Init()
{
    mBaseName.clear();
    mDualName.clear();
    mComments.clear();
    mLink.clear();
    mLibraryEntry = nullptr;
    mTemplate = nullptr;
    mSpringDesc.clear();
    mPolytope.reset();
    mMorphPolytope.reset();
    mMorphRatio = kNoMorphRatio;
    mDualMorphPolytope.reset();
    mDualMorphRatio = kNoMorphRatio;
    mMatchingStatus = kMatchingRunning;
    mFlags = 0;
    mOpenBranches = 0;
    mMatchingAnchor = nullptr;
    mAnchorFree = true;
    mVariation = false;
    mHasPointsAtInfinity = false;
    mNumPlaced = 0;
    mNumEdges = 0;
    mEdges.Free();
    mNumEdgeTexts = 0;
    mNumGenCells = mNumGenFaces = mNumGenEdges = mNumGenVerts = 0;
    mNumEdgeTypes = 0;
    mEdgeTypes.Free();
    CompoundPart::FreeList(mFirstPart, mLastPart);
    mFullGroup.reset();
    mGroup.reset();
    mFullGroupReflexible = false;
    mReflexible = false;
    mSubgroupChoice[0] = mSubgroupChoice[1] = 0;
    mSelectedFace = nullptr;
    mSelectedElement = nullptr;
    mSelectedEdge = nullptr;
    mDisplayScale = 1.0;
    mMidRadius = 1.0;
    mRadius = -1.0;
    mVolume = mDualVolume = 0.0;
    mSurfaceArea = mDualSurfaceArea = 0.0;
    mDensity = 0.0;
    delete mSectionPolygons;
    mSectionPolygons = nullptr;
    FreePolygon3DList(mFirstDrawnPolygon);
    mCurrentDrawnPolygon = nullptr;
    new Polygon3D(mFirstDrawnPolygon, mCurrentDrawnPolygon);
    mFacetingDirty = false;
    mFacetedModel.reset();
    mFacetTable.clear();
    FreePolygon3DList(mFirstFacetedFace);
    mLastFacetedFace = nullptr;
    mCurrentFacet = -1;
    mFacetedGroup.reset();
    for (Vec3D& v : mFacetedState)
        v = Vec3D{};
    mTransitionEnd = -1.0;
    mIncoming = false;
    mTransitionProgress = 1.0;
    mScaleStart = 0.0;
    mScaleTarget = 1.0;
    mTransition = TransitionSettings();
    mQueuedTransition = TransitionSettings();
    mQueuedTransition.type = -1;
    mKitReason = nullptr;
    mDualKitReason = nullptr;
    // A new model starts the measurement afresh.
    ResetMeasurement();
}

void Poly::Clear(bool keepMembers)
{
    SetPolytope4D(nullptr, 0);
    mMorphPolytope.reset();
    mDualMorphPolytope.reset();
    mBaseName.clear();
    mDualName.clear();
    mComments.clear();
    mLink.clear();
    mAugmenter.Clear();
    mFacetedModel.reset();
    mFacetTable.clear();
    FreePolygon3DList(mFirstFacetedFace);
    mLastFacetedFace = nullptr;
    mFacetedGroup.reset();
    mDiagramPools.FreeAll();
    mDiagramWorkPools[0].FreeAll();
    mDiagramWorkPools[1].FreeAll();
    mOutline.Reset();
    mSectionLoopTypes.mLoopTypes = nullptr;
    delete mSectionPolygons;
    mSectionPolygons = nullptr;
    mDiagramWorkPools[2].FreeAll();
    FreePolygon3DList(mFirstDrawnPolygon);
    mCurrentDrawnPolygon = nullptr;
    ReleaseRingVertPool();
    ReleaseRingListPool();
    mSpringDesc.clear();
    CompoundPart::FreeList(mFirstPart, mLastPart);
    FreeEdges();
    ClearAnalysis();
    mFaces.DeleteAll();
    mVerts.DeleteAll();
    mFullGroup.reset();
    for (Stellation& stellation : mStellations)
        stellation.mFaceting.Clear();
    if (!keepMembers)
        Init();
}

void Poly::ClearAnalysis()
{
    mGroup.reset();
    const bool hasTypes = mStellations[0].mFirstFaceType || mStellations[1].mFirstFaceType;
    for (ElemList* list : {static_cast<ElemList*>(&mFaces), static_cast<ElemList*>(&mVerts)})
    {
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
        {
            e->mFlags &= ~FaceVert::kCoplanar;
            if (!hasTypes)
                continue;
            e->mFaceType = nullptr;
            e->mTypeMark = 0;
            e->mTypeOffset = -1;
        }
    }
    for (Stellation& stellation : mStellations)
    {
        stellation.Free(true);
        stellation.mFaceting.Clear();
    }
}

void Poly::ResetElementEdges()
{
    for (ElemList* list : {static_cast<ElemList*>(&mFaces), static_cast<ElemList*>(&mVerts)})
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            for (int i = 0; i < e->mNumSides; ++i)
                e->mEdges[i] = nullptr;
}

void Poly::FreeEdges()
{
    ResetElementEdges();
    // Nothing may keep pointing into the array.
    if (mSelectedElement && mSelectedElement->IsEdge())
        mSelectedElement = nullptr;
    mSelectedEdge = nullptr;
    mEdges.Free();
    mEdgeTypes.Free();
    mNumEdgeTypes = 0;
}

void Poly::SelectFace(FaceVert* element, bool asVertex)
{
    Shell& shell = GetShell();
    if (element && element->mPoly != this)
        InternalError("Illegal argument for SelectFace");
    if (element != mSelectedFace)
    {
        // Only one thing is selected at a time.
        if (element)
            ClearSelection();
        shell.InvalidateAllViews(false, 0);
    }
    else if (!asVertex)
        return;

    if (element)
    {
        mSelectedFace = nullptr;
        mShowDual = element->IsVert() != asVertex;
        element->GetStellation()->SetSelectedFace(element);
        const int typeIndex = FaceType::GetIndex(element->mFaceType);
        shell.SelectInfoElementItem(asVertex ? 3 : 1, typeIndex, asVertex == element->IsFace() ? 1 : 0);
        SetStatusText("Selected %s %s %d (type %d)", mShowDual ? "dual" : "base", asVertex ? "vertex" : "face",
                      FaceVert::GetNumber(element), FaceType::GetNumber(element->mFaceType));
    }
    else
    {
        SetStatusText("%s", "");
        shell.SelectInfoElementItem(1, -1, 0);
    }
    mSelectedFace = element;
    if (!element)
        return;
    mSelectedElement = element;
    if (asVertex)
        shell.ApplySphereCylinderSettings();
    shell.UpdatePivotOfLastActiveView();
}
