#pragma once

#include <cstdint>

// A colour of three floats in 0..1. Files, settings and dialogs keep it packed as 0x00BBGGRR.
struct ColorRGB
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// Each channel times 255, rounded half away from zero; channels are not clamped.
uint32_t ColorToRGB(const ColorRGB& c);

// Bytes times the float nearest 1/255, so 255 gives exactly 1.0; the top byte is ignored.
void ColorFromRGB(ColorRGB& out, uint32_t packed);

inline void ColorCopy(ColorRGB& out, const ColorRGB& c)
{
    out = c;
}

void ColorLerp(ColorRGB& out, const ColorRGB& a, const ColorRGB& b, float t);

// a for t < 0 or NaN, b for t > 1.
void ColorLerpClamped(ColorRGB& out, const ColorRGB& a, const ColorRGB& b, float t);

// Two colours count as one when every channel agrees within 1/512, bounds included.
bool ColorSame(const ColorRGB& a, const ColorRGB& b);

// Keeps a colour legible on the diagrams' light lines: when red and green both exceed 0.8, all three
// channels are scaled so that the larger of the two becomes 0.8.
ColorRGB LimitBrightColour(const ColorRGB& c);

// The back colour a diagram shows: the back colour, or the front colour's inverse divided by its
// largest channel when the two are the same; both limited as above.
ColorRGB DiagramBackColour(const ColorRGB& front, const ColorRGB& back);
