#pragma once

#include <memory>

class Poly;
class Polytope4D;

// The 4D prism over the side of the model that is shown (its dual when the dual is shown): two
// copies of it half a mean edge length either side of it along the axis (0 to 3), its other three
// axes following in turn, joined by a square on every edge and a prism cell on every face;
// completed. Null, with a message, for a model that has no such prism.
std::unique_ptr<Polytope4D> Create4DPrism(Poly* poly, int axis);
// The same prism as given to the completion: its vertices, its faces (the two copies' faces, then
// the squares) and its cells (the two copies, then one prism per face), nothing else.
std::unique_ptr<Polytope4D> Build4DPrism(Poly* poly, int axis);
