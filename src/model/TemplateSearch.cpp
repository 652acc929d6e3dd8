#include "model/TemplateMatching.h"

#include "kernel/Messages.h"
#include "model/CompoundPart.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymGroup.h"
#include "model/Vert.h"

// The search of template matching: which vertex to match next, one step, backing up to a branch
// point, and the whole run.

namespace
{
Vert* AsVert(FaceVert* e)
{
    return e && e->IsVert() ? static_cast<Vert*>(e) : nullptr;
}

Face* AsFace(FaceVert* e)
{
    return e && e->IsFace() ? static_cast<Face*>(e) : nullptr;
}

bool IsMatched(const Vert* v)
{
    return v->mPlacementStamp >= 0;
}
}  // namespace

bool Poly::CheckMatchable()
{
    for (FaceVert* e = mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        if (IsMatched(v) || !v->mNeedsCount)
            continue;
        if (v->CountMatches() == 0)
        {
            ErrorMessage("Failed: Found vertex with no possible match: '%s'", v->GetConfiguration());
            return false;
        }
    }
    return true;
}

Vert* Poly::NextVertexToMatch() const
{
    Vert* best = nullptr;
    for (FaceVert* e = mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        if (IsMatched(v))
            continue;
        if (v->mRemaining == 0)
            return nullptr;
        if (!best || v->mRemaining < best->mRemaining ||
            (v->mRemaining == best->mRemaining && v->mAttachedFaces > best->mAttachedFaces))
            best = v;
    }
    return best;
}

bool Poly::AddVertex(Vert* v)
{
    if (!v)
    {
        mMatchingStatus = mOpenBranches > 0 ? kMatchingOpenBranches : kMatchingFinished;
        mNumEdges = (mTemplate ? mTemplate->mValence : 0) * mVerts.mCount / 2;
        SetFaceTypes(nullptr, true, false);
        return true;
    }
    if (!DoNextMatch(v))
    {
        mMatchingStatus = kMatchingFailed;
        InternalError("DoNextMatch failed");
        return false;
    }
    if (!CreateFaces(v) || !CheckMatchable())
        return false;
    mMatchingStatus = kMatchingRunning;
    return true;
}

void RemoveVertex(Poly& poly, bool reset)
{
    if (poly.mNumPlaced <= 1)
        return;
    --poly.mNumPlaced;
    Vert* v = nullptr;
    for (FaceVert* e = poly.mVerts.mFirst; e && !v; e = e->mNext)
        if (static_cast<Vert*>(e)->mPlacementStamp == poly.mNumPlaced)
            v = static_cast<Vert*>(e);
    if (!v)
    {
        InternalError("RemoveVertex: Couldn't find vertex");
        return;
    }
    poly.mFullGroup.reset();
    poly.FreeEdges();
    poly.ClearAnalysis();
    CompoundPart::FreeList(poly.mFirstPart, poly.mLastPart);

    const int keepFaces = v->mFacesAtPlacement < 0 ? poly.mFaces.mCount : v->mFacesAtPlacement;
    while (poly.mFaces.mCount > keepFaces && poly.mFaces.mLast)
    {
        Face* f = static_cast<Face*>(poly.mFaces.mLast);
        for (int i = 0; i < f->mNumSides; ++i)
        {
            Vert* c = AsVert(f->mNeighbours[i]);
            if (!c)
                continue;
            const int pos = FaceVert::FindNeighbour(c, f, -1);
            if (pos < 0)
            {
                InternalError("Can't find link to face from vertex");
                continue;
            }
            c->SetFace(pos, nullptr);
            if (c->mAttachedFaces == 0 && c != v)
            {
                if (IsMatched(c))
                    InternalError("Deleting vertex which is still matched");
                for (int j = i + 1; j < f->mNumSides; ++j)
                    if (f->mNeighbours[j] == c)
                        f->mNeighbours[j] = nullptr;
                if (poly.mMatchingAnchor == c)
                {
                    poly.mMatchingAnchor = nullptr;
                    poly.mAnchorFree = true;
                }
                poly.mVerts.Remove(c);
            }
        }
        poly.mFaces.Remove(f);
    }

    if (reset || v->mRemaining <= 0)
    {
        if (v->mRemaining > 0)
            --poly.mOpenBranches;
        v->mCandidate = nullptr;
        v->mLevel = -1;
        v->mPlacementStamp = -1;
        v->mFacesAtPlacement = -1;
        if (poly.mMatchingAnchor == v)
        {
            poly.mMatchingAnchor = nullptr;
            poly.mAnchorFree = true;
        }
        v->mNeedsCount = true;
    }
    poly.CheckMatchable();
    poly.mMatchingStatus = Poly::kMatchingRunning;
    for (int i = 0; i < v->mNumSides; ++i)
    {
        Face* f = AsFace(v->mNeighbours[i]);
        if (!f)
            continue;
        int32_t id = 0;
        for (int c = 0; c < f->mNumSides; ++c)
        {
            const Vert* corner = AsVert(f->mNeighbours[c]);
            if (corner && corner != v && IsMatched(corner) && corner->mCandidate)
            {
                const int matchId = f->GetMatchIdAt(c);
                if (matchId > 0)
                    id |= matchId;
            }
        }
        f->mIdFlags = id;
    }
}

bool TakeBranch(Poly& poly)
{
    poly.FreeEdges();
    Vert* branch = nullptr;
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        if (IsMatched(v) && v->mRemaining > 0 && (!branch || v->mPlacementStamp > branch->mPlacementStamp))
            branch = v;
    }
    if (!branch)
    {
        InternalError("TakeBranch: Couldn't find a branch");
        return false;
    }
    while (poly.mNumPlaced > branch->mPlacementStamp)
    {
        const int before = poly.mNumPlaced;
        RemoveVertex(poly, false);
        if (poly.mNumPlaced == before)
            break;
    }
    const int remaining = branch->mRemaining;
    if (poly.AddVertex(branch))
        return true;
    // A branch whose choices ran out is closed, so that the search moves on to an earlier one.
    if (branch->mRemaining == remaining && remaining > 0)
    {
        branch->mRemaining = 0;
        --poly.mOpenBranches;
    }
    return false;
}

bool Poly::MatchStep()
{
    switch (mMatchingStatus)
    {
    case kMatchingFinished:
        return true;
    case kMatchingFailed:
        return false;
    case kMatchingOpenBranches:
        return TakeBranch(*this);
    default:
        break;
    }
    if (AddVertex(NextVertexToMatch()))
        return true;
    while (mOpenBranches > 0)
    {
        const int open = mOpenBranches;
        if (TakeBranch(*this))
            return true;
        if (mOpenBranches >= open && !mMatchingAnchor)
            break;
    }
    mMatchingStatus = kMatchingFailed;
    return false;
}

bool Poly::SolveMatching()
{
    int added = 0;
    while (mMatchingStatus == kMatchingRunning)
    {
        if (++added > kMaxAddedVertices)
        {
            mMatchingStatus = kMatchingFailed;
            ErrorMessage("Failed: The model does not close up: more than %d vertices were added.",
                         kMaxAddedVertices);
            return false;
        }
        MatchStep();
    }
    if (mMatchingStatus == kMatchingFailed)
        return false;
    if (mFlags & (kConvex | kRadiallyConvex | kNonSelfIntersecting))
    {
        for (FaceVert* e = mFaces.mFirst; e; e = e->mNext)
            e->mFlags |= FaceVert::kConvexHull;
        for (FaceVert* e = mVerts.mFirst; e; e = e->mNext)
            e->mFlags |= FaceVert::kConvexHull;
    }
    return true;
}

bool Poly::PrepareFromTemplate(PolyTemplate* templ, uint32_t flags)
{
    if (!Prepare(*this, templ, flags))
    {
        mMatchingStatus = kMatchingFailed;
        return false;
    }
    return SolveMatching();
}
