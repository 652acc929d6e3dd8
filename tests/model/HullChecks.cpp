#include "HullChecks.h"

#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace
{
uint64_t EdgeKey(int a, int b)
{
    return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

// Signed distance from the plane through the face's corners' centroid along its normal.
double PlaneDistance(const SimpleFace& f, const Vec3D& p)
{
    Vec3D centroid;
    for (int k = 0; k < f.mNum; ++k)
        Vec3AddTo(centroid, f.GetVert(k)->mPos);
    Vec3Div(centroid, centroid, f.mNum);
    Vec3D d;
    Vec3Sub(d, p, centroid);
    return Vec3Dot(f.mNormal, d);
}
}  // namespace

HullShape CheckSoundHull(const SimplePoly& hull, const std::vector<Vec3D>* points, double tol)
{
    HullShape shape;
    std::unordered_map<uint64_t, int> faceOfEdge;  // directed edge -> face
    std::vector<int> isCorner(size_t(hull.mNumVerts), 0);
    int failures = 0;
    auto check = [&](bool ok, const char* what, int face) {
        if (!ok && ++failures <= 5)
            ADD_FAILURE() << what << " (face " << face << ")";
    };

    for (int fi = 0; fi < hull.mNumFaces; ++fi)
    {
        const SimpleFace& f = hull.mFaces[fi];
        if (f.mFlags & SimpleElem::kTemp)
            continue;
        ++shape.f;
        check(f.mNum >= 3, "a face has fewer than 3 corners", fi);
        check(std::fabs(Vec3Length(f.mNormal) - 1.0) < 1e-9, "a normal is not a unit vector", fi);
        for (int k = 0; k < f.mNum; ++k)
        {
            const SimpleVert* a = f.GetVert(k);
            const SimpleVert* b = f.GetVert((k + 1) % f.mNum);
            const SimpleVert* c = f.GetVert((k + 2) % f.mNum);
            isCorner[size_t(a->GetIndex())] = 1;
            check(!(a->mFlags & SimpleElem::kTemp), "a corner is Temp", fi);
            check(std::fabs(PlaneDistance(f, a->mPos)) <= tol, "a corner is off its face's plane", fi);
            Vec3D ab, bc, turn;
            Vec3Sub(ab, b->mPos, a->mPos);
            Vec3Sub(bc, c->mPos, b->mPos);
            Vec3Cross(turn, ab, bc);
            // Convex and counter-clockwise about the outward normal, within tol of straight.
            check(Vec3Dot(turn, f.mNormal) >= -tol * std::sqrt(std::max(Vec3LengthSq(ab), Vec3LengthSq(bc))),
                  "a corner turns the wrong way", fi);
            const bool fresh = faceOfEdge.emplace(EdgeKey(a->GetIndex(), b->GetIndex()), fi).second;
            check(fresh, "a directed edge is used twice", fi);
        }
    }
    for (const auto& [key, fi] : faceOfEdge)
    {
        const int a = int(key >> 32), b = int(key & 0xffffffffu);
        auto twin = faceOfEdge.find(EdgeKey(b, a));
        check(twin != faceOfEdge.end(), "an edge has no face on its other side", fi);
        if (twin == faceOfEdge.end())
            continue;
        check(twin->second != fi, "a face meets itself at an edge", fi);
        // Local convexity: the neighbour's corners lie behind this face's plane.
        const SimpleFace& f = hull.mFaces[fi];
        const SimpleFace& g = hull.mFaces[twin->second];
        for (int k = 0; k < g.mNum; ++k)
            check(PlaneDistance(f, g.GetVert(k)->mPos) <= tol, "a neighbouring face bends outwards", fi);
    }
    shape.e = int(faceOfEdge.size() / 2);
    for (int i = 0; i < hull.mNumVerts; ++i)
    {
        shape.v += isCorner[size_t(i)];
        if (!isCorner[size_t(i)])
            check((hull.mVerts[i].mFlags & SimpleElem::kTemp) != 0, "a vertex that is no corner is not Temp", -1);
    }
    EXPECT_EQ(shape.v - shape.e + shape.f, 2) << "Euler's formula";

    if (points && double(points->size()) * shape.f <= 5e7)
    {
        for (int fi = 0; fi < hull.mNumFaces; ++fi)
        {
            const SimpleFace& f = hull.mFaces[fi];
            if (f.mFlags & SimpleElem::kTemp)
                continue;
            for (const Vec3D& p : *points)
                check(PlaneDistance(f, p) <= tol, "a point lies outside the hull", fi);
        }
    }
    EXPECT_EQ(failures, 0);
    return shape;
}
