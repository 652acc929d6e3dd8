#pragma once

#include <cstdint>

class FaceVert;

// One connected part of a Poly, found by the compound-part search of the analysis. The Poly holds
// the parts as a singly linked list from its first part to its last and owns them.
class CompoundPart
{
public:
    // Flags (mFlags).
    static constexpr uint32_t kOneSided = 0x1;

    // vertices + faces - edges.
    int GetEulerCharacteristic() const { return mNumVerts + mNumFaces - mNumEdges; }
    // 2 - chi for a one-sided part, else (2 - chi) / 2.
    int GetGenus() const;
    // Deletes the list; both ends become null.
    static void FreeList(CompoundPart*& first, CompoundPart*& last);

    FaceVert* mFirstFace = nullptr;  // the face the search started from
    double mVolume = 0.0;
    uint32_t mFlags = 0;
    int32_t mNumFaces = 0;
    int32_t mNumVerts = 0;
    int32_t mNumEdges = 0;
    CompoundPart* mNext = nullptr;
    int32_t mSpare = 0;
};

// Walks over the faces and vertices of one part together (a face's neighbours are its corners, a
// vertex's its faces), breadth first, in a buffer with room for capacity elements; an overflow is
// an internal error and ends the walk.

// Orients the part from start on: each element's Reversed flag follows from its neighbour's and
// the vertex's record of which faces run against its turn; where no consistent choice exists the
// part is one-sided. Counts faces, vertices and side ends (twice the edges) into the part, sets
// ReverseNorm on elements of negative area, stores absolute areas in the face types, and answers
// the faces' sum of area times plane distance (three times the volume); the vertices' sum goes to
// vertSum. mixed: the faces' normals do not all face one way. Visited elements keep mark 0x100.
double FindCompoundPart(CompoundPart* part, FaceVert* start, FaceVert** buffer, int capacity, double& vertSum,
                        bool& mixed);
// Every element of the part gets OneSided and loses Reversed and ReverseNorm.
void MarkCompoundPartOneSided(FaceVert* start, FaceVert** buffer, int capacity);
// Turns the part's faces, its vertices or both inside out (Reversed and ReverseNorm toggled);
// visited elements keep mark 0x200.
void InvertCompoundPart(FaceVert* start, bool invertFaces, bool invertVerts, FaceVert** buffer, int capacity);
