#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/GrowableArray.h"

#include <memory>

class SimplePoly;

// Modes of CreateConvexHull.
inline constexpr int kHullColorMode = 0x1;    // faces take the colours of the source faces they lie on
inline constexpr int kHullMarkingMode = 0x2;  // the source learns which faces lie on the hull

// A new model, the convex hull of the source's vertices: vertex i of the hull is the source's
// vertex i, and those that are no corner of the hull are Temp. Null for 3 vertices or fewer, or
// when the vertices span no solid. Marking mode sets the hull mark on the source faces that lie on
// the hull and, when all of them do and the hull has no other face, Convex on the source and the
// hull mark on every source vertex. Colour mode gives hull faces without a source face behind them
// one new colour: 70 % dark grey, 30 % a palette colour no kept face uses.
std::unique_ptr<SimplePoly> CreateConvexHull(SimplePoly* source, int mode);

// The index of the colour in the list (channels within 1/512), appending it when none matches;
// -1, after an internal error, when the list is already at its capacity.
int AddDistinctColor(GrowableArray<ColorRGB>& list, const ColorRGB& color);
