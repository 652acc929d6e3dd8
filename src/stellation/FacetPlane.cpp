#include "stellation/FacetPlane.h"

#include "kernel/Messages.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetPlaneEdge.h"
#include "stellation/FacetPlaneVert.h"

#include <vector>

FacetPlaneVert* FacetPlaneVert::Advance(int steps)
{
    FacetPlaneVert* v = this;
    for (int i = 0; i < steps && v->mNextInCycle; ++i)
        v = v->mNextInCycle;
    return v;
}

FacetPlaneEdge* FacetPlaneVert::NextEdge(const FacetPlaneEdge* e) const
{
    return e ? e->NextAt(this) : mEdges;
}

FacetPlane::FacetPlane(Faceting* owner, const Vec3D& normal, double d, int numRots, SymGroup* group)
    : mOwner(owner), mNormal(normal), mD(d), mNumRots(numRots > 0 ? numRots : 1)
{
    ListAppend(this, owner->mFirstPlane, owner->mLastPlane);
    ++owner->mNumPlanes;
    if (IsZeroTol(d, kTol))
    {
        mFlags |= kFacetPlaneThroughCentre;
        if (const SymAxis* axis = group ? group->FindPerpendicularAxis(normal) : nullptr)
        {
            mFlags |= kFacetPlaneHemi;
            mHalfTurnAxis = &axis->mDir;
        }
    }
    Vec3Perpendicular(mU, mNormal);
    Vec3Normalize(mU);
    Vec3Cross(mV, mNormal, mU);
}

FacetPlane::~FacetPlane()
{
    while (mFirstFace)
        delete mFirstFace;
    ListDeleteAll(mFirstEdge, mLastEdge);
    ListDeleteAll(mFirstVert, mLastVert);
    ListRemove(this, mOwner->mFirstPlane, mOwner->mLastPlane);
    --mOwner->mNumPlanes;
}

FacetPlane* FacetPlane::GetMirrorPlane()
{
    if ((mFlags & kFacetPlaneChiral) && next)
        return next;
    if ((mFlags & kFacetPlaneMirrorImage) && prev)
        return prev;
    return this;
}

Vec2D FacetPlane::Project2D(const Vec3D& p) const
{
    return {Vec3Dot(mU, p), Vec3Dot(mV, p)};
}

void FacetPlane::AddVerts(FaceVert* a, FaceVert* b, FaceType* firstType)
{
    TraceScope trace("AddVerts");
    auto add = [this](FaceVert* v) {
        ListAppend(new FacetPlaneVert(v, Project2D(v->mPoint)), mFirstVert, mLastVert);
        ++mNumVerts;
    };
    if (a)
        add(a);
    if (b)
        add(b);
    for (FaceType* t = firstType; t; t = t->mNextFaceType)
    {
        if (!Faceting::IsVertexType(t))
            continue;
        for (FaceVert* v = t->mFirstFace; v; v = v->mNextOfType)
        {
            if (v != a && v != b && Faceting::IsCandidateVert(v) &&
                IsZeroTol(Vec3Dot(mNormal, v->mPoint) + mD, kTol))
                add(v);
        }
    }
    GroupVertsOfType();
}

FacetPlaneEdge* FacetPlane::FindEdgeBetween(FacetPlaneVert* a, FacetPlaneVert* b, const FacetPlaneEdge* skip) const
{
    for (FacetPlaneEdge* e = a->mEdges; e; e = e->NextAt(a))
    {
        if (e != skip && e->GetOther(a) == b)
            return e;
    }
    return nullptr;
}

void FacetPlane::GroupVertsOfType()
{
    TraceScope trace("GroupVertsOfType");
    for (FacetPlaneVert* r = mFirstVert; r; r = r->next)
    {
        if (r->mNextInCycle)
            continue;
        r->mFlags |= kFacetPlaneVertLeader;
        r->mCycleIndex = 0;
        r->mLeader = r;
        FacetPlaneVert* last = r;
        const bool atCentre = IsZeroTol(r->mPos.x, kTol) && IsZeroTol(r->mPos.y, kTol);
        if (mNumRots != 1 && !atCentre)
        {
            for (int step = 1; step < mNumRots; ++step)
            {
                double s, c;
                SineTable::SinCos(step, mNumRots, s, c);
                const Vec2D turned = {r->mPos.x * c - r->mPos.y * s, r->mPos.x * s + r->mPos.y * c};
                FacetPlaneVert* found = nullptr;
                for (FacetPlaneVert* q = r->next; q && !found; q = q->next)
                {
                    if (!q->mNextInCycle && q != last && Vec2Equal(q->mPos, turned, kTol))
                        found = q;
                }
                if (!found)
                {
                    InternalError("Faceting: Couldn't group vertices of same type.");
                    continue;
                }
                found->mCycleIndex = step;
                found->mLeader = r;
                last->mNextInCycle = found;
                last = found;
            }
        }
        last->mNextInCycle = r;
    }

    if (!mHalfTurnAxis)
        return;
    const Vec2D axis = Project2D(*mHalfTurnAxis);
    const double x0 = axis.x, y0 = axis.y;
    for (FacetPlaneVert* v = mFirstVert; v; v = v->next)
    {
        if (v->mFlipped)
            continue;
        const Vec2D flipped = {(1.0 - 2.0 * y0 * y0) * v->mPos.x + 2.0 * x0 * y0 * v->mPos.y,
                               2.0 * x0 * y0 * v->mPos.x + (1.0 - 2.0 * x0 * x0) * v->mPos.y};
        FacetPlaneVert* found = nullptr;
        for (FacetPlaneVert* q = v; q && !found; q = q->next)
        {
            if (!q->mFlipped && Vec2Equal(q->mPos, flipped, kTol))
                found = q;
        }
        if (!found)
        {
            InternalError("Faceting: Couldn't find vertices flipped in hemi plane.");
            continue;
        }
        v->mFlipped = found;
        found->mFlipped = v;
        found->mFlags |= kFacetPlaneVertFlipped;
    }
}

void FacetPlane::LinkEdge(FacetPlaneEdge* e)
{
    ListAppend(e, mFirstEdge, mLastEdge);
    e->mNextAtA = e->mVertA->mEdges;
    e->mVertA->mEdges = e;
    e->mNextAtB = e->mVertB->mEdges;
    e->mVertB->mEdges = e;
}

void FacetPlane::CreateEdgeOrbit(FacetPlaneVert* a, FacetPlaneVert* b, FacetingEdge* edge, uint32_t flags, int count,
                                 bool flipped, int& index)
{
    std::vector<FacetPlaneEdge*> ring;
    ring.reserve(size_t(count));
    FacetPlaneVert* va = a;
    FacetPlaneVert* vb = b;
    for (int k = 0; k < count; ++k)
    {
        FacetPlaneEdge* e = new FacetPlaneEdge(va, vb, edge, flags, index++);
        e->mLeader = ring.empty() ? e : ring.front();
        LinkEdge(e);
        ring.push_back(e);
        va = va->Advance(1);
        vb = vb->Advance(1);
    }
    for (int k = 0; k < count; ++k)
        ring[size_t(k)]->mNextInOrbit = ring[size_t((k + 1) % count)];

    if (!flipped)
        return;
    for (FacetPlaneEdge* e : ring)
    {
        if (!e->mVertA->mFlipped || !e->mVertB->mFlipped)
            return;
    }
    // The flip reverses the sense of turning: the copy of edge k lies k steps back from the copy of
    // edge 0, so that each copy's next in its orbit is again the one turned a step on.
    std::vector<FacetPlaneEdge*> copies;
    copies.reserve(ring.size());
    for (FacetPlaneEdge* e : ring)
    {
        FacetPlaneEdge* f =
            new FacetPlaneEdge(e->mVertA->mFlipped, e->mVertB->mFlipped, edge, flags | kFacetPlaneEdgeFlipped, index++);
        f->mLeader = copies.empty() ? f : copies.front();
        f->mFlipped = e;
        e->mFlipped = f;
        LinkEdge(f);
        copies.push_back(f);
    }
    for (int k = 0; k < count; ++k)
        copies[size_t(k)]->mNextInOrbit = copies[size_t((k + count - 1) % count)];
}

void FacetPlane::CreateEdges(SymGroup* group, Faceting* faceting)
{
    const bool hemi = (mFlags & kFacetPlaneHemi) != 0;
    int index = 0;
    for (FacetPlaneVert* p = mFirstVert; p; p = p->next)
    {
        if (p->mFlags & kFacetPlaneVertMark)
            continue;
        for (FacetPlaneVert* q = p->next; q; q = q->next)
        {
            if (q->mFlags & kFacetPlaneVertMark)
                continue;
            if (hemi && FindEdgeBetween(p, q, nullptr))
                continue;
            // Within one cycle the two senses of a pair give one orbit.
            if (p->mLeader == q->mLeader && mNumRots > 2 && Vec2Cross(p->mPos, q->mPos) < -kTol)
                continue;
            bool reversed = false;
            FacetingEdge* e = faceting->FindEdge(p->mVert->mPoint, q->mVert->mPoint, &reversed);
            if (!e)
                continue;
            FacetPlaneVert* a = reversed ? q : p;
            FacetPlaneVert* b = reversed ? p : q;
            const bool opposite = Vec2Equal(q->mPos, {-p->mPos.x, -p->mPos.y}, kTol);
            int count = mNumRots;
            uint32_t flags = 0;
            if (mNumRots % 2 == 0 && opposite)
            {
                count = mNumRots / 2;
                flags = kFacetPlaneEdgeDiameter;
            }
            if (IsThroughCentre() && (e->mFlags & kFacetingEdgeHalfTurned) && flags != kFacetPlaneEdgeDiameter &&
                opposite && group)
            {
                Vec3D d;
                Vec3Sub(d, q->mVert->mPoint, p->mVert->mPoint);
                bool inPlane = false;
                for (SymAxis* axis = group->FindPerpendicularAxis(d); axis && !inPlane;
                     axis = group->FindNextPerpendicularAxis(d, axis))
                    inPlane = IsZeroTol(Vec3Dot(axis->mDir, mNormal), kTol);
                if (!inPlane)
                    flags |= kFacetPlaneEdgeSwapped;
            }
            CreateEdgeOrbit(a, b, e, flags, count, hemi && !(e->mFlags & kFacetingEdgeHalfTurned), index);
        }
        for (FacetPlaneVert* v = p;;)
        {
            v->mFlags |= kFacetPlaneVertMark;
            v = v->mNextInCycle;
            if (!v || v == p)
                break;
        }
        if (hemi && p->mFlipped && p->mFlipped->mLeader != p->mLeader)
        {
            FacetPlaneVert* f = p->mFlipped;
            for (FacetPlaneVert* v = f;;)
            {
                v->mFlags |= kFacetPlaneVertMark;
                v = v->mNextInCycle;
                if (!v || v == f)
                    break;
            }
        }
    }
    for (FacetPlaneVert* v = mFirstVert; v; v = v->next)
        v->mFlags &= ~kFacetPlaneVertMark;
}
