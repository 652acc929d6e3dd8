#include "operations/PickedPoints.h"

#include "kernel/Tolerance.h"

#include <array>
#include <cfloat>

namespace
{
constexpr std::array<Vec4D, kNumMeasurePoints> UnsetPoints()
{
    std::array<Vec4D, kNumMeasurePoints> points{};
    for (Vec4D& point : points)
        point.x = DBL_MAX;
    return points;
}

std::array<Vec4D, kNumMeasurePoints> gPoints = UnsetPoints();
PickedPoints gSets[kNumPickedSets] = {
    {0, {6, 7, 8, 9}},
    {0, {10, 11, 12, 13}},
    {0, {14, 15, 16, 17}},
};
int32_t gSegment = 0;
double gAngle = DBL_MAX;
}  // namespace

void UnsetMeasurePoint(Vec4D& point)
{
    point = Vec4D{DBL_MAX, 0.0, 0.0, 0.0};
}

bool IsMeasurePointSet(const Vec4D& point)
{
    return point.x != DBL_MAX;
}

void PickedPoints::Init(int k)
{
    for (int i = 0; i < 4; ++i)
        mSlots[i] = 4 * k + kFirstPickedPoint + i;
    Reset();
}

void PickedPoints::Reset()
{
    mCount = 0;
    for (int i = 0; i < 4; ++i)
        UnsetMeasurePoint(GetPoint(i));
}

Vec4D& PickedPoints::GetPoint(int i) const
{
    return gPoints[mSlots[i]];
}

bool PickedPoints::AllSet() const
{
    if (mCount <= 0)
        return false;
    for (int i = 0; i < mCount; ++i)
        if (!IsMeasurePointSet(GetPoint(i)))
            return false;
    return true;
}

void PickedPoints::Centroid(Vec4D& out) const
{
    out = Vec4D{};
    if (mCount <= 0)
        return;
    for (int i = 0; i < mCount; ++i)
    {
        const Vec4D& p = GetPoint(i);
        out.x += p.x;
        out.y += p.y;
        out.z += p.z;
        out.w += p.w;
    }
    out.x /= mCount;
    out.y /= mCount;
    out.z /= mCount;
    out.w /= mCount;
}

Vec4D* GetMeasurePoints()
{
    return gPoints.data();
}

PickedPoints* GetPickedSets()
{
    return gSets;
}

int32_t& MeasureSegment()
{
    return gSegment;
}

double& MeasureAngle()
{
    return gAngle;
}

bool GetMeasuredSegment(Vec4D& a, Vec4D& b)
{
    if (gSegment < 0 || gSegment + 1 >= kNumMeasurePoints)
        return false;
    if (!IsMeasurePointSet(gPoints[gSegment]) || !IsMeasurePointSet(gPoints[gSegment + 1]))
        return false;
    a = gPoints[gSegment];
    b = gPoints[gSegment + 1];
    return true;
}

double GetMeasuredDistance()
{
    Vec4D a, b;
    if (!GetMeasuredSegment(a, b))
        return DBL_MAX;
    Vec4D d;
    Vec4Sub(d, b, a);
    const double length = Vec4Length(d);
    return length < kTol ? 0.0 : length;
}

void ResetMeasurement()
{
    for (Vec4D& point : gPoints)
        UnsetMeasurePoint(point);
    for (PickedPoints& set : gSets)
        set.Reset();
    gSegment = 0;
    gAngle = DBL_MAX;
}
