#pragma once

#include <vector>

class Stellation;
class StellationCell;

// The layout of the Cell Diagram: one row of boxes per layer of cells, the core's at the top, in
// diagram units with y growing downwards. Layers are 50 units apart; a box is 40 wide and 30 high,
// and the boxes of a layer stand 50 units apart, centred on x = 0.
struct CellDiagramBox
{
    StellationCell* cell = nullptr;
    double x = 0.0;  // the box's top left corner
    double y = 0.0;
    int layer = 0;
};

struct CellDiagramExtent
{
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

inline constexpr double kCellBoxWidth = 40.0;
inline constexpr double kCellBoxHeight = 30.0;
inline constexpr double kCellPitch = 50.0;

// (-25 c, -25 r) to (25 c - 1, 25 r - 1) for r layers whose largest holds c cells.
CellDiagramExtent GetCellDiagramExtent(int layers, int widestLayer);
// The extent of the stellation's diagram: its layers without the outer cell's, and the most cells of
// one layer. Empty (all 0) while the stellation has no cells.
CellDiagramExtent GetCellDiagramExtent(const Stellation& stellation);
// A box for every cell but the outer one.
std::vector<CellDiagramBox> LayOutCellDiagram(const Stellation& stellation);

// What the diagram draws at a zoom of z pixels per unit: cell numbers above 0.5, the dashed
// connectors of mirror pairs above 0.1, the lines to the cells resting on a cell above 0.05.
struct CellDiagramDetail
{
    bool numbers = false;
    bool pairConnectors = false;
    bool supportLines = false;
};
CellDiagramDetail GetCellDiagramDetail(double pixelsPerUnit);
