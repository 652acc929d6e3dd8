#include "library/LibraryCountFilter.h"

#include "kernel/Strings.h"
#include "library/LibraryEntry.h"
#include "library/LibraryParameter.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{
bool InRange(int value, int minimum, int maximum)
{
    return minimum <= value && value <= maximum;
}

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The leading integer, saturating at INT_MAX; p moves past the digits.
int ReadCount(const char*& p)
{
    long long value = 0;
    while (IsDigit(*p))
    {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX)
            value = INT_MAX;
        ++p;
    }
    return int(value);
}
}  // namespace

void LibraryCountFilter::Reset()
{
    mText.clear();
    mMinCells = mMinFaces = mMinEdges = mMinVerts = 0;
    mMaxCells = mMaxFaces = mMaxEdges = mMaxVerts = INT_MAX;
}

bool LibraryCountFilter::IsEmpty() const
{
    return mMinCells <= 0 && mMinFaces <= 0 && mMinEdges <= 0 && mMinVerts <= 0 && mMaxCells == INT_MAX &&
           mMaxFaces == INT_MAX && mMaxEdges == INT_MAX && mMaxVerts == INT_MAX;
}

bool LibraryCountFilter::IsUsable() const
{
    return mMaxCells >= 5 && mMaxFaces >= 4 && mMaxEdges >= 6 && mMaxVerts >= 4 && mMinCells <= mMaxCells &&
           mMinFaces <= mMaxFaces && mMinEdges <= mMaxEdges && mMinVerts <= mMaxVerts;
}

bool LibraryCountFilter::Matches(const LibraryEntry& entry, bool dual, int n, int d) const
{
    const bool familyMember =
        entry.mCategory == LibraryEntry::kCategoryPrisms && (entry.mFlags & LibraryEntry::kParametricFamily);
    int faces = 0, edges = 0, verts = 0;
    if (familyMember)
    {
        if (n < 1 || d < 1)
            return false;
        const size_t length = entry.mSymbol ? std::strlen(entry.mSymbol) : 0;
        const uint32_t kind = length > 0 && entry.mSymbol[length - 1] == '4' ? LibraryEntry::kPrismFamily
                                                                              : LibraryEntry::kAntiprismFamily;
        faces = PrismaticFaceCount(kind, n, d);
        verts = 2 * n;
        edges = verts + faces - 2;
    }

    if (!dual)
    {
        if (familyMember)
            return mMinCells <= 0 && InRange(faces, mMinFaces, mMaxFaces) && InRange(edges, mMinEdges, mMaxEdges) &&
                   InRange(verts, mMinVerts, mMaxVerts);
        return InRange(entry.mNumCells, mMinCells, mMaxCells) && InRange(entry.mNumFaces, mMinFaces, mMaxFaces) &&
               InRange(entry.mNumEdges, mMinEdges, mMaxEdges) && InRange(entry.mNumVerts, mMinVerts, mMaxVerts);
    }
    // Family rows store -1 cells, so they are told from 4D rows first.
    if (familyMember)
        return mMinCells <= 0 && InRange(verts, mMinFaces, mMaxFaces) && InRange(edges, mMinEdges, mMaxEdges) &&
               InRange(faces, mMinVerts, mMaxVerts);
    if (entry.mNumCells != 0)
        return InRange(entry.mNumVerts, mMinCells, mMaxCells) && InRange(entry.mNumEdges, mMinFaces, mMaxFaces) &&
               InRange(entry.mNumFaces, mMinEdges, mMaxEdges) && InRange(entry.mNumCells, mMinVerts, mMaxVerts);
    if (mMinCells > 0)
        return false;
    return InRange(entry.mNumVerts, mMinFaces, mMaxFaces) && InRange(entry.mNumEdges, mMinEdges, mMaxEdges) &&
           InRange(entry.mNumFaces, mMinVerts, mMaxVerts);
}

LibraryCountFilter& GetLibraryCountFilter()
{
    static LibraryCountFilter filter;
    return filter;
}

void ParseCountRange(const char* text, int& minimum, int& maximum)
{
    minimum = 0;
    maximum = INT_MAX;
    const char* p = SkipSpaces(text ? text : "");
    if (IsDigit(*p))
    {
        minimum = ReadCount(p);
        p = SkipSpaces(p);
    }
    if (*p == '-')
    {
        p = SkipSpaces(p + 1);
        if (IsDigit(*p))
            maximum = ReadCount(p);
        return;
    }
    if (minimum > 0)
        maximum = minimum;
}

std::string FormatCountRange(int minimum, int maximum)
{
    char text[32];
    if (minimum == 0)
    {
        if (maximum == INT_MAX)
            return std::string();
        std::snprintf(text, sizeof text, "-%d", maximum);
    }
    else if (maximum == INT_MAX)
        std::snprintf(text, sizeof text, "%d-", minimum);
    else if (minimum == maximum)
        std::snprintf(text, sizeof text, "%d", minimum);
    else
        std::snprintf(text, sizeof text, "%d-%d", minimum, maximum);
    return text;
}
