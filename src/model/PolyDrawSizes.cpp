#include "kernel/RenderSettings.h"
#include "model/ElementDisplayOptions.h"
#include "model/Poly.h"

#include <cmath>

namespace
{
double CountMeasure(const Poly& poly, int count)
{
    if (count < 0)
        count = poly.mFaces.mCount + poly.mVerts.mCount;
    if (count == 0)
        count = 30;
    return 1.0 / std::sqrt(double(count));
}
}  // namespace

double Poly::GetTextSize(int side, double meanEdgeLength, int count, double size, double length)
{
    const RenderSettings& settings = GetRenderSettings();
    double base;
    switch (settings.textSizeMode)
    {
    case 0:
        base = 1.0;
        break;
    case 1:
        base = 10.0 * CountMeasure(*this, count);
        break;
    case 2:
        base = 2.0 * meanEdgeLength;
        break;
    case 3:
        if (side == 1)
            base = length > 0.0 ? length : GetRadius();
        else
            base = size > 0.0 ? size : 1.0;
        break;
    default:
        base = length;
        break;
    }
    return base * settings.textSize;
}

double Poly::GetVertexSphereRadius(int side, double meanEdgeLength, int count, double size, double length)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const double b = options.mSphereRad * mDisplayScale;
    switch (options.mSphereRadBasedOn)
    {
    case 0:
        return b * CountMeasure(*this, count);
    case 1:
        return b * meanEdgeLength;
    case 2:
        if (side == 0)
            return size > 0.0 ? b * size : b;
        return length > 0.0 ? b * length : b * GetRadius();
    case 3:
        return b;  // the sphere options keep no length of their own yet
    default:
        return b * length;
    }
}
