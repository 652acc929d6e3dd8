// The Stellation menu commands that change the cells of the stellation a pane shows.

#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/Stellation.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <string>

namespace
{
constexpr int kAxisCommands[3] = {kCmdCellsAboveAxis0, kCmdCellsAboveAxis1, kCmdCellsAboveAxis2};

// Some pane shows the change: the stellation of that side, any other stellation view, or a model
// view that draws the selected face as its stellation diagram.
bool IsStellationVisible(bool dual)
{
    Shell& shell = GetShell();
    const int wanted = dual ? kViewTypeDualStellation : kViewTypeUniStellation;
    const int other = dual ? kViewTypeUniStellation : kViewTypeDualStellation;
    const Poly* poly = GetCurrentPoly();
    const bool diagramOnFace = poly && poly->GetSelectedFaceDisplay(0) == 1;
    for (void* view = shell.NextView(nullptr); view; view = shell.NextView(view))
    {
        const int code = shell.ViewTypeCode(view);
        if (code == wanted || (code != other && ViewTypeHasAll(code, kViewFamilyStellation)))
            return true;
        if (diagramOnFace && (code == kViewTypePoly || code == kViewTypeDual || code == kViewTypePolyAndDual))
            return true;
    }
    return false;
}

bool ShowsOneSide(int viewType)
{
    return (viewType & (kViewFamilyBaseOnly | kViewFamilyDualOnly | kViewFamilyFollowsSide)) != 0;
}
}  // namespace

std::string GetCellsAboveAxisMenuText(const Poly* poly, int axisClass)
{
    std::string text;
    SymGroup::GetAxisText(poly ? poly->GetSymGroup() : nullptr, text, "Select All Cells Above", axisClass);
    return text;
}

namespace
{
// The menu keeps its keys: A for the first class, the axis order's digit for the others.
wxString WithMnemonic(const std::string& text, int axisClass)
{
    const size_t above = text.find("Above");
    const size_t at = above == std::string::npos ? above
                      : axisClass == 0           ? above
                                                 : text.find_first_of("0123456789", above);
    if (at == std::string::npos)
        return wxString::FromUTF8(text);
    return wxString::FromUTF8(text.substr(0, at)) + "&" + wxString::FromUTF8(text.substr(at));
}
}  // namespace

bool CanSelectCellsAboveAxis(const CPolyView& view, int axisClass)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = poly && !IsModel4D(poly) ? poly->GetSymGroup() : nullptr;
    if (!group || !ShowsOneSide(view.GetViewType()))
        return false;
    return axisClass < 2 || group->mNumAxisSets >= 3;
}

void CPolyView::SelectCellsAboveAxis(int axisClass)
{
    // The stellation records its own undo step.
    if (Stellation* stellation = GetStellationUpTo(kStellationBuilt))
        stellation->SelectCellsAboveAxis(axisClass);
    NewView::InvalidateAll(false, true);
}

void CPolyView::SelectUnsupportableCells()
{
    if (Stellation* stellation = GetStellationUpTo(kStellationBuilt))
        stellation->SelectUnsupportableCells();
    NewView::InvalidateAll(false, true);
}

void CPolyView::StepStellation(int command)
{
    if (!ShowsOneSide())
        return;
    // Original Polyhedron only resets a stellation that exists.
    Stellation* stellation = command == kCmdOriginalPolyhedron ? GetStellationUpTo(kStellationNotBuilt)
                                                               : GetStellationUpTo(kStellationBuilt);
    const bool clearsMessage = command == kCmdFinalValidStellation || command == kCmdNextStellation ||
                               command == kCmdPreviousStellation;
    if (clearsMessage)
        NewView::ClearMessage(this);
    if (!stellation)
        return;
    Shell& shell = GetShell();
    shell.AddUndo(stellation->IsDual() ? kUndoDualStellationChange : kUndoStellationChange, false);
    switch (command)
    {
    case kCmdStellationCore:
        stellation->GoToCore();
        break;
    case kCmdOriginalPolyhedron:
        stellation->ResetToOriginal();
        break;
    case kCmdFinalStellation:
        stellation->GoToFinal(false);
        break;
    case kCmdFinalValidStellation:
        stellation->GoToFinal(true);
        break;
    case kCmdNextStellation:
        stellation->NextByCriteria();
        break;
    case kCmdPreviousStellation:
        stellation->PreviousByCriteria();
        break;
    default:
        break;
    }
    shell.CloseUndo();
    if (!IsStellationVisible(stellation->IsDual()))
        NewView::SetMessage(this,
                            "Stellation changed, but there are no stellation views\nopen, so you won't be able to "
                            "see it.\n\nUse \"%s\"\n(or the matching toolbar button) to see it.",
                            stellation->IsDual() ? "Dual Stellation" : "Base Stellation");
    NewView::InvalidateAll(clearsMessage, true);
}

bool CPolyView::OnPaneKey(int keyCode, bool ctrl)
{
    // The menu cannot take Tab as its key: the pane sends its command through the main window.
    if (keyCode == WXK_TAB && !ctrl)
    {
        wxCommandEvent toggle(wxEVT_MENU, kCmdToggleSingleColor);
        wxWindow* frame = wxGetTopLevelParent(this);
        toggle.SetEventObject(frame);
        return frame && frame->GetEventHandler()->ProcessEvent(toggle);
    }
    // Other panes give these keys other meanings as their features come.
    const Poly* poly = GetCurrentPoly();
    if (!poly || IsModel4D(poly))
        return false;
    switch (keyCode)
    {
    case WXK_UP:
        StepStellation(kCmdNextStellation);
        return true;
    case WXK_DOWN:
        StepStellation(kCmdPreviousStellation);
        return true;
    case WXK_HOME:
        StepStellation(ctrl ? kCmdStellationCore : kCmdOriginalPolyhedron);
        return true;
    case WXK_END:
        StepStellation(ctrl ? kCmdFinalValidStellation : kCmdFinalStellation);
        return true;
    default:
        return false;
    }
}

void CPolyView::FillInaccessibleCells()
{
    Stellation* stellation = GetStellationUpTo(kStellationBuilt);
    if (!stellation)
        return;
    Shell& shell = GetShell();
    shell.AddUndo(stellation->IsDual() ? kUndoDualStellationChange : kUndoStellationChange, false);
    const bool filled = stellation->FillInaccessibleCells();
    shell.CloseUndo();
    if (!filled)
        NewView::SetMessage(this, "Nothing to fill: all parts are accessible already.");
    NewView::InvalidateAll(true, true);
}

namespace
{
constexpr int kStepCommands[] = {kCmdStellationCore,  kCmdOriginalPolyhedron, kCmdFinalStellation,
                                 kCmdFinalValidStellation, kCmdNextStellation, kCmdPreviousStellation};
}  // namespace

void CPolyView::BindStellationCommands()
{
    for (int command : kStepCommands)
        Bind(wxEVT_MENU, [this, command](wxCommandEvent&) { StepStellation(command); }, command);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { FillInaccessibleCells(); }, kCmdFillInaccessibleCells);
    for (int axis = 0; axis < 3; ++axis)
    {
        Bind(wxEVT_MENU, [this, axis](wxCommandEvent&) { SelectCellsAboveAxis(axis); }, kAxisCommands[axis]);
        Bind(
            wxEVT_UPDATE_UI,
            [this, axis](wxUpdateUIEvent& event) {
                event.SetText(WithMnemonic(GetCellsAboveAxisMenuText(GetCurrentPoly(), axis), axis));
                event.Enable(CanSelectCellsAboveAxis(*this, axis));
            },
            kAxisCommands[axis]);
    }
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SelectUnsupportableCells(); }, kCmdSelectUnsupportableCells);
}
