#pragma once

#include "kernel/ColorRGB.h"

// The numbers a DXF file uses for what the program keeps otherwise.

// The $INSUNITS code of a distance unit (kUnitMm ...): 4 mm, 5 cm, 6 m, 1 inches, 2 feet, 0 any other.
int GetDxfInsUnits(int distanceUnit);

// The AutoCAD Color Index (1 to 255) whose palette colour lies nearest the colour, by squared RGB
// distance of the channels taken to 0..255; the lower index on ties, 0 when none is nearer than
// the bound 3 * 255^2.
int NearestAciColor(const ColorRGB& color);

// The palette colour of an index 1 to 255 as 0x00BBGGRR; 0 outside.
uint32_t AciPaletteColor(int index);
