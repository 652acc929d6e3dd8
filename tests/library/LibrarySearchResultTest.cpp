#include "LibraryStateFixture.h"

#include "library/LibraryEntry.h"
#include "library/LibrarySearchResult.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class LibrarySearchResultTest : public LibraryStateTest
{
};

// Each result as "position:score".
std::vector<std::string> Listed()
{
    std::vector<std::string> out;
    for (const LibrarySearchResult* r = GetFirstSearchResult(); r; r = r->next)
        out.push_back(std::to_string(GetLibraryPosition(r->mEntry)) + ":" + std::to_string(r->mScore));
    return out;
}
}  // namespace

TEST_F(LibrarySearchResultTest, InsertingKeepsScoresDescendingBehindBarriers)
{
    const LibrarySearchResult* first = InsertSearchResult(&Row(0), 10, false);
    EXPECT_EQ(GetCurrentSearchResult(), first);
    InsertSearchResult(&Row(1), 30, false);  // goes first and becomes current
    EXPECT_EQ(GetCurrentSearchResult(), GetFirstSearchResult());
    InsertSearchResult(&Row(2), 10, true);  // after the equal score that came earlier
    InsertSearchResult(&Row(3), 20, false);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"1:30", "3:20", "0:10", "2:10"}));
    EXPECT_EQ(GetCurrentSearchResult()->mEntry, &Row(1));

    // A result of score -1 is a barrier: nothing passes it.
    AppendSearchResult(&Row(4));
    InsertSearchResult(&Row(5), 5, false);
    InsertSearchResult(&Row(6), 50, false);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"1:30", "3:20", "0:10", "2:10", "4:-1", "6:50", "5:5"}));
    EXPECT_TRUE(GetFirstSearchResult()->next->next->next->mDual);

    SetSearchResultScores(GetFirstSearchResult()->next, 7);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"1:30", "3:7", "0:7", "2:7", "4:7", "6:7", "5:7"}));
    EXPECT_EQ(GetLastSearchResult()->mEntry, &Row(5));
}

TEST_F(LibrarySearchResultTest, AppendingMakesOnlyTheFirstCurrent)
{
    LibrarySearchResult* a = AppendSearchResult(&Row(0));
    EXPECT_EQ(GetCurrentSearchResult(), a);
    AppendSearchResult(&Row(1));
    EXPECT_EQ(GetCurrentSearchResult(), a);
    EXPECT_EQ(a->mScore, -1);
    EXPECT_FALSE(a->mDual);

    SetCurrentSearchResult(a->next);
    DeleteSearchResult(a->next);
    EXPECT_EQ(GetCurrentSearchResult(), nullptr);
    EXPECT_EQ(GetLastSearchResult(), a);
    ClearSearchResults();
    EXPECT_EQ(GetFirstSearchResult(), nullptr);
    EXPECT_EQ(GetLastSearchResult(), nullptr);
    EXPECT_EQ(GetCurrentSearchResult(), nullptr);
}

TEST_F(LibrarySearchResultTest, AResultOwnsItsFileEntry)
{
    // The sanitizer build finds the leak if the result does not free the entry and its path.
    AppendSearchResult(CreateFileEntry("/models/first.orva"));
    InsertSearchResult(CreateFileEntry("/models/second.orva"), 3, false);
    AppendSearchResult(&Row(0));
    EXPECT_STREQ(GetFirstSearchResult()->mEntry->mName, "/models/first.orva");
    DeleteSearchResult(GetFirstSearchResult());
    EXPECT_STREQ(GetFirstSearchResult()->mEntry->mName, "/models/second.orva");
    ClearSearchResults();
    EXPECT_STREQ(Row(0).mName, "Tetrahedron");
}
