#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>
#include <memory>

// A triangulated set of 2D points: three indices into points per triangle. indexCount is -1 when
// there is no triangulation. Held by the drawn polygons, which fill both arrays.
struct Triangulation2D
{
    std::unique_ptr<Vec2D[]> points;
    int32_t indexCount = -1;
    std::unique_ptr<int32_t[]> indices;

    void Clear()
    {
        points.reset();
        indices.reset();
        indexCount = -1;
    }
};
