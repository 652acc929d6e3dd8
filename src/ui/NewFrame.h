#pragma once

#include "kernel/Messages.h"
#include "platform/WindowPlacement.h"

#include <wx/frame.h>

#include <functional>

class CPolyDoc;
class NewSplitter;
class NewView;
class wxUpdateUIEvent;
struct CommandInfo;
struct CommandTable;
struct WordingModel;

// The base of the main window: the status bar, the window placement between runs, the client area
// in one of the pane layouts, the smallest size the active pane may be given, and the start of the
// shut-down when the window is closed. It routes every command (platform/CommandRouting.h).
class NewFrame : public wxFrame
{
public:
    // Status-bar panes: general messages, then the mouse-button hints of the active view.
    static constexpr int kStatusPanes = 4;
    // The active pane is kept at least this large when the user sizes the window.
    static constexpr int kMinPaneWidth = 150;
    static constexpr int kMinPaneHeight = 100;

    // Makes one pane of a layout; the program's model pane unless a test gives another.
    using PaneFactory = std::function<NewView*(wxWindow* parent, wxWindowID id)>;

    NewFrame(CPolyDoc* document, const wxString& title);
    ~NewFrame() override;

    CPolyDoc* GetDocument() const { return mDocument; }
    void SetCommandTable(const CommandTable* table) { mCommands = table; }

    // The frame's part of the shut-down: leaves full screen, saves the placement and removes the
    // panes. A derived frame does its own part first. False keeps the window open.
    virtual bool CloseApplication();
    // The layout switch; this one only builds the panes.
    virtual void SetLayout(int layout);
    // Builds the panes of a layout in place of the current ones.
    virtual void CreatePanes(int layout);
    // The current splitters' ratios into the current layout's record (none without a splitter).
    void StoreRatios();
    // The views renumbered in list order, the splitters' ratios taken again from the layout's
    // record and applied.
    void RefreshLayout();

    NewSplitter* GetSplitter() const { return mSplitter; }
    NewSplitter* GetNestedSplitter() const { return mNestedSplitter; }

    // The stored placement applied to this window.
    void ApplyWindowPlacement();
    // The normal rectangle of this window (the one it had before it was maximised) stored.
    void SaveWindowPlacement();
    // The normal rectangle the window has, or had before it was maximised or minimised.
    const WindowPlacement& GetNormalPlacement() const { return mNormal; }
    // The smallest size that keeps the active pane at least kMinPaneWidth x kMinPaneHeight; never
    // more than the window's size, so the window is never made to grow.
    wxSize MinimumSizeForActivePane() const;

protected:
    // The client area: every layout initialised, then the two-pane layout through SetLayout.
    bool OnCreateClient(PaneFactory factory);
    // The window that fills the client area is replaced by now (null when the panes are removed);
    // old is still alive. A frame that lays out its client area itself hands it the new window.
    virtual void PanesReplaced(wxWindow* /*old*/, wxWindow* /*now*/) {}
    // Commands and their update events go to the active view, the document, this frame and the
    // application, in that order, after the command table's rule; the table's rewording of the menu
    // text comes first.
    bool ProcessEvent(wxEvent& event) override;

private:
    void OnClose(wxCloseEvent& event);
    void OnSizeOrMove(wxEvent& event);
    void OnMenuClose(wxMenuEvent& event);
    void OnLayoutCommand(wxCommandEvent& event);
    void RewordMenuItem(wxUpdateUIEvent& event, const CommandInfo& command, const WordingModel& model);
    NewView* MakePane(wxWindow* parent, int paneNumber);
    void DestroyPanes();

    CPolyDoc* mDocument;
    const CommandTable* mCommands = nullptr;
    PaneFactory mPaneFactory;
    NewSplitter* mSplitter = nullptr;
    NewSplitter* mNestedSplitter = nullptr;
    NewView* mSingleView = nullptr;  // the view of the one-pane layout
    WindowPlacement mNormal;
    bool mMenuClosedOnce = false;
    int mQueuedLayout = -1;  // where the layout commands waiting to run lead
};

// printf-style text into a pane of the main window's status bar, cut to 512 bytes with "..." at
// the end; returns its length, 0 without a main window or status bar.
int SetStatusPaneText(int pane, const char* format, ...) ORVANE_PRINTF(2, 3);
// The text as the active view's message and the status bar's general text.
void ShowViewMessage(const char* text);
// "L: %s", "R: %s" and "L+R: %s" in the status bar's three hint panes.
void SetMouseHintTexts(const char* left, const char* right, const char* both);
