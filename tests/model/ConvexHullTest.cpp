#include "HullChecks.h"
#include "SolidPoints.h"

#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

std::vector<Vec3D> CubeCorners()
{
    return FindSolid(PlatonicAndArchimedeanSolids(), "cube").points;
}

// The 27 points of the 3 x 3 x 3 grid over the cube: corners, edge midpoints, face centres, centre.
std::vector<Vec3D> CubeGrid()
{
    std::vector<Vec3D> points;
    for (int x = -1; x <= 1; ++x)
        for (int y = -1; y <= 1; ++y)
            for (int z = -1; z <= 1; ++z)
                points.push_back({double(x), double(y), double(z)});
    return points;
}

bool IsCubeCorner(const Vec3D& p)
{
    return std::fabs(p.x) == 1 && std::fabs(p.y) == 1 && std::fabs(p.z) == 1;
}

// A closed model from face corner lists, each face in a colour of its own.
std::unique_ptr<SimplePoly> MakeModel(const std::vector<Vec3D>& verts, const std::vector<std::vector<int>>& faces)
{
    auto poly = MakeFacedPoly(verts, faces);
    for (int f = 0; f < poly->mNumFaces; ++f)
        poly->mFaces[f].mColor = poly->mFaces[f].mBackColor = 0x000010u * uint32_t(f + 1);
    return poly;
}

// The cube with its top face pushed in to a point below it: 4 triangles instead of the square.
std::unique_ptr<SimplePoly> MakeDentedCube()
{
    std::vector<Vec3D> verts = CubeCorners();
    verts.push_back({0, 0, 0.5});
    const int dent = int(verts.size()) - 1;
    std::vector<std::vector<int>> faces = CubeFaces(verts);
    const std::vector<int> top = faces[4];
    faces.erase(faces.begin() + 4);
    for (int k = 0; k < 4; ++k)
        faces.push_back({top[size_t(k)], top[size_t((k + 1) % 4)], dent});
    return MakeModel(verts, faces);
}
}  // namespace

TEST(ConvexHullTest, HullsOfPointSets)
{
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    std::vector<Vec3D> nearDuplicate = CubeCorners();
    nearDuplicate.push_back({1 + 0.5 * kTol, 1 - 0.5 * kTol, 1});
    // A point on the line of the cube's edge x = y = 1, beyond its corner (1, 1, 1): that corner
    // ends straight between (1, 1, -1) and the new point, and the top splits into two triangles.
    std::vector<Vec3D> extended = CubeCorners();
    extended.push_back({1, 1, 3});

    struct HullCase
    {
        const char* name;
        std::vector<Vec3D> points;
        int v, e, f;
        int cornerSides;  // every face has this many corners; 0: mixed
    };
    const HullCase kCases[] = {
        {"tetrahedron", FindSolid(solids, "tetrahedron").points, 4, 6, 4, 3},
        {"cube corners", CubeCorners(), 8, 12, 6, 4},
        {"dodecahedron corners", FindSolid(solids, "dodecahedron").points, 20, 30, 12, 5},
        {"cube with edge midpoints, face centres and centre", CubeGrid(), 8, 12, 6, 4},
        {"cube with a point within the tolerance of a corner", nearDuplicate, 8, 12, 6, 4},
        {"cube with a point beyond a corner on an edge's line", extended, 8, 13, 7, 0},
    };
    for (const HullCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto source = MakePointPoly(c.points);
        std::unique_ptr<SimplePoly> hull = CreateConvexHull(source.get(), 0);
        ASSERT_TRUE(hull);
        const HullShape shape = CheckSoundHull(*hull, &c.points, kTol);
        EXPECT_EQ(shape.v, c.v);
        EXPECT_EQ(shape.e, c.e);
        EXPECT_EQ(shape.f, c.f);
        ASSERT_EQ(hull->mNumVerts, int(c.points.size()));
        for (int i = 0; i < hull->mNumVerts; ++i)
            EXPECT_TRUE(Vec3Equal(hull->mVerts[i].mPos, c.points[size_t(i)], 0.0)) << "vertex " << i;
        for (int fi = 0; fi < hull->mNumFaces && c.cornerSides; ++fi)
            EXPECT_EQ(hull->mFaces[fi].mNum, c.cornerSides);
    }
}

TEST(ConvexHullTest, OnlyTheCornersStayAndTheEarlierOfTwoNearPointsWins)
{
    auto grid = MakePointPoly(CubeGrid());
    auto hull = CreateConvexHull(grid.get(), 0);
    ASSERT_TRUE(hull);
    for (int i = 0; i < hull->mNumVerts; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ((hull->mVerts[i].mFlags & E::kTemp) == 0, IsCubeCorner(hull->mVerts[i].mPos));
    }

    std::vector<Vec3D> points = CubeCorners();
    points.push_back({1 + 0.5 * kTol, 1, 1 - 0.5 * kTol});  // the later copy of corner (1, 1, 1)
    auto twice = MakePointPoly(points);
    hull = CreateConvexHull(twice.get(), 0);
    ASSERT_TRUE(hull);
    EXPECT_TRUE(hull->mVerts[8].mFlags & E::kTemp);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(hull->mVerts[i].mFlags & E::kTemp) << i;

    // The corner the line runs through is no corner any more.
    points = CubeCorners();
    points.push_back({1, 1, 3});
    auto extended = MakePointPoly(points);
    hull = CreateConvexHull(extended.get(), 0);
    ASSERT_TRUE(hull);
    for (int i = 0; i < hull->mNumVerts; ++i)
    {
        const Vec3D& p = hull->mVerts[i].mPos;
        EXPECT_EQ((hull->mVerts[i].mFlags & E::kTemp) != 0, p.x == 1 && p.y == 1 && p.z == 1) << i;
    }
}

TEST(ConvexHullTest, NoSolidGivesNoHull)
{
    struct FlatCase
    {
        const char* name;
        std::vector<Vec3D> points;
    };
    const FlatCase kCases[] = {
        {"three points", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}},
        {"four points in one plane", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}},
        {"a square grid", {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {0, 1, 1}, {1, 1, 1}, {2, 1, 1}, {0, 2, 1}}},
        {"a plane within the tolerance", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0.5 * kTol}, {3, 2, -0.5 * kTol}}},
        {"points on one line", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {-3, -3, -3}, {0.5, 0.5, 0.5}}},
        {"one point many times", {{1, 2, 3}, {1, 2, 3}, {1, 2, 3 + 0.5 * kTol}, {1, 2, 3}}},
    };
    for (const FlatCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto source = MakePointPoly(c.points);
        EXPECT_FALSE(CreateConvexHull(source.get(), 0));

        // The in-place form leaves the faces as they were.
        source->mFlags |= P::kMayGrow;
        source->GetFace(0)->SetNumVerts(3);
        const int faces = source->mNumFaces;
        EXPECT_FALSE(source->ComputeConvexHull(faces));
        EXPECT_EQ(source->mNumFaces, faces);
    }
    EXPECT_FALSE(CreateConvexHull(nullptr, 0));
}

TEST(ConvexHullTest, TempInfiniteAndMarkedVerticesTakeNoPart)
{
    std::vector<Vec3D> points = CubeCorners();
    points.push_back({10, 0, 0});  // left out by the caller
    points.push_back({0, 0, 1});   // a direction, not a point
    auto source = MakePointPoly(points);
    source->mVerts[8].mFlags |= E::kTemp;
    source->mVerts[9].mFlags |= E::kInf;
    auto hull = CreateConvexHull(source.get(), 0);
    ASSERT_TRUE(hull);
    HullShape shape = CheckSoundHull(*hull, nullptr, kTol);
    EXPECT_EQ(shape.v, 8);
    EXPECT_EQ(shape.f, 6);
    EXPECT_TRUE(hull->mVerts[8].mFlags & E::kTemp);
    EXPECT_TRUE(hull->mVerts[9].mFlags & E::kTemp);

    // In place, vertices with a scratch mark (done, edge type) are left out too, and end Temp.
    points.push_back({0, -7, 0});
    auto poly = MakePointPoly(points);
    poly->mVerts[8].mFlags |= E::kDone;
    poly->mVerts[9].mFlags |= E::kInf;
    poly->mVerts[10].mFlags |= E::kEdgeTypeMark;
    ASSERT_TRUE(poly->ComputeConvexHull(0));
    shape = CheckSoundHull(*poly, nullptr, kTol);
    EXPECT_EQ(shape.v, 8);
    EXPECT_EQ(shape.f, 6);
    for (int i = 8; i < 11; ++i)
        EXPECT_TRUE(poly->mVerts[i].mFlags & E::kTemp) << i;
    EXPECT_FALSE(poly->mVerts[8].mFlags & E::kDone);
}

TEST(ConvexHullTest, HullRecordTakesTheSourcesScaleAndFlags)
{
    auto source = MakePointPoly(CubeCorners());
    source->mScale = 3.5;
    source->mFlags |= P::kFrom4D;
    auto hull = CreateConvexHull(source.get(), 0);
    ASSERT_TRUE(hull);
    EXPECT_EQ(hull->mScale, 3.5);
    for (uint32_t flag : {P::kKeepRealSize, P::kFrom4D, P::kMayGrow, P::kConvex, P::kRadiallyConvex,
                          P::kNonSelfIntersecting})
        EXPECT_TRUE(hull->mFlags & flag) << std::hex << flag;
    EXPECT_FALSE(hull->mFlags & P::kKeepBaseColors);
    EXPECT_EQ(hull->mName, "Convex hull");
    for (int fi = 0; fi < hull->mNumFaces; ++fi)
    {
        // The cube's faces are its axis planes: the outward normal is the axis of the corners' shared
        // coordinate.
        const SimpleFace& f = hull->mFaces[fi];
        const Vec3D& n = f.mNormal;
        for (int k = 0; k < f.mNum; ++k)
            EXPECT_NEAR(Vec3Dot(n, f.GetVert(k)->mPos), 1.0, 1e-12);
        EXPECT_NEAR(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z), 1.0, 1e-12);
    }
}

TEST(ConvexHullTest, InPlaceHullWritesFromTheGivenFace)
{
    auto poly = MakePointPoly(FindSolid(PlatonicAndArchimedeanSolids(), "octahedron").points);
    poly->mFlags |= P::kMayGrow;
    SimpleFace* kept = poly->GetFace(1);
    kept->SetNumVerts(3);
    kept->mColor = 0x123456;
    poly->mNumFaces = 2;
    ASSERT_TRUE(poly->ComputeConvexHull(2));
    EXPECT_EQ(poly->mNumFaces, 10);
    EXPECT_EQ(poly->mFaces[1].mColor, 0x123456u);
    EXPECT_EQ(poly->mFaces[1].mNum, 3);
    for (int fi = 2; fi < poly->mNumFaces; ++fi)
        EXPECT_EQ(poly->mFaces[fi].mNum, 3);
    for (int i = 0; i < poly->mNumVerts; ++i)
        EXPECT_FALSE(poly->mVerts[i].mFlags & (E::kTemp | E::kDone));
}

TEST(ConvexHullTest, MarkingModeFindsTheFacesOnTheHull)
{
    // A convex model: every face lies on the hull.
    const std::vector<Vec3D> corners = CubeCorners();
    auto cube = MakeModel(corners, CubeFaces(corners));
    auto hull = CreateConvexHull(cube.get(), kHullMarkingMode);
    ASSERT_TRUE(hull);
    EXPECT_TRUE(cube->mFlags & P::kConvex);
    for (int fi = 0; fi < cube->mNumFaces; ++fi)
        EXPECT_TRUE(cube->mFaces[fi].mFlags & E::kHullMark) << fi;
    for (int i = 0; i < cube->mNumVerts; ++i)
        EXPECT_TRUE(cube->mVerts[i].mFlags & E::kHullMark) << i;
    for (int fi = 0; fi < hull->mNumFaces; ++fi)
        EXPECT_FALSE(hull->mFaces[fi].mFlags & E::kDone);

    // A dented model: its hull's top has no face behind it, so nothing is concluded.
    auto dented = MakeDentedCube();
    hull = CreateConvexHull(dented.get(), kHullMarkingMode);
    ASSERT_TRUE(hull);
    EXPECT_FALSE(dented->mFlags & P::kConvex);
    for (int fi = 0; fi < dented->mNumFaces; ++fi)
        EXPECT_EQ((dented->mFaces[fi].mFlags & E::kHullMark) != 0, dented->mFaces[fi].mNum == 4) << fi;
    for (int i = 0; i < dented->mNumVerts; ++i)
        EXPECT_FALSE(dented->mVerts[i].mFlags & E::kHullMark) << i;
}

TEST(ConvexHullTest, MarkingModeMatchesThroughCoincidentVertices)
{
    // Face 2 of the cube uses a second record at the place of one corner; the hull keeps only the
    // first record, and the ring of coincident vertices still leads to face 2.
    std::vector<Vec3D> verts = CubeCorners();
    const std::vector<std::vector<int>> faces = CubeFaces(verts);
    const int shared = faces[2][0];
    verts.push_back(verts[size_t(shared)]);
    std::vector<std::vector<int>> split = faces;
    split[2][0] = 8;
    auto cube = MakeModel(verts, split);
    cube->mVerts[shared].mNextCoincident = &cube->mVerts[8];
    cube->mVerts[8].mNextCoincident = &cube->mVerts[shared];

    auto hull = CreateConvexHull(cube.get(), kHullMarkingMode);
    ASSERT_TRUE(hull);
    EXPECT_TRUE(hull->mVerts[8].mFlags & E::kTemp);
    for (int fi = 0; fi < cube->mNumFaces; ++fi)
        EXPECT_TRUE(cube->mFaces[fi].mFlags & E::kHullMark) << fi;
    EXPECT_TRUE(cube->mFlags & P::kConvex);
}

TEST(ConvexHullTest, ColourModeKeepsSourceColoursAndTintsNewFaces)
{
    auto dented = MakeDentedCube();
    dented->mFaces[0].mBackColor = 0x00ff00;
    auto hull = CreateConvexHull(dented.get(), kHullColorMode);
    ASSERT_TRUE(hull);
    EXPECT_TRUE(hull->mFlags & P::kKeepBaseColors);
    EXPECT_FALSE(dented->mFlags & P::kConvex);

    // The source's square faces carry their own colours; the hull's faces over them take them.
    GrowableArray<ColorRGB> used;
    used.Reserve(16);
    int fresh = -1;
    for (int fi = 0; fi < hull->mNumFaces; ++fi)
    {
        const SimpleFace& h = hull->mFaces[fi];
        EXPECT_FALSE(h.mFlags & E::kDone);
        const SimpleFace* behind = nullptr;
        for (int s = 0; s < dented->mNumFaces; ++s)
        {
            const SimpleFace& u = dented->mFaces[s];
            if (u.mNum == 4 && Vec3Equal(u.mNormal, h.mNormal, 1e-9))
                behind = &u;
        }
        if (behind)
        {
            EXPECT_EQ(h.mColor, behind->mColor);
            EXPECT_EQ(h.mBackColor, behind->mBackColor);
            ColorRGB c;
            ColorFromRGB(c, behind->mColor);
            used.Add(c);
            ColorFromRGB(c, behind->mBackColor);
            used.Add(c);
        }
        else
        {
            EXPECT_EQ(fresh, -1) << "one face has nothing behind it";
            fresh = fi;
        }
    }
    ASSERT_GE(fresh, 0);

    // The new colour is 70 % dark grey and 30 % a palette colour that no kept face uses.
    const SimpleFace& top = hull->mFaces[fresh];
    EXPECT_EQ(top.mColor, top.mBackColor);
    ColorRGB got;
    ColorFromRGB(got, top.mColor);
    bool found = false;
    for (int i = 0; i < kPaletteSize && !found; ++i)
    {
        ColorRGB p;
        ColorFromRGB(p, PaletteEntry(i));
        const float mixed[3] = {0.7f * 0.2509804f + 0.3f * p.r, 0.7f * 0.2509804f + 0.3f * p.g,
                                0.7f * 0.2509804f + 0.3f * p.b};
        if (std::fabs(mixed[0] - got.r) <= 1.0f / 255 && std::fabs(mixed[1] - got.g) <= 1.0f / 255 &&
            std::fabs(mixed[2] - got.b) <= 1.0f / 255)
        {
            bool taken = false;
            for (const ColorRGB& u : used)
                taken = taken || ColorSame(u, p);
            found = !taken;
        }
    }
    EXPECT_TRUE(found) << std::hex << top.mColor;
}

TEST(ConvexHullTest, AddDistinctColorFindsOrAppendsWithinItsCapacity)
{
    ScopedScriptedServices scripted;
    GrowableArray<ColorRGB> list;
    list.Reserve(2);
    const ColorRGB red{1, 0, 0}, nearRed{1, 1.0f / 1024, 0}, blue{0, 0, 1}, green{0, 1, 0};
    EXPECT_EQ(AddDistinctColor(list, red), 0);
    EXPECT_EQ(AddDistinctColor(list, nearRed), 0);  // within 1/512 in every channel
    EXPECT_EQ(AddDistinctColor(list, blue), 1);
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(AddDistinctColor(list, blue), 1);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(AddDistinctColor(list, green), -1);
    EXPECT_EQ(list.count, 2u);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scripted.services.LastCall("MessageBox")->text.find("Too many colors!"), std::string::npos);
}
