#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "polytope4d/Polytope4D.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
bool IsUnitRatio(double f)
{
    return kRatioLow <= f && f <= kRatioHigh;
}

bool HasComponentOutside(const Vec3D& v, double tol)
{
    return !IsZeroTol(v.x, tol) || !IsZeroTol(v.y, tol) || !IsZeroTol(v.z, tol);
}

// Removes count corners from position at on; the list keeps its allocation.
void RemoveCorners(SimpleFace& face, int at, int count)
{
    for (int k = at; k + count < face.mNum; ++k)
        face.mList[k] = face.mList[k + count];
    face.mNum -= count;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Flags, rings and lists

int SimplePoly::CountFacesWithout(const SimplePoly* poly, uint32_t mask)
{
    if (!poly)
        return 0;
    int n = 0;
    for (int i = 0; i < poly->mNumFaces; ++i)
    {
        if (!(poly->mFaces[i].mFlags & mask))
            ++n;
    }
    return n;
}

void SimplePoly::ClearVertFlags(uint32_t mask)
{
    for (int i = 0; i < mNumVerts; ++i)
        mVerts[i].mFlags &= ~mask;
}

void SimplePoly::ClearFaceFlags(uint32_t mask)
{
    for (int i = 0; i < mNumFaces; ++i)
        mFaces[i].mFlags &= ~mask;
}

void SimplePoly::ClearFlags(uint32_t mask)
{
    ClearVertFlags(mask);
    ClearFaceFlags(mask);
}

void SimplePoly::ResetTypeIds()
{
    for (int i = 0; i < mNumVerts; ++i)
    {
        mVerts[i].mId = i;
        mVerts[i].mNextOfType = &mVerts[i];
    }
    for (int i = 0; i < mNumFaces; ++i)
    {
        mFaces[i].mId = i;
        mFaces[i].mNextOfType = &mFaces[i];
    }
}

void SimplePoly::ResetCoincidence()
{
    for (int i = 0; i < mNumVerts; ++i)
        mVerts[i].mNextCoincident = &mVerts[i];
    for (int i = 0; i < mNumFaces; ++i)
        mFaces[i].mNextCoincident = &mFaces[i];
}

void SimplePoly::CreateVertexFaceLists(bool force)
{
    if ((mFlags & kHasVertFaceLists) && !force)
        return;
    mFlags |= kHasVertFaceLists;
    mFlags &= ~kSortedFaceLists;

    for (int i = 0; i < mNumVerts; ++i)
    {
        mVerts[i].mList.reset();
        mVerts[i].mNum = 0;
    }
    for (int f = 0; f < mNumFaces; ++f)
    {
        const SimpleFace& face = mFaces[f];
        if (face.mFlags & SimpleElem::kTemp)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            if (face.mList[k])
                ++face.mList[k]->mNum;
        }
    }
    for (int i = 0; i < mNumVerts; ++i)
    {
        SimpleVert& vert = mVerts[i];
        const int count = vert.mNum;
        vert.mNum = 0;
        if (count == 0 || (vert.mFlags & SimpleElem::kTemp))
            continue;
        vert.mList.reset(new (std::nothrow) SimpleElem*[count]());
        if (!vert.mList)
        {
            ErrorMessage("Out of memory for the faces of vertex %d.", i);
            mFlags &= ~kHasVertFaceLists;
            return;
        }
    }
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if (face.mFlags & SimpleElem::kTemp)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            SimpleElem* vert = face.mList[k];
            if (vert && !(vert->mFlags & SimpleElem::kTemp))
                vert->mList[vert->mNum++] = &face;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Whole-model geometry

double SimplePoly::GetRadius() const
{
    double maxSq = 0.0;
    for (int i = 0; i < mNumVerts; ++i)
    {
        if (!(mVerts[i].mFlags & SimpleElem::kTemp))
            maxSq = std::max(maxSq, Vec3LengthSq(mVerts[i].mPos));
    }
    return std::sqrt(maxSq);
}

double SimplePoly::GetReciprocationRadius() const
{
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < mNumFaces; ++i)
    {
        const SimpleFace& face = mFaces[i];
        if ((face.mFlags & SimpleElem::kTemp) || face.mNum <= 0)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            const SimpleVert* va = face.GetVert(k);
            const SimpleVert* vb = face.GetVert((k + 1) % face.mNum);
            if (!va || !vb)
                continue;
            Vec3D ab;
            Vec3Sub(ab, vb->mPos, va->mPos);
            Vec3D c;
            Vec3Cross(c, ab, va->mPos);
            if (!HasComponentOutside(c, kTol))
                continue;  // the line passes through the centre
            Vec3D u;
            Vec3Cross(u, ab, c);
            Vec3Normalize(u);
            const double distance = std::fabs(Vec3Dot(va->mPos, u));
            if (!(distance > 0.0))
                continue;
            sum += std::log(distance);
            ++count;
        }
    }
    if (count > 0)
        return std::exp(sum / count);
    // No edge line misses the centre: the poles still need a finite sphere.
    const double radius = GetRadius();
    return radius > kTol ? radius : 1.0;
}

Vec3D SimplePoly::GetVertexCentroid()
{
    Vec3D sum;
    int count = 0;
    for (int i = 0; i < mNumVerts; ++i)
    {
        SimpleVert& vert = mVerts[i];
        if (vert.mFlags & (SimpleElem::kTemp | SimpleElem::kDone))
            continue;
        Vec3AddTo(sum, vert.mPos);
        ++count;
        vert.MarkCoincident(SimpleElem::kDone);
    }
    ClearVertFlags(SimpleElem::kDone);
    if (count > 0)
        Vec3Div(sum, sum, count);
    return sum;
}

void SimplePoly::Translate(const Vec3D& v)
{
    if (!HasComponentOutside(v, kTol))
        return;
    for (int i = 0; i < mNumVerts; ++i)
        Vec3SubFrom(mVerts[i].mPos, v);
    VertsMoved();
}

void SimplePoly::Centralise()
{
    Translate(GetVertexCentroid());
}

void SimplePoly::Rotate(const Mat3& m)
{
    bool identity = true;
    for (int i = 0; i < 9 && identity; ++i)
        identity = i % 4 == 0 ? IsUnitRatio(m.m[i]) : IsZeroTol(m.m[i], kTol);
    if (identity)
        return;
    for (int i = 0; i < mNumVerts; ++i)
        m.Transform(mVerts[i].mPos, mVerts[i].mPos);
    for (int i = 0; i < mNumFaces; ++i)
    {
        // An x of exactly -2 marks a normal not yet computed.
        if (mFaces[i].mNormal.x != -2.0)
            m.Transform(mFaces[i].mNormal, mFaces[i].mNormal);
    }
    if (mSymGroup)
        mSymGroup->Rotate(m);
    VertsMoved();
}

void SimplePoly::Scale(double f)
{
    if (mPolytope4D)
    {
        mPolytope4D->Scale(f);
        return;
    }
    if (IsUnitRatio(f))
        return;
    for (int i = 0; i < mNumVerts; ++i)
        Vec3Scale(mVerts[i].mPos, mVerts[i].mPos, f);
    VertsMoved();
    if (!(mFlags & kHasEmptyFaces))
        return;
    for (int i = 0; i < mNumFaces; ++i)
    {
        SimpleFace& face = mFaces[i];
        if (face.mNum == 0 && !(face.mFlags & SimpleElem::kPlaneThroughCentre))
            Vec3Scale(face.mNormal, face.mNormal, f);
    }
}

void SimplePoly::StretchAlong(double f, const Vec3D& unitDir)
{
    if (IsUnitRatio(f))
        return;
    for (int i = 0; i < mNumVerts; ++i)
    {
        Vec3D& p = mVerts[i].mPos;
        Vec3AddScaledTo(p, (f - 1.0) * Vec3Dot(unitDir, p), unitDir);
    }
    VertsMoved();
}

void SimplePoly::SetNormals(bool all, int firstFace)
{
    if (mNumVerts <= 2)
        return;
    for (int f = std::max(firstFace, 0); f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if ((face.mFlags & SimpleElem::kTemp) || face.mNum <= 0)
            continue;
        if (!all && face.mNormal.x != -2.0)
            continue;
        bool corners = true;
        for (int k = 0; k < face.mNum; ++k)
            corners = corners && face.mList[k];
        if (!corners)
            continue;

        const int n = face.mNum;
        const Vec3D& p0 = face.GetVert(0)->mPos;
        Vec3D normal;
        bool found = false;
        for (int j = 1; j + 1 < n && !found; ++j)
        {
            Vec3D a, b;
            Vec3Sub(a, face.GetVert(j)->mPos, p0);
            Vec3Sub(b, face.GetVert(j + 1)->mPos, face.GetVert(j)->mPos);
            Vec3Cross(normal, a, b);
            found = HasComponentOutside(normal, kTol);
        }
        if (!found)
        {
            // Nearly straight runs of corners: the area vector of the whole outline.
            Vec3Set(normal, 0.0, 0.0, 0.0);
            for (int i = 2; i < n; ++i)
            {
                Vec3D a, b, c;
                Vec3Sub(a, face.GetVert(i - 1)->mPos, p0);
                Vec3Sub(b, face.GetVert(i)->mPos, p0);
                Vec3Cross(c, a, b);
                Vec3AddTo(normal, c);
            }
        }
        // A face whose corners are all in one line keeps a zero normal rather than a NaN one.
        Vec3Normalize(normal);
        Vec3SnapZero(normal, kTol);

        face.mFlags &= ~SimpleElem::kPlaneThroughCentre;
        const double d = Vec3Dot(normal, p0);
        if (d < -kTol)
            Vec3Negate(normal);
        else if (d < kTol)
            face.mFlags |= SimpleElem::kPlaneThroughCentre;
        face.mNormal = normal;
    }
}

bool SimplePoly::ProjectOntoSphere()
{
    for (int i = 0; i < mNumVerts; ++i)
        Vec3Normalize(mVerts[i].mPos);
    VertsMoved();
    SetNormals(true, 0);
    for (int f = 0; f < mNumFaces; ++f)
    {
        const SimpleFace& face = mFaces[f];
        if ((face.mFlags & SimpleElem::kTemp) || face.mNum <= 3)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            const SimpleVert* a = face.GetVert(k);
            const SimpleVert* b = face.GetVert((k + 1) % face.mNum);
            if (!a || !b)
                continue;
            Vec3D side;
            Vec3Sub(side, b->mPos, a->mPos);
            if (!IsZeroTol(Vec3Dot(face.mNormal, side), kTol))
            {
                ErrorMessage("After projecting vertices onto a sphere,\nsome of the faces would no longer be "
                             "planar.\nSo the operation is not allowed for this model.");
                return false;
            }
        }
    }
    return true;
}

void SimplePoly::RemoveDegenerateCorners()
{
    bool changed = false;
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if (face.mFlags & SimpleElem::kTemp)
            continue;
        bool corners = true;
        for (int k = 0; k < face.mNum; ++k)
            corners = corners && face.mList[k];
        int c = 0;
        while (corners && face.mNum >= 3 && c < face.mNum)
        {
            const int n = face.mNum;
            const SimpleVert* here = face.GetVert(c);
            if (here->SamePos(*face.GetVert((c + 1) % n)))
            {
                RemoveCorners(face, c, 1);
                changed = true;
            }
            else if (here->SamePos(*face.GetVert((c + 2) % n)))
            {
                // A spike out and back: both the tip and its base go, and the walk looks again
                // at the corner before, which may now start a spike of its own.
                if (c + 1 < n)
                {
                    RemoveCorners(face, c, 2);
                    c = std::max(c - 1, 0);
                }
                else
                {
                    RemoveCorners(face, c, 1);
                    RemoveCorners(face, 0, 1);
                    c = std::max(c - 2, 0);
                }
                changed = true;
            }
            else
                ++c;
        }
        if (face.mNum < 3)
        {
            face.mFlags |= SimpleElem::kTemp;
            changed = true;
        }
    }
    if (changed)
        mFlags &= ~kHasVertFaceLists;
    CreateVertexFaceLists(false);
    for (int i = 0; i < mNumVerts; ++i)
    {
        if (mVerts[i].mNum == 0)
            mVerts[i].mFlags |= SimpleElem::kTemp;
    }
}

void SimplePoly::CleanFaces()
{
    RemoveDegenerateCorners();
    CreateVertexFaceLists(false);
}

Vec3D SimpleFace::GetVertexSum() const
{
    Vec3D sum;
    for (int k = 0; k < mNum; ++k)
        Vec3AddTo(sum, static_cast<const SimpleVert*>(mList[k])->mPos);
    return sum;
}

Vec3D SimpleFace::GetCentroid() const
{
    Vec3D c = GetVertexSum();
    if (mNum > 0)
        Vec3Div(c, c, mNum);
    return c;
}
