// Which facelets form a net: symmetric starts (vertex rings, facelets on axes, single facelets),
// coplanar groups, and growth of all copies of a type together.

#include "mesh/Net.h"

#include "kernel/Messages.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Edge3DType.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/Poly.h"
#include "model/SymGroup.h"

#include <utility>
#include <vector>

namespace
{
bool HasFreeFace(const Face3DType* type)
{
    for (int f = 0; f < type->mNumFaces; ++f)
        if (!type->mFaces[size_t(f)].mNet)
            return true;
    return false;
}

constexpr double kConvexLimit = 3.141592753589793;
constexpr double kFlatLow = 3.1415925535897933;
// Rings larger than this around one vertex are a broken mesh.
constexpr int kMaxRing = 101;

int MaxFacesPerNet()
{
    return GetUnitSettings().mMaxFacesPerNet;
}

int RotationOrder(const Model3D* model)
{
    const SymGroup* group = model && model->mPoly ? model->mPoly->GetSymGroup() : nullptr;
    return group && group->mOrder > 0 ? group->mOrder : 1;
}

int GroupKind(const Model3D* model)
{
    const SymGroup* group = model && model->mPoly ? model->mPoly->GetSymGroup() : nullptr;
    return group ? group->mKind : SymGroup::kNoSymmetry;
}

int AxisOrder(const Model3D* model, const Vert3D* v)
{
    const SymGroup* group = model && model->mPoly ? model->mPoly->GetSymGroup() : nullptr;
    if (!group || !(v->mFlags & kVert3DOnAxis))
        return 1;
    const int axisClass = v->GetAxisClass();
    if (axisClass < 0 || axisClass >= group->mNumAxisSets)
        return 1;
    return group->mAxisSets[axisClass].mOrder > 0 ? group->mAxisSets[axisClass].mOrder : 1;
}

// The member edges of the edge class on one facelet of its type.
template <class Visit>
void ForClassEdgesOn(const Edge3DType& cls, Face3D* face, Visit visit)
{
    for (int idx = cls.mEdge; idx < cls.mLoopEnd; idx += cls.mStep)
        visit(&face->mEdges[size_t(idx)]);
}

// Moves the facelet at the list position to the head.
void MoveToHead(Net& net, int position)
{
    if (position <= 0)
        return;
    Face3D* before = net.mFirstFace;
    for (int k = 1; before && k < position; ++k)
        before = before->mNextInNet;
    Face3D* moved = before ? before->mNextInNet : nullptr;
    if (!moved)
        return;
    before->mNextInNet = moved->mNextInNet;
    if (net.mLastFace == moved)
        net.mLastFace = before;
    moved->mNextInNet = net.mFirstFace;
    net.mFirstFace = moved;
}
}  // namespace

bool NetType::CreateFromFaceType(Face3DType* type)
{
    // A type may be taken in part already: the mirror images among its facelets form orbits of
    // their own under the rotations that grow nets. Only the free facelets start nets.
    int free = 0;
    for (int f = 0; f < type->mNumFaces; ++f)
        free += !type->mFaces[size_t(f)].mNet;
    AllocateNets(free);
    int made = 0;
    for (int f = 0; f < type->mNumFaces; ++f)
    {
        Face3D* face = &type->mFaces[size_t(f)];
        if (!face->mNet)
            mNets[size_t(made++)].Init(this, face);
    }
    return true;
}

bool NetType::CreateFromVert(Edge3D* start, Model3D* model)
{
    AllocateNets(RotationOrder(model) / (mSymOrder > 0 ? mSymOrder : 1));
    Edge3DType cls;
    if (!cls.Init(start))
        return false;
    int made = 0;
    for (Edge3D* q = cls.NextMember(nullptr); q; q = cls.NextMember(q))
    {
        if (q->mFace->mNet)
            continue;
        if (made >= mNumNets)
        {
            // The orbit holds more vertices than the type has room for: end the type here.
            InternalError("CreateFromVert() - Too many nets");
            return false;
        }
        Net& net = mNets[size_t(made++)];
        net.Init(this, q->mFace);
        const Edge3D* stop = q->GetPrev()->GetNeighInNet(false);
        Edge3D* e = q;
        int k = 1;
        for (int guard = 0; e && e != stop; ++guard)
        {
            Edge3D* n = e->GetNeighInNet(false);
            if (!n || guard > kMaxRing)
            {
                InternalError("CreateFromVert() - ring around %s is broken", Edge3D::GetName(q));
                return false;
            }
            if (n->mFace->mNet)
            {
                InternalError("CreateFromVert() - Face %d already done(2)\nNetType %d, Net %d", Face3D::GetIndex(n->mFace),
                              GetIndex(), Net::GetGlobalIndex(&net, model));
                return false;
            }
            if (made == 1)
                CalcUnfoldedFacePos2D(e, n, true, nullptr);
            net.AddFace(e, n);
            ++k;
            e = n->GetNext();
        }
        MoveToHead(net, (k - 1) / 2);
    }
    if (made < mNumNets)
    {
        InternalError("CreateFromVert() - Too few nets");
        mNumNets = made;
    }
    return true;
}

bool NetType::Spread()
{
    Net* first = GetFirstNet();
    if (!first)
        return true;
    const int maxFaces = MaxFacesPerNet();
    int facelets = Net::GetNumFaces(first);
    for (Face3D* cur = first->mFirstFace; cur; cur = cur->mNextInNet)
    {
        if (mSymOrder + facelets > maxFaces)
            break;
        Edge3DType cls;
        if (!cls.Init(cur->mType))
            continue;
        do
        {
            Edge3D* rep = cls.NextMember(nullptr);
            if (!rep || (rep->mFlags & (kEdge3DCut | kEdge3DJoinBits | kEdge3DClassJoined)))
                continue;
            const Edge3D* strict = rep->GetNeighInNet(true);
            if (!strict || strict->mFace->mNet)
                continue;
            const int partnerRots = strict->mFace->mType->GetNumRots();
            if (partnerRots > 1 && partnerRots != mSymOrder)
                continue;

            // Trial: the class may not join two nets of this type, and every new facelet of the
            // first net must fit.
            bool failed = false;
            for (Edge3D* e = cls.NextMember(nullptr); e && !failed; e = cls.NextMember(e))
            {
                const Edge3D* n = e->GetNeighInNet(false);
                if (n && n->mFace->mNet && n->mFace->mNet->mNetType == this)
                    failed = true;
            }
            MeetingList list;
            std::vector<std::pair<Edge3D*, Edge3D*>> trial;
            for (Face3D* f = first->mFirstFace; f && !failed; f = f->mNextInNet)
            {
                if (f->mType != cur->mType)
                    continue;
                ForClassEdgesOn(cls, f, [&](Edge3D* e) {
                    if (failed)
                        return;
                    Edge3D* n = e->GetNeighInNet(false);
                    if (!n)
                        return;
                    if (n->mFace->mNet)
                    {
                        failed = n->mFace->mNet->mNetType == this;
                        return;
                    }
                    if (!CalcUnfoldedFacePos2D(e, n, true, &list))
                    {
                        failed = true;
                        return;
                    }
                    e->mFlags |= kEdge3DJoined;
                    n->mFlags |= kEdge3DJoinedOtherSide;
                    // In the first net for the rest of the trial, off its list.
                    n->mFace->mNet = first;
                    trial.push_back({e, n});
                });
            }
            for (auto& [e, n] : trial)
            {
                n->mFace->mNet = nullptr;
                e->mFlags &= ~kEdge3DJoined;
                n->mFlags &= ~kEdge3DJoinedOtherSide;
            }
            if (failed)
                continue;
            // Only the facelets the trial saw: the new ones are grown from when the walk reaches them.
            for (int s = 0; s < mNumNets; ++s)
            {
                Net& net = mNets[size_t(s)];
                Face3D* last = net.mLastFace;
                for (Face3D* f = net.mFirstFace, *next = nullptr; f; f = f == last ? nullptr : next)
                {
                    next = f->mNextInNet;
                    if (f->mType != cur->mType)
                        continue;
                    ForClassEdgesOn(cls, f, [&](Edge3D* member) {
                        Edge3D* partner = member->GetNeighInNet(false);
                        if (partner && !partner->mFace->mNet)
                        {
                            if (&net == first)
                                CalcUnfoldedFacePos2D(member, partner, false, nullptr);
                            net.AddFace(member, partner);
                            facelets += &net == first;
                        }
                    });
                }
            }
            MarkMeetingEdges(list, true);
        } while (cls.NextClass());
    }
    const int actual = Net::GetNumFaces(first);
    if (facelets != actual)
        InternalError("Spread() - Expected %d faces, but actually have %d", facelets, actual);
    return true;
}

Edge3D* BestStartAroundVertex(Model3D* /*model*/, Edge3D* edge)
{
    // The ring is cut at its shortest reflex edge when it has one, else at its shortest edge.
    Edge3D* q = nullptr;
    double best = 999999.9;
    bool reflexFound = false;
    Edge3D* e = edge;
    for (int guard = 0;; ++guard)
    {
        const bool reflex = e->mDihedral > kConvexLimit;
        const Edge3D* next = e->GetNext();
        const double dx = next->mFacePos.x - e->mFacePos.x, dy = next->mFacePos.y - e->mFacePos.y;
        const double length2 = dx * dx + dy * dy;
        if (reflex && !reflexFound)
        {
            reflexFound = true;
            best = length2;
            q = e;
        }
        else if (reflex == reflexFound && length2 < best)
        {
            best = length2;
            q = e;
        }
        Edge3D* n = e->GetNeighInNet(false);
        if (!n || guard > kMaxRing)
            return nullptr;
        e = n->GetNext();
        if (e == edge)
            break;
    }
    Edge3D* across = q ? q->GetNeighInNet(false) : nullptr;
    Edge3D* r = across ? across->GetNext() : nullptr;
    if (!r)
        return nullptr;
    if (r->mFace->mNet)
    {
        InternalError("BestStartAroundVertex() - Face already done");
        return nullptr;
    }
    MeetingList scratch;
    std::vector<std::pair<Edge3D*, Edge3D*>> path;
    bool reached = false;
    e = r;
    for (int guard = 0; e && guard <= kMaxRing; ++guard)
    {
        if (e == q)
        {
            reached = true;
            break;
        }
        Edge3D* n = e->GetNeighInNet(true);
        if (!n)
            break;
        if (n->mFace->mNet)
        {
            InternalError("BestStartAroundVertex() - Face %d already done\n", Face3D::GetIndex(n->mFace));
            break;
        }
        if (!CalcUnfoldedFacePos2D(e, n, true, &scratch))
            break;
        e->mFlags |= kEdge3DJoined;
        n->mFlags |= kEdge3DJoinedOtherSide;
        e->GetClassRep()->mFlags |= kEdge3DTrialRing;
        n->GetClassRep()->mFlags |= kEdge3DTrialRing;
        path.push_back({e, n});
        e = n->GetNext();
    }
    for (auto& [a, b] : path)
    {
        a->mFlags &= ~kEdge3DJoined;
        b->mFlags &= ~kEdge3DJoinedOtherSide;
        a->GetClassRep()->mFlags &= ~kEdge3DTrialRing;
        b->GetClassRep()->mFlags &= ~kEdge3DTrialRing;
    }
    return reached ? r : nullptr;
}

void Model3D::GroupCoplanarFacelets()
{
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
        for (int f = 0; f < type->mNumFaces; ++f)
            type->mFaces[size_t(f)].mFlags &= ~kFace3DNetRoot;
    const int order = RotationOrder(this);
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        Face3D* f0 = type->mNumFaces > 0 ? &type->mFaces[0] : nullptr;
        if (!f0 || f0->mNet)
            continue;
        f0->mFlags |= kFace3DNetRoot;
        std::vector<Edge3D*> queue;
        int counted = 0;
        for (size_t head = 0;; ++head)
        {
            Face3D* q = head == 0 ? f0 : nullptr;
            if (head > 0)
            {
                if (head > queue.size())
                    break;
                q = queue[head - 1]->mNeigh->mFace;
            }
            for (int k = 0; k < q->mType->mNumSides; ++k)
            {
                Edge3D* r = &q->mEdges[size_t(k)];
                Edge3D* s = r->mNeigh;
                if (!s)
                    continue;
                if (s->mFace->mFlags & kFace3DNetRoot)
                {
                    r->mFlags |= kEdge3DMeeting;
                    s->mFlags |= kEdge3DMeeting;
                    continue;
                }
                if (!(r->GetClassRep()->mFlags & kEdge3DCut) && !r->mCoincEdge && !s->mFace->mNet &&
                    r->mDihedral >= kFlatLow && r->mDihedral <= kConvexLimit)
                {
                    s->mFace->mFlags |= kFace3DNetRoot;
                    queue.push_back(r);
                    counted += s->mFace->mType == type;
                }
            }
        }
        f0->mFlags &= ~kFace3DNetRoot;
        if (queue.empty())
            continue;
        const int b = 1 + counted;
        const int nets = type->mNumFaces / b;
        NetType* netType = new NetType(nets > 0 ? order / nets : 1, nets);
        netType->Append(mNetTypes, mLastNetType);
        if (nets <= 0)
        {
            for (Edge3D* r : queue)
                r->mNeigh->mFace->mFlags &= ~kFace3DNetRoot;
            continue;
        }
        Net* first = netType->GetFirstNet();
        first->Init(netType, f0);
        for (Edge3D* r : queue)
        {
            Edge3D* s = r->mNeigh;
            s->mFace->mFlags &= ~kFace3DNetRoot;
            CalcUnfoldedFacePos2D(r, s, false, nullptr);
            first->AddFace(r, s);
        }
        netType->CopyFirstNet();
    }
}

void GenerateNets(Model3D* model)
{
    const int maxFaces = MaxFacesPerNet();
    bool faceSwitch = maxFaces != 1;
    bool vertSwitch = maxFaces != 1;
    bool fallbackSwitch = maxFaces != 1;
    const int kind = GroupKind(model);
    for (NetType* t = model->mNetTypes; t; t = t->mNext)
        if (t->mSymOrder > 1 && !t->Spread())
            return;

    enum Choice
    {
        kNone,
        kVertexStart,
        kFaceTypeStart
    };
    for (;;)
    {
        Choice choice = kNone;
        int d = 1;
        Edge3D* startEdge = nullptr;
        Face3DType* startType = nullptr;

        if (vertSwitch)
        {
            vertSwitch = false;
            double g = -999999.9, h = 999999.9;
            bool bestConvex = false;
            for (Vert3D* v = model->mNumVerts > 0 ? &model->mVerts[0] : nullptr; v; v = Vert3D::GetNextType(v, model))
            {
                if (v->mFlags & kVert3DCentre)
                    continue;
                const int l = AxisOrder(model, v);
                const double u = Vec3Dot(v->mPos, v->mPos);
                if (u < g)
                    continue;
                for (Edge3D* p = v->mFirstEdge; p; p = p->mNextAtVert)
                {
                    if (p->mFlags & (kEdge3DWalked | kEdge3DNoStart | kEdge3DNonConvexRing))
                        continue;
                    if (p->mFace->mNet)
                    {
                        p->mFlags |= kEdge3DNoStart;
                        continue;
                    }
                    Edge3D* e = p;
                    int i = 0;
                    bool convex = true;
                    bool skip = false;
                    do
                    {
                        if (e != p)
                        {
                            if (e->mFlags & (kEdge3DNoStart | kEdge3DNonConvexRing))
                            {
                                p->mFlags |= e->mFlags & (kEdge3DNoStart | kEdge3DNonConvexRing);
                                skip = true;
                                break;
                            }
                            e->mFlags |= kEdge3DWalked;
                        }
                        if ((e->mFlags & kEdge3DCut) || e->mFace->mNet)
                        {
                            p->mFlags |= kEdge3DNoStart;
                            skip = true;
                            break;
                        }
                        if (e->mDihedral > kConvexLimit)
                            convex = false;
                        Edge3D* n = e->GetNeighInNet(true);
                        if (!n)
                        {
                            p->mFlags |= kEdge3DNoStart;
                            skip = true;
                            break;
                        }
                        e = n->GetNext();
                        ++i;
                        if (i > kMaxRing)
                        {
                            InternalError("GenerateNets: Failed to find edge loop around vertex %d, starting at %s",
                                          Vert3D::GetIndex(v, model), Edge3D::GetName(p));
                            p->mFlags |= kEdge3DNoStart;
                            skip = true;
                            break;
                        }
                        if (i > maxFaces)
                        {
                            p->mFlags |= kEdge3DNoStart;
                            skip = true;
                            break;
                        }
                    } while (e != p);
                    if (skip || (!convex && bestConvex))
                        continue;
                    int ringSym = 1;
                    if (i % l == 0 && l > 1)
                    {
                        Edge3D* w = p;
                        for (int k = 0; w && k < i / l; ++k)
                        {
                            Edge3D* n = w->GetNeighInNet(false);
                            w = n ? n->GetNext() : nullptr;
                        }
                        ringSym = w && w != p && Edge3D::IsSameTypeEdge(w, p) ? l : 1;
                    }
                    // A facelet with another corner of this vertex type would be in two rings.
                    double sum = 0.0;
                    e = p;
                    for (int k = 0; k < i && !skip; ++k)
                    {
                        const Face3D* face = e->mFace;
                        for (int j = 0; j < face->mType->mNumSides; ++j)
                        {
                            const Edge3D* other = &face->mEdges[size_t(j)];
                            if (other != e && Vert3D::IsSameType(other->mVert, v))
                            {
                                skip = true;
                                break;
                            }
                        }
                        sum += e->mDihedral;
                        const Edge3D* across = e->GetNeighInNet(false);
                        e = across ? across->GetNext() : nullptr;
                        if (!e)
                        {
                            skip = true;
                            break;
                        }
                    }
                    if (skip)
                    {
                        p->mFlags |= kEdge3DNoStart;
                        continue;
                    }
                    if (!convex && ringSym == 1)
                    {
                        p->mFlags |= kEdge3DNonConvexRing;
                        continue;
                    }
                    const double mean = sum / i;
                    if (u > g || (u == g && mean < h))
                    {
                        choice = kVertexStart;
                        g = u;
                        h = mean;
                        d = ringSym;
                        bestConvex = convex;
                        startEdge = p;
                        vertSwitch = true;
                    }
                }
            }
            if (choice == kNone)
                for (NetType* t = model->mNetTypes; t; t = t->mNext)
                    if (!t->Spread())
                        return;
        }

        if (choice == kNone && faceSwitch)
        {
            faceSwitch = false;
            for (Face3DType* type = model->mFaceTypes; type; type = type->mNext)
            {
                if (!HasFreeFace(type))
                    continue;
                const int r = type->GetNumRots();
                if (r > d && !(kind == SymGroup::kDihedral && r > 2))
                {
                    choice = kFaceTypeStart;
                    d = r;
                    startType = type;
                    faceSwitch = true;
                }
            }
        }

        if (choice == kNone && fallbackSwitch)
        {
            fallbackSwitch = false;
            for (Vert3D* v = model->mNumVerts > 0 ? &model->mVerts[0] : nullptr; v && choice == kNone;
                 v = Vert3D::GetNextType(v, model))
            {
                if (v->mFlags & kVert3DCentre)
                    continue;
                for (Edge3D* p = v->mFirstEdge; p && choice == kNone; p = p->mNextAtVert)
                {
                    if (p->mFlags & (kEdge3DWalked | kEdge3DNoStart))
                        continue;
                    if (p->mFace->mNet)
                    {
                        p->mFlags |= kEdge3DNoStart;
                        continue;
                    }
                    Edge3D* e = p;
                    bool closed = false;
                    for (int guard = 0; guard <= kMaxRing; ++guard)
                    {
                        Edge3D* n = e->GetNeighInNet(true);
                        if (!n || e->mFace->mNet)
                            break;
                        e = n->GetNext();
                        if (e == p)
                        {
                            closed = true;
                            break;
                        }
                    }
                    if (!closed)
                    {
                        p->mFlags |= kEdge3DNoStart;
                        continue;
                    }
                    choice = kVertexStart;
                    startEdge = p;
                    fallbackSwitch = true;
                }
            }
        }

        if (choice == kNone)
        {
            for (Face3DType* type = model->mFaceTypes; type && !startType; type = type->mNext)
                if (HasFreeFace(type))
                    startType = type;
            if (!startType)
                return;
            choice = kFaceTypeStart;
        }

        if (choice == kVertexStart)
        {
            Edge3D* best = BestStartAroundVertex(model, startEdge);
            if (!best)
            {
                startEdge->mFlags |= kEdge3DNoStart;
                continue;
            }
            startEdge = best;
        }

        NetType* type = new NetType(d, 0);
        type->Append(model->mNetTypes, model->mLastNetType);
        if (choice == kFaceTypeStart)
        {
            if (!type->CreateFromFaceType(startType) || !type->Spread())
                return;
        }
        else
        {
            if (!type->CreateFromVert(startEdge, model))
                return;
            if (!vertSwitch && !type->Spread())
                return;
        }
    }
}
