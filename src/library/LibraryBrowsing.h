#pragma once

#include <string>
#include <vector>

class PolyTemplate;
struct LibraryEntry;

// Moving through the library in table order, by category or through the search results: Next and
// Previous Polyhedron, the spin buttons of the model-picking dialogs and the model toolbar's boxes.

// The row step places from the entry (or from the row matching the template when there is no
// entry, or from before the first row when neither names one), wrapping once round the table.
// Family rows and spring-built rows without coordinates are passed over, one row at a time once
// one has been met. |step| must not exceed
// the row count. Null only if every row were a family.
LibraryEntry* StepLibraryEntry(const LibraryEntry* entry, const PolyTemplate* templ, int step);

// Category 0: the search result n places after the first (null past the end or for a negative n);
// with setCurrent it becomes the current result. Any other category: the n-th row (from 0, a
// negative n giving the first) of the category's subtree in table order; null when there are
// fewer. setCurrent first leaves no current search result.
LibraryEntry* GetLibraryEntryInCategory(int category, int n, bool setCurrent);

// The line of the model box that stands for the entry in the shown category; 0 when none does.
int GetLibraryModelBoxIndex(int shownCategory, const LibraryEntry* entry);

// What the model toolbar's model box shows.
struct LibraryModelBox
{
    int shownCategory = -1;
    std::vector<std::string> lines;
    int selection = 0;
};

// The model box for the category box's selection (categoryBoxLines lines in it; -1 selection when
// it has none) and the entry of the current model (null for none): the search results while one
// is current, else the rows of the category the last opened entry belongs to, within the chosen
// category's subtree.
LibraryModelBox GetLibraryModelBox(int categoryBoxSelection, int categoryBoxLines, const LibraryEntry* current);
