#include "model/Face.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "mesh/Face3D.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace
{
// True when the face has r as a corner with q next to it, on either side.
bool HasSide(const FaceVert* face, const FaceVert* q, const FaceVert* r)
{
    const int n = face->mNumSides;
    for (int k = FaceVert::FindNeighbour(face, r, -1); k >= 0; k = FaceVert::FindNeighbour(face, r, k))
        if (face->mNeighbours[(k + 1) % n] == q || face->mNeighbours[(k + n - 1) % n] == q)
            return true;
    return false;
}

// The face around q after (after = true) or before position a.
Face* FaceAround(const Vert* q, int a, bool after)
{
    const int n = q->mNumSides;
    FaceVert* face = q->mNeighbours[(after ? a + 1 : a + n - 1) % n];
    return face && face->IsFace() ? static_cast<Face*>(face) : nullptr;
}

void AppendFormat(std::string& out, const char* format, ...) ORVANE_PRINTF(2, 3);

void AppendFormat(std::string& out, const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
}
}  // namespace

Face::Face(Poly* poly, TemplatePolygon* templatePolygon, int numSides)
    : FaceVert(poly, numSides), mTemplatePolygon(templatePolygon)
{
    poly->mFaces.Append(this);
    if (templatePolygon)
    {
        mDensity = templatePolygon->mDensity;
        mIdFlags = int32_t(templatePolygon->mMatchId);
        mColor = templatePolygon->mColor;
    }
    else
    {
        mIdFlags = 0;
        GetPaletteColor(0, mColor, 0);
    }
    Stellation* stellation = poly->GetFaceStellation();
    if (!stellation->mSelectedFace)
        stellation->mSelectedFace = this;
}

Face::~Face()
{
    if (mPoly)
    {
        Stellation* stellation = mPoly->GetFaceStellation();
        if (stellation->mSelectedFace == this)
            stellation->mSelectedFace = nullptr;
    }
}

bool Face::IsConvexPolygon() const
{
    return mTemplatePolygon && mTemplatePolygon->mDensity == 1;
}

bool Face::IsSameShape(const Face* other) const
{
    return other && mNumSides == other->mNumSides && mDensity == other->mDensity;
}

bool Face::IsSameTemplateDensity(const Face* other) const
{
    return other && mTemplatePolygon && other->mTemplatePolygon && mNumSides == other->mNumSides &&
           mTemplatePolygon->mDensity == other->mTemplatePolygon->mDensity;
}

bool Face::MatchesTemplatePolygon(const TemplatePolygon* polygon, int& turn, bool reverse) const
{
    if (!polygon)
        return false;
    // The reflex shape of a polygon runs the other way.
    if (mTemplatePolygon && mTemplatePolygon->mHeight < 0.0)
        reverse = !reverse;
    const int n = mNumSides;
    if (mFlags & kHemi)
    {
        const int ownDensity = mTemplatePolygon ? mTemplatePolygon->mDensity : mDensity;
        return polygon->mNumSides == n && polygon->mDensity == ownDensity;
    }
    if (polygon->mNumSides != n)
        return false;
    if (turn == -1)
    {
        if (polygon->mDensity == mDensity)
        {
            turn = reverse ? 1 : 0;
            return true;
        }
        if (polygon->mDensity == n - mDensity)
        {
            turn = reverse ? 0 : 1;
            return true;
        }
        return false;
    }
    if ((turn == 0) == reverse)
        return polygon->mDensity == n - mDensity;
    return polygon->mDensity == mDensity;
}

int Face::GetMatchIdAt(int corner) const
{
    if (corner < 0 || corner >= mNumSides)
        return -1;
    const FaceVert* cornerElement = mNeighbours[corner];
    if (!cornerElement || !cornerElement->IsVert())
        return -1;
    const Vert* v = static_cast<const Vert*>(cornerElement);
    const TemplatePolygon* polygon = v->mCandidate;
    for (int k = 0; k < v->mNumSides && polygon; ++k)
    {
        if (v->mNeighbours[k] == this)
            return int(polygon->mMatchId);
        polygon = v->mDirection == 0 ? polygon->next : polygon->prev;
    }
    return -1;
}

void Face::DumpFace() const
{
    std::string text;
    AppendFormat(text, "Face %d: %d/%d, #rots %d, flags 0x%x, idFlags 0x%x, type %d", GetIndex(this), mNumSides,
                 mDensity, mFaceType ? mFaceType->mNumRotations : 0, unsigned(mFlags), unsigned(mIdFlags),
                 FaceType::GetIndex(mFaceType));
    static const struct
    {
        uint32_t flag;
        const char* label;
    } kLabels[] = {{kHemi, ", Hemi"},
                   {kInf, ", Inf"},
                   {kHidden, ", Hidden"},
                   {kCoplanar, ", Coplanar"},
                   {kIsCopConcentric, ", IsCopConcentric"},
                   {kSkipCopConcentric, ", SkipCopConcentric"},
                   {kSkip, ", Skip"},
                   {kOneSided, ", OneSided"},
                   {kReversed, ", Reversed"},
                   {kReverseNorm, ", ReverseNorm"}};
    for (const auto& label : kLabels)
        if (mFlags & label.flag)
            text += label.label;
    text += "\n";
    DebugTrace("%s", text.c_str());

    DebugTrace("  Centre (%g, %g, %g), xAxis (%g, %g, %g)\n", mCentre.x, mCentre.y, mCentre.z, mXAxis.x, mXAxis.y,
               mXAxis.z);
    DebugTrace("  yAxis (%g, %g, %g), zAxis (%g, %g, %g)\n", mYAxis.x, mYAxis.y, mYAxis.z, mZAxis.x, mZAxis.y,
               mZAxis.z);
    DebugTrace("  DualVert (%g, %g, %g), Coplanar %d, color %06x\n", mPoint.x, mPoint.y, mPoint.z,
               GetIndex(mNextCoplanar), unsigned(ColorToRGB(mColor)));

    text = "  Surrounding vertices: ";
    for (int i = 0; i < mNumSides; ++i)
    {
        if (mNeighbours[i])
            AppendFormat(text, "%d", GetIndex(mNeighbours[i]));
        else
            text += "-";
        text += i + 1 < mNumSides ? ", " : ".";
    }
    text += "\n";
    DebugTrace("%s", text.c_str());

    if (mPoly && mPoly->HasEdges())
    {
        text = "  Edges (& adjacent faces): ";
        for (int i = 0; i < mNumSides; ++i)
            AppendFormat(text, " %d (%d),", Edge::GetIndex(mEdges[i], mPoly), GetIndex(GetAdjacent(this, i)));
        text += "\n";
        DebugTrace("%s", text.c_str());
    }

    text.clear();
    AppendFormat(text, "  next %d, prev %d, nextOfType %d", GetIndex(mNext), GetIndex(mPrev), GetIndex(mNextOfType));
    if (mFace3D)
        AppendFormat(text, ", face3D %d", Face3D::GetIndex(mFace3D));
    text += "\n";
    DebugTrace("%s", text.c_str());
    if (mPrev && mPrev->mNext != this)
        DebugTrace("  Error: prev->next != this\n");
    if (mNext && mNext->mPrev != this)
        DebugTrace("  Error: next->prev != this\n");
}

Face* GetAdjacentFaceVert(const Face* face, int side)
{
    if (!face || side < 0 || side >= face->mNumSides)
        return nullptr;
    if (face->mPoly && face->mPoly->HasEdges() && face->mEdges[side])
        return Edge::GetOtherFace(face->mEdges[side], face);
    const FaceVert* qElement = face->mNeighbours[side];
    const FaceVert* r = face->mNeighbours[(side + 1) % face->mNumSides];
    if (!qElement || !qElement->IsVert() || !r)
        return nullptr;
    const Vert* q = static_cast<const Vert*>(qElement);
    // First the face on the side that the vertex's orientation byte names, then the other one.
    for (int pass = 0; pass < 2; ++pass)
    {
        for (int a = FaceVert::FindNeighbour(q, face, -1); a >= 0; a = FaceVert::FindNeighbour(q, face, a))
        {
            const bool after = (q->mFaceReversed[a] != 0) != (pass == 1);
            Face* candidate = FaceAround(q, a, after);
            if (candidate && HasSide(candidate, q, r))
                return candidate;
        }
        if (pass == 0)
            DebugTrace("Face %d: GetAdjacentFaceVert(%d): vert %d: Not found\n", FaceVert::GetNumber(face), side,
                       FaceVert::GetNumber(q));
    }
    DebugTrace("Face %d: GetAdjacentFaceVert(%d): Still not found!\n", FaceVert::GetNumber(face), side);
    return nullptr;
}
