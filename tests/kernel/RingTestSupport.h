#pragma once

#include "kernel/RingVert.h"
#include "kernel/Vec2D.h"

#include <vector>

// A ring through the points, numbered from firstIndex on.
inline RingVert* MakeRing(const std::vector<Vec2D>& points, int firstIndex = 0)
{
    RingVert* ring = nullptr;
    int index = firstIndex;
    for (const Vec2D& p : points)
    {
        Vec3D pos{p.x, p.y, 0};
        RingVert* v = AddRingVert(p.x, p.y, nullptr, &pos, ring);
        v->index = index++;
    }
    return ring;
}

inline std::vector<Vec2D> RingPoints(const RingVert* ring)
{
    std::vector<Vec2D> out;
    if (!ring)
        return out;
    const RingVert* v = ring;
    do
    {
        out.push_back(Vec2D{v->x, v->y});
        v = v->next;
    } while (v != ring);
    return out;
}

inline std::vector<int> RingIndices(const RingVert* ring)
{
    std::vector<int> out;
    if (!ring)
        return out;
    const RingVert* v = ring;
    do
    {
        out.push_back(v->index);
        v = v->next;
    } while (v != ring);
    return out;
}

// Whether prev and next agree with next and prev all the way round.
inline bool RingLinksConsistent(const RingVert* ring)
{
    if (!ring)
        return true;
    const RingVert* v = ring;
    int guard = 0;
    do
    {
        if (v->next->prev != v || v->prev->next != v)
            return false;
        v = v->next;
    } while (v != ring && ++guard < 1000000);
    return v == ring;
}
