#include "kernel/DiagramOutline.h"

#include "kernel/DiagramItems.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/Messages.h"

void DiagramOutline::Clear()
{
    mOwnerKind = -1;
    mLoopTypeCount = -1;
    mLoopTypeTriangles = nullptr;
    mPoints = nullptr;
    mPointCount = 0;
}

void DiagramOutline::Begin(FaceDiagram& diagram, int ownerKind, DiagramPools* pools, DiagramWorkPools* workPools,
                           OutlineFeeder2D& feeder)
{
    feeder.first.x = kUnsetValue;
    feeder.owner = nullptr;
    feeder.reverse = false;
    feeder.diagram = &diagram;
    diagram.Begin(ownerKind, nullptr);
    if (pools)
        diagram.mPools = pools;
    if (workPools)
        diagram.mWorkPools = workPools;
    Clear();
    mOwnerKind = ownerKind;
}

void DiagramOutline::AddPointCallback(const void* owner, bool reverse, OutlineFeeder2D& feeder)
{
    if (feeder.first.x != kUnsetValue)
    {
        if (feeder.diagram)
        {
            if (feeder.reverse)
                feeder.diagram->AddEdge(feeder.owner, feeder.first, feeder.last);
            else
                feeder.diagram->AddEdge(feeder.owner, feeder.last, feeder.first);
        }
        feeder.first.x = kUnsetValue;
    }
    feeder.owner = owner;
    feeder.reverse = reverse;
}

void DiagramOutline::AddPoint(const Vec2D& point, OutlineFeeder2D& feeder)
{
    if (feeder.first.x != kUnsetValue)
    {
        if (feeder.diagram)
        {
            if (feeder.reverse)
                feeder.diagram->AddEdge(feeder.owner, point, feeder.last);
            else
                feeder.diagram->AddEdge(feeder.owner, feeder.last, point);
        }
    }
    else
        feeder.first = point;
    feeder.last = point;
}

bool DiagramOutline::Finish(OutlineFeeder2D& feeder, LoopTypeHolder& holder, uint32_t flags, FaceType* faceType)
{
    FaceDiagram* diagram = feeder.diagram;
    if (!diagram)
    {
        InternalError("DiagramOutline::Finish(): no diagram");
        return false;
    }
    AddPointCallback(feeder.owner, feeder.reverse, feeder);
    bool ok = diagram->Finish(flags, faceType);

    int32_t pointCount = 0;
    for (const Vert2D* v = diagram->mFirstVert; v; v = v->next)
        ++pointCount;
    Vec2D* points = pointCount > 0 ? diagram->mWorkPools->mPoints2D.Alloc(uint32_t(pointCount)) : nullptr;
    if (pointCount > 0 && !points)
    {
        InternalError("DiagramOutline::Finish(): no memory for %d points", pointCount);
        pointCount = 0;
        ok = false;
    }
    for (int32_t i = 0; i < pointCount; ++i)
        points[i] = Vec2D{};
    for (const Vert2D* v = diagram->mFirstVert; v && points; v = v->next)
        if (v->mIndex >= 0 && v->mIndex < pointCount)
            points[v->mIndex] = v->mPoint;

    mLoopTypeCount = diagram->mLoopTypeCount;
    mLoopTypeTriangles = diagram->mLoopTypeTriangles;
    mPoints = points;
    mPointCount = pointCount;
    holder.mLoopTypes = diagram->mLoopTypes;
    if (SharedDiagramPoolsAlive())
        GetSharedDiagramPools().ResetAll();
    return ok;
}
