#pragma once

#include "kernel/Vec4D.h"

#include <cstdint>

// The state of the measurement mode: one pool of 18 points (entries 0-5 the derived measurement
// points, then four entries for each of the three picked sets), the three sets of picked points
// (set 0 the current item), the measured segment and the directly measured angle. Program-wide;
// every new or rebuilt model starts it afresh.

inline constexpr int kNumMeasurePoints = 18;
inline constexpr int kNumPickedSets = 3;
inline constexpr int kFirstPickedPoint = 6;

// The points of one measured item (a point, a line, a plane or a 4D hyperplane), as slots into the
// pool; it owns nothing.
struct PickedPoints
{
    // Binds slot i to pool entry 4k + 6 + i, then Reset.
    void Init(int k);
    // No points, and the set's four pool points unset.
    void Reset();
    // Point i of the set; i is 0..3 and not checked against the count.
    Vec4D& GetPoint(int i) const;
    // Some points, and none of them unset.
    bool AllSet() const;
    // The mean of the set's points (unset ones included); zero for an empty set.
    void Centroid(Vec4D& out) const;

    int32_t mCount = 0;
    int32_t mSlots[4] = {0, 0, 0, 0};
};

// An unset point has x = the largest double and zeros elsewhere.
void UnsetMeasurePoint(Vec4D& point);
bool IsMeasurePointSet(const Vec4D& point);

// The pool of 18 points.
Vec4D* GetMeasurePoints();
// The three sets; set 0 is the current item.
PickedPoints* GetPickedSets();
// The pool index of the first end of the measured segment (the second is the next entry); -1
// when the two items meet.
int32_t& MeasureSegment();
// An angle measured directly, radians; the largest double for none.
double& MeasureAngle();

// The two ends of the measured segment; false unless both are set.
bool GetMeasuredSegment(Vec4D& a, Vec4D& b);
// The length of the measured segment: the largest double when nothing is measured, 0 below 1e-7.
double GetMeasuredDistance();

// Every set empty, every pool point unset, the segment 0 and no angle.
void ResetMeasurement();
