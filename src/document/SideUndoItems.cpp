#include "document/SideUndoItems.h"

#include "document/PolyApp.h"
#include "kernel/FaceImage.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"

#include <algorithm>
#include <unordered_map>

namespace
{
bool IsSideItem(const UndoItem& item)
{
    return (item.mFlags & (UndoItem::kSkipOnUndo | UndoItem::kSkipOnRedo)) != 0;
}

// Faces, then vertices, in list order.
template <class Visit>
void ForEachElement(Poly& poly, Visit visit)
{
    int index = 0;
    for (ElemList* list : {static_cast<ElemList*>(&poly.mFaces), static_cast<ElemList*>(&poly.mVerts)})
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            visit(e, index++);
}

// The position of every face and vertex, faces first, by its address.
std::unordered_map<const void*, int> ElementIndices(Poly& poly)
{
    std::unordered_map<const void*, int> indices;
    ForEachElement(poly, [&](FaceVert* e, int i) { indices.emplace(static_cast<const void*>(e), i); });
    return indices;
}

int IndexOf(const std::unordered_map<const void*, int>& indices, const void* element)
{
    const auto it = indices.find(element);
    return it == indices.end() ? -1 : it->second;
}

}  // namespace

bool HasDrawnFacets(const Poly& poly)
{
    for (const Polygon3D* p = poly.mFirstDrawnPolygon; p; p = p->mNext)
        if (p->mRing)
            return true;
    return false;
}

bool HasSubSymmetry(const Poly& poly)
{
    return poly.mSubgroupChoice[0] >= 1 || poly.mSubgroupChoice[1] >= 1;
}

// ---- SubSymmetryUndo ----

SubSymmetryUndo::SubSymmetryUndo() : UndoItem(kUndoSubSymmetry) {}

SubSymmetryUndo* SubSymmetryUndo::Capture()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    auto* item = new SubSymmetryUndo();
    item->mChoice[0] = poly->mSubgroupChoice[0];
    item->mChoice[1] = poly->mSubgroupChoice[1];
    return item;
}

bool SubSymmetryUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !poly->mGroup)
        return false;
    int rot = mChoice[0];
    int refl = mChoice[1];
    const bool side = IsSideItem(*this);
    if (!side)
    {
        mChoice[0] = poly->mSubgroupChoice[0];
        mChoice[1] = poly->mSubgroupChoice[1];
    }
    // The full group of a model never narrowed is already in force.
    if (rot == 0 && refl == 0 && !poly->mFullGroup)
        return true;
    // A side item follows a model rebuilt with the colours it had: they stay.
    const bool recolour = Poly::sRecolourOnSymmetryChange;
    if (side)
        Poly::sRecolourOnSymmetryChange = false;
    const bool applied = poly->SetSymmetry(rot, refl);
    Poly::sRecolourOnSymmetryChange = recolour;
    GetShell().InvalidateAllViews(false, 1);
    return applied;
}

// ---- ReflexibilityUndo ----

ReflexibilityUndo::ReflexibilityUndo() : UndoItem(kUndoReflexibilityChange), mMaintain(IsReflexibilityMaintained())
{
}

bool ReflexibilityUndo::Apply(bool /*undo*/)
{
    const bool maintain = mMaintain;
    if (!IsSideItem(*this))
        mMaintain = IsReflexibilityMaintained();
    const int options = GetStellationOptions();
    StoreStellationOptions(maintain ? options | kCriteriaReflexible : options & ~kCriteriaReflexible);
    GetShell().InvalidateAllViews(false, 1);
    return true;
}

// ---- DrawnFacetUndo ----

DrawnFacetUndo::DrawnFacetUndo() : UndoItem(kUndoFacetingChange) {}

std::vector<DrawnFacetUndo::Polygon> DrawnFacetUndo::CapturePolygons(const Poly& poly)
{
    std::vector<Polygon> polygons;
    for (const Polygon3D* p = poly.mFirstDrawnPolygon; p; p = p->mNext)
    {
        if (!p->mRing)
            continue;
        Polygon polygon;
        polygon.open = p == poly.mCurrentDrawnPolygon;
        const RingVert* v = p->mRing;
        do
        {
            polygon.points.push_back(v->pos);
            v = v->next;
        } while (v != p->mRing);
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

DrawnFacetUndo* DrawnFacetUndo::Capture()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    auto* item = new DrawnFacetUndo();
    item->mPolygons = CapturePolygons(*poly);
    return item;
}

int32_t DrawnFacetUndo::GetSize() const
{
    int32_t size = int32_t(mPolygons.size()) * 8 + 24;
    for (const Polygon& p : mPolygons)
        size += int32_t(p.points.size()) * 24;
    return size;
}

bool DrawnFacetUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    std::vector<Polygon> stored = std::move(mPolygons);
    if (!IsSideItem(*this))
        mPolygons = CapturePolygons(*poly);
    poly->ClearDrawnPolygons(true);
    for (const Polygon& p : stored)
    {
        Polygon3D* current = poly->mCurrentDrawnPolygon;
        if (!current)
            break;
        for (const Vec3D& point : p.points)
            AddRingVert(0.0, 0.0, nullptr, &point, current->mRing);
        // Closing reads the points in the polygon's plane, which preparing places.
        current->Prepare();
        if (p.open)
            break;
        poly->CloseDrawnPolygon(true, false);
    }
    if (IsSideItem(*this))
        mPolygons = std::move(stored);
    GetShell().InvalidateAllViews(false, 1);
    return true;
}

// ---- ImageUndo ----

ImageUndo::ImageUndo(int kind) : UndoItem(kind) {}

ImageUndo* ImageUndo::Capture(int kind)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope)
        return nullptr;
    auto* item = new ImageUndo(kind);
    const std::unordered_map<const void*, int> indices = ElementIndices(*poly);
    ForEachElement(*poly, [&](FaceVert* e, int) {
        Entry entry;
        entry.image = e->mImage.Get();
        if (entry.image)
        {
            entry.image->AddUser();
            entry.owner = IndexOf(indices, entry.image->mOwner);
        }
        item->mImages.push_back(entry);
    });
    return item;
}

ImageUndo::~ImageUndo()
{
    for (Entry& entry : mImages)
        FaceImage::Release(entry.image);
}

bool ImageUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope)
        return false;
    std::vector<FaceVert*> elements;
    ForEachElement(*poly, [&](FaceVert* e, int) { elements.push_back(e); });
    const size_t count = std::min(elements.size(), mImages.size());
    // The model's images and their placing elements are read before any of them moves.
    const std::unordered_map<const void*, int> indices = ElementIndices(*poly);
    std::vector<Entry> current(count);
    for (size_t i = 0; i < count; ++i)
    {
        current[i].image = elements[i]->mImage.Get();
        if (current[i].image)
        {
            current[i].image->AddUser();
            current[i].owner = IndexOf(indices, current[i].image->mOwner);
        }
    }
    for (size_t i = 0; i < count; ++i)
    {
        Entry& entry = mImages[i];
        // The element takes a user of the stored image of its own; the item lets go of its one.
        elements[i]->mImage.Set(entry.image);
        if (entry.image)
        {
            if (entry.owner >= 0 && size_t(entry.owner) < elements.size())
                entry.image->mOwner = elements[size_t(entry.owner)];
            FaceImage::Release(entry.image);
        }
        entry = current[i];
    }
    MarkDiagramColorsChanged();
    return true;
}
