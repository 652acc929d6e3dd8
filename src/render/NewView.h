#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/LinkNode.h"
#include "kernel/Messages.h"

#include <wx/bitmap.h>
#include <wx/window.h>

#include <string>
#include <vector>

class CaptionWnd;
class wxCursor;
class wxFrame;
class wxScrollBar;
class wxScrollEvent;

// The base of every pane: what panes share independently of GL. All views are on one list, numbered
// from 0 in list order. Model code never paints: it marks views for redraw (Invalidate) and the idle
// step paints the marked ones (RedrawAllNow). Each view may show a one-line message, kept through the
// next frame when set and cleared by the first ordinary invalidation after it. A view is a window
// holding its caption strip at the top, its drawing child below, and scroll bars beside the child
// that show only while the document is larger than the window.
class NewView : public wxWindow, public LinkNode<NewView>
{
public:
    // Redraw marks.
    static constexpr int kRedraw = 1;
    static constexpr int kRedrawCaption = 2;
    static constexpr int kKeepMessage = 4;

    // Pressed mouse buttons and modifier bits.
    static constexpr int kLeftButton = 1;
    static constexpr int kMiddleButton = 2;
    static constexpr int kRightButton = 4;
    static constexpr int kShift = 1;
    static constexpr int kCtrl = 2;
    static constexpr int kSpaceBar = 4;

    // Scroll-bar request codes, as the bars report them.
    enum ScrollCode
    {
        kScrollLineUp,
        kScrollLineDown,
        kScrollPageUp,
        kScrollPageDown,
        kScrollThumbPosition,
        kScrollThumbTrack,
        kScrollTop,
        kScrollBottom,
        kScrollEnd
    };

    // A title-bar button: flag kButtonGap leaves 2 more pixels to the button on its right.
    static constexpr int kButtonGap = 1;
    struct TitleButton
    {
        int command = -1;
        wxBitmap icon;
        int flags = 0;
    };

    explicit NewView(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~NewView() override;

    // The list.
    static NewView* GetFirstView() { return sFirst; }
    static NewView* FindView(int number);
    // True while the view is alive and listed.
    static bool IsListed(const NewView* view);
    int GetViewNumber() const { return mNumber; }
    void RemoveFromList();
    // Moves the view to position n (the end when there is no view numbered n).
    virtual void SetViewIndex(int n);

    static NewView* GetActiveView() { return sActive; }
    static NewView* GetHintView() { return sHintView; }
    virtual void Activate(bool setFrameActiveView);

    // Redraw marks; a null view does nothing.
    static void Invalidate(NewView* view, bool keepMessage);
    static void InvalidateCaption(NewView* view);
    static void InvalidateAll(bool withCaption, bool keepMessage);
    static void RedrawNow(NewView* view);
    static void RedrawAllNow();
    static void ClearRedrawFlags(NewView* view);
    int GetRedrawMarks() const { return mRedrawMarks; }
    // Puts back marks saved before a frame that must not consume them (a picking pass).
    void SetRedrawMarks(int marks) { mRedrawMarks = marks; }

    // The view's message line (1024 bytes, cut with "..."); a null format clears it.
    static void SetMessage(NewView* view, const char* format, ...) ORVANE_PRINTF(2, 3);
    static void ClearMessage(NewView* view);
    static void ClearAllMessages();
    const std::string& GetMessage() const { return mMessage; }

    // Background: the view's own colour, copied from the default one when the view is made.
    static void SetBackgroundColor(NewView* view, const ColorRGB& color);
    static void SetDefaultBackgroundColor(const ColorRGB& color);
    static void SetBackgroundColorAll(const ColorRGB& color);
    static const ColorRGB& GetDefaultBackgroundColor() { return sDefaultBackground; }
    const ColorRGB& GetBackgroundColor() const { return mBackground; }

    // The caption.
    void SetTitle(const std::string& text);
    const std::string& GetTitle() const { return mTitle; }
    CaptionWnd* GetCaptionWnd() const { return mCaption; }
    static bool GetCaptionsShown() { return sCaptionsShown; }
    // Shows or hides the caption strips; returns the previous state.
    static bool SetCaptionsShown(bool on);
    static int GetCaptionHeight();
    void GetCaptionRect(wxRect& rect) const;
    int GetReservedCaptionWidth() const { return mReservedCaptionWidth; }
    void SetReservedCaptionWidth(int width);

    // Title-bar buttons, counted from the right.
    void SetButtonCount(int n);
    int GetButtonCount() const { return int(mButtons.size()); }
    void DefineButton(int index, int command, const wxBitmap& icon, int flags);
    // The button's rectangle in caption coordinates, or in screen coordinates when asked.
    void GetButtonRect(int index, wxRect& rect, bool screen) const;
    void RedrawButton(int index);
    const TitleButton& GetButton(int index) const { return mButtons[size_t(index)]; }
    int GetPressedButton() const { return mPressedButton; }
    bool IsPressedInside() const { return mPressedInside; }
    // A title-bar button was clicked; false when nothing was done.
    virtual bool OnTitleButton(int index, int command, int flags);
    // The caption window to make; null fails the view's creation.
    virtual CaptionWnd* CreateCaptionWnd();

    // Full screen: the view alone over the whole screen.
    virtual void SetFullScreen(bool on);
    bool IsFullScreen() const { return mFullScreen; }
    static NewView* GetFullScreenView() { return sFullScreenView; }
    static void ExitFullScreen();
    // Full screen ends when a window of another program takes the focus; switching to the
    // program's own windows (its dialogs, the main window) keeps it. The question whether one of
    // them is active can be replaced (tests).
    using ProgramActiveCheck = bool (*)();
    static ProgramActiveCheck SetProgramActiveCheck(ProgramActiveCheck check);
    static bool IsProgramActive();

    // The drawing size: the client area less the caption strip and the scroll bars shown.
    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // The height the 2D zoom is relative to: without a horizontal bar shown, less the room one takes.
    int GetClientHeight() const;
    int GetClientRectHeight() const { return mHeight; }
    bool HasHorizontalScrollBar() const;
    bool HasVerticalScrollBar() const;
    static int GetScrollBarThickness();
    // The scroll bars: ranges of 0 .. w and 0 .. h with a page of the client size.
    void SetScrollRanges(int w, int h);
    void SetScrollPositions(int x, int y);
    // The next SetScrollRanges is compared with nothing.
    void ForgetScrollRanges() { mScrollRangeX = mScrollRangeY = -1; }
    int GetScrollRangeX() const { return mScrollRangeX; }
    int GetScrollRangeY() const { return mScrollRangeY; }
    // The document code turns the bars' updates off while it works on a model that is not shown.
    static bool& ScrollBarUpdate() { return sScrollBarUpdate; }

    // Mouse buttons, modifier keys, hints and the cursor.
    static int GetPressedButtons() { return sButtons; }
    static int GetModifierState() { return sModifiers; }
    void UpdateModifierState(int flags, bool force);
    static void UpdateMouseHints();
    static void UpdateModeCursor(wxWindow* window);
    // The cursor for the current mouse mode; null for the frame's default.
    virtual const wxCursor* GetModeCursor() { return nullptr; }
    // The hints for the left button, the right button and both buttons (at most 64 bytes each).
    virtual void GetMouseHints(std::string& left, std::string& right, std::string& both);
    virtual void OnWheel(int /*delta*/) {}
    static wxPoint GetButtonDownPoint() { return sButtonDown; }
    static wxPoint GetLastMousePoint() { return sLastMouse; }
    // Buttons still marked down (the main window lost or got the focus, the capture went) are
    // released through the pane that holds the mouse, at the last mouse position, so a drag ends.
    static void ReleaseMouseButtons();

    bool IsPrinting() const { return mPrinting; }
    void SetPrinting(bool on) { mPrinting = on; }
    // The drawing size of a picture drawn off the screen; the window's own size comes back from
    // the caller. Nothing else follows.
    void SetDrawingSize(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }

protected:
    // Paints the window now.
    virtual void RepaintNow();
    // The child that draws and takes the mouse and keys: placed below the caption, beside the bars.
    void SetClientChild(wxWindow* child);
    wxWindow* GetClientChild() const { return mClient; }
    // The drawing size changed (not while printing).
    virtual void OnClientResized() {}
    // Views that draw a scrolled document show scroll bars when it is larger than the window.
    virtual bool WantsScrollBars() const { return true; }
    virtual void OnHScroll(int /*code*/, int /*trackPosition*/) {}
    virtual void OnVScroll(int /*code*/, int /*trackPosition*/) {}
    void LayoutPanes();

    // Mouse handlers of the drawing child; derived views call these first (button down) or last.
    virtual void OnMouseButtonDown(int button, int flags, int x, int y);
    virtual void OnMouseButtonUp(int button, int flags, int x, int y);
    // A key pressed in the pane (wx key code); true when the pane acted on it.
    virtual bool OnPaneKey(int /*keyCode*/, bool /*ctrl*/) { return false; }
    virtual void OnMouseDoubleClick(int button, int flags, int x, int y);
    virtual void OnMouseMove(int flags, int x, int y);

    bool mPrinting = false;

private:
    friend class CaptionWnd;

    void Renumber(NewView* from, int number);
    void OnSize(wxSizeEvent& event);
    void OnChildMouse(wxMouseEvent& event);
    void OnChildKey(wxKeyEvent& event);
    void OnChildKillFocus(wxFocusEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void ReleaseTitleButton(int index);
    void TrackTitleButton(const wxPoint& captionPoint);

    CaptionWnd* mCaption = nullptr;
    bool mCaptionTried = false;
    wxWindow* mClient = nullptr;
    wxScrollBar* mHBar = nullptr;
    wxScrollBar* mVBar = nullptr;
    int mWidth = 1;
    int mHeight = 1;
    int mScrollRangeX = 1;
    int mScrollRangeY = 1;
    bool mLayingOut = false;
    bool mLayoutAgain = false;

    // Full screen.
    bool mCaptionsShownBefore = true;
    wxWindow* mParentBefore = nullptr;
    wxFrame* mFullScreenFrame = nullptr;
    wxRect mRectBefore;
    int mSizerIndexBefore = -1;
    int mSizerProportionBefore = 0;
    int mSizerFlagBefore = 0;
    int mSizerBorderBefore = 0;
    bool mFullScreen = false;

    int mRedrawMarks = 0;
    int mNumber = -1;
    std::string mMessage;
    std::string mTitle = "View";
    ColorRGB mBackground;
    int mReservedCaptionWidth = 0;
    std::vector<TitleButton> mButtons;
    int mPressedButton = -1;
    bool mPressedInside = false;

    static NewView* sFirst;
    static NewView* sLast;
    static NewView* sActive;
    static NewView* sHintView;
    static NewView* sFullScreenView;
    static ColorRGB sDefaultBackground;
    static bool sCaptionsShown;
    static bool sScrollBarUpdate;
    static int sButtons;
    static NewView* sMouseView;
    static int sModifiers;
    static wxPoint sButtonDown;
    static wxPoint sLastMouse;
};

// Where the mouse hints go: the main window shows "L: %s", "R: %s" and "L+R: %s" on its status bar.
using MouseHintsSink = void (*)(const char* left, const char* right, const char* both);
MouseHintsSink SetMouseHintsSink(MouseHintsSink sink);
void ShowMouseHints(const char* left, const char* right, const char* both);

// The window's cursor; null means the main window's default cursor.
void SetWindowCursor(wxWindow* window, const wxCursor* cursor);

// The setting "NewStyleTitleBars": caption strips for views made while it is on.
extern bool gNewStyleTitleBars;
