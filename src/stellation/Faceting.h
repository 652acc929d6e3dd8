#pragma once

#include "kernel/BigUInt.h"
#include "kernel/Duration.h"
#include "kernel/Mat3.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class FaceType;
class FaceVert;
class FacetingEdge;
class FacetingFace;
class FacetPlane;
class Poly;
class Polygon3D;
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

    // ---- The search ----

    // AddFace, and under Maintain Reflexibility the facet's mirror image at the same depth.
    void AddFaceWithMirror(FacetingFace* face);
    // The faces tried at the current depth (and their mirror images) become untried again.
    void ReleaseDepth();
    // Removes every facet and forgets which faces were tried; keepCounters keeps the counts and the
    // time. Nothing happens to an empty faceting unless forced.
    void Reset(bool force, bool keepCounters);
    // CanAddFace for the facet together with its mirror image when reflexibility is maintained.
    bool CanAddFaceWithMirror(const FacetingFace* face, uint32_t mask) const;
    // The open edge class with the fewest untried candidates; null when none may be chosen.
    FacetingEdge* ChooseOpenEdge() const;
    // The closed faceting meets the criterion's limits; an all-chiral faceting too small alone is
    // completed by its mirror images when they fit.
    bool IsComplete();
    // The next faceting under the criterion, resuming from the current one. False when there is
    // none (the search then starts over) or when the user cancelled (the state is kept).
    bool FindNext();
    // The previous faceting; only the isohedral search can step back.
    bool FindPrevious();
    // " label," per facet ("'" after a chiral one), cut with "..." to fit length characters.
    std::string ListCurrentFacets(size_t length) const;
    // The search state for the trace.
    std::string DumpState() const;
    // The facets of the current faceting become the model's drawn facets.
    void ShowCurrent();
    // The same for a list of facets.
    void ShowFacets(const std::vector<FacetingFace*>& facets);

    FacetingFace* GetFirstFace() const;
    FacetingFace* GetLastFace() const;

    // ---- Stepping (the arrow keys of the faceting panes) ----

    // Up: by the step mode, the next faceting, edge, plane or facet. False when nothing could be
    // prepared or found; true, doing nothing else, when preparing changed what is shown.
    bool StepNext();
    // Down: the same backwards.
    bool StepPrevious();
    bool GoToFirst();
    bool GoToLast();
    // The drawn facets become the model's own faces, one per face type.
    void UseModelFaces();
    // The edge or facet becomes the polygon being drawn and the current one; false for none.
    bool ShowEdge(FacetingEdge* edge);
    bool ShowPlane(FacetingFace* face);
    // The status-bar text of the current edge, plane or facet; empty when stepping facetings.
    std::string DescribeCurrent() const;
    // Prepares the faceting and finds the current plane or facet from the polygon being drawn;
    // changed says whether what is shown must change first.
    bool PrepareStepping(bool* changed);
    // The candidate plane holding the polygon (up to symmetry). Not in any: notFound, and the first
    // plane of lower height. matrix receives the rotation that maps the polygon's plane onto it.
    FacetPlane* FindPlaneOfPolygon(const Polygon3D* polygon, bool* notFound, Mat3* matrix) const;
    // The candidate facet the polygon is a copy of; with none, notFound and a facet of its plane.
    FacetingFace* FindFaceOfPolygon(const Polygon3D* polygon, bool* notFound) const;
    // Rebuilds the current faceting from the drawn facets; true when what is shown must change.
    bool SyncWithModelFacets();
    // The same, for a model file's drawn facets.
    bool SetFromDrawnFacets();

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
    bool mCancelled = false;  // the last FindNext ended by the user
    // Where a cancelled search stood, so that the next FindNext goes on from there exactly.
    bool mResume = false;
    bool mResumeBacktrack = false;
    FacetingFace* mPendingMirror = nullptr;

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
    bool FindNextIsohedral(bool backwards);
    // Adds the isohedral faceting of r alone or with its mirror image; false when it does not close.
    bool TryIsohedral(FacetingFace* r, bool backwards);
    bool AddAllMirrors();
    void RemoveMirrorHalf();
    void CountVertexType(const FaceVert* vert, int change);
};

// Text of the isohedral criterion's menu item, which FindPrevious refers the user to.
inline constexpr const char* kIsohedralCriterionText = "Isohedral";

// Counts every faceting of the faceting's model under the current criterion, resuming an
// enumeration that was cancelled, and shows the last one found. False when cancelled or when
// the faceting cannot be prepared.
bool EnumerateFacetings(Faceting* faceting);
// The enumeration's report: its counts and time, with a warning when it was not completed.
std::string FacetingEnumerationReport(const Faceting& faceting, bool completed);
// Enumerate Facetings: enumerates, reports and, after a completed run, zeroes the counters.
bool RunFacetingEnumeration(Faceting* faceting);

// The faceting settings with what changing them entails for the current model's facetings.
void SetFacetingCriteria(int criterion);
void SetFacetingOptions(int options, bool noReset);
void ToggleFacetingOption(int bit);
void ResetAllFacetings();
Faceting* GetCurrentFacetingCleared();

// The Faceting of the side the current model shows (the dual's while the dual is shown); null
// without a current model.
Faceting* GetCurrentFaceting();

// Stores the arrow keys' step mode and describes the current element under it.
void SetFacetingStepMode(int mode);
// The polygon being drawn has points and is a drawn facet: in the faceting mouse mode, or while
// the arrows step through edges, planes or facets.
bool FacetsExist(const Poly* poly, bool facetingMouseMode);
