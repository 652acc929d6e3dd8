#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/UnitSettings.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"

// The program-wide 4D selection and the current elements. One element of one kind is selected at a
// time, except that a selected vertex brings the dual's cell of equal index along.

namespace
{
// Model Info tree kinds.
constexpr int kTreeCell = 0;
constexpr int kTreeFace = 1;
constexpr int kTreeEdge = 2;
constexpr int kTreeVert = 3;

// 1-based place of a type record in its list; 0 without a type.
template <class Type>
int TypeNumber(const Type* type, const Type* first)
{
    if (!type)
        return 0;
    int n = 1;
    for (const Type* t = first; t; t = t->next, ++n)
    {
        if (t == type)
            return n;
    }
    return 0;
}

bool IsDualOwner(const Element4D* elem)
{
    return elem->mOwner && (elem->mOwner->mFlags & Polytope4D::kIsDual);
}

const char* SideWord(const Element4D* elem)
{
    return IsDualOwner(elem) ? "dual" : "base";
}

// The tree row of the element's type (0-based, -1 without a type) and whether it is the dual's.
template <class Type>
void SelectTreeRow(int kind, const Element4D* elem, const Type* type, const Type* firstType)
{
    GetShell().SelectInfoElementItem(kind, TypeNumber(type, firstType) - 1, IsDualOwner(elem) ? 1 : 0);
}
}  // namespace

void Cell4D::Select(Cell4D* cell)
{
    Selection4D& sel = GetSelection4D();
    Shell& shell = GetShell();
    if (cell != sel.mCell || sel.mFace || sel.mEdge || sel.mVert)
        shell.InvalidateAllViews(false, 0);
    sel.mFace = nullptr;
    sel.mEdge = nullptr;
    sel.mVert = nullptr;
    if (!cell)
    {
        shell.SelectInfoElementItem(kTreeCell, -1, 0);
        sel.mCell = nullptr;
        return;
    }
    Polytope4D* owner = cell->mOwner;
    if (owner)
        owner->mCurrentCell = cell;
    const CellType4D* firstType = owner ? owner->mFirstCellType : nullptr;
    SelectTreeRow(kTreeCell, cell, cell->mType, firstType);
    SetStatusText("Selected %s cell %d (type %d, %d-hedron)", SideWord(cell), GetNumber(cell),
                  TypeNumber(cell->mType, firstType), cell->mNumFaces);
    sel.mCell = cell;
    shell.UpdatePivotOfLastActiveView();
}

void Cell4D::MakeCurrent(Cell4D* cell)
{
    if (!cell)
        return;
    if (GetSelection4D().mCell)
    {
        Select(cell);
        return;
    }
    Polytope4D* owner = cell->mOwner;
    if (!owner || owner->mCurrentCell == cell)
        return;
    owner->mCurrentCell = cell;
    GetShell().InvalidateAllViews(false, 0);
}

void Face4D::Select(Face4D* face)
{
    Selection4D& sel = GetSelection4D();
    Shell& shell = GetShell();
    if (face != sel.mFace)
        shell.InvalidateAllViews(false, 0);
    Cell4D::Select(nullptr);
    if (!face)
    {
        shell.SelectInfoElementItem(kTreeFace, -1, 0);
        return;
    }
    Polytope4D* owner = face->mOwner;
    if (owner)
        owner->mCurrentFace = face;
    const FaceType4D* firstType = owner ? owner->mFirstFaceType : nullptr;
    SelectTreeRow(kTreeFace, face, face->mType, firstType);
    const Cell4D* first = face->mNumCells > 0 ? face->mCells[0] : nullptr;
    const Cell4D* second = face->mNumCells > 1 ? face->mCells[1] : nullptr;
    SetStatusText("Selected %s face %d (type %d, %d-gon, cells: %d, %d)", SideWord(face), GetNumber(face),
                  TypeNumber(face->mType, firstType), face->mNumSides, Cell4D::GetNumber(first),
                  Cell4D::GetNumber(second));
    sel.mFace = face;
    shell.UpdatePivotOfLastActiveView();
}

void Edge4D::Select(Edge4D* edge)
{
    Selection4D& sel = GetSelection4D();
    Shell& shell = GetShell();
    if (edge != sel.mEdge)
        shell.InvalidateAllViews(false, 0);
    Cell4D::Select(nullptr);
    if (!edge)
    {
        shell.SelectInfoElementItem(kTreeEdge, -1, 0);
        return;
    }
    Polytope4D* owner = edge->mOwner;
    if (owner)
        owner->mCurrentEdge = edge;
    const EdgeType4D* firstType = owner ? owner->mFirstEdgeType : nullptr;
    SelectTreeRow(kTreeEdge, edge, edge->mType, firstType);
    SetStatusText("Selected %s edge %d (type %d, %d faces), length %g", SideWord(edge), GetNumber(edge),
                  TypeNumber(edge->mType, firstType), edge->mNumFaces,
                  edge->GetLength() * GetUnitSettings().GetScale());
    sel.mEdge = edge;
    // Sphere and cylinder sizes may follow the selected edge.
    shell.ApplySphereCylinderSettings();
    shell.UpdatePivotOfLastActiveView();
}

void Vert4D::Select(Vert4D* vert)
{
    Selection4D& sel = GetSelection4D();
    Shell& shell = GetShell();
    if (vert != sel.mVert)
        shell.InvalidateAllViews(false, 0);
    Polytope4D* owner = vert ? vert->mOwner : nullptr;
    Polytope4D* dual = owner ? owner->mDual : nullptr;
    // A vertex is a cell of the dual: both are selected together.
    Cell4D::Select(dual ? dual->GetCell(GetIndex(vert)) : nullptr);
    if (!vert)
    {
        shell.SelectInfoElementItem(kTreeVert, -1, 0);
        return;
    }
    if (owner)
        owner->mCurrentVert = vert;
    const VertType4D* firstType = owner ? owner->mFirstVertType : nullptr;
    SelectTreeRow(kTreeVert, vert, vert->mType, firstType);
    SetStatusText("Selected %s vertex %d (type %d, %d edges)", SideWord(vert), GetNumber(vert),
                  TypeNumber(vert->mType, firstType), vert->mNumEdges);
    sel.mVert = vert;
    shell.ApplySphereCylinderSettings();
    shell.UpdatePivotOfLastActiveView();
}

void Vert4D::MakeCurrent(Vert4D* vert)
{
    if (!vert)
        return;
    if (GetSelection4D().mVert)
    {
        Select(vert);
        return;
    }
    Polytope4D* owner = vert->mOwner;
    if (!owner || owner->mCurrentVert == vert)
        return;
    owner->mCurrentVert = vert;
    GetShell().InvalidateAllViews(false, 0);
}
