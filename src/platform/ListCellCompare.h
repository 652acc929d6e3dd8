#pragma once

#include <string>

// How the program's list controls order the texts of a column when the user sorts it. Kinds:
// 1 natural order (CompareNatural), blank texts last in both directions; 2 bytes; 3 ignoring case;
// 4 leading integers; 5 leading real numbers; 6 and 7 date and time in the user's locale (texts
// that do not parse are equal to everything). Any other kind, editor kinds included, leaves the
// rows as they are. Answers < 0, 0 or > 0 for a before, with b, or after b.
int CompareListCells(int kind, const std::string& a, const std::string& b, bool ascending);
