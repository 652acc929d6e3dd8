#pragma once

#include <memory>
#include <string>

class FTFont;
struct HtmlTextStyle;

// Run flags, shared with the markup.
inline constexpr int kRunBold = 0x1;
inline constexpr int kRunItalic = 0x2;
inline constexpr int kRunLinkColored = 0x4;
inline constexpr int kRunInLink = 0x8;
inline constexpr int kRunLinkKeepsColor = 0x10;
inline constexpr int kRunMeasureOnly = 0x20;
inline constexpr int kRunNoWrap = 0x40;
inline constexpr int kRunCentre = 0x80;
inline constexpr int kRunRight = 0x100;
inline constexpr int kRunShadow = 0x200;
inline constexpr int kRunMeasuringLine = 0x400;
inline constexpr int kRunSelected = 0x800;

// Pixel size at which glyphs are made ("FontRes").
int GetFontResolution();
void SetFontResolution(int resolution);
// The numerator of the scale of new cache entries ("FontSize").
float GetGlobalFontSize();
void SetGlobalFontSize(float size);
// Every run is scaled by it too; the model view sets it to the model's display scale each frame.
float GetTextScaleMultiplier();
void SetTextScaleMultiplier(float multiplier);
// The characters every cached font makes up front: digits, letters, ASCII punctuation, the copyright
// and degree signs (96 characters in 98 bytes of UTF-8).
extern const char* const DefaultCharacterSet;

// One piece of text as GLFont::DrawRun met it, for whoever watches (tests).
struct TextRunRecord
{
    std::string text;
    int flags = 0;
    float x = 0.0f;  // where the piece starts, alignment included
    float y = 0.0f;
    float width = 0.0f;
    float scale = 0.0f;
    float color[4] = {};
    bool drawn = false;
};
using TextRunObserver = void (*)(const TextRunRecord& run);
// Installs a watcher of every piece (null: none); answers the one it replaces.
TextRunObserver SetTextRunObserver(TextRunObserver observer);

// The font of text drawn in the views: up to four FTGL fonts (regular, bold, italic, bold italic)
// of one face at one resolution, drawing runs of UTF-8 with word wrap, alignment, link colours, a drop
// shadow and a glow, and the label markup (DrawHtml). Lives in its font cache entry; its fonts belong
// to the GL context current when they were made (the views share one).
class GLFont
{
public:
    // Glyph renderers: FTGL's pixmap, our mipmapped texture font, FTGL's extruded and polygon fonts.
    static constexpr int kPixmap = 0;
    static constexpr int kTexture = 1;
    static constexpr int kExtruded = 2;
    static constexpr int kPolygon = 3;

    GLFont();
    ~GLFont();
    GLFont(const GLFont&) = delete;
    GLFont& operator=(const GLFont&) = delete;

    void Reset();
    void Clear();
    bool IsValid() const;
    void SetGlyphCapacity(int n) { mGlyphCapacity = n; }
    int GetKind() const { return mKind; }
    int GetResolution() const { return mResolution; }
    float GetScale() const { return mScale; }

    std::unique_ptr<FTFont> CreateFont(int kind, int pixelSize, float depth, const char* path,
                                       const char* characters, float strength) const;
    bool CreateFonts(int kind, float size, float depth, int resolution, const char* folder, const char* face,
                     const char* boldFace, const char* italicFace, const char* boldItalicFace,
                     const char* characters);

    // The font of the style (flags 1 bold, 2 italic); sets the glyph shear for a slanted stand-in.
    FTFont* GetStyleFont(int flags);
    FTFont* GetFont(int index) const { return index >= 0 && index < 4 ? mFonts[index].get() : nullptr; }
    // In model units (scale included).
    float Ascender(int style);
    float Descender(int style);
    // The regular font's line height in glyph pixels.
    float LineHeight() const;

    void ApplyTextureState() const;

    // Draws from pen (x, y, z, advanced to the end) at scale a, wrapping at left + width; len < 0 is
    // the whole text. bbMin and bbMax (x, y), when given, are widened by what is laid out.
    void DrawRun(float pen[3], float a, float left, float width, const float color[4], int flags, const char* text,
                 int len, float* bbMin, float* bbMax);
    void DrawStyledRun(float pen[3], float left, float width, const HtmlTextStyle& style, const char* text, int len,
                       float* bbMin, float* bbMax);

    // The label markup: lays out and draws the text from pen (advanced to the end position); a
    // negative width does not wrap. Answers the height used. maxBytes < 0 draws everything; linkData
    // goes with each link named in a picking pass.
    float DrawHtml(float pen[3], float scale, float width, const char* text, int flags, float* bbMin, float* bbMax,
                   int maxBytes, int linkData);

private:
    int mKind = -1;
    int mGlyphCapacity = 100;
    int mResolution = 48;
    std::unique_ptr<FTFont> mFonts[4];
    float mShadowStrength = 0.5f;
    float mScale = 1.0f / 48.0f;
};

// DrawHtml with a pen of doubles.
float DrawHtmlAt(GLFont& font, double x, double y, double z, float scale, float width, const char* text, int flags,
                 float* bbMin, float* bbMax, int maxBytes, int linkData);
