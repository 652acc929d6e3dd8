#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/GrowableArray.h"
#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceOutline.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"
#include "operations/VertexPair.h"
#include "polytope4d/Polytope4D.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;

// The corners of from, as the vertices of the same indices (plus offset) in the copy's owner.
void CopyCorners(SimpleFace& to, const SimpleFace& from, int offset)
{
    SimplePoly& owner = *to.mOwner;
    for (int k = 0; k < from.mNum && k < to.mNum; ++k)
    {
        const int i = SimpleVert::GetIndex(from.GetVert(k));
        to.mList[k] = i >= 0 && i + offset < owner.mNumVerts ? &owner.mVerts[i + offset] : nullptr;
    }
}

// Vertex to of the copy takes the face list of from, as the faces of the same indices plus offset.
bool CopyFaceList(SimpleVert& to, const SimpleVert& from, int offset)
{
    SimplePoly& owner = *to.mOwner;
    to.mList.reset();
    to.mNum = 0;
    if (from.mNum <= 0)
        return true;
    to.mList.reset(new (std::nothrow) SimpleElem*[size_t(from.mNum)]());
    if (!to.mList)
    {
        ErrorMessage("Out of memory for the faces of vertex %d.", to.GetIndex());
        return false;
    }
    for (int k = 0; k < from.mNum; ++k)
    {
        const int i = SimpleFace::GetIndex(from.GetFace(k));
        to.mList[k] = i >= 0 && i + offset < owner.mNumFaces ? &owner.mFaces[i + offset] : nullptr;
    }
    to.mNum = from.mNum;
    return true;
}

void CopyTexts(SimplePoly& to, const SimplePoly& from)
{
    to.SetName(from.mName.c_str(), nullptr, true);
    to.SetDualName(from.mDualName.c_str(), nullptr, true);
    to.SetComments(from.mComments.c_str());
    to.SetLink(from.mLink.c_str());
}

bool IsIdentityOrientation(const Mat3& m)
{
    for (int i = 0; i < 9; ++i)
    {
        const bool diagonal = i % 4 == 0;
        if (diagonal ? !(kRatioLow <= m.m[i] && m.m[i] <= kRatioHigh) : !IsZeroTol(m.m[i], kTol))
            return false;
    }
    return true;
}

// Enters the first count vertices into the search tree.
void InsertAll(SimplePoly& poly, int count)
{
    for (int i = 0; i < count; ++i)
        poly.InsertInTree(&poly.mVerts[i]);
}

// Vertex to takes the other's position and data; the caller enters it into the search tree.
void CopyVert(SimpleVert& to, const SimpleVert& from)
{
    to.CopyFrom(from, false);
    to.mPos = from.mPos;
}

// p * c / |p|^2: the pole of the plane whose nearest point to the centre is p, and back.
Vec3D Reciprocal(const Vec3D& p, double c)
{
    const double lengthSq = Vec3LengthSq(p);
    Vec3D out;
    if (lengthSq > kTol * kTol)
        Vec3Scale(out, p, c / lengthSq);
    return out;
}
}  // namespace

std::unique_ptr<SimplePoly> SimplePoly::Clone(SimplePoly* source)
{
    if (!source)
        return nullptr;
    std::unique_ptr<SimplePoly> copy;
    if (source->StandsFor4D())
    {
        std::unique_ptr<Polytope4D> polytope = Polytope4D::Copy(source->mPolytope4D.get(), 0);
        if (!polytope)
            return nullptr;
        copy = std::make_unique<SimplePoly>();
        copy->InitFromPolytope4D(std::move(polytope), true);
    }
    else
    {
        copy = std::make_unique<SimplePoly>(source->mNumVerts, source->mNumFaces);
        if (copy->mNumVerts != source->mNumVerts || copy->mNumFaces != source->mNumFaces)
            return nullptr;
        ClearFaceImageClones();
        for (int i = 0; i < source->mNumVerts; ++i)
        {
            CopyVert(copy->mVerts[i], source->mVerts[i]);
            copy->mVerts[i].mId = source->mVerts[i].mId;
        }
        InsertAll(*copy, copy->mNumVerts);
        for (int f = 0; f < source->mNumFaces; ++f)
        {
            const SimpleFace& from = source->mFaces[f];
            SimpleFace& to = copy->mFaces[f];
            to.SetNumVerts(from.mNum, from.mDensity);
            to.CopyFrom(from);
            to.mRots = from.mRots;
            to.mId = from.mId;
            CopyCorners(to, from, 0);
        }
        const int selected = SimpleFace::GetIndex(source->mSelectedFace);
        copy->mSelectedFace = selected >= 0 && selected < copy->mNumFaces ? &copy->mFaces[selected] : nullptr;
        // The lists are copied as they stand, sorted or not, so that the copied flags tell the truth.
        if (source->mFlags & kHasVertFaceLists)
        {
            for (int i = 0; i < source->mNumVerts; ++i)
            {
                if (!CopyFaceList(copy->mVerts[i], source->mVerts[i], 0))
                    return nullptr;
            }
        }
    }
    copy->mScale = source->mScale;
    copy->mFlags = source->mFlags;
    CopyTexts(*copy, *source);
    copy->SetSymGroup(source->mSymGroup.get());
    return copy;
}

std::unique_ptr<SimplePoly> SimplePoly::Combine(SimplePoly& other)
{
    if (StandsFor4D() != other.StandsFor4D())
        return nullptr;
    std::unique_ptr<SimplePoly> result;
    if (StandsFor4D())
    {
        std::unique_ptr<Polytope4D> compound =
            Polytope4D::MakeCompound(mPolytope4D.get(), other.mPolytope4D.get(), true);
        if (!compound)
            return nullptr;
        const double scale = std::max(mPolytope4D->mScale * mScale, other.mPolytope4D->mScale * other.mScale);
        result = std::make_unique<SimplePoly>();
        result->InitFromPolytope4D(std::move(compound), true);
        result->mScale = scale;
    }
    else
    {
        const int nv = mNumVerts, nf = mNumFaces;
        result = std::make_unique<SimplePoly>(nv + other.mNumVerts, nf + other.mNumFaces);
        if (result->mNumVerts != nv + other.mNumVerts || result->mNumFaces != nf + other.mNumFaces)
            return nullptr;
        ClearFaceImageClones();
        for (int i = 0; i < result->mNumVerts; ++i)
            CopyVert(result->mVerts[i], i < nv ? mVerts[i] : other.mVerts[i - nv]);
        InsertAll(*result, result->mNumVerts);
        for (int f = 0; f < result->mNumFaces; ++f)
        {
            const bool first = f < nf;
            const SimpleFace& from = first ? mFaces[f] : other.mFaces[f - nf];
            SimpleFace& to = result->mFaces[f];
            to.SetNumVerts(from.mNum, from.mDensity);
            to.CopyFrom(from);
            to.mRots = from.mRots;
            CopyCorners(to, from, first ? 0 : nv);
        }
        const int selected = SimpleFace::GetIndex(mSelectedFace);
        result->mSelectedFace = selected >= 0 && selected < nf ? &result->mFaces[selected] : nullptr;
        if ((mFlags & kSortedFaceLists) && (other.mFlags & kSortedFaceLists))
        {
            for (int i = 0; i < result->mNumVerts; ++i)
            {
                const bool first = i < nv;
                if (!CopyFaceList(result->mVerts[i], first ? mVerts[i] : other.mVerts[i - nv], first ? 0 : nf))
                    return nullptr;
            }
            result->mFlags |= kHasVertFaceLists | kSortedFaceLists;
        }
        result->mScale = std::max(mScale, other.mScale);
    }
    result->mFlags |= kKeepOrientation | kKeepRealSize | ((mFlags | other.mFlags) & (kKeepCentre | kFrom4D));
    return result;
}

void SimplePoly::MirrorImage(const SymGroup* group)
{
    Vec3D n{1.0, 0.0, 0.0};
    if (group && !IsIdentityOrientation(group->mOrientation))
        group->mOrientation.GetColumn(n, 0);
    auto reflect = [&n](Vec3D& p) { Vec3AddScaledTo(p, -2.0 * Vec3Dot(p, n), n); };
    for (int i = 0; i < mNumVerts; ++i)
        reflect(mVerts[i].mPos);
    for (int f = 0; f < mNumFaces; ++f)
    {
        // An x of exactly -2 marks a normal not yet computed.
        if (mFaces[f].mNormal.x != -2.0)
            reflect(mFaces[f].mNormal);
    }
    VertsMoved();
    SetSymGroup(nullptr);
}

std::unique_ptr<SimplePoly> SimplePoly::CreateDual(SimplePoly* source, double r)
{
    if (!source)
        return nullptr;
    const double c = r * r;
    auto dual = std::make_unique<SimplePoly>(source->mNumFaces, source->mNumVerts);
    if (dual->mNumVerts != source->mNumFaces || dual->mNumFaces != source->mNumVerts)
        return nullptr;
    dual->mFlags |= source->mFlags & kFrom4D;

    source->SetNormals(false);
    source->CreateVertexFaceLists(true);
    // Where the fans cannot be walked the faces keep the order they have: the dual is still made.
    SimpleSortVertFaces(*source);
    ClearFaceImageClones();

    std::vector<SimpleVert*> vertOfFace(size_t(source->mNumFaces), nullptr);
    int numVerts = 0;
    for (int f = 0; f < source->mNumFaces; ++f)
    {
        const SimpleFace& face = source->mFaces[f];
        if (face.mFlags & E::kTemp)
            continue;
        SimpleVert& v = dual->mVerts[numVerts++];
        Vec3D pos;
        if (face.mFlags & E::kInf)
            pos = Vec3D();  // a face at infinity has the centre as its pole
        else if (face.mFlags & E::kPlaneThroughCentre)
        {
            v.mFlags |= E::kInf;
            pos = face.mNormal;
        }
        else if (face.mNum > 0)
        {
            // The plane's offset from a corner in space: a corner at infinity is a direction.
            const SimpleVert* first = nullptr;
            for (int k = 0; k < face.mNum && !first; ++k)
            {
                if (face.GetVert(k) && !(face.GetVert(k)->mFlags & E::kInf))
                    first = face.GetVert(k);
            }
            const double d = first ? Vec3Dot(face.mNormal, first->mPos) : 0.0;
            if (IsZeroTol(d, kTol))
                pos = face.mNormal;
            else
                Vec3Scale(pos, face.mNormal, c / d);
        }
        else
            pos = Reciprocal(face.mNormal, c);
        v.mPos = pos;
        v.mColor = face.mColor;
        v.mBackColor = face.mBackColor;
        v.CloneImageFrom(face, E::kTemp);
        v.mText = face.mText;
        vertOfFace[size_t(f)] = &v;
    }

    int numFaces = 0;
    for (int i = 0; i < source->mNumVerts; ++i)
    {
        const SimpleVert& v = source->mVerts[i];
        if (v.mFlags & E::kTemp)
            continue;
        SimpleFace& face = dual->mFaces[numFaces++];
        face.SetNumVerts(v.mNum, 1);
        bool throughInfinity = false;
        for (int k = 0; k < face.mNum; ++k)
        {
            const int f = SimpleFace::GetIndex(v.GetFace(k));
            SimpleVert* corner = f >= 0 && f < source->mNumFaces ? vertOfFace[size_t(f)] : nullptr;
            face.mList[k] = corner;
            throughInfinity = throughInfinity || (corner && (corner->mFlags & E::kInf));
        }
        if (v.mFlags & E::kInf)
        {
            face.mNormal = v.mPos;
            face.mFlags |= E::kPlaneThroughCentre;
        }
        else if (Vec3IsZero(v.mPos, kTol))
        {
            face.mNormal = Vec3D();
            face.mFlags |= E::kInf;
        }
        else if (v.mNum > 0)
        {
            // The polar plane of v has the unit v as its normal. It is set here only for a face with
            // corners at infinity, from which no plane could be computed; the others keep the normal
            // unset, to be found from their corners.
            if (throughInfinity)
            {
                face.mNormal = v.mPos;
                Vec3Normalize(face.mNormal);
            }
        }
        else
            face.mNormal = Reciprocal(v.mPos, c);
        face.mColor = v.mColor;
        face.mBackColor = v.mBackColor;
        face.CloneImageFrom(v, E::kTemp);
        face.mText = v.mText;
    }
    dual->mNumVerts = numVerts;
    dual->mNumFaces = numFaces;
    InsertAll(*dual, numVerts);
    return dual;
}

std::unique_ptr<SimplePoly> SimplePoly::CopyTriangulated(SimplePoly* source, int options, VertexPair** edges)
{
    if (edges && !*edges && source)
        *edges = source->CollectEdges();
    if (!source || !(options & (kTriangulateAll | kTriangulateNonConvex)))
        return Clone(source);

    auto copy = std::make_unique<SimplePoly>(source->mNumVerts, source->mNumFaces);
    if (copy->mNumVerts != source->mNumVerts || copy->mNumFaces != source->mNumFaces)
        return nullptr;
    copy->mFlags |= kMayGrow;
    source->SetNormals(false);
    ClearFaceImageClones();
    for (int i = 0; i < source->mNumVerts; ++i)
        CopyVert(copy->mVerts[i], source->mVerts[i]);
    InsertAll(*copy, copy->mNumVerts);

    int nextVert = source->mNumVerts;
    int nextFace = 0;
    FaceOutline outline;
    for (int f = 0; f < source->mNumFaces; ++f)
    {
        const SimpleFace& from = source->mFaces[f];
        const int count = ResolveFaceOutline(from, outline);
        for (int t = 0; t + 2 < count; t += 3)
        {
            SimpleFace* tri = copy->GetFace(nextFace);
            if (!tri)
                return nullptr;
            ++nextFace;
            tri->SetNumVerts(3, 1);
            tri->CopyFrom(from);
            for (int k = 0; k < 3; ++k)
            {
                const size_t p = size_t(outline.indices[size_t(t + k)]);
                // A corner keeps its own record, also where another vertex lies in the same place.
                const int corner = outline.corners[p];
                const int i = corner >= 0 ? SimpleVert::GetIndex(from.GetVert(corner)) : -1;
                SimpleVert* vert = i >= 0 && i < source->mNumVerts ? &copy->mVerts[i]
                                                                   : copy->FindOrCreateVert(outline.points[p], nextVert);
                if (!vert)
                    return nullptr;
                tri->mList[k] = vert;
            }
        }
    }
    copy->mNumVerts = nextVert;
    copy->mNumFaces = nextFace;
    copy->mScale = source->mScale;
    // The triangles around a vertex follow no fan order: lists, when the source had them, are new.
    copy->mFlags = source->mFlags & ~(kHasVertFaceLists | kSortedFaceLists);
    if (source->mFlags & kHasVertFaceLists)
        copy->CreateVertexFaceLists(true);
    CopyTexts(*copy, *source);
    return copy;
}

void SimplePoly::CollectColors(GrowableArray<ColorRGB>& list) const
{
    list.Free();
    const uint32_t capacity = uint32_t(std::max(mNumFaces, 0));
    list.items.reset(new (std::nothrow) ColorRGB[capacity > 0 ? capacity : 1]);
    if (!list.items)
    {
        ErrorMessage("Out of memory for a list of %u colours.", capacity);
        return;
    }
    list.capacity = capacity;
    for (int f = 0; f < mNumFaces; ++f)
    {
        const SimpleFace& face = mFaces[f];
        if (face.mFlags & (E::kTemp | E::kHidden))
            continue;
        ColorRGB color;
        ColorFromRGB(color, face.mColor);
        AddDistinctColor(list, color);
    }
}

VertexPair* SimplePoly::CollectEdges() const
{
    VertexPair* list = nullptr;
    bool ok = true;
    auto visible = [](const SimpleFace* f) { return f && !(f->mFlags & (E::kTemp | E::kHidden)); };
    if (!mEdges || mNumEdges <= 0)
    {
        const int color = int(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor));
        for (int f = 0; f < mNumFaces && ok; ++f)
        {
            const SimpleFace& face = mFaces[f];
            if (!visible(&face) || face.mNum <= 0)
                continue;
            for (int k = 0; k < face.mNum && ok; ++k)
            {
                const int a = SimpleVert::GetIndex(face.GetVert(k));
                const int b = SimpleVert::GetIndex(face.GetVert((k + 1) % face.mNum));
                if (a >= 0 && b >= 0)
                    ok = AddVertexPair(a, b, color, list);
            }
        }
    }
    else
    {
        for (int i = 0; i < mNumEdges && ok; ++i)
        {
            const SimpleEdge& edge = mEdges[i];
            if ((edge.mFlags & SimpleEdge::kHidden) || !(visible(edge.mFaces[0]) || visible(edge.mFaces[1])))
                continue;
            const int a = SimpleVert::GetIndex(edge.mVerts[0]);
            const int b = SimpleVert::GetIndex(edge.mVerts[1]);
            if (a >= 0 && b >= 0)
                ok = AddVertexPair(a, b, int(edge.mColor), list);
        }
    }
    if (!ok)
    {
        ErrorMessage("Out of memory for the list of edges.");
        FreeVertexPairs(list);
    }
    return list;
}

bool SimplePoly::HasImages() const
{
    if (!FaceImagesExist())
        return false;
    for (int f = 0; f < mNumFaces; ++f)
    {
        if (mFaces[f].mImage.Get())
            return true;
    }
    return false;
}
