#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A choice from a table of rows and columns in the "Table" dialog.
//
// cells holds rows * columns texts, row i's cell j at i * columns + j. initialRow is selected and
// shown at start (-1 none); -2 only shows the table, with nothing to choose. sortKinds gives each
// column's comparison kind (1 natural order with blanks last, 2 bytes, 3 ignoring case, 4 leading
// integers, 5 leading reals, 6 and 7 dates); empty: the table cannot be sorted. sortState (may be
// null) is column + 1 for ascending, ~column for descending, 0 unsorted: the table starts sorted so
// and, on OK, receives how the user left it. rowColors are per-row backgrounds 0x00BBGGRR
// (kNoRowColor for none), or empty. With a settingsKey the dialog's placement and column widths are
// remembered under the program's key.
//
// On OK: the index of the chosen row's first cell (its row times columns), -1 when no row is
// selected, 0 for a table that is only shown. On Cancel: -1.
int ShowTable(const char* prompt, int columns, int rows, const std::vector<std::string>& headings,
              const std::vector<std::string>& cells, int initialRow, const char* title,
              const std::vector<int>& sortKinds, int* sortState, const std::vector<uint32_t>& rowColors,
              const char* settingsKey);
