// Subdivided faces and geodesic spheres from the side of a Poly that is shown.

#include "model/Poly.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/WaitCursor.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "model/SubdivisionGrid.h"

#include <cstdint>
#include <vector>

namespace
{
// A face whose plane is at infinity, or with a corner at infinity: its corners are directions.
bool HasInfiniteFace(const ElemList& faces)
{
    for (const FaceVert* f = faces.mFirst; f; f = f->mNext)
    {
        if (f->mFlags & FaceVert::kInf)
            return true;
        for (int k = 0; k < f->mNumSides; ++k)
            if (f->mNeighbours[k] && (f->mNeighbours[k]->mFlags & FaceVert::kHemi))
                return true;
    }
    return false;
}

// A face through the centre, or with a corner there: it has no direction to push its points along.
bool HasFaceThroughCentre(const ElemList& faces)
{
    for (const FaceVert* f = faces.mFirst; f; f = f->mNext)
    {
        if (f->mFlags & FaceVert::kHemi)
            return true;
        for (int k = 0; k < f->mNumSides; ++k)
            if (f->mNeighbours[k] && (f->mNeighbours[k]->mFlags & FaceVert::kInf))
                return true;
    }
    return false;
}
}  // namespace

std::unique_ptr<SimplePoly> Poly::Subdivide(bool geodesic, int frequency)
{
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    GetSideLists(mShowDual, &faces, &verts, nullptr, nullptr);
    // Without the geodesic option a face through the centre is cut like any other, but a corner
    // at infinity is no point to cut towards.
    const bool infinite = HasInfiniteFace(*faces);
    if (infinite || (geodesic && HasFaceThroughCentre(*faces)))
    {
        if (mShowDual || infinite)
            ErrorMessage("This operation may not be performed on a model with infinite faces");
        else
            ErrorMessage("This operation may not be performed on a model with hemispherical faces\n"
                         "(faces through the centre)");
        return nullptr;
    }
    if (frequency < 1)
    {
        ErrorMessage("Number of subdivisions must be at least 1.");
        return nullptr;
    }
    ScopedWaitCursor wait;
    ProgressScope progress;

    // Counted in 64 bits and refused before anything is allocated: the frequency is the user's.
    int64_t faceCount = 0;
    int64_t twiceNewVerts = 0;
    if (int64_t(frequency) * frequency > SimplePoly::kMaxElements)
        faceCount = int64_t(frequency) * frequency;
    else
        for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
            SubdivisionGrid::AddToSize(f->mNumSides, frequency, faceCount, twiceNewVerts);
    const int64_t vertCount = verts->mCount + twiceNewVerts / 2;
    if (!SimplePoly::CheckSize(vertCount, faceCount))
        return nullptr;
    auto result = std::make_unique<SimplePoly>(int(vertCount), int(faceCount));
    if (result->mNumFaces != int(faceCount) || result->mNumVerts != int(vertCount))
        return nullptr;
    // An open side needs more grid points than a closed one.
    result->mFlags |= SimplePoly::kMayGrow;
    SubdivisionGrid grid(*result, frequency, int(faceCount));
    std::vector<Vec3D> corners;
    for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
    {
        if (f->mNumSides < 3)
            continue;
        corners.resize(size_t(f->mNumSides));
        Vec3D centroid{0.0, 0.0, 0.0};
        for (int k = 0; k < f->mNumSides; ++k)
        {
            corners[size_t(k)] = f->mNeighbours[k]->mPoint;
            Vec3Add(centroid, centroid, corners[size_t(k)]);
        }
        Vec3Scale(centroid, centroid, 1.0 / f->mNumSides);
        if (!grid.FillPolygon(corners.data(), f->mNumSides, centroid, geodesic, ColorToRGB(f->mColor), f->mOpacity))
            return nullptr;
    }
    result->mFlags &= ~SimplePoly::kMayGrow;

    result->mNumVerts = grid.VertsMade();
    if (grid.FacesMade() != result->mNumFaces)
        InternalError("Subdivide: faceIdx %d != mNumFaces %d", grid.FacesMade(), result->mNumFaces);
    result->mNumFaces = grid.FacesMade();

    const char* name = GetNameFor(false);
    if (geodesic)
    {
        result->ProjectOntoSphere();
        result->SetName(name, "Geodesic ");
        if ((mFlags & kConvex) || ((mFlags & kRadiallyConvex) && !mShowDual))
            result->mFlags |= SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    }
    else
    {
        result->SetName(name, "Subdivided ");
        if (mFlags & kConvex)
            result->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting |
                               SimplePoly::kKeepRealSize;
    }
    if (mFlags & kIs4D)
        result->mFlags |= SimplePoly::kFrom4D;
    return result;
}
