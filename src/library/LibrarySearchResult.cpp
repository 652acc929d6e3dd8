#include "library/LibrarySearchResult.h"

#include "library/LibraryEntry.h"

namespace
{
LibrarySearchResult* gFirst = nullptr;
LibrarySearchResult* gLast = nullptr;
LibrarySearchResult* gCurrent = nullptr;
}  // namespace

LibrarySearchResult::LibrarySearchResult(LibraryEntry* entry, int score, bool dual)
    : mEntry(entry), mDual(dual), mScore(score)
{
}

LibrarySearchResult::~LibrarySearchResult()
{
    if (gCurrent == this)
        gCurrent = nullptr;
    if (mEntry && (mEntry->mFlags & LibraryEntry::kFileEntry))
    {
        mEntry->FreeStrings();
        delete mEntry;
    }
}

LibrarySearchResult* GetFirstSearchResult()
{
    return gFirst;
}

LibrarySearchResult* GetLastSearchResult()
{
    return gLast;
}

LibrarySearchResult* GetCurrentSearchResult()
{
    return gCurrent;
}

void SetCurrentSearchResult(LibrarySearchResult* result)
{
    gCurrent = result;
}

LibrarySearchResult* AppendSearchResult(LibraryEntry* entry)
{
    LibrarySearchResult* result = new LibrarySearchResult(entry, -1, false);
    ListAppend(result, gFirst, gLast);
    if (gFirst == gLast)
        gCurrent = result;
    return result;
}

LibrarySearchResult* InsertSearchResult(LibraryEntry* entry, int score, bool dual)
{
    LibrarySearchResult* result = new LibrarySearchResult(entry, score, dual);
    LibrarySearchResult* after = gLast;
    while (after && after->mScore >= 0 && after->mScore < score)
        after = after->prev;
    ListInsertBefore(after ? after->next : gFirst, result, gFirst, gLast);
    if (gFirst == result)
        gCurrent = result;
    return result;
}

void SetSearchResultScores(LibrarySearchResult* result, int score)
{
    for (; result; result = result->next)
        result->mScore = score;
}

void DeleteSearchResult(LibrarySearchResult* result)
{
    if (!result)
        return;
    ListRemove(result, gFirst, gLast);
    delete result;
}

void ClearSearchResults()
{
    ListDeleteAll(gFirst, gLast);
    gCurrent = nullptr;
}
