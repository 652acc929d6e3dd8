#include "kernel/CoverageList.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>

// A segment goes in as a stretch between two vertices. A stretch that meets no piece is linked;
// one that meets pieces is cut at every vertex it passes within kTol and every crossing, and each
// piece it meets goes out and comes back as stretches cut at the stretch's ends and the crossing.
// Coincident stretches thus end at shared vertices and are merged by identity, never by angle.
// Vertices lie more than kTol apart in x or y, and a crossing snaps to an end of the two segments
// or a vertex within kTol, so a cut can move a piece by up to about kTol: which is why nothing is
// linked before it was checked against the pieces as they are then.

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

// How often one stretch may be cut in one insertion; a stretch and a piece that coincide are both
// seen, and a cut may be seen again once a neighbour has moved.
constexpr int kMaxStretchVisits = 4;

// How near the vertices of such a cluster lie to each other, in either coordinate.
constexpr double kClusterReach = 4.0 * kTol;

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
        // Too short to be a piece of its own. With nothing of the diagram near it yet, its ends
        // are looked at again when the diagram is finished.
        if (!InsertShortSegment(ShortSegment{owner, a, b}))
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

bool FaceDiagram::InsertShortSegment(const ShortSegment& seg)
{
    // A segment shorter than the tolerance is a piece only when its ends belong to two vertices:
    // an outline that runs through it must stay closed, even when the steps that lead from one
    // vertex to the next are each too short to make a vertex of their own.
    Vert2D* va = FindVert2D(seg.a);
    Vert2D* vb = FindVert2D(seg.b);
    if (va && va == vb)
        return true;  // nothing to keep closed
    if (!va && !vb)
        return false;
    bool isNew = false;
    if (!va)
        va = FindOrCreateVert2D(seg.a, isNew);
    if (!vb)
        vb = FindOrCreateVert2D(seg.b, isNew);
    if (!va || !vb)
    {
        InternalError("FaceDiagram::AddEdge(): no memory for a vertex");
        return true;
    }
    InsertEdge(seg.owner, seg.a, seg.b, va, vb);
    return true;
}

void FaceDiagram::InsertShortSegments()
{
    // A chain of short segments resolves from its ends inwards.
    bool progress = true;
    while (progress && !mShortSegments.empty())
    {
        progress = false;
        std::vector<ShortSegment> waiting;
        for (const ShortSegment& seg : mShortSegments)
        {
            if (InsertShortSegment(seg))
                progress = true;
            else
                waiting.push_back(seg);
        }
        mShortSegments.swap(waiting);
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
    CoverageEntry* coverage = nullptr;
    if (!record || !AddToCoverage(key, count, coverage, mPools->mCoverage))
    {
        InternalError("FaceDiagram::AddEdge(): no memory for an edge");
        return false;
    }
    record->mFrom = s;
    record->mTo = e;
    record->mAxis = axis;
    record->mFirst = nullptr;
    record->mFlags = Edge2D::kInserting;
    record->mNext = mEdges;
    mEdges = record;
    const bool ok = InsertSegment(s, e, coverage, record);
    record->mFlags = 0;
    return ok;
}

bool FaceDiagram::InsertSegment(Vert2D* s, Vert2D* e, const CoverageEntry* coverage, Edge2D* record)
{
    // Stretches still to be placed. A stretch that meets nothing is linked in; one that meets
    // something is cut at what it meets, and so is every piece it meets, which leaves the diagram
    // and comes back as stretches of its own: a cut moves a piece onto a vertex that may lie a
    // little off its line, so nothing is linked before it was checked against the pieces as they
    // are now.
    UpdateGrid();
    mPending.clear();
    mStretchVisits.clear();
    mPending.push_back(Stretch{s, e, coverage, record});
    // Each cut adds a vertex to a stretch's path, and vertices lie apart: the work ends. The budget
    // only guards against a flood of them.
    int64_t budget = 64 * (int64_t(mPieceCount) + 64);
    TraceGuard bigLoop("Big loop");
    while (!mPending.empty())
    {
        Stretch stretch = mPending.back();
        mPending.pop_back();
        stretch.from = Resolve(stretch.from);
        stretch.to = Resolve(stretch.to);
        if (stretch.from == stretch.to)
            continue;
        if (--budget < 0)
        {
            if (budget == -1)
                DebugTrace("FaceDiagram::AddEdge: too many cuts; the rest is linked as it is\n");
            ++mForcedLinks;
            if (!LinkStretch(stretch))
                return false;
            continue;
        }
        if (!FindMeetings(stretch))
            return false;
        if (mStations.empty() && mSplits.empty())
        {
            if (!LinkStretch(stretch))
                return false;
            continue;
        }
        // Vertices within a few tolerances of each other can lie each within reach of the others'
        // pieces, so that cutting one stretch undoes the cut of another, round and round. A
        // stretch cut too often is taken as the sign of such a cluster, which becomes one vertex.
        const uint64_t key = uint64_t(uint32_t(std::min(stretch.from->mSerial, stretch.to->mSerial))) << 32 |
                             uint32_t(std::max(stretch.from->mSerial, stretch.to->mSerial));
        if (++mStretchVisits[key] > kMaxStretchVisits)
        {
            mStretchVisits[key] = 0;
            if (MergeCluster(stretch))
            {
                mPending.push_back(stretch);
                continue;
            }
            DebugTrace("FaceDiagram::AddEdge: a stretch is cut too often; linked as it is\n");
            ++mForcedLinks;
            if (!LinkStretch(stretch))
                return false;
            continue;
        }
        if (mStations.empty() && mSplits.empty())
        {
            if (!LinkStretch(stretch))
                return false;
            continue;
        }

        // Every piece that was met goes, and comes back in stretches through its meeting points.
        for (size_t i = 0; i < mSplits.size();)
        {
            size_t j = i + 1;
            while (j < mSplits.size() && mSplits[j].piece == mSplits[i].piece)
                ++j;
            std::stable_sort(mSplits.begin() + std::ptrdiff_t(i), mSplits.begin() + std::ptrdiff_t(j),
                             [](const Split& x, const Split& y) { return x.t < y.t; });
            // The list holds forward sides, so the split points run along the forward side.
            HalfEdge2D* piece = mSplits[i].piece;
            const CoverageEntry* pieceCoverage = piece->mCoverage;
            Edge2D* pieceRecord = piece->mEdge;
            Vert2D* from = piece->mOrigin;
            Vert2D* end = piece->End();
            RemoveEdgePair(piece);
            for (size_t k = i; k <= j; ++k)
            {
                Vert2D* to = k < j ? mSplits[k].v : end;
                if (to == from)
                    continue;
                mPending.push_back(Stretch{from, to, pieceCoverage, pieceRecord});
                from = to;
            }
            i = j;
        }

        // The stretch itself, through its stations in order.
        std::stable_sort(mStations.begin(), mStations.end(), [](const Station& x, const Station& y) {
            if (x.t != y.t)
                return x.t < y.t;
            return x.v->mSerial < y.v->mSerial;
        });
        Vert2D* from = stretch.from;
        for (size_t i = 0; i <= mStations.size(); ++i)
        {
            Vert2D* to = i < mStations.size() ? mStations[i].v : stretch.to;
            if (to == from)
                continue;
            mPending.push_back(Stretch{from, to, stretch.coverage, stretch.record});
            from = to;
        }
    }
    return true;
}

Vert2D* FaceDiagram::Resolve(Vert2D* v)
{
    while (v->mMergedInto)
        v = v->mMergedInto;
    return v;
}

bool FaceDiagram::MergeCluster(const Stretch& stretch)
{
    // The stretch's path: its ends and its stations in order. Neighbours on it that lie within
    // reach of each other become one; an end of the stretch is the one kept.
    std::vector<Vert2D*> path{stretch.from};
    std::stable_sort(mStations.begin(), mStations.end(), [](const Station& x, const Station& y) { return x.t < y.t; });
    for (const Station& st : mStations)
        if (st.v != path.back())
            path.push_back(st.v);
    path.push_back(stretch.to);
    bool merged = false;
    for (size_t i = 0; i + 1 < path.size(); ++i)
    {
        Vert2D* a = Resolve(path[i]);
        Vert2D* b = Resolve(path[i + 1]);
        if (a == b || !Vec2Equal(a->mPoint, b->mPoint, kClusterReach))
            continue;
        const bool keepB = b == stretch.to && a != stretch.from;
        MergeVertexInto(keepB ? a : b, keepB ? b : a);
        merged = true;
    }
    return merged;
}

void FaceDiagram::MergeVertexInto(Vert2D* gone, Vert2D* keep)
{
    DebugTrace("FaceDiagram::AddEdge: two vertices %g apart become one\n",
               std::fmax(std::fabs(gone->mPoint.x - keep->mPoint.x), std::fabs(gone->mPoint.y - keep->mPoint.y)));
    ++mMergedVertices;
    std::vector<HalfEdge2D*> leaving;
    if (HalfEdge2D* g = gone->mEdge)
    {
        int guard = mHalfEdgeCount;
        do
        {
            leaving.push_back(g);
            g = g->prev->mTwin;
        } while (g != gone->mEdge && --guard > 0);
    }
    // Its pieces come back as stretches from the vertex kept; one between the two vanishes.
    for (HalfEdge2D* g : leaving)
    {
        HalfEdge2D* f = g->IsReversed() ? g->mTwin : g;
        Vert2D* a = f->mOrigin == gone ? keep : f->mOrigin;
        Vert2D* b = f->End() == gone ? keep : f->End();
        const CoverageEntry* coverage = f->mCoverage;
        Edge2D* record = f->mEdge;
        RemoveEdgePair(f);
        if (a != b)
            mPending.push_back(Stretch{a, b, coverage, record});
    }
    gone->mEdge = nullptr;
    gone->mMergedInto = keep;
}

void FaceDiagram::UpdateGrid()
{
    // Few pieces are read faster one after another than through a grid.
    constexpr int32_t kGridFrom = 48;
    if (mPieceCount < kGridFrom || mPieceCount < 2 * mGridBuiltAt)
        return;
    // Cells about as many as pieces, over the bounds of the vertices.
    const double extent = std::fmax(mHigh.x - mLow.x, mHigh.y - mLow.y);
    const double cell = std::fmax(extent / std::sqrt(double(mPieceCount)), 16.0 * kTol);
    mGrid.Reset(cell, 2.0 * kTol);
    for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
        mGrid.Add(h);
    mGridBuiltAt = mPieceCount;
}

bool FaceDiagram::FindMeetings(const Stretch& stretch)
{
    Vert2D* s = stretch.from;
    Vert2D* e = stretch.to;
    const Vec2D sp = s->mPoint;
    const Vec2D ep = e->mPoint;
    Vec2D d;
    Vec2Sub(d, ep, sp);
    const double margin = 2.0 * kTol;
    // Points are finite (AddEdge refuses others), so plain comparisons serve.
    const double minX = std::min(sp.x, ep.x) - margin, maxX = std::max(sp.x, ep.x) + margin;
    const double minY = std::min(sp.y, ep.y) - margin, maxY = std::max(sp.y, ep.y) + margin;

    mStations.clear();
    mSplits.clear();
    mNearby.clear();
    if (!mGrid.Collect(minX, minY, maxX, maxY, mNearby))
        for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
            mNearby.push_back(h);
    for (HalfEdge2D* h : mNearby)
    {
        Vert2D* u = h->mOrigin;
        Vert2D* w = h->End();
        const Vec2D& up = u->mPoint;
        const Vec2D& wp = w->mPoint;
        if (std::max(up.x, wp.x) < minX || std::min(up.x, wp.x) > maxX || std::max(up.y, wp.y) < minY ||
            std::min(up.y, wp.y) > maxY)
            continue;
        const bool sharedU = u == s || u == e;
        const bool sharedW = w == s || w == e;
        if (sharedU && sharedW)
            continue;  // the same stretch: it takes the coverage when linked

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
        // Placed along the shorter segment and kept on it: nearly parallel lines meet far off
        // when measured along the longer one.
        Vec2D x;
        if (Vec2Dot(d, d) < Vec2Dot(dp, dp))
        {
            const double g = std::clamp(cs / (cs - ce), 0.0, 1.0);
            x = Vec2D{sp.x + d.x * g, sp.y + d.y * g};
        }
        else
        {
            const double f = std::clamp(cu / (cu - cw), 0.0, 1.0);
            x = Vec2D{up.x + dp.x * f, up.y + dp.y * f};
        }
        if (!IsFinite(x))
            continue;
        TraceScope touch("Lines touch");
        Vert2D* z = CrossingVertex(x, s, e, u, w);
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
    return true;
}

Vert2D* FaceDiagram::CrossingVertex(const Vec2D& x, Vert2D* s, Vert2D* e, Vert2D* u, Vert2D* w)
{
    // An end of the two segments within reach comes first, so that the cut does not move past it.
    Vert2D* z = nullptr;
    double nearest = 0.0;
    for (Vert2D* end : {s, e, u, w})
    {
        const double dx = std::fabs(end->mPoint.x - x.x), dy = std::fabs(end->mPoint.y - x.y);
        if (dx <= kTol && dy <= kTol && (!z || dx + dy < nearest))
        {
            z = end;
            nearest = dx + dy;
        }
    }
    if (z)
        return z;
    // Segments that cross right by an end of one of them meet, as far as rounding can tell, at
    // that end: a point found beyond it would cut each again and again, each cut a little nearer.
    auto inside = [](const Vec2D& p, const Vert2D* a, const Vert2D* b) {
        const double t = ParamAlong(p, a->mPoint, b->mPoint);
        return t > 0.0 && t < 1.0;
    };
    auto nearerEnd = [](const Vec2D& p, Vert2D* a, Vert2D* b) {
        return ParamAlong(p, a->mPoint, b->mPoint) < 0.5 ? a : b;
    };
    if (!inside(x, s, e))
        return nearerEnd(x, s, e);
    if (!inside(x, u, w))
        return nearerEnd(x, u, w);
    // Else it snaps to a vertex already there, like any other point.
    bool isNew = false;
    z = FindOrCreateVert2D(x, isNew);
    if (z && !isNew)
    {
        if (!inside(z->mPoint, s, e))
            return nearerEnd(z->mPoint, s, e);
        if (!inside(z->mPoint, u, w))
            return nearerEnd(z->mPoint, u, w);
    }
    return z;
}

bool FaceDiagram::LinkStretch(const Stretch& stretch)
{
    if (HalfEdge2D* piece = FindPiece(stretch.from, stretch.to))
    {
        // Already a piece: it carries the stretch's coverage too.
        const int32_t sign = piece->IsReversed() ? -1 : 1;
        for (const CoverageEntry* c = stretch.coverage; c; c = c->mNext)
            if (!piece->AddCoverage(c->mOwner, sign * c->mCount, mPools->mCoverage))
                return false;
        if (stretch.record && !stretch.record->mFirst && stretch.record->mFlags & Edge2D::kInserting)
            stretch.record->mFirst = piece;
        return true;
    }
    HalfEdge2D* piece = MakeEdgePair(stretch.from, stretch.to);
    if (!piece)
        return false;
    mGrid.Add(piece);
    piece->mEdge = piece->mTwin->mEdge = stretch.record;
    piece->SetCoverage(CopyCoverage(stretch.coverage, mPools->mCoverage));
    AttachAtVertex(piece);
    AttachAtVertex(piece->mTwin);
    if (stretch.record && !stretch.record->mFirst && stretch.record->mFlags & Edge2D::kInserting)
        stretch.record->mFirst = piece;
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
    h->mListNext = h->mListPrev = nullptr;
    h->mStamp = 0;
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
    mGrid.Remove(h->IsReversed() ? t : h);
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
