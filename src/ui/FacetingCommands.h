#pragma once

#include <string>

class wxEvtHandler;
class wxKeyEvent;

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

// The stepping keys of a faceting pane (Up, Down, Home, Ctrl+Home, End) when the active pane is
// one; each step is one undo step. False when the key is not one of them or no such pane is active.
bool HandleFacetingStepKey(const wxKeyEvent& event);
// The five steps on the faceting of the side the active pane shows.
enum class FacetingStep
{
    Next,
    Previous,
    ModelFaces,
    First,
    Last,
};
void RunFacetingStep(FacetingStep step);
// Delete All Facets, as one undo step.
void DeleteAllFacets();
