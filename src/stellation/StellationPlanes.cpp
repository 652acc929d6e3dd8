#include "stellation/StellationPlanes.h"

#include "kernel/ColorRGB.h"
#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec3D.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <vector>

const char* PlaneColumnName(int column)
{
    static const char* const kNames[kPlaneColumns] = {"X", "Y", "Z", "Radius"};
    return column >= 0 && column < kPlaneColumns ? kNames[column] : "";
}

std::unique_ptr<PlaneEquation> PlaneEquation::CreateDefault()
{
    auto row = CreateFromValues(0.0, 0.0, 1.0, 1.0);
    static const std::string kTexts[kPlaneColumns] = {"0", "0", "1", "1"};
    for (int c = 0; c < kPlaneColumns; ++c)
        row->mText[c] = kTexts[c];
    return row;
}

std::unique_ptr<PlaneEquation> PlaneEquation::CreateFromValues(double x, double y, double z, double radius)
{
    auto row = std::make_unique<PlaneEquation>();
    row->mValue[kPlaneX] = x;
    row->mValue[kPlaneY] = y;
    row->mValue[kPlaneZ] = z;
    row->mValue[kPlaneRadius] = radius;
    return row;
}

std::unique_ptr<PlaneEquation> PlaneEquation::Clone() const
{
    auto row = std::make_unique<PlaneEquation>();
    for (int c = 0; c < kPlaneColumns; ++c)
    {
        row->mText[c] = mText[c];
        row->mValue[c] = mValue[c];
    }
    return row;
}

void PlaneList::Append(std::unique_ptr<PlaneEquation> row)
{
    if (!row)
        return;
    ListAppend(row.release(), mFirst, mLast);
    ++mCount;
}

void PlaneList::Delete(PlaneEquation* row)
{
    if (!row)
        return;
    ListRemove(row, mFirst, mLast);
    delete row;
    --mCount;
}

void PlaneList::Clear()
{
    ListDeleteAll(mFirst, mLast);
    mCount = 0;
}

PlaneEquation* PlaneList::At(int k) const
{
    if (k < 0)
        return nullptr;
    PlaneEquation* row = mFirst;
    for (; row && k > 0; --k)
        row = row->next;
    return row;
}

void PlaneList::AppendCopies(const PlaneList& other)
{
    // Copied first: the other list may be this one.
    std::vector<std::unique_ptr<PlaneEquation>> copies;
    for (const PlaneEquation* row = other.mFirst; row; row = row->next)
        copies.push_back(row->Clone());
    for (auto& copy : copies)
        Append(std::move(copy));
}

PlaneList& GetPlaneClipboard()
{
    static PlaneList clipboard;
    return clipboard;
}

void ClearPlaneClipboard()
{
    GetPlaneClipboard().Clear();
}

void CollectStellationPlanes(const Stellation& stellation, double modelScale, PlaneList& out)
{
    for (const FaceType* type = stellation.mFirstFaceType; type; type = type->mNextFaceType)
    {
        if (type->IsCoplanarCopy() || type->HasEarlierMirror() || !type->mFirstFace)
            continue;
        const FaceVert& face = *type->mFirstFace;
        Vec3D normal = face.GetNormal();
        if (!Vec3Normalize(normal))
            continue;
        const double radius = Vec3Dot(face.mCentre, normal) * modelScale;
        out.Append(PlaneEquation::CreateFromValues(normal[0], normal[1], normal[2], radius));
    }
}

bool EvaluatePlaneEquations(PlaneList& rows)
{
    int index = 0;
    for (PlaneEquation* row = rows.mFirst; row; row = row->next, ++index)
    {
        for (int c = 0; c < kPlaneColumns; ++c)
        {
            if (!row->mText[c])
                continue;
            const char* error = nullptr;
            row->mValue[c] = EvaluateExpression(row->mText[c]->c_str(), &error);
            if (error)
            {
                ErrorMessage("Equation error for plane %d, column '%s'\n%s", index, PlaneColumnName(c), error);
                return false;
            }
        }
        const Vec3D normal{row->mValue[kPlaneX], row->mValue[kPlaneY], row->mValue[kPlaneZ]};
        if (Vec3IsZero(normal, kTol) || !std::isfinite(Vec3Length(normal)) || !std::isfinite(row->mValue[kPlaneRadius]))
        {
            ErrorMessage("Plane %d has no direction: X, Y and Z must not all be zero", index);
            return false;
        }
    }
    return true;
}

namespace
{
// The vertex states of the shell-by-shell enclosure.
enum PoleState : char
{
    kPoleCandidate,
    kPoleOnShell,
};

// Adds the poles of the plane (unit normal, radius) under every rotation, all of type t.
bool AddPoles(SimplePoly& poles, int& nextVert, const SymGroup& group, const Vec3D& normal, double radius, int type)
{
    if (std::fabs(radius) <= kTol)
        return true;  // a plane through the centre has its pole at infinity: it bounds nothing
    ColorRGB color;
    GetPaletteColor(type, color, 0);
    const uint32_t packed = ColorToRGB(color);
    SymOpIterator it;
    Mat3 m;
    while (group.NextOperation(it, true, &m))
    {
        Vec3D g, pole;
        m.Transform(g, normal);
        Vec3Div(pole, g, radius);
        SimpleVert* vert = poles.FindOrCreateVert(pole, nextVert);
        if (!vert)
            return false;
        vert->mId = type;
        vert->mColor = vert->mBackColor = packed;
    }
    return true;
}

// Whether every face of the shell, from firstFace on, has the centre strictly inside.
bool ShellSurroundsCentre(const SimplePoly& poly, int firstFace)
{
    for (int f = firstFace; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if (face.mNum < 1 || Vec3Dot(face.mNormal, face.GetVert(0)->mPos) <= kTol)
            return false;
    }
    return poly.mNumFaces > firstFace;
}
}  // namespace

std::unique_ptr<SimplePoly> BuildPlanesSolid(const PlaneList& rows, int kind, int n, int reflection,
                                             PlanesSolidInfo* info)
{
    std::unique_ptr<SymGroup> group = SymGroup::Create(kind, n);
    if (!group)
        return nullptr;
    group->SetReflectionKind(reflection);
    Mat3 mirror;
    const bool mirrored = reflection != SymGroup::kChiral && group->GetReflectionMatrix(mirror);

    auto poles = std::make_unique<SimplePoly>();
    poles->mFlags |= SimplePoly::kMayGrow;
    int nextVert = 0;
    int type = 0;
    for (const PlaneEquation* row = rows.mFirst; row; row = row->next)
    {
        Vec3D normal{row->mValue[kPlaneX], row->mValue[kPlaneY], row->mValue[kPlaneZ]};
        if (!Vec3Normalize(normal))
            continue;
        const double radius = row->mValue[kPlaneRadius];
        if (!AddPoles(*poles, nextVert, *group, normal, radius, type++))
            return nullptr;
        if (reflection != SymGroup::kChiral)
        {
            Vec3D image = normal;
            if (mirrored)
                mirror.Transform(image, normal);
            if (!AddPoles(*poles, nextVert, *group, image, radius, type++))
                return nullptr;
        }
    }
    poles->mNumVerts = nextVert;
    if (info)
        info->numTypes = type;

    // Shell by shell: the hull of the poles left inside the shells before. Poles inside the first
    // shell belong to planes that miss its solid; with enough of them they make a second solid.
    std::vector<char> state(size_t(nextVert), kPoleCandidate);
    int shells = 0;
    for (;;)
    {
        const int firstFace = poles->mNumFaces;
        for (int i = 0; i < nextVert; ++i)
        {
            SimpleVert& v = poles->mVerts[i];
            v.mFlags &= ~(SimpleElem::kTemp | SimpleElem::kDone);
            if (state[size_t(i)] == kPoleOnShell)
                v.mFlags |= SimpleElem::kDone;
        }
        if (!poles->ComputeConvexHull(firstFace) || !ShellSurroundsCentre(*poles, firstFace))
        {
            poles->mNumFaces = firstFace;
            break;
        }
        ++shells;
        bool left = false;
        for (int i = 0; i < nextVert; ++i)
        {
            if (state[size_t(i)] == kPoleOnShell)
                continue;
            if (poles->mVerts[i].mFlags & SimpleElem::kTemp)
                left = true;
            else
                state[size_t(i)] = kPoleOnShell;
        }
        if (!left)
            break;
    }
    if (info)
        info->numShells = shells;
    if (shells == 0)
    {
        ErrorMessage("Planes do not enclose any space.");
        return nullptr;
    }
    // Poles on no shell take no part in the dual.
    for (int i = 0; i < nextVert; ++i)
    {
        SimpleVert& v = poles->mVerts[i];
        v.mFlags &= ~(SimpleElem::kTemp | SimpleElem::kDone);
        if (state[size_t(i)] != kPoleOnShell)
            v.mFlags |= SimpleElem::kTemp;
    }
    poles->CleanFaces();

    std::unique_ptr<SimplePoly> solid = SimplePoly::CreateDual(poles.get(), 1.0);
    if (!solid)
        return nullptr;
    solid->mScale = 1.0;
    // The scale takes up the normalisation of the size, so that the planes keep their distances.
    solid->mFlags |= SimplePoly::kKeepOrientation | SimplePoly::kKeepRealSize;
    if (shells == 1)
        solid->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    solid->CreateVertexFaceLists(true);
    SimpleSortVertFaces(*solid);
    return solid;
}
