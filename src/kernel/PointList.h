#pragma once

#include "kernel/Vec3D.h"

// One node of a PointList.
struct PointListNode
{
    Vec3D point;
    PointListNode* next = nullptr;
};

// Distinct 3D points in order of insertion, indexed from 0; two points within mTol in every
// component count as one. The list owns its nodes.
class PointList
{
public:
    PointList() = default;
    ~PointList() { Free(); }
    PointList(const PointList&) = delete;
    PointList& operator=(const PointList&) = delete;

    // Empties the list and sets its tolerance.
    void Init(double tol);

    // Index of the first stored point within tolerance of p, or -1.
    int Find(const Vec3D& p) const;

    // The index of p's stored point: an earlier one within tolerance, or a new node holding p with
    // components near 0 made exactly 0. -1 when memory runs out.
    int Add(const Vec3D& p, bool* isNew = nullptr);

    void Free();

    double Tolerance() const { return mTol; }
    int Count() const { return mCount; }
    const PointListNode* First() const { return mFirst; }

private:
    double mTol = 0.0;
    int mCount = 0;
    PointListNode* mFirst = nullptr;
    PointListNode* mLast = nullptr;
};
