#pragma once

#include <cstdint>

struct LibraryEntry;

// The faces of the {n/d} prism (kind LibraryEntry::kPrismFamily, and any other kind) or antiprism
// (kind LibraryEntry::kAntiprismFamily): a base of gcd(n, d) polygons at each end, or one shared
// base when n = 2d, and the side squares or triangles.
int PrismaticFaceCount(uint32_t kind, int n, int d);

// Makes sure a family row has its parameter before it is opened: true at once for a row that is no
// family, false for none. Otherwise the text starts as 5, or as the current entry's n (n/d when its d
// is not 1) when that is a family row too; with ask the user edits it ("Enter a value for <N>") until
// the family takes it or Cancel is pressed; without ask it is tried once. The text is "n" or "n/d".
bool PromptLibraryParameter(LibraryEntry* entry, const LibraryEntry* current, bool ask);
