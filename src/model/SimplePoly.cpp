#include "model/SimplePoly.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/Strings.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "model/ElementDisplayOptions.h"
#include "model/SymGroup.h"
#include "polytope4d/Polytope4D.h"

#include <cctype>
#include <cstring>
#include <new>
#include <utility>

namespace
{
// Moves an element's image to its new record, keeping the image placed by the moved element.
void MoveImage(SimpleElem& to, SimpleElem& from)
{
    FaceImage* image = from.mImage.Get();
    to.mImage.Set(image);
    from.mImage.Set(nullptr);
    if (image && image->mOwner == &from)
        image->mOwner = &to;
}

// A new model takes the model scale of the measurement settings.
double CurrentModelScale()
{
    return GetUnitSettings().GetScale();
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix)
    {
        if (std::tolower(static_cast<unsigned char>(*text)) != std::tolower(static_cast<unsigned char>(*prefix)))
            return false;
    }
    return true;
}

void StoreText(std::string& out, const char* text)
{
    if (IsBlank(text))
        out.clear();
    else
        out = text;
}

constexpr size_t kMaxNameLength = 127;  // longer names keep 124 characters and "..."
constexpr size_t kMaxNameParts = 60;    // base and prefix together; beyond it the base is generic
}  // namespace

// ---------------------------------------------------------------------------------------------
// Element records

SimpleElem::SimpleElem(uint32_t flags, uint32_t color, uint32_t backColor)
    : mFlags(flags), mColor(color), mBackColor(backColor), mNextOfType(this)
{
}

int SimpleElem::CountOfKind() const
{
    if (!mOwner)
        return 0;
    return IsFace() ? mOwner->mNumFaces : mOwner->mNumVerts;
}

SimpleElem* SimpleElem::ElementOfKind(int i) const
{
    if (!mOwner || i < 0 || i >= CountOfKind())
        return nullptr;
    if (IsFace())
        return &mOwner->mFaces[i];
    return &mOwner->mVerts[i];
}

int SimpleElem::GetIndex() const
{
    if (!mOwner)
        return -1;
    if (IsFace())
    {
        const SimpleFace* first = mOwner->mFaces.get();
        const SimpleFace* self = static_cast<const SimpleFace*>(this);
        if (!first || self < first || self >= first + mOwner->mFaceCapacity)
            return -1;
        return int(self - first);
    }
    const SimpleVert* first = mOwner->mVerts.get();
    const SimpleVert* self = static_cast<const SimpleVert*>(this);
    if (!first || self < first || self >= first + mOwner->mVertCapacity)
        return -1;
    return int(self - first);
}

void SimpleElem::SetText(const char* text)
{
    StoreText(mText, text);
}

void SimpleElem::CopyHeaderFrom(const SimpleElem& other)
{
    mFlags |= other.mFlags & kCopiedFlags;
    mColor = other.mColor;
    mBackColor = other.mBackColor;
    mOpacity = other.mOpacity;
    CloneImageFrom(other, 0);
    mText = other.mText;
}

void SimpleElem::CloneImageFrom(const SimpleElem& other, uint32_t skipMask)
{
    FaceImage* image = other.mImage.Get();
    if (!image)
    {
        mImage.Set(nullptr);
        return;
    }
    FaceImage* clone = FaceImage::CloneFor(image, nullptr, &mImage);
    if (!clone || image->mOwner != clone->mOwner)
        return;  // an earlier element already placed this clone
    if (image->mOwner == &other)
    {
        clone->mOwner = this;
        return;
    }
    // The image is placed by another element of the other model: take the element at the same
    // place here, counting only the elements that skipMask does not leave out.
    int place = 0;
    for (int i = 0; i < other.CountOfKind(); ++i)
    {
        const SimpleElem* e = other.ElementOfKind(i);
        if (e->mFlags & skipMask)
            continue;
        if (e == image->mOwner)
            break;
        ++place;
    }
    for (int i = 0; i < CountOfKind(); ++i)
    {
        SimpleElem* e = ElementOfKind(i);
        if ((e->mFlags & skipMask) == 0 && place-- == 0)
        {
            clone->mOwner = e;
            return;
        }
    }
}

SimpleVert::SimpleVert() : SimpleElem(0, 0x0080FF, 0xFF0080), mNextCoincident(this)
{
}

SimpleVert::~SimpleVert()
{
    if (mOwner)
        mOwner->mVertTree = nullptr;
}

SimpleFace* SimpleVert::GetFace(int k) const
{
    return static_cast<SimpleFace*>(mList[k]);
}

void SimpleVert::SetPosXYZ(double x, double y, double z)
{
    Vec3Set(mPos, x, y, z);
    if (mOwner)
        mOwner->InsertInTree(this);
}

void SimpleVert::SetPos(const Vec3D& pos)
{
    SetPosXYZ(pos.x, pos.y, pos.z);
}

int SimpleVert::CountLiveFaces() const
{
    int n = 0;
    for (int k = 0; k < mNum; ++k)
    {
        if (mList[k] && !(mList[k]->mFlags & kTemp))
            ++n;
    }
    return n;
}

bool SimpleVert::IsHidden() const
{
    if (mFlags & (kTemp | kHidden))
        return true;
    if (!GetElementDisplayOptions().mHideBetweenHiddenFaces)
        return false;
    for (int k = 0; k < mNum; ++k)
    {
        if (mList[k] && !(mList[k]->mFlags & (kTemp | kHidden)))
            return false;
    }
    return true;
}

bool SimpleVert::SamePos(const SimpleVert& other) const
{
    return Vec3Equal(mPos, other.mPos, kTol);
}

void SimpleVert::CopyFrom(const SimpleVert& other, bool withPosition)
{
    mUserData[0] = other.mUserData[0];
    mUserData[1] = other.mUserData[1];
    mSizeFactor = other.mSizeFactor;
    // The header first: a vertex at infinity must enter the search tree as one.
    CopyHeaderFrom(other);
    if (withPosition)
        SetPos(other.mPos);
}

void SimpleVert::MarkCoincident(uint32_t bits)
{
    SimpleVert* v = this;
    do
    {
        v->mFlags |= bits;
        v = v->mNextCoincident;
    } while (v && v != this);
}

void SimpleVert::UnmarkCoincident(uint32_t bits)
{
    SimpleVert* v = this;
    do
    {
        v->mFlags &= ~bits;
        v = v->mNextCoincident;
    } while (v && v != this);
}

SimpleFace::SimpleFace() : SimpleElem(kIsFace, 0x0000FF, 0x00FFFF), mNextCoincident(this)
{
}

int SimpleFace::GetLiveIndex() const
{
    const int index = GetIndex();
    if (index < 0 || index >= mOwner->mNumFaces)
        return -999;
    int live = 0;
    for (int i = 0; i < index; ++i)
    {
        if (!(mOwner->mFaces[i].mFlags & kTemp))
            ++live;
    }
    return (mFlags & kTemp) ? -live : live;
}

SimpleVert* SimpleFace::GetVert(int k) const
{
    return static_cast<SimpleVert*>(mList[k]);
}

void SimpleFace::SetNumVerts(int n, int density)
{
    mList.reset();
    mNum = 0;
    mDensity = density;
    if (n <= 0)
    {
        if (mOwner)
            mOwner->mFlags |= SimplePoly::kHasEmptyFaces;
        return;
    }
    mList.reset(new (std::nothrow) SimpleElem*[n]());
    if (!mList)
    {
        ErrorMessage("Out of memory for a face of %d vertices.", n);
        return;
    }
    mNum = n;
}

void SimpleFace::SetVert(int k, SimpleVert* vert)
{
    if (k < 0 || k >= mNum)
    {
        InternalError("SimpleFace::SetVert: index %d outside 0..%d", k, mNum - 1);
        return;
    }
    mList[k] = vert;
}

bool SimpleFace::SetVertByIndex(int k, int i)
{
    if (!mOwner)
        return false;
    SimpleVert* vert = mOwner->GetVert(i);
    if (!vert)
        return false;
    SetVert(k, vert);
    return true;
}

void SimpleFace::CopyFrom(const SimpleFace& other)
{
    mNormal = other.mNormal;
    CopyHeaderFrom(other);
}

int SimpleFace::CountCoincident() const
{
    int n = 0;
    const SimpleFace* f = this;
    do
    {
        ++n;
        f = f->mNextCoincident;
    } while (f && f != this);
    return n;
}

void SimpleFace::JoinCoincident(SimpleFace* other)
{
    if (!other || other == this)
        return;
    for (const SimpleFace* f = mNextCoincident; f != this; f = f->mNextCoincident)
    {
        if (f == other)
            return;
    }
    std::swap(mNextCoincident, other->mNextCoincident);
}

int SimpleFace::FindCoincidentVert(const SimpleVert* vert, int start) const
{
    if (!vert)
        return -1;
    for (int k = start + 1; k < mNum; ++k)
    {
        if (k >= 0 && mList[k] && GetVert(k)->SamePos(*vert))
            return k;
    }
    return -1;
}

SimpleEdge::SimpleEdge() : mColor(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor))
{
}

void SimpleEdge::SetText(const char* text)
{
    StoreText(mText, text);
}

// ---------------------------------------------------------------------------------------------
// Construction, strings and sizes

bool SimplePoly::CheckSize(int64_t numVerts, int64_t numFaces)
{
    if (numVerts >= 0 && numFaces >= 0 && numVerts <= kMaxElements && numFaces <= kMaxElements)
        return true;
    ErrorMessage("A model of %lld faces and %lld vertices is too large to be made.", (long long)numFaces,
                 (long long)numVerts);
    return false;
}

SimplePoly::SimplePoly(int numVerts, int numFaces) : mScale(CurrentModelScale())
{
    AllocateVerts(numVerts);
    AllocateFaces(numFaces);
}

SimplePoly::~SimplePoly()
{
    Clear();
}

bool SimplePoly::AllocateVerts(int n)
{
    mVertTree = nullptr;
    mVertGrid.Release();
    mVertGridStale = false;
    mVerts.reset();
    mNumVerts = mVertCapacity = 0;
    if (n <= 0)
        return true;
    mVerts.reset(new (std::nothrow) SimpleVert[n]);
    if (!mVerts)
    {
        ErrorMessage("Out of memory for a model of %d vertices.", n);
        return false;
    }
    for (int i = 0; i < n; ++i)
        mVerts[i].mOwner = this;
    mNumVerts = mVertCapacity = n;
    return true;
}

bool SimplePoly::AllocateFaces(int n)
{
    mSelectedFace = nullptr;
    mFaces.reset();
    mNumFaces = mFaceCapacity = 0;
    if (n <= 0)
        return true;
    mFaces.reset(new (std::nothrow) SimpleFace[n]);
    if (!mFaces)
    {
        ErrorMessage("Out of memory for a model of %d faces.", n);
        return false;
    }
    for (int i = 0; i < n; ++i)
        mFaces[i].mOwner = this;
    mNumFaces = mFaceCapacity = n;
    return true;
}

bool SimplePoly::AllocateEdges(int n)
{
    DropEdges();
    if (n <= 0)
        return true;
    mEdges.reset(new (std::nothrow) SimpleEdge[n]);
    if (!mEdges)
    {
        ErrorMessage("Out of memory for a model of %d edges.", n);
        return false;
    }
    mNumEdges = n;
    return true;
}

void SimplePoly::DropEdges()
{
    mEdges.reset();
    mNumEdges = 0;
}

void SimplePoly::InitFromPolytope4D(std::unique_ptr<Polytope4D> polytope, bool takeScale)
{
    Clear();
    mPolytope4D = std::move(polytope);
    mFlags |= kFrom4D;
    if (takeScale && mPolytope4D)
    {
        mScale *= mPolytope4D->mScale;
        mPolytope4D->mScale = 1.0;
    }
}

void SimplePoly::Clear()
{
    mPolytope4D.reset();
    mSymGroup.reset();
    DropEdges();
    AllocateFaces(0);
    AllocateVerts(0);
    mName.clear();
    mDualName.clear();
    mComments.clear();
    mLink.clear();
}

size_t SimplePoly::GetMemorySize(const SimplePoly* poly)
{
    if (!poly)
        return 0;
    size_t size = sizeof(SimplePoly) + SymGroup::GetByteSize(poly->mSymGroup.get());
    for (const std::string* s : {&poly->mName, &poly->mDualName, &poly->mComments, &poly->mLink})
    {
        if (!s->empty())
            size += s->size() + 1;
    }
    for (int i = 0; i < poly->mNumVerts; ++i)
        size += sizeof(SimpleVert) + size_t(poly->mVerts[i].mNum) * sizeof(SimpleElem*);
    for (int i = 0; i < poly->mNumFaces; ++i)
        size += sizeof(SimpleFace) + size_t(poly->mFaces[i].mNum) * sizeof(SimpleElem*);
    size += size_t(poly->mNumEdges) * sizeof(SimpleEdge);
    return size;
}

void SimplePoly::SetNameText(std::string& out, const char* base, const char* prefix, bool forcePrefix,
                             const char* defaultBase)
{
    out.clear();
    const bool blankPrefix = IsBlank(prefix);
    if (IsBlank(base))
    {
        if (blankPrefix)
            return;
        base = defaultBase;
    }
    if (!blankPrefix && std::strlen(base) + std::strlen(prefix) > kMaxNameParts)
        base = defaultBase;
    if (prefix && (forcePrefix || !StartsWithNoCase(base, prefix)))
        out = prefix;
    out += base;
    if (out.size() > kMaxNameLength)
    {
        out.resize(kMaxNameLength - 3);
        out += "...";
    }
}

void SimplePoly::SetName(const char* base, const char* prefix, bool forcePrefix)
{
    SetNameText(mName, base, prefix, forcePrefix, "Polyhedron");
}

void SimplePoly::SetDualName(const char* base, const char* prefix, bool forcePrefix)
{
    SetNameText(mDualName, base, prefix, forcePrefix, "Dual");
}

void SimplePoly::SetComments(const char* text)
{
    StoreText(mComments, text);
}

void SimplePoly::SetLink(const char* text)
{
    StoreText(mLink, text);
}

void SimplePoly::SetSymGroup(const SymGroup* group)
{
    mSymGroup = SymGroup::Copy(group);
}

// ---------------------------------------------------------------------------------------------
// Access and growth

SimpleVert* SimplePoly::GetVert(int i)
{
    if (i < 0)
    {
        InternalError("GetVert: vertIdx %d < 0", i);
        return nullptr;
    }
    if (i >= mNumVerts)
    {
        if (!(mFlags & kMayGrow))
        {
            InternalError("GetVert: vertIdx %d >= mNumVerts %d", i, mNumVerts);
            return nullptr;
        }
        DropEdges();
        if (!Grow(2 * i + 10, mNumFaces))
            return nullptr;
    }
    return &mVerts[i];
}

SimpleFace* SimplePoly::GetFace(int i)
{
    if (i < 0)
    {
        InternalError("GetFace: faceIdx %d < 0", i);
        return nullptr;
    }
    if (i >= mNumFaces)
    {
        if (!(mFlags & kMayGrow))
        {
            InternalError("GetFace: faceIdx %d >= mNumFaces %d", i, mNumFaces);
            return nullptr;
        }
        DropEdges();
        if (!Grow(mNumVerts, 2 * i + 10))
            return nullptr;
    }
    return &mFaces[i];
}

bool SimplePoly::Grow(int newNumVerts, int newNumFaces)
{
    // Edge records point at the records that move.
    if (newNumVerts > mNumVerts || newNumFaces > mNumFaces)
        DropEdges();
    return GrowVerts(newNumVerts) && GrowFaces(newNumFaces);
}

bool SimplePoly::GrowVerts(int newNumVerts)
{
    if (newNumVerts <= mNumVerts)
        return true;
    std::unique_ptr<SimpleVert[]> grown(new (std::nothrow) SimpleVert[newNumVerts]);
    if (!grown)
    {
        ErrorMessage("Out of memory for a model of %d vertices.", newNumVerts);
        return false;
    }
    SimpleVert* old = mVerts.get();
    const int oldCount = mNumVerts;
    for (int i = 0; i < newNumVerts; ++i)
        grown[i].mOwner = this;
    auto remap = [&](SimpleVert* v, SimpleVert* otherwise) -> SimpleVert* {
        const ptrdiff_t i = v - old;
        return i >= 0 && i < newNumVerts ? &grown[i] : otherwise;
    };

    mVertTree = nullptr;
    for (int i = 0; i < oldCount; ++i)
    {
        SimpleVert& from = old[i];
        SimpleVert& to = grown[i];
        to.mPos = from.mPos;
        to.mFlags = from.mFlags & ~SimpleElem::kInTree;
        to.mId = from.mId;
        to.mNum = from.mNum;
        to.mList = std::move(from.mList);
        from.mNum = 0;
        to.mColor = from.mColor;
        to.mBackColor = from.mBackColor;
        to.mOpacity = from.mOpacity;
        MoveImage(to, from);
        to.mText = std::move(from.mText);
        to.mUserData[0] = from.mUserData[0];
        to.mUserData[1] = from.mUserData[1];
        to.mSizeFactor = from.mSizeFactor;
        to.mNextOfType = remap(static_cast<SimpleVert*>(from.mNextOfType), &to);
        to.mNextCoincident = remap(from.mNextCoincident, &to);
        if (from.mFlags & SimpleElem::kInTree)
            InsertInTree(&to);
    }
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            if (face.mList[k])
                face.mList[k] = remap(static_cast<SimpleVert*>(face.mList[k]), nullptr);
        }
    }
    // The old records must not empty the tree just rebuilt.
    for (int i = 0; i < mVertCapacity; ++i)
        old[i].mOwner = nullptr;
    mVerts = std::move(grown);
    mNumVerts = mVertCapacity = newNumVerts;
    return true;
}

bool SimplePoly::GrowFaces(int newNumFaces)
{
    if (newNumFaces <= mNumFaces)
        return true;
    std::unique_ptr<SimpleFace[]> grown(new (std::nothrow) SimpleFace[newNumFaces]);
    if (!grown)
    {
        ErrorMessage("Out of memory for a model of %d faces.", newNumFaces);
        return false;
    }
    SimpleFace* old = mFaces.get();
    const int oldCount = mNumFaces;
    const int selected = SimpleFace::GetIndex(mSelectedFace);
    for (int i = 0; i < newNumFaces; ++i)
        grown[i].mOwner = this;
    auto remap = [&](SimpleFace* f, SimpleFace* otherwise) -> SimpleFace* {
        const ptrdiff_t i = f - old;
        return i >= 0 && i < newNumFaces ? &grown[i] : otherwise;
    };
    for (int i = 0; i < oldCount; ++i)
    {
        SimpleFace& from = old[i];
        SimpleFace& to = grown[i];
        to.mNum = from.mNum;
        to.mList = std::move(from.mList);
        from.mNum = 0;
        to.mDensity = from.mDensity;
        to.mRots = from.mRots;
        to.mFlags = from.mFlags;
        to.mId = from.mId;
        to.mColor = from.mColor;
        to.mBackColor = from.mBackColor;
        to.mOpacity = from.mOpacity;
        MoveImage(to, from);
        to.mText = std::move(from.mText);
        to.mNormal = from.mNormal;
        to.mNextOfType = remap(static_cast<SimpleFace*>(from.mNextOfType), &to);
        to.mNextCoincident = remap(from.mNextCoincident, &to);
    }
    for (int v = 0; v < mNumVerts; ++v)
    {
        SimpleVert& vert = mVerts[v];
        for (int k = 0; k < vert.mNum; ++k)
        {
            if (vert.mList[k])
                vert.mList[k] = remap(static_cast<SimpleFace*>(vert.mList[k]), nullptr);
        }
    }
    mFaces = std::move(grown);
    mNumFaces = mFaceCapacity = newNumFaces;
    mSelectedFace = selected >= 0 && selected < oldCount ? &mFaces[selected] : nullptr;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The vertex search tree

int SimplePoly::CompareVertPos(const Vec3D& point, bool pointIsInf, const SimpleVert& vert, double tol)
{
    const bool vertIsInf = (vert.mFlags & SimpleElem::kInf) != 0;
    if (pointIsInf != vertIsInf)
        return pointIsInf ? 1 : -1;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (point[axis] < vert.mPos[axis] - tol)
            return -1;
        if (point[axis] > vert.mPos[axis] + tol)
            return 1;
    }
    return 0;
}

SimpleVertGrid& SimplePoly::VertGrid()
{
    if (!mVertTree)
    {
        mVertGrid.Clear();
        mVertGridStale = false;
    }
    else if (mVertGridStale)
    {
        mVertGridStale = false;
        mVertGrid.Clear();
        mVertGrid.Reserve(size_t(mVertCapacity));
        for (int i = 0; i < mVertCapacity; ++i)
        {
            SimpleVert& v = mVerts[i];
            if ((v.mFlags & SimpleElem::kInTree) && !mVertGrid.Insert(&v))
                v.mFlags &= ~SimpleElem::kInTree;
        }
    }
    return mVertGrid;
}

void SimplePoly::InsertInTree(SimpleVert* vert)
{
    TraceScope scope("InsertInTree");
    if (!vert || (vert->mFlags & SimpleElem::kInTree))
        return;
    SimpleVertGrid& grid = VertGrid();
    // Builders enter most of the records they allocate: room for them all saves growing.
    if (!mVertTree)
        grid.Reserve(size_t(mVertCapacity));
    if (!grid.Insert(vert))
        return;
    if (!mVertTree)
        mVertTree = vert;
    vert->mFlags |= SimpleElem::kInTree;
}

SimpleVert* SimplePoly::FindOrCreateVert(const Vec3D& pos, int& nextIndex, bool inf)
{
    TraceScope scope("FindOrCreateVert");
    if (SimpleVert* found = VertGrid().Find(pos, inf, kTol))
        return found;
    SimpleVert* vert = GetVert(nextIndex);
    if (!vert)
        return nullptr;
    ++nextIndex;
    if (inf)
        vert->mFlags |= SimpleElem::kInf;
    vert->SetPos(pos);
    return vert;
}
