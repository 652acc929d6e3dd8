#include "kernel/Palette.h"

namespace
{
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

constexpr uint32_t kTable[kPaletteSize] = {
    Rgb(255, 0, 0),     Rgb(255, 255, 0),   Rgb(0, 0, 255),     Rgb(0, 255, 0),     Rgb(255, 128, 255),
    Rgb(128, 255, 255), Rgb(255, 0, 128),   Rgb(255, 255, 128), Rgb(128, 64, 0),    Rgb(0, 255, 128),
    Rgb(0, 128, 255),   Rgb(253, 208, 53),  Rgb(0, 140, 140),   Rgb(255, 99, 71),   Rgb(204, 92, 92),
    Rgb(245, 163, 97),  Rgb(120, 135, 153), Rgb(61, 179, 112),  Rgb(51, 204, 51),   Rgb(102, 204, 171),
    Rgb(250, 128, 115), Rgb(33, 140, 33),   Rgb(255, 204, 51),  Rgb(199, 20, 133),  Rgb(112, 128, 143),
    Rgb(148, 0, 212),   Rgb(204, 133, 64),  Rgb(0, 207, 209),   Rgb(138, 43, 227),  Rgb(0, 250, 153),
    Rgb(255, 227, 224), Rgb(255, 217, 186), Rgb(209, 105, 31),  Rgb(222, 161, 222), Rgb(209, 33, 143),
    Rgb(153, 250, 153), Rgb(255, 105, 181), Rgb(51, 255, 255),  Rgb(255, 214, 0),   Rgb(135, 207, 250),
    Rgb(255, 204, 153), Rgb(64, 224, 209),  Rgb(173, 255, 46),  Rgb(255, 69, 0),    Rgb(0, 99, 0),
    Rgb(255, 222, 173), Rgb(255, 140, 0),   Rgb(74, 0, 130),    Rgb(122, 105, 237), Rgb(0, 0, 140),
    Rgb(255, 161, 122), Rgb(71, 209, 204),  Rgb(237, 232, 171), Rgb(204, 102, 51),  Rgb(133, 112, 255),
    Rgb(237, 130, 237), Rgb(31, 143, 255),  Rgb(0, 128, 0),     Rgb(166, 41, 41),   Rgb(64, 105, 224),
    Rgb(240, 230, 140), Rgb(69, 130, 181),  Rgb(240, 128, 128), Rgb(0, 191, 255),   Rgb(255, 191, 204),
    Rgb(217, 112, 214), Rgb(161, 82, 46),   Rgb(140, 0, 140),   Rgb(255, 227, 181), Rgb(94, 158, 161),
    Rgb(99, 148, 237),  Rgb(46, 79, 79),    Rgb(219, 112, 148), Rgb(0, 0, 204),     Rgb(250, 235, 214),
    Rgb(186, 84, 212),  Rgb(176, 224, 230), Rgb(232, 150, 122), Rgb(107, 89, 204),  Rgb(217, 191, 217),
    Rgb(255, 166, 0),   Rgb(143, 189, 143), Rgb(189, 143, 143), Rgb(148, 112, 219), Rgb(107, 143, 36),
    Rgb(255, 20, 148),  Rgb(153, 51, 204),  Rgb(173, 217, 230), Rgb(255, 255, 204), Rgb(143, 237, 143),
    Rgb(237, 222, 130), Rgb(255, 51, 255),  Rgb(176, 237, 237), Rgb(176, 196, 222), Rgb(255, 181, 194),
    Rgb(217, 166, 33),  Rgb(140, 69, 18),   Rgb(179, 33, 33),   Rgb(255, 128, 79),  Rgb(222, 184, 135),
    Rgb(84, 107, 46),   Rgb(33, 179, 171),  Rgb(255, 227, 196), Rgb(184, 135, 10),  Rgb(71, 61, 140),
    Rgb(245, 222, 179), Rgb(125, 252, 0),   Rgb(153, 204, 51),  Rgb(189, 184, 107), Rgb(128, 255, 128),
    Rgb(255, 128, 128), Rgb(128, 128, 255), Rgb(128, 0, 128),   Rgb(128, 128, 0),   Rgb(0, 128, 128),
    Rgb(128, 255, 0),   Rgb(255, 0, 255),   Rgb(0, 255, 255),   Rgb(128, 0, 255),   Rgb(255, 128, 0),
};

// Live for the whole run, never stored.
int gCursors[4] = {0, 0, 0, 0};

bool IsUsed(const ColorRGB& c, const GrowableArray<ColorRGB>& used)
{
    for (const ColorRGB& u : used)
        if (ColorSame(c, u))
            return true;
    return false;
}
}  // namespace

uint32_t PaletteEntry(int i)
{
    return kTable[i];
}

int NextPaletteColor(ColorRGB* out, int flags)
{
    int& cursor = gCursors[flags & 3];
    if (!out)
    {
        cursor = (flags & 1) ? kPaletteSize - 1 : 0;
        if (flags & 2)
            cursor = (cursor + kPaletteSize / 2) % kPaletteSize;
        return cursor;
    }
    ColorFromRGB(*out, kTable[cursor]);
    const int stepped = (flags & 1) ? cursor - 1 : cursor + 1;
    cursor = stepped < 0 ? kPaletteSize - 1 : stepped >= kPaletteSize ? 0 : stepped;
    return stepped;
}

ColorRGB& GetPaletteColor(int i, ColorRGB& out, int flags)
{
    if (flags & 1)
        i = -1 - i;
    if (i < 0)
        i = kPaletteSize - ((-i) % kPaletteSize);
    if (flags & 2)
        i += kPaletteSize / 2;
    ColorFromRGB(out, kTable[i % kPaletteSize]);
    return out;
}

void NextUnusedPaletteColor(ColorRGB& out, const GrowableArray<ColorRGB>& used, bool restart)
{
    if (restart)
        NextPaletteColor(nullptr, 0);
    for (uint32_t tries = 0; tries <= used.count; ++tries)
    {
        NextPaletteColor(&out, 0);
        if (!IsUsed(out, used))
            return;
    }
    // Every table colour is taken: walk the 24-bit cube with a large odd stride.
    constexpr uint32_t kStride = 6375539;
    uint32_t value = kStride;
    for (uint32_t tries = 0; tries < 16777215u; ++tries)
    {
        ColorFromRGB(out, value);
        if (!IsUsed(out, used))
            return;
        value = (value + kStride) % 16777216u;
    }
}

uint32_t NextUnusedPaletteColorRef(const GrowableArray<ColorRGB>& used, bool restart)
{
    ColorRGB c;
    NextUnusedPaletteColor(c, used, restart);
    return ColorToRGB(c);
}
