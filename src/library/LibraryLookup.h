#pragma once

#include "library/LibraryEntry.h"

#include <span>

class PolyTemplate;

// Finding library rows by what the user types or by a solved vertex configuration. Each function
// has a form over the built-in table and one over a given table.

// The row a text names: a Maeder, Kaleido or Wenninger index ("U%d", "K%d", "W%d", "#%d"), a Wythoff
// symbol, a vertex configuration or other symbol, or a name, other name or dual name. recognised is
// set when the text was read as one of these notations; dual when the answer stands for the row's
// dual. With report, range errors are shown. Null when nothing matches.
LibraryEntry* FindLibraryEntry(const char* text, bool* recognised = nullptr, bool report = true,
                               bool* dual = nullptr);
LibraryEntry* FindLibraryEntry(std::span<LibraryEntry> table, const char* text, bool* recognised, bool report,
                               bool* dual);

// The row whose configuration matches the template read from any polygon in either direction;
// n and d receive a family row's parameters (-1 for other rows). Null when none matches.
LibraryEntry* FindTemplateEntry(const PolyTemplate& templ, int* n, int* d);
LibraryEntry* FindTemplateEntry(std::span<LibraryEntry> table, const PolyTemplate& templ, int* n, int* d);

// The terms of a Wythoff symbol up to a bar or the end, sorted by value: the number of terms (0-4),
// or 5 for too many. A term in brackets is negated.
int ParseWythoffTerms(const char* text, int numerators[4], int denominators[4]);
// How well a text names one of the ';'-separated names: 6 exact, 5 or 3 by word stems, 4 or 2 by
// initials (the higher when the whole name was used), 1 as a part of a name, 0 not at all.
int ScoreNameMatch(const char* text, const char* names);
// 0 when the first n characters agree (case and '-' against ' ' ignored), else their difference.
int CompareNameChars(const char* a, const char* b, int n);
