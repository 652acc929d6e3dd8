#pragma once

#include <FTGL/ftgl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The texture font of all text in the scene: each glyph is a quad on a texture page whose alpha is
// the glyph's anti-aliased bitmap. Pages are planned for a fixed number of glyphs; while the usual
// characters are made up front a memory copy of the page is kept, so that its mipmaps are built once
// from memory when the page is full and text stays smooth when drawn small. Glyph bitmaps may be
// emboldened (a bold style without a file of its own), quads slanted (italics without a file) and
// coloured per corner. GLFont makes these fonts in the views' shared GL context and owns them.
class MipmapTextureFont : public FTFont
{
public:
    explicit MipmapTextureFont(const char* fontFilePath);
    MipmapTextureFont(const unsigned char* bytes, size_t size);
    ~MipmapTextureFont() override;

    // Cuts the glyphs planned for (and still to place) to n.
    void SetGlyphCapacity(int n);
    // Switching off builds the mipmaps of the page being filled from its memory copy.
    void SetMipmaps(bool on);
    // Pixels added to the width of each glyph bitmap made from now on.
    void SetEmbolden(float strength) { mEmbolden = strength; }

    using FTFont::FaceSize;
    // Drops every page, so that glyphs are made again at the new size.
    bool FaceSize(const unsigned int size, const unsigned int res = 72) override;
    FTPoint Render(const char* string, const int len = -1, FTPoint position = FTPoint(),
                   FTPoint spacing = FTPoint(), int renderMode = FTGL::RENDER_ALL) override;
    FTPoint Render(const wchar_t* string, const int len = -1, FTPoint position = FTPoint(),
                   FTPoint spacing = FTPoint(), int renderMode = FTGL::RENDER_ALL) override;

    // The pages made so far, in order; the last is the one being filled.
    const std::vector<unsigned>& Pages() const { return mTextures; }
    int PageWidth() const { return mTexWidth; }
    int PageHeight() const { return mTexHeight; }
    int CellWidth() const { return mCellWidth; }
    int CellHeight() const { return mCellHeight; }
    int GlyphsPlanned() const { return mPlanned; }
    int GlyphsToPlace() const { return mRemaining; }
    static constexpr int kCellMargin = 8;

protected:
    FTGlyph* MakeGlyph(FT_GlyphSlot slot) override;

private:
    void Init(int faceGlyphs);
    int MaxTextureSize();
    void ComputePageSize();
    void NewPage();
    void DropPages();

    bool mMipmaps = false;
    std::vector<uint8_t> mMemory;  // the page being filled, while mipmaps are wanted
    int mMaxTextureSize = 0;
    int mTexWidth = 0;
    int mTexHeight = 0;
    std::vector<unsigned> mTextures;
    int mCellHeight = 0;
    int mCellWidth = 0;
    int mFaceGlyphs = 0;
    int mPlanned = 0;
    int mRemaining = 0;
    int mCapacity = 256;
    float mEmbolden = 0.0f;
    int mX = 0;
    int mY = 0;
};

// The render state shared by every texture glyph. Corners are top right, top left, bottom left,
// bottom right; with the material mode the colours go to the front-and-back material instead.
void SetGlyphColor(int corner, const float rgba[4]);
void SetGlyphMaterialMode(bool on);
bool GetGlyphMaterialMode();
// Horizontal slant of the quads: x moves by shear times the height above the baseline.
void SetGlyphShear(float shear);
float GetGlyphShear();
