#include "stellation/DiagramFacets.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymAxis.h"
#include "stellation/DiagramMap.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr double kSameVertexTol = 3e-8;
constexpr int kWalkLimit = 1 << 20;

std::vector<StellationEdge*> RingOf(const StellationRegion* region)
{
    std::vector<StellationEdge*> ring;
    StellationEdge* e = region ? region->mEdge : nullptr;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        ring.push_back(e);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return ring;
}

bool IsCentre(const SegVert* v)
{
    return v && std::fabs(v->mPos.x) <= kSameVertexTol && std::fabs(v->mPos.y) <= kSameVertexTol;
}

// Makes the facets of one type. A facet is the orbit of a region under the type's turns: its region
// i is the turn by i steps counterclockwise of region 0, each walked from the image of region 0's
// first edge, so that the k-th vertices of its regions are turned copies of each other.
class FacetMaker
{
public:
    explicit FacetMaker(FaceType* type) : mType(type), mIndex(type)
    {
        mTurns = std::max(type->mNumRotations, 1);
        // A type that takes its facets from its mirror type pairs them with that type's instead;
        // a mirror type that is a coplanar copy of this one leaves the pairing here.
        const FaceType* source = GetMirrorSource(type);
        mHasMirror = (!source || source == type) && GetOwnMirrorMap(type, mMirror);
    }

    bool HasMirror() const { return mHasMirror; }
    const DiagramMap& Mirror() const { return mMirror; }
    const DiagramVertexIndex& Index() const { return mIndex; }

    StellationFacet* Make(StellationEdge* first, int ring)
    {
        StellationFacet* facet = new StellationFacet(mType, ring, mCount++, mType->mFacets, mType->mLastFacet);
        facet->SetRegion(0, first);
        for (int i = 1; i < mTurns; ++i)
        {
            StellationEdge* image = MapEdge(mIndex, first, DiagramMap::Turn(i, mTurns));
            StellationRegion* region = image ? image->mRegion : nullptr;
            if (!region)
            {
                InternalError("CreateFacets: Couldn't find turned region\nFaceType %d, edge %s",
                              FaceType::GetNumber(mType), first->GetLabel().c_str());
                return nullptr;
            }
            // A region that a turn maps onto itself is the facet's only region.
            if (std::find(facet->mRegions.begin(), facet->mRegions.end(), region) != facet->mRegions.end())
                continue;
            if (region->mFacet)
            {
                InternalError("CreateFacets: Turned region has a facet already\nFaceType %d, edge %s",
                              FaceType::GetNumber(mType), first->GetLabel().c_str());
                return nullptr;
            }
            facet->SetRegion(i, image);
        }
        return facet;
    }

    // The facet's mirror image becomes a facet of the same ring after it, unless its regions are
    // the facet's own.
    bool AddMirror(StellationFacet* facet)
    {
        if (!mHasMirror)
            return true;
        StellationEdge* first = facet->mRegions[0]->mEdge;
        StellationEdge* image = MapEdge(mIndex, first, mMirror);
        if (!image || !image->mRegion)
        {
            InternalError("Couldn't find mirror edge\nFaceType %d, edge %s", FaceType::GetNumber(mType),
                          first->GetLabel().c_str());
            return false;
        }
        if (image->mRegion->mFacet)
            return true;
        StellationFacet* mirror = Make(image, facet->mRing);
        if (!mirror)
            return false;
        facet->PairMirror(mirror);
        return true;
    }

    bool MakeWithMirror(StellationEdge* first, int ring)
    {
        StellationFacet* facet = Make(first, ring);
        return facet && AddMirror(facet);
    }

private:
    FaceType* mType;
    DiagramVertexIndex mIndex;
    int mTurns = 1;
    int mCount = 0;
    bool mHasMirror = false;
    DiagramMap mMirror;
};

// The edge's direction lies along the mirror line (either way).
bool AlongMirror(const DiagramMap& mirror, const StellationEdge* e)
{
    const Vec2D t = GetEdgeDirection(e);
    const Vec2D image = mirror.Apply(t);
    return std::fabs(image.x - t.x) <= kSymTol && std::fabs(image.y - t.y) <= kSymTol;
}

// The facets round a vertex at the centre: g = v / n sectors make one turn, each a facet with its
// n turned copies. Counterclockwise from the innermost region's sector, or for a reflexible type
// from the sector just counterclockwise of the mirror line.
bool MakeSectorFacets(FaceType* type, FacetMaker& maker, StellationEdge* fromCentre)
{
    std::vector<StellationEdge*> around = GetEdgesAround(fromCentre->mStart);
    std::reverse(around.begin(), around.end());
    const auto at = std::find(around.begin(), around.end(), fromCentre);
    if (at == around.end())
    {
        InternalError("CreateFacets: Broken ring round the centre\nFaceType %d", FaceType::GetNumber(type));
        return false;
    }
    std::rotate(around.begin(), at, around.end());
    const int v = int(around.size());
    const int n = std::max(type->mNumRotations, 1);
    if (v % n != 0)
    {
        InternalError("CreateFacets: Number of symmetries doesn't\nadd up: %d facets * %d symmetries != %d edges", v / n,
                      n, v);
        return false;
    }
    const int g = v / n;
    int start = 0;
    if (maker.HasMirror())
    {
        if (maker.Mirror().IsProper())
            type->mFlags |= kFaceTypeMirrorReversed;
        else
        {
            start = -1;
            for (int j = 0; j < v && start < 0; ++j)
                if (AlongMirror(maker.Mirror(), around[size_t(j)]))
                    start = j;
            // Else the line halves a sector: the one its own mirror image.
            for (int j = 0; j < v && start < 0; ++j)
            {
                StellationEdge* e = around[size_t(j)];
                StellationEdge* image = e->mRegion ? MapEdge(maker.Index(), e, maker.Mirror()) : nullptr;
                if (image && image->mRegion == e->mRegion)
                    start = j;
            }
            if (start < 0)
            {
                InternalError("Couldn't find mirror edge around central vertex\nFaceType %d, edge %s",
                              FaceType::GetNumber(type), fromCentre->GetLabel().c_str());
                return false;
            }
        }
    }
    for (int s = 0; s < g; ++s)
    {
        StellationEdge* e = around[size_t((start + s) % v)];
        if (e->mRegion && !e->mRegion->mFacet && !maker.MakeWithMirror(e, 0))
            return false;
    }
    return true;
}

// The innermost region holds the centre: its own facet, walked from the edge where the mirror line
// leaves it in a reflexible type.
bool MakeCentralRegionFacet(FaceType* type, FacetMaker& maker, StellationRegion* innermost)
{
    const std::vector<StellationEdge*> ring = RingOf(innermost);
    const int e = int(ring.size());
    const int n = std::max(type->mNumRotations, 1);
    if (e % n != 0)
    {
        InternalError("CreateFacets: Number of symmetries don't\nadd up: %d facets * %d symmetries != %d edges", e / n, n,
                      e);
        return false;
    }
    StellationEdge* first = innermost->mEdge;
    if (maker.HasMirror())
    {
        if (maker.Mirror().IsProper())
            type->mFlags |= kFaceTypeMirrorReversed;
        else
        {
            first = nullptr;
            for (StellationEdge* x : ring)
            {
                const SegVert* onMirror = maker.Index().Find(maker.Mirror().Apply(x->mStart->mPos), kSymTol);
                if (MapEdge(maker.Index(), x, maker.Mirror()) == x || onMirror == x->mStart)
                {
                    first = x;
                    break;
                }
            }
            if (!first)
            {
                InternalError("Couldn't find mirror edge around central segment\nFaceType %d, edge %s",
                              FaceType::GetNumber(type), innermost->mEdge->GetLabel().c_str());
                return false;
            }
        }
    }
    return maker.MakeWithMirror(first, 0);
}

// Facets in the mirror type's order, each the mirror image of the one with its number there.
bool CopyMirrorFacets(FaceType* type, const FaceType* source, FacetMaker& maker)
{
    DiagramMap map;
    if (!GetMirrorTypeMap(type, map))
    {
        InternalError("Couldn't find mirror edge\nFaceType %d, edge %s", FaceType::GetNumber(type), "NULL");
        return false;
    }
    for (StellationFacet* theirs = source->mFacets; theirs; theirs = theirs->next)
    {
        const StellationRegion* region = theirs->mRegions.empty() ? nullptr : theirs->mRegions[0];
        StellationEdge* image = region ? MapEdge(maker.Index(), region->mEdge, map) : nullptr;
        if (!image || !image->mRegion || image->mRegion->mFacet)
        {
            InternalError("Couldn't find mirror edge\nFaceType %d, edge %s", FaceType::GetNumber(type),
                          region ? region->mEdge->GetLabel().c_str() : "NULL");
            return false;
        }
        StellationFacet* mine = maker.Make(image, theirs->mRing);
        if (!mine)
            return false;
        theirs->PairMirror(mine);
    }
    if (map.IsProper())
    {
        type->mFlags |= kFaceTypeMirrorReversed;
        const_cast<FaceType*>(source)->mFlags |= kFaceTypeMirrorReversed;
    }
    type->mFlags |= source->mFlags & kFaceTypeUnfacetedRegion;
    return true;
}

// The first region, going round the border of the diagram from mOuterEdge, that has no facet but
// borders (at a vertex) the faceted part; its edge along the border, with the ring it belongs to.
StellationEdge* FindUnreachedRegion(const FaceType* type, int& ring)
{
    StellationEdge* e = type->mOuterEdge;
    bool passedUnfaceted = false;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        const StellationRegion* inner = e->mTwin ? e->mTwin->mRegion : nullptr;
        if (!inner)
            break;
        if (!inner->mFacet)
            passedUnfaceted = true;
        else if (passedUnfaceted && e->mPrev && e->mPrev->mTwin)
        {
            ring = inner->mFacet->mRing + 1;
            return e->mPrev->mTwin;
        }
        e = e->mNext;
        if (e == type->mOuterEdge)
            break;
    }
    // A part the border walk does not reach: start it one ring beyond every other.
    int highest = -1;
    for (const StellationFacet* f = type->mFacets; f; f = f->next)
        highest = std::max(highest, f->mRing);
    for (StellationRegion* r = type->mFirstRegion; r; r = r->next)
        if (!r->mFacet && r->mEdge)
        {
            ring = highest + 1;
            return r->mEdge;
        }
    return nullptr;
}
}  // namespace

// Facet numbers follow the walks: round the centre counterclockwise, then breadth first, each
// facet's region 0 walked from its mEdge by mNext, the region across each edge becoming the next
// facet, its mirror image right after it.
bool CreateFacets(FaceType* type)
{
    if (!type || type->mCoplanarSource || !type->mFirstFace || (type->mFirstFace->mFlags & FaceVert::kInf))
        return true;
    StellationRegion* innermost = type->mInnermostRegion;
    if (!innermost)
    {
        InternalError("CreateFacets: No innermost segment");
        return false;
    }
    type->mFlags &= ~(kFaceTypeMirrorReversed | kFaceTypeUnfacetedRegion);
    FacetMaker maker(type);

    const FaceType* source = GetMirrorSource(type);
    if (type->mMirrorFace && source && source != type && source->mFacets)
    {
        if (!CopyMirrorFacets(type, source, maker))
            return false;
    }
    else
    {
        const std::vector<StellationEdge*> ring = RingOf(innermost);
        StellationEdge* fromCentre = nullptr;
        StellationEdge* alongCentre = nullptr;
        for (StellationEdge* e : ring)
        {
            if (!fromCentre && IsCentre(e->mStart))
                fromCentre = e;
            const SegVert* end = e->GetEnd();
            if (!alongCentre && e->mLine && end && (e->mLine->mFlags & kLineThroughCentre) &&
                e->mStart->mPos.x * end->mPos.x + e->mStart->mPos.y * end->mPos.y < 0.0)
                alongCentre = e;
        }
        bool made = false;
        if (fromCentre)
            made = MakeSectorFacets(type, maker, fromCentre);
        else if (alongCentre && type->mNumRotations <= 2)
        {
            // The centre lies on an edge: the regions on either side of it are both central.
            made = maker.MakeWithMirror(alongCentre, 0);
            StellationEdge* twin = alongCentre->mTwin;
            if (made && twin && twin->mRegion && !twin->mRegion->mFacet)
                made = maker.MakeWithMirror(twin, 0);
        }
        else
            made = MakeCentralRegionFacet(type, maker, innermost);
        if (!made)
            return false;

        StellationFacet* w = type->mFacets;
        for (;;)
        {
            for (; w; w = w->next)
            {
                const StellationRegion* region = w->mRegions[0];
                for (StellationEdge* e : RingOf(region))
                {
                    StellationEdge* across = e->mTwin;
                    if (across && across->mRegion && !across->mRegion->mFacet &&
                        !maker.MakeWithMirror(across, w->mRing + 1))
                        return false;
                }
            }
            int ringOfSeed = 0;
            StellationEdge* seed = FindUnreachedRegion(type, ringOfSeed);
            if (!seed)
                break;
            type->mFlags |= kFaceTypeUnfacetedRegion;
            StellationFacet* last = type->mLastFacet;
            if (!maker.MakeWithMirror(seed, ringOfSeed))
                return false;
            w = last ? last->next : type->mFacets;
        }
    }

    for (StellationRegion* r = type->mFirstRegion; r; r = r->next)
        if (!r->mFacet)
        {
            InternalError("CreateFacets: Region %d has no facet\nFaceType %d", type->GetRegionIndex(r),
                          FaceType::GetNumber(type));
            return false;
        }
    return true;
}

void SetHemiSelfPointers(Stellation* stellation)
{
    for (FaceType* type = stellation ? stellation->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
    {
        const FaceVert* first = type->mFirstFace;
        if (type->mCoplanarSource || !first || !(first->mFlags & FaceVert::kHemi))
            continue;
        const SymAxis* axis = type->FindHemiAxis();
        if (!axis)
            continue;
        type->mHemiDir = Vec2D{Vec3Dot(axis->mDir, first->mXAxis), Vec3Dot(axis->mDir, first->mYAxis)};
        DiagramMap halfTurn;
        if (!DiagramMap::Reflection(type->mHemiDir, halfTurn))
            continue;
        const double length = Vec2Length(type->mHemiDir);
        Vec2Div(type->mHemiDir, type->mHemiDir, length);
        // In the plane the half turn about the axis is the reflection across the axis line.
        const DiagramVertexIndex index(type);
        for (StellationFacet* facet = type->mFacets; facet; facet = facet->next)
        {
            const StellationRegion* region = facet->mRegions.empty() ? nullptr : facet->mRegions[0];
            StellationEdge* image = region ? MapEdge(index, region->mEdge, halfTurn) : nullptr;
            StellationFacet* partner = image && image->mRegion ? image->mRegion->mFacet : nullptr;
            if (!partner)
            {
                InternalError("mirrorFacet == NULL, type %d", FaceType::GetIndex(type));
                partner = facet;
            }
            facet->mHemiPartner = partner;
        }
    }
}
