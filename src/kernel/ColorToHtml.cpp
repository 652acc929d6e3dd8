#include "kernel/ColorToHtml.h"

#include <cmath>
#include <cstdio>

namespace
{
int Channel(float x)
{
    const float v = std::round(x * 255.0f);
    return v >= 255.0f ? 255 : v > 0.0f ? int(v) : 0;  // NaN gives 0
}
}  // namespace

std::string ColorToHtml(const ColorRGB& color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", Channel(color.r), Channel(color.g), Channel(color.b));
    return text;
}
