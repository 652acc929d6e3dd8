#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"

#include <gtest/gtest.h>

TEST(Faceting, EdgesJoinTheListAndPairWithTheirMirrors)
{
    Faceting faceting(nullptr);
    FacetingEdge* a = new FacetingEdge(faceting, nullptr, nullptr, 1.0);
    FacetingEdge* b = new FacetingEdge(faceting, nullptr, nullptr, 2.0);
    FacetingEdge* c = new FacetingEdge(faceting, nullptr, nullptr, 2.0);
    EXPECT_EQ(faceting.mNumEdges, 3);
    EXPECT_EQ(faceting.mFirstEdge, a);
    EXPECT_EQ(faceting.mLastEdge, c);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(c->prev, b);

    // A chiral pair sits side by side, the first marked 0x20 and the second 0x40.
    a->mFlags = kFacetingEdgeReflexible;
    b->mFlags = kFacetingEdgeChiralFirst;
    c->mFlags = kFacetingEdgeChiralSecond | kFacetingEdgeOpen;
    EXPECT_EQ(a->GetMirror(), a);
    EXPECT_EQ(b->GetMirror(), c);
    EXPECT_EQ(c->GetMirror(), b);
    EXPECT_EQ(b->GetMirror()->GetMirror(), b);
}

TEST(Faceting, ClearFreesTheEdgesAndStartsAfresh)
{
    Faceting faceting(nullptr);
    for (int i = 0; i < 4; ++i)
        new FacetingEdge(faceting, nullptr, nullptr, double(i));
    faceting.mVertexTypeUses.assign(3, 2);
    faceting.mStack.resize(5);
    faceting.mNumFacets = 2;
    faceting.mUnitingFace = 3;
    faceting.mIsChiralCompound = true;
    faceting.mTotalCount.AddWord(12);
    faceting.mCurrentEdge = faceting.mFirstEdge;

    faceting.Clear();
    EXPECT_EQ(faceting.mFirstEdge, nullptr);
    EXPECT_EQ(faceting.mLastEdge, nullptr);
    EXPECT_EQ(faceting.mCurrentEdge, nullptr);
    EXPECT_EQ(faceting.mNumEdges, 0);
    EXPECT_EQ(faceting.mNumFacets, 0);
    EXPECT_TRUE(faceting.mVertexTypeUses.empty());
    EXPECT_TRUE(faceting.mStack.empty());
    EXPECT_EQ(faceting.mUnitingFace, -1);
    EXPECT_FALSE(faceting.mIsChiralCompound);
    EXPECT_TRUE(faceting.mTotalCount.IsZero());

    // Usable again after clearing.
    new FacetingEdge(faceting, nullptr, nullptr, 1.0);
    EXPECT_EQ(faceting.mNumEdges, 1);
}
