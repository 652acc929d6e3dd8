#include "StellationFixtures.h"

#include "kernel/Tolerance.h"
#include "mesh/Model3D.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
// The two records as a Poly embeds them: face side first.
struct Sides
{
    Stellation s[2] = {{nullptr, false}, {nullptr, true}};
};

FaceType* AddType(Stellation& st, int typeId)
{
    return st.AppendFaceType(std::make_unique<FaceType>(nullptr, &st, typeId, st.GetNumFaceTypes()));
}

// Cells 0..n-1 of the stellation, the first of each layer starting a new layer.
std::vector<StellationCell*> AddCells(Stellation& st, int n, std::initializer_list<int> layerStarts)
{
    std::vector<StellationCell*> cells;
    StellationCellLayer* layer = nullptr;
    for (int i = 0; i < n; ++i)
    {
        StellationCell* cell = new StellationCell(&st, i, nullptr);
        for (int start : layerStarts)
            if (start == i)
                layer = new StellationCellLayer(cell, st.mFirstLayer, st.mLastLayer);
        cell->mLayer = layer;
        cells.push_back(cell);
    }
    return cells;
}
}  // namespace

TEST(Stellation, TheTwoSidesOfAPolyWalkFaceSideFirst)
{
    Sides sides;
    EXPECT_FALSE(sides.s[0].IsDual());
    EXPECT_TRUE(sides.s[1].IsDual());
    EXPECT_EQ(sides.s[0].GetNext(), &sides.s[1]);
    EXPECT_EQ(sides.s[1].GetNext(), nullptr);
    int walked = 0;
    for (Stellation* st = &sides.s[0]; st; st = st->GetNext())
        ++walked;
    EXPECT_EQ(walked, 2);
}

TEST(Stellation, AFreshRecordIsUnbuiltWithNothingCounted)
{
    Stellation st(nullptr, false);
    EXPECT_EQ(st.mState, kStellationNotBuilt);
    EXPECT_FALSE(st.mBuildDeclined);
    EXPECT_EQ(st.GetNumFaceTypes(), 0);
    EXPECT_EQ(st.GetFaceType(0), nullptr);
    EXPECT_EQ(st.mNumUsedSegVerts, -1);
    EXPECT_EQ(st.mShortestEdge, -1.0);
    EXPECT_EQ(st.mRadius, -1.0);
    EXPECT_EQ(st.mKitRods, -1);
    EXPECT_EQ(st.mKitPanelCounts[3][4], -1);
    EXPECT_EQ(st.mMaxNumCells, -1);
    EXPECT_TRUE(st.mNumStellations.IsZero());
    EXPECT_EQ(st.PeekModel3D(), nullptr);
    EXPECT_EQ(st.mKitReason, nullptr);
    EXPECT_EQ(st.mFaceting.mNumEdges, 0);
    EXPECT_EQ(st.mFaceting.mUnitingFace, -1);
    EXPECT_TRUE(st.IsOriginal());
}

TEST(Stellation, FaceTypesKeepTheirOrderIndexAndNumber)
{
    Stellation st(nullptr, false);
    FaceType* a = AddType(st, 10);
    FaceType* b = AddType(st, 11);
    FaceType* c = AddType(st, 12);
    ASSERT_EQ(st.GetNumFaceTypes(), 3);
    EXPECT_EQ(st.mFirstFaceType, a);
    EXPECT_EQ(st.mLastFaceType, c);
    EXPECT_EQ(a->mNextFaceType, b);
    EXPECT_EQ(c->mNextFaceType, nullptr);

    const FaceType* byIndex[] = {a, b, c};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(st.GetFaceType(i), byIndex[i]);
        EXPECT_EQ(FaceType::GetIndex(byIndex[i]), i);
        EXPECT_EQ(FaceType::GetNumber(byIndex[i]), i + 1);
    }
    EXPECT_EQ(st.GetFaceType(-1), nullptr);
    EXPECT_EQ(st.GetFaceType(3), nullptr);
    EXPECT_EQ(FaceType::GetIndex(nullptr), -1);
    EXPECT_EQ(FaceType::GetNumber(nullptr), 0);

    // A new type starts as nobody's copy, with no faces, no order and unset sizes.
    EXPECT_EQ(b->mTypeId, 11);
    EXPECT_EQ(b->mStellation, &st);
    EXPECT_EQ(b->mCount, 0);
    EXPECT_EQ(b->mNumRotations, 0);
    EXPECT_EQ(b->mFlags, 0u);
    EXPECT_EQ(b->mDiagramRadius, 1.0);
    EXPECT_EQ(b->mRadius, -1.0);
    EXPECT_EQ(b->mMaxOriginalRing, -1);
    EXPECT_EQ(b->mOuterLimit, 999999.9);

    // A coplanar copy shares another type's plane and is no plane type of its own.
    EXPECT_EQ(st.GetNumPlaneTypes(), 3);
    c->mCoplanarSource = a;
    EXPECT_EQ(st.GetNumPlaneTypes(), 2);

    // Mirror partners: exactly one of them has its mirror earlier.
    a->mMirrorFace = b;
    b->mMirrorFace = a;
    EXPECT_FALSE(a->HasEarlierMirror());
    EXPECT_TRUE(b->HasEarlierMirror());
    EXPECT_FALSE(c->HasEarlierMirror());
    EXPECT_EQ(st.AppendFaceType(nullptr), nullptr);
    EXPECT_EQ(st.GetNumFaceTypes(), 3);
}

TEST(Stellation, IsOriginalUntilACellDiffersFromTheModel)
{
    EXPECT_TRUE(Stellation::IsOriginal(nullptr));
    Stellation st(nullptr, false);
    st.mNumChangedCells = 4;
    EXPECT_TRUE(st.IsOriginal());  // not built
    st.mState = kStellationBuilt;
    EXPECT_FALSE(st.IsOriginal());
    st.mNumChangedCells = 0;
    EXPECT_TRUE(st.IsOriginal());
}

TEST(Stellation, FreeKeepingTypesDeclinesTheBuildAndDropsTheRest)
{
    Stellation st(nullptr, true);
    FaceType* a = AddType(st, 1);
    AddType(st, 2);
    a->mRadius = 3.0;
    a->mDiagramRadius = 2.0;
    a->mFlags = kFaceTypeDuplicateLine | kFaceTypeReflexible;
    std::vector<StellationCell*> cells = AddCells(st, 5, {0, 1, 3});
    st.SetModel3D(std::make_unique<Model3D>(nullptr, &st));
    st.mState = kStellationBuilt;
    st.mNumIncludedCells = 2;
    st.mNumChangedCells = 1;
    st.mKitRods = 30;
    st.mLongestEdge = 1.5;
    st.mNumStellations.AddWord(7);

    st.Free(false);
    EXPECT_EQ(st.mState, kStellationNotBuilt);
    EXPECT_TRUE(st.mBuildDeclined);
    EXPECT_EQ(st.GetNumFaceTypes(), 2);
    EXPECT_EQ(st.GetFaceType(0), a);
    EXPECT_EQ(a->mFlags, kFaceTypeReflexible);  // only the diagram's mark goes
    EXPECT_EQ(a->mRadius, -1.0);
    EXPECT_EQ(a->mDiagramRadius, 1.0);
    EXPECT_EQ(st.mFirstCell, nullptr);
    EXPECT_EQ(st.mFirstLayer, nullptr);
    EXPECT_EQ(st.PeekModel3D(), nullptr);
    EXPECT_EQ(st.mNumIncludedCells, 0);
    EXPECT_EQ(st.mNumChangedCells, 0);
    EXPECT_EQ(st.mKitRods, -1);
    EXPECT_EQ(st.mLongestEdge, -1.0);
    EXPECT_TRUE(st.mNumStellations.IsZero());

    // Dropping the types clears the refusal: the next analysis may build again.
    st.Free(true);
    EXPECT_FALSE(st.mBuildDeclined);
    EXPECT_EQ(st.GetNumFaceTypes(), 0);
    EXPECT_EQ(st.mFirstFaceType, nullptr);
    EXPECT_EQ(st.mLastFaceType, nullptr);
}

TEST(Stellation, ResetEnumerationClearsOnlyTheEnumerationMarks)
{
    Stellation st(nullptr, false);
    std::vector<StellationCell*> cells = AddCells(st, 3, {0});
    cells[0]->mFlags = kCellEnumerated | kCellIncluded;
    cells[2]->mFlags = kCellEnumerated | kCellOriginal;
    st.mMaxCellSoFar = cells[2];
    st.mMaxNumCells = 3;
    st.mNumChirals.AddWord(2);
    st.mTimeTaken = Duration(0, 1500);

    st.ResetEnumeration();
    EXPECT_EQ(cells[0]->mFlags, kCellIncluded);
    EXPECT_EQ(cells[2]->mFlags, kCellOriginal);
    EXPECT_EQ(st.mMaxCellSoFar, nullptr);
    EXPECT_EQ(st.mMaxNumCells, -1);
    EXPECT_TRUE(st.mNumChirals.IsZero());
    EXPECT_EQ(st.mTimeTaken, Duration());
}

TEST(StellationCell, LayersNumberThemselvesAndCountTheirPredecessorsCells)
{
    Stellation st(nullptr, false);
    std::vector<StellationCell*> cells = AddCells(st, 7, {0, 1, 5});
    ASSERT_NE(st.mFirstLayer, nullptr);
    const StellationCellLayer* l0 = st.mFirstLayer;
    const StellationCellLayer* l1 = l0->next;
    const StellationCellLayer* l2 = l1->next;
    ASSERT_NE(l2, nullptr);
    EXPECT_EQ(l2, st.mLastLayer);
    EXPECT_EQ(l0->mNumber, 0);
    EXPECT_EQ(l1->mNumber, 1);
    EXPECT_EQ(l2->mNumber, 2);
    EXPECT_EQ(l0->mNumCellTypes, 1);
    EXPECT_EQ(l1->mNumCellTypes, 4);
    EXPECT_EQ(l2->mNumCellTypes, 0);  // until a next layer starts

    EXPECT_EQ(StellationCell::GetIndexInLayer(cells[0]), 0);
    EXPECT_EQ(StellationCell::GetIndexInLayer(cells[4]), 3);
    EXPECT_EQ(StellationCell::GetIndexInLayer(cells[6]), 1);
    EXPECT_EQ(StellationCell::GetIndexInLayer(nullptr), -1);
    EXPECT_EQ(StellationCell::GetIndex(cells[6]), 6);
    EXPECT_EQ(StellationCell::GetIndex(nullptr), -1);
    EXPECT_EQ(st.mLastCell, cells[6]);
}

TEST(StellationCell, AChiralCellsPartnersPartnerIsItself)
{
    Stellation st(nullptr, false);
    std::vector<StellationCell*> cells = AddCells(st, 4, {0});
    cells[1]->mFlags = kCellChiralFirst;
    cells[2]->mFlags = kCellChiralSecond;

    EXPECT_EQ(cells[1]->GetMirror(), cells[2]);
    EXPECT_EQ(cells[2]->GetMirror(), cells[1]);
    EXPECT_EQ(cells[1]->GetMirror()->GetMirror(), cells[1]);
    EXPECT_EQ(cells[2]->GetMirror()->GetMirror(), cells[2]);
    EXPECT_EQ(cells[0]->GetMirror(), cells[0]);
    EXPECT_EQ(cells[3]->GetMirror(), cells[3]);
}

TEST(FaceType, PanelTestIsCachedInTheTypesBits)
{
    const Vec3D up{0, 0, 1};
    const double h = std::sqrt(3.0) / 2;
    const std::vector<Vec3D> square = {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const std::vector<Vec3D> rhombus = {{0, 0, 1}, {1, 0, 1}, {1.5, h, 1}, {0.5, h, 1}};
    const std::vector<Vec3D> clockwise(square.rbegin(), square.rend());

    struct Case
    {
        const char* name;
        std::vector<Vec3D> corners;
        bool panel;
        uint32_t bits;
    };
    const Case kCases[] = {
        {"square", square, true, kFaceTypePanelShape},
        {"60-degree rhombus", rhombus, true, kFaceTypePanelShape | kFaceTypeRhombusPanel},
        {"square running the other way", clockwise, false, kFaceTypeNotPanelShape},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        FaceType type(nullptr, nullptr, 0, 0);
        EXPECT_EQ(type.IsPanelShape(c.corners, up), c.panel);
        EXPECT_EQ(type.mFlags, c.bits);
        // The cached answer stands, whatever is passed later.
        EXPECT_EQ(type.IsPanelShape(std::span<const Vec3D>(), up), c.panel);
        EXPECT_EQ(type.IsPanelShape(c.panel ? clockwise : square, up), c.panel);
        EXPECT_EQ(type.mFlags, c.bits);
    }

    // No first face: no panel, and nothing is cached.
    FaceType empty(nullptr, nullptr, 0, 0);
    EXPECT_FALSE(empty.IsPanelShape(std::span<const Vec3D>(), up));
    EXPECT_EQ(empty.mFlags, 0u);
    EXPECT_TRUE(empty.IsPanelShape(square, up));
}

TEST(Stellation, EachSideStellatesItsOwnListAndStartsItsViewMeasuresAfreshOnANewFace)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    Stellation* faces = poly.GetFaceStellation();
    Stellation* verts = poly.GetVertStellation();
    EXPECT_EQ(faces->GetFaceList(), &poly.mFaces);
    EXPECT_EQ(verts->GetFaceList(), &poly.mVerts);
    EXPECT_EQ(Stellation(nullptr, true).GetFaceList(), nullptr);

    poly.mFaces.mMaxChordDistance = 5.0;
    poly.mVerts.mMaxChordDistance = 5.0;
    faces->SetSelectedFace(poly.GetNthFace(2));
    EXPECT_EQ(faces->GetSelectedFace(), poly.GetNthFace(2));
    EXPECT_EQ(poly.mFaces.mMaxChordDistance, -1.0);
    EXPECT_EQ(poly.mVerts.mMaxChordDistance, 5.0);
    poly.mFaces.mMaxChordDistance = 7.0;
    faces->SetSelectedFace(poly.GetNthFace(2));  // no change
    EXPECT_EQ(poly.mFaces.mMaxChordDistance, 7.0);
    verts->SetSelectedFace(poly.GetNthVert(5));
    EXPECT_EQ(poly.mVerts.mMaxChordDistance, -1.0);
    EXPECT_EQ(poly.mFaces.mMaxChordDistance, 7.0);
    faces->SetSelectedFace(nullptr);
    EXPECT_EQ(faces->GetSelectedFace(), nullptr);
}

TEST(FaceType, PanelTestReadsTheFirstFaceAboutItsNormal)
{
    PolySpec box = CubeSpec();
    for (Vec3D& v : box.verts)
        v.z *= 2.0;
    struct Case
    {
        const char* name;
        PolySpec spec;
        int sides;  // of the face that comes first
        bool longSide;  // a face along z
        bool reversed;
        bool panel;
    };
    const Case kCases[] = {
        {"square", CubeSpec(), 4, false, false, true},
        {"pentagon", ConvexSpec(PentagonalPrismPoints()), 5, false, false, true},
        {"square of equal edges", ConvexSpec(PentagonalPrismPoints()), 4, false, false, true},
        {"triangle", ConvexSpec(IcosahedronPoints()), 3, false, false, true},
        {"rectangle", box, 4, true, false, false},
        {"square flagged Reversed", CubeSpec(), 4, false, true, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, c.spec, false);
        FaceVert* first = nullptr;
        for (FaceVert* f = poly.mFaces.mFirst; f && !first; f = f->mNext)
            if (f->mNumSides == c.sides && (!c.longSide || std::fabs(f->mZAxis.z) < 0.5))
                first = f;
        ASSERT_NE(first, nullptr);
        if (c.reversed)
            first->mFlags |= FaceVert::kReversed;
        FaceType type(&poly, poly.GetFaceStellation(), 0, 0);
        type.AddFace(first);
        EXPECT_EQ(type.IsPanelShape(), c.panel);
        EXPECT_EQ(type.mFlags & (kFaceTypePanelShape | kFaceTypeNotPanelShape),
                  c.panel ? kFaceTypePanelShape : kFaceTypeNotPanelShape);
        EXPECT_EQ(type.mFlags & kFaceTypeRhombusPanel, 0u);
        type.mFirstFace = nullptr;  // the cached answer stands
        EXPECT_EQ(type.IsPanelShape(), c.panel);
    }
    FaceType none(nullptr, nullptr, 0, 0);
    EXPECT_FALSE(none.IsPanelShape());
    EXPECT_EQ(none.mFlags, 0u);
}

TEST(FaceType, AddFaceChainsTheFacesOfItsListInOrder)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    FaceType type(&poly, poly.GetVertStellation(), 7, 0);
    EXPECT_EQ(type.GetElementListHead(), nullptr);
    for (int i : {5, 2, 7})
    {
        poly.GetNthVert(i)->mNextOfType = poly.GetNthVert(0);  // a stale link is dropped
        type.AddFace(poly.GetNthVert(i));
    }
    EXPECT_EQ(type.mCount, 3);
    EXPECT_EQ(type.mFirstFace, poly.GetNthVert(5));
    EXPECT_EQ(type.mLastFace, poly.GetNthVert(7));
    EXPECT_EQ(poly.GetNthVert(5)->mNextOfType, poly.GetNthVert(2));
    EXPECT_EQ(poly.GetNthVert(2)->mNextOfType, poly.GetNthVert(7));
    EXPECT_EQ(poly.GetNthVert(7)->mNextOfType, nullptr);
    EXPECT_EQ(poly.GetNthVert(2)->mFaceType, &type);
    // Its faces are vertices: their list is the vertex list.
    EXPECT_EQ(type.GetElementListHead(), poly.mVerts.mFirst);
    for (int i : {5, 2, 7})
        poly.GetNthVert(i)->mFaceType = nullptr;
}
