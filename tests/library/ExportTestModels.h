#pragma once

#include "model/SimplePoly.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The small models and text helpers of the export writers' tests.

inline uint32_t Packed(int r, int g, int b)
{
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

// The cube of edge 2 about the centre, corners counter-clockwise from outside; face f takes
// colors[f % size].
inline std::unique_ptr<SimplePoly> Cube(const std::vector<uint32_t>& colors)
{
    const Vec3D verts[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                            {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
    auto cube = std::make_unique<SimplePoly>(8, 6);
    for (int i = 0; i < 8; ++i)
        cube->mVerts[i].SetPos(verts[i]);
    for (int f = 0; f < 6; ++f)
    {
        SimpleFace& face = cube->mFaces[f];
        face.SetNumVerts(4);
        for (int k = 0; k < 4; ++k)
            face.SetVert(k, &cube->mVerts[faces[f][k]]);
        face.mColor = colors[size_t(f) % colors.size()];
    }
    cube->SetNormals(true);
    return cube;
}

// The lines of the file from the one equal to `from` on, up to the one equal to `to`.
inline std::vector<std::string> LinesBetween(const std::string& text, const std::string& from, const std::string& to)
{
    std::vector<std::string> lines;
    size_t start = 0;
    bool inside = false;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!inside && line == from)
            inside = true;
        if (!inside)
            continue;
        if (line == to)
            break;
        lines.push_back(line);
    }
    return lines;
}
