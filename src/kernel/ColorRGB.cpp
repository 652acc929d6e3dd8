#include "kernel/ColorRGB.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kByteScale = 1.0f / 255.0f;
constexpr float kSameColorTol = 1.0f / 512.0f;

uint32_t PackChannel(float x)
{
    const double scaled = double(x) * 255.0;
    const long long rounded = scaled >= 0.0 ? (long long)(scaled + 0.5) : (long long)(scaled - 0.5);
    return uint32_t(rounded) & 0xFFu;
}
}  // namespace

uint32_t ColorToRGB(const ColorRGB& c)
{
    return PackChannel(c.r) | (PackChannel(c.g) << 8) | (PackChannel(c.b) << 16);
}

void ColorFromRGB(ColorRGB& out, uint32_t packed)
{
    out.r = float(packed & 0xFFu) * kByteScale;
    out.g = float((packed >> 8) & 0xFFu) * kByteScale;
    out.b = float((packed >> 16) & 0xFFu) * kByteScale;
}

void ColorLerp(ColorRGB& out, const ColorRGB& a, const ColorRGB& b, float t)
{
    out.r = a.r + (b.r - a.r) * t;
    out.g = a.g + (b.g - a.g) * t;
    out.b = a.b + (b.b - a.b) * t;
}

void ColorLerpClamped(ColorRGB& out, const ColorRGB& a, const ColorRGB& b, float t)
{
    if (t < 0.0f || std::isnan(t))
        out = a;
    else if (t > 1.0f)
        out = b;
    else
        ColorLerp(out, a, b, t);
}

bool ColorSame(const ColorRGB& a, const ColorRGB& b)
{
    return std::fabs(a.r - b.r) <= kSameColorTol && std::fabs(a.g - b.g) <= kSameColorTol &&
           std::fabs(a.b - b.b) <= kSameColorTol;
}

ColorRGB LimitBrightColour(const ColorRGB& c)
{
    constexpr float kLimit = 0.8f;
    if (c.r <= kLimit || c.g <= kLimit)
        return c;
    const float s = kLimit / std::max(c.r, c.g);
    return ColorRGB{c.r * s, c.g * s, c.b * s};
}

ColorRGB DiagramBackColour(const ColorRGB& front, const ColorRGB& back)
{
    if (back.r != front.r || back.g != front.g || back.b != front.b)
        return LimitBrightColour(back);
    ColorRGB inverse{1.0f - front.r, 1.0f - front.g, 1.0f - front.b};
    const float largest = std::max(inverse.r, std::max(inverse.g, inverse.b));
    if (largest > 0.0f)
        inverse = ColorRGB{inverse.r / largest, inverse.g / largest, inverse.b / largest};
    return LimitBrightColour(inverse);
}
