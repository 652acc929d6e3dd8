#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

// One polygon of the model's current 2D cross-section, in a chain that its first node owns:
// destroying a node destroys the rest of the chain.
class SectionPolygon
{
public:
    // A polygon of n points, all zero (none for n <= 0).
    explicit SectionPolygon(int numPoints);
    ~SectionPolygon();
    SectionPolygon(const SectionPolygon&) = delete;
    SectionPolygon& operator=(const SectionPolygon&) = delete;

    int32_t mNumPoints = 0;
    std::unique_ptr<Vec3D[]> mPoints;
    int32_t mSpare[3] = {0, 0, 0};
    SectionPolygon* mNext = nullptr;
};
