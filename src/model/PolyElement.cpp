#include "model/PolyElement.h"

#include "kernel/Strings.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"

bool PolyElement::IsVertInView(const PolyElement* element, bool showDual)
{
    const FaceVert* fv = element ? element->AsFaceVert() : nullptr;
    return fv && fv->IsFace() == showDual;
}

bool PolyElement::IsFaceInView(const PolyElement* element, bool showDual)
{
    const FaceVert* fv = element ? element->AsFaceVert() : nullptr;
    return fv && fv->IsVert() == showDual;
}

Poly* PolyElement::GetPoly(const PolyElement* element)
{
    if (const FaceVert* fv = element->AsFaceVert())
        return fv->mPoly;
    const Edge* edge = element->AsEdge();
    return edge && edge->mVerts[0] ? edge->mVerts[0]->mPoly : nullptr;
}

bool PolyElement::IsHidden(const PolyElement* element, bool showDual)
{
    if (!element)
        return false;
    const bool hideBetween = GetElementDisplayOptions().mHideBetweenHiddenFaces;
    if (const Edge* edge = element->AsEdge())
    {
        if (edge->mFlags & Edge::kHidden)
            return true;
        if (!hideBetween)
            return false;
        for (const FaceVert* side : edge->GetFaces(showDual))
            if (side && !(side->mFlags & FaceVert::kHidden))
                return false;
        return true;
    }
    const FaceVert* fv = element->AsFaceVert();
    if (!fv)
        return false;
    if (fv->mFlags & FaceVert::kHidden)
        return true;
    if (!hideBetween || IsFaceInView(fv, showDual))
        return false;
    // A vertex of the model as shown goes with the faces around it.
    for (int i = 0; i < fv->mNumSides; ++i)
    {
        const FaceVert* neighbour = fv->mNeighbours[i];
        if (!neighbour || !(neighbour->mFlags & FaceVert::kHidden))
            return false;
    }
    return true;
}

bool PolyElement::IsSameType(const PolyElement* a, const PolyElement* b)
{
    if (const Edge* ea = a->AsEdge())
    {
        const Edge* eb = b->AsEdge();
        if (!eb)
            return false;
        if (ea->mType == eb->mType)
            return true;
        if (!IsReflexibilityMaintained())
            return false;
        // The mirror type comes right after the type it mirrors.
        const Edge* m = (ea->mFlags & Edge::kMirrorSecond) ? ea : eb;
        const Edge* other = m == ea ? eb : ea;
        return (m->mFlags & Edge::kMirrorSecond) && m->mType == other->mType + 1;
    }
    const FaceVert* fa = a->AsFaceVert();
    const FaceVert* fb = b->AsFaceVert();
    if (!fa || !fb || fa->IsVert() != fb->IsVert())
        return false;
    if (fa->mFaceType == fb->mFaceType)
        return true;
    return IsReflexibilityMaintained() && fb->mFaceType && fb->mFaceType->mMirrorFace == fa->mFaceType;
}

void PolyElement::SetText(PolyElement* element, const char* text)
{
    const bool wasBlank = element->mText.empty();
    const bool isBlank = IsBlank(text);
    const int change = wasBlank == isBlank ? 0 : isBlank ? -1 : 1;
    if (change)
    {
        if (Edge* edge = element->AsEdge())
        {
            if (Poly* poly = GetPoly(edge))
                poly->mNumEdgeTexts += change;
        }
        else if (FaceVert* fv = element->AsFaceVert(); fv && fv->mList)
            fv->mList->mNumTexts += change;
    }
    if (isBlank)
        element->mText.clear();
    else
        element->mText = text;
}

PolyElement* PolyElement::NextElement(PolyElement* element, bool skipHidden, bool showDual)
{
    PolyElement* next = element;
    do
    {
        if (FaceVert* fv = next->AsFaceVert())
            next = fv->mNext;
        else
        {
            Edge* edge = next->AsEdge();
            const Poly* poly = edge ? GetPoly(edge) : nullptr;
            const int index = poly ? Edge::GetIndex(edge, poly) : -1;
            next = index >= 0 ? poly->GetEdge(index + 1) : nullptr;
        }
    } while (next && skipHidden && IsHidden(next, showDual));
    return next;
}

ColorRGB* PolyElement::GetColor(PolyElement* element)
{
    return element ? &element->mColor : &GetElementDisplayOptions().mDefaultEdgeColor;
}

void PolyElement::SetColor(PolyElement* element, const ColorRGB& color)
{
    *GetColor(element) = color;
}
