#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/GrowableArray.h"

#include <cstdint>

// Automatic colours from a fixed table of 120, handed out through four cursors chosen by the two
// low bits of a flags word (bit 0 also steps backwards, bit 1 starts half-way round).

inline constexpr int kPaletteSize = 120;

// Packed 0x00BBGGRR entry i of the table.
uint32_t PaletteEntry(int i);

// With out: the colour at the cursor, then a step; returns the cursor after the step, before it
// wraps (so -1 or 120 at a wrap). Without out: resets the cursor and returns its new value.
int NextPaletteColor(ColorRGB* out, int flags);

ColorRGB& GetPaletteColor(int i, ColorRGB& out, int flags);

// The next colour of cursor 0 (reset first when restart) that is not in used; generated colours
// when all table colours are taken.
void NextUnusedPaletteColor(ColorRGB& out, const GrowableArray<ColorRGB>& used, bool restart);
uint32_t NextUnusedPaletteColorRef(const GrowableArray<ColorRGB>& used, bool restart);
