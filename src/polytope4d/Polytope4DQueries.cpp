#include "kernel/Tolerance.h"
#include "polytope4d/Polytope4D.h"

#include <cmath>

// Whole-polytope queries: finding vertices by position, face sides of selection items, face
// triangulations, flag clearing and measures.

namespace
{
template <class Elem>
Elem* Next(const Elem* e)
{
    return static_cast<Elem*>(e->next);
}

void ClearFlags(Element4D* first, uint32_t mask)
{
    for (Element4D* e = first; e; e = e->next)
        e->mFlags &= ~mask;
}

// The farthest of the points from a measure; null when none exceeds the floor.
template <class Measure>
Vert4D* Farthest(Vert4D* const* verts, int count, double floor, Measure measure)
{
    Vert4D* best = nullptr;
    double most = floor;
    for (int i = 0; i < count; ++i)
    {
        if (!verts[i])
            continue;
        const double m = measure(verts[i]->mPos);
        if (m > most)
        {
            most = m;
            best = verts[i];
        }
    }
    return best;
}

constexpr double kSpanFloor = 1e-14;  // squared distances at or below this span nothing
}  // namespace

Vert4D* Polytope4D::FindVert(const Vec4D& pos) const
{
    if (mPointTree)
        return mPointTree->Find(pos);
    for (Element4D* e = mFirstVert; e; e = e->next)
    {
        Vert4D* vert = static_cast<Vert4D*>(e);
        if (Vec4Equal(vert->mPos, pos, k4DTol))
            return vert;
    }
    return nullptr;
}

void Polytope4D::BuildPointTree()
{
    mPointTree = std::make_unique<PointTree4D>();
    // A vertex at the position of an earlier one stays out: the earlier one is the one found.
    for (Element4D* e = mFirstVert; e; e = e->next)
        mPointTree->Insert(static_cast<Vert4D*>(e));
}

Vert4D* Polytope4D::FindOrCreateVert(const Vec4D& pos)
{
    if (!mPointTree)
        BuildPointTree();
    const PointTree4D::Walk walk = mPointTree->Locate(pos);
    if (walk.found)
        return walk.found;
    Vert4D* vert = NewVert(&pos);
    mPointTree->Attach(walk, vert);
    return vert;
}

bool Polytope4D::GetFaceAndCell(int item, Face4D*& face, Cell4D*& cell)
{
    face = nullptr;
    cell = nullptr;
    // Integer division rounds towards zero: -1 would name face 0.
    if (item < 0)
        return false;
    Face4D* f = GetFace(item / 2);
    if (!f || item % 2 >= f->mNumCells)
        return false;
    face = f;
    cell = f->mCells[item % 2];
    return true;
}

void Polytope4D::PrepareFacePlanes(bool force)
{
    if ((mFlags & kPlanesPrepared) && !force)
        return;
    mFlags |= kPlanesPrepared;
    for (Face4D* face = static_cast<Face4D*>(mFirstFace); face; face = Next(face))
    {
        if (face->mNumSides > 2)
            face->mPlane.Setup(*face);
    }
}

void Polytope4D::ClearVertFlags(uint32_t mask)
{
    ClearFlags(mFirstVert, mask);
}

void Polytope4D::ClearFaceFlags(uint32_t mask)
{
    ClearFlags(mFirstFace, mask);
}

void Polytope4D::ClearCellFlags(uint32_t mask)
{
    ClearFlags(mFirstCell, mask);
}

void Polytope4D::CalcEdgeLengthRange()
{
    if (mMaxEdgeLength >= 0.0)
        return;
    double least = kUnsetValue;
    double most = -1.0;
    for (Edge4D* edge = static_cast<Edge4D*>(mFirstEdge); edge; edge = Next(edge))
    {
        const double lengthSq = edge->GetLengthSq();
        if (lengthSq < least)
            least = lengthSq;
        if (lengthSq > most)
            most = lengthSq;
    }
    // Without edges there is nothing to take roots of: the maximum stays unset (-1, never NaN), so
    // the range is found once edges exist.
    if (!mFirstEdge)
        return;
    mMinEdgeLength = std::sqrt(least);
    mMaxEdgeLength = std::sqrt(most);
}

double Polytope4D::GetMeanEdgeLength()
{
    CalcEdgeLengthRange();
    return (mMinEdgeLength + mMaxEdgeLength) / 2.0;
}

int Polytope4D::GetSpanningVerts(Vert4D* out[4], Element4D* element) const
{
    if (Vert4D* vert = Element4D::AsVert(element))
    {
        out[0] = vert;
        return 1;
    }
    if (Edge4D* edge = Element4D::AsEdge(element))
    {
        Vert4D* a = edge->mVerts[0];
        Vert4D* b = edge->mVerts[1];
        if (!a || !b)
        {
            out[0] = a ? a : b;
            return out[0] ? 1 : 0;
        }
        out[0] = a;
        out[1] = b;
        return Vec4Equal(a->mPos, b->mPos, kTol) ? 1 : 2;
    }
    Vert4D* const* verts = nullptr;
    int count = 0;
    Vec4D reference;
    const bool isCell = Element4D::IsCell(element);
    if (Face4D* face = Element4D::AsFace(element))
    {
        verts = face->mVerts.get();
        count = face->mNumSides;
        face->GetCentre(reference);
    }
    else if (Cell4D* cell = Element4D::AsCell(element))
    {
        verts = cell->mVerts.get();
        count = cell->mNumVerts;
        reference = cell->mCentre;
    }
    if (!verts || count == 0)
        return 0;

    auto distanceSqFrom = [](const Vec4D& from) {
        return [from](const Vec4D& p) {
            Vec4D d;
            Vec4Sub(d, p, from);
            return Vec4LengthSq(d);
        };
    };
    Vert4D* g = Farthest(verts, count, -1.0, distanceSqFrom(reference));
    if (!g)
        return 0;
    out[0] = g;
    Vert4D* h = Farthest(verts, count, kSpanFloor, distanceSqFrom(g->mPos));
    if (!h)
        return 1;
    out[1] = h;
    Vec4D t;
    Vec4Sub(t, h->mPos, g->mPos);
    Vec4Div(t, Vec4Length(t));
    Vert4D* j = Farthest(verts, count, kSpanFloor, [&](const Vec4D& p) {
        Vec4D d, across;
        Vec4Sub(d, p, g->mPos);
        Vec4RejectFrom(across, d, t);
        return Vec4LengthSq(across);
    });
    if (!j)
        return 2;
    out[2] = j;
    if (!isCell)
        return 3;
    Vec4D toJ;
    Vec4Sub(toJ, j->mPos, g->mPos);
    Vert4D* k = Farthest(verts, count, kSpanFloor, [&](const Vec4D& p) {
        Vec4D d, across;
        Vec4Sub(d, p, g->mPos);
        Vec4RejectFrom2(across, d, t, toJ, kTol);
        return Vec4LengthSq(across);
    });
    if (!k)
        return 3;
    out[3] = k;
    return 4;
}
