#pragma once

class SimplePoly;
struct ZoneOptions;

// The Poly menu's constructions from the current model or from numbers, each adopted as the
// current model in one undo step. Each returns whether the model changed; a construction that
// refuses has told the user why and leaves the model and the undo list as they were.

// Adoption without a transition: the undo item of the kind, the result made the current model, the
// item dropped again when that fails, and the document refreshed with the flags (0 everything,
// 1 the titles only).
bool AdoptModelDirectly(SimplePoly* result, int undoKind, bool keepColors, bool keepDualColors, int refreshFlags);

// Subdivide Faces... and Create Geodesic Sphere...: ask for the frequency, starting from the one
// given last (2 at first), then cut the faces of the side shown.
bool SubdivideCurrentModel(bool geodesic);
int GetEdgeSubdivisions();
int GetGeodesicFrequency();

// The zonohedron, or the zonish polyhedron, of the zones the options choose from the current model.
// A 4D model is refused.
bool ZonohedrifyCurrentModel(const ZoneOptions& options);

// X x Y x Z cubes as one block.
bool CreateBlockModel(int x, int y, int z);

// The torus of the segments with the arm radius (relative to the loop's) as an expression.
bool CreateTorusModel(const char* armRadius, int segments, int armSegments);
