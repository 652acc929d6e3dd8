#pragma once

#include <cstdint>

class StellationCell;

// One cell on the stack of the Miller's-rules search.
struct MillerStackEntry
{
    StellationCell* mCell = nullptr;
    int32_t mGroupEnd = 0;  // one past the last entry pushed together with this one
    int32_t mParent = -1;   // the entry whose cell's neighbour this cell is
    int32_t mFacetIndex = -1;  // in the parent cell's arrays, the facet it was reached through
};
