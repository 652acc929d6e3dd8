// Reading a scene: the model's items ("Poly", "VertexFaces", "EmptyFaceNormals", "Tope") and the
// building of the model when "Scale" is read.

#include "library/SceneReadState.h"

#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/TemplateMatching.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
// The least bytes an index or count takes in ASCII ("0" and a separator) and in binary.
int64_t IntBytes(const ioFile* f)
{
    return f->mMode == kIoAscii ? 2 : 4;
}

// ASCII keeps a coordinate as two words of at least a digit and a separator each.
int64_t CoordBytes(const ioFile* f)
{
    return f->mMode == kIoAscii ? 4 : 8;
}

// Whether the rest of the stream can hold count items of itemBytes bytes each.
bool Holds(const ioFile* f, int64_t count, int64_t itemBytes)
{
    if (count < 0)
        return false;
    const int64_t left = ioBytesLeft(f);
    return left < 0 || count <= left / itemBytes;
}

double ReadCoordinate(ioFile* f)
{
    if (f->mMode != kIoAscii)
        return ioReadDouble(f);
    // The double's bits as two words, low first, so that ASCII keeps every bit.
    const uint64_t low = ioReadUInt(f);
    const uint64_t high = ioReadUInt(f);
    const uint64_t bits = low | (high << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Polygons of more sides than this make no model a file could describe: a damaged configuration
// would otherwise ask the matching for millions of vertices.
constexpr long kMaxTemplateSides = 10000;

bool HasHugeNumber(const std::string& text)
{
    for (const char* p = text.c_str(); *p;)
    {
        if (*p < '0' || *p > '9')
        {
            ++p;
            continue;
        }
        long n = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            if (n <= kMaxTemplateSides)
                n = n * 10 + (*p - '0');
        if (n > kMaxTemplateSides)
            return true;
    }
    return false;
}

// The count filter of the chooser narrows lookups by their counts; a file names its model whatever
// the chooser last looked for.
class CountFilterPause
{
public:
    CountFilterPause() : mSaved(GetLibraryCountFilter()) { GetLibraryCountFilter().Reset(); }
    ~CountFilterPause() { GetLibraryCountFilter() = mSaved; }
    CountFilterPause(const CountFilterPause&) = delete;
    CountFilterPause& operator=(const CountFilterPause&) = delete;

private:
    LibraryCountFilter mSaved;
};
}  // namespace

std::unique_ptr<SimplePoly> ReadSimplePoly(ioFile* f)
{
    const int numVerts = ioReadInt(f);
    const int numFaces = ioReadInt(f);
    if (f->mValueMissing || numVerts <= 0 || numFaces <= 0)
        return nullptr;
    // Three coordinates a vertex and at least a count a face: counts the data cannot fill are refused
    // before anything is made for them.
    const int64_t needed = int64_t(numVerts) * 3 * CoordBytes(f) + int64_t(numFaces) * IntBytes(f);
    const int64_t left = ioBytesLeft(f);
    if (left >= 0 && needed > left)
        return nullptr;
    auto simple = std::make_unique<SimplePoly>(numVerts, numFaces);
    if (simple->mNumVerts != numVerts || simple->mNumFaces != numFaces)
        return nullptr;
    for (int i = 0; i < numVerts; ++i)
    {
        Vec3D p;
        p.x = ReadCoordinate(f);
        p.y = ReadCoordinate(f);
        p.z = ReadCoordinate(f);
        if (f->mValueMissing || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return nullptr;
        simple->mVerts[i].SetPos(p);
    }
    for (int i = 0; i < numFaces; ++i)
    {
        SimpleFace& face = simple->mFaces[i];
        const int n = ioReadInt(f);
        if (f->mValueMissing || n < 0 || !Holds(f, n, IntBytes(f)))
            return nullptr;
        face.SetNumVerts(n);
        if (n > 0 && face.mNum != n)
            return nullptr;
        for (int k = 0; k < n; ++k)
        {
            const int index = ioReadInt(f);
            if (f->mValueMissing || index < 0 || index >= numVerts)
                return nullptr;
            face.SetVert(k, &simple->mVerts[index]);
        }
    }
    return simple;
}

bool ReadVertexFaceOrder(ioFile* f, SimplePoly* simplePoly)
{
    if (!simplePoly)
        return false;
    SimplePoly& s = *simplePoly;
    s.CreateVertexFaceLists(false);
    if (!(s.mFlags & SimplePoly::kHasVertFaceLists))
        return false;
    s.mFlags |= SimplePoly::kSortedFaceLists;
    bool ok = true;
    std::vector<SimpleElem*> order;
    for (int v = 0; v < s.mNumVerts; ++v)
    {
        SimpleVert& vert = s.mVerts[v];
        const int count = ioReadInt(f);
        if (f->mValueMissing || count < 0 || !Holds(f, count, IntBytes(f)))
            return false;
        if (ok && count != vert.mNum)
        {
            ioError(f, 1, "Number of faces for vertex %d doesn't match", v);
            ok = false;
        }
        order.clear();
        for (int k = 0; k < count; ++k)
        {
            const int index = ioReadInt(f);
            if (!ok)
                continue;
            // Only the faces around the vertex, each once: anything else would leave a face whose
            // corner does not know it.
            SimpleElem* face = index >= 0 && index < s.mNumFaces ? &s.mFaces[index] : nullptr;
            const bool around = face && vert.IndexInList(face, -1) >= 0;
            const bool again = std::find(order.begin(), order.end(), face) != order.end();
            if (!around || again)
            {
                ok = false;
                continue;
            }
            order.push_back(face);
        }
        if (f->mValueMissing)
            return false;
        if (ok)
            std::copy(order.begin(), order.end(), vert.mList.get());
    }
    return ok;
}

bool ReadEmptyFaceNormals(ioFile* f, SimplePoly* simplePoly)
{
    if (!simplePoly)
        return false;
    for (int i = 0; i < simplePoly->mNumFaces; ++i)
    {
        SimpleFace& face = simplePoly->mFaces[i];
        if (face.mNum > 0)
            continue;
        const int throughCentre = ioReadInt(f);
        Vec3D normal;
        ioReadVec3(f, normal);
        if (f->mValueMissing || !std::isfinite(normal.x) || !std::isfinite(normal.y) || !std::isfinite(normal.z))
            return false;
        if (throughCentre)
            face.mFlags |= SimpleElem::kPlaneThroughCentre;
        face.mNormal = normal;
    }
    return true;
}

void SceneReader::ReadPoly()
{
    mSimplePoly = ReadSimplePoly(F());
    if (!mSimplePoly)
        Corrupt();
}

void SceneReader::ReadVertexFaces()
{
    if (!mSimplePoly)
        return;
    const int errors = mErrors;
    if (!ReadVertexFaceOrder(F(), mSimplePoly.get()))
    {
        if (mErrors == errors)
            Corrupt();
        mOk = false;
    }
}

void SceneReader::ReadEmptyNormals()
{
    if (mSimplePoly && !ReadEmptyFaceNormals(F(), mSimplePoly.get()))
        Corrupt();
}

void SceneReader::ReadTope()
{
    ioFile* f = F();
    const int numVerts = ioReadInt(f);
    const int numFaces = ioReadInt(f);
    const int numCells = ioReadInt(f);
    if (f->mValueMissing || numVerts <= 0 || numFaces <= 0 || numCells <= 0 ||
        !Holds(f, int64_t(numVerts) * 4 * CoordBytes(f) + (int64_t(numFaces) + numCells) * IntBytes(f), 1))
    {
        Corrupt();
        return;
    }
    auto tope = std::make_unique<SceneTope>();
    tope->coords.resize(size_t(numVerts) * 4);
    for (double& c : tope->coords)
        if (!std::isfinite(c = ReadCoordinate(f)))
        {
            Corrupt();
            return;
        }
    // Faces name vertices and cells name faces: each index must be in its list.
    auto readLists = [&](std::vector<std::vector<int32_t>>& lists, int count, int bound) {
        lists.resize(size_t(count));
        for (std::vector<int32_t>& list : lists)
        {
            const int n = ioReadInt(f);
            if (f->mValueMissing || n < 0 || !Holds(f, n, IntBytes(f)))
                return false;
            list.resize(size_t(n));
            for (int32_t& index : list)
            {
                index = ioReadInt(f);
                if (index < 0 || index >= bound)
                    return false;
            }
        }
        return !f->mValueMissing;
    };
    if (!readLists(tope->faces, numFaces, numVerts) || !readLists(tope->cells, numCells, numFaces))
    {
        Corrupt();
        return;
    }
    mTope = std::move(tope);
}

FaceVert* SceneReader::Element(ElemList& list, int index)
{
    std::vector<FaceVert*>& elements = mElements[&list == &mPoly->mFaces ? 0 : 1];
    if (int(elements.size()) != list.mCount)
    {
        elements.clear();
        elements.reserve(size_t(list.mCount));
        for (FaceVert* e = list.mFirst; e; e = e->mNext)
            elements.push_back(e);
    }
    return index >= 0 && index < int(elements.size()) ? elements[size_t(index)] : nullptr;
}

bool SceneReader::BuildFromSimplePoly()
{
    std::unique_ptr<SimplePoly> simple = std::move(mSimplePoly);
    const LibraryEntry* entry = nullptr;
    if (!IsBlank(mVertexDescription))
    {
        CountFilterPause unfiltered;
        entry = FindLibraryEntry(mVertexDescription.c_str(), nullptr, false);
        // A file's own entry names the file, not this model.
        if (entry && (entry->mFlags & LibraryEntry::kFileEntry))
            entry = nullptr;
    }
    simple->mFlags |= SimplePoly::kKeepOrientation | SimplePoly::kKeepCentre;
    // The file's colours come after the model: the analysis colours it meanwhile.
    if (!CreatePoly(simple.get(), mPoly, false, false))
        return false;
    if (mPoly->mFlags & Poly::kRetroFailed)
    {
        simple->CreateVertexFaceLists(true);
        if (!CreatePoly(simple.get(), mPoly, false, false))
            return false;
    }
    mPoly->SetFromLibraryEntry(entry);
    return true;
}

bool SceneReader::BuildFromTemplate()
{
    if (!mTemplate || IsBlank(mVertexDescription) || HasHugeNumber(mVertexDescription))
        return false;
    if (!mTemplate->Parse(mVertexDescription.c_str()))
        return false;
    ioFile* f = F();
    if (ioCompareVersion(f, 4, 4) < 0)
        mOldStyleAxes = true;
    if (ioCompareVersion(f, 4, 5) < 0)
        mReorderUniFaces = false;
    uint32_t flags = 0;
    if (mOldStyleAxes || mVariation)
        flags |= Poly::kOldStyleAxes;
    if (!mReorderUniFaces || mVariation)
        flags |= Poly::kDontReorderUniFaces;
    if (!mPoly->PrepareFromTemplate(mTemplate, flags))
        return false;
    if (mReorderUniFaces)
        mPoly->mFlags &= ~Poly::kDontReorderUniFaces;
    if (!mOldStyleAxes)
        mPoly->mFlags &= ~Poly::kOldStyleAxes;
    // The file's model took the matching's other branch.
    if (mVariation && (!TakeBranch(*mPoly) || !mPoly->SolveMatching()))
        return false;
    mPoly->mVariation = mVariation;
    return true;
}

bool SceneReader::BuildModel()
{
    Shell& shell = GetShell();
    if (mLayoutApplied)
        mPoly->SetShowDual(mCurrentIsDual);
    const int activeType = shell.ViewTypeCode(shell.ActiveView());
    if (ViewTypeHasAll(activeType, kViewFamilyBaseOnly))
        mPoly->SetShowDual(false);
    else if (ViewTypeHasAll(activeType, kViewFamilyDualOnly))
        mPoly->SetShowDual(true);

    mModelSeen = true;
    mModelBuilt = false;
    if (mTope)
    {
        ReportError("'%s'\n4D polytopes cannot be opened from model files yet.", mPath.c_str());
        return false;
    }
    const bool built = mSimplePoly ? BuildFromSimplePoly() : BuildFromTemplate();
    mSimplePoly.reset();
    if (!built)
        return false;
    mModelBuilt = true;
    mElements[0].clear();
    mElements[1].clear();

    if (!(mOptions & kSceneModelOnly))
    {
        if (mConvex)
            mPoly->mFlags |= Poly::kConvex;
        if (mRadiallyConvex)
            mPoly->mFlags |= Poly::kRadiallyConvex;
        if (mNonSelfIntersecting)
            mPoly->mFlags |= Poly::kNonSelfIntersecting;
        if (mSubSymmetry[0] > 0 || mSubSymmetry[1] > 0)
        {
            int rotational = mSubSymmetry[0];
            int reflective = mSubSymmetry[1];
            // Before 8.10 the octahedral subgroups were listed in another order.
            const SymGroup* group = mPoly->GetSymGroup();
            if (ioCompareVersion(F(), 8, 10) < 0 && group && group->mKind == SymGroup::kOctahedral)
            {
                if (rotational == 8)
                    rotational = 4;
                else if (rotational >= 4 && rotational <= 7)
                    ++rotational;
            }
            // A choice the group does not have leaves the full group.
            if (rotational >= 0 && reflective >= 0)
                mPoly->SetSymmetry(rotational, reflective);
        }
        mPoly->SetSpringDesc(mSpringDesc);
    }
    return true;
}

bool ReadScene(SceneStreams& streams, const char* path, Poly* poly, PolyTemplate* templ, int options,
               SceneFileInfo* info)
{
    if (!streams.outer || !poly)
        return false;
    SceneFileInfo unused;
    SceneReader reader(streams, path, poly, templ, options, info ? *info : unused);
    return reader.Read();
}
