#include "model/FaceTypeAnalysis.h"

#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "library/LibraryEntry.h"
#include "model/CompoundPart.h"
#include "model/CoplanarFaces.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "stellation/FaceTypePreparation.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr uint32_t kPrePassMark = FaceVert::kVisitMark;  // 0x100
constexpr double kOneOverFourPi = 0.07957747154594767;

int Wrap(int k, int n)
{
    k %= n;
    return k < 0 ? k + n : k;
}

template <class Fn>
void ForEachType(Stellation* stellation, Fn fn)
{
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        fn(t);
}

// Snub forms: the faces of one id that come in two mirror-image classes get the mirror bit on the
// second class.
void SplitChiralClasses(Poly& poly)
{
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        if (f->mFlags & kPrePassMark)
            continue;
        f->mFlags |= kPrePassMark;
        if (f->mNumSides != 3 && f->mNumSides != 5)
            continue;
        const int32_t id = f->mIdFlags;
        int count = 1;
        for (FaceVert* g = f->mNext; g; g = g->mNext)
            if (g->mIdFlags == id)
            {
                g->mFlags |= kPrePassMark;
                ++count;
            }
        if (count == 24 || count == 40)
        {
            for (FaceVert* g = f; g; g = g->mNext)
            {
                if (g->mIdFlags != id)
                    continue;
                const FaceVert* v = g->mNeighbours[0];
                if (!v)
                    continue;
                const FaceVert* other = nullptr;
                for (int k = 0; k < v->mNumSides && !other; ++k)
                {
                    const FaceVert* h = v->mNeighbours[k];
                    if (h && h != g && (h->mIdFlags & ~FaceVert::kMirrorId) == id)
                        other = h;
                }
                if (!other)
                    continue;
                Vec3D cross;
                Vec3Cross(cross, g->mCentre, other->mCentre);
                if (Vec3Dot(cross, v->mPoint) < 0.0)
                    g->mIdFlags |= FaceVert::kMirrorId;
            }
        }
        else if (count == 120)
        {
            // The corners are compared in the turning sense of the face about its outer normal: a
            // face made as {3/2} lists them the other way round.
            const Face* first = static_cast<const Face*>(f);
            const int m0 = first->GetMatchIdAt(0);
            const int m1 = first->GetMatchIdAt(1);
            for (FaceVert* g = f->mNext; g; g = g->mNext)
            {
                if (g->mIdFlags != id)
                    continue;
                const Face* face = static_cast<const Face*>(g);
                int k = 0;
                while (k < 3 && face->GetMatchIdAt(k) != m0)
                    ++k;
                if (k == 3)
                {
                    InternalError("SetFaceTypes: Couldn't find match id");
                    k = 0;
                }
                k = face->mDensity == first->mDensity ? (k + 1) % 3 : (k + 2) % 3;
                if (face->GetMatchIdAt(k) != m1)
                    g->mIdFlags |= FaceVert::kMirrorId;
            }
        }
    }
    poly.ClearElementFlags(kPrePassMark);
}

// One new face type per run of equal ids, the runs taken in id order (ties by list order).
void CreateTypesById(Poly& poly, ElemList& list, Stellation* stellation)
{
    std::vector<FaceVert*> elements;
    for (FaceVert* e = list.mFirst; e; e = e->mNext)
        elements.push_back(e);
    std::stable_sort(elements.begin(), elements.end(),
                     [](const FaceVert* a, const FaceVert* b) { return a->mIdFlags < b->mIdFlags; });
    FaceType* type = nullptr;
    int index = 0;
    for (FaceVert* e : elements)
    {
        if (!type || type->mTypeId != e->mIdFlags)
            type = stellation->AppendFaceType(std::make_unique<FaceType>(&poly, stellation, e->mIdFlags, index++));
        type->AddFace(e);
    }
}

void FindCoplanarMasters(Stellation* stellation, bool groupGiven)
{
    int index = 0;
    ForEachType(stellation, [&](FaceType* t) {
        if (!groupGiven)
            t->mFlags &= ~0x10000u;
        t->mCoplanarSource = nullptr;
        const FaceVert* first = t->mFirstFace;
        if (first && first->mNextCoplanar)
        {
            for (const FaceVert* e = first->mNextCoplanar; e && e != first; e = e->mNextCoplanar)
            {
                if (e->mFaceType && e->mFaceType->mIndex < t->mIndex)
                {
                    FaceType* master = e->mFaceType;
                    while (master->mCoplanarSource)
                        master = master->mCoplanarSource;
                    t->mCoplanarSource = master;
                    break;
                }
            }
        }
        t->mIndex = index++;
    });
    ForEachType(stellation, [](FaceType* t) { CopyCoplanarInfo(t); });
}

// The dual face types of a template model: vertices whose surroundings match share a type; each
// vertex's frame starts at the face the match puts first.
void CreateDualTypes(Poly& poly)
{
    Stellation* stellation = poly.GetVertStellation();
    const PolyTemplate* templ = poly.mTemplate;
    int index = 0;
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        int k = -1;
        FaceType* type = nullptr;
        for (FaceType* t = stellation->mFirstFaceType; t && k < 0; t = t->mNextFaceType)
        {
            k = v->MatchDualType(t);
            if (k >= 0)
                type = t;
        }
        if (!type)
        {
            type = stellation->AppendFaceType(std::make_unique<FaceType>(&poly, stellation, v->mIdFlags, index++));
            k = 0;
        }
        type->AddFace(v);

        const int n = v->mNumSides;
        if (n <= 0)
            continue;
        if (v->mNeighbours[k] && (v->mNeighbours[k]->mFlags & FaceVert::kHemi))
            k = (k + 1) % n;
        const Vec3D& c = v->mCentre;
        if (templ && templ->mHalfTurn && v->mNeighbours[k])
        {
            const int k2 = (k + n / 2) % n;
            if (v->mNeighbours[k2])
            {
                Vec3D a, b, cross;
                Vec3Sub(a, v->mNeighbours[k]->mPoint, c);
                Vec3Sub(b, v->mNeighbours[k2]->mPoint, c);
                Vec3Cross(cross, a, b);
                if (Vec3Dot(cross, v->mZAxis) < 0.0)
                    k = k2;
            }
        }
        if (!v->mNeighbours[k])
            continue;
        Vec3D x;
        Vec3Sub(x, v->mNeighbours[k]->mPoint, c);
        if (!Vec3IsZero(x, kTol))
            Vec3Normalize(x);
        Vec3SnapZero(x, kTol);
        v->mXAxis = x;
        Vec3Cross(v->mYAxis, v->mZAxis, x);
        Vec3SnapZero(v->mYAxis, kTol);
    }
}

void CalcDensity(Poly& poly)
{
    double sum = 0.0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        if (f->mFlags & FaceVert::kOneSided)
        {
            poly.mFlags |= Poly::kOneSided;
            continue;
        }
        const FaceType* t = f->mFaceType;
        if (!t || !t->mFirstFace)
            continue;
        const bool same = (f->mFlags & FaceVert::kReversed) == (t->mFirstFace->mFlags & FaceVert::kReversed);
        if (same)
            sum += t->mSolidAngle;
        else
        {
            sum -= t->mSolidAngle;
            poly.mFlags |= Poly::kAgainstType;
        }
    }
    double density = sum * kOneOverFourPi;
    if (std::fabs(density) < kTol)
        density = 0.0;
    poly.mDensity = density;
}

Vec3D Reflected(const Vec3D& p, const Vec3D& m)
{
    Vec3D out;
    Vec3AddScaled(out, p, -2.0 * Vec3Dot(m, p), m);
    return out;
}
}  // namespace

int Vert::MatchDualType(const FaceType* type) const
{
    const FaceVert* first = type ? type->mFirstFace : nullptr;
    const int n = mNumSides;
    if (!first || first->mNumSides != n || n <= 0)
        return -1;
    const Vert* v1 = static_cast<const Vert*>(first);
    // The two vertices read their faces in opposite senses when their turns differ. A ring that
    // matches itself half-way round in the opposite orientation leaves the turn open or reads it
    // from either half, so there only the direction the ring was laid in tells.
    const bool halfTurn = mPoly && mPoly->mTemplate && mPoly->mTemplate->mHalfTurn;
    const bool opposite = halfTurn ? mDirection != v1->mDirection : (mTurn > 0) != (v1->mTurn > 0);
    for (int i = 0; i < n; ++i)
    {
        bool all = true;
        for (int j = 0; j < n && all; ++j)
        {
            const FaceVert* a = v1->mNeighbours[j];
            const FaceVert* b = mNeighbours[Wrap(opposite ? i - j : i + j, n)];
            all = a && b && a->mFaceType == b->mFaceType;
        }
        if (all)
            return i;
    }
    return -1;
}

bool SetSymGroup(Poly& poly)
{
    Stellation* stellation = poly.GetFaceStellation();
    FaceType* best = nullptr;
    ForEachType(stellation, [&](FaceType* t) {
        if (t->mFirstFace && !(t->mFirstFace->mFlags & FaceVert::kHemi) &&
            (!best || t->mNumRotations > best->mNumRotations))
            best = t;
    });
    if (!best)
        return false;
    const int n = best->mNumRotations;
    poly.mGroup = SymGroup::CreateFromRotation(n, best->mCount);
    SymGroup* group = poly.mGroup.get();
    if (!group)
        return false;
    FaceVert* face = best->mFirstFace;
    const Vec3D a = face->mZAxis;
    const SymAxisSet* axes = group->FindAxisSetByOrder(n);
    if (!axes || axes->mNumAxes < 1)
        return false;
    const Vec3D u = axes->mAxes[0].mDir;
    Vec3D w, b;
    bool further = false;
    bool haveB = true;
    if (group->mKind == SymGroup::kDihedral)
    {
        w = group->mNumAxisSets > 1 ? group->mAxisSets[1].mAxes[0].mDir : Vec3D{1.0, 0.0, 0.0};
        Vert* e = static_cast<Vert*>(face->mNeighbours[0]);
        const int pe = FaceVert::FindNeighbour(e, face, -1);
        FaceVert* f2 = e->mNeighbours[(pe + 1) % e->mNumSides];
        const int c = FaceVert::FindNeighbour(f2, e, -1);
        const int m = f2->mNumSides;
        FaceVert* f = f2->mNeighbours[Wrap(c - 1, m)];
        if (face->HasNeighbour(f))
            f = f2->mNeighbours[Wrap(c + 1, m)];
        if (stellation->GetNumFaceTypes() > 2)
        {
            const int pf = FaceVert::FindNeighbour(f, f2, -1);
            FaceVert* f3 = f->mNeighbours[(pf + 1) % f->mNumSides];
            const int cf = FaceVert::FindNeighbour(f3, f, -1);
            e = static_cast<Vert*>(f);
            f = f3->mNeighbours[Wrap(cf - 1, f3->mNumSides)];
            further = true;
        }
        Vec3Midpoint(b, e->mPoint, f->mPoint);
    }
    else
    {
        w = axes->mNumAxes > 1 ? axes->mAxes[1].mDir : u;
        const double target = Vec3Dot(u, w);
        const FaceVert* second = nullptr;
        for (FaceVert* f = best->mFirstFace; f && !second; f = f->mNextOfType)
            if (std::fabs(Vec3Dot(f->mZAxis, a) - target) < 1e-5)
                second = f;
        if (second)
            b = second->mZAxis;
        else
        {
            InternalError("SetSymGroup: face == NULL");
            haveB = false;
        }
    }

    // The rotation that takes the model's frame (a, t, a x t) onto the group's (u, e, u x e).
    Vec3D t, at, e, ue;
    if (haveB)
        Vec3Cross(t, a, b);
    if (!haveB || !Vec3Normalize(t))
        Vec3Perpendicular(t, a);
    Vec3Normalize(t);
    Vec3Cross(at, a, t);
    Vec3Cross(e, u, w);
    if (!Vec3Normalize(e))
        Vec3Perpendicular(e, u);
    Vec3Normalize(e);
    Vec3Cross(ue, u, e);
    Mat3 to, fromT, rotation;
    to.SetColumns(u, e, ue);
    fromT.SetRows(a, t, at);
    Mat3Mul(rotation, to, fromT);
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        f->Rotate(rotation);
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        v->Rotate(rotation);

    if (group->mKind == SymGroup::kDihedral)
    {
        poly.mReflexible = true;
        std::vector<Vec3D> points;
        for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
            points.push_back(v->mPoint);
        group->ChooseDihedralReflection(face->mNeighbours[0]->mPoint, points);
        return further;
    }

    poly.mReflexible = false;
    const bool tetrahedral = group->mKind == SymGroup::kTetrahedral;
    const Vec3D m = tetrahedral ? Vec3D{0.7071067811865476, 0.7071067811865476, 0.0} : Vec3D{1.0, 0.0, 0.0};
    const FaceVert* v = poly.mVerts.mFirst;
    if (!v)
        return further;
    const Vec3D image = Reflected(v->mPoint, m);
    for (const FaceVert* w2 = poly.mVerts.mFirst; w2; w2 = w2->mNext)
    {
        if (!Vec3Equal(w2->mPoint, image, 1e-6))
            continue;
        bool all = true;
        for (int i = 0; i < v->mNumSides && all; ++i)
        {
            const FaceVert* f = v->mNeighbours[i];
            if (!f)
                continue;
            const Vec3D c = Reflected(f->mCentre, m);
            bool found = false;
            for (int j = 0; j < w2->mNumSides && !found; ++j)
                found = w2->mNeighbours[j] && Vec3Equal(w2->mNeighbours[j]->mCentre, c, 1e-6);
            all = found;
        }
        if (all)
        {
            poly.mReflexible = true;
            group->SetReflectionKind(tetrahedral ? SymGroup::kDiagonal : SymGroup::kHorizontal);
            break;
        }
    }
    return further;
}

void SetRetroFaces(Poly& poly)
{
    poly.CountEdges();
    auto has = [](const FaceVert* face, const FaceVert* v) { return face && face->HasNeighbour(v); };
    auto at = [](const FaceVert* face, int k) { return face->mNeighbours[Wrap(k, face->mNumSides)]; };
    // Whether some occurrence of x in face has v just before or after it.
    auto besideV = [&](const FaceVert* face, const FaceVert* x, const FaceVert* v) {
        for (int k = FaceVert::FindNeighbour(face, x, -1); k >= 0; k = FaceVert::FindNeighbour(face, x, k))
            if (at(face, k - 1) == v || at(face, k + 1) == v)
                return true;
        return false;
    };
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        const int n = v->mNumSides;
        if (n < 2)
            continue;
        bool complete = true;
        for (int i = 0; i < n; ++i)
            complete = complete && v->mNeighbours[i];
        if (!complete)
        {
            DebugTrace("SetRetroFaces: failed\n");
            poly.mFlags |= Poly::kRetroFailed;
            continue;
        }
        const FaceVert* fl = v->mNeighbours[n - 1];
        const FaceVert* fm = v->mNeighbours[Wrap(n - 2, n)];
        const FaceVert* f0 = v->mNeighbours[0];
        int a = -1;
        for (int k = FaceVert::FindNeighbour(fl, v, -1); k >= 0 && a < 0; k = FaceVert::FindNeighbour(fl, v, k))
        {
            const FaceVert* after = at(fl, k + 1);
            const FaceVert* before = at(fl, k - 1);
            if ((besideV(fm, after, v) && has(f0, before)) || (besideV(fm, before, v) && has(f0, after)))
                a = k;
        }
        if (a < 0)
        {
            DebugTrace("SetRetroFaces: failed\n");
            poly.mFlags |= Poly::kRetroFailed;
            continue;
        }
        const FaceVert* fp = fl;
        for (int i = 0; i < n; ++i)
        {
            const FaceVert* fc = v->mNeighbours[i];
            const FaceVert* fn = v->mNeighbours[(i + 1) % n];
            const FaceVert* g = at(fp, a - 1);
            const FaceVert* h = at(fp, a + 1);
            bool found = false;
            for (int c = FaceVert::FindNeighbour(fc, v, -1); c >= 0 && !found; c = FaceVert::FindNeighbour(fc, v, c))
            {
                const FaceVert* pre = at(fc, c - 1);
                const FaceVert* post = at(fc, c + 1);
                const bool preShared = pre == g || pre == h;
                const bool postShared = post == g || post == h;
                bool flag = false;
                bool ok = false;
                if (preShared && !postShared)
                {
                    ok = has(fn, post);
                    flag = true;
                }
                else if (postShared && !preShared)
                {
                    ok = has(fn, pre);
                    flag = false;
                }
                else if (preShared && postShared)
                {
                    if (has(fn, post))
                    {
                        ok = true;
                        flag = true;
                    }
                    else if (has(fn, pre))
                    {
                        ok = true;
                        flag = false;
                    }
                }
                if (ok)
                {
                    v->mFaceReversed[i] = flag ? 1 : 0;
                    a = c;
                    found = true;
                }
            }
            if (!found)
            {
                DebugTrace("SetRetroFaces: Couldn't find neighbour\n");
                poly.mFlags |= Poly::kRetroFailed;
            }
            fp = fc;
        }
    }
}

int Poly::CountEdges()
{
    int sum = 0;
    ForEachType(GetFaceStellation(), [&](FaceType* t) {
        if (t->mFirstFace)
            sum += t->mCount * t->mFirstFace->mNumSides;
    });
    mNumEdges = sum / 2;
    return mNumEdges;
}

void Poly::SortFaces()
{
    std::vector<FaceVert*> faces;
    for (FaceVert* f = mFaces.mFirst; f; f = f->mNext)
        faces.push_back(f);
    auto ratio = [](const FaceVert* f) { return double(f->mNumSides) / double(f->mDensity != 0 ? f->mDensity : 1); };
    std::stable_sort(faces.begin(), faces.end(), [&](const FaceVert* a, const FaceVert* b) {
        const double ra = ratio(a), rb = ratio(b);
        if (ra != rb)
            return ra < rb;
        if (a->mNumSides != b->mNumSides)
            return a->mNumSides < b->mNumSides;
        if (a->mFaceType == b->mFaceType)
            return a->mIndex < b->mIndex;
        const int ca = a->mFaceType ? a->mFaceType->mCount : 0;
        const int cb = b->mFaceType ? b->mFaceType->mCount : 0;
        if (ca != cb)
            return ca < cb;
        return FaceType::GetIndex(a->mFaceType) < FaceType::GetIndex(b->mFaceType);
    });
    FaceVert* prev = nullptr;
    for (FaceVert* f : faces)
    {
        f->mPrev = prev;
        f->mNext = nullptr;
        if (prev)
            prev->mNext = f;
        else
            mFaces.mFirst = f;
        prev = f;
    }
    mFaces.mLast = prev;
    mFaces.Renumber();
}

void Poly::SetFaceTypeRotSyms()
{
    for (Stellation& stellation : mStellations)
        ForEachType(&stellation, [&](FaceType* t) {
            if (!t->mCoplanarSource)
                SetRotSym(t, mGroup.get());
        });
}

void Poly::CreateAllPolygonsForDrawing()
{
    GetFaceStellation()->CreateFaceDiagrams();
    GetVertStellation()->CreateFaceDiagrams();
}

void Poly::RecolourFaceDiagrams()
{
    mDiagramWorkPools[0].FreeAll();
    mDiagramWorkPools[1].FreeAll();
    for (Stellation& stellation : mStellations)
        ForEachType(&stellation, [](FaceType* t) {
            if (t->mFirstFace)
                GetPaletteColor(t->mIndex, t->mFirstFace->mColor, 0);
        });
    mFlags |= kRecolorFaceDiagrams;
}

bool Poly::SetFaceTypes(std::unique_ptr<SymGroup> group, bool colourFaces, bool colourVerts)
{
    TraceGuard guard("SetFaceTypes");
    const bool given = group != nullptr;
    Stellation* faceSide = GetFaceStellation();
    Stellation* vertSide = GetVertStellation();

    ClearAnalysis();
    if (!given)
    {
        const LibraryEntry* entry = mTemplate ? mTemplate->mLibraryEntry : nullptr;
        if (entry)
        {
            faceSide->mLibraryFlag = (entry->mFlags & LibraryEntry::kFaceStellationMark) != 0;
            vertSide->mLibraryFlag = (entry->mFlags & LibraryEntry::kVertStellationMark) != 0;
        }
        if (mTemplate && mTemplate->mValence >= 6)
            SplitChiralClasses(*this);
    }

    DebugTrace("Create base faces\n");
    CreateTypesById(*this, mFaces, faceSide);
    DebugTrace("SortFaceTypes by face\n");
    SortFaceTypes(faceSide, CompareFaceTypesByFirstFace);
    FindCoplanarFaces(mFaces);
    DebugTrace("Check for coplanar face types\n");
    FindCoplanarMasters(faceSide, given);
    DebugTrace("SortFaceTypes\n");
    SortFaceTypes(faceSide, CompareFaceTypes);
    if (FaceType* firstType = faceSide->mFirstFaceType)
    {
        if (!mShowDual && mSelectedFace)
            SelectElement(firstType->mFirstFace, false);
        else
            faceSide->SetSelectedFace(firstType->mFirstFace);
    }

    DebugTrace("Create dual faces\n");
    if (!given)
        CreateDualTypes(*this);
    else
        CreateTypesById(*this, mVerts, vertSide);
    DebugTrace("Dual SortFaceTypes by face\n");
    SortFaceTypes(vertSide, CompareFaceTypesByFirstFace);
    FindCoplanarFaces(mVerts);
    DebugTrace("Check for coplanar dual face types\n");
    FindCoplanarMasters(vertSide, given);

    if (!given)
    {
        for (Stellation* side : {faceSide, vertSide})
            ForEachType(side, [](FaceType* t) {
                if (t->mCoplanarSource)
                    t->mNumRotations = t->mCoplanarSource->mNumRotations;
                else
                    t->SetRotOrderFromNeighbours();
            });
        if (mFlags & kOldStyleAxes)
            ReorientFaceAxes(mFaces, faceSide->mFirstFaceType);
        ForEachType(vertSide, [](FaceType* t) { CopyCoplanarInfo(t); });
        const bool further = SetSymGroup(*this);
        SymGroup* g = mGroup.get();
        for (Stellation* side : {faceSide, vertSide})
        {
            ForEachType(side, [&](FaceType* t) {
                if (mFlags & kOldStyleAxes)
                {
                    if (g && t->mNumRotations == 4 && t->mCount == 6 && g->mKind == SymGroup::kOctahedral)
                        SetRotSymAndReorientAxes(t, g);
                    if (further && t->mNumRotations == 4)
                        SetRotSymAndReorientAxes(t, g);
                }
                else
                    ReorientAxes(t, g);
                t->CheckAxisClasses(g);
            });
            ForEachType(side, [](FaceType* t) { CheckReflectivity(t); });
        }
    }
    else
    {
        mGroup = std::move(group);
        mReflexible = mGroup->mReflection != SymGroup::kChiral;
        DebugTrace("SetRotSymAndReorientAxes\n");
        ForEachType(faceSide, [&](FaceType* t) { SetRotSymAndReorientAxes(t, mGroup.get()); });
        DebugTrace("Dual SetRotSymAndReorientAxes\n");
        ForEachType(vertSide, [&](FaceType* t) { SetRotSymAndReorientAxes(t, mGroup.get()); });
        ForEachType(vertSide, [](FaceType* t) { CopyCoplanarInfo(t); });
        DebugTrace("Dual SortFaceTypes\n");
        SortFaceTypes(vertSide, CompareFaceTypes);
        DebugTrace("CheckReflectivity\n");
        ForEachType(faceSide, [](FaceType* t) { CheckReflectivity(t); });
        DebugTrace("Dual CheckReflectivity\n");
        ForEachType(vertSide, [](FaceType* t) { CheckReflectivity(t); });
        DebugTrace("SetRetroFaces\n");
        SetRetroFaces(*this);
    }

    DebugTrace("CalcCentroid\n");
    for (FaceVert* f = mFaces.mFirst; f; f = f->mNext)
        f->CalcCentroid();
    for (FaceVert* v = mVerts.mFirst; v; v = v->mNext)
        v->CalcCentroid();
    DebugTrace("SortCoplanarFaces\n");
    SortCoplanarFaces(faceSide);
    SortCoplanarFaces(vertSide);

    if (!mFirstPart)
    {
        DebugTrace("FindCompoundParts\n");
        const bool mixed = FindCompoundParts();
        CalcSurfaceAreas();
        DebugTrace("Calculate Density\n");
        faceSide->CalcSolidAngles();
        vertSide->CalcSolidAngles();
        CalcDensity(*this);
        const bool firstOneSided = mFirstPart && (mFirstPart->mFlags & CompoundPart::kOneSided);
        if (!mPolytope && !IsCompound() && mFirstPart && !firstOneSided && GetGenus() == 0 && !mixed &&
            mDensity >= 0.999 && mDensity <= 1.001 && !(mFlags & kConvex))
            mFlags |= kRadiallyConvex;
    }

    DebugTrace("CreateAllPolygonsForDrawing\n");
    CreateAllPolygonsForDrawing();

    DebugTrace("SetFaceColors\n");
    if (colourFaces)
        ColorFaces(&mFaces);
    if (colourFaces || colourVerts)
        ColorFaces(&mVerts);

    if (!given && !(mFlags & kDontReorderUniFaces))
        SortFaces();
    CreateEdges();
    mFaces.CalcDensities();
    mVerts.CalcDensities();
    return true;
}
