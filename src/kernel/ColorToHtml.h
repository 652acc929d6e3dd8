#pragma once

#include "kernel/ColorRGB.h"

#include <string>

// "#rrggbb" with each channel rounded from x * 255 and held to 0..255, as the label markup and the
// rich-text dialogs write colours.
std::string ColorToHtml(const ColorRGB& color);
