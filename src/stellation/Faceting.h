#pragma once

#include "kernel/BigUInt.h"
#include "kernel/Duration.h"
#include "kernel/Mat3.h"

#include <cstdint>
#include <map>
#include <vector>

class FaceType;
class FaceVert;
class FacetingEdge;
class FacetingFace;
class FacetPlane;
class Poly;
class SymGroup;
struct FaceUse;
struct Vec3D;

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
    // Frees the use counts, the search stack, every edge and every plane (with its vertices, edges
    // and faces), then starts empty again.
    void Clear();

    // ---- Preparation ----

    // Prepares the candidate edges, planes and faces of the model's vertices, whose types start at
    // vertexTypes. False, leaving the faceting cleared, when the model has no symmetry group (with
    // no message), when the user cancels or when no candidate face is found.
    bool CreateFaceting(Poly* poly, FaceType* vertexTypes);
    // CreateFaceting for the current model, on the side this faceting belongs to.
    bool CreateForCurrentModel();
    // The group in force of the faceted model; null without one.
    SymGroup* GetGroup() const;
    // A vertex type whose vertices are faceted: not a coplanar copy, its first vertex neither at
    // infinity nor hidden.
    static bool IsVertexType(const FaceType* type);
    // A vertex that takes part: not at infinity, hidden or the duplicate of a coincident vertex of
    // its type.
    static bool IsCandidateVert(const FaceVert* vert);

    // The classes of vertex pairs, one representative each; false after a cancel.
    bool CreateEdges();
    // The first edge class that some rotation (the identity first) maps a-b onto, in either
    // direction; reversed says whether it was b-a. Null when none.
    FacetingEdge* FindEdge(const Vec3D& a, const Vec3D& b, bool* reversed = nullptr) const;
    // Sorts the edge classes and pairs each chiral one with its mirror image, which then follows it.
    void FindChiralEdges();
    // The planes through three or more vertices, one per class, with their vertices and edges,
    // sorted from the outermost in; false after a cancel.
    bool CreatePlanes();
    // d over the largest n.v of the model's vertices: 1 for a plane touching the outermost
    // vertices, 0 through the centre.
    double CalcPlaneHeight(const Vec3D& normal, double d) const;
    // The candidate faces of every plane, their mirror pairs and the edge classes' use lists;
    // planes without faces and edge classes without uses go. False after a cancel or with no face.
    bool CreateFaces();
    // Areas, angle sums, the order within each plane and the mirror pairs.
    bool FindChiralFaces();
    // Marks the faces with an edge in an outermost plane; false after a cancel.
    bool LabelSpikyFacets();

    // ---- The current faceting ----

    // Adds the facet: its edge classes are opened or closed, the vertex types and cycles it uses
    // counted.
    void AddFace(FacetingFace* face);
    // Undoes AddFace of the facet added last.
    void RemoveFace(FacetingFace* face);
    // Whether the facet may join the current faceting: none of the mask's flags, admissible edge
    // classes and, under the tidy criteria, no vertex shared with a facet in its plane.
    bool CanAddFace(const FacetingFace* face, uint32_t mask) const;
    void OpenEdge(FacetingEdge* edge, FaceUse* use);
    void CloseEdge(FacetingEdge* edge, FaceUse* use);
    void UnopenEdge(FacetingEdge* edge);

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

private:
    mutable std::vector<Mat3> mRotations;  // made when first asked for

    void RenumberEdges();
    // The planes made so far, by their offset d.
    using PlanesByOffset = std::multimap<double, const FacetPlane*>;
    bool IsKnownPlane(const PlanesByOffset& planes, const Vec3D& normal, double d) const;
    // The rotations of the group in its own order, the identity first: kept while prepared.
    const std::vector<Mat3>& GetRotations() const;
    // The reflection, or the central inversion, of the group that keeps the plane, as its flags.
    static void SetPlaneMirror(FacetPlane* plane, SymGroup& group);
    void UnlinkOpenEdge(FacetingEdge* edge);
    void CountVertexType(const FaceVert* vert, int change);
};

// The Faceting of the side the current model shows (the dual's while the dual is shown); null
// without a current model.
Faceting* GetCurrentFaceting();
