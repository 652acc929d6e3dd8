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

bool MillerGraph::IsConnected(const CellSet& set) const
{
    const int bottom = HighestCell(set);
    if (bottom < 0)
        return false;
    std::vector<char> seen(set.size(), 0);
    std::vector<int> queue{bottom};
    seen[size_t(bottom)] = 1;
    for (size_t at = 0; at < queue.size(); ++at)
        for (const int j : mNeighbours[size_t(queue[at])])
            if (set[size_t(j)] && !seen[size_t(j)])
            {
                seen[size_t(j)] = 1;
                queue.push_back(j);
            }
    return queue.size() == size_t(std::count(set.begin(), set.end(), 1));
}

bool MillerGraph::HasNoInaccessibleCells(const CellSet& set) const
{
    const size_t n = set.size();
    std::vector<char> seen(n, 0);
    std::vector<int> queue;
    for (size_t i = 0; i < n; ++i)
        if (!set[i] && mTouchesOuter[i])
        {
            seen[i] = 1;
            queue.push_back(int(i));
        }
    for (size_t at = 0; at < queue.size(); ++at)
        for (const int j : mNeighbours[size_t(queue[at])])
            if (!set[size_t(j)] && !seen[size_t(j)])
            {
                seen[size_t(j)] = 1;
                queue.push_back(j);
            }
    for (size_t i = 0; i < n; ++i)
        if (!set[i] && !seen[i])
            return false;
    return true;
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
    std::vector<char> seen(set.size(), 0);
    std::vector<int> queue{bottom};
    seen[size_t(bottom)] = 1;
    for (size_t at = 0; at < queue.size(); ++at)
        for (const int j : mNeighbours[size_t(queue[at])])
            if (set[size_t(j)] && !seen[size_t(j)])
            {
                seen[size_t(j)] = 1;
                queue.push_back(j);
            }
    return queue.back();
}

bool MillerGraph::Touches(int cell, const CellSet& set) const
{
    for (const int j : mNeighbours[size_t(cell)])
        if (set[size_t(j)])
            return true;
    return false;
}

bool MillerGraph::IsChild(CellSet& set, int cell, int bottom) const
{
    if (set[size_t(cell)] || !Touches(cell, set))
        return false;
    set[size_t(cell)] = 1;
    if (LastReached(set, bottom) == cell)
        return true;
    set[size_t(cell)] = 0;
    return false;
}

bool MillerGraph::NextConnectedSet(CellSet& set) const
{
    const int bottom = HighestCell(set);
    if (bottom < 0)
        return false;
    // The first child; else the next sibling of the set or of the nearest ancestor that has one.
    for (int cell = 0; cell < bottom; ++cell)
        if (IsChild(set, cell, bottom))
            return true;
    while (std::count(set.begin(), set.end(), 1) > 1)
    {
        const int last = LastReached(set, bottom);
        set[size_t(last)] = 0;
        for (int cell = last + 1; cell < bottom; ++cell)
            if (IsChild(set, cell, bottom))
                return true;
    }
    // The next bottom.
    set[size_t(bottom)] = 0;
    if (bottom + 1 >= GetNumCells())
        return false;
    set[size_t(bottom + 1)] = 1;
    return true;
}
