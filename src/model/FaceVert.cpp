#include "model/FaceVert.h"

#include "kernel/IntMath.h"
#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/Tolerance.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// k mapped into 0..n-1.
int WrapIndex(int k, int n)
{
    k %= n;
    return k < 0 ? k + n : k;
}
}  // namespace

FaceVert::FaceVert(Poly* poly, int numSides)
    : mNumSides(numSides > 0 ? numSides : 0),
      mPoly(poly),
      mNeighbours(new FaceVert*[mNumSides > 0 ? mNumSides : 1]()),
      mEdges(new Edge*[mNumSides > 0 ? mNumSides : 1]())
{
}

FaceVert::~FaceVert()
{
    SetText(this, nullptr);
    // The list's count of translucent elements goes with the element.
    if (mList && mOpacity < 1.0f)
        --mList->mNumTranslucent;
    mImage.Set(nullptr);
    // Leave the coincidence ring: the predecessor skips this element; a pair leaves a lone element.
    if (mNextCoplanar)
    {
        // Bounded, so that a broken ring cannot hold the walk.
        int steps = mList ? mList->mCount + 1 : 0;
        FaceVert* prev = mNextCoplanar;
        while (prev && prev != this && prev->mNextCoplanar != this && steps-- > 0)
            prev = prev->mNextCoplanar;
        if (prev && prev->mNextCoplanar != this)
            prev = nullptr;
        if (prev && prev != this)
            prev->mNextCoplanar = mNextCoplanar == prev ? nullptr : mNextCoplanar;
        mNextCoplanar = nullptr;
    }
    if (mPoly)
    {
        if (mPoly->mSelectedFace == this)
            mPoly->SelectFace(nullptr, false);
        if (mPoly->mSelectedElement == this)
            mPoly->mSelectedElement = nullptr;
    }
}

int FaceVert::GetCombinedIndex(const FaceVert* element)
{
    if (!element)
        return -1;
    if (element->IsVert() && element->mPoly)
        return element->mIndex + element->mPoly->mFaces.mCount;
    return element->mIndex;
}

Stellation* FaceVert::GetStellation() const
{
    return IsVert() ? mPoly->GetVertStellation() : mPoly->GetFaceStellation();
}

Stellation* FaceVert::GetOtherStellation() const
{
    return IsVert() ? mPoly->GetFaceStellation() : mPoly->GetVertStellation();
}

FaceVert* FaceVert::SkipInf(FaceVert* element)
{
    if (!element || !(element->mFlags & kInf))
        return element;
    const ElemList* list = element->mList;
    for (FaceVert* e = element->mNext ? element->mNext : (list ? list->mFirst : nullptr); e && e != element;
         e = e->mNext ? e->mNext : list->mFirst)
    {
        if (!(e->mFlags & kInf))
            return e;
    }
    return nullptr;
}

void FaceVert::SetOpacity(float opacity)
{
    if (opacity > 0.995f)
        opacity = 1.0f;
    else if (opacity < 0.005f)
        opacity = 0.0f;
    if (opacity == mOpacity)
        return;
    if (mList && mOpacity < 1.0f)
        --mList->mNumTranslucent;
    mOpacity = opacity;
    if (mList && mOpacity < 1.0f)
        ++mList->mNumTranslucent;
}

bool FaceVert::IsTranslucent() const
{
    if (IsKitStyle() || mOpacity < 1.0f)
        return true;
    const FaceImage* image = mImage.Get();
    return image && image->HasAlphaChannel();
}

bool FaceVert::IsRingTranslucent() const
{
    const FaceVert* e = this;
    do
    {
        if (!(e->mFlags & kHidden) && e->IsTranslucent())
            return true;
        e = e->mNextCoplanar;
    } while (e && e != this);
    return false;
}

int FaceVert::GetNumRots() const
{
    const SymGroup* group = mPoly ? mPoly->GetSymGroup() : nullptr;
    const int typeOrder = mFaceType ? mFaceType->mNumRotations : 1;
    if (!group)
        return typeOrder;
    // A polygon that is not centred on the element's axis turns into itself only once.
    if (!Vec3Equal(mCentroid, mCentre, kTol))
        return 1;
    if (!mFaceType || mFaceType->mCount <= 0)
        return 1;
    const int g = group->mOrder / mFaceType->mCount;
    return g <= typeOrder ? g : Gcd(g, typeOrder);
}

int FaceVert::GetRingSize() const
{
    if (!mNextCoplanar)
        return 1;
    int n = 1;
    for (const FaceVert* e = mNextCoplanar; e && e != this; e = e->mNextCoplanar)
        ++n;
    return n;
}

int FaceVert::FindNeighbour(const FaceVert* element, const FaceVert* neighbour, int start)
{
    if (!element)
        return -1;
    for (int i = start + 1; i < element->mNumSides; ++i)
        if (element->mNeighbours[i] == neighbour)
            return i;
    return -1;
}

int FaceVert::FindEdge(const Edge* edge, int start) const
{
    if (!edge)
        return -1;
    for (int i = start + 1; i < mNumSides; ++i)
        if (mEdges[i] == edge)
            return i;
    return -1;
}

FaceVert* FaceVert::FindNeighbourAt(const FaceVert* element, const Vec3D& point)
{
    if (!element)
        return nullptr;
    for (int i = 0; i < element->mNumSides; ++i)
    {
        FaceVert* neighbour = element->mNeighbours[i];
        if (neighbour && Vec3Equal(neighbour->mPoint, point, kTol))
            return neighbour;
    }
    return nullptr;
}

FaceVert* FaceVert::GetAdjacent(const FaceVert* element, int side)
{
    if (!element || side < 0 || side >= element->mNumSides)
        return nullptr;
    if (element->mPoly && element->mPoly->HasEdges() && element->mEdges[side])
        return element->mEdges[side]->GetOther(element);
    if (element->IsFace())
        return GetAdjacentFaceVert(static_cast<const Face*>(element), side);
    if (element->IsVert())
        return static_cast<const Vert*>(element)->GetAdjacentVert(side);
    return nullptr;
}

FaceVert* FaceVert::GetAdjacentAndSide(const FaceVert* element, int& side)
{
    if (!element || side < 0 || side >= element->mNumSides)
    {
        side = -1;
        return nullptr;
    }
    const int i = side;
    const Edge* edge = element->mEdges[i];
    if (element->mPoly && element->mPoly->HasEdges() && edge)
    {
        FaceVert* result = edge->GetOther(element);
        int found = result ? result->FindEdge(edge, -1) : -1;
        // An element across its own edge: the other occurrence of the edge.
        if (result == element && found == i)
            found = result->FindEdge(edge, found);
        side = found;
        return result;
    }
    FaceVert* result = GetAdjacent(element, i);
    side = -1;
    if (!result || element->mNumSides == 0)
        return nullptr;
    const FaceVert* p = element->mNeighbours[i];
    const FaceVert* q = element->mNeighbours[(i + 1) % element->mNumSides];
    const int n = result->mNumSides;
    for (int k = FindNeighbour(result, p, -1); k >= 0; k = FindNeighbour(result, p, k))
    {
        if (result->mNeighbours[(k + 1) % n] == q)
        {
            side = k;
            return result;
        }
        if (result->mNeighbours[(k + n - 1) % n] == q)
        {
            side = (k + n - 1) % n;
            return result;
        }
    }
    return nullptr;
}

FaceVert* FaceVert::GetNextNeighbour(const FaceVert* neighbour, int steps) const
{
    const int k = FindNeighbour(this, neighbour, -1);
    if (k < 0)
    {
        InternalError("GetNextNeighbour: Couldn't find it");
        return nullptr;
    }
    return mNeighbours[WrapIndex(k + steps, mNumSides)];
}

void FaceVert::RotateNeighbours(int start, bool reverse)
{
    const int n = mNumSides;
    if (n == 0)
        return;
    uint8_t* faceReversed = IsVert() ? static_cast<Vert*>(this)->mFaceReversed.get() : nullptr;
    const int s = start > 0 ? start % n : 0;
    if (s > 0)
    {
        std::rotate(mNeighbours.get(), mNeighbours.get() + s, mNeighbours.get() + n);
        std::rotate(mEdges.get(), mEdges.get() + s, mEdges.get() + n);
        if (faceReversed)
            std::rotate(faceReversed, faceReversed + s, faceReversed + n);
    }
    if (!reverse)
        return;
    for (int j = 1; j <= (n - 1) / 2; ++j)
    {
        std::swap(mNeighbours[j], mNeighbours[n - j]);
        if (faceReversed)
            std::swap(faceReversed[j], faceReversed[n - j]);
    }
    // Edge j stays between neighbours j and j+1.
    for (int j = 0; j < n / 2; ++j)
        std::swap(mEdges[j], mEdges[n - 1 - j]);
    if (IsVert())
    {
        Vert* vert = static_cast<Vert*>(this);
        if (vert->mTurn != -1)
            vert->mTurn = 1 - vert->mTurn;
        for (int j = 0; j < n; ++j)
            faceReversed[j] = !faceReversed[j];
        return;
    }
    // The face now runs the other way round each of its corners.
    for (int j = 0; j < n; ++j)
    {
        FaceVert* corner = mNeighbours[j];
        if (!corner || !corner->IsVert() || FindNeighbour(this, corner, -1) < j)
            continue;
        Vert* vert = static_cast<Vert*>(corner);
        for (int k = FindNeighbour(vert, this, -1); k >= 0; k = FindNeighbour(vert, this, k))
            vert->mFaceReversed[k] = !vert->mFaceReversed[k];
    }
}

bool FaceVert::IsInRingOf(const FaceVert* p, const FaceVert* q)
{
    if (!p || !q)
        return p == q;
    if (p == q)
        return true;
    for (const FaceVert* e = q->mNextCoplanar; e && e != q; e = e->mNextCoplanar)
        if (e == p)
            return true;
    return false;
}

FaceVert* FaceVert::GetFirstUnskipped(FaceVert* element)
{
    if (!element || !element->mNextCoplanar)
        return element;
    FaceVert* e = element;
    do
    {
        if (!(e->mFlags & kSkip))
            return e;
        e = e->mNextCoplanar;
    } while (e && e != element);
    return element;
}

Face3D* FaceVert::FindFace3D(const FaceVert* element)
{
    const FaceVert* e = element;
    while (e)
    {
        if (e->mFace3D)
            return e->mFace3D;
        e = e->mNextCoplanar;
        if (e == element)
            break;
    }
    return nullptr;
}

Vec3D FaceVert::GetNormal() const
{
    Vec3D normal = mZAxis;
    if (mFlags & kReverseNorm)
        Vec3Negate(normal);
    return normal;
}

int FaceVert::CollectConnected(FaceVert** buffer)
{
    std::vector<FaceVert*> own;
    if (!buffer)
    {
        own.resize(size_t(mPoly->mFaces.mCount) + size_t(mPoly->mVerts.mCount) + 1);
        buffer = own.data();
    }
    int count = 0;
    buffer[count++] = this;
    mFlags |= kVisitMark;
    // Faces lead to vertices and vertices to faces.
    for (int taken = 0; taken < count; ++taken)
    {
        const FaceVert* e = buffer[taken];
        for (int i = 0; i < e->mNumSides; ++i)
        {
            FaceVert* neighbour = e->mNeighbours[i];
            if (!neighbour || (neighbour->mFlags & kVisitMark))
                continue;
            neighbour->mFlags |= kVisitMark;
            buffer[count++] = neighbour;
        }
    }
    return count;
}
