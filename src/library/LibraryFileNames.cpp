#include "library/LibraryFileNames.h"

#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "polytope4d/Polytope4DOptions.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>

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

namespace
{
void TrimTrailingSpace(std::string& text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
}
}  // namespace

std::string StripModelFileName(const char* source, bool keepExtension, const char* prefix)
{
    if (!source)
        return std::string();
    const size_t skip = prefix ? std::strlen(prefix) : 0;
    std::string name = std::strlen(source) > skip ? std::string(source + skip) : std::string();
    bool wasModelFile = false;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
    {
        wasModelFile = strcasecmp(name.c_str() + dot, ".orva") == 0;
        name.erase(dot);
    }
    TrimTrailingSpace(name);
    if (!name.empty() && name.back() == ')')
    {
        size_t i = name.size() - 1;
        while (i > 0)
        {
            const char c = name[i - 1];
            if (c == ';' || c == '/' || std::isdigit(static_cast<unsigned char>(c)) ||
                std::isspace(static_cast<unsigned char>(c)))
                --i;
            else
                break;
        }
        // i - 1 is the first character that is not part of the note.
        if (i > 1 && name[i - 1] == '(')
        {
            name.erase(i - 1);
            TrimTrailingSpace(name);
        }
    }
    if (keepExtension && wasModelFile)
        name += ".orva";
    return name;
}

bool IsModelFileWithPrefix(const char* path, const char* prefix)
{
    if (!path || !prefix)
        return false;
    const std::string name = GetFileNamePart(path);
    return strncasecmp(name.c_str(), prefix, std::strlen(prefix)) == 0;
}
