#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// Ends that agree within 1e-7 per component give squared lengths within this part of each other,
// plus 1, apart: a loose bound that only narrows the search.
constexpr double kLengthTol = 1e-4;

// The point is at the centre, or on the line of the axis direction.
bool IsOnAxisLine(const Vec3D& p, const Vec3D& axis)
{
    if (IsZeroTol(p[Vec3MaxAxis(p)], kTol))
        return true;
    return Vec3Parallel(axis, p, kTol);
}

// Both ends on one axis line drop the pair: every rotation about that axis fixes it, so it bounds
// no facet of the full symmetry. Otherwise swapped says whether a half-turn of the group swaps
// the ends.
bool TestAgainstAxes(const SymGroup& group, const Vec3D& p, const Vec3D& q, bool& swapped)
{
    swapped = false;
    Vec3D dir, mid;
    Vec3Sub(dir, q, p);
    Vec3Midpoint(mid, p, q);
    for (int s = 0; s < group.mNumAxisSets; ++s)
    {
        const SymAxisSet& set = group.mAxisSets[s];
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            const Vec3D& a = set.mAxes[i].mDir;
            if (IsOnAxisLine(p, a) && IsOnAxisLine(q, a))
                return false;
            if (set.mOrder % 2 == 0 && IsZeroTol(Vec3Dot(dir, a), kTol) && IsOnAxisLine(mid, a))
                swapped = true;
        }
    }
    return true;
}

int TypeIndexOf(const FaceVert* v)
{
    return FaceType::GetIndex(v ? v->mFaceType : nullptr);
}

// Squared length with a tolerance, then the types of the ends.
bool EdgeComesBefore(const FacetingEdge* a, const FacetingEdge* b)
{
    if (!WithinTol(a->mLengthSq, b->mLengthSq, kTol))
        return a->mLengthSq < b->mLengthSq;
    const int ta = TypeIndexOf(a->mVertA), tb = TypeIndexOf(b->mVertA);
    if (ta != tb)
        return ta < tb;
    return TypeIndexOf(a->mVertB) < TypeIndexOf(b->mVertB);
}

bool SameEnds(const FacetingEdge* e, const Vec3D& a, const Vec3D& b)
{
    return (Vec3Equal(e->mVertA->mPoint, a, kTol) && Vec3Equal(e->mVertB->mPoint, b, kTol)) ||
           (Vec3Equal(e->mVertA->mPoint, b, kTol) && Vec3Equal(e->mVertB->mPoint, a, kTol));
}
}  // namespace

bool Faceting::CreateEdges()
{
    SymGroup* group = GetGroup();
    if (!group)
        return false;
    if (!ShowProgress(0.0, "Faceting preparation: creating edges"))
        return false;

    for (FaceType* s = mVertexTypes; s; s = s->mNextFaceType)
    {
        if (!IsVertexType(s))
            continue;
        FaceVert* p = s->mFirstFace;
        const int h = s->mNumRotations > 1 ? s->mNumRotations : 1;
        double sinH = 0.0, cosH = 1.0;
        if (h > 1)
            SineTable::SinCos(1, h, sinH, cosH);
        for (FaceType* t = s; t; t = t->mNextFaceType)
        {
            if (!IsVertexType(t))
                continue;
            for (FaceVert* q = t->mFirstFace; q; q = q->mNextOfType)
            {
                if (q == p || !IsCandidateVert(q))
                    continue;
                if (h > 1)
                {
                    // One q per orbit of the turns about p's axis: its angle about the axis in
                    // [0, 2 pi / h).
                    const double x = Vec3Dot(q->mPoint, p->mXAxis);
                    const double y = Vec3Dot(q->mPoint, p->mYAxis);
                    if (y < -kTol)
                        continue;
                    const bool onAxis = IsZeroTol(x, kTol) && y <= kTol;
                    const double side = x * sinH - y * cosH;
                    if (!onAxis && !(side > kTol) && !(IsZeroTol(side, kTol) && h <= 2 && x >= 0.0))
                        continue;
                }
                bool swapped = false;
                if (!TestAgainstAxes(*group, p->mPoint, q->mPoint, swapped))
                    continue;
                if (s == t && FindEdge(p->mPoint, q->mPoint))
                    continue;
                Vec3D d;
                Vec3Sub(d, q->mPoint, p->mPoint);
                FacetingEdge* e = new FacetingEdge(*this, p, q, Vec3LengthSq(d));
                if (swapped)
                    e->mFlags |= kFacetingEdgeHalfTurned;
            }
        }
    }
    return true;
}

FacetingEdge* Faceting::FindEdge(const Vec3D& a, const Vec3D& b, bool* reversed) const
{
    // A rotation keeps the length: only classes of about the same length can match.
    Vec3D d;
    Vec3Sub(d, b, a);
    const double lengthSq = Vec3LengthSq(d);
    std::vector<FacetingEdge*> candidates;
    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
    {
        if (WithinTol(e->mLengthSq, lengthSq, kLengthTol * (1.0 + lengthSq)))
            candidates.push_back(e);
    }
    if (candidates.empty())
        return nullptr;
    for (const Mat3& m : GetRotations())
    {
        Vec3D ma, mb;
        m.Transform(ma, a);
        m.Transform(mb, b);
        for (FacetingEdge* e : candidates)
        {
            const Vec3D& ea = e->mVertA->mPoint;
            const Vec3D& eb = e->mVertB->mPoint;
            if (Vec3Equal(ea, ma, kTol) && Vec3Equal(eb, mb, kTol))
            {
                if (reversed)
                    *reversed = false;
                return e;
            }
            if (Vec3Equal(ea, mb, kTol) && Vec3Equal(eb, ma, kTol))
            {
                if (reversed)
                    *reversed = true;
                return e;
            }
        }
    }
    return nullptr;
}

void Faceting::FindChiralEdges()
{
    std::vector<FacetingEdge*> sorted;
    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
        sorted.push_back(e);
    // A comparison within a tolerance is no strict order; a merge sort stays inside the array
    // whatever it meets.
    std::stable_sort(sorted.begin(), sorted.end(), EdgeComesBefore);
    mFirstEdge = mLastEdge = nullptr;
    for (FacetingEdge* e : sorted)
        ListAppend(e, mFirstEdge, mLastEdge);
    RenumberEdges();

    const SymGroup* group = GetGroup();
    Mat3 reflection;
    if (!group || group->mReflection == SymGroup::kChiral || !group->GetReflectionMatrix(reflection))
        return;

    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
    {
        FacetingEdge* runEnd = e->next;
        while (runEnd && WithinTol(runEnd->mLengthSq, e->mLengthSq, kTol))
            runEnd = runEnd->next;
        if (runEnd == e->next)
        {
            // No other edge has its length: it can only be its own mirror image.
            e->mFlags |= kFacetingEdgeReflexible;
            continue;
        }
        Vec3D ra, rb;
        reflection.Transform(ra, e->mVertA->mPoint);
        reflection.Transform(rb, e->mVertB->mPoint);
        FacetingEdge* hit = nullptr;
        for (const Mat3& m : GetRotations())
        {
            if (hit)
                break;
            Vec3D ma, mb;
            m.Transform(ma, ra);
            m.Transform(mb, rb);
            for (FacetingEdge* c = e; c != runEnd && !hit; c = c->next)
            {
                if (SameEnds(c, ma, mb))
                    hit = c;
            }
        }
        if (hit == e)
            e->mFlags |= kFacetingEdgeReflexible;
        else if (hit)
        {
            e->mFlags |= kFacetingEdgeChiralFirst;
            hit->mFlags |= kFacetingEdgeChiralSecond;
            if (hit != e->next)
            {
                ListRemove(hit, mFirstEdge, mLastEdge);
                ListInsertBefore(e->next, hit, mFirstEdge, mLastEdge);
            }
            e = hit;
        }
        else
        {
            InternalError("Faceting::FindChiralEdges - Not found");
            DebugTrace("  Edge %d: V %d-%d: no chiral partner\n", e->mIndex, FaceVert::GetIndex(e->mVertA),
                       FaceVert::GetIndex(e->mVertB));
        }
    }
    // A partner moved next to its edge keeps the number of its sorted place: the search breaks
    // ties between edges by that number.
}

void Faceting::RenumberEdges()
{
    int index = 0;
    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
        e->mIndex = index++;
}
