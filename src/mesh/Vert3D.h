#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class Edge3D;

// Bits of Vert3D::mFlags. The low six bits step back to the first vertex of the vertex's run.
inline constexpr uint32_t kVert3DRunOffsetMask = 0x3F;
inline constexpr uint32_t kVert3DCentre = 0x40;
inline constexpr uint32_t kVert3DOnAxis = 0x80;
inline constexpr uint32_t kVert3DAxisClass0 = 0x100;
inline constexpr uint32_t kVert3DAxisClass1 = 0x200;
inline constexpr uint32_t kVert3DRunStart = 0x400;

// One vertex of a Model3D, in the model's vertex array. The vertices of one orbit of the model's
// symmetry (a vertex type) follow each other as a run.
class Vert3D
{
public:
    // Pushes the edge onto the list of edges that start here (newest first).
    void AddEdge(Edge3D* edge);

    uint32_t mFlags = 0;
    Vec3D mPos;
    Edge3D* mFirstEdge = nullptr;
};
