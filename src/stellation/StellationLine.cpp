#include "stellation/StellationLine.h"

#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"

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
