#pragma once

#include <climits>
#include <cstdint>
#include <string>

struct LibraryEntry;

// Ranges of the numbers of cells, faces, edges and vertices that every library lookup applies. The
// one global filter is written by the chooser's searches and stays in force after it closes; both
// bounds of a range are inclusive.
class LibraryCountFilter
{
public:
    LibraryCountFilter() { Reset(); }

    // Empty text, every minimum 0, every maximum INT_MAX.
    void Reset();
    // Every range is the full one (the text is not looked at).
    bool IsEmpty() const;
    // The ranges can hold some polyhedron or polytope; a lookup with an unusable filter finds nothing.
    bool IsUsable() const;
    // Whether the entry, its dual, or for the prism and antiprism family rows the member n/d, has
    // counts inside every range. The other family rows pass no filter.
    bool Matches(const LibraryEntry& entry, bool dual, int n, int d) const;

    std::string mText;  // the last search text
    int32_t mMinCells = 0;
    int32_t mMaxCells = INT_MAX;
    int32_t mMinFaces = 0;
    int32_t mMaxFaces = INT_MAX;
    int32_t mMinEdges = 0;
    int32_t mMaxEdges = INT_MAX;
    int32_t mMinVerts = 0;
    int32_t mMaxVerts = INT_MAX;
};

LibraryCountFilter& GetLibraryCountFilter();

// The text of one range box: "120" is 120 to 120, "120-600", "120-" to INT_MAX, "-120" from 0; a
// blank text, "0" or one without a leading number or '-' is the full range. Whatever follows is
// ignored.
void ParseCountRange(const char* text, int& minimum, int& maximum);
// The box text of a range, in the forms ParseCountRange reads.
std::string FormatCountRange(int minimum, int maximum);
