#include "ui/MainFrame.h"

#include "platform/GLCanvasWindow.h"
#include "platform/GLCapture.h"
#include "render/OpenGLView.h"

#include <wx/app.h>
#include <wx/sizer.h>

#include <cstdio>
#include <cstdlib>
#include <string>

CMainFrame::CMainFrame() : wxFrame(nullptr, wxID_ANY, "Orvane", wxDefaultPosition, wxSize(1000, 800))
{
    mPane = new OpenGLView(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(mPane, 1, wxEXPAND);
    SetSizer(sizer);
    // Pane 0 the status text, panes 1 to 3 the mouse-button hints of the view under the pointer.
    CreateStatusBar(4);
    const int widths[4] = {-1, 110, 110, 110};
    SetStatusWidths(4, widths);
    SetMouseHintsSink(&CMainFrame::ShowMouseHints);

    if (const char* path = std::getenv("ORVANE_FIRST_FRAME_PPM"))
        ArmFirstFrameCapture(path);
}

void CMainFrame::ArmFirstFrameCapture(const char* path)
{
    mPane->GetCanvas()->SetFrameDrawnCallback([this, file = std::string(path)](GLCanvasWindow& pane) {
        if (mFirstFrameSaved)
            return;
        mFirstFrameSaved = true;
        const wxSize size = pane.GetClientSize() * pane.GetContentScaleFactor();
        if (!SaveBackBufferAsPpm(file, size.x, size.y))
            std::fprintf(stderr, "Could not write the first frame to %s\n", file.c_str());
        CallAfter([this] { Close(true); });
    });
}

void CMainFrame::ShowMouseHints(const char* left, const char* right, const char* both)
{
    auto* frame = dynamic_cast<CMainFrame*>(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
    if (!frame || !frame->GetStatusBar())
        return;
    frame->SetStatusText(wxString::Format("L: %s", wxString::FromUTF8(left)), 1);
    frame->SetStatusText(wxString::Format("R: %s", wxString::FromUTF8(right)), 2);
    frame->SetStatusText(wxString::Format("L+R: %s", wxString::FromUTF8(both)), 3);
}
