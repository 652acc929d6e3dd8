#pragma once

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "polytope4d/Polytope4D.h"

#include <new>

// Small helpers of the completion steps: typed walks along the element lists, arrays sized by the
// input, and the checks that keep broken input from being read.
namespace Lists4D
{
template <class Elem>
Elem* Next(const Elem* e)
{
    return static_cast<Elem*>(e->next);
}

inline Vert4D* FirstVert(const Polytope4D& p)
{
    return static_cast<Vert4D*>(p.mFirstVert);
}

inline Edge4D* FirstEdge(const Polytope4D& p)
{
    return static_cast<Edge4D*>(p.mFirstEdge);
}

inline Face4D* FirstFace(const Polytope4D& p)
{
    return static_cast<Face4D*>(p.mFirstFace);
}

inline Cell4D* FirstCell(const Polytope4D& p)
{
    return static_cast<Cell4D*>(p.mFirstCell);
}

// Zeroed slots, sized by the input: a failed allocation is reported and gives null, which callers
// treat as no room at all.
template <class T>
T* NewSlots(int count)
{
    T* slots = new (std::nothrow) T[count > 0 ? count : 1]();
    if (!slots)
        InternalError("Polytope4D: no memory for %d elements", count);
    return slots;
}

inline bool HasAllCorners(const Face4D& face)
{
    for (int k = 0; k < face.mNumSides; ++k)
    {
        if (!face.mVerts[k])
            return false;
    }
    return true;
}

inline void SnapToZero(Vec4D& v)
{
    for (int axis = 0; axis < 4; ++axis)
    {
        if (IsZeroTol(v[axis], kTol))
            v[axis] = 0.0;
    }
}
}  // namespace Lists4D
