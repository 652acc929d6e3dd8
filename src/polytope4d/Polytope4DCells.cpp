#include "polytope4d/Polytope4D.h"

#include "kernel/Hyperplane.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "polytope4d/ElementLists4D.h"

#include <vector>

// The completion steps that form cells from faces and split compound cells and vertices.

using namespace Lists4D;

namespace
{
constexpr uint32_t kMark = Element4D::kMark;

// The cell a face opens, grown through the faces that lie in its hyperplane. Every side of a face
// taken must meet another face of the hyperplane (an even count around it) or hand on to a new one;
// otherwise the cell cannot close and none is made.
bool GrowCell(std::vector<Face4D*>& queue, const Hyperplane& plane)
{
    for (size_t q = 0; q < queue.size(); ++q)
    {
        const Face4D* m = queue[q];
        for (int j = 0; j < m->mNumSides; ++j)
        {
            int inPlane = 1;
            bool appended = false;
            int position = -1;
            for (Face4D* f = m->NextFaceAroundEdge(j, position); f; f = m->NextFaceAroundEdge(j, position))
            {
                if (!f->LiesInPlane(plane))
                    continue;
                ++inPlane;
                if (!(f->mFlags & kMark) && f->mNumCells < 2)
                {
                    f->mFlags |= kMark;
                    queue.push_back(f);
                    appended = true;
                    break;
                }
            }
            if (!appended && inPlane % 2 == 1)
                return false;
        }
    }
    return true;
}

// The hyperplane through the side p0-p1 and p2 of a face and w, its normal pointing away from the
// origin. False when the four points span none.
bool CandidatePlane(Hyperplane& plane, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& w)
{
    Vec4D a, b, c;
    Vec4Sub(a, p1, p0);
    Vec4Sub(b, p2, p0);
    Vec4Sub(c, w, p0);
    if (Vec4Dependent(a, b, c, kTol))
        return false;
    HyperplaneNormal(plane.n, p0, p1, p2, w);
    double offset = Vec4Dot(plane.n, p0);
    if (offset < 0.0)
    {
        Vec4Negate(plane.n);
        offset = -offset;
    }
    plane.d = -offset;
    return true;
}

constexpr const char* kCoplanarFaces = "CreateCells failed.  Coplanar faces?";
}  // namespace

bool Polytope4D::CreateCells()
{
    TraceScope trace("Polytope4D::CreateCells");
    if (mFirstCell)
        return !(mFlags & kNoCellsFormed);
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
        face->ResetCells(2);

    bool ambiguous = false;
    bool reportedOneSided = false;
    std::vector<Face4D*> queue;
    for (Face4D* s = FirstFace(*this); s; s = Next(s))
    {
        if (s->mNumSides < 3 || !HasAllCorners(*s))
            continue;
        const int attempts = 2 - s->mNumCells;
        for (int attempt = 0; attempt < attempts; ++attempt)
        {
            const Vert4D* v0 = s->mVerts[0];
            const Vert4D* v1 = s->mVerts[1];
            const Vec4D& p0 = v0->mPos;
            const Vec4D& p1 = v1->mPos;
            const Vec4D& p2 = s->mVerts[2]->mPos;
            // Around the side p0-p1 the cell of s continues into the face whose hyperplane lies
            // farthest from the centre: any nearer one would cut through the polytope.
            Face4D* best = nullptr;
            Hyperplane bestPlane;
            double bestDistance = -1.0;
            bool differ = false;
            int around = 1;
            int position = -1;
            for (Face4D* b = s->NextFaceAroundEdge(0, position); b; b = s->NextFaceAroundEdge(0, position))
            {
                ++around;
                if (b->mNumCells >= 2)
                    continue;
                const Vert4D* w = nullptr;
                for (int k = 0; k < b->mNumSides && !w; ++k)
                {
                    if (b->mVerts[k] != v0 && b->mVerts[k] != v1)
                        w = b->mVerts[k];
                }
                Hyperplane plane;
                if (!w || !CandidatePlane(plane, p0, p1, p2, w->mPos))
                {
                    ErrorMessage("%s", kCoplanarFaces);
                    return false;
                }
                const double distance = -plane.d;
                if (best && !WithinTol(distance, bestDistance, kTol))
                    differ = true;
                if (distance > bestDistance && !s->SharesCellWith(b))
                {
                    best = b;
                    bestPlane = plane;
                    bestDistance = distance;
                }
            }
            // With two faces besides s around the side, each of its two cells takes one: there was
            // no choice to make.
            if (differ && around > 3)
                ambiguous = true;
            if (!best)
            {
                if (!reportedOneSided)
                    ErrorMessage("Face %d does not appear to have a cell on each side\n", Face4D::GetNumber(s));
                reportedOneSided = true;
                break;
            }
            queue.assign({s, best});
            s->mFlags |= kMark;
            best->mFlags |= kMark;
            if (GrowCell(queue, bestPlane))
            {
                Cell4D* cell = NewCell(int(queue.size()));
                for (int k = 0; k < cell->mNumFaces; ++k)
                    cell->SetFace(k, queue[size_t(k)]);
            }
            for (Face4D* face : queue)
                face->mFlags &= ~kMark;
        }
    }

    if (!mFirstCell)
    {
        ErrorMessage("Couldn't form any cells from these faces.");
        mFlags |= kNotClosed;
        return false;
    }
    if (ambiguous)
        InfoMessage("Grouping of faces into cells may have been ambiguous");
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        if (face->mNumCells != 2)
        {
            ErrorMessage("%d cells appear to share face %d\nShould be exactly 2", face->mNumCells,
                         Face4D::GetNumber(face));
            mFlags |= kNotClosed;
            break;
        }
    }
    return true;
}

void Polytope4D::SplitCompoundCells()
{
    TraceScope trace("Polytope4D::SplitCompoundCells");
    std::vector<Face4D*> reached;
    std::vector<Face4D*> kept;
    std::vector<Face4D*> moved;
    // Cells split off here join the list's tail and are split further in their own turn. The faces'
    // own cell lists are filled afresh from the cells in the next step.
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        if (cell->mNumFaces < 1)
            continue;
        reached.assign(1, cell->mFaces[0]);
        cell->mFaces[0]->mFlags |= kMark;
        for (size_t q = 0; q < reached.size(); ++q)
        {
            const Face4D* face = reached[q];
            const int n = face->mNumSides;
            for (int k = 0; k < n; ++k)
            {
                Face4D* next = face->FindNeighbourInCell(cell, face->mVerts[k], face->mVerts[(k + 1) % n]);
                if (next && !(next->mFlags & kMark))
                {
                    next->mFlags |= kMark;
                    reached.push_back(next);
                }
            }
        }
        kept.clear();
        moved.clear();
        for (int i = 0; i < cell->mNumFaces; ++i)
            ((cell->mFaces[i]->mFlags & kMark) ? kept : moved).push_back(cell->mFaces[i]);
        for (Face4D* face : reached)
            face->mFlags &= ~kMark;
        if (moved.empty())
            continue;
        Cell4D* extra = NewCell(int(moved.size()));
        for (int k = 0; k < extra->mNumFaces; ++k)
            extra->mFaces[k] = moved[size_t(k)];
        for (size_t k = 0; k < kept.size(); ++k)
            cell->mFaces[k] = kept[k];
        cell->mNumFaces = int(kept.size());
    }
}

namespace
{
// Marks of the two sides of a face (its first and second cell) already walked around a vertex.
constexpr uint32_t kSideWalked[2] = {0x10, 0x40};
constexpr uint32_t kVertWalkMarks = kMark | 0x10 | 0x40;

enum class WalkEnd
{
    Done,  // back at the first face, or the walk could not go on but the step may
    Stop,  // the whole step stops
};

// Walks round vertex v inside cell K, from face F on its side `side`, collecting the faces met.
WalkEnd WalkAroundVertInCell(Vert4D* v, Face4D* first, int side, Cell4D* cell, std::vector<Face4D*>& collected)
{
    Face4D* g = first;
    const Vert4D* from = nullptr;
    // A closed cell brings the walk back to its first face; a broken one may not.
    for (int steps = 0; steps <= cell->mNumFaces; ++steps)
    {
        if (side < 2)
            g->mFlags |= kSideWalked[side];
        const int at = g->FindVert(v, -1);
        if (at < 0)
        {
            DebugTrace("SplitCompoundVerts: er1\n");
            return WalkEnd::Stop;
        }
        if (g->FindVert(v, at) >= 0)
        {
            DebugTrace("SplitCompoundVerts: ambiguous1\n");
            return WalkEnd::Done;
        }
        const int n = g->mNumSides;
        Vert4D* w = g->mVerts[(at + 1) % n];
        if (w == from)
            w = g->mVerts[(at + n - 1) % n];
        Face4D* next = g->FindNeighbourInCell(cell, v, w);
        if (!next)
        {
            DebugTrace("c %d, v %d, v2 %d\n", Cell4D::GetNumber(cell), Vert4D::GetNumber(v), Vert4D::GetNumber(w));
            return WalkEnd::Stop;
        }
        if (next == first)
            return WalkEnd::Done;
        if (!(next->mFlags & kMark))
        {
            next->mFlags |= kMark;
            collected.push_back(next);
        }
        side = 0;
        while (side < next->mNumCells && next->mCells[side] != cell)
            ++side;
        from = w;
        g = next;
    }
    DebugTrace("SplitCompoundVerts: walk round vertex %d did not close\n", Vert4D::GetNumber(v));
    return WalkEnd::Done;
}

// Hands the faces of v that the walks did not reach to a new vertex at its place.
void HandOverFaces(Polytope4D& p, Vert4D* v)
{
    std::vector<Face4D*> keep;
    std::vector<Face4D*> give;
    for (int i = 0; i < v->mNumFaces; ++i)
        ((v->mFaces[i]->mFlags & kMark) ? keep : give).push_back(v->mFaces[i]);
    if (give.empty())
        return;
    Vert4D* twin = p.NewVert(&v->mPos);
    twin->mColor = v->mColor;
    twin->mOpacity = v->mOpacity;
    size_t handed = 0;
    for (; handed < give.size(); ++handed)
    {
        Face4D* face = give[handed];
        const int at = face->FindVert(v, -1);
        if (at < 0 || face->FindVert(v, at) >= 0)
        {
            DebugTrace("SplitCompoundVerts: ambiguous2\n");
            break;
        }
        face->mVerts[at] = twin;
    }
    keep.insert(keep.end(), give.begin() + std::ptrdiff_t(handed), give.end());
    twin->mFaces.reset(NewSlots<Face4D*>(int(handed)));
    if (twin->mFaces)
    {
        std::copy(give.begin(), give.begin() + std::ptrdiff_t(handed), twin->mFaces.get());
        twin->mNumFaces = int(handed);
    }
    std::unique_ptr<Face4D*[]> own(NewSlots<Face4D*>(int(keep.size())));
    if (!own)
        return;
    std::copy(keep.begin(), keep.end(), own.get());
    v->mFaces = std::move(own);
    v->mNumFaces = int(keep.size());
}
}  // namespace

void Polytope4D::SplitCompoundVerts()
{
    TraceScope trace("Polytope4D::SplitCompoundVerts");
    std::vector<Face4D*> collected;
    // Vertices made here join the list's tail and are split further in their own turn.
    for (Vert4D* v = FirstVert(*this); v; v = Next(v))
    {
        if (v->mNumFaces == 0)
            continue;
        // The faces reachable from the first one by walking round v inside their cells.
        collected.assign(1, v->mFaces[0]);
        v->mFaces[0]->mFlags |= kMark;
        bool stop = false;
        for (size_t q = 0; q < collected.size() && !stop; ++q)
        {
            Face4D* face = collected[q];
            for (int k = 0; k < 2 && k < face->mNumCells && !stop; ++k)
            {
                if ((face->mFlags & kSideWalked[k]) || !face->mCells[k])
                    continue;
                stop = WalkAroundVertInCell(v, face, k, face->mCells[k], collected) == WalkEnd::Stop;
            }
        }
        if (!stop && int(collected.size()) < v->mNumFaces)
            HandOverFaces(*this, v);
        for (Face4D* face : collected)
            face->mFlags &= ~kVertWalkMarks;
        if (stop)
            return;
    }
}
