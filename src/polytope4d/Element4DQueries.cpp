#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/ElementLists4D.h"
#include "polytope4d/Polytope4D.h"

#include <algorithm>
#include <cmath>

// Neighbour, index and geometry queries of the four element kinds. None reports an error: what does
// not exist comes back as null, -1 or false.

using Lists4D::HasAllCorners;

namespace
{
template <class T>
int IndexIn(T* const* items, int count, const T* item)
{
    if (!items)
        return -1;
    for (int i = 0; i < count; ++i)
    {
        if (items[i] == item)
            return i;
    }
    return -1;
}

// Vertex k of a face, counted cyclically.
const Vert4D* CornerAt(const Face4D& face, int k)
{
    const int n = face.mNumSides;
    return face.mVerts[((k % n) + n) % n];
}

// Whether the face has a and b as neighbouring corners, in either order.
bool HasSide(const Face4D& face, const Vert4D* a, const Vert4D* b)
{
    for (int k = 0; k < face.mNumSides; ++k)
    {
        const Vert4D* p = face.mVerts[k];
        const Vert4D* q = CornerAt(face, k + 1);
        if ((p == a && q == b) || (p == b && q == a))
            return true;
    }
    return false;
}

bool FaceHasCell(const Face4D& face, const Cell4D* cell)
{
    return IndexIn(face.mCells.get(), face.mNumCells, cell) >= 0;
}
}  // namespace

// Vertices.

Vert4D* Vert4D::GetNeighbour(int i) const
{
    if (i < 0 || i >= mNumEdges || !mEdges[i])
        return nullptr;
    return mEdges[i]->GetOtherEnd(this);
}

Edge4D* Vert4D::FindEdgeTo(const Vert4D* other) const
{
    for (int i = 0; i < mNumEdges; ++i)
    {
        Edge4D* edge = mEdges[i];
        if (edge && (edge->mVerts[0] == other || edge->mVerts[1] == other))
            return edge;
    }
    return nullptr;
}

Edge4D* Vert4D::FindEdgeWithCell(const Cell4D* cell, int& position) const
{
    for (int i = 0; i < mNumEdges; ++i)
    {
        Edge4D* edge = mEdges[i];
        const int slot = edge ? edge->IndexOfCell(cell) : -1;
        if (slot >= 0)
        {
            position = slot;
            return edge;
        }
    }
    position = -1;
    return nullptr;
}

int Vert4D::IndexOfCell(const Cell4D* cell) const
{
    return IndexIn(mCells.get(), mNumCells, cell);
}

Face4D* Vert4D::FindFaceThrough(const Vert4D* a, const Vert4D* b) const
{
    for (int i = 0; i < mNumFaces; ++i)
    {
        Face4D* face = mFaces[i];
        if (!face || face->mNumSides == 0)
            continue;
        for (int k = 0; k < face->mNumSides; ++k)
        {
            if (face->mVerts[k] != this)
                continue;
            const Vert4D* before = CornerAt(*face, k - 1);
            const Vert4D* after = CornerAt(*face, k + 1);
            if ((before == a && after == b) || (before == b && after == a))
                return face;
        }
    }
    return nullptr;
}

Edge4D* Vert4D::NextEdgeInCell(const Edge4D* edge, const Cell4D* cell, Face4D*& face) const
{
    if (!face || face->mNumSides == 0)
        return nullptr;
    const int k = face->FindVert(this, -1);
    if (k < 0)
        return nullptr;
    const int n = face->mNumSides;
    Edge4D* starting = face->mEdges[k];
    Edge4D* other = edge == starting ? face->mEdges[(k + n - 1) % n] : starting;
    if (!other)
        return nullptr;
    for (int i = 0; i < other->mNumFaces; ++i)
    {
        Face4D* next = other->mFaces[i];
        if (next && next != face && FaceHasCell(*next, cell))
        {
            face = next;
            return other;
        }
    }
    return nullptr;
}

// Edges.

int Edge4D::IndexOfVert(const Vert4D* vert) const
{
    return mVerts[0] == vert ? 0 : mVerts[1] == vert ? 1 : -1;
}

int Edge4D::IndexOfFace(const Face4D* face) const
{
    return IndexIn(mFaces.get(), mNumFaces, face);
}

int Edge4D::IndexOfCell(const Cell4D* cell) const
{
    return IndexIn(mCells.get(), mNumFaces, cell);
}

double Edge4D::GetLengthSq() const
{
    Vec4D v;
    GetVector(v);
    return Vec4LengthSq(v);
}

double Edge4D::GetLength() const
{
    return std::sqrt(GetLengthSq());
}

const Vec4D& Edge4D::GetVector(Vec4D& out) const
{
    Vec4Sub(out, mVerts[1]->mPos, mVerts[0]->mPos);
    return mVerts[0]->mPos;
}

void Edge4D::GetLine(Vec4D& out) const
{
    Vec4D u;
    const Vec4D& p = GetVector(u);
    const double length = Vec4Length(u);
    // An edge of no length has no direction: its point is all there is.
    if (length == 0.0)
    {
        out = p;
        return;
    }
    Vec4Div(u, length);
    Vec4RejectFrom(out, p, u);
}

// Faces.

int Face4D::FindVert(const Vert4D* vert, int after) const
{
    for (int k = std::max(after + 1, 0); k < mNumSides; ++k)
    {
        if (mVerts[k] == vert)
            return k;
    }
    return -1;
}

Vert4D* Face4D::GetNeighbourVert(const Vert4D* a, const Vert4D* b) const
{
    for (int k = FindVert(b, -1); k >= 0; k = FindVert(b, k))
    {
        const int n = mNumSides;
        Vert4D* before = mVerts[(k + n - 1) % n];
        Vert4D* after = mVerts[(k + 1) % n];
        if (after == a)
            return before;
        if (before == a)
            return after;
    }
    return nullptr;
}

int Face4D::IndexOfEdge(const Edge4D* edge) const
{
    return IndexIn(mEdges.get(), mNumSides, edge);
}

bool Face4D::SharesCellWith(const Face4D* face) const
{
    for (int i = 0; i < mNumCells; ++i)
    {
        if (mCells[i] && mCells[i]->HasFace(face))
            return true;
    }
    return false;
}

Cell4D* Face4D::GetNextCell(const Cell4D* cell, void* view) const
{
    const int start = IndexIn(mCells.get(), mNumCells, cell);
    if (start < 0)
        return nullptr;
    for (int step = 1; step <= mNumCells; ++step)
    {
        Cell4D* next = mCells[(start + step) % mNumCells];
        if (!next)
            continue;
        if (view && ((next->mFlags & kHidden) || !Polytope4D::IsCellShown(view, next)))
            continue;
        return next;
    }
    return nullptr;
}

Cell4D* Face4D::GetCorealmicCell(Cell4D* cell, uint32_t mask, bool fallback) const
{
    if (cell)
    {
        for (int i = 0; i < mNumCells; ++i)
        {
            Cell4D* c = mCells[i];
            if (c && !(c->mFlags & mask) && c->IsCorealmic(cell))
                return c;
        }
    }
    return fallback && mNumCells > 0 ? mCells[0] : nullptr;
}

Face4D* Face4D::NextFaceAroundEdge(int side, int& position) const
{
    if (side < 0 || side >= mNumSides)
    {
        position = -1;
        return nullptr;
    }
    const Vert4D* a = mVerts[side];
    const Vert4D* b = CornerAt(*this, side + 1);
    if (a)
    {
        for (int i = std::max(position + 1, 0); i < a->mNumFaces; ++i)
        {
            Face4D* face = a->mFaces[i];
            if (face && face != this && HasSide(*face, a, b))
            {
                position = i;
                return face;
            }
        }
    }
    position = -1;
    return nullptr;
}

Face4D* Face4D::GetOtherFaceInCell(const Cell4D* cell, const Edge4D* edge) const
{
    if (!edge)
        return nullptr;
    for (int i = 0; i < edge->mNumFaces; ++i)
    {
        Face4D* face = edge->mFaces[i];
        if (face && face != this && FaceHasCell(*face, cell))
            return face;
    }
    return nullptr;
}

Face4D* Face4D::FindNeighbourInCell(const Cell4D* cell, const Vert4D* p, const Vert4D* q) const
{
    if (!cell)
        return nullptr;
    Face4D* found = nullptr;
    for (int i = 0; i < cell->mNumFaces; ++i)
    {
        Face4D* face = cell->mFaces[i];
        if (!face)
            continue;
        const int k = face->FindVert(p, -1);
        if (k < 0)
            continue;
        // A face that passes p twice leaves the walk around p ambiguous.
        if (face->FindVert(p, k) >= 0)
            return nullptr;
        if (face == this)
            continue;
        if (CornerAt(*face, k - 1) != q && CornerAt(*face, k + 1) != q)
            continue;
        if (found)
            return nullptr;
        found = face;
    }
    return found;
}

bool Face4D::LiesInPlane(const Hyperplane& plane) const
{
    for (int k = 0; k < std::min(mNumSides, 3); ++k)
    {
        if (!mVerts[k] || !IsZeroTol(HyperplaneDistance(plane, mVerts[k]->mPos), k4DTol))
            return false;
    }
    return true;
}

bool Face4D::LiesInCellPlane(const Cell4D* cell) const
{
    return cell && LiesInPlane(cell->mPlane);
}

void Face4D::GetCentre(Vec4D& out) const
{
    out = Vec4D{};
    if (mNumSides == 0)
        return;
    for (int k = 0; k < mNumSides; ++k)
        Vec4Add(out, out, mVerts[k]->mPos);
    Vec4Div(out, mNumSides);
}

void Face4D::GetFootPoint(Vec4D& out) const
{
    if (mNumSides < 3)
    {
        GetCentre(out);
        return;
    }
    Vec4D side0, side1;
    Vec4Sub(side0, mVerts[1]->mPos, mVerts[0]->mPos);
    Vec4Sub(side1, mVerts[2]->mPos, mVerts[1]->mPos);
    Vec4RejectFrom2(out, mVerts[0]->mPos, side0, side1, kTol);
}

void Face4D::GetAreaVector(Vec4D& out, const Cell4D* cell) const
{
    out = Vec4D{};
    if (!cell || mNumSides < 3)
        return;
    const Vec4D& p0 = mVerts[0]->mPos;
    for (int i = 2; i < mNumSides; ++i)
    {
        Vec4D a, b, cross;
        Vec4Sub(a, mVerts[i - 1]->mPos, p0);
        Vec4Sub(b, mVerts[i]->mPos, mVerts[i - 1]->mPos);
        Vec4Cross(cross, a, b, cell->mPlane.n);
        Vec4Add(out, out, cross);
    }
    Vec4Scale(out, mCells && mNumCells > 0 && mCells[0] == cell ? 0.5 : -0.5);
}

int Face4D::GetMinVertTypeCount() const
{
    int least = 999999;
    for (int k = 0; k < mNumSides; ++k)
    {
        if (mVerts[k] && mVerts[k]->mType)
            least = std::min(least, int(mVerts[k]->mType->mCount));
    }
    return least;
}

int Face4D::GetItemNumber(const Cell4D* cell) const
{
    const bool second = mNumCells == 2 && mCells[1] == cell;
    return 2 * GetIndex(this) + (second ? 1 : 0);
}

// Cells.

int Cell4D::IndexOfVert(const Vert4D* vert) const
{
    return IndexIn(mVerts.get(), mNumVerts, vert);
}

int Cell4D::IndexOfFace(const Face4D* face) const
{
    return IndexIn(mFaces.get(), mNumFaces, face);
}

bool Cell4D::IsCorealmic(Cell4D* other)
{
    if (!other || other == this)
        return other != nullptr;
    if (mNumFaces == 0 || other->mNumFaces == 0 || !mFaces[0] || !other->mFaces[0])
        return true;
    SetPlaneEqn(false);
    other->SetPlaneEqn(false);
    if (HasPlane() && other->HasPlane())
    {
        Hyperplane flipped;
        HyperplaneNeg(flipped, other->mPlane);
        return HyperplaneEqual(mPlane, other->mPlane, k4DTol) || HyperplaneEqual(mPlane, flipped, k4DTol);
    }
    if (HasPlane())
        return other->mFaces[0]->LiesInPlane(mPlane);
    if (other->HasPlane())
        return mFaces[0]->LiesInPlane(other->mPlane);
    DebugTrace("IsCorealmic: two cells with one face each\n");
    // Span a hyperplane from the other cell's first face and a corner of this cell's first face off
    // that face's plane.
    const Face4D* theirs = other->mFaces[0];
    const Face4D* ours = mFaces[0];
    if (theirs->mNumSides < 3 || !HasAllCorners(*theirs) || !HasAllCorners(*ours))
        return true;
    const Vec4D& p0 = theirs->mVerts[0]->mPos;
    const Vec4D& p1 = theirs->mVerts[1]->mPos;
    const Vec4D& p2 = theirs->mVerts[2]->mPos;
    for (int k = 0; k < ours->mNumSides; ++k)
    {
        Hyperplane plane;
        if (!Vec4Coplanar(p0, p1, p2, ours->mVerts[k]->mPos, k4DTol) &&
            HyperplaneFrom4Points(plane, p0, p1, p2, ours->mVerts[k]->mPos, k4DTol))
            return ours->LiesInPlane(plane);
    }
    return true;
}

bool Cell4D::SetPlaneEqn(bool force)
{
    if (!force && HasPlane())
        return true;
    if (mNumFaces < 2 || !mFaces[0] || !mFaces[1] || mFaces[0]->mNumSides < 3 || mFaces[1]->mNumSides < 3 ||
        !HasAllCorners(*mFaces[0]))
        return false;
    const Vert4D* p0 = mFaces[0]->mVerts[0];
    const Vert4D* p1 = mFaces[0]->mVerts[1];
    const Vert4D* p2 = mFaces[0]->mVerts[2];
    Vec4D a, b;
    Vec4Sub(a, p1->mPos, p0->mPos);
    Vec4Sub(b, p2->mPos, p0->mPos);
    for (int i = 1; i < mNumFaces; ++i)
    {
        const Face4D* face = mFaces[i];
        if (!face)
            continue;
        for (int k = 0; k < face->mNumSides; ++k)
        {
            const Vert4D* d = face->mVerts[k];
            if (!d || d == p0 || d == p1 || d == p2)
                continue;
            Vec4D c, n;
            Vec4Sub(c, d->mPos, p0->mPos);
            if (Vec4Dependent(a, b, c, kTol))
                continue;
            Vec4Cross(n, a, b, c);
            Vec4Div(n, Vec4Length(n));
            double s = Vec4Dot(n, p0->mPos);
            if (s < 0.0)
            {
                Vec4Negate(n);
                s = -s;
            }
            for (int axis = 0; axis < 4; ++axis)
                mPlane.n[axis] = IsZeroTol(n[axis], kTol) ? 0.0 : n[axis];
            mPlane.d = IsZeroTol(s, kTol) ? 0.0 : -s;
            return true;
        }
    }
    DebugTrace("Failed to find normal for cell %d with faces %d & %d\n", GetNumber(this), Face4D::GetNumber(mFaces[0]),
               Face4D::GetNumber(mFaces[1]));
    return false;
}

double Cell4D::GetVolume()
{
    // Pyramids from the hyperplane's foot over the faces: the foot may lie outside the cell, where
    // the signed pyramids cancel.
    Vec4D foot;
    GetFootPoint(foot);
    double sum = 0.0;
    for (int i = 0; i < mNumFaces; ++i)
    {
        const Face4D* face = mFaces[i];
        if (!face || face->mNumSides < 3 || !HasAllCorners(*face))
            continue;
        Vec4D p, area, offset;
        face->GetFootPoint(p);
        face->GetAreaVector(area, this);
        Vec4Sub(offset, p, foot);
        sum += Vec4Dot(offset, area);
    }
    const double volume = sum / 3.0;
    if (mType)
        mType->mVolume = std::fabs(volume);
    return volume;
}

void Cell4D::GetFootPoint(Vec4D& out) const
{
    Vec4ScaleTo(out, mPlane.n, -mPlane.d);
}

void Cell4D::GetFrame(Mat4& out) const
{
    const Vec4D& n = mPlane.n;
    const int k1 = Vec4MinAxis(n);
    const int k2 = Vec4MinAxisExcept(n, k1);
    Vec4D e1, e2, c1, c2, c3;
    e1[k1] = 1.0;
    e2[k2] = 1.0;
    Vec4Cross(c1, n, e1, e2);
    Vec4Div(c1, Vec4Length(c1));
    Vec4Cross(c2, n, e1, c1);
    Vec4Div(c2, Vec4Length(c2));
    Vec4Cross(c3, n, c2, c1);
    out.SetColumns(c1, c2, c3, n);
}

void Cell4D::GetPole(Vec4D& out, double r) const
{
    if (IsZeroTol(mPlane.d, kTol))
    {
        out = Vec4D{};
        return;
    }
    Vec4ScaleTo(out, mPlane.n, r * r / -mPlane.d);
}
