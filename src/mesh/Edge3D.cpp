#include "mesh/Edge3D.h"

#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "kernel/Messages.h"
#include "kernel/UnitSettings.h"
#include "mesh/Model3D.h"

#include <cstdio>

namespace
{
// The first edge index and the size of the loop holding edge i.
bool FindLoop(const Face3DType& type, int i, int& start, int& size)
{
    start = 0;
    for (int32_t loopSize : type.mLoopSizes)
    {
        if (i < start + loopSize)
        {
            size = loopSize;
            return true;
        }
        start += loopSize;
    }
    return false;
}
}  // namespace

int Edge3D::GetIndexInFace() const
{
    return mFace ? int(this - mFace->mEdges.get()) : -1;
}

Edge3D* Edge3D::GetNext() const
{
    const int i = GetIndexInFace();
    int start = 0, size = 0;
    if (i < 0 || !mFace->mType || !FindLoop(*mFace->mType, i, start, size))
        return nullptr;
    return &mFace->mEdges[size_t(start + (i - start + 1) % size)];
}

Edge3D* Edge3D::GetPrev() const
{
    const int i = GetIndexInFace();
    int start = 0, size = 0;
    if (i < 0 || !mFace->mType || !FindLoop(*mFace->mType, i, start, size))
        return nullptr;
    return &mFace->mEdges[size_t(start + (i - start + size - 1) % size)];
}

Vert3D* Edge3D::GetEndVert() const
{
    const Edge3D* next = GetNext();
    return next ? next->mVert : nullptr;
}

const char* Edge3D::GetName(const Edge3D* edge)
{
    static char buffer[32];
    if (!edge)
        return "NULL";
    std::snprintf(buffer, sizeof buffer, "%d-%d", Face3D::GetIndex(edge->mFace), edge->GetIndexInFace());
    return buffer;
}

const char* Edge3D::GetTypeName(const Edge3D* edge)
{
    static char buffer[32];
    if (!edge)
        return "NULL";
    const Face3DType* type = edge->mFace ? edge->mFace->mType : nullptr;
    std::snprintf(buffer, sizeof buffer, "%d-%d", Face3DType::GetIndex(type), edge->GetIndexInFace());
    return buffer;
}

bool Edge3D::IsSameTypeEdge(const Edge3D* a, const Edge3D* b)
{
    return a && b && a->mFace && b->mFace && a->mFace->mType == b->mFace->mType &&
           a->GetIndexInFace() == b->GetIndexInFace();
}

int Edge3D::GetRunningIndex(const Edge3D* edge)
{
    if (!edge || !edge->mFace || !edge->mFace->mType)
        return -1;
    const Face3DType* own = edge->mFace->mType;
    const int face = Face3D::GetIndex(edge->mFace);
    if (face < 0)
        return -1;
    int base = 0;
    int faceBase = 0;
    for (const Face3DType* type = own->mModel ? own->mModel->mFaceTypes : nullptr; type; type = type->mNext)
    {
        if (type == own)
            return base + (face - faceBase) * type->mNumSides + edge->GetIndexInFace();
        base += type->mNumFaces * type->mNumSides;
        faceBase += type->mNumFaces;
    }
    return -1;
}

int Edge3D::GetLoopNumber(const Edge3D* edge)
{
    if (!edge || !edge->mFace || !edge->mFace->mType)
        return -2;
    const Face3DType* own = edge->mFace->mType;
    const int face = Face3D::GetIndex(edge->mFace);
    if (face < 0)
        return -2;
    int loop = 0;
    int start = 0;
    const int i = edge->GetIndexInFace();
    for (int32_t size : own->mLoopSizes)
    {
        if (i < start + size)
            break;
        start += size;
        ++loop;
    }
    int base = 0;
    int faceBase = 0;
    for (const Face3DType* type = own->mModel ? own->mModel->mFaceTypes : nullptr; type; type = type->mNext)
    {
        if (type == own)
            return base + (face - faceBase) * type->mNumLoops + loop;
        base += type->mNumFaces * type->mNumLoops;
        faceBase += type->mNumFaces;
    }
    return -2;
}

int Edge3D::GetCoincMethod() const
{
    const uint32_t own = mFlags & kEdge3DCoincMethodMask;
    return own ? int(own) : GetUnitSettings().mCoincEdgeMethod;
}

double Edge3D::GetEffectiveDihedral() const
{
    return mCoincEdge && GetCoincMethod() == kCoincUnconnected ? mCoincAngle : mDihedral;
}
