#pragma once

#include "kernel/Vec3D.h"

#include <memory>
#include <string>

class PointList;
class SimplePoly;

// Zonohedra: Minkowski sums of line segments, the zone vectors, each the same length. Every face is
// a centrally symmetric polygon, one pair for each plane that two or more of the vectors span.

// Where the Zonohedrify dialog takes zone vectors from, for vertices, edges and faces of the side
// shown: none, every element, the elements of the selected one's type, or the selected one alone.
inline constexpr int kZonesFromNone = 0;
inline constexpr int kZonesFromAll = 1;
inline constexpr int kZonesFromType = 2;
inline constexpr int kZonesFromCurrent = 3;

// The choices of the Zonohedrify dialog.
struct ZoneOptions
{
    // Add the zones to the model (the Minkowski sum of the model and the zones) instead of making
    // the zonohedron of the zones alone.
    bool zonish = false;
    // Vertices give their directions from the centre, edges their directions, faces their normals.
    int vertices = kZonesFromAll;
    int edges = kZonesFromNone;
    int faces = kZonesFromNone;
    // The axes of the first three rotation-axis classes of the symmetry in force.
    bool axisClasses[3] = {false, false, false};
    bool xyzAxes = false;
    int maxZones = 0;  // 0: no limit
    // Each vector's length, times the shortest edge of the side shown.
    std::string edgeScale = "1";
};

// Turns the vector into the half-space x > 0 (y > 0 on that plane, then z > 0), scales it to the
// length and adds it to the list unless the list holds it already. A vector within 1e-7 of zero adds
// nothing. False once the vector's place in the list reaches the limit: the caller stops there.
bool AddZoneVector(PointList& list, const Vec3D& v, double length, int limit);

// Whether the vectors span space: three of them lie in no plane.
bool ZonesSpanSpace(const PointList& zones);

// The zonohedron of the vectors, its edges twice as long as they, named "Zonohedrified " and the
// model's name. Null when the user cancelled, or when the model would be too large.
std::unique_ptr<SimplePoly> CreateZonohedron(const PointList& zones, const char* modelName);

// The Minkowski sum of the convex hull of the points and the segments that run along the vectors
// through the centre, as long as they: each vector makes a zone of that width round the model.
// Null when the user cancelled or the points span no solid.
std::unique_ptr<SimplePoly> CreateZonishPolyhedron(const Vec3D* points, int numPoints, const PointList& zones,
                                                   const char* modelName);
