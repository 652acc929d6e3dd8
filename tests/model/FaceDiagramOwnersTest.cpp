#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/PolygonFillOptions.h"
#include "model/Face.h"
#include "model/FaceDiagramOwners.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "stellation/FaceType.h"

#include "kernel/DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const void* Owner(FaceVert* element)
{
    return element;
}

// Faces of one Poly in coincidence rings: ring[i] is a ring of ringSizes[i] new faces.
std::vector<std::vector<FaceVert*>> MakeRings(Poly& poly, const std::vector<int>& ringSizes)
{
    std::vector<std::vector<FaceVert*>> rings;
    for (int size : ringSizes)
    {
        std::vector<FaceVert*> ring;
        for (int i = 0; i < size; ++i)
            ring.push_back(new Face(&poly, nullptr, 4));
        for (int i = 0; size > 1 && i < size; ++i)
            ring[size_t(i)]->mNextCoplanar = ring[size_t((i + 1) % size)];
        rings.push_back(ring);
    }
    return rings;
}

// The first face's ring fed in ring order: a unit square for every member, each shifted right by
// half a unit from the one before.
void FeedRing(FaceDiagram& d, const std::vector<FaceVert*>& ring)
{
    for (size_t i = 0; i < ring.size(); ++i)
        AddPolygon(d, Owner(ring[i]), Square(0.5 * double(i), 0.0, 1.0));
}

class FaceDiagramOwnersTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetPolygonFillOptions(); }
    void TearDown() override { GetPolygonFillOptions() = mSaved; }

    PolygonFillOptions mSaved;
};

TEST_F(FaceDiagramOwnersTest, FacesGiveTheirColoursBackColoursAndSelection)
{
    Poly poly;
    auto rings = MakeRings(poly, {2});
    FaceVert* a = rings[0][0];
    FaceVert* b = rings[0][1];
    a->mColor = ColorRGB{1, 0, 0};
    a->mBackColor = ColorRGB{0, 1, 0};
    b->mColor = ColorRGB{0, 0, 1};
    b->mBackColor = ColorRGB{0, 0, 0};

    FaceDiagram d;
    d.Begin(kOwnerKindFaces, nullptr);
    d.mPools = &poly.mDiagramPools;
    d.mWorkPools = &poly.mDiagramWorkPools[0];
    FeedRing(d, rings[0]);
    ASSERT_TRUE(d.Finish(0, nullptr));
    const int both = FindType(d, {{Owner(a), 1}, {Owner(b), 1}});
    const int onlyA = FindType(d, {{Owner(a), 1}});
    ASSERT_GE(both, 0);
    ASSERT_GE(onlyA, 0);
    const LoopType& overlap = d.mLoopTypes[both];
    EXPECT_FLOAT_EQ(overlap.mColor1.r, 0.5f);
    EXPECT_FLOAT_EQ(overlap.mColor1.b, 0.5f);
    EXPECT_FLOAT_EQ(overlap.mColor2.g, 0.5f);
    EXPECT_FLOAT_EQ(overlap.mColor2.r, 0.0f);
    EXPECT_FALSE(overlap.IsSelected(kOwnerKindFaces, nullptr));

    poly.mSelectedFace = b;
    EXPECT_TRUE(overlap.IsSelected(kOwnerKindFaces, nullptr));
    EXPECT_FALSE(d.mLoopTypes[onlyA].IsSelected(kOwnerKindFaces, nullptr));
    poly.mSelectedFace = nullptr;

    // A hidden face leaves its areas to the others, and its own ones empty.
    b->mFlags |= FaceVert::kHidden;
    CalcAllColors(d.mLoopTypes, d.mLoopTypeCount, PolygonFillOptions::kBlend, kOwnerKindFaces, nullptr);
    EXPECT_FLOAT_EQ(overlap.mColor1.r, 1.0f);
    EXPECT_FLOAT_EQ(overlap.mColor1.b, 0.0f);
    const int onlyB = FindType(d, {{Owner(b), 1}});
    ASSERT_GE(onlyB, 0);
    EXPECT_FLOAT_EQ(d.mLoopTypes[onlyB].mOpacity, 0.0f);
}

TEST_F(FaceDiagramOwnersTest, EveryFaceOfTheTypeGetsLoopTypesOwnedByItsOwnRing)
{
    for (bool second : {false, true})
    {
        SCOPED_TRACE(second ? "second slot" : "first slot");
        Poly poly;
        auto rings = MakeRings(poly, {3, 3, 3});
        FaceType type(&poly, poly.GetFaceStellation(), 0, 0);
        type.mFirstFace = rings[0][0];
        rings[0][0]->mNextOfType = rings[1][0];
        rings[1][0]->mNextOfType = rings[2][0];
        rings[2][0]->mFlags |= FaceVert::kSkip;

        FaceDiagram d;
        d.Begin(kOwnerKindFaces, nullptr);
        d.mPools = &poly.mDiagramPools;
        d.mWorkPools = &poly.mDiagramWorkPools[0];
        FeedRing(d, rings[0]);
        ASSERT_TRUE(d.Finish(second ? FaceDiagram::kFinishSecondSlot : 0, &type));
        ASSERT_GT(d.mLoopTypeCount, 0);

        const LoopTypeHolder& filled = second ? rings[1][0]->mMorphLoopTypes : rings[1][0]->mLoopTypes;
        const LoopTypeHolder& other = second ? rings[1][0]->mLoopTypes : rings[1][0]->mMorphLoopTypes;
        ASSERT_NE(filled.mLoopTypes, nullptr);
        EXPECT_EQ(other.mLoopTypes, nullptr);
        // The first face keeps what the feeder gives it; a skipped face gets nothing.
        EXPECT_EQ(rings[0][0]->mLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(rings[2][0]->mLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(rings[2][0]->mMorphLoopTypes.mLoopTypes, nullptr);

        for (int k = 0; k < d.mLoopTypeCount; ++k)
        {
            const LoopType& source = d.mLoopTypes[k];
            const LoopType& copy = filled.mLoopTypes[k];
            ASSERT_EQ(copy.mOwnerCount, source.mOwnerCount);
            EXPECT_FLOAT_EQ(copy.mOpacity, 1.0f);
            for (int i = 0; i < source.mOwnerCount; ++i)
            {
                // The member at the same place in the other ring, with the same count.
                int place = -1;
                for (int j = 0; j < 3; ++j)
                    if (source.mOwners[i].mOwner == Owner(rings[0][size_t(j)]))
                        place = j;
                ASSERT_GE(place, 0);
                EXPECT_EQ(copy.mOwners[i].mOwner, Owner(rings[1][size_t(place)]));
                EXPECT_EQ(copy.mOwners[i].mCount, source.mOwners[i].mCount);
            }
        }
        for (auto& ring : rings)
            for (FaceVert* f : ring)
                f->mNextOfType = nullptr;
    }
}

TEST_F(FaceDiagramOwnersTest, RingsOfOtherLengthsAndUnknownOwnersStillFillEveryEntry)
{
    // The type's first ring has two members, the next face's ring three (it must not be walked
    // beyond the places it has), the last one's only one (the places it lacks become the face).
    static std::string trace;
    trace.clear();
    Poly poly;
    auto rings = MakeRings(poly, {2, 3, 1});
    FaceType type(&poly, poly.GetFaceStellation(), 0, 0);
    type.mFirstFace = rings[0][0];
    rings[0][0]->mNextOfType = rings[1][0];
    rings[1][0]->mNextOfType = rings[2][0];

    FaceDiagram d;
    d.Begin(kOwnerKindFaces, nullptr);
    d.mPools = &poly.mDiagramPools;
    d.mWorkPools = &poly.mDiagramWorkPools[0];
    FeedRing(d, rings[0]);
    ASSERT_TRUE(d.Finish(0, &type));
    const int both = FindType(d, {{Owner(rings[0][0]), 1}, {Owner(rings[0][1]), 1}});
    ASSERT_GE(both, 0);

    const LoopType& source = d.mLoopTypes[both];
    const LoopType& longer = rings[1][0]->mLoopTypes.mLoopTypes[both];
    ASSERT_EQ(longer.mOwnerCount, 2);
    for (int i = 0; i < 2; ++i)
    {
        const size_t place = source.mOwners[i].mOwner == Owner(rings[0][0]) ? 0 : 1;
        EXPECT_EQ(longer.mOwners[i].mOwner, Owner(rings[1][place]));
    }
    const LoopType& shorter = rings[2][0]->mLoopTypes.mLoopTypes[both];
    ASSERT_EQ(shorter.mOwnerCount, 2);
    EXPECT_EQ(shorter.mOwners[0].mOwner, Owner(rings[2][0]));
    EXPECT_EQ(shorter.mOwners[1].mOwner, Owner(rings[2][0]));

    // An owner the diagram never saw: reported once, and that entry and all after it are filled.
    const void* stranger = &trace;
    d.mLoopTypes[both].mOwners[0].mOwner = stranger;
    const TraceSink previous = SetTraceSink([](const char* text) { trace += text; });
    CopyLoopTypesToFaceType(d, &type, false);
    SetTraceSink(previous);
    EXPECT_NE(trace.find("Can't find face-area\n"), std::string::npos);
    EXPECT_EQ(trace.find("Can't find face-area\n"), trace.rfind("Can't find face-area\n"));
    EXPECT_NE(trace.find("Can't find face-area for face"), std::string::npos);
    for (FaceVert* f : {rings[1][0], rings[2][0]})
    {
        const LoopType& copy = f->mLoopTypes.mLoopTypes[both];
        ASSERT_EQ(copy.mOwnerCount, 2);
        EXPECT_EQ(copy.mOwners[0].mOwner, Owner(f));
        EXPECT_NE(copy.mOwners[1].mOwner, nullptr);
        EXPECT_EQ(copy.mOwners[1].mCount, 1);
    }
    for (auto& ring : rings)
        for (FaceVert* f : ring)
            f->mNextOfType = nullptr;
}

TEST_F(FaceDiagramOwnersTest, PolyOwnsItsDiagramPoolsUntilCleared)
{
    Poly poly;
    auto rings = MakeRings(poly, {2});
    FaceDiagram d;
    d.Begin(kOwnerKindFaces, nullptr);
    d.mPools = &poly.mDiagramPools;
    d.mWorkPools = &poly.mDiagramWorkPools[0];
    FeedRing(d, rings[0]);
    ASSERT_TRUE(d.Finish(0, nullptr));
    const LoopType* types = d.mLoopTypes;
    const int count = d.mLoopTypeCount;
    // Other diagrams come and go in the shared pools; the model's results stay.
    {
        FaceDiagram shared;
        AddPolygon(shared, nullptr, Square(5, 5, 1));
        shared.Finish(0, nullptr);
    }
    ASSERT_EQ(count, 3);
    double total = 0.0;
    for (int k = 0; k < count; ++k)
    {
        EXPECT_GE(types[k].mOwnerCount, 1);
        total += TypeArea(d, k);
    }
    EXPECT_NEAR(total, 1.5, 1e-12);
    EXPECT_GT(poly.mDiagramPools.mVerts.NumChunks(), 0);
    EXPECT_GT(poly.mDiagramWorkPools[0].mLoopTypes.NumChunks(), 0);

    poly.mDiagramWorkPools[2].mIndices.Alloc(10);
    poly.Clear();
    EXPECT_EQ(poly.mDiagramPools.mVerts.NumChunks(), 0);
    EXPECT_EQ(poly.mDiagramPools.mFaceAreas.ChunkSize(), 10u);
    for (const DiagramWorkPools& work : poly.mDiagramWorkPools)
    {
        EXPECT_EQ(work.mLoopTypes.NumChunks(), 0);
        EXPECT_EQ(work.mIndices.NumChunks(), 0);
    }
}

TEST_F(FaceDiagramOwnersTest, SectionPolygonsTakeTheLengthWeightedColourOfTheirFaces)
{
    Poly poly;
    auto rings = MakeRings(poly, {1, 1, 1});
    rings[0][0]->mColor = ColorRGB{1, 0, 0};
    rings[1][0]->mColor = ColorRGB{0, 1, 0};
    rings[2][0]->mColor = ColorRGB{0, 0, 1};
    // A 3-4-5 triangle: the edge into point i runs on the face of point i - 1.
    auto* triangle = new SectionPolygon(3);
    triangle->mPoints[0] = Vec3D{0, 0, 0};
    triangle->mPoints[1] = Vec3D{3, 0, 0};
    triangle->mPoints[2] = Vec3D{0, 4, 0};
    for (int i = 0; i < 3; ++i)
        triangle->mFaces[i] = rings[size_t(i)][0];
    auto* dot = new SectionPolygon(1);
    dot->mFaces[0] = rings[1][0];
    triangle->mNext = dot;
    dot->mNext = new SectionPolygon(0);
    poly.mSectionPolygons = triangle;

    ColorSectionPolygons(&poly);
    // Red runs 3 long (0 to 1), green 5 (1 to 2), blue 4 (2 back to 0).
    EXPECT_FLOAT_EQ(triangle->mColor.r, 3.0f / 12.0f);
    EXPECT_FLOAT_EQ(triangle->mColor.g, 5.0f / 12.0f);
    EXPECT_FLOAT_EQ(triangle->mColor.b, 4.0f / 12.0f);
    EXPECT_FLOAT_EQ(dot->mColor.g, 1.0f);
    EXPECT_FLOAT_EQ(dot->mNext->mColor.r + dot->mNext->mColor.g + dot->mNext->mColor.b, 0.0f);

    // As owners of kind 2 they give that colour, opaque, never hidden or selected.
    FaceDiagram d;
    d.Begin(kOwnerKindSections, nullptr);
    AddPolygon(d, triangle, {{0, 0}, {3, 0}, {0, 4}});
    ASSERT_TRUE(d.Finish(0, nullptr));
    ASSERT_EQ(d.mLoopTypeCount, 1);
    CalcAllColors(d.mLoopTypes, 1, PolygonFillOptions::kBlend, kOwnerKindSections, nullptr);
    EXPECT_FLOAT_EQ(d.mLoopTypes[0].mColor1.g, 5.0f / 12.0f);
    EXPECT_FLOAT_EQ(d.mLoopTypes[0].mOpacity, 1.0f);
    EXPECT_FALSE(d.mLoopTypes[0].IsSelected(kOwnerKindSections, nullptr));
}
}  // namespace
