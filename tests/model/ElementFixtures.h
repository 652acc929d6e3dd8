#pragma once

#include "kernel/FitPointSink.h"
#include "kernel/Tolerance.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

// Small models and helpers for the tests of element geometry, coplanar rings and compound parts.

// The faces of the convex hull of points in general position on its faces (no three corners of a
// face on one line), each counterclockwise seen from outside: found by brute force over all planes
// through three points, independent of the program's hull code.
inline PolySpec ConvexSpec(const std::vector<Vec3D>& points)
{
    PolySpec spec;
    spec.verts = points;
    const int n = int(points.size());
    std::set<std::vector<int>> seen;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k)
            {
                Vec3D a, b, normal;
                Vec3Sub(a, points[size_t(j)], points[size_t(i)]);
                Vec3Sub(b, points[size_t(k)], points[size_t(i)]);
                Vec3Cross(normal, a, b);
                if (!Vec3Normalize(normal))
                    continue;
                int above = 0, below = 0;
                std::vector<int> on;
                for (int m = 0; m < n; ++m)
                {
                    Vec3D d;
                    Vec3Sub(d, points[size_t(m)], points[size_t(i)]);
                    const double h = Vec3Dot(d, normal);
                    if (h > 1e-9)
                        ++above;
                    else if (h < -1e-9)
                        ++below;
                    else
                        on.push_back(m);
                }
                if (above && below)
                    continue;
                if (above)
                    Vec3Negate(normal);
                if (!seen.insert(on).second)
                    continue;
                Vec3D centre;
                for (int m : on)
                    Vec3AddTo(centre, points[size_t(m)]);
                Vec3Div(centre, centre, double(on.size()));
                Vec3D x, y;
                Vec3Sub(x, points[size_t(on[0])], centre);
                Vec3Normalize(x);
                Vec3Cross(y, normal, x);
                std::sort(on.begin(), on.end(), [&](int p, int q) {
                    Vec3D dp, dq;
                    Vec3Sub(dp, points[size_t(p)], centre);
                    Vec3Sub(dq, points[size_t(q)], centre);
                    return std::atan2(Vec3Dot(dp, y), Vec3Dot(dp, x)) < std::atan2(Vec3Dot(dq, y), Vec3Dot(dq, x));
                });
                spec.faces.push_back(on);
            }
    return spec;
}

// The small stellated dodecahedron: the icosahedron's 12 vertices (0, +-1, +-phi) and their cyclic
// turns; the face about each vertex direction is the pentagram through that vertex's 5 neighbours,
// every second one in turn, counterclockwise seen from outside.
inline PolySpec SmallStellatedDodecahedronSpec()
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    PolySpec spec;
    for (double s : {-1.0, 1.0})
        for (double t : {-phi, phi})
        {
            spec.verts.push_back(Vec3D{0.0, s, t});
            spec.verts.push_back(Vec3D{s, t, 0.0});
            spec.verts.push_back(Vec3D{t, 0.0, s});
        }
    for (const Vec3D& v : spec.verts)
    {
        std::vector<int> around;
        for (int j = 0; j < int(spec.verts.size()); ++j)
            if (std::fabs(Vec3Distance(v, spec.verts[size_t(j)]) - 2.0) < 1e-9)
                around.push_back(j);
        Vec3D axis = v, x, y;
        Vec3Normalize(axis);
        Vec3Perpendicular(x, axis);
        Vec3Normalize(x);
        Vec3Cross(y, axis, x);
        auto angle = [&](int j) {
            const Vec3D& p = spec.verts[size_t(j)];
            return std::atan2(Vec3Dot(p, y), Vec3Dot(p, x));
        };
        std::sort(around.begin(), around.end(), [&](int p, int q) { return angle(p) < angle(q); });
        EXPECT_EQ(around.size(), 5u);
        spec.faces.push_back({around[0], around[2], around[4], around[1], around[3]});
    }
    return spec;
}

// The points scaled so that the shortest distance between two of them is 1.
inline std::vector<Vec3D> ScaledToUnitEdge(std::vector<Vec3D> points)
{
    double shortest = 1e300;
    for (size_t i = 0; i < points.size(); ++i)
        for (size_t j = i + 1; j < points.size(); ++j)
            shortest = std::min(shortest, Vec3Distance(points[i], points[j]));
    for (Vec3D& p : points)
        Vec3Div(p, p, shortest);
    return points;
}

// Corners of the star polygon {n/d} of circumradius r in the plane z = height, counterclockwise.
inline std::vector<Vec3D> StarPolygon(int n, int d, double r, double height = 0.0)
{
    std::vector<Vec3D> corners;
    for (int k = 0; k < n; ++k)
    {
        const double a = 2.0 * kPi * k * d / n;
        corners.push_back(Vec3D{r * std::cos(a), r * std::sin(a), height});
    }
    return corners;
}

// x and y axes perpendicular to the element's normal, x towards corner 0 when it is finite.
inline void SetFrameAxes(FaceVert* e)
{
    Vec3D x;
    if (e->mNumSides > 0 && e->mNeighbours[0] && !(e->mNeighbours[0]->mFlags & FaceVert::kHemi))
    {
        Vec3Sub(x, e->mNeighbours[0]->mPoint, e->mCentre);
        Vec3AddScaledTo(x, -Vec3Dot(x, e->mZAxis), e->mZAxis);
    }
    if (!Vec3Normalize(x))
    {
        Vec3Perpendicular(x, e->mZAxis);
        Vec3Normalize(x);
    }
    e->mXAxis = x;
    Vec3Cross(e->mYAxis, e->mZAxis, x);
}

inline void SetAllFrames(Poly& poly)
{
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        SetFrameAxes(e);
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
        SetFrameAxes(e);
}

// One face of its own with these corners (each corner a vertex of that face alone), in the plane
// through centre with the normal; its pole is the polar point of that plane (a direction, and the
// face Hemi, when the plane passes through the origin). Centroid and axes are set.
inline Face* MakePolygonFace(Poly& poly, const std::vector<Vec3D>& corners, const Vec3D& centre, const Vec3D& normal)
{
    Face* face = new Face(&poly, nullptr, int(corners.size()));
    for (size_t i = 0; i < corners.size(); ++i)
    {
        Vec3D p = corners[i];
        Vert* v = new Vert(&poly, p, 1);
        v->mNeighbours[0] = face;
        face->mNeighbours[i] = v;
    }
    face->mZAxis = normal;
    Vec3Normalize(face->mZAxis);
    face->mCentre = centre;
    const double d = Vec3Dot(face->mZAxis, centre);
    if (IsZeroTol(d, kTol))
    {
        face->mPoint = face->mZAxis;
        face->mFlags |= FaceVert::kHemi;
    }
    else
        Vec3Scale(face->mPoint, face->mZAxis, 1.0 / d);
    face->CalcCentroid();
    SetFrameAxes(face);
    return face;
}

// A face type of the side holding the elements, in order, linked through their next-of-type links.
inline FaceType* AddFaceType(Poly& poly, bool dualSide, const std::vector<FaceVert*>& elements, int typeId)
{
    Stellation* stellation = dualSide ? poly.GetVertStellation() : poly.GetFaceStellation();
    FaceType* type = stellation->AppendFaceType(
        std::make_unique<FaceType>(&poly, stellation, typeId, stellation->GetNumFaceTypes()));
    FaceVert* last = nullptr;
    for (FaceVert* e : elements)
    {
        e->mFaceType = type;
        e->mNextOfType = nullptr;
        if (last)
            last->mNextOfType = e;
        else
            type->mFirstFace = e;
        last = e;
        ++type->mCount;
    }
    type->mLastFace = last;
    type->mNumRotations = 1;
    return type;
}

// Every face of the model in one type and every vertex in one dual type.
inline void OneTypePerSide(Poly& poly)
{
    std::vector<FaceVert*> faces, verts;
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        faces.push_back(e);
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
        verts.push_back(e);
    AddFaceType(poly, false, faces, 1);
    AddFaceType(poly, true, verts, 2);
}

// Every element a face type of its own.
inline void OneTypePerElement(Poly& poly)
{
    int id = 1;
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        AddFaceType(poly, false, {e}, id++);
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
        AddFaceType(poly, true, {e}, id++);
}

inline void CalcAllCentroids(Poly& poly)
{
    for (FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        e->CalcCentroid();
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
        e->CalcCentroid();
}

// Keeps the points of a fit pass.
class RecordingFitSink : public FitPointSink
{
public:
    void ExtendFit(const Vec3D& point) override { points.push_back(point); }

    double LargestRadius2D() const
    {
        double best = 0.0;
        for (const Vec3D& p : points)
            best = std::max(best, std::hypot(p.x, p.y));
        return best;
    }

    std::vector<Vec3D> points;
};
