#pragma once

#include "kernel/ColorRGB.h"

// The colour chooser with every colour allowed, opened on the colour (as 0x00BBGGRR, each channel
// times 255 rounded half away from zero). OK stores the choice (each byte / 255) and answers true;
// Cancel leaves the colour as it was.
bool ChooseColorDialog(ColorRGB& color);
