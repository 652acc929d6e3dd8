#include "document/ColorUndo.h"

#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "polytope4d/Polytope4D.h"

#include <utility>

namespace
{
void Exchange(ColorRGB& color, uint32_t& packed)
{
    const uint32_t current = ColorToRGB(color);
    ColorFromRGB(color, packed);
    packed = current;
}

// Every element colour of a 4D model: the polytope's, then its dual's when built, each kind's list
// in turn.
template <class Visit>
void ForEachElement4D(Polytope4D* polytope, Visit visit)
{
    for (Polytope4D* p : {polytope, polytope->GetDualIfBuilt()})
    {
        if (!p)
            continue;
        for (Element4D* list : {p->mFirstVert, p->mFirstEdge, p->mFirstFace, p->mFirstCell})
            for (Element4D* e = list; e; e = e->next)
                visit(*e);
    }
}
}  // namespace

ColorUndo::ColorUndo() : UndoItem(kUndoColorChange) {}

ColorUndo* ColorUndo::Capture()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    auto* item = new ColorUndo();
    if (poly->mPolytope)
        ForEachElement4D(poly->mPolytope.get(), [item](Element4D& e) { item->mColors.push_back({e.mColor, 0}); });
    else
    {
        for (ElemList* list : {static_cast<ElemList*>(&poly->mFaces), static_cast<ElemList*>(&poly->mVerts)})
            for (FaceVert* e = list->mFirst; e; e = e->mNext)
                item->mColors.push_back({ColorToRGB(e->mColor), ColorToRGB(e->mBackColor)});
        for (int i = 0; i < poly->mNumEdges; ++i)
            item->mColors.push_back({ColorToRGB(poly->mEdges[i].mColor), 0});
    }
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
    if (!poly || mColors.empty())
        return false;
    if (poly->mPolytope)
    {
        size_t k = 0;
        ForEachElement4D(poly->mPolytope.get(), [this, &k](Element4D& e) {
            if (k < mColors.size())
                std::swap(e.mColor, mColors[k++].front);
        });
        GetShell().InvalidateModelDisplay(poly, false, false);
        GetShell().InvalidateModelDisplay(poly, true, false);
        return true;
    }
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
