#pragma once

// The Section menu's switches for the 2D cross-section, program-wide for the run. At
// least one of fill and edges is on: the setters keep it so.
struct SectionSettings
{
    bool fill = true;            // "Fill 2D Cross-Section"
    bool showEdges = true;       // "Show 2D Cross-Section Edges"
    bool showNearVerts = false;  // "Show Vertices Near Slice Plane"
};

SectionSettings& GetSectionSettings();
// Switching fill off switches the edges on; switching fill on drops a section built without fill,
// so that it is filled when drawn next.
void SetSectionFill(bool on);
// Switching the edges off switches fill on.
void SetSectionEdges(bool on);

// The menu text of the fill switch, which a cancelled fill names.
inline constexpr const char* kFillSectionMenuText = "Fill 2D Cross-Section";
