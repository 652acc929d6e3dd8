// Fewer, larger nets: copies of an asymmetric net combined into one symmetric net, and groups of
// small neighbouring net types merged into single nets.

#include "mesh/Net.h"

#include "kernel/Messages.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
struct CombineCandidate
{
    int i, j;  // facelet position in the first net, edge index
    int k;     // nets in the cycle
    uint32_t flags;
    double weight;
};

// The net across edge (i, j) of net; null when there is none.
Net* NetAcross(const Net* net, int i, int j, Edge3D** edge = nullptr)
{
    Edge3D* e = net->GetEdge(i, j);
    Edge3D* partner = e ? e->GetNeighInNet(false) : nullptr;
    if (edge)
        *edge = e;
    return partner ? partner->mFace->mNet : nullptr;
}

void MoveFaceToHead(Net& net, Face3D* face)
{
    if (!face || net.mFirstFace == face)
        return;
    Face3D* before = net.mFirstFace;
    while (before && before->mNextInNet != face)
        before = before->mNextInNet;
    if (!before)
        return;
    before->mNextInNet = face->mNextInNet;
    if (net.mLastFace == face)
        net.mLastFace = before;
    face->mNextInNet = net.mFirstFace;
    net.mFirstFace = face;
}

// The type's nets that still hold facelets, in a fresh array; the facelets follow their nets.
void CompactNets(NetType& type, bool relayoutNewFirst)
{
    std::vector<Net> kept;
    for (int k = 0; k < type.mNumNets; ++k)
        if (!(type.mNets[size_t(k)].mFlags & kNetEmptied) && type.mNets[size_t(k)].mFirstFace)
            kept.push_back(type.mNets[size_t(k)]);
    const bool firstMoved = type.mNumNets > 0 && (type.mNets[0].mFlags & kNetEmptied);
    type.AllocateNets(int(kept.size()));
    for (size_t k = 0; k < kept.size(); ++k)
    {
        Net& net = type.mNets[k];
        net = kept[k];
        net.mNetType = &type;
        for (Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
            f->mNet = &net;
    }
    if (relayoutNewFirst && firstMoved && type.mNumNets > 0)
        type.mNets[0].Relayout();
}

template <class Visit>
void ForNetEdges(const Net& net, Visit visit)
{
    for (Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            visit(&f->mEdges[size_t(k)]);
}

NetType* NeighbourType(const Edge3D* e)
{
    const Net* net = e->mNeigh && e->mNeigh->mFace ? e->mNeigh->mFace->mNet : nullptr;
    return net ? net->mNetType : nullptr;
}

// Marks the type and, recursively, the candidates it joins across free convex folds; answers the
// type's own qualifying edges.
int MarkGroup(NetType* type)
{
    if (type->mFlags & (kNetTypeInGroup | kNetTypeRejected))
        return 0;
    type->mFlags |= kNetTypeInGroup;
    const Net* first = type->GetFirstNet();
    bool rejected = false;
    ForNetEdges(*first, [&](Edge3D* e) {
        const NetType* u = NeighbourType(e);
        if (u && (u->mFlags & kNetTypeInGroup) && (!e->IsConvex() || e->mCoincEdge))
            rejected = true;
    });
    if (rejected)
    {
        type->mFlags = (type->mFlags & ~kNetTypeInGroup) | kNetTypeRejected;
        return 0;
    }
    int count = 0;
    ForNetEdges(*first, [&](Edge3D* e) {
        NetType* u = NeighbourType(e);
        if (!u || (e->GetClassRep()->mFlags & kEdge3DClassJoined) ||
            e->AllClassFlags(kEdge3DCannotJoin | kEdge3DUserCut) || e->mCoincEdge || !e->IsConvex() ||
            !(u->mFlags & kNetTypeMergeable))
            return;
        if (!(u->mFlags & (kNetTypeInGroup | kNetTypeRejected)))
            MarkGroup(u);
        count += !(u->mFlags & kNetTypeRejected);
    });
    return count;
}

void ClearGroupMarks(NetType* from)
{
    for (NetType* t = from; t; t = t->mNext)
    {
        t->mFlags &= ~(kNetTypeInGroup | kNetTypeRejected);
        for (int k = 0; k < t->mNumNets; ++k)
            t->mNets[size_t(k)].mFlags &= ~kNetConnectChecked;
    }
}

// Drops emptied nets from the node on, and the types left without nets; answers the type to look
// at after the node.
NetType* CompactNetTypes(Model3D* model, NetType* node)
{
    std::vector<NetType*> after;
    for (NetType* t = node->mNext; t; t = t->mNext)
        after.push_back(t);
    NetType* prev = nullptr;
    for (NetType* t = model->mNetTypes; t && t != node; t = t->mNext)
        prev = t;
    std::vector<NetType*> deleted;
    for (NetType* t = node; t;)
    {
        NetType* next = t->mNext;
        CompactNets(*t, true);
        if (t->mNumNets == 0)
        {
            if (prev)
                prev->mNext = next;
            else
                model->mNetTypes = next;
            deleted.push_back(t);
            delete t;
        }
        else
        {
            prev = t;
        }
        t = next;
    }
    model->mLastNetType = nullptr;
    for (NetType* t = model->mNetTypes; t; t = t->mNext)
        model->mLastNetType = t;
    for (NetType* t : after)
        if (std::find(deleted.begin(), deleted.end(), t) == deleted.end())
            return t;
    return nullptr;
}

NetType* TryMergeGroup(Model3D* model, NetType* node)
{
    if (!(node->mFlags & kNetTypeMergeable))
        return node->mNext;
    const int count = MarkGroup(node);
    Net* start = node->GetFirstNet();
    if (count == 0 || !start->CheckConnect(start))
    {
        ClearGroupMarks(node);
        node->mFlags &= ~kNetTypeMergeable;
        return node->mNext;
    }
    for (NetType* t = node; t; t = t->mNext)
    {
        if (!(t->mFlags & kNetTypeInGroup))
            continue;
        for (int k = 0; k < t->mNumNets; ++k)
        {
            t->mNets[size_t(k)].mFlags &= ~kNetVisited;
            if (k > 0)
                t->mNets[size_t(k)].Relayout();
        }
    }
    // Types made here go to the head of the list, out of the walk below.
    for (NetType* t = node; t; t = t->mNext)
    {
        if (!(t->mFlags & kNetTypeInGroup))
            continue;
        for (int k = 0; k < t->mNumNets; ++k)
        {
            Net& net = t->mNets[size_t(k)];
            if (net.mFlags & (kNetVisited | kNetEmptied))
                continue;
            if (!net.Absorb(nullptr, nullptr))
            {
                ClearGroupMarks(node);
                node->mFlags &= ~kNetTypeMergeable;
                return CompactNetTypes(model, node);
            }
            NetType* merged = new NetType(1, 1);
            Net& moved = merged->mNets[0];
            moved.mNetType = merged;
            moved.mFirstFace = net.mFirstFace;
            moved.mLastFace = net.mLastFace;
            moved.mFlags = net.mFlags & ~kNetEmptied;
            for (Face3D* f = moved.mFirstFace; f; f = f->mNextInNet)
                f->mNet = &moved;
            net.mFirstFace = net.mLastFace = nullptr;
            net.mFlags |= kNetEmptied;
            merged->mNext = model->mNetTypes;
            model->mNetTypes = merged;
            if (!model->mLastNetType)
                model->mLastNetType = merged;
        }
    }
    ClearGroupMarks(node);
    return CompactNetTypes(model, node);
}
}  // namespace

bool Net::CheckConnect(const Net* start)
{
    if (mFlags & kNetConnectChecked)
        return false;
    const NetType* type = mNetType;
    if (!type || (type->mFlags & kNetTypeRejected) || !(type->mFlags & kNetTypeInGroup))
        return false;
    if (type->mNumNets == 1)
        return true;
    mFlags |= kNetConnectChecked;
    if (type == start->mNetType && this != start)
        return true;
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
        {
            const Edge3D* e = &f->mEdges[size_t(k)];
            if ((e->mFlags & (kEdge3DCannotJoin | kEdge3DUserCut)) || e->mCoincEdge || !e->IsConvex() || !e->mNeigh)
                continue;
            Net* other = e->mNeigh->mFace->mNet;
            if (other && other->CheckConnect(start))
                return true;
        }
    return false;
}

bool Net::Absorb(Net* into, Edge3D* edge)
{
    if (mFlags & kNetVisited)
        return false;
    if (GetNumFaces(this) + GetNumFaces(into) > GetUnitSettings().mMaxFacesPerNet)
        return false;
    if (edge)
    {
        Edge3D* partner = edge->GetNeighInNet(false);
        if (!partner)
            return false;
        const uint32_t edgeJoined = edge->mFlags & kEdge3DJoined;
        const uint32_t partnerJoined = partner->mFlags & kEdge3DJoinedOtherSide;
        edge->mFlags |= kEdge3DJoined;
        partner->mFlags |= kEdge3DJoinedOtherSide;
        MeetingList list;
        if (!TryRelayout(edge, &list))
        {
            edge->mFlags = (edge->mFlags & ~kEdge3DJoined) | edgeJoined;
            partner->mFlags = (partner->mFlags & ~kEdge3DJoinedOtherSide) | partnerJoined;
            return false;
        }
        MarkMeetingEdges(list, false);
    }
    mFlags |= kNetVisited;
    if (edge)
    {
        MergeInto(into, edge);
        return true;
    }
    bool any = false;
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
        {
            Edge3D* p = &f->mEdges[size_t(k)];
            if (!p->mNeigh || (p->mFlags & (kEdge3DJoinBits | kEdge3DCannotJoin | kEdge3DUserCut)))
                continue;
            const Edge3D* partner = p->GetNeighInNet(false);
            Net* other = partner ? partner->mFace->mNet : nullptr;
            if (other && other != this && other->mNetType && (other->mNetType->mFlags & kNetTypeInGroup) &&
                other->Absorb(this, p))
                any = true;
        }
    return any;
}

void NetType::MarkMergeable()
{
    mFlags &= ~kNetTypeMergeable;
    const Net* first = GetFirstNet();
    if (!first || Net::GetNumFaces(first) >= GetUnitSettings().mMaxFacesPerNet)
        return;
    int counted = 0;
    bool refused = false;
    ForNetEdges(*first, [&](Edge3D* e) {
        if (refused)
            return;
        if (e->GetClassRep()->mFlags & kEdge3DClassJoined)
        {
            refused = !e->IsConvex();
            return;
        }
        if (e->AllClassFlags(kEdge3DCannotJoin | kEdge3DUserCut) || e->mCoincEdge)
            return;
        if (e->IsConvex())
            ++counted;
        else if (NeighbourType(e) == this)
            refused = true;
    });
    if (!refused && counted > 0)
        mFlags |= kNetTypeMergeable;
}

void Model3D::MergeNetTypes()
{
    for (NetType* t = mNetTypes; t; t = t->mNext)
        t->MarkMergeable();
    for (NetType* node = mNetTypes; node;)
        node = TryMergeGroup(this, node);
    mCurrentNet = mNetTypes ? mNetTypes->GetFirstNet() : nullptr;
}

void NetType::TryToCombineNets(int n)
{
    Net* first = GetFirstNet();
    if (mSymOrder > 1 || !first)
        return;
    const int faces = Net::GetNumFaces(first);
    if (faces > 0)
        n = std::min(n, GetUnitSettings().mMaxFacesPerNet / faces);

    std::vector<CombineCandidate> candidates;
    int i = 0;
    for (Face3D* f = first->mFirstFace; f; f = f->mNextInNet, ++i)
        for (int j = 0; j < f->mType->mNumSides; ++j)
        {
            Edge3D* p = &f->mEdges[size_t(j)];
            if (p->mFlags & kEdge3DCut)
                continue;
            const Edge3D* strict = p->GetNeighInNet(true);
            const Net* across = strict ? strict->mFace->mNet : nullptr;
            if (!across || across == first || across->mNetType != this)
                continue;
            int k = 1;
            const Net* net = first;
            for (;;)
            {
                net = NetAcross(net, i, j);
                if (!net || net->mNetType != this || k > n)
                    break;
                if (net == first)
                    break;
                ++k;
            }
            if (net != first || k > n)
                continue;
            const Edge3D* partner = p->GetNeighInNet(false);
            if (!partner || !p->mVert || !partner->mVert)
                continue;
            Vec3D sum;
            Vec3Add(sum, p->mVert->mPos, partner->mVert->mPos);
            candidates.push_back({i, j, k, p->mFlags, Vec3Dot(sum, sum)});
        }
    if (candidates.empty())
        return;
    std::stable_sort(candidates.begin(), candidates.end(), [](const CombineCandidate& a, const CombineCandidate& b) {
        if (a.k != b.k)
            return a.k > b.k;
        if ((a.flags & kEdge3DAxisCrossing) != (b.flags & kEdge3DAxisCrossing))
            return (a.flags & kEdge3DAxisCrossing) != 0;
        if ((a.flags & kEdge3DLineMark) != (b.flags & kEdge3DLineMark))
            return (a.flags & kEdge3DLineMark) != 0;
        if (a.weight != b.weight)
            return a.weight > b.weight;
        if (a.i != b.i)
            return a.i < b.i;
        return a.j < b.j;
    });

    for (const CombineCandidate& c : candidates)
    {
        MeetingList list;
        std::vector<std::pair<Edge3D*, Edge3D*>> joins;
        bool ok = true;
        Net* net = first;
        for (int guard = 0; guard <= c.k; ++guard)
        {
            Edge3D* e = nullptr;
            Net* next = NetAcross(net, c.i, c.j, &e);
            if (!next || next == first)
                break;
            Edge3D* partner = e->GetNeighInNet(false);
            e->mFlags |= kEdge3DJoined;
            partner->mFlags |= kEdge3DJoinedOtherSide;
            joins.push_back({e, partner});
            if (!next->TryRelayout(e, &list))
            {
                ok = false;
                break;
            }
            net = next;
        }
        for (auto& [e, partner] : joins)
        {
            e->mFlags &= ~kEdge3DJoined;
            partner->mFlags &= ~kEdge3DJoinedOtherSide;
        }
        if (!ok)
            continue;

        mSymOrder = c.k;
        // A net already combined is never taken into another: the cycles of a type whose copies
        // are not one per rotation need not be disjoint.
        std::vector<char> combined(size_t(mNumNets), 0);
        auto indexOf = [this](const Net* net) { return size_t(net - mNets.get()); };
        for (int s = 0; s < mNumNets; ++s)
        {
            Net* base = &mNets[size_t(s)];
            if (!base->mFirstFace || (base->mFlags & kNetEmptied))
                continue;
            combined[size_t(s)] = 1;
            // Each copy's edge (i, j) is found before the copy is merged: its list positions change.
            Edge3D* e = base->GetEdge(c.i, c.j);
            Face3D* middleRoot = nullptr;
            for (int merged = 1; e && merged < c.k + 1; ++merged)
            {
                Edge3D* partner = e->GetNeighInNet(false);
                Net* next = partner ? partner->mFace->mNet : nullptr;
                if (!next || next == base || next->mNetType != this || combined[indexOf(next)])
                    break;
                combined[indexOf(next)] = 1;
                Edge3D* nextEdge = next->GetEdge(c.i, c.j);
                if (c.k >= 3 && merged == (c.k - 1) / 2)
                    middleRoot = next->mFirstFace;
                next->MergeInto(base, e);
                e = nextEdge;
            }
            if (middleRoot)
                MoveFaceToHead(*base, middleRoot);
        }
        const int expected = mNumNets / c.k;
        CompactNets(*this, false);
        if (mNumNets != expected)
            InternalError("TryToCombineNets: wrong number of nets\nExpected %d, got %d", expected, mNumNets);
        MarkMeetingEdges(list, true);
        return;
    }
}
