#pragma once

// The library's category tree, as a list of names in pre-order whose depth is their number of
// leading '-'. Position 0 is the pseudo-category of the search results; positions 1 to 18 are the
// tree, and a row's mCategory is its position. The subtree of category i is the run i .. i +
// GetNumLibrarySubcategories(i).
inline constexpr int kNumLibraryCategories = 19;

// Without the leading '-'; null past the last category.
const char* GetLibraryCategoryName(int category);
// 0 outside the list.
int GetLibraryCategoryDepth(int category);
int GetNumLibrarySubcategories(int category);
// Whether a row of the given category lies in the subtree of `tree`.
bool IsInLibraryCategory(int category, int tree);
