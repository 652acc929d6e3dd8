#include "document/PolyApp.h"

#include "kernel/ProgramClock.h"
#include "kernel/UiThread.h"
#include "platform/WxSupport.h"
#include "platform/WxUserServices.h"

#include <wx/frame.h>

CPolyApp::CPolyApp()
{
    // Runs before the toolkit starts, which is when the backend is chosen.
    PreferX11Backend();
}

CPolyApp::~CPolyApp() = default;

bool CPolyApp::OnInit()
{
    // wxApp::OnInit is not called: the program takes nothing from its command line.
    RecordUiThread();
    InitTimer();
    InstallStderrDiagnostics();
    EnableMenuImages();
    SetVendorName("OrvaneSoft");
    SetAppName("Orvane");

    mServices = std::make_unique<WxUserServices>();
    SetServices(mServices.get());

    wxFrame* frame = CreateMainFrame();
    if (!frame)
        return false;
    SetTopWindow(frame);
    frame->Show();
    return true;
}

int CPolyApp::OnExit()
{
    SetServices(nullptr);
    mServices.reset();
    return wxApp::OnExit();
}

CPolyApp* GetPolyApp()
{
    return static_cast<CPolyApp*>(wxApp::GetInstance());
}
