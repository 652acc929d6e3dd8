#pragma once

#include "library/LibraryEntry.h"

#include <span>

class PolyTemplate;

// Finding library rows by what the user types or by a solved vertex configuration. Each function
// has a form over the built-in table and one over a given table. Every lookup applies the global
// count filter (library/LibraryCountFilter.h).

// The row a text names, tried in this order: a Maeder, Kaleido or Wenninger index ("U%d", "u#%d",
// "M%d", "K%d", "W%d", "#%d"), a Wythoff symbol, a vertex configuration or other symbol (',' may
// stand for '.'), a name, other name or dual name, the name of a 4D polytope. recognised is set
// when the text was read as one of these notations, dual when the answer stands for the row's dual.
// With report, errors are shown, and a Wenninger number that names a stellation opens its base and
// includes the stellation's cells (the answer is then null). With collect the global search results
// are filled and the first is answered. Null when nothing matches.
LibraryEntry* FindLibraryEntry(const char* text, bool* recognised = nullptr, bool report = true,
                               bool* dual = nullptr, bool collect = false);
LibraryEntry* FindLibraryEntry(std::span<LibraryEntry> table, const char* text, bool* recognised, bool report,
                               bool* dual, bool collect = false);

// The position of the entry when one is given; else of the row whose configuration matches the
// template read from any polygon in either direction, n and d receiving a family row's parameters
// (-1 for other rows); -1 when none matches.
int IndexOfLibraryEntry(const LibraryEntry* entry, const PolyTemplate* templ, int* n, int* d);
int IndexOfLibraryEntry(std::span<LibraryEntry> table, const LibraryEntry* entry, const PolyTemplate* templ,
                        int* n, int* d);
// The row IndexOfLibraryEntry finds for the template alone; null when none.
LibraryEntry* FindLibraryEntryForTemplate(const PolyTemplate& templ, int* n, int* d);
LibraryEntry* FindLibraryEntryForTemplate(std::span<LibraryEntry> table, const PolyTemplate& templ, int* n,
                                          int* d);
// The older name the template code uses.
inline LibraryEntry* FindTemplateEntry(const PolyTemplate& templ, int* n, int* d)
{
    return FindLibraryEntryForTemplate(templ, n, d);
}

// The terms of a Wythoff symbol up to a bar or the end, sorted by value: the number of terms (0-4),
// or 5 for too many. A term in brackets is negated.
int ParseWythoffTerms(const char* text, int numerators[4], int denominators[4]);
// How well a text names a row itself: by its symbol (4h + 3), its name (4h + 2, with 100 added to
// h of 5 and 6) or its other names (4h + 1), h being the ScoreNameMatch; the highest counts.
int ScoreLibraryName(const char* text, const LibraryEntry& row);
// How well a text names one of the ';'-separated names: 6 exact, 5 or 3 by word stems, 4 or 2 by
// initials (the higher when the whole name was used), 1 as a part of a name, 0 not at all.
int ScoreNameMatch(const char* text, const char* names);
// 0 when the first n characters agree (case and '-' against ' ' ignored), else their difference.
int CompareNameChars(const char* a, const char* b, int n);
