#include "model/Vert.h"

#include "kernel/Palette.h"
#include "kernel/Tolerance.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <cstdio>
#include <new>
#include <string>

Vert::Vert(Poly* poly, Vec3D& p, int numSides)
    : FaceVert(poly, numSides), mFaceReversed(new uint8_t[mNumSides > 0 ? mNumSides : 1]())
{
    poly->mVerts.Append(this);
    Vec3SnapZero(p, kTol);
    mPoint = p;
    mZAxis = p;
    if (!Vec3IsZero(p, kTol))
        Vec3Normalize(mZAxis);
    Vec3SnapZero(mZAxis, kTol);
    const double length = Vec3Length(p);
    if (poly->mTemplate)
        Vec3Scale(mCentre, mZAxis, poly->mTemplate->mInRadius);
    else if (!IsZeroTol(length, kTol))
    {
        // The foot of the polar plane of p with respect to the unit sphere.
        Vec3Div(mCentre, mZAxis, length);
    }
    else
    {
        mCentre = mZAxis;
        mFlags |= kInf;
    }
    GetPaletteColor(-1, mColor, 0);
    Vec3SnapZero(mCentre, kTol);
    Stellation* stellation = poly->GetVertStellation();
    if (!stellation->mSelectedFace)
        stellation->mSelectedFace = this;
}

Vert::~Vert()
{
    if (mPoly)
    {
        Stellation* stellation = mPoly->GetVertStellation();
        if (stellation->mSelectedFace == this)
            stellation->mSelectedFace = nullptr;
    }
}

bool Vert::IsConvexPolygon() const
{
    const PolyTemplate* templ = mPoly ? mPoly->mTemplate : nullptr;
    return templ && templ->mWraps == 1 && !templ->mConvexMark;
}

const char* Vert::GetConfiguration() const
{
    static std::string buffer;
    buffer.clear();
    char number[32];
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* face = mNeighbours[i];
        if (!face)
            buffer += "-";
        else
        {
            std::snprintf(number, sizeof number, "%d", face->mNumSides);
            buffer += number;
            if (face->mDensity != 1)
            {
                std::snprintf(number, sizeof number, "/%d", face->mDensity);
                buffer += number;
            }
        }
        buffer += i + 1 < mNumSides ? ", " : ".";
    }
    return buffer.c_str();
}

int Vert::ApplyTurn(int turn, bool flag) const
{
    // A ring that matches itself half-way round in the opposite orientation reads one placement
    // from a position with one turn and from its partner half-way round with the other, and the
    // class chains keep only one of the two: the turn says nothing about the placement there.
    const bool halfTurn = mPoly && mPoly->mTemplate && mPoly->mTemplate->mHalfTurn;
    return !halfTurn && flag ? 1 - turn : turn;
}

Vert* Vert::GetAdjacentVert(int side) const
{
    if (side < 0 || side >= mNumSides)
        return nullptr;
    if (mPoly && mPoly->HasEdges() && mEdges[side])
        return Edge::GetOtherVert(mEdges[side], this);
    const FaceVert* q = mNeighbours[side];
    const FaceVert* r = mNeighbours[(side + 1) % mNumSides];
    if (!q || !r)
        return nullptr;
    const int n = q->mNumSides;
    const bool after = mFaceReversed[side] != 0;
    for (int a = FindNeighbour(q, this, -1); a >= 0; a = FindNeighbour(q, this, a))
    {
        FaceVert* candidate = q->mNeighbours[(after ? a + 1 : a + n - 1) % n];
        if (!candidate || !candidate->IsVert() || !candidate->HasNeighbour(r))
            continue;
        // q must lie next to r around the candidate.
        const int m = candidate->mNumSides;
        for (int k = FindNeighbour(candidate, r, -1); k >= 0; k = FindNeighbour(candidate, r, k))
            if (candidate->mNeighbours[(k + 1) % m] == q || candidate->mNeighbours[(k + m - 1) % m] == q)
                return static_cast<Vert*>(candidate);
    }
    return nullptr;
}
