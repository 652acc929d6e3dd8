#include "model/ElemList.h"

#include "kernel/FaceImage.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"

ElemList::~ElemList()
{
    DeleteAll();
}

void ElemList::ResetCounts()
{
    mFlags = 0;
    mCount = 0;
    mNumTexts = 0;
    mNumTranslucent = 0;
    mMaxChordDistance = -1.0;
}

void ElemList::Append(FaceVert* element)
{
    element->mList = this;
    element->mIndex = mCount++;
    element->mNext = nullptr;
    element->mPrev = mLast;
    if (mLast)
        mLast->mNext = element;
    else
        mFirst = element;
    mLast = element;
}

void ElemList::Remove(FaceVert* element)
{
    if (!element || element->mList != this)
        return;
    for (FaceVert* later = element->mNext; later; later = later->mNext)
        --later->mIndex;
    if (element->mPrev)
        element->mPrev->mNext = element->mNext;
    else
        mFirst = element->mNext;
    if (element->mNext)
        element->mNext->mPrev = element->mPrev;
    else
        mLast = element->mPrev;
    element->mNext = element->mPrev = nullptr;
    --mCount;
    // The element keeps its list while it dies, so that its counts leave the list with it.
    delete element;
}

void ElemList::DeleteAll()
{
    mFlags |= kEmptying;
    while (mLast)
        Remove(mLast);
    ResetCounts();
}

void ElemList::Renumber()
{
    int index = 0;
    for (FaceVert* e = mFirst; e; e = e->mNext)
        e->mIndex = index++;
}

FaceVert* ElemList::GetNth(int i) const
{
    if (i < 0 || i >= mCount)
        return nullptr;
    FaceVert* e = mFirst;
    while (e && i-- > 0)
        e = e->mNext;
    return e;
}

ElemList* ElemList::GetOtherList(Poly* poly) const
{
    return poly && this == &poly->mFaces ? &poly->mVerts : nullptr;
}

FaceVert* ElemList::FindAtPoint(const Vec3D& point) const
{
    for (FaceVert* e = mFirst; e; e = e->mNext)
        if (Vec3Equal(e->mPoint, point, kTol))
            return e;
    return nullptr;
}

int ElemList::GetEdgeIndex(const FaceVert* element, int side) const
{
    if (!element || side < 0 || side >= element->mNumSides)
        return -1;
    // Each edge is counted from its lower-index end: move there first.
    const FaceVert* across = FaceVert::GetAdjacent(element, side);
    if (FaceVert::GetIndex(across) < element->mIndex)
    {
        int backSide = side;
        across = FaceVert::GetAdjacentAndSide(element, backSide);
        if (!across || backSide < 0)
            return -1;
        element = across;
        side = backSide;
    }
    int count = 0;
    for (const FaceVert* e = mFirst; e; e = e->mNext)
    {
        for (int i = 0; i < e->mNumSides; ++i)
        {
            if (e == element && i == side)
                return count;
            if (FaceVert::GetIndex(FaceVert::GetAdjacent(e, i)) >= e->mIndex)
                ++count;
        }
    }
    return -1;
}

bool ElemList::AllSameColor(const ElemList* list)
{
    if (!list || !list->mFirst)
        return true;
    const ColorRGB& first = list->mFirst->mColor;
    for (const FaceVert* e = list->mFirst->mNext; e; e = e->mNext)
        if (e->mColor.r != first.r || e->mColor.g != first.g || e->mColor.b != first.b)
            return false;
    return true;
}

bool ElemList::HasOtherImage(const FaceImage* image) const
{
    if (!FaceImagesExist())
        return false;
    for (const FaceVert* e = mFirst; e; e = e->mNext)
    {
        const FaceImage* own = e->mImage.Get();
        if (own && own != image)
            return true;
    }
    return false;
}

void ElemList::CalcDensities()
{
    for (FaceVert* e = mFirst; e; e = e->mNext)
        e->CalcDensity();
}
