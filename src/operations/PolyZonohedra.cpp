// Zone vectors from the side of a Poly that is shown, and the zonohedron or zonish model of them.

#include "model/Poly.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/PointList.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "operations/Zonohedron.h"

#include <climits>
#include <vector>

namespace
{
// Adds the chosen elements of the list, each giving its vector: every element, those of the
// selected element's face type, or the selected one. False once the limit is reached.
template <class VectorOf>
bool AddElementZones(PointList& list, const ElemList& elements, int choice, const FaceVert* selected,
                     double length, int limit, VectorOf vectorOf)
{
    if (choice == kZonesFromNone)
        return true;
    if (choice == kZonesFromCurrent)
        return !selected || AddZoneVector(list, vectorOf(*selected), length, limit);
    if (choice == kZonesFromType && !selected)
        return true;
    for (const FaceVert* e = elements.mFirst; e; e = e->mNext)
    {
        if (choice == kZonesFromType && e->mFaceType != selected->mFaceType)
            continue;
        if (!AddZoneVector(list, vectorOf(*e), length, limit))
            return false;
    }
    return true;
}
}  // namespace

void Poly::CollectZoneVectors(PointList& list, const ZoneOptions& options)
{
    const int limit = options.maxZones > 0 ? options.maxZones - 1 : INT_MAX;
    double shortest = 0.0;
    GetShownStellation()->CalcEdgeLengthRange(&shortest, nullptr);
    const double length = EvaluateNumber(options.edgeScale.c_str(), true) * shortest;
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    GetSideLists(mShowDual, &faces, &verts, nullptr, nullptr);

    // A vertex's point is its direction from the centre, also for one at infinity.
    if (!AddElementZones(list, *verts, options.vertices, GetStellationVert(), length, limit,
                         [](const FaceVert& v) { return v.mPoint; }))
        return;

    if (options.edges != kZonesFromNone)
    {
        const Edge* selected = GetSelectedEdge();
        if (options.edges == kZonesFromCurrent)
        {
            if (selected && !AddZoneVector(list, selected->GetVector(mShowDual), length, limit))
                return;
        }
        else if (options.edges == kZonesFromAll || selected)
        {
            for (int i = 0; i < mEdges.count; ++i)
            {
                const Edge& edge = mEdges[i];
                if (options.edges == kZonesFromType && edge.mType != selected->mType)
                    continue;
                // An edge with both ends at infinity has no direction of its own.
                const std::array<FaceVert*, 2> ends = edge.GetVerts(mShowDual);
                if (!ends[0] || !ends[1] || ((ends[0]->mFlags & ends[1]->mFlags) & FaceVert::kHemi))
                    continue;
                if (!AddZoneVector(list, edge.GetVector(mShowDual), length, limit))
                    return;
            }
        }
    }

    if (!AddElementZones(list, *faces, options.faces, GetStellationFace(), length, limit,
                         [](const FaceVert& f) { return f.GetNormal(); }))
        return;

    if (const SymGroup* group = mGroup ? mGroup.get() : GetSymGroup())
    {
        for (int set = 0; set < 3 && set < group->mNumAxisSets; ++set)
        {
            if (!options.axisClasses[set])
                continue;
            const SymAxisSet& axes = group->mAxisSets[set];
            for (int i = 0; i < axes.mNumAxes; ++i)
                if (!AddZoneVector(list, axes.mAxes[i].mDir, length, limit))
                    return;
        }
    }

    if (options.xyzAxes)
    {
        const Vec3D axes[3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
        for (const Vec3D& axis : axes)
            if (!AddZoneVector(list, axis, length, limit))
                return;
    }
}

std::unique_ptr<SimplePoly> Poly::Zonohedrify(const ZoneOptions& options)
{
    PointList zones;
    zones.Init(kTol);
    CollectZoneVectors(zones, options);
    if (zones.Count() == 0)
    {
        ErrorMessage("No zone vectors were found for these choices.");
        return nullptr;
    }
    const char* name = GetNameFor(false);
    std::unique_ptr<SimplePoly> result;
    if (!options.zonish)
    {
        if (!ZonesSpanSpace(zones))
        {
            ErrorMessage("The zone vectors all lie in one plane, so they make no zonohedron.");
            return nullptr;
        }
        result = CreateZonohedron(zones, name);
    }
    else
    {
        ElemList* verts = nullptr;
        GetSideLists(mShowDual, nullptr, &verts, nullptr, nullptr);
        std::vector<Vec3D> points;
        for (const FaceVert* v = verts->mFirst; v; v = v->mNext)
        {
            if (v->mFlags & FaceVert::kHemi)
            {
                ErrorMessage("This operation may not be performed on a model with infinite faces");
                return nullptr;
            }
            points.push_back(v->mPoint);
        }
        result = CreateZonishPolyhedron(points.data(), int(points.size()), zones, name);
    }
    if (result && (mFlags & kIs4D))
        result->mFlags |= SimplePoly::kFrom4D;
    return result;
}
