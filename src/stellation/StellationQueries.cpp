#include "kernel/KitPalette.h"
#include "kernel/Tolerance.h"
#include "mesh/Model3D.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr int kWalkLimit = 1 << 20;

bool IsChiralSecond(const StellationCell* cell)
{
    return (cell->mFlags & kCellChiralSecond) != 0;
}

bool IsReflexibleCell(const StellationCell* cell)
{
    return !(cell->mFlags & (kCellChiralFirst | kCellChiralSecond));
}

// Panels, and the rods and balls inside a face that they need, by the face's number of sides.
struct PanelRecipe
{
    int sides;
    int triangles, squares, rhombi, pentagons;
    int rods, balls;
};
constexpr PanelRecipe kPanelRecipes[] = {
    {3, 1, 0, 0, 0, 0, 0},  {4, 0, 1, 0, 0, 0, 0},  {5, 0, 0, 0, 1, 0, 0},   {6, 0, 0, 3, 0, 3, 1},
    {8, 4, 5, 0, 0, 12, 4}, {10, 5, 5, 0, 1, 15, 5}, {12, 6, 6, 3, 0, 21, 7},
};
}  // namespace

// ---- Stellation ----

StellationCell* Stellation::GetOuterCell() const
{
    return IsBuilt() ? mLastCell : nullptr;
}

int Stellation::GetNumCellLayers() const
{
    const StellationCell* outer = GetOuterCell();
    return outer && outer->mLayer ? outer->mLayer->mNumber : 0;
}

int Stellation::GetNumCellRecords() const
{
    const StellationCell* outer = GetOuterCell();
    return outer ? outer->mIndex : 0;
}

int Stellation::GetNumCellTypes() const
{
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        n += !IsChiralSecond(c);
    return n;
}

int Stellation::GetNumReflexibleCellTypes() const
{
    if (!IsReflexible())
        return 0;
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        n += IsReflexibleCell(c);
    return n;
}

int Stellation::GetNumCellsTotal() const
{
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        n += c->GetNumCopies();
    return n;
}

int Stellation::GetNumReflexibleCellsTotal() const
{
    if (!IsReflexible())
        return 0;
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        if (IsReflexibleCell(c))
            n += c->GetNumCopies();
    return n;
}

int Stellation::GetNumIncludedCells() const
{
    return IsBuilt() ? mNumIncludedCells : 0;
}

int Stellation::GetNumExcludedCells() const
{
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        n += !c->IsIncluded();
    return n;
}

int Stellation::GetNumIncludedCellsTotal() const
{
    const StellationCell* outer = GetOuterCell();
    int n = 0;
    for (const StellationCell* c = outer ? mFirstCell : nullptr; c && c != outer; c = c->next)
        if (c->IsIncluded())
            n += c->GetNumCopies();
    return n;
}

int Stellation::GetMaxCellTypesPerLayer() const
{
    int most = 0;
    for (const StellationCellLayer* layer = IsBuilt() ? mFirstLayer : nullptr; layer; layer = layer->next)
        most = std::max(most, int(layer->mNumCellTypes));
    return most;
}

bool Stellation::IsReflexible() const
{
    const SymGroup* group = mPoly ? mPoly->mGroup.get() : nullptr;
    return group && group->mReflection != SymGroup::kChiral;
}

bool Stellation::HasFaceImages() const
{
    const ElemList* list = GetFaceList();
    for (const FaceVert* e = list ? list->mFirst : nullptr; e; e = e->mNext)
        if (e->mImage.Get())
            return true;
    return false;
}

StellationCell* Stellation::FindCell(int index) const
{
    if (!IsBuilt() || index < 0)
        return nullptr;
    for (StellationCell* c = mFirstCell; c; c = c->next)
        if (c->mIndex == index)
            return c;
    return nullptr;
}

bool Stellation::HasNets() const
{
    return Model3D::HasNets(mModel3D.get());
}

void Stellation::CountKitParts()
{
    if (mKitRods >= 0)
        return;
    for (auto& row : mKitPanelCounts)
        for (int32_t& count : row)
            count = 0;
    mKitRods = mKitBalls = 0;
    if (!mPoly || !mPoly->IsKitBuildable(mDual, nullptr))
        return;
    // The side's polyhedron: its edges, and its vertices (the list that is not the side's faces).
    mKitRods = mPoly->mNumEdges;
    const ElemList* corners = mDual ? static_cast<const ElemList*>(&mPoly->mFaces) : &mPoly->mVerts;
    mKitBalls = corners->mCount;
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (!type->mFirstFace || !type->IsPanelShape())
            continue;
        const int sides = type->mFirstFace->mNumSides;
        const PanelRecipe* recipe = nullptr;
        for (const PanelRecipe& r : kPanelRecipes)
            if (r.sides == sides)
                recipe = &r;
        if (!recipe)
            continue;
        const bool rhombus = (type->mFlags & kFaceTypeRhombusPanel) != 0;
        for (const FaceVert* face = type->mFirstFace; face; face = face->mNextOfType)
        {
            const int column = std::max(FindKitColor(face->mColor), 0);
            mKitPanelCounts[kKitPanelTriangle][column] += recipe->triangles;
            mKitPanelCounts[rhombus && sides == 4 ? kKitPanelRhombus : kKitPanelSquare][column] += recipe->squares;
            mKitPanelCounts[kKitPanelRhombus][column] += recipe->rhombi;
            mKitPanelCounts[kKitPanelPentagon][column] += recipe->pentagons;
        }
        mKitRods += recipe->rods * type->mCount;
        mKitBalls += recipe->balls * type->mCount;
    }
}

int Stellation::GetNumKitPanels()
{
    CountKitParts();
    int n = 0;
    for (const auto& row : mKitPanelCounts)
        for (int32_t count : row)
            n += count;
    return n;
}

// ---- FaceType ----

int FaceType::CountUsedFacets() const
{
    int n = 0;
    for (const StellationFacet* f = mUsedFacets; f && n < kWalkLimit; f = f->mNextUsed)
        ++n;
    return n;
}

StellationFacet* FaceType::GetFacet(int n) const
{
    StellationFacet* f = n >= 0 ? mFacets : nullptr;
    for (; f && n > 0; --n)
        f = f->next;
    return f;
}

StellationFacet* FaceType::GetUsedFacet(int n) const
{
    StellationFacet* f = n >= 0 ? mUsedFacets : nullptr;
    for (; f && n > 0; --n)
        f = f->mNextUsed;
    return f;
}

SegVert* FaceType::GetDiagramVert(int n) const
{
    if (n < 0)
        return nullptr;
    for (SegVert* list : {mOuterVerts, mVerts})
        for (SegVert* v = list; v; v = v->mNext, --n)
            if (n == 0)
                return v;
    return nullptr;
}

Vec2D FaceType::GetUsedFacetsCentre() const
{
    Vec2D sum;
    int count = 0;
    for (const StellationFacet* f = mUsedFacets; f; f = f->mNextUsed)
        for (const StellationRegion* region : f->mRegions)
        {
            const StellationEdge* e = region ? region->mEdge : nullptr;
            for (int i = 0; e && i < kWalkLimit; ++i)
            {
                Vec2Add(sum, sum, e->mStart->mPos);
                ++count;
                e = e->mNext;
                if (e == region->mEdge)
                    break;
            }
        }
    if (count > 0)
        Vec2Div(sum, sum, double(count));
    return sum;
}

StellationEdge* FaceType::FindEdgeAt(double x, double y) const
{
    for (const StellationLine* line = mLineEqns; line; line = line->mNext)
    {
        if (std::fabs(line->Eval(x, y)) > kTol)
            continue;
        for (StellationEdge* edge : {line->mFirstEdge, line->mLastEdge})
            for (StellationEdge* e = edge; e; e = e->FindOnLineAroundVertex(line))
                if (std::fabs(e->mStart->mPos.x - x) <= kTol && std::fabs(e->mStart->mPos.y - y) <= kTol)
                    return e;
    }
    return nullptr;
}

void FaceType::SortUsedFacets()
{
    std::vector<StellationFacet*> used;
    for (StellationFacet* f = mUsedFacets; f; f = f->mNextUsed)
        used.push_back(f);
    if (used.size() < 2)
        return;
    std::stable_sort(used.begin(), used.end(), [](const StellationFacet* a, const StellationFacet* b) {
        return a->mRing != b->mRing ? a->mRing > b->mRing : a->mIndex < b->mIndex;
    });
    for (size_t i = 0; i < used.size(); ++i)
        used[i]->mNextUsed = i + 1 < used.size() ? used[i + 1] : nullptr;
    mUsedFacets = used.front();
}
