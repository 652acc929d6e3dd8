#include "model/SimpleAdjacency.h"

#include "model/SimplePoly.h"

#include <utility>

namespace
{
// Whether r lies next to q (before or after it, cyclically) somewhere in c's list.
bool ListsAdjacent(const SimpleElem* c, const SimpleElem* q, const SimpleElem* r)
{
    const int n = c->mNum;
    for (int b = c->IndexInList(q, -1); b >= 0; b = c->IndexInList(q, b))
    {
        if (c->mList[(b + 1) % n] == r || c->mList[(b + n - 1) % n] == r)
            return true;
    }
    return false;
}

// The one walk behind both: a face crosses to its neighbour through the faces around a corner, a
// vertex to its neighbour through the corners of a face.
SimpleElem* GetAdjElem(const SimpleElem* e, int i)
{
    if (!e || e->mNum <= 0)
        return nullptr;
    const int n = e->mNum;
    i = ((i % n) + n) % n;
    const SimpleElem* q = e->mList[i];
    const SimpleElem* r = e->mList[(i + 1) % n];
    if (!q || !r || q->mNum <= 0)
        return nullptr;
    const int qn = q->mNum;
    for (int a = q->IndexInList(e, -1); a >= 0; a = q->IndexInList(e, a))
    {
        SimpleElem* c = q->mList[(a + 1) % qn];
        if (c && ListsAdjacent(c, q, r))
            return c;
        c = q->mList[(a + qn - 1) % qn];
        if (c && ListsAdjacent(c, q, r))
            return c;
    }
    return nullptr;
}
}  // namespace

SimpleFace* GetAdjFace(const SimpleFace* face, int i)
{
    return static_cast<SimpleFace*>(GetAdjElem(face, i));
}

SimpleVert* GetAdjVert(const SimpleVert* vert, int i)
{
    return static_cast<SimpleVert*>(GetAdjElem(vert, i));
}

SimpleElem* MergeTypes(SimpleElem* into, SimpleElem* from)
{
    if (!into || !from || into->mId == from->mId)
        return into;
    SimpleElem* e = from;
    do
    {
        e->mId = into->mId;
        e = e->mNextOfType;
    } while (e && e != from);
    std::swap(into->mNextOfType, from->mNextOfType);
    return into;
}
