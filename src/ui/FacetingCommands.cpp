#include "ui/FacetingCommands.h"

#include "kernel/Polygon3D.h"
#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/FacetedPolyhedron.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingSettings.h"
#include "stellation/Stellation.h"
#include "view/PolyView.h"

#include <wx/event.h>
#include <wx/defs.h>

#include <climits>
#include <cstdio>

namespace
{
const struct
{
    int command;
    int criterion;
} kCriterionCommands[] = {
    {kCmdFacetingIsohedral, kFacetingIsohedral},
    {kCmdFacetingTidyAndDuals, kFacetingDualTidy},
    {kCmdFacetingTidy, kFacetingTidy},
    {kCmdFacetingCoplanar, kFacetingCoplanarVerts},
};

const struct
{
    int command;
    int bit;
} kOptionCommands[] = {
    {kCmdAcceptPartialFacetings, kFacetingPartialOK},
    {kCmdOnlySpikyFacetings, kFacetingSpikyOnly},
};

const struct
{
    int command;
    int mode;
} kStepModeCommands[] = {
    {kCmdStepFacetings, kFacetingStepFacetings},
    {kCmdStepFacetingEdges, kFacetingStepEdges},
    {kCmdStepFacetingPlanes, kFacetingStepPlanes},
    {kCmdStepFacets, kFacetingStepFacets},
};

// The faceting of the side the active pane shows; the current model's shown side without a pane.
Faceting* ActiveFaceting()
{
    if (const auto* view = dynamic_cast<CPolyView*>(NewView::GetActiveView()))
    {
        Stellation* stellation = view->GetStellation();
        return stellation ? &stellation->mFaceting : nullptr;
    }
    return GetCurrentFaceting();
}

bool IsFacetingPane(int viewType)
{
    return viewType == kViewTypeFacetPreview || viewType == kViewTypeFacetDiagram;
}

// The new text with the item's mnemonic in its first word.
void SetItemText(wxUpdateUIEvent& event, const char* firstWord, const std::string& text)
{
    const std::string rest = text.substr(text.find(' '));
    event.SetText(wxString::FromUTF8(firstWord + rest));
}
}  // namespace

std::string MinimumFacetTypesText()
{
    char text[64];
    std::snprintf(text, sizeof(text), "Minimum Facet Types (%d)...", GetFacetingSettings().minFacets);
    return text;
}

std::string MaximumFacetTypesText()
{
    const int maxFacets = GetFacetingSettings().maxFacets;
    if (maxFacets == INT_MAX)
        return "Maximum Facet Types (no limit)...";
    char text[64];
    std::snprintf(text, sizeof(text), "Maximum Facet Types (%d)...", maxFacets);
    return text;
}

void RunMinimumFacetTypes()
{
    int value = GetFacetingSettings().minFacets;
    if (PromptInteger("Enter minimum number of facet types for\nacceptable facetings", value))
        GetFacetingSettings().minFacets = value < 1 ? 1 : value;
}

void RunMaximumFacetTypes()
{
    const int maxFacets = GetFacetingSettings().maxFacets;
    int value = maxFacets == INT_MAX ? 0 : maxFacets;
    if (PromptInteger("Enter maximum number of facet types for\nacceptable facetings\n(Enter 0 for no limit)", value))
        GetFacetingSettings().maxFacets = value < 1 ? INT_MAX : value;
}

void RunFacetingStep(FacetingStep step)
{
    Faceting* faceting = ActiveFaceting();
    if (!faceting || !faceting->mPoly)
        return;
    // A failed backward search takes its undo step back itself.
    GetShell().AddUndo(kUndoFacetingChange, false);
    switch (step)
    {
    case FacetingStep::Next:
        faceting->StepNext();
        break;
    case FacetingStep::Previous:
        faceting->StepPrevious();
        break;
    case FacetingStep::ModelFaces:
        faceting->UseModelFaces();
        break;
    case FacetingStep::First:
        faceting->GoToFirst();
        break;
    case FacetingStep::Last:
        faceting->GoToLast();
        break;
    }
    if (step != FacetingStep::ModelFaces)
        faceting->ShowCurrent();
    GetShell().InvalidateAllViews(true, 0);
}

bool HandleFacetingStepKey(const wxKeyEvent& event)
{
    const auto* view = dynamic_cast<CPolyView*>(NewView::GetActiveView());
    if (!view || !IsFacetingPane(view->GetViewType()) || event.AltDown() || event.ShiftDown())
        return false;
    const bool ctrl = event.ControlDown();
    switch (event.GetKeyCode())
    {
    case WXK_UP:
        if (ctrl)
            return false;
        RunFacetingStep(FacetingStep::Next);
        return true;
    case WXK_DOWN:
        if (ctrl)
            return false;
        RunFacetingStep(FacetingStep::Previous);
        return true;
    case WXK_HOME:
        RunFacetingStep(ctrl ? FacetingStep::First : FacetingStep::ModelFaces);
        return true;
    case WXK_END:
        if (ctrl)
            return false;
        RunFacetingStep(FacetingStep::Last);
        return true;
    default:
        return false;
    }
}

void DeleteAllFacets()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    GetShell().AddUndo(kUndoFacetingChange, false);
    poly->ClearDrawnPolygons(true);
    GetShell().InvalidateAllViews(true, 0);
}

void BindFacetingCommands(wxEvtHandler* frame)
{
    for (const auto& c : kStepModeCommands)
    {
        const int mode = c.mode;
        frame->Bind(wxEVT_MENU, [mode](wxCommandEvent&) { SetFacetingStepMode(mode); }, c.command);
        frame->Bind(
            wxEVT_UPDATE_UI, [mode](wxUpdateUIEvent& event) { event.Check(GetFacetingSettings().stepMode == mode); },
            c.command);
    }
    frame->Bind(
        wxEVT_MENU, [](wxCommandEvent&) { GetFacetingSettings().hideDiagram = !GetFacetingSettings().hideDiagram;
            GetShell().InvalidateAllViews(false, 0); },
        kCmdHideFacetingDiagram);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetFacetingSettings().hideDiagram); },
        kCmdHideFacetingDiagram);
    frame->Bind(
        wxEVT_MENU, [](wxCommandEvent&) { GetFacetingSettings().hideVertices = !GetFacetingSettings().hideVertices;
            GetShell().InvalidateAllViews(false, 0); },
        kCmdHideFacetingVertices);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetFacetingSettings().hideVertices); },
        kCmdHideFacetingVertices);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { CreateFacetedPolyhedron(); }, kCmdCreateFacetedPolyhedron);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { DeleteAllFacets(); }, kCmdDeleteAllFacets);
    frame->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            const Poly* poly = GetCurrentPoly();
            event.Enable(poly && poly->mFirstDrawnPolygon &&
                         (poly->mFirstDrawnPolygon != poly->mCurrentDrawnPolygon ||
                          poly->mCurrentDrawnPolygon->mRing));
        },
        kCmdDeleteAllFacets);
    for (const auto& c : kCriterionCommands)
    {
        const int criterion = c.criterion;
        frame->Bind(wxEVT_MENU, [criterion](wxCommandEvent&) { SetFacetingCriteria(criterion); }, c.command);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [criterion](wxUpdateUIEvent& event) { event.Check(GetFacetingSettings().criterion == criterion); },
            c.command);
    }
    for (const auto& c : kOptionCommands)
    {
        const int bit = c.bit;
        frame->Bind(wxEVT_MENU, [bit](wxCommandEvent&) { ToggleFacetingOption(bit); }, c.command);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [bit](wxUpdateUIEvent& event) { event.Check((GetFacetingSettings().options & bit) != 0); }, c.command);
    }
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { RunMinimumFacetTypes(); }, kCmdMinimumFacetTypes);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { SetItemText(event, "M&inimum", MinimumFacetTypesText()); },
        kCmdMinimumFacetTypes);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { RunMaximumFacetTypes(); }, kCmdMaximumFacetTypes);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { SetItemText(event, "Ma&ximum", MaximumFacetTypesText()); },
        kCmdMaximumFacetTypes);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { RunFacetingEnumeration(ActiveFaceting()); }, kCmdEnumerateFacetings);
}
