#include "render/MipmapTextureFont.h"

#include "kernel/Messages.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
unsigned gBoundTexture = 0;
float gGlyphShear = 0.0f;
float gGlyphColors[4][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
bool gGlyphMaterial = false;

int NextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v && p < (1 << 30))
        p <<= 1;
    return p;
}

// The glyph count FreeType gives the face (FTGL keeps its face to itself).
int CountFaceGlyphs(const char* path, const unsigned char* bytes, size_t size)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library))
        return 0;
    FT_Face face = nullptr;
    const FT_Error error = path ? FT_New_Face(library, path, 0, &face)
                                : FT_New_Memory_Face(library, bytes, FT_Long(size), 0, &face);
    const int count = error ? 0 : int(face->num_glyphs);
    if (!error)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return count;
}

// The cell of the face's character size at the current pixel size, as FTGL measures it.
void FaceCellSize(FT_Face face, int& width, int& height)
{
    double w = 0.0, h = 0.0;
    const FT_Size_Metrics& m = face->size->metrics;
    if (FT_IS_SCALABLE(face) && face->units_per_EM)
    {
        w = double(face->bbox.xMax - face->bbox.xMin) * m.x_ppem / face->units_per_EM;
        h = double(face->bbox.yMax - face->bbox.yMin) * m.y_ppem / face->units_per_EM;
    }
    else
    {
        w = m.max_advance / 64.0;
        h = m.height / 64.0;
    }
    width = std::max(1, int(std::lround(w)));
    height = std::max(1, int(std::lround(h)));
}

// One glyph on a page: its quad (widened by part of the cell margin so that filtering never cuts
// its edge), the quad's offset from the pen and its texture corners.
class MipmapTextureGlyph : public FTGlyph
{
public:
    MipmapTextureGlyph(FT_GlyphSlot slot, unsigned texture, int x, int y, int pageWidth, int pageHeight,
                       int margin, float strength, uint8_t* memory)
        : FTGlyph(slot), mTexture(texture), mAdvance(FTGlyph::Advance(), 0.0f)
    {
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) || slot->format != FT_GLYPH_FORMAT_BITMAP)
            return;
        FT_Bitmap bold;
        FT_Bitmap_Init(&bold);
        const FT_Bitmap* bitmap = &slot->bitmap;
        const FT_Pos strength26 = FT_Pos(strength * 64.0f + 0.5f);
        if (strength26 > 0 && bitmap->width > 0 && bitmap->rows > 0 &&
            !FT_Bitmap_Copy(slot->library, bitmap, &bold) && !FT_Bitmap_Embolden(slot->library, &bold, strength26, 0))
            bitmap = &bold;
        const int w = std::min(int(bitmap->width), pageWidth - x);
        const int h = std::min(int(bitmap->rows), pageHeight - y);
        if (w > 0 && h > 0 && bitmap->pixel_mode == FT_PIXEL_MODE_GRAY)
        {
            if (memory)
            {
                for (int row = 0; row < h; ++row)
                    std::memcpy(memory + size_t(y + row) * size_t(pageWidth) + size_t(x),
                                bitmap->buffer + std::ptrdiff_t(row) * bitmap->pitch, size_t(w));
            }
            else
            {
                std::vector<uint8_t> packed(size_t(w) * size_t(h));
                for (int row = 0; row < h; ++row)
                    std::memcpy(&packed[size_t(row) * size_t(w)], bitmap->buffer + std::ptrdiff_t(row) * bitmap->pitch,
                                size_t(w));
                glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
                glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
                glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
                glBindTexture(GL_TEXTURE_2D, texture);
                glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_ALPHA, GL_UNSIGNED_BYTE, packed.data());
                glPopClientAttrib();
                gBoundTexture = 0;
            }
        }
        if (w > 0 && h > 0)
        {
            const double W = pageWidth, H = pageHeight;
            const double r = 0.45 * margin / 2.0;
            mWidth = float(w + 2.0 * r);
            mHeight = float(h + 2.0 * r);
            mCornerX = float(slot->bitmap_left - r);
            mCornerY = float(slot->bitmap_top + r);
            mU0 = float((x - r) / W);
            mV0 = float((y - r) / H);
            mU1 = float((x + w + r) / W);
            mV1 = float((y + h + r) / H);
        }
        FT_Bitmap_Done(slot->library, &bold);
    }

    const FTPoint& Render(const FTPoint& pen, int /*renderMode*/) override
    {
        if (mWidth <= 0.0f)
            return mAdvance;
        if (mTexture != gBoundTexture)
        {
            glBindTexture(GL_TEXTURE_2D, mTexture);
            gBoundTexture = mTexture;
        }
        const float s = gGlyphShear;
        const float x0 = pen.Xf() + mCornerX;
        const float y = pen.Yf();
        const float t = mCornerY;
        const float b = t - mHeight;
        const float corners[4][4] = {{x0 + mWidth + t * s, y + t, mU1, mV0},
                                     {x0 + t * s, y + t, mU0, mV0},
                                     {x0 + b * s, y + b, mU0, mV1},
                                     {x0 + mWidth + b * s, y + b, mU1, mV1}};
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i)
        {
            if (gGlyphMaterial)
            {
                glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, gGlyphColors[i]);
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, gGlyphColors[i]);
            }
            else
                glColor4fv(gGlyphColors[i]);
            glTexCoord2f(corners[i][2], corners[i][3]);
            glVertex2f(corners[i][0], corners[i][1]);
        }
        glEnd();
        return mAdvance;
    }

private:
    unsigned mTexture = 0;
    FTPoint mAdvance;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
    float mCornerX = 0.0f;
    float mCornerY = 0.0f;
    float mU0 = 0.0f, mV0 = 0.0f, mU1 = 0.0f, mV1 = 0.0f;
};

// Saves the state a font render changes, and draws glyph alpha blended and alpha tested.
class GlyphRenderState
{
public:
    GlyphRenderState()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.01f);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        gBoundTexture = 0;
    }
    ~GlyphRenderState()
    {
        glPopAttrib();
        gBoundTexture = 0;
    }
    GlyphRenderState(const GlyphRenderState&) = delete;
    GlyphRenderState& operator=(const GlyphRenderState&) = delete;
};
}  // namespace

void SetGlyphColor(int corner, const float rgba[4])
{
    if (corner < 0 || corner > 3)
        return;
    std::copy(rgba, rgba + 4, gGlyphColors[corner]);
}

void SetGlyphMaterialMode(bool on)
{
    gGlyphMaterial = on;
}

bool GetGlyphMaterialMode()
{
    return gGlyphMaterial;
}

void SetGlyphShear(float shear)
{
    gGlyphShear = shear;
}

float GetGlyphShear()
{
    return gGlyphShear;
}

MipmapTextureFont::MipmapTextureFont(const char* fontFilePath) : FTFont(fontFilePath)
{
    Init(CountFaceGlyphs(fontFilePath, nullptr, 0));
}

MipmapTextureFont::MipmapTextureFont(const unsigned char* bytes, size_t size) : FTFont(bytes, size)
{
    Init(CountFaceGlyphs(nullptr, bytes, size));
}

void MipmapTextureFont::Init(int faceGlyphs)
{
    // Texture glyphs want unhinted outlines, never the face's embedded bitmaps.
    GlyphLoadFlags(FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    mFaceGlyphs = faceGlyphs;
    mPlanned = std::min(mFaceGlyphs, mCapacity);
    mRemaining = mPlanned;
}

MipmapTextureFont::~MipmapTextureFont()
{
    DropPages();
}

void MipmapTextureFont::DropPages()
{
    mMemory.clear();
    mMemory.shrink_to_fit();
    if (!mTextures.empty())
    {
        glDeleteTextures(GLsizei(mTextures.size()), mTextures.data());
        mTextures.clear();
    }
    gBoundTexture = 0;
}

void MipmapTextureFont::SetGlyphCapacity(int n)
{
    mCapacity = std::max(0, n);
    mPlanned = std::min(mPlanned, mCapacity);
    mRemaining = std::min(mRemaining, mCapacity);
}

void MipmapTextureFont::SetMipmaps(bool on)
{
    if (!on && mMipmaps && !mMemory.empty() && !mTextures.empty())
    {
        glBindTexture(GL_TEXTURE_2D, mTextures.back());
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_ALPHA, mTexWidth, mTexHeight, GL_ALPHA, GL_UNSIGNED_BYTE, mMemory.data());
        glPopClientAttrib();
        gBoundTexture = 0;
        mMemory.clear();
        mMemory.shrink_to_fit();
    }
    mMipmaps = on;
}

bool MipmapTextureFont::FaceSize(const unsigned int size, const unsigned int res)
{
    if (!mTextures.empty())
    {
        DropPages();
        mRemaining = std::min(mFaceGlyphs, mCapacity);
    }
    return FTFont::FaceSize(size, res);
}

int MipmapTextureFont::MaxTextureSize()
{
    if (mMaxTextureSize == 0)
    {
        GLint size = 1024;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        mMaxTextureSize = size > 0 ? int(size) : 1024;
    }
    return mMaxTextureSize;
}

void MipmapTextureFont::ComputePageSize()
{
    const int maximum = MaxTextureSize();
    mTexWidth = std::min(NextPowerOfTwo(mRemaining * mCellWidth + 2 * kCellMargin), maximum);
    const int perRow = std::max(1, (mTexWidth - 2 * kCellMargin) / mCellWidth);
    mTexHeight = std::min(NextPowerOfTwo((mPlanned / perRow + 1) * mCellHeight + 2 * kCellMargin), maximum);
}

void MipmapTextureFont::NewPage()
{
    ComputePageSize();
    mMemory.clear();
    std::vector<uint8_t> zeros(size_t(mTexWidth) * size_t(mTexHeight), 0);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gBoundTexture = 0;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    if (mMipmaps)
        mMemory = std::move(zeros);
    else
    {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, mTexWidth, mTexHeight, 0, GL_ALPHA, GL_UNSIGNED_BYTE, zeros.data());
        glPopClientAttrib();
    }
    mTextures.push_back(texture);
}

FTGlyph* MipmapTextureFont::MakeGlyph(FT_GlyphSlot slot)
{
    FaceCellSize(slot->face, mCellWidth, mCellHeight);
    if (mTextures.empty())
    {
        NewPage();
        mX = mY = kCellMargin;
    }
    if (mX > mTexWidth - mCellWidth)
    {
        mX = kCellMargin;
        mY += mCellHeight;
        if (mY > mTexHeight - mCellHeight)
        {
            if (mMipmaps)
            {
                SetMipmaps(false);
                SetMipmaps(true);
            }
            NewPage();
            mY = kCellMargin;
        }
    }
    auto* glyph = new MipmapTextureGlyph(slot, mTextures.back(), mX, mY, mTexWidth, mTexHeight, kCellMargin, mEmbolden,
                                         mMemory.empty() ? nullptr : mMemory.data());
    const FTBBox& box = glyph->BBox();
    mX += int(std::lround(box.Upper().Xf() - box.Lower().Xf() + kCellMargin));
    --mRemaining;
    return glyph;
}

FTPoint MipmapTextureFont::Render(const char* string, const int len, FTPoint position, FTPoint spacing,
                                  int renderMode)
{
    GlyphRenderState state;
    return FTFont::Render(string, len, position, spacing, renderMode);
}

FTPoint MipmapTextureFont::Render(const wchar_t* string, const int len, FTPoint position, FTPoint spacing,
                                  int renderMode)
{
    GlyphRenderState state;
    return FTFont::Render(string, len, position, spacing, renderMode);
}
