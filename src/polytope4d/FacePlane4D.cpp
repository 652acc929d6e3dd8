#include "polytope4d/FacePlane4D.h"

#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "kernel/RingVert.h"
#include "kernel/SplitSelfIntersections.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "polytope4d/Element4D.h"

namespace
{
// A face's 2-plane seen along two coordinate axes: offsets along axes u and v from the origin
// corner, and the map back to the offsets along the two dropped axes a and b.
struct FaceFrame4D
{
    int u = 0;
    int v = 1;
    int a = 2;
    int b = 3;
    double map[2][2] = {};  // (da, db) = map (du, dv)
    Vec4D origin;

    // False when the first three corners span no plane.
    bool Setup(const Vec4D& p0, const Vec4D& p1, const Vec4D& p2)
    {
        origin = p0;
        Vec4D e1, e2, w, q2;
        Vec4Sub(e1, p1, p0);
        Vec4Sub(e2, p2, p0);
        Vec4PerpendicularTo2(w, e1, e2);
        // |w| is at least the parallelogram's area over sqrt 2, so this bounds the sine of the sides'
        // angle: two sides along one line give no frame.
        if (Vec4Length(w) <= kTol * Vec4Length(e1) * Vec4Length(e2))
            return false;
        Vec4Cross(q2, e1, e2, w);
        // Drop the axes along which the plane's two normals are longest: the plane then projects
        // onto the other two with the least distortion.
        a = Vec4MaxAxis(w);
        q2[a] = 0.0;
        b = Vec4MaxAxis(q2);
        u = (a + 1) % 4;
        if (u == b)
            u = (u + 1) % 4;
        v = (u + 1) % 4;
        if (v == b)
            v = (v + 1) % 4;
        const double det = e1[u] * e2[v] - e2[u] * e1[v];
        if (det == 0.0)
            return false;
        // (du, dv) = s e1 + t e2 restricted to u, v; solve for s, t and carry them to a and b.
        for (int row = 0; row < 2; ++row)
        {
            const int axis = row == 0 ? a : b;
            map[row][0] = (e1[axis] * e2[v] - e2[axis] * e1[v]) / det;
            map[row][1] = (e2[axis] * e1[u] - e1[axis] * e2[u]) / det;
        }
        return true;
    }

    void ToSpace(Vec4D& out, double du, double dv) const
    {
        out[u] = du;
        out[v] = dv;
        out[a] = map[0][0] * du + map[0][1] * dv;
        out[b] = map[1][0] * du + map[1][1] * dv;
        Vec4Add(out, out, origin);
    }
};
}  // namespace

bool FacePlaneAxes4D(const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, int& u, int& v)
{
    FaceFrame4D frame;
    if (!frame.Setup(p0, p1, p2))
        return false;
    u = frame.u;
    v = frame.v;
    return true;
}

void FacePlane4D::Clear()
{
    mPoints.clear();
    mNumIndices = 0;
    mIndices.reset();
}

void FacePlane4D::Setup(const Face4D& face)
{
    Clear();
    if (face.mNumSides < 3)
        return;
    for (int k = 0; k < face.mNumSides; ++k)
    {
        if (!face.mVerts[k])
            return;
    }
    // The frame comes from the first three corners; when they lie on a line, the next corner off
    // that line stands in for the third, since a frame from a line maps the face to nonsense.
    FaceFrame4D frame;
    bool framed = false;
    for (int k = 2; k < face.mNumSides && !framed; ++k)
        framed = frame.Setup(face.mVerts[0]->mPos, face.mVerts[1]->mPos, face.mVerts[k]->mPos);
    if (!framed)
        return;

    RingVert* ring = nullptr;
    for (int k = 0; k < face.mNumSides; ++k)
    {
        const Vec4D& p = face.mVerts[k]->mPos;
        if (!AddRingVert(p[frame.u] - frame.origin[frame.u], p[frame.v] - frame.origin[frame.v], nullptr, nullptr,
                         ring))
        {
            FreeRing(ring);
            return;
        }
    }
    ring = RemoveDuplicateRingVerts(ring);
    if (!ring)
        return;
    std::unique_ptr<Vec2D[]> points;
    int pointCount = 0;
    RingList* rings = SplitSelfIntersections(ring, points, &pointCount);
    FreeRing(ring);
    if (!rings || !points)
    {
        FreeRingList(rings);
        return;
    }
    mNumIndices = TriangulateRingList(rings, mIndices);
    mPoints.resize(size_t(pointCount));
    for (int i = 0; i < pointCount; ++i)
        frame.ToSpace(mPoints[size_t(i)], points[size_t(i)].x, points[size_t(i)].y);
}
