#include "stellation/StellationCells.h"

#include "kernel/LinkNode.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "mesh/Model3D.h"
#include "stellation/DiagramFacets.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <memory>
#include <unordered_set>

namespace
{
constexpr int kWalkLimit = 1 << 20;
constexpr uint32_t kListMarks = kFacetTaken | kFacetLowerTaken | kFacetUpperTaken;

FacetSide* gFreeFacetSides = nullptr;

uint32_t TakenBit(int side)
{
    return side == 0 ? kFacetUpperTaken : kFacetLowerTaken;
}

bool IsTaken(const StellationFacet* facet, int side)
{
    return (facet->mFlags & TakenBit(side)) != 0;
}

// Appends one side without following hemi partners.
void AppendFacetSide(FacetSideList& list, StellationFacet* facet, int side)
{
    FacetSide* node = gFreeFacetSides;
    if (node)
        gFreeFacetSides = node->next;
    else
        node = new FacetSide;
    node->facet = facet;
    node->side = side;
    node->next = nullptr;
    if (list.last)
        list.last->next = node;
    else
        list.first = node;
    list.last = node;
    ++list.count;
    facet->mFlags |= kFacetTaken | TakenBit(side);
}

StellationFacet* FacetOf(const StellationEdge* edge)
{
    return edge && edge->mRegion ? edge->mRegion->mFacet : nullptr;
}

// The layer after the cell's; null when the cell's layer is the last, so that the next cell starts it.
StellationCellLayer* LayerAfter(const StellationCell* cell)
{
    return cell && cell->mLayer ? cell->mLayer->next : nullptr;
}

int NextIndex(const Stellation* stellation)
{
    return stellation->mLastCell ? stellation->mLastCell->mIndex + 1 : 0;
}

// The cell on a side of the facet, followed at once by its mirror partner when it is chiral.
StellationCell* CreateCellWithMirror(StellationFacet* facet, int side, StellationCellLayer* layer,
                                     Stellation* stellation)
{
    StellationCell* cell = CreateCellFromFacet(facet, side, layer, stellation, NextIndex(stellation));
    if (cell && (cell->mFlags & kCellChiralFirst) && !CreateMirrorCell(cell, NextIndex(stellation)))
        cell->mFlags &= ~kCellChiralFirst;
    return cell;
}

// For a facet that is its own hemi partner, the cell below is looked for below the first facet
// across its edges that is not.
StellationFacet* FacetToLookBelow(StellationFacet* facet)
{
    if (facet->mHemiPartner != facet)
        return facet;
    const StellationRegion* region = facet->mRegions.empty() ? nullptr : facet->mRegions[0];
    StellationEdge* e = region ? region->mEdge : nullptr;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        StellationFacet* across = FacetOf(e->mNeighbour);
        if (across && across->mHemiPartner != across)
            return across;
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return facet;
}

// The cells on both sides of the facets nearest the centre: the core below the innermost facet, or
// for planes through the centre the cells on both sides of them.
void CreateCoreCells(Stellation* stellation)
{
    FaceType* first = stellation->mFirstFaceType;
    const bool central = first && first->mFacets && (first->mFacets->mFlags & kFacetCentral);
    for (FaceType* type = first; type; type = type->mNextFaceType)
    {
        if (type != first && !(central && type->mFacets && (type->mFacets->mFlags & kFacetCentral)))
            break;
        for (StellationFacet* f = type->mFacets; f && f->mRing == 0; f = f->next)
        {
            StellationFacet* below = FacetToLookBelow(f);
            if (!below->mCellBelow)
            {
                CreateCellWithMirror(below, 1, stellation->mFirstLayer, stellation);
                if (!central)
                    continue;
            }
            if (!f->mCellAbove && f->mHemiPartner != f)
                CreateCellWithMirror(f, 0, stellation->mFirstLayer, stellation);
        }
    }
}

// Cells for the regions of a diagram that the walk from the centre did not reach: the first run of
// facets of one ring with no cell on either side, in a layer of their own. Null when there is none.
StellationCell* CreateUnreachedCells(Stellation* stellation, std::unordered_set<const StellationFacet*>& tried)
{
    for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource || !(type->mFlags & kFaceTypeUnfacetedRegion))
            continue;
        for (StellationFacet* f = type->mFacets; f; f = f->next)
        {
            if (f->mCellBelow || f->mCellAbove || tried.count(f))
                continue;
            StellationCell* firstMade = nullptr;
            StellationCellLayer* layer = nullptr;  // a new one after the last cell's
            for (StellationFacet* g = f; g && g->mRing == f->mRing && !g->mCellBelow && !g->mCellAbove; g = g->next)
            {
                tried.insert(g);
                StellationCell* made = CreateCellWithMirror(g, 1, layer, stellation);
                if (!made)
                    made = CreateCellWithMirror(g, 0, layer, stellation);
                if (made && !firstMade)
                {
                    firstMade = made;
                    layer = made->mLayer;
                }
            }
            if (firstMade)
                return firstMade;
        }
    }
    return nullptr;
}
}  // namespace

void AddFacetSide(FacetSideList& list, StellationFacet* facet, int side)
{
    AppendFacetSide(list, facet, side);
    for (int i = 0; facet->mHemiPartner && i < kWalkLimit; ++i)
    {
        facet = facet->mHemiPartner;
        side = 1 - side;
        if (IsTaken(facet, side))
            break;
        AppendFacetSide(list, facet, side);
    }
}

void FreeFacetSideList(FacetSideList& list)
{
    while (FacetSide* node = list.first)
    {
        list.first = node->next;
        node->facet->mFlags &= ~kListMarks;
        node->next = gFreeFacetSides;
        gFreeFacetSides = node;
    }
    list.last = nullptr;
    list.count = 0;
}

void ReleaseFacetSideNodes()
{
    while (FacetSide* node = gFreeFacetSides)
    {
        gFreeFacetSides = node->next;
        delete node;
    }
}

int CountFreeFacetSideNodes()
{
    int n = 0;
    for (const FacetSide* node = gFreeFacetSides; node; node = node->next)
        ++n;
    return n;
}

StellationCell* CreateCellFromFacet(StellationFacet* facet, int side, StellationCellLayer* layer,
                                    Stellation* stellation, int index)
{
    if (!facet || facet->mRegions.empty() || !facet->mRegions[0])
        return nullptr;
    FacetSideList list;
    AddFacetSide(list, facet, side);
    for (FacetSide* node = list.first; node; node = node->next)
    {
        StellationFacet* f = node->facet;
        const int s = node->side;
        const StellationRegion* region = f->mRegions[0];
        StellationEdge* e = region ? region->mEdge : nullptr;
        for (int i = 0; e && i < kWalkLimit; ++i)
        {
            if (!e->mLine || !(e->mLine->mFlags & kLineFromCentralFace))
            {
                // The half-plane next to the region, turning to the side of the cell.
                StellationEdge* d = e->GetNeighbourOnSide(s);
                if (!d || !d->mRegion)
                {
                    FreeFacetSideList(list);
                    return nullptr;
                }
                StellationFacet* p = d->mRegion->mFacet;
                if (p && (!(p->mFlags & kFacetTaken) || p->mHemiPartner))
                {
                    const StellationEdge* back = d->mNeighbour;
                    if (!back)
                    {
                        FreeFacetSideList(list);
                        return nullptr;
                    }
                    // Turning down from p comes back to f: the cell lies below p. A central f may
                    // come back as its hemi partner, the same half-plane seen from its other side.
                    const StellationFacet* under = FacetOf(back);
                    int pSide = 0;
                    if (under && under == f)
                        pSide = 1;
                    else if (under && under == f->mHemiPartner &&
                             (!p->mHemiPartner || FacetOf(d->mTwin) != p->mHemiPartner))
                        pSide = 1;
                    if (!IsTaken(p, pSide))
                        AddFacetSide(list, p, pSide);
                }
            }
            e = e->mNext;
            if (e == region->mEdge)
                break;
        }
    }
    return CreateCell(list, layer, stellation, index);
}

StellationCell* CreateCell(FacetSideList& list, StellationCellLayer* layer, Stellation* stellation, int index)
{
    auto cell = std::make_unique<StellationCell>(nullptr, index, layer);
    cell->mStellation = stellation;
    for (const FacetSide* node = list.first; node; node = node->next)
    {
        const StellationFacet* mirror = node->facet->mMirror;
        if (mirror && mirror != node->facet)
        {
            if (!(mirror->mFlags & kFacetTaken))
                cell->mFlags |= kCellChiralFirst;
            break;
        }
    }
    if (!MakePermenantFacetArray(cell.get(), list))
        return nullptr;
    StellationCell* made = cell.release();
    if (!made->mLayer)
        made->mLayer = new StellationCellLayer(made, stellation->mFirstLayer, stellation->mLastLayer);
    ListAppend(made, stellation->mFirstCell, stellation->mLastCell);
    return made;
}

StellationCell* CreateMirrorCell(StellationCell* cell, int index)
{
    FacetSideList list;
    const int n = cell->GetNumFacets();
    for (int i = 0; i < n; ++i)
    {
        StellationFacet* mirror = cell->mFacets[size_t(i)]->GetMirror();
        int side = i >= cell->mNumLower ? 1 : 0;
        if (mirror->mFaceType && (mirror->mFaceType->mFlags & kFaceTypeMirrorReversed))
            side = 1 - side;
        AppendFacetSide(list, mirror, side);
    }
    Stellation* stellation = cell->mStellation;
    auto partner = std::make_unique<StellationCell>(nullptr, index, cell->mLayer);
    partner->mStellation = stellation;
    partner->mFlags = cell->mFlags ^ (kCellChiralFirst | kCellChiralSecond);
    if (!MakePermenantFacetArray(partner.get(), list))
        return nullptr;
    StellationCell* made = partner.release();
    ListAppend(made, stellation->mFirstCell, stellation->mLastCell);
    return made;
}

bool MakePermenantFacetArray(StellationCell* cell, FacetSideList& list)
{
    for (const FacetSide* node = list.first; node; node = node->next)
    {
        StellationFacet* f = node->facet;
        const StellationCell* there = node->side == 1 ? f->mCellBelow : f->mCellAbove;
        if (there)
        {
            InternalError(node->side == 1 ? "MakePermenantFacetArray: Creating cell %d\nFacet %s already has cell below (%d)."
                                          : "MakePermenantFacetArray: Creating cell %d\nFacet %s already has cell above (%d).",
                          cell->mIndex, StellationFacet::GetLabel(f).c_str(), there->mIndex);
            FreeFacetSideList(list);
            return false;
        }
        if ((f->mFlags & kFacetLowerTaken) && (f->mFlags & kFacetUpperTaken))
            f->mFlags |= kFacetSameCellBothSides;
    }
    const size_t n = size_t(list.count);
    cell->mFacets.assign(n, nullptr);
    cell->mNeighbours.assign(n, nullptr);
    size_t front = 0, back = n;
    for (const FacetSide* node = list.first; node; node = node->next)
    {
        StellationFacet* f = node->facet;
        // The cell lies above its side-0 facets: they are its lower facets and come first.
        const size_t slot = node->side == 0 ? front++ : --back;
        StellationCell* across = nullptr;
        if (node->side == 0)
        {
            f->mCellAbove = cell;
            across = f->mCellBelow;
        }
        else
        {
            f->mCellBelow = cell;
            across = f->mCellAbove;
        }
        if (f->mFlags & kFacetSameCellBothSides)
            across = cell;
        cell->mFacets[slot] = f;
        cell->mNeighbours[slot] = across;
        if (across && across != cell)
            for (size_t j = 0; j < across->mFacets.size(); ++j)
                if (across->mFacets[j] == f)
                    across->mNeighbours[j] = cell;
    }
    cell->mNumLower = int(front);
    FreeFacetSideList(list);
    return true;
}

bool Stellation::CreateCells()
{
    if (!ShowProgress(0.0, "Setting hemi-self pointers."))
        return false;
    SetHemiSelfPointers(this);
    ListDeleteAll(mFirstLayer, mLastLayer);
    ListDeleteAll(mFirstCell, mLastCell);

    CreateCoreCells(this);

    // Breadth first: each cell's neighbours go into the layer after its own.
    std::unordered_set<const StellationFacet*> tried;
    StellationCell* c = mFirstCell;
    for (int visited = 0; c; ++visited)
    {
        if (visited % 256 == 0 && !ShowProgress(0.1, "Creating 3D cells type %d.", visited))
        {
            ReleaseFacetSideNodes();
            return false;
        }
        for (int i = c->mNumLower; i < c->GetNumFacets(); ++i)
        {
            StellationFacet* f = c->mFacets[size_t(i)];
            if (!f->mCellAbove)
                CreateCellWithMirror(f, 0, LayerAfter(c), this);
        }
        for (int i = 0; i < c->mNumLower; ++i)
        {
            StellationFacet* f = c->mFacets[size_t(i)];
            if (!f->mCellBelow)
                CreateCellWithMirror(f, 1, LayerAfter(c), this);
        }
        c = c->next;
        if (!c)
            c = CreateUnreachedCells(this, tried);
    }

    if (!ShowProgress(0.8, "Creating outer infinite cell."))
    {
        ReleaseFacetSideNodes();
        return false;
    }
    const bool outer = CreateOuterCell();
    ReleaseFacetSideNodes();
    if (!outer)
        return false;
    if (!FillMissingSides())
        return true;

    if (!ShowProgress(0.9, "Identify cells above symmetry axes."))
        return false;
    MarkCellsAboveAxes();
    if (!ShowProgress(0.9, "Identify original cells."))
        return false;
    IdentifyOriginalCells();

    std::unique_ptr<Model3D> kept = std::move(mModel3D);
    ApplyOriginalInclusion();
    mModel3D = std::move(kept);
    mNumChangedCells = 0;
    return true;
}

bool Stellation::CreateOuterCell()
{
    // No cell closes round the centre when the facets' links do not fit together: a face type
    // that is no symmetry class lays out facets that are not images of each other.
    if (!mFirstCell)
    {
        InternalError("CreateOuterCell: No cells were found.\nThe model is probably not accurate enough.");
        return false;
    }
    FacetSideList list;
    for (StellationCell* c = mFirstCell; c; c = c->next)
        for (int i = 0; i < c->GetNumFacets(); ++i)
        {
            if (c->mNeighbours[size_t(i)])
                continue;
            StellationFacet* f = c->mFacets[size_t(i)];
            const bool lower = i < c->mNumLower;
            const int side = lower ? 1 : 0;
            if (!IsTaken(f, side))
                AppendFacetSide(list, f, side);
            if (lower && !(f->mFlags & kFacetCentral))
                c->mFlags |= kCellUnsupportable;
        }
    StellationCell* outer = CreateCell(list, nullptr, this, NextIndex(this));
    if (!outer)
        return false;
    outer->mFlags &= ~(kCellChiralFirst | kCellChiralSecond);
    mHighestIncludedCell = mFirstCell;
    return true;
}

bool Stellation::FillMissingSides()
{
    if (mState == kStellationNotBuilt)
    {
        InternalError("Stellation is not valid");
        for (StellationCell* c = mFirstCell; c && c->mLayer == mFirstLayer; c = c->next)
        {
            c->mFlags |= kCellOriginal;
            StellationCell::ApplyInclusion(c, true);
        }
        return false;
    }
    StellationCell* outer = mLastCell;
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource)
            continue;
        for (StellationFacet* f = type->mFacets; f; f = f->next)
        {
            if (!f->mCellBelow)
                f->mCellBelow = outer;
            if (!f->mCellAbove)
                f->mCellAbove = outer;
        }
    }
    return true;
}
