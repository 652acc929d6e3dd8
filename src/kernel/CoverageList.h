#pragma once

#include <cstdint>

template <class T>
class ChunkPool;

// One owner's change of winding number across a piece of a face diagram, or one owner's winding
// number in a region. Lists are singly linked and sorted by ascending owner key; their entries come
// from the diagram's pools.
struct CoverageEntry
{
    int32_t mOwner = 0;  // the owner's key: its place in the diagram's order of first appearance
    int32_t mCount = 0;
    CoverageEntry* mNext = nullptr;
};

// Adds count to the owner's entry, or inserts a new entry in key order. False, with the list
// unchanged, when the pool has no memory left.
bool AddToCoverage(int32_t owner, int32_t count, CoverageEntry*& list, ChunkPool<CoverageEntry>& pool);

// A copy of the list, entry by entry; the copy may be shorter when memory runs out.
CoverageEntry* CopyCoverage(const CoverageEntry* list, ChunkPool<CoverageEntry>& pool);

// Drops the entries whose count is 0; they stay in the pool.
void PruneCoverage(CoverageEntry*& list);

// Same owners with the same counts in the same order.
bool CoverageEquals(const CoverageEntry* a, const CoverageEntry* b);

// Entry by entry: lower count first, then lower owner key; a list that is a prefix of the other
// comes first. Negative, 0 or positive.
int CompareCoverage(const CoverageEntry* a, const CoverageEntry* b);

// The count of the owner in the list; 0 when it has no entry.
int32_t CoverageCount(const CoverageEntry* list, int32_t owner);
