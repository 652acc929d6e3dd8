#pragma once

#include "kernel/Hyperplane.h"
#include "kernel/LinkNode.h"
#include "kernel/Mat4.h"
#include "kernel/Vec4D.h"
#include "polytope4d/FacePlane4D.h"

#include <cstdint>
#include <memory>

class Cell4D;
class CellNetRecord;
class Edge4D;
class Face4D;
class LocalVertexFigure;
class Polytope4D;
class Vert4D;

// Base of the four element kinds of a Polytope4D. Each element sits in its polytope's list of its
// kind; the factories of Polytope4D make them and the polytope deletes them.
class Element4D : public LinkNode<Element4D>
{
public:
    // Kinds (the low two bits of mFlags) and the flags read here.
    static constexpr uint32_t kKindMask = 0x3;
    static constexpr uint32_t kVertKind = 0;
    static constexpr uint32_t kEdgeKind = 1;
    static constexpr uint32_t kFaceKind = 2;
    static constexpr uint32_t kCellKind = 3;
    static constexpr uint32_t kMark = 0x4;  // scratch mark of part selection
    static constexpr uint32_t kHidden = 0x8;
    static constexpr uint32_t kCellNotShown = 0x20;  // a cell the view's cell hiding leaves out

    // Drops the program-wide selection and the owner's current element when they are this one.
    ~Element4D() override;

    static bool IsVert(const Element4D* e) { return e && (e->mFlags & kKindMask) == kVertKind; }
    static bool IsEdge(const Element4D* e) { return e && (e->mFlags & kKindMask) == kEdgeKind; }
    static bool IsFace(const Element4D* e) { return e && (e->mFlags & kKindMask) == kFaceKind; }
    static bool IsCell(const Element4D* e) { return e && (e->mFlags & kKindMask) == kCellKind; }
    static Vert4D* AsVert(Element4D* e);
    static Edge4D* AsEdge(Element4D* e);
    static Face4D* AsFace(Element4D* e);
    static Cell4D* AsCell(Element4D* e);
    // The number of elements before this one in its list, counted along the list.
    int CountPosition() const;

    Polytope4D* mOwner = nullptr;
    int32_t mIndex = 0;  // position in the owner's list, renumbered on demand
    uint32_t mFlags;
    uint32_t mColor = 0x8080FF;

protected:
    explicit Element4D(uint32_t kind) : mFlags(kind) {}
};

// Element type records: one class of alike elements, their members chained through mNextOfType.
template <class Elem, class Self>
class ElementType4D : public LinkNode<Self>
{
public:
    Elem* mFirst = nullptr;
    int32_t mCount = 0;

    // Pushes the element at the head of the member chain.
    void AddMember(Elem* elem)
    {
        elem->mType = static_cast<Self*>(this);
        elem->mNextOfType = mFirst;
        mFirst = elem;
        ++mCount;
    }
};

class VertType4D : public ElementType4D<Vert4D, VertType4D>
{
};
class EdgeType4D : public ElementType4D<Edge4D, EdgeType4D>
{
};
class FaceType4D : public ElementType4D<Face4D, FaceType4D>
{
};
class CellType4D : public ElementType4D<Cell4D, CellType4D>
{
public:
    double mVolume = 9.99999e99;
};

class Vert4D : public Element4D
{
public:
    Vert4D();

    static int GetIndex(const Vert4D* vert);
    static int GetNumber(const Vert4D* vert) { return GetIndex(vert) + 1; }
    // Its own colour while vertices are coloured like their dual faces, else the default vertex colour.
    static uint32_t GetColor(const Vert4D* vert);
    // Also colours the dual's cell of equal index; with no vertex, sets the default vertex colour.
    static void SetColor(Vert4D* vert, uint32_t color);
    // Also hides or shows the dual's cell of equal index.
    static void SetHidden(Vert4D* vert, bool hidden);
    // Hidden itself, or, while edges and vertices between hidden faces are hidden or a cell-hiding
    // mode is on, every cell around it is left out.
    static bool IsHidden(const Vert4D* vert);
    // The selected vertex follows (Select) while one is selected; else the vertex becomes current.
    static void MakeCurrent(Vert4D* vert);
    // Selects the vertex with the dual's cell of equal index and shows it; null clears the selection.
    static void Select(Vert4D* vert);

    // The other end of edge i.
    Vert4D* GetNeighbour(int i) const;
    Edge4D* FindEdgeTo(const Vert4D* other) const;
    // Its first edge whose ring holds the cell, with the ring slot in position.
    Edge4D* FindEdgeWithCell(const Cell4D* cell, int& position) const;
    int IndexOfCell(const Cell4D* cell) const;
    // Its face in which a, this vertex and b follow each other, in either direction.
    Face4D* FindFaceThrough(const Vert4D* a, const Vert4D* b) const;
    // One step around this vertex inside the cell: the face's other edge at the vertex, and the next
    // face of that edge in the cell (into face). Null when no face of the cell follows.
    Edge4D* NextEdgeInCell(const Edge4D* edge, const Cell4D* cell, Face4D*& face) const;

    Vec4D mPos;
    // Creation order in its polytope: orders the ends of edges the same way every run.
    uint64_t mSerial = 0;
    int32_t mNumFaces = 0;
    std::unique_ptr<Face4D*[]> mFaces;
    int32_t mNumEdges = 0;
    std::unique_ptr<Edge4D*[]> mEdges;
    int32_t mNumCells = 0;
    std::unique_ptr<Cell4D*[]> mCells;
    float mOpacity = 1.0f;
    VertType4D* mType = nullptr;
    // The construction from a vertex figure's record of this vertex; that construction owns it.
    LocalVertexFigure* mVertFigure = nullptr;
    Vert4D* mNextCoincident = nullptr;
    Vert4D* mNextOfType = nullptr;
};

class Edge4D : public Element4D
{
public:
    Edge4D();

    static int GetIndex(const Edge4D* edge);
    static int GetNumber(const Edge4D* edge) { return GetIndex(edge) + 1; }
    // The edge's colour; for no edge the default edge colour.
    static uint32_t GetColor(const Edge4D* edge);
    // Also colours the dual's face of equal index; with no edge, sets the default edge colour.
    static void SetColor(Edge4D* edge, uint32_t color);
    // As Vert4D::IsHidden over the cells of its ring.
    static bool IsHidden(const Edge4D* edge);
    // Selects the edge and shows it with its length; null clears the selection.
    static void Select(Edge4D* edge);

    Vert4D* GetOtherEnd(const Vert4D* vert) const { return vert == mVerts[0] ? mVerts[1] : mVerts[0]; }
    int IndexOfVert(const Vert4D* vert) const;
    int IndexOfFace(const Face4D* face) const;
    int IndexOfCell(const Cell4D* cell) const;
    double GetLengthSq() const;
    double GetLength() const;
    // Second end minus first end; returns the first end's position.
    const Vec4D& GetVector(Vec4D& out) const;
    // The point of the edge's line nearest the origin.
    void GetLine(Vec4D& out) const;

    Vert4D* mVerts[2] = {nullptr, nullptr};  // the earlier created vertex first
    int32_t mNumFaces = 0;
    std::unique_ptr<Face4D*[]> mFaces;
    std::unique_ptr<Cell4D*[]> mCells;  // slot i: the cell between faces i and i + 1
    EdgeType4D* mType = nullptr;
    Edge4D* mNextOfType = nullptr;
};

class Face4D : public Element4D
{
public:
    explicit Face4D(int numSides);

    static int GetIndex(const Face4D* face);
    static int GetNumber(const Face4D* face) { return GetIndex(face) + 1; }
    // Also colours the dual's edge of equal index; with no face, sets the default edge colour.
    static void SetColor(Face4D* face, uint32_t color);
    // Selects the face and shows it with its cells; null clears the selection.
    static void Select(Face4D* face);

    void SetVert(int i, Vert4D* vert);
    // Appends a cell, making room when the slots are full (a broken input can give a face more
    // cells than two).
    void AddCell(Cell4D* cell);
    // Takes the cell out, closing the gap; false when it is not one of the face's cells.
    bool RemoveCell(const Cell4D* cell);
    // Empties the cells and leaves room for max(slots, 2).
    void ResetCells(int slots);
    int GetNumCellSlots() const { return mNumCellSlots; }

    // Index of the vertex from position after + 1 on (after -1: all), -1 when absent.
    int FindVert(const Vert4D* vert, int after) const;
    // b's neighbour on the side away from a; null when b is absent or a is not next to it.
    Vert4D* GetNeighbourVert(const Vert4D* a, const Vert4D* b) const;
    int IndexOfEdge(const Edge4D* edge) const;
    bool SharesCellWith(const Face4D* face) const;
    // The cell after the given one in mCells, wrapping round up to the given cell itself. With a
    // view, hidden cells and cells the view leaves out are passed over. Null when the cell is not
    // one of the face's or nothing qualifies.
    Cell4D* GetNextCell(const Cell4D* cell, void* view) const;
    // Its first cell free of the mask bits that lies in the given cell's hyperplane; else, with
    // fallback, its first cell.
    Cell4D* GetCorealmicCell(Cell4D* cell, uint32_t mask, bool fallback) const;
    // The next face after position in the face list of vertex `side` that also has side `side`;
    // position receives its place, -1 when none.
    Face4D* NextFaceAroundEdge(int side, int& position) const;
    // Among the edge's other faces, the first that belongs to the cell.
    Face4D* GetOtherFaceInCell(const Cell4D* cell, const Edge4D* edge) const;
    // The other face of the cell with p once and q next to it; null when none, when two qualify or
    // when a face of the cell passes p twice.
    Face4D* FindNeighbourInCell(const Cell4D* cell, const Vert4D* p, const Vert4D* q) const;
    bool LiesInPlane(const Hyperplane& plane) const;
    bool LiesInCellPlane(const Cell4D* cell) const;
    void GetCentre(Vec4D& out) const;
    // The point of its 2-plane nearest the origin (its centre for fewer than three corners).
    void GetFootPoint(Vec4D& out) const;
    // Its area as a vector normal to the face within the cell's hyperplane, pointing out of the cell
    // for the face's first cell.
    void GetAreaVector(Vec4D& out, const Cell4D* cell) const;
    int GetMinVertTypeCount() const;
    // 2 x index, plus 1 for the second side: the selection item of one side of the face.
    int GetItemNumber(const Cell4D* cell) const;

    int32_t mNumSides;
    int32_t mNumWraps = 1;
    std::unique_ptr<Vert4D*[]> mVerts;
    std::unique_ptr<Edge4D*[]> mEdges;
    int32_t mNumCells = 0;  // two in a closed polytope
    std::unique_ptr<Cell4D*[]> mCells;  // mNumCellSlots slots, at least 2, unused ones null
    FaceType4D* mType = nullptr;
    FacePlane4D mPlane;
    Face4D* mNextOfType = nullptr;

private:
    int32_t mNumCellSlots = 0;
};

class Cell4D : public Element4D
{
public:
    static constexpr uint32_t kOrientationClash = 0x40;  // the orientation check contradicted itself here
    static constexpr uint32_t kThroughCentre = 0x80;

    explicit Cell4D(int numFaces);

    static int GetIndex(const Cell4D* cell);
    static int GetNumber(const Cell4D* cell) { return GetIndex(cell) + 1; }
    // Also colours the dual's vertex of equal index.
    static void SetColor(Cell4D* cell, uint32_t color);
    // Also hides or shows the dual's vertex of equal index.
    static void SetHidden(Cell4D* cell, bool hidden);
    // The selected cell follows (Select) while one is selected; else the cell becomes current.
    static void MakeCurrent(Cell4D* cell);
    // Selects the cell (null: clears the 4D selection), shows it in the status bar and redraws.
    static void Select(Cell4D* cell);

    // Values within 0.005 of 0 or 1 snap to it; keeps the owner's count of translucent cells.
    void SetOpacity(float opacity);
    // Stores face i, keeping the faces' cell lists right.
    void SetFace(int i, Face4D* face);
    // Appends a face to a cell begun empty; the face's cells are left alone (the completion fills
    // them from the cells).
    void AddFace(Face4D* face);
    // Makes room for at least that many faces, keeping the faces held.
    void ReserveFaces(int slots);
    bool HasFace(const Face4D* face) const { return IndexOfFace(face) >= 0; }
    // The cell across face i; null unless the face has exactly two cells.
    Cell4D* GetNeighbour(int i) const;
    int IndexOfVert(const Vert4D* vert) const;
    int IndexOfFace(const Face4D* face) const;
    // Both cells lie in one hyperplane (a cell without faces lies in any). Computes missing
    // hyperplanes of both.
    bool IsCorealmic(Cell4D* other);
    // Computes the hyperplane from the first face and the first vertex of a later face off its
    // plane, the normal pointing away from the origin; without force, a hyperplane already set is
    // kept. False, the hyperplane untouched, when the faces span none.
    bool SetPlaneEqn(bool force);
    // The signed 3-volume, by the orientation of its faces; its size also goes to its type.
    double GetVolume();
    // A unit normal never has a component of -2.
    bool HasPlane() const { return mPlane.n.x != -2.0; }
    // The point of its hyperplane nearest the origin.
    void GetFootPoint(Vec4D& out) const;
    // An orthonormal frame whose fourth column is the hyperplane's normal.
    void GetFrame(Mat4& out) const;
    // The pole of its hyperplane for the sphere of radius r; zero for a hyperplane through the centre.
    void GetPole(Vec4D& out, double r) const;

    int32_t mNumFaces;
    std::unique_ptr<Face4D*[]> mFaces;
    int32_t mNumEdges = 0;
    std::unique_ptr<Edge4D*[]> mEdges;
    int32_t mNumVerts = 0;
    std::unique_ptr<Vert4D*[]> mVerts;
    Vec4D mCentre;
    double mRadius = 0.0;
    Hyperplane mPlane;  // all -2 until computed
    float mOpacity = 1.0f;
    CellNetRecord* mNetRecord = nullptr;  // its placement in the net; the polytope's net data owns it
    CellType4D* mType = nullptr;
    Cell4D* mNextCorealmic = nullptr;
    Cell4D* mNextOfType = nullptr;

private:
    int32_t mNumFaceSlots = 0;
};

// One connected part of a polytope's cells.
class Part4D
{
public:
    static constexpr uint32_t kNotOrientable = 0x1;

    int GetEulerCharacteristic() const { return mNumVerts + mNumFaces - mNumEdges - mNumCells; }
    int GetGenus() const;

    Cell4D* mFirstCell = nullptr;
    double mVolume = 9.99999e99;
    uint32_t mFlags = 0;
    int32_t mNumCells = 0;
    int32_t mNumFaces = 0;
    int32_t mNumEdges = 0;
    int32_t mNumVerts = 0;
    Part4D* mNext = nullptr;
};

// The program-wide 4D selection: at most one element of each kind, null when none.
struct Selection4D
{
    Cell4D* mCell = nullptr;
    Face4D* mFace = nullptr;
    Edge4D* mEdge = nullptr;
    Vert4D* mVert = nullptr;
};
Selection4D& GetSelection4D();
