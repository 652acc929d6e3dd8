#include "mesh/Face3DType.h"

#include "kernel/KitPanelShape.h"
#include "kernel/Messages.h"
#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "model/Poly.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <vector>

namespace
{
const SymGroup* GroupOf(const Model3D* model)
{
    return model && model->mPoly ? model->mPoly->GetSymGroup() : nullptr;
}
}  // namespace

Face3DType::Face3DType(Model3D* model, int numFaces, int numRots, Face3DType* next)
    : mModel(model), mNumFaces(std::max(numFaces, 0)), mNext(next)
{
    mFaces = std::make_unique<Face3D[]>(size_t(mNumFaces));
    for (int f = 0; f < mNumFaces; ++f)
        mFaces[size_t(f)].mType = this;
    if (numRots <= 1)
        return;
    const SymGroup* group = GroupOf(model);
    for (int k = 0; group && k < group->mNumAxisSets; ++k)
    {
        if (group->mAxisSets[k].mOrder != numRots)
            continue;
        mFlags |= kFace3DTypeOnAxis | (k == 0 ? kFace3DTypeAxisClass0 : k == 1 ? kFace3DTypeAxisClass1 : 0);
        return;
    }
    InternalError("Face3DType::Face3DType() Can't find rot sym");
}

Face3DType::Face3DType(Model3D* model, int numFaces, std::span<const int32_t> loopSizes)
    : mModel(model), mNumFaces(std::max(numFaces, 0)), mLoopSizes(loopSizes.begin(), loopSizes.end())
{
    mNumLoops = int32_t(mLoopSizes.size());
    for (int32_t& size : mLoopSizes)
    {
        size = std::max(size, 0);
        mNumSides += size;
    }
    mFaces = std::make_unique<Face3D[]>(size_t(mNumFaces));
    for (int f = 0; f < mNumFaces; ++f)
    {
        Face3D& face = mFaces[size_t(f)];
        face.mType = this;
        face.mEdges = std::make_unique<Edge3D[]>(size_t(mNumSides));
        for (int e = 0; e < mNumSides; ++e)
            face.mEdges[size_t(e)].mFace = &face;
    }
}

Face3DType::~Face3DType() = default;

Face3D* Face3DType::GetFace(int i) const
{
    return i >= 0 && i < mNumFaces ? &mFaces[size_t(i)] : nullptr;
}

int Face3DType::GetIndex(const Face3DType* type)
{
    if (!type)
        return -1;
    if (!type->mModel)
        return -2;
    return GetIndex(type, (type->mFlags & kFace3DTypeUserFacet) ? type->mModel->mExtraFaceTypes
                                                                   : type->mModel->mFaceTypes);
}

int Face3DType::GetIndex(const Face3DType* type, const Face3DType* first)
{
    if (!type)
        return -1;
    int i = 0;
    for (const Face3DType* t = first; t; t = t->mNext, ++i)
        if (t == type)
            return i;
    return -2;
}

int Face3DType::GetAxisClass() const
{
    if (!(mFlags & kFace3DTypeOnAxis))
        return -1;
    if (mFlags & kFace3DTypeAxisClass0)
        return 0;
    if (mFlags & kFace3DTypeAxisClass1)
        return 1;
    return 2;
}

int Face3DType::GetNumRots() const
{
    const int axisClass = GetAxisClass();
    const SymGroup* group = GroupOf(mModel);
    if (axisClass < 0 || !group || axisClass >= group->mNumAxisSets)
        return 1;
    return std::max(group->mAxisSets[axisClass].mOrder, 1);
}

void Face3DType::SetLoops(const RingList* rings)
{
    mLoopSizes.clear();
    mNumSides = 0;
    for (const RingList* node = rings; node; node = node->next)
    {
        const int size = RingCount(node->ring);
        mLoopSizes.push_back(size);
        mNumSides += size;
    }
    mNumLoops = int32_t(mLoopSizes.size());
    if (IsSingleConvexRing(rings))
        mFlags |= kFace3DTypeConvex;
}

void Face3DType::Triangulate(RingList* rings)
{
    mTriIndices.clear();
    std::unique_ptr<int32_t[]> indices;
    const int count = rings ? TriangulateRingList(rings, indices) : 0;
    if (count < 3)
    {
        DebugTrace("FAILED TO TRIANGULATE Face3DType %d\n", GetIndex(this));
        return;
    }
    mTriIndices.assign(indices.get(), indices.get() + count);
}

int Face3DType::GetLoopStart(int loop) const
{
    int start = 0;
    for (int i = 0; i < loop && i < mNumLoops; ++i)
        start += mLoopSizes[size_t(i)];
    return start;
}

bool Face3DType::IsPanelShape()
{
    if (mFlags & (kFace3DTypePanelShape | kFace3DTypeNotPanelShape))
        return (mFlags & kFace3DTypePanelShape) != 0;
    const Face3D* face = GetFace(0);
    if (mNumSides <= 12 && mNumLoops == 1 && face && face->mEdges)
    {
        std::vector<Vec3D> corners;
        bool complete = true;
        for (int i = 0; i < mNumSides; ++i)
        {
            const Vert3D* v = face->mEdges[size_t(i)].mVert;
            complete = complete && v;
            if (v)
                corners.push_back(v->mPos);
        }
        int rhombus = 0;
        if (complete && IsKitPanelShape(int(corners.size()), corners.data(), face->GetNormal(), &rhombus))
        {
            if (rhombus)
                mFlags |= kFace3DTypeRhombusPanel;
            mFlags |= kFace3DTypePanelShape;
            return true;
        }
    }
    mFlags |= kFace3DTypeNotPanelShape;
    return false;
}
