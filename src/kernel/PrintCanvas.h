#pragma once

#include "kernel/Vec2D.h"

// The printed page as core code paints on it (filled diagram areas on printed nets and diagrams).
// The printing code implements it on its device context; points are in the page's device units.
class PrintCanvas
{
public:
    virtual ~PrintCanvas() = default;

    // Clips the triangle to the printable area and fills it with the brush the caller selected.
    virtual void PaintClippedTriangle(const Vec2D& a, const Vec2D& b, const Vec2D& c) = 0;
};
