#pragma once

#include "ui/AppSceneHost.h"
#include "ui/NewFrame.h"

#include <wx/aui/framemanager.h>

#include <array>
#include <string>

class CToolBarEx;
class wxMenuItem;

// The main window's toolbars, in their order of creation.
enum MainToolBarIndex
{
    kMainToolBar,
    kTourToolBar,
    kOptionToolBar,
    kModeToolBar,
    kViewToolBar,
    kNumMainToolBars
};

// The main window: the menu built from the command table, the pane layouts with the view type each
// layout's panes showed last, and the orderly shut-down of the program. Made once by the
// application at start-up for the one document.
class CMainFrame : public NewFrame
{
public:
    // Without a pane factory the panes are the program's model panes.
    explicit CMainFrame(CPolyDoc* document, PaneFactory factory = PaneFactory());
    ~CMainFrame() override;

    // The whole program's shut-down; a second request while one runs is refused.
    bool CloseApplication() override;
    // Switches the pane layout: each layout keeps the view types of its panes, and the views keep
    // their stereo mode and 4D state across the switch.
    void SetLayout(int layout) override;
    // The File menu lists the recent files above Exit, newest first; it follows every change of
    // the list.
    void UpdateRecentFileMenu();

    // The status-bar prompt of a command and the tip of its toolbar button, reworded for the model
    // and the selection where the command's text names them; empty for a command without one.
    static std::string GetMessageString(int command);
    static std::string GetToolTipString(int command);

    // Stores the kit's edge style (0..10), shows its picture on the Choose Geomag Edge Style button
    // and redraws every view.
    void SetGeomagEdgeStyleButton(int style);
    CToolBarEx* GetToolBar(int bar) const { return mToolBars[size_t(bar)]; }
    // The Option toolbar's symmetry boxes: select the subgroup pair and apply it to the model
    // (refill forces the lists to be filled again), or show the current model's group.
    void SetSymmetry(int rotational, int reflective, bool refill);
    void UpdateSymmetryCombos();
    // Docks, floats, shows and hides the toolbars.
    wxAuiManager& GetDockManager() { return mDock; }
    // A stored docking state names only panes this window has.
    bool IsDockStateUsable(const std::string& state) const;
    // Applies a stored docking state when it is usable; a toolbar it lacks keeps its first place
    // beside its neighbour. False when the state was not usable and the places stayed.
    bool ApplyDockState(const std::string& state);
    // The setting "BarState": read at start, written when the window goes.
    void LoadBarState();
    void SaveBarState();
    bool Destroy() override;

private:
    // False when a toolbar's combo box cannot be made.
    bool CreateToolBars();
    void DockToolBar(int bar);
    void DockBeside(int bar, int neighbour);
    void OnShowToolBar(wxCommandEvent& event);
    void OnUpdateShowToolBar(wxUpdateUIEvent& event);
    void PanesReplaced(wxWindow* old, wxWindow* now) override;

    void OnMenuHighlight(wxMenuEvent& event);
    // Test hook: with ORVANE_FIRST_FRAME_PPM set, save the first frame there and close. A new
    // layout (a default scene's) makes new panes: the hook moves to the first of them.
    void ArmFirstFrameCapture();

    wxAuiManager mDock;
    std::array<CToolBarEx*, kNumMainToolBars> mToolBars{};
    bool mBarStateSaved = false;
    // The panes and layout as model files see them, installed while the frame lives.
    AppSceneHost mSceneHost;
    SceneHost* mPreviousSceneHost = nullptr;
    wxMenuItem* mRecentSeparator = nullptr;
    bool mClosing = false;
    std::string mFirstFramePath;
    bool mFirstFrameSaved = false;
};

// The stereo mode of the first view: 0 none, 1 and 2 side by side, 3 to 8 coloured glasses, -1
// another kind; 0 without a view.
int GetStereoMode();
// A mode 0..8 for every view.
void SetStereoModeInAllViews(int mode);
// Display > 3D Stereo Display: mode 0 off, 1 parallel-eyed, 2 cross-eyed, 3 to 5 red with cyan,
// blue or green glasses. Coloured glasses draw with white lights, so the light set is chosen again.
void SetStereoDisplay(int mode);
// The kit's edge style the Choose Geomag Edge Style button shows, 0 (Yellow) to 10.
int GetGeomagEdgeStyle();
// Where a command lives in the main window's menu ("File->Exit"); empty when it is not there.
std::string GetCommandMenuText(int command);
