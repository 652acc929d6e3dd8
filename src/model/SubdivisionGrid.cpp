#include "model/SubdivisionGrid.h"

#include "kernel/Progress.h"
#include "model/SimplePoly.h"

#include <memory>
#include <vector>

namespace
{
void Lerp(Vec3D& out, const Vec3D& a, const Vec3D& b, double t)
{
    out.x = a.x + (b.x - a.x) * t;
    out.y = a.y + (b.y - a.y) * t;
    out.z = a.z + (b.z - a.z) * t;
}
}  // namespace

void SubdivisionGrid::AddToSize(int numSides, int64_t frequency, int64_t& faces, int64_t& twiceNewVerts)
{
    if (numSides <= 0)
        return;
    const int64_t triangles = numSides == 3 ? 1 : numSides;
    const int64_t squared = frequency * frequency;
    faces += squared * triangles;
    twiceNewVerts += (squared - 1) * triangles + (numSides != 3 ? 2 : 0);
}

SubdivisionGrid::SubdivisionGrid(SimplePoly& result, int frequency, int totalFaces)
    : mResult(result), mFrequency(frequency), mTotalFaces(totalFaces)
{
}

bool SubdivisionGrid::AddTriangle(const Vec3D& a, const Vec3D& b, const Vec3D& c, uint32_t color, float opacity)
{
    SimpleFace* face = mResult.GetFace(mFacesMade);
    SimpleVert* va = mResult.FindOrCreateVert(a, mNextVert);
    SimpleVert* vb = mResult.FindOrCreateVert(b, mNextVert);
    SimpleVert* vc = mResult.FindOrCreateVert(c, mNextVert);
    if (!face || !va || !vb || !vc)
        return false;
    face->SetNumVerts(3, 1);
    face->SetVert(0, va);
    face->SetVert(1, vb);
    face->SetVert(2, vc);
    face->mColor = color;
    face->mBackColor = color;
    face->mOpacity = opacity;
    ++mFacesMade;
    return true;
}

bool SubdivisionGrid::FillTriangle(const Vec3D& apex, const Vec3D& p, const Vec3D& q, uint32_t color, float opacity)
{
    const int n = mFrequency;
    for (int t = 0; t < n; ++t)
    {
        if (!ShowProgress(mTotalFaces > 0 ? double(mFacesMade) / mTotalFaces : 0.0, "Created %d of %d faces",
                          mFacesMade, mTotalFaces))
            return false;
        // Row t runs from a to b, row t + 1 from a1 to b1.
        Vec3D a, b, a1, b1;
        Lerp(a, apex, p, double(t) / n);
        Lerp(b, apex, q, double(t) / n);
        Lerp(a1, apex, p, double(t + 1) / n);
        Lerp(b1, apex, q, double(t + 1) / n);
        auto upper = [&](int k, Vec3D& out) {
            if (t == 0)
                out = a;
            else
                Lerp(out, a, b, double(k) / t);
        };
        auto lower = [&](int k, Vec3D& out) { Lerp(out, a1, b1, double(k) / (t + 1)); };
        for (int k = 0; k <= t; ++k)
        {
            Vec3D u, u1, d, d1;
            upper(k, u);
            lower(k, d);
            lower(k + 1, d1);
            if (!AddTriangle(u, d, d1, color, opacity))
                return false;
            if (k < t)
            {
                upper(k + 1, u1);
                if (!AddTriangle(u, d1, u1, color, opacity))
                    return false;
            }
        }
    }
    return true;
}

bool SubdivisionGrid::FillPolygon(const Vec3D* corners, int numCorners, const Vec3D& centroid, bool geodesic,
                                  uint32_t color, float opacity)
{
    if (numCorners < 3)
        return true;
    std::vector<Vec3D> points(corners, corners + numCorners);
    Vec3D apex = numCorners == 3 ? points[2] : centroid;
    if (geodesic)
    {
        for (Vec3D& point : points)
            Vec3Normalize(point);
        Vec3Normalize(apex);
    }
    if (numCorners == 3)
        return FillTriangle(apex, points[0], points[1], color, opacity);
    for (int i = 0; i < numCorners; ++i)
    {
        if (!FillTriangle(apex, points[size_t(i)], points[size_t((i + 1) % numCorners)], color, opacity))
            return false;
    }
    return true;
}
