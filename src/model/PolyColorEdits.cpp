// The element colour edits of the Color menu: replacing a colour, colouring one element, a type or
// a whole list, taking colours from neighbours and colouring one part of a compound.

#include "kernel/AskQuestion.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"

#include <algorithm>

namespace
{
bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// The faces, or the vertices, that the element belongs to.
ElemList* ListOf(Poly& poly, const FaceVert* element)
{
    return element->IsVert() ? static_cast<ElemList*>(&poly.mVerts) : static_cast<ElemList*>(&poly.mFaces);
}

void FaceColorsDone(Poly& poly, bool rebuildNets)
{
    poly.mFlags |= Poly::kRecolorFaceDiagrams;
    GetShell().FaceColorsChanged(&poly, rebuildNets);
}

bool SetEdgeColors(Poly& poly, Edge* edge, int scope, const ColorRGB& color)
{
    GetShell().AddUndo(kUndoColorChange, false);
    for (int i = 0; i < poly.mEdges.count; ++i)
    {
        Edge& e = poly.mEdges[i];
        if (&e == edge || scope == Poly::kColorScopeAll ||
            (scope == Poly::kColorScopeType && PolyElement::IsSameType(&e, edge)))
            e.mColor = color;
    }
    GetShell().EdgeColorsChanged();
    return true;
}

// The conflicts of one command: asked about once, the answer kept for the rest.
struct NeighbourChoice
{
    static constexpr int kOutermost = 0;
    static constexpr int kInnermost = 1;
    static constexpr int kNotAsked = -2;
    int answer = kNotAsked;

    int Ask(const FaceVert* face)
    {
        if (answer == kNotAsked)
            answer = AskQuestion(0, "Taking color from neighbours",
                                 {"Outermost neighbouring face", "/Innermost neighbouring face", "/-Leave unchanged"},
                                 "Found a face with neighbours of different colors (face %d, and maybe "
                                 "others).\nWhich neighbour should I take the color from?",
                                 FaceVert::GetNumber(face));
        return answer;
    }
};

// One face's choice among its neighbours across its sides; false when it keeps its colour.
bool ChooseNeighbourColor(FaceVert* face, const ColorRGB& replaced, NeighbourChoice& choice, ColorRGB& chosen)
{
    bool found = false;
    double nearest = 0.0;
    double farthest = 0.0;
    for (int side = 0; side < face->mNumSides; ++side)
    {
        const FaceVert* n = FaceVert::GetAdjacent(face, side);
        if (!n || (n->mFlags & FaceVert::kVisitMark) || SameColor(n->mColor, replaced))
            continue;
        const double d = Vec3Dot(n->mCentroid, n->mCentroid);
        if (!found)
        {
            found = true;
            chosen = n->mColor;
            nearest = farthest = d;
            continue;
        }
        if (!SameColor(n->mColor, chosen))
        {
            const int answer = choice.Ask(face);
            if (answer == NeighbourChoice::kOutermost)
            {
                if (d > farthest)
                    chosen = n->mColor;
            }
            else if (answer == NeighbourChoice::kInnermost)
            {
                if (d < nearest)
                    chosen = n->mColor;
            }
            else
                return false;
        }
        nearest = std::min(nearest, d);
        farthest = std::max(farthest, d);
    }
    return found;
}
}  // namespace

bool Poly::HasElementColor(const ColorRGB& color) const
{
    for (const ElemList* list : {static_cast<const ElemList*>(&mFaces), static_cast<const ElemList*>(&mVerts)})
        for (const FaceVert* e = list->mFirst; e; e = e->mNext)
            if (SameColor(e->mColor, color) || SameColor(e->mBackColor, color))
                return true;
    return false;
}

void Poly::ReplaceFaceColor(const ColorRGB& oldColor, const ColorRGB& newColor, bool backOnly)
{
    GetShell().AddUndo(kUndoColorChange, false);
    for (ElemList* list : {static_cast<ElemList*>(&mFaces), static_cast<ElemList*>(&mVerts)})
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
        {
            if (!backOnly && SameColor(e->mColor, oldColor))
                e->mColor = newColor;
            if (SameColor(e->mBackColor, oldColor))
                e->mBackColor = newColor;
        }
    FaceColorsDone(*this, true);
}

bool Poly::MayChangeBackColor(const FaceVert* face)
{
    if (!face || !(face->mFlags & FaceVert::kHemi))
        return true;
    ErrorMessage("You may not change the back-face colour of\nfaces which pass through the centre of the model.");
    return false;
}

bool Poly::SetElementColor(PolyElement* element, int scope, const ColorRGB& color, bool back, bool withMirror)
{
    if (!element)
        return false;
    if (Edge* edge = element->AsEdge())
        return !back && SetEdgeColors(*this, edge, scope, color);
    FaceVert* target = element->AsFaceVert();
    if (!target || (back && scope == kColorScopeSingle && !MayChangeBackColor(target)))
        return false;
    const FaceType* type = target->mFaceType;
    const FaceType* mirror = withMirror && type ? type->mMirrorFace : nullptr;
    GetShell().AddUndo(kUndoColorChange, false);
    for (FaceVert* e = ListOf(*this, target)->mFirst; e; e = e->mNext)
    {
        const bool reached = e == target || scope == kColorScopeAll ||
                             (scope == kColorScopeType && type && (e->mFaceType == type || (mirror && e->mFaceType == mirror)));
        if (!reached)
            continue;
        if (back)
        {
            e->mBackColor = color;
            continue;
        }
        if (scope != kColorScopeSingle || SameColor(e->mBackColor, e->mColor))
            e->mBackColor = color;
        e->mColor = color;
    }
    FaceColorsDone(*this, back);
    return true;
}

int Poly::TakeColorFromNeighbours(FaceVert* start)
{
    if (!start)
        return 0;
    const ColorRGB replaced = start->mColor;
    ElemList* list = ListOf(*this, start);
    GetShell().AddUndo(kUndoColorChange, false);
    NeighbourChoice choice;
    int total = 0;
    int changed = 0;
    int candidates = 0;
    do
    {
        changed = 0;
        candidates = 0;
        for (FaceVert* f = list->mFirst; f; f = f->mNext)
        {
            if (!SameColor(f->mColor, replaced))
                continue;
            // Marked faces are still to be decided in this pass: their neighbours do not count them.
            f->mFlags |= FaceVert::kVisitMark;
            ++candidates;
            ColorRGB chosen;
            if (ChooseNeighbourColor(f, replaced, choice, chosen))
            {
                f->mColor = chosen;
                f->mBackColor = chosen;
                ++changed;
            }
        }
        ClearElementFlags(FaceVert::kVisitMark);
        total += changed;
    } while (changed > 0 && changed != candidates);
    FaceColorsDone(*this, true);
    return total;
}

void Poly::SetPartColor(FaceVert* start, const ColorRGB& color)
{
    if (!start)
        return;
    GetShell().AddUndo(kUndoColorChange, false);
    FillPartColor(start, color, false);
    FaceColorsDone(*this, false);
}
