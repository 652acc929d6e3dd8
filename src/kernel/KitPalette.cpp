#include "kernel/KitPalette.h"

#include <cstdint>

namespace
{
struct KitColor
{
    const char* name;
    uint32_t packed;  // 0x00BBGGRR
};
constexpr KitColor kKitPalette[kNumKitColors] = {
    {"Red", 0x1A00FF},     // 255, 0, 26
    {"Yellow", 0x1AE6E6},  // 230, 230, 26
    {"Blue", 0xFF3300},    // 0, 51, 255
    {"Green", 0x80CC00},   // 0, 204, 128
    {"Clear", 0xC0C0C0},   // 192, 192, 192
};
}  // namespace

int FindKitColor(const ColorRGB& color)
{
    const uint32_t packed = ColorToRGB(color);
    for (int i = 0; i < kNumKitColors; ++i)
        if (kKitPalette[i].packed == packed)
            return i;
    return -1;
}

bool GetKitColor(int index, ColorRGB& out)
{
    if (index < 0 || index >= kNumKitColors)
        return false;
    ColorFromRGB(out, kKitPalette[index].packed);
    return true;
}

const char* GetKitColorName(int index)
{
    return index >= 0 && index < kNumKitColors ? kKitPalette[index].name : nullptr;
}
