#include "library/FlatExportGeometry.h"

#include "kernel/Messages.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
bool IsZero(const Vec3D& v)
{
    return std::fabs(v.x) <= kTol && std::fabs(v.y) <= kTol && std::fabs(v.z) <= kTol;
}

// The unit coordinate axis of the smallest component of d (x before y before z on ties).
Vec3D SmallestAxis(const Vec3D& d)
{
    const double x = std::fabs(d.x), y = std::fabs(d.y), z = std::fabs(d.z);
    if (x <= y + kTol && x <= z + kTol)
        return Vec3D{1.0, 0.0, 0.0};
    if (y <= z + kTol)
        return Vec3D{0.0, 1.0, 0.0};
    return Vec3D{0.0, 0.0, 1.0};
}

struct Cylinder
{
    int a, b;
    uint32_t color;
    Vec3D e, f;  // the ring's frame across the edge
};

// Newell's normal of the corners: the way they turn, which for these small solids is outwards.
// (The model's own normals point away from its centre, which a rod's side towards it does not.)
Vec3D CornerNormal(const SimplePoly& poly, const std::vector<int>& corners)
{
    Vec3D n;
    for (size_t k = 0; k < corners.size(); ++k)
    {
        const Vec3D& a = poly.mVerts[corners[k]].mPos;
        const Vec3D& b = poly.mVerts[corners[(k + 1) % corners.size()]].mPos;
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    Vec3Normalize(n);
    return n;
}

// Appends a face of the corners (vertex indices) in the colour, its normal from their order.
void AddFace(SimplePoly& poly, int& next, const std::vector<int>& corners, uint32_t color)
{
    SimpleFace& face = poly.mFaces[next++];
    face.SetNumVerts(int(corners.size()));
    for (size_t k = 0; k < corners.size(); ++k)
        face.SetVert(int(k), &poly.mVerts[corners[k]]);
    face.mColor = face.mBackColor = color;
    face.mNormal = CornerNormal(poly, corners);
}

void HideFrom(SimplePoly& poly, int first)
{
    for (int i = first; i < poly.mNumVerts; ++i)
        poly.mVerts[i].mFlags |= SimpleElem::kHidden;
}
}  // namespace

bool AddFlatEdgeCylinders(SimplePoly& poly, const VertexPair* edges, double radius, int segments, bool caps,
                          bool triangulate)
{
    if (segments < 3)
    {
        InternalError("AddFlatEdgeCylinders(): %d segments", segments);
        return false;
    }
    std::vector<Cylinder> cylinders;
    for (const VertexPair* pair = edges; pair; pair = pair->mNext)
    {
        if (pair->mLow < 0 || pair->mLow >= poly.mNumVerts || pair->mHigh < 0 || pair->mHigh >= poly.mNumVerts)
            continue;
        const Vec3D& p1 = poly.mVerts[pair->mLow].mPos;
        Vec3D d;
        Vec3Sub(d, poly.mVerts[pair->mHigh].mPos, p1);
        if (IsZero(d))
            continue;
        Vec3Normalize(d);
        // Across the edge, in the plane through the centre where there is one.
        Vec3D e;
        Vec3Cross(e, d, p1);
        if (IsZero(e))
            Vec3Cross(e, d, SmallestAxis(d));
        Vec3Normalize(e);
        // e x d makes f x e = d: the ring turns counter-clockwise about the edge, its faces out. Off
        // the centre's line f also points away from the centre.
        Vec3D f;
        Vec3Cross(f, e, d);
        Vec3Normalize(f);
        cylinders.push_back(Cylinder{pair->mLow, pair->mHigh, uint32_t(pair->mValue), e, f});
    }
    if (cylinders.empty())
        return true;

    const int64_t h = segments;
    const int64_t sideFaces = triangulate ? 2 * h : h;
    const int64_t capFaces = !caps ? 0 : triangulate ? 2 * (h - 2) : 2;
    const int64_t count = int64_t(cylinders.size());
    const int64_t numVerts = poly.mNumVerts + count * 2 * h;
    const int64_t numFaces = poly.mNumFaces + count * (sideFaces + capFaces);
    if (!SimplePoly::CheckSize(numVerts, numFaces))
        return false;
    const int firstVert = poly.mNumVerts;
    int nextFace = poly.mNumFaces;
    if (!poly.Grow(int(numVerts), int(numFaces)))
        return false;

    int nextVert = firstVert;
    std::vector<int> a(static_cast<size_t>(segments)), b(static_cast<size_t>(segments));
    for (const Cylinder& c : cylinders)
    {
        const SimpleVert& v1 = poly.mVerts[c.a];
        const SimpleVert& v2 = poly.mVerts[c.b];
        const double r1 = radius * (v1.mSizeFactor > 0.0 ? v1.mSizeFactor : 1.0);
        const double r2 = radius * (v2.mSizeFactor > 0.0 ? v2.mSizeFactor : 1.0);
        const Vec3D p1 = v1.mPos, p2 = v2.mPos;
        for (int k = 0; k < segments; ++k)
        {
            double s = 0.0, co = 0.0;
            SineTable::SinCos(k, segments, s, co);
            const Vec3D across{co * c.f.x + s * c.e.x, co * c.f.y + s * c.e.y, co * c.f.z + s * c.e.z};
            for (const bool second : {false, true})
            {
                SimpleVert& v = poly.mVerts[nextVert];
                Vec3AddScaled(v.mPos, second ? p2 : p1, second ? r2 : r1, across);
                v.mColor = c.color;
                (second ? b : a)[size_t(k)] = nextVert++;
            }
        }
        for (int k = 0; k < segments; ++k)
        {
            const size_t i = size_t(k), j = size_t((k + 1) % segments);
            if (triangulate)
            {
                AddFace(poly, nextFace, {b[i], a[i], a[j]}, c.color);
                AddFace(poly, nextFace, {b[i], a[j], b[j]}, c.color);
            }
            else
                AddFace(poly, nextFace, {b[i], a[i], a[j], b[j]}, c.color);
        }
        if (!caps)
            continue;
        if (triangulate)
        {
            for (size_t k = 1; k + 1 < size_t(segments); ++k)
            {
                AddFace(poly, nextFace, {a[0], a[k + 1], a[k]}, c.color);
                AddFace(poly, nextFace, {b[0], b[k], b[k + 1]}, c.color);
            }
        }
        else
        {
            // The ring at the first end runs backwards, so that this cap too looks out.
            AddFace(poly, nextFace, std::vector<int>(a.rbegin(), a.rend()), c.color);
            AddFace(poly, nextFace, b, c.color);
        }
    }
    HideFrom(poly, firstVert);
    return true;
}

bool AddFlatVertexSpheres(SimplePoly& poly, int numModelVerts, double radius, int frequency)
{
    std::unique_ptr<SimplePoly> sphere = SimplePoly::CreateSphere(frequency);
    if (!sphere)
    {
        InternalError("AddFlatVertexSpheres(): no sphere of frequency %d", frequency);
        return false;
    }
    std::vector<int> centres;
    for (int i = 0; i < numModelVerts && i < poly.mNumVerts; ++i)
        if (!poly.mVerts[i].IsHidden())
            centres.push_back(i);
    if (centres.empty())
        return true;
    const int64_t numVerts = poly.mNumVerts + int64_t(centres.size()) * sphere->mNumVerts;
    const int64_t numFaces = poly.mNumFaces + int64_t(centres.size()) * sphere->mNumFaces;
    if (!SimplePoly::CheckSize(numVerts, numFaces))
        return false;
    const int firstVert = poly.mNumVerts;
    int nextFace = poly.mNumFaces;
    if (!poly.Grow(int(numVerts), int(numFaces)))
        return false;

    // The sphere's radius: the distance of its vertices from its centre.
    const double sphereRadius = sphere->GetRadius();
    int nextVert = firstVert;
    std::vector<int> corners;
    for (const int centre : centres)
    {
        const SimpleVert& v = poly.mVerts[centre];
        const double scale = radius * (v.mSizeFactor > 0.0 ? v.mSizeFactor : 1.0) / sphereRadius;
        const int base = nextVert;
        for (int i = 0; i < sphere->mNumVerts; ++i)
        {
            SimpleVert& added = poly.mVerts[nextVert++];
            Vec3AddScaled(added.mPos, v.mPos, scale, sphere->mVerts[i].mPos);
            added.mColor = v.mColor;
        }
        for (int f = 0; f < sphere->mNumFaces; ++f)
        {
            const SimpleFace& face = sphere->mFaces[f];
            corners.clear();
            for (int k = 0; k < face.mNum; ++k)
                corners.push_back(base + SimpleVert::GetIndex(face.GetVert(k)));
            // The sphere's triangles do not all run one way round: each is turned to look out.
            Vec3D out;
            Vec3Sub(out, poly.mVerts[corners[0]].mPos, v.mPos);
            if (Vec3Dot(CornerNormal(poly, corners), out) < 0.0)
                std::reverse(corners.begin() + 1, corners.end());
            AddFace(poly, nextFace, corners, v.mColor);
        }
    }
    HideFrom(poly, firstVert);
    return true;
}
