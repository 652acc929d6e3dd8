#include "ElementFixtures.h"

#include "kernel/Palette.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace
{
struct Triangle
{
    Vec3D corners[3];
    Vec3D normal;
    float rgba[4];
    int selectionType;
    int selectionIndex;
};

std::vector<Triangle> Triangles(const RecordingSceneDrawer& drawer)
{
    std::vector<Triangle> out;
    for (const RecordingSceneDrawer::Call& call : drawer.calls)
    {
        if (call.name != "AddTriangle")
            continue;
        const std::vector<double>& v = call.values;
        Triangle t;
        for (int c = 0; c < 3; ++c)
            t.corners[c] = Vec3D{v[size_t(3 * c)], v[size_t(3 * c + 1)], v[size_t(3 * c + 2)]};
        t.normal = Vec3D{v[9], v[10], v[11]};
        for (int c = 0; c < 4; ++c)
            t.rgba[c] = float(v[size_t(12 + c)]);
        t.selectionType = int(v[17]);
        t.selectionIndex = int(v[18]);
        out.push_back(t);
    }
    return out;
}

double Area(const Triangle& t)
{
    Vec3D e1, e2, n;
    Vec3Sub(e1, t.corners[1], t.corners[0]);
    Vec3Sub(e2, t.corners[2], t.corners[0]);
    Vec3Cross(n, e1, e2);
    return Vec3Length(n) / 2.0;
}

// The plane of the triangle's corners: the unit normal n and n . p.
double PlaneOffset(const Triangle& t)
{
    return Vec3Dot(t.normal, t.corners[0]);
}

// The face whose plane the triangle lies in, by its unit normal.
const FaceVert* FaceOf(const Poly& poly, const Triangle& t)
{
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        if (Vec3Dot(f->GetNormal(), t.normal) > 1.0 - 1e-9)
            return f;
    return nullptr;
}

class PolyDrawingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedFill = GetPolygonFillOptions();
        mSavedDisplay = GetElementDisplayOptions();
    }
    void TearDown() override
    {
        GetPolygonFillOptions() = mSavedFill;
        GetElementDisplayOptions() = mSavedDisplay;
    }

    PolygonFillOptions mSavedFill;
    ElementDisplayOptions mSavedDisplay;
    RecordingSceneDrawer mDrawer;
};

TEST_F(PolyDrawingTest, CubeFacesWithoutTypesFillTheirSquaresOnce)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{0.25f, 0.5f, 0.75f};
    ScopedSceneDrawer scope(&mDrawer);
    poly.DrawBaseModel(1.0, 1.0);

    // A face not known to be convex is fanned from its foot point: four triangles a square.
    const std::vector<Triangle> triangles = Triangles(mDrawer);
    ASSERT_EQ(triangles.size(), 24u);
    std::map<const FaceVert*, double> area;
    for (const Triangle& t : triangles)
    {
        const FaceVert* face = FaceOf(poly, t);
        ASSERT_NE(face, nullptr);
        // Every corner lies on the face's plane x = +-1 (or y, z): at distance 1 from the centre.
        for (const Vec3D& c : t.corners)
            EXPECT_NEAR(Vec3Dot(c, t.normal), 1.0, 1e-12);
        EXPECT_FLOAT_EQ(t.rgba[0], 0.25f);
        EXPECT_FLOAT_EQ(t.rgba[3], 1.0f);
        area[face] += Area(t);
    }
    ASSERT_EQ(area.size(), 6u);
    for (const auto& [face, a] : area)
        EXPECT_NEAR(a, 4.0, 1e-12) << "face " << face->mIndex;
    EXPECT_EQ(mDrawer.drawnTriangles, 24);
    EXPECT_EQ(mDrawer.queuedTriangles, 0);
}

TEST_F(PolyDrawingTest, ExplodingMovesEveryFaceAlongItsFootAndScaleMultiplies)
{
    struct Case
    {
        const char* name;
        double scale;
        double explode;
        double planeDistance;  // of every drawn triangle from the centre
    };
    const Case kCases[] = {
        {"in place", 1.0, 1.0, 1.0},
        {"exploded by 1.5", 1.0, 1.5, 1.5},
        {"scaled by 2", 2.0, 1.0, 2.0},
        {"both", 2.0, 1.5, 3.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer scope(&drawer);
        poly.DrawBaseModel(c.scale, c.explode);
        const std::vector<Triangle> triangles = Triangles(drawer);
        ASSERT_EQ(triangles.size(), 24u);
        for (const Triangle& t : triangles)
            EXPECT_NEAR(PlaneOffset(t), c.planeDistance, 1e-12);
    }
}

TEST_F(PolyDrawingTest, HiddenFacesAreLeftOutAndPickingNamesEachFace)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    poly.GetNthFace(2)->mFlags |= FaceVert::kHidden;
    mDrawer.picking = true;
    ScopedSceneDrawer scope(&mDrawer);
    poly.DrawBaseModel(1.0, 1.0);
    const std::vector<Triangle> triangles = Triangles(mDrawer);
    ASSERT_EQ(triangles.size(), 20u);
    for (const Triangle& t : triangles)
    {
        const FaceVert* face = FaceOf(poly, t);
        ASSERT_NE(face, nullptr);
        EXPECT_NE(face->mIndex, 2);
        EXPECT_EQ(t.selectionType, 0);
        EXPECT_EQ(t.selectionIndex, face->mIndex);
    }
    EXPECT_EQ(mDrawer.selectionType, -1);  // the name is cleared after the faces
}

TEST_F(PolyDrawingTest, DualDrawsTheVertexListAsFacesNamedAsVertices)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);  // the octahedron as dual: eight triangles
    mDrawer.picking = true;
    ScopedSceneDrawer scope(&mDrawer);
    poly.DrawDualModel(1.0, 1.0);
    // The octahedron of the poles (+-1, 0, 0) ...: eight triangles of edge sqrt 2 in all.
    const std::vector<Triangle> triangles = Triangles(mDrawer);
    double area = 0.0;
    for (const Triangle& t : triangles)
    {
        EXPECT_EQ(t.selectionType, 1);
        EXPECT_NEAR(PlaneOffset(t), 1.0 / std::sqrt(3.0), 1e-12);
        area += Area(t);
    }
    EXPECT_NEAR(area, 8.0 * std::sqrt(3.0) / 2.0, 1e-12);
}

TEST_F(PolyDrawingTest, PentagramsOfTheSmallStellatedDodecahedronFillTheirStarOnceThroughTheirDiagrams)
{
    Poly poly;
    BuildPoly(poly, SmallStellatedDodecahedronSpec(), false);
    ASSERT_EQ(poly.mFaces.mCount, 12);
    SetAllFrames(poly);
    OneTypePerSide(poly);
    poly.mFaces.mFirst->BuildDrawLoops();
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{1.0f, 0.5f, 0.0f};
    poly.UpdateFaceDiagramColors();

    ScopedSceneDrawer scope(&mDrawer);
    poly.DrawBaseModel(1.0, 1.0);
    const std::vector<Triangle> triangles = Triangles(mDrawer);
    // Each pentagram is its five points and its inner pentagon, the pentagon once, not twice:
    // its area is that of the star's region. The vertex neighbours lie on a pentagon of side 2, so
    // the pentagram's circumradius is 1 / sin 36 degrees and the inner pentagon's that over phi^2.
    const double R = 1.0 / std::sin(kPi / 5.0);
    const double r = R * (3.0 - std::sqrt(5.0)) / 2.0;
    const double starArea = 5.0 * R * r * std::sin(kPi / 5.0);
    std::map<const FaceVert*, double> area;
    std::map<const FaceVert*, int> count;
    for (const Triangle& t : triangles)
    {
        const FaceVert* face = FaceOf(poly, t);
        ASSERT_NE(face, nullptr);
        area[face] += Area(t);
        ++count[face];
        EXPECT_FLOAT_EQ(t.rgba[0], 1.0f);
        EXPECT_FLOAT_EQ(t.rgba[1], 0.5f);
        EXPECT_FLOAT_EQ(t.rgba[2], 0.0f);
    }
    ASSERT_EQ(area.size(), 12u);
    for (const auto& [face, a] : area)
    {
        EXPECT_NEAR(a, starArea, 1e-9) << "face " << face->mIndex;
        EXPECT_EQ(count[face], 8) << "five points and the pentagon in three";
    }
}

TEST_F(PolyDrawingTest, SelectedFaceIsDrawnWhiteAndHalfClearOverTheModelWithStateRestored)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    poly.mSelectedFace = poly.GetNthFace(1);
    ScopedSceneDrawer scope(&mDrawer);
    mDrawer.blendMode = 0;
    poly.DrawSelectedFace(0, 1.0, 1.0);

    const std::vector<Triangle> triangles = Triangles(mDrawer);
    ASSERT_FALSE(triangles.empty());
    double area = 0.0;
    for (const Triangle& t : triangles)
    {
        area += Area(t);
        EXPECT_EQ(FaceOf(poly, t), poly.GetNthFace(1));
        EXPECT_FLOAT_EQ(t.rgba[0], 1.0f);
        EXPECT_FLOAT_EQ(t.rgba[1], 1.0f);
        EXPECT_FLOAT_EQ(t.rgba[2], 1.0f);
        EXPECT_FLOAT_EQ(t.rgba[3], 0.5f);
    }
    EXPECT_NEAR(area, 4.0, 1e-12);
    // Depth test and polygon offset were off while it was drawn, and come back.
    EXPECT_GE(mDrawer.CountCalls("SetDepthTest"), 2);
    EXPECT_GE(mDrawer.CountCalls("SetPolygonOffsetFill"), 2);
    EXPECT_TRUE(mDrawer.depthTest);
    EXPECT_TRUE(mDrawer.polygonOffset);
    EXPECT_EQ(mDrawer.blendMode, 0);
}

TEST_F(PolyDrawingTest, EdgesAndVerticesInTheirColoursAtTheirPoints)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    ASSERT_EQ(poly.mEdges.count, 12);
    for (Edge& e : poly.mEdges)
        e.mColor = ColorRGB{0.0f, 1.0f, 0.0f};
    ScopedSceneDrawer scope(&mDrawer);
    poly.DrawEdges(false, 1.0, 1.0);
    poly.DrawVertices(false, 2.0, 1.0);

    int lines = 0;
    int points = 0;
    for (const RecordingSceneDrawer::Call& call : mDrawer.calls)
    {
        const std::vector<double>& v = call.values;
        if (call.name == "Line")
        {
            ++lines;
            // A cube edge: length 2, both ends at distance sqrt 3.
            EXPECT_NEAR(std::hypot(v[0] - v[3], v[1] - v[4], v[2] - v[5]), 2.0, 1e-12);
            EXPECT_NEAR(std::hypot(v[0], v[1], v[2]), std::sqrt(3.0), 1e-12);
            EXPECT_DOUBLE_EQ(v[7], 1.0);
        }
        else if (call.name == "Point")
        {
            ++points;
            EXPECT_NEAR(std::hypot(v[0], v[1], v[2]), 2.0 * std::sqrt(3.0), 1e-12);
        }
    }
    EXPECT_EQ(lines, 12);
    EXPECT_EQ(points, 8);
}

// The face in whose plane the triangle lies: same line of normal and same offset along it.
const FaceVert* FaceInPlane(const Poly& poly, const Triangle& t)
{
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        const Vec3D n = f->GetNormal();
        if (std::fabs(std::fabs(Vec3Dot(n, t.normal)) - 1.0) > 1e-9)
            continue;
        const FaceVert* corner = f->mNeighbours[0];
        bool inPlane = true;
        for (const Vec3D& c : t.corners)
            inPlane = inPlane && std::fabs(Vec3Dot(n, c) - Vec3Dot(n, corner->mPoint)) < 1e-9;
        if (inPlane)
            return f;
    }
    return nullptr;
}

// The area of the region a face polygon covers, from its corners alone: a convex n-gon, or the
// pentagram {5/2} (its five points and its inner pentagon once).
double CoveredArea(const FaceVert* face)
{
    Vec3D centre{0, 0, 0};
    for (int i = 0; i < face->mNumSides; ++i)
        Vec3AddTo(centre, face->mNeighbours[i]->mPoint);
    Vec3Scale(centre, centre, 1.0 / face->mNumSides);
    const double R = Vec3Distance(centre, face->mNeighbours[0]->mPoint);
    const double side = Vec3Distance(face->mNeighbours[0]->mPoint, face->mNeighbours[1]->mPoint);
    const int n = face->mNumSides;
    if (n == 5 && side > 1.5 * R)
    {
        const double r = R * (3.0 - std::sqrt(5.0)) / 2.0;
        return 5.0 * R * r * std::sin(kPi / 5.0);
    }
    return 0.5 * n * R * R * std::sin(2.0 * kPi / n);
}

TEST_F(PolyDrawingTest, UniformModelsFillEachFaceRegionExactlyOnce)
{
    // Stars fill their points and inner polygon once, and faces through the centre show whole, with
    // no part left out and none drawn twice.
    struct Case
    {
        const char* name;
        const char* configuration;
        int faces;
    };
    const Case kCases[] = {
        {"icosahedron", "3.3.3.3.3", 20},
        {"small stellated dodecahedron", "5/2.5/2.5/2.5/2.5/2", 12},
        {"octahemioctahedron", "3.6.3/2.6", 12},
    };
    ScopedScriptedServices scripted;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        PolyTemplate templ;
        ASSERT_TRUE(templ.Parse(c.configuration, false));
        Poly poly;
        ASSERT_TRUE(poly.PrepareFromTemplate(&templ, 0));
        ASSERT_EQ(poly.mFaces.mCount, c.faces);
        poly.UpdateFaceDiagramColors();
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer scope(&drawer);
        poly.DrawBaseModel(1.0, 1.0);
        std::map<const FaceVert*, double> area;
        for (const Triangle& t : Triangles(drawer))
        {
            const FaceVert* face = FaceInPlane(poly, t);
            ASSERT_NE(face, nullptr);
            area[face] += Area(t);
            EXPECT_FLOAT_EQ(t.rgba[3], 1.0f);
        }
        EXPECT_EQ(int(area.size()), c.faces);
        for (const auto& [face, a] : area)
            EXPECT_NEAR(a, CoveredArea(face), 1e-9) << "face " << face->mIndex << " of " << face->mNumSides;
    }
}
}  // namespace
