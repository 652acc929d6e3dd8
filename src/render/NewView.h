#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/LinkNode.h"
#include "kernel/Messages.h"

#include <wx/window.h>

#include <string>

// The base of every pane: what panes share independently of GL. All views are on one list, numbered
// from 0 in list order. Model code never paints: it marks views for redraw (Invalidate) and the idle
// step paints the marked ones (RedrawAllNow). Each view may show a one-line message, kept through the
// next frame when set and cleared by the first ordinary invalidation after it.
class NewView : public wxWindow, public LinkNode<NewView>
{
public:
    // Redraw marks.
    static constexpr int kRedraw = 1;
    static constexpr int kRedrawCaption = 2;
    static constexpr int kKeepMessage = 4;

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
    virtual void Activate(bool setFrameActiveView);

    // Redraw marks; a null view does nothing.
    static void Invalidate(NewView* view, bool keepMessage);
    static void InvalidateCaption(NewView* view);
    static void InvalidateAll(bool withCaption, bool keepMessage);
    static void RedrawNow(NewView* view);
    static void RedrawAllNow();
    static void ClearRedrawFlags(NewView* view);
    int GetRedrawMarks() const { return mRedrawMarks; }

    // The view's message line (1024 bytes, cut with "..."); a null format clears it.
    static void SetMessage(NewView* view, const char* format, ...) ORVANE_PRINTF(2, 3);
    static void ClearMessage(NewView* view);
    static void ClearAllMessages();
    const std::string& GetMessage() const { return mMessage; }

    // Background: the view's own colour, copied from the default one when the view is made.
    static void SetBackgroundColor(NewView* view, const ColorRGB& color);
    static void SetDefaultBackgroundColor(const ColorRGB& color);
    static void SetBackgroundColorAll(const ColorRGB& color);
    const ColorRGB& GetBackgroundColor() const { return mBackground; }

    bool IsPrinting() const { return mPrinting; }

protected:
    // Paints the window now.
    virtual void RepaintNow();

    bool mPrinting = false;

private:
    void Renumber(NewView* from, int number);

    int mRedrawMarks = 0;
    int mNumber = -1;
    std::string mMessage;
    ColorRGB mBackground;

    static NewView* sFirst;
    static NewView* sLast;
    static NewView* sActive;
    static ColorRGB sDefaultBackground;
};
