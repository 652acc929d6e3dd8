#include "model/TemplateMatching.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "library/LibraryEntry.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/Vert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
int Wrap(int k, int n)
{
    k %= n;
    return k < 0 ? k + n : k;
}

Vert* AsVert(FaceVert* e)
{
    return e && e->IsVert() ? static_cast<Vert*>(e) : nullptr;
}

Face* AsFace(FaceVert* e)
{
    return e && e->IsFace() ? static_cast<Face*>(e) : nullptr;
}

TemplatePolygon* StepRing(TemplatePolygon* p, int direction, int steps)
{
    for (int i = 0; i < steps && p; ++i)
        p = direction == 0 ? p->next : p->prev;
    return p;
}

const TemplatePolygon* StepRing(const TemplatePolygon* p, int direction, int steps)
{
    return StepRing(const_cast<TemplatePolygon*>(p), direction, steps);
}

bool IsMatched(const Vert* v)
{
    return v->mPlacementStamp >= 0;
}

// The chain of class representatives that follows p on the chain of the direction.
TemplatePolygon* NextOnChain(TemplatePolygon* p, int direction)
{
    return direction == 0 ? p->mNextToTry : p->mPrevToTry;
}

TemplatePolygon* ChainHead(const PolyTemplate* templ, int direction)
{
    return direction == 0 ? templ->mFirst : templ->mBackwardHead;
}

void ReplaceCorner(FaceVert* face, const FaceVert* from, Vert* to)
{
    for (int i = 0; i < face->mNumSides; ++i)
        if (face->mNeighbours[i] == from)
            face->mNeighbours[i] = to;
}

// Drops the face from every corner that still lists it.
void UnlinkFace(Face* face)
{
    for (int i = 0; i < face->mNumSides; ++i)
    {
        Vert* c = AsVert(face->mNeighbours[i]);
        if (!c)
            continue;
        for (int k = FaceVert::FindNeighbour(c, face, -1); k >= 0; k = FaceVert::FindNeighbour(c, face, k))
            c->SetFace(k, nullptr);
    }
}

// {n/d} and its retrograde partner {n/(n-d)} in one place are one polygon listed the other way
// round: a face one vertex made as the one and another vertex as the other must merge.
bool IsSamePolygon(const Face* a, const Face* b)
{
    if (!a || !b || !a->mTemplatePolygon || !b->mTemplatePolygon || a->mNumSides != b->mNumSides)
        return false;
    const int da = a->mTemplatePolygon->mDensity;
    const int db = b->mTemplatePolygon->mDensity;
    return da == db || da == a->mNumSides - db;
}

void SetFrame(Face* face, Vec3D x, Vec3D y, Vec3D z, Vec3D centre)
{
    Vec3SnapZero(x, kTol);
    Vec3SnapZero(y, kTol);
    Vec3SnapZero(z, kTol);
    Vec3SnapZero(centre, kTol);
    face->mXAxis = x;
    face->mYAxis = y;
    face->mZAxis = z;
    face->mCentre = centre;
    face->mCentroid = centre;
}

// The neighbours of the vertex that a placement lays out, one per face position: the corner shared
// by the face at position start + j and the next one (the same layout CreateFaces uses).
bool PlacementNeighbours(const Vert* v, const TemplatePolygon* candidate, int direction, int turn,
                         std::vector<Vec3D>& out, int& start)
{
    const PolyTemplate* templ = v->mPoly->mTemplate;
    const int n = v->mNumSides;
    start = 0;
    while (start < n && !v->mNeighbours[start])
        ++start;
    const Face* face0 = start < n ? AsFace(v->mNeighbours[start]) : nullptr;
    const Vert* n1 = face0 ? GetNextVertex(face0, v, +1) : nullptr;
    if (!n1)
        return false;
    const Vec3D p = v->mPoint;
    const double radius = templ->mRadius > 0.0 ? templ->mRadius : 1.0;
    Vec3D centre, u, w;
    Vec3Scale(centre, p, 1.0 - templ->mVertexHeight / radius);
    Vec3Sub(u, n1->mPoint, centre);
    Vec3Cross(w, p, u);
    Vec3Div(w, w, radius);
    const double sense = turn > 0 ? -1.0 : 1.0;
    double theta = 0.0;
    out.clear();
    out.push_back(n1->mPoint);
    const TemplatePolygon* t = StepRing(candidate, direction, start);
    for (int j = 0; j < n && t; ++j)
    {
        theta += sense * t->mProjectedAngle;
        Vec3D q = centre;
        Vec3AddScaledTo(q, std::cos(theta), u);
        Vec3AddScaledTo(q, std::sin(theta), w);
        out.push_back(q);
        t = direction == 0 ? t->next : t->prev;
    }
    return int(out.size()) == n + 1;
}

// Every face that already has a corner where the vertex stands, through another vertex object at
// that place not yet merged with it, must be one of the faces the placement makes there: same
// polygon between the same two neighbours. A figure that wraps twice lets two placements agree
// with the faces attached so far and differ only in faces that sit on such copies.
bool AgreesWithFacesAtItsPoint(const Vert* v, const TemplatePolygon* candidate, int direction, int turn)
{
    std::vector<Vec3D> q;
    int start = 0;
    bool laidOut = false;
    const int n = v->mNumSides;
    for (const FaceVert* e = v->mPoly->mVerts.mFirst; e; e = e->mNext)
    {
        if (e == v || !Vec3Equal(e->mPoint, v->mPoint, kTol))
            continue;
        if (!laidOut)
        {
            if (!PlacementNeighbours(v, candidate, direction, turn, q, start))
                return true;
            laidOut = true;
        }
        for (int i = 0; i < e->mNumSides; ++i)
        {
            const Face* f = AsFace(e->mNeighbours[i]);
            if (!f)
                continue;
            const int c = FaceVert::FindNeighbour(f, e, -1);
            if (c < 0)
                continue;
            const FaceVert* a = f->mNeighbours[Wrap(c - 1, f->mNumSides)];
            const FaceVert* b = f->mNeighbours[Wrap(c + 1, f->mNumSides)];
            if (!a || !b)
                continue;
            bool found = false;
            const TemplatePolygon* t = StepRing(candidate, direction, start);
            for (int j = 0; j < n && t && !found; ++j)
            {
                found = t->mNumSides == f->mNumSides &&
                        ((Vec3Equal(q[j], a->mPoint, kTol) && Vec3Equal(q[j + 1], b->mPoint, kTol)) ||
                         (Vec3Equal(q[j], b->mPoint, kTol) && Vec3Equal(q[j + 1], a->mPoint, kTol)));
                t = direction == 0 ? t->next : t->prev;
            }
            if (!found)
                return false;
        }
    }
    return true;
}

// A fit of the attached faces (Vert::FitCount). With a ring that matches itself half-way round in
// the opposite orientation the orientation class does not tell apart placements that differ only in
// faces not yet attached; there the faces already standing at the vertex's place must agree too.
// Elsewhere they are not asked: in the degenerate rows two vertices share one place.
int PlacementFit(const Vert* v, const TemplatePolygon* candidate, int direction, int& turn)
{
    const int fit = v->FitCount(candidate, direction, turn);
    if (fit < 0 || !v->mPoly->mTemplate->mHalfTurn)
        return fit;
    if (turn >= 0)
        return AgreesWithFacesAtItsPoint(v, candidate, direction, turn) ? fit : -1;
    // Faces through the centre leave the turn open; the faces at the vertex's place may decide it.
    const bool ahead = AgreesWithFacesAtItsPoint(v, candidate, direction, 0);
    const bool back = AgreesWithFacesAtItsPoint(v, candidate, direction, 1);
    if (ahead != back)
        turn = ahead ? 0 : 1;
    return ahead || back ? fit : -1;
}
}  // namespace

// ---- Vertex and face primitives ----

void Vert::SetFace(int position, FaceVert* face)
{
    FaceVert*& slot = mNeighbours[position];
    if (!slot && face)
        ++mAttachedFaces;
    else if (slot && !face)
        --mAttachedFaces;
    slot = face;
    mNeedsCount = true;
}

void Face::SetVertex(int position, Vert* vertex)
{
    mNeighbours[position] = vertex;
}

Face* GetNextFace(const Vert* vertex, const Face* face, int step, bool* reversed)
{
    const int a = FaceVert::FindNeighbour(vertex, face, -1);
    if (a < 0)
    {
        InternalError("GetNextFace: Couldn't find it");
        return nullptr;
    }
    const int n = vertex->mNumSides;
    const int k = Wrap(vertex->mFaceReversed[a] ? a - step : a + step, n);
    if (reversed)
        *reversed = vertex->mFaceReversed[k] != 0;
    return AsFace(vertex->mNeighbours[k]);
}

Vert* GetNextVertex(const Face* face, const Vert* vertex, int step)
{
    const int c = FaceVert::FindNeighbour(face, vertex, -1);
    if (c < 0)
    {
        InternalError("GetNextVertex: Couldn't find it");
        return nullptr;
    }
    const int a = FaceVert::FindNeighbour(vertex, face, -1);
    const bool reversed = a >= 0 && vertex->mFaceReversed[a];
    return AsVert(face->mNeighbours[Wrap(reversed ? c - step : c + step, face->mNumSides)]);
}

bool SetNextFace(Vert* vertex, const Face* face, Face* newFace)
{
    const int q = FaceVert::FindNeighbour(vertex, face, -1);
    const int c = FaceVert::FindNeighbour(newFace, vertex, -1);
    if (q < 0 || c < 0)
    {
        InternalError("SetNextFace: Couldn't find face");
        return false;
    }
    const int n = vertex->mNumSides;
    const int m = newFace->mNumSides;
    const FaceVert* front = GetNextVertex(face, vertex, -1);
    const FaceVert* back = GetNextVertex(face, vertex, +1);
    const FaceVert* before = newFace->mNeighbours[Wrap(c - 1, m)];
    const FaceVert* after = newFace->mNeighbours[Wrap(c + 1, m)];
    int target;
    bool reversed;
    // The new face goes on the side of the face that the two share; it runs with the vertex when
    // its corner after the vertex is the one it shares with the face before it.
    if (front && (front == before || front == after))
    {
        target = Wrap(q + 1, n);
        reversed = after != front;
    }
    else if (back && (back == before || back == after))
    {
        target = Wrap(q - 1, n);
        reversed = before != back;
    }
    else
    {
        InternalError("SetNextFace: Couldn't find face");
        return false;
    }
    FaceVert* occupant = vertex->mNeighbours[target];
    if (occupant && occupant != newFace)
    {
        // The polygons overlap: a third face would border a side two faces already share.
        ErrorMessage("Failed: Found vertex where three faces would meet at one edge: '%s'",
                     vertex->GetConfiguration());
        return false;
    }
    vertex->SetFace(target, newFace);
    vertex->mFaceReversed[target] = reversed ? 1 : 0;
    return true;
}

bool VertexMerge(Vert* keep, Vert* drop, const Face* a, const Face* b, bool reversed)
{
    if (keep == drop)
        return true;
    const int pa = a ? FaceVert::FindNeighbour(keep, a, -1) : -1;
    const int pb = b ? FaceVert::FindNeighbour(drop, b, -1) : -1;
    if (pa < 0 || pb < 0)
    {
        InternalError("VertexMerge: Couldn't find faces");
        return false;
    }
    const bool sameBytes = (keep->mFaceReversed[pa] != 0) == (drop->mFaceReversed[pb] != 0);
    const bool backward = reversed ? sameBytes : !sameBytes;
    const int n = keep->mNumSides;
    for (int i = 1; i < n; ++i)
    {
        const int pk = Wrap(pa + i, n);
        const int pd = Wrap(backward ? pb - i : pb + i, drop->mNumSides);
        FaceVert* fd = drop->mNeighbours[pd];
        if (!fd)
            continue;
        FaceVert* fk = keep->mNeighbours[pk];
        if (fk == fd || keep->HasNeighbour(fd))
            continue;
        if (fk)
        {
            InternalError("VertexMerge: Faces differ");
            return false;
        }
        keep->SetFace(pk, fd);
        keep->mFaceReversed[pk] = (drop->mFaceReversed[pd] != 0) != backward ? 1 : 0;
    }
    for (int i = 0; i < drop->mNumSides; ++i)
        drop->mNeighbours[i] = nullptr;
    drop->mAttachedFaces = 0;
    Poly* poly = drop->mPoly;
    // Every face naming drop names keep from now on, also one that drop no longer lists (a face
    // being merged away), so that no corner is left pointing at the deleted vertex.
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        ReplaceCorner(f, drop, keep);
    if (poly->mMatchingAnchor == drop)
        poly->mMatchingAnchor = keep;
    poly->mVerts.Remove(drop);
    return true;
}

bool Poly::ZipVertex(Vert* v)
{
    // Each mend merges one vertex away, so there cannot be more mends than vertices. The work
    // continues at the vertex merged into: the one it started with may be gone.
    for (int guard = mVerts.mCount; guard >= 0; --guard)
    {
        const int n = v->mNumSides;
        Vert* next = nullptr;
        for (int i = 0; i < n && !next; ++i)
        {
            Face* f1 = AsFace(v->mNeighbours[i]);
            Face* f2 = AsFace(v->mNeighbours[(i + 1) % n]);
            if (!f1 || !f2 || f1 == f2)
                continue;
            Vert* u = GetNextVertex(f1, v, -1);
            Vert* x = GetNextVertex(f2, v, +1);
            if (!u || !x || u == x)
                continue;
            if (!Vec3Equal(u->mPoint, x->mPoint, kTol))
            {
                ErrorMessage("Failed: Found vertex where neighbouring faces do not meet at an edge: '%s'",
                             v->GetConfiguration());
                return false;
            }
            ReplaceCorner(f2, x, u);
            if (!u->HasNeighbour(f2) && !SetNextFace(u, f1, f2))
                return false;
            if (!VertexMerge(u, x, f2, f2, false))
                return false;
            next = u;
        }
        if (!next)
            return true;
        v = next;
    }
    return true;
}

// ---- Faces: corners, matches and merges ----

bool Poly::CreateVertices(Face* face)
{
    const int n = face->mNumSides;
    Vert* v0 = AsVert(face->mNeighbours[0]);
    if (!v0)
    {
        InternalError("CreateVertices: First vertex must exist!");
        return false;
    }
    auto reversedAt = [face](const Vert* v) {
        const int a = FaceVert::FindNeighbour(v, face, -1);
        return a >= 0 && v->mFaceReversed[a] != 0;
    };

    // Forward: the corners before corner 0, from the faces already around the corners.
    int last = n;  // corners last..n-1 are filled
    Vert* v = v0;
    for (int i = n - 1; i >= 1; --i)
    {
        if (face->mNeighbours[i])
            break;
        Face* g = GetNextFace(v, face, +1, nullptr);
        if (!g)
            break;
        Vert* u = GetNextVertex(g, v, reversedAt(v) ? -1 : +1);
        if (!u)
        {
            InternalError("CreateVertices: Vertex is NULL");
            return false;
        }
        face->SetVertex(i, u);
        if (!u->HasNeighbour(face) && !SetNextFace(u, g, face))
            return false;
        last = i;
        v = u;
    }

    // Backward: corners 1, 2, ... the same way round the other side.
    int filled = 0;
    v = v0;
    for (int i = 1; i < n; ++i)
    {
        Face* h = GetNextFace(v, face, -1, nullptr);
        if (!h)
            break;
        Vert* u = GetNextVertex(h, v, reversedAt(v) ? +1 : -1);
        if (!u)
            break;
        Vert* existing = AsVert(face->mNeighbours[i]);
        if (existing == u)
            break;
        if (existing)
        {
            if (!Vec3Equal(existing->mPoint, u->mPoint, kTol))
            {
                InternalError("CreateVertices: Failed: mismatching vertices at different positions\n");
                return false;
            }
            face->SetVertex(i, u);
            if (!u->HasNeighbour(face) && !SetNextFace(u, h, face))
                return false;
            if (!VertexMerge(u, existing, face, face, false) || !ZipVertex(u))
                return false;
            break;
        }
        face->SetVertex(i, u);
        if (!u->HasNeighbour(face) && !SetNextFace(u, h, face))
            return false;
        filled = i;
        v = u;
    }
    (void)last;

    // New vertices on the polygon's circle for the corners still empty.
    const TemplatePolygon* polygon = face->mTemplatePolygon;
    const double rho = polygon ? polygon->mRadius : 0.0;
    const double alpha = polygon ? polygon->mExteriorAngle : 0.0;
    const int valence = mTemplate ? mTemplate->mValence : 0;
    for (int i = filled + 1; i < n && !face->mNeighbours[i]; ++i)
    {
        Vec3D p = face->mCentre;
        Vec3AddScaledTo(p, rho * std::cos(i * alpha), face->mXAxis);
        Vec3AddScaledTo(p, rho * std::sin(i * alpha), face->mYAxis);
        Vert* w = new Vert(this, p, valence);
        w->SetFace(0, face);
        w->mFaceReversed[0] = 0;
        face->SetVertex(i, w);
    }

    // The face's pole; a face through the centre has its pole at infinity.
    const FaceVert* c0 = face->mNeighbours[0];
    const FaceVert* c1 = face->mNeighbours[1 % n];
    if (c0 && c1)
    {
        Vec3D m;
        Vec3Add(m, c0->mPoint, c1->mPoint);
        Vec3Normalize(m);
        const double d = Vec3Dot(m, face->mZAxis);
        if (std::fabs(d) > 0.00001)
        {
            Vec3Scale(face->mPoint, face->mZAxis, mMidRadius / d);
            face->mFlags &= ~FaceVert::kHemi;
        }
        else
        {
            face->mPoint = face->mZAxis;
            face->mFlags |= FaceVert::kHemi;
        }
        Vec3SnapZero(face->mPoint, kTol);
    }
    return true;
}

Face* Face::FindMatch(int& k, bool& reversed) const
{
    const int n = mNumSides;
    for (FaceVert* e = mPoly->mFaces.mFirst; e; e = e->mNext)
    {
        if (e == this)
            continue;
        Face* other = static_cast<Face*>(e);
        if (!IsSamePolygon(other, this) || !other->mNeighbours[0])
            continue;
        if (!Vec3Equal(other->mZAxis, mZAxis, kTol) && !Vec3EqualNeg(other->mZAxis, mZAxis, kTol))
            continue;
        if (!Vec3Equal(other->mCentre, mCentre, kTol))
            continue;
        for (int i = 0; i < n; ++i)
        {
            const FaceVert* c = mNeighbours[i];
            if (!c || !Vec3Equal(c->mPoint, other->mNeighbours[0]->mPoint, kTol))
                continue;
            k = i;
            const FaceVert* next = mNeighbours[(i + 1) % n];
            const FaceVert* otherNext = other->mNeighbours[1 % n];
            reversed = !next || !otherNext || !Vec3Equal(next->mPoint, otherNext->mPoint, kTol);
            return other;
        }
    }
    return nullptr;
}

bool Face::MergeF(Face* drop, int k, bool reversed, MatchCursor* cursor)
{
    if (!IsSamePolygon(this, drop))
    {
        InternalError("FaceMerge: Not of the same type");
        return false;
    }
    const int n = mNumSides;
    auto dropIndex = [&](int i) { return Wrap(reversed ? k - i : k + i, n); };
    for (int i = 0; i < n; ++i)
    {
        Vert* e = AsVert(mNeighbours[i]);
        Vert* m = AsVert(drop->mNeighbours[dropIndex(i)]);
        if (!e || !m || !Vec3Equal(e->mPoint, m->mPoint, kTol))
        {
            InternalError("FaceMerge: Vertices not at same positions");
            return false;
        }
        if (e == m)
            continue;
        const int a = FindNeighbour(e, this, -1);
        const int b = FindNeighbour(m, drop, -1);
        if (a < 0 || b < 0)
            continue;
        const bool same = (e->mFaceReversed[a] != 0) == (m->mFaceReversed[b] != 0);
        const bool backward = reversed ? same : !same;
        for (int j = 1; j < e->mNumSides; ++j)
        {
            const Face* fe = AsFace(e->mNeighbours[Wrap(a + j, e->mNumSides)]);
            const Face* fm = AsFace(m->mNeighbours[Wrap(backward ? b - j : b + j, m->mNumSides)]);
            if (fe && fm && !IsSamePolygon(fe, fm))
            {
                InternalError("FaceMerge: Surrounding faces differ");
                return false;
            }
        }
    }

    for (int i = 0; i < n; ++i)
    {
        Vert* e = AsVert(mNeighbours[i]);
        Vert* m = AsVert(drop->mNeighbours[dropIndex(i)]);
        if (!e || !m || e == m)
            continue;
        if (cursor && m == cursor->vertex)
        {
            if (IsMatched(e))
            {
                InternalError("FaceMerge: Merged vertex already matched");
                return false;
            }
            const int a = FindNeighbour(e, this, -1);
            const int b = FindNeighbour(m, drop, -1);
            if (a < 0 || b < 0)
                return false;
            const bool same = (e->mFaceReversed[a] != 0) == (m->mFaceReversed[b] != 0);
            const bool flip = reversed ? same : !same;
            // e's position j stands where m's position b + (j - a) stands, or b - (j - a) on a flip.
            const int q = Wrap(flip ? b + a : b - a, m->mNumSides);
            e->mCandidate = StepRing(m->mCandidate, m->mDirection, q);
            e->mDirection = flip ? 1 - m->mDirection : m->mDirection;
            e->mPlacementStamp = m->mPlacementStamp;
            e->mFacesAtPlacement = m->mFacesAtPlacement;
            e->mLevel = m->mLevel;
            e->mRemaining = m->mRemaining;
            int turn = -1;
            if (e->FitCount(e->mCandidate, e->mDirection, turn) < 0)
            {
                InternalError("Face::MergeF() - No match");
                return false;
            }
            e->mTurn = turn;
            e->mOrientationClass = e->ApplyTurn(e->mDirection, turn > 0);
            if (flip)
                cursor->step = -cursor->step;
            cursor->vertex = e;
            cursor->position = a;
            m->mPlacementStamp = -1;
            m->mCandidate = nullptr;
        }
        else if (IsMatched(m))
            InternalError("Face::MergeF(): Merging matched vertex!");
        if (!VertexMerge(e, m, this, drop, reversed))
            return false;
    }

    mIdFlags |= drop->mIdFlags;
    // Corners the two shared now hold this face where they held the dropped one.
    for (int i = 0; i < drop->mNumSides; ++i)
    {
        Vert* c = AsVert(drop->mNeighbours[i]);
        if (!c)
            continue;
        for (int p = FindNeighbour(c, drop, -1); p >= 0; p = FindNeighbour(c, drop, p))
        {
            if (c->HasNeighbour(this))
                c->SetFace(p, nullptr);
            else
            {
                c->SetFace(p, this);
                c->mFaceReversed[p] = (c->mFaceReversed[p] != 0) != reversed ? 1 : 0;
            }
        }
    }
    UnlinkFace(drop);
    mPoly->mFaces.Remove(drop);
    // Zipping may merge away vertices the dropped face still named, so it comes last.
    for (int i = 0; i < n; ++i)
        if (Vert* e = AsVert(mNeighbours[i]))
            mPoly->ZipVertex(e);
    return true;
}

// ---- Matching one vertex ----

int Vert::FitCount(const TemplatePolygon* candidate, int direction, int& turn) const
{
    turn = -1;
    int count = 0;
    const TemplatePolygon* r = candidate;
    for (int i = 0; i < mNumSides && r; ++i)
    {
        const Face* f = static_cast<const Face*>(mNeighbours[i]);
        if (f)
        {
            if (!f->MatchesTemplatePolygon(r, turn, mFaceReversed[i] != 0))
                return -1;
            if (!(uint32_t(f->mIdFlags) & r->mMatchId))
                ++count;
        }
        r = direction == 0 ? r->next : r->prev;
    }
    return count;
}

int Vert::CountMatches()
{
    mNeedsCount = false;
    mRemaining = 0;
    mOrientationClass = -1;
    const PolyTemplate* templ = mPoly->mTemplate;
    if (!templ)
        return 0;
    int counts[2] = {0, 0};
    for (int chain = 0; chain < 2; ++chain)
    {
        if (chain == 1 && counts[0] > 0)
            break;
        for (TemplatePolygon* t = ChainHead(templ, chain); t; t = NextOnChain(t, chain))
        {
            int turn = -1;
            if (PlacementFit(this, t, chain, turn) >= 0)
                ++counts[ApplyTurn(chain, turn > 0)];
        }
    }
    if (counts[0] > 0)
    {
        mOrientationClass = 0;
        mRemaining = counts[0];
    }
    else if (counts[1] > 0)
    {
        mOrientationClass = 1;
        mRemaining = counts[1];
    }
    return mRemaining;
}

int Vert::NextFitCount(int level) const
{
    const PolyTemplate* templ = mPoly->mTemplate;
    int best = -1;
    for (int chain = 0; chain < 2 && templ; ++chain)
    {
        for (TemplatePolygon* t = ChainHead(templ, chain); t; t = NextOnChain(t, chain))
        {
            int turn = -1;
            const int b = PlacementFit(this, t, chain, turn);
            if (b < 0 || b <= level || (best >= 0 && b >= best))
                continue;
            if (turn == -1 || ApplyTurn(chain, turn > 0) == mOrientationClass)
                best = b;
        }
    }
    return best;
}

bool DoNextMatch(Vert* v)
{
    Poly* poly = v->mPoly;
    const PolyTemplate* templ = poly->mTemplate;
    if (!templ || !templ->mFirst)
        return false;
    // While a branch point is open, the vertices placed after it take their first fit.
    if (poly->mMatchingAnchor && poly->mMatchingAnchor != v)
        v->mRemaining = 1;
    bool first = false;
    int level = v->mLevel;
    int direction = v->mDirection;
    TemplatePolygon* candidate = v->mCandidate;
    if (!candidate)
    {
        level = v->NextFitCount(-1);
        if (level < 0)
            return false;
        first = true;
        direction = 0;
        candidate = templ->mFirst;
    }
    else
    {
        candidate = NextOnChain(candidate, direction);
        if (!candidate && direction == 0)
        {
            direction = 1;
            candidate = templ->mBackwardHead;
        }
        if (!candidate)
        {
            level = v->NextFitCount(level);
            if (level < 0)
            {
                v->mCandidate = nullptr;
                return false;
            }
            poly->mAnchorFree = false;
            direction = 0;
            candidate = templ->mFirst;
        }
    }

    int turn = -1;
    bool accepted = false;
    while (level >= 0 && !accepted)
    {
        while (candidate)
        {
            int t = -1;
            if (PlacementFit(v, candidate, direction, t) == level &&
                (t == -1 || v->ApplyTurn(direction, t > 0) == v->mOrientationClass))
            {
                turn = t;
                accepted = true;
                break;
            }
            candidate = NextOnChain(candidate, direction);
            if (!candidate && direction == 0)
            {
                direction = 1;
                candidate = templ->mBackwardHead;
            }
        }
        if (accepted)
            break;
        level = v->NextFitCount(level);
        poly->mAnchorFree = false;
        direction = 0;
        candidate = templ->mFirst;
    }
    if (!accepted)
    {
        v->mCandidate = nullptr;
        return false;
    }

    v->mCandidate = candidate;
    v->mDirection = direction;
    v->mLevel = level;
    v->mTurn = turn;
    v->mPlacementStamp = poly->mNumPlaced++;
    v->mFacesAtPlacement = poly->mFaces.mCount;
    const int before = v->mRemaining;
    if (--v->mRemaining < 0)
    {
        InternalError("Number of remaining matches < 0!");
        return false;
    }
    if (before != 1)
    {
        if (first)
            ++poly->mOpenBranches;
        if (!poly->mMatchingAnchor)
            poly->mMatchingAnchor = v;
    }
    else if (!first)
        --poly->mOpenBranches;
    return true;
}

bool CreateFaces(Vert* vertex)
{
    Poly* poly = vertex->mPoly;
    const PolyTemplate* templ = poly->mTemplate;
    if (vertex->mTurn == -1)
        InternalError("CreateFaces: Still RETRO_IGNORE");
    // Backing up to a branch can take away the face a merge put at position 0 of the vertex that
    // carries the placement; the ring is then laid from its first face still present.
    int start = 0;
    while (start < vertex->mNumSides && !vertex->mNeighbours[start])
        ++start;
    Face* face0 = start < vertex->mNumSides ? AsFace(vertex->mNeighbours[start]) : nullptr;
    if (!face0)
    {
        InternalError("CreateFaces: First face doesn't exist");
        return false;
    }
    const Vec3D p = vertex->mPoint;
    const double radius = templ->mRadius > 0.0 ? templ->mRadius : 1.0;
    Vec3D centre;
    Vec3Scale(centre, p, 1.0 - templ->mVertexHeight / radius);
    const Vert* n1 = GetNextVertex(face0, vertex, +1);
    if (!n1)
        return false;
    Vec3D u, w, dPrev;
    Vec3Sub(u, n1->mPoint, centre);
    Vec3Cross(w, p, u);
    Vec3Div(w, w, radius);
    Vec3Sub(dPrev, n1->mPoint, p);
    double theta = 0.0;

    // The geometry keeps turning the same way even when a merge hands the work to a vertex whose
    // positions run the other way.
    const double sense = vertex->mTurn > 0 ? -1.0 : 1.0;
    const int direction = vertex->mDirection;
    const int n = vertex->mNumSides;
    TemplatePolygon* t = StepRing(vertex->mCandidate, direction, start);
    MatchCursor cursor{vertex, start, 1};
    for (int count = 0; count < n && t; ++count)
    {
        theta += sense * t->mProjectedAngle;
        Vec3D q = centre;
        Vec3AddScaledTo(q, std::cos(theta), u);
        Vec3AddScaledTo(q, std::sin(theta), w);
        Vec3D d;
        Vec3Sub(d, q, p);
        Vert* v = cursor.vertex;
        const int pos = cursor.position;
        if (Face* f = AsFace(v->mNeighbours[pos]))
        {
            int turn = -1;
            if (!f->MatchesTemplatePolygon(t, turn, v->mFaceReversed[pos] != 0))
            {
                InternalError("CreateFaces: face doesn't match!");
                return false;
            }
            const Vert* corner = GetNextVertex(f, v, -cursor.step);
            if (!corner || !Vec3Equal(corner->mPoint, q, kTol))
            {
                InternalError("CreateFaces: Vertex position discrepancy");
                const Vert* other = GetNextVertex(f, v, +1);
                if (!other || !Vec3Equal(other->mPoint, q, kTol))
                    InternalError("CreateFaces: BIG Vertex position discrepancy");
            }
            f->mIdFlags |= int32_t(t->mMatchId);
        }
        else
        {
            Face* face = new Face(poly, t, t->mNumSides);
            v->SetFace(pos, face);
            face->SetVertex(0, v);
            Vec3D x, normal, y, c;
            Vec3Add(x, dPrev, d);
            Vec3Negate(x);
            Vec3Normalize(x);
            Vec3AddScaled(c, p, -t->mRadius, x);
            Vec3Cross(normal, dPrev, d);
            Vec3Normalize(normal);
            if (!t->mHemi && Vec3Dot(normal, c) < 0.0)
                Vec3Negate(normal);
            Vec3Cross(y, normal, x);
            // The face runs with the vertex when its corner after the vertex is the neighbour it
            // shares with the previous position. A retrograde polygon steps the other way round
            // its normal, so the normal alone does not tell.
            bool reversed = std::sin(t->mExteriorAngle) * Vec3Dot(y, dPrev) < 0.0;
            if (cursor.step == -1)
                reversed = !reversed;
            v->mFaceReversed[pos] = reversed ? 1 : 0;
            SetFrame(face, x, y, normal, c);
            if (t->mHemi)
                face->mFlags |= FaceVert::kHemi;
            if (!poly->CreateVertices(face))
                return false;
            int k = 0;
            bool opposite = false;
            if (Face* existing = face->FindMatch(k, opposite))
                if (!existing->MergeF(face, k, opposite, &cursor))
                    return false;
        }
        dPrev = d;
        cursor.position = Wrap(cursor.position + cursor.step, n);
        t = direction == 0 ? t->next : t->prev;
    }
    return true;
}

// ---- The start ----

bool Prepare(Poly& poly, PolyTemplate* templ, uint32_t flags)
{
    poly.Clear();
    poly.mFlags |= flags;
    poly.mTemplate = templ;
    if (!templ || !templ->mFirst)
        return false;
    poly.SetFromLibraryEntry(templ->mLibraryEntry);
    poly.mHasPointsAtInfinity = templ->mHasHemi;
    poly.mMidRadius = templ->mMidRadius;
    poly.mRadius = templ->mDualRadius;
    if (const LibraryEntry* entry = templ->mLibraryEntry)
    {
        const bool plainPrism = entry->mCategory == LibraryEntry::kCategoryPrisms && entry->mSymbol &&
                                !std::strchr(entry->mSymbol, '/') && !std::strchr(entry->mSymbol, 'N');
        if (entry->mCategory == LibraryEntry::kCategoryPlatonic || entry->mCategory == 7 || plainPrism)
            poly.mFlags |= Poly::kConvex | Poly::kRadiallyConvex | Poly::kNonSelfIntersecting;
    }

    TemplatePolygon* t0 = templ->mFirst;
    const double r = templ->mRadius > 0.0 ? templ->mRadius : 1.0;
    const double rho = t0->mRadius;
    double d = std::sqrt(std::max(0.0, r * r - rho * rho));
    if (t0->mHeight < 0.0)
        d = -d;
    if (std::fabs(d) < kTol)
        d = 0.0;
    Face* face = new Face(&poly, t0, t0->mNumSides);
    SetFrame(face, {1.0, 0.0, 0.0}, {0.0, 0.0, -1.0}, {0.0, 1.0, 0.0}, {0.0, d, 0.0});
    if (t0->mHemi)
        face->mFlags |= FaceVert::kHemi;
    Vec3D p{rho, d, 0.0};
    Vert* v = new Vert(&poly, p, templ->mValence);
    v->SetFace(0, face);
    v->mFaceReversed[0] = 0;
    face->SetVertex(0, v);
    if (!poly.CreateVertices(face))
        return false;
    v->mRemaining = 1;
    if (!DoNextMatch(v))
    {
        InternalError("Prepare: DoNextMatch() failed.");
        return false;
    }
    v->mTurn = 0;
    return CreateFaces(v) && poly.CheckMatchable();
}
