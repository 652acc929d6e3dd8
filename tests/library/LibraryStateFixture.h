#pragma once

#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibrarySearchResult.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// The library's run-time state is global: the family parameters of the table, the count filter and
// the search results. Tests that change them start from and return to the state at start-up.
class LibraryStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (LibraryEntry& row : GetLibraryTable())
            mParams.emplace_back(row.mNumber, row.mPage1);
        GetLibraryCountFilter().Reset();
        ClearSearchResults();
    }

    void TearDown() override
    {
        size_t i = 0;
        for (LibraryEntry& row : GetLibraryTable())
        {
            row.mNumber = mParams[i].first;
            row.mPage1 = mParams[i].second;
            ++i;
        }
        GetLibraryCountFilter().Reset();
        ClearSearchResults();
    }

    static LibraryEntry& Row(int position) { return GetLibraryTable()[size_t(position)]; }

private:
    std::vector<std::pair<int, int>> mParams;
};
