#include "library/LibraryFileNames.h"

#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "polytope4d/Polytope4DOptions.h"

#include <algorithm>

namespace
{
constexpr const char* kModelFileExtension = ".orva";
constexpr const char* kVertexFigurePrefix = "verf-of-";

void Replace(char* text, char from, char to)
{
    for (; text && *text; ++text)
    {
        if (*text == from)
            *text = to;
    }
}
}  // namespace

void ToSlashNames(char* text)
{
    Replace(text, ';', '/');
}

void ToSlashNames(std::string& text)
{
    std::replace(text.begin(), text.end(), ';', '/');
}

void ToSemicolonNames(char* text)
{
    Replace(text, '/', ';');
}

void ToSemicolonNames(std::string& text)
{
    std::replace(text.begin(), text.end(), '/', ';');
}

void StripModelFileExtension(std::string& path)
{
    const char* start = path.c_str();
    const char* extension = GetExtension(start);
    if (extension > start && CompareStringsNoCase(extension, kModelFileExtension) == 0)
        path.resize(size_t(extension - start));
}

void AddModelFileExtension(std::string& path)
{
    if (CompareStringsNoCase(GetExtension(path.c_str()), ".off") != 0)
        path += kModelFileExtension;
}

const char* GetLibraryFileDisplayName(const char* path)
{
    if (!path)
        return nullptr;
    const char* name = GetFileNamePart(path);
    if (GetAutoGeneratePolychora() && ComparePrefixNoCase(name, kVertexFigurePrefix) == 0)
        name += std::char_traits<char>::length(kVertexFigurePrefix);
    return name;
}
