#include "mesh/Edge3DType.h"

#include "kernel/Messages.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"

bool Edge3DType::SetRun(int loop, const Edge3D* forEdge)
{
    const Face3DType* type = mFaceType;
    if (!type || loop >= type->mNumLoops || type->mNumFaces <= 0)
        return false;
    mLoop = loop;
    mRunStart = type->GetLoopStart(loop);
    const Face3D& first = type->mFaces[0];
    const bool repeated = first.mEdges && (first.mEdges[size_t(mRunStart)].mFlags & kEdge3DRepeatedLoop);
    const int loops = repeated ? mNumRots : 1;
    mNextLoop = loop;
    mLoopEnd = mRunStart;
    for (int i = 0; i < loops && mNextLoop < type->mNumLoops; ++i)
        mLoopEnd += type->mLoopSizes[size_t(mNextLoop++)];
    const int size = mLoopEnd - mRunStart;
    mStep = mNumRots > 0 ? size / mNumRots : size;
    if (mNumRots <= 0 || size % mNumRots != 0 || mStep <= 0)
    {
        if (forEdge)
            InternalError("Edge3DType::Init: end %d, start %d, numRots %d, edge %s, flags 0x%x", mLoopEnd, mRunStart,
                          mNumRots, Edge3D::GetName(forEdge), unsigned(forEdge->mFlags));
        else
            InternalError("Edge3DType::Init: mLoopEnd %d, mNumRots %d, faceType %d", mLoopEnd, mNumRots,
                          Face3DType::GetIndex(type));
        mStep = size;
    }
    mEdge = mRunStart;
    mMemberFace = 0;
    mMemberEdge = -1;
    return mStep > 0;
}

bool Edge3DType::Init(Face3DType* type)
{
    mFaceType = type;
    mNumRots = type ? type->GetNumRots() : 1;
    return SetRun(0, nullptr);
}

bool Edge3DType::Init(const Edge3D* edge)
{
    if (!edge || !edge->mFace || !edge->mFace->mType)
        return false;
    mFaceType = edge->mFace->mType;
    mNumRots = mFaceType->GetNumRots();
    const int index = edge->GetIndexInFace();
    for (int loop = 0; SetRun(loop, edge); loop = mNextLoop)
    {
        if (index < mLoopEnd)
        {
            mEdge = mRunStart + (index - mRunStart) % mStep;
            return true;
        }
    }
    return false;
}

Edge3D* Edge3DType::NextMember(const Edge3D* previous)
{
    if (!mFaceType || mStep <= 0)
        return nullptr;
    if (!previous)
    {
        mMemberFace = 0;
        mMemberEdge = mEdge;
    }
    else
    {
        mMemberEdge += mStep;
        if (mMemberEdge >= mLoopEnd)
        {
            ++mMemberFace;
            mMemberEdge = mEdge;
        }
    }
    if (mMemberFace >= mFaceType->mNumFaces)
        return nullptr;
    return &mFaceType->mFaces[size_t(mMemberFace)].mEdges[size_t(mMemberEdge)];
}

bool Edge3DType::NextClass()
{
    if (!mFaceType || mStep <= 0)
        return false;
    if (mEdge + 1 < mRunStart + mStep)
    {
        ++mEdge;
        mMemberFace = 0;
        mMemberEdge = -1;
        return true;
    }
    return SetRun(mNextLoop, nullptr);
}
