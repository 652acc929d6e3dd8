#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>

class FaceType;
class StellationEdge;
class Vert3D;

// Bits of SegVert::mFlags.
inline constexpr uint32_t kSegVertCentre = 0x1;  // the diagram's centre on the axis: counts once
inline constexpr uint32_t kSegVertOnAxis = 0x2;  // a symmetry axis passes through it
inline constexpr uint32_t kSegVertAxisClass0 = 0x4;
inline constexpr uint32_t kSegVertAxisClass1 = 0x8;  // neither class bit: class 2
inline constexpr uint32_t kSegVertCounted = 0x10;    // visited while the used vertices are counted
inline constexpr uint32_t kSegVertUsed = 0x20;       // a vertex of the current stellation

// A vertex of a face type's stellation diagram. Its coincidence ring joins every diagram vertex
// that is the same point in space: its turned copies in the same diagram and the matching vertices
// of other types' diagrams. The type owns its two vertex lists, newest first.
class SegVert
{
public:
    // Prepended to the list, on no ring yet.
    SegVert(FaceType* faceType, double x, double y, SegVert*& list);
    SegVert(const SegVert&) = delete;
    SegVert& operator=(const SegVert&) = delete;

    // The real points the record stands for: 1 for the centre, the axes of its class for a vertex
    // on an axis, otherwise the rotations of the symmetry group.
    int GetNumCopies() const;
    // 0 for the centre, -1 off every axis, else the class of its axis (0, 1 or 2).
    int GetAxisClass() const;

    uint32_t mFlags = 0;
    FaceType* mFaceType;
    Vec2D mPos;
    SegVert* mCoincident = nullptr;
    Vert3D* mMeshVerts = nullptr;  // the first of its run of mesh vertices, set by the mesh builder
    SegVert* mNext;
    StellationEdge* mEdge = nullptr;  // an edge that starts here
};
