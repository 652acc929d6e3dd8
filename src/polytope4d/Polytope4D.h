#pragma once

#include "polytope4d/Element4D.h"
#include "polytope4d/PointTree4D.h"

#include "kernel/View4D.h"

#include <cstdint>
#include <memory>
#include <vector>

// A 4D polytope held as lists of vertices, edges, polygon faces and cells, with its types, its
// connected parts and its current elements. Owned by the Poly that shows it, by a SimplePoly that
// hands it over, or by its base polytope when it is a dual.
class Polytope4D
{
public:
    // Flags (mFlags).
    static constexpr uint32_t kNoCellsFormed = 0x1;
    static constexpr uint32_t kVertIndicesValid = 0x2;
    static constexpr uint32_t kEdgeIndicesValid = 0x4;
    static constexpr uint32_t kFaceIndicesValid = 0x8;
    static constexpr uint32_t kCellIndicesValid = 0x10;
    static constexpr uint32_t kIsDual = 0x20;
    static constexpr uint32_t kNotClosed = 0x40;
    static constexpr uint32_t kPlanesPrepared = 0x80;
    static constexpr uint32_t kNotOrientable = 0x100;
    static constexpr uint32_t kNoFiniteDual = 0x200;
    static constexpr uint32_t kDualColored = 0x400;

    // Copy options.
    static constexpr int kCopyFinish = 1;
    static constexpr int kCopyWithoutPart = 2;
    static constexpr int kCopyOnlyPart = 4;
    static constexpr int kCopyEdges = 8;

    Polytope4D();
    ~Polytope4D();
    Polytope4D(const Polytope4D&) = delete;
    Polytope4D& operator=(const Polytope4D&) = delete;

    // Deletes every element, type and part (and the dual, unless this is one) and starts afresh.
    void Clear();

    // Factories: each links the new element at the tail of its list. A null position is the origin.
    Vert4D* NewVert(const Vec4D* pos);
    Edge4D* NewEdge(Vert4D* a, Vert4D* b);
    Face4D* NewFace(int numSides);
    Cell4D* NewCell(int numFaces);
    // A cell with room for four faces and none yet, filled by Cell4D::AddFace.
    Cell4D* NewEmptyCell();

    // Unlink and destroy the element. The index numbering of the kind stays valid only when the
    // element was the last of its list; a deleted current element hands over to the first one.
    // Deleting a vertex drops the point tree. The caller mends the references to the element.
    void DeleteVert(Vert4D* vert);
    void DeleteFace(Face4D* face);
    void DeleteCell(Cell4D* cell);

    // Element by 0-based index; null outside the list.
    Vert4D* GetVert(int i);
    Edge4D* GetEdge(int i);
    Face4D* GetFace(int i);
    Cell4D* GetCell(int i);
    // Numbers the list of a kind when its numbering is out of date.
    void EnsureIndices(uint32_t kind);

    // The selected element of the kind if any, else this polytope's current one; the dual's current
    // one when the current model shows its dual and own is false.
    Cell4D* GetCurrentCell(bool own);
    Face4D* GetCurrentFace(bool own);
    Edge4D* GetCurrentEdge(bool own);
    Vert4D* GetCurrentVert(bool own);

    // The dual once it has been made and linked; null when there is no finite dual.
    Polytope4D* GetDual();
    // The dual of a base polytope when it exists, without building it; null for a dual.
    Polytope4D* GetDualIfBuilt() const { return (mFlags & kIsDual) ? nullptr : mDual; }
    // The radius by which a model of the polytope is sized.
    static double GetRadius(const Polytope4D* polytope);
    int GetGenus() const;
    int GetNumParts() const;
    Part4D* GetPart(int n) const;

    // Positions, cell centres, radii and hyperplane offsets times the factor.
    void Scale(double factor);
    // Marks (kMark) the cells of the part that holds the current cell, and unless cellsOnly their
    // faces and vertices. False, with "Polytope only has one part", when several parts are required
    // and there are fewer.
    bool MarkParts(bool cellsOnly, bool requireSeveral);
    void ClearMarks();
    // A new polytope like the given one (see the copy options); null for null or a failed part choice.
    static std::unique_ptr<Polytope4D> Copy(Polytope4D* polytope, int options);
    // A new polytope holding both (the second at its own scale relative to the first).
    static std::unique_ptr<Polytope4D> MakeCompound(Polytope4D* first, Polytope4D* second, bool finish);
    void CopyColorsFromDual();

    // Completion: turns vertices and faces (and any cells given) into the whole polytope: cells,
    // edges with their rings, hyperplanes, types, parts, orientation, volumes and the radius of
    // reciprocation. False, with flag kNoCellsFormed, when no cells could be formed.
    bool FinishPolytope();
    // The steps of the completion, in their order.
    void DeleteDegenerateFaces();
    void CreateVertexFaceLists();
    void DeleteUnusedVertices();
    void Centralise();
    void Normalise();
    bool CreateCells();
    void SplitCompoundCells();
    void SplitCompoundVerts();
    void SetPlaneEqns(bool force);
    void SetNumWraps();
    void FindCoincidentVerts();
    void FindCorealmicCells();
    // Each type step does nothing while its type list exists.
    void SetCellTypes();
    void SetVertTypes();
    void SetFaceTypes();
    void SetEdgeTypes();
    void FindParts();
    void CheckOrientability();
    void CalcMidRadius();
    // The first member (with nearest, the one nearest w = 0) of the rarest cell or vertex type, for
    // the automatic projection direction; null without types.
    Element4D* FindRarestMember(bool nearest);

    // Element queries over the whole polytope.
    // The vertex within 1e-4 of pos in every coordinate: through the point tree when there is one,
    // else the first such in list order.
    Vert4D* FindVert(const Vec4D& pos) const;
    // The vertex at pos through the point tree (built from the vertex list when there is none), or a
    // new vertex there.
    Vert4D* FindOrCreateVert(const Vec4D& pos);
    // Drops the point tree; FindVert then walks the list.
    void DropPointTree() { mPointTree.reset(); }
    // The face and the cell of a selection item (Face4D::GetItemNumber); false, both null, when the
    // item names no side that has a cell.
    bool GetFaceAndCell(int item, Face4D*& face, Cell4D*& cell);
    // Triangulates every face of more than two sides in its plane, once unless forced.
    void PrepareFacePlanes(bool force);
    void ClearVertFlags(uint32_t mask);
    void ClearFaceFlags(uint32_t mask);
    void ClearCellFlags(uint32_t mask);
    // Finds the shortest and longest edge lengths once.
    void CalcEdgeLengthRange();
    double GetMeanEdgeLength();
    // Up to four vertices of the element that span it (for measurements); returns how many.
    int GetSpanningVerts(Vert4D* out[4], Element4D* element) const;

    // Drawing, through the scene drawer and the pane's 4D projection (Polytope4DDraw.cpp). scale is
    // the model's display scale times the caller's factor.
    void Draw(double scale);
    // The dual drawn the same way; nothing while it has not been made.
    void DrawDual(double scale);
    // One cell shrunk about its centre, or only the given face of it; m is the projection scale.
    void DrawCell(Cell4D* cell, double m, bool overlay, bool noFaceNames, Face4D* face);
    // The centre a cell shrinks about: its 4D centre in an orthogonal view, else its projection.
    void GetCellCentre3D(Vec4D& out, const Cell4D* cell, double m, const View4D& view) const;
    // The count the sphere radius rule takes for a polytope of that many edges.
    static int GetSphereSizeCount(int numEdges);
    // Marks (kCellNotShown) the cells the view's cell hiding leaves out.
    void MarkShownCells(const View4D& view, bool edgeOnAnswer);
    // The overlays of the program-wide selection when it belongs to this polytope.
    void DrawSelectedCell(double scale);
    void DrawSelectedFace(double scale);
    void DrawSelectedEdge(double scale);
    void DrawSelectedVertex(double scale);

    // Every cell takes its type's palette colour: the types in order take positions 0, 1, 2 ...
    // (a dual's -1, -2 ...); a built dual is coloured too.
    void ColorCellsByType();
    // Colours the cells by where they lie along d: one new palette colour per position, shared by
    // successive cells of one type at one position; the built dual too.
    void ColorCellsAlong(const Vec4D& d);

    // Viewing directions from the current elements (unit length); false without one.
    bool GetCellFirstDirection(Vec4D& out);
    bool GetFaceFirstDirection(Vec4D& out);
    bool GetEdgeFirstDirection(Vec4D& out);
    bool GetVertexFirstDirection(Vec4D& out);
    // Along the rarest vertex (its position) or cell (its normal); (1, 0, 0, 0) without types.
    void GetAutoProjectionDirection(Vec4D& out, bool nearest);
    // Hands a polytope that became the model to the panes, which turn to its automatic direction
    // while that switch is on; installed by the view layer.
    using PolytopeShownHook = void (*)(Polytope4D* polytope);
    static void SetPolytopeShownHook(PolytopeShownHook hook);
    static void NotifyPolytopeShown(Polytope4D* polytope);

    // Answers whether the current model shows its dual side; installed by the model layer.
    using ShowsDualQuery = bool (*)();
    static void SetShowsDualQuery(ShowsDualQuery query);
    // Answers whether a view shows a cell under its cell hiding; installed by the view layer. Without
    // one every cell is shown.
    using CellShownQuery = bool (*)(void* view, const Cell4D* cell);
    static void SetCellShownQuery(CellShownQuery query);
    static bool IsCellShown(void* view, const Cell4D* cell);

    uint32_t mFlags;
    int32_t mNumCells = 0;
    int32_t mNumFaces = 0;
    int32_t mNumEdges = 0;
    int32_t mNumVerts = 0;
    int32_t mNumTranslucentCells = 0;
    Element4D* mFirstVert = nullptr;
    Element4D* mLastVert = nullptr;
    Element4D* mFirstEdge = nullptr;
    Element4D* mLastEdge = nullptr;
    Element4D* mFirstFace = nullptr;
    Element4D* mLastFace = nullptr;
    Element4D* mFirstCell = nullptr;
    Element4D* mLastCell = nullptr;
    VertType4D* mFirstVertType = nullptr;
    VertType4D* mLastVertType = nullptr;
    EdgeType4D* mFirstEdgeType = nullptr;
    EdgeType4D* mLastEdgeType = nullptr;
    FaceType4D* mFirstFaceType = nullptr;
    FaceType4D* mLastFaceType = nullptr;
    CellType4D* mFirstCellType = nullptr;
    CellType4D* mLastCellType = nullptr;
    Part4D* mFirstPart = nullptr;
    Part4D* mLastPart = nullptr;
    Cell4D* mCurrentCell = nullptr;
    Face4D* mCurrentFace = nullptr;
    Edge4D* mCurrentEdge = nullptr;
    Vert4D* mCurrentVert = nullptr;
    double mScale = 1.0;      // the size before normalising
    double mMidRadius = 1.0;  // radius of reciprocation; also the size hint of models made from it
    double mVolume = 9.99999e99;
    double mMinEdgeLength = -1.0;
    double mMaxEdgeLength = -1.0;
    Polytope4D* mDual = nullptr;  // owned by a base polytope; in a dual, its base
    std::unique_ptr<PointTree4D> mPointTree;  // vertices by position, while FindOrCreateVert is used

private:
    void Init();
    // Unnamed completion steps.
    void MakeFirstElementsCurrent();
    void FillFaceCells();
    void FillCellVerts();
    void CreateEdges();
    void OrderEdgeRings(bool& reportedOpen);
    void FillEdgeArrays();
    void DeleteEdges();
    void DeleteParts();
    Element4D* ElementAt(uint32_t kind, int i);
    void DeleteElement(Element4D* elem, uint32_t kind);
    void BuildPointTree();

    uint64_t mNextVertSerial = 0;

    std::vector<Element4D*> mIndexArrays[4];
};
