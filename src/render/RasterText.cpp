#include "render/RasterText.h"

#include "kernel/Messages.h"
#include "render/OpenGLView.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <wx/font.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
bool gEnabled = true;

// The face file: the GUI font's family, or what fontconfig offers for sans-serif.
std::string FindSansFont()
{
    std::string file;
    if (!FcInit())
        return file;
    const std::string family = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName().utf8_string();
    const std::string name = family.empty() ? "sans-serif" : family + ",sans-serif";
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str()));
    if (!pattern)
        return file;
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result))
    {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// The FreeType face, opened once per run and closed at exit.
class FontFace
{
public:
    FontFace()
    {
        const std::string file = FindSansFont();
        if (file.empty() || FT_Init_FreeType(&mLibrary))
        {
            DebugTrace("No font for raster text\n");
            mLibrary = nullptr;
            return;
        }
        if (FT_New_Face(mLibrary, file.c_str(), 0, &mFace))
        {
            DebugTrace("No font for raster text: %s\n", file.c_str());
            mFace = nullptr;
        }
    }
    ~FontFace()
    {
        if (mFace)
            FT_Done_Face(mFace);
        if (mLibrary)
            FT_Done_FreeType(mLibrary);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face Get() const { return mFace; }

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
};

FT_Face Face()
{
    static FontFace face;
    return face.Get();
}

int GuiPixelHeight()
{
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    const int pixels = font.GetPixelSize().y;
    return pixels > 0 ? pixels : 13;
}

// One glyph's list: a bitmap whose origin sits on the baseline, advancing the raster position.
void BuildGlyphList(FT_Face face, unsigned code)
{
    std::vector<GLubyte> rows;
    int width = 0, height = 0;
    float xorig = 0.0f, yorig = 0.0f, advance = 0.0f;
    if (code >= 32 && FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0)
    {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        width = int(bitmap.width);
        height = int(bitmap.rows);
        const int rowBytes = (width + 7) / 8;
        rows.assign(size_t(rowBytes) * size_t(height), 0);
        // FreeType's rows run top down, a GL bitmap's bottom up.
        for (int r = 0; r < height; ++r)
        {
            const unsigned char* src = bitmap.buffer + std::ptrdiff_t(r) * bitmap.pitch;
            std::copy(src, src + rowBytes, rows.begin() + std::ptrdiff_t(height - 1 - r) * rowBytes);
        }
        xorig = float(-slot->bitmap_left);
        yorig = float(height - slot->bitmap_top);
        advance = float(slot->advance.x >> 6);
    }
    glNewList(kRasterFontListBase + code, GL_COMPILE);
    glBitmap(width, height, xorig, yorig, advance, 0.0f, rows.empty() ? nullptr : rows.data());
    glEndList();
}
}  // namespace

int RasterFont::LineWidth(const std::string& latin1) const
{
    int width = 0;
    for (unsigned char c : latin1)
        width += mAdvance[c];
    return width;
}

std::unique_ptr<RasterFont> CreateRasterFont(int overSampling)
{
    auto font = std::make_unique<RasterFont>();
    FT_Face face = Face();
    const int pixels = GuiPixelHeight() * std::max(overSampling, 1);
    font->mHeight = pixels;
    font->mAscent = pixels * 4 / 5;
    if (!face || FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels)))
        return font;
    font->mAscent = int(face->size->metrics.ascender >> 6);
    font->mHeight = int((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
    for (unsigned c = 32; c < 256; ++c)
        if (FT_Load_Char(face, c, FT_LOAD_TARGET_MONO) == 0)
            font->mAdvance[c] = int(face->glyph->advance.x >> 6);
    font->mHasGlyphs = true;
    if (OpenGLView::GetCurrentGLView() && !glIsList(kRasterFontListBase))
    {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        for (unsigned c = 0; c < 256; ++c)
            BuildGlyphList(face, c);
        glPopClientAttrib();
    }
    return font;
}

std::vector<std::string> SplitTextLines(const char* text)
{
    std::vector<std::string> lines(1);
    if (!text)
        return lines;
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\r' || *p == '\n')
        {
            if ((p[1] == '\r' || p[1] == '\n') && p[1] != *p)
                ++p;
            lines.emplace_back();
        }
        else
            lines.back() += *p;
    }
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();  // a final line end starts no new line
    return lines;
}

int CountTextLines(const char* text)
{
    if (!text || !*text)
        return 0;
    return int(SplitTextLines(text).size());
}

std::string ToLatin1(const char* utf8)
{
    std::string out;
    if (!utf8)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;)
    {
        unsigned code = *p++;
        int more = 0;
        if (code >= 0xF0)
            more = 3, code &= 0x07;
        else if (code >= 0xE0)
            more = 2, code &= 0x0F;
        else if (code >= 0xC0)
            more = 1, code &= 0x1F;
        else if (code >= 0x80)
            code = '?';  // a stray continuation byte
        for (; more > 0 && (*p & 0xC0) == 0x80; --more)
            code = (code << 6) | (*p++ & 0x3F);
        if (more > 0)
            code = '?';
        out += char(code < 256 ? code : '?');
    }
    return out;
}

void CallRasterLists(const std::string& latin1)
{
    if (latin1.empty())
        return;
    glListBase(kRasterFontListBase);
    glCallLists(GLsizei(latin1.size()), GL_UNSIGNED_BYTE, latin1.data());
}

void DrawRasterText(const char* text, const Vec3D& point)
{
    OpenGLView* view = OpenGLView::GetCurrentGLView();
    if (!text || !*text || !gEnabled || !view)
        return;
    glRasterPos3d(point.x, point.y, point.z);
    const std::vector<std::string> lines = SplitTextLines(ToLatin1(text).c_str());
    const float height = float(view->GetTextHeight());
    for (const std::string& line : lines)
    {
        const int width = view->MeasureLine(line);
        CallRasterLists(line);
        // Back to the start of the line, one line lower.
        glBitmap(0, 0, 0.0f, 0.0f, float(-width), -height, nullptr);
    }
}

bool SetRasterTextEnabled(bool on)
{
    const bool previous = gEnabled;
    gEnabled = on;
    return previous;
}

bool IsRasterTextEnabled()
{
    return gEnabled;
}
