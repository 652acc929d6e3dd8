#include "ui/NewSplitter.h"

#include "ui/PaneLayout.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>
#include <cmath>

namespace
{
// Sizes of n parts sharing total by the n - 1 ratios; the last takes what is left.
void Share(std::vector<int>& out, int n, int total, const float* ratios)
{
    out.assign(size_t(n), 0);
    int used = 0;
    for (int i = 0; i < n - 1; ++i)
    {
        out[size_t(i)] = int(std::lround(double(total) * double(ratios[i])));
        used += out[size_t(i)];
    }
    out[size_t(n - 1)] = std::max(0, total - used);
}

// Ratios that leave every part some room: each above 0 and together below 1.
bool UsableRatios(const float* ratios, int n)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
    {
        if (!std::isfinite(ratios[i]) || ratios[i] <= 0.0f || ratios[i] >= 1.0f)
            return false;
        sum += ratios[i];
    }
    return sum < 1.0;
}
}  // namespace

NewSplitter::NewSplitter(wxWindow* parent, wxWindowID id, int rows, int cols, bool nested, int layout,
                         int firstRatio)
    : wxWindow(parent, id, wxDefaultPosition, parent->GetClientSize(), wxCLIP_CHILDREN | wxWANTS_CHARS),
      mRows(std::max(1, rows)), mCols(std::max(1, cols)), mNested(nested), mLayout(layout)
{
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DFACE));
    mPanes.assign(size_t(mRows * mCols), nullptr);
    LoadRatios(layout, firstRatio);
    Bind(wxEVT_SIZE, &NewSplitter::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &NewSplitter::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &NewSplitter::OnMouse, this);
    Bind(wxEVT_MOTION, &NewSplitter::OnMouse, this);
    Bind(wxEVT_LEAVE_WINDOW, &NewSplitter::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &NewSplitter::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &NewSplitter::OnKey, this);
}

void NewSplitter::SetPane(int row, int col, wxWindow* pane)
{
    if (row >= 0 && row < mRows && col >= 0 && col < mCols)
        mPanes[size_t(row * mCols + col)] = pane;
}

wxWindow* NewSplitter::GetPane(int row, int col) const
{
    if (row < 0 || row >= mRows || col < 0 || col >= mCols)
        return nullptr;
    return mPanes[size_t(row * mCols + col)];
}

void NewSplitter::LoadRatios(int layout, int first)
{
    const int n = SplitterRatioCount(mRows, mCols);
    const PaneLayout& record = GetPaneLayout(layout);
    mRatios.assign(size_t(n), 0.0f);
    for (int i = 0; i < n; ++i)
    {
        const int at = first + i;
        const bool stored = record.ratioCount >= 0 && at < std::min(record.ratioCount, kMaxLayoutRatios);
        mRatios[size_t(i)] = stored ? record.ratios[at] : DefaultLayoutRatio(layout, mNested, i);
    }
    // Columns and rows are checked apart: a bad column ratio leaves the row ratios as stored.
    for (const auto& [from, count] : {std::pair{0, mCols - 1}, std::pair{mCols - 1, mRows - 1}})
        if (!UsableRatios(mRatios.data() + from, count))
            for (int i = from; i < from + count; ++i)
                mRatios[size_t(i)] = DefaultLayoutRatio(layout, mNested, i);
}

void NewSplitter::ComputeSizes()
{
    const wxSize size = GetClientSize();
    Share(mColWidths, mCols, std::max(0, size.x - (mCols - 1) * kBarSize), mRatios.data());
    Share(mRowHeights, mRows, std::max(0, size.y - (mRows - 1) * kBarSize), mRatios.data() + (mCols - 1));
}

void NewSplitter::PlacePanes()
{
    int y = 0;
    for (int r = 0; r < mRows; ++r)
    {
        int x = 0;
        for (int c = 0; c < mCols; ++c)
        {
            if (wxWindow* pane = mPanes[size_t(r * mCols + c)])
                pane->SetSize(x, y, mColWidths[size_t(c)], mRowHeights[size_t(r)]);
            x += mColWidths[size_t(c)] + kBarSize;
        }
        y += mRowHeights[size_t(r)] + kBarSize;
    }
}

void NewSplitter::ApplyRatios()
{
    if (std::find(mPanes.begin(), mPanes.end(), nullptr) != mPanes.end())
        return;
    ComputeSizes();
    PlacePanes();
}

void NewSplitter::MeasureRatios()
{
    int width = 0;
    int height = 0;
    for (int w : mColWidths)
        width += w;
    for (int h : mRowHeights)
        height += h;
    for (int c = 0; c < mCols - 1; ++c)
        mRatios[size_t(c)] = width > 0 ? float(mColWidths[size_t(c)]) / float(width) : 1.0f / float(mCols);
    for (int r = 0; r < mRows - 1; ++r)
        mRatios[size_t(mCols - 1 + r)] =
            height > 0 ? float(mRowHeights[size_t(r)]) / float(height) : 1.0f / float(mRows);
}

void NewSplitter::OnSize(wxSizeEvent& event)
{
    ApplyRatios();
    event.Skip();
}

void NewSplitter::HitBars(const wxPoint& point, int& col, int& row) const
{
    col = row = -1;
    int x = 0;
    for (int c = 0; c < mCols - 1 && c < int(mColWidths.size()); ++c)
    {
        x += mColWidths[size_t(c)];
        if (point.x >= x && point.x < x + kBarSize)
            col = c;
        x += kBarSize;
    }
    int y = 0;
    for (int r = 0; r < mRows - 1 && r < int(mRowHeights.size()); ++r)
    {
        y += mRowHeights[size_t(r)];
        if (point.y >= y && point.y < y + kBarSize)
            row = r;
        y += kBarSize;
    }
}

bool NewSplitter::StartTracking(const wxPoint& point)
{
    int col = -1, row = -1;
    HitBars(point, col, row);
    if (col < 0 && row < 0)
        return false;
    mTrackCol = col;
    mTrackRow = row;
    mRatiosBefore = mRatios;
    mLastPoint = wxPoint(-1, -1);
    // Where in the bar the pointer took hold.
    int x = 0;
    for (int c = 0; c <= col; ++c)
        x += mColWidths[size_t(c)] + (c < col ? kBarSize : 0);
    int y = 0;
    for (int r = 0; r <= row; ++r)
        y += mRowHeights[size_t(r)] + (r < row ? kBarSize : 0);
    mGrab = wxPoint(col >= 0 ? point.x - x : 0, row >= 0 ? point.y - y : 0);
    return true;
}

void NewSplitter::TrackTo(const wxPoint& point)
{
    if (!IsTracking() || point == mLastPoint)
        return;
    mLastPoint = point;
    // The two parts beside the bar share their room; the others stay.
    const auto move = [](std::vector<int>& sizes, int bar, int position) {
        int start = 0;
        for (int i = 0; i < bar; ++i)
            start += sizes[size_t(i)] + kBarSize;
        const int both = sizes[size_t(bar)] + sizes[size_t(bar + 1)];
        const int low = std::min(kMinDragPane, both / 2);
        const int first = std::clamp(position - start, low, both - low);
        sizes[size_t(bar)] = first;
        sizes[size_t(bar + 1)] = both - first;
    };
    if (mTrackCol >= 0)
        move(mColWidths, mTrackCol, point.x - mGrab.x);
    if (mTrackRow >= 0)
        move(mRowHeights, mTrackRow, point.y - mGrab.y);
    MeasureRatios();
    PlacePanes();
}

void NewSplitter::StopTracking(bool accept)
{
    if (!IsTracking())
        return;
    mTrackCol = mTrackRow = -1;
    mLastPoint = wxPoint(-1, -1);
    if (!accept)
        mRatios = mRatiosBefore;
    ApplyRatios();
}

void NewSplitter::OnMouse(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    if (event.LeftDown())
    {
        if (StartTracking(point))
        {
            CaptureMouse();
            SetFocus();
        }
        return;
    }
    if (event.LeftUp())
    {
        if (IsTracking())
        {
            StopTracking(true);
            if (HasCapture())
                ReleaseMouse();
        }
        return;
    }
    if (event.Dragging() && IsTracking())
    {
        TrackTo(point);
        return;
    }
    int col = -1, row = -1;
    HitBars(point, col, row);
    const wxStockCursor cursor = col >= 0 && row >= 0 ? wxCURSOR_SIZING
                                 : col >= 0           ? wxCURSOR_SIZEWE
                                 : row >= 0           ? wxCURSOR_SIZENS
                                                      : wxCURSOR_ARROW;
    SetCursor(wxCursor(event.Leaving() ? wxCURSOR_ARROW : cursor));
}

void NewSplitter::OnCaptureLost(wxMouseCaptureLostEvent& /*event*/)
{
    StopTracking(false);
}

void NewSplitter::OnKey(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE && IsTracking())
    {
        StopTracking(false);
        if (HasCapture())
            ReleaseMouse();
        return;
    }
    event.Skip();
}
