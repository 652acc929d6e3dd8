#pragma once

#include "kernel/Mat3.h"

#include <cstdint>
#include <memory>
#include <vector>

class Poly;
class Polygon3D;
class SimplePoly;

// Flags of CreateSimpleFacetedPolyhedron.
inline constexpr uint32_t kFacetedQuiet = 0x1;           // no question, no message, no validity check
inline constexpr uint32_t kFacetedNoCheck = 0x4;         // no validity check and no blending
inline constexpr uint32_t kFacetedNoCheckPreview = 0x200;  // the same, for the preview's callers

// The drawn facet a face of the faceted polyhedron copies, and the operation of the group that
// placed it there.
struct FacetRecord
{
    Polygon3D* mPolygon = nullptr;
    Mat3 mOperation;
};

// How to reach the mouse mode that draws facets, for the messages that send the user there.
inline constexpr const char* kFacetingModeMenuText = "Selection->Mouse Selection Mode->Faceting Mode";

// The model's drawn facets, each repeated over the model's symmetry group, as a new model: each
// facet's orbit once, a colour per facet (another for its mirror images). Unless quiet, an
// unfinished facet is offered for inclusion and the result is checked and its coplanar faces
// blended. Null, having told the user unless quiet, when there is no facet or the result is refused;
// records, when given, receive one entry per face of the result.
std::unique_ptr<SimplePoly> CreateSimpleFacetedPolyhedron(Poly& poly, uint32_t flags,
                                                          std::vector<FacetRecord>* records);

// Faceting > Create Faceted Polyhedron: the faceted polyhedron of the current model becomes the
// model, as one undo step. False when nothing was made.
bool CreateFacetedPolyhedron();
