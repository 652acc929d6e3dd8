#include "document/ModelFileNames.h"

#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "library/LibraryFileNames.h"
#include "library/SceneFile.h"
#include "library/SceneReader.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "platform/FileSettingsStore.h"

#include <cstdio>
#include <fstream>

namespace
{
bool HasExtension(const char* path, const char* extension)
{
    return CompareStringsNoCase(GetExtension(path), extension) == 0;
}

// A line that is neither blank nor a comment.
bool ReadCountedLine(std::ifstream& in, std::string& line)
{
    while (std::getline(in, line))
    {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start != std::string::npos && line[start] != '#')
            return true;
    }
    return false;
}

// "8 cells, 24 faces, 32 edges, 16 vertices", cells and edges only when there are any.
std::string CountsText(int cells, int faces, int edges, int verts)
{
    char buffer[160];
    std::string text;
    if (cells > 0)
    {
        std::snprintf(buffer, sizeof buffer, "%d cells, ", cells);
        text += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%d faces, ", faces);
    text += buffer;
    if (edges > 0)
    {
        std::snprintf(buffer, sizeof buffer, "%d edges, ", edges);
        text += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%d vertices", verts);
    text += buffer;
    return text;
}
}  // namespace

bool IsModelFileName(const char* path)
{
    if (!path)
        return false;
    const char* extension = GetExtension(path);
    const std::string filter = kModelFileFilter;
    size_t start = 0;
    while (start <= filter.size())
    {
        size_t end = filter.find(';', start);
        if (end == std::string::npos)
            end = filter.size();
        std::string pattern = filter.substr(start, end - start);
        if (!pattern.empty() && pattern[0] == '*')
            pattern.erase(0, 1);
        if (!pattern.empty() && CompareStringsNoCase(extension, pattern.c_str()) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool ModelFileInfoText(const char* path, std::string& text)
{
    if (!path || !PathExists(path) || FolderExists(path))
    {
        text = "Select a model to see info about it";
        return false;
    }
    if (IsModelFileName(path))
    {
        // Only the header is read: the scene's name and its counts.
        SceneFileInfo info;
        Poly poly;
        PolyTemplate templ;
        if (!ReadSceneFile(path, &poly, &templ, kSceneHeaderOnly | kSceneNoMessages, &info, nullptr, nullptr))
        {
            text = "Can't read this model file";
            return false;
        }
        std::string name = info.baseName;
        if (IsBlank(name))
        {
            name = GetFileNamePart(path);
            StripModelFileExtension(name);
        }
        text = name + "\n" + CountsText(info.numCells, info.numFaces, info.numEdges, info.numVerts);
        return true;
    }
    if (!HasExtension(path, ".off"))
    {
        text = "Select a .orva or .off file to see info about it";
        return false;
    }
    std::ifstream in(path);
    std::string header;
    std::string counts;
    int verts = 0;
    int faces = 0;
    int edges = 0;
    int cells = 0;
    if (!ReadCountedLine(in, header) || !ReadCountedLine(in, counts) ||
        std::sscanf(counts.c_str(), "%d %d %d %d", &verts, &faces, &edges, &cells) < 2)
    {
        text = "Can't read the numbers of faces and vertices in this .off file";
        return false;
    }
    text = CountsText(cells, faces, edges, verts);
    return true;
}

std::string DefaultScenePath()
{
    return GetFolderPart(SettingsFilePath().c_str()) + "Default.orva";
}
