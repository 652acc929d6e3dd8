#include "ui/MainFrame.h"

#include "platform/GLCanvasWindow.h"
#include "platform/GLCapture.h"
#include "render/OpenGLView.h"

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
    CreateStatusBar();

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
