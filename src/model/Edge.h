#pragma once

#include "kernel/Vec3D.h"
#include "model/PolyElement.h"

#include <array>
#include <cstdint>

class Face;
class Vert;

// An edge of a Poly: it joins two vertices and separates two faces; read as the dual edge it joins
// the two faces and separates the two vertices. Edges live in one array of the Poly, grouped by
// edge type, and are destroyed only with the whole array.
class Edge : public PolyElement
{
public:
    // Flags (mFlags).
    static constexpr uint32_t kMirrorFirst = 0x1;   // the type is the first of a mirror pair
    static constexpr uint32_t kMirrorSecond = 0x2;  // the type is the mirror image of the one before
    static constexpr uint32_t kSelfMirror = 0x4;    // the type is its own mirror image
    static constexpr uint32_t kHidden = 0x8;

    Edge();
    ~Edge() override;

    bool IsEdge() const override { return true; }
    Edge* AsEdge() override { return this; }

    // Position in the Poly's edge array; -1 for null. The number shown is the index + 1.
    static int GetIndex(const Edge* edge, const Poly* poly);
    static int GetNumber(const Edge* edge, const Poly* poly) { return GetIndex(edge, poly) + 1; }

    bool Touches(const PolyElement* element) const;
    // The other end; the first end when the given one is neither; null for null.
    static Vert* GetOtherVert(const Edge* edge, const Vert* vert);
    static Face* GetOtherFace(const Edge* edge, const Face* face);
    // The other vertex for a vertex, the other face for a face.
    FaceVert* GetOther(const FaceVert* element) const;
    // Ends and sides, read as the dual edge when dual is set.
    std::array<FaceVert*, 2> GetVerts(bool dual) const;
    std::array<FaceVert*, 2> GetFaces(bool dual) const;
    FaceVert* GetEnd(bool dual, int i) const;
    FaceVert* GetSide(bool dual, int i) const;

    // Geometry, the dual edge's with dual set. An end flagged Hemi is a direction.
    // From the first end to the second; an end at infinity gives its direction (both: their sum).
    Vec3D GetVector(bool dual) const;
    // -1 when an end lies at infinity.
    double GetLength(bool dual) const;
    // Unit vector halfway between the normals of the two sides; for sides facing opposite ways, the
    // normal in the first side's plane across the edge, away from the first side.
    Vec3D GetMidNormal(bool dual) const;
    // Foot of the perpendicular from the model centre onto the edge's line (the dual edge's line
    // for dual); 0 when the base edge's line passes through the centre.
    Vec3D GetFoot(bool dual) const;

    Vert* mVerts[2] = {nullptr, nullptr};
    Face* mFaces[2] = {nullptr, nullptr};
    uint32_t mFlags = 0;
    int32_t mType = -1;
};

// One edge type: its first edge and the number of its edges, which follow the first in the array.
struct EdgeType
{
    // Position in the Poly's edge-type array; -1 for null. The number shown is the index + 1.
    static int GetIndex(const EdgeType* type, const Poly* poly);
    static int GetNumber(const EdgeType* type, const Poly* poly) { return GetIndex(type, poly) + 1; }

    Edge* mFirstEdge = nullptr;
    int32_t mCount = 0;
};
