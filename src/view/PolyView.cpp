#include "view/PolyView.h"

#include "document/AppShell.h"
#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "mesh/Net.h"
#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/ViewTypes.h"
#include "platform/CommandIds.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4D.h"
#include "render/GLSelection.h"
#include "view/BackgroundImage.h"
#include "view/ColorChanges.h"
#include "view/PaneHelpers.h"
#include "view/PolyCaptionWnd.h"
#include "view/TitleButtons.h"
#include "view/ViewDisplayOptions.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
int gFitSuspensions = 0;

constexpr const char* kNetNotice =
    "To see nets for the model in the selected view\n"
    "first make it the new base model by clicking on\n"
    "the left-and-down arrow button on that view's\n"
    "title bar.  Then select a base model view.";

// The type shows the side the document shows: everything but a view bound to the other side.
bool ShowsDocumentSide(int type)
{
    const Poly* poly = GetCurrentPoly();
    const bool dual = poly && poly->mShowDual;
    if (ViewTypeHasAll(type, kViewFamilyBaseOnly))
        return !dual;
    if (ViewTypeHasAll(type, kViewFamilyDualOnly))
        return dual;
    return true;
}

bool AnyViewOfType(int code)
{
    return FindViewOfType(code, code) != nullptr;
}

bool ShowsSectionInModelAs(int type)
{
    switch (GetViewDisplayOptions().sectionDisplayMode)
    {
    case 2:
        return ShowsDocumentSide(type);
    case 1:
        return ShowsDocumentSide(type) && AnyViewOfType(kViewTypeSlice);
    default:
        return false;
    }
}

void InstallViewShellHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    ViewShellHooks hooks;
    hooks.invalidateCrossSectionViews = [](bool keepMessage) { InvalidateCrossSectionViews(keepMessage); };
    hooks.updateAllViewButtons = [] { UpdateAllViewButtons(); };
    hooks.updateGeomagAvailability = [] { UpdateGeomagAvailability(); };
    hooks.invalidateModelDisplay = [](Poly* poly, bool dual, bool rebuildNets) {
        InvalidateModelDisplay(poly, dual, rebuildNets);
    };
    hooks.faceColorsChanged = [](Poly* poly, bool rebuildNets) { FaceColorsChanged(poly, rebuildNets); };
    hooks.edgeColorsChanged = [] { EdgeColorsChanged(); };
    hooks.checkVertexColorVisible = [] { CheckVertexColorVisible(); };
    hooks.modelDimensionChanged = [](bool entering4D) { ModelDimensionChanged(entering4D); };
    hooks.viewModelNames = [](void* view, std::string& name, std::string& dualName) {
        return ViewModelNames(static_cast<NewView*>(view), name, dualName);
    };
    hooks.updatePivotOfActiveView = [] {
        if (auto* view = dynamic_cast<CPolyView*>(NewView::GetActiveView()))
            if (!view->GetPivotThrow().IsMoving())
                view->UpdatePivot();
    };
    SetViewShellHooks(hooks);
    SetIdleDragHook(&CPolyView::RepeatPaintingAtIdle);
}
}  // namespace

CPolyView::CPolyView(wxWindow* parent, wxWindowID id) : OpenGLView(parent, id)
{
    InstallViewShellHooks();
    BindExportCommands();
    InitGLSelection(kNumPickKinds);
    BindSelectionCommands();
    BindStellationCommands();
    BindColorCommands();
    BindNetCommands();
    BindMemoryCommands();
    BindViewMenuCommands();
    BindDisplayCommands();
    Bind4DCommands();
    InstallHooks4D();
    SetViewType(kViewTypePoly, false);
}

CPolyView::~CPolyView() = default;

CaptionWnd* CPolyView::CreateCaptionWnd()
{
    return new PolyCaptionWnd(this);
}

void CPolyView::DefineTitleButtons()
{
    const Poly* poly = GetCurrentPoly();
    TitleButtonState state;
    state.viewType = mViewType;
    state.mouseMode = ::GetMouseMode();
    state.model4D = IsModel4D(poly);
    state.augmentationPreview = poly && poly->mAugmenter.mPreviewView == static_cast<const NewView*>(this);
    state.netsShownInFoldingView = GetNetsShownInFoldingView();
    const std::vector<TitleButtonChoice> buttons = ChooseTitleButtons(state);
    SetButtonCount(int(buttons.size()));
    for (size_t i = 0; i < buttons.size(); ++i)
        DefineButton(int(i), buttons[i].kind, MakeTitleButtonIcon(buttons[i].icon), buttons[i].gap ? kButtonGap : 0);
    NewView::InvalidateCaption(this);
}

bool CPolyView::OnTitleButton(int /*index*/, int kind, int flags)
{
    CPolyDoc* doc = GetPolyDoc();
    switch (kind)
    {
    case kTitlePreviousPolyhedron:
    case kTitleNextPolyhedron:
        if (!doc)
            return false;
        doc->StepModel(kind == kTitleNextPolyhedron ? 1 : -1);
        return true;
    case kTitleMakeBase:
    case kTitleMakeBase4D:
        // The faceting views make their faceted polyhedron, which comes with the faceting commands.
        if (mViewType == kViewTypeFacetPreview || mViewType == kViewTypeFacetDiagram)
            return false;
        return ConvertViewToBaseModel(kind == kTitleMakeBase4D ? flags | int(Poly::kConvertKeepPolytope) : flags);
    case kTitlePreviousStellation:
    case kTitleNextStellation:
        StepStellation(kind == kTitleNextStellation ? kCmdNextStellation : kCmdPreviousStellation);
        return true;
    case kTitlePreviousElement:
    case kTitleNextElement:
        // In the net panes these step through the net types; elsewhere they come with their menus.
        if (!ViewTypeHasAll(mViewType, kViewFamilyNet))
            return false;
        StepNet(kind == kTitleNextElement);
        return true;
    default:
        // The other buttons act through commands that come with their menus.
        return false;
    }
}

void CPolyView::SetViewType(int code, bool keep)
{
    const int old = mViewType;
    Poly* poly = GetCurrentPoly();
    const bool model4D = IsModel4D(poly);
    if (code == old)
    {
        // A diagram is applied again after a 4D model came or went: it then draws in 3D or flat.
        if (ViewTypeHasAll(code, kViewFamily3D) || Is3D() == model4D)
            return;
    }
    const bool wasMorph = ViewTypeHasAll(old, kViewFamilyMorph);
    const bool isMorph = ViewTypeHasAll(code, kViewFamilyMorph);
    if (!keep)
    {
        NewView::ClearMessage(this);
        StopThrowsOnTypeChange(old, code);
        if ((old == kViewTypeSlice || code == kViewTypeSlice) && GetViewDisplayOptions().sectionDisplayMode == 1)
            ForEachPolyView([this](CPolyView& view) {
                if (&view != this && IsModelType(view.GetViewType()))
                    NewView::Invalidate(&view, false);
            });
        if (isMorph && !wasMorph)
            NewView::SetMessage(this, "%s", kMorphGestureMessage);
        if (code == kViewTypeNet3D)
            NewView::SetMessage(this, "%s", kFoldGestureMessage);
        if (poly && poly->mAugmenter.mPreviewView == static_cast<NewView*>(this))
            poly->mAugmenter.Clear();
    }

    const bool depth = (model4D && ViewTypeHasAll(code, kViewFamily4D)) || ViewTypeHasAll(code, kViewFamily3D);
    const bool oldDepth =
        ViewTypeHasAll(old, kViewFamily3D) || (model4D && ViewTypeHasAll(old, kViewFamily4D));
    EnableOpenGL(true, depth || !ViewTypeHasAll(code, kViewFamilyDiagram));
    SetDepthMode(depth);

    mViewType = code;
    if (!keep)
        DefineTitleButtons();

    if (NewView::GetActiveView() == this)
    {
        ApplyActiveViewRules();
        if (poly && !(code & (kViewFamilyBaseOnly | kViewFamilyDualOnly)))
        {
            bool baseOnly = false, dualOnly = false;
            ForEachPolyView([&](CPolyView& view) {
                baseOnly = baseOnly || ViewTypeHasAll(view.GetViewType(), kViewFamilyBaseOnly);
                dualOnly = dualOnly || ViewTypeHasAll(view.GetViewType(), kViewFamilyDualOnly);
            });
            if (baseOnly && !dualOnly)
                poly->SetShowDual(false);
            else if (dualOnly && !baseOnly)
                poly->SetShowDual(true);
        }
    }

    if (GetMessage().empty())
        CheckGeomagBuildable();

    SetScrollArea(0.0f, 0.0f, 0.0f, 0.0f);
    SetRotationAllowed(code != kViewTypeCellDiagram, keep);
    if (!keep)
        UpdateTitle();

    // Locked views: a view entering or leaving 3D takes the camera the other 3D views share.
    if (OpenGLView::ViewsLocked() && depth != oldDepth)
    {
        CPolyView* source = nullptr;
        ForEachPolyView([&](CPolyView& view) {
            if (!source && &view != this && view.Is3D())
                source = &view;
        });
        if (source)
        {
            source->SyncOtherViews();
            NewView::Invalidate(this, true);
            return;
        }
    }
    // A morph keeps its camera when the next morph takes over.
    if (!keep && (!isMorph || wasMorph))
        RequestFit(1);
    NewView::Invalidate(this, true);
}

void CPolyView::Activate(bool setFrameActiveView)
{
    if (NewView::GetActiveView() == this)
        return;
    NewView::Activate(setFrameActiveView);
    ApplyActiveViewRules();
}

void CPolyView::ApplyActiveViewRules()
{
    if (Poly* poly = GetCurrentPoly())
    {
        if (ViewTypeHasAll(mViewType, kViewFamilyBaseOnly))
            poly->SetShowDual(false);
        else if (ViewTypeHasAll(mViewType, kViewFamilyDualOnly))
            poly->SetShowDual(true);
    }
    // Nets are made of the base model's stellation; a view showing something else has none. Only
    // the notice goes again: a net view's own message (the fold gesture) stays.
    const bool notice = Is3D() && (mViewType == kViewTypeFacetPreview || mViewType == kViewTypePolyAndDual ||
                                   mViewType == kViewTypeCompound || mViewType == kViewTypeSlice ||
                                   ViewTypeHasAll(mViewType, kViewFamilyMorph));
    ForEachPolyView([notice](CPolyView& view) {
        if (!ViewTypeHasAll(view.GetViewType(), kViewFamilyNet))
            return;
        if (notice)
            NewView::SetMessage(&view, "%s", kNetNotice);
        else if (view.GetMessage() == kNetNotice)
            NewView::ClearMessage(&view);
    });
}

const char* CPolyView::CheckViewAvailable() const
{
    const Poly* poly = GetCurrentPoly();
    if (!IsModel4D(poly) || mViewType < 0)
        return nullptr;
    if (!ViewTypeHasAll(mViewType, kViewFamily4D))
        return "This type of view is not available\nwhen a 4D model is loaded.";
    const bool showsDual = ViewTypeHasAll(mViewType, kViewFamilyDualOnly) ||
                           ViewTypeHasAll(mViewType, kViewFamilyMorph) || mViewType == kViewTypePolyAndDual ||
                           (ViewTypeHasAll(mViewType, kViewFamilyFollowsSide) && poly->mShowDual);
    if (showsDual && poly->mPolytope)
    {
        if (poly->mPolytope->mFlags & Polytope4D::kNotClosed)
            return "Dual of unclosed polytope can't be displayed";
        if (poly->mPolytope->mFlags & Polytope4D::kNoFiniteDual)
            return "Dual is infinite and can't be displayed";
    }
    return nullptr;
}

bool CPolyView::ExplosionApplies() const
{
    if (mExplosion == 1.0 || !Is3D() || mViewType == kViewTypeNet3D)
        return false;
    if (IsModel4D(GetCurrentPoly()) && (ViewTypeHasAll(mViewType, kViewFamily3D) || mViewType == kViewTypeNet2D))
        return false;
    return true;
}

bool CPolyView::GetShownSide(bool& dual) const
{
    if (ViewTypeHasAll(mViewType, kViewFamilyBaseOnly))
    {
        dual = false;
        return true;
    }
    if (ViewTypeHasAll(mViewType, kViewFamilyDualOnly))
    {
        dual = true;
        return true;
    }
    if (ViewTypeHasAll(mViewType, kViewFamilyFollowsSide))
    {
        const Poly* poly = GetCurrentPoly();
        dual = poly && poly->mShowDual;
        return true;
    }
    dual = false;
    return false;
}

bool CPolyView::ShowsDual() const
{
    bool dual = false;
    if (GetShownSide(dual))
        return dual;
    const Poly* poly = GetCurrentPoly();
    return poly && poly->mShowDual;
}

void CPolyView::RequestFit(int mode)
{
    if (FitSuspendScope::Active())
        return;
    mPendingFit = mode;
    NewView::Invalidate(this, true);
}

int CPolyView::PushBlendMode(int mode)
{
    ++mBlendDepth;
    return SetBlendMode(mode);
}

int CPolyView::PopBlendMode(int mode)
{
    SetBlendMode(mode);
    if (mBlendDepth > 0)
        --mBlendDepth;
    return mBlendDepth;
}

const char* GetViewTypeName(int code)
{
    const char* name = GetViewTypeName(code, IsModel4D(GetCurrentPoly()));
    if (name)
        return name;
    InternalError("Illegal view type in GetViewTypeName (0x%x).", unsigned(code));
    return "Unknown view type";
}

float PolygonOffsetUnitsAt(double distance, bool orthogonal, double depthFactor)
{
    double units = 10.0;
    if (!orthogonal)
    {
        const double d = std::max(distance, 1e-7);
        double logUnits;
        if (d < 4.5)
            logUnits = std::log(8000.0) +
                       (std::log(d) - std::log(1.2)) * (std::log(200.0) - std::log(8000.0)) / (std::log(4.5) - std::log(1.2));
        else
            logUnits = std::log(200.0) +
                       (std::log(d) - std::log(4.5)) * (std::log(6.0) - std::log(200.0)) / (std::log(75.0) - std::log(4.5));
        units = std::exp(logUnits);
    }
    units = std::pow(units, depthFactor);
    return float(std::max(units, 1.0));
}

CPolyView* FindViewOfType(int a, int b)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            if (view->GetViewType() == a || view->GetViewType() == b)
                return view;
    return nullptr;
}

void InvalidateViewsOfType(int mask, bool keepMessage)
{
    ForEachPolyView([&](CPolyView& view) {
        if (ViewTypeHasAll(view.GetViewType(), mask))
            NewView::Invalidate(&view, keepMessage);
    });
}

void InvalidateCrossSectionViews(bool keepMessage)
{
    bool sectionViewOpen = false;
    ForEachPolyView([&](CPolyView& view) {
        if (view.GetViewType() == kViewTypeSlice)
        {
            NewView::Invalidate(&view, keepMessage);
            sectionViewOpen = true;
        }
    });
    const int mode = GetViewDisplayOptions().sectionDisplayMode;
    if (mode != 2 && !(mode == 1 && sectionViewOpen))
        return;
    const Poly* poly = GetCurrentPoly();
    const bool dual = poly && poly->mShowDual;
    ForEachPolyView([&](CPolyView& view) {
        const int type = view.GetViewType();
        if (type == kViewTypePolyAndDual || type == (dual ? kViewTypeDual : kViewTypePoly))
            NewView::Invalidate(&view, keepMessage);
    });
}

void RequestFitAllViews(int mode)
{
    ForEachPolyView([mode](CPolyView& view) { view.RequestFit(mode); });
}

void RequestFitViewsOfType(int mask)
{
    ForEachPolyView([mask](CPolyView& view) {
        if (ViewTypeHasAll(view.GetViewType(), mask))
            view.RequestFit(1);
    });
}

void UpdateAllViewTitles()
{
    ForEachPolyView([](CPolyView& view) { view.UpdateTitle(); });
}

void UpdateAllViewButtons()
{
    ForEachPolyView([](CPolyView& view) { view.DefineTitleButtons(); });
}

void UpdateGeomagAvailability()
{
    if (!IsKitStyle() || IsModel4D(GetCurrentPoly()))
        return;
    ForEachPolyView([](CPolyView& view) { view.CheckGeomagBuildable(); });
}

void ModelDimensionChanged(bool entering4D)
{
    if (entering4D)
    {
        const int mode = ::GetMouseMode();
        if (mode == kMouseModeCutEdges || mode == kMouseModeFaceting || mode == kMouseModeImage)
            CPolyView::SetMouseMode(kMouseModeSelect);
    }
    ForEachPolyView([entering4D](CPolyView& view) {
        const int code = view.GetViewType();
        if (!ViewTypeHasAll(code, kViewFamily4D) || ViewTypeHasAll(code, kViewFamily3D))
            return;
        view.SetDepthMode(entering4D);
        view.EnableOpenGL(true, entering4D || !ViewTypeHasAll(code, kViewFamilyDiagram));
    });
}

void CloseViewModule()
{
    ReleaseBackgroundTexture();
}

bool ShowsSectionInModel(const CPolyView* view)
{
    return view && ShowsSectionInModelAs(view->GetViewType());
}

bool NeedsSectionThrow(const CPolyView* view, int type)
{
    if (type == kViewTypeSlice)
        return true;
    return view && IsModelType(type) && ShowsSectionInModelAs(type);
}

bool IsSectionTarget(const CPolyView* view, bool ignoreMode)
{
    if (!view)
        return false;
    const int type = view->GetViewType();
    const int mode = ignoreMode ? -1 : ::GetMouseMode();
    if (type == kViewTypeSlice)
        return mode != kMouseModeColorFaces;
    if (mode == kMouseModeMeasure || !IsModelType(type))
        return false;
    return mode == kMouseModeSectionTumble || ShowsSectionInModel(view);
}

FitSuspendScope::FitSuspendScope()
{
    ++gFitSuspensions;
}

FitSuspendScope::~FitSuspendScope()
{
    --gFitSuspensions;
}

bool FitSuspendScope::Active()
{
    return gFitSuspensions > 0;
}
