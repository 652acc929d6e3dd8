#pragma once

#include "kernel/Vec2D.h"

#include <utility>
#include <vector>

class FaceType;
class SegVert;
class StellationEdge;

// A linear map of the plane about a diagram's centre: a turn of a face type's diagram onto
// itself, its mirror, the half turn about an axis in its plane, or the map from a mirror-image
// type's diagram into this one. Symmetries are found geometrically and then followed along the
// edges, so that a diagram a little off true still maps as far as its tolerance allows.
struct DiagramMap
{
    double m[2][2] = {{1.0, 0.0}, {0.0, 1.0}};

    Vec2D Apply(const Vec2D& p) const { return Vec2D{m[0][0] * p.x + m[0][1] * p.y, m[1][0] * p.x + m[1][1] * p.y}; }
    // Keeps the turning sense: a region's edges then run round its image the same way.
    bool IsProper() const { return m[0][0] * m[1][1] - m[0][1] * m[1][0] > 0.0; }

    // Counterclockwise by 2 pi k / n.
    static DiagramMap Turn(int k, int n);
    // Across the line through the centre along the direction; false for a zero direction.
    static bool Reflection(const Vec2D& direction, DiagramMap& out);
};

// The mirror of a type's diagram onto itself: across mMirrorDir, or, without one, the map that the
// group's reflection makes of the first face onto the face of the type it reaches. False for a
// type that is not reflexible in its plane.
bool GetOwnMirrorMap(const FaceType* type, DiagramMap& out);
// From the diagram of the type's mirror type (its coplanar source for a copy) into this one, through
// the group's reflection; false without a mirror type or when no face of this type is the image.
bool GetMirrorTypeMap(const FaceType* type, DiagramMap& out);
// The diagram of the type whose regions the mirror type's facets use.
const FaceType* GetMirrorSource(const FaceType* type);

// The vertices of a diagram sorted by x, found by position.
class DiagramVertexIndex
{
public:
    explicit DiagramVertexIndex(const FaceType* type);
    // The vertex nearest p within tol per coordinate (widened for points far from the centre).
    SegVert* Find(const Vec2D& p, double tol) const;

private:
    std::vector<std::pair<double, SegVert*>> mByX;
};

// The edge from one vertex to the other; null when they are not neighbours.
StellationEdge* FindEdgeBetween(SegVert* from, SegVert* to);
// The image of the edge under the map, as the edge whose region is the image of the edge's region:
// reversed for a map that turns the sense round. Null when an end has no image in the index.
StellationEdge* MapEdge(const DiagramVertexIndex& index, const StellationEdge* edge, const DiagramMap& map);
// The edges leaving a vertex, clockwise; empty after a broken ring.
std::vector<StellationEdge*> GetEdgesAround(const SegVert* vert);
// The edge's direction along its line, from start to end, as a unit vector.
Vec2D GetEdgeDirection(const StellationEdge* edge);
