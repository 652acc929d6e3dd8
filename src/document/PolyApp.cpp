#include "document/PolyApp.h"

#include "document/AppShell.h"
#include "kernel/Paths.h"
#include "kernel/ProgramClock.h"
#include "kernel/SpecialFolders.h"
#include "kernel/UiThread.h"
#include "platform/WxSupport.h"
#include "platform/WxUserServices.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "render/TranslucentQueue.h"

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
    mShell = std::make_unique<AppShell>();
    SetShell(mShell.get());
    InstallGLContextHooks();

    mBrowseOrva = BrowseFolder(kSpecialFolderDocuments, "Orvane", nullptr, true);
    mBrowseTour = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Tour", true);
    mBrowseExport = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Export", true);
    mBrowseImage = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Image", true);
    mBrowseText = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Text", true);
    Bind(wxEVT_IDLE, &CPolyApp::OnIdle, this);

    wxFrame* frame = CreateMainFrame();
    if (!frame)
        return false;
    SetTopWindow(frame);
    frame->Show();
    return true;
}

int CPolyApp::OnExit()
{
    ReleaseTranslucentQueue();
    RemoveTempFolder();
    SetShell(nullptr);
    mShell.reset();
    SetServices(nullptr);
    mServices.reset();
    return wxApp::OnExit();
}

void CPolyApp::OnIdle(wxIdleEvent& event)
{
    NewView::RedrawAllNow();
    event.Skip();
}

CPolyApp* GetPolyApp()
{
    return static_cast<CPolyApp*>(wxApp::GetInstance());
}
