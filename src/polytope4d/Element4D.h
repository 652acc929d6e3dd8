#pragma once

#include "kernel/Hyperplane.h"
#include "kernel/LinkNode.h"
#include "kernel/Vec4D.h"

#include <cstdint>
#include <memory>

class Cell4D;
class Edge4D;
class Face4D;
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

    // Drops the program-wide selection and the owner's current element when they are this one.
    ~Element4D() override;

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
    // Its own colour while vertices are coloured like their dual faces, else the default vertex colour.
    static uint32_t GetColor(const Vert4D* vert);

    Vec4D mPos;
    int32_t mNumFaces = 0;
    std::unique_ptr<Face4D*[]> mFaces;
    int32_t mNumEdges = 0;
    std::unique_ptr<Edge4D*[]> mEdges;
    int32_t mNumCells = 0;
    std::unique_ptr<Cell4D*[]> mCells;
    float mOpacity = 1.0f;
    VertType4D* mType = nullptr;
    Vert4D* mNextCoincident = nullptr;
    Vert4D* mNextOfType = nullptr;
};

class Edge4D : public Element4D
{
public:
    Edge4D();

    static int GetIndex(const Edge4D* edge);
    // The edge's colour; for no edge the default edge colour.
    static uint32_t GetColor(const Edge4D* edge);

    Vert4D* mVerts[2] = {nullptr, nullptr};  // in ascending address order
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
    void SetVert(int i, Vert4D* vert);

    int32_t mNumSides;
    int32_t mNumWraps = 1;
    std::unique_ptr<Vert4D*[]> mVerts;
    std::unique_ptr<Edge4D*[]> mEdges;
    int32_t mNumCells = 0;               // cells that use the face (at most two in a closed polytope)
    Cell4D* mCells[2] = {nullptr, nullptr};
    FaceType4D* mType = nullptr;
    Face4D* mNextOfType = nullptr;
};

class Cell4D : public Element4D
{
public:
    explicit Cell4D(int numFaces);

    static int GetIndex(const Cell4D* cell);
    // Stores face i, keeping the faces' cell lists right.
    void SetFace(int i, Face4D* face);
    // The cell across face i; null when the face has no other cell.
    Cell4D* GetNeighbour(int i) const;
    // Selects the cell (null: clears the 4D selection), shows it in the status bar and redraws.
    static void Select(Cell4D* cell);

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
    CellType4D* mType = nullptr;
    Cell4D* mNextCorealmic = nullptr;
    Cell4D* mNextOfType = nullptr;
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
