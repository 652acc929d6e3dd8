// Building a Model3D by tracing the surface of the current stellation out of the stellation
// diagrams of the side's face types.

#include "mesh/Model3D.h"

#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/RingList.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/MeshRingFlags.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// A facet's done mark while its facelets are traced.
constexpr uint32_t kFacetMeshDone = 0x40000000;
// A walk round a diagram vertex or along a line never needs more steps than this.
constexpr int kWalkLimit = 100000;

bool IsUsed(const SegVert* v)
{
    return v && (v->mFlags & kSegVertUsed);
}

bool IsBoundary(const StellationEdge* e)
{
    return e && (e->mFlags & kEdgeOnSurface);
}

// The facets on the surface, outermost ring first and by number within a ring (the order
// FaceType::SortUsedFacets leaves).
std::vector<StellationFacet*> UsedFacets(const FaceType& type)
{
    std::vector<StellationFacet*> facets;
    for (StellationFacet* f = type.mUsedFacets; f && facets.size() < size_t(kWalkLimit); f = f->mNextUsed)
        facets.push_back(f);
    return facets;
}

template <class Visit>
void ForEachRegionEdge(StellationRegion* region, Visit visit)
{
    StellationEdge* first = region ? region->mEdge : nullptr;
    StellationEdge* e = first;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        visit(e);
        e = e->mNext;
        if (e == first)
            break;
    }
}

template <class Visit>
void ForEachCoincident(SegVert* v, Visit visit)
{
    SegVert* m = v;
    for (int i = 0; m && i < kWalkLimit; ++i)
    {
        visit(m);
        m = m->mCoincident;
        if (m == v)
            break;
    }
}

// The diagram vertex of the type at the point (1e-7 per coordinate); null when none.
SegVert* FindSegVert(const FaceType& type, const Vec2D& p)
{
    for (SegVert* list : {type.mOuterVerts, type.mVerts})
        for (SegVert* v = list; v; v = v->mNext)
            if (Vec2Equal(v->mPos, p, kTol))
                return v;
    return nullptr;
}

// The edge leaving the vertex towards the direction d; null when none does.
StellationEdge* FindEdgeFrom(SegVert* v, const Vec2D& d)
{
    StellationEdge* first = v ? v->mEdge : nullptr;
    StellationEdge* o = first;
    const double length = Vec2Length(d);
    for (int i = 0; o && i < kWalkLimit && length > 0.0; ++i)
    {
        if (const SegVert* end = o->GetEnd())
        {
            Vec2D e;
            Vec2Sub(e, end->mPos, v->mPos);
            const double l = Vec2Length(e);
            if (l > 0.0 && std::fabs(Vec2Cross(e, d)) <= kSymTol * l * length && Vec2Dot(e, d) > 0.0)
                return o;
        }
        o = o->mPrev && o->mPrev->mTwin ? o->mPrev->mTwin : nullptr;
        if (o == first)
            break;
    }
    return nullptr;
}

// Walks the surface outline from the start edge, the surface on its left, and gives the ring of its
// corners (each ring vertex owned by the edge that starts there); null when the walk gets stuck.
// touchedCopy learns whether the outline runs through a region of the facet other than its first.
RingVert* CreateEdgeLoop(StellationEdge* start, const StellationFacet* facet, bool& touchedCopy)
{
    RingVert* ring = nullptr;
    StellationEdge* e = start;
    StellationEdge* remembered = nullptr;
    int steps = 0;
    int limit = 20;
    auto step = [&](StellationEdge* next) {
        if (next && next == remembered)
            return false;
        if (++steps > limit)
        {
            remembered = next;
            limit *= 2;
        }
        return next != nullptr;
    };
    auto noteRegion = [&](const StellationEdge* edge) {
        const StellationRegion* r = edge->mRegion;
        if (r && facet && r->mFacet == facet && !facet->mRegions.empty() && r != facet->mRegions[0])
            touchedCopy = true;
    };
    do
    {
        e->mFlags |= kEdgeMeshDone;
        noteRegion(e);
        RingVert* v = AddRingVert(e->mStart->mPos.x, e->mStart->mPos.y, e, nullptr, ring);
        if (!v)
            break;
        if (e->mFlags & kEdgeMidOnTwoFoldAxis)
            v->flags |= kMeshRingAxis;
        if (e->mLine && (e->mLine->mFlags & kLineInMirrorPlane))
            v->flags |= kMeshRingLineMark;
        // Straight on through the vertices inside a side of the outline.
        bool ok = true;
        while (ok && !IsUsed(e->GetEnd()))
        {
            StellationEdge* next = e->FindOnLineAroundVertex(e->mLine);
            ok = step(next);
            if (!ok)
                break;
            e = next;
            e->mFlags |= kEdgeMeshDone;
            noteRegion(e);
            if ((e->mFlags & kEdgeMidOnTwoFoldAxis) || (e->mStart && (e->mStart->mFlags & kSegVertOnAxis)))
                v->flags |= kMeshRingAxis;
        }
        // At a corner, round it to the next edge of the outline: clockwise from the way back.
        StellationEdge* c = ok ? e->mNext : nullptr;
        for (int i = 0; c && !IsBoundary(c) && i < kWalkLimit; ++i)
            c = c->mTwin ? c->mTwin->mNext : nullptr;
        if (!ok || !IsBoundary(c) || !step(c))
        {
            DebugTrace("CreateEdgeLoop: stuck in loop\n");
            FreeRing(ring);
            return nullptr;
        }
        e = c;
    } while (e != start);
    return ring;
}

// The 2x2 map of the facelet copy: the turn by 2 pi j / l, by columns.
void CopyMap(int j, int l, double a[4])
{
    double s = 0.0, c = 1.0;
    if (j != 0)
        SineTable::SinCos(j, l, s, c);
    a[0] = c;
    a[1] = s;
    a[2] = -s;
    a[3] = c;
}

void FlipTriangles(std::vector<int32_t>& indices)
{
    for (size_t i = 0; i + 2 < indices.size(); i += 3)
        std::swap(indices[i + 1], indices[i + 2]);
}

// Whether the face is left out of the traced facelets: a repeat of the previous face of its plane,
// or the later of two faces in one plane whose other belongs to a type of its own.
bool SkipsTracedFace(const FaceVert* e)
{
    if (e->mFlags & FaceVert::kCoplanar)
        return true;
    const FaceVert* next = e->mNextCoplanar;
    return next && next != e && next->mFaceType && !next->mFaceType->mCoplanarSource && next->mIndex < e->mIndex &&
           !(next->mFlags & FaceVert::kCoplanar);
}
}  // namespace

std::unique_ptr<Model3D> Model3D::CreateFromStellation(Stellation* stellation, int numVerts)
{
    ScopedWaitCursor wait;
    if (!stellation)
        return nullptr;
    auto model = std::make_unique<Model3D>(stellation->mPoly, stellation);
    for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource)
            type->SortUsedFacets();
    if (model->CreateVertices(numVerts))
        model->CreateFaces();
    ReleaseRingVertPool();
    ReleaseRingListPool();
    model->ConnectEdges();
    return model;
}

bool Model3D::CreateVertices(int numVerts)
{
    // Marks left by an earlier build go first.
    for (FaceType* type = mStellation->mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource)
            continue;
        for (StellationFacet* f = type->mFacets; f; f = f->next)
        {
            f->mFlags &= ~kFacetMeshDone;
            for (StellationRegion* r : f->mRegions)
            {
                if (!r)
                    continue;
                r->mFlags &= ~kRegionVisited;
                ForEachRegionEdge(r, [](StellationEdge* e) { e->mFlags &= ~kEdgeMeshDone; });
            }
        }
        for (SegVert* list : {type->mOuterVerts, type->mVerts})
            for (SegVert* v = list; v; v = v->mNext)
            {
                v->mFlags &= ~kSegVertCounted;
                v->mMeshVerts = nullptr;
            }
    }

    if (!AllocateVerts(std::max(numVerts, 0)))
        return false;
    SymGroup* group = mPoly ? mPoly->GetSymGroup() : nullptr;
    int stored = 0;
    bool full = false;
    for (FaceType* type = mStellation->mFirstFaceType; type && !full; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource || !type->mFirstFace)
            continue;
        const Transform3D frame = type->mFirstFace->GetLocalFrame(false);
        for (StellationFacet* facet : UsedFacets(*type))
        {
            StellationRegion* first = facet->mRegions.empty() ? nullptr : facet->mRegions[0];
            ForEachRegionEdge(first, [&](StellationEdge* e) {
                SegVert* s = e->mStart;
                if (full || !IsBoundary(e) || !IsUsed(s) || (s->mFlags & kSegVertCounted))
                    return;
                if (stored >= numVerts)
                {
                    InternalError("CreateVertices: Creating too many!");
                    full = true;
                    return;
                }
                Vert3D* run = &mVerts[size_t(stored)];
                ForEachCoincident(s, [&](SegVert* m) {
                    m->mFlags |= kSegVertCounted;
                    m->mMeshVerts = run;
                });
                ++mNumVertTypes;
                const int runStart = stored;
                Vec3D p;
                frame.Apply(p, Vec3D{s->mPos.x, s->mPos.y, 0.0});
                const int axisClass = s->GetAxisClass();
                auto store = [&](const Vec3D& q, uint32_t flags) {
                    if (stored >= numVerts)
                    {
                        if (!full)
                            InternalError("CreateVertices: Creating too many!");
                        full = true;
                        return;
                    }
                    mVerts[size_t(stored)].mPos = q;
                    mVerts[size_t(stored)].mFlags = flags;
                    ++stored;
                };
                if (s->mFlags & kSegVertCentre)
                {
                    store(Vec3D{}, kVert3DCentre);
                }
                else if (axisClass < 0 || !group || axisClass >= group->mNumAxisSets)
                {
                    store(p, 0);
                    SymOpIterator it;
                    Mat3 m;
                    while (group && !full && group->NextOperation(it, false, &m))
                    {
                        Vec3D q;
                        m.Transform(q, p);
                        store(q, 0);
                    }
                }
                else
                {
                    const uint32_t flags = kVert3DOnAxis | (axisClass == 0   ? kVert3DAxisClass0
                                                            : axisClass == 1 ? kVert3DAxisClass1
                                                                             : 0);
                    const SymAxisSet& set = group->mAxisSets[axisClass];
                    const double r = Vec3Length(p);
                    for (int a = 0; a < set.mNumAxes && !full; ++a)
                    {
                        Vec3D q;
                        Vec3Scale(q, set.mAxes[a].mDir, r);
                        store(q, flags);
                        if (!set.mOneSided && !full)
                        {
                            Vec3Negate(q);
                            store(q, flags);
                        }
                    }
                }
                FinishVertexRun(&mVerts[size_t(runStart)], stored - runStart);
            });
        }
    }
    if (stored < numVerts && !full)
        InternalError("CreateVertices: Too few!  Epected %d got %d", numVerts, stored);
    mNumVerts = stored;
    return !full;
}

void Model3D::CreateFaces()
{
    for (FaceType* type = mStellation->mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->mCoplanarSource || !type->mFirstFace)
            continue;
        const int numRots = std::max(type->mNumRotations, 1);
        for (StellationFacet* facet : UsedFacets(*type))
        {
            // The mirror image of a facet is traced as a facet of its own: the reflection of this
            // one's outline would wind against the surface, and its edges would find no neighbour.
            if (facet->mFlags & kFacetMeshDone)
                continue;
            StellationRegion* firstRegion = facet->mRegions.empty() ? nullptr : facet->mRegions[0];
            if (!firstRegion)
                continue;

            // A start on the outer outline: across it nothing, or a facet further out.
            StellationEdge* start = nullptr;
            ForEachRegionEdge(firstRegion, [&](StellationEdge* e) {
                if (start || !IsBoundary(e))
                    return;
                const StellationRegion* far = e->mTwin ? e->mTwin->mRegion : nullptr;
                if (far && (!far->mFacet || far->mFacet->mRing <= facet->mRing))
                    return;
                if (IsUsed(e->mStart))
                {
                    start = e;
                    return;
                }
                // Back along the line to the corner the side starts from.
                StellationEdge* c = e->mTwin;
                for (int i = 0; c && !IsUsed(c->GetEnd()) && i < kWalkLimit; ++i)
                    c = c->FindOnLineAroundVertex(c->mLine);
                if (c && c->mTwin)
                    start = c->mTwin;
            });
            if (!start)
                continue;
            if (!IsBoundary(start))
                InternalError("Model3D::CreateFaces(): Edge not used");
            if (start->mFlags & kEdgeMeshDone)
                InternalError("Model3D::CreateFaces(): Edge already done");

            bool touchedCopy = false;
            RingVert* outer = CreateEdgeLoop(start, facet, touchedCopy);
            if (!outer)
                return;
            RingList* rings = nullptr;
            RingList* lastRing = nullptr;
            AppendRingToList(outer, rings, lastRing);

            // The turned copies of the facet make one facelet when they meet: round the face's
            // centre, or where the outline runs into another copy.
            const bool singleRegion = facet->mRegions.size() > 1 && !facet->mRegions[1];
            const bool merged =
                numRots > 1 && ((facet->mFlags & kFacetOnAxis) || singleRegion || touchedCopy);
            const int m = merged ? numRots : 1;
            const int l = merged ? 1 : numRots;

            // The rest of the outline: the regions reached across inner edges, and the loops of the
            // boundary edges met there (with their turned copies for a merged facelet).
            std::vector<StellationRegion*> visited;
            std::vector<StellationRegion*> pending{start->mRegion};
            const FaceType& diagram = *type;
            while (!pending.empty())
            {
                StellationRegion* region = pending.back();
                pending.pop_back();
                if (!region || (region->mFlags & kRegionVisited))
                    continue;
                region->mFlags |= kRegionVisited;
                visited.push_back(region);
                if (region->mFacet)
                    region->mFacet->mFlags |= kFacetMeshDone;
                ForEachRegionEdge(region, [&](StellationEdge* e) {
                    if (!IsBoundary(e))
                    {
                        if (e->mTwin && e->mTwin->mRegion && !(e->mTwin->mRegion->mFlags & kRegionVisited))
                            pending.push_back(e->mTwin->mRegion);
                        return;
                    }
                    if ((e->mFlags & kEdgeMeshDone) || !IsUsed(e->mStart))
                        return;
                    bool ignored = false;
                    RingVert* loop = CreateEdgeLoop(e, facet, ignored);
                    if (!loop)
                        return;
                    std::vector<RingVert*> copies{loop};
                    for (int j = 1; j < m; ++j)
                    {
                        // The same loop turned by 2 pi j / m about the diagram's centre.
                        double s = 0.0, c = 1.0;
                        SineTable::SinCos(j, m, s, c);
                        const Vec2D p = e->mStart->mPos;
                        const SegVert* end = e->GetEnd();
                        const Vec2D d = end ? Vec2D{end->mPos.x - p.x, end->mPos.y - p.y} : Vec2D{};
                        const Vec2D q{c * p.x - s * p.y, s * p.x + c * p.y};
                        const Vec2D dq{c * d.x - s * d.y, s * d.x + c * d.y};
                        StellationEdge* copyStart = FindEdgeFrom(FindSegVert(diagram, q), dq);
                        RingVert* copy = copyStart && !(copyStart->mFlags & kEdgeMeshDone)
                                             ? CreateEdgeLoop(copyStart, facet, ignored)
                                             : nullptr;
                        if (copy)
                            copies.push_back(copy);
                    }
                    for (size_t k = 0; k < copies.size(); ++k)
                    {
                        if (k + 1 < copies.size())
                        {
                            RingVert* v = copies[k];
                            do
                            {
                                v->flags |= kMeshRingRepeated;
                                v = v->next;
                            } while (v != copies[k]);
                        }
                        AppendRingToList(copies[k], rings, lastRing);
                    }
                });
            }
            for (StellationRegion* region : visited)
                region->mFlags &= ~kRegionVisited;

            const bool back = (facet->mFlags & kFacetBack) != 0;
            if (back)
                ReverseRingList(rings);

            std::vector<FaceVert*> faces;
            for (FaceVert* e = type->mFirstFace; e; e = e->mNextOfType)
                if (!SkipsTracedFace(e))
                    faces.push_back(e);
            auto* facetType = new Face3DType(this, int(faces.size()) * l, m, mFaceTypes);
            mFaceTypes = facetType;
            facetType->SetLoops(rings);

            int k = 0;
            for (int j = 0; j < l; ++j)
            {
                double a[4];
                CopyMap(j, l, a);
                for (FaceVert* e : faces)
                {
                    Face3D& face = facetType->mFaces[size_t(k++)];
                    if (back)
                        face.mFlags |= kFace3DReversed;
                    Vec3D x, y;
                    Vec3Scale(x, e->mXAxis, a[0]);
                    Vec3AddScaledTo(x, a[1], e->mYAxis);
                    Vec3Scale(y, e->mXAxis, a[2]);
                    Vec3AddScaledTo(y, a[3], e->mYAxis);
                    Transform3D frame;
                    frame.SetFrameToWorld(e->mCentre, x, y, e->mZAxis);
                    face.Create(e, rings, frame);
                    std::copy(a, a + 4, face.mDiagramToFace);
                    face.mDiagramToFace[4] = face.mDiagramToFace[5] = 0.0;
                }
            }
            if (back)
                ReverseRingList(rings);
            facetType->Triangulate(rings);
            if (back)
                FlipTriangles(facetType->mTriIndices);
        }
    }
}
