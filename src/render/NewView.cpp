#include "render/NewView.h"

#include "kernel/Strings.h"
#include "render/CaptionWnd.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdarg>

bool gNewStyleTitleBars = true;

NewView* NewView::sFirst = nullptr;
NewView* NewView::sLast = nullptr;
NewView* NewView::sActive = nullptr;
NewView* NewView::sHintView = nullptr;
NewView* NewView::sFullScreenView = nullptr;
ColorRGB NewView::sDefaultBackground{0.5f, 0.5f, 0.5f};
bool NewView::sCaptionsShown = true;
bool NewView::sScrollBarUpdate = true;
int NewView::sButtons = 0;
NewView* NewView::sMouseView = nullptr;
int NewView::sModifiers = 0;
wxPoint NewView::sButtonDown;
wxPoint NewView::sLastMouse;

namespace
{
MouseHintsSink gHintsSink = nullptr;

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

int ModifierFlags(const wxMouseState& state)
{
    return (state.ShiftDown() ? NewView::kShift : 0) | (state.ControlDown() ? NewView::kCtrl : 0);
}

int ButtonOf(const wxMouseEvent& event)
{
    switch (event.GetButton())
    {
    case wxMOUSE_BTN_LEFT:
        return NewView::kLeftButton;
    case wxMOUSE_BTN_MIDDLE:
        return NewView::kMiddleButton;
    case wxMOUSE_BTN_RIGHT:
        return NewView::kRightButton;
    default:
        return 0;
    }
}

// The bars report their own event types; the views take the codes of a scroll request.
int ScrollCodeOf(wxEventType type)
{
    if (type == wxEVT_SCROLL_LINEUP)
        return NewView::kScrollLineUp;
    if (type == wxEVT_SCROLL_LINEDOWN)
        return NewView::kScrollLineDown;
    if (type == wxEVT_SCROLL_PAGEUP)
        return NewView::kScrollPageUp;
    if (type == wxEVT_SCROLL_PAGEDOWN)
        return NewView::kScrollPageDown;
    if (type == wxEVT_SCROLL_THUMBTRACK)
        return NewView::kScrollThumbTrack;
    if (type == wxEVT_SCROLL_THUMBRELEASE)
        return NewView::kScrollThumbPosition;
    if (type == wxEVT_SCROLL_TOP)
        return NewView::kScrollTop;
    if (type == wxEVT_SCROLL_BOTTOM)
        return NewView::kScrollBottom;
    return NewView::kScrollEnd;
}
}  // namespace

NewView::NewView(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE | wxCLIP_CHILDREN),
      mBackground(sDefaultBackground)
{
    mNumber = sLast ? sLast->mNumber + 1 : 0;
    ListAppend(this, sFirst, sLast);
    if (!sActive)
    {
        sActive = this;
        sHintView = this;
    }
    mHBar = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_HORIZONTAL);
    mVBar = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
    mHBar->Hide();
    mVBar->Hide();
    for (wxScrollBar* bar : {mHBar, mVBar})
        for (const wxEventTypeTag<wxScrollEvent>& type :
             {wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN,
              wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM})
            bar->Bind(type, &NewView::OnScroll, this);
    Bind(wxEVT_SIZE, &NewView::OnSize, this);
}

NewView::~NewView()
{
    if (mFullScreen)
    {
        sFullScreenView = nullptr;
        if (mFullScreenFrame && !mFullScreenFrame->IsBeingDeleted())
            mFullScreenFrame->Destroy();
    }
    RemoveFromList();
    if (sActive == this)
        sActive = nullptr;
    if (sMouseView == this)
        sMouseView = nullptr;
    if (sHintView == this)
        sHintView = sActive;
    mMessage.clear();
    mButtons.clear();
}

// The list.

NewView* NewView::FindView(int number)
{
    for (NewView* v = sFirst; v; v = v->next)
        if (v->mNumber == number)
            return v;
    return nullptr;
}

bool NewView::IsListed(const NewView* view)
{
    for (NewView* v = sFirst; v; v = v->next)
        if (v == view)
            return true;
    return false;
}

void NewView::Renumber(NewView* from, int number)
{
    for (NewView* v = from; v; v = v->next)
        v->mNumber = number++;
}

void NewView::RemoveFromList()
{
    if (mNumber < 0)
        return;
    NewView* after = next;
    const int number = mNumber;
    ListRemove(this, sFirst, sLast);
    next = prev = nullptr;
    Renumber(after, number);
    mNumber = -1;
}

void NewView::SetViewIndex(int n)
{
    if (mNumber == n)
        return;
    RemoveFromList();
    NewView* before = FindView(n);
    ListInsertBefore(before, this, sFirst, sLast);
    Renumber(before ? this : sFirst, before ? n : 0);
}

void NewView::Activate(bool setFrameActiveView)
{
    if (sActive == this)
        return;
    ClearMessage(this);
    if (setFrameActiveView && mClient)
        mClient->SetFocus();
    InvalidateCaption(sActive);
    InvalidateCaption(this);
    sActive = this;
    sHintView = this;
}

// Redraw marks.

void NewView::Invalidate(NewView* view, bool keepMessage)
{
    if (!view)
        return;
    if (keepMessage)
        view->mRedrawMarks |= kKeepMessage;
    else if (!(view->mRedrawMarks & kKeepMessage))
        ClearMessage(view);
    view->mRedrawMarks |= kRedraw;
}

void NewView::InvalidateCaption(NewView* view)
{
    if (view)
        view->mRedrawMarks |= kRedrawCaption;
}

void NewView::InvalidateAll(bool withCaption, bool keepMessage)
{
    for (NewView* v = sFirst; v; v = v->next)
    {
        Invalidate(v, keepMessage);
        if (withCaption)
            InvalidateCaption(v);
    }
}

void NewView::RedrawNow(NewView* view)
{
    if (!view || !view->mRedrawMarks)
        return;
    if (view->mRedrawMarks & kRedrawCaption)
    {
        if (view->mCaption && sCaptionsShown && view->mCaption->IsShown())
        {
            view->mCaption->Refresh();
            view->mCaption->Update();
        }
        view->mRedrawMarks &= ~kRedrawCaption;
    }
    if (view->mRedrawMarks & kRedraw)
        view->RepaintNow();
}

void NewView::RedrawAllNow()
{
    for (NewView* v = sFirst; v; v = v->next)
        RedrawNow(v);
}

void NewView::ClearRedrawFlags(NewView* view)
{
    if (view)
        view->mRedrawMarks &= ~(kRedraw | kKeepMessage);
}

void NewView::RepaintNow()
{
    Refresh(false);
    Update();
}

// Messages.

void NewView::SetMessage(NewView* view, const char* format, ...)
{
    if (!view)
        return;
    if (!format)
    {
        ClearMessage(view);
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(1024, format, args);
    va_end(args);
    if (text != view->mMessage)
    {
        if (IsBlank(text))
            view->mMessage.clear();
        else
            view->mMessage = text;
    }
    Invalidate(view, true);
}

void NewView::ClearMessage(NewView* view)
{
    if (!view || view->mMessage.empty())
        return;
    view->mRedrawMarks &= ~kKeepMessage;
    view->mMessage.clear();
    Invalidate(view, false);
}

void NewView::ClearAllMessages()
{
    for (NewView* v = sFirst; v; v = v->next)
        ClearMessage(v);
}

// Background.

void NewView::SetBackgroundColor(NewView* view, const ColorRGB& color)
{
    if (!view)
        return;
    view->mBackground = color;
    Invalidate(view, true);
}

void NewView::SetDefaultBackgroundColor(const ColorRGB& color)
{
    sDefaultBackground = color;
}

void NewView::SetBackgroundColorAll(const ColorRGB& color)
{
    SetDefaultBackgroundColor(color);
    for (NewView* v = sFirst; v; v = v->next)
        SetBackgroundColor(v, color);
}

// Captions and title-bar buttons.

void NewView::SetTitle(const std::string& text)
{
    if (text == mTitle)
        return;
    mTitle = text;
    if (mCaption)
        mCaption->Refresh();
}

CaptionWnd* NewView::CreateCaptionWnd()
{
    return new CaptionWnd(this);
}

bool NewView::SetCaptionsShown(bool on)
{
    const bool previous = sCaptionsShown;
    bool any = false;
    for (NewView* v = sFirst; v; v = v->next)
        if (v->mCaption)
        {
            any = true;
            v->mCaption->Show(on);
            v->LayoutPanes();
        }
    if (any)
        sCaptionsShown = on;
    return previous;
}

int NewView::GetCaptionHeight()
{
    // GTK reports no caption metric for child windows: one line of the GUI font with a margin.
    const int metric = wxSystemSettings::GetMetric(wxSYS_CAPTION_Y);
    if (metric > 0)
        return metric;
    static const int height = [] {
        const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
        return std::max(18, font.GetPixelSize().y + 8);
    }();
    return height;
}

void NewView::GetCaptionRect(wxRect& rect) const
{
    if (mCaption)
        rect = wxRect(wxPoint(0, 0), mCaption->GetClientSize());
    else
        rect = wxRect(0, 0, GetSize().x, GetCaptionHeight());
}

void NewView::SetReservedCaptionWidth(int width)
{
    mReservedCaptionWidth = std::max(0, width);
    if (mCaption)
        mCaption->Refresh();
}

void NewView::SetButtonCount(int n)
{
    mButtons.assign(size_t(std::max(0, n)), TitleButton());
    mPressedButton = -1;
    if (mCaption)
        mCaption->Refresh();
}

void NewView::DefineButton(int index, int command, const wxBitmap& icon, int flags)
{
    if (index < 0 || index >= GetButtonCount())
    {
        InternalError("DefineButton: index %d invalid", index);
        return;
    }
    mButtons[size_t(index)] = TitleButton{command, icon, flags};
    RedrawButton(index);
}

void NewView::GetButtonRect(int index, wxRect& rect, bool screen) const
{
    wxRect caption;
    GetCaptionRect(caption);
    int right = caption.GetRight() + 1 - 2;
    const int top = caption.GetTop() + (caption.GetHeight() - kButtonHeight) / 2;
    for (int i = 0; i < index; ++i)
    {
        right -= kButtonWidth;
        if (i + 1 < GetButtonCount() && (mButtons[size_t(i + 1)].flags & kButtonGap))
            right -= 2;
    }
    rect = wxRect(right - kButtonWidth, top, kButtonWidth, kButtonHeight);
    if (screen)
    {
        const wxWindow* base = mCaption ? static_cast<const wxWindow*>(mCaption) : this;
        rect.SetPosition(base->ClientToScreen(rect.GetPosition()));
    }
}

void NewView::RedrawButton(int index)
{
    if (!mCaption || index < 0 || index >= GetButtonCount())
        return;
    wxRect rect;
    GetButtonRect(index, rect, false);
    mCaption->RefreshRect(rect, false);
}

bool NewView::OnTitleButton(int /*index*/, int /*command*/, int /*flags*/)
{
    return false;
}

void NewView::TrackTitleButton(const wxPoint& captionPoint)
{
    if (mPressedButton < 0)
        return;
    wxRect rect;
    GetButtonRect(mPressedButton, rect, false);
    const bool inside = rect.Contains(captionPoint);
    if (inside != mPressedInside)
    {
        mPressedInside = inside;
        RedrawButton(mPressedButton);
    }
}

// The button under the pointer at release, or -1.
void NewView::ReleaseTitleButton(int index)
{
    if (mPressedButton < 0)
        return;
    const int pressed = mPressedButton;
    mPressedInside = false;
    RedrawButton(pressed);
    mPressedButton = -1;
    if (mCaption && mCaption->HasCapture())
        mCaption->ReleaseMouse();
    if (index == pressed)
        OnTitleButton(index, mButtons[size_t(index)].command, 0);
}

// Full screen.

void NewView::SetFullScreen(bool on)
{
    if (on == mFullScreen)
        return;
    if (on)
    {
        sFullScreenView = this;
        mCaptionsShownBefore = sCaptionsShown;
        if (mCaption)
            SetCaptionsShown(false);
        mParentBefore = GetParent();
        mRectBefore = GetRect();
        mSizerIndexBefore = -1;
        // The old parent's layout must not move the view while it is away.
        if (wxSizer* sizer = GetContainingSizer())
        {
            int index = 0;
            for (wxSizerItem* item : sizer->GetChildren())
            {
                if (item->GetWindow() == this)
                {
                    mSizerIndexBefore = index;
                    mSizerProportionBefore = item->GetProportion();
                    mSizerFlagBefore = item->GetFlag();
                    mSizerBorderBefore = item->GetBorder();
                    break;
                }
                ++index;
            }
            sizer->Detach(this);
        }
        const wxRect screen(wxPoint(0, 0), wxGetDisplaySize());
        mFullScreenFrame = new wxFrame(nullptr, wxID_ANY, mTitle, screen.GetPosition(), screen.GetSize(),
                                       wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR);
        Reparent(mFullScreenFrame);
        mFullScreenFrame->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
            SetSize(mFullScreenFrame->GetClientSize());
            event.Skip();
        });
        mFullScreenFrame->Bind(wxEVT_ACTIVATE, [](wxActivateEvent& event) {
            event.Skip();
            // Which window took the focus is known only once the switch is over.
            if (!event.GetActive())
                wxTheApp->CallAfter([]() {
                    if (!IsProgramActive())
                        ExitFullScreen();
                });
        });
        mFullScreen = true;
        mFullScreenFrame->Show();
        SetSize(mFullScreenFrame->GetClientSize());
    }
    else
    {
        sFullScreenView = nullptr;
        mFullScreen = false;
        wxFrame* frame = mFullScreenFrame;
        mFullScreenFrame = nullptr;
        Reparent(mParentBefore);
        wxSizer* sizer = mParentBefore ? mParentBefore->GetSizer() : nullptr;
        if (sizer && mSizerIndexBefore >= 0)
        {
            sizer->Insert(size_t(std::min<int>(mSizerIndexBefore, int(sizer->GetItemCount()))), this,
                          mSizerProportionBefore, mSizerFlagBefore, mSizerBorderBefore);
            mParentBefore->Layout();
        }
        else
            SetSize(mRectBefore);
        if (frame)
            frame->Destroy();
        if (mCaption)
            SetCaptionsShown(mCaptionsShownBefore);
    }
    LayoutPanes();
    Invalidate(this, true);
}

namespace
{
bool AnyTopLevelWindowActive()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* top = dynamic_cast<wxTopLevelWindow*>(window); top && top->IsActive())
            return true;
    return false;
}

NewView::ProgramActiveCheck gProgramActiveCheck = &AnyTopLevelWindowActive;
}  // namespace

NewView::ProgramActiveCheck NewView::SetProgramActiveCheck(ProgramActiveCheck check)
{
    const ProgramActiveCheck before = gProgramActiveCheck;
    gProgramActiveCheck = check ? check : &AnyTopLevelWindowActive;
    return before;
}

bool NewView::IsProgramActive()
{
    return gProgramActiveCheck();
}

void NewView::ExitFullScreen()
{
    if (sFullScreenView)
        sFullScreenView->SetFullScreen(false);
}

// Layout and scroll bars.

void NewView::SetClientChild(wxWindow* child)
{
    mClient = child;
    child->Bind(wxEVT_LEFT_DOWN, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_LEFT_UP, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_LEFT_DCLICK, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_MIDDLE_DOWN, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_MIDDLE_UP, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_MIDDLE_DCLICK, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_RIGHT_DOWN, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_RIGHT_UP, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_RIGHT_DCLICK, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_MOTION, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_MOUSEWHEEL, &NewView::OnChildMouse, this);
    child->Bind(wxEVT_KEY_DOWN, &NewView::OnChildKey, this);
    child->Bind(wxEVT_KEY_UP, &NewView::OnChildKey, this);
    child->Bind(wxEVT_KILL_FOCUS, &NewView::OnChildKillFocus, this);
    child->Bind(wxEVT_MOUSE_CAPTURE_LOST, &NewView::OnCaptureLost, this);
    LayoutPanes();
}

int NewView::GetScrollBarThickness()
{
    static int thickness = 0;
    if (thickness <= 0)
    {
        thickness = wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y);
        if (thickness <= 0)
            thickness = 15;
    }
    return thickness;
}

bool NewView::HasHorizontalScrollBar() const
{
    return mHBar->IsShown();
}

bool NewView::HasVerticalScrollBar() const
{
    return mVBar->IsShown();
}

int NewView::GetClientHeight() const
{
    const int h = HasHorizontalScrollBar() ? mHeight : mHeight - GetScrollBarThickness();
    return std::max(1, h);
}

void NewView::LayoutPanes()
{
    if (mLayingOut)
    {
        mLayoutAgain = true;
        return;
    }
    mLayingOut = true;
    // Showing a bar narrows the client, which may call for the other bar: settle in a few rounds.
    for (int round = 0; round < 4; ++round)
    {
        mLayoutAgain = false;
        const wxSize size = GetClientSize();
        int top = 0;
        if (mCaption && mCaption->IsShown())
        {
            top = GetCaptionHeight();
            mCaption->SetSize(0, 0, size.x, top);
        }
        const int bar = GetScrollBarThickness();
        const int vBar = mVBar->IsShown() ? bar : 0;
        const int hBar = mHBar->IsShown() ? bar : 0;
        const int w = std::max(1, size.x - vBar);
        const int h = std::max(1, size.y - top - hBar);
        if (mClient)
            mClient->SetSize(0, top, w, h);
        if (vBar)
            mVBar->SetSize(w, top, vBar, h);
        if (hBar)
            mHBar->SetSize(0, top + h, w, hBar);
        const bool changed = w != mWidth || h != mHeight;
        if (!mPrinting && changed)
        {
            mWidth = w;
            mHeight = h;
            OnClientResized();
        }
        if (!mLayoutAgain)
            break;
    }
    mLayingOut = false;
}

void NewView::OnSize(wxSizeEvent& /*event*/)
{
    // Made at the first size rather than in the constructor, so that a derived view makes its own.
    if (!mCaptionTried && sCaptionsShown && gNewStyleTitleBars && !mFullScreen)
    {
        mCaptionTried = true;
        mCaption = CreateCaptionWnd();
        if (!mCaption)
            DebugTrace("View %d has no caption window\n", mNumber);
    }
    LayoutPanes();
    Invalidate(this, true);
}

void NewView::SetScrollRanges(int w, int h)
{
    mScrollRangeX = w;
    mScrollRangeY = h;
    if (!sScrollBarUpdate)
        return;
    // As with the system's bars, a bar whose page holds its whole range is hidden.
    const bool showH = WantsScrollBars() && w > mWidth;
    const bool showV = WantsScrollBars() && h > mHeight;
    mHBar->SetScrollbar(mHBar->GetThumbPosition(), mWidth, std::max(w, 0), mWidth);
    mVBar->SetScrollbar(mVBar->GetThumbPosition(), mHeight, std::max(h, 0), mHeight);
    if (showH != mHBar->IsShown() || showV != mVBar->IsShown())
    {
        mHBar->Show(showH);
        mVBar->Show(showV);
        LayoutPanes();
    }
}

void NewView::SetScrollPositions(int x, int y)
{
    if (sFullScreenView)
        return;
    x = std::max(0, std::min(x, mScrollRangeX - mWidth));
    y = std::max(0, std::min(y, mScrollRangeY - mHeight));
    mHBar->SetThumbPosition(x);
    mVBar->SetThumbPosition(y);
}

void NewView::OnScroll(wxScrollEvent& event)
{
    const int code = ScrollCodeOf(event.GetEventType());
    if (event.GetEventObject() == mHBar)
        OnHScroll(code, event.GetPosition());
    else
        OnVScroll(code, event.GetPosition());
}

// Mouse, keys, hints and cursor.

void NewView::UpdateModifierState(int flags, bool force)
{
    // The space bar comes from the pane's own key messages: the toolkit cannot poll it everywhere.
    const int state = (flags & (kShift | kCtrl)) | (sModifiers & kSpaceBar);
    if (state != sModifiers || force)
    {
        sModifiers = state;
        UpdateMouseHints();
        UpdateModeCursor(mClient ? mClient : this);
    }
}

void NewView::GetMouseHints(std::string& left, std::string& right, std::string& both)
{
    left = right = both = "-";
}

void NewView::UpdateMouseHints()
{
    if (!sHintView)
        return;
    std::string left, right, both;
    sHintView->GetMouseHints(left, right, both);
    for (std::string* s : {&left, &right, &both})
        if (s->size() > 63)
            s->resize(63);
    ShowMouseHints(left.c_str(), right.c_str(), both.c_str());
}

void NewView::UpdateModeCursor(wxWindow* window)
{
    SetWindowCursor(window, sHintView ? sHintView->GetModeCursor() : nullptr);
}

void NewView::OnMouseButtonDown(int button, int flags, int x, int y)
{
    sButtons |= button;
    sMouseView = this;
    UpdateModifierState(flags, true);
    Activate(false);
    if (mClient && !mClient->HasCapture())
        mClient->CaptureMouse();
    sButtonDown = sLastMouse = wxPoint(x, y);
}

void NewView::OnMouseButtonUp(int button, int flags, int /*x*/, int /*y*/)
{
    sButtons &= ~button;
    UpdateModifierState(flags, true);
    if (!sButtons && mPressedButton < 0 && mClient && mClient->HasCapture())
        mClient->ReleaseMouse();
}

void NewView::OnMouseDoubleClick(int /*button*/, int flags, int /*x*/, int /*y*/)
{
    UpdateModifierState(flags, false);
}

void NewView::OnMouseMove(int flags, int x, int y)
{
    UpdateModifierState(flags, false);
    if (sHintView != this)
    {
        sHintView = this;
        UpdateMouseHints();
        UpdateModeCursor(mClient ? mClient : this);
    }
    sLastMouse = wxPoint(x, y);
}

void NewView::OnChildMouse(wxMouseEvent& event)
{
    const int flags = ModifierFlags(event);
    const int x = event.GetX(), y = event.GetY();
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_MOTION)
        OnMouseMove(flags, x, y);
    else if (type == wxEVT_MOUSEWHEEL)
    {
        NewView* target = sHintView ? sHintView : this;
        const int delta = event.GetWheelRotation();
        target->OnWheel(event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL ? delta : 0);
    }
    else if (event.ButtonDClick())
        OnMouseDoubleClick(ButtonOf(event), flags, x, y);
    else if (event.ButtonDown())
        OnMouseButtonDown(ButtonOf(event), flags, x, y);
    else if (event.ButtonUp())
        OnMouseButtonUp(ButtonOf(event), flags, x, y);
    event.Skip();
}

void NewView::OnChildKey(wxKeyEvent& event)
{
    if (event.GetEventType() == wxEVT_KEY_DOWN && OnPaneKey(event.GetKeyCode(), event.ControlDown()))
        return;
    int bit = 0;
    switch (event.GetKeyCode())
    {
    case WXK_SHIFT:
        bit = kShift;
        break;
    case WXK_CONTROL:
        bit = kCtrl;
        break;
    case WXK_SPACE:
        bit = kSpaceBar;
        break;
    default:
        break;
    }
    if (bit)
    {
        const bool down = event.GetEventType() == wxEVT_KEY_DOWN;
        // A held key repeats its key-down: only the first one counts.
        if (down != ((sModifiers & bit) != 0))
        {
            sModifiers = down ? sModifiers | bit : sModifiers & ~bit;
            UpdateMouseHints();
            UpdateModeCursor(mClient ? mClient : this);
        }
    }
    event.Skip();
}

void NewView::OnChildKillFocus(wxFocusEvent& event)
{
    sModifiers = 0;
    event.Skip();
}

void NewView::OnCaptureLost(wxMouseCaptureLostEvent& /*event*/)
{
    ReleaseMouseButtons();
    sButtons = 0;
}

void NewView::ReleaseMouseButtons()
{
    NewView* view = sMouseView;
    if (!view)
    {
        sButtons = 0;
        return;
    }
    for (const int button : {kLeftButton, kMiddleButton, kRightButton})
        if (sButtons & button)
            view->OnMouseButtonUp(button, sModifiers, sLastMouse.x, sLastMouse.y);
}

MouseHintsSink SetMouseHintsSink(MouseHintsSink sink)
{
    const MouseHintsSink previous = gHintsSink;
    gHintsSink = sink;
    return previous;
}

void ShowMouseHints(const char* left, const char* right, const char* both)
{
    if (gHintsSink)
        gHintsSink(left, right, both);
}

void SetWindowCursor(wxWindow* window, const wxCursor* cursor)
{
    if (window)
        window->SetCursor(cursor ? *cursor : wxNullCursor);
}
