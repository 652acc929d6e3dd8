#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/WaitCursor.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/SimplePoly.h"
#include "model/SubdivisionGrid.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

    // Exact counts for a closed model: every grid point once, shared edges merged by the tree. A
    // single face of more than the most faces a model may have is refused before the sums can wrap.
    int64_t faceCount = 0;
    int64_t twiceNewVerts = 0;
    if (int64_t(n) * n > kMaxElements)
        faceCount = int64_t(n) * n;
    else
        for (int f = 0; f < source.mNumFaces; ++f)
            SubdivisionGrid::AddToSize(source.mFaces[f].mNum, n, faceCount, twiceNewVerts);
    const int64_t vertCount = source.mNumVerts + twiceNewVerts / 2;
    if (!CheckSize(vertCount, faceCount))
        return nullptr;
    auto result = std::make_unique<SimplePoly>(int(vertCount), int(faceCount));
    if (result->mNumFaces != int(faceCount) || result->mNumVerts != int(vertCount))
        return nullptr;
    // Open models need more grid points than a closed one.
    result->mFlags |= kMayGrow;
    SubdivisionGrid grid(*result, n, int(faceCount));
    std::vector<Vec3D> corners;
    for (int f = 0; f < source.mNumFaces; ++f)
    {
        const SimpleFace& face = source.mFaces[f];
        corners.resize(size_t(std::max(face.mNum, 0)));
        for (int k = 0; k < face.mNum; ++k)
            corners[size_t(k)] = face.GetVert(k)->mPos;
        if (!grid.FillPolygon(corners.data(), face.mNum, face.GetCentroid(), geodesic, face.mColor, face.mOpacity))
            return nullptr;
    }
    result->mFlags &= ~kMayGrow;

    result->mNumVerts = grid.VertsMade();
    if (grid.FacesMade() != result->mNumFaces)
        InternalError("Subdivide: faceIdx %d != mNumFaces %d", grid.FacesMade(), result->mNumFaces);
    result->mNumFaces = grid.FacesMade();

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
