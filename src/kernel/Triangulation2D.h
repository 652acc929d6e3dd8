#pragma once

#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

class FaceImage;
struct Transform3D;

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

    // Draws the triangles into the view that draws, a point (x, y) placed at x (first column) +
    // y (second column) + translation of the map. With an image, textured through the image's
    // mapping for the face placement, at the points the texture map (when given) makes of them.
    void Draw(const Transform3D& map, FaceImage* image = nullptr, const Transform3D* facePlacement = nullptr,
              const Transform3D* texMap = nullptr) const;
    // Becomes the concatenation of the n given triangulations, the points of each numbered on from
    // those before it.
    void Combine(int n, const Triangulation2D* inputs);
};
