#include "stellation/FaceTypePreparation.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr uint32_t kOrdered = FaceVert::kSkip;

// The ring from the face on, at most limit members: a broken ring stops where its links do.
std::vector<FaceVert*> CollectRing(FaceVert* face, int limit)
{
    std::vector<FaceVert*> ring;
    FaceVert* e = face;
    do
    {
        ring.push_back(e);
        e = e->mNextCoplanar;
    } while (e && e != face && int(ring.size()) < limit);
    return ring;
}

bool ByTypeThenIndex(const FaceVert* a, const FaceVert* b)
{
    const int ta = FaceType::GetIndex(a->mFaceType);
    const int tb = FaceType::GetIndex(b->mFaceType);
    if (ta != tb)
        return ta < tb;
    return a->mIndex < b->mIndex;
}

bool ByCentroidThenIndex(const FaceVert* a, const FaceVert* b)
{
    if (const int c = Vec3Compare(a->mCentroid, b->mCentroid, kSymTol))
        return c < 0;
    return a->mIndex < b->mIndex;
}

// Into [0, period) with the tolerance at both ends.
double WrapAngle(double angle, double period)
{
    if (angle < -kTol)
        angle += 2.0 * kPi;
    while (angle > period - kTol)
        angle -= period;
    return angle;
}

bool CentroidAtOrigin(const FaceVert* face)
{
    return Vec3IsZero(face->mCentroid, kTol);
}

// v turned half round the unit axis.
Vec3D HalfTurn(const Vec3D& v, const Vec3D& axis)
{
    Vec3D out;
    Vec3Scale(out, axis, 2.0 * Vec3Dot(axis, v));
    Vec3SubFrom(out, v);
    return out;
}

// The x axis of a member that lies the other way round in the plane, turned over so that its angle
// compares with those of members that do not.
Vec3D TurnedOverX(const FaceVert* member)
{
    if (CentroidAtOrigin(member))
    {
        const Vec3D* axis = member->FindHalfTurnAxis();
        return axis ? HalfTurn(member->mXAxis, *axis) : member->mXAxis;
    }
    Vec3D axis = member->mCentroid;
    Vec3Normalize(axis);
    return HalfTurn(member->mXAxis, axis);
}

// Puts the members of the sorted ring of face into the places that correspond, run of one type by
// run, to the members of the reference ring, by the angles of their frames about the plane.
void MatchReferenceOrder(std::vector<FaceVert*>& ring, const FaceVert* face, const FaceVert* reference)
{
    const int n = int(ring.size());
    const FaceVert* atReference = reference;
    for (int start = 0; start < n;)
    {
        int end = start;
        while (end < n && ring[size_t(end)]->mFaceType == ring[size_t(start)]->mFaceType)
            ++end;
        const FaceVert* lead = ring[size_t(start)];
        const bool turnsOver = lead->FindHalfTurnAxis() != nullptr;
        int alike = 0;
        for (int j = start; j < end; ++j)
            alike += turnsOver || Vec3Dot(ring[size_t(j)]->mZAxis, lead->mZAxis) > 0.0;
        const int rotations = lead->mFaceType ? lead->mFaceType->mNumRotations : 1;
        const int q = std::max(rotations / std::max(alike, 1), 1);
        const double period = 2.0 * kPi / q;

        for (int k = start; k < end; ++k)
        {
            const FaceVert* r = atReference;
            atReference = atReference ? atReference->mNextCoplanar : nullptr;
            if (!r)
                break;
            const double wanted =
                WrapAngle(Vec3SignedAngle(reference->mXAxis, r->mXAxis, reference->mZAxis), period);
            const bool wantedAgainst = Vec3Dot(r->mZAxis, reference->mZAxis) < 0.0;
            int found = -1;
            for (int j = k; j < end && found < 0; ++j)
            {
                const FaceVert* member = ring[size_t(j)];
                const bool against = Vec3Dot(member->mZAxis, face->mZAxis) < 0.0;
                Vec3D x = member->mXAxis;
                if (against != wantedAgainst)
                {
                    if (!turnsOver)
                        continue;
                    x = TurnedOverX(member);
                }
                const double angle = WrapAngle(Vec3SignedAngle(face->mXAxis, x, face->mZAxis), period);
                if (WithinTol(angle, wanted, kTol))
                    found = j;
            }
            if (found < 0)
            {
                InternalError("Can't match coplanar face order");
                continue;
            }
            std::swap(ring[size_t(k)], ring[size_t(found)]);
        }
        start = end;
    }
}

void RelinkRing(const std::vector<FaceVert*>& ring)
{
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i)
    {
        ring[i]->mNextCoplanar = ring[(i + 1) % n];
        if (i > 0)
            ring[i]->mFlags |= kOrdered;
    }
}

void MarkConcentric(std::vector<FaceVert*> ring)
{
    std::stable_sort(ring.begin(), ring.end(), ByCentroidThenIndex);
    for (size_t i = 0; i + 1 < ring.size(); ++i)
    {
        if (!Vec3Equal(ring[i]->mCentroid, ring[i + 1]->mCentroid, kSymTol))
            continue;
        ring[i]->mFlags |= FaceVert::kIsCopConcentric;
        ring[i + 1]->mFlags |= FaceVert::kIsCopConcentric | FaceVert::kSkipCopConcentric;
    }
}
}  // namespace

void SortCoplanarFaces(Stellation* stellation)
{
    ElemList* list = stellation ? stellation->GetFaceList() : nullptr;
    if (!list)
        return;
    // The concentric marks go too: they are found again from the rings as they are now.
    for (FaceVert* e = list->mFirst; e; e = e->mNext)
        e->mFlags &= ~(kOrdered | FaceVert::kIsCopConcentric | FaceVert::kSkipCopConcentric);
    const int limit = std::max(list->mCount, 1);
    std::vector<bool> done(size_t(limit), false);
    auto isDone = [&](const FaceVert* e) { return e->mIndex >= 0 && e->mIndex < limit && done[size_t(e->mIndex)]; };

    for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource || !type->mFirstFace || !type->mFirstFace->mNextCoplanar)
            continue;
        const FaceVert* reference = nullptr;
        for (FaceVert* face = type->mFirstFace; face; face = face->mNextOfType)
        {
            // A ring is ordered once, from the first of its members met here.
            if (!face->mNextCoplanar || (face->mFlags & kOrdered) || isDone(face))
                continue;
            std::vector<FaceVert*> ring = CollectRing(face, limit);
            std::stable_sort(ring.begin(), ring.end(), ByTypeThenIndex);
            if (!reference)
                reference = face;
            else
                MatchReferenceOrder(ring, face, reference);
            RelinkRing(ring);
            for (const FaceVert* e : ring)
                if (e->mIndex >= 0 && e->mIndex < limit)
                    done[size_t(e->mIndex)] = true;
            MarkConcentric(ring);
        }
    }
}

void CopyCoplanarInfo(FaceType* type)
{
    if (!type || !type->mCoplanarSource)
        return;
    FaceType* source = type->mCoplanarSource;
    FaceVert* sourceFirst = source->mFirstFace;
    if (type->mFirstFace && sourceFirst && !FaceVert::IsInRingOf(type->mFirstFace, sourceFirst))
    {
        FaceVert* member = nullptr;
        const int limit = sourceFirst->mList ? sourceFirst->mList->mCount : 1 << 20;
        int steps = 0;
        for (FaceVert* e = sourceFirst->mNextCoplanar; e && e != sourceFirst && steps < limit && !member;
             e = e->mNextCoplanar, ++steps)
            if (e->mFaceType == type)
                member = e;
        if (!member)
        {
            InternalError("CopyCoplanarInfo: Couldn't find coplanar face");
            return;
        }
        FaceVert* before = type->mFirstFace;
        while (before && before->mNextOfType != member)
            before = before->mNextOfType;
        if (!before)
        {
            InternalError("CopyCoplanarInfo: Can't find face in list");
            return;
        }
        before->mNextOfType = member->mNextOfType;
        if (type->mLastFace == member)
            type->mLastFace = before;
        member->mNextOfType = type->mFirstFace;
        type->mFirstFace = member;
    }
    type->mFacets = source->mFacets;
    type->mLastFacet = source->mLastFacet;
    type->mUsedFacets = nullptr;
    type->mInnermostRegion = source->mInnermostRegion;
    type->mFirstRegion = source->mFirstRegion;
    type->mLastRegion = source->mLastRegion;
    type->mNumRegions = source->mNumRegions;
    type->mLineEqns = source->mLineEqns;
    type->mOuterVerts = source->mOuterVerts;
    type->mVerts = source->mVerts;
    type->mOuterEdge = source->mOuterEdge;
    type->mDiagramRadius = source->mDiagramRadius;
}
