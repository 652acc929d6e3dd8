#include "StellationFixtures.h"

#include "kernel/ScriptedServices.h"
#include "model/CoplanarFaces.h"
#include "stellation/FaceTypePreparation.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
// Cube face places in CubeSpec.
constexpr int kBottom = 2;  // y = -1
constexpr int kTop = 3;     // y = +1

// Four cubes about the y axis, turned by 20, 65, -65 and -20 degrees: the 8-fold dihedral group
// takes each to each. The tops of the first two and the bottoms of the last two make one class of
// faces under its rotations; the other tops and bottoms are their mirror images.
struct CubeCompound
{
    Poly poly;
    FaceType* tops = nullptr;     // the class of the first cube's top
    FaceType* bottoms = nullptr;  // the mirror class, a coplanar copy of the first
    FaceType* sides = nullptr;

    FaceVert* Face(int cube, int place) { return poly.GetNthFace(6 * cube + place); }

    CubeCompound()
    {
        PolySpec spec;
        const PolySpec cube = CubeSpec();
        for (double degrees : {20.0, 65.0, -65.0, -20.0})
        {
            Mat3 turn;
            turn.SetRotation(Vec3D{0, 1, 0}, degrees * kPi / 180.0);
            const int base = int(spec.verts.size());
            for (const Vec3D& p : cube.verts)
            {
                Vec3D q;
                turn.Transform(q, p);
                spec.verts.push_back(q);
            }
            for (std::vector<int> face : cube.faces)
            {
                for (int& k : face)
                    k += base;
                spec.faces.push_back(face);
            }
        }
        BuildPoly(poly, spec, false);
        Stellation* st = poly.GetFaceStellation();
        auto add = [&](std::initializer_list<FaceVert*> faces) {
            FaceType* t = st->AppendFaceType(std::make_unique<FaceType>(&poly, st, st->GetNumFaceTypes(), st->GetNumFaceTypes()));
            for (FaceVert* f : faces)
                t->AddFace(f);
            return t;
        };
        // The chains meet the faces out of list order on purpose.
        tops = add({Face(0, kTop), Face(1, kTop), Face(3, kBottom), Face(2, kBottom)});
        bottoms = add({Face(0, kBottom), Face(1, kBottom), Face(2, kTop), Face(3, kTop)});
        sides = st->AppendFaceType(std::make_unique<FaceType>(&poly, st, 2, 2));
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            if (!f->mFaceType)
                sides->AddFace(f);
        bottoms->mCoplanarSource = tops;
        SetGroup(poly, SymGroup::kDihedral, 8, true);
        FindCoplanarFaces(poly.mFaces);
    }
};

std::vector<FaceVert*> Ring(FaceVert* from)
{
    std::vector<FaceVert*> ring;
    FaceVert* e = from;
    do
    {
        ring.push_back(e);
        e = e->mNextCoplanar;
    } while (e && e != from && ring.size() < 100);
    return ring;
}

FaceVert* Representative(FaceVert* face)
{
    for (FaceVert* e : Ring(face))
        if (!(e->mFlags & FaceVert::kSkip))
            return e;
    return nullptr;
}
}  // namespace

TEST(CoplanarFaceOrder, RingsOfAClassCorrespondMemberByMemberUnderTheGroup)
{
    CubeCompound m;
    ScopedScriptedServices scripted;
    CopyCoplanarInfo(m.bottoms);
    for (FaceType* t : {m.tops, m.bottoms, m.sides})
        SetRotSymAndReorientAxes(t, m.poly.mGroup.get());
    EXPECT_EQ(m.tops->mNumRotations, 8);
    SortCoplanarFaces(m.poly.GetFaceStellation());
    EXPECT_TRUE(scripted.services.calls.empty());

    // The reference ring is only sorted: by type, then by face.
    FaceVert* reference = m.tops->mFirstFace;
    const std::vector<FaceVert*> expectedTop = {m.Face(0, kTop), m.Face(1, kTop), m.Face(2, kTop), m.Face(3, kTop)};
    EXPECT_EQ(Ring(reference), expectedTop);

    // The other ring is met from the fourth cube's bottom, which becomes its first member. The
    // rotation that takes the first top's frame there takes the reference ring onto it, place by
    // place: here that puts every member anywhere but in its sorted place.
    FaceVert* rep = Representative(m.Face(3, kBottom));
    EXPECT_EQ(rep, m.Face(3, kBottom));
    Mat3 rotation;
    ASSERT_GE(FindFrameRotation(*m.poly.mGroup, reference, rep, &rotation), 0);
    const std::vector<FaceVert*> top = Ring(reference);
    const std::vector<FaceVert*> bottom = Ring(rep);
    ASSERT_EQ(bottom.size(), top.size());
    for (size_t k = 0; k < top.size(); ++k)
    {
        EXPECT_TRUE(CornersMapOnto(rotation, top[k], bottom[k])) << "place " << k;
        EXPECT_EQ(top[k]->mFaceType, bottom[k]->mFaceType) << "place " << k;
    }
    const std::vector<FaceVert*> expectedBottom = {m.Face(3, kBottom), m.Face(2, kBottom), m.Face(1, kBottom),
                                                   m.Face(0, kBottom)};
    EXPECT_EQ(bottom, expectedBottom);

    for (const std::vector<FaceVert*>& ring : {top, bottom})
    {
        // One representative; all four share a centroid: each is concentric, and all but the first
        // by index leave their text to it.
        int unskipped = 0;
        const FaceVert* lowest = ring[0];
        for (const FaceVert* e : ring)
        {
            unskipped += !(e->mFlags & FaceVert::kSkip);
            if (e->mIndex < lowest->mIndex)
                lowest = e;
            EXPECT_TRUE(e->mFlags & FaceVert::kIsCopConcentric);
        }
        EXPECT_EQ(unskipped, 1);
        EXPECT_TRUE(!(ring[0]->mFlags & FaceVert::kSkip));
        for (const FaceVert* e : ring)
            EXPECT_EQ((e->mFlags & FaceVert::kSkipCopConcentric) != 0, e != lowest) << "face " << e->mIndex;
    }
    // Faces alone in their planes keep no ring and no marks.
    for (FaceVert* f = m.sides->mFirstFace; f; f = f->mNextOfType)
    {
        EXPECT_EQ(f->mNextCoplanar, nullptr);
        EXPECT_EQ(f->mFlags & (FaceVert::kSkip | FaceVert::kIsCopConcentric | FaceVert::kSkipCopConcentric), 0u);
    }
}

TEST(CoplanarFaceOrder, FramesThatDoNotCorrespondAreReported)
{
    CubeCompound m;
    for (FaceType* t : {m.tops, m.bottoms})
        SetRotSymAndReorientAxes(t, m.poly.mGroup.get());
    // A quarter of the period off: no member of the other ring sits where the reference says.
    FaceVert* f = m.Face(2, kBottom);
    Mat3 turn;
    turn.SetRotation(f->mZAxis, kPi / 8.0);
    turn.Transform(f->mXAxis, f->mXAxis);
    Vec3Cross(f->mYAxis, f->mZAxis, f->mXAxis);
    ScopedScriptedServices scripted;
    SortCoplanarFaces(m.poly.GetFaceStellation());
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, "Can't match coplanar face order");
    // The ring is still whole and ordered from one representative.
    EXPECT_EQ(Ring(m.Face(3, kBottom)).size(), 4u);
    EXPECT_NE(Representative(m.Face(3, kBottom)), nullptr);
}

TEST(CoplanarFaceOrder, ACopyTakesAFaceOfItsSourcesPlaneFirstAndBorrowsTheDiagram)
{
    CubeCompound m;
    GridDiagram grid = BuildGridDiagram(*m.tops);
    m.tops->mDiagramRadius = 2.5;
    m.bottoms->mUsedFacets = m.tops->mFacets;
    const std::set<FaceVert*> faces = {m.Face(0, kBottom), m.Face(1, kBottom), m.Face(2, kTop), m.Face(3, kTop)};

    ScopedScriptedServices scripted;
    CopyCoplanarInfo(m.bottoms);
    EXPECT_TRUE(scripted.services.calls.empty());
    // The first of the copy's faces in the source's first face's ring, as FindCoplanarFaces links it.
    EXPECT_EQ(m.bottoms->mFirstFace, m.Face(2, kTop));
    EXPECT_TRUE(FaceVert::IsInRingOf(m.bottoms->mFirstFace, m.tops->mFirstFace));
    std::set<FaceVert*> chained;
    const FaceVert* last = nullptr;
    for (FaceVert* f = m.bottoms->mFirstFace; f; f = f->mNextOfType)
    {
        chained.insert(f);
        last = f;
    }
    EXPECT_EQ(chained, faces);
    EXPECT_EQ(m.bottoms->mLastFace, last);
    EXPECT_EQ(m.bottoms->mCount, 4);

    EXPECT_EQ(m.bottoms->mFacets, m.tops->mFacets);
    EXPECT_EQ(m.bottoms->mLastFacet, m.tops->mLastFacet);
    EXPECT_EQ(m.bottoms->mUsedFacets, nullptr);
    EXPECT_EQ(m.bottoms->mFirstRegion, grid.regions.front());
    EXPECT_EQ(m.bottoms->mLastRegion, grid.regions.back());
    EXPECT_EQ(m.bottoms->mInnermostRegion, m.tops->mInnermostRegion);
    EXPECT_EQ(m.bottoms->mNumRegions, 4);
    EXPECT_EQ(m.bottoms->mLineEqns, m.tops->mLineEqns);
    EXPECT_EQ(m.bottoms->mVerts, m.tops->mVerts);
    EXPECT_EQ(m.bottoms->mOuterVerts, m.tops->mOuterVerts);
    EXPECT_EQ(m.bottoms->mOuterEdge, m.tops->mOuterEdge);
    EXPECT_EQ(m.bottoms->mDiagramRadius, 2.5);

    // Already in place: a second call changes nothing. The copy frees nothing of what it borrowed;
    // the source frees it once when the model goes.
    CopyCoplanarInfo(m.bottoms);
    EXPECT_EQ(m.bottoms->mFirstFace, m.Face(2, kTop));
    m.bottoms->FreeDiagram();
    EXPECT_EQ(m.bottoms->mFacets, nullptr);
    EXPECT_EQ(m.tops->mFirstRegion, grid.regions.front());
}

TEST(CoplanarFaceOrder, ACopyWithoutAFaceInItsSourcesPlaneIsReported)
{
    CubeCompound m;
    ScopedScriptedServices scripted;
    // The sides share no plane with the tops.
    m.sides->mCoplanarSource = m.tops;
    FaceVert* first = m.sides->mFirstFace;
    CopyCoplanarInfo(m.sides);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, "CopyCoplanarInfo: Couldn't find coplanar face");
    EXPECT_EQ(m.sides->mFirstFace, first);
    m.sides->mCoplanarSource = nullptr;

    // A face of the copy in the source's plane that its chain does not hold.
    m.bottoms->mFirstFace = m.bottoms->mLastFace = m.Face(0, kBottom);
    m.Face(0, kBottom)->mNextOfType = nullptr;
    CopyCoplanarInfo(m.bottoms);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, "CopyCoplanarInfo: Can't find face in list");
    EXPECT_EQ(m.bottoms->mFirstFace, m.Face(0, kBottom));
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 2);
}
