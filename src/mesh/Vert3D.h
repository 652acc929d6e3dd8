#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class Edge3D;
class Model3D;

// Bits of Vert3D::mFlags. The low six bits step back to the first vertex of the vertex's run.
inline constexpr uint32_t kVert3DRunOffsetMask = 0x3F;
inline constexpr uint32_t kVert3DCentre = 0x40;
inline constexpr uint32_t kVert3DOnAxis = 0x80;
inline constexpr uint32_t kVert3DAxisClass0 = 0x100;
inline constexpr uint32_t kVert3DAxisClass1 = 0x200;
inline constexpr uint32_t kVert3DRunStart = 0x400;

// The largest back-offset: past it the offsets start again at 1.
inline constexpr int kVert3DMaxRunOffset = 62;

// One vertex of a Model3D, in the model's vertex array. The vertices of one orbit of the model's
// symmetry (a vertex type) follow each other as a run, sorted by Compare.
class Vert3D
{
public:
    // Pushes the edge onto the list of edges that start here (newest first).
    void AddEdge(Edge3D* edge);

    // Sort order of a run: x, then y, then z, a coordinate counting as smaller when it is more than
    // 1e-7 below the other. Two vertices in one place are an internal error and compare equal.
    static int Compare(const Vert3D& a, const Vert3D& b);

    // Position in the model's array; -1 for null.
    static int GetIndex(const Vert3D* vert, const Model3D* model);
    // 0 for the centre, -1 off every axis, else the class of its axis.
    int GetAxisClass() const;
    // Through the back-offsets; the vertex itself at a run's start.
    const Vert3D* GetRunStart() const;
    Vert3D* GetRunStart() { return const_cast<Vert3D*>(static_cast<const Vert3D*>(this)->GetRunStart()); }
    // The first vertex of the next run; null after the last.
    static Vert3D* GetNextType(Vert3D* vert, const Model3D* model);
    // Both exist and share their run.
    static bool IsSameType(const Vert3D* a, const Vert3D* b);

    uint32_t mFlags = 0;
    Vec3D mPos;
    Edge3D* mFirstEdge = nullptr;
};

// Sorts the count vertices from first as one run and gives them its marks: the run-start flag on
// the first, coordinates within 1e-7 of zero made exactly 0, and the back-offsets.
void FinishVertexRun(Vert3D* first, int count);
