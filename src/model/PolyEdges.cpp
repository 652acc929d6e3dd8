#include "kernel/Messages.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

namespace
{
int Wrap(int k, int n)
{
    k %= n;
    return k < 0 ? k + n : k;
}

// The slot of the face's side between the two corners (either order); -1 when they are not
// neighbours on it.
int SideBetween(const FaceVert* face, const FaceVert* a, const FaceVert* b)
{
    const int n = face->mNumSides;
    for (int k = 0; k < n; ++k)
    {
        const FaceVert* p = face->mNeighbours[k];
        const FaceVert* q = face->mNeighbours[(k + 1) % n];
        if ((p == a && q == b) || (p == b && q == a))
            return k;
    }
    return -1;
}

// The vertex's edge slot between its two faces (adjacent around it); -1 when they are not.
int SlotBetween(const FaceVert* v, const FaceVert* f, const FaceVert* h)
{
    const int n = v->mNumSides;
    for (int k = 0; k < n; ++k)
    {
        const FaceVert* p = v->mNeighbours[k];
        const FaceVert* q = v->mNeighbours[(k + 1) % n];
        if ((p == f && q == h) || (p == h && q == f))
            return k;
    }
    return -1;
}

struct EdgeBuilder
{
    Poly& poly;
    int expected;
    int next = 0;
    bool overflow = false;

    // Makes the edges of the face type's faces at the positions start, start + c, ...; answers
    // whether it made any.
    bool Pass(FaceType* type, int start, int classes, int edgeType)
    {
        bool made = false;
        for (FaceVert* f = type->mFirstFace; f && !overflow; f = f->mNextOfType)
        {
            const int n = f->mNumSides;
            for (int h = start; h < start + n && !overflow; h += classes)
            {
                const int slot = Wrap(h, n);
                if (f->mEdges[slot])
                    continue;
                if (next >= expected)
                {
                    DebugTrace("CreateEdges: found too many edges (> %d)\n", expected);
                    overflow = true;
                    break;
                }
                Edge& edge = poly.mEdges[next++];
                made = true;
                FaceVert* w = f->mNeighbours[slot];
                FaceVert* v = f->mNeighbours[(slot + 1) % n];
                edge.mType = edgeType;
                edge.mVerts[0] = static_cast<Vert*>(w);
                edge.mVerts[1] = static_cast<Vert*>(v);
                edge.mFaces[0] = static_cast<Face*>(f);
                f->mEdges[slot] = &edge;
                FaceVert* other = nullptr;
                int otherSlot = -1;
                if (w && v)
                {
                    const int m = w->mNumSides;
                    for (int k = FaceVert::FindNeighbour(w, f, -1); k >= 0 && !other;
                         k = FaceVert::FindNeighbour(w, f, k))
                    {
                        for (int side : {-1, 1})
                        {
                            FaceVert* g = w->mNeighbours[Wrap(k + side, m)];
                            if (!g || g == f)
                                continue;
                            const int s = SideBetween(g, w, v);
                            if (s >= 0 && !g->mEdges[s])
                            {
                                other = g;
                                otherSlot = s;
                                break;
                            }
                        }
                    }
                }
                if (!other)
                {
                    DebugTrace("Couldn't find edge: f %d, type %d, %d sides, i %d\n", FaceVert::GetIndex(f),
                               FaceType::GetIndex(type), n, h);
                    continue;
                }
                other->mEdges[otherSlot] = &edge;
                edge.mFaces[1] = static_cast<Face*>(other);
                const int ws = SlotBetween(w, f, other);
                if (ws >= 0)
                    w->mEdges[ws] = &edge;
                const int vs = SlotBetween(v, f, other);
                if (vs >= 0)
                    v->mEdges[vs] = &edge;
            }
        }
        return made;
    }
};
}  // namespace

void Poly::CreateEdges()
{
    if (mEdges.count > 0)
    {
        if (mNumEdgeTypes <= 0)
            ErrorMessage("Edges without types");
        FreeEdges();
    }
    ResetElementEdges();
    if (mNumEdges <= 0)
        CountEdges();
    const int expected = mNumEdges;
    if (expected <= 0 || !mEdges.Resize(expected))
        return;
    mSelectedEdge = nullptr;
    int typeCount = 0;
    EdgeBuilder builder{*this, expected};
    const SymGroup* group = mGroup.get();

    for (FaceType* t = GetFaceStellation()->mFirstFaceType; t && !builder.overflow; t = t->mNextFaceType)
    {
        FaceVert* first = t->mFirstFace;
        if (!first || first->mNumSides <= 0)
            continue;
        const int sides = first->mNumSides;
        int mirrorOffset = -1;
        int turn = 1;
        if (t->mMirrorImageFace && group)
        {
            int m = first->FindImageUnderSymmetry(t->mMirrorImageFace, nullptr, nullptr, nullptr, *group, 0, turn);
            if (m <= 0)
                m = sides;
            mirrorOffset = m - 1;
        }
        const int rotations = first->GetNumRots();
        const int classes = rotations > 0 && sides % rotations == 0 ? sides / rotations : sides;
        for (int j = 0; j < classes && !builder.overflow; ++j)
        {
            const bool madeFirst = builder.Pass(t, j, classes, typeCount);
            if (madeFirst)
                ++typeCount;
            bool madeSecond = false;
            if (mirrorOffset >= 0)
            {
                if (!t->mMirrorFace)
                {
                    DebugTrace("Poly::CreateEdges(): ft->mMirrorFace == NULL\n  FaceType %d (face %d)\n",
                               FaceType::GetIndex(t), FaceVert::GetIndex(first));
                    if (first->IsFace())
                        static_cast<Face*>(first)->DumpFace();
                }
                else
                {
                    madeSecond = builder.Pass(t->mMirrorFace, Wrap(mirrorOffset + j * turn, sides), classes, typeCount);
                    if (madeSecond)
                        ++typeCount;
                }
            }
            if (mirrorOffset >= 0 && madeFirst)
            {
                for (int e = 0; e < builder.next; ++e)
                {
                    Edge& edge = mEdges[e];
                    if (madeSecond && edge.mType == typeCount - 1)
                        edge.mFlags |= Edge::kMirrorSecond;
                    else if (madeSecond && edge.mType == typeCount - 2)
                        edge.mFlags |= Edge::kMirrorFirst;
                    else if (!madeSecond && edge.mType == typeCount - 1)
                        edge.mFlags |= Edge::kSelfMirror;
                }
            }
        }
    }
    if (builder.next != expected)
        DebugTrace("CreateEdges: num edges found %d != expected %d\n", builder.next, expected);

    mNumEdgeTypes = typeCount;
    mEdgeTypes.Resize(typeCount);
    int e = 0;
    for (int j = 0; j < typeCount; ++j)
    {
        EdgeType& type = mEdgeTypes[j];
        type.mFirstEdge = e < builder.next ? &mEdges[e] : nullptr;
        type.mCount = 0;
        while (e < builder.next && mEdges[e].mType == j)
        {
            ++type.mCount;
            ++e;
        }
    }
}
