#include "render/RasterText.h"

#include "kernel/Messages.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int kPixelHeight = 13;
bool gEnabled = true;

std::string FindSansFont()
{
    std::string file;
    if (!FcInit())
        return file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern)
        return file;
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

FTFont* Font()
{
    static std::unique_ptr<FTFont> font;
    static bool tried = false;
    if (!tried)
    {
        tried = true;
        const std::string file = FindSansFont();
        if (!file.empty())
        {
            auto f = std::make_unique<FTPixmapFont>(file.c_str());
            if (!f->Error() && f->FaceSize(kPixelHeight))
                font = std::move(f);
        }
        if (!font)
            DebugTrace("No font for raster text\n");
    }
    return font.get();
}

std::vector<std::string> SplitLines(const char* text)
{
    std::vector<std::string> lines(1);
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

// Moves the raster position by whole pixels.
void MoveRaster(float dx, float dy)
{
    glBitmap(0, 0, 0, 0, dx, dy, nullptr);
}

float LineWidth(FTFont* font, const std::string& line)
{
    return font->Advance(line.c_str());
}
}  // namespace

int CountTextLines(const char* text)
{
    if (!text || !*text)
        return 0;
    return int(SplitLines(text).size());
}

int RasterTextHeight()
{
    FTFont* font = Font();
    return font ? int(font->LineHeight() + 0.5f) : kPixelHeight;
}

void MeasureRasterText(const char* text, int& width, int& height)
{
    width = height = 0;
    FTFont* font = Font();
    if (!text || !*text || !font)
        return;
    const std::vector<std::string> lines = SplitLines(text);
    float widest = 0.0f;
    for (const std::string& line : lines)
        widest = std::max(widest, LineWidth(font, line));
    width = int(widest + 0.5f);
    height = int(lines.size()) * RasterTextHeight();
}

void DrawRasterText(const char* text, const Vec3D& point)
{
    FTFont* font = Font();
    if (!text || !*text || !gEnabled || !font)
        return;
    glRasterPos3d(point.x, point.y, point.z);
    const float height = float(RasterTextHeight());
    for (const std::string& line : SplitLines(text))
    {
        // The font puts the raster position back where the line started.
        font->Render(line.c_str());
        MoveRaster(0.0f, -height);
    }
}

void DrawRasterText2D(const char* text, double x, double y, bool centred)
{
    FTFont* font = Font();
    if (!text || !*text || !gEnabled || !font)
        return;
    const std::vector<std::string> lines = SplitLines(text);
    const float height = float(RasterTextHeight());
    glRasterPos2d(x, y);
    if (centred)
        MoveRaster(0.0f, height * float(lines.size()) / 2.0f - height);
    for (const std::string& line : lines)
    {
        const float width = LineWidth(font, line);
        const float shift = centred ? -width / 2.0f : 0.0f;
        MoveRaster(shift, 0.0f);
        font->Render(line.c_str());
        MoveRaster(-shift, -height);
    }
}

bool SetRasterTextEnabled(bool on)
{
    const bool previous = gEnabled;
    gEnabled = on;
    return previous;
}
