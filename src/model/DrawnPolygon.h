#pragma once

#include "kernel/Polygon3D.h"
#include "kernel/Transform3D.h"

class FaceVert;
class Poly;
class SymGroup;

// What a drawn polygon (kernel/Polygon3D.h) needs of the model: its display settings, the 2D
// diagram of an element, the model's points to snap to and the symmetry group.

// Places points in the diagram of a face or vertex (its plane seen from its point).
class FaceVertProjector final : public DiagramProjector
{
public:
    explicit FaceVertProjector(const FaceVert& element) : mElement(element) {}
    bool Project(const Vec3D& point, const Transform3D& map, Vec2D& out) const override;

private:
    const FaceVert& mElement;
};

// Facets have been drawn and the faceting is being entered or stepped through facet by facet: the
// vertices are then coloured by the plane of the polygon being drawn.
bool FacetsExist(const Poly& poly);

// "Line Width for Edges...", "Size for Drawing Vertices...", the default edge and vertex colours.
PolygonDrawStyle GetPolygonDrawStyle();

// Draws the polygon in the model view, or in the 2D diagram of element when one is given.
void DrawPolygon3D(const Polygon3D& polygon, const Transform3D& map, double scale, const FaceVert* element);

// Auto-completion whose added points snap onto the model's vertices, else onto the poles of its
// faces (the vertices of the dual), within 1e-7.
const char* AutoCompletePolygon(Polygon3D& polygon, const Poly& poly);

// The order of the axis class along the polygon's normal; 1 when there is none.
int GetAxisOrder(const Polygon3D& polygon, SymGroup& group);
// The largest order of rotation about that axis that carries each vertex onto the one the same
// number of steps further along the ring; 1 when none does.
int GetRotationOrder(const Polygon3D& polygon, SymGroup& group);
// Some improper operation of the group maps the polygon onto itself, in either sense round.
bool HasImproperSymmetry(const Polygon3D& polygon, const SymGroup& group);
