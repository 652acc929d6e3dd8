// The main window's five toolbars: their buttons, their places at first start, docking, floating
// and hiding, a stored docking state, and buttons that follow their commands as the menu does.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "platform/MenuPictureChecks.h"
#include "platform/ToolBarEx.h"
#include "ui/CommandPictures.h"
#include "ui/MainToolBars.h"
#include "support/ModelUndoByCopy.h"

#include <wx/aui/auibar.h>
#include <wx/menu.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
class ToolBarsTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        // Undo steps keep the whole model, as the program does.
        InstallModelUndoByCopy();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
            GetDocumentSettings() = mSaved;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }
    wxAuiPaneInfo& Pane(int bar) { return mFrame->GetDockManager().GetPane(mFrame->GetToolBar(bar)); }

    // A new main window in place of the fixture's, as at the next start.
    void Restart()
    {
        mFrame->Destroy();
        Pump();
        MainFrameFixture::SetUp();
    }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

// The numbers of the commands as the program's lists give them.
std::vector<int> Ids(std::initializer_list<int> numbers)
{
    std::vector<int> ids;
    for (int n : numbers)
        ids.push_back(n <= 0 ? n : n - kCommandIdBase);
    return ids;
}

// The same picture: equal pixels and equal opacity.
bool SamePixels(const wxBitmap& a, const wxBitmap& b)
{
    wxImage x = a.ConvertToImage();
    wxImage y = b.ConvertToImage();
    if (x.GetSize() != y.GetSize() || x.HasAlpha() != y.HasAlpha())
        return false;
    const size_t n = size_t(x.GetWidth()) * size_t(x.GetHeight());
    if (!std::equal(x.GetData(), x.GetData() + 3 * n, y.GetData()))
        return false;
    return !x.HasAlpha() || std::equal(x.GetAlpha(), x.GetAlpha() + n, y.GetAlpha());
}
}  // namespace

TEST_F(ToolBarsTest, EachBarHoldsItsButtonsInOrderWithTidySeparators)
{
    struct Case
    {
        int bar;
        const char* caption;
        std::vector<int> buttons;
    };
    // The combo boxes stand at their places (kComboPlace); the buttons never made (View Polyhedral
    // Fractal, Compound, Morph Duals via Snub, the colour steps and the eleven edge styles) are absent.
    const Case kCases[] = {
        {kMainToolBar, "Main toolbar",
         Ids({57601, 57603, 57604, 57609, 0, 57643, 57644, 0, 32785, -1, -1, 32791, 32792, 0, 33008, 33151, 33152,
              33126})},
        {kTourToolBar, "Tour toolbar",
         Ids({33486, 0, 33487, 33493, 33488, 0, 33480, 0, 33479, 33483, 33482, 33485, 33484})},
        {kOptionToolBar, "Option toolbar",
         Ids({32963, 0, 33524, 33127, 32983, 33116, 32879, 32984, 33114, 0, 32935, 32936, 33157, 33159, 33169, 0,
              33122, 0, 32795, 32796, 0, -1, 32850, -1, 33074, -1, 33009, 0, 32816, 32815, 32868})},
        {kModeToolBar, "Mode toolbar", Ids({32937, 32945, 32938, 32939, 32940, 33175, 33186, 33384, 33382})},
        {kViewToolBar, "View toolbar",
         Ids({32772, 32773, 32774, 32797, 32798, 33104, 0, 32834, 32870, 32836, 32838, 32833, 33130, 33315, 0, 32840,
              32883, 0, 32782, 32781, 32783, 32947, 32948, 33154, 33499, 33500})},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.caption);
        CToolBarEx* bar = mFrame->GetToolBar(c.bar);
        ASSERT_NE(bar, nullptr);
        std::vector<int> commands;
        for (size_t i = 0; i < bar->GetToolCount(); ++i)
        {
            wxAuiToolBarItem* item = bar->FindToolByIndex(int(i));
            commands.push_back(item->GetWindow() ? kComboPlace : bar->GetButtonCommands()[i]);
        }
        EXPECT_EQ(commands, c.buttons);
        EXPECT_EQ(Pane(c.bar).caption, c.caption);
        for (size_t i = 0; i < bar->GetToolCount(); ++i)
        {
            wxAuiToolBarItem* item = bar->FindToolByIndex(int(i));
            if (item->GetKind() != wxITEM_SEPARATOR && !item->GetWindow())
            {
                EXPECT_TRUE(item->GetBitmapBundle().IsOk()) << "no picture on " << item->GetId();
            }
        }
    }
}

TEST_F(ToolBarsTest, TheFirstStartHasThreeRowsOfBarsAboveThePanes)
{
    struct Place
    {
        int bar;
        int row;
        int position;
    };
    const Place kPlaces[] = {{kMainToolBar, 0, 0}, {kTourToolBar, 0, 1}, {kOptionToolBar, 1, 0},
                             {kModeToolBar, 2, 0}, {kViewToolBar, 2, 1}};
    // Docked toolbars keep their places in a row as pixel offsets.
    for (const Place& p : kPlaces)
    {
        SCOPED_TRACE(GetMainToolBarDesign(p.bar).caption);
        EXPECT_TRUE(Pane(p.bar).IsShown());
        EXPECT_TRUE(Pane(p.bar).IsDocked());
        EXPECT_EQ(Pane(p.bar).dock_direction, wxAUI_DOCK_TOP);
        EXPECT_EQ(Pane(p.bar).dock_row, p.row);
        if (p.position == 0)
        {
            EXPECT_EQ(Pane(p.bar).dock_pos, 0);
        }
        else
        {
            EXPECT_GT(Pane(p.bar).dock_pos, Pane(p.bar - 1).dock_pos);
        }
    }
    // On the screen: rows one under the other, the second bar of a row right of the first, and
    // every pane below them.
    auto rect = [this](int bar) { return ClientRect(mFrame->GetToolBar(bar)); };
    EXPECT_EQ(rect(kMainToolBar).y, rect(kTourToolBar).y);
    EXPECT_GT(rect(kTourToolBar).x, rect(kMainToolBar).GetRight());
    EXPECT_GE(rect(kOptionToolBar).y, rect(kMainToolBar).GetBottom());
    EXPECT_GE(rect(kModeToolBar).y, rect(kOptionToolBar).GetBottom());
    EXPECT_EQ(rect(kModeToolBar).y, rect(kViewToolBar).y);
    EXPECT_GT(rect(kViewToolBar).x, rect(kModeToolBar).GetRight());
    for (ModelPane* pane : Panes())
        EXPECT_GE(ClientRect(static_cast<wxWindow*>(pane)).y, rect(kViewToolBar).GetBottom());
}

TEST_F(ToolBarsTest, TheToolbarCommandsShowAndHideTheirBarsAtOnce)
{
    const int kCommands[] = {kCmdShowMainToolbar, kCmdShowTourToolbar, kCmdShowOptionToolbar, kCmdShowModeToolbar,
                             kCmdShowViewTypeToolbar};
    wxMenuBar* menus = mFrame->GetMenuBar();
    for (int b = 0; b < kNumMainToolBars; ++b)
    {
        SCOPED_TRACE(GetMainToolBarDesign(b).caption);
        const int command = kCommands[b];
        menus->UpdateMenus();
        EXPECT_TRUE(menus->FindItem(command)->IsEnabled());
        EXPECT_TRUE(menus->FindItem(command)->IsChecked());
        RunCommand(command);
        // Hidden at once, without waiting for the next layout.
        EXPECT_FALSE(mFrame->GetToolBar(b)->IsShown());
        menus->UpdateMenus();
        EXPECT_FALSE(menus->FindItem(command)->IsChecked());
        RunCommand(command);
        EXPECT_TRUE(mFrame->GetToolBar(b)->IsShown());
        menus->UpdateMenus();
        EXPECT_TRUE(menus->FindItem(command)->IsChecked());
    }
}

TEST_F(ToolBarsTest, FloatingDockedLeftAndHiddenBarsComeBackAtTheNextStart)
{
    wxAuiManager& dock = mFrame->GetDockManager();
    Pane(kOptionToolBar).Float().FloatingPosition(wxPoint(320, 260));
    Pane(kModeToolBar).Left().Layer(10).Row(0).Position(0);
    dock.Update();
    RunCommand(kCmdShowTourToolbar);
    Pump();
    const wxPoint floatingAt = wxGetTopLevelParent(mFrame->GetToolBar(kOptionToolBar))->GetPosition();
    const std::string state = dock.SavePerspective().utf8_string();

    Restart();
    ASSERT_TRUE(mFrame->ApplyDockState(state));
    Pump();
    EXPECT_TRUE(Pane(kOptionToolBar).IsFloating());
    EXPECT_TRUE(Pane(kOptionToolBar).IsShown());
    EXPECT_EQ(wxGetTopLevelParent(mFrame->GetToolBar(kOptionToolBar))->GetPosition(), floatingAt);
    EXPECT_EQ(Pane(kModeToolBar).dock_direction, wxAUI_DOCK_LEFT);
    EXPECT_LT(ClientRect(mFrame->GetToolBar(kModeToolBar)).x, ClientRect(mFrame->GetToolBar(kViewToolBar)).x);
    EXPECT_FALSE(Pane(kTourToolBar).IsShown());
    EXPECT_FALSE(mFrame->GetToolBar(kTourToolBar)->IsShown());
    EXPECT_TRUE(Pane(kMainToolBar).IsShown());
    // The panes are there whatever the state holds.
    EXPECT_FALSE(Panes().empty());
    for (ModelPane* pane : Panes())
        EXPECT_TRUE(static_cast<wxWindow*>(pane)->IsShownOnScreen());
}

TEST_F(ToolBarsTest, AStoredStateNamingAnUnknownBarIsIgnoredWhole)
{
    wxAuiManager& dock = mFrame->GetDockManager();
    Pane(kModeToolBar).Left();
    dock.Update();
    std::string state = dock.SavePerspective().utf8_string();
    const size_t at = state.find("name=TourToolBar;");
    ASSERT_NE(at, std::string::npos);
    std::string unknown = state;
    unknown.replace(at, 17, "name=FractalToolBar;");

    Restart();
    EXPECT_FALSE(mFrame->IsDockStateUsable(unknown));
    EXPECT_FALSE(mFrame->ApplyDockState(unknown));
    EXPECT_EQ(Pane(kModeToolBar).dock_direction, wxAUI_DOCK_TOP);  // the defaults stand
    EXPECT_TRUE(Pane(kTourToolBar).IsShown());
    for (const char* junk : {"", "layout2|", "name=MainToolBar;dir=4|", "garbage"})
        EXPECT_FALSE(mFrame->ApplyDockState(junk)) << junk;
    EXPECT_TRUE(mFrame->IsDockStateUsable(state));
}

TEST_F(ToolBarsTest, ABarTheStoredStateLacksTakesItsPlaceBesideItsNeighbour)
{
    wxAuiManager& dock = mFrame->GetDockManager();
    // The main toolbar moved to the bottom, the mode toolbar floats.
    Pane(kMainToolBar).Bottom().Row(0).Position(0);
    Pane(kModeToolBar).Float().FloatingPosition(wxPoint(200, 500));
    dock.Update();
    std::string state = dock.SavePerspective().utf8_string();
    // A state stored before the tour toolbar existed.
    const size_t start = state.find("name=TourToolBar;");
    ASSERT_NE(start, std::string::npos);
    state.erase(start, state.find('|', start) + 1 - start);

    Restart();
    ASSERT_TRUE(mFrame->ApplyDockState(state));
    EXPECT_EQ(Pane(kMainToolBar).dock_direction, wxAUI_DOCK_BOTTOM);
    EXPECT_TRUE(Pane(kModeToolBar).IsFloating());
    EXPECT_TRUE(Pane(kTourToolBar).IsShown());
    EXPECT_EQ(Pane(kTourToolBar).dock_direction, wxAUI_DOCK_BOTTOM);
    EXPECT_EQ(Pane(kTourToolBar).dock_row, Pane(kMainToolBar).dock_row);
    EXPECT_GT(Pane(kTourToolBar).dock_pos, Pane(kMainToolBar).dock_pos);
    EXPECT_GT(ClientRect(mFrame->GetToolBar(kTourToolBar)).x, ClientRect(mFrame->GetToolBar(kMainToolBar)).GetRight());
    EXPECT_EQ(ClientRect(mFrame->GetToolBar(kTourToolBar)).y, ClientRect(mFrame->GetToolBar(kMainToolBar)).y);
}

TEST_F(ToolBarsTest, EveryButtonIsEnabledAndCheckedAsItsMenuItem)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    ClearUndoList();
    wxMenuBar* menus = mFrame->GetMenuBar();
    auto compare = [&]() {
        menus->UpdateMenus();
        int compared = 0;
        for (int b = 0; b < kNumMainToolBars; ++b)
        {
            CToolBarEx* bar = mFrame->GetToolBar(b);
            bar->UpdateButtons();
            for (int id : bar->GetButtonCommands())
            {
                // Separators and the combo boxes.
                if (id == 0 || bar->FindTool(id)->GetWindow())
                    continue;
                SCOPED_TRACE(id + kCommandIdBase);
                bool enabled = false;
                bool checked = false;
                if (const wxMenuItem* item = menus->FindItem(id))
                {
                    enabled = item->IsEnabled();
                    checked = item->IsCheckable() ? item->IsChecked() : IsPictureCheckItemChecked(item);
                }
                else
                {
                    // A command with a button only: what its update says.
                    wxUpdateUIEvent update(id);
                    update.SetEventObject(bar);
                    mFrame->ProcessWindowEvent(update);
                    enabled = !update.GetSetEnabled() || update.GetEnabled();
                    checked = update.GetSetChecked() && update.GetChecked();
                }
                EXPECT_EQ(bar->GetToolEnabled(id), enabled);
                if (bar->FindTool(id)->GetKind() == wxITEM_CHECK)
                {
                    EXPECT_EQ(bar->GetToolToggled(id), checked);
                }
                ++compared;
            }
        }
        return compared;
    };
    EXPECT_EQ(compare(), 13 + 10 + 22 + 9 + 23);
    EXPECT_FALSE(mFrame->GetToolBar(kMainToolBar)->GetToolEnabled(kCmdEditUndo));
    EXPECT_TRUE(mFrame->GetToolBar(kMainToolBar)->GetToolEnabled(kCmdNextPolyhedron));

    RunCommand(kCmdNextPolyhedron);
    compare();
    EXPECT_TRUE(mFrame->GetToolBar(kMainToolBar)->GetToolEnabled(kCmdEditUndo));
    // The mouse mode the panes start in is the checked one.
    EXPECT_TRUE(mFrame->GetToolBar(kModeToolBar)->GetToolToggled(kCmdModeSelect));
}

TEST_F(ToolBarsTest, TheEdgeStyleButtonShowsTheCurrentStyle)
{
    CToolBarEx* bar = mFrame->GetToolBar(kOptionToolBar);
    auto shown = [bar] { return bar->FindTool(kCmdChooseKitEdgeStyle)->GetBitmapBundle().GetBitmap(wxSize(16, 16)); };
    auto picture = [](const char* name) { return GetCommandPicture(name).GetBitmap(wxSize(16, 16)); };
    EXPECT_EQ(GetGeomagEdgeStyle(), 0);
    EXPECT_TRUE(SamePixels(shown(), picture("kit-edge-yellow")));
    mFrame->SetGeomagEdgeStyleButton(3);
    EXPECT_EQ(GetGeomagEdgeStyle(), 3);
    EXPECT_TRUE(SamePixels(shown(), picture("kit-edge-blue")));
    EXPECT_FALSE(SamePixels(shown(), picture("kit-edge-yellow")));
    mFrame->SetGeomagEdgeStyleButton(11);  // no such style
    EXPECT_EQ(GetGeomagEdgeStyle(), 3);
    mFrame->SetGeomagEdgeStyleButton(0);
}

TEST_F(ToolBarsTest, RightClickingAButtonWithoutADropDownDoesNothing)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    ClearUndoList();
    CToolBarEx* bar = mFrame->GetToolBar(kMainToolBar);
    bar->UpdateButtons();
    ASSERT_TRUE(bar->GetToolEnabled(kCmdNextPolyhedron));
    ASSERT_FALSE(bar->GetToolEnabled(kCmdEditUndo));
    const std::string before = Current().GetName();
    for (int id : {kCmdNextPolyhedron, kCmdEditUndo})
    {
        const wxRect r = bar->GetToolRect(id);
        wxMouseEvent down(wxEVT_RIGHT_DOWN);
        down.SetPosition(r.GetPosition() + r.GetSize() / 2);
        down.SetEventObject(bar);
        bar->ProcessWindowEvent(down);
        wxMouseEvent up(wxEVT_RIGHT_UP);
        up.SetPosition(down.GetPosition());
        up.SetEventObject(bar);
        bar->ProcessWindowEvent(up);
        Pump();
    }
    EXPECT_EQ(Current().GetName(), before);
    EXPECT_EQ(GetOldestUndoItem(), nullptr);
}

TEST_F(ToolBarsTest, AFloatingBarSendsItsCommandsToTheMainWindow)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    ClearUndoList();
    Pane(kMainToolBar).Float().FloatingPosition(wxPoint(300, 300));
    mFrame->GetDockManager().Update();
    Pump();
    CToolBarEx* bar = mFrame->GetToolBar(kMainToolBar);
    ASSERT_NE(wxGetTopLevelParent(bar), mFrame);
    const std::string before = Current().GetName();
    wxCommandEvent click(wxEVT_MENU, kCmdNextPolyhedron);
    click.SetEventObject(bar);
    bar->GetEventHandler()->ProcessEvent(click);
    EXPECT_NE(Current().GetName(), before);
    bar->UpdateButtons();
    EXPECT_TRUE(bar->GetToolEnabled(kCmdEditUndo));
}

TEST_F(ToolBarsTest, TheShutDownDropsTheSearchResults)
{
    AppendSearchResult(FindLibraryEntry("Cube", nullptr, false));
    ASSERT_NE(GetFirstSearchResult(), nullptr);
    EXPECT_TRUE(mFrame->CloseApplication());
    EXPECT_EQ(GetFirstSearchResult(), nullptr);
}
