#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

// One polygon of the model's current 2D cross-section, in a chain that its first node owns:
// destroying a node destroys the rest of the chain.
class FaceVert;

class SectionPolygon
{
public:
    // A polygon of n points, all zero, with no faces (none for n <= 0).
    explicit SectionPolygon(int numPoints);
    ~SectionPolygon();
    SectionPolygon(const SectionPolygon&) = delete;
    SectionPolygon& operator=(const SectionPolygon&) = delete;

    int32_t mNumPoints = 0;
    std::unique_ptr<Vec3D[]> mPoints;
    // The face each point's edge runs on: the edge from point i - 1 to point i lies on the face of
    // point i - 1 (cyclically); null where unknown.
    std::unique_ptr<FaceVert*[]> mFaces;
    ColorRGB mColor;  // the fill colour of the polygon, from its faces
    int32_t mSpare[3] = {0, 0, 0};
    SectionPolygon* mNext = nullptr;
};
