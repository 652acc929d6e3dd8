#include "ui/StellationCommands.h"

#include "document/PolyDoc.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/StellationOptions.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/StellationCriteria.h"

#include <wx/event.h>

namespace
{
const struct
{
    int command;
    int criterion;
} kCriterionCommands[] = {
    {kCmdCriteriaMainline, kCriterionMainline},
    {kCmdCriteriaPrimary, kCriterionPrimary},
    {kCmdCriteriaMonoacral, kCriterionMonoacral},
    {kCmdCriteriaFullySupported, kCriterionFullySupported},
    {kCmdCriteriaMillersRules, kCriterionMiller},
};

void ToggleReflexibility()
{
    Shell& shell = GetShell();
    shell.AddUndo(kUndoReflexibilityChange, false);
    ToggleStellationOption(kCriteriaReflexible);
    shell.CloseUndo();
    NewView::InvalidateAll(false, true);
}
}  // namespace

void BindStellationCommands(wxEvtHandler* frame)
{
    for (const auto& c : kCriterionCommands)
    {
        const int criterion = c.criterion;
        frame->Bind(wxEVT_MENU, [criterion](wxCommandEvent&) { SetStellationCriteria(criterion); }, c.command);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [criterion](wxUpdateUIEvent& event) { event.Check(GetStellationCriterion() == criterion); }, c.command);
    }
    frame->Bind(
        wxEVT_MENU, [](wxCommandEvent&) { ToggleStellationOption(kCriteriaFullSupNeedsCore); },
        kCmdFullSupportAllCells);
    frame->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check((GetStellationOptions() & kCriteriaFullSupNeedsCore) != 0); },
        kCmdFullSupportAllCells);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleReflexibility(); }, kCmdMaintainReflexibility);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(IsReflexibilityMaintained()); },
        kCmdMaintainReflexibility);
    frame->Bind(
        wxEVT_MENU, [](wxCommandEvent&) { EnableTransitions(!AreTransitionsEnabled()); }, kCmdEnableTransitions);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(AreTransitionsEnabled()); }, kCmdEnableTransitions);
}
