#include "SymmetryChecks.h"

#include "model/SimplePoly.h"
#include "model/SymGroup.h"

bool MapsVertsOntoVerts(const SimplePoly& poly, const Mat3& m)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        if (poly.mVerts[i].mFlags & SimpleElem::kTemp)
            continue;
        Vec3D image;
        m.Transform(image, poly.mVerts[i].mPos);
        bool found = false;
        for (int j = 0; j < poly.mNumVerts && !found; ++j)
            found = !(poly.mVerts[j].mFlags & SimpleElem::kTemp) && Vec3Equal(poly.mVerts[j].mPos, image, 1e-6);
        if (!found)
            return false;
    }
    return true;
}

bool GroupMapsModelOntoItself(const SymGroup& group, const SimplePoly& poly)
{
    SymOpIterator it;
    Mat3 m;
    while (group.NextOperationWithReflections(it, true, &m, true))
    {
        if (!MapsVertsOntoVerts(poly, m))
            return false;
    }
    return true;
}

int CountOperations(const SymGroup& group, bool withReflections)
{
    SymOpIterator it;
    int n = 0;
    while (group.NextOperationWithReflections(it, true, nullptr, withReflections))
        ++n;
    return n;
}
