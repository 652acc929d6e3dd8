#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>

// The 2D affine map from a printed drawing's coordinates to the page: x' = a x + b y + c,
// y' = d x + e y + f.
struct PrintTransform2D
{
    double a = 1.0, b = 0.0, c = 0.0;
    double d = 0.0, e = 1.0, f = 0.0;

    Vec2D Apply(const Vec2D& p) const { return Vec2D{a * p.x + b * p.y + c, d * p.x + e * p.y + f}; }
};

// The printed page as core code paints on it (filled diagram areas on printed nets and diagrams).
// The printing code implements it on its device context; points are in the page's device units.
class PrintCanvas
{
public:
    virtual ~PrintCanvas() = default;

    // A solid brush of the packed colour (0x00BBGGRR) for the triangles that follow, until it is
    // released again; the brush it replaced then comes back.
    virtual void SelectSolidBrush(uint32_t rgb) = 0;
    virtual void ReleaseSolidBrush() = 0;
    // Clips the triangle to the printable area and fills it with the brush the caller selected.
    virtual void PaintClippedTriangle(const Vec2D& a, const Vec2D& b, const Vec2D& c) = 0;
};
