#include "document/PolyApp.h"

#include "document/ProgramIdentity.h"
#include "document/UpdateCheckWorker.h"

#include "document/AppShell.h"
#include "document/ModelFileNames.h"
#include "document/PolyDoc.h"
#include "document/ProgramIdentity.h"
#include "document/RecentFileList.h"
#include "document/UndoList.h"
#include "document/UpdateCheckWorker.h"
#include "document/WholeModelUndo.h"
#include "kernel/MouseThrow.h"
#include "kernel/Paths.h"
#include "kernel/ProgramClock.h"
#include "kernel/Registry.h"
#include "kernel/SceneThrows.h"
#include "kernel/SpecialFolders.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UiThread.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandRouting.h"
#include "platform/FileSettingsStore.h"
#include "platform/MainWindow.h"
#include "platform/WindowPlacement.h"
#include "platform/WxSupport.h"
#include "platform/WxUserServices.h"
#include "render/GLLight.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "render/TranslucentQueue.h"

#include <wx/frame.h>

#include <cstdlib>
#include <ctime>

BrowseFolder gBrowseOrva;
BrowseFolder gBrowseTour;
BrowseFolder gBrowseExport;
BrowseFolder gBrowseImage;
BrowseFolder gBrowseText;

namespace
{
// Transition occasion of the first model.
constexpr int kOccasionStartUp = 2;

double gLastIdleStepTime = -1.0;
int gIdleDepth = 0;
IdleDragHook gIdleDrag = nullptr;
bool gExportRunning = false;

RegistryApp& ProgramRegistryApp()
{
    static RegistryApp app{std::string(), "Orvane"};
    return app;
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
    SetMouseInterfaceType(0);
    GetSceneThrows();
    InstallStderrDiagnostics();
    EnableMenuImages();
    SetVendorName("OrvaneSoft");
    SetAppName("Orvane");

    mSettings = std::make_unique<FileSettingsStore>(SettingsFilePath());
    SetSettingsStore(mSettings.get());
    mServices = std::make_unique<WxUserServices>();
    SetServices(mServices.get());
    mShell = std::make_unique<AppShell>();
    SetShell(mShell.get());
    InstallGLContextHooks();

    gBrowseOrva = BrowseFolder(kSpecialFolderDocuments, "Orvane", nullptr, true);
    gBrowseTour = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Tour", true);
    gBrowseExport = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Export", true);
    gBrowseImage = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Image", true);
    gBrowseText = BrowseFolder(kSpecialFolderDocuments, "Orvane", "Text", true);

    SetRegistryKey("OrvaneSoft");
    // Reading the placement may ask for a maximised window: that is applied once the frame is made.
    MainWindowShowCommand() = kShowNormal;
    LoadSettings();
    const int showCommand = MainWindowShowCommand();
    GetRecentFileList().Load(GetRegistryApp());

    // Random transitions draw from the generator.
    const unsigned now = unsigned(std::time(nullptr));
    SeedTransitionRandom((now << 5) | (now >> 27));

    mDocument = std::make_unique<CPolyDoc>();
    Bind(wxEVT_IDLE, &CPolyApp::HandleIdleEvent);
    wxFrame* frame = CreateMainFrame(mDocument.get());
    if (!frame)
        return false;
    SetTopWindow(frame);
    ResetTransitionOccasions();
    // Whole-model undo steps are played back by building the stored plain model again.
    WholeModelUndo::SetModelFunctions(nullptr, [](const SimplePoly& stored, Poly& poly) {
        std::unique_ptr<SimplePoly> copy = SimplePoly::Clone(const_cast<SimplePoly*>(&stored));
        return copy && CreatePoly(copy.get(), &poly, true, true);
    });
    // The program opens on the default scene when the user saved one, else on the icosahedron,
    // arriving with the start-up transition. The default scene does not become the document's file.
    {
        TransitionOccasionScope startUp(kOccasionStartUp);
        const std::string scene = DefaultScenePath();
        if (!PathExists(scene.c_str()) || !mDocument->OpenModelFile(scene, CPolyDoc::kOpenWithoutPath))
            mDocument->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false));
    }
    ClearUndoList();

    MainWindowShowCommand() = showCommand;
    ApplyWindowPlacement(*frame);
    mDocument->UpdateTitle();
    if (gRainbowColors)
        OpenGLView::SetRainbowColorMode(true);
    frame->Show();
    frame->Update();
    // No extra query is sent with the version.
    AutoUpdateCheck(UpdateCheckPageAddress("LatestOrvane.php"), kProgramName, nullptr, kProgramVersion);
    return true;
}

int CPolyApp::OnExit()
{
    GetHttpWorker().Stop();
    mDocument.reset();
    if (mSettings)
    {
        GetRecentFileList().Save(GetRegistryApp());
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

CPolyDoc* CPolyApp::GetDocument()
{
    CPolyApp* app = GetPolyApp();
    return app ? app->mDocument.get() : nullptr;
}

bool CPolyApp::IdleStep(double time)
{
    if (IsMainWindowMinimised() && !gExportRunning)
        return false;
    if (time < 0.0)
        time = GetElapsedSeconds(true);
    gLastIdleStepTime = time;
    // Throws only mark what they move here; they advance when the first marked view draws, so that
    // painting, which comes after all model time has advanced, paints each marked view once.
    const bool throwing = InvalidateMouseThrowTargets();
    if (throwing)
        SetMouseThrowStepPending(true);
    // A document made without the application object (a test's) moves as the program's does.
    CPolyDoc* doc = GetDocument() ? GetDocument() : GetPolyDoc();
    const bool moving = doc && doc->AdvanceTransitions(time);
    if (moving)
        NewView::InvalidateAll(false, true);
    if (gIdleDrag)
        gIdleDrag();
    // Face diagrams whose colours changed take them before anything is painted.
    if (Poly* poly = GetCurrentPoly())
        poly->UpdateFaceDiagramColors();
    NewView::RedrawAllNow();
    // A finished update check is reported, but not in the middle of a drag.
    if (IsUpdateCheckDone() && !wxGetMouseState().ButtonIsDown(wxMOUSE_BTN_ANY))
    {
        auto* frame = wxTheApp ? dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow()) : nullptr;
        ReportUpdateCheck(frame ? frame->GetMenuBar() : nullptr);
    }
    return moving || throwing;
}

IdleDragHook SetIdleDragHook(IdleDragHook hook)
{
    const IdleDragHook previous = gIdleDrag;
    gIdleDrag = hook;
    return previous;
}

void MarkDiagramColorsChanged()
{
    // A colour-painting drag shows the colour under the cursor in its hints.
    NewView::UpdateMouseHints();
    if (Poly* poly = GetCurrentPoly())
        poly->mFlags |= Poly::kRecolorFaceDiagrams | Poly::kRecolorMorphDiagrams | Poly::kRecolorSection;
    NewView::InvalidateAll(false, true);
}

double CPolyApp::GetLastIdleStepTime()
{
    return gLastIdleStepTime;
}

void CPolyApp::HandleIdleEvent(wxIdleEvent& event)
{
    event.Skip();
    if (IsCommandRunning() || gIdleDepth > 0)
        return;
    ++gIdleDepth;
    const bool more = IdleStep(-1.0);
    --gIdleDepth;
    if (more)
        event.RequestMore();
}

void CPolyApp::SetExportRunning(bool running)
{
    gExportRunning = running;
}

void CPolyApp::SetRegistryKey(const char* companyKey)
{
    ProgramRegistryApp().companyKey = companyKey ? companyKey : "";
}

const RegistryApp& CPolyApp::GetRegistryApp()
{
    return ProgramRegistryApp();
}

bool CPolyApp::GetSettingsKeyPath(std::string& path, const char* subKey, const char* section)
{
    return GetRegKeyPath(GetRegistryApp(), path, section, subKey ? subKey : "Settings");
}

CPolyApp* GetPolyApp()
{
    return dynamic_cast<CPolyApp*>(wxApp::GetInstance());
}
