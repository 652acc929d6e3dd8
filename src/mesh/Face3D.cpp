#include "mesh/Face3D.h"

#include "kernel/FaceImage.h"
#include "kernel/Messages.h"
#include "kernel/RingList.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3DType.h"
#include "mesh/MeshRingFlags.h"
#include "mesh/Model3D.h"
#include "model/FaceVert.h"
#include "stellation/StellationEdge.h"

namespace
{
// A user facet's colour.
constexpr ColorRGB kUserFacetColor{0.7f, 0.7f, 1.0f};
}  // namespace

Face3D::Face3D() : mNextOnElement(this)
{
}

Face3D::~Face3D() = default;

int Face3D::GetIndex(const Face3D* face)
{
    if (!face)
        return -1;
    if (!face->mType || !face->mType->mModel)
        return -2;
    int base = 0;
    for (const Face3DType* type = face->mType->mModel->mFaceTypes; type; type = type->mNext)
    {
        if (type == face->mType)
        {
            const ptrdiff_t i = face - type->mFaces.get();
            return i >= 0 && i < type->mNumFaces ? base + int(i) : -2;
        }
        base += type->mNumFaces;
    }
    return -2;
}

bool Face3D::Create(FaceVert* element, const RingList* rings, const Transform3D& frame)
{
    Model3D* model = mType ? mType->mModel : nullptr;
    mElement = element;

    // Facelets of elements lying in one plane share one ring.
    if (element)
    {
        FaceVert* e = element;
        do
        {
            if (e->mFace3D)
            {
                Face3D* host = e->mFace3D;
                mNextOnElement = host->mNextOnElement;
                host->mNextOnElement = this;
                break;
            }
            e = e->mNextCoplanar;
        } while (e && e != element);
        if (!element->mFace3D)
            element->mFace3D = this;
    }

    const bool flipped = ((mFlags & kFace3DReversed) != 0) != ((mFlags & kFace3DMirrorCopy) != 0);
    if (flipped)
    {
        mFlags |= kFace3DFlipped;
        mNetPlacement[0] = -1.0;
    }

    const int numSides = mType ? mType->mNumSides : 0;
    mEdges = std::make_unique<Edge3D[]>(size_t(numSides));
    int n = 0;
    for (const RingList* node = rings; node; node = node->next)
    {
        RingVert* v = node->ring;
        if (!v)
            continue;
        do
        {
            if (n < numSides)
            {
                Edge3D& edge = mEdges[size_t(n)];
                edge.mFace = this;
                if (v->flags & kMeshRingAxis)
                    edge.mFlags |= kEdge3DAxisCrossing;
                if (v->flags & kMeshRingLineMark)
                    edge.mFlags |= kEdge3DLineMark;
                if (v->flags & kMeshRingRepeated)
                    edge.mFlags |= kEdge3DRepeatedLoop;
                edge.mFacePos = Vec2D{flipped ? -v->x : v->x, v->y};
                edge.mNetPos = edge.mFacePos;
                Vec3D p;
                frame.Apply(p, Vec3D{v->x, v->y, 0.0});
                if (v->owner)
                {
                    const auto* source = static_cast<const StellationEdge*>(v->owner);
                    mRegion = source->mRegion ? source->mRegion : mRegion;
                    if (model)
                        model->mFlags |= kModel3DRegionsLinked;
                    // A mirror copy's corners are the mirror images of the diagram's vertices,
                    // which lie in the runs of their own diagram vertices.
                    if (!model)
                        edge.mVert = nullptr;
                    else if (mFlags & kFace3DMirrorCopy)
                        edge.mVert = model->FindVertAt(p);
                    else
                        edge.mVert = model->FindVert(source->mStart, p);
                }
                else
                {
                    edge.mVert = model ? model->FindVertAt(p) : nullptr;
                }
                if (edge.mVert)
                    edge.mVert->AddEdge(&edge);
            }
            v->index = n++;
            v = v->next;
        } while (v != node->ring);
    }
    if (n != numSides)
    {
        InternalError("Face3D::Create(): Number of edges wrong\nGot %d, should be %d", n, numSides);
        return false;
    }
    return true;
}

Vec3D Face3D::GetNormal() const
{
    Vec3D normal{0.0, 0.0, 1.0};
    if (mElement)
    {
        // The stored normal: the facelet's own reversal stands for the element's ReverseNorm.
        normal = mElement->mZAxis;
    }
    else if (mType && mType->mNumSides > 0 && mEdges)
    {
        // The first corner whose two sides are not parallel.
        const int n = mType->mNumSides;
        auto pos = [&](int i) { return mEdges[size_t(i)].mVert ? mEdges[size_t(i)].mVert->mPos : Vec3D{}; };
        Vec3D e0;
        Vec3Sub(e0, pos(0), pos(n - 1));
        for (int i = 1; i < n; ++i)
        {
            Vec3D ei, cross;
            Vec3Sub(ei, pos(i), pos(i - 1));
            Vec3Cross(cross, ei, e0);
            if (Vec3IsZero(cross, kTol))
                continue;
            // ei x e0 turns against the facelet's winding: the normal is e0 x ei.
            Vec3Negate(cross);
            Vec3Normalize(cross);
            normal = cross;
            break;
        }
    }
    if (mFlags & kFace3DReversed)
        Vec3Negate(normal);
    return normal;
}

ColorRGB Face3D::GetColor() const
{
    if (!mElement)
        return kUserFacetColor;
    return (mFlags & kFace3DReversed) ? mElement->mBackColor : mElement->mColor;
}

float Face3D::GetOpacity() const
{
    return mElement ? mElement->mOpacity : 1.0f;
}

FaceImage* Face3D::GetImage() const
{
    return mElement ? mElement->mImage.Get() : nullptr;
}

const char* Face3D::GetText() const
{
    return mElement ? mElement->GetText() : nullptr;
}

bool Face3D::HasImageOrText() const
{
    return GetImage() || GetText();
}

Vec3D Face3D::GetCentroid() const
{
    Vec3D sum;
    int n = 0;
    for (int i = 0; mType && i < mType->mNumSides; ++i)
        if (const Vert3D* v = mEdges[size_t(i)].mVert)
        {
            Vec3AddTo(sum, v->mPos);
            ++n;
        }
    if (n > 0)
        Vec3Div(sum, sum, double(n));
    return sum;
}

Vec3D Face3D::GetFoldedCentroid() const
{
    Vec3D sum;
    const int n = mType ? mType->mNumSides : 0;
    for (int i = 0; i < n; ++i)
        Vec3AddTo(sum, mEdges[size_t(i)].mFoldedPos);
    if (n > 0)
        Vec3Div(sum, sum, double(n));
    return sum;
}

Vec3D Face3D::GetLoopCentroid(int loop) const
{
    Vec3D sum;
    if (!mType || loop < 0 || loop >= mType->mNumLoops)
        return sum;
    const int start = mType->GetLoopStart(loop);
    const int size = mType->mLoopSizes[size_t(loop)];
    int n = 0;
    for (int i = start; i < start + size; ++i)
        if (const Vert3D* v = mEdges[size_t(i)].mVert)
        {
            Vec3AddTo(sum, v->mPos);
            ++n;
        }
    if (n > 0)
        Vec3Div(sum, sum, double(n));
    return sum;
}

double Face3D::GetDistance(const Vec3D& point) const
{
    if (!mType || mType->mNumSides == 0 || !mEdges[0].mVert)
        return 0.0;
    Vec3D d;
    Vec3Sub(d, point, mEdges[0].mVert->mPos);
    return Vec3Dot(d, GetNormal());
}

double Face3D::GetFoldedDistance(const Vec3D& point) const
{
    if (!mType || mType->mNumSides == 0)
        return 0.0;
    Vec3D d;
    Vec3Sub(d, point, mEdges[0].mFoldedPos);
    return Vec3Dot(d, mFoldedNormal);
}

int Face3D::FindEdge(const Edge3D* edge) const
{
    for (int i = 0; mType && i < mType->mNumSides; ++i)
        if (&mEdges[size_t(i)] == edge)
            return i;
    return -1;
}

int Face3D::FindVert(const Vert3D* vert) const
{
    for (int i = 0; mType && i < mType->mNumSides; ++i)
        if (mEdges[size_t(i)].mVert == vert)
            return i;
    return -1;
}
