#include "kernel/CoverageList.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// The turn from the direction of `in` (arriving at a vertex) to that of `out` (leaving it), in
// radians, counterclockwise positive. Turning back along the same piece is a right turn of half a
// circle; turning back along another piece of the same direction is a left one (the region between
// them has a corner of angle 0).
double Turn(const HalfEdge2D* in, const HalfEdge2D* out)
{
    const Vec2D a = in->Direction();
    const Vec2D b = out->Direction();
    const double cross = Vec2Cross(a, b);
    const double dot = Vec2Dot(a, b);
    if (cross == 0.0 && dot < 0.0)
        return out == in->mTwin ? -kPi : kPi;
    return std::atan2(cross, dot);
}

// Whether crossing h from its left to its right turns coverage `from` into coverage `to`.
bool CrossingAgrees(const CoverageEntry* from, const HalfEdge2D* h, const CoverageEntry* to)
{
    const int32_t sign = h->IsReversed() ? -1 : 1;
    const CoverageEntry* c = h->mCoverage;
    while (from || c || to)
    {
        int32_t owner = INT32_MAX;
        if (from && from->mOwner < owner)
            owner = from->mOwner;
        if (c && c->mOwner < owner)
            owner = c->mOwner;
        if (to && to->mOwner < owner)
            owner = to->mOwner;
        int32_t expected = 0;
        int32_t found = 0;
        if (from && from->mOwner == owner)
        {
            expected += from->mCount;
            from = from->mNext;
        }
        if (c && c->mOwner == owner)
        {
            expected += sign * c->mCount;
            c = c->mNext;
        }
        if (to && to->mOwner == owner)
        {
            found = to->mCount;
            to = to->mNext;
        }
        if (expected != found)
            return false;
    }
    return true;
}

double SegmentDistance2(const Vec2D& p, const Vec2D& a, const Vec2D& b)
{
    Vec2D d, w;
    Vec2Sub(d, b, a);
    Vec2Sub(w, p, a);
    const double len2 = Vec2Dot(d, d);
    double t = len2 > 0.0 ? Vec2Dot(w, d) / len2 : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    const double dx = w.x - d.x * t;
    const double dy = w.y - d.y * t;
    return dx * dx + dy * dy;
}

double BoxArea(const Loop2D* loop)
{
    return (loop->mMax.x - loop->mMin.x) * (loop->mMax.y - loop->mMin.y);
}

bool BoxStrictlyInside(const Loop2D* inner, const Loop2D* outer)
{
    return outer->mMin.x < inner->mMin.x && outer->mMin.y < inner->mMin.y && outer->mMax.x > inner->mMax.x &&
           outer->mMax.y > inner->mMax.y;
}
}  // namespace

bool FaceDiagram::CreateLoops()
{
    TraceScope scope("CreateLoops");
    if (!TraceLoops())
    {
        // The links around some vertex are broken: every vertex's turn is rebuilt from the
        // directions of its half-edges, which always gives closed, disjoint loops.
        DebugTrace("CreateLoops: relinking every vertex\n");
        ++mRelinks;
        RelinkAllVertices();
        if (!TraceLoops())
        {
            DebugTrace("CreateLoops: the loops could not be built\n");
            for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
                h->mLoop = h->mTwin->mLoop = nullptr;
            mFirstLoop = mLastLoop = nullptr;
            mOutlines = nullptr;
            return false;
        }
    }
    ClassifyPieces();
    NestPieces();
    for (Loop2D* loop = mFirstLoop; loop; loop = loop->next)
        loop->mFlags &= ~Loop2D::kMarked;
    return true;
}

bool FaceDiagram::TraceLoops()
{
    mFirstLoop = mLastLoop = nullptr;
    mOutlines = nullptr;
    for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
        h->mLoop = h->mTwin->mLoop = nullptr;
    for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
    {
        bool failed = false;
        MakeLoop(h, failed);
        if (!failed)
            MakeLoop(h->mTwin, failed);
        if (failed)
            return false;
    }
    return true;
}

Loop2D* FaceDiagram::MakeLoop(HalfEdge2D* h, bool& failed)
{
    if (h->mLoop)
        return h->mLoop;
    Loop2D* loop = mPools->mLoops.Alloc(1);
    if (!loop)
    {
        InternalError("FaceDiagram::MakeLoop(): no memory for a loop");
        failed = true;
        return nullptr;
    }
    loop->mFlags = 0;
    loop->mFirst = h;
    loop->mCoverage = nullptr;
    loop->mSibling = nullptr;
    loop->mChild = nullptr;
    loop->mTurning = 0;
    ListAppend(loop, mFirstLoop, mLastLoop);

    double turn = 0.0;
    HalfEdge2D* last = h;
    HalfEdge2D* r = h;
    int steps = 0;
    do
    {
        if (r->mLoop || ++steps > mHalfEdgeCount)
        {
            DebugTrace("CreateLoops: a half-edge was met twice\n");
            failed = true;
            return nullptr;
        }
        if (r->next->mOrigin != r->End())
        {
            DebugTrace("CreateLoops: a loop leaves its vertex\n");
            failed = true;
            return nullptr;
        }
        r->mLoop = loop;
        if (r != h)
            turn += Turn(last, r);
        last = r;
        r = r->next;
    } while (r != h);
    turn += Turn(last, h);
    loop->mTurning = int32_t(std::lround(turn / (2.0 * kPi)));
    return loop;
}

void FaceDiagram::RelinkAllVertices()
{
    std::vector<std::vector<HalfEdge2D*>> leaving(static_cast<size_t>(mVertCount));
    for (HalfEdge2D* h = mFirstHalfEdge; h; h = h->mListNext)
    {
        leaving[size_t(h->mOrigin->mSerial)].push_back(h);
        leaving[size_t(h->mTwin->mOrigin->mSerial)].push_back(h->mTwin);
    }
    for (Vert2D* v = mFirstVert; v; v = v->next)
    {
        std::vector<HalfEdge2D*>& around = leaving[size_t(v->mSerial)];
        v->mEdge = around.empty() ? nullptr : around.front();
        std::stable_sort(around.begin(), around.end(), [](const HalfEdge2D* a, const HalfEdge2D* b) {
            return PseudoAngle2D(a->Direction()) < PseudoAngle2D(b->Direction());
        });
        const size_t n = around.size();
        for (size_t j = 0; j < n; ++j)
        {
            // The region between a half-edge and the next one counterclockwise lies left of the
            // first, and the twin of the second leads into the first.
            HalfEdge2D* g = around[j];
            HalfEdge2D* into = around[(j + 1) % n]->mTwin;
            into->next = g;
            g->prev = into;
        }
    }
}

void FaceDiagram::ClassifyPieces()
{
    bool conflictTraced = false;
    std::vector<Loop2D*> piece;
    Loop2D* lastOutline = nullptr;
    for (Loop2D* start = mFirstLoop; start; start = start->next)
    {
        if (start->mFlags & Loop2D::kMarked)
            continue;
        // The loops of one connected piece, reached across its pieces of edge.
        piece.clear();
        piece.push_back(start);
        start->mFlags |= Loop2D::kMarked;
        for (size_t i = 0; i < piece.size(); ++i)
        {
            HalfEdge2D* h = piece[i]->mFirst;
            do
            {
                Loop2D* other = h->mTwin->mLoop;
                if (!(other->mFlags & Loop2D::kMarked))
                {
                    other->mFlags |= Loop2D::kMarked;
                    piece.push_back(other);
                }
                h = h->next;
            } while (h != piece[i]->mFirst);
        }

        // The outside of the piece is the loop that passes its lowest leftmost vertex on the left:
        // seen from there every half-edge points right or straight up, and the loop left of the
        // one turned furthest counterclockwise faces left, where nothing of the piece lies.
        Vert2D* low = nullptr;
        for (Loop2D* loop : piece)
        {
            HalfEdge2D* h = loop->mFirst;
            do
            {
                const Vec2D& p = h->mOrigin->mPoint;
                if (!low || p.x < low->mPoint.x || (p.x == low->mPoint.x && p.y < low->mPoint.y))
                    low = h->mOrigin;
                h = h->next;
            } while (h != loop->mFirst);
        }
        HalfEdge2D* top = low->mEdge;
        double topAngle = -9.0;
        HalfEdge2D* g = low->mEdge;
        int guard = mHalfEdgeCount;
        do
        {
            const double angle = PseudoAngle2D(g->Direction());
            if (angle > topAngle)
            {
                topAngle = angle;
                top = g;
            }
            g = g->prev->mTwin;
        } while (g != low->mEdge && --guard > 0);
        Loop2D* outside = top->mLoop;

        for (Loop2D* loop : piece)
        {
            loop->mFlags &= ~Loop2D::kMarked;
            if (loop != outside && loop->mTurning != 1)
                loop->mFlags |= Loop2D::kNoTurning;
        }
        if (outside->mTurning != -1)
            DebugTrace("CreateLoops: the outside of a piece turns %d times\n", outside->mTurning);

        // Coverage, breadth first from the outside, which has none.
        outside->mFlags |= Loop2D::kClockwise | Loop2D::kMarked;
        outside->mCoverage = nullptr;
        outside->mChild = nullptr;
        Loop2D* lastChild = nullptr;
        piece.clear();
        piece.push_back(outside);
        for (size_t i = 0; i < piece.size(); ++i)
        {
            Loop2D* s = piece[i];
            HalfEdge2D* h = s->mFirst;
            do
            {
                Loop2D* t = h->mTwin->mLoop;
                if (!(t->mFlags & Loop2D::kMarked))
                {
                    t->mFlags |= Loop2D::kMarked;
                    t->mCoverage = CopyCoverage(s->mCoverage, mPools->mCoverage);
                    t->AddCrossingCoverage(h, mPools->mCoverage);
                    t->mSibling = nullptr;
                    t->mChild = nullptr;
                    if (lastChild)
                        lastChild->mSibling = t;
                    else
                        outside->mChild = t;
                    lastChild = t;
                    piece.push_back(t);
                }
                else if (!CrossingAgrees(s->mCoverage, h, t->mCoverage))
                {
                    // An outline that is not closed, or pieces that cross unseen: the winding
                    // numbers depend on the way taken.
                    ++mCoverageConflicts;
                    if (!conflictTraced)
                        DebugTrace("CreateLoops: a region is reached with two different coverages\n");
                    conflictTraced = true;
                }
                h = h->next;
            } while (h != s->mFirst);
        }

        // In order of creation, through the siblings.
        outside->mSibling = nullptr;
        if (lastOutline)
            lastOutline->mSibling = outside;
        else
            mOutlines = outside;
        lastOutline = outside;
    }
}

void FaceDiagram::NestPieces()
{
    std::vector<Loop2D*> outlines;
    for (Loop2D* c = mOutlines; c; c = c->mSibling)
        outlines.push_back(c);
    if (outlines.size() < 2)
        return;
    for (Loop2D* c : outlines)
        c->Bounds(c->mMin, c->mMax);
    std::stable_sort(outlines.begin(), outlines.end(),
                     [](const Loop2D* a, const Loop2D* b) { return BoxArea(a) > BoxArea(b); });

    mOutlines = outlines[0];
    Loop2D* lastTop = outlines[0];
    lastTop->mSibling = nullptr;
    for (size_t i = 1; i < outlines.size(); ++i)
    {
        Loop2D* q = outlines[i];
        q->mSibling = nullptr;
        Loop2D* container = nullptr;
        for (size_t j = 0; j < i && !container; ++j)
        {
            Loop2D* a = outlines[j];
            if (!(a->mFlags & Loop2D::kNested) && BoxStrictlyInside(q, a) && a->ContainsLoop(q))
                container = a;
        }
        if (container)
        {
            q->mFlags |= Loop2D::kNested;
            InsertChild(container, q);
        }
        if (!(q->mFlags & Loop2D::kNested))
        {
            lastTop->mSibling = q;
            lastTop = q;
        }
    }
}

void FaceDiagram::InsertChild(Loop2D* container, Loop2D* piece)
{
    for (int depth = 0; depth <= mHalfEdgeCount; ++depth)
    {
        Loop2D* region = nullptr;
        for (Loop2D* r = container->mChild; r && !region; r = r->mSibling)
            if (r->ContainsLoop(piece))
                region = r;
        if (!region)
            region = FindRegionFor(container, piece);
        if (!region)
            break;
        Loop2D* inner = nullptr;
        for (Loop2D* p = region->mChild; p && !inner; p = p->mSibling)
            if (p->ContainsLoop(piece))
                inner = p;
        if (inner)
        {
            container = inner;
            continue;
        }
        piece->mSibling = region->mChild;
        region->mChild = piece;
        Loop2D::PropagateCoverage(piece, region->mCoverage, mPools->mCoverage);
        return;
    }
    // Nothing to place it in: it stays a piece of its own, drawn without what surrounds it.
    DebugTrace("InsertChild: the piece stays outside\n");
    piece->mFlags &= ~Loop2D::kNested;
}

Loop2D* FaceDiagram::FindRegionFor(Loop2D* container, Loop2D* piece)
{
    DebugTrace("InsertChild: Failed to find parent inner loop\nSlice ratio: %.15f\n", GetFaceDiagramSliceRatio());
    if (!container->mChild)
        return nullptr;
    ++mParentRecoveries;
    // The first vertex lies too near an edge for the ray test: any other vertex of the piece lies
    // in the same region.
    HalfEdge2D* h = piece->mFirst;
    do
    {
        for (Loop2D* r = container->mChild; r; r = r->mSibling)
            if (r->ContainsPoint(h->mOrigin->mPoint))
            {
                DebugTrace("InsertChild: found through another vertex\n");
                return r;
            }
        h = h->next;
    } while (h != piece->mFirst);
    // Else the region whose boundary passes nearest.
    const Vec2D& p = piece->mFirst->mOrigin->mPoint;
    Loop2D* nearest = nullptr;
    double best = 0.0;
    for (Loop2D* r = container->mChild; r; r = r->mSibling)
    {
        const HalfEdge2D* e = r->mFirst;
        do
        {
            const double d2 = SegmentDistance2(p, e->mOrigin->mPoint, e->End()->mPoint);
            if (!nearest || d2 < best)
            {
                best = d2;
                nearest = r;
            }
            e = e->next;
        } while (e != r->mFirst);
    }
    DebugTrace("InsertChild: placed in the nearest region\n");
    return nearest;
}
