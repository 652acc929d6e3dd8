#pragma once

#include "kernel/LinkNode.h"

struct LibraryEntry;

// One line of the global list of library search results that the chooser, the model box and the
// "Search Results" category show, and that Next and Previous Polyhedron step through. A result for a
// file entry owns that entry.
class LibrarySearchResult : public LinkNode<LibrarySearchResult>
{
public:
    LibrarySearchResult(LibraryEntry* entry, int score, bool dual);
    ~LibrarySearchResult() override;

    LibraryEntry* mEntry;
    bool mDual;  // the result is the entry's dual
    int mScore;  // -1 for results listed in arrival order
};

LibrarySearchResult* GetFirstSearchResult();
LibrarySearchResult* GetLastSearchResult();
LibrarySearchResult* GetCurrentSearchResult();
void SetCurrentSearchResult(LibrarySearchResult* result);

// A new result at the end with score -1, not dual; the only result becomes current.
LibrarySearchResult* AppendSearchResult(LibraryEntry* entry);
// A new result placed after the last result that scores at least as high or scores -1, so that the
// list runs by descending score, equal scores in arrival order, with -1 results as barriers. A
// result that ends up first becomes current.
LibrarySearchResult* InsertSearchResult(LibraryEntry* entry, int score, bool dual);
// Sets the score of the result and of every result after it.
void SetSearchResultScores(LibrarySearchResult* result, int score);
// Unlinks and deletes one result; the current result becomes none when it was that one.
void DeleteSearchResult(LibrarySearchResult* result);
void ClearSearchResults();
