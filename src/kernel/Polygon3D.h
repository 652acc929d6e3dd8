#pragma once

#include "kernel/Triangulation2D.h"
#include "kernel/Vec3D.h"

struct RingList;
struct RingVert;

// A planar polygon in space with its own frame: above all the polygon the user draws point by point
// as a facet of a faceted model. It keeps its points as a vertex ring in the order given, the simple
// rings that ring splits into and the triangulation of its interior. Polygons form singly linked
// lists whose owner keeps the first and the last; the list owns its polygons and each polygon owns
// its triangulation, its ring and its ring list.
class Polygon3D
{
public:
    // An empty polygon appended to the list given by its first and last polygon.
    Polygon3D(Polygon3D*& first, Polygon3D*& last);
    ~Polygon3D();
    Polygon3D(const Polygon3D&) = delete;
    Polygon3D& operator=(const Polygon3D&) = delete;

    // Drops the triangulation, the ring and the ring list; the frame keeps its values.
    void Clear();
    // Polygons before this one counting from first; -1 when it is not in that list.
    int ListIndex(const Polygon3D* first) const;
    // Frees the last point given; the last point of all empties the polygon. The caller prepares
    // the polygon again.
    void RemoveLastVert();

    Triangulation2D mTriangulation;
    RingVert* mRing = nullptr;   // the points in the order given; null while there is none
    RingList* mRings = nullptr;  // the simple rings, null until prepared
    Vec3D mCentroid;
    Vec3D mXAxis;
    Vec3D mYAxis;  // mNormal x mXAxis
    Vec3D mNormal;
    Polygon3D* mNext = nullptr;
};

// Deletes every polygon of the list; first becomes null.
void FreePolygon3DList(Polygon3D*& first);
// Polygons in the list; 0 for null.
int ListCount(const Polygon3D* first);
