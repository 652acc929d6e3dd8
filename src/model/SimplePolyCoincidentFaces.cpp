#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UserServices.h"
#include "model/CanonicalNormal.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <new>
#include <vector>

namespace
{
using E = SimpleElem;

bool HasAllCorners(const SimpleFace& face)
{
    if (face.mNum <= 0)
        return false;
    for (int k = 0; k < face.mNum; ++k)
    {
        if (!face.mList[k])
            return false;
    }
    return true;
}

// A face as the coincidence search sorts it.
struct FaceKey
{
    SimpleFace* face;
    Vec3D normal;  // canonical
    Vec3D centroid;
    int index;
};

bool CoincidenceBefore(const FaceKey& a, const FaceKey& b)
{
    if (a.face->mNum != b.face->mNum)
        return a.face->mNum < b.face->mNum;
    if (const int c = Vec3Compare(a.normal, b.normal, kTol))
        return c < 0;
    if (const int c = Vec3Compare(a.centroid, b.centroid, kTol))
        return c < 0;
    return a.index < b.index;
}

// Corner k of one face lies where corner (start + dir * k) mod n of the other lies.
struct Pairing
{
    int start = 0;
    int dir = 1;

    int Of(int k, int n) const { return ((start + dir * k) % n + n) % n; }
};

bool SamePlane(const SimpleFace& s, const SimpleFace& r)
{
    return WithinTol(Vec3Dot(s.mNormal, s.GetVert(0)->mPos), Vec3Dot(s.mNormal, r.GetVert(0)->mPos), kTol);
}

// Whether the two faces lie in one place as polygons, and how their corners pair up.
bool FacesCoincide(const SimpleFace& s, const SimpleFace& r, Pairing& pairing)
{
    const int n = s.mNum;
    if (r.mNum != n || !HasAllCorners(s) || !HasAllCorners(r))
        return false;
    if (!Vec3Equal(s.mNormal, r.mNormal, kTol) && !Vec3EqualNeg(s.mNormal, r.mNormal, kTol))
        return false;
    if (!SamePlane(s, r) || !Vec3Equal(s.GetCentroid(), r.GetCentroid(), kTol))
        return false;
    for (int start = 0; start < n; ++start)
    {
        if (!r.GetVert(start)->SamePos(*s.GetVert(0)))
            continue;
        for (int dir : {1, -1})
        {
            const Pairing p{start, dir};
            bool all = true;
            for (int k = 1; k < n && all; ++k)
                all = r.GetVert(p.Of(k, n))->SamePos(*s.GetVert(k));
            if (all)
            {
                pairing = p;
                return true;
            }
        }
    }
    return false;
}

void ReplaceCorner(SimpleElem& face, const SimpleVert* from, SimpleVert* to)
{
    for (int c = 0; c < face.mNum; ++c)
    {
        if (face.mList[c] == from)
            face.mList[c] = to;
    }
}

// Each corner of s and the corner of r paired with it become one vertex: the live one, or of two
// the lower record. Its faces are its own live ones and then the other's, relinked to it; the
// paired faces are relinked too, since a face coming back is in no vertex's list.
bool MergePairedCorners(SimpleFace& s, SimpleFace& r, const Pairing& pairing, uint32_t mark, uint32_t mask)
{
    const int n = s.mNum;
    for (int k = 0; k < n; ++k)
    {
        SimpleVert* a = s.GetVert(k);
        SimpleVert* b = r.GetVert(pairing.Of(k, n));
        if (!a || !b || a == b)
            continue;
        const bool aLive = !(a->mFlags & mask), bLive = !(b->mFlags & mask);
        SimpleVert* keep = aLive != bLive ? (aLive ? a : b) : std::min(a, b);
        SimpleVert* other = keep == a ? b : a;
        other->mFlags |= mark;

        std::vector<SimpleElem*> faces;
        for (int i = 0; i < keep->mNum; ++i)
        {
            if (keep->mList[i] && !(keep->mList[i]->mFlags & mask))
                faces.push_back(keep->mList[i]);
        }
        for (int i = 0; i < other->mNum; ++i)
        {
            SimpleElem* face = other->mList[i];
            if (!face || (face->mFlags & mask))
                continue;
            ReplaceCorner(*face, other, keep);
            faces.push_back(face);
        }
        ReplaceCorner(s, other, keep);
        ReplaceCorner(r, other, keep);

        std::unique_ptr<SimpleElem*[]> list(new (std::nothrow) SimpleElem*[std::max<size_t>(faces.size(), 1)]);
        if (!list)
        {
            ErrorMessage("Out of memory for the faces of vertex %d.", keep->GetIndex());
            return false;
        }
        std::copy(faces.begin(), faces.end(), list.get());
        keep->mList = std::move(list);
        keep->mNum = int(faces.size());
        other->mList.reset();
        other->mNum = 0;
    }
    return true;
}

// Yes, No or Cancel to removing the coincident faces found.
int AskAboutCoincidentFaces(bool inPairs)
{
    return ShowMessage(kMbYesNoCancel | kMbIconQuestion, "There are some coincident faces.\n%s",
                       inPairs ? "Shall I remove these in pairs?" : "Shall I remove all but one of these?");
}

void MarkVertsWithoutFaces(SimplePoly& poly, uint32_t mark)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        if (poly.mVerts[i].mNum == 0)
            poly.mVerts[i].mFlags |= mark;
    }
}
}  // namespace

bool SimplePoly::RemoveAllCoincidentFaces(int mode, bool ask, uint32_t mark)
{
    if (StandsFor4D())
        return true;
    TraceScope trace("RemoveAllCoincidentFaces");
    const uint32_t mask = mark | E::kTemp;
    trace.SetStep("SetNormals");
    SetNormals(true);
    std::vector<FaceKey> sorted;
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if (!(face.mFlags & mask) && HasAllCorners(face))
            sorted.push_back(FaceKey{&face, CanonicalNormal(face.mNormal), face.GetCentroid(), f});
    }
    trace.SetStep("qsort");
    std::stable_sort(sorted.begin(), sorted.end(), CoincidenceBefore);

    trace.SetStep("Main part");
    bool removed = false;
    for (size_t i = 0; i < sorted.size(); ++i)
    {
        SimpleFace& s = *sorted[i].face;
        if (s.mFlags & mask)
            continue;
        for (size_t j = i + 1; j < sorted.size(); ++j)
        {
            SimpleFace& r = *sorted[j].face;
            if (r.mFlags & mask)
                continue;
            // Candidates are neighbours in the sorted order: the first that differs ends the run.
            if (r.mNum != s.mNum || Vec3Compare(sorted[j].normal, sorted[i].normal, kTol) != 0 || !SamePlane(s, r) ||
                Vec3Compare(sorted[j].centroid, sorted[i].centroid, kTol) != 0)
                break;
            trace.SetStep("Full test");
            Pairing pairing;
            if (!FacesCoincide(s, r, pairing))
                continue;
            if (!removed)
            {
                if (ask)
                {
                    const int answer = AskAboutCoincidentFaces(mode == 0);
                    if (answer == kIdCancel)
                        return false;
                    if (answer == kIdNo)
                        return true;
                }
                trace.SetStep("CreateVertexFaceLists");
                CreateVertexFaceLists(false);
                mFlags &= ~kSortedFaceLists;
                removed = true;
            }
            if (mode == 0)
                s.mFlags |= mark;
            r.mFlags |= mark;
            trace.SetStep("Merge surrounding vertices");
            if (!MergePairedCorners(s, r, pairing, mark, mask))
                return true;
            if (mode == 0)
                break;  // one partner per face
        }
    }
    if (removed)
    {
        trace.SetStep("Post");
        CreateVertexFaceLists(true);
        MarkVertsWithoutFaces(*this, mark);
    }
    return true;
}

bool RemoveCoincidentFaces(SimplePoly& poly, int firstFace, int firstVert, int limit, bool ask, uint32_t mark)
{
    if (poly.StandsFor4D() || firstFace <= 0 || firstFace >= poly.mNumFaces)
        return true;
    TraceScope trace("RemoveCoincidentFaces");
    const uint32_t mask = mark | E::kTemp;
    // The model's faces keep the normals they have; those still without one get it.
    poly.SetNormals(false);
    poly.SetNormals(true, firstFace);

    // The added part lies on the side of the plane D.v = h that D points to.
    Vec3D sum;
    int added = 0;
    for (int f = firstFace; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if ((face.mFlags & mask) || !HasAllCorners(face))
            continue;
        ++added;
        Vec3AddTo(sum, face.GetVertexSum());
    }
    Vec3D dir = sum;
    if (Vec3IsZero(sum, kTol))
        dir.x = 1.0;
    Vec3Normalize(dir);
    double h = 0.0;
    bool anyCorner = false;
    for (int f = firstFace; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            if (!face.mList[k])
                continue;
            const double d = Vec3Dot(dir, face.GetVert(k)->mPos);
            h = anyCorner ? std::min(h, d) : d;
            anyCorner = true;
        }
    }
    if (!anyCorner)
        return true;

    struct Pair
    {
        int r;
        int s;
        Pairing pairing;
    };
    std::vector<Pair> pairs;
    for (int ri = 0; ri < firstFace; ++ri)
    {
        const SimpleFace& r = poly.mFaces[ri];
        if (!HasAllCorners(r))
            continue;
        bool onSide = true;
        for (int k = 0; k < r.mNum && onSide; ++k)
            onSide = Vec3Dot(dir, r.GetVert(k)->mPos) - h >= -kTol;
        if (!onSide)
            continue;
        for (int si = firstFace; si < poly.mNumFaces; ++si)
        {
            SimpleFace& s = poly.mFaces[si];
            Pairing pairing;
            if ((s.mFlags & mask) || s.mNum != r.mNum || !FacesCoincide(s, r, pairing))
                continue;
            if (pairs.empty() && ask)
            {
                const int answer = AskAboutCoincidentFaces(true);
                if (answer == kIdCancel)
                    return false;
                if (answer == kIdNo)
                    return true;
            }
            pairs.push_back(Pair{ri, si, pairing});
            s.mFlags |= mark;
            break;
        }
    }

    bool remove = int(pairs.size()) != added;
    for (const Pair& p : pairs)
        remove = remove || (!(poly.mFaces[p.r].mFlags & mask) && p.r < limit);
    if (!remove)
    {
        // Every added face lies on a removed face or on one the caller keeps: the part goes.
        for (const Pair& p : pairs)
            poly.mFaces[p.s].mFlags |= E::kTemp;
        for (int i = std::max(firstVert, 0); i < poly.mNumVerts; ++i)
            poly.mVerts[i].mFlags |= mark | E::kTemp;
        return true;
    }

    trace.SetStep("CreateVertexFaceLists");
    poly.CreateVertexFaceLists(false);
    poly.mFlags &= ~SimplePoly::kSortedFaceLists;
    for (const Pair& p : pairs)
    {
        SimpleFace& r = poly.mFaces[p.r];
        if (r.mFlags & mask)
            r.mFlags &= ~mask;  // a face removed earlier comes back
        else
            r.mFlags |= mark;
    }
    trace.SetStep("Merge surrounding vertices");
    for (const Pair& p : pairs)
    {
        if (!MergePairedCorners(poly.mFaces[p.s], poly.mFaces[p.r], p.pairing, mark, mask))
            break;
    }
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if (face.mFlags & mask)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            if (face.mList[k])
                face.mList[k]->mFlags &= ~mask;
        }
    }
    poly.CreateVertexFaceLists(true);
    MarkVertsWithoutFaces(poly, mark);
    return true;
}
