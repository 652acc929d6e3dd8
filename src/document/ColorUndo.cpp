#include "document/ColorUndo.h"

#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"

#include <utility>

namespace
{
void Exchange(ColorRGB& color, uint32_t& packed)
{
    const uint32_t current = ColorToRGB(color);
    ColorFromRGB(color, packed);
    packed = current;
}
}  // namespace

ColorUndo::ColorUndo() : UndoItem(kUndoColorChange) {}

ColorUndo* ColorUndo::Capture()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope)
        return nullptr;
    auto* item = new ColorUndo();
    for (ElemList* list : {static_cast<ElemList*>(&poly->mFaces), static_cast<ElemList*>(&poly->mVerts)})
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            item->mColors.push_back({ColorToRGB(e->mColor), ColorToRGB(e->mBackColor)});
    for (int i = 0; i < poly->mNumEdges; ++i)
        item->mColors.push_back({ColorToRGB(poly->mEdges[i].mColor), 0});
    if (item->mColors.empty())
    {
        delete item;
        return nullptr;
    }
    return item;
}

bool ColorUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope || mColors.empty())
        return false;
    // A model rebuilt since has other elements: only as many as were stored are exchanged.
    size_t k = 0;
    for (ElemList* list : {static_cast<ElemList*>(&poly->mFaces), static_cast<ElemList*>(&poly->mVerts)})
        for (FaceVert* e = list->mFirst; e && k < mColors.size(); e = e->mNext, ++k)
        {
            Exchange(e->mColor, mColors[k].front);
            Exchange(e->mBackColor, mColors[k].back);
        }
    for (int i = 0; i < poly->mNumEdges && k < mColors.size(); ++i, ++k)
        Exchange(poly->mEdges[i].mColor, mColors[k].front);
    GetShell().InvalidateAllViews(false, 1);
    return true;
}
