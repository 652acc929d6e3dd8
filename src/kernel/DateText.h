#pragma once

#include <string>

// "st", "nd", "rd" or "th" for a number; "th" whenever the tens digit is 1.
const char* OrdinalSuffix(int n);

// Today's local date: "7 March 2026" (long) or "07/03/26" (short).
std::string FormatDate(bool longForm);

// The local time in the user's format, ", ", and the long date.
std::string FormatTimeAndDate();
