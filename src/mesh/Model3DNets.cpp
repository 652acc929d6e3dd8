// The net pipeline of a Model3D: from marking the edges that may not be joined to numbering the
// cut pairs and sorting the types by size.

#include "mesh/Model3D.h"

#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Edge3DType.h"
#include "mesh/Face3D.h"
#include "mesh/Net.h"
#include "model/Poly.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <vector>

namespace
{
template <class Visit>
void ForEachFace(Face3DType* types, Visit visit)
{
    for (Face3DType* type = types; type; type = type->mNext)
        for (int f = 0; f < type->mNumFaces; ++f)
            visit(type->mFaces[size_t(f)]);
}

bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
}  // namespace

int Model3D::GetNumNetTypes() const
{
    int n = 0;
    for (const NetType* t = mNetTypes; t; t = t->mNext)
        ++n;
    return n;
}

bool Model3D::HasSingleNet() const
{
    return mNetTypes && !mNetTypes->mNext && mNetTypes->mNumNets == 1;
}

void Model3D::DeleteNets(bool clearFacelets)
{
    mFoldAmount = -1.0;
    while (mNetTypes)
    {
        NetType* next = mNetTypes->mNext;
        delete mNetTypes;
        mNetTypes = next;
    }
    mLastNetType = nullptr;
    mCurrentNet = nullptr;
    if (!clearFacelets)
        return;
    auto clear = [](Face3D& f) {
        f.mNet = nullptr;
        f.mNextInNet = nullptr;
    };
    ForEachFace(mFaceTypes, clear);
    ForEachFace(mExtraFaceTypes, clear);
}

void Model3D::CreateNets()
{
    ScopedWaitCursor wait;
    DeleteNets(true);
    mFlags |= kModel3DHasNets;
    BuildNets();
    AddExtraFaceNets();
    SetNetBBoxRadii();
    CopyNetLayouts();
    NumberConnections();
    CalcNetCentres();
    SortNetTypes();
    mCurrentNet = mNetTypes ? mNetTypes->GetFirstNet() : nullptr;
    GetShell().InfoNeedsUpdate(2);
}

void Model3D::BuildNets()
{
    if (mNumVerts <= 0)
        return;
    ForEachFace(mFaceTypes, [](Face3D& f) {
        f.mNet = nullptr;
        f.mNextInNet = nullptr;
        for (int k = 0; k < f.mType->mNumSides; ++k)
            f.mEdges[size_t(k)].mFlags &= ~kEdge3DNetBuildBits;
    });

    // Edges that may not be joined cut their whole class.
    const bool singleColor = GetUnitSettings().UseSingleColorPages();
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        Edge3DType cls;
        if (!cls.Init(type))
            continue;
        do
        {
            bool marked = false;
            Edge3D* rep = nullptr;
            for (Edge3D* q = cls.NextMember(nullptr); q; q = cls.NextMember(q))
            {
                rep = rep ? rep : q;
                const Edge3D* partner = q->GetNeighInNet(true);
                if (!partner || (singleColor && !SameColor(q->mFace->GetColor(), partner->mFace->GetColor())))
                {
                    q->mFlags |= kEdge3DCannotJoin;
                    marked = true;
                }
                if (q->mFlags & kEdge3DUserCut)
                    marked = true;
            }
            if (marked && rep)
                rep->SetClassFlags(kEdge3DCut, true, true, false);
        } while (cls.NextClass());
    }

    GroupCoplanarFacelets();
    GenerateNets(this);

    const SymGroup* group = mPoly ? mPoly->GetSymGroup() : nullptr;
    int n = group && group->mNumAxisSets > 0 && group->mAxisSets[0].mOrder > 0 ? group->mAxisSets[0].mOrder : 1;
    if (group && group->mKind == SymGroup::kDihedral)
        n = std::min(n, 2);
    for (NetType* type = mNetTypes; type; type = type->mNext)
        type->TryToCombineNets(n);
    MergeNetTypes();
}

void Model3D::AddExtraFaceNets()
{
    for (Face3DType* type = mExtraFaceTypes; type; type = type->mNext)
    {
        if (type->mNumFaces <= 0 || type->mFaces[0].mNet)
            continue;
        NetType* netType = new NetType(1, 0);
        netType->Append(mNetTypes, mLastNetType);
        netType->CreateFromFaceType(type);
    }
}

void Model3D::SetNetBBoxRadii()
{
    for (NetType* type = mNetTypes; type; type = type->mNext)
        type->SetBBoxRadii();
}

void Model3D::CopyNetLayouts()
{
    for (NetType* type = mNetTypes; type; type = type->mNext)
    {
        const Net* first = type->GetFirstNet();
        for (int k = 1; first && k < type->mNumNets; ++k)
        {
            const Face3D* from = first->mFirstFace;
            for (Face3D* to = type->mNets[size_t(k)].mFirstFace; from && to; from = from->mNextInNet, to = to->mNextInNet)
            {
                const int sides = std::min(from->mType->mNumSides, to->mType->mNumSides);
                for (int j = 0; j < sides; ++j)
                    to->mEdges[size_t(j)].mNetPos = from->mEdges[size_t(j)].mNetPos;
                std::copy(from->mNetPlacement, from->mNetPlacement + 6, to->mNetPlacement);
            }
        }
    }
}

void Model3D::NumberConnections()
{
    ForEachFace(mFaceTypes, [](Face3D& f) {
        for (int k = 0; k < f.mType->mNumSides; ++k)
            f.mEdges[size_t(k)].mConnectionId = -1;
    });
    int counter = 0;
    for (NetType* type = mNetTypes; type; type = type->mNext)
    {
        const Net* first = type->GetFirstNet();
        if (!first || !first->mFirstFace || (first->mFirstFace->mType->mFlags & kFace3DTypeUserFacet))
            continue;
        for (int k = 0; k < type->mNumNets; ++k)
        {
            Net& net = type->mNets[size_t(k)];
            while (Edge3D* start = net.FindFreeEdge(kEdge3DScratch))
            {
                Edge3D* e = start;
                for (int guard = 0; e && guard < 10000000; ++guard)
                {
                    e->mFlags |= kEdge3DScratch;
                    Edge3D* partner = e->GetNeighInNet(false);
                    if (e->mConnectionId == -1 && partner)
                    {
                        e->mConnectionId = partner->mConnectionId = counter++;
                    }
                    e = e->NextOutlineEdge(false);
                    if (e == start)
                        break;
                }
            }
            net.ClearEdgeFlags(kEdge3DScratch);
        }
    }
}

void Model3D::CalcNetCentres()
{
    for (NetType* type = mNetTypes; type; type = type->mNext)
        for (int k = 0; k < type->mNumNets; ++k)
            type->mNets[size_t(k)].CalcCentre();
}

void Model3D::SortNetTypes()
{
    std::vector<NetType*> types;
    for (NetType* t = mNetTypes; t; t = t->mNext)
        types.push_back(t);
    std::stable_sort(types.begin(), types.end(), [](const NetType* a, const NetType* b) {
        return a->mRadiusX * a->mRadiusY > b->mRadiusX * b->mRadiusY;
    });
    mNetTypes = mLastNetType = nullptr;
    for (NetType* t : types)
        t->Append(mNetTypes, mLastNetType);
}

std::vector<uint32_t> Model3D::GetNetColors() const
{
    std::vector<uint32_t> colors;
    for (const NetType* t = mNetTypes; t; t = t->mNext)
        for (int k = 0; k < t->mNumNets; ++k)
        {
            const uint32_t c = ColorToRGB(t->mNets[size_t(k)].GetColor());
            if (std::find(colors.begin(), colors.end(), c) == colors.end())
                colors.push_back(c);
        }
    return colors;
}

Net* Model3D::FindNetByColor(uint32_t color) const
{
    for (const NetType* t = mNetTypes; t; t = t->mNext)
        for (int k = 0; k < t->mNumNets; ++k)
            if (ColorToRGB(t->mNets[size_t(k)].GetColor()) == color)
                return &t->mNets[size_t(k)];
    return nullptr;
}

void Model3D::StepCurrentNet(bool forward)
{
    if (!mNetTypes)
        return;
    const NetType* current = mCurrentNet ? mCurrentNet->mNetType : nullptr;
    const NetType* target = nullptr;
    if (forward)
    {
        target = current && current->mNext ? current->mNext : mNetTypes;
    }
    else
    {
        for (const NetType* t = mNetTypes; t; t = t->mNext)
            if (t->mNext == current)
                target = t;
        if (!target || current == mNetTypes)
            target = mLastNetType;
    }
    mCurrentNet = target ? target->GetFirstNet() : nullptr;
}
