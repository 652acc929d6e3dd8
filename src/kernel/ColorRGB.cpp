#include "kernel/ColorRGB.h"

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
