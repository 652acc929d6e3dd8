#pragma once

class Poly;

// The 4D forms of the Color menu's element commands, on the polytope the model shows. What they
// work on: the selected edge, else the selected vertex, else the current cell. Colours of cells,
// vertices and edges carry over to the dual's matching elements. Each change is one undo step; a
// cancelled chooser changes nothing.

// Replace Cell Color Throughout: every element of the kind (cells with the vertices) in the old
// colour, asking before two colour groups merge.
void ReplaceCellColor4D(Poly& poly);
// The item, its type or every element of its kind (Poly::kColorScope...).
void SetElementColors4D(Poly& poly, int scope);
// Every cell of the current cell's connected part.
void ColorCompoundPart4D(Poly& poly);
