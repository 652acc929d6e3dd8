#include "Polytope4DFixtures.h"

void AddSimplex(Polytope4D& p, double offset, uint32_t cellColor)
{
    const Vec4D corners[5] = {{1, 0, 0, offset}, {0, 1, 0, offset}, {0, 0, 1, offset}, {-1, -1, -1, offset},
                              {0, 0, 0, offset + 2}};
    Vert4D* verts[5];
    for (int i = 0; i < 5; ++i)
        verts[i] = p.NewVert(&corners[i]);
    Face4D* faces[5][5][5] = {};
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            for (int k = j + 1; k < 5; ++k)
            {
                Face4D* f = p.NewFace(3);
                f->SetVert(0, verts[i]);
                f->SetVert(1, verts[j]);
                f->SetVert(2, verts[k]);
                faces[i][j][k] = f;
            }
    for (int m = 0; m < 5; ++m)
    {
        Cell4D* cell = p.NewCell(4);
        cell->mColor = cellColor;
        int slot = 0;
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j)
                for (int k = j + 1; k < 5; ++k)
                {
                    if (i != m && j != m && k != m)
                        cell->SetFace(slot++, faces[i][j][k]);
                }
    }
}

void AddSimplexLinks(Polytope4D& p)
{
    const int firstVert = p.mNumVerts - 5;
    const int firstFace = p.mNumFaces - 10;
    const int firstCell = p.mNumCells - 5;
    for (int i = 0; i < 5; ++i)
    {
        Vert4D* v = p.GetVert(firstVert + i);
        v->mCells.reset(new Cell4D*[4]);
        v->mEdges.reset(new Edge4D*[4]);
        v->mFaces.reset(new Face4D*[6]);
        for (int m = 0; m < 5; ++m)
        {
            if (m != i)
                v->mCells[v->mNumCells++] = p.GetCell(firstCell + m);
        }
        for (int f = firstFace; f < firstFace + 10; ++f)
        {
            if (p.GetFace(f)->FindVert(v, -1) >= 0)
                v->mFaces[v->mNumFaces++] = p.GetFace(f);
        }
    }
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
        {
            Vert4D* a = p.GetVert(firstVert + i);
            Vert4D* b = p.GetVert(firstVert + j);
            Edge4D* edge = p.NewEdge(a, b);
            edge->mFaces.reset(new Face4D*[3]());
            edge->mCells.reset(new Cell4D*[3]());
            for (int f = firstFace; f < firstFace + 10; ++f)
            {
                Face4D* face = p.GetFace(f);
                for (int k = 0; k < 3; ++k)
                {
                    const Vert4D* from = face->mVerts[k];
                    const Vert4D* to = face->mVerts[(k + 1) % 3];
                    if ((from == a && to == b) || (from == b && to == a))
                    {
                        face->mEdges[k] = edge;
                        edge->mFaces[edge->mNumFaces++] = face;
                    }
                }
            }
            // The three cells around the edge are those that keep both its ends.
            int slot = 0;
            for (int m = 0; m < 5; ++m)
            {
                if (m != i && m != j)
                    edge->mCells[slot++] = p.GetCell(firstCell + m);
            }
            a->mEdges[a->mNumEdges++] = edge;
            b->mEdges[b->mNumEdges++] = edge;
        }
}

void AddPart(Polytope4D& p, Cell4D* first, bool orientable)
{
    Part4D* part = new Part4D;
    part->mFirstCell = first;
    part->mNumVerts = 5;
    part->mNumFaces = 10;
    part->mNumEdges = 10;
    part->mNumCells = 5;
    part->mFlags = orientable ? 0 : Part4D::kNotOrientable;
    if (p.mLastPart)
        p.mLastPart->mNext = part;
    else
        p.mFirstPart = part;
    p.mLastPart = part;
}

LinkedPair MakeLinkedPair()
{
    LinkedPair pair;
    pair.base = std::make_unique<Polytope4D>();
    AddSimplex(*pair.base, 0.0, 0x0000FF);
    AddSimplexLinks(*pair.base);
    pair.dual = new Polytope4D;
    AddSimplex(*pair.dual, 0.0, 0x00FF00);
    AddSimplexLinks(*pair.dual);
    pair.base->mDual = pair.dual;
    pair.dual->mDual = pair.base.get();
    pair.dual->mFlags |= Polytope4D::kIsDual;
    return pair;
}
