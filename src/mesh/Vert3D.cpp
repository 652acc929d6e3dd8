#include "mesh/Vert3D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Model3D.h"

#include <algorithm>

namespace
{
int CompareCoordinate(double a, double b)
{
    if (a < b - kTol)
        return -1;
    if (a > b + kTol)
        return 1;
    return 0;
}
}  // namespace

void Vert3D::AddEdge(Edge3D* edge)
{
    edge->mNextAtVert = mFirstEdge;
    mFirstEdge = edge;
}

int Vert3D::Compare(const Vert3D& a, const Vert3D& b)
{
    int c = CompareCoordinate(a.mPos.x, b.mPos.x);
    if (c == 0)
        c = CompareCoordinate(a.mPos.y, b.mPos.y);
    if (c == 0)
        c = CompareCoordinate(a.mPos.z, b.mPos.z);
    if (c == 0 && &a != &b)
        InternalError("Vert3D::Compare() - Vertices equal");
    return c;
}

int Vert3D::GetIndex(const Vert3D* vert, const Model3D* model)
{
    if (!vert || !model || !model->mVerts)
        return -1;
    const ptrdiff_t i = vert - model->mVerts.get();
    return i >= 0 && i < model->mNumVerts ? int(i) : -1;
}

int Vert3D::GetAxisClass() const
{
    if (mFlags & kVert3DCentre)
        return 0;
    if (!(mFlags & kVert3DOnAxis))
        return -1;
    if (mFlags & kVert3DAxisClass0)
        return 0;
    if (mFlags & kVert3DAxisClass1)
        return 1;
    return 2;
}

const Vert3D* Vert3D::GetRunStart() const
{
    const Vert3D* v = this;
    while (const uint32_t offset = v->mFlags & kVert3DRunOffsetMask)
        v -= offset;
    return v;
}

Vert3D* Vert3D::GetNextType(Vert3D* vert, const Model3D* model)
{
    const int i = GetIndex(vert, model);
    if (i < 0)
        return nullptr;
    for (int k = i + 1; k < model->mNumVerts; ++k)
        if (model->mVerts[size_t(k)].mFlags & kVert3DRunStart)
            return &model->mVerts[size_t(k)];
    return nullptr;
}

bool Vert3D::IsSameType(const Vert3D* a, const Vert3D* b)
{
    return a && b && a->GetRunStart() == b->GetRunStart();
}

void FinishVertexRun(Vert3D* first, int count)
{
    if (count <= 0)
        return;
    // The sort compares quietly; two vertices in one place are reported once, side by side.
    std::sort(first, first + count, [](const Vert3D& a, const Vert3D& b) {
        int c = CompareCoordinate(a.mPos.x, b.mPos.x);
        if (c == 0)
            c = CompareCoordinate(a.mPos.y, b.mPos.y);
        if (c == 0)
            c = CompareCoordinate(a.mPos.z, b.mPos.z);
        return c < 0;
    });
    for (int i = 1; i < count; ++i)
        Vert3D::Compare(first[i - 1], first[i]);
    for (int i = 0; i < count; ++i)
    {
        Vert3D& v = first[i];
        Vec3SnapZero(v.mPos, kTol);
        v.mFlags &= ~(kVert3DRunOffsetMask | kVert3DRunStart);
        // 0 at the start, then 1 to 62 and round again: each step back lands nearer the start.
        v.mFlags |= i == 0 ? kVert3DRunStart : uint32_t((i - 1) % kVert3DMaxRunOffset + 1);
    }
}
