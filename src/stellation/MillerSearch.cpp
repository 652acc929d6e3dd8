#include "stellation/MillerSearch.h"

#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"

#include <algorithm>
#include <unordered_map>

MillerGraph::MillerGraph(const Stellation& stellation)
{
    const StellationCell* outer = stellation.mLastCell;
    std::unordered_map<const StellationCell*, int> place;
    int n = 0;
    for (const StellationCell* c = stellation.mFirstCell; c && c != outer; c = c->next)
        place[c] = n++;
    auto placeOf = [&place](const StellationCell* c) {
        const auto it = place.find(c);
        return it == place.end() ? -1 : it->second;
    };
    mNeighbours.resize(size_t(n));
    mMirror.resize(size_t(n));
    mTouchesOuter.assign(size_t(n), 0);
    int i = 0;
    for (StellationCell* c = stellation.mFirstCell; c && c != outer; c = c->next, ++i)
    {
        const int partner = placeOf(c->GetMirror());
        mMirror[size_t(i)] = partner >= 0 ? partner : i;
        std::vector<int>& list = mNeighbours[size_t(i)];
        for (const StellationCell* other : c->mNeighbours)
        {
            if (!other || other == c)
                continue;
            if (other == outer)
            {
                mTouchesOuter[size_t(i)] = 1;
                continue;
            }
            const int j = placeOf(other);
            if (j >= 0 && std::find(list.begin(), list.end(), j) == list.end())
                list.push_back(j);
        }
    }
}

void MillerGraph::StartWalk() const
{
    mStamp.resize(mMirror.size(), 0);
    if (++mWalk == 0)
    {
        std::fill(mStamp.begin(), mStamp.end(), 0);
        mWalk = 1;
    }
    mQueue.clear();
}

bool MillerGraph::Visit(int cell) const
{
    uint32_t& stamp = mStamp[size_t(cell)];
    if (stamp == mWalk)
        return false;
    stamp = mWalk;
    mQueue.push_back(cell);
    return true;
}

bool MillerGraph::IsConnected(const CellSet& set) const
{
    const int bottom = HighestCell(set);
    if (bottom < 0)
        return false;
    StartWalk();
    Visit(bottom);
    for (size_t at = 0; at < mQueue.size(); ++at)
        for (const int j : mNeighbours[size_t(mQueue[at])])
            if (set[size_t(j)])
                Visit(j);
    return mQueue.size() == size_t(std::count(set.begin(), set.end(), 1));
}

bool MillerGraph::HasNoInaccessibleCells(const CellSet& set) const
{
    const size_t n = set.size();
    StartWalk();
    size_t empty = 0;
    for (size_t i = 0; i < n; ++i)
        if (!set[i])
        {
            ++empty;
            if (mTouchesOuter[i])
                Visit(int(i));
        }
    for (size_t at = 0; at < mQueue.size(); ++at)
        for (const int j : mNeighbours[size_t(mQueue[at])])
            if (!set[size_t(j)])
                Visit(j);
    return mQueue.size() == empty;
}

MillerGraph::CellSet MillerGraph::Mirror(const CellSet& set) const
{
    CellSet image(set.size(), 0);
    for (size_t i = 0; i < set.size(); ++i)
        if (set[i])
            image[size_t(mMirror[i])] = 1;
    return image;
}

bool MillerGraph::IsListedHand(const CellSet& set) const
{
    const CellSet image = Mirror(set);
    for (size_t i = set.size(); i-- > 0;)
        if (set[i] != image[i])
            return set[i] != 0;
    return true;
}

bool MillerGraph::IsWhollyUnmatched(const CellSet& set) const
{
    bool any = false;
    for (size_t i = 0; i < set.size(); ++i)
        if (set[i])
        {
            const size_t partner = size_t(mMirror[i]);
            if (partner == i || set[partner])
                return false;
            any = true;
        }
    return any;
}

int HighestCell(const MillerGraph::CellSet& set)
{
    for (size_t i = set.size(); i-- > 0;)
        if (set[i])
            return int(i);
    return -1;
}

int MillerGraph::LastReached(const CellSet& set, int bottom) const
{
    if (bottom < 0 || !set[size_t(bottom)])
        return -1;
    StartWalk();
    Visit(bottom);
    for (size_t at = 0; at < mQueue.size(); ++at)
        for (const int j : mNeighbours[size_t(mQueue[at])])
            if (set[size_t(j)])
                Visit(j);
    return mQueue.back();
}

void MillerGraph::WalkFrom(const CellSet& set, int bottom, Walk& walk) const
{
    walk.place.assign(set.size(), -1);
    walk.lastFrom = walk.lastAt = -1;
    StartWalk();
    Visit(bottom);
    walk.place[size_t(bottom)] = 0;
    for (size_t at = 0; at < mQueue.size(); ++at)
    {
        const std::vector<int>& list = mNeighbours[size_t(mQueue[at])];
        for (size_t k = 0; k < list.size(); ++k)
            if (set[size_t(list[k])] && Visit(list[k]))
            {
                walk.place[size_t(list[k])] = int(mQueue.size()) - 1;
                walk.lastFrom = int(at);
                walk.lastAt = int(k);
            }
    }
}

bool MillerGraph::IsChild(const CellSet& set, const Walk& walk, int cell) const
{
    if (set[size_t(cell)])
        return false;
    // Where the walk meets the cell: from its neighbour of the earliest place.
    int from = -1, at = -1;
    for (const int u : mNeighbours[size_t(cell)])
    {
        const int place = walk.place[size_t(u)];
        if (place < 0 || (from >= 0 && place > from))
            continue;
        const std::vector<int>& list = mNeighbours[size_t(u)];
        const int k = int(std::find(list.begin(), list.end(), cell) - list.begin());
        if (from < 0 || place < from || k < at)
        {
            from = place;
            at = k;
        }
    }
    return from >= 0 && (from > walk.lastFrom || (from == walk.lastFrom && at > walk.lastAt));
}

bool MillerGraph::AddFirstChild(CellSet& set, int bottom, int from) const
{
    Walk walk;
    WalkFrom(set, bottom, walk);
    for (int cell = from; cell < bottom; ++cell)
        if (IsChild(set, walk, cell))
        {
            set[size_t(cell)] = 1;
            return true;
        }
    return false;
}

bool MillerGraph::NextConnectedSet(CellSet& set) const
{
    const int bottom = HighestCell(set);
    if (bottom < 0)
        return false;
    // The first child; else the next sibling of the set or of the nearest ancestor that has one.
    if (AddFirstChild(set, bottom, 0))
        return true;
    while (std::count(set.begin(), set.end(), 1) > 1)
    {
        const int last = LastReached(set, bottom);
        set[size_t(last)] = 0;
        if (AddFirstChild(set, bottom, last + 1))
            return true;
    }
    // The next bottom.
    set[size_t(bottom)] = 0;
    if (bottom + 1 >= GetNumCells())
        return false;
    set[size_t(bottom + 1)] = 1;
    return true;
}
