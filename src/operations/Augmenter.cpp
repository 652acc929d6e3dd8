#include "operations/Augmenter.h"

#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "stellation/FaceType.h"

AugmentTarget::AugmentTarget(FaceVert* face, AugmentTarget*& first, AugmentTarget*& last) : mFace(face)
{
    ListAppend(this, first, last);
    if (mFace && mFace->mFaceType)
        mFace->mFaceType->mFlags |= kFaceTypeAugmentTarget;
}

AugmentTarget::~AugmentTarget()
{
    FreePlacements();
    if (mFace && mFace->mFaceType)
        mFace->mFaceType->mFlags &= ~kFaceTypeAugmentTarget;
}

void AugmentTarget::FreePlacements()
{
    ListDeleteAll(mFirstPlacement, mLastPlacement);
    mCurrentPlacement = nullptr;
}

AugmentAttachNode::AugmentAttachNode(SimpleFace* face, AugmentAttachNode*& ring) : mFace(face)
{
    RingJoin(this, ring);
}

Augmenter::Augmenter() = default;

Augmenter::~Augmenter()
{
    FreeAttachRing();
    FreeTargets();
}

void Augmenter::FreeAttachRing()
{
    if (!mAttachRing)
        return;
    // Open the ring and delete it as a list.
    AugmentAttachNode* node = mAttachRing;
    node->prev->next = nullptr;
    while (node)
    {
        AugmentAttachNode* next = node->next;
        delete node;
        node = next;
    }
    mAttachRing = nullptr;
}

void Augmenter::FreeTargets()
{
    ListDeleteAll(mFirstTarget, mLastTarget);
}

void Augmenter::Clear()
{
    FreeAttachRing();
    FreeTargets();
    mAddedModel.reset();
    mTriangulations.clear();
    mFilePath.clear();
    mFlags = 0;
    mHeight = 0.0;
    mExplosion = 0.0;
    mTopRatio = 1.0;
    mFace = nullptr;
    if (mPreviewView)
    {
        void* view = mPreviewView;
        mPreviewView = nullptr;
        Shell& shell = GetShell();
        shell.SetViewMessage(view, std::string());
        shell.InvalidateView(view);
        shell.UpdateAllViewButtons();
    }
}

void Augmenter::Refresh()
{
    FreeAttachRing();
    FreeTargets();
}

bool Augmenter::PreviewHidesAttachFaces(const void* view) const
{
    return mPreviewView && view == mPreviewView && !(mFlags & kKeepCoincidentFaces) &&
           IsZeroTol(mExplosion, kTol);
}
