#include "kernel/Polygon3D.h"
#include "kernel/RenderSettings.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "stellation/Stellation.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <algorithm>
#include <cmath>

namespace
{
Stellation* SideStellation(Poly* poly, bool dual)
{
    return dual ? poly->GetVertStellation() : poly->GetFaceStellation();
}

// The largest distance of a point of the stellation from the centre, measured on its mesh; a
// stellation without one is the side's own polyhedron, the model itself (radius 1) or its dual.
double StellationRadius(Poly* poly, Stellation* stellation)
{
    if (!stellation)
        return 0.0;
    if (const double r = stellation->GetRadius(); r > 0.0)
        return r;
    return stellation->IsDual() ? poly->GetRadius() : 1.0;
}

// The largest distance of a point of the user's facets from the centre; 0 without any.
double FacetRadius(const Poly& poly)
{
    double largest = 0.0;
    for (const Polygon3D* p = poly.mFirstDrawnPolygon; p; p = p->mNext)
    {
        const RingVert* first = p->mRing;
        if (!first)
            continue;
        const RingVert* v = first;
        do
        {
            largest = std::max(largest, Vec3Length(v->pos));
            v = v->next;
        } while (v && v != first);
    }
    return largest;
}
}  // namespace

Stellation* CPolyView::GetStellation(bool otherSide) const
{
    Poly* poly = GetCurrentPoly();
    bool dual = false;
    if (!poly || !GetShownSide(dual))
        return nullptr;
    return SideStellation(poly, dual != otherSide);
}

Stellation* CPolyView::GetStellationUpTo(int n, bool otherSide) const
{
    Stellation* stellation = GetStellation(otherSide);
    if (!stellation)
        return nullptr;
    if (n > kStellationNotBuilt && stellation->mPoly)
        stellation->mPoly->CreateStellation(stellation, n);
    // A stellation under construction counts as not built: its cells are not all there yet.
    const int state = stellation->IsUnderConstruction() ? kStellationNotBuilt : stellation->mState;
    return state >= n ? stellation : nullptr;
}

Model3D* CPolyView::PeekStellationModel3D() const
{
    const Stellation* stellation = GetStellation();
    return stellation ? stellation->PeekModel3D() : nullptr;
}

FaceType* CPolyView::GetSelectedFaceType() const
{
    const Stellation* stellation = GetStellation();
    const FaceVert* face = stellation ? stellation->GetSelectedFace() : nullptr;
    return face ? face->mFaceType : nullptr;
}

double CPolyView::GetTextSize() const
{
    Poly* poly = GetCurrentPoly();
    if (!poly || IsModel4D(poly))
        return 1.0;
    if (ViewTypeHasAll(mViewType, kViewFamilyStellation))
    {
        bool dual = false;
        GetShownSide(dual);
        Model3D* mesh = PeekStellationModel3D();
        return mesh ? poly->GetTextSize(dual ? 1 : 0, mesh->GetMeanEdgeLength()) : 0.0;
    }
    switch (mViewType)
    {
    case kViewTypePoly:
        return poly->GetTextSize(0, poly->GetFaceStellation()->GetMeanEdgeLength());
    case kViewTypeDual:
        return poly->GetTextSize(1, poly->GetVertStellation()->GetMeanEdgeLength());
    case kViewTypePolyAndDual:
        return std::max(poly->GetTextSize(0, poly->GetFaceStellation()->GetMeanEdgeLength()),
                        poly->GetTextSize(1, poly->GetVertStellation()->GetMeanEdgeLength()));
    default:
        return 1.0;
    }
}

double CPolyView::GetVertexSphereRadius(bool force) const
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return 0.0;
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    const bool drawn = Is3D() && o.mSpheresAndCylinders &&
                       (o.mShowVerts || o.mShowEdges || o.mShowStelVerts || o.mShowStelEdges);
    if (!force && !drawn)
        return 0.0;
    // The spheres of a 4D model are sized from the pane's polytope, which the 4D display keeps.
    if (IsModel4D(poly))
        return 0.0;
    const auto side = [poly](bool dual) {
        return poly->GetVertexSphereRadius(dual ? 1 : 0, SideStellation(poly, dual)->GetMeanEdgeLength());
    };
    if (ViewTypeHasAll(mViewType, kViewFamilyStellation))
    {
        bool dual = false;
        GetShownSide(dual);
        Model3D* mesh = PeekStellationModel3D();
        return mesh ? poly->GetVertexSphereRadius(dual ? 1 : 0, mesh->GetMeanEdgeLength()) : 0.0;
    }
    switch (mViewType)
    {
    case kViewTypePoly:
        return side(false);
    case kViewTypeDual:
        return side(true);
    case kViewTypeFacetPreview:
    case kViewTypePolyAndDual:
        return std::max(side(false), side(true));
    default:
        return 0.0;
    }
}

double CPolyView::GetDrawnSphereRadius() const
{
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    if (o.mShowVerts || (o.mShowStelVerts && !IsModel4D(GetCurrentPoly())))
        return GetVertexSphereRadius(false);
    return 0.0;
}

double CPolyView::GetMarkerMargin() const
{
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    double r = GetDrawnSphereRadius();
    // Rods thicker than the balls reach further out.
    if ((o.mShowEdges || o.mShowStelEdges) && o.mCylinderRad > 1.0)
        r *= o.mCylinderRad;
    return r;
}

double CPolyView::GetViewRadius(int withMargin) const
{
    Poly* poly = GetCurrentPoly();
    double radius = 1.0;
    if (poly)
    {
        const bool model4D = IsModel4D(poly);
        switch (mViewType)
        {
        case kViewTypePoly:
            radius = 1.0;
            break;
        case kViewTypeDual:
            radius = poly->GetRadius();
            break;
        case kViewTypePolyAndDual:
            radius = std::max(1.0, poly->GetRadius());
            break;
        case kViewTypeFacetPreview:
            radius = FacetRadius(*poly);
            if (radius < kTol)
                radius = poly->mShowDual ? poly->GetRadius() : 1.0;
            break;
        case kViewTypeUniStellation:
        case kViewTypeDualStellation:
        case kViewTypeCompound:
        {
            Stellation* stellation = GetStellation();
            radius = stellation ? StellationRadius(poly, stellation) : 1.0;
            break;
        }
        case kViewTypeNet3D:
        {
            Stellation* stellation = GetStellation();
            radius = stellation ? 2.0 * StellationRadius(poly, stellation) : 2.0;
            break;
        }
        case kViewTypeSlice:
            if (model4D)
            {
                radius = 1.0;
                break;
            }
            [[fallthrough]];
        default:
            if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
                radius = std::max(1.0, poly->GetRadius());
            else
                // The flat diagrams: half the larger side of their extent. The 4D display parts of
                // the cell, vertex-figure and net panes come with the 4D display.
                radius = 0.5 * std::max(std::fabs(GetScrollAreaWidth()), std::fabs(GetScrollAreaHeight()));
            break;
        }
    }
    if (radius < kTol)
        return 1.0;
    if (withMargin)
        radius += GetMarkerMargin();
    return radius;
}

void CPolyView::GetViewRotationMatrix(double matrix[9], double* copy, bool scaled) const
{
    Vec3D b = GetBackward();
    Vec3Normalize(b);
    Vec3D r;
    Vec3AddScaled(r, GetRight(), -Vec3Dot(GetRight(), b), b);
    Vec3Normalize(r);
    Vec3D u;
    Vec3Cross(u, b, r);
    const double s = scaled ? GetUnitSettings().GetScale() : 1.0;
    const Vec3D* columns[3] = {&r, &u, &b};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
        {
            const Vec3D& c = *columns[col];
            const double value = row == 0 ? c.x : row == 1 ? c.y : c.z;
            matrix[3 * row + col] = value * s;
        }
    if (copy)
        std::copy(matrix, matrix + 9, copy);
}

bool CPolyView::CheckGeomagBuildable()
{
    if (!IsKitStyle())
        return false;
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    if (IsModel4D(poly))
        return true;
    bool buildable = false;
    const char* reason = nullptr;
    if (ViewTypeHasAll(mViewType, kViewFamilyNet))
    {
        bool dual = false;
        GetShownSide(dual);
        buildable = poly->IsStellationKitBuildable(dual);
        reason = SideStellation(poly, dual)->mKitReason;
    }
    else
        switch (mViewType)
        {
        case kViewTypePoly:
        case kViewTypeDual:
        {
            const bool dual = mViewType == kViewTypeDual;
            buildable = poly->IsKitBuildable(dual, nullptr);
            reason = dual ? poly->mDualKitReason : poly->mKitReason;
            break;
        }
        case kViewTypeUniStellation:
        case kViewTypeDualStellation:
        {
            const bool dual = mViewType == kViewTypeDualStellation;
            buildable = poly->IsStellationKitBuildable(dual);
            reason = SideStellation(poly, dual)->mKitReason;
            break;
        }
        default:
            NewView::SetMessage(this, "Geomag-style not available in this view.");
            return false;
        }
    if (reason && !buildable)
        NewView::SetMessage(this, "Model can't be made with Geomag.\n%s", reason);
    else if (reason)
        NewView::SetMessage(this, "Some Geomag panels have been left out.\n%s", reason);
    return buildable;
}
