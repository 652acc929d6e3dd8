#pragma once

// Stellation option bits (StellationSettings::options).
inline constexpr int kStellationOptionReflexible = 0x1;  // a cell and its mirror partner go together

// Program-wide options of the stellation views. The stellation commands change them; the cell code
// reads them after a change of the stellation.
struct StellationSettings
{
    // "AutoFrameStellation": the views of the stellation fit it again after each cell change.
    bool autoFrame = true;
    // The stellation option bits.
    int options = 0;
};

StellationSettings& GetStellationSettings();
