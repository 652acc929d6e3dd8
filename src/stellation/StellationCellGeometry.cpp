#include "stellation/StellationCellGeometry.h"

#include "kernel/Transform3D.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <cmath>

namespace
{
// A plane through the region's own plane: its value there is rounding.
constexpr double kOnPlane = 1e-9;

double PlaneValue(const CellPlane& plane, const Vec3D& p)
{
    return Vec3Dot(plane.normal, p) - plane.offset;
}
}  // namespace

std::vector<CellPlane> GetCellPlanes(const Stellation* stellation)
{
    std::vector<CellPlane> planes;
    for (const FaceType* type = stellation ? stellation->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
        for (const FaceVert* face = type->mFirstFace; face; face = face->mNextOfType)
        {
            if (face->mFlags & FaceVert::kInf)
                continue;
            CellPlane plane;
            plane.normal = face->mZAxis;
            plane.offset = (face->mFlags & FaceVert::kHemi) ? 0.0 : Vec3Dot(face->mZAxis, face->mCentre);
            planes.push_back(plane);
        }
    return planes;
}

bool GetCellInteriorPoint(const StellationCell* cell, const std::vector<CellPlane>& planes, Vec3D& out)
{
    if (!cell || cell->mFacets.empty())
        return false;
    const StellationFacet* facet = cell->mFacets[0];
    const StellationRegion* region = facet && !facet->mRegions.empty() ? facet->mRegions[0] : nullptr;
    const FaceVert* face = facet && facet->mFaceType ? facet->mFaceType->mFirstFace : nullptr;
    if (!region || !face)
        return false;
    const Vec2D centroid = region->GetCentroid();
    Vec3D p;
    face->GetLocalFrame(false).Apply(p, Vec3D{centroid.x, centroid.y, 0.0});
    double nearest = 1e100;
    for (const CellPlane& plane : planes)
    {
        const double value = std::fabs(PlaneValue(plane, p));
        if (value <= kOnPlane * std::max(1.0, Vec3Length(p)))
            continue;
        nearest = std::min(nearest, value);
    }
    if (nearest >= 1e100)
        nearest = 1.0;
    // The cell lies above its lower facets, which come first.
    const double side = cell->mNumLower > 0 ? 1.0 : -1.0;
    Vec3AddScaled(out, p, 0.25 * nearest * side, face->mZAxis);
    return true;
}

bool InSameCell(const std::vector<CellPlane>& planes, const Vec3D& a, const Vec3D& b)
{
    for (const CellPlane& plane : planes)
        if ((PlaneValue(plane, a) < 0.0) != (PlaneValue(plane, b) < 0.0))
            return false;
    return true;
}
