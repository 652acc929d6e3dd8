#pragma once

#include "kernel/ColorRGB.h"

// Program-wide options of the stellation views. The stellation commands change them; the cell code
// reads them after a change of the stellation.
struct StellationSettings
{
    // "AutoFrameStellation": the views of the stellation fit it again after each cell change.
    bool autoFrame = true;
    // The colour of the lines between the cells drawn on stellation faces.
    ColorRGB cellLineColor{0.25f, 0.25f, 0.25f};
};

StellationSettings& GetStellationSettings();
