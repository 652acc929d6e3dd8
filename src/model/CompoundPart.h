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
