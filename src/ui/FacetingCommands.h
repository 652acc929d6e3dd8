#pragma once

#include <string>

class wxEvtHandler;

// The Faceting menu's criteria, limits, options and Enumerate Facetings, handled for the whole main
// window. They change the program-wide faceting settings and act on the faceting of the side the
// active pane shows.
void BindFacetingCommands(wxEvtHandler* frame);

// The limit items' texts with the values in force.
std::string MinimumFacetTypesText();
std::string MaximumFacetTypesText();
// Ask for a limit and store it: a minimum below 1 is 1, a maximum below 1 no limit.
void RunMinimumFacetTypes();
void RunMaximumFacetTypes();
