#include "stellation/FacetingFace.h"

#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "model/FaceVert.h"
#include "stellation/Faceting.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"

#include <cmath>
#include <cstdio>

FacetingFace::FacetingFace(FacetPlane* plane, int numSides, int numUses, int symmetry)
    : mVerts(size_t(numSides > 0 ? numSides : 0), nullptr),
      mUses(size_t(numUses > 0 ? numUses : 0)),
      mPlane(plane),
      mSymmetry(symmetry > 0 ? symmetry : 1)
{
    for (FaceUse& use : mUses)
        use.mFace = this;
    ListAppend(this, plane->mFirstFace, plane->mLastFace);
    ++plane->mNumFaces;
    ++plane->mOwner->mNumFaces;
}

FacetingFace::~FacetingFace()
{
    Unlink();
    --mPlane->mOwner->mNumFaces;
}

void FacetingFace::Unlink()
{
    if (!mLinked)
        return;
    ListRemove(this, mPlane->mFirstFace, mPlane->mLastFace);
    --mPlane->mNumFaces;
    mLinked = false;
}

const char* FacetingFace::GetLabel(const FacetingFace* face)
{
    static char buffers[4][32];
    static int next = 0;
    char* text = buffers[next];
    next = (next + 1) % 4;
    if (!face)
        std::snprintf(text, 32, "NULL");
    else
        std::snprintf(text, 32, "%d-%d", face->mPlane->mIndex, face->GetIndexInPlane());
    return text;
}

std::string FacetingFace::Describe() const
{
    const double scale = GetUnitSettings().GetScale();
    const double area = mAreaSq > 0.0 ? std::sqrt(mAreaSq) * scale * scale : 0.0;
    char text[256];
    std::snprintf(text, sizeof(text), "Plane %d, Facet %d: area %g, %d sides, ", mPlane->mIndex, GetIndexInPlane(),
                  area, GetNumSides());
    std::string out = text;
    if (mSymmetry < 2)
        out += "no rotational symmetry, ";
    else
    {
        std::snprintf(text, sizeof(text), "%d-fold symmetry, ", mSymmetry);
        out += text;
    }
    out += mMirror == this ? "reflexible" : "chiral";
    if (mMirror && mMirror != this)
    {
        out += ", mirrors ";
        out += GetLabel(mMirror);
    }
    if (mFlags & kFacetingFaceBowTie)
        out += ", BowTie";
    return out;
}

int FacetingFace::GetNumBaseVerts() const
{
    return GetNumSides() / mSymmetry;
}

Vec3D FacetingFace::GetVertexSum() const
{
    Vec3D sum;
    const int n = GetNumBaseVerts();
    for (int i = 0; i < n; ++i)
        Vec3AddTo(sum, mVerts[size_t(i)]->mVert->mPoint);
    return sum;
}

bool FacetingFace::MapsOntoItself(const Mat3& m) const
{
    const int n = GetNumSides();
    if (n == 0)
        return true;
    std::vector<Vec3D> images(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        m.Transform(images[size_t(k)], mVerts[size_t(k)]->mVert->mPoint);
    auto at = [&](int i) -> const Vec3D& { return mVerts[size_t(((i % n) + n) % n)]->mVert->mPoint; };
    for (int i = 0; i < n; ++i)
    {
        if (!Vec3Equal(images[0], at(i), kTol))
            continue;
        bool forwards = true, backwards = true;
        for (int k = 1; k < n && (forwards || backwards); ++k)
        {
            forwards = forwards && Vec3Equal(images[size_t(k)], at(i + k), kTol);
            backwards = backwards && Vec3Equal(images[size_t(k)], at(i - k), kTol);
        }
        if (forwards || backwards)
            return true;
    }
    return false;
}

bool FacetingFace::IsTurnedOverBy(const Vec3D& axis) const
{
    Vec3D d = axis, f, g;
    if (!Vec3Normalize(d))
        return false;
    Vec3Perpendicular(f, d);
    Vec3Normalize(f);
    Vec3Cross(g, d, f);
    Mat3 frame, turn, frameT, tmp, halfTurn;
    frame.SetColumns(f, g, d);
    turn.SetAxisRotationExact(2, 1, 2);
    frameT.SetTranspose(frame);
    Mat3Mul(tmp, frame, turn);
    Mat3Mul(halfTurn, tmp, frameT);
    return MapsOntoItself(halfTurn);
}

FacetingFace* FacetingFace::GetNext() const
{
    if (next)
        return next;
    for (FacetPlane* p = mPlane->next; p; p = p->next)
    {
        if (p->mFirstFace)
            return p->mFirstFace;
    }
    return nullptr;
}

FacetingFace* FacetingFace::GetPrevious() const
{
    if (prev)
        return prev;
    for (FacetPlane* p = mPlane->prev; p; p = p->prev)
    {
        if (p->mLastFace)
            return p->mLastFace;
    }
    return nullptr;
}

int FacetingFace::GetIndexInPlane() const
{
    int index = 0;
    for (const FacetingFace* f = prev; f; f = f->prev)
        ++index;
    return index;
}

int FacetingFace::GetGlobalIndex() const
{
    int index = GetIndexInPlane();
    for (const FacetPlane* p = mPlane->prev; p; p = p->prev)
        index += p->mNumFaces;
    return index;
}
