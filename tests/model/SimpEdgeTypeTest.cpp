#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Tolerance.h"
#include "model/SimpEdgeType.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
std::unique_ptr<SimplePoly> Cube()
{
    return MakeModel(ConvexSolid(FindSolid(PlatonicAndArchimedeanSolids(), "cube").points));
}

SimpleFace* FaceWithNormal(SimplePoly& poly, const Vec3D& n)
{
    for (int i = 0; i < poly.mNumFaces; ++i)
    {
        if (Vec3Equal(poly.mFaces[i].mNormal, n, kTol))
            return &poly.mFaces[i];
    }
    return nullptr;
}

// The record of the face at the edge between the two corners.
EdgeFace RecordAt(SimpleFace* f, const SimpleVert* a, const SimpleVert* b)
{
    EdgeFace r;
    for (int k = 0; k < f->mNum; ++k)
    {
        const SimpleVert* p = f->GetVert(k);
        const SimpleVert* q = f->GetVert((k + 1) % f->mNum);
        if ((p == a && q == b) || (p == b && q == a))
            r.Set(f, k);
    }
    return r;
}

SimpleVert* VertAt(SimplePoly& poly, const Vec3D& p)
{
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        if (Vec3Equal(poly.mVerts[i].mPos, p, kTol))
            return &poly.mVerts[i];
    }
    return nullptr;
}

// The cube's edge from (1, 1, -1) to (1, 1, 1) with the faces x = 1 and y = 1, which the half turn
// about (1, 1, 0) swaps.
struct CubeEdge
{
    std::unique_ptr<SimplePoly> cube = Cube();
    SimpEdgeType* head = nullptr;
    SimpEdgeType* tail = nullptr;
    EdgeTypeList owner;
    SimpEdgeType* type = nullptr;

    CubeEdge()
    {
        SimpleVert* a = VertAt(*cube, {1, 1, -1});
        SimpleVert* b = VertAt(*cube, {1, 1, 1});
        type = new SimpEdgeType(a, b, 4.0, 2, head, tail);
        owner.reset(head);
        const EdgeFace records[2] = {RecordAt(FaceWithNormal(*cube, {1, 0, 0}), a, b),
                                     RecordAt(FaceWithNormal(*cube, {0, 1, 0}), a, b)};
        type->AddEdge(2, records);
        for (int i = 0; i < 2; ++i)
            type->mSlots[i].mRotNext = i;
    }
};
}  // namespace

TEST(SimpEdgeTypeTest, NewTypesJoinTheListWithFreshSlots)
{
    auto cube = Cube();
    SimpEdgeType* head = nullptr;
    SimpEdgeType* tail = nullptr;
    auto* first = new SimpEdgeType(&cube->mVerts[0], &cube->mVerts[1], 4.0, 3, head, tail);
    EdgeTypeList owner(head);
    auto* second = new SimpEdgeType(&cube->mVerts[1], &cube->mVerts[2], 4.0, 2, head, tail);
    EXPECT_EQ(head, first);
    EXPECT_EQ(tail, second);
    EXPECT_EQ(first->mNext, second);
    EXPECT_EQ(first->mRotOrder, 1);
    for (int i = 0; i < 3; ++i)
    {
        const EdgeSlot& s = first->mSlots[i];
        EXPECT_EQ(s.mPartner, -1);
        EXPECT_EQ(s.mClass, -1);
        EXPECT_EQ(s.mClassSize, 1);
        EXPECT_EQ(s.mRotNext, -1);
    }
    EdgeFace records[2];
    records[0].Set(&cube->mFaces[0], 1);
    records[1].Set(&cube->mFaces[1], 2);
    records[1].mFlags = EdgeFace::kFromFirstEnd;
    second->AddEdge(2, records);
    EdgeInstance* copy = second->AddEdge(2, records);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(second->mFirstInstance->mNext, copy);
    EXPECT_EQ(second->mLastInstance, copy);
    EXPECT_EQ(copy->mRecords[1].mFace, &cube->mFaces[1]);
    EXPECT_EQ(copy->mRecords[1].mCorner, 2);
    EXPECT_EQ(copy->mRecords[1].mFlags, EdgeFace::kFromFirstEnd);
}

TEST(SimpEdgeTypeTest, HalfTurnJoinsTheTwoSlotsOfAnEdge)
{
    CubeEdge edge;
    edge.cube->ResetTypeIds();
    edge.type->mFirstInstance->mRecords[1].mFace->mId = edge.type->mFirstInstance->mRecords[0].mFace->mId;
    Vec3D axis{1, 1, 0};
    Vec3Normalize(axis);
    edge.type->PairSlotsByRotation(2, axis);
    EXPECT_EQ(edge.type->mSlots[0].mRotNext, 1);
    EXPECT_EQ(edge.type->mSlots[1].mRotNext, 0);
    EXPECT_EQ(edge.type->mRotOrder, 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(edge.type->mSlots[i].mClass, -1);
}

TEST(SimpEdgeTypeTest, NoSlotJoinedWhenNoFaceFits)
{
    struct Case
    {
        const char* name;
        bool sameType;
        Vec3D axis;
        int order;
    };
    const Case kCases[] = {
        {"faces of two types", false, {1, 1, 0}, 2},
        {"a turn that moves the edge", true, {0, 0, 1}, 4},
        {"a third of a turn", true, {1, 1, 0}, 3},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        CubeEdge edge;
        edge.cube->ResetTypeIds();
        if (c.sameType)
            edge.type->mFirstInstance->mRecords[1].mFace->mId = edge.type->mFirstInstance->mRecords[0].mFace->mId;
        Vec3D axis = c.axis;
        Vec3Normalize(axis);
        edge.type->PairSlotsByRotation(c.order, axis);
        EXPECT_EQ(edge.type->mSlots[0].mRotNext, 0);
        EXPECT_EQ(edge.type->mSlots[1].mRotNext, 1);
        EXPECT_EQ(edge.type->mRotOrder, 1);
    }
}

TEST(SimpEdgeTypeTest, UnlinkingFromACoplanarRingOfThreeLeavesTwoAndOne)
{
    auto cube = Cube();
    SimpEdgeType* head = nullptr;
    SimpEdgeType* tail = nullptr;
    new SimpEdgeType(&cube->mVerts[0], &cube->mVerts[1], 4.0, 3, head, tail);
    EdgeTypeList owner(head);
    EdgeSlot* s = head->mSlots.get();
    for (int i = 0; i < 3; ++i)
    {
        s[i].mCoplanarNext = (i + 1) % 3;
        s[i].mCoplanarPrev = (i + 2) % 3;
    }
    EXPECT_EQ(head->UnlinkCoplanar(1), 1);
    EXPECT_EQ(s[1].mCoplanarNext, 1);
    EXPECT_EQ(s[1].mCoplanarPrev, 1);
    EXPECT_EQ(s[0].mCoplanarNext, 2);
    EXPECT_EQ(s[2].mCoplanarNext, 0);
    EXPECT_EQ(s[0].mCoplanarPrev, 2);
    EXPECT_EQ(s[2].mCoplanarPrev, 0);
    // A slot alone stays alone.
    EXPECT_EQ(head->UnlinkCoplanar(1), 1);
    EXPECT_EQ(s[1].mCoplanarNext, 1);
    EXPECT_EQ(s[0].mCoplanarNext, 2);
}
