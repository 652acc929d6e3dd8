#pragma once

#include <cstdint>
#include <vector>

class Stellation;

// The cell records of one stellation as a graph, for the searches under Miller's rules: a stellation
// is a set of records that is connected across facets and leaves no empty cell that the outside
// cannot reach. The stellation builds it when a search starts; it does not follow later builds.
class MillerGraph
{
public:
    // One entry per record before the outer cell.
    using CellSet = std::vector<char>;

    explicit MillerGraph(const Stellation& stellation);

    int GetNumCells() const { return int(mMirror.size()); }
    bool IsEmpty() const { return mMirror.empty(); }

    bool IsConnected(const CellSet& set) const;
    bool HasNoInaccessibleCells(const CellSet& set) const;
    // Every record with its mirror partner.
    CellSet Mirror(const CellSet& set) const;
    bool IsChiral(const CellSet& set) const { return Mirror(set) != set; }
    // Of a chiral set and its mirror image the one listed: read as binary numbers with the records
    // of higher index higher, the larger.
    bool IsListedHand(const CellSet& set) const;
    // A chiral set none of whose records has its partner in the set.
    bool IsWhollyUnmatched(const CellSet& set) const;

    // The search tree of the connected sets: each set's parent drops the record that a
    // breadth-first walk from its highest record (the bottom) reaches last, which keeps it
    // connected. Walking the tree depth-first from each bottom in index order gives every connected
    // set exactly once, and the successor follows from the set alone, so the search continues
    // from any connected set. False after the last set.
    bool NextConnectedSet(CellSet& set) const;

private:
    // The record of the set reached last from the bottom; -1 for an empty set.
    int LastReached(const CellSet& set, int bottom) const;
    // The breadth-first walk of a set from its bottom: each record's place in the walk (-1 out of
    // the set), and where the walk found its last record (the place of the record being walked
    // from, and the neighbour's position in its list).
    struct Walk
    {
        std::vector<int> place;
        int lastFrom = -1;
        int lastAt = -1;
    };
    void WalkFrom(const CellSet& set, int bottom, Walk& walk) const;
    // The set with the cell added is its child in the search tree: the walk of the bigger set, the
    // same as the set's until it meets the cell, meets it after every record of the set.
    bool IsChild(const CellSet& set, const Walk& walk, int cell) const;
    // Adds the first cell from the one given that makes a child of the set; false when none does.
    bool AddFirstChild(CellSet& set, int bottom, int from) const;

    // Starts a walk: every record unvisited, the queue empty.
    void StartWalk() const;
    bool Visit(int cell) const;

    std::vector<std::vector<int>> mNeighbours;
    std::vector<int> mMirror;
    std::vector<char> mTouchesOuter;
    // Scratch of the walks, kept to spare an allocation per walk: a record is visited when its
    // stamp is the current walk's.
    mutable std::vector<uint32_t> mStamp;
    mutable uint32_t mWalk = 0;
    mutable std::vector<int> mQueue;
};

// The highest record of a non-empty set; -1 for an empty one.
int HighestCell(const MillerGraph::CellSet& set);
