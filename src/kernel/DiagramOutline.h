#pragma once

#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"

#include <cstdint>

class DiagramPools;
class DiagramWorkPools;
class FaceDiagram;
class FaceType;
class LoopTypeHolder;
struct LoopTypeTriangles;

// The working state while 2D contours are fed into a diagram; the caller provides it.
struct OutlineFeeder2D
{
    Vec2D first{kUnsetValue, 0.0};  // first.x at kUnsetValue: no contour is open
    Vec2D last;
    const void* owner = nullptr;
    bool reverse = false;  // every edge of the contour is sent backwards
    FaceDiagram* diagram = nullptr;
};

// The result of one 2D face diagram fed with outlines in a face's own frame: the points of the
// diagram's vertices and the triangles of each region class. The region classes themselves go to
// the LoopTypeHolder named when the diagram is finished. Everything lives in the work pools the
// diagram was given; the outline owns nothing.
class DiagramOutline
{
public:
    DiagramOutline() { Clear(); }
    DiagramOutline(const DiagramOutline&) = delete;
    DiagramOutline& operator=(const DiagramOutline&) = delete;

    // Empty: no owner kind, no count, no arrays.
    void Clear();
    void Reset() { Clear(); }
    bool IsEmpty() const { return mLoopTypeCount < 0; }

    // Begins the diagram for the owner kind, without callbacks; pools and work pools, when given,
    // replace the diagram's. The results of a diagram finished in the shared work pools are gone
    // with the reset that ends Finish, so a caller that keeps them gives work pools of its own.
    void Begin(FaceDiagram& diagram, int ownerKind, DiagramPools* pools, DiagramWorkPools* workPools,
               OutlineFeeder2D& feeder);
    // Closes the open contour and starts the next one for the owner, sent backwards with reverse.
    static void AddPointCallback(const void* owner, bool reverse, OutlineFeeder2D& feeder);
    static void AddPoint(const Vec2D& point, OutlineFeeder2D& feeder);
    // Closes the last contour and finishes the diagram (flags FaceDiagram::kFinish...; with a face
    // type its faces get copies of the loop types); the points and triangles come here, the loop
    // types to the holder. The shared diagram pools are reset afterwards. False when the feeder
    // has no diagram, memory runs out or the loops could not be built.
    bool Finish(OutlineFeeder2D& feeder, LoopTypeHolder& holder, uint32_t flags, FaceType* faceType);

    int32_t mOwnerKind = -1;
    int32_t mLoopTypeCount = -1;
    LoopTypeTriangles* mLoopTypeTriangles = nullptr;
    Vec2D* mPoints = nullptr;  // one per diagram vertex, by vertex number
    int32_t mPointCount = 0;
};
