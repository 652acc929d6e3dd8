#include "document/AppShell.h"

#include "document/ModelViewState.h"
#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "render/OpenGLView.h"

namespace
{
ViewShellHooks gViewHooks;
int gFitSuspensions = 0;

NewView* ViewOrActive(void* view)
{
    return view ? static_cast<NewView*>(view) : NewView::GetActiveView();
}
}  // namespace

void AppShell::InvalidateAllViews(bool withCaption, int keepMessage)
{
    NewView::InvalidateAll(withCaption, keepMessage != 0);
}

void AppShell::InvalidateView(void* view)
{
    NewView::Invalidate(static_cast<NewView*>(view), false);
}

void AppShell::SetViewMessage(void* view, const std::string& text)
{
    NewView* target = view ? static_cast<NewView*>(view) : NewView::GetActiveView();
    NewView::SetMessage(target, "%s", text.c_str());
}

void AppShell::InvalidateViewsOfType(int typeMask, int flag)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
    {
        const auto* gl = dynamic_cast<const OpenGLView*>(v);
        if (gl && (gl->ViewTypeCode() & typeMask) == typeMask)
            NewView::Invalidate(v, flag != 0);
    }
}

void SetViewShellHooks(const ViewShellHooks& hooks)
{
    gViewHooks = hooks;
}

void AppShell::InvalidateCrossSectionViews(int flag)
{
    if (gViewHooks.invalidateCrossSectionViews)
    {
        gViewHooks.invalidateCrossSectionViews(flag != 0);
        return;
    }
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (ViewTypeCode(v) == kViewTypeSlice)
            NewView::Invalidate(v, flag != 0);
}

void AppShell::UpdateAllViewButtons()
{
    if (gViewHooks.updateAllViewButtons)
        gViewHooks.updateAllViewButtons();
}

void AppShell::UpdatePivotOfLastActiveView()
{
    if (gViewHooks.updatePivotOfActiveView)
        gViewHooks.updatePivotOfActiveView();
}

void AppShell::UpdateGeomagAvailability()
{
    if (gViewHooks.updateGeomagAvailability)
        gViewHooks.updateGeomagAvailability();
}

// Without views (the document alone) a redraw mark is all there is to do.
void AppShell::InvalidateModelDisplay(Poly* poly, bool dual, bool rebuildNets)
{
    if (gViewHooks.invalidateModelDisplay)
        gViewHooks.invalidateModelDisplay(poly, dual, rebuildNets);
    else
        NewView::InvalidateAll(false, true);
}

void AppShell::FaceColorsChanged(Poly* poly, bool rebuildNets)
{
    if (gViewHooks.faceColorsChanged)
        gViewHooks.faceColorsChanged(poly, rebuildNets);
    else
        NewView::InvalidateAll(false, true);
}

void AppShell::EdgeColorsChanged()
{
    if (gViewHooks.edgeColorsChanged)
        gViewHooks.edgeColorsChanged();
    else
        NewView::InvalidateAll(false, true);
}

void AppShell::CheckVertexColorVisible()
{
    if (gViewHooks.checkVertexColorVisible)
        gViewHooks.checkVertexColorVisible();
}

void AppShell::ResetMorphOutlines()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    for (Stellation* side : {poly->GetFaceStellation(), poly->GetVertStellation()})
        for (FaceType* type = side ? side->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
            type->mMorphOutline.Reset();
}

ShellFitSuspension::ShellFitSuspension()
{
    ++gFitSuspensions;
}

ShellFitSuspension::~ShellFitSuspension()
{
    --gFitSuspensions;
}

void AppShell::RequestViewFit(void* view, int mode)
{
    if (gFitSuspensions > 0)
        return;
    NewView* v = ViewOrActive(view);
    if (auto* state = dynamic_cast<ModelViewState*>(v))
        state->RequestFit(mode);
    else
        NewView::Invalidate(v, false);
}

void AppShell::UpdateViewTitle(void* view)
{
    NewView* v = ViewOrActive(view);
    if (auto* state = dynamic_cast<ModelViewState*>(v))
        state->UpdateTitle();
    NewView::InvalidateCaption(v);
}

void* AppShell::NextView(void* view)
{
    return view ? static_cast<NewView*>(view)->next : NewView::GetFirstView();
}

int AppShell::ViewTypeCode(void* view)
{
    const auto* gl = dynamic_cast<const OpenGLView*>(static_cast<NewView*>(view));
    return gl ? gl->ViewTypeCode() : kViewTypeNone;
}

void AppShell::ModelDimensionChanged(bool entering4D)
{
    if (gViewHooks.modelDimensionChanged)
        gViewHooks.modelDimensionChanged(entering4D);
}

bool AppShell::ViewModelNames(void* view, std::string& name, std::string& dualName)
{
    return gViewHooks.viewModelNames && gViewHooks.viewModelNames(view, name, dualName);
}

bool AppShell::SetViewType(void* view, int type, int flags)
{
    auto* state = dynamic_cast<ModelViewState*>(ViewOrActive(view));
    if (!state || !GetViewTypeName(type, false))
        return false;
    state->SetViewType(type, flags != 0);
    return true;
}

int AppShell::CreateCurrentStellation()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || (poly->mFlags & Poly::kIs4D))
        return -1;
    Stellation* stellation = poly->GetFaceStellation();
    poly->CreateStellation(stellation, kStellationBuilt);
    if (!stellation->IsBuilt())
        return -1;
    stellation->ResetToOriginal();
    return stellation->GetNumCellRecords();
}

void AppShell::SetStellationCellIncluded(int cell, bool included)
{
    Poly* poly = GetCurrentPoly();
    if (poly)
        StellationCell::SetIncluded(poly->GetFaceStellation()->FindCell(cell), included);
}

void* AppShell::ActiveView()
{
    return NewView::GetActiveView();
}

void AppShell::RefreshDocument(int flags)
{
    ::RefreshDocument(flags);
}

void AppShell::SetDocumentPath(const std::string& path, bool addToRecentFiles)
{
    if (CPolyDoc* doc = GetPolyDoc())
        doc->SetPathName(path.c_str(), addToRecentFiles);
}

void AppShell::MarkDiagramColorsChanged()
{
    ::MarkDiagramColorsChanged();
}

void AppShell::AddUndo(int kind, bool joinGroup)
{
    ::AddUndo(kind, joinGroup);
}

void AppShell::DiscardLastUndo()
{
    ::DiscardLastUndo();
}

void AppShell::CloseUndo()
{
    ::CloseUndo();
}

void AppShell::BeginUndoGroup(int kind)
{
    ::BeginUndoGroup(kind);
}

void AppShell::EndUndoGroup()
{
    ::EndUndoGroup();
}

void* AppShell::PrepareTransitionOfType(int preset)
{
    CPolyDoc* doc = GetPolyDoc();
    if (!doc)
        return nullptr;
    ModelRecord* old = nullptr;
    doc->PrepareTransitionOfType(preset, old);
    // Null when the model is replaced in place.
    return old != doc->GetCurrentRecord() ? old : nullptr;
}

void AppShell::StartTransitionOfType(int preset, double startSeconds, void* keptRecord, bool restoreThrows,
                                     bool windBack)
{
    if (CPolyDoc* doc = GetPolyDoc(); doc && keptRecord)
        doc->StartTransitionOfType(preset, startSeconds, static_cast<ModelRecord*>(keptRecord), restoreThrows,
                                   windBack);
}

void AppShell::AbandonTransition(void* keptRecord)
{
    if (CPolyDoc* doc = GetPolyDoc(); doc && keptRecord)
        doc->CancelTransition(static_cast<ModelRecord*>(keptRecord));
}

bool AppShell::OpenLibraryModel(LibraryEntry* entry, bool fromChooser, bool keepSearch)
{
    CPolyDoc* doc = GetPolyDoc();
    return doc && doc->OpenLibraryModel(entry, fromChooser, keepSearch);
}

void AppShell::RecordStelCellChange(StellationCell* cell, bool nowIncluded)
{
    ::RecordStelCellChange(cell, nowIncluded);
}
