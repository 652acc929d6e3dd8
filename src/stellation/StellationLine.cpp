#include "stellation/StellationLine.h"

#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"

#include <cmath>

StellationLine::StellationLine(FaceType* faceType, double a, double b, double c, FaceVert* face,
                               StellationLine*& list)
    : mFaceType(faceType), mEqn{a, b, c}, mFace(face), mFace2(face), mNext(list)
{
    if (IsZeroTol(c, kTol))
        mFlags |= kLineThroughCentre;
    if (std::fabs(a) < std::fabs(b))
        mFlags |= kLineNearHorizontal;
    const FaceVert* first = faceType ? faceType->mFirstFace : nullptr;
    if (face && first)
        Vec3Cross(mDir, face->mZAxis, first->mZAxis);
    list = this;
}

bool StellationLine::Intersect(const StellationLine& other, double& x, double& y) const
{
    const double det = mEqn[0] * other.mEqn[1] - other.mEqn[0] * mEqn[1];
    if (IsZeroTol(det, kTol))
        return false;
    x = (mEqn[1] * other.mEqn[2] - other.mEqn[1] * mEqn[2]) / det;
    y = (other.mEqn[0] * mEqn[2] - mEqn[0] * other.mEqn[2]) / det;
    if (IsZeroTol(x, kTol))
        x = 0.0;
    if (IsZeroTol(y, kTol))
        y = 0.0;
    return true;
}

bool StellationLine::XAtY(double y, double& x) const
{
    if (std::fabs(mEqn[0]) <= kTol)
        return false;
    x = -(mEqn[1] * y + mEqn[2]) / mEqn[0];
    return true;
}

bool StellationLine::YAtX(double x, double& y) const
{
    if (std::fabs(mEqn[1]) <= kTol)
        return false;
    y = -(mEqn[0] * x + mEqn[2]) / mEqn[1];
    return true;
}

bool StellationLine::LiesInMirrorPlane(const FaceType* type) const
{
    for (const StellationLine* n : {mOuterNeighbour, mInnerNeighbour})
        if (n && (n->mFlags & kLineInMirrorPlane))
            return true;
    const FaceVert* first = type ? type->mFirstFace : nullptr;
    const SymGroup* group = type && type->mPoly ? type->mPoly->mGroup.get() : nullptr;
    if (!first || !group || !mFirstEdge || !mLastEdge || !mFirstEdge->mStart || !mLastEdge->mStart)
        return false;
    const Transform3D frame = first->GetLocalFrame(false);
    Vec3D ends[2];
    for (int i = 0; i < 2; ++i)
    {
        const Vec2D& p = (i == 0 ? mFirstEdge : mLastEdge)->mStart->mPos;
        frame.Apply(ends[i], Vec3D{p.x, p.y, 0.0});
    }
    for (int m = 0; m < group->mMirrors.count; ++m)
    {
        const Vec3D& normal = group->mMirrors[m].mDir;
        if (IsZeroTol(Vec3Dot(normal, ends[0]), kSymTol) && IsZeroTol(Vec3Dot(normal, ends[1]), kSymTol))
            return true;
    }
    return false;
}
