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

#include <cmath>
#include <memory>
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
