#include "view/SectionDisplay.h"

#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionGeometry.h"
#include "model/SectionPolygon.h"
#include "model/SymAxis.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "polytope4d/Polytope4D.h"
#include "view/PolyView.h"
#include "view/ViewThrows.h"

#include <cmath>

namespace
{
void SectionMoved()
{
    InvalidateModelCrossSection();
    InvalidateCrossSectionViews(false);
}
}  // namespace

void InvalidateModelCrossSection()
{
    if (Poly* poly = GetCurrentPoly())
        poly->InvalidateCrossSection();
}

void SetCrossSectionDirection3D(const Vec3D& direction)
{
    if (!MakeSectionFrame3D(direction, GetSceneParameters().sliceMatrix))
        return;
    SectionMoved();
}

void SetCrossSectionDirection4D(const Vec4D& direction)
{
    SceneParameters& scene = GetSceneParameters();
    if (!MakeSectionFrame4D(direction, scene.sliceMatrix))
        return;
    scene.sliceSameAsProj = false;
    SectionMoved();
}

void SetSectionDepth(double depth)
{
    GetSceneThrows().sliceDepth.Stop();
    if (!(depth > 0.0))  // NaN too
        depth = 0.0;
    else if (depth > 1.0)
        depth = 1.0;
    GetSceneParameters().sliceRatio = depth;
    SectionMoved();
}

namespace
{
template <class Point>
void DepthAt(const Point& point)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    SceneParameters& scene = GetSceneParameters();
    double lowest, highest;
    if (!GetShownSectionRange(*poly, scene.sliceMatrix, lowest, highest))
        return;
    GetSceneThrows().sliceDepth.Stop();
    scene.sliceRatio = SectionDepthAtOffset(SectionOffsetOf(scene.sliceMatrix, point), lowest, highest);
    SectionMoved();
}
}  // namespace

void SetSectionDepthAt(const Vec3D& point)
{
    DepthAt(point);
}

void SetSectionDepthAt(const Vec4D& point)
{
    DepthAt(point);
}

void SnapSectionDepth(int direction)
{
    GetSceneThrows().sliceDepth.Stop();
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    SceneParameters& scene = GetSceneParameters();
    double snapped;
    if (FindSnappedSectionDepth(*poly, scene.sliceMatrix, scene.sliceRatio, direction, snapped))
        scene.sliceRatio = snapped;
    SectionMoved();
}

void UpdateCrossSectionDirection()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if ((poly->mFlags & Poly::kIs4D) && poly->mPolytope)
    {
        Vec4D direction;
        poly->mPolytope->GetAutoProjectionDirection(direction, false);
        SetCrossSectionDirection4D(direction);
        return;
    }
    SymGroup* group = poly->GetSymGroup();
    if (!group)
        return;
    for (int i = 0; i < group->mNumAxisSets; ++i)
    {
        const SymAxisSet& set = group->mAxisSets[size_t(i)];
        if (set.mNumAxes > 0 && set.mAxes)
        {
            SetCrossSectionDirection3D(set.mAxes[0].mDir);
            return;
        }
    }
}
