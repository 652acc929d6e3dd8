#include "stellation/FaceType.h"

#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/DiagramLinks.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <cmath>
#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

std::vector<SegVert*> VertsOf(const StellationRegion* region)
{
    std::vector<SegVert*> verts;
    StellationEdge* e = region ? region->mEdge : nullptr;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        verts.push_back(e->mStart);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return verts;
}

StellationEdge* NextAlongLine(StellationEdge* e)
{
    return e ? e->FindOnLineAroundVertex(e->mLine) : nullptr;
}

const SymGroup* GroupOf(const FaceType* type)
{
    return type->mPoly ? type->mPoly->mGroup.get() : nullptr;
}
}  // namespace

const SymAxis* FaceType::FindNormalAxis() const
{
    const SymGroup* group = GroupOf(this);
    if (!group || !mFirstFace)
        return nullptr;
    const Vec3D& normal = mFirstFace->mZAxis;
    for (int s = 0; s < group->mNumAxisSets; ++s)
    {
        const SymAxisSet& set = group->mAxisSets[s];
        if (set.mOrder % 2 != 0)
            continue;
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            const double cosine = std::fabs(Vec3Dot(set.mAxes[i].mDir, normal));
            if (cosine >= 0.999999 && cosine <= 1.000001)
                return &set.mAxes[i];
        }
    }
    return nullptr;
}

const SymAxis* FaceType::FindHemiAxis() const
{
    const SymGroup* group = GroupOf(this);
    if (!group || !mFirstFace)
        return nullptr;
    const Vec3D& normal = mFirstFace->mZAxis;
    for (int s = 0; s < group->mNumAxisSets; ++s)
    {
        const SymAxisSet& set = group->mAxisSets[s];
        if (set.mOrder % 2 != 0)
            continue;
        for (int i = 0; i < set.mNumAxes; ++i)
            if (std::fabs(Vec3Dot(set.mAxes[i].mDir, normal)) <= kSymTol)
                return &set.mAxes[i];
    }
    return nullptr;
}

// The k-th vertices of a facet's regions are turned copies of each other; a region that the turns
// map onto themselves has its copies e / n places apart round it.
void FaceType::LinkSymmetricVerts()
{
    for (SegVert* list : {mOuterVerts, mVerts})
        for (SegVert* v = list; v; v = v->mNext)
            v->mCoincident = v;
    const int n = mNumRotations;
    if (n <= 1)
        return;
    for (StellationFacet* facet = mFacets; facet; facet = facet->next)
    {
        const std::vector<SegVert*> first = VertsOf(facet->mRegions[0]);
        const int e = int(first.size());
        bool alone = true;
        for (int i = 1; i < facet->GetNumRegions(); ++i)
        {
            if (!facet->mRegions[size_t(i)])
                continue;
            alone = false;
            const std::vector<SegVert*> turned = VertsOf(facet->mRegions[size_t(i)]);
            for (int k = 0; k < e && k < int(turned.size()); ++k)
                JoinCoincidentLists(first[size_t(k)], turned[size_t(k)]);
        }
        if (alone && e % n == 0)
            for (int k = 0; k < e / n; ++k)
                for (int j = 1; j < n; ++j)
                    JoinCoincidentLists(first[size_t(k)], first[size_t(k + j * (e / n))]);
    }
}

bool FaceType::JoinCoincidentVerts(int typeNumber, int typeCount)
{
    const int count = GetNumLines();
    int k = 0;
    for (StellationLine* p = mLineEqns; p; p = p->mNext, ++k)
    {
        if (!ShowProgress(double(k) / count, "Joining coincident vertices for face type %d of %d,\nLine %d of %d.",
                          typeNumber + 1, typeCount, k + 1, count))
            return false;
        StellationLine* q = p->mOuterNeighbour;
        const bool sameWay = (p->mFlags & kLineOuterSameWay) != 0;
        if (!q || (q == p && sameWay) || !p->mFirstEdge || !p->mLastEdge)
            continue;
        StellationEdge* a = p->mFirstEdge;
        StellationEdge* b = sameWay ? q->mFirstEdge : q->mLastEdge;
        StellationEdge* bEnd = sameWay ? q->mLastEdge : q->mFirstEdge;
        for (int guard = 0; a && b && guard < kWalkLimit; ++guard)
        {
            JoinCoincidentLists(a->mStart, b->mStart);
            a = NextAlongLine(a);
            b = NextAlongLine(b);
        }
        if (bEnd)
            JoinCoincidentLists(p->mLastEdge->mStart, bEnd->mStart);
    }
    return true;
}
