#include "ui/EscapeCommands.h"

#include "kernel/MouseThrow.h"
#include "model/ElementDisplayOptions.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "ui/MainFrame.h"
#include "view/PolyView.h"

#include <wx/event.h>

namespace
{
FinishTransitionsHook gFinishTransitions = nullptr;
}  // namespace

FinishTransitionsHook SetFinishTransitionsHook(FinishTransitionsHook hook)
{
    const FinishTransitionsHook previous = gFinishTransitions;
    gFinishTransitions = hook;
    return previous;
}

bool RunEscapeKey()
{
    if (gFinishTransitions && gFinishTransitions())
        return true;
    if (AnyMouseThrowMoving())
    {
        StopAllMouseThrows();
        return true;
    }
    if (GetMouseMode() != kMouseModeSelect)
    {
        CPolyView::SetMouseMode(kMouseModeSelect);
        return true;
    }
    if (NewView::GetFullScreenView())
    {
        NewView::ExitFullScreen();
        return true;
    }
    if (GetStereoMode() != 0)
    {
        SetStereoDisplay(0);
        return true;
    }
    return false;
}

void BindEscapeCommands(wxEvtHandler* frame)
{
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { RunEscapeKey(); }, kCmdEscapeKey);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { StopAllMouseThrows(); }, kCmdStopAllMouseInertia);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(AnyMouseThrowMoving()); },
                kCmdStopAllMouseInertia);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { EnableMouseThrows(!MouseThrowsEnabled()); },
                kCmdAllowMouseInertia);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(MouseThrowsEnabled()); },
                kCmdAllowMouseInertia);
}
