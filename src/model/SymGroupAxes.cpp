#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UserServices.h"
#include "model/Poly.h"
#include "model/SymGroup.h"

#include <cstdio>
#include <functional>

namespace
{
// v[k] is the component of largest magnitude (the later one on ties): dir matches when it is
// v scaled by dir[k] / v[k], that is parallel to v in either sense. A v of no size matches anything.
bool ParallelByLargest(const Vec3D& dir, const Vec3D& v)
{
    const int k = Vec3MaxAxis(v);
    if (IsZeroTol(v[k], kSymTol))
        return true;
    const double r = dir[k] / v[k];
    return WithinTol(dir.x, r * v.x, kSymTol) && WithinTol(dir.y, r * v.y, kSymTol) &&
           WithinTol(dir.z, r * v.z, kSymTol);
}

bool IsEven(int n)
{
    return n % 2 == 0;
}
}  // namespace

SymAxisSet* SymGroup::FindAxisSetByOrder(int order)
{
    const int i = FindAxisSetIndexByOrder(order);
    return i < 0 ? nullptr : &mAxisSets[i];
}

int SymGroup::FindAxisSetIndexByOrder(int order) const
{
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        if (mAxisSets[s].mOrder == order)
            return s;
    }
    return -1;
}

int SymGroup::GetAxisSetIndex(const SymAxisSet* set) const
{
    for (int s = 0; set && s < mNumAxisSets; ++s)
    {
        if (&mAxisSets[s] == set)
            return s;
    }
    return -1;
}

SymAxisSet* SymGroup::FindAxisSetOf(const SymAxis* axis)
{
    const std::less<const SymAxis*> before;
    for (int s = 0; axis && s < mNumAxisSets; ++s)
    {
        const SymAxis* first = mAxisSets[s].mAxes.get();
        if (first && !before(axis, first) && before(axis, first + mAxisSets[s].mNumAxes))
            return &mAxisSets[s];
    }
    return nullptr;
}

SymAxis* SymGroup::GetAxis(int i)
{
    if (i < 0)
        return nullptr;
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        if (i < mAxisSets[s].mNumAxes)
            return &mAxisSets[s].mAxes[i];
        i -= mAxisSets[s].mNumAxes > 0 ? mAxisSets[s].mNumAxes : 0;
    }
    return nullptr;
}

bool SymGroup::SetAxisReference(int set, int axis, double x, double y, double z)
{
    if (set < 0 || set >= mNumAxisSets || axis < 0 || axis >= mAxisSets[set].mNumAxes)
        return false;
    mAxisSets[set].mAxes[axis].mRef = {x, y, z};
    return true;
}

bool SymGroup::CopyAxisReference(int set, int axis, int otherSet, int otherAxis)
{
    if (otherSet < 0 || otherSet >= mNumAxisSets || otherAxis < 0 || otherAxis >= mAxisSets[otherSet].mNumAxes)
        return false;
    const Vec3D& d = mAxisSets[otherSet].mAxes[otherAxis].mDir;
    return SetAxisReference(set, axis, d.x, d.y, d.z);
}

SymAxis* SymGroup::FindAxis(const Vec3D& v)
{
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        SymAxisSet& set = mAxisSets[s];
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            const Vec3D& d = set.mAxes[i].mDir;
            if (Vec3Equal(d, v, kSymTol) || (!set.mOneSided && Vec3EqualNeg(d, v, kSymTol)))
                return &set.mAxes[i];
        }
    }
    return nullptr;
}

SymAxisSet* SymGroup::FindAxisByDir(const Vec3D& v)
{
    return FindAxisSetOf(FindAxis(v));
}

SymAxisSet* SymGroup::FindAxisByAbsDir(const Vec3D& v)
{
    if (mNumAxisSets <= 0)
        return nullptr;
    if (IsZeroTol(v[Vec3MaxAxis(v)], kSymTol))
        return &mAxisSets[0];
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        for (int i = 0; i < mAxisSets[s].mNumAxes; ++i)
        {
            if (ParallelByLargest(mAxisSets[s].mAxes[i].mDir, v))
                return &mAxisSets[s];
        }
    }
    return nullptr;
}

SymAxis* SymGroup::FindPerpendicularAxis(const Vec3D& d, const Vec3D* w)
{
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        SymAxisSet& set = mAxisSets[s];
        if (!IsEven(set.mOrder))
            continue;
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            const Vec3D& dir = set.mAxes[i].mDir;
            if (IsZeroTol(Vec3Dot(dir, d), kSymTol) && (!w || ParallelByLargest(dir, *w)))
                return &set.mAxes[i];
        }
    }
    return nullptr;
}

SymAxis* SymGroup::FindNextPerpendicularAxis(const Vec3D& d, const SymAxis* previous)
{
    int s = 0, i = 0;
    if (SymAxisSet* set = FindAxisSetOf(previous))
    {
        s = GetAxisSetIndex(set);
        i = int(previous - set->mAxes.get()) + 1;
    }
    for (; s < mNumAxisSets; ++s, i = 0)
    {
        SymAxisSet& set = mAxisSets[s];
        if (!IsEven(set.mOrder))
            continue;
        for (; i < set.mNumAxes; ++i)
        {
            if (IsZeroTol(Vec3Dot(set.mAxes[i].mDir, d), kSymTol))
                return &set.mAxes[i];
        }
    }
    return nullptr;
}

bool SymGroup::FindMirrorContaining(Vec3D& out, const Vec3D& v) const
{
    for (const SymAxis& mirror : mMirrors)
    {
        if (IsZeroTol(Vec3Dot(mirror.mDir, v), kSymTol))
        {
            out = mirror.mDir;
            return true;
        }
    }
    return false;
}

void SymGroup::ClearAxisMarks()
{
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        for (int i = 0; i < mAxisSets[s].mNumAxes; ++i)
            mAxisSets[s].mAxes[i].mFlags &= ~kSymAxisMarkBits;
    }
}

void SymGroup::SelectAxis(int i)
{
    SymAxis* axis = nullptr;
    if (i >= 0)
    {
        // One thing is selected at a time.
        ClearSelection();
        axis = GetAxis(i);
        if (const SymAxisSet* set = FindAxisSetOf(axis))
        {
            char text[64];
            std::snprintf(text, sizeof text, "Selected %d-fold rotational symmetry axis", int(set->mOrder));
            Services().SetStatusText(text);
        }
    }
    if (axis == SelectedAxis())
        return;
    SetSelectedAxis(axis);
    GetShell().InvalidateAllViews(false, 0);
    if (axis)
        GetShell().UpdatePivotOfLastActiveView();
}
