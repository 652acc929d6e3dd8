#pragma once

#include "kernel/ColorRGB.h"

#include <cstdint>

// The one colour chooser of the program, for faces, edges, vertices, backgrounds and the rest. The
// panes are painted first, so that none is left half drawn behind the dialog. True, with the colour
// written back, when the user chose one; false, with the colour as it was, on Cancel. allowKit asks
// for the construction kit's colour list while the kit style is on; until that list exists the
// full chooser serves for it as well.
bool PickColor(ColorRGB& color, bool allowKit);
// The same for a packed 0x00BBGGRR colour.
bool PickColorRGB(uint32_t& color, bool allowKit);
