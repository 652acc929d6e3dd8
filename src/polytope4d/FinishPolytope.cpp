#include "polytope4d/Polytope4D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "polytope4d/ElementLists4D.h"

#include <algorithm>
#include <cmath>
#include <utility>

// The completion of a polytope from its faces: the driver, the steps that tidy the input and the
// steps that link faces, cells, vertices and edges to each other. Cells are formed and compound
// elements split in Polytope4DCells.cpp; the classification is in Polytope4DTypes.cpp and
// Polytope4DParts.cpp.

using namespace Lists4D;

bool Polytope4D::FinishPolytope()
{
    TraceScope trace("FinishPolytope");
    ScopedWaitCursor wait;
    if (mFirstEdge)
    {
        DebugTrace("FinishPolytope(): Already have %d edges\n", mNumEdges);
        // Old edges point at faces the first step may delete, and the steps make every edge anew.
        DeleteEdges();
    }
    DeleteDegenerateFaces();
    CreateVertexFaceLists();
    DeleteUnusedVertices();
    Centralise();
    Normalise();
    if (!CreateCells())
    {
        mFlags |= kNoCellsFormed;
        return false;
    }
    SplitCompoundCells();
    MakeFirstElementsCurrent();
    FillFaceCells();
    SplitCompoundVerts();
    FillCellVerts();
    CreateEdges();
    bool reportedOpen = false;
    OrderEdgeRings(reportedOpen);
    FillEdgeArrays();
    SetPlaneEqns(true);
    SetNumWraps();
    FindCoincidentVerts();
    FindCorealmicCells();
    SetCellTypes();
    SetVertTypes();
    SetFaceTypes();
    SetEdgeTypes();
    FindParts();
    CheckOrientability();
    CalcMidRadius();
    return true;
}

void Polytope4D::DeleteEdges()
{
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
        std::fill(face->mEdges.get(), face->mEdges.get() + face->mNumSides, nullptr);
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mEdges.reset();
        vert->mNumEdges = 0;
    }
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        cell->mEdges.reset();
        cell->mNumEdges = 0;
    }
    ListDeleteAll(mFirstEdgeType, mLastEdgeType);
    ListDeleteAll(mFirstEdge, mLastEdge);
    mNumEdges = 0;
    mCurrentEdge = nullptr;
    mIndexArrays[Element4D::kEdgeKind].clear();
    mFlags |= kEdgeIndicesValid;
}

void Polytope4D::DeleteDegenerateFaces()
{
    TraceScope trace("Polytope4D::DeleteDegenerateFaces");
    // A face with a missing corner is as unusable as one with too few.
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        if (face->mNumSides < 3 || !HasAllCorners(*face))
            face->mFlags |= Element4D::kMark;
    }
    // Given cells let go of those faces (and of empty slots) before the faces go.
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        int kept = 0;
        for (int i = 0; i < cell->mNumFaces; ++i)
        {
            Face4D* face = cell->mFaces[i];
            if (face && !(face->mFlags & Element4D::kMark))
                cell->mFaces[kept++] = face;
        }
        cell->mNumFaces = kept;
    }
    for (Face4D* face = FirstFace(*this); face;)
    {
        Face4D* next = Next(face);
        if (face->mFlags & Element4D::kMark)
            DeleteFace(face);
        face = next;
    }
}

void Polytope4D::CreateVertexFaceLists()
{
    TraceScope trace("Polytope4D::CreateVertexFaceLists");
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mFaces.reset();
        vert->mNumFaces = 0;
    }
    // A vertex named twice by one face counts twice.
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        for (int k = 0; k < face->mNumSides; ++k)
        {
            if (Vert4D* vert = face->mVerts[k])
                ++vert->mNumFaces;
        }
    }
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mFaces.reset(NewSlots<Face4D*>(vert->mNumFaces));
        vert->mNumFaces = 0;
    }
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        for (int k = 0; k < face->mNumSides; ++k)
        {
            Vert4D* vert = face->mVerts[k];
            if (vert && vert->mFaces)
                vert->mFaces[vert->mNumFaces++] = face;
        }
    }
}

void Polytope4D::DeleteUnusedVertices()
{
    TraceScope trace("Polytope4D::DeleteUnusedVertices");
    for (Vert4D* vert = FirstVert(*this); vert;)
    {
        Vert4D* next = Next(vert);
        if (vert->mNumFaces == 0)
            DeleteVert(vert);
        vert = next;
    }
}

void Polytope4D::Centralise()
{
    TraceScope trace("Polytope4D::Centralise");
    if (mNumVerts == 0)
        return;
    Vec4D mean;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
        Vec4Add(mean, mean, vert->mPos);
    Vec4Div(mean, mNumVerts);
    if (Vec4IsZero(mean, kTol))
        return;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
        Vec4Sub(vert->mPos, vert->mPos, mean);
}

void Polytope4D::Normalise()
{
    TraceScope trace("Polytope4D::Normalise");
    double most = 0.0;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
        most = std::max(most, Vec4LengthSq(vert->mPos));
    // The squared radius is compared: a polytope already of radius 1 keeps its coordinates exactly.
    const double factor = most >= kTol && (most < kRatioLow || most > kRatioHigh) ? std::sqrt(most) : 1.0;
    if (factor != 1.0)
        mScale *= factor;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        if (factor != 1.0)
            Vec4Div(vert->mPos, factor);
        SnapToZero(vert->mPos);
    }
}

void Polytope4D::MakeFirstElementsCurrent()
{
    TraceScope trace("FinishPolytope: first elements current");
    mCurrentCell = FirstCell(*this);
    mCurrentFace = FirstFace(*this);
    mCurrentVert = FirstVert(*this);
}

void Polytope4D::FillFaceCells()
{
    TraceScope trace("FinishPolytope: cells of faces");
    // Counted from the cells themselves: cells given face by face never told their faces, and a
    // broken input may name one face from more than two cells.
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
        face->mNumCells = 0;
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        for (int i = 0; i < cell->mNumFaces; ++i)
            ++cell->mFaces[i]->mNumCells;
    }
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        if (face->mNumCells != 2)
            mFlags |= kNotClosed;
        face->ResetCells(face->mNumCells);
    }
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        for (int i = 0; i < cell->mNumFaces; ++i)
            cell->mFaces[i]->AddCell(cell);
    }
}

void Polytope4D::FillCellVerts()
{
    TraceScope trace("FinishPolytope: vertices of cells");
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mCells.reset();
        vert->mNumCells = 0;
    }
    // Each cell's distinct vertices, in the order its faces meet them; the mark avoids repeats.
    auto forEachDistinctVert = [](Cell4D* cell, auto&& visit) {
        for (int pass = 0; pass < 2; ++pass)
        {
            for (int i = 0; i < cell->mNumFaces; ++i)
            {
                const Face4D* face = cell->mFaces[i];
                for (int k = 0; k < face->mNumSides; ++k)
                {
                    Vert4D* vert = face->mVerts[k];
                    const bool marked = (vert->mFlags & Element4D::kMark) != 0;
                    if (pass == 0 && !marked)
                    {
                        vert->mFlags |= Element4D::kMark;
                        visit(vert);
                    }
                    else if (pass == 1)
                        vert->mFlags &= ~Element4D::kMark;
                }
            }
        }
    };
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        cell->mNumVerts = 0;
        forEachDistinctVert(cell, [&](Vert4D* vert) {
            ++cell->mNumVerts;
            ++vert->mNumCells;
        });
        cell->mVerts.reset(NewSlots<Vert4D*>(cell->mNumVerts));
        cell->mNumVerts = 0;
    }
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mCells.reset(NewSlots<Cell4D*>(vert->mNumCells));
        vert->mNumCells = 0;
    }
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        forEachDistinctVert(cell, [&](Vert4D* vert) {
            if (cell->mVerts)
                cell->mVerts[cell->mNumVerts++] = vert;
            if (vert->mCells)
                vert->mCells[vert->mNumCells++] = cell;
        });
        Vec4D centre;
        for (int i = 0; i < cell->mNumVerts; ++i)
            Vec4Add(centre, centre, cell->mVerts[i]->mPos);
        if (cell->mNumVerts > 0)
            Vec4Div(centre, cell->mNumVerts);
        SnapToZero(centre);
        cell->mCentre = centre;
        double radiusSq = 0.0;
        for (int i = 0; i < cell->mNumVerts; ++i)
        {
            Vec4D d;
            Vec4Sub(d, cell->mVerts[i]->mPos, centre);
            radiusSq = std::max(radiusSq, Vec4LengthSq(d));
        }
        cell->mRadius = std::sqrt(radiusSq);
    }
}

namespace
{
// The edge joining exactly these two vertices among a's edges.
Edge4D* FindEdgeBetween(const Vert4D* a, const Vert4D* b)
{
    for (int i = 0; i < a->mNumEdges; ++i)
    {
        Edge4D* edge = a->mEdges[i];
        if ((edge->mVerts[0] == a && edge->mVerts[1] == b) || (edge->mVerts[0] == b && edge->mVerts[1] == a))
            return edge;
    }
    return nullptr;
}

// Every face side at a vertex gives it at most one edge, so twice its face count is room enough
// (CreateEdges sizes it so); a failed allocation leaves no room at all.
void AppendVertEdge(Vert4D* vert, Edge4D* edge)
{
    if (!vert->mEdges || vert->mNumEdges >= 2 * vert->mNumFaces)
    {
        InternalError("Polytope4D::CreateEdges(): no room for edge at vertex %d", Vert4D::GetNumber(vert));
        return;
    }
    vert->mEdges[vert->mNumEdges++] = edge;
}
}  // namespace

void Polytope4D::CreateEdges()
{
    TraceScope trace("FinishPolytope: edges");
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mEdges.reset(NewSlots<Edge4D*>(2 * vert->mNumFaces));
        vert->mNumEdges = 0;
    }
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        const int n = face->mNumSides;
        for (int i = 0; i < n; ++i)
        {
            Vert4D* a = face->mVerts[i];
            Vert4D* b = face->mVerts[(i + 1) % n];
            Edge4D* edge = FindEdgeBetween(a, b);
            if (!edge)
            {
                edge = NewEdge(a, b);
                AppendVertEdge(a, edge);
                if (b != a)
                    AppendVertEdge(b, edge);
            }
            ++edge->mNumFaces;
            face->mEdges[i] = edge;
        }
    }
    mCurrentEdge = FirstEdge(*this);
    for (Edge4D* edge = FirstEdge(*this); edge; edge = Next(edge))
    {
        edge->mFaces.reset(NewSlots<Face4D*>(edge->mNumFaces));
        edge->mCells.reset(NewSlots<Cell4D*>(edge->mNumFaces));
        if (!edge->mFaces || !edge->mCells)
        {
            edge->mFaces.reset();
            edge->mCells.reset();
        }
        edge->mNumFaces = 0;
    }
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        for (int i = 0; i < face->mNumSides; ++i)
        {
            Edge4D* edge = face->mEdges[i];
            if (edge->mFaces)
                edge->mFaces[edge->mNumFaces++] = face;
        }
    }
}

namespace
{
Cell4D* FirstCellOf(const Face4D* face)
{
    return face->mNumCells > 0 ? face->mCells[0] : nullptr;
}

Cell4D* SecondCellOf(const Face4D* face)
{
    return face->mNumCells > 1 ? face->mCells[1] : nullptr;
}

// Moves the faces from position `from` on to a new edge between the same vertices.
void SplitEdge(Polytope4D& p, Edge4D* edge, int from)
{
    const int moved = edge->mNumFaces - from;
    Edge4D* extra = p.NewEdge(edge->mVerts[0], edge->mVerts[1]);
    AppendVertEdge(edge->mVerts[0], extra);
    if (edge->mVerts[1] != edge->mVerts[0])
        AppendVertEdge(edge->mVerts[1], extra);
    extra->mFaces.reset(NewSlots<Face4D*>(moved));
    extra->mCells.reset(NewSlots<Cell4D*>(moved));
    if (!extra->mFaces || !extra->mCells)
    {
        extra->mFaces.reset();
        extra->mCells.reset();
        return;
    }
    for (int k = from; k < edge->mNumFaces; ++k)
    {
        Face4D* face = edge->mFaces[k];
        extra->mFaces[extra->mNumFaces++] = face;
        const int slot = face->IndexOfEdge(edge);
        if (slot >= 0)
            face->mEdges[slot] = extra;
    }
    edge->mNumFaces = from;
}
}  // namespace

void Polytope4D::OrderEdgeRings(bool& reportedOpen)
{
    TraceScope trace("FinishPolytope: rings of edges");
    // Edges split off here join the list's tail and are ordered in their own turn.
    for (Edge4D* edge = FirstEdge(*this); edge; edge = Next(edge))
    {
        const int n = edge->mNumFaces;
        if (n == 0 || !edge->mFaces)
            continue;
        Face4D** faces = edge->mFaces.get();
        Cell4D** cells = edge->mCells.get();
        // Slot i holds the cell between faces i and i + 1: each next face continues from it.
        Cell4D* b = FirstCellOf(faces[0]);
        bool open = false;
        int i = 0;
        for (;;)
        {
            cells[i] = b;
            if (faces[i]->mNumCells < 2)
                open = true;
            if (i + 1 == n)
                break;
            int found = -1;
            for (int j = i + 1; j < n && found < 0; ++j)
            {
                const Face4D* f = faces[j];
                if (!b)
                {
                    if (f->mNumCells < 2)
                    {
                        found = j;
                        b = FirstCellOf(f);
                    }
                }
                else if (FirstCellOf(f) == b)
                {
                    found = j;
                    b = SecondCellOf(f);
                }
                else if (f->mNumCells >= 2 && SecondCellOf(f) == b)
                {
                    found = j;
                    b = FirstCellOf(f);
                }
            }
            if (found < 0)
                break;
            std::swap(faces[i + 1], faces[found]);
            ++i;
        }
        const bool closed = !open && b == SecondCellOf(faces[0]);
        if (!closed)
        {
            if (!reportedOpen)
            {
                ErrorMessage("Polytope is not closed!");
                reportedOpen = true;
            }
            mFlags |= kNotClosed;
            std::fill(cells + i + 1, cells + n, nullptr);
        }
        else if (i + 1 < n)
        {
            // Two polytopes meeting along an edge: each ring gets an edge of its own.
            SplitEdge(*this, edge, i + 1);
        }
    }
}

void Polytope4D::FillEdgeArrays()
{
    TraceScope trace("FinishPolytope: edges of vertices and cells");
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        std::unique_ptr<Edge4D*[]> exact(NewSlots<Edge4D*>(vert->mNumEdges));
        if (exact && vert->mEdges)
            std::copy(vert->mEdges.get(), vert->mEdges.get() + vert->mNumEdges, exact.get());
        else
            vert->mNumEdges = 0;
        vert->mEdges = std::move(exact);
    }
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
        cell->mNumEdges = 0;
    for (Edge4D* edge = FirstEdge(*this); edge; edge = Next(edge))
    {
        for (int k = 0; edge->mCells && k < edge->mNumFaces; ++k)
        {
            if (Cell4D* cell = edge->mCells[k])
                ++cell->mNumEdges;
        }
    }
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        cell->mEdges.reset(NewSlots<Edge4D*>(cell->mNumEdges));
        cell->mNumEdges = 0;
    }
    for (Edge4D* edge = FirstEdge(*this); edge; edge = Next(edge))
    {
        for (int k = 0; edge->mCells && k < edge->mNumFaces; ++k)
        {
            Cell4D* cell = edge->mCells[k];
            if (cell && cell->mEdges)
                cell->mEdges[cell->mNumEdges++] = edge;
        }
    }
}

void Polytope4D::SetPlaneEqns(bool force)
{
    TraceScope trace("Polytope4D::SetPlaneEqns");
    if (mNumVerts < 4)
        return;
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
        cell->SetPlaneEqn(force);
}

void Polytope4D::CalcMidRadius()
{
    TraceScope trace("Polytope4D::CalcMidRadius");
    mMidRadius = 1.0;
    double nearest = kUnsetValue;
    for (VertType4D* type = mFirstVertType; type; type = type->next)
    {
        if (type->mFirst)
            nearest = std::min(nearest, Vec4LengthSq(type->mFirst->mPos));
    }
    if (nearest < kTol || nearest == kUnsetValue)
        return;
    double farthest = 0.0;
    for (CellType4D* type = mFirstCellType; type; type = type->next)
    {
        if (type->mFirst && type->mFirst->HasPlane())
            farthest = std::max(farthest, -type->mFirst->mPlane.d);
    }
    // The geometric mean of the nearest vertex and the farthest cell hyperplane.
    mMidRadius = std::sqrt(farthest * std::sqrt(nearest));
}
