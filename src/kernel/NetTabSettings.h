#pragma once

// Glue tabs on nets: the program-wide kind, size and 3D display of the tabs. The net code reads
// them; the net option commands change them; the settings keep them between runs.
inline constexpr int kTabTypeNone = 0;
inline constexpr int kTabTypeSingle = 2;
inline constexpr int kTabTypeDouble = 3;

// Half a centimetre, in twips.
inline constexpr double kDefaultTabSize = 283.46456692913387;
// A stored tab size below 0.05 cm is taken for a damaged value.
inline constexpr double kSmallestTabSize = 28.34645669291339;

struct NetTabSettings
{
    int tabType = kTabTypeDouble;      // "TabType"
    double tabSize = kDefaultTabSize;  // "TabSize", twips
    bool show3DTabs = true;            // "Show3DTabs": tabs on folding nets
};

NetTabSettings& GetNetTabSettings();
