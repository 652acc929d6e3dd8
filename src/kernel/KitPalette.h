#pragma once

#include "kernel/ColorRGB.h"

// The panel colours of the magnetic construction kit, in palette order.
inline constexpr int kNumKitColors = 5;

// The palette index 0..4 of the colour (each channel rounded to a byte, then compared exactly);
// -1 when it is no kit colour.
int FindKitColor(const ColorRGB& color);
// False outside 0..4.
bool GetKitColor(int index, ColorRGB& out);
// Null outside 0..4.
const char* GetKitColorName(int index);
