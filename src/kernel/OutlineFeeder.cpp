#include "kernel/OutlineFeeder.h"

#include "kernel/DiagramItems.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/TriangulationScratch.h"

#include <new>
#include <utility>

void OutlineFeeder::Begin(const Vec3D& normal, FaceDiagram& diagram, OutlineFeederState& state)
{
    state.axis = Vec3MaxAxis(normal);
    state.u = (state.axis + 1) % 3;
    state.v = (state.u + 1) % 3;
    state.normal = normal;
    state.offset = 0.0;
    state.first.x = kUnsetValue;
    state.owner = nullptr;
    state.diagram = &diagram;
    diagram.Begin(kOwnerKindNone, nullptr);
}

void OutlineFeeder::AddPoint(const Vec3D& point, OutlineFeederState& state)
{
    const Vec2D q{point[state.u], point[state.v]};
    if (state.first.x != kUnsetValue)
    {
        if (state.diagram)
            state.diagram->AddEdge(state.owner, state.last, q);
    }
    else
    {
        state.first = q;
        state.offset = Vec3Dot(state.normal, point);
    }
    state.last = q;
}

void OutlineFeeder::EndLoop(const void* owner, OutlineFeederState& state)
{
    if (state.first.x != kUnsetValue)
    {
        if (state.diagram)
            state.diagram->AddEdge(state.owner, state.last, state.first);
        state.first.x = kUnsetValue;
    }
    state.owner = owner;
}

int OutlineFeeder::Finish(OutlineFeederState& state)
{
    mPoints = nullptr;
    mIndices = nullptr;
    mPointCount = 0;
    mIndexCount = 0;
    mOwnedPoints.reset();
    mOwnedIndices.reset();
    FaceDiagram* diagram = state.diagram;
    if (!diagram)
    {
        InternalError("OutlineFeeder::Finish(): no diagram");
        return -1;
    }
    EndLoop(state.owner, state);
    diagram->Finish(0, nullptr);

    int64_t indexCount = 0;
    for (int k = 0; k < diagram->mLoopTypeCount; ++k)
        if (diagram->mLoopTypes[k].mOpacity != 0.0f)
            indexCount += diagram->mLoopTypeTriangles[k].mCount;
    int32_t pointCount = 0;
    for (const Vert2D* v = diagram->mFirstVert; v; v = v->next)
        ++pointCount;

    bool ok = indexCount <= INT32_MAX;
    if (ok && pointCount > 0)
    {
        if (mPool)
            mPoints = mPool->AllocPoints(uint32_t(pointCount));
        else
        {
            mOwnedPoints.reset(new (std::nothrow) Vec3D[size_t(pointCount)]);
            mPoints = mOwnedPoints.get();
        }
        ok = mPoints != nullptr;
    }
    if (ok && indexCount > 0)
    {
        if (mPool)
            mIndices = mPool->AllocIndices(uint32_t(indexCount));
        else
        {
            mOwnedIndices.reset(new (std::nothrow) int32_t[size_t(indexCount)]);
            mIndices = mOwnedIndices.get();
        }
        ok = mIndices != nullptr;
    }
    if (!ok)
    {
        InternalError("OutlineFeeder::Finish(): no memory for %d points and %lld indices", pointCount,
                      static_cast<long long>(indexCount));
        mPoints = nullptr;
        mIndices = nullptr;
        mOwnedPoints.reset();
        mOwnedIndices.reset();
        diagram->Reset();
        state.diagram = nullptr;
        return -1;
    }

    int32_t used = 0;
    for (int k = 0; k < diagram->mLoopTypeCount; ++k)
    {
        if (diagram->mLoopTypes[k].mOpacity == 0.0f)
            continue;
        const LoopTypeTriangles& t = diagram->mLoopTypeTriangles[k];
        for (int32_t i = 0; i < t.mCount; ++i)
            mIndices[used++] = t.mIndices[i];
    }
    // Pool arrays keep what they held before; a vertex without a number stays at the origin.
    for (int32_t i = 0; i < pointCount; ++i)
        mPoints[i] = Vec3D{};
    const Vec3D& n = state.normal;
    const int a = state.axis, u = state.u, v = state.v;
    for (const Vert2D* vert = diagram->mFirstVert; vert; vert = vert->next)
    {
        if (vert->mIndex < 0 || vert->mIndex >= pointCount)
            continue;
        Vec3D& p = mPoints[vert->mIndex];
        const double x = vert->mPoint.x, y = vert->mPoint.y;
        p[u] = x;
        p[v] = y;
        p[a] = (state.offset - n[u] * x - n[v] * y) / n[a];
    }
    mPointCount = pointCount;
    mIndexCount = used;

    diagram->Reset();
    state.diagram = nullptr;
    // The projection mirrors the plane when the normal points down its dropped axis.
    if (n[a] < 0.0)
        for (int32_t i = 0; i + 2 < mIndexCount; i += 3)
            std::swap(mIndices[i], mIndices[i + 1]);
    return mIndexCount;
}
