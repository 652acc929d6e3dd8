#include "kernel/PointList.h"

#include <new>

void PointList::Init(double tol)
{
    Free();
    mTol = tol;
}

int PointList::Find(const Vec3D& p) const
{
    int index = 0;
    for (const PointListNode* node = mFirst; node; node = node->next, ++index)
        if (Vec3Equal(node->point, p, mTol))
            return index;
    return -1;
}

int PointList::Add(const Vec3D& p, bool* isNew)
{
    const int found = Find(p);
    if (isNew)
        *isNew = found < 0;
    if (found >= 0)
        return found;

    PointListNode* node = new (std::nothrow) PointListNode;
    if (!node)
    {
        if (isNew)
            *isNew = false;
        return -1;
    }
    node->point = p;
    Vec3SnapZero(node->point, mTol);
    if (mLast)
        mLast->next = node;
    else
        mFirst = node;
    mLast = node;
    return mCount++;
}

void PointList::Free()
{
    while (mFirst)
    {
        PointListNode* next = mFirst->next;
        delete mFirst;
        mFirst = next;
    }
    mLast = nullptr;
    mCount = 0;
}
