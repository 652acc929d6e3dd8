#include "document/PolyDocColors4D.h"

#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/UserServices.h"
#include "model/Poly.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "render/PickColor.h"

namespace
{
// The element a 4D colour command works on, by kind.
struct Target4D
{
    Polytope4D* polytope = nullptr;
    Edge4D* edge = nullptr;
    Vert4D* vert = nullptr;
    Cell4D* cell = nullptr;

    uint32_t GetColor() const
    {
        if (edge)
            return Edge4D::GetColor(edge);
        if (vert)
            return Vert4D::GetColor(vert);
        return cell ? cell->mColor : 0;
    }
};

Target4D FindTarget(Poly& poly)
{
    Target4D target;
    target.polytope = poly.GetShownPolytope4D();
    if (!target.polytope)
        return target;
    const Selection4D& selection = GetSelection4D();
    if (selection.mEdge)
        target.edge = selection.mEdge;
    else if (selection.mVert)
        target.vert = selection.mVert;
    else
        target.cell = target.polytope->GetCurrentCell(true);
    return target;
}

// Whether the element is reached: itself, its type, or every one of its kind.
template <class Elem>
bool Reaches(const Elem* e, const Elem* item, int scope)
{
    return e == item || scope == Poly::kColorScopeAll || (scope == Poly::kColorScopeType && e->mType == item->mType);
}

void Recolored(Poly& poly)
{
    GetShell().FaceColorsChanged(&poly, true);
}
}  // namespace

void ReplaceCellColor4D(Poly& poly)
{
    Target4D target = FindTarget(poly);
    if (!target.cell && !target.vert && !target.edge)
        return;
    const uint32_t old = target.GetColor();
    uint32_t chosen = old;
    Polytope4D* polytopes[2] = {poly.mPolytope.get(), poly.mPolytope->GetDualIfBuilt()};
    for (;;)
    {
        if (!PickColorRGB(chosen, true) || chosen == old)
            return;
        bool taken = false;
        for (Polytope4D* p : polytopes)
            for (Element4D* list : {p ? p->mFirstCell : nullptr, p ? p->mFirstVert : nullptr})
                for (Element4D* e = list; e && !taken; e = e->next)
                    taken = e->mColor == chosen;
        if (!taken || ShowMessage(kMbYesNo | kMbIconExclamation,
                                  "There are already other cells of that color.\nWould you like to merge the two "
                                  "sets of cells\ninto a single color group?") == kIdYes)
            break;
        chosen = old;
    }
    GetShell().AddUndo(kUndoColorChange, false);
    for (Polytope4D* p : polytopes)
    {
        if (!p)
            continue;
        if (target.edge)
        {
            for (Element4D* e = p->mFirstEdge; e; e = e->next)
                if (e->mColor == old)
                    Edge4D::SetColor(Element4D::AsEdge(e), chosen);
            continue;
        }
        for (Element4D* e = p->mFirstCell; e; e = e->next)
            if (e->mColor == old)
                Cell4D::SetColor(Element4D::AsCell(e), chosen);
        for (Element4D* e = p->mFirstVert; e; e = e->next)
            if (e->mColor == old)
                Vert4D::SetColor(Element4D::AsVert(e), chosen);
    }
    Recolored(poly);
}

void SetElementColors4D(Poly& poly, int scope)
{
    Target4D target = FindTarget(poly);
    if (!target.cell && !target.vert && !target.edge)
        return;
    const uint32_t old = target.GetColor();
    uint32_t chosen = old;
    if (!PickColorRGB(chosen, true) || chosen == old)
        return;
    GetShell().AddUndo(kUndoColorChange, false);
    Polytope4D* p = target.polytope;
    if (target.edge)
    {
        for (Element4D* e = p->mFirstEdge; e; e = e->next)
            if (Reaches(Element4D::AsEdge(e), target.edge, scope))
                Edge4D::SetColor(Element4D::AsEdge(e), chosen);
    }
    else if (target.vert)
    {
        for (Element4D* e = p->mFirstVert; e; e = e->next)
            if (Reaches(Element4D::AsVert(e), target.vert, scope))
                Vert4D::SetColor(Element4D::AsVert(e), chosen);
    }
    else
    {
        for (Element4D* e = p->mFirstCell; e; e = e->next)
            if (Reaches(Element4D::AsCell(e), target.cell, scope))
                Cell4D::SetColor(Element4D::AsCell(e), chosen);
    }
    Recolored(poly);
}

void ColorCompoundPart4D(Poly& poly)
{
    Polytope4D* p = poly.GetShownPolytope4D();
    Cell4D* cell = p ? p->GetCurrentCell(true) : nullptr;
    if (!cell)
        return;
    uint32_t chosen = cell->mColor;
    if (!PickColorRGB(chosen, true))
        return;
    GetShell().AddUndo(kUndoColorChange, false);
    // The part is found from the polytope's own current cell.
    Cell4D* current = p->mCurrentCell;
    p->mCurrentCell = cell;
    p->MarkParts(true, false);
    p->mCurrentCell = current;
    for (Element4D* e = p->mFirstCell; e; e = e->next)
        if (e->mFlags & Element4D::kMark)
            Cell4D::SetColor(Element4D::AsCell(e), chosen);
    p->ClearMarks();
    Recolored(poly);
}
