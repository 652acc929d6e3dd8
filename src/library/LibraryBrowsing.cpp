#include "library/LibraryBrowsing.h"

#include "library/LibraryCategory.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/Poly.h"

#include <algorithm>
#include <strings.h>

namespace
{
constexpr size_t kMaxBoxLine = 250;

bool IsFileEntry(const LibraryEntry* entry)
{
    return entry && (entry->mFlags & LibraryEntry::kFileEntry);
}

bool SameFile(const LibraryEntry* a, const LibraryEntry* b)
{
    return IsFileEntry(a) && IsFileEntry(b) && a->mName && b->mName && strcasecmp(a->mName, b->mName) == 0;
}

bool InSubtree(const LibraryEntry& row, int category)
{
    return IsInLibraryCategory(row.mCategory, category);
}

std::string Clip(const char* text)
{
    std::string line = text ? text : "";
    if (line.size() > kMaxBoxLine)
        line.resize(kMaxBoxLine);
    return line;
}

std::string SearchResultLine(const LibrarySearchResult& result)
{
    if (IsFileEntry(result.mEntry))
    {
        std::string name = Clip(GetLibraryFileDisplayName(result.mEntry->mName));
        StripModelFileExtension(name);
        ToSlashNames(name);
        return "  (" + name + ")";
    }
    if (result.mDual)
        return LibraryEntry::GetDualFirstName(result.mEntry);
    return Clip(result.mEntry ? result.mEntry->mName : nullptr);
}
}  // namespace

LibraryEntry* StepLibraryEntry(const LibraryEntry* entry, const PolyTemplate* templ, int step)
{
    std::span<LibraryEntry> table = GetLibraryTable();
    const int count = int(table.size());
    if (count == 0)
        return nullptr;
    int position = IndexOfLibraryEntry(entry, templ, nullptr, nullptr);
    // A table of nothing but families would never end: after a full round there is nothing to give.
    for (int tries = 0; tries <= count + std::abs(step); ++tries)
    {
        position += step;
        if (position < 0)
            position += count;
        else if (position >= count)
            position -= count;
        LibraryEntry& row = table[size_t(position)];
        // Families ask for a parameter, and the rows still without coordinates cannot be built.
        const bool noData = (row.mFlags & LibraryEntry::kSpringBuilt) && !LibraryEntry::HasSpringData(&row);
        if (!(row.mFlags & LibraryEntry::kParametricFamily) && !noData)
            return &row;
        step = std::clamp(step, -1, 1);
    }
    return nullptr;
}

LibraryEntry* GetLibraryEntryInCategory(int category, int n, bool setCurrent)
{
    if (setCurrent)
        SetCurrentSearchResult(nullptr);
    if (category == LibraryEntry::kCategorySearchResults)
    {
        if (n < 0)
            return nullptr;
        LibrarySearchResult* result = GetFirstSearchResult();
        for (int i = 0; i < n && result; ++i)
            result = result->next;
        if (!result)
            return nullptr;
        if (setCurrent)
            SetCurrentSearchResult(result);
        return result->mEntry;
    }
    n = std::max(n, 0);
    for (LibraryEntry& row : GetLibraryTable())
    {
        if (InSubtree(row, category) && n-- == 0)
            return &row;
    }
    return nullptr;
}

int GetLibraryModelBoxIndex(int shownCategory, const LibraryEntry* entry)
{
    if (shownCategory == LibraryEntry::kCategorySearchResults)
    {
        const LibrarySearchResult* current = GetCurrentSearchResult();
        if (!current)
            return 0;
        int place = 0;
        for (const LibrarySearchResult* r = GetFirstSearchResult(); r; r = r->next, ++place)
        {
            if (r->mEntry == current->mEntry || SameFile(r->mEntry, current->mEntry))
                return place;
        }
        return 0;
    }
    if (!entry)
        return 0;
    int place = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (!InSubtree(row, shownCategory))
            continue;
        if (&row == entry)
            return place;
        ++place;
    }
    return 0;
}

LibraryModelBox GetLibraryModelBox(int categoryBoxSelection, int categoryBoxLines, const LibraryEntry* current)
{
    int chosen = -1;
    int chosenEnd = -1;
    if (categoryBoxLines > 1 && categoryBoxSelection >= 0)
    {
        chosen = categoryBoxSelection;
        chosenEnd = chosen + GetNumLibrarySubcategories(chosen);
    }
    LibraryModelBox box;
    if (GetCurrentSearchResult())
        box.shownCategory = LibraryEntry::kCategorySearchResults;
    else if (const LibraryEntry* last = GetLastLibraryEntry())
    {
        box.shownCategory = last->mCategory;
        // The last entry's own category, unless the chosen one is an ancestor of it.
        if (box.shownCategory >= chosen && box.shownCategory <= chosenEnd)
            box.shownCategory = chosen;
    }
    else
        box.shownCategory = chosen;

    if (box.shownCategory == LibraryEntry::kCategorySearchResults)
    {
        for (const LibrarySearchResult* r = GetFirstSearchResult(); r; r = r->next)
            box.lines.push_back(SearchResultLine(*r));
    }
    else
    {
        if (!current)
            box.lines.emplace_back("<Unknown Model>");
        for (const LibraryEntry& row : GetLibraryTable())
        {
            if (InSubtree(row, box.shownCategory))
                box.lines.push_back(Clip(row.mName));
        }
    }
    box.selection = GetLibraryModelBoxIndex(box.shownCategory, current);
    return box;
}
