#include "ui/PaneLayout.h"

#include "kernel/ViewTypes.h"
#include "platform/CommandIds.h"

namespace
{
struct LayoutShape
{
    const char* name;
    int rows, cols, nestedRows, nestedCols, nestedColumn;
};

const LayoutShape kShapes[kNumPaneLayouts] = {
    {"Layout1", 1, 1, 0, 0, -1},           {"Layout2", 1, 2, 0, 0, -1},
    {"Layout3Equal", 1, 3, 0, 0, -1},      {"Layout3SplitLeft", 1, 2, 2, 1, 0},
    {"Layout3SplitRight", 1, 2, 2, 1, 1},  {"Layout4Grid", 2, 2, 0, 0, -1},
    {"Layout4SplitLeft", 1, 2, 3, 1, 0},   {"Layout4SplitRight", 1, 2, 3, 1, 1},
    {"Layout5SplitLeft", 1, 2, 2, 2, 0},   {"Layout5SplitRight", 1, 2, 2, 2, 1},
    {"Layout6", 2, 3, 0, 0, -1}};

// The panes' types at start: the first types of this list, as many as the layout has panes.
void DefaultViewTypes(int layout, int panes, int out[kMaxPanes])
{
    static const int kGeneral[] = {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual,
                                   kViewTypePolyAndDual, kViewTypePoly};
    static const int kSix[] = {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeUniStellation,
                               kViewTypeStelDiagram, kViewTypeCellDiagram};
    for (int i = 0; i < kMaxPanes; ++i)
        out[i] = i < panes ? (layout == kLayout6 ? kSix[i] : kGeneral[i]) : kViewTypePoly;
}

struct LayoutTables
{
    PaneLayout layouts[kNumPaneLayouts];
    int viewTypes[kNumPaneLayouts][kMaxPanes];

    LayoutTables()
    {
        for (int i = 0; i < kNumPaneLayouts; ++i)
            InitLayout(i);
        ResetViewTypes();
    }

    void InitLayout(int index)
    {
        const LayoutShape& s = kShapes[index];
        PaneLayout& l = layouts[index];
        l = PaneLayout();
        l.rows = s.rows;
        l.cols = s.cols;
        l.nestedRows = s.nestedRows;
        l.nestedCols = s.nestedCols;
        l.nestedColumn = s.nestedColumn;
    }

    void ResetViewTypes()
    {
        for (int i = 0; i < kNumPaneLayouts; ++i)
            DefaultViewTypes(i, layouts[i].PaneCount(), viewTypes[i]);
    }
};

LayoutTables& Tables()
{
    static LayoutTables tables;
    return tables;
}

int gCurrentLayout = -1;
}  // namespace

void PaneLayout::Init(int index)
{
    if (index >= 0 && index < kNumPaneLayouts)
        Tables().InitLayout(index);
}

void PaneLayout::InitAll()
{
    for (int i = 0; i < kNumPaneLayouts; ++i)
        Init(i);
}

int PaneLayout::PaneCount() const
{
    const int outer = rows * cols;
    return HasNested() ? outer - 1 + nestedRows * nestedCols : outer;
}

PaneLayout& GetPaneLayout(int index)
{
    return Tables().layouts[index >= 0 && index < kNumPaneLayouts ? index : 0];
}

const char* GetPaneLayoutName(int index)
{
    return index >= 0 && index < kNumPaneLayouts ? kShapes[index].name : nullptr;
}

float DefaultLayoutRatio(int layout, bool nested, int i)
{
    const PaneLayout& l = GetPaneLayout(layout);
    if (!nested && i == 0)
    {
        // The column holding the nested grid is the narrow one.
        switch (layout)
        {
        case kLayout3SplitLeft:
            return 1.0f / 3.0f;
        case kLayout3SplitRight:
            return 2.0f / 3.0f;
        case kLayout4SplitLeft:
            return 0.25f;
        case kLayout4SplitRight:
            return 0.75f;
        default:
            break;
        }
    }
    const int rows = nested ? l.nestedRows : l.rows;
    const int cols = nested ? l.nestedCols : l.cols;
    return i < cols - 1 ? 1.0f / float(cols) : 1.0f / float(rows);
}

int GetCurrentLayoutIndex()
{
    return gCurrentLayout;
}

void SetCurrentLayoutIndex(int index)
{
    gCurrentLayout = index;
}

int GetLayoutViewType(int layout, int pane)
{
    if (layout < 0 || layout >= kNumPaneLayouts || pane < 0 || pane >= kMaxPanes)
        return kViewTypeNone;
    return Tables().viewTypes[layout][pane];
}

void SetLayoutViewType(int layout, int pane, int code)
{
    if (layout >= 0 && layout < kNumPaneLayouts && pane >= 0 && pane < kMaxPanes)
        Tables().viewTypes[layout][pane] = code;
}

void ResetLayoutViewTypes()
{
    Tables().ResetViewTypes();
}

int LayoutForCommand(int command, int current)
{
    switch (command)
    {
    case kCmdLayout1:
        return kLayout1;
    case kCmdLayout2:
        return kLayout2;
    case kCmdLayout3:
        return current == kLayout3Equal ? kLayout3SplitRight
               : current == kLayout3SplitRight ? kLayout3SplitLeft
                                               : kLayout3Equal;
    case kCmdLayout4:
        return current == kLayout4Grid ? kLayout4SplitRight
               : current == kLayout4SplitRight ? kLayout4SplitLeft
                                               : kLayout4Grid;
    case kCmdLayout5:
        return current == kLayout5SplitRight ? kLayout5SplitLeft : kLayout5SplitRight;
    case kCmdLayout6:
        return kLayout6;
    default:
        return -1;
    }
}
