#pragma once

#include "kernel/Vec3D.h"

// Takes the points of a zoom-to-fit pass one at a time. Core code that sizes a figure feeds one;
// the view behind it widens its own fit record with each point (in the view's axes).
class FitPointSink
{
public:
    virtual ~FitPointSink() = default;
    virtual void ExtendFit(const Vec3D& point) = 0;
};
