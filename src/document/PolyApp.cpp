#include "document/PolyApp.h"

#include "document/AppShell.h"
#include "kernel/Paths.h"
#include "kernel/ProgramClock.h"
#include "kernel/Registry.h"
#include "kernel/SpecialFolders.h"
#include "kernel/UiThread.h"
#include "platform/FileSettingsStore.h"
#include "platform/WxSupport.h"
#include "platform/WxUserServices.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "render/TranslucentQueue.h"

#include <wx/frame.h>

#include <cstdio>
#include <cstdlib>

namespace
{
// The GUI tests check that settings survive a restart: with ORVANE_SETTINGS_PROBE set, the program
// prints the probe text stored by the previous run at start and stores the new one at exit.
const char kProbeVariable[] = "ORVANE_SETTINGS_PROBE";

RegistryApp ProgramRegistryApp(const wxApp& app)
{
    return RegistryApp{app.GetVendorName().utf8_string(), app.GetAppName().utf8_string()};
}

void ReportSettingsProbe(const wxApp& app)
{
    if (!std::getenv(kProbeVariable))
        return;
    RegKeyPtr key = OpenRegKey(ProgramRegistryApp(app), nullptr, "Settings");
    std::string previous = "(none)";
    RegReadString(key.get(), "Probe", previous);
    std::printf("settings probe: %s\n", previous.c_str());
    std::fflush(stdout);
}

void StoreSettingsProbe(const wxApp& app)
{
    if (const char* probe = std::getenv(kProbeVariable))
    {
        RegKeyPtr key = CreateRegKey(ProgramRegistryApp(app), nullptr, "Settings");
        RegWriteString(key.get(), "Probe", probe);
    }
}
}  // namespace

CPolyApp::CPolyApp()
{
    // Runs before the toolkit starts, which is when the backend is chosen.
    PreferX11Backend();
}

CPolyApp::~CPolyApp()
{
    // OnExit is skipped when start-up fails.
    if (mSettings)
        SetSettingsStore(nullptr);
}

bool CPolyApp::OnInit()
{
    // wxApp::OnInit is not called: the program takes nothing from its command line.
    RecordUiThread();
    InitTimer();
    InstallStderrDiagnostics();
    EnableMenuImages();
    SetVendorName("OrvaneSoft");
    SetAppName("Orvane");

    mSettings = std::make_unique<FileSettingsStore>(SettingsFilePath());
    SetSettingsStore(mSettings.get());
    ReportSettingsProbe(*this);

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
    if (mSettings)
    {
        StoreSettingsProbe(*this);
        mSettings->Flush();
        SetSettingsStore(nullptr);
        mSettings.reset();
    }
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
