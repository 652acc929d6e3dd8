#include "polytope4d/Element4D.h"

#include "kernel/ColorRGB.h"
#include "model/ElementDisplayOptions.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"

#include <algorithm>
#include <new>

namespace
{
int IndexIn(const Element4D* elem, uint32_t kind)
{
    if (!elem)
        return -1;
    if (elem->mOwner)
        elem->mOwner->EnsureIndices(kind);
    return elem->mIndex;
}

// The dual's element standing for elem: vertex and cell, edge and face swap.
Element4D* DualCounterpart(const Element4D* elem)
{
    Polytope4D* dual = elem->mOwner ? elem->mOwner->mDual : nullptr;
    if (!dual)
        return nullptr;
    switch (elem->mFlags & Element4D::kKindMask)
    {
    case Element4D::kVertKind:
        return dual->GetCell(Vert4D::GetIndex(static_cast<const Vert4D*>(elem)));
    case Element4D::kEdgeKind:
        return dual->GetFace(Edge4D::GetIndex(static_cast<const Edge4D*>(elem)));
    case Element4D::kFaceKind:
        return dual->GetEdge(Face4D::GetIndex(static_cast<const Face4D*>(elem)));
    default:
        return dual->GetVert(Cell4D::GetIndex(static_cast<const Cell4D*>(elem)));
    }
}

void SetColorMirrored(Element4D* elem, uint32_t color)
{
    elem->mColor = color;
    if (Element4D* other = DualCounterpart(elem))
        other->mColor = color;
}

void SetHiddenMirrored(Element4D* elem, bool hidden)
{
    for (Element4D* e : {elem, DualCounterpart(elem)})
    {
        if (!e)
            continue;
        if (hidden)
            e->mFlags |= Element4D::kHidden;
        else
            e->mFlags &= ~Element4D::kHidden;
    }
}

// Whether the cells around an element that is not hidden itself hide it: only while edges and
// vertices between hidden faces are hidden or a cell-hiding mode is on, and then when every cell
// is left out (with the first, also when hidden). Null cells are passed over.
bool HiddenByCells(Cell4D* const* cells, int count)
{
    const bool betweenHidden = GetElementDisplayOptions().mHideBetweenHiddenFaces;
    if (!betweenHidden && GetCellHidingMode4D() == kCellHidingNone)
        return false;
    const uint32_t leftOut = Element4D::kCellNotShown | (betweenHidden ? Element4D::kHidden : 0);
    for (int i = 0; i < count; ++i)
    {
        if (cells[i] && !(cells[i]->mFlags & leftOut))
            return false;
    }
    return true;
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

Vert4D* Element4D::AsVert(Element4D* e)
{
    return IsVert(e) ? static_cast<Vert4D*>(e) : nullptr;
}

Edge4D* Element4D::AsEdge(Element4D* e)
{
    return IsEdge(e) ? static_cast<Edge4D*>(e) : nullptr;
}

Face4D* Element4D::AsFace(Element4D* e)
{
    return IsFace(e) ? static_cast<Face4D*>(e) : nullptr;
}

Cell4D* Element4D::AsCell(Element4D* e)
{
    return IsCell(e) ? static_cast<Cell4D*>(e) : nullptr;
}

int Element4D::CountPosition() const
{
    int n = 0;
    for (const Element4D* e = prev; e; e = e->prev)
        ++n;
    return n;
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

void Vert4D::SetColor(Vert4D* vert, uint32_t color)
{
    if (!vert)
        ColorFromRGB(GetElementDisplayOptions().mDefaultVertColor, color);
    else
        SetColorMirrored(vert, color);
}

void Vert4D::SetHidden(Vert4D* vert, bool hidden)
{
    if (vert)
        SetHiddenMirrored(vert, hidden);
}

bool Vert4D::IsHidden(const Vert4D* vert)
{
    if (!vert)
        return false;
    if (vert->mFlags & kHidden)
        return true;
    return HiddenByCells(vert->mCells.get(), vert->mNumCells);
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

void Edge4D::SetColor(Edge4D* edge, uint32_t color)
{
    if (!edge)
        ColorFromRGB(GetElementDisplayOptions().mDefaultEdgeColor, color);
    else
        SetColorMirrored(edge, color);
}

bool Edge4D::IsHidden(const Edge4D* edge)
{
    if (!edge)
        return false;
    if (edge->mFlags & kHidden)
        return true;
    return HiddenByCells(edge->mCells.get(), edge->mCells ? edge->mNumFaces : 0);
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
    ResetCells(2);
}

int Face4D::GetIndex(const Face4D* face)
{
    return IndexIn(face, kFaceKind);
}

void Face4D::SetColor(Face4D* face, uint32_t color)
{
    if (!face)
        ColorFromRGB(GetElementDisplayOptions().mDefaultEdgeColor, color);
    else
        SetColorMirrored(face, color);
}

void Face4D::SetVert(int i, Vert4D* vert)
{
    if (i >= 0 && i < mNumSides)
        mVerts[i] = vert;
}

void Face4D::ResetCells(int slots)
{
    mNumCells = 0;
    mNumCellSlots = 0;
    mCells.reset(new (std::nothrow) Cell4D*[std::max(slots, 2)]());
    if (mCells)
        mNumCellSlots = std::max(slots, 2);
}

void Face4D::AddCell(Cell4D* cell)
{
    if (mNumCells >= mNumCellSlots)
    {
        const int slots = std::max(2 * mNumCellSlots, 2);
        std::unique_ptr<Cell4D*[]> grown(new (std::nothrow) Cell4D*[slots]());
        if (!grown)
            return;
        std::copy(mCells.get(), mCells.get() + mNumCells, grown.get());
        mCells = std::move(grown);
        mNumCellSlots = slots;
    }
    mCells[mNumCells++] = cell;
}

bool Face4D::RemoveCell(const Cell4D* cell)
{
    Cell4D** end = mCells.get() + mNumCells;
    Cell4D** slot = std::find(mCells.get(), end, cell);
    if (slot == end)
        return false;
    std::copy(slot + 1, end, slot);
    mCells[--mNumCells] = nullptr;
    return true;
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
    mNumFaceSlots = mNumFaces;
}

int Cell4D::GetIndex(const Cell4D* cell)
{
    return IndexIn(cell, kCellKind);
}

void Cell4D::SetColor(Cell4D* cell, uint32_t color)
{
    if (cell)
        SetColorMirrored(cell, color);
}

void Cell4D::SetHidden(Cell4D* cell, bool hidden)
{
    if (cell)
        SetHiddenMirrored(cell, hidden);
}

void Cell4D::SetOpacity(float opacity)
{
    if (opacity > 0.995f)
        opacity = 1.0f;
    else if (opacity < 0.005f)
        opacity = 0.0f;
    if (opacity == mOpacity)
        return;
    if (mOwner)
    {
        if (mOpacity < 1.0f)
            --mOwner->mNumTranslucentCells;
        if (opacity < 1.0f)
            ++mOwner->mNumTranslucentCells;
    }
    mOpacity = opacity;
}

void Cell4D::SetFace(int i, Face4D* face)
{
    if (i < 0 || i >= mNumFaces)
        return;
    if (Face4D* old = mFaces[i])
        old->RemoveCell(this);
    mFaces[i] = face;
    if (face)
        face->AddCell(this);
}

void Cell4D::ReserveFaces(int slots)
{
    if (slots <= mNumFaceSlots)
        return;
    std::unique_ptr<Face4D*[]> grown(new (std::nothrow) Face4D*[slots]());
    if (!grown)
        return;
    std::copy(mFaces.get(), mFaces.get() + mNumFaces, grown.get());
    mFaces = std::move(grown);
    mNumFaceSlots = slots;
}

void Cell4D::AddFace(Face4D* face)
{
    // Room for four first, then doubling whenever the count reaches a power of two.
    if (mNumFaces >= mNumFaceSlots)
        ReserveFaces(mNumFaceSlots < 4 ? 4 : 2 * mNumFaceSlots);
    if (mNumFaces < mNumFaceSlots)
        mFaces[mNumFaces++] = face;
}

Cell4D* Cell4D::GetNeighbour(int i) const
{
    if (i < 0 || i >= mNumFaces || !mFaces[i])
        return nullptr;
    const Face4D* face = mFaces[i];
    if (face->mNumCells != 2)
        return nullptr;
    if (face->mCells[0] == this)
        return face->mCells[1];
    return face->mCells[1] == this ? face->mCells[0] : nullptr;
}

int Part4D::GetGenus() const
{
    const int chi = GetEulerCharacteristic();
    return (mFlags & kNotOrientable) ? -chi : -chi / 2;
}
