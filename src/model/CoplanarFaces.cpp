#include "model/CoplanarFaces.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace
{
int CompareWithin(double a, double b)
{
    if (a < b - kTol)
        return -1;
    if (a > b + kTol)
        return 1;
    return 0;
}

// The plane's normal with its first clearly non-zero component made positive, so that both
// normals of one plane sort alike.
Vec3D CanonicalPlaneDirection(const Vec3D& z)
{
    Vec3D d = z;
    for (int k = 0; k < 3; ++k)
    {
        if (IsZeroTol(d[k], kTol))
            continue;
        if (d[k] < 0.0)
            Vec3Negate(d);
        break;
    }
    return d;
}

bool ComesBeforeByPlane(const FaceVert* a, const FaceVert* b)
{
    for (int k = 0; k < 3; ++k)
        if (const int c = CompareWithin(a->mCentre[k], b->mCentre[k]))
            return c < 0;
    if (const int c = Vec3Compare(CanonicalPlaneDirection(a->mZAxis), CanonicalPlaneDirection(b->mZAxis), kTol))
        return c < 0;
    if (a->mFaceType == b->mFaceType)
        return a->mIndex < b->mIndex;
    return FaceType::GetIndex(a->mFaceType) < FaceType::GetIndex(b->mFaceType);
}

bool SamePlane(const FaceVert* a, const FaceVert* b)
{
    return Vec3Equal(a->mCentre, b->mCentre, kTol) &&
           (Vec3Equal(a->mZAxis, b->mZAxis, kTol) || Vec3EqualNeg(a->mZAxis, b->mZAxis, kTol));
}

int TypeIdOf(const FaceVert* e)
{
    return e && e->mFaceType ? e->mFaceType->mTypeId : INT_MIN;
}

// How far the centre of the element across the side lies above the face's plane.
double HeightAcross(const FaceVert* face, int side)
{
    const FaceVert* across = FaceVert::GetAdjacent(face, side);
    return across ? face->DistanceAlongNormal(across->mCentre, face->mCentre) : 0.0;
}

// The offset at which the face's corners and neighbours line up with those of its type's first
// face; -1 when none does. A Hemi face whose heights only match one side on may have its normal
// turned round.
int FindStartOffset(FaceVert* face, const FaceVert* first, int rotations)
{
    const int n = face->mNumSides;
    if (!first || first->mNumSides != n)
        return -1;
    const int tries = n / rotations;
    for (int s = 0; s < tries; ++s)
    {
        bool match = true;
        int i = s;
        for (int j = 0; j < n && match; ++j)
        {
            i = (s + j) % n;
            const FaceVert* mine = face->mNeighbours[i];
            const FaceVert* theirs = first->mNeighbours[j];
            match = mine && theirs && mine->mFaceType == theirs->mFaceType &&
                    TypeIdOf(FaceVert::GetAdjacent(face, i)) == TypeIdOf(FaceVert::GetAdjacent(first, j));
        }
        if (!match || !WithinTol(HeightAcross(first, n - 1), HeightAcross(face, i), kTol))
            continue;
        if ((face->mFlags & FaceVert::kHemi) &&
            !WithinTol(HeightAcross(first, 0), HeightAcross(face, (i + 1) % n), kTol))
        {
            Vec3Negate(face->mZAxis);
            return s + 1 >= tries ? 0 : s + 1;
        }
        return s;
    }
    return -1;
}
}  // namespace

void FindCoplanarFaces(ElemList& list)
{
    TraceScope trace("FindCoplanarFaces");
    std::vector<FaceVert*> sorted;
    sorted.reserve(size_t(list.mCount > 0 ? list.mCount : 0));
    for (FaceVert* e = list.mFirst; e; e = e->mNext)
    {
        e->mNextCoplanar = nullptr;
        e->mFlags &= ~FaceVert::kCoplanar;
        sorted.push_back(e);
    }
    // A comparison within a tolerance is no strict order; a merge sort stays inside the array
    // whatever it meets.
    std::stable_sort(sorted.begin(), sorted.end(), ComesBeforeByPlane);

    FaceVert* first = nullptr;
    FaceVert* last = nullptr;
    for (FaceVert* e : sorted)
    {
        if (first && SamePlane(e, first))
        {
            last->mNextCoplanar = e;
            e->mNextCoplanar = first;
            if (e->mFaceType == last->mFaceType)
                e->mFlags |= FaceVert::kCoplanar;
            last = e;
        }
        else
            first = last = e;
    }
}

void ReorientFaceAxes(ElemList& list, FaceType* firstType)
{
    for (FaceVert* face = list.mFirst; face; face = face->mNext)
    {
        face->mFlags &= ~FaceVert::kCoplanar;
        FaceType* type = face->mFaceType;
        if (type && type->mCoplanarSource)
        {
            face->CopyAxesFromRing();
            continue;
        }
        const int n = face->mNumSides;
        const int rotations = type && type->mNumRotations > 0 ? type->mNumRotations : 1;
        if (!type || n == 0 || rotations == n)
            continue;
        int start = FindStartOffset(face, type->mFirstFace, rotations);
        if (start < 0)
        {
            InternalError("ReorientFaceAxes: Couldn't find match for face");
            start = 0;
        }
        face->RotateNeighbours(start, false);
        if (!face->mNeighbours[0])
            continue;
        Vec3D x;
        Vec3Sub(x, face->mNeighbours[0]->mPoint, face->mCentre);
        // A corner on the centre gives no direction: the axes stay as they were.
        if (!Vec3Normalize(x))
            continue;
        Vec3SnapZero(x, kTol);
        face->mXAxis = x;
        Vec3Cross(face->mYAxis, face->mZAxis, face->mXAxis);
        Vec3SnapZero(face->mYAxis, kTol);
    }

    // Of two same-type faces in one plane, the one whose axes turn one way carries the flag; the
    // first face of each type that meets a partner fixes which way.
    bool reference = true;
    for (FaceType* type = firstType; type; type = type->mNextFaceType)
    {
        const int rotations = type->mNumRotations > 0 ? type->mNumRotations : 1;
        for (FaceVert* f = type->mFirstFace; f; f = f->mNextOfType)
        {
            FaceVert* g = f->mNextCoplanar;
            if (!g || g->mFaceType != type || (f->mFlags & FaceVert::kCoplanar) || (g->mFlags & FaceVert::kCoplanar))
                continue;
            double best = -999999.9;
            Vec3D u;
            for (int k = 0; k < rotations; ++k)
            {
                const double angle = 2.0 * kPi * k / rotations;
                Vec3D candidate;
                Vec3Scale(candidate, g->mYAxis, std::sin(angle));
                Vec3AddScaledTo(candidate, std::cos(angle), g->mXAxis);
                const double dot = Vec3Dot(candidate, f->mXAxis);
                if (dot > best)
                    best = dot, u = candidate;
            }
            Vec3D turn;
            Vec3Cross(turn, f->mXAxis, u);
            const double d = Vec3Dot(turn, f->mZAxis);
            if (f == type->mFirstFace)
                reference = d > 0.0;
            if ((d < 0.0) == reference)
                f->mFlags |= FaceVert::kCoplanar;
            else
                g->mFlags |= FaceVert::kCoplanar;
        }
    }
}
