#include "polytope4d/Polytope4D.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "polytope4d/ElementLists4D.h"

#include <utility>
#include <vector>

// The connected parts of a polytope, their consistent orientation and their 4-volumes.

using namespace Lists4D;

namespace
{
constexpr uint32_t kMark = Element4D::kMark;
constexpr uint32_t kOriented = 0x10;  // cells whose faces have been put in order

// The cells connected to the first across shared faces, breadth-first; each is marked.
void CollectPart(Cell4D* first, std::vector<Cell4D*>& cells)
{
    cells.assign(1, first);
    first->mFlags |= kMark;
    for (size_t q = 0; q < cells.size(); ++q)
    {
        const Cell4D* cell = cells[q];
        for (int i = 0; i < cell->mNumFaces; ++i)
        {
            const Face4D* face = cell->mFaces[i];
            for (int k = 0; k < face->mNumCells; ++k)
            {
                Cell4D* other = face->mCells[k];
                if (other && !(other->mFlags & kMark))
                {
                    other->mFlags |= kMark;
                    cells.push_back(other);
                }
            }
        }
    }
}

// Counts the distinct elements reached through the list of each cell, marking and then unmarking.
template <class Elem, class Cells, class Count, class At>
int CountDistinct(const Cells& cells, Count count, At at)
{
    std::vector<Elem*> seen;
    for (const Cell4D* cell : cells)
    {
        for (int i = 0; i < count(cell); ++i)
        {
            Elem* e = at(cell, i);
            if (e && !(e->mFlags & kMark))
            {
                e->mFlags |= kMark;
                seen.push_back(e);
            }
        }
    }
    for (Elem* e : seen)
        e->mFlags &= ~kMark;
    return int(seen.size());
}
}  // namespace

void Polytope4D::DeleteParts()
{
    while (mFirstPart)
    {
        Part4D* next = mFirstPart->mNext;
        delete mFirstPart;
        mFirstPart = next;
    }
    mLastPart = nullptr;
}

void Polytope4D::FindParts()
{
    TraceScope trace("Polytope4D::FindParts");
    DeleteParts();
    std::vector<Cell4D*> cells;
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        if (cell->mFlags & kMark)
            continue;
        CollectPart(cell, cells);
        Part4D* part = new Part4D;
        part->mFirstCell = cell;
        part->mNumCells = int(cells.size());
        part->mNumFaces = CountDistinct<Face4D>(
            cells, [](const Cell4D* c) { return c->mNumFaces; }, [](const Cell4D* c, int i) { return c->mFaces[i]; });
        part->mNumEdges = CountDistinct<Edge4D>(
            cells, [](const Cell4D* c) { return c->mEdges ? c->mNumEdges : 0; },
            [](const Cell4D* c, int i) { return c->mEdges[i]; });
        part->mNumVerts = CountDistinct<Vert4D>(
            cells, [](const Cell4D* c) { return c->mVerts ? c->mNumVerts : 0; },
            [](const Cell4D* c, int i) { return c->mVerts[i]; });
        if (mLastPart)
            mLastPart->mNext = part;
        else
            mFirstPart = part;
        mLastPart = part;
    }
    ClearCellFlags(kMark);
}

namespace
{
struct OrientationWalk
{
    Polytope4D& polytope;
    Part4D& part;

    void MarkNotOrientable()
    {
        part.mFlags |= Part4D::kNotOrientable;
        polytope.mFlags |= Polytope4D::kNotOrientable;
    }

    // Puts the faces of cell k in order with the first face of its walk: two faces of a cell must
    // run along their common edge in opposite directions, each seen from its own side. The cells
    // across the faces join the queue.
    void OrientCell(Cell4D* k, std::vector<Cell4D*>& queue, std::vector<Face4D*>& walk)
    {
        k->mFlags |= kOriented;
        if (k->mNumFaces == 0)
            return;
        // Start from a face whose order an oriented neighbour has already fixed.
        Face4D* start = k->mFaces[0];
        for (int i = 0; i < k->mNumFaces; ++i)
        {
            const Face4D* face = k->mFaces[i];
            const Cell4D* other = face->mCells[0] == k ? face->mCells[1] : face->mCells[0];
            if (other && (other->mFlags & kOriented))
            {
                start = k->mFaces[i];
                break;
            }
        }
        walk.assign(1, start);
        start->mFlags |= kMark;
        bool clash = false;
        for (size_t q = 0; q < walk.size() && !clash; ++q)
        {
            const Face4D* g = walk[q];
            const int n = g->mNumSides;
            const bool kFirst = g->mCells[0] == k;
            for (int j = 0; j < n && !clash; ++j)
            {
                const Vert4D* a = g->mVerts[j];
                const Vert4D* b = g->mVerts[(j + 1) % n];
                const Vert4D* from = kFirst ? b : a;
                const Vert4D* to = kFirst ? a : b;
                Face4D* h = g->GetOtherFaceInCell(k, g->mEdges[j]);
                if (!h)
                    continue;
                const int at = h->FindVert(from, -1);
                const int slot = at >= 0 && h->mVerts[(at + 1) % h->mNumSides] == to ? 0 : 1;
                Cell4D* neighbour = nullptr;
                if (h->mCells[slot] == k)
                    neighbour = h->mCells[1 - slot];
                else if (h->mFlags & kMark)
                {
                    k->mFlags |= Cell4D::kOrientationClash;
                    MarkNotOrientable();
                    clash = true;
                    break;
                }
                else
                {
                    std::swap(h->mCells[0], h->mCells[1]);
                    neighbour = h->mCells[1 - slot];
                    if (neighbour && (neighbour->mFlags & kOriented))
                        MarkNotOrientable();
                }
                if (!(h->mFlags & kMark))
                {
                    h->mFlags |= kMark;
                    walk.push_back(h);
                }
                if (neighbour && !(neighbour->mFlags & kMark))
                {
                    neighbour->mFlags |= kMark;
                    queue.push_back(neighbour);
                }
            }
        }
        for (Face4D* face : walk)
            face->mFlags &= ~kMark;
    }
};
}  // namespace

void Polytope4D::CheckOrientability()
{
    TraceScope trace("Polytope4D::CheckOrientability");
    if (mFlags & kNotClosed)
    {
        mFlags |= kNotOrientable;
        return;
    }
    double total = 0.0;
    std::vector<Cell4D*> cells;
    std::vector<Cell4D*> queue;
    std::vector<Face4D*> walk;
    for (Part4D* part = mFirstPart; part; part = part->mNext)
    {
        if (!part->mFirstCell)
            continue;
        CollectPart(part->mFirstCell, cells);
        for (Cell4D* cell : cells)
            cell->mFlags &= ~kMark;

        OrientationWalk orient{*this, *part};
        queue.assign(1, part->mFirstCell);
        part->mFirstCell->mFlags |= kMark;
        for (size_t q = 0; q < queue.size(); ++q)
            orient.OrientCell(queue[q], queue, walk);

        // Pyramids from the centre over the cells.
        double volume = 0.0;
        for (Cell4D* cell : cells)
        {
            if (cell->HasPlane())
                volume += -cell->mPlane.d * cell->GetVolume();
        }
        volume *= 0.25;
        if (IsZeroTol(volume, kTol))
            volume = 0.0;
        if (volume < 0.0)
        {
            // Inside out: every face of the part turns round, each once.
            volume = -volume;
            for (Cell4D* cell : cells)
            {
                for (int i = 0; i < cell->mNumFaces; ++i)
                {
                    Face4D* face = cell->mFaces[i];
                    if (!(face->mFlags & kMark))
                    {
                        face->mFlags |= kMark;
                        std::swap(face->mCells[0], face->mCells[1]);
                    }
                }
            }
            for (Cell4D* cell : cells)
            {
                for (int i = 0; i < cell->mNumFaces; ++i)
                    cell->mFaces[i]->mFlags &= ~kMark;
            }
        }
        part->mVolume = volume;
        total += volume;
    }
    mVolume = IsZeroTol(total, kTol) ? 0.0 : total;
    ClearCellFlags(kMark | kOriented);
}
