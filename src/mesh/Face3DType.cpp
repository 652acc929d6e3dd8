#include "mesh/Face3DType.h"

#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"

#include <algorithm>

Face3DType::Face3DType(Model3D* model, int numFaces, std::span<const int32_t> loopSizes)
    : mModel(model), mNumFaces(std::max(numFaces, 0)), mLoopSizes(loopSizes.begin(), loopSizes.end())
{
    mNumLoops = int32_t(mLoopSizes.size());
    for (int32_t& size : mLoopSizes)
    {
        size = std::max(size, 0);
        mNumSides += size;
    }
    mFaces = std::make_unique<Face3D[]>(size_t(mNumFaces));
    for (int f = 0; f < mNumFaces; ++f)
    {
        Face3D& face = mFaces[size_t(f)];
        face.mType = this;
        face.mEdges = std::make_unique<Edge3D[]>(size_t(mNumSides));
        for (int e = 0; e < mNumSides; ++e)
            face.mEdges[size_t(e)].mFace = &face;
    }
}

Face3DType::~Face3DType() = default;

Face3D* Face3DType::GetFace(int i) const
{
    return i >= 0 && i < mNumFaces ? &mFaces[size_t(i)] : nullptr;
}
