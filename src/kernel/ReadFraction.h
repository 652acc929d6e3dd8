#pragma once

// Reads a polygon symbol such as "5" or "5/2" at the cursor, after any white space. On success the
// cursor moves past the number and the white space after it; "5" reads as 5/1. False, the cursor
// left where it was, when no digit follows, a number overflows or the denominator is 0.
bool ReadFraction(const char*& cursor, int& numerator, int& denominator);
