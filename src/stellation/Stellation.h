#pragma once

#include "kernel/BigUInt.h"
#include "kernel/Duration.h"
#include "kernel/KitPalette.h"
#include "kernel/KitPanelShape.h"
#include "stellation/Faceting.h"
#include "stellation/MillerStackEntry.h"

#include <cstdint>
#include <memory>
#include <vector>

class ElemList;

// Set while the complexity question of a stellation build is open (the build driver's flag).
void SetComplexityWarningOpen(bool open);

class FaceType;
class FaceVert;
class Model3D;
class Poly;
class StellationCell;
class StellationCellLayer;
class StellationFacet;
class MillerGraph;

// Values of Stellation::mState.
inline constexpr int kStellationNotBuilt = 0;
inline constexpr int kStellationBuilt = 2;

// Estimates of the work of a build (Stellation::GetComplexity): above the first the user is asked
// first; the last is the cap.
inline constexpr int kComplexityAsk = 150000;
inline constexpr int kComplexityHigh = 1000000;
inline constexpr int kComplexityExtreme = 2500000;


// The stellation and faceting state of one side of a Poly. The Poly embeds two, side by side in an
// array: the face stellation (its own faces) and after it the vertex stellation (its vertices as
// the faces of the dual). Each owns its side's face types, the cells and layers of its stellation,
// the cached mesh of what it shows, and its side's Faceting.
class Stellation
{
public:
    Stellation(Poly* poly, bool dual);
    ~Stellation();
    Stellation(const Stellation&) = delete;
    Stellation& operator=(const Stellation&) = delete;

    // Drops the cached mesh, the stepping state, the layers and the cells, and either every face
    // type (as when the Poly's analysis starts again) or only the diagrams built on them; then
    // Reset.
    void Free(bool dropFaceTypes);
    // Back to not built, with every count and cached size unset. Keeping the face types marks the
    // build as declined, so that a failed build is not retried until the types are rebuilt; their
    // diagrams go.
    void Reset(bool dropFaceTypes);
    // Forgets the enumeration of stellations.
    void ResetEnumeration();

    bool IsDual() const { return mDual; }
    // From the face stellation the vertex stellation; none after it.
    Stellation* GetNext() { return mDual ? nullptr : this + 1; }
    // The list whose elements are this side's faces: the Poly's vertex list on the dual side.
    ElemList* GetFaceList() const;

    // Links the type at the tail of the side's list, which owns it from now on; answers it.
    FaceType* AppendFaceType(std::unique_ptr<FaceType> type);
    int GetNumFaceTypes() const { return mNumFaceTypes; }
    // Types that are not coplanar copies of another.
    int GetNumPlaneTypes() const;
    // Null outside 0..count-1.
    FaceType* GetFaceType(int n) const;

    // No stellation is built (or it is under construction), or no cell differs from the original
    // polyhedron; true for none.
    static bool IsOriginal(const Stellation* stellation);
    bool IsOriginal() const { return IsOriginal(this); }

    // Measures of the side's face types, each taken from the type's first face: its area (absolute
    // value) and its solid angle at the centre.
    void SetFaceAreas();
    void SetFaceTurnings();
    void CalcFaceTypeAreas() { SetFaceAreas(); }
    void CalcSolidAngles() { SetFaceTurnings(); }
    // The shortest and longest side over the first faces of the types into mShortestEdge and
    // mLongestEdge, once until the next reset (0 and 0 without sides). Outputs may be null.
    void CalcEdgeLengthRange(double* shortest = nullptr, double* longest = nullptr);
    // Halfway between the shortest and the longest side: the size of balls, tubes and labels.
    double GetMeanEdgeLength();

    // Each face type that is not a coplanar copy builds its face diagram from its first face.
    void CreateFaceDiagrams();

    // The first half of the stellation build, inside the caller's progress level (0 to 0.8 of it):
    // the stellation diagram of every face type, the links between the diagrams, the symmetric
    // facets, the coincidence rings of their vertices, and the diagrams lent to coplanar copies.
    // False after a cancel or an internal error, leaving what was built for Free.
    bool BuildDiagrams();
    // The sum over the types that are not coplanar copies of their lines.
    int GetNumDiagramLines() const;

    // How much work the build is: b (c^2 / 2 + 1) over the b plane types, with c the sum of the
    // group's rotations per turn of each type less 2; capped just above kComplexityExtreme.
    int GetComplexity() const;
    // While the complexity question of some build is open.
    static bool IsComplexityWarningOpen();
    // Whether a build of that complexity asks first, and the level the question names.
    static bool ComplexityNeedsQuestion(int complexity) { return complexity > kComplexityAsk; }
    static const char* GetComplexityLevelText(int complexity);

    // From the start of a build until the build driver returns, the stellation is under
    // construction: everything but the driver sees it as not built, because the progress display
    // lets redraws and idle work run in the middle of it.
    bool IsUnderConstruction() const { return mBuilding; }
    // Built, and not under construction.
    bool IsBuilt() const { return mState == kStellationBuilt && !mBuilding; }

    // The second half of the build: the cells, one record per symmetry class, in breadth-first
    // layers from the core, the outer infinite cell last; their axes and the original polyhedron.
    // Ends at the original polyhedron. False on cancel or failure.
    bool CreateCells();
    // The outer infinite cell, across every facet side that no cell took; false, with a message,
    // without cells.
    bool CreateOuterCell();
    // Gives the facet sides still without a cell the outer cell.
    bool FillMissingSides();
    // Marks the cells on symmetry axes (bits 7 to 9) and the core alone in layer 0.
    void MarkCellsAboveAxes();
    // Marks the facets on the original faces and the cells the original polyhedron is made of.
    void IdentifyOriginalCells();

    // ---- Queries: every cell count is 0, and every look-up null, until the stellation is built ----
    int GetNumCellLayers() const;
    // Cell records before the outer cell.
    int GetNumCellRecords() const;
    // Records before the outer cell that are not second of a chiral pair.
    int GetNumCellTypes() const;
    int GetNumReflexibleCellTypes() const;
    // Real cells: the copies the records stand for.
    int GetNumCellsTotal() const;
    int GetNumReflexibleCellsTotal() const;
    int GetNumIncludedCells() const;
    int GetNumExcludedCells() const;
    int GetNumIncludedCellsTotal() const;
    int GetMaxCellTypesPerLayer() const;
    // The Poly's symmetry group has reflections.
    bool IsReflexible() const;
    // Some element of the side's face list carries a face image.
    bool HasFaceImages() const;
    StellationCell* FindCell(int index) const;
    StellationCell* GetOuterCell() const;
    // The cached mesh exists and has nets.
    bool HasNets() const;

    // ---- Inclusion ----
    // Every cell back to whether it belongs to the original polyhedron.
    void ResetToOriginal();
    // Includes exactly the cells on an axis of the class (0, 1 or 2), as one undo step.
    void SelectCellsAboveAxis(int axisClass);
    // Includes exactly the unsupportable cells, as one undo step.
    void SelectUnsupportableCells();
    // Each cell's flag bit becomes whether it is included; cleared on every cell; whether every
    // cell's bit says whether it is included.
    void CopyIncludedToFlag(uint32_t bit);
    void ClearCellFlag(uint32_t bit);
    bool MatchesFlag(uint32_t bit) const;

    // ---- Stepping under the stellation criterion (StellationStepping.cpp) ----
    // Brings the stellation to one the criterion accepts when stepping is not ready; true when that
    // changed the stellation.
    bool InitStepping();
    void GoToCore();
    // Every cell; with valid then the last stellation the criterion accepts.
    bool GoToFinal(bool valid);
    // False after a wrap, or when the criterion cannot step this side.
    bool NextByCriteria();
    bool PreviousByCriteria();
    // Steps from the core to the wrap, counting into mNumStellations and mNumChirals under a
    // progress level. A cancel keeps the counters and the next run resumes; false then.
    bool CountStellations();

    // The cell is included and supported, and every other included cell is supported and has an
    // included cell above it.
    bool IsMonoacral(StellationCell* cell) const;
    // Marks with kCellVisited the cells reached from the cell through cells of that inclusion.
    void FloodFill(StellationCell* cell, bool included);
    bool IsConnected();
    // The outside reaches every excluded cell.
    bool HasNoInaccessibleCells();
    // Includes the excluded cells the outside does not reach; true when there were any.
    bool FillInaccessibleCells();
    // Includes the mirror partner of every included cell.
    void IncludeMirrorsOfIncluded();
    // Keeps the included cells that the cell's flood reaches, unless the rest is exactly the mirror
    // image of that part (a compound of a chiral part and its mirror image).
    void KeepConnectedPart(StellationCell* cell);

    // ---- Primary stellations (StellationPrimary.cpp) ----
    // No facet of a smaller index is its mirror image or lies across a non-mirror edge of it.
    static bool IsLowestAround(StellationFacet* facet);
    // Shows the stellation whose face is the facet's patch of the diagram, bounded by lines in
    // mirror planes; false when the patch reaches the rim of the diagram.
    bool ShowPrimaryStellation(StellationFacet* facet);
    StellationFacet* FindLowestUsedFacet() const;
    // Reflexible, with one face type or two that are each other's mirror image.
    bool CanHavePrimaryStellations() const;

    // ---- Kit parts of the side's polyhedron (once until the next reset) ----
    void CountKitParts();
    int GetNumKitPanels();

    // The face whose stellation diagram is shown. A new one starts its list's view measures afresh.
    void SetSelectedFace(FaceVert* face);
    FaceVert* GetSelectedFace() const { return mSelectedFace; }

    // The real copies of a record on an axis of the class (-1: on none) under the group of the
    // stellation's Poly: the poles of the class, or the rotations of the group; 1 without a group.
    static int CountCopies(const Stellation* stellation, int axisClass);

    // The cached mesh of the current stellation; the Stellation owns it. Dropped whenever the model
    // or its stellation changes.
    Model3D* PeekModel3D() const { return mModel3D.get(); }
    void SetModel3D(std::unique_ptr<Model3D> model);
    void DropModel3D();
    // The mesh, built when missing (under the wait cursor): from the side's faces while the
    // stellation is at the original polyhedron and the Poly allows it, else traced from the
    // stellation, which is built first. Nets come with withNets once they exist. Null when none can
    // be built, and while the complexity question of a build is open.
    Model3D* GetModel3D(bool withNets);
    // Whether the Poly's own faces make the side's mesh: a convex model, and on the base side also
    // one that is radially convex or does not intersect itself.
    bool UsesFaceMesh() const;
    // The largest distance of a vertex of the mesh from the centre (once until the next change),
    // and each face type's diagram radius with it; 0 without a mesh.
    double GetRadius();

    Poly* mPoly;
    int32_t mState = kStellationNotBuilt;
    bool mBuildDeclined = false;  // the build does nothing while set
    FaceVert* mSelectedFace = nullptr;
    FaceType* mFirstFaceType = nullptr;  // owned
    FaceType* mLastFaceType = nullptr;
    int32_t mNumFaceTypes = 0;
    StellationCell* mFirstCell = nullptr;  // owned, in creation order; the last is the outer cell
    StellationCell* mLastCell = nullptr;
    StellationCellLayer* mFirstLayer = nullptr;  // owned
    StellationCellLayer* mLastLayer = nullptr;
    int32_t mNumIncludedCells = 0;
    int32_t mNumUnmatchedChiralCells = 0;
    int32_t mNumChangedCells = 0;  // cells whose inclusion differs from the original polyhedron
    bool mSteppingReady = false;
    int32_t mNumUsedSegVerts = -1;  // not counted
    StellationCellLayer* mStepLayer = nullptr;
    double mShortestEdge = -1.0;  // not yet computed
    double mLongestEdge = -1.0;
    double mRadius = -1.0;
    int32_t mKitPanelCounts[kNumKitPanelKinds][kNumKitColors];
    int32_t mKitRods = -1;  // not counted
    int32_t mKitBalls = -1;
    std::unique_ptr<Model3D> mModel3D;
    Faceting mFaceting;
    StellationCell* mStepCell = nullptr;
    bool mMillerCounted = false;
    bool mMillerLimitReached = false;
    std::vector<MillerStackEntry> mMillerStack;
    StellationCell* mMillerLimitCell = nullptr;
    std::unique_ptr<MillerGraph> mMillerGraph;  // the records' adjacency while a search runs
    StellationCell* mHighestIncludedCell = nullptr;
    StellationCell* mMaxCellSoFar = nullptr;
    BigUInt mNumStellations;
    BigUInt mNumChirals;
    bool mCountInterrupted = false;  // a cancelled count stopped at a stellation it counted
    BigUInt mNumMillerExceptions;
    int32_t mMaxNumCells = -1;
    Duration mTimeTaken;
    Duration mStartSubTime;
    Duration mEndSubTime;
    Duration mEndTime;
    // Set by the analysis from the model's library entry.
    bool mLibraryFlag = false;
    // Why the current stellation cannot be built with the kit: one of the kit check's fixed
    // texts, or null.
    const char* mKitReason = nullptr;

    // Under construction by the build driver (not written to files).
    bool mBuilding = false;

private:
    void ClearStepping();
    bool IsPrimaryCandidate(StellationFacet* facet);
    // The next (or previous) primary stellation from the shown one; false past the end.
    bool StepPrimary(bool forward);
    bool InitPrimary();
    // Miller's rules (StellationMiller.cpp).
    void StartMillerSearch();
    bool InitMillerStepping();
    // False after the last stellation.
    bool NextMiller();
    // The part with its mirror image, counted as an exception; the next step goes on from the part.
    void ShowCompound(const std::vector<char>& part);
    // The shown stellation's cells to the trace, in runs.
    void TraceMillerStellation() const;
    void ApplyOriginalInclusion();
    // Includes exactly the cells whose flags hold all bits of want and none of unwanted, inside
    // an undo step.
    void SelectCellsByFlags(uint32_t want, uint32_t unwanted);

    bool mDual;
};
