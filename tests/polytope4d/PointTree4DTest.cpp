#include "Polytope4DFixtures.h"

#include <gtest/gtest.h>

namespace
{
using PointTree4DTest = Polytope4DTestBase;
}  // namespace

TEST_F(PointTree4DTest, FindsWithinTheToleranceAndCreatesBeyondIt)
{
    struct Offset
    {
        const char* name;
        Vec4D by;
        bool found;
    };
    const Offset kOffsets[] = {
        {"same place", {0, 0, 0, 0}, true},
        {"just inside on every axis", {0.99e-4, -0.99e-4, 0.99e-4, -0.99e-4}, true},
        {"2e-4 along x", {2e-4, 0, 0, 0}, false},
        {"2e-4 along w", {0, 0, 0, -2e-4}, false},
        {"inside on x, beyond on z", {0.5e-4, 0, 2e-4, 0}, false},
    };
    for (const Offset& o : kOffsets)
    {
        SCOPED_TRACE(o.name);
        Polytope4D p;
        Vert4D* verts[3];
        const Vec4D places[3] = {{0.3, 0.1, -0.2, 0.7}, {-0.5, 0.5, 0.5, 0.5}, {0.3, 0.1, -0.2, -0.7}};
        for (int i = 0; i < 3; ++i)
            verts[i] = p.FindOrCreateVert(places[i]);
        ASSERT_EQ(p.mNumVerts, 3);
        for (int i = 0; i < 3; ++i)
        {
            Vec4D pos;
            Vec4Add(pos, places[i], o.by);
            Vert4D* got = p.FindOrCreateVert(pos);
            EXPECT_EQ(got == verts[i], o.found);
            EXPECT_EQ(p.FindVert(pos) == verts[i], o.found);
        }
        EXPECT_EQ(p.mNumVerts, o.found ? 3 : 6);
    }
}

TEST_F(PointTree4DTest, DeletingAVertexDropsTheTree)
{
    Polytope4D p;
    const Vec4D a{1, 0, 0, 0}, b{0, 1, 0, 0}, c{0, 0, 1, 0};
    Vert4D* va = p.FindOrCreateVert(a);
    Vert4D* vb = p.FindOrCreateVert(b);
    p.FindOrCreateVert(c);
    ASSERT_NE(p.mPointTree, nullptr);

    p.DeleteVert(vb);
    EXPECT_EQ(p.mPointTree, nullptr);
    // The deleted vertex is not handed back (ASan would flag its use).
    EXPECT_EQ(p.FindVert(b), nullptr);
    EXPECT_EQ(p.FindVert(a), va);
    EXPECT_EQ(p.FindOrCreateVert(a), va);
    EXPECT_EQ(p.mNumVerts, 2);
    ASSERT_NE(p.mPointTree, nullptr);
    EXPECT_EQ(p.mPointTree->Count(), 2);
    Vert4D* again = p.FindOrCreateVert(b);
    EXPECT_EQ(p.mNumVerts, 3);
    EXPECT_EQ(p.FindVert(b), again);

    p.Clear();
    EXPECT_EQ(p.mPointTree, nullptr);
}

TEST_F(PointTree4DTest, VerticesMadeBeforeTheTreeAreFound)
{
    Polytope4D p;
    const Vec4D pos{0.25, 0.5, 0.75, 1.0};
    Vert4D* made = p.NewVert(&pos);
    Vert4D* twin = p.NewVert(&pos);  // coincident vertices: the first in list order is found
    EXPECT_EQ(p.FindVert(pos), made);
    EXPECT_EQ(p.FindOrCreateVert(pos), made);
    EXPECT_NE(twin, made);
    EXPECT_EQ(p.mNumVerts, 2);
    EXPECT_EQ(p.mPointTree->Count(), 1);
}
