#include "polytope4d/Prisms4D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/Stellation.h"

#include <vector>

std::unique_ptr<Polytope4D> Build4DPrism(Poly* poly, int axis)
{
    if (!poly || axis < 0 || axis > 3)
        return nullptr;
    ElemList* faceList = nullptr;
    ElemList* vertList = nullptr;
    Stellation* stellation = nullptr;
    poly->GetSideLists(poly->mShowDual, &faceList, &vertList, &stellation, nullptr);
    const int numVerts = vertList->mCount;
    const int numFaces = faceList->mCount;
    if (numVerts == 0 || numFaces == 0)
        return nullptr;
    for (const FaceVert* v = vertList->mFirst; v; v = v->mNext)
    {
        // A vertex at infinity (the dual of a face through the centre) has no place to copy.
        if (v->mFlags & FaceVert::kHemi)
        {
            ErrorMessage("Can't make a 4D prism: vertex %d lies at infinity", FaceVert::GetNumber(v));
            return nullptr;
        }
    }
    double h = stellation->GetMeanEdgeLength() / 2.0;
    // A model not yet analysed has no mean edge length: measure its face sides, or the two copies
    // would coincide and every square collapse.
    if (!(h > kTol))
    {
        double sum = 0.0;
        int count = 0;
        for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
            for (int i = 0; i < f->mNumSides; ++i)
            {
                const FaceVert* a = f->mNeighbours[i];
                const FaceVert* b = f->mNeighbours[(i + 1) % f->mNumSides];
                if (!a || !b)
                    continue;
                Vec3D d;
                Vec3Sub(d, a->mPoint, b->mPoint);
                sum += Vec3Length(d);
                ++count;
            }
        h = count ? sum / count / 2.0 : 0.0;
    }
    if (!(h > kTol))
    {
        ErrorMessage("Can't make a 4D prism: the model's edges have no length");
        return nullptr;
    }

    auto prism = std::make_unique<Polytope4D>();
    for (int copy = 0; copy < 2; ++copy)
    {
        for (const FaceVert* v = vertList->mFirst; v; v = v->mNext)
        {
            Vec4D pos;
            pos[axis] = copy == 0 ? h : -h;
            for (int k = 0; k < 3; ++k)
                pos[(axis + 1 + k) % 4] = v->mPoint[k];
            prism->NewVert(&pos);
        }
    }
    auto corner = [&](const FaceVert* f, int i, int copy) {
        return prism->GetVert(FaceVert::GetIndex(f->mNeighbours[i]) + copy * numVerts);
    };
    for (int copy = 0; copy < 2; ++copy)
    {
        for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
        {
            Face4D* face = prism->NewFace(f->mNumSides);
            for (int i = 0; i < f->mNumSides; ++i)
                face->SetVert(i, corner(f, i, copy));
        }
    }
    // One square per edge, made from the side of the face with the lower index; both faces at the
    // edge find it by their own side.
    auto squares = std::vector<std::vector<Face4D*>>(size_t(numFaces));
    for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
        squares[size_t(FaceVert::GetIndex(f))].resize(size_t(f->mNumSides), nullptr);
    for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
    {
        const int n = f->mNumSides;
        for (int i = 0; i < n; ++i)
        {
            int side = i;
            const FaceVert* g = FaceVert::GetAdjacentAndSide(f, side);
            if (g && FaceVert::GetIndex(g) < FaceVert::GetIndex(f))
                continue;
            if (squares[size_t(FaceVert::GetIndex(f))][size_t(i)])
                continue;
            Face4D* square = prism->NewFace(4);
            square->SetVert(0, corner(f, i, 0));
            square->SetVert(1, corner(f, i, 1));
            square->SetVert(2, corner(f, (i + 1) % n, 1));
            square->SetVert(3, corner(f, (i + 1) % n, 0));
            squares[size_t(FaceVert::GetIndex(f))][size_t(i)] = square;
            if (g && side >= 0 && side < g->mNumSides)
                squares[size_t(FaceVert::GetIndex(g))][size_t(side)] = square;
        }
    }
    for (int copy = 0; copy < 2; ++copy)
    {
        Cell4D* cell = prism->NewCell(numFaces);
        for (int i = 0; i < numFaces; ++i)
            cell->SetFace(i, prism->GetFace(i + copy * numFaces));
    }
    for (const FaceVert* f = faceList->mFirst; f; f = f->mNext)
    {
        const int index = FaceVert::GetIndex(f);
        Cell4D* cell = prism->NewCell(f->mNumSides + 2);
        cell->SetFace(0, prism->GetFace(index));
        cell->SetFace(1, prism->GetFace(index + numFaces));
        for (int i = 0; i < f->mNumSides; ++i)
            cell->SetFace(i + 2, squares[size_t(index)][size_t(i)]);
    }
    return prism;
}

std::unique_ptr<Polytope4D> Create4DPrism(Poly* poly, int axis)
{
    std::unique_ptr<Polytope4D> prism = Build4DPrism(poly, axis);
    if (prism)
        prism->FinishPolytope();
    return prism;
}
