// What an edge knows about the nets it lies in: its partner, its class, the outline walk, labels
// and the user's cut.

#include "mesh/Edge3D.h"

#include "kernel/Messages.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3DType.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "mesh/Vert3D.h"

#include <cstdio>

namespace
{
// Pi plus the standard tolerance: a flat fold still counts as convex.
constexpr double kConvexLimit = 3.141592753589793;
// Walks of a coincident ring longer than this are a broken mesh, not a ring.
constexpr int kMaxRingWalk = 10000;

void ApplyBits(Edge3D* e, uint32_t bits, bool set)
{
    if (set)
        e->mFlags |= bits;
    else
        e->mFlags &= ~bits;
}
}  // namespace

Edge3D* Edge3D::GetNeighInNet(bool strict) const
{
    if (strict && GetUnitSettings().mMaxFacesPerNet == 1)
        return nullptr;
    if (!mCoincEdge)
        return mNeigh;
    const int method = GetCoincMethod();
    switch (method)
    {
    case kCoincUnconnected:
        return mCoincEdge;
    case kCoincNoInternalSupport:
        return mNeigh;
    case kCoincTongueInGroove:
        return strict ? nullptr : mNeigh;
    case kCoincInternalSupport:
        break;
    default:
        InternalError("GetNeighInNet: Unknown coinc edge method 0x%x", unsigned(method));
        return nullptr;
    }
    if (!strict || mCoincEdge == mNeigh)
        return mNeigh;
    // Joining across the ring needs every facelet in between still free to act as the support.
    const Edge3D* rep = GetClassRep();
    const Edge3D* e = mCoincEdge;
    for (int guard = 0; e && guard < kMaxRingWalk; ++guard)
    {
        const Edge3D* eRep = e->GetClassRep();
        if (eRep == rep || (e->mNeigh && e->mNeigh->GetClassRep() == rep) ||
            (eRep->mFlags & (kEdge3DJoinBits | kEdge3DTrialRing | kEdge3DClassJoined)))
            return nullptr;
        e = e->mNeigh ? e->mNeigh->mCoincEdge : nullptr;
        if (e == mNeigh)
            return mNeigh;
    }
    return nullptr;
}

Model3D* Edge3D::GetModel() const
{
    return mFace && mFace->mType ? mFace->mType->mModel : nullptr;
}

bool Edge3D::IsConvex() const
{
    return GetEffectiveDihedral() < kConvexLimit;
}

Edge3D* Edge3D::GetClassRep() const
{
    Edge3DType type;
    if (!type.Init(this))
        return const_cast<Edge3D*>(this);
    Edge3D* rep = type.NextMember(nullptr);
    return rep ? rep : const_cast<Edge3D*>(this);
}

void Edge3D::SetClassFlags(uint32_t bits, bool set, bool withNeighbours, bool allCopies)
{
    auto apply = [&](Edge3D* m) {
        ApplyBits(m, bits, set);
        if (withNeighbours)
            if (Edge3D* n = m->GetNeighInNet(false))
                ApplyBits(n, bits, set);
    };
    const Net* net = mFace ? mFace->mNet : nullptr;
    if (allCopies && net && net->mNetType)
    {
        const int i = net->FindFace(mFace);
        const int j = GetIndexInFace();
        const NetType* type = net->mNetType;
        for (int k = 0; k < type->mNumNets; ++k)
            if (Edge3D* m = type->mNets[size_t(k)].GetEdge(i, j))
                apply(m);
        return;
    }
    Edge3DType type;
    if (!type.Init(this))
    {
        apply(this);
        return;
    }
    for (Edge3D* m = type.NextMember(nullptr); m; m = type.NextMember(m))
        apply(m);
}

bool Edge3D::AnyClassFlag(uint32_t bits) const
{
    Edge3DType type;
    if (!type.Init(this))
        return (mFlags & bits) != 0;
    for (Edge3D* m = type.NextMember(nullptr); m; m = type.NextMember(m))
        if (m->mFlags & bits)
            return true;
    return false;
}

bool Edge3D::AllClassFlags(uint32_t bits) const
{
    Edge3DType type;
    if (!type.Init(this))
        return (mFlags & bits) != 0;
    for (Edge3D* m = type.NextMember(nullptr); m; m = type.NextMember(m))
        if (!(m->mFlags & bits))
            return false;
    return true;
}

void Edge3D::FlagOpenClassEdges(uint32_t bits)
{
    Edge3DType type;
    if (!type.Init(this))
        return;
    for (Edge3D* m = type.NextMember(nullptr); m; m = type.NextMember(m))
    {
        const Edge3D* n = m->GetNeighInNet(false);
        if (!n || n->mFace->mNet != m->mFace->mNet)
            m->mFlags |= bits;
    }
}

Edge3D* Edge3D::NextOutlineEdge(bool includeMeeting) const
{
    Edge3D* n = GetNext();
    uint32_t joined = kEdge3DJoinBits;
    if (includeMeeting && !(mFlags & kEdge3DMeeting))
        joined |= kEdge3DMeeting;
    Edge3D* first = n;
    while (n && (n->mFlags & joined))
    {
        Edge3D* partner = n->GetNeighInNet(false);
        if (!partner)
            break;
        n = partner->GetNext();
        if (n == first)
            break;
    }
    return n;
}

Edge3D* Edge3D::NextHullEdge() const
{
    Edge3D* e = NextOutlineEdge(true);
    for (int guard = 0; e && e != this && !(e->mFlags & kEdge3DHullCorner) && guard < 1000000; ++guard)
        e = e->NextOutlineEdge(true);
    return e;
}

Edge3D* Edge3D::GetFirstNetEdge()
{
    const Net* net = mFace ? mFace->mNet : nullptr;
    if (!net || !net->mNetType)
        return this;
    const int i = net->FindFace(mFace);
    Edge3D* first = i >= 0 ? net->mNetType->GetFirstNet()->GetEdge(i, GetIndexInFace()) : nullptr;
    return first ? first : this;
}

bool Edge3D::IsInCoincRingOf(const Edge3D* other) const
{
    if (other == this || other == mNeigh)
        return true;
    if (!mCoincEdge)
        return false;
    const Edge3D* e = mNeigh;
    for (int guard = 0; e && guard < kMaxRingWalk; ++guard)
    {
        if (e == other)
            return true;
        e = e->mCoincEdge;
        if (!e || e == this)
            return false;
        if (e == other)
            return true;
        e = e->mNeigh;
        if (e == this)
            return false;
    }
    return false;
}

bool Edge3D::GetLabel(std::string& text) const
{
    const UnitSettings& units = GetUnitSettings();
    const int mode = units.mNetEdgeData;
    if ((mFlags & kEdge3DJoinedOtherSide) || !(mode & 0x7F))
        return false;
    text.clear();
    char buffer[64];
    if ((mode & kNetEdgeConnectionIds) && !(mFlags & kEdge3DJoined))
    {
        std::snprintf(buffer, sizeof buffer, "%d", mConnectionId);
        text += buffer;
    }
    if (mode & kNetEdgeNames)
        text = GetName(this);
    if (mode & kNetEdgeTypeNames)
        text = GetTypeName(this);
    if (mode & kNetEdgeLengths)
    {
        const Edge3D* next = GetNext();
        const double length = next ? Vec2Length(Vec2D{next->mNetPos.x - mNetPos.x, next->mNetPos.y - mNetPos.y}) : 0.0;
        std::snprintf(buffer, sizeof buffer, "%g", length * units.GetScale());
        text = buffer;
    }
    if (mode & kNetEdgeDihedrals)
    {
        units.FormatAngle(buffer, sizeof buffer, GetEffectiveDihedral(), "\xC2\xB0");
        text = buffer;
    }
    if (mode & kNetEdgeMitres)
    {
        units.FormatAngle(buffer, sizeof buffer, GetMitreAngle(), "\xC2\xB0");
        text = buffer;
    }
    if (mode & 0x40)
    {
        const Edge3D* partner = GetNeighInNet(false);
        if ((mFlags & kEdge3DJoinBits) && partner)
            std::snprintf(buffer, sizeof buffer, "%d,%d", GetRunningIndex(this), GetRunningIndex(partner));
        else
            std::snprintf(buffer, sizeof buffer, "%d", GetRunningIndex(this));
        text = buffer;
    }
    return true;
}

void Edge3D::ToggleCut(bool wholeClass)
{
    const bool newCut = !(mFlags & kEdge3DUserCut);
    if (wholeClass)
    {
        SetClassFlags(kEdge3DUserCut, newCut, true, false);
    }
    else
    {
        ApplyBits(this, kEdge3DUserCut, newCut);
        if (Edge3D* partner = GetNeighInNet(false))
            ApplyBits(partner, kEdge3DUserCut, newCut);
    }
    if (newCut)
    {
        if (!(mFlags & kEdge3DCut))
            SetClassFlags(kEdge3DCut, true, true, false);
    }
    else if (!AnyClassFlag(kEdge3DCannotJoin | kEdge3DUserCut))
    {
        SetClassFlags(kEdge3DCut, false, true, false);
    }
    if (mFlags & kEdge3DCannotJoin)
        return;
    // Keep the user on the net that held this edge: the earlier of the two facelets in its list.
    Face3D* face = mFace;
    const Edge3D* partner = GetNeighInNet(false);
    if (partner && face && face->mNet && partner->mFace->mNet == face->mNet &&
        face->mNet->FindFace(partner->mFace) < face->mNet->FindFace(face))
        face = partner->mFace;
    Model3D* model = GetModel();
    if (!model)
        return;
    model->CreateNets();
    if (face && face->mNet)
        model->mCurrentNet = face->mNet;
}

Edge3D* Edge3D::FindVisibleCoincEdge(const std::function<bool(const Vec3D& eye, const Vec3D& normal)>& facing)
{
    auto facesViewer = [&](const Edge3D* e) {
        if (!e->mVert || !e->mNeigh || !e->mFace || !e->mNeigh->mFace)
            return false;
        return facing(e->mVert->mPos, e->mFace->GetNormal()) && facing(e->mVert->mPos, e->mNeigh->mFace->GetNormal());
    };
    Edge3D* best = this;
    double bestDihedral = 999999.9;
    Edge3D* e = this;
    for (int guard = 0; e && guard < kMaxRingWalk; ++guard)
    {
        if (facesViewer(e))
            return e;
        if (e->mDihedral < bestDihedral)
        {
            bestDihedral = e->mDihedral;
            best = e;
        }
        e = e->mCoincEdge && e->mCoincEdge->mNeigh ? e->mCoincEdge->mNeigh : nullptr;
        if (e == this)
            break;
    }
    return best;
}
