#include "view/ViewOrientation.h"

#include "model/SymAxisSet.h"
#include "model/SymGroup.h"

#include <cmath>

namespace
{
constexpr double kUnsetBest = 9.99999e99;
constexpr double kParallelTol = 1e-7;

// The component of largest magnitude; ties go to the later one.
int MaxAxis(const Vec3D& d)
{
    const double ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    const int xy = ax > ay ? 0 : 1;
    const double larger = xy == 0 ? ax : ay;
    return az < larger ? xy : 2;
}
}  // namespace

Vec3D ChooseUpVector(const Vec3D& d, const SymGroup* group)
{
    double best = kUnsetBest;
    Vec3D candidate{0, 0, 0};
    const int k = MaxAxis(d);
    if (group && std::fabs(d[k]) > kParallelTol)
        for (int set = 0; set < group->mNumAxisSets; ++set)
        {
            const SymAxisSet& axes = group->mAxisSets[size_t(set)];
            for (int i = 0; i < axes.mNumAxes; ++i)
            {
                const Vec3D& a = axes.mAxes[size_t(i)].mDir;
                const double e = a[k] / d[k];
                if (std::fabs(a.x - e * d.x) <= kParallelTol && std::fabs(a.y - e * d.y) <= kParallelTol &&
                    std::fabs(a.z - e * d.z) <= kParallelTol)
                    continue;
                const double p = std::fabs(Vec3Dot(a, d));
                if (p < best - kParallelTol)
                {
                    best = p;
                    candidate = a;
                }
            }
        }
    Vec3D up;
    if (best != kUnsetBest)
    {
        Vec3D side;
        Vec3Cross(side, d, candidate);
        Vec3Cross(up, side, d);
    }
    else
    {
        Vec3D axis{0, 0, 0};
        axis[Vec3MinAxis(d)] = 1.0;
        Vec3Cross(up, d, axis);
    }
    Vec3Normalize(up);
    return up;
}

int ExportOrientationAxis(int code)
{
    if (code >= 2 && code <= 4)
        return code - 2;
    if (code >= 6 && code <= 8)
        return code - 6;
    return -1;
}

float& RememberedRotateAngle(int axis)
{
    static float angles[3] = {90.0f, 90.0f, 90.0f};
    return angles[axis < 0 || axis > 2 ? 0 : axis];
}
