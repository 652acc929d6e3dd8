#include "ui/MainFrame.h"

#include "document/UpdateCheckWorker.h"

#include "render/NewView.h"

#include "document/ModelViewState.h"
#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "document/RecentFileList.h"
#include "document/UndoList.h"
#include "kernel/DiagramPools.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "library/LibrarySearchResult.h"
#include "model/MemorySlots.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "operations/PolyMenuCommands.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/GLCanvasWindow.h"
#include "platform/GLCapture.h"
#include "platform/IconMenu.h"
#include "platform/MainWindow.h"
#include "platform/MenuKeys.h"
#include "render/FontCache.h"
#include "render/NewView.h"
#include "kernel/RenderSettings.h"
#include "render/OpenGLView.h"
#include "render/TranslucentQueue.h"
#include "ui/ChooseLayoutDialog.h"
#include "ui/CommandPictures.h"
#include "ui/Commands.h"
#include "ui/CreateBlockDialog.h"
#include "ui/DisplayCommands.h"
#include "ui/SectionSwitches.h"
#include "ui/EscapeCommands.h"
#include "ui/ExportImageDialog.h"
#include "ui/ExportOptionsDialog.h"
#include "ui/HelpCommands.h"
#include "ui/FacetingCommands.h"
#include "ui/LiveDialog.h"
#include "ui/MenuWording.h"
#include "ui/ImageCommands.h"
#include "ui/OptionsCommands.h"
#include "ui/SectionCommands.h"
#include "ui/ModelPane.h"
#include "ui/PaneLayout.h"
#include "ui/ScaleMenu.h"
#include "ui/StellationCommands.h"
#include "ui/StellationPlanesDialog.h"
#include "ui/ToolBarCombos.h"
#include "ui/UndoSettingsDialog.h"
#include "ui/TorusDialog.h"
#include "ui/PolyhedraDialog.h"
#include "ui/WatermanDialog.h"
#include "ui/ZonohedrifyDialog.h"

#include <wx/accel.h>
#include <wx/bmpbndl.h>
#include <wx/menu.h>
#include <wx/textentry.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// The commands whose prompt and tip name what they act on.
struct CommandWording
{
    int id;
    int prompt;
    int tooltip;
};

const CommandWording kCommandWordings[] = {
    {kCmdPolyhedronList, kWordingTope, kWordingNone},
    {kCmdViewFace, kWordingFaceCell, kWordingFaceCell},
    {kCmdModeSelect, kWordingFaceCell, kWordingFaceCell},
    {kCmdSetFaceTypeColor, kWordingSelection, kWordingSelection},
    {kCmdSetSingleFaceColor, kWordingSelection, kWordingSelection},
    {kCmdSetAllFaceColors, kWordingSelection, kWordingSelection},
    {kCmdReplaceFaceColor, kWordingSelection, kWordingSelection},
    {kCmdModeColorFaces, kWordingSelection, kWordingSelection},
    {kCmdShowHideSelected, kWordingSelectionNoVertex, kWordingSelectionNoVertex},
    {kCmdShowHideSelectedType, kWordingSelectionNoVertex, kWordingSelectionNoVertex},
    {kCmdShowHideAll, kWordingSelectionNoVertex, kWordingSelectionNoVertex},
    {kCmdToggleShownHidden, kWordingSelectionNoVertex, kWordingSelectionNoVertex},
    {kCmdShowHideSelectedColor, kWordingSelectionNoVertex, kWordingSelectionNoVertex},
};

// Milliseconds between two update passes over the buttons and the window's other items.
constexpr long kToolBarUpdateInterval = 100;

const CommandWording* FindWording(int id)
{
    for (const CommandWording& w : kCommandWordings)
        if (w.id == id)
            return &w;
    return nullptr;
}
}  // namespace

CMainFrame::CMainFrame(CPolyDoc* document, PaneFactory factory) : NewFrame(document, "Orvane")
{
    mPreviousSceneHost = SetSceneHost(&mSceneHost);
    InstallCommandPictures();
    SetIcon(GetCommandPicture(kProgramIconPicture).GetIcon(wxSize(32, 32)));
    SetCommandTable(&GetCommandTable());
    SetMenuBar(BuildMenuBar(GetCommandTable()));
    const wxAcceleratorTable keys = BuildAcceleratorTable(GetCommandTable());
    SetAcceleratorTable(keys);
    BindEscapeCommands(this);
    BindScaleCommands(this);
    BindFacetingCommands(this);
    BindStellationCommands(this);
    BindDisplayCommands(this);
    BindSectionSwitches(this);
    BindOptionsCommands(this);
    BindSectionCommands(this);
    BindImageCommands(this);
    BindHelpCommands(this);
    SetFinishTransitionsHook([]() {
        CPolyDoc* doc = GetPolyDoc();
        if (!doc)
            return false;
        bool running = false;
        for (ModelRecord* r = doc->GetFirstRecord(); r; r = r->next)
            running = running || r->mPoly.InTransition();
        if (running)
            doc->FinishAllTransitions();
        return running;
    });
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunUndoSettingsDialog(this); }, kCmdUndoSettings);
    Bind(wxEVT_MENU_HIGHLIGHT, &CMainFrame::OnMenuHighlight, this);
    // Letter keys of menu items while a pane has the focus; never while a text box takes the typing.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (dynamic_cast<wxTextEntry*>(wxWindow::FindFocus()) || IsToolBarListOpen() ||
            (!HandleFacetingStepKey(event) && !RunPlainMenuAccelerator(*this, event)))
            event.Skip();
    });
    // A button let go over another window never reaches the pane: end its drag here.
    Bind(wxEVT_ACTIVATE, [](wxActivateEvent& event) {
        NewView::ReleaseMouseButtons();
        event.Skip();
    });
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunWatermanCommand(this); }, kCmdCreateWatermanPolyhedron);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunPolyhedronListCommand(this); }, kCmdPolyhedronList);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunTorusCommand(this); }, kCmdCreateTorus);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunCreateBlockCommand(this); }, kCmdCreateBlock);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunZonohedrifyCommand(this); }, kCmdZonohedrify);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RunStellationPlanesCommand(this); }, kCmdStellationPlanes);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { SubdivideCurrentModel(false); }, kCmdSubdivideFaces);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { SubdivideCurrentModel(true); }, kCmdCreateGeodesicSphere);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            const int layout = RunChooseLayoutDialog(this, GetCurrentLayoutIndex());
            if (layout >= 0)
                SetLayout(layout);
        },
        kCmdChooseLayout);
    UpdateRecentFileMenu();
    SetRecentFilesChangedHook([this] { UpdateRecentFileMenu(); });
    SetExportOptionsAsker(AskExportOptions);
    SetExportImageAsker(AskExportImage);

    if (!factory)
        factory = [](wxWindow* parent, wxWindowID id) -> NewView* { return new ModelPane(parent, id); };
    mDock.SetManagedWindow(this);
    CreateToolBars();
    ResetLayoutViewTypes();
    OnCreateClient(std::move(factory));
    LoadBarState();
    mDock.Update();
    // The buttons' update handlers run on idle, with every frame while models move.
    wxUpdateUIEvent::SetUpdateInterval(kToolBarUpdateInterval);
    if (NewView* view = NewView::GetActiveView() ? NewView::GetActiveView() : NewView::GetFirstView())
        view->Activate(true);

    if (const char* path = std::getenv("ORVANE_FIRST_FRAME_PPM"))
    {
        mFirstFramePath = path;
        ArmFirstFrameCapture();
    }
}

CMainFrame::~CMainFrame()
{
    ClearPlaneClipboard();
    wxUpdateUIEvent::SetUpdateInterval(0);
    mDock.UnInit();
    SetRecentFilesChangedHook(nullptr);
    SetExportOptionsAsker(nullptr);
    SetExportImageAsker(nullptr);
    if (&GetSceneHost() == &mSceneHost)
        SetSceneHost(mPreviousSceneHost);
}

void CMainFrame::ArmFirstFrameCapture()
{
    if (mFirstFramePath.empty() || mFirstFrameSaved)
        return;
    auto* pane = dynamic_cast<OpenGLView*>(NewView::GetFirstView());
    if (!pane)
        return;
    pane->GetCanvas()->SetFrameDrawnCallback([this, file = mFirstFramePath](GLCanvasWindow& canvas) {
        if (mFirstFrameSaved)
            return;
        // The frame saved is the first one with every model at rest, after the start-up transition.
        if (const CPolyDoc* doc = GetPolyDoc())
            for (ModelRecord* r = doc->GetFirstRecord(); r; r = r->next)
                if (r->mPoly.InTransition())
                    return;
        mFirstFrameSaved = true;
        const wxSize size = canvas.GetClientSize() * canvas.GetContentScaleFactor();
        if (!SaveBackBufferAsPpm(file, size.x, size.y))
            std::fprintf(stderr, "Could not write the first frame to %s\n", file.c_str());
        CallAfter([this] { Close(true); });
    });
}

void CMainFrame::SetLayout(int layout)
{
    const int current = GetCurrentLayoutIndex();
    if (layout == current || layout < 0 || layout >= kNumPaneLayouts)
        return;
    const int stereo = GetStereoMode();
    if (current >= 0)
    {
        int pane = 0;
        for (NewView* v = NewView::GetFirstView(); v && pane < kMaxPanes; v = v->next, ++pane)
            if (const auto* state = dynamic_cast<const ModelViewState*>(v))
                if (state->GetViewType() >= 0)
                    SetLayoutViewType(current, pane, state->GetViewType());
    }
    // A 3D model: every view starts the new layout with the identity 4D rotation, projected as in 3D.
    const int projection4D = 2;
    const Mat4 rotation4D;

    CreatePanes(layout);

    int pane = 0;
    for (NewView* v = NewView::GetFirstView(); v && pane < kMaxPanes; v = v->next, ++pane)
        if (auto* state = dynamic_cast<ModelViewState*>(v))
            state->SetViewType(GetLayoutViewType(layout, pane), false);
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* state = dynamic_cast<ModelViewState*>(v))
        {
            state->SetProjection4D(projection4D);
            state->SetRotation4D(rotation4D);
        }
    SetStereoModeInAllViews(stereo);
    ArmFirstFrameCapture();
}

void CMainFrame::UpdateRecentFileMenu()
{
    wxMenuBar* bar = GetMenuBar();
    wxMenu* menu = nullptr;
    wxMenuItem* exitItem = bar ? bar->FindItem(kCmdAppExit, &menu) : nullptr;
    if (!exitItem || !menu)
        return;
    for (int id = kCmdFileMruFirst; id <= kCmdFileMruLast; ++id)
        if (menu->FindChildItem(id))
            menu->Destroy(id);
    if (mRecentSeparator)
        menu->Destroy(mRecentSeparator);
    mRecentSeparator = nullptr;

    const RecentFileList& list = GetRecentFileList();
    const int count = std::min(list.Count(), kCmdFileMruLast - kCmdFileMruFirst + 1);
    if (count == 0)
        return;
    size_t position = 0;
    menu->FindChildItem(kCmdAppExit, &position);
    const char* homeVariable = std::getenv("HOME");
    const std::string home = homeVariable ? homeVariable : "";
    for (int i = 0; i < count; ++i)
    {
        const std::string& path = list.Get(i);
        // The home folder shown as "~" keeps the entries short; '&' is no mnemonic here.
        std::string shown = !home.empty() && path.compare(0, home.size() + 1, home + "/") == 0
                                ? "~" + path.substr(home.size())
                                : path;
        std::string escaped;
        for (char c : shown)
            escaped += c == '&' ? std::string("&&") : std::string(1, c);
        const std::string label = (i < 9 ? "&" : "") + std::to_string(i + 1) + " " + escaped;
        menu->Insert(position++, kCmdFileMruFirst + i, wxString::FromUTF8(label), wxString::FromUTF8(path));
    }
    mRecentSeparator = menu->InsertSeparator(position);
}

bool CMainFrame::CloseApplication()
{
    if (mClosing)
        return false;
    mClosing = true;
    // The commands that opened live dialogs resume once this handler returns.
    LiveDialog::EndAll(wxID_CANCEL);
    // A finished update check is told before its day and version are written with the settings.
    if (IsUpdateCheckDone())
        ReportUpdateCheck(GetMenuBar());
    CPolyApp::SaveSettings();
    CloseViewModule();
    ClearUndoList();
    if (Poly* poly = GetCurrentPoly())
        poly->mAugmenter.Clear();
    ReleaseRingListPool();
    ReleaseRingVertPool();
    ReleaseTranslucentQueue();
    GetSharedDiagramPools().FreeAll();
    ClearMemorySlots();
    ClearSearchResults();
    {
        // The fonts' textures live in the views' shared context.
        auto* view = dynamic_cast<OpenGLView*>(NewView::GetFirstView());
        const bool current = view && view->PreOpenGL();
        FreeFontCache();
        if (current)
            view->PostOpenGL();
    }
    const bool closed = NewFrame::CloseApplication();
    mClosing = false;
    return closed;
}

int GetStereoMode()
{
    const auto* view = dynamic_cast<const OpenGLView*>(NewView::GetFirstView());
    return view ? view->GetStereoMode() : 0;
}

void SetStereoModeInAllViews(int mode)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* gl = dynamic_cast<OpenGLView*>(v))
            gl->SetStereoMode(mode);
}

void SetStereoDisplay(int mode)
{
    SetStereoModeInAllViews(mode);
    OpenGLView::SetRenderFlags(RenderSettings::kStereoGlasses, mode >= 3);
    OpenGLView::SetRainbowColorMode((GetRenderFlags() & RenderSettings::kRainbowColors) != 0);
}

std::string CMainFrame::GetMessageString(int command)
{
    const CommandInfo* info = GetCommandTable().Find(command);
    if (!info || !info->prompt)
        return std::string();
    std::string text = info->prompt;
    if (const CommandWording* wording = FindWording(command))
        UseWording(text, wording->prompt, CurrentWordingModel());
    return text;
}

std::string CMainFrame::GetToolTipString(int command)
{
    const CommandInfo* info = GetCommandTable().Find(command);
    if (!info)
        return std::string();
    std::string text = info->tooltip ? std::string(info->tooltip) : CommandPlainText(*info);
    if (const CommandWording* wording = FindWording(command))
        UseWording(text, wording->tooltip, CurrentWordingModel());
    return text;
}

void CMainFrame::OnMenuHighlight(wxMenuEvent& event)
{
    const int id = event.GetMenuId();
    if (id == wxID_SEPARATOR || id == wxID_NONE || !GetCommandTable().Find(id))
    {
        event.Skip();
        return;
    }
    DoGiveHelp(wxString::FromUTF8(GetMessageString(id)), true);
}

std::string GetCommandMenuText(int command)
{
    const wxFrame* frame = GetMainFrame();
    std::string path;
    IconMenu::GetCommandPath(frame ? frame->GetMenuBar() : nullptr, command, path);
    return path;
}
