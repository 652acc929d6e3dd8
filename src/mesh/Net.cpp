#include "mesh/Net.h"

#include "kernel/Messages.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"

#include <cmath>
#include <cstdio>

void Net::Init(NetType* type, Face3D* face)
{
    mNetType = type;
    mFirstFace = mLastFace = face;
    face->mNet = this;
    face->mNextInNet = nullptr;
}

void Net::AddFace(Edge3D* edge, Edge3D* other)
{
    Face3D* face = other->mFace;
    face->mNet = this;
    face->mNextInNet = nullptr;
    if (mLastFace)
        mLastFace->mNextInNet = face;
    else
        mFirstFace = face;
    mLastFace = face;
    edge->mFlags |= kEdge3DJoined;
    other->mFlags |= kEdge3DJoinedOtherSide;
    edge->GetClassRep()->mFlags |= kEdge3DClassJoined;
    other->GetClassRep()->mFlags |= kEdge3DClassJoined;
}

void Net::MergeInto(Net* target, Edge3D* edge)
{
    edge->mFlags |= kEdge3DJoined;
    edge->GetClassRep()->mFlags |= kEdge3DClassJoined;
    if (Edge3D* partner = edge->GetNeighInNet(false))
    {
        partner->mFlags |= kEdge3DJoinedOtherSide;
        partner->GetClassRep()->mFlags |= kEdge3DClassJoined;
    }
    mFlags |= kNetEmptied;
    if (!mFirstFace || target == this)
        return;
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
        f->mNet = target;
    if (target->mLastFace)
        target->mLastFace->mNextInNet = mFirstFace;
    else
        target->mFirstFace = mFirstFace;
    target->mLastFace = mLastFace;
    mFirstFace = mLastFace = nullptr;
}

int Net::GetNumFaces(const Net* net)
{
    int n = 0;
    for (const Face3D* f = net ? net->mFirstFace : nullptr; f; f = f->mNextInNet)
        ++n;
    return n;
}

Model3D* Net::GetModel() const
{
    return mFirstFace && mFirstFace->mType ? mFirstFace->mType->mModel : nullptr;
}

ColorRGB Net::GetColor() const
{
    return mFirstFace ? mFirstFace->GetColor() : ColorRGB{};
}

int Net::GetGlobalIndex(const Net* net, const Model3D* model)
{
    if (!net)
        return -1;
    if (!model || !model->mNetTypes)
        return -2;
    int base = 0;
    for (const NetType* type = model->mNetTypes; type; type = type->mNext)
    {
        if (type == net->mNetType)
        {
            const ptrdiff_t i = net - type->mNets.get();
            return i >= 0 && i < type->mNumNets ? base + int(i) : -2;
        }
        base += type->mNumNets;
    }
    return -2;
}

Edge3D* Net::GetEdge(int i, int j) const
{
    if (i < 0 || j < 0)
        return nullptr;
    Face3D* f = mFirstFace;
    for (int k = 0; f && k < i; ++k)
        f = f->mNextInNet;
    if (!f || !f->mType || j >= f->mType->mNumSides)
        return nullptr;
    return &f->mEdges[size_t(j)];
}

int Net::FindFace(const Face3D* face) const
{
    int i = 0;
    for (const Face3D* f = mFirstFace; f; f = f->mNextInNet, ++i)
        if (f == face)
            return i;
    return -1;
}

Edge3D* Net::FindFreeEdge(uint32_t bits) const
{
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            if (!(f->mEdges[size_t(k)].mFlags & (bits | kEdge3DJoinBits)))
                return &f->mEdges[size_t(k)];
    return nullptr;
}

void Net::ClearEdgeFlags(uint32_t bits)
{
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            f->mEdges[size_t(k)].mFlags &= ~bits;
}

void Net::CalcCentre()
{
    Vec3D sum{0, 0, 0};
    int n = 0;
    for (const Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            if (const Vert3D* v = f->mEdges[size_t(k)].mVert)
            {
                Vec3Add(sum, sum, v->mPos);
                ++n;
            }
    if (n > 0)
        Vec3Scale(mCentre, sum, 1.0 / n);
    else
        mCentre = Vec3D{0, 0, 0};
}

NetType::NetType(int symOrder, int numNets) : mSymOrder(symOrder)
{
    if (numNets > 0)
        AllocateNets(numNets);
}

void NetType::Append(NetType*& head, NetType*& tail)
{
    mNext = nullptr;
    if (tail)
        tail->mNext = this;
    else
        head = this;
    tail = this;
}

void NetType::AllocateNets(int count)
{
    mNumNets = count > 0 ? count : 0;
    mNets = mNumNets > 0 ? std::make_unique<Net[]>(size_t(mNumNets)) : nullptr;
}

Model3D* NetType::GetModel() const
{
    const Net* first = GetFirstNet();
    return first ? first->GetModel() : nullptr;
}

int NetType::GetNumFaces() const
{
    return Net::GetNumFaces(GetFirstNet());
}

int NetType::GetNumEdgeSlots() const
{
    int n = 0;
    const Net* first = GetFirstNet();
    for (const Face3D* f = first ? first->mFirstFace : nullptr; f; f = f->mNextInNet)
        n += f->mType->mNumSides;
    return n;
}

double NetType::GetRadius() const
{
    return std::sqrt(mRadiusX * mRadiusX + mRadiusY * mRadiusY);
}

int NetType::GetIndex() const
{
    const Model3D* model = GetModel();
    int i = 0;
    for (const NetType* t = model ? model->mNetTypes : nullptr; t; t = t->mNext, ++i)
        if (t == this)
            return i;
    return -1;
}

void NetType::CopyFirstNet()
{
    Net* first = GetFirstNet();
    Face3D* root = first ? first->mFirstFace : nullptr;
    if (!root)
        return;
    Face3DType* rootType = root->mType;
    int made = 1;
    for (int f = 0; f < rootType->mNumFaces; ++f)
    {
        Face3D* start = &rootType->mFaces[size_t(f)];
        if (start->mNet)
            continue;
        if (made >= mNumNets)
        {
            InternalError("CopyFirstNet: found too many nets, expected %d", mNumNets);
            return;
        }
        Net* net = &mNets[size_t(made++)];
        net->Init(this, start);
        Face3D* model = first->mFirstFace;
        for (Face3D* copy = net->mFirstFace; model && copy; model = model->mNextInNet, copy = copy->mNextInNet)
        {
            if (model->mType != copy->mType)
            {
                InternalError("CopyFirstNet: faces of different types");
                return;
            }
            for (int k = 0; k < model->mType->mNumSides; ++k)
            {
                const Edge3D& pattern = model->mEdges[size_t(k)];
                Edge3D* edge = &copy->mEdges[size_t(k)];
                Edge3D* partner = edge->GetNeighInNet(false);
                if (pattern.mFlags & kEdge3DMeeting)
                {
                    edge->mFlags |= kEdge3DMeeting;
                    if (partner)
                        partner->mFlags |= kEdge3DMeeting;
                }
                if (pattern.mFlags & kEdge3DJoined)
                {
                    if (!partner)
                        InternalError("CopyFirstNet: neigh NULL");
                    else if (!partner->mFace->mNet)
                        net->AddFace(edge, partner);
                }
            }
        }
    }
    if (made < mNumNets)
        InternalError("CopyFirstNet: found too few nets, expected %d, got %d", mNumNets, made);
}

std::string NetInfoLine(const Model3D* model)
{
    if (!Model3D::HasNets(model) || !model->mCurrentNet || !model->mCurrentNet->mNetType)
        return "No nets.";
    const NetType* type = model->mCurrentNet->mNetType;
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "Net type %d of %d.  Need %d %s of this net.", type->GetIndex() + 1,
                  model->GetNumNetTypes(), type->mNumNets, type->mNumNets == 1 ? "copy" : "copies");
    return buffer;
}
