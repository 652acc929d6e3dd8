#pragma once

#include "render/CaptionWnd.h"

#include <wx/bmpbndl.h>
#include <wx/gdicmn.h>

class CPolyView;
class wxMenu;

// The caption strip of a model pane: the picture of the pane's view type at the left, which opens
// the menu of view types, then the pane's title, with the title-bar buttons its view type offers
// (CPolyView::DefineTitleButtons).
class PolyCaptionWnd : public CaptionWnd
{
public:
    explicit PolyCaptionWnd(CPolyView* view);

    static constexpr int kIconSize = 16;
    static constexpr int kIndent = 20;
    // Where the view-type picture stands in the caption's client area.
    wxRect GetIconRect() const;

protected:
    int GetTitleIndent() const override { return kIndent; }
    void PaintIndent(wxDC& dc, const wxSize& size) override;
    bool OnCaptionPress(const wxPoint& point) override;

private:
    CPolyView* mPolyView;
};

// The pictures of the view types and the menu of them come from the command table, which the
// window above the panes owns: it hands them over at start.
struct ViewTypeMenuSource
{
    // The picture of the view type of that index (the low byte of its code).
    wxBitmapBundle (*picture)(int viewTypeIndex) = nullptr;
    // A new pop-up menu of the View toolbar's commands, in its order with its separators.
    wxMenu* (*menu)() = nullptr;
};
void SetViewTypeMenuSource(const ViewTypeMenuSource& source);
const ViewTypeMenuSource& GetViewTypeMenuSource();
