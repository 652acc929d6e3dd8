#pragma once

// The eleven pane layouts of the main window: a static grid of one to six model panes, in four
// layouts with a second grid nested in one column. Each layout keeps, for the rest of the run, the
// proportions of its grids (as ratios, so that panes keep them when the window is resized) and the
// view type of each of its panes. Nothing here is stored in the settings; model files store the
// layouts and ratios (ui/LayoutSection.h).

inline constexpr int kNumPaneLayouts = 11;
inline constexpr int kMaxPanes = 6;
// A layout record holds at most this many ratios: the outer grid's first, then the nested grid's.
inline constexpr int kMaxLayoutRatios = 3;

// The layouts by index.
inline constexpr int kLayout1 = 0;
inline constexpr int kLayout2 = 1;
inline constexpr int kLayout3Equal = 2;
inline constexpr int kLayout3SplitLeft = 3;
inline constexpr int kLayout3SplitRight = 4;
inline constexpr int kLayout4Grid = 5;
inline constexpr int kLayout4SplitLeft = 6;
inline constexpr int kLayout4SplitRight = 7;
inline constexpr int kLayout5SplitLeft = 8;
inline constexpr int kLayout5SplitRight = 9;
inline constexpr int kLayout6 = 10;

struct PaneLayout
{
    int rows = 1;
    int cols = 1;
    int nestedRows = 0;  // 0 without a nested grid
    int nestedCols = 0;
    int nestedColumn = -1;  // the outer column holding the nested grid
    int ratioCount = -1;    // ratios stored; -1 for none, a count above kMaxLayoutRatios as read
    float ratios[kMaxLayoutRatios] = {};

    // The layout's grids, no stored ratios.
    static void Init(int index);
    static void InitAll();

    bool HasNested() const { return nestedColumn >= 0; }
    int PaneCount() const;
};

PaneLayout& GetPaneLayout(int index);
// "Layout1", "Layout2", "Layout3Equal", ...; null outside 0..10.
const char* GetPaneLayoutName(int index);

// A grid of r rows and c columns has r + c - 2 ratios: its c - 1 column ratios (a column's width
// over all columns' width), then its r - 1 row ratios.
inline int SplitterRatioCount(int rows, int cols)
{
    return rows + cols - 2;
}
// The default ratio i of the outer grid (nested false) or the nested grid of a layout: one over
// the columns or rows, except that a nested column is the narrow one.
float DefaultLayoutRatio(int layout, bool nested, int i);

// The layout shown: -1 before the first one exists.
int GetCurrentLayoutIndex();
void SetCurrentLayoutIndex(int index);

// The view type each pane of each layout showed last; the defaults of the layouts at start.
int GetLayoutViewType(int layout, int pane);
void SetLayoutViewType(int layout, int pane, int code);
void ResetLayoutViewTypes();

// The layout a layout command (Ctrl+1 .. Ctrl+6) switches to from the current one; -1 for another
// command.
int LayoutForCommand(int command, int current);
