#include "LibraryStateFixture.h"

#include "library/LibraryBrowsing.h"
#include "library/LibraryEntry.h"
#include "library/LibrarySearchResult.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class LibraryBrowsingTest : public LibraryStateTest
{
protected:
    // The library remembers the entry a model last took its names from.
    static void OpenedLast(const LibraryEntry& entry)
    {
        Poly poly;
        poly.SetFromLibraryEntry(&entry);
    }
};

constexpr int kUniformRows = 105;  // positions 0..104
}  // namespace

TEST_F(LibraryBrowsingTest, StepWrapsOnceAndPassesFamilyRows)
{
    struct Case
    {
        const char* name;
        int from;  // -1: no entry
        int step;
        int to;
    };
    // 96 and 97 are family rows; 263 is a family and 264-273 are the 4D rows, the last of which wraps to the
    // first row.
    const Case cases[] = {
        {"next after the Decagonal Antiprism passes both families", 95, 1, 98},
        {"a long step that lands on a family then goes one by one", 92, 4, 98},
        {"back over the families", 98, -1, 95},
        {"a long step back onto a family", 100, -3, 95},
        {"from a family row itself", 96, 1, 98},
        {"last row wraps to the first", 273, 1, 0},
        {"first row wraps to the last 4D row", 0, -1, 273},
        {"from the last 3D row over the family to the 4D rows", 262, 1, 264},
        {"back from the first 4D row over the family", 264, -1, 262},
        {"a long step wraps", 270, 10, 6},
        {"no entry, forward", -1, 1, 0},
        {"no entry, backward: one short of the last row", -1, -1, 272},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const LibraryEntry* from = c.from < 0 ? nullptr : &Row(c.from);
        LibraryEntry* to = StepLibraryEntry(from, nullptr, c.step);
        ASSERT_NE(to, nullptr);
        EXPECT_EQ(GetLibraryPosition(to), c.to);
    }
    EXPECT_STREQ(StepLibraryEntry(&Row(3), nullptr, 1)->mName, "Icosahedron");
}

TEST_F(LibraryBrowsingTest, StepStartsFromTheRowMatchingTheTemplate)
{
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("4.4.4", false));
    EXPECT_EQ(GetLibraryPosition(StepLibraryEntry(nullptr, &templ, 1)), 2);
    EXPECT_EQ(GetLibraryPosition(StepLibraryEntry(nullptr, &templ, -1)), 0);
    // A given entry wins over the template.
    EXPECT_EQ(GetLibraryPosition(StepLibraryEntry(&Row(3), &templ, 1)), 4);
}

TEST_F(LibraryBrowsingTest, EntryInCategoryCountsRowsOfTheSubtree)
{
    struct Case
    {
        int category, n;
        int position;  // -1: none
    };
    const Case cases[] = {
        {4, 0, 0},   {4, 4, 4},     {4, 5, -1},  {4, -3, 0},  {1, 273, 273}, {1, 274, -1},
        {2, 104, 104}, {2, 105, -1}, {12, 0, 76}, {18, 0, 264}, {14, 0, 105},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("category " + std::to_string(c.category) + " n " + std::to_string(c.n));
        const LibraryEntry* entry = GetLibraryEntryInCategory(c.category, c.n, false);
        EXPECT_EQ(entry ? GetLibraryPosition(entry) : -1, c.position);
    }
    EXPECT_STREQ(GetLibraryEntryInCategory(4, 4, false)->mName, "Icosahedron");
}

TEST_F(LibraryBrowsingTest, EntryInSearchResultsMovesTheCurrentResult)
{
    AppendSearchResult(&Row(7));
    AppendSearchResult(&Row(8));
    AppendSearchResult(&Row(9));
    SetCurrentSearchResult(nullptr);

    EXPECT_EQ(GetLibraryEntryInCategory(0, 1, false), &Row(8));
    EXPECT_EQ(GetCurrentSearchResult(), nullptr);
    EXPECT_EQ(GetLibraryEntryInCategory(0, 2, true), &Row(9));
    ASSERT_NE(GetCurrentSearchResult(), nullptr);
    EXPECT_EQ(GetCurrentSearchResult()->mEntry, &Row(9));
    EXPECT_EQ(GetLibraryEntryInCategory(0, 3, false), nullptr);
    EXPECT_EQ(GetLibraryEntryInCategory(0, -1, false), nullptr);
    EXPECT_EQ(GetCurrentSearchResult()->mEntry, &Row(9));
    // Setting a row of another category leaves no current result.
    EXPECT_EQ(GetLibraryEntryInCategory(4, 1, true), &Row(1));
    EXPECT_EQ(GetCurrentSearchResult(), nullptr);
}

TEST_F(LibraryBrowsingTest, ModelBoxListsTheCategoryOfTheLastEntry)
{
    OpenedLast(Row(2));
    struct Case
    {
        const char* name;
        int categoryBox;
        const LibraryEntry* current;
        int shown;
        size_t lines;
        const char* firstLine;
        int selection;
    };
    const Case cases[] = {
        {"platonic chosen, no model entry", 4, nullptr, 4, 6, "<Unknown Model>", 0},
        {"platonic chosen, the octahedron open", 4, &Row(2), 4, 5, "Tetrahedron", 2},
        {"uniform chosen holds the platonic row", 2, &Row(4), 2, kUniformRows, "Tetrahedron", 4},
        {"a Johnson solid is not among the uniform rows", 2, &Row(105), 2, kUniformRows, "Tetrahedron", 0},
        {"chosen category outside: the entry's own shown", 14, &Row(2), 4, 5, "Tetrahedron", 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const LibraryModelBox box = GetLibraryModelBox(c.categoryBox, 19, c.current);
        EXPECT_EQ(box.shownCategory, c.shown);
        ASSERT_EQ(box.lines.size(), c.lines);
        EXPECT_EQ(box.lines[0], c.firstLine);
        EXPECT_EQ(box.selection, c.selection);
    }
    const LibraryModelBox platonic = GetLibraryModelBox(4, 19, nullptr);
    EXPECT_EQ(platonic.lines, (std::vector<std::string>{"<Unknown Model>", "Tetrahedron", "Cube", "Octahedron",
                                                         "Dodecahedron", "Icosahedron"}));
    // A category box of one line chooses nothing: the last entry's own category.
    EXPECT_EQ(GetLibraryModelBox(2, 1, &Row(2)).shownCategory, 4);
}

TEST_F(LibraryBrowsingTest, ModelBoxShowsTheSearchResultsWhileOneIsCurrent)
{
    LibraryEntry* file = CreateFileEntry("/models/saved/Half;Cube.orva");
    LibraryEntry* sameFile = CreateFileEntry("/MODELS/saved/half;cube.ORVA");
    AppendSearchResult(&Row(4));
    InsertSearchResult(&Row(1), -1, true);
    AppendSearchResult(file);
    LibrarySearchResult* last = AppendSearchResult(sameFile);
    SetCurrentSearchResult(last);

    const LibraryModelBox box = GetLibraryModelBox(4, 19, &Row(4));
    EXPECT_EQ(box.shownCategory, 0);
    EXPECT_EQ(box.lines, (std::vector<std::string>{"Icosahedron", "Octahedron", "  (Half/Cube)", "  (half/cube)"}));
    // The current result's file is found first under the other spelling of its path.
    EXPECT_EQ(box.selection, 2);
    EXPECT_EQ(GetLibraryModelBoxIndex(0, nullptr), 2);

    SetCurrentSearchResult(nullptr);
    EXPECT_EQ(GetLibraryModelBoxIndex(0, &Row(4)), 0);
}
