#pragma once

#include <wx/window.h>

#include <vector>

// A static grid of panes with bars between the rows and columns, all rows sharing the column widths
// and all columns the row heights. The proportions are kept as ratios: a grid of r rows and c
// columns has c - 1 column ratios (a column's width over the width of all columns) and then r - 1
// row ratios; the last column and row take what is left. Panes keep their proportions when the
// window is resized; dragging a bar resizes the two panes beside it live and stores new ratios.
class NewSplitter : public wxWindow
{
public:
    static constexpr int kBarSize = 6;
    // A drag leaves every pane at least this wide or high.
    static constexpr int kMinDragPane = 16;

    // The grid of the layout's outer splitter (nested false) or its nested one, its ratios taken
    // from the layout's record from position firstRatio on, or the defaults.
    NewSplitter(wxWindow* parent, wxWindowID id, int rows, int cols, bool nested, int layout, int firstRatio);

    int GetRows() const { return mRows; }
    int GetCols() const { return mCols; }
    bool IsNested() const { return mNested; }

    // The window of a cell; a child of this splitter.
    void SetPane(int row, int col, wxWindow* pane);
    wxWindow* GetPane(int row, int col) const;

    int GetRatioCount() const { return int(mRatios.size()); }
    const std::vector<float>& GetRatios() const { return mRatios; }
    // The ratios from the layout's record from position first on; a ratio the record lacks, or one
    // that would leave a pane without room, takes the layout's default.
    void LoadRatios(int layout, int first);
    // Places the panes by the ratios; nothing while a pane is missing.
    void ApplyRatios();

    // The widths of the columns and heights of the rows the panes now have.
    const std::vector<int>& GetColumnWidths() const { return mColWidths; }
    const std::vector<int>& GetRowHeights() const { return mRowHeights; }

    // Bar dragging, as the mouse does it: a press on a bar, moves, then the release ends it; a
    // cancelled drag (Escape, or the mouse taken away) puts the ratios back. Positions are in the
    // splitter's client coordinates. False when the point is on no bar.
    bool StartTracking(const wxPoint& point);
    void TrackTo(const wxPoint& point);
    void StopTracking(bool accept);
    bool IsTracking() const { return mTrackCol >= 0 || mTrackRow >= 0; }

private:
    void OnSize(wxSizeEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKey(wxKeyEvent& event);
    // The bar under the point: the column bar and the row bar, -1 for none.
    void HitBars(const wxPoint& point, int& col, int& row) const;
    void ComputeSizes();
    void PlacePanes();
    void MeasureRatios();

    int mRows;
    int mCols;
    bool mNested;
    int mLayout;
    std::vector<wxWindow*> mPanes;
    std::vector<float> mRatios;
    std::vector<int> mColWidths;
    std::vector<int> mRowHeights;
    // The drag in progress: the bars being moved, the pointer's offset in the bar, the ratios before.
    int mTrackCol = -1;
    int mTrackRow = -1;
    wxPoint mGrab;
    wxPoint mLastPoint{-1, -1};
    std::vector<float> mRatiosBefore;
};
