#pragma once

class FaceType;
class Stellation;

// The regions of a face type's diagram grouped into symmetric facets: one facet per orbit of
// regions under the turns of the type, created breadth first from the innermost region, ring by
// ring, with mirror-image facets paired. A type whose mirror type already has facets takes them in
// the same order, each the mirror partner of the one with its number. True at once for a coplanar
// copy or a first face at infinity; false after an internal error.
bool CreateFacets(FaceType* type);

// For every face type through the centre with an even-order axis in its plane: each facet learns
// the facet that the half turn about that axis makes of it (itself when it is its own image).
void SetHemiSelfPointers(Stellation* stellation);
