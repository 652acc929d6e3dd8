// The main window's toolbars: made from the command table, docked by the window's dock manager,
// shown and hidden by the View > Toolbars commands, and kept between runs in "BarState".

#include "ui/MainFrame.h"
#include "ui/MainToolBars.h"

#include "document/PolyApp.h"
#include "document/ToolbarBoxes.h"
#include "kernel/Registry.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/MainWindow.h"
#include "platform/ToolBarEx.h"
#include "platform/ToolBarUtils.h"
#include "render/NewView.h"
#include "ui/CommandPictures.h"
#include "ui/Commands.h"
#include "ui/ToolBarCombos.h"
#include "ui/ToolBarDropDowns.h"
#include "view/PolyCaptionWnd.h"

#include <wx/artprov.h>

#include <set>

namespace
{
int gGeomagEdgeStyle = 0;

// A command's id from its number.
constexpr int C(int number)
{
    return number - kCommandIdBase;
}

const MainToolBarDesign kDesigns[kNumMainToolBars] = {
    {"MainToolBar", "Main toolbar", kCmdShowMainToolbar,
     {C(57601), C(57603), C(57604), C(57609), 0, C(57643), C(57644), 0, C(32785), kComboPlace, kComboPlace, C(32791),
      C(32792), 0, C(33008), C(33151), C(33152), C(33126)},
     0, -1},
    {"TourToolBar", "Tour toolbar", kCmdShowTourToolbar,
     {C(33486), 0, C(33487), C(33493), C(33488), 0, C(33480), 0, C(33479), C(33483), C(33482), C(33485), C(33484)},
     0, kMainToolBar},
    // The eleven edge-style buttons of the kit are one button that shows the current style.
    {"OptionToolBar", "Option toolbar", kCmdShowOptionToolbar,
     {C(32963), 0, C(33524), C(33127), C(32983), C(33116), C(32879), C(32984), C(33114), 0, C(32935), C(32936),
      C(33157), C(33159), C(33169), 0, C(33122), 0, C(32795), C(32796), 0, kComboPlace, C(32850), kComboPlace,
      C(33074), kComboPlace, C(33009), 0, C(32816), C(32815), C(32868)},
     1, -1},
    {"ModeToolBar", "Mode toolbar", kCmdShowModeToolbar,
     {C(32937), C(32945), C(32938), C(32939), C(32940), C(33175), C(33186), C(33384), C(33382)}, 2, -1},
    // View Polyhedral Fractal, Compound and Morph Duals via Snub have no buttons.
    {"ViewToolBar", "View toolbar", kCmdShowViewTypeToolbar,
     {C(32772), C(32773), C(32774), C(32797), C(32798), C(33104), 0, C(32834), C(32870), C(32836), C(32838), C(32833),
      C(33130), C(33315), 0, C(32840), C(32883), 0, C(32782), C(32781), C(32783), C(32947), C(32948), C(33154),
      C(33499), C(33500)},
     2, kModeToolBar},
};

constexpr const char* kClientPaneName = "Panes";
constexpr const char* kBarStateSetting = "BarState";
constexpr int kBarStateMaxLength = 32768;

// The pane names of a stored docking state ("layout2|name=A;...|name=B;...|dock_size(...)=..|").
std::vector<std::string> PaneNamesOf(const std::string& state)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= state.size())
    {
        size_t end = state.find('|', start);
        if (end == std::string::npos)
            end = state.size();
        const std::string part = state.substr(start, end - start);
        if (part.compare(0, 5, "name=") == 0)
            names.push_back(part.substr(5, part.find(';') - 5));
        start = end + 1;
    }
    return names;
}
}  // namespace

const MainToolBarDesign& GetMainToolBarDesign(int bar)
{
    return kDesigns[bar];
}

int GetGeomagEdgeStyle()
{
    return gGeomagEdgeStyle;
}

bool CMainFrame::CreateToolBars()
{
    const CommandTable& table = GetCommandTable();
    for (int b = 0; b < kNumMainToolBars; ++b)
    {
        const MainToolBarDesign& design = kDesigns[b];
        MainWindowToolBar* bar = b == kMainToolBar     ? new MainToolBar(this, this)
                                 : b == kOptionToolBar ? new OptionToolBar(this, this)
                                                       : new MainWindowToolBar(this, this);
        bar->SetToolBitmapSize(wxSize(16, 16));
        if (!bar->AddCombos())
            return false;
        for (int id : design.buttons)
        {
            if (id == 0)
            {
                bar->AddSeparator();
                continue;
            }
            if (id == kComboPlace)
            {
                bar->AddNextCombo();
                continue;
            }
            const CommandInfo* command = id == kComboPlace ? nullptr : table.Find(id);
            if (!command)
                continue;
            const wxBitmapBundle picture =
                command->bitmap ? wxArtProvider::GetBitmapBundle(command->bitmap, kCommandArtClient, wxSize(16, 16))
                                : wxBitmapBundle();
            bar->AddTool(id, wxString::FromUTF8(CommandPlainText(*command)), picture,
                         wxString::FromUTF8(GetToolTipString(id)),
                         command->update.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
        }
        RemoveExtraSeparators(bar);
        bar->SetTipSource([](int command) { return GetToolTipString(command); });
        bar->SetName(design.name);
        bar->SetLabel(design.caption);
        bar->Realize();
        mToolBars[size_t(b)] = bar;
        mDock.AddPane(bar, wxAuiPaneInfo()
                               .Name(design.name)
                               .Caption(design.caption)
                               .ToolbarPane()
                               .Top()
                               .Row(design.row)
                               .Position(design.neighbour < 0 ? 0 : 1)
                               .LeftDockable()
                               .RightDockable());
        Bind(wxEVT_MENU, &CMainFrame::OnShowToolBar, this, design.showCommand);
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateShowToolBar, this, design.showCommand);
    }
    SetGeomagEdgeStyleButton(0);
    ViewTypeMenuSource source;
    source.picture = [](int index) {
        const std::vector<std::string>& names = GetViewTypePictureNames();
        return index >= 0 && size_t(index) < names.size() ? GetCommandPicture(names[size_t(index)]) : wxBitmapBundle();
    };
    source.menu = []() { return BuildCommandMenu(GetCommandTable(), kDesigns[kViewToolBar].buttons); };
    SetViewTypeMenuSource(source);

    ToolbarBoxesHooks boxes;
    boxes.showCurrent = []() {
        auto* frame = dynamic_cast<CMainFrame*>(GetMainFrame());
        if (!frame)
            return;
        if (auto* bar = dynamic_cast<MainToolBar*>(frame->GetToolBar(kMainToolBar)))
        {
            bar->ShowCurrentCategory();
            bar->ShowCurrentModel();
        }
        frame->UpdateSymmetryCombos();
    };
    boxes.showSymmetry = [](int rotational, int reflective) {
        auto* frame = dynamic_cast<CMainFrame*>(GetMainFrame());
        if (auto* bar = frame ? dynamic_cast<OptionToolBar*>(frame->GetToolBar(kOptionToolBar)) : nullptr)
            bar->ShowSymmetry(rotational, reflective);
    };
    SetToolbarBoxesHooks(boxes);
    return true;
}

void CMainFrame::SetSymmetry(int rotational, int reflective, bool refill)
{
    if (auto* bar = dynamic_cast<OptionToolBar*>(GetToolBar(kOptionToolBar)))
        bar->SetSymmetry(rotational, reflective, refill);
}

void CMainFrame::UpdateSymmetryCombos()
{
    auto* bar = dynamic_cast<OptionToolBar*>(GetToolBar(kOptionToolBar));
    const Poly* poly = GetCurrentPoly();
    if (!bar || !poly)
        return;
    bar->ShowSymmetry(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
}

void CMainFrame::DockToolBar(int bar)
{
    const MainToolBarDesign& design = kDesigns[bar];
    if (design.neighbour >= 0)
    {
        DockBeside(bar, design.neighbour);
        return;
    }
    wxAuiPaneInfo& pane = mDock.GetPane(mToolBars[size_t(bar)]);
    pane.Top().Row(design.row).Position(0).Layer(10).Dock().Show();
}

void CMainFrame::DockBeside(int bar, int neighbour)
{
    wxAuiPaneInfo& pane = mDock.GetPane(mToolBars[size_t(bar)]);
    const wxAuiPaneInfo& other = mDock.GetPane(mToolBars[size_t(neighbour)]);
    if (!other.IsOk() || other.IsFloating())
    {
        pane.Top().Row(kDesigns[bar].row).Position(1).Layer(10).Dock().Show();
        return;
    }
    pane.Direction(other.dock_direction)
        .Layer(other.dock_layer)
        .Row(other.dock_row)
        .Position(other.dock_pos + 1)
        .Dock()
        .Show();
}

void CMainFrame::SetGeomagEdgeStyleButton(int style)
{
    const std::vector<std::string>& names = GetKitEdgeStylePictureNames();
    if (style < 0 || style >= int(names.size()))
        return;
    gGeomagEdgeStyle = style;
    if (CToolBarEx* bar = mToolBars[kOptionToolBar])
    {
        bar->SetToolBitmap(kCmdChooseKitEdgeStyle,
                           wxArtProvider::GetBitmapBundle(names[size_t(style)], kCommandArtClient, wxSize(16, 16)));
        bar->Refresh(false);
    }
    NewView::InvalidateAll(false, true);
}

void CMainFrame::OnShowToolBar(wxCommandEvent& event)
{
    for (int b = 0; b < kNumMainToolBars; ++b)
        if (kDesigns[b].showCommand == event.GetId())
        {
            wxAuiPaneInfo& pane = mDock.GetPane(mToolBars[size_t(b)]);
            pane.Show(!pane.IsShown());
            mDock.Update();
        }
}

void CMainFrame::OnUpdateShowToolBar(wxUpdateUIEvent& event)
{
    for (int b = 0; b < kNumMainToolBars; ++b)
        if (kDesigns[b].showCommand == event.GetId())
            event.Check(mDock.GetPane(mToolBars[size_t(b)]).IsShown());
}

void CMainFrame::PanesReplaced(wxWindow* old, wxWindow* now)
{
    if (old && mDock.GetPane(old).IsOk())
        mDock.DetachPane(old);
    if (now)
        mDock.AddPane(now, wxAuiPaneInfo().Name(kClientPaneName).CenterPane().PaneBorder(false));
    mDock.Update();
}

bool CMainFrame::IsDockStateUsable(const std::string& state) const
{
    if (state.compare(0, 8, "layout2|") != 0)
        return false;
    const std::vector<std::string> names = PaneNamesOf(state);
    if (names.empty())
        return false;
    for (const std::string& name : names)
        if (!const_cast<wxAuiManager&>(mDock).GetPane(wxString::FromUTF8(name)).IsOk())
            return false;
    return true;
}

bool CMainFrame::ApplyDockState(const std::string& state)
{
    if (!IsDockStateUsable(state))
        return false;
    const std::vector<std::string> names = PaneNamesOf(state);
    const std::set<std::string> named(names.begin(), names.end());
    if (!mDock.LoadPerspective(wxString::FromUTF8(state), false))
        return false;
    // The toolkit hides what the state does not name: the panes always show, and a bar the state
    // lacks (one added to the program after the state was stored) takes its first place.
    wxAuiPaneInfo& client = mDock.GetPane(kClientPaneName);
    if (client.IsOk())
        client.CenterPane().Show();
    for (int b = 0; b < kNumMainToolBars; ++b)
        if (!named.count(kDesigns[b].name))
            DockToolBar(b);
    mDock.Update();
    // Under a window manager a floating bar restored at start may open behind the main window.
    for (CToolBarEx* bar : mToolBars)
        if (mDock.GetPane(bar).IsFloating() && mDock.GetPane(bar).IsShown())
            if (wxWindow* top = wxGetTopLevelParent(bar); top && top != this)
                top->Raise();
    return true;
}

void CMainFrame::LoadBarState()
{
    const RegistryApp& app = CPolyApp::GetRegistryApp();
    if (app.companyKey.empty())
        return;
    RegKeyPtr key = OpenRegKey(app, nullptr, "Settings");
    // A state names every pane with its places: far longer than the registry's usual texts.
    std::vector<char> state(static_cast<size_t>(kBarStateMaxLength));
    if (RegReadStringBuf(key.get(), kBarStateSetting, state.data(), int(state.size())) && state[0])
        ApplyDockState(state.data());
}

void CMainFrame::SaveBarState()
{
    const RegistryApp& app = CPolyApp::GetRegistryApp();
    if (app.companyKey.empty())
        return;
    RegKeyPtr key = CreateRegKey(app, nullptr, "Settings");
    RegWriteString(key.get(), kBarStateSetting, mDock.SavePerspective().utf8_string().c_str());
}

bool CMainFrame::Destroy()
{
    if (!mBarStateSaved)
    {
        mBarStateSaved = true;
        SaveBarState();
    }
    return NewFrame::Destroy();
}
