#include "stellation/StellationOriginalCells.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/Transform3D.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

double Scaled(double tol, const Vec2D& p)
{
    return tol * std::max(1.0, Vec2Length(p));
}

// The corners of the element in the frame; false when one lies at infinity.
bool ProjectCorners(const FaceVert* element, const Transform3D& frame, std::vector<Vec2D>& corners)
{
    corners.clear();
    for (int i = 0; i < element->mNumSides; ++i)
    {
        Vec2D p;
        if (!element->mNeighbours[i] || (element->mNeighbours[i]->mFlags & FaceVert::kHemi) ||
            !element->ProjectNeighbour(element->mNeighbours[i], frame, p))
            return false;
        corners.push_back(p);
    }
    return corners.size() >= 3;
}

// How often the polygon winds round the point.
int Winding(const std::vector<Vec2D>& polygon, const Vec2D& q)
{
    int winding = 0;
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i)
    {
        const Vec2D& a = polygon[i];
        const Vec2D& b = polygon[(i + 1) % n];
        const double cross = (b.x - a.x) * (q.y - a.y) - (q.x - a.x) * (b.y - a.y);
        if (a.y <= q.y)
        {
            if (b.y > q.y && cross > 0.0)
                ++winding;
        }
        else if (b.y <= q.y && cross < 0.0)
            --winding;
    }
    return winding;
}

StellationLine* FindLineThrough(const FaceType* type, const Vec2D& a, const Vec2D& b)
{
    StellationLine* best = nullptr;
    double bestError = 0.0;
    for (StellationLine* line = type->mLineEqns; line; line = line->mNext)
    {
        const double error = std::max(std::fabs(line->Eval(a.x, a.y)), std::fabs(line->Eval(b.x, b.y)));
        if (error <= Scaled(kSymTol, a) + Scaled(kSymTol, b) && (!best || error < bestError))
        {
            best = line;
            bestError = error;
        }
    }
    return best;
}

std::vector<const FaceVert*> PlaneRing(const FaceVert* first)
{
    std::vector<const FaceVert*> ring;
    const FaceVert* face = first;
    for (int i = 0; face && i < kWalkLimit; ++i)
    {
        if (!(face->mFlags & FaceVert::kSkip))
            ring.push_back(face);
        face = face->mNextCoplanar;
        if (face == first)
            break;
    }
    return ring;
}
}  // namespace

void MarkOriginalEdges(FaceType* type, const FaceVert* face, bool flip)
{
    const FaceVert* first = type ? type->mFirstFace : nullptr;
    std::vector<Vec2D> corners;
    if (!first || !face || !ProjectCorners(face, first->GetWorldToLocal(false), corners))
        return;
    const size_t n = corners.size();
    for (size_t i = 0; i < n; ++i)
    {
        const Vec2D& a = corners[i];
        const Vec2D& b = corners[(i + 1) % n];
        StellationLine* line = FindLineThrough(type, a, b);
        if (!line)
        {
            InternalError("MarkOriginalEdges: Couldn't find line");
            continue;
        }
        line->mFlags |= kLineOriginalEdge;
        const Vec2D side{b.x - a.x, b.y - a.y};
        const double lengthSq = Vec2Dot(side, side);
        if (lengthSq <= 0.0)
            continue;
        const double slack = Scaled(kSymTol, a) / std::sqrt(lengthSq);
        StellationEdge* e = line->mFirstEdge;
        for (int k = 0; e && k < kWalkLimit; ++k, e = e->FindOnLineAroundVertex(line))
        {
            const SegVert* end = e->GetEnd();
            if (!end || !e->mTwin)
                break;
            const Vec2D s{e->mStart->mPos.x - a.x, e->mStart->mPos.y - a.y};
            const Vec2D t{end->mPos.x - a.x, end->mPos.y - a.y};
            const double ts = Vec2Dot(s, side) / lengthSq, tt = Vec2Dot(t, side) / lengthSq;
            if (std::min(ts, tt) < -slack || std::max(ts, tt) > 1.0 + slack)
                continue;
            e->mFlags |= kEdgeOnOriginalBoundary;
            e->mTwin->mFlags |= kEdgeOnOriginalBoundary;
            // The half that runs with the side has the face on its left.
            StellationEdge* inner = tt > ts ? e : e->mTwin;
            inner->SetWinding(inner->GetWinding() + (flip ? -1 : 1));
        }
    }
}

void FaceType::MarkOriginalFacets()
{
    if (mCoplanarSource || !mFirstFace || (mFirstFace->mFlags & FaceVert::kInf))
        return;
    const Transform3D frame = mFirstFace->GetWorldToLocal(false);
    std::vector<std::vector<Vec2D>> polygons;
    for (const FaceVert* face : PlaneRing(mFirstFace))
    {
        std::vector<Vec2D> corners;
        if (!ProjectCorners(face, frame, corners))
            continue;
        MarkOriginalEdges(this, face, Vec3Dot(face->mZAxis, mFirstFace->mZAxis) < 0.0);
        polygons.push_back(std::move(corners));
    }
    for (StellationFacet* facet = mFacets; facet; facet = facet->next)
    {
        const StellationRegion* region = facet->mRegions.empty() ? nullptr : facet->mRegions[0];
        if (!region)
            continue;
        // Regions are convex: the mean of the corners is inside, off every side of every face.
        const Vec2D q = region->GetCentroid();
        for (const std::vector<Vec2D>& polygon : polygons)
            if (Winding(polygon, q) != 0)
            {
                facet->mFlags |= kFacetOnOriginalFace;
                mMaxOriginalRing = std::max(mMaxOriginalRing, facet->mRing);
                break;
            }
    }
}

// The original polyhedron is what its faces enclose: the cells that the outside cannot reach
// without passing through an original face.
void Stellation::IdentifyOriginalCells()
{
    bool anyFacet = false;
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource)
            continue;
        type->MarkOriginalFacets();
        for (const StellationFacet* f = type->mFacets; f && !anyFacet; f = f->next)
            anyFacet = (f->mFlags & kFacetOnOriginalFace) != 0;
    }
    StellationCell* outer = mLastCell;
    if (!anyFacet || !outer)
    {
        for (StellationCell* c = mFirstCell; c && c->mLayer == mFirstLayer && c != outer; c = c->next)
            c->mFlags |= kCellOriginal;
        return;
    }
    std::deque<StellationCell*> queue{outer};
    outer->mFlags |= kCellVisited;
    while (!queue.empty())
    {
        StellationCell* c = queue.front();
        queue.pop_front();
        for (size_t i = 0; i < c->mFacets.size(); ++i)
        {
            StellationCell* across = c->mNeighbours[i];
            if ((c->mFacets[i]->mFlags & kFacetOnOriginalFace) || !across || (across->mFlags & kCellVisited))
                continue;
            across->mFlags |= kCellVisited;
            queue.push_back(across);
        }
    }
    for (StellationCell* c = mFirstCell; c; c = c->next)
    {
        if (!(c->mFlags & kCellVisited))
            c->mFlags |= kCellOriginal;
        c->mFlags &= ~kCellVisited;
    }
    // Which side of each original facet the solid lies on.
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource)
            continue;
        for (StellationFacet* f = type->mFacets; f; f = f->next)
        {
            if (!(f->mFlags & kFacetOnOriginalFace))
                continue;
            const bool below = f->mCellBelow && (f->mCellBelow->mFlags & kCellOriginal);
            const bool above = f->mCellAbove && (f->mCellAbove->mFlags & kCellOriginal);
            if (below && !above)
                f->mFlags |= kFacetOriginalBelow;
            else if (above && !below)
                f->mFlags |= kFacetOriginalAbove;
        }
    }
}
