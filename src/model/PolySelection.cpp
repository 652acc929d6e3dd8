#include "model/Poly.h"

#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/UnitSettings.h"
#include "mesh/Model3D.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/SectionPolygon.h"
#include "model/SymGroup.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"

namespace
{
// View-type bits of the views that show the model's name and fit to its size.
constexpr int kTitledViewBits = 0x400 | 0x4000;
}  // namespace

void Poly::SelectElement(PolyElement* element, bool asVertex)
{
    Shell& shell = GetShell();
    if (element && element->IsEdge())
    {
        Edge* edge = element->AsEdge();
        const bool changed = element != mSelectedElement;
        if (changed)
        {
            ClearSelection();
            shell.InvalidateAllViews(false, 0);
        }
        mSelectedEdge = edge;
        if (changed)
            shell.SelectInfoElementItem(2, edge->mType, mShowDual ? 1 : 0);
        SetStatusText("Selected %s edge %d (type %d), length %g", mShowDual ? "dual" : "base",
                      Edge::GetNumber(edge, this), edge->mType + 1,
                      edge->GetLength(mShowDual) * GetUnitSettings().GetScale());
        mSelectedElement = edge;
        shell.UpdatePivotOfLastActiveView();
        return;
    }
    if (mSelectedElement)
        shell.InvalidateAllViews(false, 0);
    if (!element)
        mSelectedElement = nullptr;
    SelectFace(element ? element->AsFaceVert() : nullptr, asVertex);
}

void Poly::SelectNextCoincident(FaceVert* element)
{
    if (!element)
        return;
    FaceVert* choice = element;
    FaceVert* e = element;
    // Bounded, so that a broken ring cannot hold the walk.
    int limit = element->mList ? element->mList->mCount + 1 : 1;
    do
    {
        if (e == mSelectedFace)
        {
            choice = e->mNextCoplanar ? e->mNextCoplanar : e;
            break;
        }
        if (!(e->mFlags & FaceVert::kSkip))
            choice = e;
        e = e->mNextCoplanar;
    } while (e && e != element && --limit > 0);
    SelectElement(choice, true);
}

void Poly::ClearSelection()
{
    SelectElement(nullptr, false);
    if (mGroup)
        mGroup->SelectAxis(-1);
    if (Model3D* mesh = GetFaceStellation()->PeekModel3D())
        mesh->SelectEdge(nullptr);
    if (mPolytope)
        Cell4D::Select(nullptr);
}

void ClearSelection()
{
    if (Poly* poly = GetCurrentPoly())
        poly->ClearSelection();
}

void Poly::SetShowDual(bool showDual)
{
    if (showDual == mShowDual)
        return;
    Shell& shell = GetShell();
    shell.InvalidateCrossSectionViews(0);
    mShowDual = showDual;
    delete mSectionPolygons;
    mSectionPolygons = nullptr;
    if (mPolytope)
    {
        // A selected cell follows to the polytope now shown.
        Polytope4D* shown = GetShownPolytope4D();
        if (GetSelection4D().mCell && shown)
            Cell4D::Select(shown->mCurrentCell);
    }
    else if (mSelectedFace)
    {
        SelectFace(GetShownStellation()->mSelectedFace, false);
        shell.InvalidateAllViews(false, 0);
    }
    for (void* view = shell.NextView(nullptr); view; view = shell.NextView(view))
    {
        if (!(shell.ViewTypeCode(view) & kTitledViewBits))
            continue;
        shell.UpdateViewTitle(view);
        shell.RequestViewFit(view, 0);
    }
    shell.InfoNeedsUpdate(7);
}

FaceVert* Poly::GetStellationVert()
{
    return (mShowDual ? GetFaceStellation() : GetVertStellation())->mSelectedFace;
}

FaceVert* Poly::GetSelectedFace()
{
    return mSelectedFace ? mSelectedFace : GetStellationFace();
}

PolyElement* Poly::GetSelectedEdgeOrFace()
{
    if (mSelectedElement)
        return mSelectedElement;
    return GetStellationFace();
}

FaceVert* Poly::GetVisibleStellationVert()
{
    return FaceVert::SkipInf(GetStellationVert());
}

bool Poly::HasSelectedVert() const
{
    return PolyElement::IsVertInView(mSelectedElement, mShowDual);
}

bool Poly::HasSelectedEdge() const
{
    return mSelectedElement && mSelectedElement->IsEdge();
}

const char* Poly::GetSelectedKindWord() const
{
    if (mPolytope)
    {
        const Selection4D& selection = GetSelection4D();
        if (selection.mVert)
            return "vertex";
        if (selection.mEdge)
            return "edge";
        if (selection.mFace)
            return "face";
        return "cell";
    }
    if (HasSelectedEdge())
        return "edge";
    if (HasSelectedVert())
        return "vertex";
    return "face";
}

Polytope4D* Poly::GetShownPolytope4D()
{
    if (!mPolytope)
        return nullptr;
    return mShowDual ? mPolytope->GetDual() : mPolytope.get();
}

Cell4D* Poly::GetSelectedCell4D() const
{
    return mPolytope ? GetSelection4D().mCell : nullptr;
}

Vert4D* Poly::GetSelectedVert4D() const
{
    return mPolytope ? GetSelection4D().mVert : nullptr;
}

uint32_t Poly::GetSelectedEdgeColorRef()
{
    if (mPolytope)
        return Edge4D::GetColor(mPolytope->GetCurrentEdge(false));
    return ColorToRGB(*PolyElement::GetColor(mSelectedEdge));
}

uint32_t Poly::GetVertColorRef()
{
    if (mPolytope)
        return Vert4D::GetColor(mPolytope->GetCurrentVert(false));
    const FaceVert* vert = GetStellationVert();
    return vert ? ColorToRGB(vert->GetDrawColor()) : 0;
}
