#pragma once

#include "kernel/Tolerance.h"
#include "kernel/Vec3D.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

// Builds the elements of a Poly by hand the way the model builders leave them, for tests of the
// element code: each face lists its corners counterclockwise seen from outside; each vertex lists
// its faces so that the face after F is the one across the edge that enters the vertex in F (so
// that no face runs against the vertex's turn); faces carry their planes and poles with respect to
// the unit sphere. With edges, one edge record per side pair and a single edge type.
struct PolySpec
{
    std::vector<Vec3D> verts;
    std::vector<std::vector<int>> faces;
};

inline PolySpec CubeSpec()
{
    PolySpec s;
    s.verts = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
    s.faces = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
    return s;
}

inline PolySpec TetrahedronSpec()
{
    PolySpec s;
    s.verts = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    s.faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}};
    return s;
}

// A torus of n by m quadrilaterals (each an isosceles trapezoid, so planar).
inline PolySpec TorusSpec(int n, int m)
{
    PolySpec spec;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
        {
            const double u = 2.0 * kPi * i / n, v = 2.0 * kPi * j / m;
            const double ring = 3.0 + std::cos(v);
            spec.verts.push_back(Vec3D{ring * std::cos(u), ring * std::sin(u), std::sin(v)});
        }
    auto at = [&](int i, int j) { return (i % n) * m + (j % m); };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
            spec.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    return spec;
}

inline void BuildPoly(Poly& poly, const PolySpec& spec, bool withEdges)
{
    const int nv = int(spec.verts.size());
    const int nf = int(spec.faces.size());
    // Directed side (a, b) -> the face that runs along it.
    std::map<std::pair<int, int>, int> sideFace;
    std::vector<int> valence(size_t(nv), 0);
    for (int f = 0; f < nf; ++f)
    {
        const std::vector<int>& c = spec.faces[size_t(f)];
        for (size_t k = 0; k < c.size(); ++k)
        {
            sideFace[{c[k], c[(k + 1) % c.size()]}] = f;
            ++valence[size_t(c[k])];
        }
    }
    std::vector<Face*> faces;
    for (int f = 0; f < nf; ++f)
        faces.push_back(new Face(&poly, nullptr, int(spec.faces[size_t(f)].size())));
    std::vector<Vert*> verts;
    for (int v = 0; v < nv; ++v)
    {
        Vec3D p = spec.verts[size_t(v)];
        verts.push_back(new Vert(&poly, p, valence[size_t(v)]));
    }
    for (int f = 0; f < nf; ++f)
    {
        const std::vector<int>& c = spec.faces[size_t(f)];
        Face* face = faces[size_t(f)];
        Vec3D centroid;
        for (size_t k = 0; k < c.size(); ++k)
        {
            face->mNeighbours[k] = verts[size_t(c[k])];
            Vec3AddTo(centroid, spec.verts[size_t(c[k])]);
        }
        Vec3Div(centroid, centroid, double(c.size()));
        face->mCentroid = centroid;
        if (c.size() < 3)
            continue;  // no plane of its own
        Vec3D normal;
        Vec3Normal3(normal, spec.verts[size_t(c[0])], spec.verts[size_t(c[1])], spec.verts[size_t(c[2])]);
        Vec3Normalize(normal);
        const double d = Vec3Dot(normal, spec.verts[size_t(c[0])]);
        face->mZAxis = normal;
        Vec3Scale(face->mCentre, normal, d);
        Vec3Scale(face->mPoint, normal, 1.0 / d);
    }
    // Round each vertex: the face after F is the one across the side that enters the vertex in F.
    for (int v = 0; v < nv; ++v)
    {
        int f = -1;
        for (int g = 0; g < nf && f < 0; ++g)
            for (int corner : spec.faces[size_t(g)])
                if (corner == v)
                    f = g;
        for (int k = 0; k < valence[size_t(v)]; ++k)
        {
            verts[size_t(v)]->mNeighbours[k] = faces[size_t(f)];
            const std::vector<int>& c = spec.faces[size_t(f)];
            size_t at = 0;
            while (c[at] != v)
                ++at;
            const int before = c[(at + c.size() - 1) % c.size()];
            f = sideFace[{v, before}];
        }
    }
    if (!withEdges)
        return;
    // One edge per side pair, numbered in the order the faces meet them.
    std::map<std::pair<int, int>, Edge*> edgeOf;
    std::vector<std::array<int, 4>> records;  // a, b, left face, right face
    for (int f = 0; f < nf; ++f)
    {
        const std::vector<int>& c = spec.faces[size_t(f)];
        for (size_t k = 0; k < c.size(); ++k)
        {
            const int a = c[k], b = c[(k + 1) % c.size()];
            if (a < b)
                records.push_back({a, b, f, sideFace[{b, a}]});
        }
    }
    poly.mNumEdges = int(records.size());
    poly.mEdges.Resize(poly.mNumEdges);
    for (size_t i = 0; i < records.size(); ++i)
    {
        Edge& e = poly.mEdges[int(i)];
        e.mVerts[0] = verts[size_t(records[i][0])];
        e.mVerts[1] = verts[size_t(records[i][1])];
        e.mFaces[0] = faces[size_t(records[i][2])];
        e.mFaces[1] = faces[size_t(records[i][3])];
        e.mType = 0;
        edgeOf[{records[i][0], records[i][1]}] = &e;
        edgeOf[{records[i][1], records[i][0]}] = &e;
    }
    for (int f = 0; f < nf; ++f)
    {
        const std::vector<int>& c = spec.faces[size_t(f)];
        for (size_t k = 0; k < c.size(); ++k)
            faces[size_t(f)]->mEdges[k] = edgeOf[{c[k], c[(k + 1) % c.size()]}];
    }
    // At a vertex, edge k lies between faces k and k+1: the side that enters the vertex in face k.
    for (int v = 0; v < nv; ++v)
    {
        Vert* vert = verts[size_t(v)];
        for (int k = 0; k < vert->mNumSides; ++k)
        {
            const Face* face = static_cast<const Face*>(vert->mNeighbours[k]);
            const int at = FaceVert::FindNeighbour(face, vert, -1);
            const FaceVert* before = face->mNeighbours[(at + face->mNumSides - 1) % face->mNumSides];
            vert->mEdges[k] = edgeOf[{v, before->mIndex}];
        }
    }
    poly.mNumEdgeTypes = 1;
    poly.mEdgeTypes.Resize(1);
    poly.mEdgeTypes[0].mFirstEdge = &poly.mEdges[0];
    poly.mEdgeTypes[0].mCount = poly.mNumEdges;
}
