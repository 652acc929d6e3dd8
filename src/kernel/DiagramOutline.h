#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>

struct LoopTypeTriangles;

// The result of one 2D face diagram fed with outlines in a face's own frame: the points of the
// diagram's vertices and the triangles of each region class. The region classes themselves go to
// the LoopTypeHolder named when the diagram is finished. Everything lives in the work pools the
// feeder was given; the outline owns nothing.
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

    int32_t mOwnerKind = -1;
    int32_t mLoopTypeCount = -1;
    LoopTypeTriangles* mLoopTypeTriangles = nullptr;
    Vec2D* mPoints = nullptr;
};
