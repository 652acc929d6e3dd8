// The vertex search of SimplePoly: which vertex a point is given when it is near enough to more than
// one, and that the answer survives everything that moves or rebuilds the vertices.
#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

// Which vertex FindOrCreateVert answered: record 0, record 1 or a new record.
enum Answer
{
    kFirst,
    kSecond,
    kNew
};

Answer Ask(SimplePoly& poly, const Vec3D& point, bool inf = false)
{
    int next = 2;
    SimpleVert* v = poly.FindOrCreateVert(point, next, inf);
    if (v == &poly.mVerts[0])
        return kFirst;
    if (v == &poly.mVerts[1])
        return kSecond;
    EXPECT_EQ(next, 3);
    return kNew;
}

TEST(SimpleVertGridTest, NearTiesGoToTheNearestVertexWhateverTheOrderOfEntry)
{
    const double h = std::ldexp(1.0, -24);  // 6e-8, exact in binary: distances tie exactly
    struct Case
    {
        const char* name;
        Vec3D first, second, point;
        Answer answer;
    };
    const Case kCases[] = {
        {"within reach of both, nearer the second", {0, 0, 0}, {1.5e-7, 0, 0}, {0.9e-7, 0, 0}, kSecond},
        {"within reach of both, nearer the first", {0, 0, 0}, {1.5e-7, 0, 0}, {0.6e-7, 0, 0}, kFirst},
        {"nearest by distance, not by the largest coordinate difference",
         {0.8e-7, 0.8e-7, 0.8e-7},
         {-0.9e-7, 0, 0},
         {0, 0, 0},
         kSecond},
        {"equal distances: the position first in x", {2 * h, 0, 0}, {0, 0, 0}, {h, 0, 0}, kSecond},
        {"equal distances, equal x: the position first in y", {0, 2 * h, 0}, {0, 0, 0}, {0, h, 0}, kSecond},
        {"the very same place: the lower record", {1, 2, 3}, {1, 2, 3}, {1, 2, 3 + 0.5e-7}, kFirst},
        // A search that orders by x first would turn right at the first vertex and miss the second.
        {"found though the other vertex orders it away", {0, 0, 0}, {0.9e-7, -5, 0}, {1.8e-7, -5, 0}, kSecond},
        {"beyond reach of both", {0, 0, 0}, {1.5e-7, 0, 0}, {3e-7, 0, 0}, kNew},
        {"within reach in two coordinates only", {0, 0, 0}, {0, 1, 0}, {0.5e-7, 0.5e-7, 2e-7}, kNew},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        for (bool firstEnteredFirst : {true, false})
        {
            // Growing enters every vertex anew, in index order.
            for (bool grown : {false, true})
            {
                SCOPED_TRACE(firstEnteredFirst ? "first entered first" : "second entered first");
                SCOPED_TRACE(grown ? "grown" : "as entered");
                SimplePoly poly(3, 0);
                if (firstEnteredFirst)
                {
                    poly.mVerts[0].SetPos(c.first);
                    poly.mVerts[1].SetPos(c.second);
                }
                else
                {
                    poly.mVerts[1].SetPos(c.second);
                    poly.mVerts[0].SetPos(c.first);
                }
                if (grown)
                    poly.Grow(40, 0);
                EXPECT_EQ(Ask(poly, c.point), c.answer);
            }
        }
    }
}

TEST(SimpleVertGridTest, FiniteAndInfiniteVerticesAtOnePlaceAreKeptApart)
{
    for (bool infEnteredFirst : {true, false})
    {
        SCOPED_TRACE(infEnteredFirst ? "infinite entered first" : "finite entered first");
        SimplePoly poly(3, 0);
        poly.mVerts[1].mFlags |= E::kInf;
        poly.mVerts[infEnteredFirst ? 1 : 0].SetPos({0, 0, 1});
        poly.mVerts[infEnteredFirst ? 0 : 1].SetPos({0, 0, 1});
        EXPECT_EQ(Ask(poly, {0, 0, 1 + 5e-8}, false), kFirst);
        EXPECT_EQ(Ask(poly, {0, 0, 1 + 5e-8}, true), kSecond);
    }
}

// Points far from the unit scale, or not numbers, are merged only with what lies within reach.
TEST(SimpleVertGridTest, ExtremeCoordinates)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* name;
        Vec3D first, second;
        bool merged;
    };
    const Case kCases[] = {
        {"zero and negative zero", {0, 0, 0}, {-0.0, -0.0, -0.0}, true},
        {"either side of a cell border at 0", {0.5e-7, 0, 0}, {-0.4e-7, 0, 0}, true},
        {"far out, within reach", {3e9, -2e9, 1}, {3e9, -2e9, 1 + 0.5e-7}, true},
        {"far out, one apart", {3e9, -2e9, 1}, {3e9, -2e9, 2}, false},
        {"beyond the grid, within reach", {1e15, 1e15, 1}, {1e15, 1e15, 1 + 0.5e-7}, true},
        {"beyond the grid, one apart", {1e15, 1e15, 1}, {1e15 + 1, 1e15, 1}, false},
        {"an infinite coordinate", {inf, 0, 0}, {inf, 0, 0}, true},
        {"not a number and a number", {0, 0, 0}, {nan, 0, 0}, false},
        {"a number and not a number", {nan, 0, 0}, {0, 0, 0}, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SimplePoly poly(2, 0);
        int next = 0;
        SimpleVert* a = poly.FindOrCreateVert(c.first, next);
        SimpleVert* b = poly.FindOrCreateVert(c.second, next);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a == b, c.merged);
        EXPECT_EQ(poly.FindOrCreateVert(c.first, next), a);
    }

    // Many vertices beyond the grid share its outermost cells and are still told apart.
    SimplePoly row(200, 0);
    int next = 0;
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(row.FindOrCreateVert({1e12 + i, -1e13, 0}, next)->GetIndex(), i);
    for (int i = 199; i >= 0; --i)
        EXPECT_EQ(row.FindOrCreateVert({1e12 + i, -1e13, 0}, next)->GetIndex(), i);
    EXPECT_EQ(next, 200);
}

// Every operation that moves the vertices of a model leaves them findable where they now are, and
// not where they were.
TEST(SimpleVertGridTest, VerticesAreFoundWhereTheModelMovedThem)
{
    Mat3 quarterTurn;
    quarterTurn.SetAxisRotationExact(2, 1, 4);
    struct Case
    {
        const char* name;
        std::function<void(SimplePoly&)> move;
    };
    const Case kCases[] = {
        {"translated", [](SimplePoly& p) { p.Translate({0.25, -3, 7}); }},
        {"scaled through the centre", [](SimplePoly& p) { p.Scale(-2.0); }},
        {"stretched", [](SimplePoly& p) { p.StretchAlong(3.0, {0.6, 0.8, 0}); }},
        {"turned", [&](SimplePoly& p) { p.Rotate(quarterTurn); }},
        {"mirrored", [](SimplePoly& p) { p.MirrorImage(nullptr); }},
        {"projected onto the sphere", [](SimplePoly& p) { p.ProjectOntoSphere(); }},
        {"centred", [](SimplePoly& p) { p.Centralise(); }},
    };
    // A lattice in its own order, the order that a search ordered by position suffers most from;
    // off the centre, so that no two of its points lie in one direction from it.
    std::vector<Vec3D> points;
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 4; ++y)
            for (int z = 1; z <= 4; ++z)
                points.push_back({double(x), 0.5 * y, 10 + 0.25 * z});
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SimplePoly poly(int(points.size()) + 1, 0);
        int next = 0;
        for (const Vec3D& p : points)
            poly.FindOrCreateVert(p, next);
        ASSERT_EQ(next, int(points.size()));
        c.move(poly);
        for (int i = 0; i < next; ++i)
        {
            const Vec3D now = poly.mVerts[i].mPos;
            int probe = next;
            EXPECT_EQ(poly.FindOrCreateVert(now, probe), &poly.mVerts[i]) << "vertex " << i;
            EXPECT_EQ(probe, next);
        }
    }
}

TEST(SimpleVertGridTest, AnEmptiedTreeFindsNothingUntilVerticesAreEnteredAgain)
{
    SimplePoly poly(4, 0);
    int next = 0;
    SimpleVert* a = poly.FindOrCreateVert({1, 2, 3}, next);
    poly.FindOrCreateVert({4, 5, 6}, next);
    ASSERT_EQ(next, 2);

    // Whoever empties the tree nulls its first vertex and clears the flags of what it enters anew.
    poly.mVertTree = nullptr;
    for (int i = 0; i < 2; ++i)
        poly.mVerts[i].mFlags &= ~E::kInTree;
    SimpleVert* fresh = poly.FindOrCreateVert({1, 2, 3}, next);
    EXPECT_NE(fresh, a);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(poly.mVertTree, fresh);

    poly.InsertInTree(a);
    EXPECT_TRUE(a->mFlags & E::kInTree);
    EXPECT_EQ(poly.FindOrCreateVert({1, 2, 3}, next), a);  // the lower of two records in one place
    EXPECT_EQ(poly.FindOrCreateVert({4, 5, 6}, next)->GetIndex(), 3);  // never entered again
    EXPECT_EQ(next, 4);
}
}  // namespace
