#include "kernel/Tolerance.h"
#include "kernel/UserServices.h"
#include "model/HullBuilder.h"
#include "model/SimplePoly.h"

#include <vector>

namespace
{
class WaitCursorScope
{
public:
    WaitCursorScope() { Services().BeginWaitCursor(); }
    ~WaitCursorScope() { Services().EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};
}  // namespace

bool SimplePoly::ComputeConvexHull(int firstFace)
{
    if (mNumVerts <= 3 || firstFace < 0)
        return false;
    WaitCursorScope wait;
    mFlags |= kMayGrow;

    constexpr uint32_t kUnusable = SimpleElem::kDone | SimpleElem::kEdgeTypeMark | SimpleElem::kTemp | SimpleElem::kInf;
    std::vector<Vec3D> points;
    std::vector<int> vertOf;
    points.reserve(size_t(mNumVerts));
    vertOf.reserve(size_t(mNumVerts));
    for (int i = 0; i < mNumVerts; ++i)
    {
        SimpleVert& v = mVerts[i];
        if (v.mFlags & kUnusable)
        {
            v.mFlags |= SimpleElem::kTemp;
            continue;
        }
        points.push_back(v.mPos);
        vertOf.push_back(i);
    }

    HullBuilder hull;
    if (!hull.Build(points, kTol))
        return false;

    const int numFaces = hull.NumFaces();
    for (int f = 0; f < numFaces; ++f)
    {
        SimpleFace* face = GetFace(firstFace + f);
        if (!face)
            return false;
        const int n = hull.NumFaceCorners(f);
        face->SetNumVerts(n);
        if (face->mNum != n)
            return false;
        const int* corners = hull.FaceCorners(f);
        for (int k = 0; k < n; ++k)
            face->SetVert(k, &mVerts[vertOf[size_t(corners[k])]]);
        face->mNormal = hull.FaceNormal(f);
        face->mFlags &= ~(SimpleElem::kTemp | SimpleElem::kDone);  // a record used before may carry them
    }
    mNumFaces = firstFace + numFaces;
    for (size_t p = 0; p < points.size(); ++p)
    {
        if (!hull.IsCorner(int(p)))
            mVerts[vertOf[p]].mFlags |= SimpleElem::kTemp;
    }
    ClearFlags(SimpleElem::kDone);
    return true;
}
