#include "ui/NewFrame.h"

#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "platform/CommandIds.h"
#include "platform/CommandRouting.h"
#include "platform/CommandTable.h"
#include "platform/MainWindow.h"
#include "platform/MenuPictureChecks.h"
#include "render/OpenGLView.h"
#include "ui/MenuWording.h"
#include "ui/NewSplitter.h"
#include "ui/PaneLayout.h"

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/textentry.h>

#include <algorithm>
#include <cstdarg>
#include <optional>
#include <string>

namespace
{
// A single key (no Ctrl or Alt) that came through the accelerators while a text box has the focus.
bool IsKeyForFocusedText(const wxEvent& event, const CommandInfo& command)
{
    if (event.GetEventObject() || command.menuPath)
        return false;
    wxAcceleratorEntry key;
    if (!key.FromString(wxString::FromUTF8(CommandAcceleratorText(command))) ||
        (key.GetFlags() & (wxACCEL_CTRL | wxACCEL_ALT)))
        return false;
    return dynamic_cast<wxTextEntry*>(wxWindow::FindFocus()) != nullptr;
}

// The hint panes take their widths from the longest texts they show.
const char* const kHintPaneTexts[3] = {"L: Set augmentation height", "R: Unexplode augmentation",
                                       "L+R: Pivot around axis"};
constexpr size_t kStatusTextSize = 512;

wxStatusBar* MainStatusBar()
{
    wxFrame* frame = GetMainFrame();
    return frame ? frame->GetStatusBar() : nullptr;
}
}  // namespace

NewFrame::NewFrame(CPolyDoc* document, const wxString& title)
    : wxFrame(nullptr, wxID_ANY, title), mDocument(document)
{
    ApplyWindowPlacement();
    wxStatusBar* bar = CreateStatusBar(kStatusPanes);
    int widths[kStatusPanes] = {-1, 0, 0, 0};
    int styles[kStatusPanes] = {wxSB_FLAT, wxSB_NORMAL, wxSB_NORMAL, wxSB_NORMAL};
    for (int i = 0; i < 3; ++i)
        widths[i + 1] = bar->GetTextExtent(kHintPaneTexts[i]).x + 2 * bar->GetBorderX() + 24;
    SetStatusWidths(kStatusPanes, widths);
    bar->SetStatusStyles(kStatusPanes, styles);
    // Until the mouse reaches a pane: what its buttons do with no key held.
    SetStatusText("L: Tumble", 1);
    SetStatusText("R: Zoom", 2);
    SetStatusText(gPivotAroundAxis ? "L+R: Pivot around axis" : "L+R: Twist", 3);
    SetMouseHintsSink(&SetMouseHintTexts);

    Bind(wxEVT_CLOSE_WINDOW, &NewFrame::OnClose, this);
    Bind(wxEVT_SIZE, &NewFrame::OnSizeOrMove, this);
    Bind(wxEVT_MOVE, &NewFrame::OnSizeOrMove, this);
    Bind(wxEVT_MENU_CLOSE, &NewFrame::OnMenuClose, this);
    Bind(wxEVT_MENU, &NewFrame::OnLayoutCommand, this, kCmdLayout1, kCmdLayout6);
    // Closing the main window shuts the program down.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, kCmdAppExit);
}

NewFrame::~NewFrame()
{
    SetMouseHintsSink(nullptr);
    // The panes go with the window; the next frame starts without a layout.
    if (mSplitter || mSingleView)
        SetCurrentLayoutIndex(-1);
}

// ---- Placement and size ----

void NewFrame::ApplyWindowPlacement()
{
    ::ApplyWindowPlacement(*this);
    mNormal = StoredWindowPlacement();
}

void NewFrame::SaveWindowPlacement()
{
    ::SaveWindowPlacement(CPolyApp::GetRegistryApp(), mNormal, IsMaximized());
}

void NewFrame::OnSizeOrMove(wxEvent& event)
{
    event.Skip();
    if (!IsMaximized() && !IsIconized() && !IsFullScreen())
    {
        const wxRect r = GetRect();
        mNormal = WindowPlacement{r.x, r.y, r.x + r.width, r.y + r.height};
    }
    if (event.GetEventType() == wxEVT_SIZE)
        SetMinSize(MinimumSizeForActivePane());
}

wxSize NewFrame::MinimumSizeForActivePane() const
{
    const NewView* view = NewView::GetActiveView();
    if (!view || wxGetTopLevelParent(const_cast<NewView*>(view)) != this)
        return wxDefaultSize;
    const wxSize frame = GetSize();
    const wxSize overhead = frame - view->GetSize();
    return wxSize(std::min(frame.x, overhead.x + kMinPaneWidth), std::min(frame.y, overhead.y + kMinPaneHeight));
}

// ---- Closing ----

void NewFrame::OnClose(wxCloseEvent& event)
{
    if (!CloseApplication() && event.CanVeto())
    {
        event.Veto();
        return;
    }
    Destroy();
}

bool NewFrame::CloseApplication()
{
    NewView::ExitFullScreen();
    SaveWindowPlacement();
    DestroyPanes();
    return true;
}

void NewFrame::DestroyPanes()
{
    if (wxWindow* old = mSplitter ? static_cast<wxWindow*>(mSplitter) : mSingleView)
        PanesReplaced(old, nullptr);
    if (mSplitter)
        mSplitter->Destroy();
    if (mSingleView)
        mSingleView->Destroy();
    mSplitter = mNestedSplitter = nullptr;
    mSingleView = nullptr;
    SetCurrentLayoutIndex(-1);
}

void NewFrame::OnMenuClose(wxMenuEvent& event)
{
    // The first menu of a run may leave marks on the panes behind it.
    if (!mMenuClosedOnce)
    {
        mMenuClosedOnce = true;
        NewView::InvalidateAll(false, true);
    }
    event.Skip();
}

// ---- Commands ----

bool NewFrame::ProcessEvent(wxEvent& event)
{
    if (!IsRoutedCommand(event))
        return wxFrame::ProcessEvent(event);
    const CommandInfo* command = mCommands ? mCommands->Find(event.GetId()) : nullptr;
    const auto* active = dynamic_cast<const OpenGLView*>(NewView::GetActiveView());
    const int viewType = active ? active->ViewTypeCode() : -1;
    const WordingModel model = CurrentWordingModel();
    // A greyed command whose owner shows a mark on it still hears its update, for the mark.
    bool keepGreyed = false;
    if (event.GetEventType() == wxEVT_UPDATE_UI && command)
    {
        auto& update = static_cast<wxUpdateUIEvent&>(event);
        if (command->update.wording != kWordingNone)
            RewordMenuItem(update, *command, model);
        const bool enabled = CommandEnabled(*command, viewType, model.model4D);
        update.Enable(enabled);
        if (!command->update.ownerUpdates)
            return true;
        if (!enabled)
        {
            if (command->waitsFor || !command->update.checkable)
                return true;
            keepGreyed = true;
        }
    }
    const bool isCommand = event.GetEventType() == wxEVT_MENU;
    if (isCommand && command)
    {
        // A greyed command never runs, whatever key or button sent it; nor does a key that belongs
        // to the text box being typed in. Either key then goes on as a plain key.
        if (!CommandEnabled(*command, viewType, model.model4D) || IsKeyForFocusedText(event, *command))
            return false;
    }
    std::optional<CommandScope> running;
    if (isCommand)
        running.emplace();
    NewView* view = NewView::GetActiveView();
    const bool handled = RouteCommandToViewAndDocument(event, view ? view->GetEventHandler() : nullptr, mDocument) ||
                         wxFrame::ProcessEvent(event);
    if (keepGreyed)
        static_cast<wxUpdateUIEvent&>(event).Enable(false);
    if (event.GetEventType() == wxEVT_UPDATE_UI)
        TakePictureCheckFromUpdate(static_cast<wxUpdateUIEvent&>(event));
    return handled;
}

void NewFrame::RewordMenuItem(wxUpdateUIEvent& event, const CommandInfo& command, const WordingModel& model)
{
    // Menu items only: a toolbar button keeps its picture and its tip.
    if (event.GetEventObject() && !wxDynamicCast(event.GetEventObject(), wxMenu))
        return;
    const wxMenuBar* bar = GetMenuBar();
    const wxMenuItem* item = bar ? bar->FindItem(command.id) : nullptr;
    if (!item)
        return;
    std::string label = command.text;
    label = label.substr(0, label.find('\t'));
    UseWording(label, command.update.wording, model);
    const wxString text = wxString::FromUTF8(CommandItemLabel(command, label));
    if (text != item->GetItemLabel())
        event.SetText(text);
}

void NewFrame::OnLayoutCommand(wxCommandEvent& event)
{
    // Later commands of a quick series start from where the earlier ones lead.
    const int from = mQueuedLayout >= 0 ? mQueuedLayout : GetCurrentLayoutIndex();
    const int target = LayoutForCommand(event.GetId(), from);
    if (target < 0)
        return;
    mQueuedLayout = target;
    // The command may come from a key in a pane the switch destroys: switch after it is done.
    CallAfter([this, target] {
        if (mQueuedLayout == target)
            mQueuedLayout = -1;
        SetLayout(target);
    });
}

// ---- Panes ----

bool NewFrame::OnCreateClient(PaneFactory factory)
{
    PaneLayout::InitAll();
    mPaneFactory = std::move(factory);
    SetLayout(kLayout2);
    return true;
}

void NewFrame::SetLayout(int layout)
{
    CreatePanes(layout);
}

NewView* NewFrame::MakePane(wxWindow* parent, int paneNumber)
{
    NewView* view = mPaneFactory(parent, wxID_ANY);
    view->SetViewIndex(paneNumber);
    return view;
}

void NewFrame::CreatePanes(int layout)
{
    if (layout == GetCurrentLayoutIndex() || layout < 0 || layout >= kNumPaneLayouts || !mPaneFactory)
        return;
    NewView::ExitFullScreen();
    StoreRatios();

    wxWindow* old = mSplitter ? static_cast<wxWindow*>(mSplitter) : mSingleView;
    const NewView* active = NewView::GetActiveView();
    const int activeNumber = active ? std::max(0, active->GetViewNumber()) : 0;
    // The old panes leave the list first, so that the new ones are numbered from 0 in pane order.
    for (NewView* v = NewView::GetFirstView(); v;)
    {
        NewView* next = v->next;
        if (old && (v == old || old->IsDescendant(v)))
            v->RemoveFromList();
        v = next;
    }
    mSplitter = mNestedSplitter = nullptr;
    mSingleView = nullptr;
    SetCurrentLayoutIndex(layout);

    const PaneLayout& l = GetPaneLayout(layout);
    const wxSize client = GetClientSize();
    int pane = 0;
    if (l.rows * l.cols == 1)
    {
        mSingleView = MakePane(this, pane++);
        mSingleView->SetSize(client);
    }
    else
    {
        mSplitter = new NewSplitter(this, wxID_ANY, l.rows, l.cols, false, layout, 0);
        for (int r = 0; r < l.rows; ++r)
            for (int c = 0; c < l.cols; ++c)
                if (c != l.nestedColumn)
                    mSplitter->SetPane(r, c, MakePane(mSplitter, pane++));
        if (l.HasNested())
        {
            mNestedSplitter = new NewSplitter(mSplitter, wxID_ANY, l.nestedRows, l.nestedCols, true, layout,
                                              SplitterRatioCount(l.rows, l.cols));
            for (int r = 0; r < l.nestedRows; ++r)
                for (int c = 0; c < l.nestedCols; ++c)
                    mNestedSplitter->SetPane(r, c, MakePane(mNestedSplitter, pane++));
            mSplitter->SetPane(0, l.nestedColumn, mNestedSplitter);
        }
        mSplitter->SetSize(client);
        mSplitter->ApplyRatios();
    }

    PanesReplaced(old, mSplitter ? static_cast<wxWindow*>(mSplitter) : mSingleView);
    if (old)
    {
        old->Destroy();
        SendSizeEvent();
    }
    NewView* view = NewView::FindView(activeNumber);
    if (!view)
        view = NewView::GetFirstView();
    if (view)
        view->Activate(true);
}

void NewFrame::StoreRatios()
{
    const int current = GetCurrentLayoutIndex();
    if (current < 0)
        return;
    PaneLayout& record = GetPaneLayout(current);
    int n = 0;
    for (const NewSplitter* s : {mSplitter, mNestedSplitter})
        if (s)
            for (float ratio : s->GetRatios())
            {
                if (n < kMaxLayoutRatios)
                    record.ratios[n] = ratio;
                ++n;
            }
    record.ratioCount = n;
}

void NewFrame::RefreshLayout()
{
    int number = 0;
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        v->SetViewIndex(number++);
    const int current = GetCurrentLayoutIndex();
    if (current >= 0 && GetPaneLayout(current).ratioCount >= 0)
    {
        if (mSplitter)
            mSplitter->LoadRatios(current, 0);
        if (mNestedSplitter && mSplitter)
            mNestedSplitter->LoadRatios(current, mSplitter->GetRatioCount());
    }
    for (NewSplitter* s : {mSplitter, mNestedSplitter})
        if (s)
            s->ApplyRatios();
}

// ---- The status bar ----

int SetStatusPaneText(int pane, const char* format, ...)
{
    wxStatusBar* bar = MainStatusBar();
    if (!bar || pane < 0 || pane >= bar->GetFieldsCount())
        return 0;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(kStatusTextSize, format, args);
    va_end(args);
    bar->SetStatusText(wxString::FromUTF8(text), pane);
    bar->Update();
    return int(text.size());
}

void ShowViewMessage(const char* text)
{
    if (NewView* view = NewView::GetActiveView())
        NewView::SetMessage(view, "%s", text);
    SetStatusPaneText(0, "%s", text);
}

void SetMouseHintTexts(const char* left, const char* right, const char* both)
{
    SetStatusPaneText(1, "L: %s", left);
    SetStatusPaneText(2, "R: %s", right);
    SetStatusPaneText(3, "L+R: %s", both);
}
