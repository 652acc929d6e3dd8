#pragma once

#include <wx/window.h>

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

private:
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    NewView* mView;
};
