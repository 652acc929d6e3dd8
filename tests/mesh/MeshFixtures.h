#pragma once

#include "kernel/Tolerance.h"
#include "kernel/Vec3D.h"
#include "library/LibraryEntry.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "model/CreatePoly.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "SolidPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>
#include <vector>

// A library row built into a model; the template lives as long as the model that points to it.
struct RowModel
{
    PolyTemplate templ;
    Poly poly;
};

inline std::unique_ptr<RowModel> OpenRow(const LibraryEntry& row)
{
    auto model = std::make_unique<RowModel>();
    if (!model->poly.CreateFromLibraryEntry(&model->templ, &row, false))
        return nullptr;
    return model;
}

inline std::unique_ptr<Poly> PolyFrom(SimplePoly* source)
{
    auto poly = std::make_unique<Poly>();
    if (!source || !CreatePoly(source, poly.get(), false, true))
        return nullptr;
    return poly;
}

// Six times the signed volume of the tetrahedron from the origin to a triangle.
inline double TripleProduct(const Vec3D& a, const Vec3D& b, const Vec3D& c)
{
    Vec3D cross;
    Vec3Cross(cross, b, c);
    return Vec3Dot(a, cross);
}

// The volume by the divergence theorem over the faces of a plain model, each fanned from its first
// corner; a face that says it is reversed counts the other way.
inline double Volume(const SimplePoly& poly)
{
    double sum = 0.0;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        double part = 0.0;
        for (int k = 1; k + 1 < face.mNum; ++k)
            part += TripleProduct(face.GetVert(0)->mPos, face.GetVert(k)->mPos, face.GetVert(k + 1)->mPos);
        sum += (face.mFlags & SimpleElem::kReverseNorm) ? -part : part;
    }
    return sum / 6.0;
}

// The same over the faces of one side of a Poly, from their corners.
inline double Volume(Poly& poly, bool dual)
{
    ElemList* faces = nullptr;
    poly.GetSideLists(dual, &faces, nullptr, nullptr, nullptr);
    double sum = 0.0;
    for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
        for (int k = 1; k + 1 < f->mNumSides; ++k)
            sum += TripleProduct(f->mNeighbours[0]->mPoint, f->mNeighbours[k]->mPoint, f->mNeighbours[k + 1]->mPoint);
    return sum / 6.0;
}

// Every edge slot of the model's own facelets, in model order.
template <class Visit>
void ForEachEdge(Model3D& model, Visit visit)
{
    for (Face3DType* type = model.mFaceTypes; type; type = type->mNext)
        for (int f = 0; f < type->mNumFaces; ++f)
            for (int e = 0; e < type->mNumSides; ++e)
                visit(type->mFaces[size_t(f)].mEdges[size_t(e)]);
}

// The runs of the vertex array: their first indices and sizes.
inline std::vector<std::pair<int, int>> VertexRuns(const Model3D& model)
{
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < model.mNumVerts; ++i)
    {
        if (model.mVerts[size_t(i)].mFlags & kVert3DRunStart)
            runs.push_back({i, 0});
        if (!runs.empty())
            ++runs.back().second;
    }
    return runs;
}

// A mesh of whole faces, each its own facelet type of one loop, every vertex a run of its own; each
// edge's plane position is its start in a frame of the face's plane (first side along x).
inline void BuildMesh(Model3D& model, const std::vector<Vec3D>& points, const std::vector<std::vector<int>>& faces)
{
    ASSERT_TRUE(model.AllocateVerts(int(points.size())));
    for (size_t i = 0; i < points.size(); ++i)
    {
        model.mVerts[i].mPos = points[i];
        model.mVerts[i].mFlags = kVert3DRunStart;
    }
    model.mNumVertTypes = int(points.size());
    for (const std::vector<int>& f : faces)
    {
        const int32_t size = int32_t(f.size());
        Face3DType* type = model.AppendFaceType(
            std::make_unique<Face3DType>(&model, 1, std::span<const int32_t>(&size, 1)), false);
        Face3D& face = type->mFaces[0];
        const Vec3D& o = points[size_t(f[0])];
        Vec3D x, y, normal, a, b;
        Vec3Sub(x, points[size_t(f[1])], o);
        Vec3Normalize(x);
        Vec3Sub(a, points[size_t(f[1])], o);
        Vec3Sub(b, points[size_t(f[2])], o);
        Vec3Cross(normal, a, b);
        Vec3Normalize(normal);
        Vec3Cross(y, normal, x);
        for (int i = 0; i < size; ++i)
        {
            Edge3D& e = face.mEdges[size_t(i)];
            e.mVert = &model.mVerts[size_t(f[size_t(i)])];
            Vec3D d;
            Vec3Sub(d, e.mVert->mPos, o);
            e.mFacePos = Vec2D{Vec3Dot(d, x), Vec3Dot(d, y)};
            e.mVert->AddEdge(&e);
        }
    }
}

inline std::vector<Vec3D> Cube(double edge, double stretchZ = 0.0)
{
    std::vector<Vec3D> v;
    for (int i = 0; i < 8; ++i)
        v.push_back(Vec3D{(i & 1) ? edge : 0.0, (i & 2) ? edge : 0.0, (i & 4) ? edge + stretchZ : 0.0});
    return v;
}

// Outward counterclockwise quads of the cube above.
inline const std::vector<std::vector<int>> kCubeFaces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
