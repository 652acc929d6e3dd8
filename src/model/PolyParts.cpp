#include "model/Poly.h"

#include "kernel/Palette.h"
#include "kernel/Tolerance.h"
#include "model/CompoundPart.h"
#include "model/FaceVert.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"

#include <cmath>
#include <vector>

namespace
{
// Colours the start's connected part (mark 0x100, which the caller clears); with onlySameColor
// only the elements of the start's colour change, but the walk passes through the others.
void FloodFillColor(FaceVert* start, const ColorRGB& color, bool onlySameColor)
{
    Poly* poly = start->mPoly;
    std::vector<FaceVert*> buffer(size_t(poly->mFaces.mCount) + size_t(poly->mVerts.mCount) + 1);
    const ColorRGB original = start->mColor;
    const int count = start->CollectConnected(buffer.data());
    for (int i = 0; i < count; ++i)
    {
        FaceVert* e = buffer[size_t(i)];
        if (onlySameColor && (e->mColor.r != original.r || e->mColor.g != original.g || e->mColor.b != original.b))
            continue;
        e->mColor = color;
        e->mBackColor = color;
    }
}
}  // namespace

bool Poly::FindCompoundParts()
{
    CompoundPart::FreeList(mFirstPart, mLastPart);
    // The marks are this analysis's own: a second run must not meet the first run's.
    ClearElementFlags(FaceVert::kVisitMark | FaceVert::kInvertMark | FaceVert::kOneSided);
    const int capacity = mFaces.mCount + mVerts.mCount;
    std::vector<FaceVert*> buffer(size_t(capacity > 0 ? capacity : 1));
    GetVertStellation()->CalcFaceTypeAreas();
    mVolume = 0.0;
    mDualVolume = 0.0;
    bool mixed = false;
    for (FaceVert* face = mFaces.mFirst; face; face = face->mNext)
    {
        if (face->mFlags & FaceVert::kVisitMark)
            continue;
        CompoundPart* part = new CompoundPart;
        part->mFirstFace = face;
        if (mLastPart)
            mLastPart->mNext = part;
        else
            mFirstPart = part;
        mLastPart = part;

        double vertSum = 0.0;
        double faceSum = FindCompoundPart(part, face, buffer.data(), capacity, vertSum, mixed);
        if (part->mFlags & CompoundPart::kOneSided)
            MarkCompoundPartOneSided(face, buffer.data(), capacity);
        else
        {
            const bool invertFaces = faceSum < -kTol;
            const bool invertVerts = vertSum < -kTol;
            if (invertFaces || invertVerts)
            {
                InvertCompoundPart(face, invertFaces, invertVerts, buffer.data(), capacity);
                faceSum = std::fabs(faceSum);
                vertSum = std::fabs(vertSum);
            }
            part->mVolume = faceSum / 3.0;
            mVolume += part->mVolume;
            mDualVolume += vertSum;
        }
        part->mNumEdges /= 2;
    }
    mDualVolume *= 1.0 / 3.0;
    if (IsZeroTol(mVolume, kTol))
        mVolume = 0.0;
    if (IsZeroTol(mDualVolume, kTol))
        mDualVolume = 0.0;
    ClearElementFlags(FaceVert::kVisitMark | FaceVert::kInvertMark);
    return mixed;
}

void Poly::CalcSurfaceAreas()
{
    for (int side = 0; side < 2; ++side)
    {
        double sum = 0.0;
        for (const FaceType* type = mStellations[side].mFirstFaceType; type; type = type->mNextFaceType)
            sum += type->mCount * type->mArea;
        (side == 0 ? mSurfaceArea : mDualSurfaceArea) = sum;
    }
}

int Poly::GetGenus() const
{
    if (mPolytope)
        return mPolytope->GetGenus();
    int genus = 1;
    for (const CompoundPart* part = mFirstPart; part; part = part->mNext)
        genus += part->GetGenus() - 1;
    return genus;
}

CompoundPart* Poly::FindPartOf(FaceVert* element)
{
    if (!element)
        return nullptr;
    std::vector<FaceVert*> buffer(size_t(mFaces.mCount) + size_t(mVerts.mCount) + 1);
    CompoundPart* found = nullptr;
    for (CompoundPart* part = mFirstPart; part && !found; part = part->mNext)
    {
        if (!part->mFirstFace || (part->mFirstFace->mFlags & FaceVert::kVisitMark))
            continue;
        part->mFirstFace->CollectConnected(buffer.data());
        if (element->mFlags & FaceVert::kVisitMark)
            found = part;
    }
    ClearElementFlags(FaceVert::kVisitMark);
    return found;
}

int Poly::ColorByPart()
{
    NextPaletteColor(nullptr, 0);
    int count = 0;
    for (CompoundPart* part = mFirstPart; part; part = part->mNext)
    {
        ColorRGB color;
        NextPaletteColor(&color, 0);
        if (part->mFirstFace && !(part->mFirstFace->mFlags & FaceVert::kVisitMark))
            FloodFillColor(part->mFirstFace, color, false);
        ++count;
    }
    ClearElementFlags(FaceVert::kVisitMark);
    return count;
}

void Poly::FillPartColor(FaceVert* start, const ColorRGB& color, bool onlySameColor)
{
    if (!start)
        return;
    FloodFillColor(start, color, onlySameColor);
    ClearElementFlags(FaceVert::kVisitMark);
}
