#pragma once

#include "kernel/BigUInt.h"
#include "kernel/Duration.h"

#include <cstdint>
#include <vector>

class FaceType;
class FacetingEdge;
class FacetingFace;
class FacetPlane;
class Poly;
struct FaceUse;

// The faceting state of one side of a Poly: the candidate edges, planes and faces prepared once for
// the model shown on that side, and the search state of the current faceting. Its vertex types are
// the face types of the other side (a vertex of a model is a face of its dual). Each Stellation
// embeds one.
class Faceting
{
public:
    // One depth of the faceting search: the open edge chosen there and the next face use to try.
    struct StackEntry
    {
        FacetingEdge* mEdge = nullptr;
        FaceUse* mNextUse = nullptr;
    };

    explicit Faceting(Poly* poly);
    ~Faceting();
    Faceting(const Faceting&) = delete;
    Faceting& operator=(const Faceting&) = delete;

    // Every count and list empty, no search depth (-1), the counters and the time zero; owns
    // nothing it held before (Clear frees that first).
    void Init();
    // Frees the use counts, the search stack and every edge, then starts empty again.
    void Clear();

    Poly* mPoly;
    FaceType* mVertexTypes = nullptr;
    int32_t mNumVertexTypes = 0;  // not counting coplanar copies
    int32_t mNumVertexTypesUsed = 0;
    std::vector<int32_t> mVertexTypeUses;  // by vertex type index: facet edges ending there
    int32_t mNumEdges = 0;
    int32_t mNumOpenEdges = 0;
    int32_t mNumPlanes = 0;
    int32_t mNumFaces = 0;
    int32_t mNumFacets = 0;  // facet types of the current faceting
    int32_t mNumUnmatchedChirals = 0;
    int32_t mUnitingFace = -1;  // search depth; -1 after preparation
    bool mIsChiralCompound = false;

    FacetingEdge* mFirstEdge = nullptr;  // owned, sorted
    FacetingEdge* mLastEdge = nullptr;
    FacetingEdge* mFirstOpenEdge = nullptr;
    FacetingEdge* mLastOpenEdge = nullptr;
    FacetingEdge* mCurrentEdge = nullptr;
    FacetPlane* mFirstPlane = nullptr;
    FacetPlane* mLastPlane = nullptr;
    FacetingFace* mFirstFacet = nullptr;  // the current faceting, in the order added
    FacetingFace* mLastFacet = nullptr;
    FacetingFace* mCurrentFace = nullptr;  // the plane or facet shown while stepping
    std::vector<StackEntry> mStack;

    BigUInt mTotalCount;
    BigUInt mChiralCount;
    BigUInt mCompoundCount;
    Duration mTime;
};
