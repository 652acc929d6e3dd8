#include "polytope4d/VertexFigureTemplate.h"

#include "kernel/Messages.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"

#include <algorithm>
#include <utility>

namespace
{

// The copy's record at the same place as the source's.
template <class T>
T* Remap(const T* p, const std::vector<T>& from, std::vector<T>& to)
{
    return p ? &to[size_t(p - from.data())] : nullptr;
}
}  // namespace

TemplateEdge* TemplateVertex::NextEdgeThroughFace(const TemplateEdge* edge, TemplateFace*& face) const
{
    face = edge->mFaces[0] == face ? edge->mFaces[1] : edge->mFaces[0];
    const int i = face ? face->IndexOfEdge(edge) : -1;
    if (i < 0)
        return nullptr;
    const int n = int(face->mEdges.size());
    TemplateEdge* after = face->mEdges[size_t((i + 1) % n)];
    if (after->mEnds[0] == this || after->mEnds[1] == this)
        return after;
    return face->mEdges[size_t((i + n - 1) % n)];
}

int TemplateFace::IndexOfEdge(const TemplateEdge* edge) const
{
    for (size_t i = 0; i < mEdges.size(); ++i)
    {
        if (mEdges[i] == edge)
            return int(i);
    }
    return -1;
}

void VertexFigurePlacement::Init(std::unique_ptr<Pair[]> pairs, int numPairs,
                                 std::unique_ptr<VertexFigurePlacement> next)
{
    mFlags = 0;
    mPairs = std::move(pairs);
    mNumPairs = numPairs;
    mNext = std::move(next);
}

void VertexFigurePlacement::Map(Vec4D& out, const Vec3D& p) const
{
    out = mCentre;
    for (int k = 0; k < 3; ++k)
        Vec4AddScaledTo(out, p[k], mAxes[k]);
}

LocalVertexFigure::~LocalVertexFigure()
{
    ClearCandidates();
}

void LocalVertexFigure::ClearCandidates()
{
    // Unlinked one by one: a long chain freed through its own links would recurse down it.
    while (mFirstCandidate)
        mFirstCandidate = std::move(mFirstCandidate->mNext);
    mNumCandidates = 0;
}

void LocalVertexFigure::AddCandidate(std::unique_ptr<VertexFigurePlacement> placement)
{
    placement->mNext = std::move(mFirstCandidate);
    mFirstCandidate = std::move(placement);
    ++mNumCandidates;
}

int LocalVertexFigure::GetBestScore() const
{
    int best = 999999;
    for (const VertexFigurePlacement* c = mFirstCandidate.get(); c; c = c->mNext.get())
        best = std::min(best, int(c->mScore));
    return best;
}

bool VertexFigureTemplate::Build(ElemList* faces, ElemList* verts)
{
    mVerts.clear();
    mEdges.clear();
    mFaces.clear();
    ClearCandidates();
    if (!faces || !verts)
        return false;
    int numSides = 0;
    for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
        numSides += f->mNumSides;
    // The records point at each other: the arrays never grow once filled.
    mVerts.reserve(size_t(verts->mCount));
    mFaces.reserve(size_t(faces->mCount));
    mEdges.reserve(size_t(numSides));
    for (FaceVert* v = verts->mFirst; v; v = v->mNext)
    {
        TemplateVertex& record = mVerts.emplace_back();
        record.mVert = v;
        record.mPos = v->mPoint;
        // Classes of edges must never split what a symmetry of the figure joins, and the figure's
        // own types need not be set (nor tell mirror images together): its degree is safe.
        record.mType = v->mNumSides;
        record.mEdges.reserve(size_t(v->mNumSides));
    }
    for (FaceVert* f = faces->mFirst; f; f = f->mNext)
    {
        TemplateFace& record = mFaces.emplace_back();
        record.mFace = f;
        record.mType = f->mNumSides;
        record.mEdges.reserve(size_t(f->mNumSides));
    }
    for (TemplateFace& face : mFaces)
    {
        const FaceVert* f = face.mFace;
        const int n = f->mNumSides;
        for (int i = 0; i < n; ++i)
        {
            const FaceVert* g = FaceVert::GetAdjacent(f, i);
            const FaceVert* a = f->mNeighbours[size_t(i)];
            const FaceVert* b = f->mNeighbours[size_t((i + 1) % n)];
            const int gi = FaceVert::GetIndex(g);
            if (!g || gi < FaceVert::GetIndex(f) || gi >= int(mFaces.size()) || !a || !b)
                continue;
            const int ai = FaceVert::GetIndex(a);
            const int bi = FaceVert::GetIndex(b);
            if (ai < 0 || bi < 0 || ai >= int(mVerts.size()) || bi >= int(mVerts.size()))
                continue;
            TemplateEdge& edge = mEdges.emplace_back();
            edge.mEnds[0] = &mVerts[size_t(ai)];
            edge.mEnds[1] = &mVerts[size_t(bi)];
            edge.mFaces[0] = &face;
            edge.mFaces[1] = &mFaces[size_t(gi)];
            edge.mEnds[0]->mEdges.push_back(&edge);
            edge.mEnds[1]->mEdges.push_back(&edge);
            edge.mFaces[0]->mEdges.push_back(&edge);
            if (edge.mFaces[1] != edge.mFaces[0])
                edge.mFaces[1]->mEdges.push_back(&edge);
        }
    }
    for (TemplateVertex& vert : mVerts)
        SortAroundVertex(vert);
    for (TemplateFace& face : mFaces)
        SortAroundFace(face);
    return true;
}

void VertexFigureTemplate::SortAroundVertex(TemplateVertex& vert)
{
    std::vector<TemplateEdge*>& edges = vert.mEdges;
    const int count = int(edges.size());
    for (int pos = 1; pos < count; ++pos)
    {
        const TemplateEdge* previous = edges[size_t(pos - 1)];
        const TemplateFace* shared = previous->mFaces[1];
        std::vector<int> qualifying;
        for (int k = pos; k < count; ++k)
        {
            if (edges[size_t(k)]->mFaces[0] == shared || edges[size_t(k)]->mFaces[1] == shared)
                qualifying.push_back(k);
        }
        int chosen = -1;
        if (qualifying.size() == 1)
            chosen = qualifying[0];
        else if (qualifying.size() > 1)
        {
            // Several edges share the face (the vertex visits it twice): the face's own corner order
            // says which edge leaves it on the far side from the previous edge.
            const FaceVert* f = shared->mFace;
            const FaceVert* other = previous->GetOtherEnd(&vert)->mVert;
            const int n = f->mNumSides;
            const FaceVert* across = nullptr;
            for (int i = 0; i < n && !across; ++i)
            {
                if (f->mNeighbours[size_t(i)] != vert.mVert)
                    continue;
                if (f->mNeighbours[size_t((i + n - 1) % n)] == other)
                    across = FaceVert::GetAdjacent(f, i);
                else if (f->mNeighbours[size_t((i + 1) % n)] == other)
                    across = FaceVert::GetAdjacent(f, (i + n - 1) % n);
            }
            if (!across)
            {
                InternalError("Can't find next edge in vertex figure");
                continue;
            }
            for (const int k : qualifying)
            {
                const TemplateEdge* e = edges[size_t(k)];
                const TemplateFace* far = e->mFaces[0] == shared ? e->mFaces[1] : e->mFaces[0];
                if (far->mFace == across)
                {
                    chosen = k;
                    break;
                }
            }
            if (chosen < 0)
            {
                InternalError("Can't find match for edge in verf");
                continue;
            }
        }
        else
        {
            InternalError("Sorting edges around vert %d failed,\n%d of %d", FaceVert::GetCombinedIndex(vert.mVert), pos,
                          count);
            continue;
        }
        TemplateEdge* next = edges[size_t(chosen)];
        if (next->mFaces[0] != shared)
            std::swap(next->mFaces[0], next->mFaces[1]);
        std::swap(edges[size_t(pos)], edges[size_t(chosen)]);
    }
}

void VertexFigureTemplate::SortAroundFace(TemplateFace& face)
{
    std::vector<TemplateEdge*>& edges = face.mEdges;
    const int count = int(edges.size());
    for (int pos = 1; pos < count; ++pos)
    {
        const TemplateVertex* shared = edges[size_t(pos - 1)]->mEnds[1];
        int chosen = -1;
        for (int k = pos; k < count && chosen < 0; ++k)
        {
            if (edges[size_t(k)]->mEnds[0] == shared || edges[size_t(k)]->mEnds[1] == shared)
                chosen = k;
        }
        if (chosen < 0)
        {
            InternalError("Sorting edges around face failed, %d of %d", pos, count);
            continue;
        }
        TemplateEdge* next = edges[size_t(chosen)];
        if (next->mEnds[0] != shared)
            std::swap(next->mEnds[0], next->mEnds[1]);
        std::swap(edges[size_t(pos)], edges[size_t(chosen)]);
    }
}

std::unique_ptr<LocalVertexFigure> VertexFigureTemplate::MakeLocalCopy() const
{
    auto copy = std::make_unique<LocalVertexFigure>();
    copy->mVerts = mVerts;
    copy->mEdges = mEdges;
    copy->mFaces = mFaces;
    for (TemplateVertex& v : copy->mVerts)
    {
        v.mFlags = 0;
        v.mMatched = nullptr;
        for (TemplateEdge*& e : v.mEdges)
            e = Remap<TemplateEdge>(e, mEdges, copy->mEdges);
    }
    for (TemplateEdge& e : copy->mEdges)
    {
        e.mMadeFace = nullptr;
        for (int k = 0; k < 2; ++k)
        {
            e.mEnds[k] = Remap<TemplateVertex>(e.mEnds[k], mVerts, copy->mVerts);
            e.mFaces[k] = Remap<TemplateFace>(e.mFaces[k], mFaces, copy->mFaces);
        }
    }
    for (TemplateFace& f : copy->mFaces)
    {
        f.mMadeCell = nullptr;
        for (TemplateEdge*& e : f.mEdges)
            e = Remap<TemplateEdge>(e, mEdges, copy->mEdges);
    }
    return copy;
}
