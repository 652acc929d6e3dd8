#include "kernel/FitPointSink.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/PolyTemplate.h"
#include "model/Vert.h"

#include <algorithm>
#include <cmath>

namespace
{
void Extend2D(FitPointSink& sink, const Vec2D& p)
{
    sink.ExtendFit(Vec3D{p.x, p.y, 0.0});
}

// The members of the element's coincidence ring that its vertex figure shows: the element alone
// unless "Show Coplanar Vertex Figures" is on. Bounded, so that a broken ring cannot hold the walk.
template <class Visit>
void ForFigureMembers(FaceVert* element, Visit visit)
{
    const bool wholeRing = GetElementDisplayOptions().mShowCoplanarVertexFigures;
    int limit = element->mList ? element->mList->mCount + 1 : 1;
    FaceVert* member = element;
    do
    {
        visit(member);
        if (!wholeRing)
            break;
        member = member->mNextCoplanar;
    } while (member && member != element && --limit > 0);
}
}  // namespace

double Face::GetRadius()
{
    if (mTemplatePolygon)
        return mTemplatePolygon->mRadius;
    double best = 0.0;
    for (int i = 0; i < mNumSides; ++i)
        if (const FaceVert* corner = mNeighbours[i])
            best = std::max(best, Vec3Distance(corner->mPoint, mCentre));
    return best;
}

void Face::FitOutline(FitPointSink& sink, const Transform3D& frame)
{
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* corner = mNeighbours[i];
        if (!corner)
            continue;
        Vec3D p;
        frame.Apply(p, corner->mPoint);
        sink.ExtendFit(p);
    }
}

double Vert::GetRadius()
{
    const Transform3D frame = GetWorldToLocal(false);
    double best = 0.0;
    Vec2D points[5];
    for (int i = 0; i < mNumSides; ++i)
    {
        const int count = ProjectSide(i, frame, points);
        for (int k = 0; k < count; ++k)
            best = std::max(best, points[k].x * points[k].x + points[k].y * points[k].y);
    }
    return std::sqrt(best);
}

void Vert::FitOutline(FitPointSink& sink, const Transform3D& frame)
{
    Vec2D points[5];
    for (int i = 0; i < mNumSides; ++i)
    {
        const int count = ProjectSide(i, frame, points);
        for (int k = 0; k < count; ++k)
            Extend2D(sink, points[k]);
    }
}

void FaceVert::FitFigure(FitPointSink& sink)
{
    const Transform3D frame = GetWorldToLocal(false);
    const bool dualFace = GetElementDisplayOptions().mShowDualFaceOnVertexFigure;
    ForFigureMembers(this, [&](FaceVert* member) {
        if (dualFace)
            member->FitOutline(sink, frame);
        for (int i = 0; i < member->mNumSides; ++i)
        {
            Vec2D p;
            member->ProjectAdjacent(i, frame, p);
            Extend2D(sink, p);
        }
    });
}

double FaceVert::GetFigureRadius()
{
    const Transform3D frame = GetWorldToLocal(false);
    const bool dualFace = GetElementDisplayOptions().mShowDualFaceOnVertexFigure;
    double best = 0.0;
    ForFigureMembers(this, [&](FaceVert* member) {
        if (dualFace)
        {
            const double r = member->GetRadius();
            best = std::max(best, r * r);
        }
        for (int i = 0; i < member->mNumSides; ++i)
        {
            Vec2D p;
            member->ProjectAdjacent(i, frame, p);
            best = std::max(best, p.x * p.x + p.y * p.y);
        }
    });
    return std::sqrt(best);
}

void FaceVert::FitRingFigure(FitPointSink& sink) const
{
    if (!mList)
        return;
    const Transform3D frame = GetWorldToLocal(false);
    for (const FaceVert* e = mList->mFirst; e; e = e->mNext)
    {
        Vec2D p;
        if (e != this && ProjectNeighbour(e, frame, p))
            Extend2D(sink, p);
    }
}

double FaceVert::GetListFigureRadius() const
{
    if (!mList)
        return 0.0;
    const Transform3D frame = GetWorldToLocal(false);
    double best = 0.0;
    for (const FaceVert* e = mList->mFirst; e; e = e->mNext)
    {
        Vec2D p;
        if (e != this && ProjectNeighbour(e, frame, p))
            best = std::max(best, p.x * p.x + p.y * p.y);
    }
    return std::sqrt(best);
}
