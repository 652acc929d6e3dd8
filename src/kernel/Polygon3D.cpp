#include "kernel/Polygon3D.h"

#include "kernel/LinkNode.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"

Polygon3D::Polygon3D(Polygon3D*& first, Polygon3D*& last)
{
    if (last)
        last->mNext = this;
    else
        first = this;
    last = this;
}

Polygon3D::~Polygon3D()
{
    Clear();
}

void Polygon3D::Clear()
{
    mTriangulation.Clear();
    FreeRing(mRing);
    mRing = nullptr;
    FreeRingList(mRings);
    mRings = nullptr;
}

int Polygon3D::ListIndex(const Polygon3D* first) const
{
    int index = 0;
    for (const Polygon3D* p = first; p; p = p->mNext, ++index)
        if (p == this)
            return index;
    return -1;
}

void Polygon3D::RemoveLastVert()
{
    if (mRing && mRing->next != mRing)
    {
        RingVert* last = mRing->prev;
        RingUnlink(last);
        FreeRingVert(last);
        return;
    }
    Clear();
}

void FreePolygon3DList(Polygon3D*& first)
{
    while (first)
    {
        Polygon3D* next = first->mNext;
        delete first;
        first = next;
    }
}

int ListCount(const Polygon3D* first)
{
    int n = 0;
    for (; first; first = first->mNext)
        ++n;
    return n;
}
