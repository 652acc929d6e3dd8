#include "render/GLFont.h"

#include "kernel/Messages.h"
#include "render/FontCache.h"
#include "render/HtmlText.h"
#include "render/MipmapTextureFont.h"
#include "render/OpenGLView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace
{
int gFontResolution = 48;
float gGlobalFontSize = 1.0f;
float gTextScaleMultiplier = 1.0f;
TextRunObserver gRunObserver = nullptr;

constexpr float kUnlimited = 3.4028235e38f;
constexpr float kShadowX = 0.08f;
constexpr float kShadowY = -0.04f;
constexpr float kItalicShear = 0.26f;
constexpr float kSyntheticBold = 2.0f;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool SameNoCase(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

void SetAllGlyphColors(const float rgba[4])
{
    for (int i = 0; i < 4; ++i)
        SetGlyphColor(i, rgba);
}

void Observe(const char* text, int len, int flags, float x, float y, float width, float scale, const float color[4],
             bool drawn)
{
    if (!gRunObserver)
        return;
    TextRunRecord run;
    run.text.assign(text, size_t(len));
    run.flags = flags;
    run.x = x;
    run.y = y;
    run.width = width;
    run.scale = scale;
    std::copy(color, color + 4, run.color);
    run.drawn = drawn;
    gRunObserver(run);
}
}  // namespace

// Digits, letters, the printable ASCII punctuation, then U+00A9 and U+00B0.
const char* const DefaultCharacterSet = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "`~!@#$%^&*()-=_+[]{}\\|;':\",./<>?\xC2\xA9\xC2\xB0";

int GetFontResolution()
{
    return gFontResolution;
}

void SetFontResolution(int resolution)
{
    gFontResolution = resolution;
}

float GetGlobalFontSize()
{
    return gGlobalFontSize;
}

void SetGlobalFontSize(float size)
{
    gGlobalFontSize = size;
}

float GetTextScaleMultiplier()
{
    return gTextScaleMultiplier;
}

void SetTextScaleMultiplier(float multiplier)
{
    gTextScaleMultiplier = multiplier;
}

TextRunObserver SetTextRunObserver(TextRunObserver observer)
{
    TextRunObserver previous = gRunObserver;
    gRunObserver = observer;
    return previous;
}

GLFont::GLFont()
{
    Reset();
}

GLFont::~GLFont() = default;

void GLFont::Reset()
{
    mKind = -1;
    mGlyphCapacity = 100;
    mResolution = GetFontResolution();
    for (auto& font : mFonts)
        font.reset();
    mShadowStrength = 0.5f;
    mScale = GetGlobalFontSize() / float(std::max(1, mResolution));
}

void GLFont::Clear()
{
    for (auto& font : mFonts)
        font.reset();
    Reset();
}

bool GLFont::IsValid() const
{
    return mKind >= 0 && mFonts[0];
}

std::unique_ptr<FTFont> GLFont::CreateFont(int kind, int pixelSize, float depth, const char* path,
                                           const char* characters, float strength) const
{
    if (!path || !*path)
        return nullptr;
    std::unique_ptr<FTFont> font;
    MipmapTextureFont* texture = nullptr;
    switch (kind)
    {
    case kPixmap:
        font = std::make_unique<FTPixmapFont>(path);
        break;
    case kTexture:
        texture = new MipmapTextureFont(path);
        font.reset(texture);
        break;
    case kExtruded:
        font = std::make_unique<FTExtrudeFont>(path);
        break;
    default:
        font = std::make_unique<FTPolygonFont>(path);
        break;
    }
    if (font->Error())
    {
        DebugTrace("GLFont::CreateFont(): FTGL error %d for %s", int(font->Error()), path);
        return nullptr;
    }
    if (texture)
    {
        texture->SetGlyphCapacity(mGlyphCapacity);
        texture->SetEmbolden(strength);
        texture->SetMipmaps(true);
    }
    if (!font->FaceSize(unsigned(std::max(1, pixelSize)), 72))
        return nullptr;
    font->Depth(depth);
    DebugTrace("CreateFont(): Pre Advance");
    // Measuring the whole set makes every glyph of it now, into the texture pages.
    font->Advance(characters ? characters : DefaultCharacterSet);
    if (texture)
        texture->SetMipmaps(false);
    DebugTrace("CreateFont(): Post Advance");
    return font;
}

bool GLFont::CreateFonts(int kind, float size, float depth, int resolution, const char* folder, const char* face,
                         const char* boldFace, const char* italicFace, const char* boldItalicFace,
                         const char* characters)
{
    mResolution = resolution;
    mScale = size / float(std::max(1, resolution));
    if (!characters)
        characters = DefaultCharacterSet;
    std::string regularFile, boldFile, path;
    if (!FindFontFiles(face, folder, regularFile, boldFile) || !FindFontPath(path, regularFile.c_str(), folder))
        return false;
    std::unique_ptr<FTFont> regular = CreateFont(kind, resolution, depth, path.c_str(), characters, 0.0f);
    if (!regular)
        return false;
    for (auto& font : mFonts)
        font.reset();
    mFonts[0] = std::move(regular);
    mKind = kind;

    float boldStrength = 0.0f;
    if (boldFace)
    {
        std::string boldPath;
        bool found = false;
        if (SameNoCase(boldFace, face))
        {
            // A face without a bold file of its own is emboldened.
            std::string resolvedBold;
            found = FindFontPath(resolvedBold, boldFile.c_str(), folder);
            if (found && resolvedBold == path)
                boldStrength = kSyntheticBold;
            boldPath = resolvedBold;
        }
        else
            found = ResolveFontPath(boldPath, boldFace, folder);
        if (found)
            mFonts[1] = CreateFont(kind, resolution, depth, boldPath.c_str(), characters, boldStrength);
    }
    std::string italicPath;
    if (italicFace && ResolveFontPath(italicPath, italicFace, folder))
        mFonts[2] = CreateFont(kind, resolution, depth, italicPath.c_str(), characters, 0.0f);
    std::string boldItalicPath;
    if (boldItalicFace && ResolveFontPath(boldItalicPath, boldItalicFace, folder))
        mFonts[3] = CreateFont(kind, resolution, depth, boldItalicPath.c_str(), characters,
                               SameNoCase(boldItalicFace, italicFace) ? kSyntheticBold : boldStrength);
    return true;
}

FTFont* GLFont::GetStyleFont(int flags)
{
    FTFont* font = mFonts[0].get();
    if (flags & kRunBold)
    {
        if (mFonts[1])
            font = mFonts[1].get();
        if (flags & kRunItalic)
        {
            if (mFonts[3])
                font = mFonts[3].get();
            else
                SetGlyphShear(kItalicShear);
        }
    }
    else if (flags & kRunItalic)
    {
        if (mFonts[2])
            font = mFonts[2].get();
        else
            SetGlyphShear(kItalicShear);
    }
    return font;
}

float GLFont::Ascender(int style)
{
    FTFont* font = GetStyleFont(style);
    SetGlyphShear(0.0f);
    return font ? font->Ascender() * mScale : 0.0f;
}

float GLFont::Descender(int style)
{
    FTFont* font = GetStyleFont(style);
    SetGlyphShear(0.0f);
    return font ? font->Descender() * mScale : 0.0f;
}

float GLFont::LineHeight() const
{
    return mFonts[0] ? mFonts[0]->LineHeight() : 0.0f;
}

void GLFont::ApplyTextureState() const
{
    if (mKind == kTexture)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void GLFont::DrawRun(float pen[3], float a, float left, float width, const float color[4], int flags, const char* text,
                     int len, float* bbMin, float* bbMax)
{
    if (!text || !*text || len == 0)
        return;
    FTFont* font = GetStyleFont(flags);
    if (!font)
    {
        SetGlyphShear(0.0f);
        return;
    }
    if (len < 0)
        len = int(std::strlen(text));
    const float s = GetTextScaleMultiplier() * mScale * a;
    const bool unlimited = (flags & kRunNoWrap) || width >= kUnlimited;
    const float limit = unlimited ? kUnlimited : left + width;
    const float alignWidth = width >= kUnlimited ? 0.0f : width;
    const float lineStep = LineHeight() * s;

    float rgba[4] = {color[0], color[1], color[2], color[3]};
    if ((flags & kRunInLink) && !(flags & kRunLinkKeepsColor))
    {
        // Links are blue: a bluish colour becomes pure blue, any other gains full blue.
        if (rgba[2] > 0.75f)
            rgba[0] = rgba[1] = 0.0f;
        rgba[2] = 1.0f;
        flags |= kRunLinkColored;
    }
    OpenGLView* view = OpenGLView::GetCurrentGLView();
    const bool lit = view && view->Is3D() && view->GetLighting();
    SetGlyphMaterialMode(lit);
    if (lit)
    {
        const float k = std::sqrt(s);
        for (int i = 0; i < 3; ++i)
            rgba[i] *= k;
    }
    SetAllGlyphColors(rgba);

    const char* p = text;
    const char* end = text + len;
    bool wrapped = false;
    while (p < end)
    {
        if (*p == '\n')
        {
            if (!wrapped)
            {
                pen[0] = left;
                pen[1] -= lineStep;
            }
            wrapped = false;
            ++p;
            continue;
        }
        // A piece of the line: stretches of blanks and of other bytes (so UTF-8 characters stay whole).
        const char* start = p;
        float pieceWidth = 0.0f;
        bool hasWord = false;
        bool wrap = false;
        while (p < end && *p != '\n')
        {
            const bool blank = IsBlank(*p);
            const char* q = p;
            while (q < end && *q != '\n' && IsBlank(*q) == blank)
                ++q;
            const float advance = font->Advance(p, int(q - p)) * s;
            if (pen[0] + pieceWidth + advance > limit && (hasWord || pen[0] > left))
            {
                wrap = true;
                break;
            }
            pieceWidth += advance;
            hasWord = hasWord || !blank;
            p = q;
        }
        const int pieceLength = int(p - start);
        if (wrap)
            while (p < end && IsBlank(*p))
                ++p;
        const float offset = (flags & kRunCentre)  ? (alignWidth - pieceWidth) / 2.0f
                             : (flags & kRunRight) ? alignWidth - pieceWidth
                                                   : 0.0f;
        const float x = pen[0] + offset;
        if (pieceLength > 0)
        {
            if (bbMin && bbMax && !(flags & kRunMeasuringLine))
            {
                const FTBBox box = font->BBox(start, pieceLength);
                bbMin[0] = std::min(bbMin[0], x + box.Lower().Xf() * s);
                bbMin[1] = std::min(bbMin[1], pen[1] + box.Lower().Yf() * s);
                bbMax[0] = std::max(bbMax[0], x + box.Upper().Xf() * s);
                bbMax[1] = std::max(bbMax[1], pen[1] + box.Upper().Yf() * s);
            }
            const bool draw = !(flags & (kRunMeasureOnly | kRunMeasuringLine));
            Observe(start, pieceLength, flags, x, pen[1], pieceWidth, s, rgba, draw);
            if (draw)
            {
                float z = pen[2];
                if (flags & kRunShadow)
                {
                    const float shadow[4] = {0.0f, 0.0f, 0.0f, rgba[3] * mShadowStrength};
                    SetAllGlyphColors(shadow);
                    glPushMatrix();
                    glTranslatef(x + kShadowX * float(mResolution) * s, pen[1] + kShadowY * float(mResolution) * s,
                                 z);
                    glScalef(s, s, s);
                    glNormal3f(0.0f, 0.0f, 1.0f);
                    font->Render(start, pieceLength);
                    glPopMatrix();
                    SetAllGlyphColors(rgba);
                    z += 0.1f * s;
                }
                glPushMatrix();
                glTranslatef(x, pen[1], z);
                glScalef(s, s, s);
                glNormal3f(0.0f, 0.0f, 1.0f);
                font->Render(start, pieceLength);
                glPopMatrix();
            }
        }
        pen[0] += pieceWidth;
        wrapped = false;
        if (wrap)
        {
            pen[0] = left;
            pen[1] -= lineStep;
            wrapped = true;
        }
    }
    SetGlyphShear(0.0f);
}

void GLFont::DrawStyledRun(float pen[3], float left, float width, const HtmlTextStyle& style, const char* text,
                           int len, float* bbMin, float* bbMax)
{
    const float x0 = pen[0];
    const float y = pen[1];
    const float z = pen[2];
    DrawRun(pen, style.size, left, width, style.color, style.flags, text, len, bbMin, bbMax);
    const float g = style.glow;
    if (g <= 0.0f || (style.flags & (kRunMeasureOnly | kRunMeasuringLine)))
        return;
    OpenGLView* view = OpenGLView::GetCurrentGLView();
    const bool depthMask = view ? view->SetDepthMask(false) : true;
    if (!view)
        glDepthMask(GL_FALSE);
    const float x1 = pen[0];
    const float h = Ascender(0) + Descender(0);
    const float glowColor[3] = {0.7f, 1.0f, 1.0f};
    float d = 0.0f;
    for (int guard = 0; guard < 1000; ++guard)
    {
        const float hh = d + 0.18f;
        const float grow = 1.0f + hh / 4.0f;
        float copyPen[3] = {(x0 + x1 - grow * (x1 - x0)) / 2.0f, y + (h - grow * h) / 2.0f,
                            z + style.size * mScale * 0.1f};
        float rgba[4];
        for (int i = 0; i < 3; ++i)
            rgba[i] = d < 0.0f   ? style.color[i]
                      : d > 1.0f ? glowColor[i]
                                 : style.color[i] + (glowColor[i] - style.color[i]) * d;
        rgba[3] = (1.0f - d) * g * style.color[3];
        if (hh >= g && hh > d)
            rgba[3] *= (g - d) / (hh - d);
        DrawRun(copyPen, grow * style.size, left, width, rgba, style.flags | kRunNoWrap, text, len, nullptr, nullptr);
        if (hh >= g)
            break;
        d = hh;
    }
    if (view)
        view->SetDepthMask(depthMask);
    else
        glDepthMask(GL_TRUE);
}
