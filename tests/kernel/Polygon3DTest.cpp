#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"

#include <gtest/gtest.h>

TEST(Polygon3DTest, ListsOfDrawnPolygons)
{
    Polygon3D* first = nullptr;
    Polygon3D* last = nullptr;
    Polygon3D* a = new Polygon3D(first, last);
    Polygon3D* b = new Polygon3D(first, last);
    EXPECT_EQ(first, a);
    EXPECT_EQ(last, b);
    EXPECT_EQ(a->mNext, b);
    EXPECT_EQ(ListCount(first), 2);
    EXPECT_EQ(b->ListIndex(first), 1);
    EXPECT_EQ(a->ListIndex(b), -1);
    EXPECT_EQ(a->mTriangulation.indexCount, -1);

    for (int i = 0; i < 3; ++i)
    {
        Vec3D p{double(i), 0, 0};
        AddRingVert(double(i), 0.0, nullptr, &p, b->mRing);
    }
    b->RemoveLastVert();
    EXPECT_EQ(RingCount(b->mRing), 2);
    EXPECT_EQ(b->mRing->prev->pos.x, 1.0);
    b->RemoveLastVert();
    b->RemoveLastVert();
    EXPECT_EQ(b->mRing, nullptr);
    FreePolygon3DList(first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(ListCount(first), 0);
}
