#include "polytope4d/Polytope4D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"

#include <cmath>
#include <deque>
#include <new>
#include <utility>

namespace
{
Polytope4D::ShowsDualQuery gShowsDual = nullptr;
Polytope4D::CellShownQuery gCellShown = nullptr;

bool CurrentModelShowsDual()
{
    return gShowsDual && gShowsDual();
}

template <class Type>
void DeleteTypeList(Type*& head, Type*& tail)
{
    ListDeleteAll(head, tail);
}

template <class Elem>
Elem* Next(const Elem* e)
{
    return static_cast<Elem*>(e->next);
}
}  // namespace

Polytope4D::Polytope4D()
{
    Init();
}

Polytope4D::~Polytope4D()
{
    Clear();
}

void Polytope4D::SetShowsDualQuery(ShowsDualQuery query)
{
    gShowsDual = query;
}

void Polytope4D::SetCellShownQuery(CellShownQuery query)
{
    gCellShown = query;
}

bool Polytope4D::IsCellShown(void* view, const Cell4D* cell)
{
    return !gCellShown || gCellShown(view, cell);
}

void Polytope4D::Init()
{
    mFlags = kVertIndicesValid | kEdgeIndicesValid | kFaceIndicesValid | kCellIndicesValid;
    mNumCells = mNumFaces = mNumEdges = mNumVerts = mNumTranslucentCells = 0;
    mFirstVert = mLastVert = mFirstEdge = mLastEdge = nullptr;
    mFirstFace = mLastFace = mFirstCell = mLastCell = nullptr;
    mFirstVertType = mLastVertType = nullptr;
    mFirstEdgeType = mLastEdgeType = nullptr;
    mFirstFaceType = mLastFaceType = nullptr;
    mFirstCellType = mLastCellType = nullptr;
    mFirstPart = mLastPart = nullptr;
    mCurrentCell = nullptr;
    mCurrentFace = nullptr;
    mCurrentEdge = nullptr;
    mCurrentVert = nullptr;
    mScale = 1.0;
    mMidRadius = 1.0;
    mVolume = 9.99999e99;
    mMinEdgeLength = mMaxEdgeLength = -1.0;
    mDual = nullptr;
    mPointTree.reset();
    mNextVertSerial = 0;
    for (std::vector<Element4D*>& array : mIndexArrays)
        array.clear();
}

void Polytope4D::Clear()
{
    ListDeleteAll(mFirstCell, mLastCell);
    ListDeleteAll(mFirstFace, mLastFace);
    ListDeleteAll(mFirstEdge, mLastEdge);
    ListDeleteAll(mFirstVert, mLastVert);
    DeleteTypeList(mFirstVertType, mLastVertType);
    DeleteTypeList(mFirstEdgeType, mLastEdgeType);
    DeleteTypeList(mFirstFaceType, mLastFaceType);
    DeleteTypeList(mFirstCellType, mLastCellType);
    DeleteParts();
    if (mDual && !(mFlags & kIsDual))
        delete mDual;
    Init();
}

namespace
{
template <class Elem>
Elem* LinkNew(Elem* elem, Polytope4D* owner, Element4D*& head, Element4D*& tail, int& count)
{
    if (!elem)
        return nullptr;
    elem->mOwner = owner;
    elem->mIndex = tail ? tail->mIndex + 1 : 0;
    ListAppend<Element4D>(elem, head, tail);
    ++count;
    return elem;
}
}  // namespace

Vert4D* Polytope4D::NewVert(const Vec4D* pos)
{
    mIndexArrays[Element4D::kVertKind].clear();
    Vert4D* vert = LinkNew(new Vert4D, this, mFirstVert, mLastVert, mNumVerts);
    vert->mSerial = mNextVertSerial++;
    if (pos)
    {
        for (int axis = 0; axis < 4; ++axis)
            vert->mPos[axis] = IsZeroTol((*pos)[axis], kTol) ? 0.0 : (*pos)[axis];
    }
    return vert;
}

Edge4D* Polytope4D::NewEdge(Vert4D* a, Vert4D* b)
{
    mIndexArrays[Element4D::kEdgeKind].clear();
    Edge4D* edge = LinkNew(new Edge4D, this, mFirstEdge, mLastEdge, mNumEdges);
    // Creation order, not addresses: edge vectors and everything built from them come out the same
    // in every run.
    if (a && b && b->mSerial < a->mSerial)
        std::swap(a, b);
    edge->mVerts[0] = a;
    edge->mVerts[1] = b;
    return edge;
}

Face4D* Polytope4D::NewFace(int numSides)
{
    mIndexArrays[Element4D::kFaceKind].clear();
    return LinkNew(new Face4D(numSides), this, mFirstFace, mLastFace, mNumFaces);
}

Cell4D* Polytope4D::NewCell(int numFaces)
{
    mIndexArrays[Element4D::kCellKind].clear();
    return LinkNew(new Cell4D(numFaces), this, mFirstCell, mLastCell, mNumCells);
}

Cell4D* Polytope4D::NewEmptyCell()
{
    Cell4D* cell = NewCell(0);
    cell->ReserveFaces(4);
    return cell;
}

void Polytope4D::DeleteElement(Element4D* elem, uint32_t kind)
{
    static constexpr uint32_t kValid[4] = {kVertIndicesValid, kEdgeIndicesValid, kFaceIndicesValid,
                                           kCellIndicesValid};
    Element4D** lists[4][2] = {{&mFirstVert, &mLastVert},
                               {&mFirstEdge, &mLastEdge},
                               {&mFirstFace, &mLastFace},
                               {&mFirstCell, &mLastCell}};
    int* counts[4] = {&mNumVerts, &mNumEdges, &mNumFaces, &mNumCells};
    if (elem->next)
        mFlags &= ~kValid[kind];
    mIndexArrays[kind].clear();
    ListRemove(elem, *lists[kind][0], *lists[kind][1]);
    delete elem;
    --*counts[kind];
}

void Polytope4D::DeleteVert(Vert4D* vert)
{
    if (!vert)
        return;
    const bool wasCurrent = vert == mCurrentVert;
    // The tree would hand back the deleted vertex; FindOrCreateVert builds it again from the list.
    mPointTree.reset();
    DeleteElement(vert, Element4D::kVertKind);
    if (wasCurrent)
        mCurrentVert = static_cast<Vert4D*>(mFirstVert);
}

void Polytope4D::DeleteFace(Face4D* face)
{
    if (!face)
        return;
    const bool wasCurrent = face == mCurrentFace;
    DeleteElement(face, Element4D::kFaceKind);
    if (wasCurrent)
        mCurrentFace = static_cast<Face4D*>(mFirstFace);
}

void Polytope4D::DeleteCell(Cell4D* cell)
{
    if (!cell)
        return;
    const bool wasCurrent = cell == mCurrentCell;
    if (cell->mOpacity < 1.0f)
        --mNumTranslucentCells;
    DeleteElement(cell, Element4D::kCellKind);
    if (wasCurrent)
        mCurrentCell = static_cast<Cell4D*>(mFirstCell);
}

void Polytope4D::EnsureIndices(uint32_t kind)
{
    static constexpr uint32_t kValid[4] = {kVertIndicesValid, kEdgeIndicesValid, kFaceIndicesValid,
                                           kCellIndicesValid};
    if (mFlags & kValid[kind])
        return;
    Element4D* heads[4] = {mFirstVert, mFirstEdge, mFirstFace, mFirstCell};
    int i = 0;
    for (Element4D* e = heads[kind]; e; e = e->next)
        e->mIndex = i++;
    mFlags |= kValid[kind];
}

Element4D* Polytope4D::ElementAt(uint32_t kind, int i)
{
    const int counts[4] = {mNumVerts, mNumEdges, mNumFaces, mNumCells};
    if (i < 0 || i >= counts[kind])
        return nullptr;
    std::vector<Element4D*>& array = mIndexArrays[kind];
    if (int(array.size()) != counts[kind])
    {
        Element4D* heads[4] = {mFirstVert, mFirstEdge, mFirstFace, mFirstCell};
        array.clear();
        for (Element4D* e = heads[kind]; e; e = e->next)
            array.push_back(e);
        if (int(array.size()) != counts[kind])
            return nullptr;
    }
    return array[i];
}

Vert4D* Polytope4D::GetVert(int i)
{
    return static_cast<Vert4D*>(ElementAt(Element4D::kVertKind, i));
}

Edge4D* Polytope4D::GetEdge(int i)
{
    return static_cast<Edge4D*>(ElementAt(Element4D::kEdgeKind, i));
}

Face4D* Polytope4D::GetFace(int i)
{
    return static_cast<Face4D*>(ElementAt(Element4D::kFaceKind, i));
}

Cell4D* Polytope4D::GetCell(int i)
{
    return static_cast<Cell4D*>(ElementAt(Element4D::kCellKind, i));
}

Cell4D* Polytope4D::GetCurrentCell(bool own)
{
    if (Cell4D* selected = GetSelection4D().mCell)
        return selected;
    if (!own && CurrentModelShowsDual())
    {
        Polytope4D* dual = GetDual();
        return dual ? dual->mCurrentCell : nullptr;
    }
    return mCurrentCell;
}

Face4D* Polytope4D::GetCurrentFace(bool own)
{
    if (Face4D* selected = GetSelection4D().mFace)
        return selected;
    if (!own && CurrentModelShowsDual())
    {
        Polytope4D* dual = GetDual();
        return dual ? dual->mCurrentFace : nullptr;
    }
    return mCurrentFace;
}

Edge4D* Polytope4D::GetCurrentEdge(bool own)
{
    if (Edge4D* selected = GetSelection4D().mEdge)
        return selected;
    if (!own && CurrentModelShowsDual())
    {
        Polytope4D* dual = GetDual();
        return dual ? dual->mCurrentEdge : nullptr;
    }
    return mCurrentEdge;
}

Vert4D* Polytope4D::GetCurrentVert(bool own)
{
    if (Vert4D* selected = GetSelection4D().mVert)
        return selected;
    if (!own && CurrentModelShowsDual())
    {
        Polytope4D* dual = GetDual();
        return dual ? dual->mCurrentVert : nullptr;
    }
    return mCurrentVert;
}

Polytope4D* Polytope4D::GetDual()
{
    if (mFlags & kNoFiniteDual)
        return nullptr;
    return mDual;
}

double Polytope4D::GetRadius(const Polytope4D* polytope)
{
    if (!polytope || (polytope->mFlags & (kNoCellsFormed | kNotClosed | kNoFiniteDual)))
        return 1.0;
    return polytope->mMidRadius;
}

int Polytope4D::GetGenus() const
{
    int genus = 1;
    for (const Part4D* part = mFirstPart; part; part = part->mNext)
        genus += part->GetGenus() - 1;
    return genus;
}

int Polytope4D::GetNumParts() const
{
    int n = 0;
    for (const Part4D* part = mFirstPart; part; part = part->mNext)
        ++n;
    return n;
}

Part4D* Polytope4D::GetPart(int n) const
{
    if (n < 0)
        return nullptr;
    Part4D* part = mFirstPart;
    for (; part && n > 0; --n)
        part = part->mNext;
    return part;
}

void Polytope4D::Scale(double factor)
{
    if (kRatioLow <= factor && factor <= kRatioHigh)
        return;
    for (Element4D* e = mFirstVert; e; e = e->next)
        Vec4Scale(static_cast<Vert4D*>(e)->mPos, factor);
    for (Element4D* e = mFirstCell; e; e = e->next)
    {
        Cell4D* cell = static_cast<Cell4D*>(e);
        Vec4Scale(cell->mCentre, factor);
        cell->mRadius *= factor;
        cell->mPlane.d *= factor;
    }
}

bool Polytope4D::MarkParts(bool cellsOnly, bool requireSeveral)
{
    if (requireSeveral && GetNumParts() < 2)
    {
        ErrorMessage("Polytope only has one part");
        return false;
    }
    if (!mCurrentCell)
        return true;
    std::deque<Cell4D*> queue{mCurrentCell};
    mCurrentCell->mFlags |= Element4D::kMark;
    while (!queue.empty())
    {
        Cell4D* cell = queue.front();
        queue.pop_front();
        for (int i = 0; i < cell->mNumFaces; ++i)
        {
            Face4D* face = cell->mFaces[i];
            if (!face)
                continue;
            if (!cellsOnly)
            {
                face->mFlags |= Element4D::kMark;
                for (int k = 0; k < face->mNumSides; ++k)
                {
                    if (face->mVerts[k])
                        face->mVerts[k]->mFlags |= Element4D::kMark;
                }
            }
            Cell4D* other = cell->GetNeighbour(i);
            if (other && !(other->mFlags & Element4D::kMark))
            {
                other->mFlags |= Element4D::kMark;
                queue.push_back(other);
            }
        }
    }
    return true;
}

void Polytope4D::ClearMarks()
{
    for (Element4D* heads : {mFirstVert, mFirstEdge, mFirstFace, mFirstCell})
    {
        for (Element4D* e = heads; e; e = e->next)
            e->mFlags &= ~Element4D::kMark;
    }
}

void Polytope4D::CopyColorsFromDual()
{
    Polytope4D* dual = (mFlags & kIsDual) ? nullptr : mDual;
    if (!dual)
        return;
    for (Element4D* e = mFirstVert; e; e = e->next)
    {
        Vert4D* vert = static_cast<Vert4D*>(e);
        if (Cell4D* cell = dual->GetCell(Vert4D::GetIndex(vert)))
        {
            vert->mColor = cell->mColor;
            vert->mOpacity = cell->mOpacity;
        }
    }
    for (Element4D* e = mFirstFace; e; e = e->next)
    {
        if (Edge4D* edge = dual->GetEdge(Face4D::GetIndex(static_cast<Face4D*>(e))))
            e->mColor = edge->mColor;
    }
}

namespace
{
// The source's edges with their rings, and the edge lists of the copy's vertices, faces and cells,
// all by index. The copy holds every vertex, face and cell of the source.
void CopyEdges(Polytope4D& source, Polytope4D& copy)
{
    for (Element4D* e = source.mFirstEdge; e; e = e->next)
    {
        const Edge4D* from = static_cast<Edge4D*>(e);
        Edge4D* to = copy.NewEdge(copy.GetVert(Vert4D::GetIndex(from->mVerts[0])),
                                  copy.GetVert(Vert4D::GetIndex(from->mVerts[1])));
        // The ends in the source's order, which the edge types may have set.
        to->mVerts[0] = copy.GetVert(Vert4D::GetIndex(from->mVerts[0]));
        to->mVerts[1] = copy.GetVert(Vert4D::GetIndex(from->mVerts[1]));
        to->mColor = from->mColor;
        to->mFlags = from->mFlags;
        if (from == source.mCurrentEdge)
            copy.mCurrentEdge = to;
        if (from->mFaces && from->mCells && from->mNumFaces > 0)
        {
            to->mFaces.reset(new (std::nothrow) Face4D*[size_t(from->mNumFaces)]());
            to->mCells.reset(new (std::nothrow) Cell4D*[size_t(from->mNumFaces)]());
            if (!to->mFaces || !to->mCells)
            {
                to->mFaces.reset();
                to->mCells.reset();
                continue;
            }
            to->mNumFaces = from->mNumFaces;
            for (int k = 0; k < from->mNumFaces; ++k)
            {
                to->mFaces[k] = copy.GetFace(Face4D::GetIndex(from->mFaces[k]));
                to->mCells[k] = copy.GetCell(Cell4D::GetIndex(from->mCells[k]));
            }
        }
    }
    auto copyList = [&](Edge4D* const* edges, int count, std::unique_ptr<Edge4D*[]>& out, int32_t& outCount) {
        out.reset();
        outCount = 0;
        if (!edges || count <= 0)
            return;
        out.reset(new (std::nothrow) Edge4D*[size_t(count)]());
        if (!out)
            return;
        for (int i = 0; i < count; ++i)
            out[i] = copy.GetEdge(Edge4D::GetIndex(edges[i]));
        outCount = count;
    };
    Element4D* to = copy.mFirstVert;
    for (Element4D* e = source.mFirstVert; e && to; e = e->next, to = to->next)
    {
        const Vert4D* from = static_cast<Vert4D*>(e);
        Vert4D* vert = static_cast<Vert4D*>(to);
        copyList(from->mEdges.get(), from->mNumEdges, vert->mEdges, vert->mNumEdges);
    }
    to = copy.mFirstFace;
    for (Element4D* e = source.mFirstFace; e && to; e = e->next, to = to->next)
    {
        const Face4D* from = static_cast<Face4D*>(e);
        Face4D* face = static_cast<Face4D*>(to);
        for (int k = 0; k < face->mNumSides && k < from->mNumSides; ++k)
            face->mEdges[k] = copy.GetEdge(Edge4D::GetIndex(from->mEdges[k]));
    }
    to = copy.mFirstCell;
    for (Element4D* e = source.mFirstCell; e && to; e = e->next, to = to->next)
    {
        const Cell4D* from = static_cast<Cell4D*>(e);
        Cell4D* cell = static_cast<Cell4D*>(to);
        copyList(from->mEdges.get(), from->mNumEdges, cell->mEdges, cell->mNumEdges);
    }
}
}  // namespace

std::unique_ptr<Polytope4D> Polytope4D::Copy(Polytope4D* source, int options)
{
    if (!source)
        return nullptr;
    const bool partChoice = (options & (kCopyWithoutPart | kCopyOnlyPart)) != 0;
    const uint32_t wanted = (options & kCopyOnlyPart) ? Element4D::kMark : 0;
    auto selected = [&](const Element4D* e) { return !partChoice || (e->mFlags & Element4D::kMark) == wanted; };

    if (partChoice)
    {
        if (!source->MarkParts(false, true))
            return nullptr;
        // Number the chosen elements so that the copy's faces and cells find their corners by index.
        for (Element4D* head : {source->mFirstVert, source->mFirstFace, source->mFirstCell})
        {
            int i = 0;
            for (Element4D* e = head; e; e = e->next)
                e->mIndex = selected(e) ? i++ : -1;
        }
        source->mFlags |= kVertIndicesValid | kFaceIndicesValid | kCellIndicesValid;
    }
    source->CopyColorsFromDual();

    auto copy = std::make_unique<Polytope4D>();
    for (Element4D* e = source->mFirstVert; e; e = e->next)
    {
        if (!selected(e))
            continue;
        const Vert4D* from = static_cast<Vert4D*>(e);
        Vert4D* to = copy->NewVert(&from->mPos);
        to->mColor = from->mColor;
        to->mOpacity = from->mOpacity;
        if (from == source->mCurrentVert)
            copy->mCurrentVert = to;
    }
    for (Element4D* e = source->mFirstFace; e; e = e->next)
    {
        if (!selected(e))
            continue;
        const Face4D* from = static_cast<Face4D*>(e);
        Face4D* to = copy->NewFace(from->mNumSides);
        to->mColor = from->mColor;
        for (int k = 0; k < from->mNumSides; ++k)
            to->SetVert(k, copy->GetVert(Vert4D::GetIndex(from->mVerts[k])));
        if (from == source->mCurrentFace)
            copy->mCurrentFace = to;
    }
    for (Element4D* e = source->mFirstCell; e; e = e->next)
    {
        if (!selected(e))
            continue;
        const Cell4D* from = static_cast<Cell4D*>(e);
        Cell4D* to = copy->NewCell(from->mNumFaces);
        to->mColor = from->mColor;
        to->mOpacity = from->mOpacity;
        to->mFlags |= from->mFlags & Element4D::kHidden;
        for (int k = 0; k < from->mNumFaces; ++k)
            to->SetFace(k, copy->GetFace(Face4D::GetIndex(from->mFaces[k])));
        if (from == source->mCurrentCell)
            copy->mCurrentCell = to;
    }
    if ((options & kCopyEdges) && !partChoice)
        CopyEdges(*source, *copy);
    if (partChoice)
    {
        source->mFlags &= ~(kVertIndicesValid | kFaceIndicesValid | kCellIndicesValid);
        source->ClearMarks();
    }
    copy->mScale = source->mScale;
    copy->mFlags |= (source->mFlags & kNoCellsFormed) | kDualColored;
    if (options & kCopyFinish)
    {
        copy->FinishPolytope();
        // The completion makes the edges anew, in the order the source's were made: they take the
        // source's colours and hidden flags in turn.
        if (!partChoice)
        {
            Element4D* from = source->mFirstEdge;
            for (Element4D* to = copy->mFirstEdge; to && from; to = to->next, from = from->next)
            {
                to->mColor = from->mColor;
                to->mFlags = (to->mFlags & ~Element4D::kHidden) | (from->mFlags & Element4D::kHidden);
            }
        }
    }
    return copy;
}

std::unique_ptr<Polytope4D> Polytope4D::MakeCompound(Polytope4D* first, Polytope4D* second, bool finish)
{
    if (!first || !second)
        return Copy(first ? first : second, finish ? kCopyFinish : 0);
    ScopedWaitCursor wait;
    std::unique_ptr<Polytope4D> result = Copy(first, 0);
    result->Scale(result->mScale);
    result->mScale = 1.0;
    second->CopyColorsFromDual();

    const int vertOffset = result->mNumVerts;
    const int faceOffset = result->mNumFaces;
    for (Element4D* e = second->mFirstVert; e; e = e->next)
    {
        const Vert4D* from = static_cast<Vert4D*>(e);
        Vec4D pos = from->mPos;
        Vec4Scale(pos, second->mScale);
        Vert4D* to = result->NewVert(&pos);
        to->mColor = from->mColor;
        to->mOpacity = from->mOpacity;
    }
    for (Element4D* e = second->mFirstFace; e; e = e->next)
    {
        const Face4D* from = static_cast<Face4D*>(e);
        Face4D* to = result->NewFace(from->mNumSides);
        to->mColor = from->mColor;
        for (int k = 0; k < from->mNumSides; ++k)
        {
            const int index = Vert4D::GetIndex(from->mVerts[k]);
            to->SetVert(k, index < 0 ? nullptr : result->GetVert(index + vertOffset));
        }
    }
    for (Element4D* e = second->mFirstCell; e; e = e->next)
    {
        const Cell4D* from = static_cast<Cell4D*>(e);
        Cell4D* to = result->NewCell(from->mNumFaces);
        to->mColor = from->mColor;
        to->mOpacity = from->mOpacity;
        to->mFlags |= from->mFlags & Element4D::kHidden;
        for (int k = 0; k < from->mNumFaces; ++k)
        {
            const int index = Face4D::GetIndex(from->mFaces[k]);
            to->SetFace(k, index < 0 ? nullptr : result->GetFace(index + faceOffset));
        }
    }
    result->mFlags |= (first->mFlags | second->mFlags) & kNoCellsFormed;
    if (finish)
        result->FinishPolytope();
    return result;
}
