#include "model/DrawnPolygon.h"

#include "kernel/Mat3.h"
#include "kernel/RenderSettings.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyElement.h"
#include "model/SymGroup.h"
#include "stellation/FacetingSettings.h"

#include <vector>

bool FaceVertProjector::Project(const Vec3D& point, const Transform3D& map, Vec2D& out) const
{
    return mElement.ProjectPoint(point, false, map, out);
}

bool FacetsExist(const Poly& poly)
{
    return !poly.mFacetTable.empty() &&
           (GetMouseMode() == kMouseModeFaceting || GetFacetingSettings().stepMode != kFacetingStepFacetings);
}

PolygonDrawStyle GetPolygonDrawStyle()
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    PolygonDrawStyle style;
    style.edgeWidth = GetRenderSettings().edgeWidth;
    style.vertSize = options.mVertSize;
    style.edgeColor = *PolyElement::GetColor(nullptr);
    style.vertColor = options.mDefaultVertColor;
    return style;
}

void DrawPolygon3D(const Polygon3D& polygon, const Transform3D& map, double scale, const FaceVert* element)
{
    if (element)
    {
        const FaceVertProjector projector(*element);
        polygon.Draw(map, scale, &projector, GetPolygonDrawStyle());
    }
    else
        polygon.Draw(map, scale, nullptr, GetPolygonDrawStyle());
}

const char* AutoCompletePolygon(Polygon3D& polygon, const Poly& poly)
{
    return polygon.AutoComplete([&poly](Vec3D& point) {
        if (const FaceVert* vertex = poly.mVerts.FindAtPoint(point))
            point = vertex->mPoint;
        else if (const FaceVert* face = poly.mFaces.FindAtPoint(point))
            point = face->mPoint;
    });
}

int GetAxisOrder(const Polygon3D& polygon, SymGroup& group)
{
    const SymAxisSet* set = group.FindAxisByDir(polygon.mNormal);
    return set ? set->mOrder : 1;
}

namespace
{
std::vector<const RingVert*> RingVertices(const RingVert* ring)
{
    std::vector<const RingVert*> out;
    if (!ring)
        return out;
    const RingVert* v = ring;
    do
    {
        out.push_back(v);
        v = v->next;
    } while (v != ring);
    return out;
}

bool MapsOnto(const Mat3& m, const Vec3D& from, const Vec3D& to)
{
    Vec3D image;
    m.Transform(image, from);
    return Vec3Equal(image, to, kTol);
}
}  // namespace

int GetRotationOrder(const Polygon3D& polygon, SymGroup& group)
{
    const int c = GetAxisOrder(polygon, group);
    if (c <= 1)
        return c;
    const std::vector<const RingVert*> verts = RingVertices(polygon.mRing);
    const int n = int(verts.size());
    Vec3D r = polygon.mNormal;
    if (n == 0 || !Vec3Normalize(r))
        return 1;
    Vec3D e1;
    Vec3Perpendicular(e1, r);
    Vec3Normalize(e1);
    Vec3D e2;
    Vec3Cross(e2, r, e1);
    Mat3 frame;
    frame.SetColumns(e1, e2, r);
    Mat3 frameT;
    frameT.SetTranspose(frame);
    for (int i = 1; i < c; ++i)
    {
        if (c % i)
            continue;
        const int a = c / i;
        if (n % a)
            continue;
        const int s = n / a;
        Mat3 rz, tmp, rotation;
        rz.SetAxisRotationExact(2, 1, a);
        Mat3Mul(tmp, frame, rz);
        Mat3Mul(rotation, tmp, frameT);
        bool passes = true;
        for (int k = 0; k < n && passes; ++k)
            passes = MapsOnto(rotation, verts[size_t(k)]->pos, verts[size_t((k + s) % n)]->pos);
        if (passes)
            return a;
    }
    return 1;
}

bool HasImproperSymmetry(const Polygon3D& polygon, const SymGroup& group)
{
    if (group.mReflection == SymGroup::kChiral || !polygon.mRing)
        return false;
    const std::vector<const RingVert*> verts = RingVertices(polygon.mRing);
    const int n = int(verts.size());
    const Vec3D centre = polygon.GetRingCentre();
    SymOpIterator it;
    Mat3 scratch, m;
    while (group.NextImproperOperation(it, scratch, &m))
    {
        if (!MapsOnto(m, centre, centre))
            continue;
        Vec3D q;
        m.Transform(q, verts[0]->pos);
        for (int start = 0; start < n; ++start)
        {
            if (!Vec3Equal(verts[size_t(start)]->pos, q, kTol))
                continue;
            // Walking the image backwards: the operation reverses the turn of the ring.
            bool reversed = true;
            for (int k = 1; k < n && reversed; ++k)
                reversed = MapsOnto(m, verts[size_t(k)]->pos, verts[size_t((start - k + n) % n)]->pos);
            if (reversed)
                return true;
            bool forward = true;
            for (int k = 1; k < n && forward; ++k)
                forward = MapsOnto(m, verts[size_t(k)]->pos, verts[size_t((start + k) % n)]->pos);
            if (forward)
                return true;
        }
    }
    return false;
}
