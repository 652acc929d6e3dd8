#include "polytope4d/Element4D.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UserServices.h"
#include "model/ElementDisplayOptions.h"
#include "polytope4d/Polytope4D.h"

#include <cstdio>
#include <new>

namespace
{
// 1-based place of a type record in its owner's list; 0 without a type.
template <class Type>
int TypeNumber(const Type* type, const Type* first)
{
    int n = 1;
    for (const Type* t = first; t; t = static_cast<const Type*>(t->next), ++n)
    {
        if (t == type)
            return n;
    }
    return 0;
}

int IndexIn(const Element4D* elem, uint32_t kind)
{
    if (!elem)
        return -1;
    if (elem->mOwner)
        elem->mOwner->EnsureIndices(kind);
    return elem->mIndex;
}
}  // namespace

Selection4D& GetSelection4D()
{
    static Selection4D selection;
    return selection;
}

Element4D::~Element4D()
{
    Selection4D& sel = GetSelection4D();
    switch (mFlags & kKindMask)
    {
    case kVertKind:
        if (sel.mVert == this)
            sel.mVert = nullptr;
        if (mOwner && mOwner->mCurrentVert == this)
            mOwner->mCurrentVert = nullptr;
        break;
    case kEdgeKind:
        if (sel.mEdge == this)
            sel.mEdge = nullptr;
        if (mOwner && mOwner->mCurrentEdge == this)
            mOwner->mCurrentEdge = nullptr;
        break;
    case kFaceKind:
        if (sel.mFace == this)
            sel.mFace = nullptr;
        if (mOwner && mOwner->mCurrentFace == this)
            mOwner->mCurrentFace = nullptr;
        break;
    default:
        if (sel.mCell == this)
            sel.mCell = nullptr;
        if (mOwner && mOwner->mCurrentCell == this)
            mOwner->mCurrentCell = nullptr;
        break;
    }
}

Vert4D::Vert4D() : Element4D(kVertKind)
{
    mColor = ColorToRGB(GetElementDisplayOptions().mDefaultVertColor);
}

int Vert4D::GetIndex(const Vert4D* vert)
{
    return IndexIn(vert, kVertKind);
}

uint32_t Vert4D::GetColor(const Vert4D* vert)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    if (vert && options.mColorVertsSameAsDualFace)
        return vert->mColor;
    return ColorToRGB(options.mDefaultVertColor);
}

Edge4D::Edge4D() : Element4D(kEdgeKind)
{
    mColor = ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor);
}

int Edge4D::GetIndex(const Edge4D* edge)
{
    return IndexIn(edge, kEdgeKind);
}

uint32_t Edge4D::GetColor(const Edge4D* edge)
{
    return edge ? edge->mColor : ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor);
}

Face4D::Face4D(int numSides) : Element4D(kFaceKind), mNumSides(numSides > 0 ? numSides : 0)
{
    mColor = ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor);
    if (mNumSides > 0)
    {
        mVerts.reset(new (std::nothrow) Vert4D*[mNumSides]());
        mEdges.reset(new (std::nothrow) Edge4D*[mNumSides]());
        if (!mVerts || !mEdges)
            mNumSides = 0;
    }
}

int Face4D::GetIndex(const Face4D* face)
{
    return IndexIn(face, kFaceKind);
}

void Face4D::SetVert(int i, Vert4D* vert)
{
    if (i >= 0 && i < mNumSides)
        mVerts[i] = vert;
}

Cell4D::Cell4D(int numFaces) : Element4D(kCellKind), mNumFaces(numFaces > 0 ? numFaces : 0)
{
    mColor = 0x0000FF;
    mPlane.n = Vec4D{-2.0, -2.0, -2.0, -2.0};
    mPlane.d = -2.0;
    if (mNumFaces > 0)
    {
        mFaces.reset(new (std::nothrow) Face4D*[mNumFaces]());
        if (!mFaces)
            mNumFaces = 0;
    }
}

int Cell4D::GetIndex(const Cell4D* cell)
{
    return IndexIn(cell, kCellKind);
}

void Cell4D::SetFace(int i, Face4D* face)
{
    if (i < 0 || i >= mNumFaces)
        return;
    if (Face4D* old = mFaces[i])
    {
        for (Cell4D*& slot : old->mCells)
        {
            if (slot == this)
            {
                slot = nullptr;
                --old->mNumCells;
                break;
            }
        }
        if (!old->mCells[0] && old->mCells[1])
            std::swap(old->mCells[0], old->mCells[1]);
    }
    mFaces[i] = face;
    if (face)
    {
        if (face->mNumCells < 2)
            face->mCells[face->mNumCells] = this;
        ++face->mNumCells;
    }
}

Cell4D* Cell4D::GetNeighbour(int i) const
{
    if (i < 0 || i >= mNumFaces || !mFaces[i])
        return nullptr;
    const Face4D* face = mFaces[i];
    if (face->mCells[0] == this)
        return face->mCells[1];
    return face->mCells[1] == this ? face->mCells[0] : nullptr;
}

void Cell4D::Select(Cell4D* cell)
{
    Selection4D& sel = GetSelection4D();
    if (cell != sel.mCell || sel.mFace || sel.mEdge || sel.mVert)
        GetShell().InvalidateAllViews(false, 0);
    sel.mFace = nullptr;
    sel.mEdge = nullptr;
    sel.mVert = nullptr;
    if (!cell)
    {
        GetShell().SelectInfoElementItem(0, -1, 0);
        sel.mCell = nullptr;
        return;
    }
    Polytope4D* owner = cell->mOwner;
    const bool isDual = owner && (owner->mFlags & Polytope4D::kIsDual);
    const int type = owner ? TypeNumber(cell->mType, owner->mFirstCellType) : 0;
    if (owner)
        owner->mCurrentCell = cell;
    GetShell().SelectInfoElementItem(0, type - 1, isDual ? 1 : 0);
    char text[160];
    std::snprintf(text, sizeof text, "Selected %s cell %d (type %d, %d-hedron)", isDual ? "dual" : "base",
                  GetIndex(cell) + 1, type, cell->mNumFaces);
    Services().SetStatusText(text);
    sel.mCell = cell;
    GetShell().UpdatePivotOfLastActiveView();
}

int Part4D::GetGenus() const
{
    const int chi = GetEulerCharacteristic();
    return (mFlags & kNotOrientable) ? -chi : -chi / 2;
}
