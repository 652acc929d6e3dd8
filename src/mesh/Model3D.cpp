#include "mesh/Model3D.h"

#include "kernel/Messages.h"
#include "kernel/PointList.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Net.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <new>

namespace
{
void DeleteTypeList(Face3DType*& first)
{
    while (first)
    {
        Face3DType* next = first->mNext;
        delete first;
        first = next;
    }
}

// Cells of the vertex index: wide against the tolerance, so that a point's neighbours within it lie
// in its own cell or the next one along each axis.
constexpr double kVertCellSize = 1e-4;

int64_t CellOf(double c)
{
    return int64_t(std::floor(c / kVertCellSize));
}

uint64_t CellKey(int64_t x, int64_t y, int64_t z)
{
    // 21 bits a coordinate: distinct keys for every cell of a model a few hundred units across,
    // and a shared key elsewhere only costs a comparison.
    const uint64_t mask = (uint64_t(1) << 21) - 1;
    return (uint64_t(x) & mask) | ((uint64_t(y) & mask) << 21) | ((uint64_t(z) & mask) << 42);
}

bool SamePlace(const Vec3D& a, const Vec3D& b)
{
    return std::fabs(a.x - b.x) <= kTol && std::fabs(a.y - b.y) <= kTol && std::fabs(a.z - b.z) <= kTol;
}
}  // namespace

Model3D::Model3D(Poly* poly, Stellation* stellation) : mPoly(poly), mStellation(stellation)
{
    for (auto& row : mKitPanels)
        for (int32_t& count : row)
            count = -1;
}

Model3D::~Model3D()
{
    Clear();
}

void Model3D::Clear()
{
    ScopedWaitCursor wait;
    if (ElemList* list = mStellation ? mStellation->GetFaceList() : nullptr)
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            e->mFace3D = nullptr;
    DeleteNets(false);
    mSelectedFace = nullptr;
    mSelectedEdge = nullptr;
    mVerts.reset();
    mNumVerts = 0;
    mNumVertTypes = 0;
    mVertIndex.clear();
    mIndexedVerts = -1;
    DeleteTypeList(mFaceTypes);
    DeleteTypeList(mExtraFaceTypes);
    mLastExtraFaceType = nullptr;
}

bool Model3D::AllocateVerts(int count)
{
    mVerts.reset();
    mNumVerts = 0;
    mVertIndex.clear();
    mIndexedVerts = -1;
    if (count < 0)
        return false;
    mVerts.reset(new (std::nothrow) Vert3D[size_t(count)]);
    if (!mVerts && count > 0)
    {
        ErrorMessage("Not enough memory for the %d vertices of the 3D model", count);
        return false;
    }
    mNumVerts = count;
    return true;
}

Face3DType* Model3D::AppendFaceType(std::unique_ptr<Face3DType> owned, bool userFacet)
{
    Face3DType* type = owned.release();
    if (!type)
        return nullptr;
    type->mModel = this;
    type->mNext = nullptr;
    if (userFacet)
    {
        type->mFlags |= kFace3DTypeUserFacet;
        if (mLastExtraFaceType)
            mLastExtraFaceType->mNext = type;
        else
            mExtraFaceTypes = type;
        mLastExtraFaceType = type;
        return type;
    }
    Face3DType** link = &mFaceTypes;
    while (*link)
        link = &(*link)->mNext;
    *link = type;
    return type;
}

void Model3D::IndexVerts()
{
    mVertIndex.clear();
    mVertIndex.reserve(size_t(mNumVerts));
    for (int i = 0; i < mNumVerts; ++i)
    {
        const Vec3D& p = mVerts[size_t(i)].mPos;
        mVertIndex.emplace(CellKey(CellOf(p.x), CellOf(p.y), CellOf(p.z)), i);
    }
    mIndexedVerts = mNumVerts;
}

Vert3D* Model3D::FindVertAt(const Vec3D& p)
{
    // Every face finds each of its corners here: an index by position keeps a large mesh from
    // searching all vertices for each of them. It answers what a search in array order would.
    if (mIndexedVerts != mNumVerts)
        IndexVerts();
    int best = -1;
    const int64_t x0 = CellOf(p.x - kTol), x1 = CellOf(p.x + kTol);
    const int64_t y0 = CellOf(p.y - kTol), y1 = CellOf(p.y + kTol);
    const int64_t z0 = CellOf(p.z - kTol), z1 = CellOf(p.z + kTol);
    for (int64_t x = x0; x <= x1; ++x)
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t z = z0; z <= z1; ++z)
            {
                auto [first, last] = mVertIndex.equal_range(CellKey(x, y, z));
                for (auto it = first; it != last; ++it)
                    if ((best < 0 || it->second < best) && SamePlace(mVerts[size_t(it->second)].mPos, p))
                        best = it->second;
            }
    return best >= 0 ? &mVerts[size_t(best)] : nullptr;
}

Vert3D* Model3D::FindVert(const SegVert* segVert, const Vec3D& p)
{
    Vert3D* run = segVert ? segVert->mMeshVerts : nullptr;
    if (!run)
        return FindVertAt(p);
    const int start = Vert3D::GetIndex(run, this);
    if (start < 0)
        return FindVertAt(p);
    // The run is sorted by x: skip what lies below, then look among the points level with p.
    int i = start;
    const auto inRun = [&](int k) { return k < mNumVerts && (k == start || !(mVerts[size_t(k)].mFlags & kVert3DRunStart)); };
    while (inRun(i) && mVerts[size_t(i)].mPos.x < p.x - kTol)
        ++i;
    for (; inRun(i) && mVerts[size_t(i)].mPos.x <= p.x + kTol; ++i)
    {
        const Vec3D& q = mVerts[size_t(i)].mPos;
        if (std::fabs(q.y - p.y) <= kTol && std::fabs(q.z - p.z) <= kTol)
            return &mVerts[size_t(i)];
    }
    InternalError("FindVert(): Couldn't find vert");
    return nullptr;
}

Vert3D* Model3D::GetVert(int i) const
{
    return i >= 0 && i < mNumVerts ? &mVerts[size_t(i)] : nullptr;
}

int Model3D::GetNumFaceTypes() const
{
    int n = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        ++n;
    return n;
}

int Model3D::GetNumFaces() const
{
    int n = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        n += type->mNumFaces;
    return n;
}

int Model3D::GetNumEdgeSlots() const
{
    int n = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        n += type->mNumFaces * type->mNumSides;
    return n;
}

int Model3D::GetNumEdges() const
{
    return GetNumEdgeSlots() / 2;
}

int Model3D::GetNumEdges(int& joinedOtherSide) const
{
    joinedOtherSide = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        for (int f = 0; f < type->mNumFaces; ++f)
            for (int e = 0; e < type->mNumSides; ++e)
                if (type->mFaces[size_t(f)].mEdges[size_t(e)].mFlags & kEdge3DJoinedOtherSide)
                    ++joinedOtherSide;
    return GetNumEdges();
}

bool Model3D::HasHoles() const
{
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        if (type->mNumLoops > 1)
            return true;
    return false;
}

double Model3D::GetRadius() const
{
    double best = 0.0;
    for (int i = 0; i < mNumVerts; ++i)
        best = std::fmax(best, Vec3LengthSq(mVerts[size_t(i)].mPos));
    return std::sqrt(best);
}

Face3D* Model3D::GetFace(int i) const
{
    if (i < 0)
        return nullptr;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        if (i < type->mNumFaces)
            return type->GetFace(i);
        i -= type->mNumFaces;
    }
    return nullptr;
}

Edge3D* Model3D::GetEdge(int i) const
{
    if (i < 0)
        return nullptr;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        const int slots = type->mNumFaces * type->mNumSides;
        if (i < slots)
            return &type->mFaces[size_t(i / type->mNumSides)].mEdges[size_t(i % type->mNumSides)];
        i -= slots;
    }
    return nullptr;
}

bool Model3D::IsDual() const
{
    return mStellation && mStellation->IsDual();
}

void Model3D::ConnectEdges()
{
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        for (int f = 0; f < type->mNumFaces; ++f)
        {
            Face3D& face = type->mFaces[size_t(f)];
            const Vec3D normal = face.GetNormal();
            for (int e = 0; e < type->mNumSides; ++e)
            {
                Edge3D& s = face.mEdges[size_t(e)];
                Vert3D* a = s.mVert;
                Vert3D* b = s.GetEndVert();
                if (s.mNeigh || !a || !b)
                    continue;
                Vec3D d;
                Vec3Sub(d, a->mPos, b->mPos);
                bool found = false;
                for (Edge3D* c = b->mFirstEdge; c; c = c->mNextAtVert)
                {
                    if (c->GetEndVert() != a || !c->mFace)
                        continue;
                    const Vec3D m = c->mFace->GetNormal();
                    const double x = -Vec3Dot(normal, m);
                    double angle = x <= -1.0 ? kPi : x >= 1.0 ? 0.0 : std::acos(x);
                    // Outlines run counterclockwise about their normals: across a convex fold N x M
                    // runs against the edge.
                    Vec3D cross;
                    Vec3Cross(cross, normal, m);
                    if (Vec3Dot(cross, d) > 0.0)
                        angle = 2.0 * kPi - angle;
                    if (!found)
                    {
                        s.mNeigh = s.mCoincEdge = c;
                        s.mDihedral = s.mCoincAngle = angle;
                        found = true;
                        continue;
                    }
                    if (angle > s.mDihedral)
                    {
                        s.mNeigh = c;
                        s.mDihedral = angle;
                    }
                    if (angle < s.mCoincAngle)
                    {
                        s.mCoincEdge = c;
                        s.mCoincAngle = angle;
                    }
                }
                if (!found)
                {
                    if (!mReportedMissingNeigh)
                        InternalError("ConnectEdges(): Couldn't find mNeigh for edge %s", Edge3D::GetName(&s));
                    mReportedMissingNeigh = true;
                    continue;
                }
                Edge3D* n = s.mNeigh;
                if ((s.mFlags & kEdge3DAxisCrossing) && !Edge3D::IsSameTypeEdge(&s, n))
                {
                    s.mFlags &= ~kEdge3DAxisCrossing;
                    n->mFlags &= ~kEdge3DAxisCrossing;
                }
                if (n == s.mCoincEdge)
                {
                    // Two facelets only: the pair points at each other.
                    s.mCoincEdge = nullptr;
                    n->mNeigh = &s;
                    n->mDihedral = s.mDihedral;
                }
            }
        }
    }

    // One edge of each geometric edge is drawn: the first in model order.
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        for (int f = 0; f < type->mNumFaces; ++f)
        {
            for (int e = 0; e < type->mNumSides; ++e)
            {
                Edge3D* p = &type->mFaces[size_t(f)].mEdges[size_t(e)];
                Edge3D* q = p->mNeigh;
                if (!q || (q->mFlags & kEdge3DCanonical))
                    continue;
                if (!q->mCoincEdge)
                {
                    p->mFlags |= kEdge3DCanonical;
                    continue;
                }
                // Round the ring of edges at this place, coincident edge and neighbour in turn; a
                // bound keeps a broken ring from looping.
                const int limit = 2 * GetNumEdgeSlots() + 2;
                Edge3D* r = q->mCoincEdge;
                for (int step = 0; r && step < limit; ++step)
                {
                    if (r == p)
                    {
                        p->mFlags |= kEdge3DCanonical;
                        break;
                    }
                    if (r->mFlags & kEdge3DCanonical)
                        break;
                    r = (step % 2 == 0) ? r->mNeigh : r->mCoincEdge;
                }
            }
        }
    }
}

int FindOrAddPoint(const Vec3D& point, PointList& list)
{
    if (list.Count() == 0)
        list.Init(kTol);
    return list.Add(point);
}

void FreePointList(PointList& list)
{
    list.Free();
}
