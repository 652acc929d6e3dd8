#pragma once

#include <vector>

// What the main window's toolbars hold and where they go at first.
struct MainToolBarDesign
{
    const char* name;     // the bar's name in the stored docking state
    const char* caption;  // shown while the bar floats
    int showCommand;      // View > Toolbars command that shows and hides it
    // The buttons' command ids in order, 0 for a separator, kComboPlace where a combo box goes.
    std::vector<int> buttons;
    int row;        // the row at the top it starts in
    int neighbour;  // the bar it starts beside, -1 for none
};

// The place of a combo box among the buttons: nothing is made there yet.
inline constexpr int kComboPlace = -1;

// The design of bar 0..4 (MainToolBarIndex).
const MainToolBarDesign& GetMainToolBarDesign(int bar);
