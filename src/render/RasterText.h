#pragma once

#include "kernel/Vec3D.h"

#include <memory>
#include <string>
#include <vector>

// Bitmap text in the views. The font is the GUI's sans face (found through fontconfig) at the GUI
// font's pixel height; its glyphs for the codes 0..255 (Latin-1) are display lists from list base
// 1000, built once and shared by every context. Text is drawn at the GL raster position in the
// current colour. Without a font file text is skipped (and traced) and nothing else changes.

inline constexpr unsigned kRasterFontListBase = 1000;

// The font metrics a view measures and places its text with.
class RasterFont
{
public:
    int GetTextHeight() const { return mHeight; }
    int GetAscent() const { return mAscent; }
    // Width in pixels of one line of Latin-1 text.
    int LineWidth(const std::string& latin1) const;
    bool HasGlyphs() const { return mHasGlyphs; }

private:
    friend std::unique_ptr<RasterFont> CreateRasterFont(int overSampling);
    int mHeight = 13;
    int mAscent = 10;
    int mAdvance[256] = {};
    bool mHasGlyphs = false;
};

// The view's font at the GUI height times overSampling; with a context current, builds the glyph
// lists unless list 1000 already exists.
std::unique_ptr<RasterFont> CreateRasterFont(int overSampling);

// Lines end at LF, CR, or one of the pairs CR LF and LF CR (each pair once).
int CountTextLines(const char* text);
std::vector<std::string> SplitTextLines(const char* text);
// UTF-8 to the font's Latin-1 codes; characters beyond it become '?'.
std::string ToLatin1(const char* utf8);

// The text at a 3D point (line under line), in the current view's font.
void DrawRasterText(const char* text, const Vec3D& point);
// One line of Latin-1 codes at the current raster position.
void CallRasterLists(const std::string& latin1);

// While off (during picking) no raster text is drawn; returns the previous value.
bool SetRasterTextEnabled(bool on);
bool IsRasterTextEnabled();
