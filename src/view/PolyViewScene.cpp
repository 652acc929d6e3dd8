#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/MouseThrow.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneParameters.h"
#include "kernel/Strings.h"
#include "kernel/TransitionSettings.h"
#include "kernel/ViewTypes.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/ColorSchemes.h"
#include "model/DrawnPolygon.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/FacetedPolyhedron.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "stellation/Stellation.h"
#include "render/BackgroundImageSettings.h"
#include "render/FontCache.h"
#include "render/TextureImage.h"
#include "render/GLContextState.h"
#include "render/KitStyle.h"
#include "render/TranslucentQueue.h"
#include "view/BackgroundImage.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"
#include "view/ViewDisplayOptions.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace
{
TransitionMotionHook gTransitionMotion = nullptr;

// The face drawing has no stencilled passes that keep coplanar lines visible: until it does, faces
// keep their polygon offset and the scene draws vertices and edges itself whatever the stencil
// switch says.
constexpr bool kFaceDrawingStencilsLines = false;

constexpr int kDottedStipple = 0x5555;

// What the Faceting Preview says above the faceted polyhedron: whether it closes, what its
// coloured edges mean, or how to start without facets.
std::string FacetingLegend(Poly& poly)
{
    poly.UpdateFacetedPoly();
    const SimplePoly* faceted = poly.mFacetedModel.get();
    if (!faceted)
    {
        char text[512];
        std::snprintf(text, sizeof text,
                      "No facets have been defined yet.\nHit the up-arrow key to find facetings,\nor use "
                      "\"%.256s\"\nor the matching toolbar button to create your own.",
                      kFacetingModeMenuText);
        return text;
    }
    const uint32_t flags = faceted->mFlags;
    std::string legend;
    if (!(flags & (SimplePoly::kDrewSingleEdges | SimplePoly::kDrewOddEdges)))
        legend += "Faceting is complete!\n";
    if (flags & SimplePoly::kDrewSingleEdges)
        legend += "Green edges: Only one face, needs another.\n";
    if (flags & SimplePoly::kDrewOddEdges)
        legend += "Orange edges: Odd number of faces > 2\n";
    if (flags & SimplePoly::kDrewEvenEdges)
        legend += "Red edges: Even number of faces > 2\n";
    if (flags & SimplePoly::kDrewCoplanarEdges)
        legend += "Purple edges: Two coplanar faces meet";
    return legend;
}

// The panes that draw the mesh of a stellation.
bool IsStellationType(int type)
{
    return type == kViewTypeUniStellation || type == kViewTypeDualStellation;
}

// The kit cannot show what the view draws for this record: the kit style stands aside.
bool KitStyleStandsAside(const CPolyView& view, Poly& poly)
{
    const int type = view.GetViewType();
    if (type == kViewTypeFacetPreview || type == kViewTypePolyAndDual || type == kViewTypeCompound ||
        type == kViewTypeSlice || ViewTypeHasAll(type, kViewFamilyMorph) || IsModel4D(&poly))
        return true;
    bool dual = false;
    view.GetShownSide(dual);
    if (ViewTypeHasAll(type, kViewFamilyStellation))
        return !poly.IsStellationKitBuildable(dual);
    return !poly.IsKitBuildable(dual, nullptr);
}

// The vertices and edges of a side's stellation mesh as points and lines in the default colours,
// each edge once: under "ShowStelVerts" and "ShowStelEdges", and in a pane that shows the
// stellation itself also under "ShowVerts" and "ShowEdges".
void DrawStellationMeshMarks(Poly& poly, bool dual, bool stellationPane)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const bool showVerts = options.mShowStelVerts || (stellationPane && options.mShowVerts);
    const bool showEdges = options.mShowStelEdges || (stellationPane && options.mShowEdges);
    if (!showVerts && !showEdges)
        return;
    Stellation* side = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    Model3D* mesh = side ? side->GetModel3D(false) : nullptr;
    if (!mesh)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const double scale = poly.mDisplayScale;
    const auto placed = [scale](const Vec3D& p) {
        Vec3D q;
        Vec3Scale(q, p, scale);
        return q;
    };
    const bool lighting = drawer.SetLighting(false);
    if (showEdges && !drawer.IsPicking())
    {
        std::vector<Vec3D> ends;
        for (int i = 0; i < mesh->GetNumEdgeSlots(); ++i)
        {
            const Edge3D* e = mesh->GetEdge(i);
            const Vert3D* end = e ? e->GetEndVert() : nullptr;
            // A joined edge is drawn from the side whose slot comes first.
            if (!e || !e->mVert || !end || (e->mNeigh && std::less<const Edge3D*>()(e->mNeigh, e)))
                continue;
            ends.push_back(placed(e->mVert->mPos));
            ends.push_back(placed(end->mPos));
        }
        const ColorRGB& c = options.mDefaultEdgeColor;
        std::vector<float> colors;
        for (size_t i = 0; i < ends.size() / 2; ++i)
            colors.insert(colors.end(), {c.r, c.g, c.b, 1.0f});
        if (!ends.empty())
            drawer.DrawLines(ends.data(), colors.data(), int(ends.size() / 2));
    }
    if (showVerts && !drawer.IsPicking())
    {
        std::vector<Vec3D> points;
        std::vector<float> colors;
        const ColorRGB& c = options.mDefaultVertColor;
        for (int i = 0; i < mesh->GetNumVerts(); ++i)
            if (const Vert3D* v = mesh->GetVert(i))
            {
                points.push_back(placed(v->mPos));
                colors.insert(colors.end(), {c.r, c.g, c.b, 1.0f});
            }
        if (!points.empty())
            drawer.DrawPoints(points.data(), colors.data(), int(points.size()), options.mVertSize);
    }
    drawer.SetLighting(lighting);
}

}  // namespace

void SetTransitionMotionHook(TransitionMotionHook hook)
{
    gTransitionMotion = hook;
}

bool KeepsStencilForDraw(const StencilDrawState& s)
{
    if (!s.useStencil || s.picking)
        return false;
    // No two faces of a 4D model's unshrunk cells coincide: nothing to separate.
    if (s.model4D && s.autoStencil && !s.printing && s.diagnosticMode == 0 &&
        ((ViewTypeHasAll(s.viewType, kViewFamily3D) && s.cellShrink4D == 1.0) ||
         (s.viewType == kViewTypeNet2D && s.netShrink4D == 1.0)))
        return false;
    return true;
}

void CPolyView::PrepareTextures()
{
    // Until a scene font is set up, text starts on the default face at a size for model units.
    if (!GetFirstFontCacheEntry())
    {
        SetDefaultFontFace(GetDefaultFontFace().c_str());
        SetFontResolution(48);
        SetGlobalFontSize(0.05f);
    }
    BackgroundImageSettings& settings = GetBackgroundImageSettings();
    if (!settings.pendingPath.empty())
    {
        const std::string path = settings.pendingPath;
        // A picture that went away since the last run is dropped quietly.
        if (!SetBackgroundImage(path))
            settings.pendingPath.clear();
    }
    if (TextureImage::GetFirst())
        TextureImage::PrepareAll(true, false);
}

void CPolyView::PrepareForDraw()
{
    if (const Poly* poly = GetCurrentPoly())
        SetTextScaleMultiplier(float(poly->mDisplayScale));
    if (mViewType < 0 || !mPendingFit)
        return;
    // The diagrams and nets fit their own extents once they exist; until then the fit waits.
    if ((DrawsDiagram(mViewType) || mViewType == kViewTypeNet2D) && !Is3D())
    {
        if (FitDiagram())
            mPendingFit = 0;
        return;
    }
    if (!ViewTypeHasAll(mViewType, kViewFamily3D) && !(IsCurrentRecordLast() && ViewTypeHasAll(mViewType, kViewFamily4D)))
    {
        if (ViewTypeHasAll(mViewType, kViewFamilyDiagram) || ViewTypeHasAll(mViewType, kViewFamilyNet))
            return;
    }
    // A stellation whose build was declined or cannot be had shows nothing to fit yet.
    if (IsStellationType(mViewType) && !GetStellationModel3D(false))
        return;
    FitView(mPendingFit);
    mPendingFit = 0;
}

void CPolyView::FitView(int mode)
{
    if (!Is3D())
        return;
    if (mode == 3 && FitTight())
        return;
    double radius = GetViewRadius(1);
    if (ExplosionApplies() && std::fabs(mExplosion) > 1.0)
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

bool CPolyView::IsFacingViewer(const Vec3D& point, const Vec3D& normal, bool useMatrix)
{
    const Poly* poly = GetCurrentPoly();
    const bool moving = poly && poly->mTransitionProgress < 1.0;
    return OpenGLView::IsFacingViewer(point, normal, useMatrix || moving);
}

bool CPolyView::IsFacingViewerF(const Vec3F& point, const Vec3F& normal, bool useMatrix)
{
    const Poly* poly = GetCurrentPoly();
    const bool moving = poly && poly->mTransitionProgress < 1.0;
    return OpenGLView::IsFacingViewerF(point, normal, useMatrix || moving);
}


void CPolyView::DrawBackground()
{
    const BackgroundTexture& texture = GetBackgroundTexture();
    if (!texture.name || texture.imageWidth <= 0 || texture.imageHeight <= 0 || texture.textureWidth <= 0 ||
        texture.textureHeight <= 0)
        return;
    const int* viewport = GetViewport();
    double shift = 0.0;
    if (Is3D() && GetStereoType() != kStereoOff && GetCurrentEye() != 0)
        shift = BackgroundStereoShift(GetViewRadius(1), Vec3Length(GetEye()), GetEyeSeparation(), GetCurrentEye() == 1,
                                      viewport[3], GetVerticalFOV());
    const BackgroundImageSettings& settings = GetBackgroundImageSettings();
    const BackgroundQuad q = ComputeBackgroundQuad(settings.fit, viewport, texture.imageWidth, texture.imageHeight, shift);

    const bool lighting = SetLighting(false);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
    const bool depthMask = SetDepthMask(false);
    SetColor4f(1.0f, 1.0f, 1.0f, settings.alpha);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    const int clamp = GetGLCapabilities().edgeClampMode;
    const GLint wrap = clamp > 0 ? GLint(clamp) : GLint(GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // Only the image's own texels of its texture.
    const int wide = texture.texelsWide > 0 ? texture.texelsWide : texture.imageWidth;
    const int high = texture.texelsHigh > 0 ? texture.texelsHigh : texture.imageHeight;
    const double s0 = double(texture.marginLeft) / texture.textureWidth;
    const double t0 = double(texture.marginBottom) / texture.textureHeight;
    const double s = s0 + double(wide) / texture.textureWidth;
    const double t = t0 + double(high) / texture.textureHeight;
    const double left = q.centreX - q.halfWidth, right = q.centreX + q.halfWidth;
    const double bottom = q.centreY - q.halfHeight, top = q.centreY + q.halfHeight;
    glBegin(GL_QUADS);
    glTexCoord2d(s0, t0);
    glVertex2d(left, bottom);
    glTexCoord2d(s, t0);
    glVertex2d(right, bottom);
    glTexCoord2d(s, t);
    glVertex2d(right, top);
    glTexCoord2d(s0, t);
    glVertex2d(left, top);
    glEnd();
    DisableTexture();
    SetDepthMask(depthMask);
    glDepthFunc(GL_LEQUAL);
    SetLighting(lighting);
}

void CPolyView::DrawScene()
{
    if (mViewType < 0)
        return;
    if (GetRenderFlags() & RenderSettings::kRainbowColors)
        SetMaterialColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const char* placeholder = GetPlaceholderText();
    std::string unavailable;
    const auto drawRecord = [&] {
        StepMouseThrows(this);
        Poly* poly = GetCurrentPoly();
        const bool suspended = poly && IsKitStyle() && KitStyleStandsAside(*this, *poly) && SuspendKitStyle();
        if (const char* message = CheckViewAvailable())
            unavailable = message;
        else if (!*placeholder)
        {
            // Each record brings its own camera.
            SetViewingMatrix(GL_PROJECTION, true);
            OnGLDraw();
        }
        ResumeKitStyle(suspended);
    };
    CPolyDoc* doc = GetPolyDoc();
    ModelRecord* current = doc ? doc->GetCurrentRecord() : nullptr;
    if (doc && current)
    {
        // The outgoing models of a transition first; the loop ends on the current record, as every
        // other view expects it.
        for (ModelRecord* record = doc->GetFirstRecord(); record; record = record->next)
        {
            if (record == current)
                continue;
            doc->SwitchModelRecord(record, CPolyDoc::kNoPaths, this);
            drawRecord();
        }
        doc->SwitchModelRecord(current, CPolyDoc::kNoPaths, this);
    }
    drawRecord();

    // Laid over the model, half seen through.
    if (GetBackgroundImageSettings().alpha > 0.0f)
    {
        const int blend = PushBlendMode(2);
        DrawBackground();
        PopBlendMode(blend);
    }

    const float* color = GetRenderSettings().sceneTextColor;
    if (unavailable.find_first_not_of(" \t\n") != std::string::npos)
    {
        DrawViewText(3, unavailable.c_str(), color, 0, 0, 0.5f);
        return;
    }
    Poly* poly = GetCurrentPoly();
    const bool newest = poly && IsNewestModelPoly(poly);
    const char* text = *placeholder ? placeholder : (newest ? GetMessage().c_str() : "");
    if (*text)
        DrawViewText(3, text, color, 0, 0, 0.5f);
    if (newest)
        DrawSceneTexts();
}

void CPolyView::DrawSceneTexts()
{
    const float* color = GetRenderSettings().sceneTextColor;
    char text[256];
    if (DrawsDiagram(mViewType) && !mDiagramCaption.empty())
        DrawViewText(0, mDiagramCaption.c_str(), color, 0, 0, 0.5f);
    if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
    {
        std::snprintf(text, sizeof text, "Morphing: %.1f%%", GetSceneParameters().morphRatio * 100.0);
        DrawViewText(0, text, color, 0, 0, 0.5f);
    }
    else if (mViewType == kViewTypeFacetPreview)
    {
        const std::string legend = FacetingLegend(*GetCurrentPoly());
        DrawViewText(0, legend.c_str(), color, 0, 0, 0.4f);
    }
    else if (mViewType == kViewTypeNet2D && !IsModel4D(GetCurrentPoly()) && !mNetInfoLine.empty())
        DrawViewText(0, mNetInfoLine.c_str(), color, 0, 0, 0.4f);
    else if (mViewType == kViewTypeSlice)
    {
        std::snprintf(text, sizeof text, "%.6f", GetSceneParameters().sliceRatio);
        std::string line = text;
        TrimTrailingZeros(line);
        line = "Cross-Section depth: " + line;
        DrawViewText(0, line.c_str(), color, 0, 0, 0.5f);
    }
}

void CPolyView::OnGLDraw()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    poly->UpdateFaceDiagramColors();
    const double x = mExplosion;
    const bool model4D = IsModel4D(poly);
    const bool stencilOnEntry = gUseStencil;
    bool polygonOffset = false;
    if (Is3D())
    {
        SetMaterialSpecular(0.5f);
        StencilDrawState state;
        state.useStencil = gUseStencil;
        state.picking = IsPicking();
        state.model4D = model4D;
        state.autoStencil = gAutoStencil;
        state.printing = IsPrinting();
        state.diagnosticMode = GetDiagnosticLabelFlags();
        state.viewType = mViewType;
        state.cellShrink4D = GetSceneParameters().shrink4D;
        state.netShrink4D = GetSceneParameters().netShrink4D;
        gUseStencil = KeepsStencilForDraw(state);
        if (!(gUseStencil && kFaceDrawingStencilsLines))
        {
            // Faces are pushed back a little so that edges and vertices drawn on them stay in front.
            const double distance = Vec3Dot(GetCurrentEyePosition(), GetBackward());
            const double depthFactor = gDepthPrecisionScale < 1.0f ? double(gDepthPrecisionScale) : 1.0;
            glPolygonOffset(1.0f, PolygonOffsetUnitsAt(distance, IsOrthogonal(), depthFactor));
            glEnable(GL_POLYGON_OFFSET_FILL);
            polygonOffset = true;
        }
    }
    if (ViewTypeHasAll(mViewType, kViewFamily3D) && !model4D)
        DrawModelMarks(*poly);
    // A selected face shown as its stellation diagram needs its side's stellation before the faces
    // are drawn, which leave out the face's ring then.
    if (SelectedFaceDisplay() == 1 && poly->mSelectedFace && IsModelType(mViewType) && !model4D)
        poly->CreateStellation(poly->mSelectedFace->IsVert() ? poly->GetVertStellation() : poly->GetFaceStellation(),
                               kStellationBuilt);

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
    case kViewTypeUniStellation:
        poly->DrawStellationView(1.0, x);
        break;
    case kViewTypeDualStellation:
        poly->DrawDualStellationView(1.0, x);
        break;
    case kViewTypeCompound:
        poly->DrawCompoundView(1.0, x);
        break;
    case kViewTypeFacetPreview:
        poly->DrawFacetingPreview(x);
        break;
    case kViewTypeFace:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
    case kViewTypeCellDiagram:
        DrawDiagramView();
        break;
    case kViewTypeSlice:
        if (!model4D)
            DrawDiagramView();
        break;
    case kViewTypeNet2D:
        if (!model4D)
            DrawUnfoldedNet();
        break;
    case kViewTypeNet3D:
        if (!model4D)
            DrawFoldingNet();
        break;
    default:
        if (GetViewTypeName(mViewType, false) == nullptr)
            InternalError("Illegal view type in OnGLDraw (0x%x).", unsigned(mViewType));
        break;
    }
    if (model4D && Is3D())
        Draw4DSpheresAndCylinders(*poly);
    FlushTranslucentQueue();
    if (model4D && Is3D())
        Draw4DSelection(*poly);

    // Planes through a pyramid's axis pass through the model: dotted where they are hidden.
    const SymGroup* group = poly->GetSymGroup();
    if (mShowReflectionPlanes && group && group->mKind == SymGroup::kPyramidal &&
        ViewTypeHasAll(mViewType, kViewFamily3D) && !model4D)
    {
        const bool depthTest = SetDepthTest(false);
        SetLineStipple(kDottedStipple);
        group->DrawMirrors(poly->mDisplayScale);
        SetLineStipple(0);
        SetDepthTest(depthTest);
    }

    if (ViewTypeHasAll(mViewType, kViewFamily3D) && mViewType != kViewTypeNet3D &&
        !ViewTypeHasAll(mViewType, kViewFamilyMorph))
    {
        DrawSectionPlane(*poly);
        if (FacetsExist(*poly) && poly->mCurrentDrawnPolygon)
        {
            // The facet being drawn, and again dotted through the model.
            Transform3D identity;
            DrawPolygon3D(*poly->mCurrentDrawnPolygon, identity, poly->mDisplayScale, nullptr);
            const bool offset = SetPolygonOffsetFill(false);
            const int blend = PushBlendMode(2);
            const bool depthTest = SetDepthTest(false);
            SetLineStipple(kDottedStipple);
            DrawPolygon3D(*poly->mCurrentDrawnPolygon, identity, poly->mDisplayScale, nullptr);
            SetLineStipple(0);
            SetDepthTest(depthTest);
            PopBlendMode(blend);
            SetPolygonOffsetFill(offset);
        }
    }
    if (polygonOffset)
        glDisable(GL_POLYGON_OFFSET_FILL);

    if (Is3D() && (baseDrawn || dualDrawn))
    {
        FaceVert* selected = poly->mSelectedFace;
        const bool selectedDrawn = selected && (selected->IsVert() ? dualDrawn : baseDrawn);
        if (selectedDrawn && selected->IsVert() == poly->mShowDual)
            poly->DrawSelectedFace(0, 1.0, x);
        // The outline, vertex or edge, and again dotted where the model hides it.
        const bool lighting = SetLighting(false);
        poly->DrawSelection(1.0, x);
        const bool depthTest = SetDepthTest(false);
        SetLineStipple(kDottedStipple);
        poly->DrawSelection(1.0, x);
        SetLineStipple(0);
        SetDepthTest(depthTest);
        SetLighting(lighting);
    }
    gUseStencil = stencilOnEntry;
}

void CPolyView::DrawModelMarks(Poly& poly)
{
    const double scale = poly.mDisplayScale;
    if (GetViewDisplayOptions().showMidsphere)
    {
        const ColorRGB& c = GetElementDisplayOptions().mMidsphereColor;
        const bool lighting = SetLighting(false);
        SetColor3f(c.r, c.g, c.b);
        DrawSphere(Vec3D{0.0, 0.0, 0.0}, poly.mMidRadius * scale);
        SetLighting(lighting);
    }
    if (const SymGroup* group = poly.GetSymGroup())
    {
        if (mShowSymmetryAxes)
            group->DrawAxes(nullptr, scale);
        if (mShowReflectionPlanes)
            group->DrawMirrors(scale);
        if (mShowReflectionNormals)
            group->DrawMirrorNormals(scale);
    }
    if (mViewType != kViewTypeNet3D && !ViewTypeHasAll(mViewType, kViewFamilyMorph))
        DrawVertsAndEdges(poly);
    if (IsStellationType(mViewType) || mViewType == kViewTypeCompound || IsModelType(mViewType))
    {
        bool dual = false;
        const bool single = GetShownSide(dual);
        const bool stellationPane = !IsModelType(mViewType);
        if (!single || mViewType == kViewTypePolyAndDual)
        {
            DrawStellationMeshMarks(poly, false, stellationPane);
            DrawStellationMeshMarks(poly, true, stellationPane);
        }
        else
            DrawStellationMeshMarks(poly, dual, stellationPane);
        // Cutting edges: the mesh's forced and user cuts, and every edge to be picked.
        if (::GetMouseMode() == kMouseModeCutEdges && single && mViewType != kViewTypePolyAndDual && !IsModel4D(&poly))
        {
            Stellation* side = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
            if (Model3D* mesh = side ? side->GetModel3D(true) : nullptr)
            {
                if (IsPicking())
                    mesh->DrawEdges(mExplosion);
                else
                    mesh->DrawCutEdges(mExplosion);
            }
        }
    }
}

void CPolyView::DrawVertsAndEdges(Poly& poly)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const bool here = !gUseStencil || !kFaceDrawingStencilsLines || options.mSpheresAndCylinders ||
                      mViewType == kViewTypeFacetPreview || poly.mVerts.mCount == 0;
    if (!here || (!options.mShowVerts && !options.mShowEdges))
        return;
    // The faceting preview marks the side it is made from.
    int type = mViewType;
    if (type == kViewTypeFacetPreview)
        type = poly.mShowDual ? kViewTypeDual : kViewTypePoly;
    if (!IsModelType(type))
        return;
    for (const bool dual : {false, true})
    {
        if ((dual && type == kViewTypePoly) || (!dual && type == kViewTypeDual))
            continue;
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
    }
}

void CPolyView::DrawSectionPlane(Poly& poly)
{
    if (!IsModelType(mViewType) || !ShowsSectionInModel(this) || IsModel4D(&poly) || !poly.CreateCrossSection2D())
        return;
    Vec3D u, v, n;
    double d = 0.0;
    poly.GetCrossSectionFrame(n, d, u, v);
    Vec3D origin;
    Vec3Scale(origin, n, -d);
    const double scale = poly.mDisplayScale;
    const auto drawOutline = [&] {
        for (const SectionPolygon* p = poly.mSectionPolygons; p; p = p->mNext)
        {
            if (p->mNumPoints < 2)
                continue;
            std::vector<Vec3D> points;
            points.reserve(size_t(p->mNumPoints) + 1);
            for (int i = 0; i <= p->mNumPoints; ++i)
            {
                const Vec3D& q = p->mPoints[i % p->mNumPoints];
                Vec3D w = origin;
                Vec3AddScaledTo(w, q.x, u);
                Vec3AddScaledTo(w, q.y, v);
                Vec3Scale(w, w, scale);
                points.push_back(w);
            }
            SetColor3f(p->mColor.r, p->mColor.g, p->mColor.b);
            DrawLineStrip(points.data(), int(points.size()));
        }
    };
    const bool lighting = SetLighting(false);
    drawOutline();
    const bool offset = SetPolygonOffsetFill(false);
    const int blend = PushBlendMode(2);
    const bool depthTest = SetDepthTest(false);
    SetLineStipple(kDottedStipple);
    drawOutline();
    SetLineStipple(0);
    SetDepthTest(depthTest);
    PopBlendMode(blend);
    SetPolygonOffsetFill(offset);
    SetLighting(lighting);
}
