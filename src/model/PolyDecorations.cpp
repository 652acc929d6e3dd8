#include "kernel/FaceImage.h"
#include "kernel/GrowableArray.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"

namespace
{
bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Removes the element's text; true when it had one.
bool RemoveText(PolyElement* element)
{
    if (!element->HasText())
        return false;
    PolyElement::SetText(element, nullptr);
    return true;
}

// The first element of the list the element belongs to: its face or vertex list, or the edges.
PolyElement* FirstOfList(Poly* poly, PolyElement* element)
{
    if (const FaceVert* fv = element->AsFaceVert())
        return fv->mList ? fv->mList->mFirst : nullptr;
    return poly->GetEdge(0);
}

// Removes the texts of every element of the list from first on that the test accepts.
template <class Test>
bool RemoveTextsFrom(PolyElement* first, bool showDual, Test accepts)
{
    bool removed = false;
    for (PolyElement* e = first; e; e = PolyElement::NextElement(e, false, showDual))
        if (accepts(e))
            removed |= RemoveText(e);
    return removed;
}
}  // namespace

void Poly::ApplyImageToFaces(FaceImage* image, FaceVert* face, int scope)
{
    if (!face || !face->mList || scope < kImageScopeFace || scope > kImageScopeAllFaces)
        return;
    // The face's own image and colour choose the others, before the face itself changes. The extra
    // user keeps the old image alive while the faces let go of it.
    FaceImage* original = face->mImage.Get();
    const ColorRGB originalColor = face->mColor;
    if (original)
        original->AddUser();
    bool undoOpen = false;
    for (FaceVert* f = face->mList->mFirst; f; f = f->mNext)
    {
        bool inScope = false;
        switch (scope)
        {
        case kImageScopeFace:
            inScope = f == face;
            break;
        case kImageScopeSameType:
            inScope = f == face || PolyElement::IsSameType(f, face);
            break;
        case kImageScopeSameColor:
            inScope = SameColor(f->mColor, originalColor);
            break;
        case kImageScopeSameImage:
            inScope = f->mImage.Get() == original;
            break;
        case kImageScopeWithoutImage:
            inScope = !f->mImage.Get();
            break;
        default:
            inScope = true;
            break;
        }
        if (!inScope || f->mImage.Get() == image)
            continue;
        if (!undoOpen)
        {
            GetShell().AddUndo(kUndoApplyImage, false);
            undoOpen = true;
        }
        f->mImage.Set(image);
    }
    FaceImage::Release(original);
    mFlags |= kRecolorFaceDiagrams | kRecolorMorphDiagrams | kRecolorSection;
    GetShell().InvalidateAllViews(false, 1);
}

bool Poly::RemoveTexts(PolyElement* element, int scope, bool changed)
{
    if (!element)
        return changed;
    bool removed = false;
    const bool dual = mShowDual;
    ElemList* shownFaces = dual ? static_cast<ElemList*>(&mVerts) : &mFaces;
    ElemList* shownVerts = dual ? static_cast<ElemList*>(&mFaces) : &mVerts;
    const bool everyFace = scope == kTextScopeAllFaces || scope == kTextScopeEverywhere;
    const bool everyEdge = scope == kTextScopeAllEdges || scope == kTextScopeEverywhere;
    const bool everyVert = scope == kTextScopeAllVertices || scope == kTextScopeEverywhere;
    auto all = [](const PolyElement*) { return true; };
    switch (scope)
    {
    case kTextScopeElement:
        removed = RemoveText(element);
        break;
    case kTextScopeSameType:
        removed = RemoveTextsFrom(FirstOfList(this, element), dual,
                                  [element](const PolyElement* e) { return PolyElement::IsSameType(e, element); });
        break;
    case kTextScopeSameColor:
    {
        const ColorRGB color = element->mColor;
        removed = RemoveTextsFrom(FirstOfList(this, element), dual,
                                  [&color](const PolyElement* e) { return SameColor(e->mColor, color); });
        break;
    }
    default:
        if (everyFace)
            removed |= RemoveTextsFrom(shownFaces->mFirst, dual, all);
        if (everyEdge)
            removed |= RemoveTextsFrom(GetEdge(0), dual, all);
        if (everyVert)
            removed |= RemoveTextsFrom(shownVerts->mFirst, dual, all);
        break;
    }
    if (removed)
        GetShell().InvalidateAllViews(false, 1);
    return removed || changed;
}

int Poly::CollectFaceColors(GrowableArray<ColorRGB>& colors)
{
    colors.Clear();
    const ElemList* faces = mShowDual ? static_cast<const ElemList*>(&mVerts) : &mFaces;
    for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
    {
        bool collected = false;
        for (const ColorRGB& c : colors)
            if (ColorSame(c, f->mColor))
            {
                collected = true;
                break;
            }
        if (collected)
            continue;
        if (int(colors.count) >= faces->mCount)
        {
            InternalError("Too many colors!");
            return -1;
        }
        if (!colors.Add(f->mColor))
        {
            ErrorMessage("Out of memory for a list of %d colours.", faces->mCount);
            return -1;
        }
    }
    return int(colors.count);
}
