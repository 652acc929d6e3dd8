#pragma once

// Program-wide options of the stellation views. The stellation commands change them; the cell code
// reads them after a change of the stellation.
struct StellationSettings
{
    // "AutoFrameStellation": the views of the stellation fit it again after each cell change.
    bool autoFrame = true;
};

StellationSettings& GetStellationSettings();
