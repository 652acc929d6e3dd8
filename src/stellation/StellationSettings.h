#pragma once

#include "kernel/ColorRGB.h"

// Program-wide options of the stellation views. The stellation commands change them; the cell code
// reads them after a change of the stellation, the diagram drawing as it draws.
struct StellationSettings
{
    // "AutoFrameStellation": the views of the stellation fit it again after each cell change.
    bool autoFrame = true;
    // "Show Original Edges": the diagram draws the edges of the original face again, wider.
    bool showOriginalEdges = false;
    // "Show Cell Lines": the boundaries between the cells are drawn on the stellation's faces.
    bool showCellLines = false;
    // The colour of the diagram's lines.
    ColorRGB diagramLineColor{1.0f, 1.0f, 1.0f};
    // The colour of the lines between the cells drawn on stellation faces.
    ColorRGB cellLineColor{0.25f, 0.25f, 0.25f};
    // The blend mode of the diagram's facets that the stellation does not use (1 screen door).
    int transparencyStyle = 1;
};

StellationSettings& GetStellationSettings();
