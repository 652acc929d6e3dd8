#pragma once

#include "kernel/Vec3D.h"

// Bitmap text in the views: the default GUI sans face at a fixed pixel height, drawn at the GL
// raster position in the current colour. The font is found through fontconfig once per run; without
// one, text is skipped (and traced) and nothing else changes.

// Lines end at LF, CR, or one of the pairs CR LF and LF CR (each pair once).
int CountTextLines(const char* text);

// Pixel height of one line.
int RasterTextHeight();
// Width of the widest line and height of all lines, pixels.
void MeasureRasterText(const char* text, int& width, int& height);

// The text at a 3D point, line under line.
void DrawRasterText(const char* text, const Vec3D& point);
// The text at a 2D point; centred: each line centred on it and the block centred vertically.
void DrawRasterText2D(const char* text, double x, double y, bool centred);

// While off (during picking) no raster text is drawn; returns the previous value.
bool SetRasterTextEnabled(bool on);
