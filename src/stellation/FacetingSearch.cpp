#include "kernel/Progress.h"
#include "kernel/Shell.h"
#include "model/StellationOptions.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
bool HasOtherMirror(const FacetingFace* face)
{
    return face->mMirror && face->mMirror != face;
}

bool HasLeaderIn(const FacetingFace* face, const FacetPlaneVert* leader)
{
    const int n = face->GetNumBaseVerts();
    for (int i = 0; i < n; ++i)
    {
        if (face->mVerts[size_t(i)]->mLeader == leader)
            return true;
    }
    return false;
}

int HitsOn(const FacetingFace* face, const FacetingEdge* edge)
{
    int hits = 0;
    for (const FaceUse& use : face->mUses)
        hits += use.mEdge == edge ? use.mNumHits : 0;
    return hits;
}
}  // namespace

FacetingFace* Faceting::GetFirstFace() const
{
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        if (p->mFirstFace)
            return p->mFirstFace;
    }
    return nullptr;
}

FacetingFace* Faceting::GetLastFace() const
{
    for (FacetPlane* p = mLastPlane; p; p = p->prev)
    {
        if (p->mLastFace)
            return p->mLastFace;
    }
    return nullptr;
}

void Faceting::AddFaceWithMirror(FacetingFace* face)
{
    AddFace(face);
    if (!IsReflexibilityMaintained() || !HasOtherMirror(face))
        return;
    face->mMirror->mDepth = face->mDepth;
    if (size_t(mNumFacets) < mStack.size())
        mStack[size_t(mNumFacets)] = StackEntry();
    AddFace(face->mMirror);
}

void Faceting::ReleaseDepth()
{
    if (size_t(mNumFacets) >= mStack.size())
        return;
    const FacetingEdge* edge = mStack[size_t(mNumFacets)].mEdge;
    if (!edge)
        return;
    for (FaceUse* use = edge->mUses; use; use = use->mNextOfEdge)
    {
        FacetingFace* f = use->mFace;
        if (f->mDepth != mNumFacets)
            continue;
        f->mDepth = -1;
        // Only a mirror marked at this depth: one tried higher up stays tried.
        if (f->mMirror && f->mMirror->mDepth == mNumFacets)
            f->mMirror->mDepth = -1;
    }
}

void Faceting::Reset(bool force, bool keepCounters)
{
    if (!mFirstFacet && !force)
        return;
    while (mLastFacet)
        RemoveFace(mLastFacet);
    if (!keepCounters)
    {
        mTotalCount = BigUInt();
        mChiralCount = BigUInt();
        mCompoundCount = BigUInt();
        mTime = Duration();
    }
    mNumFacets = 0;
    mNumUnmatchedChirals = 0;
    mIsChiralCompound = false;
    mResume = false;
    mPendingMirror = nullptr;
    mNumVertexTypesUsed = 0;
    mUnitingFace = -1;
    mFirstFacet = mLastFacet = nullptr;
    while (mFirstOpenEdge)
        UnopenEdge(mFirstOpenEdge);
    mNumOpenEdges = 0;
    if (!mFirstPlane)
        return;
    for (int32_t& uses : mVertexTypeUses)
        uses = 0;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        for (FacetPlaneVert* v = p->mFirstVert; v; v = v->next)
            v->mUseCount = 0;
        for (FacetingFace* f = p->mFirstFace; f; f = f->next)
        {
            f->mDepth = -1;
            f->mFlags &= ~(kFacetingFaceUsed | kFacetingFaceUnreached);
        }
    }
    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
        UnopenEdge(e);
    for (StackEntry& entry : mStack)
        entry = StackEntry();
}

bool Faceting::CanAddFaceWithMirror(const FacetingFace* face, uint32_t mask) const
{
    if (!IsReflexibilityMaintained() || !HasOtherMirror(face))
        return CanAddFace(face, mask);
    const FacetingFace* mirror = face->mMirror;
    if (face->mFlags & (mask | kFacetingFaceNoMirrorTogether))
        return false;
    if ((GetFacetingSettings().options & kFacetingSpikyOnly) && (face->mFlags & kFacetingFaceSpiky))
        return false;
    // Each edge class either image uses: its uses so far and the hits of both add up to two at
    // most, and neither image meets a facet of its own plane (or the other image in it) there.
    auto edgeOk = [&](const FacetingFace* f, const FacetingFace* other, const FaceUse& use) {
        const FacetingEdge* e = use.mEdge;
        if (e->mFlags & kFacetingEdgeClosed)
            return false;
        const int otherHits = HitsOn(other, e);
        const int existing = (e->mFlags & kFacetingEdgeOpen) ? 1 : 0;
        if (existing + HitsOn(f, e) + otherHits > 2)
            return false;
        if (existing && e->mOpenedBy && e->mOpenedBy->mFace->mPlane == f->mPlane)
            return false;
        return otherHits == 0 || other->mPlane != f->mPlane;
    };
    for (const FaceUse& use : face->mUses)
    {
        if (!edgeOk(face, mirror, use))
            return false;
    }
    for (const FaceUse& use : mirror->mUses)
    {
        if (!edgeOk(mirror, face, use))
            return false;
    }
    if (IsTidyFacetingCriterion(GetFacetingSettings().criterion))
    {
        for (const FacetingFace* f : {face, mirror})
        {
            const int n = f->GetNumBaseVerts();
            for (int i = 0; i < n; ++i)
            {
                const FacetPlaneVert* leader = f->mVerts[size_t(i)]->mLeader;
                if (leader->mUseCount > 0 || (f == face && mirror->mPlane == face->mPlane && HasLeaderIn(mirror, leader)))
                    return false;
            }
        }
    }
    return true;
}

FacetingEdge* Faceting::ChooseOpenEdge() const
{
    const bool united = mNumFacets >= mUnitingFace;
    FacetingEdge* best = nullptr;
    int bestCount = INT_MAX;
    for (FacetingEdge* e = mFirstOpenEdge; e; e = e->mNextOpen)
    {
        if (!united && e->mOpenedBy && (e->mOpenedBy->mFace->mFlags & kFacetingFaceUnreached))
            continue;
        const int count = e->CountCandidates();
        if (count < bestCount || (count == bestCount && e->mIndex < best->mIndex))
        {
            best = e;
            bestCount = count;
        }
    }
    return best;
}

bool Faceting::IsComplete()
{
    const FacetingSettings& s = GetFacetingSettings();
    if (mNumVertexTypesUsed < mNumVertexTypes && !(s.options & kFacetingPartialOK))
        return false;
    if (mNumFacets > s.maxFacets || mNumFacets < mUnitingFace)
        return false;
    if (mNumFacets >= s.minFacets)
        return true;
    const int64_t twice = 2 * int64_t(mNumFacets);
    if (mNumFacets > 0 && mNumFacets == mNumUnmatchedChirals && twice >= s.minFacets && twice <= s.maxFacets)
        return AddAllMirrors();
    return false;
}

bool Faceting::AddAllMirrors()
{
    std::vector<FacetingFace*> half;
    for (FacetingFace* f = mLastFacet; f; f = f->mPrevFacet)
        half.push_back(f);
    // One by one, so that the mirror images are checked against each other too.
    size_t added = 0;
    for (FacetingFace* f : half)
    {
        if (!f->mMirror || !CanAddFaceWithMirror(f->mMirror, 0))
            break;
        AddFace(f->mMirror);
        ++added;
    }
    if (added < half.size())
    {
        for (; added > 0; --added)
            RemoveFace(mLastFacet);
        return false;
    }
    mIsChiralCompound = true;
    return true;
}

void Faceting::RemoveMirrorHalf()
{
    for (int n = mNumFacets / 2; n > 0 && mLastFacet; --n)
        RemoveFace(mLastFacet);
    mIsChiralCompound = false;
}

bool Faceting::TryIsohedral(FacetingFace* r, bool backwards)
{
    const bool reflexibility = IsReflexibilityMaintained();
    if (r->mFlags & kFacetingFaceChiralSecond)
    {
        FacetingFace* mirror = r->mMirror;
        if (!mirror || !CanAddFaceWithMirror(mirror, 0))
            return false;
        FacetingFace* first = backwards ? r : mirror;
        FacetingFace* second = backwards ? mirror : r;
        if (reflexibility)
            AddFaceWithMirror(first);
        else
        {
            AddFace(first);
            if (!CanAddFace(second, 0))
                return false;
            AddFace(second);
        }
        if (mNumOpenEdges > 0)
            return false;
    }
    else
    {
        if (!(r->mFlags & kFacetingFaceSelfClosed))
            return false;
        if (reflexibility && HasOtherMirror(r))
            return false;
        if (!CanAddFaceWithMirror(r, 0))
            return false;
        AddFaceWithMirror(r);
    }
    return mNumVertexTypesUsed >= mNumVertexTypes || (GetFacetingSettings().options & kFacetingPartialOK);
}

bool Faceting::FindNextIsohedral(bool backwards)
{
    // A chiral facet with its mirror image is one faceting, found at the second of the pair
    // whichever way the search goes.
    FacetingFace* r = mFirstFacet;
    if (r && HasOtherMirror(r) && (r->mMirror->mFlags & kFacetingFaceUsed) && !(r->mFlags & kFacetingFaceChiralSecond))
        r = r->mMirror;
    for (;;)
    {
        while (mLastFacet)
            RemoveFace(mLastFacet);
        if (backwards)
            r = r ? r->GetPrevious() : GetLastFace();
        else
            r = r ? r->GetNext() : GetFirstFace();
        if (!r)
        {
            Reset(true, true);
            return false;
        }
        if (TryIsohedral(r, backwards))
            return true;
    }
}

bool Faceting::FindNext()
{
    if (!mFirstPlane)
        return false;
    mCancelled = false;
    const FacetingSettings& s = GetFacetingSettings();
    if (s.criterion == kFacetingIsohedral)
        return FindNextIsohedral(false);
    // Every facet of a faceting but the self-closed ones shares an edge class with another.
    if (mStack.size() < 2 * size_t(mNumEdges) + 2)
        mStack.resize(2 * size_t(mNumEdges) + 2);
    const bool reflexibility = IsReflexibilityMaintained();

    FacetingFace* pending = nullptr;
    bool backtrack = mNumOpenEdges == 0;
    if (mResume)
    {
        pending = mPendingMirror;
        backtrack = mResumeBacktrack;
        mResume = false;
    }
    else if (mIsChiralCompound)
        RemoveMirrorHalf();
    else if (mNumFacets > 0 && mNumFacets == mNumUnmatchedChirals && mNumOpenEdges == 0 &&
             int64_t(s.maxFacets) >= 2 * int64_t(mNumFacets) && AddAllMirrors())
        return true;

    ProgressScope progress;
    SetProgressShowRemaining(false);
    int64_t iterations = 0;
    for (;;)
    {
        if (++iterations % 100 == 0 &&
            !ShowProgress(double(iterations) / double(iterations + 10000), "Finding next faceting."))
        {
            mCancelled = true;
            mResume = true;
            mResumeBacktrack = backtrack;
            mPendingMirror = pending;
            return false;
        }

        if (backtrack)
        {
            pending = nullptr;
            if (mNumFacets <= 1)
            {
                mUnitingFace = -1;
                FacetingFace* candidate;
                if (mFirstFacet)
                {
                    candidate = mFirstFacet->GetNext();
                    ReleaseDepth();
                    RemoveFace(mFirstFacet);
                }
                else
                    candidate = GetFirstFace();
                while (candidate && (candidate->mDepth != -1 || !CanAddFaceWithMirror(candidate, 0)))
                {
                    candidate->mDepth = 0;
                    candidate = candidate->GetNext();
                }
                if (!candidate)
                {
                    Reset(true, true);
                    return false;
                }
                candidate->mDepth = 0;
                AddFaceWithMirror(candidate);
                FacetingEdge* edge = ChooseOpenEdge();
                StackEntry& entry = mStack[size_t(mNumFacets)];
                entry.mEdge = edge;
                entry.mNextUse = edge ? edge->mUses : nullptr;
                if (mNumUnmatchedChirals == 1 && candidate->mMirror && candidate->mMirror->mDepth == -1)
                {
                    candidate->mMirror->mDepth = 0;
                    pending = candidate->mMirror;
                }
                if (!edge)
                {
                    if (mNumOpenEdges == 0 && IsComplete())
                        return true;
                    continue;
                }
                backtrack = false;
            }
            else
            {
                ReleaseDepth();
                RemoveFace(mLastFacet);
                while (reflexibility && mNumUnmatchedChirals > 0 && mLastFacet)
                    RemoveFace(mLastFacet);
                backtrack = mNumOpenEdges == 0;
                continue;
            }
        }

        // Forward: the pending mirror image first, else the next candidate of this depth's edge.
        StackEntry& entry = mStack[size_t(mNumFacets)];
        FacetingFace* chosen = nullptr;
        const bool wasPending = pending && CanAddFaceWithMirror(pending, 0);
        if (wasPending)
        {
            chosen = pending;
            if (mNumFacets == 1)
                mUnitingFace = INT_MAX;
            if (mNumFacets < mUnitingFace)
                chosen->mFlags |= kFacetingFaceUnreached;
        }
        pending = nullptr;
        if (!chosen && entry.mEdge)
        {
            const FacetPlane* openerPlane = entry.mEdge->mOpenedBy ? entry.mEdge->mOpenedBy->mFace->mPlane : nullptr;
            FaceUse* use = entry.mNextUse;
            for (; use; use = use->mNextOfEdge)
            {
                FacetingFace* f = use->mFace;
                if (f->mDepth != -1)
                    continue;
                f->mDepth = mNumFacets;
                if (f->mPlane != openerPlane && CanAddFaceWithMirror(f, kFacetingFaceSelfClosed))
                {
                    chosen = f;
                    break;
                }
                if (mNumUnmatchedChirals == 0 && HasOtherMirror(f) && f->mMirror->mDepth == -1)
                    f->mMirror->mDepth = mNumFacets;
            }
            entry.mNextUse = use ? use->mNextOfEdge : nullptr;
        }
        if (!chosen)
        {
            backtrack = true;
            continue;
        }

        AddFaceWithMirror(chosen);
        const int d = mNumFacets;
        if (d < mUnitingFace)
        {
            for (const FaceUse& use : chosen->mUses)
            {
                const FaceUse* opener = use.mEdge->mOpenedBy;
                if (opener && ((opener->mFace->mFlags & kFacetingFaceUnreached) != 0) != wasPending)
                {
                    mUnitingFace = d;
                    break;
                }
            }
        }
        if (mNumUnmatchedChirals == 1 && HasOtherMirror(mLastFacet) && mLastFacet->mMirror->mDepth == -1)
        {
            pending = mLastFacet->mMirror;
            pending->mDepth = d - 1;
        }

        FacetingEdge* edge = ChooseOpenEdge();
        StackEntry& next = mStack[size_t(d)];
        next.mEdge = edge;
        next.mNextUse = edge ? edge->mUses : nullptr;
        if (edge)
        {
            backtrack = d >= s.maxFacets;
            continue;
        }
        if (mNumOpenEdges == 0 && IsComplete())
            return true;
        backtrack = true;
    }
}

bool Faceting::FindPrevious()
{
    if (!mFirstPlane)
        return false;
    if (GetFacetingSettings().criterion == kFacetingIsohedral)
        return FindNextIsohedral(true);
    if (mIsChiralCompound)
    {
        RemoveMirrorHalf();
        return true;
    }
    GetShell().DiscardLastUndo();
    char text[512];
    std::snprintf(text, sizeof(text),
                  "Sorry, going to the previous faceting has only\nbeen implemented when using the isohedral "
                  "criteria.\n(See \"%s\").\n\nIf you want to go back to a faceting you just\npassed, try using "
                  "Ctrl+Z to undo instead.",
                  kIsohedralCriterionText);
    GetShell().SetViewMessage(nullptr, text);
    return false;
}
