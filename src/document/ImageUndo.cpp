#include "document/ImageUndo.h"

#include "document/PolyApp.h"
#include "kernel/FaceImage.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"

#include <algorithm>
#include <unordered_map>

namespace
{
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
