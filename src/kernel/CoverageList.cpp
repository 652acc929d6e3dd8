#include "kernel/CoverageList.h"

#include "kernel/ChunkPool.h"

bool AddToCoverage(int32_t owner, int32_t count, CoverageEntry*& list, ChunkPool<CoverageEntry>& pool)
{
    CoverageEntry** link = &list;
    while (*link && (*link)->mOwner < owner)
        link = &(*link)->mNext;
    if (*link && (*link)->mOwner == owner)
    {
        (*link)->mCount += count;
        return true;
    }
    CoverageEntry* entry = pool.Alloc(1);
    if (!entry)
        return false;
    entry->mOwner = owner;
    entry->mCount = count;
    entry->mNext = *link;
    *link = entry;
    return true;
}

CoverageEntry* CopyCoverage(const CoverageEntry* list, ChunkPool<CoverageEntry>& pool)
{
    CoverageEntry* first = nullptr;
    CoverageEntry** link = &first;
    for (const CoverageEntry* e = list; e; e = e->mNext)
    {
        CoverageEntry* copy = pool.Alloc(1);
        if (!copy)
            break;
        copy->mOwner = e->mOwner;
        copy->mCount = e->mCount;
        copy->mNext = nullptr;
        *link = copy;
        link = &copy->mNext;
    }
    return first;
}

void PruneCoverage(CoverageEntry*& list)
{
    CoverageEntry** link = &list;
    while (*link)
    {
        if ((*link)->mCount == 0)
            *link = (*link)->mNext;
        else
            link = &(*link)->mNext;
    }
}

bool CoverageEquals(const CoverageEntry* a, const CoverageEntry* b)
{
    for (; a && b; a = a->mNext, b = b->mNext)
        if (a->mOwner != b->mOwner || a->mCount != b->mCount)
            return false;
    return !a && !b;
}

int CompareCoverage(const CoverageEntry* a, const CoverageEntry* b)
{
    for (; a && b; a = a->mNext, b = b->mNext)
    {
        if (a->mCount != b->mCount)
            return a->mCount < b->mCount ? -1 : 1;
        if (a->mOwner != b->mOwner)
            return a->mOwner < b->mOwner ? -1 : 1;
    }
    if (!a && !b)
        return 0;
    return a ? 1 : -1;
}

int32_t CoverageCount(const CoverageEntry* list, int32_t owner)
{
    for (const CoverageEntry* e = list; e && e->mOwner <= owner; e = e->mNext)
        if (e->mOwner == owner)
            return e->mCount;
    return 0;
}
