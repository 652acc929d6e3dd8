#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Transform3D.h"
#include "kernel/Triangulation2D.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <functional>

struct RingList;
struct RingVert;

// Places model points in a 2D diagram view: the diagram's element projects a point through the
// map; false for a point that does not meet its plane.
class DiagramProjector
{
public:
    virtual ~DiagramProjector() = default;
    virtual bool Project(const Vec3D& point, const Transform3D& map, Vec2D& out) const = 0;
};

// The display settings a drawn polygon's outline and points follow.
struct PolygonDrawStyle
{
    float edgeWidth = 1.0f;  // pixels, before the view's line scale
    float vertSize = 3.0f;   // pixels, before the view's point scale
    ColorRGB edgeColor{1.0f, 1.0f, 0.8f};
    ColorRGB vertColor{1.0f, 1.0f, 0.8f};
};

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

    // Recomputes the normal (pointing away from the origin), the frame, the 2D ring, the split
    // rings and the triangulation; answers the index count, 0 when there is nothing to fill.
    int Prepare();
    // Always true while there are no triangles.
    bool IsInPlane(const Vec3D& point) const;
    // The mean of the points; the ring must not be empty.
    Vec3D GetRingCentre() const;

    // Drawing into the view that draws (the current SceneDrawer). With a projector the points are
    // placed in its 2D diagram. The fill is a translucent light blue; the outline stays open until
    // the owner closes the polygon.
    void DrawFilled(const Transform3D& map, double scale, const DiagramProjector* projector) const;
    void Draw(const Transform3D& map, double scale, const DiagramProjector* projector,
              const PolygonDrawStyle& style) const;

    // Continues the pattern of edge lengths and turns of the points given until the polygon closes.
    // snap may move an added point onto a point of the model. Answers the message for the user, null
    // on success. The polygon is prepared again and the views redrawn unless there were too few
    // points.
    const char* AutoComplete(const std::function<void(Vec3D&)>& snap);

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
