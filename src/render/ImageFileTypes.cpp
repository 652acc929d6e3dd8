#include "render/ImageFileTypes.h"

#include "kernel/Strings.h"

#include <strings.h>

const ImageFileType kImageFileTypes[kImageFileTypeCount] = {
    {"All Image Files", "",
     "*.dds;*.gif;*.ico;*.jng;*.jpg;*.jpeg;*.jpe;*.jif;*.pcd;*.png;*.psd;*.pbm;*.pgm;*.ppm;*.ras;*.sgi;*.tga;*.targa;"
     "*.tif;*.tiff;*.bmp;*.wbmp;*.xbm;*.xpm;*.pcx",
     0x5},
    {"All Image Files", "",
     "*.gif;*.ico;*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.pbm;*.pgm;*.ppm;*.tga;*.targa;*.tif;*.tiff;*.bmp;*.wbmp;*.xpm", 0x9},
    {"All Video Files", "", "*.avi", 0xA},
    {"All Image/Video Files", "",
     "*.avi;*.dds;*.gif;*.ico;*.jng;*.jpg;*.jpeg;*.jpe;*.jif;*.pcd;*.png;*.psd;*.pbm;*.pgm;*.ppm;*.ras;*.sgi;*.tga;"
     "*.targa;*.tif;*.tiff;*.bmp;*.wbmp;*.xbm;*.xpm;*.pcx",
     0x7},
    {"All Image/Video Files", "",
     "*.avi;*.gif;*.ico;*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.pbm;*.pgm;*.ppm;*.tga;*.targa;*.tif;*.tiff;*.bmp;*.wbmp;*.xpm",
     0xB},
    {"AVI Video (*.avi)", "AVI", "*.avi", 0xA},
    {"DirectDraw Surface (*.dds)", "DDS", "*.dds", 0x5},
    {"GIF (*.gif)", "GIF", "*.gif", 0xD},
    {"Icon (*.ico)", "ICO", "*.ico", 0xD},
    {"JNG (*.jng)", "JNG", "*.jng", 0x5},
    {"JPEG (*.jpg,*.jpeg,*.jpe,*.jif)", "JPEG", "*.jpg;*.jpeg;*.jpe;*.jif", 0xD},
    {"Kodak PhotoCD (*.pcd)", "PCD", "*.pcd", 0x5},
    {"PNG (*.png)", "PNG", "*.png", 0xD},
    {"Photoshop (*.psd)", "PSD", "*.psd", 0x5},
    {"Portable Bitmap (*.pbm)", "PBM", "*.pbm", 0xD},
    {"Portable Greymap (*.pgm)", "PGM", "*.pgm", 0xD},
    {"Portable Pixmap (*.ppm)", "PPM", "*.ppm", 0xD},
    {"Sun Rasterfile (*.ras)", "RAS", "*.ras", 0x5},
    {"Silicon Graphics (*.sgi)", "SGI", "*.sgi", 0x5},
    {"Targa (*.tga,*.targa)", "Targa", "*.tga;*.targa", 0xD},
    {"Tiff (*.tif,*.tiff)", "Tiff", "*.tif;*.tiff", 0xD},
    {"Windows Bitmap (*.bmp)", "BMP", "*.bmp", 0xD},
    {"Wireless Bitmap (*.wbmp)", "WBMP", "*.wbmp", 0xD},
    {"X11 Bitmap (*.xbm)", "XBM", "*.xbm", 0x5},
    {"X11 Pixmap (*.xpm)", "XPM", "*.xpm", 0xD},
    {"ZSoft Paintbrush (*.pcx)", "PCX", "*.pcx", 0x5},
    {"All Files (*.*)", "", "*.*", 0xF},
};

namespace
{
bool StartsWithNoCase(const char* text, const char* prefix)
{
    return strncasecmp(text, prefix, std::char_traits<char>::length(prefix)) == 0;
}

bool IsGathering(int row)
{
    return StartsWithNoCase(kImageFileTypes[row].name, "All ");
}

bool KindAndAccess(int bits)
{
    return (bits & 0x3) && (bits & 0xC);
}

int MatchingRowAt(int filterIndex, int mask)
{
    if (filterIndex < 0)
        return -1;
    int n = 0;
    for (int row = 0; row < kImageFileTypeCount; ++row)
        if (ImageTypeMatches(row, mask) && n++ == filterIndex)
            return row;
    return -1;
}

std::string::size_type ExtensionStart(const std::string& path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path.size();
    return dot;
}
}  // namespace

bool ImageTypeMatches(int row, int mask)
{
    if (row < 0 || row >= kImageFileTypeCount)
        return false;
    const int flags = kImageFileTypes[row].flags;
    if (!KindAndAccess(mask & flags))
        return false;
    // A gathering row stands for all its kinds at once: offered only where all of them are wanted.
    if (IsGathering(row) && !StartsWithNoCase(kImageFileTypes[row].name, "All Files"))
        return (flags & mask) == flags;
    return true;
}

std::string BuildImageFilter(int mask)
{
    std::string filter;
    for (int row = 0; row < kImageFileTypeCount; ++row)
        if (ImageTypeMatches(row, mask))
        {
            filter += kImageFileTypes[row].name;
            filter += '|';
            filter += kImageFileTypes[row].patterns;
            filter += '|';
        }
    filter += '|';
    return filter;
}

bool ImageTypeHasShortName(int row, int mask)
{
    if (row < 0 || row >= kImageFileTypeCount)
        return false;
    return KindAndAccess(mask & kImageFileTypes[row].flags) && !IsBlank(kImageFileTypes[row].shortName);
}

const char* GetImageTypeShortName(int n, int mask)
{
    for (int row = 0; row < kImageFileTypeCount; ++row)
        if (ImageTypeHasShortName(row, mask) && n-- == 0)
            return kImageFileTypes[row].shortName;
    return nullptr;
}

int FilterIndexToTypeIndex(int n, int mask)
{
    const int target = MatchingRowAt(n, mask);
    if (target < 0 || !ImageTypeHasShortName(target, mask))
        return -1;
    int index = 0;
    for (int row = 0; row < target; ++row)
        if (ImageTypeMatches(row, mask) && ImageTypeHasShortName(row, mask))
            ++index;
    return index;
}

int TypeIndexToFilterIndex(int n, int mask)
{
    if (n < 0)
        return -1;
    int filter = 0;
    for (int row = 0; row < kImageFileTypeCount; ++row)
    {
        if (!ImageTypeMatches(row, mask))
            continue;
        if (ImageTypeHasShortName(row, mask) && n-- == 0)
            return filter;
        ++filter;
    }
    return -1;
}

bool MatchesExtensionList(const std::string& path, const char* patterns)
{
    const std::string ext = path.substr(ExtensionStart(path));
    const char* p = patterns;
    while (p && *p)
    {
        const char* end = p;
        while (*end && *end != ';')
            ++end;
        const char* start = *p == '*' ? p + 1 : p;
        if (size_t(end - start) == ext.size() && strncasecmp(start, ext.c_str(), ext.size()) == 0)
            return true;
        p = *end ? end + 1 : end;
    }
    return false;
}

int GetImageFilterIndex(const std::string& path, int mask)
{
    int filter = 0;
    for (int row = 0; row < kImageFileTypeCount; ++row)
    {
        if (!ImageTypeMatches(row, mask))
            continue;
        if (!IsGathering(row) && MatchesExtensionList(path, kImageFileTypes[row].patterns))
            return filter;
        ++filter;
    }
    return -1;
}

void AddImageExtension(std::string& path, int filterIndex, int mask)
{
    const int row = MatchingRowAt(filterIndex, mask);
    if (row < 0 || IsGathering(row) || MatchesExtensionList(path, kImageFileTypes[row].patterns))
        return;
    std::string first = kImageFileTypes[row].patterns;
    first = first.substr(0, first.find(';'));
    if (first.rfind("*.", 0) == 0)
        first.erase(0, 2);
    path.erase(ExtensionStart(path));
    path += '.';
    path += first;
}
