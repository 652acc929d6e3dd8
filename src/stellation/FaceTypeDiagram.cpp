#include "stellation/FaceType.h"

#include "kernel/LinkNode.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "stellation/DiagramMap.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cmath>

namespace
{
// Points this close in each coordinate are one diagram vertex; a vertex this close to a line lies
// on it.
constexpr double kSameVertexTol = 3e-8;

bool SamePoint(const Vec2D& a, double x, double y)
{
    return std::fabs(a.x - x) <= kSameVertexTol && std::fabs(a.y - y) <= kSameVertexTol;
}

// The line's signed distance, for an equation of any scale.
double Distance(const StellationLine* line, const Vec2D& p)
{
    const double scale = std::hypot(line->mEqn[0], line->mEqn[1]);
    return line->Eval(p.x, p.y) / (scale > 0.0 ? scale : 1.0);
}

// The elements whose planes make lines: not at infinity, not of a coplanar copy type, not a
// duplicate in a coincidence ring.
bool MakesLine(const FaceVert* e)
{
    return e && !(e->mFlags & (FaceVert::kInf | FaceVert::kCoplanar)) &&
           !(e->mFaceType && e->mFaceType->mCoplanarSource);
}

// How far round from the first face's plane the face's plane lies about the line: the squared sine
// of their angle, signed by the sense of the turn.
double TurnMeasure(const FaceVert* first, const FaceVert* face, const Vec3D& lineDir)
{
    Vec3D normal = face->mZAxis;
    if (Vec3Dot(normal, first->mZAxis) < 0.0)
        Vec3Negate(normal);
    Vec3D cross;
    Vec3Cross(cross, first->mZAxis, normal);
    const double m = Vec3LengthSq(cross);
    return Vec3Dot(cross, lineDir) < 0.0 ? -m : m;
}

// Among the planes through one line the line keeps the two nearest the first face's plane, one on
// each side: mFace the nearest turning one way (mNearDist), mFace2 the other (mFarDist).
void AddFaceToLine(StellationLine* line, FaceVert* face, const FaceVert* first)
{
    if (line->mFace == line->mFace2 && !line->mFace3)
        line->mNearDist = line->mFarDist = TurnMeasure(first, line->mFace, line->mDir);
    const double m = TurnMeasure(first, face, line->mDir);
    const double a = line->mNearDist, b = line->mFarDist;
    auto replace = [&](FaceVert*& slot, double& dist, FaceVert*& other) {
        FaceVert* old = slot;
        slot = face;
        dist = m;
        if (old != other && old != face)
            line->mFace3 = old;
    };
    auto third = [&] {
        if (face != line->mFace && face != line->mFace2)
            line->mFace3 = face;
    };
    if (m > 0.0)
    {
        if (b >= 0.0 && m >= b)
        {
            if (a > 0.0 && m > a)
                replace(line->mFace, line->mNearDist, line->mFace2);
            else
                third();
        }
        else
            replace(line->mFace2, line->mFarDist, line->mFace);
    }
    else if (m <= a && a <= 0.0)
    {
        if (b >= 0.0 || m >= b)
            third();
        else
            replace(line->mFace2, line->mFarDist, line->mFace);
    }
    else
        replace(line->mFace, line->mNearDist, line->mFace2);
}

StellationEdge* NextAlongLine(StellationEdge* e)
{
    return e ? e->FindOnLineAroundVertex(e->mLine) : nullptr;
}

// Splits the edge and its twin at the vertex; the edge and its twin keep their starts.
void SplitEdge(StellationEdge* e, SegVert* v)
{
    StellationEdge* t = e->mTwin;
    StellationEdge* e2 = new StellationEdge(e->mRegion, e->mLine, v);
    StellationEdge* t2 = new StellationEdge(t->mRegion, t->mLine, v);
    e2->mNext = e->mNext;
    e2->mNext->mPrev = e2;
    e->mNext = e2;
    e2->mPrev = e;
    t2->mNext = t->mNext;
    t2->mNext->mPrev = t2;
    t->mNext = t2;
    t2->mPrev = t;
    e->mTwin = t2;
    t2->mTwin = e;
    t->mTwin = e2;
    e2->mTwin = t;
    v->mEdge = e2;
}

// The bounding square's side from a corner, counterclockwise, and the new edge pair along it.
StellationEdge* MakeSquareSide(StellationRegion* region, StellationLine* line, SegVert* start)
{
    StellationEdge* inner = new StellationEdge(region, line, start);
    line->mFirstEdge = inner;
    start->mEdge = inner;
    return inner;
}
}  // namespace

StellationLine* FaceType::FindLine(double a, double b, double c) const
{
    for (StellationLine* line = mLineEqns; line; line = line->mNext)
    {
        const double* q = line->mEqn;
        if ((WithinTol(q[0], a, kTol) && WithinTol(q[1], b, kTol) && WithinTol(q[2], c, kTol)) ||
            (WithinTol(q[0], -a, kTol) && WithinTol(q[1], -b, kTol) && WithinTol(q[2], -c, kTol)))
            return line;
    }
    return nullptr;
}

StellationLine* FaceType::FindLineExact(double a, double b, double c) const
{
    for (StellationLine* line = mLineEqns; line; line = line->mNext)
        if (line->mEqn[0] == a && line->mEqn[1] == b && line->mEqn[2] == c)
            return line;
    return nullptr;
}

bool FaceType::CreateLines()
{
    if (mLineEqns)
    {
        InternalError("CreateLines: mLineEqns != NULL");
        return false;
    }
    FaceVert* first = mFirstFace;
    if (!first)
        return true;
    for (FaceVert* e = GetElementListHead(); e; e = e->mNext)
    {
        if (e == first || !MakesLine(e))
            continue;
        bool partnerFirst = false;
        for (FaceVert* p = e->mNextCoplanar; p && p != e && !partnerFirst; p = p->mNextCoplanar)
            partnerFirst = MakesLine(p) && p->mIndex < e->mIndex;
        if (partnerFirst)
            continue;
        double a = 0.0, b = 0.0, c = 0.0;
        if (!first->IntersectPlanes(e, a, b, c))
            continue;
        if (StellationLine* line = FindLine(a, b, c))
        {
            mFlags |= kFaceTypeDuplicateLine;
            AddFaceToLine(line, e, first);
            continue;
        }
        StellationLine* line = new StellationLine(this, a, b, c, e, mLineEqns);
        if ((first->mFlags & FaceVert::kHemi) && (e->mFlags & FaceVert::kHemi))
            line->mFlags |= kLineFromCentralFace;
    }
    return true;
}

bool FaceType::CreateDiagram(int typeNumber, int typeCount)
{
    if (mCoplanarSource || mFirstRegion || !mFirstFace || (mFirstFace->mFlags & FaceVert::kInf))
        return true;
    if (!CreateLines())
        return false;

    const double L = mOuterLimit = 999999.9;
    StellationRegion* region = new StellationRegion;
    ListAppend(region, mFirstRegion, mLastRegion);
    mInnermostRegion = region;
    mNumRegions = 1;

    // Prepended in this order, the bounding lines are the first four of the list: x = -L, y = L,
    // x = L, y = -L.
    StellationLine* bottom = new StellationLine(this, 0.0, -1.0, -L, nullptr, mLineEqns);
    StellationLine* right = new StellationLine(this, 1.0, 0.0, -L, nullptr, mLineEqns);
    StellationLine* top = new StellationLine(this, 0.0, 1.0, -L, nullptr, mLineEqns);
    StellationLine* left = new StellationLine(this, -1.0, 0.0, -L, nullptr, mLineEqns);
    SegVert* corners[4] = {new SegVert(this, -L, -L, mOuterVerts), new SegVert(this, L, -L, mOuterVerts),
                           new SegVert(this, L, L, mOuterVerts), new SegVert(this, -L, L, mOuterVerts)};
    StellationLine* sides[4] = {bottom, right, top, left};
    StellationEdge* inner[4];
    StellationEdge* outer[4];
    for (int i = 0; i < 4; ++i)
    {
        inner[i] = MakeSquareSide(region, sides[i], corners[i]);
        outer[i] = new StellationEdge(nullptr, sides[i], corners[(i + 1) % 4]);
        inner[i]->mTwin = outer[i];
        outer[i]->mTwin = inner[i];
        sides[i]->mLastEdge = outer[i];
    }
    for (int i = 0; i < 4; ++i)
    {
        inner[i]->mNext = inner[(i + 1) % 4];
        inner[i]->mPrev = inner[(i + 3) % 4];
        // Outside, the ring runs clockwise.
        outer[i]->mNext = outer[(i + 3) % 4];
        outer[i]->mPrev = outer[(i + 1) % 4];
    }
    region->mEdge = inner[0];

    int count = 0;
    for (StellationLine* line = mLineEqns; line; line = line->mNext)
        ++count;
    int k = 4;
    for (StellationLine* line = bottom->mNext; line; line = line->mNext, ++k)
    {
        if (!ShowProgress(double(k) / count, "Creating stellation diagram for face type %d of %d,\nLine %d of %d.",
                          typeNumber + 1, typeCount, k + 1, count) ||
            !InsertLine(line))
        {
            DeleteOuterSegments(true);
            return false;
        }
    }
    if (!DeleteOuterSegments())
        return false;
    CalcDiagramRadius();
    return true;
}

StellationEdge* FaceType::FindEntryEdge(const StellationLine* line, double& x, double& y) const
{
    const double L = mOuterLimit;
    // The sides are the last of the four bounding lines: the list begins left, top, right, bottom.
    StellationLine* left = mLineEqns;
    StellationLine* top = left ? left->mNext : nullptr;
    StellationLine* right = top ? top->mNext : nullptr;
    StellationLine* bottom = right ? right->mNext : nullptr;
    StellationLine* side = nullptr;
    if (line->XAtY(-L, x) && -L <= x && x <= L)
    {
        y = -L;
        side = bottom;
    }
    else if (line->YAtX(L, y) && -L <= y && y <= L)
    {
        x = L;
        side = right;
    }
    else if (line->XAtY(L, x) && -L <= x && x <= L)
    {
        y = L;
        side = top;
    }
    if (!side)
    {
        InternalError("Couldn't find intersection with line [%g, %g, %g].", line->mEqn[0], line->mEqn[1],
                      line->mEqn[2]);
        return nullptr;
    }
    // Along the side counterclockwise: x grows on the bottom, y on the right, x falls on the top.
    const bool horizontal = side != right;
    const double sense = side == top ? -1.0 : 1.0;
    const double along = horizontal ? x : y;
    int guard = 0;
    for (StellationEdge* e = side->mFirstEdge; e && e->mLine == side && guard < 1 << 24; e = NextAlongLine(e), ++guard)
    {
        const SegVert* end = e->GetEnd();
        if (!end)
            break;
        const double far = horizontal ? end->mPos.x : end->mPos.y;
        if (sense * (far - along) >= -kSameVertexTol)
            return e;
    }
    InternalError("Couldn't find intersecting outer edge");
    return nullptr;
}

StellationEdge* FaceType::FindEdgeAroundVertex(StellationEdge* edge, const StellationLine* line, const Vec2D& dir)
{
    (void)line;  // the way along it is dir
    StellationEdge* first = edge ? edge->mNext : nullptr;
    if (!first)
        return nullptr;
    StellationEdge* best = nullptr;
    double bestAngle = -1.0;
    StellationEdge* windowStart = first;
    int window = 20;
    int steps = 0;
    StellationEdge* c = first;
    auto fail = [&] {
        const SegVert* v = first->mStart;
        DebugTrace("FindEdgeAroundVertex: failed: vertex %d (%g, %g), edge 0x%x\n",
                   v && v->mFaceType ? v->mFaceType->GetVertIndex(v) : -1, v ? v->mPos.x : 0.0, v ? v->mPos.y : 0.0,
                   unsigned(reinterpret_cast<uintptr_t>(edge) & 0xFFFFFFFFu));
        return nullptr;
    };
    for (;;)
    {
        // The counterclockwise angle from the line's way on to the edge: the region the line enters
        // lies counterclockwise of the edge with the largest angle.
        const Vec2D t = GetEdgeDirection(c);
        double angle = std::atan2(Vec2Cross(dir, t), Vec2Dot(dir, t));
        if (angle < 0.0)
            angle += 2.0 * kPi;
        if (angle < 1e-12 || angle > 2.0 * kPi - 1e-12)
            return fail();  // the line runs along an edge it does not own
        if (angle > bestAngle)
        {
            bestAngle = angle;
            best = c;
        }
        if (!c->mTwin || !c->mTwin->mNext)
            return fail();
        c = c->mTwin->mNext;
        if (c == first)
            return best;
        if (c == windowStart)
            return fail();
        if (++steps == window)
        {
            window *= 2;
            if (window > 1998)
                return fail();
            windowStart = c;
            steps = 0;
        }
    }
}

bool FaceType::InsertLine(StellationLine* line)
{
    auto failed = [] {
        InternalError("InsertLine failed.  Maybe model is not accurate enough?");
        return false;
    };
    double x = 0.0, y = 0.0;
    StellationEdge* entry = FindEntryEdge(line, x, y);
    if (!entry)
        return false;
    // The way into the square from the side it enters by.
    Vec2D dir{-line->mEqn[1], line->mEqn[0]};
    const double L = mOuterLimit;
    const bool inward = y == -L ? dir.y > 0.0 : x == L ? dir.x < 0.0 : dir.y < 0.0;
    if (!inward)
        Vec2Scale(dir, dir, -1.0);
    Vec2Div(dir, dir, Vec2Length(dir));

    SegVert* v = nullptr;
    const SegVert* entryEnd = entry->GetEnd();
    if (SamePoint(entry->mStart->mPos, x, y))
        v = entry->mStart;
    else if (entryEnd && SamePoint(entryEnd->mPos, x, y))
        v = const_cast<SegVert*>(entryEnd);
    else
    {
        v = new SegVert(this, x, y, mOuterVerts);
        SplitEdge(entry, v);
    }

    StellationEdge* firstSegment = nullptr;
    StellationEdge* lastBack = nullptr;
    const int limit = 4 * (mNumRegions + 16) + 1000;
    for (int step = 0; step < limit; ++step)
    {
        StellationEdge* in = v->mEdge ? v->mEdge->mPrev : nullptr;
        StellationEdge* a = FindEdgeAroundVertex(in, line, dir);
        if (!a)
            return failed();
        StellationRegion* region = a->mRegion;
        if (!region)
        {
            if (!firstSegment)
                return failed();
            line->mFirstEdge = firstSegment;
            line->mLastEdge = lastBack;
            return true;
        }

        // The region is convex: its vertices after a's end lie on a's side of the line until the
        // line leaves, through a vertex or across an edge.
        const double s0 = Distance(line, a->GetEnd()->mPos);
        if (std::fabs(s0) <= kSameVertexTol)
            return failed();
        StellationEdge* into = nullptr;  // the edge of the region that ends where the line leaves
        SegVert* exit = nullptr;
        int guard = 0;
        for (StellationEdge* f = a->mNext; f != a && guard < 1 << 20; f = f->mNext, ++guard)
        {
            SegVert* end = f->GetEnd();
            if (!end || !f->mNext)
                return failed();
            if (end == v)
                break;
            const double s = Distance(line, end->mPos);
            if (std::fabs(s) <= kSameVertexTol)
            {
                exit = end;
                into = f;
                break;
            }
            if ((s > 0.0) == (s0 > 0.0))
                continue;
            const Vec2D from = f->mStart->mPos;
            const Vec2D to = end->mPos;
            double px = 0.0, py = 0.0;
            const bool crossed = f->mLine && line->Intersect(*f->mLine, px, py) &&
                                 std::min(from.x, to.x) - kSameVertexTol <= px &&
                                 px <= std::max(from.x, to.x) + kSameVertexTol &&
                                 std::min(from.y, to.y) - kSameVertexTol <= py &&
                                 py <= std::max(from.y, to.y) + kSameVertexTol;
            if (!crossed)
            {
                const double sFrom = Distance(line, from);
                const double t = sFrom / (sFrom - s);
                px = from.x + t * (to.x - from.x);
                py = from.y + t * (to.y - from.y);
            }
            if (SamePoint(from, px, py))
            {
                exit = f->mStart;
                into = f->mPrev;
            }
            else if (SamePoint(to, px, py))
            {
                exit = end;
                into = f;
            }
            else
            {
                const bool inside = f->mRegion && f->mTwin && f->mTwin->mRegion;
                exit = new SegVert(this, px, py, inside ? mVerts : mOuterVerts);
                SplitEdge(f, exit);
                into = f;
            }
            break;
        }
        // A chord to a neighbour of v would lie along an edge.
        if (!exit || exit == a->GetEnd() || exit == a->mPrev->mStart)
            return failed();

        // The chord v -> exit splits the region: the old record keeps a .. into closed by the
        // chord's back half, the new one the rest closed by its front half.
        StellationEdge* out = into->mNext;
        StellationEdge* before = a->mPrev;
        StellationEdge* forth = new StellationEdge(nullptr, line, v);
        StellationEdge* back = new StellationEdge(region, line, exit);
        forth->mTwin = back;
        back->mTwin = forth;
        into->mNext = back;
        back->mPrev = into;
        back->mNext = a;
        a->mPrev = back;
        forth->mNext = out;
        out->mPrev = forth;
        forth->mPrev = before;
        before->mNext = forth;

        StellationRegion* added = new StellationRegion;
        ListAppend(added, mFirstRegion, mLastRegion);
        ++mNumRegions;
        added->mEdge = forth;
        int ringGuard = 0;
        for (StellationEdge* e = forth; ringGuard < 1 << 20; e = e->mNext, ++ringGuard)
        {
            e->mRegion = added;
            if (e->mNext == forth)
                break;
        }
        region->mEdge = a;

        if (region == mInnermostRegion)
        {
            const double centre = line->Eval(0.0, 0.0);
            if (centre != 0.0 && (centre > 0.0) != (s0 > 0.0))
                mInnermostRegion = added;
        }
        if (!firstSegment)
            firstSegment = forth;
        lastBack = back;
        v = exit;
    }
    return failed();
}

void FaceType::CalcDiagramRadius()
{
    double best = -1.0;
    for (const StellationLine* line = mLineEqns; line; line = line->mNext)
        for (const StellationEdge* e : {line->mFirstEdge, line->mLastEdge})
            if (e && e->mStart)
                best = std::max(best, e->mStart->mPos.x * e->mStart->mPos.x + e->mStart->mPos.y * e->mStart->mPos.y);
    mDiagramRadius = best < 0.0 ? 1.0 : std::sqrt(best);
}

int FaceType::GetRegionIndex(const StellationRegion* region) const
{
    if (!region)
        return -1;
    int i = 0;
    for (const StellationRegion* r = mFirstRegion; r; r = r->next, ++i)
        if (r == region)
            return i;
    return -2;
}

int FaceType::GetVertIndex(const SegVert* vert) const
{
    if (!vert)
        return -1;
    int i = 0;
    for (const SegVert* list : {mOuterVerts, mVerts})
        for (const SegVert* v = list; v; v = v->mNext, ++i)
            if (v == vert)
                return i;
    return -2;
}

int FaceType::GetLineIndex(const StellationLine* line) const
{
    if (!line)
        return -1;
    int i = 0;
    for (const StellationLine* l = mLineEqns; l; l = l->mNext, ++i)
        if (l == line)
            return i;
    return -2;
}

int FaceType::GetNumLines() const
{
    int n = 0;
    for (const StellationLine* l = mLineEqns; l; l = l->mNext)
        ++n;
    return n;
}
