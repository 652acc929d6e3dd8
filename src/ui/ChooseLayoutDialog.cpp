#include "ui/ChooseLayoutDialog.h"

#include "ui/PaneLayout.h"

#include <wx/dcbuffer.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <cmath>

namespace
{
constexpr int kMargin = 10;
constexpr int kPictureWidth = 96;
constexpr int kPictureHeight = 72;

const char* KeyLabel(int layout)
{
    switch (layout)
    {
    case kLayout1:
        return "(Ctrl+1)";
    case kLayout2:
        return "(Ctrl+2)";
    case kLayout3Equal:
    case kLayout3SplitLeft:
    case kLayout3SplitRight:
        return "(Ctrl+3)";
    case kLayout4Grid:
    case kLayout4SplitLeft:
    case kLayout4SplitRight:
        return "(Ctrl+4)";
    case kLayout5SplitLeft:
    case kLayout5SplitRight:
        return "(Ctrl+5)";
    default:
        return "(Ctrl+6)";
    }
}

// Splits a length into n parts by the layout's ratios, starting at ratio `first`; the last part
// takes what is left.
std::vector<int> Split(int length, int n, int layout, bool nested, int first)
{
    std::vector<int> edges(size_t(n) + 1, 0);
    float sum = 0.0f;
    for (int i = 0; i < n - 1; ++i)
    {
        sum += DefaultLayoutRatio(layout, nested, first + i);
        edges[size_t(i) + 1] = int(std::lround(sum * float(length)));
    }
    edges[size_t(n)] = length;
    return edges;
}

void AddGrid(std::vector<wxRect>& rects, const wxRect& area, int rows, int cols, int layout, bool nested,
             int skipColumn, int gap)
{
    const std::vector<int> x = Split(area.width + gap, cols, layout, nested, 0);
    const std::vector<int> y = Split(area.height + gap, rows, layout, nested, cols - 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (c != skipColumn)
                rects.emplace_back(area.x + x[size_t(c)], area.y + y[size_t(r)], x[size_t(c) + 1] - x[size_t(c)] - gap,
                                   y[size_t(r) + 1] - y[size_t(r)] - gap);
}

// One layout's picture; a click on it sets its radio button.
class LayoutPicture : public wxWindow
{
public:
    LayoutPicture(wxWindow* parent, int layout) : wxWindow(parent, wxID_ANY), mLayout(layout)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetMinSize(wxSize(kPictureWidth, kPictureHeight));
        Bind(wxEVT_PAINT, &LayoutPicture::OnPaint, this);
    }

private:
    void OnPaint(wxPaintEvent&)
    {
        wxAutoBufferedPaintDC dc(this);
        const wxSize size = GetClientSize();
        // The frame around the panes, as the main window's splitter bars look.
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
        dc.DrawRectangle(0, 0, size.x, size.y);
        dc.SetBrush(wxBrush(wxColour(128, 128, 128)));
        dc.SetPen(wxPen(wxColour(64, 64, 64)));
        for (const wxRect& r : LayoutPaneRects(mLayout, wxRect(3, 3, size.x - 6, size.y - 6), 3))
            dc.DrawRectangle(r);
    }

    int mLayout;
};
}  // namespace

std::vector<wxRect> LayoutPaneRects(int layout, const wxRect& area, int gap)
{
    std::vector<wxRect> rects;
    if (layout < 0 || layout >= kNumPaneLayouts)
        return rects;
    const PaneLayout& l = GetPaneLayout(layout);
    AddGrid(rects, area, l.rows, l.cols, layout, false, l.nestedColumn, gap);
    if (l.HasNested())
    {
        // The nested grid fills its column of the outer grid.
        const std::vector<int> x = Split(area.width + gap, l.cols, layout, false, 0);
        const wxRect column(area.x + x[size_t(l.nestedColumn)], area.y,
                            x[size_t(l.nestedColumn) + 1] - x[size_t(l.nestedColumn)] - gap, area.height);
        AddGrid(rects, column, l.nestedRows, l.nestedCols, layout, true, -1, gap);
    }
    return rects;
}

ChooseLayoutDialog::ChooseLayoutDialog(wxWindow* parent, int layout)
    : wxDialog(parent, wxID_ANY, "Choose Layout"), mLayout(layout)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxGridSizer(4, kMargin, 2 * kMargin);
    for (int i = 0; i < kNumPaneLayouts; ++i)
    {
        auto* cell = new wxBoxSizer(wxVERTICAL);
        auto* picture = new LayoutPicture(this, i);
        auto* radio = new wxRadioButton(this, wxID_ANY, KeyLabel(i), wxDefaultPosition, wxDefaultSize,
                                        i == 0 ? wxRB_GROUP : 0);
        radio->SetValue(i == layout);
        picture->Bind(wxEVT_LEFT_DOWN, [radio](wxMouseEvent&) { radio->SetValue(true); });
        cell->Add(picture, 0, wxALIGN_CENTER_HORIZONTAL);
        cell->Add(radio, 0, wxALIGN_CENTER_HORIZONTAL | wxTOP, 4);
        grid->Add(cell, 0, wxALIGN_CENTER_HORIZONTAL);
        mRadios.push_back(radio);
        mPictures.push_back(picture);
    }
    top->Add(grid, 0, wxALL, kMargin);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kMargin);
    SetSizerAndFit(top);
    CentreOnParent();
}

bool ChooseLayoutDialog::TransferDataFromWindow()
{
    for (int i = 0; i < kNumPaneLayouts; ++i)
        if (mRadios[size_t(i)]->GetValue())
        {
            mLayout = i;
            break;
        }
    return true;
}

int RunChooseLayoutDialog(wxWindow* parent, int current)
{
    ChooseLayoutDialog dialog(parent, current);
    if (dialog.ShowModal() != wxID_OK)
        return -1;
    return dialog.GetLayoutIndex();
}
