#include "kernel/CoverageList.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>

// The insertion of one segment splits it at every vertex it passes and every piece it crosses, and
// splits the pieces it touches at its ends, before any piece is linked: each stretch between two
// vertices then either exists already (and takes the segment's coverage) or is new. Every decision
// is a point-to-segment test of a vertex against a piece, so coincident stretches meet at shared
// vertices and are merged by identity, not by comparing angles.

namespace
{
double Coord(const Vec2D& v, int axis)
{
    return axis == 0 ? v.x : v.y;
}

bool IsFinite(const Vec2D& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// Whether v lies within tol of the inside of segment ab (strictly between the ends along it);
// t receives its place along ab.
bool OnSegmentInterior(const Vec2D& v, const Vec2D& a, const Vec2D& b, double tol, double& t)
{
    Vec2D d, w;
    Vec2Sub(d, b, a);
    Vec2Sub(w, v, a);
    const double len2 = Vec2Dot(d, d);
    if (!(len2 > 0.0))
        return false;
    t = Vec2Dot(w, d) / len2;
    if (!(t > 0.0 && t < 1.0))
        return false;
    const double cross = Vec2Cross(d, w);
    return cross * cross <= tol * tol * len2;
}

double ParamAlong(const Vec2D& v, const Vec2D& a, const Vec2D& b)
{
    Vec2D d, w;
    Vec2Sub(d, b, a);
    Vec2Sub(w, v, a);
    return Vec2Dot(w, d) / Vec2Dot(d, d);
}

bool OppositeSigns(double u, double v)
{
    return (u > 0.0 && v < 0.0) || (u < 0.0 && v > 0.0);
}

// The angle of a direction, for ordering the half-edges around a vertex; the values run round
// through 8.
double DirectionAngle(const HalfEdge2D* h)
{
    return PseudoAngle2D(h->Direction());
}
}  // namespace

void FaceDiagram::AddEdge(const void* owner, const Vec2D& a, const Vec2D& b)
{
    TraceScope scope("FaceDiagram::AddEdge");
    if (!IsFinite(a) || !IsFinite(b))
    {
        DebugTrace("FaceDiagram::AddEdge: a point that is not a number\n");
        return;
    }
    if (Vec2Equal(a, b, kTol))
    {
        // Too short to be a piece of its own; but when its ends already belong to two vertices
        // the outline would stay open without it. Ends not yet known are looked at again when the
        // diagram is finished.
        Vert2D* va = FindVert2D(a);
        Vert2D* vb = FindVert2D(b);
        if (va && vb)
        {
            if (va != vb)
                InsertEdge(owner, a, b, va, vb);
        }
        else
            mShortSegments.push_back(ShortSegment{owner, a, b});
        return;
    }
    bool isNew = false;
    Vert2D* va = FindOrCreateVert2D(a, isNew);
    Vert2D* vb = va ? FindOrCreateVert2D(b, isNew) : nullptr;
    if (!va || !vb)
    {
        InternalError("FaceDiagram::AddEdge(): no memory for a vertex");
        return;
    }
    InsertEdge(owner, a, b, va, vb);
}

void FaceDiagram::InsertShortSegments()
{
    // Inserting may add vertices that later entries are looked up against, so no iterator is kept.
    for (size_t i = 0; i < mShortSegments.size(); ++i)
    {
        const ShortSegment seg = mShortSegments[i];
        Vert2D* va = FindVert2D(seg.a);
        Vert2D* vb = FindVert2D(seg.b);
        if (va && vb && va != vb)
            InsertEdge(seg.owner, seg.a, seg.b, va, vb);
    }
    mShortSegments.clear();
}

bool FaceDiagram::InsertEdge(const void* owner, const Vec2D& a, const Vec2D& b, Vert2D* va, Vert2D* vb)
{
    const int32_t key = RegisterOwner(owner);
    if (key < 0)
    {
        InternalError("FaceDiagram::AddEdge(): no memory for an owner");
        return false;
    }
    if (va == vb)
    {
        DebugTrace("FaceDiagram::AddEdge: both ends on one vertex\n");
        return true;
    }
    // Stored along its axis from the lower end; the count keeps the side of the interior.
    const int axis = std::fabs(b.x - a.x) > std::fabs(b.y - a.y) ? 0 : 1;
    const bool backwards = Coord(a, axis) > Coord(b, axis);
    Vert2D* s = backwards ? vb : va;
    Vert2D* e = backwards ? va : vb;
    const int32_t count = backwards ? 1 : -1;

    Edge2D* record = mPools->mEdges.Alloc(1);
    if (!record)
    {
        InternalError("FaceDiagram::AddEdge(): no memory for an edge");
        return false;
    }
    record->mFrom = s;
    record->mTo = e;
    record->mAxis = axis;
    record->mFirst = nullptr;
    record->mFlags = 0;
    record->mNext = mEdges;
    mEdges = record;
    return InsertSegment(key, count, s, e, record);
}

bool FaceDiagram::InsertSegment(int32_t key, int32_t count, Vert2D* s, Vert2D* e, Edge2D* record)
{
    const Vec2D sp = s->mPoint;
    const Vec2D ep = e->mPoint;
    Vec2D d;
    Vec2Sub(d, ep, sp);
    const double margin = 2.0 * kTol;
    const double minX = std::fmin(sp.x, ep.x) - margin, maxX = std::fmax(sp.x, ep.x) + margin;
    const double minY = std::fmin(sp.y, ep.y) - margin, maxY = std::fmax(sp.y, ep.y) + margin;

    mStations.clear();
    mSplits.clear();
    {
        TraceGuard bigLoop("Big loop");
        for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
        {
            Vert2D* u = h->mOrigin;
            Vert2D* w = h->End();
            const Vec2D& up = u->mPoint;
            const Vec2D& wp = w->mPoint;
            if (std::fmax(up.x, wp.x) < minX || std::fmin(up.x, wp.x) > maxX || std::fmax(up.y, wp.y) < minY ||
                std::fmin(up.y, wp.y) > maxY)
                continue;
            const bool sharedU = u == s || u == e;
            const bool sharedW = w == s || w == e;
            if (sharedU && sharedW)
                continue;  // the same stretch: found again below

            bool met = sharedU || sharedW;
            double t = 0.0;
            if (!sharedU && OnSegmentInterior(up, sp, ep, kTol, t))
            {
                mStations.push_back(Station{t, u});
                met = true;
            }
            if (!sharedW && OnSegmentInterior(wp, sp, ep, kTol, t))
            {
                mStations.push_back(Station{t, w});
                met = true;
            }
            if (s != u && s != w && OnSegmentInterior(sp, up, wp, kTol, t))
            {
                mSplits.push_back(Split{h, t, s});
                met = true;
            }
            if (e != u && e != w && OnSegmentInterior(ep, up, wp, kTol, t))
            {
                mSplits.push_back(Split{h, t, e});
                met = true;
            }
            // Two segments meet once unless they overlap, and overlaps show as ends on segments.
            if (met)
                continue;

            const double cu = Vec2Cross(d, Vec2D{up.x - sp.x, up.y - sp.y});
            const double cw = Vec2Cross(d, Vec2D{wp.x - sp.x, wp.y - sp.y});
            if (!OppositeSigns(cu, cw))
                continue;
            Vec2D dp;
            Vec2Sub(dp, wp, up);
            const double cs = Vec2Cross(dp, Vec2D{sp.x - up.x, sp.y - up.y});
            const double ce = Vec2Cross(dp, Vec2D{ep.x - up.x, ep.y - up.y});
            if (!OppositeSigns(cs, ce))
                continue;
            const double f = cu / (cu - cw);
            const Vec2D x{up.x + dp.x * f, up.y + dp.y * f};
            if (!IsFinite(x))
                continue;
            TraceScope touch("Lines touch");
            // The crossing snaps to a vertex already there, like any other point.
            bool isNew = false;
            Vert2D* z = FindOrCreateVert2D(x, isNew);
            if (!z)
            {
                InternalError("FaceDiagram::AddEdge(): no memory for a vertex");
                return false;
            }
            if (z != u && z != w)
                mSplits.push_back(Split{h, ParamAlong(z->mPoint, up, wp), z});
            if (z != s && z != e)
                mStations.push_back(Station{ParamAlong(z->mPoint, sp, ep), z});
        }
    }

    // The pieces that were met are split from their start onwards. Each piece was visited once, so
    // its entries lie together.
    for (size_t i = 0; i < mSplits.size();)
    {
        size_t j = i + 1;
        while (j < mSplits.size() && mSplits[j].piece == mSplits[i].piece)
            ++j;
        std::stable_sort(mSplits.begin() + std::ptrdiff_t(i), mSplits.begin() + std::ptrdiff_t(j),
                         [](const Split& x, const Split& y) { return x.t < y.t; });
        i = j;
    }
    for (size_t i = 0; i < mSplits.size();)
    {
        HalfEdge2D* piece = mSplits[i].piece;
        for (; i < mSplits.size() && mSplits[i].piece == piece; ++i)
        {
            Vert2D* v = mSplits[i].v;
            if (!piece || v == piece->mOrigin || v == piece->End())
                continue;
            HalfEdge2D* before = SplitEdge(piece, v);
            if (!before)
                return false;
            MergeIfDuplicate(before);
            piece = MergeIfDuplicate(piece);
        }
    }

    // The segment itself: from s through its stations to e.
    std::stable_sort(mStations.begin(), mStations.end(), [](const Station& x, const Station& y) {
        if (x.t != y.t)
            return x.t < y.t;
        return x.v->mSerial < y.v->mSerial;
    });
    Vert2D* from = s;
    HalfEdge2D* previousNew = nullptr;
    for (size_t i = 0; i <= mStations.size(); ++i)
    {
        Vert2D* to = i < mStations.size() ? mStations[i].v : e;
        if (to == from || (i < mStations.size() && to == e))
            continue;
        HalfEdge2D* piece = FindPiece(from, to);
        if (piece)
        {
            piece->AddCoverage(key, piece->IsReversed() ? -count : count, mPools->mCoverage);
            previousNew = nullptr;
        }
        else
        {
            piece = MakeEdgePair(from, to);
            if (!piece)
                return false;
            piece->mEdge = piece->mTwin->mEdge = record;
            piece->AddCoverage(key, count, mPools->mCoverage);
            AttachAtVertex(piece);
            AttachAtVertex(piece->mTwin);
            if (previousNew)
            {
                previousNew->mStraightNext = piece;
                piece->mTwin->mStraightNext = previousNew->mTwin;
            }
            previousNew = piece;
        }
        if (!record->mFirst)
            record->mFirst = piece;
        from = to;
    }
    return true;
}

HalfEdge2D* FaceDiagram::NewHalfEdge()
{
    HalfEdge2D* h = mPools->mHalfEdges.Alloc(1);
    if (!h)
        return nullptr;
    h->next = h->prev = h;
    h->mEdge = nullptr;
    h->mLoop = nullptr;
    h->mTwin = nullptr;
    h->mOrigin = nullptr;
    h->mFlags = 0;
    h->mCoverage = nullptr;
    h->mStraightNext = nullptr;
    h->mListNext = h->mListPrev = nullptr;
    return h;
}

HalfEdge2D* FaceDiagram::NewPair(Vert2D* start, Vert2D* end, bool startReversed)
{
    HalfEdge2D* h = NewHalfEdge();
    HalfEdge2D* t = h ? NewHalfEdge() : nullptr;
    if (!t)
    {
        InternalError("FaceDiagram: no memory for an edge");
        return nullptr;
    }
    h->mTwin = t;
    t->mTwin = h;
    h->mOrigin = start;
    t->mOrigin = end;
    h->next = h->prev = t;
    t->next = t->prev = h;
    h->mFlags = startReversed ? HalfEdge2D::kReversed : 0;
    t->mFlags = startReversed ? 0 : HalfEdge2D::kReversed;
    // The list holds the forward sides.
    HalfEdge2D* forward = startReversed ? t : h;
    forward->mListPrev = mLastHalfEdge;
    forward->mListNext = nullptr;
    if (mLastHalfEdge)
        mLastHalfEdge->mListNext = forward;
    else
        mFirstHalfEdge = forward;
    mLastHalfEdge = forward;
    mHalfEdgeCount += 2;
    ++mPieceCount;
    return h;
}

HalfEdge2D* FaceDiagram::MakeEdgePair(Vert2D* start, Vert2D* end)
{
    return NewPair(start, end, false);
}

HalfEdge2D* FaceDiagram::SplitEdge(HalfEdge2D* h, Vert2D* v)
{
    HalfEdge2D* t = h->mTwin;
    Vert2D* a = h->mOrigin;
    HalfEdge2D* n = NewPair(a, v, h->IsReversed());
    if (!n)
        return nullptr;
    HalfEdge2D* nt = n->mTwin;
    n->mEdge = nt->mEdge = h->mEdge;
    n->SetCoverage(CopyCoverage(h->mCoverage, mPools->mCoverage));

    // At a, the new piece takes h's place.
    HalfEdge2D* into = h->prev;   // arrives at a
    HalfEdge2D* outOf = t->next;  // leaves a
    if (into == t)
    {
        n->prev = nt;
        nt->next = n;
    }
    else
    {
        into->next = n;
        n->prev = into;
        nt->next = outOf;
        outOf->prev = nt;
    }
    if (a->mEdge == h)
        a->mEdge = n;

    // Straight on: a to v continues into h, h's twin into v to a, and whatever ran on from h's
    // twin beyond a now runs on from v to a.
    HalfEdge2D* beyond = t->mStraightNext;
    nt->mStraightNext = beyond;
    if (beyond && beyond->mTwin->mStraightNext == h)
        beyond->mTwin->mStraightNext = n;
    n->mStraightNext = h;
    t->mStraightNext = nt;

    // At v both halves are linked in among the half-edges already there.
    h->mOrigin = v;
    h->prev = t;
    t->next = h;
    nt->prev = n;
    n->next = nt;
    AttachAtVertex(h);
    AttachAtVertex(nt);
    return n;
}

void FaceDiagram::AttachAtVertex(HalfEdge2D* h)
{
    Vert2D* v = h->mOrigin;
    if (!v->mEdge)
    {
        v->mEdge = h;
        return;
    }
    // h goes counterclockwise right after the half-edge whose direction precedes its own most
    // closely.
    const double angle = DirectionAngle(h);
    HalfEdge2D* best = nullptr;
    double bestDelta = 9.0;
    HalfEdge2D* g = v->mEdge;
    int guard = mHalfEdgeCount;
    do
    {
        double delta = angle - DirectionAngle(g);
        if (delta < 0.0)
            delta += 8.0;
        if (delta < bestDelta)
        {
            bestDelta = delta;
            best = g;
        }
        g = g->prev->mTwin;
    } while (g != v->mEdge && --guard > 0);
    HalfEdge2D* into = best->prev;
    into->next = h;
    h->prev = into;
    h->mTwin->next = best;
    best->prev = h->mTwin;
}

void FaceDiagram::UnlinkAtOrigin(HalfEdge2D* h)
{
    Vert2D* v = h->mOrigin;
    HalfEdge2D* into = h->prev;
    HalfEdge2D* outOf = h->mTwin->next;
    if (into == h->mTwin)
        v->mEdge = nullptr;
    else
    {
        into->next = outOf;
        outOf->prev = into;
        if (v->mEdge == h)
            v->mEdge = outOf;
    }
    h->prev = h->mTwin;
    h->mTwin->next = h;
}

void FaceDiagram::RemoveEdgePair(HalfEdge2D* h)
{
    HalfEdge2D* t = h->mTwin;
    // Nothing may run on straight into the piece.
    for (HalfEdge2D* side : {h, t})
    {
        HalfEdge2D* g = side->mOrigin->mEdge;
        int guard = mHalfEdgeCount;
        do
        {
            if (g->mTwin->mStraightNext == side)
                g->mTwin->mStraightNext = nullptr;
            g = g->prev->mTwin;
        } while (g != side->mOrigin->mEdge && --guard > 0);
    }
    UnlinkAtOrigin(h);
    UnlinkAtOrigin(t);
    h->mFlags |= HalfEdge2D::kRemoved;
    t->mFlags |= HalfEdge2D::kRemoved;
    HalfEdge2D* forward = h->IsReversed() ? t : h;
    if (forward->mListPrev)
        forward->mListPrev->mListNext = forward->mListNext;
    else
        mFirstHalfEdge = forward->mListNext;
    if (forward->mListNext)
        forward->mListNext->mListPrev = forward->mListPrev;
    else
        mLastHalfEdge = forward->mListPrev;
    forward->mListNext = forward->mListPrev = nullptr;
    mHalfEdgeCount -= 2;
    --mPieceCount;
}

void FaceDiagram::MergeCoincident(HalfEdge2D* h, HalfEdge2D* g)
{
    g->AddCoverageOf(h, mPools->mCoverage);
    for (Edge2D* record = mEdges; record; record = record->mNext)
    {
        if (record->mFirst == h)
            record->mFirst = g;
        else if (record->mFirst == h->mTwin)
            record->mFirst = g->mTwin;
    }
    RemoveEdgePair(h);
}

HalfEdge2D* FaceDiagram::MergeIfDuplicate(HalfEdge2D* h)
{
    HalfEdge2D* g = h->mOrigin->mEdge;
    int guard = mHalfEdgeCount;
    do
    {
        if (g != h && g->End() == h->End())
        {
            DebugTrace("FaceDiagram: two pieces between the same vertices merged\n");
            MergeCoincident(h, g);
            return g;
        }
        g = g->prev->mTwin;
    } while (g != h->mOrigin->mEdge && --guard > 0);
    return h;
}

HalfEdge2D* FaceDiagram::FindPiece(const Vert2D* a, const Vert2D* b) const
{
    HalfEdge2D* g = a->mEdge;
    if (!g)
        return nullptr;
    int guard = mHalfEdgeCount;
    do
    {
        if (g->End() == b)
            return g;
        g = g->prev->mTwin;
    } while (g != a->mEdge && --guard > 0);
    return nullptr;
}
