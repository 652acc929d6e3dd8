#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/WaitCursor.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/SimplePoly.h"

namespace
{
void Lerp(Vec3D& out, const Vec3D& a, const Vec3D& b, double t)
{
    out.x = a.x + (b.x - a.x) * t;
    out.y = a.y + (b.y - a.y) * t;
    out.z = a.z + (b.z - a.z) * t;
}

struct GridBuilder
{
    SimplePoly& result;
    int nextVert = 0;
    int facesMade = 0;
    int totalFaces = 0;

    bool AddTriangle(const Vec3D& a, const Vec3D& b, const Vec3D& c, uint32_t color)
    {
        SimpleFace* face = result.GetFace(facesMade);
        SimpleVert* va = result.FindOrCreateVert(a, nextVert);
        SimpleVert* vb = result.FindOrCreateVert(b, nextVert);
        SimpleVert* vc = result.FindOrCreateVert(c, nextVert);
        if (!face || !va || !vb || !vc)
            return false;
        face->SetNumVerts(3, 1);
        face->SetVert(0, va);
        face->SetVert(1, vb);
        face->SetVert(2, vc);
        face->mColor = color;
        face->mBackColor = color;
        ++facesMade;
        return true;
    }

    // The triangle (c, a, b) in n rows from the apex: row m has m + 1 triangles pointing towards the
    // base and m pointing towards the apex. False when cancelled or out of records.
    bool SplitTriangle(const Vec3D& c, const Vec3D& a, const Vec3D& b, int n, uint32_t color)
    {
        for (int m = 0; m < n; ++m)
        {
            if (!ShowProgress(double(facesMade) / totalFaces, "Created %d of %d faces", facesMade, totalFaces))
                return false;
            Vec3D p, q, p1, q1;
            Lerp(p, c, a, double(m) / n);
            Lerp(q, c, b, double(m) / n);
            Lerp(p1, c, a, double(m + 1) / n);
            Lerp(q1, c, b, double(m + 1) / n);
            auto upper = [&](int l, Vec3D& out) {
                if (m == 0)
                    out = p;
                else
                    Lerp(out, p, q, double(l) / m);
            };
            auto lower = [&](int l, Vec3D& out) { Lerp(out, p1, q1, double(l) / (m + 1)); };
            for (int l = 0; l <= m; ++l)
            {
                Vec3D u, u1, d, d1;
                upper(l, u);
                lower(l, d);
                lower(l + 1, d1);
                if (!AddTriangle(u, d, d1, color))
                    return false;
                if (l < m)
                {
                    upper(l + 1, u1);
                    if (!AddTriangle(u, d1, u1, color))
                        return false;
                }
            }
        }
        return true;
    }
};
}  // namespace

std::unique_ptr<SimplePoly> SimplePoly::Subdivide(const SimplePoly& source, int mode, int n)
{
    if (n < 1)
    {
        ErrorMessage("Number of subdivisions must be at least 1.");
        return nullptr;
    }
    const bool geodesic = (mode & kGeodesic) != 0;
    ScopedWaitCursor wait;
    ProgressScope progress;

    // Exact counts for a closed model: every grid point once, shared edges merged by the tree.
    long long vertSum = 0;
    long long faceCount = 0;
    for (int f = 0; f < source.mNumFaces; ++f)
    {
        const SimpleFace& face = source.mFaces[f];
        const int t = face.mNum == 3 ? 1 : face.mNum;
        vertSum += (long long)(n * n - 1) * t + (face.mNum != 3 ? 2 : 0);
        faceCount += (long long)n * n * t;
    }
    const long long vertCount = source.mNumVerts + vertSum / 2;
    if (vertCount > INT32_MAX / 2 || faceCount > INT32_MAX / 2)
    {
        ErrorMessage("Too many faces: %lld.", faceCount);
        return nullptr;
    }
    auto result = std::make_unique<SimplePoly>(int(vertCount), int(faceCount));
    // Open models need more grid points than a closed one.
    result->mFlags |= kMayGrow;
    GridBuilder grid{*result};
    grid.totalFaces = int(faceCount);

    for (int f = 0; f < source.mNumFaces; ++f)
    {
        const SimpleFace& face = source.mFaces[f];
        if (face.mNum <= 2)
            continue;
        Vec3D apex = face.mNum == 3 ? face.GetVert(2)->mPos : face.GetCentroid();
        if (geodesic)
            Vec3Normalize(apex);
        const int sides = face.mNum == 3 ? 1 : face.mNum;
        for (int i = 0; i < sides; ++i)
        {
            Vec3D a = face.GetVert(i)->mPos;
            Vec3D b = face.GetVert((i + 1) % face.mNum)->mPos;
            if (geodesic)
            {
                Vec3Normalize(a);
                Vec3Normalize(b);
            }
            if (!grid.SplitTriangle(apex, a, b, n, face.mColor))
                return nullptr;
        }
    }
    result->mFlags &= ~kMayGrow;

    result->mNumVerts = grid.nextVert;
    if (grid.facesMade != result->mNumFaces)
        InternalError("Subdivide: faceIdx %d != mNumFaces %d", grid.facesMade, result->mNumFaces);
    result->mNumFaces = grid.facesMade;

    const bool convex = (source.mFlags & kConvex) != 0;
    if (geodesic)
    {
        result->ProjectOntoSphere();
        result->SetName(source.mName.c_str(), "Geodesic ");
        if (convex)
            result->mFlags |= kRadiallyConvex | kNonSelfIntersecting;
    }
    else
    {
        result->SetName(source.mName.c_str(), "Subdivided ");
        if (convex)
            result->mFlags |= kConvex | kRadiallyConvex | kNonSelfIntersecting | kKeepRealSize;
    }
    if (source.mFlags & kFrom4D)
        result->mFlags |= kFrom4D;
    return result;
}

std::unique_ptr<SimplePoly> SimplePoly::CreateSphere(int frequency)
{
    // A negative frequency is no power of two, whatever its magnitude.
    if (frequency < 0 || (frequency & (frequency - 1)) != 0)
    {
        InternalError("CreateSphere: frequency %d is not a power of 2", frequency);
        return nullptr;
    }
    int steps = 0;
    for (int f = frequency; f > 1; f >>= 1)
        ++steps;
    std::unique_ptr<SimplePoly> sphere = LibraryEntry::CreatePoly(FindLibraryEntry("i", nullptr, false), false);
    for (int i = 0; sphere && i < steps; ++i)
    {
        std::unique_ptr<SimplePoly> finer = Subdivide(*sphere, kGeodesic, 2);
        if (!finer)
            break;
        sphere = std::move(finer);
    }
    return sphere;
}
