#include "stellation/CellDiagram.h"

#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <algorithm>
#include <map>

namespace
{
// The cells of each layer below the outer cell's.
std::map<int, int> CountCellsPerLayer(const Stellation& stellation)
{
    std::map<int, int> counts;
    for (const StellationCell* c = stellation.mFirstCell; c; c = c->next)
        if (!c->IsOuter() && c->mLayer)
            ++counts[c->mLayer->mNumber];
    return counts;
}
}  // namespace

CellDiagramExtent GetCellDiagramExtent(int layers, int widestLayer)
{
    const double half = kCellPitch / 2.0;
    return CellDiagramExtent{-half * widestLayer, -half * layers, half * widestLayer - 1.0, half * layers - 1.0};
}

CellDiagramExtent GetCellDiagramExtent(const Stellation& stellation)
{
    const std::map<int, int> counts = CountCellsPerLayer(stellation);
    if (counts.empty())
        return CellDiagramExtent{};
    int widest = 0;
    for (const auto& [layer, n] : counts)
        widest = std::max(widest, n);
    return GetCellDiagramExtent(counts.rbegin()->first + 1, widest);
}

std::vector<CellDiagramBox> LayOutCellDiagram(const Stellation& stellation)
{
    std::vector<CellDiagramBox> boxes;
    const std::map<int, int> counts = CountCellsPerLayer(stellation);
    if (counts.empty())
        return boxes;
    const CellDiagramExtent extent = GetCellDiagramExtent(stellation);
    const double top = 10.0 - (extent.bottom - extent.top) / 2.0;
    std::map<int, int> placed;
    for (StellationCell* c = stellation.mFirstCell; c; c = c->next)
    {
        if (c->IsOuter() || !c->mLayer)
            continue;
        const int layer = c->mLayer->mNumber;
        const int n = counts.at(layer);
        const int i = placed[layer]++;
        CellDiagramBox box;
        box.cell = c;
        box.layer = layer;
        box.x = -kCellPitch / 2.0 * n + 5.0 + kCellPitch * i;
        box.y = top + kCellPitch * layer;
        boxes.push_back(box);
    }
    return boxes;
}

CellDiagramDetail GetCellDiagramDetail(double z)
{
    CellDiagramDetail detail;
    detail.numbers = z > 0.5;
    detail.pairConnectors = 10.0 * z > 1.0;
    detail.supportLines = 20.0 * z > 1.0;
    return detail;
}
