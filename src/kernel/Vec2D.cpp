#include "kernel/Vec2D.h"

double PseudoAngle2D(const Vec2D& v)
{
    const double ax = std::fabs(v.x);
    const double ay = std::fabs(v.y);
    double r = ax >= ay ? ay / ax : 2.0 - ax / ay;
    if (v.x < 0.0)
        r = 4.0 - r;
    if (v.y < 0.0)
        r = -r;
    return r;
}
