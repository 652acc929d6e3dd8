// Building a Model3D from the faces of one side of a Poly, and the user's facets.

#include "mesh/Model3D.h"

#include "kernel/Messages.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingList.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/MeshRingFlags.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <utility>

namespace
{
// The vertex's flags as its place gives them: the centre, or on an axis of some class.
uint32_t PlaceFlags(const Vec3D& p, SymGroup* group)
{
    if (Vec3IsZero(p, kTol))
        return kVert3DCentre;
    // Axes are looked up by unit direction; the far end of a one-sided axis is on the axis too.
    Vec3D dir = p;
    Vec3Normalize(dir);
    SymAxisSet* set = group ? group->FindAxisByDir(dir) : nullptr;
    if (!set && group)
        set = group->FindAxisByAbsDir(dir);
    if (!set)
        return 0;
    const int k = group->GetAxisSetIndex(set);
    return kVert3DOnAxis | (k == 0 ? kVert3DAxisClass0 : k == 1 ? kVert3DAxisClass1 : 0);
}

void MarkRing(FaceVert* e, bool on)
{
    FaceVert* m = e;
    do
    {
        if (on)
            m->mFlags |= FaceVert::kVisitMark;
        else
            m->mFlags &= ~FaceVert::kVisitMark;
        m = m->mNextCoplanar;
    } while (m && m != e);
}

// Swaps two corners of every triangle: the triangles then wind the other way.
void FlipTriangles(std::vector<int32_t>& indices)
{
    for (size_t i = 0; i + 2 < indices.size(); i += 3)
        std::swap(indices[i + 1], indices[i + 2]);
}
}  // namespace

std::unique_ptr<Model3D> Model3D::CreateFromPoly(Poly* poly, bool dual)
{
    if (!poly)
        return nullptr;
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    Stellation* side = nullptr;
    Stellation* otherSide = nullptr;
    poly->GetSideLists(dual, &faces, &verts, &side, &otherSide);
    auto model = std::make_unique<Model3D>(poly, side);
    if (!verts || !model->CreateVertsFromPoly(otherSide, verts->mCount))
        return model;
    model->CreateFaceTypesFromPoly(side);
    ReleaseRingVertPool();
    ReleaseRingListPool();
    model->ConnectEdges();
    return model;
}

bool Model3D::CreateVertsFromPoly(Stellation* otherSide, int capacity)
{
    if (!AllocateVerts(capacity))
        return false;
    SymGroup* group = mPoly->GetSymGroup();
    int stored = 0;
    mNumVertTypes = 0;
    for (FaceType* type = otherSide ? otherSide->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
    {
        const int runStart = stored;
        for (FaceVert* e = type->mFirstFace; e; e = e->mNextOfType)
        {
            if (e->mFlags & FaceVert::kVisitMark)
                continue;
            // Vertices in one place count once.
            MarkRing(e, true);
            if (stored >= capacity)
                continue;
            Vert3D& v = mVerts[size_t(stored++)];
            v.mPos = e->mPoint;
            v.mFlags = PlaceFlags(e->mPoint, group);
        }
        if (stored > runStart)
        {
            ++mNumVertTypes;
            FinishVertexRun(&mVerts[size_t(runStart)], stored - runStart);
        }
    }
    for (FaceType* type = otherSide ? otherSide->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
        for (FaceVert* e = type->mFirstFace; e; e = e->mNextOfType)
            e->mFlags &= ~FaceVert::kVisitMark;
    mNumVerts = stored;
    return true;
}

void Model3D::CreateFaceTypesFromPoly(Stellation* side)
{
    SymGroup* group = mPoly->GetSymGroup();
    for (FaceType* type = side ? side->mFirstFaceType : nullptr; type; type = type->mNextFaceType)
    {
        FaceVert* first = type->mFirstFace;
        if (!first || first->mNumSides <= 0)
            continue;
        const Transform3D toLocal = first->GetWorldToLocal(false);
        RingVert* ring = nullptr;
        for (int i = 0; i < first->mNumSides; ++i)
        {
            const FaceVert* a = first->mNeighbours[i];
            const FaceVert* b = first->mNeighbours[(i + 1) % first->mNumSides];
            if (!a || !b)
                continue;
            Vec3D local;
            toLocal.Apply(local, a->mPoint);
            RingVert* v = AddRingVert(local.x, local.y, nullptr, &a->mPoint, ring);
            if (!v)
                break;
            Vec3D mid;
            Vec3Midpoint(mid, a->mPoint, b->mPoint);
            if (group && group->FindAxisByAbsDir(mid))
                v->flags |= kMeshRingAxis;
        }
        ring = RemoveDuplicateRingVerts(ring);
        if (RingCount(ring) <= 2)
        {
            FreeRing(ring);
            continue;
        }
        if (first->mFlags & FaceVert::kReversed)
            ReverseRing(ring);
        RingList* rings = nullptr;
        RingList* lastRing = nullptr;
        if (!AppendRingToList(ring, rings, lastRing))
        {
            FreeRing(ring);
            continue;
        }

        const bool reverseNorm = (first->mFlags & FaceVert::kReverseNorm) != 0;
        auto* facetType = new Face3DType(this, type->mCount, first->GetNumRots(), mFaceTypes);
        mFaceTypes = facetType;
        facetType->SetLoops(rings);
        int k = 0;
        for (FaceVert* e = type->mFirstFace; e && k < facetType->mNumFaces; e = e->mNextOfType, ++k)
        {
            Face3D& face = facetType->mFaces[size_t(k)];
            if (reverseNorm)
                face.mFlags |= kFace3DReversed;
            face.Create(e, rings, e->GetLocalFrame(false));
            face.mFlags |= kFace3DWholeFace;
        }
        if (reverseNorm)
            ReverseRingList(rings);
        facetType->Triangulate(rings);
        if (reverseNorm)
            FlipTriangles(facetType->mTriIndices);
    }
}

void Model3D::AddUserFacet(Polygon3D* polygon)
{
    if (!polygon)
        return;
    if (!polygon->mRing || !polygon->mRings)
    {
        polygon->Clear();
        return;
    }
    int rots = 1;
    if (SymGroup* group = mPoly ? mPoly->GetSymGroup() : nullptr)
        if (const SymAxisSet* set = group->FindAxisByDir(polygon->mNormal))
            rots = set->mOrder;
    Face3DType* type = AppendFaceType(std::make_unique<Face3DType>(this, 1, rots, nullptr), true);
    type->SetLoops(polygon->mRings);
    Face3D& face = type->mFaces[0];
    face.mEdges = std::make_unique<Edge3D[]>(size_t(type->mNumSides));
    RingList* copy = CopyRingList(polygon->mRings);
    int n = 0;
    for (RingList* node = copy; node; node = node->next)
    {
        RingVert* v = node->ring;
        if (!v)
            continue;
        do
        {
            if (n < type->mNumSides)
            {
                Edge3D& edge = face.mEdges[size_t(n)];
                edge.mFace = &face;
                edge.mFacePos = Vec2D{v->x, v->y};
                edge.mNetPos = edge.mFacePos;
                edge.mVert = FindVertAt(v->pos);
            }
            v->index = n++;
            v = v->next;
        } while (v != node->ring);
    }
    type->Triangulate(copy);
}

void Model3D::ClearUserFacets()
{
    while (mExtraFaceTypes)
    {
        Face3DType* next = mExtraFaceTypes->mNext;
        delete mExtraFaceTypes;
        mExtraFaceTypes = next;
    }
    mLastExtraFaceType = nullptr;
}

void Model3D::RemoveUserFacet(int n)
{
    if (n < 0)
        return;
    Face3DType** link = &mExtraFaceTypes;
    Face3DType* previous = nullptr;
    for (int i = 0; *link && i < n; ++i)
    {
        previous = *link;
        link = &(*link)->mNext;
    }
    Face3DType* type = *link;
    if (!type)
        return;
    *link = type->mNext;
    if (mLastExtraFaceType == type)
        mLastExtraFaceType = previous;
    delete type;
}
