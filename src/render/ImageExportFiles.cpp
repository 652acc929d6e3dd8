#include "render/ImageExportFiles.h"

#include "kernel/Messages.h"
#include "render/CDib.h"

#include <FreeImage.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
struct ExportFilterRow
{
    const char* name;
    const char* shortName;  // null for the "All" rows
    const char* patterns;
    FREE_IMAGE_FORMAT format;
};

constexpr ExportFilterRow kRows[kNumExportFilterEntries] = {
    {"All Image Files", nullptr,
     "*.gif;*.ico;*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.pbm;*.pgm;*.ppm;*.tga;*.targa;*.tif;*.tiff;*.bmp;*.wbmp;*.xpm",
     FIF_UNKNOWN},
    {"All Video Files", nullptr, "*.avi", FIF_UNKNOWN},
    {"All Image/Video Files", nullptr,
     "*.avi;*.gif;*.ico;*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.pbm;*.pgm;*.ppm;*.tga;*.targa;*.tif;*.tiff;*.bmp;*.wbmp;"
     "*.xpm",
     FIF_UNKNOWN},
    {"AVI Video (*.avi)", "AVI", "*.avi", FIF_UNKNOWN},
    {"GIF (*.gif)", "GIF", "*.gif", FIF_GIF},
    {"Icon (*.ico)", "ICO", "*.ico", FIF_ICO},
    {"JPEG (*.jpg,*.jpeg,*.jpe,*.jif)", "JPEG", "*.jpg;*.jpeg;*.jpe;*.jif", FIF_JPEG},
    {"PNG (*.png)", "PNG", "*.png", FIF_PNG},
    {"Portable Bitmap (*.pbm)", "PBM", "*.pbm", FIF_PBMRAW},
    {"Portable Greymap (*.pgm)", "PGM", "*.pgm", FIF_PGMRAW},
    {"Portable Pixmap (*.ppm)", "PPM", "*.ppm", FIF_PPMRAW},
    {"Targa (*.tga,*.targa)", "Targa", "*.tga;*.targa", FIF_TARGA},
    {"Tiff (*.tif,*.tiff)", "Tiff", "*.tif;*.tiff", FIF_TIFF},
    {"Windows Bitmap (*.bmp)", "BMP", "*.bmp", FIF_BMP},
    {"Wireless Bitmap (*.wbmp)", "WBMP", "*.wbmp", FIF_WBMP},
    {"X11 Pixmap (*.xpm)", "XPM", "*.xpm", FIF_XPM},
    {"All Files (*.*)", nullptr, "*.*", FIF_UNKNOWN},
};
constexpr int kFirstTypeRow = 3;

std::string ExtensionOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return path.substr(dot);
}

bool EqualNoCase(const std::string& a, const char* b, size_t n)
{
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i]))
            return false;
    return true;
}

bool MatchesPatterns(const std::string& path, const char* patterns)
{
    const std::string extension = ExtensionOf(path);
    if (extension.empty())
        return false;
    for (const char* p = patterns; *p;)
    {
        const char* end = std::strchr(p, ';');
        const size_t n = end ? size_t(end - p) : std::strlen(p);
        const char* pattern = *p == '*' ? p + 1 : p;
        if (EqualNoCase(extension, pattern, n - size_t(pattern - p)))
            return true;
        p += n + (end ? 1 : 0);
    }
    return false;
}

// The picture as a FreeImage bitmap of its 24 bits (both are bottom-up BGR with rows padded).
FIBITMAP* ToFreeImage(const CDib& picture)
{
    if (!picture.HasBits())
        return nullptr;
    return FreeImage_ConvertFromRawBits(const_cast<BYTE*>(picture.GetBits()), picture.GetWidth(),
                                        picture.GetHeight(), int(picture.GetRowBytes()), 24, FI_RGBA_RED_MASK,
                                        FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
}

struct Unloader
{
    FIBITMAP* bitmap;
    ~Unloader()
    {
        if (bitmap)
            FreeImage_Unload(bitmap);
    }
};

// The depth each type can hold: GIF 256 colours, the bitmaps one bit, the greymap grey.
FIBITMAP* ConvertForFormat(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format)
{
    switch (format)
    {
    case FIF_GIF:
        return FreeImage_ColorQuantize(bitmap, FIQ_WUQUANT);
    case FIF_PBMRAW:
    case FIF_WBMP:
        return FreeImage_Threshold(bitmap, 128);
    case FIF_PGMRAW:
        return FreeImage_ConvertToGreyscale(bitmap);
    default:
        return FreeImage_Clone(bitmap);
    }
}
}  // namespace

std::string BuildExportImageFilter()
{
    std::string filter;
    for (const ExportFilterRow& row : kRows)
        filter += std::string(row.name) + "|" + row.patterns + "|";
    return filter + "|";
}

const char* GetExportImageTypeShortName(int typeIndex)
{
    const int row = typeIndex + kFirstTypeRow;
    return typeIndex >= 0 && typeIndex < kNumExportImageTypes ? kRows[row].shortName : nullptr;
}

int ExportFilterToTypeIndex(int filterIndex)
{
    if (filterIndex < 0 || filterIndex >= kNumExportFilterEntries || !kRows[filterIndex].shortName)
        return -1;
    return filterIndex - kFirstTypeRow;
}

int ExportTypeToFilterIndex(int typeIndex)
{
    return typeIndex >= 0 && typeIndex < kNumExportImageTypes ? typeIndex + kFirstTypeRow : -1;
}

int GetExportFilterIndex(const std::string& path)
{
    for (int i = 0; i < kNumExportFilterEntries; ++i)
        if (kRows[i].shortName && MatchesPatterns(path, kRows[i].patterns))
            return i;
    return -1;
}

std::string AddExportImageExtension(const std::string& path, int filterIndex)
{
    if (ExportFilterToTypeIndex(filterIndex) < 0)
        return path;
    const ExportFilterRow& row = kRows[filterIndex];
    if (MatchesPatterns(path, row.patterns))
        return path;
    const std::string first(row.patterns + 1, std::strcspn(row.patterns + 1, ";"));
    return path.substr(0, path.size() - ExtensionOf(path).size()) + first;
}

bool HasExtension(const std::string& path, const char* extension)
{
    return EqualNoCase(ExtensionOf(path), extension, std::strlen(extension));
}

bool WriteImageFile(const CDib& picture, const std::string& path, int dpi, int jpegQuality)
{
    const int filterIndex = GetExportFilterIndex(path);
    const FREE_IMAGE_FORMAT format = filterIndex < 0 ? FIF_UNKNOWN : kRows[filterIndex].format;
    if (format == FIF_UNKNOWN)
    {
        ErrorMessage("Can't write '%s': its type is not one the pictures can be saved as.", path.c_str());
        return false;
    }
    // FreeImage's icons are square and at most 256 pixels a side.
    if (format == FIF_ICO && (picture.GetWidth() != picture.GetHeight() || picture.GetWidth() > 256))
    {
        ErrorMessage("An icon must be square and at most 256 x 256 pixels: '%s' is not written.", path.c_str());
        return false;
    }
    Unloader full{ToFreeImage(picture)};
    Unloader converted{full.bitmap ? ConvertForFormat(full.bitmap, format) : nullptr};
    if (!converted.bitmap)
    {
        ErrorMessage("%s", "Failed to create bitmap.\nTry a smaller size or less over-sampling");
        return false;
    }
    if (dpi > 0)
    {
        const unsigned dotsPerMetre = unsigned(std::lround(dpi / 0.0254));
        FreeImage_SetDotsPerMeterX(converted.bitmap, dotsPerMetre);
        FreeImage_SetDotsPerMeterY(converted.bitmap, dotsPerMetre);
    }
    const int flags = format == FIF_JPEG ? std::clamp(jpegQuality, 0, 100) : 0;
    if (!FreeImage_Save(format, converted.bitmap, path.c_str(), flags))
    {
        ErrorMessage("Couldn't write the image file '%s'.", path.c_str());
        return false;
    }
    return true;
}

std::string NumberedFramePath(const std::string& path, int frame)
{
    const std::string extension = ExtensionOf(path);
    char number[16];
    std::snprintf(number, sizeof number, "%04d", frame);
    return path.substr(0, path.size() - extension.size()) + number + extension;
}

AnimatedGifWriter::~AnimatedGifWriter()
{
    if (mMulti)
        FreeImage_CloseMultiBitmap(static_cast<FIMULTIBITMAP*>(mMulti), 0);
}

bool AnimatedGifWriter::Open(const std::string& path, double framesPerSecond)
{
    // A file of the name left from before would be read as the first pages.
    std::remove(path.c_str());
    mPath = path;
    mFrames = 0;
    mDelayMs = std::lround(1000.0 / std::max(framesPerSecond, 0.001));
    mMulti = FreeImage_OpenMultiBitmap(FIF_GIF, path.c_str(), TRUE, FALSE, FALSE, 0);
    if (!mMulti)
        ErrorMessage("Couldn't write the image file '%s'.", path.c_str());
    return mMulti != nullptr;
}

bool AnimatedGifWriter::AddFrame(const CDib& picture)
{
    if (!mMulti)
        return false;
    Unloader full{ToFreeImage(picture)};
    Unloader frame{full.bitmap ? FreeImage_ColorQuantize(full.bitmap, FIQ_WUQUANT) : nullptr};
    if (!frame.bitmap)
    {
        ErrorMessage("%s", "Failed to create bitmap.\nTry a smaller size or less over-sampling");
        return false;
    }
    auto setLong = [&](const char* key, LONG value) {
        FITAG* tag = FreeImage_CreateTag();
        FreeImage_SetTagKey(tag, key);
        FreeImage_SetTagType(tag, FIDT_LONG);
        FreeImage_SetTagCount(tag, 1);
        FreeImage_SetTagLength(tag, 4);
        FreeImage_SetTagValue(tag, &value);
        FreeImage_SetMetadata(FIMD_ANIMATION, frame.bitmap, key, tag);
        FreeImage_DeleteTag(tag);
    };
    setLong("FrameTime", LONG(mDelayMs));
    if (mFrames == 0)
        setLong("Loop", 0);
    FreeImage_AppendPage(static_cast<FIMULTIBITMAP*>(mMulti), frame.bitmap);
    ++mFrames;
    return true;
}

bool AnimatedGifWriter::Close()
{
    if (!mMulti)
        return false;
    const bool ok = FreeImage_CloseMultiBitmap(static_cast<FIMULTIBITMAP*>(mMulti), 0);
    mMulti = nullptr;
    if (!ok)
        ErrorMessage("Couldn't write the image file '%s'.", mPath.c_str());
    return ok;
}

bool InterlaceFields(CDib& out, const CDib& first, const CDib& second, bool lowerFieldFirst)
{
    const int w = first.GetWidth(), h = first.GetHeight();
    if (second.GetWidth() != w || second.GetHeight() != h || out.GetWidth() != w || out.GetHeight() != h ||
        !first.HasBits() || !second.HasBits() || !out.HasBits())
        return false;
    for (int line = 0; line < h; ++line)
    {
        // Lines count from the top; the rows of the picture from the bottom.
        const bool odd = line % 2 == 1;
        const CDib& source = odd == lowerFieldFirst ? first : second;
        const int row = h - 1 - line;
        std::memcpy(out.PixelAt(0, row), source.PixelAt(0, row), out.GetRowBytes());
    }
    return true;
}
