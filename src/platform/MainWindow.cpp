#include "platform/MainWindow.h"

#include <wx/app.h>
#include <wx/frame.h>

wxFrame* GetMainFrame()
{
    if (!wxTheApp)
        return nullptr;
    auto* frame = wxDynamicCast(wxTheApp->GetTopWindow(), wxFrame);
    return frame && !frame->IsBeingDeleted() ? frame : nullptr;
}

void SetMainWindowTitle(const std::string& text)
{
    if (wxFrame* frame = GetMainFrame())
        frame->SetTitle(wxString::FromUTF8(text));
}

bool IsMainWindowMinimised()
{
    const wxFrame* frame = GetMainFrame();
    return frame && frame->IsIconized();
}
