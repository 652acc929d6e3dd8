#include "stellation/FaceType.h"

#include "kernel/LinkNode.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "stellation/DiagramMap.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

double SideOfMirror(const Vec2D& dir, const Vec2D& p)
{
    return dir.y * p.x - dir.x * p.y;
}

// Open edges of a region once the regions in the set are gone.
int CountOpenEdges(const StellationRegion* region, const std::unordered_set<const StellationRegion*>& gone)
{
    int n = 0;
    const StellationEdge* e = region->mEdge;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        const StellationRegion* across = e->mTwin ? e->mTwin->mRegion : nullptr;
        n += !across || gone.count(across);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return n;
}

std::vector<StellationEdge*> RingOf(const StellationRegion* region)
{
    std::vector<StellationEdge*> ring;
    StellationEdge* e = region->mEdge;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        ring.push_back(e);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return ring;
}
}  // namespace

Vec2D FaceType::ReflectPoint(const Vec2D& p) const
{
    DiagramMap map;
    if (!DiagramMap::Reflection(mMirrorDir, map))
        return p;
    return map.Apply(p);
}

bool FaceType::IsOnMirror(const Vec2D& p) const
{
    return std::fabs(SideOfMirror(mMirrorDir, p)) <= kSymTol;
}

bool FaceType::IsLeftOfMirror(const Vec2D& p) const
{
    return SideOfMirror(mMirrorDir, p) < kSymTol;
}

bool FaceType::RegionStraddlesMirror(const StellationRegion* region, bool touch) const
{
    if (!region)
        return false;
    const std::vector<StellationEdge*> ring = RingOf(region);
    const int n = int(ring.size());
    int firstOff = -1;
    for (int i = 0; i < n && firstOff < 0; ++i)
    {
        if (!ring[size_t(i)]->mStart)
            return false;
        if (!IsOnMirror(ring[size_t(i)]->mStart->mPos))
            firstOff = i;
        else if (touch)
            return true;
    }
    if (firstOff < 0)
        return true;
    const bool left = IsLeftOfMirror(ring[size_t(firstOff)]->mStart->mPos);
    bool previousOn = false;
    for (int k = 1; k <= n; ++k)
    {
        const Vec2D& p = ring[size_t((firstOff + k) % n)]->mStart->mPos;
        if (IsOnMirror(p))
        {
            if (touch || previousOn)
                return true;
            previousOn = true;
            continue;
        }
        if (IsLeftOfMirror(p) != left)
            return true;
        previousOn = false;
    }
    return false;
}

// Regions that touch the bounding square stand for unbounded ones and go, all at once: their
// edges lose the region, an edge left with none on either side goes, and the rings outside the
// bounded part are relinked from the turn order around each vertex, which deleting edges keeps.
bool FaceType::DeleteOuterSegments(bool quiet)
{
    if (!mFirstRegion)
        return false;
    const bool wasSplit = mNumRegions > 1;

    std::unordered_set<const StellationRegion*> gone;
    std::vector<StellationEdge*> edges;
    std::unordered_set<StellationEdge*> seen;
    for (StellationRegion* r = mFirstRegion; r; r = r->next)
        for (StellationEdge* e : RingOf(r))
        {
            for (StellationEdge* half : {e, e->mTwin})
                if (half && seen.insert(half).second)
                    edges.push_back(half);
            if (!e->mTwin || !e->mTwin->mRegion)
                gone.insert(r);
        }
    const bool anyBounded = int(gone.size()) < mNumRegions;

    // A new innermost region: next to the old one, with the fewest open edges, then nearest the
    // centre; a reflexible type prefers one lying across its mirror line.
    StellationRegion* chosen = nullptr;
    if (anyBounded && (!mInnermostRegion || gone.count(mInnermostRegion)))
    {
        std::vector<StellationRegion*> candidates;
        if (mInnermostRegion)
            for (StellationEdge* e : RingOf(mInnermostRegion))
            {
                StellationRegion* across = e->mTwin ? e->mTwin->mRegion : nullptr;
                if (across && !gone.count(across))
                    candidates.push_back(across);
            }
        const bool reflexible = (mFlags & kFaceTypeReflexible) != 0;
        // Passes 0 and 1 take regions across the mirror line, without and with a touch; pass 2 any.
        const int firstPass = reflexible ? 0 : 2;
        const int endPass = reflexible ? 2 : 3;
        for (int pass = firstPass; pass < endPass && !chosen; ++pass)
        {
            int fewest = 0;
            double nearest = kUnsetValue;
            for (StellationRegion* r : candidates)
            {
                if (pass < 2 && !RegionStraddlesMirror(r, pass == 1))
                    continue;
                const int open = CountOpenEdges(r, gone);
                const Vec2D c = r->GetCentroid();
                const double distance = c.x * c.x + c.y * c.y;
                if (!chosen || open < fewest || (open == fewest && distance < nearest))
                {
                    chosen = r;
                    fewest = open;
                    nearest = distance;
                }
            }
        }
        for (StellationRegion* r = mFirstRegion; r && !chosen; r = r->next)
            if (!gone.count(r))
                chosen = r;
        mInnermostRegion = chosen;
    }
    else if (!anyBounded)
        mInnermostRegion = nullptr;

    // The turn order round every vertex and the edges of every line in their order, before anything
    // goes.
    std::unordered_map<SegVert*, std::vector<StellationEdge*>> around;
    for (StellationEdge* e : edges)
        if (e->mStart && !around.count(e->mStart))
            around[e->mStart] = GetEdgesAround(e->mStart);
    std::vector<std::pair<StellationLine*, std::vector<StellationEdge*>>> lineEdges;
    for (StellationLine* line = mLineEqns; line; line = line->mNext)
    {
        std::vector<StellationEdge*> along;
        StellationEdge* e = line->mFirstEdge;
        for (int i = 0; e && i < kWalkLimit; ++i)
        {
            along.push_back(e);
            e = e->FindOnLineAroundVertex(line);
        }
        lineEdges.emplace_back(line, std::move(along));
    }

    for (StellationEdge* e : edges)
        if (e->mRegion && gone.count(e->mRegion))
            e->mRegion = nullptr;
    std::unordered_set<StellationEdge*> dead;
    for (StellationEdge* e : edges)
        if (!e->mRegion && (!e->mTwin || !e->mTwin->mRegion))
            dead.insert(e);

    for (auto& [vert, ring] : around)
    {
        std::vector<StellationEdge*> kept;
        for (StellationEdge* e : ring)
            if (!dead.count(e))
                kept.push_back(e);
        vert->mEdge = kept.empty() ? nullptr : kept.front();
        // Clockwise, each edge's twin comes in just before the next edge leaves.
        for (size_t k = 0; k < kept.size(); ++k)
        {
            StellationEdge* next = kept[(k + 1) % kept.size()];
            kept[k]->mTwin->mNext = next;
            next->mPrev = kept[k]->mTwin;
        }
    }

    for (auto& [line, along] : lineEdges)
    {
        StellationEdge* first = nullptr;
        StellationEdge* last = nullptr;
        for (StellationEdge* e : along)
            if (!dead.count(e))
            {
                if (!first)
                    first = e;
                last = e;
            }
        line->mFirstEdge = first;
        line->mLastEdge = last ? last->mTwin : nullptr;
    }

    mOuterEdge = nullptr;
    for (StellationEdge* e : edges)
        if (!dead.count(e) && !e->mRegion && !mOuterEdge)
            mOuterEdge = e;
    for (StellationEdge* e : dead)
        delete e;

    for (StellationRegion* r = mFirstRegion; r;)
    {
        StellationRegion* next = r->next;
        if (gone.count(r))
        {
            ListRemove(r, mFirstRegion, mLastRegion);
            delete r;
            --mNumRegions;
        }
        r = next;
    }

    // Lines without edges go, the four bounding lines among them; so do vertices left alone.
    for (StellationLine** link = &mLineEqns; *link;)
    {
        StellationLine* line = *link;
        if (line->mFirstEdge && line->mLastEdge)
        {
            link = &line->mNext;
            continue;
        }
        *link = line->mNext;
        delete line;
    }
    SegVert* survivors = nullptr;
    SegVert** tail = &survivors;
    for (SegVert** list : {&mVerts, &mOuterVerts})
    {
        for (SegVert* v = *list; v;)
        {
            SegVert* next = v->mNext;
            if (v->mEdge)
            {
                *tail = v;
                tail = &v->mNext;
            }
            else
                delete v;
            v = next;
        }
        *list = nullptr;
    }
    *tail = nullptr;
    mVerts = survivors;

    if (!wasSplit || !anyBounded)
    {
        if (!quiet)
            InternalError(wasSplit ? "Stellation planes don't enclose any space" : "Only one big segment");
        return false;
    }

    // A type whose mirror type came first starts from the image of that type's innermost region.
    DiagramMap map;
    const FaceType* source = GetMirrorSource(this);
    if (chosen && HasEarlierMirror() && source && source->mInnermostRegion && GetMirrorTypeMap(this, map))
    {
        const Vec2D target = map.Apply(source->mInnermostRegion->GetCentroid());
        const Vec2D c = chosen->GetCentroid();
        if (std::fabs(c.x - target.x) > kSymTol || std::fabs(c.y - target.y) > kSymTol)
            for (StellationRegion* r = mFirstRegion; r; r = r->next)
            {
                const Vec2D rc = r->GetCentroid();
                if (std::fabs(rc.x - target.x) <= kSymTol && std::fabs(rc.y - target.y) <= kSymTol)
                {
                    mInnermostRegion = r;
                    break;
                }
            }
    }
    return true;
}
