#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymAxis.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellGeometry.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

// Far from the centre the diagram's coordinates carry more rounding: tolerances grow with them.
double Scaled(double tol, const Vec2D& p)
{
    return tol * std::max(1.0, Vec2Length(p));
}

bool SamePoint(const Vec2D& a, const Vec2D& b, double tol)
{
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
}

SegVert* FindVertAt(const FaceType* type, const Vec2D& p, double tol)
{
    for (SegVert* list : {type->mVerts, type->mOuterVerts})
        for (SegVert* v = list; v; v = v->mNext)
            if (SamePoint(v->mPos, p, tol))
                return v;
    return nullptr;
}

uint32_t VertClassBit(int axisClass)
{
    return axisClass == 0 ? kSegVertAxisClass0 : axisClass == 1 ? kSegVertAxisClass1 : 0;
}

// The place along the line by which its points are ordered.
double Along(const StellationLine* line, const Vec2D& p)
{
    return (line->mFlags & kLineNearHorizontal) ? p.x : p.y;
}

std::vector<StellationEdge*> EdgesAlong(const StellationLine* line)
{
    std::vector<StellationEdge*> edges;
    StellationEdge* first = line->mFirstEdge;
    StellationEdge* last = line->mLastEdge;
    if (!first || !last)
        return edges;
    // From the end with the smaller coordinate.
    StellationEdge* e = Along(line, first->mStart->mPos) <= Along(line, last->mStart->mPos) ? first : last;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        edges.push_back(e);
        e = e->FindOnLineAroundVertex(line);
    }
    return edges;
}

bool AxisAlongNormal(const Vec3D& direction, const Vec3D& normal)
{
    const double cosine = std::fabs(Vec3Dot(direction, normal));
    return cosine >= 1.0 - kSymTol && cosine <= 1.0 + kSymTol;
}

int CellClassBits(int axisClass)
{
    return int(kCellOnAxis | (axisClass == 0 ? kCellAxisClass0 : axisClass == 1 ? kCellAxisClass1 : 0));
}
}  // namespace

StellationEdge* FaceType::FindCentralLineEdge() const
{
    for (const StellationLine* line = mLineEqns; line; line = line->mNext)
    {
        if (!(line->mFlags & kLineThroughCentre))
            continue;
        for (StellationEdge* e : EdgesAlong(line))
        {
            const SegVert* end = e->GetEnd();
            if (!end)
                continue;
            const Vec2D mid{0.5 * (e->mStart->mPos.x + end->mPos.x), 0.5 * (e->mStart->mPos.y + end->mPos.y)};
            if (SamePoint(mid, Vec2D{}, Scaled(kSymTol, e->mStart->mPos)) &&
                !SamePoint(e->mStart->mPos, Vec2D{}, kSymTol))
                return e;
        }
    }
    return nullptr;
}

void FaceType::MarkAxisPoints()
{
    const SymGroup* group = mPoly ? mPoly->mGroup.get() : nullptr;
    if (!group)
        return;
    for (int k = 0; k < group->mNumAxisSets; ++k)
    {
        const SymAxisSet& set = group->mAxisSets[k];
        for (int i = 0; i < set.mNumAxes; ++i)
            MarkAxisPoint(k, set.mOrder, set.mAxes[i].mDir, set.mOneSided);
    }
}

void FaceType::MarkAxisPoint(int axisClass, int order, const Vec3D& direction, bool oneSided)
{
    const FaceVert* first = mFirstFace;
    if (mCoplanarSource || !first)
        return;
    if (first->mFlags & FaceVert::kHemi)
    {
        if (SegVert* v = FindVertAt(this, Vec2D{}, kSymTol))
            v->mFlags |= kSegVertCentre | kSegVertOnAxis;
        return;
    }
    const double c = Vec3Dot(direction, first->mCentre);
    if (std::fabs(c) <= kSymTol || (oneSided && c < 0.0))
        return;
    if (AxisAlongNormal(direction, first->mZAxis))
    {
        if (SegVert* v = FindVertAt(this, Vec2D{}, kSymTol))
            v->mFlags |= kSegVertOnAxis | VertClassBit(axisClass);
        else if (StellationEdge* e = FindCentralLineEdge())
        {
            e->mFlags |= kEdgeMidOnTwoFoldAxis;
            if (e->mTwin)
                e->mTwin->mFlags |= kEdgeMidOnTwoFoldAxis;
        }
        else if (mFacets)
            mFacets->mFlags |= kFacetOnAxis | (axisClass == 0 ? kFacetAxisClass0 : axisClass == 1 ? kFacetAxisClass1 : 0);
        return;
    }
    // Where the axis meets the plane, in the first face's frame.
    const double t = Vec3LengthSq(first->mCentre) / c;
    const Vec2D p{t * Vec3Dot(direction, first->mXAxis), t * Vec3Dot(direction, first->mYAxis)};
    const double tol = Scaled(kSymTol, p);
    const StellationLine* line = nullptr;
    for (const StellationLine* l = mLineEqns; l && !line; l = l->mNext)
        if (std::fabs(l->Eval(p.x, p.y)) <= Scaled(kTol, p) && l->mFirstEdge)
            line = l;
    if (!line)
    {
        InternalError("Axis point doesn't lie on any line");
        return;
    }
    const std::vector<StellationEdge*> edges = EdgesAlong(line);
    if (edges.empty() || Along(line, p) < Along(line, edges.front()->mStart->mPos) - tol)
    {
        InternalError("Axis point lies before start of line");
        return;
    }
    for (StellationEdge* e : edges)
    {
        const SegVert* end = e->GetEnd();
        if (SamePoint(e->mStart->mPos, p, tol))
        {
            e->mStart->mFlags |= kSegVertOnAxis | VertClassBit(axisClass);
            return;
        }
        if (!end)
            break;
        const Vec2D mid{0.5 * (e->mStart->mPos.x + end->mPos.x), 0.5 * (e->mStart->mPos.y + end->mPos.y)};
        if (SamePoint(mid, p, tol))
        {
            if (order != 2)
                InternalError("Edge lies above %d-fold rotation axis", order);
            e->mFlags |= kEdgeMidOnTwoFoldAxis;
            if (e->mTwin)
                e->mTwin->mFlags |= kEdgeMidOnTwoFoldAxis;
            return;
        }
        if (SamePoint(end->mPos, p, tol))
        {
            const_cast<SegVert*>(end)->mFlags |= kSegVertOnAxis | VertClassBit(axisClass);
            return;
        }
    }
    InternalError("Axis point doesn't lie on vertex or edge-middle");
}

// A cell is on an axis when the turn about the axis maps it onto itself: a point inside it stays on
// the same side of every face plane. A record stands for the copy against its first facet's first
// region; the turn of that copy about some axis of a class is what matters, so every axis is tried.
void Stellation::MarkCellsAboveAxes()
{
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        type->MarkAxisPoints();
    // The centre of a plane through it stands for the point that planes away from it see there.
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource || !type->mFirstFace || !(type->mFirstFace->mFlags & FaceVert::kHemi))
            continue;
        for (SegVert* list : {type->mVerts, type->mOuterVerts})
            for (SegVert* v = list; v; v = v->mNext)
            {
                const SegVert* w = v->mCoincident;
                for (int i = 0; w && w != v && i < kWalkLimit; ++i, w = w->mCoincident)
                {
                    const FaceVert* face = w->mFaceType ? w->mFaceType->mFirstFace : nullptr;
                    if (face && !(face->mFlags & FaceVert::kHemi))
                    {
                        constexpr uint32_t kAxisBits = kSegVertCentre | kSegVertOnAxis | kSegVertAxisClass0 | kSegVertAxisClass1;
                        v->mFlags = (v->mFlags & ~kAxisBits) | (w->mFlags & kAxisBits);
                        break;
                    }
                }
            }
    }

    StellationCell* outer = mLastCell;
    StellationCell* start = mFirstCell;
    if (mFirstCell && mFirstLayer && (!mFirstLayer->next || mFirstLayer->next->mFirstCell == mFirstCell->next))
    {
        mFirstCell->mFlags |= kCellCore;
        start = mFirstCell->next;
    }
    const SymGroup* group = mPoly ? mPoly->mGroup.get() : nullptr;
    if (!group)
        return;
    const std::vector<CellPlane> planes = GetCellPlanes(this);
    for (StellationCell* cell = start; cell && cell != outer; cell = cell->next)
    {
        Vec3D inside;
        if (!GetCellInteriorPoint(cell, planes, inside))
            continue;
        bool marked = false;
        for (int k = 0; k < group->mNumAxisSets && !marked; ++k)
        {
            const SymAxisSet& set = group->mAxisSets[k];
            if (set.mOrder < 2)
                continue;
            for (int i = 0; i < set.mNumAxes && !marked; ++i)
            {
                const Vec3D& axis = set.mAxes[i].mDir;
                Mat3 turn;
                turn.SetRotation(axis, 2.0 * kPi / set.mOrder);
                Vec3D image;
                turn.Transform(image, inside);
                if (!InSameCell(planes, inside, image))
                    continue;
                // The cell holds a piece of the axis: the mean of the point's turns lies on it.
                Vec3D mean = inside, p = inside;
                for (int j = 1; j < set.mOrder; ++j)
                {
                    turn.Transform(p, Vec3D(p));
                    Vec3AddTo(mean, p);
                }
                if (set.mOneSided && Vec3Dot(mean, axis) < 0.0)
                    continue;  // the other end, a class of its own
                cell->mFlags |= uint32_t(CellClassBits(k));
                marked = true;
            }
        }
    }
}
