#pragma once

#include "kernel/FaceDiagram.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>

class DiagramWorkPools;
class OwnerCallbacks;
struct LoopType;
struct LoopTypeTriangles;

// The working state while the polygons of one plane are fed; it holds the diagram they go into.
// Points are projected to (p[u], p[v]), dropping the axis where the normal is largest; u and v
// are exchanged when the normal points down that axis, so outlines keep their turn as seen from
// the normal's side.
struct PlaneFeeder
{
    int32_t axis = 2;
    int32_t u = 0;
    int32_t v = 1;
    Vec3D normal;
    double offset = 0.0;  // the plane is normal . p = offset, taken from each contour's first point
    Vec2D first{kUnsetValue, 0.0};  // first.x at kUnsetValue: no contour is open
    Vec2D last;
    const void* owner = nullptr;
    FaceDiagram diagram;
};

// The triangles of the polygons of one plane, made through a FaceDiagram: the region classes with
// their colours and their triangles, over the diagram's vertices lifted back into 3D. The display
// mesh keeps one per group of coplanar faces, with itself as the owners' callbacks. Everything
// lives in the work pools given to Begin and stays valid until those are reset.
class PlaneTriangulation
{
public:
    // The item type a pick of an area answers with; the index is the owner's (GetOwnerIndex).
    static constexpr int kPickItemType = 15;

    // Maps a point of the plane to where it is drawn; owner is the loop type's first owner.
    using PointMap = void (*)(Vec3D& out, const Vec3D& in, const void* owner, void* userData);

    PlaneTriangulation() { Clear(); }
    PlaneTriangulation(const PlaneTriangulation&) = delete;
    PlaneTriangulation& operator=(const PlaneTriangulation&) = delete;

    // No owner kind, every other field null or 0.
    void Clear();
    // Starts the plane: projection, an empty diagram in the shared pools with its results going to
    // the work pools, and this result cleared for the owner kind.
    void Begin(const Vec3D& normal, DiagramWorkPools* workPools, int ownerKind, OwnerCallbacks* callbacks,
               PlaneFeeder& feeder);
    // Closes the open contour and names the owner of the next one.
    static void EndContour(const void* owner, PlaneFeeder& feeder);
    static void AddPoint(const Vec3D& point, PlaneFeeder& feeder);

    // The colours again under the option word (PolygonFillOptions).
    void Recolor(uint32_t options, OwnerCallbacks* callbacks);
    // The areas through the translucent queue, moved by offset and drawn with the plane's normal.
    // selectedOnly draws the selected areas alone, white and half transparent; picking names each
    // area after the owner a pick of it goes to.
    void Draw(const Vec3D& normal, const Vec3D& offset, double scale, bool picking, bool selectedOnly,
              OwnerCallbacks* callbacks) const;
    // The same with every point placed by the caller's map; the normal is that of the first
    // triangle drawn, as mapped.
    void DrawMapped(PointMap map, void* userData, double scale, bool picking, bool selectedOnly,
                    OwnerCallbacks* callbacks) const;

    int32_t mOwnerKind = -1;
    int32_t mLoopTypeCount = 0;
    LoopType* mLoopTypes = nullptr;
    LoopTypeTriangles* mLoopTypeTriangles = nullptr;
    Vec3D* mPoints = nullptr;  // one per diagram vertex, by vertex number
    int32_t mPointCount = 0;

private:
    void DrawAreas(const Vec3D* normal, const Vec3D& offset, PointMap map, void* userData, double scale,
                   bool picking, bool selectedOnly, OwnerCallbacks* callbacks) const;
};

// Closes the last contour, finishes the diagram (flags FaceDiagram::kFinishCancel and
// kFinishNonOrientable), lifts its vertices back into the plane and takes its region classes and
// triangles; then empties the diagram, which resets the shared pools. False when the loops could not
// be built or memory runs out; what was made is kept.
bool FinishTriangulation(PlaneTriangulation& result, PlaneFeeder& feeder, uint32_t flags);
