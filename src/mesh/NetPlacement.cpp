// Laying facelets flat in their net and the overlap test every join goes through.

#include "mesh/Net.h"

#include "kernel/Intersect2D.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/NetWalkGuard.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kSegmentTol = 1e-6;
constexpr double kShortTol = 1e-7;
constexpr int kConflict = 12;

Vec2D Unit(const Vec2D& from, const Vec2D& to, double& length)
{
    Vec2D d{to.x - from.x, to.y - from.y};
    length = Vec2Length(d);
    if (length > 0.0)
        d = Vec2D{d.x / length, d.y / length};
    return d;
}

void ApplyMap(const double m[6], const Vec2D& p, Vec2D& out)
{
    out = Vec2D{m[0] * p.x + m[2] * p.y + m[4], m[1] * p.x + m[3] * p.y + m[5]};
}

bool IsMarked(const Face3D* face)
{
    return (face->mFlags & kFace3DNetRoot) != 0;
}

void ClearMarks(const Net& net)
{
    for (Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        f->mFlags &= ~kFace3DNetRoot;
}
}  // namespace

double CcwAngle2D(double xx, double xy, double yx, double yy)
{
    double t;
    if (xx * yx + xy * yy >= 0.0)
        t = 2.0 * std::asin(std::min(1.0, std::hypot(yx - xx, yy - xy) / 2.0));
    else
        t = kPi - 2.0 * std::asin(std::min(1.0, std::hypot(xx + yx, xy + yy) / 2.0));
    if (xx * yy - xy * yx < 0.0)
        t = 2.0 * kPi - t;
    return t;
}

void Edge3D::CalcJoinTransform(const Edge3D* e, const Edge3D* n, double map[6])
{
    const Edge3D* p = n->GetNext();
    const Edge3D* q = e->GetNext();
    double length;
    const Vec2D u = Unit(p->mFacePos, n->mFacePos, length);
    const Vec2D w = Unit(e->mNetPos, q->mNetPos, length);
    const double c = Vec2Dot(u, w);
    const double s = u.x * w.y - u.y * w.x;
    map[0] = c;
    map[1] = s;
    map[2] = -s;
    map[3] = c;
    // p's start lands exactly on e's start.
    map[4] = e->mNetPos.x - (c * p->mFacePos.x - s * p->mFacePos.y);
    map[5] = e->mNetPos.y - (s * p->mFacePos.x + c * p->mFacePos.y);
}

int Edge3D::TestEdgeAgainst(Edge3D* s, Edge3D* o, std::vector<Edge3D*>* list)
{
    if (s->mFace->mNet && s->mFace->mNet == o->mFace->mNet)
        return 0;
    const Edge3D* sNext = s->GetNext();
    const Edge3D* oNext = o->GetNext();
    const int contact = SegmentIsectSegment2D(s->mNetPos, sNext->mNetPos, o->mNetPos, oNext->mNetPos, kSegmentTol);
    switch (contact)
    {
    case kSegNoContact:
    case kSegPMeetsR:
    case kSegQMeetsR:
    case kSegQMeetsS:
        return 0;
    case kSegEqualReversed:
        if (!(s->mFlags & (kEdge3DCannotJoin | kEdge3DUserCut)) && o == s->GetNeighInNet(false))
        {
            if (list)
                list->push_back(s);
            else
                s->SetClassFlags(kEdge3DMeeting, true, true, true);
            return 0;
        }
        return kConflict;
    case kSegPMeetsS:
        break;
    default:
        return kConflict;
    }
    // s starts where o ends: the new facelet's corner wedge must not open into the net.
    const Edge3D* sPrev = s->GetPrev();
    double lv, la, lb;
    const Vec2D v = Unit(o->mNetPos, oNext->mNetPos, lv);
    const Vec2D a = Unit(sPrev->mNetPos, s->mNetPos, la);
    const Vec2D b = Unit(sNext->mNetPos, s->mNetPos, lb);
    const double e = lv < kShortTol || la < kShortTol ? 0.0 : CcwAngle2D(v.x, v.y, a.x, a.y);
    const double m = lv < kShortTol || lb < kShortTol ? 0.0 : CcwAngle2D(v.x, v.y, b.x, b.y);
    return m >= e ? kConflict : 0;
}

bool CalcUnfoldedFacePos2D(Edge3D* e, Edge3D* n, bool check, MeetingList* list)
{
    Face3D* face = n->mFace;
    double map[6];
    Edge3D::CalcJoinTransform(e, n, map);
    for (int k = 0; k < 6; ++k)
        face->mNetPlacement[k] = map[k];
    if (face->mFlags & kFace3DFlipped)
    {
        face->mNetPlacement[0] = -map[0];
        face->mNetPlacement[1] = -map[1];
    }
    const int sides = face->mType ? face->mType->mNumSides : 0;
    for (int k = 0; k < sides; ++k)
    {
        Edge3D& edge = face->mEdges[size_t(k)];
        ApplyMap(map, edge.mFacePos, edge.mNetPos);
    }
    if (!check)
        return true;

    // e is treated as outline for the walk: the new facelet is not joined yet.
    const uint32_t saved = e->mFlags;
    e->mFlags &= ~kEdge3DJoinBits;
    bool ok = true;
    for (Edge3D* s = n->GetNext(); ok && s && s != n; s = s->GetNext())
    {
        NetWalkGuard guard;
        Edge3D* o = e;
        do
        {
            if (Edge3D::TestEdgeAgainst(s, o, list) != 0)
            {
                ok = false;
                break;
            }
            o = o->NextOutlineEdge(false);
            if (!o || guard.Stuck(o))
            {
                DebugTrace("CalcUnfoldedFacePos2D: stuck in loop\n");
                ok = false;
                break;
            }
        } while (o != e);
    }
    e->mFlags = saved;
    return ok;
}

void MarkMeetingEdges(MeetingList& list, bool allCopies)
{
    for (Edge3D* e : list)
    {
        if (allCopies)
        {
            e->SetClassFlags(kEdge3DMeeting, true, true, true);
        }
        else
        {
            e->mFlags |= kEdge3DMeeting;
            if (Edge3D* partner = e->GetNeighInNet(false))
                partner->mFlags |= kEdge3DMeeting;
        }
    }
    list.clear();
}

void Net::Relayout()
{
    if (!mFirstFace)
        return;
    ClearMarks(*this);
    std::vector<Edge3D*> stack;
    mFirstFace->mFlags |= kFace3DNetRoot;
    const int rootSides = mFirstFace->mType ? mFirstFace->mType->mNumSides : 0;
    for (int k = rootSides - 1; k >= 0; --k)
        stack.push_back(&mFirstFace->mEdges[size_t(k)]);
    while (!stack.empty())
    {
        Edge3D* g = stack.back();
        stack.pop_back();
        Edge3D* h = g->GetNeighInNet(false);
        if (!h)
        {
            DebugTrace("Edge %s has no neighbour\n", Edge3D::GetName(g));
            continue;
        }
        Face3D* face = h->mFace;
        if (face->mNet != this || IsMarked(face))
            continue;
        face->mFlags |= kFace3DNetRoot;
        CalcUnfoldedFacePos2D(g, h, false, nullptr);
        for (int k = face->mType->mNumSides - 1; k >= 0; --k)
            if (face->mEdges[size_t(k)].mFlags & kEdge3DJoinBits)
                stack.push_back(&face->mEdges[size_t(k)]);
    }
    ClearMarks(*this);
}

bool Net::TryRelayout(Edge3D* s, MeetingList* list)
{
    ClearMarks(*this);
    Face3D* anchor = s->mFace;
    const uint32_t anchorMark = anchor->mFlags & kFace3DNetRoot;
    anchor->mFlags |= kFace3DNetRoot;
    bool ok = true;
    std::vector<Edge3D*> stack{s};
    while (ok && !stack.empty())
    {
        Edge3D* g = stack.back();
        stack.pop_back();
        // A join without a partner cannot be laid out: the trial fails.
        Edge3D* h = g->GetNeighInNet(false);
        if (!h)
        {
            ok = false;
            break;
        }
        Face3D* face = h->mFace;
        if (IsMarked(face))
            continue;
        face->mFlags |= kFace3DNetRoot;
        if (!CalcUnfoldedFacePos2D(g, h, true, list))
        {
            ok = false;
            break;
        }
        for (int k = face->mType->mNumSides - 1; k >= 0; --k)
            if (face->mEdges[size_t(k)].mFlags & kEdge3DJoinBits)
                stack.push_back(&face->mEdges[size_t(k)]);
    }
    ClearMarks(*this);
    anchor->mFlags = (anchor->mFlags & ~kFace3DNetRoot) | anchorMark;
    if (!ok)
        Relayout();
    return ok;
}
