#pragma once

// Display switches that only the model panes read. They last for the run and are not saved; the
// Display and Section menus set them.
struct ViewDisplayOptions
{
    // Display > Show Midsphere/Reciprocation Sphere.
    bool showMidsphere = false;
    // Section > Show Cross-Section in Model Views: 0 never, 1 while a Cross-Section pane is open,
    // 2 always.
    int sectionDisplayMode = 0;
    // Section > Cross-Section Direction > Automatic: the section follows the model's own direction.
    bool autoSectionDirection = true;
};

ViewDisplayOptions& GetViewDisplayOptions();

// The top margin of the first printed page in twips; printing leaves where its last page ended.
int& FirstPageTopMarginTwips();
// The margin in the current distance unit, and set from one (rounded to whole twips).
double GetFirstPageTopMargin();
void SetFirstPageTopMargin(double length);
