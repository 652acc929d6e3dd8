#include "mesh/Face3D.h"

#include "mesh/Edge3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"

Face3D::Face3D() : mNextOnElement(this)
{
}

Face3D::~Face3D() = default;

int Face3D::GetIndex(const Face3D* face)
{
    if (!face)
        return -1;
    if (!face->mType || !face->mType->mModel)
        return -2;
    int base = 0;
    for (const Face3DType* type = face->mType->mModel->mFaceTypes; type; type = type->mNext)
    {
        if (type == face->mType)
        {
            const ptrdiff_t i = face - type->mFaces.get();
            return i >= 0 && i < type->mNumFaces ? base + int(i) : -2;
        }
        base += type->mNumFaces;
    }
    return -2;
}
