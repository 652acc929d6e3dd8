#pragma once

#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

class FaceDiagram;
class TriangulationScratch;

// The working state while the corners of one plane are fed; the caller provides it. Points are
// projected to (p[u], p[v]), dropping the axis where the normal is largest.
struct OutlineFeederState
{
    int32_t axis = 2;
    int32_t u = 0;
    int32_t v = 1;
    Vec3D normal;
    double offset = 0.0;  // the plane is normal . p = offset, taken from the first point
    Vec2D first{kUnsetValue, 0.0};  // first.x at kUnsetValue: no contour is open
    Vec2D last;
    const void* owner = nullptr;
    FaceDiagram* diagram = nullptr;
};

// Sends the corners of one planar face into a FaceDiagram and answers the filled areas as
// triangles with 3D points: the plain way to fill a star or self-overlapping face. A feeder serves
// one face: Begin, points and loop ends, Finish, then the caller takes the arrays. Without a
// scratch pool the feeder allocates the arrays itself and hands them over; with one they belong to
// the pool.
class OutlineFeeder
{
public:
    explicit OutlineFeeder(TriangulationScratch* pool = nullptr) : mPool(pool) {}
    OutlineFeeder(const OutlineFeeder&) = delete;
    OutlineFeeder& operator=(const OutlineFeeder&) = delete;

    // Chooses the projection for the normal (ties go to the later axis) and begins the diagram,
    // whose owners are not asked anything.
    static void Begin(const Vec3D& normal, FaceDiagram& diagram, OutlineFeederState& state);
    static void AddPoint(const Vec3D& point, OutlineFeederState& state);
    // Closes the open contour and names the owner of the next one.
    static void EndLoop(const void* owner, OutlineFeederState& state);
    // Closes the last contour, finishes and empties the diagram, and fills the arrays with the
    // diagram's vertices lifted back into the plane and the triangles of its filled areas, turned
    // to run counterclockwise about the normal. Answers the index count; -1 when there is no
    // diagram or memory runs out.
    int Finish(OutlineFeederState& state);

    // The arrays the feeder allocated, handed to the caller; null with a pool.
    std::unique_ptr<Vec3D[]> TakePoints() { return std::move(mOwnedPoints); }
    std::unique_ptr<int32_t[]> TakeIndices() { return std::move(mOwnedIndices); }

    TriangulationScratch* mPool;
    Vec3D* mPoints = nullptr;  // one per diagram vertex, by vertex number
    int32_t mPointCount = 0;
    int32_t mIndexCount = 0;
    int32_t* mIndices = nullptr;  // three per triangle, into mPoints

private:
    std::unique_ptr<Vec3D[]> mOwnedPoints;
    std::unique_ptr<int32_t[]> mOwnedIndices;
};
