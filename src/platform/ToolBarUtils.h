#pragma once

class wxAuiToolBar;

// Tidying the toolbars after buttons of commands that are not offered were taken out.

// Deletes the button of the command; false when the toolbar has none.
bool DeleteToolBarButton(wxAuiToolBar* toolbar, int command);

// Deletes the separators left first, last or next to another separator. Controls on the toolbar
// count as buttons.
void RemoveExtraSeparators(wxAuiToolBar* toolbar);
