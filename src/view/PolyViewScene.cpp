#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/TransitionSettings.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "render/GLContextState.h"
#include "render/TranslucentQueue.h"
#include "view/PolyView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace
{
TransitionMotionHook gTransitionMotion = nullptr;
}  // namespace

void SetTransitionMotionHook(TransitionMotionHook hook)
{
    gTransitionMotion = hook;
}

void CPolyView::PrepareForDraw()
{
    if (mViewType < 0 || !mPendingFit)
        return;
    // The diagrams and nets fit their own extents once they exist; until then the fit waits.
    if (!ViewTypeHasAll(mViewType, kViewFamily3D) && !(IsCurrentRecordLast() && ViewTypeHasAll(mViewType, kViewFamily4D)))
    {
        if (ViewTypeHasAll(mViewType, kViewFamilyDiagram) || ViewTypeHasAll(mViewType, kViewFamilyNet))
            return;
    }
    FitView(mPendingFit);
    mPendingFit = 0;
}

void CPolyView::FitView(int /*mode*/)
{
    if (!Is3D())
        return;
    double radius = GetViewRadius(1);
    if (std::fabs(mExplosion) > 1.0)
        if (const Poly* poly = GetCurrentPoly())
            radius *= poly->mDisplayScale * std::fabs(mExplosion);
    FitSphere(nullptr, radius);
}

void CPolyView::ApplyModelTransform()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    const double e = poly->mTransitionProgress;
    if (e >= 1.0)
        return;
    if (gTransitionMotion)
    {
        gTransitionMotion(*this, *poly, GetViewRadius(1));
        return;
    }
    // The incoming model moves in from where the outgoing one moves out to.
    const TransitionSettings& t = poly->mTransition;
    const double radius = GetViewRadius(1);
    const double g = 1.0 - e;
    const double duration = t.GetDuration();
    const double side = poly->mIncoming ? 1.0 : -1.0;
    const auto value = [](double v) { return v == TransitionSettings::kUnset ? 0.0 : v; };
    const auto spinAboutY = [&](double spin) { glRotated(side * duration * value(spin) * 180.0 * g * g, 0.0, 1.0, 0.0); };
    switch (t.type)
    {
    case TransitionSettings::kTypeSideways:
    {
        const double d = value(t.sidewaysAngle) * kPi / 180.0;
        glTranslated(side * g * radius * std::cos(d), side * g * radius * std::sin(d), 0.0);
        spinAboutY(t.sidewaysSpin);
        break;
    }
    case TransitionSettings::kTypeOrbit:
    {
        const double q = value(t.orbitTilt) * kPi / 180.0;
        const double turn = side * g * value(t.orbitCount) * 360.0;
        glRotated(turn, 0.0, std::cos(q), std::sin(q));
        glTranslated(side * g * radius, 0.0, 0.0);
        glRotated(side * duration * value(t.orbitSpin) * 180.0 * g * g - turn, 0.0, std::cos(q), std::sin(q));
        break;
    }
    case TransitionSettings::kTypeShrinkGrow:
        spinAboutY(t.shrinkSpin);
        break;
    case TransitionSettings::kTypeExplodeGrow:
    case TransitionSettings::kTypeShrinkImplode:
    case TransitionSettings::kTypeExplodeImplode:
        if (poly->IsExplodePhase())
            mExplosion = ((value(t.explosionSize) - 1.0) * g + 1.0) / std::max(e, 1e-7);
        else
            mExplosion = 1.0;
        spinAboutY(t.explodeSpin);
        break;
    default:
        break;
    }
}

void CPolyView::DrawScene()
{
    if (mViewType < 0)
        return;
    CPolyDoc* doc = CPolyApp::GetDocument();
    ModelRecord* current = doc ? doc->GetCurrentRecord() : nullptr;
    const char* placeholder = GetPlaceholderText();
    if (!*placeholder)
    {
        if (doc && current)
        {
            // Older records of a transition first; the current one is made current again last.
            for (ModelRecord* record = doc->GetFirstRecord(); record; record = record->next)
            {
                if (record == current)
                    continue;
                doc->SwitchModelRecord(record, CPolyDoc::kNoPaths, this);
                SetViewingMatrix(GL_MODELVIEW, false);
                OnGLDraw();
            }
            if (doc->GetCurrentRecord() != current)
            {
                doc->SwitchModelRecord(current, CPolyDoc::kNoPaths, this);
                SetViewingMatrix(GL_MODELVIEW, false);
            }
        }
        OnGLDraw();
    }
    const float* color = GetRenderSettings().sceneTextColor;
    const char* text = *placeholder ? placeholder : GetMessage().c_str();
    if (*text)
    {
        const int* viewport = GetViewport();
        DrawTextBox(text, viewport[2] / 2, viewport[3] / 2, color, 3, 0.5f);
    }
}

void CPolyView::OnGLDraw()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    poly->UpdateFaceDiagramColors();
    const double x = mExplosion;
    bool polygonOffset = false;
    if (Is3D())
    {
        SetMaterialSpecular(0.5f);
        // Faces are pushed back a little so that edges and vertices drawn on them stay in front.
        const Vec3D& eye = GetCurrentEyePosition();
        const double distance = Vec3Dot(eye, GetBackward());
        const double depthFactor = gDepthPrecisionScale < 1.0f ? double(gDepthPrecisionScale) : 1.0;
        glPolygonOffset(1.0f, PolygonOffsetUnitsAt(distance, IsOrthogonal(), depthFactor));
        glEnable(GL_POLYGON_OFFSET_FILL);
        polygonOffset = true;
    }
    bool baseDrawn = false;
    bool dualDrawn = false;
    switch (mViewType)
    {
    case kViewTypePoly:
        poly->DrawBaseModel(1.0, x);
        baseDrawn = true;
        break;
    case kViewTypeDual:
        poly->DrawDualModel(1.0, x);
        dualDrawn = true;
        break;
    case kViewTypePolyAndDual:
        poly->DrawBaseModel(1.0, x);
        poly->DrawDualModel(1.0, x);
        baseDrawn = dualDrawn = true;
        break;
    default:
        if (GetViewTypeName(mViewType, false) == nullptr)
            InternalError("Illegal view type in OnGLDraw (0x%x).", unsigned(mViewType));
        break;
    }
    FlushTranslucentQueue();
    if (baseDrawn || dualDrawn)
    {
        DrawModelMarks(*poly);
        if (polygonOffset)
            glDisable(GL_POLYGON_OFFSET_FILL);
        polygonOffset = false;
        FaceVert* selected = poly->mSelectedFace;
        const bool selectedDrawn = selected && (selected->IsVert() ? dualDrawn : baseDrawn);
        if (selectedDrawn && selected->IsVert() == poly->mShowDual)
            poly->DrawSelectedFace(0, 1.0, x);
        const bool lighting = SetLighting(false);
        poly->DrawSelection(1.0, x);
        SetLighting(lighting);
    }
    if (polygonOffset)
        glDisable(GL_POLYGON_OFFSET_FILL);
}

void CPolyView::DrawModelMarks(Poly& poly)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    if (!options.mShowVerts && !options.mShowEdges)
        return;
    for (const bool dual : {false, true})
    {
        if ((dual && mViewType == kViewTypePoly) || (!dual && mViewType == kViewTypeDual))
            continue;
        if (options.mShowEdges)
        {
            if (DrawCylindersAtEdges())
                DrawEdgeCylinders(poly, dual);
            else
            {
                const bool lighting = SetLighting(false);
                poly.DrawEdges(dual, 1.0, mExplosion);
                SetLighting(lighting);
            }
        }
        if (options.mShowVerts)
        {
            if (DrawSpheresAtVerts())
                DrawVertexSpheres(poly, dual);
            else
            {
                const bool lighting = SetLighting(false);
                poly.DrawVertices(dual, 1.0, mExplosion);
                SetLighting(lighting);
            }
        }
    }
}
