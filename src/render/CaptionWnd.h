#pragma once

#include <wx/window.h>

class wxDC;

class NewView;

// The caption strip of a view: its title on a gradient, lighter while the view is not active, and
// the title-bar buttons at the right. Clicking it activates the view. Model views make their own.
class CaptionWnd : public wxWindow
{
public:
    explicit CaptionWnd(NewView* view);
    NewView* GetView() const { return mView; }

protected:
    virtual void OnPaint(wxPaintEvent& event);
    // Room kept at the left of the title, for a picture a pane draws there.
    virtual int GetTitleIndent() const { return 0; }
    // Draws what goes in the indent, after the title and the buttons.
    virtual void PaintIndent(wxDC& /*dc*/, const wxSize& /*size*/) {}
    // A press of a mouse button (left or right) on the caption, after the pane was activated: true
    // when it was taken.
    virtual bool OnCaptionPress(const wxPoint& /*point*/) { return false; }

private:
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    NewView* mView;
};
