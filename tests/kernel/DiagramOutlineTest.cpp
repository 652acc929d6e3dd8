#include "kernel/DiagramOutline.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/PrintCanvas.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/UnitSettings.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace
{
const int kOwners[3] = {};
const void* const A = &kOwners[0];
const void* const B = &kOwners[1];
const void* const C = &kOwners[2];

void FeedContour(const void* owner, bool reverse, const Points2D& points, OutlineFeeder2D& feeder)
{
    DiagramOutline::AddPointCallback(owner, reverse, feeder);
    for (const Vec2D& p : points)
        DiagramOutline::AddPoint(p, feeder);
}

// The area of a loop type's triangles over the outline's points.
double OutlineTypeArea(const DiagramOutline& outline, int k)
{
    const LoopTypeTriangles& t = outline.mLoopTypeTriangles[k];
    Points2D triangle(3);
    double area = 0.0;
    for (int i = 0; i + 2 < t.mCount; i += 3)
    {
        for (int c = 0; c < 3; ++c)
            triangle[size_t(c)] = outline.mPoints[t.mIndices[i + c]];
        area += SignedArea(triangle);
    }
    return area;
}

// The area of the loop type whose owners and counts are exactly these; NaN when there is none.
double CoverageArea(const DiagramOutline& outline, const LoopTypeHolder& holder,
                    const std::map<const void*, int>& coverage)
{
    for (int k = 0; k < outline.mLoopTypeCount; ++k)
    {
        const LoopType& type = holder.mLoopTypes[k];
        bool same = size_t(type.mOwnerCount) == coverage.size();
        for (const auto& [owner, count] : coverage)
            same = same && OwnerCount(type, owner) == count;
        if (same)
            return OutlineTypeArea(outline, k);
    }
    return std::nan("");
}

double WeightedArea(const DiagramOutline& outline, const LoopTypeHolder& holder, const void* owner)
{
    double sum = 0.0;
    for (int k = 0; k < outline.mLoopTypeCount; ++k)
        sum += OwnerCount(holder.mLoopTypes[k], owner) * OutlineTypeArea(outline, k);
    return sum;
}

class DiagramOutlineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedFill = GetPolygonFillOptions();
        mSavedShading = GetUnitSettings().mPrintShading;
        mSavedShadeMax = GetUnitSettings().mPrintShadeMax;
    }
    void TearDown() override
    {
        GetPolygonFillOptions() = mSavedFill;
        GetUnitSettings().mPrintShading = mSavedShading;
        GetUnitSettings().mPrintShadeMax = mSavedShadeMax;
    }

    // Begins the outline in pools of the test's own.
    void Begin(OutlineFeeder2D& feeder)
    {
        mOutline.Begin(mDiagram, kOwnerKindCallbacks, &mPools, &mWork, feeder);
    }

    PolygonFillOptions mSavedFill;
    int mSavedShading = 0;
    float mSavedShadeMax = 0.0f;
    DiagramPools mPools;
    DiagramWorkPools mWork;
    FaceDiagram mDiagram;
    DiagramOutline mOutline;
    LoopTypeHolder mHolder;
};

TEST_F(DiagramOutlineTest, EachContourClosesWithItsOwnOwnerAndDirection)
{
    OutlineFeeder2D feeder;
    Begin(feeder);
    EXPECT_EQ(mOutline.mOwnerKind, kOwnerKindCallbacks);
    EXPECT_EQ(mDiagram.mPools, &mPools);
    EXPECT_EQ(mDiagram.mWorkPools, &mWork);
    // B's square is given counterclockwise but sent backwards: it counts as turning clockwise.
    // Each contour is closed when the next one starts; B's closing side is on the outside.
    FeedContour(B, true, {{3, 2}, {1, 2}, {1, 0}, {3, 0}}, feeder);
    FeedContour(A, false, Square(0, 0, 2), feeder);
    FeedContour(C, false, Square(10, 10, 1), feeder);
    ASSERT_TRUE(mOutline.Finish(feeder, mHolder, 0, nullptr));
    // The diagram's items were in pools of the test's own: the shared ones are empty again.
    EXPECT_EQ(SharedPoolsUsed(), 0u);

    ASSERT_EQ(mOutline.mLoopTypeCount, 4);
    EXPECT_EQ(mHolder.mLoopTypes, mDiagram.mLoopTypes);
    const Points2D corners = {{0, 0}, {2, 0}, {2, 2},  {0, 2},  {1, 0},  {3, 0},
                              {3, 2}, {1, 2}, {10, 10}, {11, 10}, {11, 11}, {10, 11}};
    ASSERT_EQ(mOutline.mPointCount, 12);
    for (const Vec2D& c : corners)
    {
        int found = 0;
        for (int i = 0; i < mOutline.mPointCount; ++i)
            found += Vec2Equal(mOutline.mPoints[i], c, 0.0) ? 1 : 0;
        EXPECT_EQ(found, 1) << c.x << ", " << c.y;
    }
    EXPECT_NEAR(CoverageArea(mOutline, mHolder, {{A, 1}}), 2.0, 1e-12);
    EXPECT_NEAR(CoverageArea(mOutline, mHolder, {{A, 1}, {B, -1}}), 2.0, 1e-12);
    EXPECT_NEAR(CoverageArea(mOutline, mHolder, {{B, -1}}), 2.0, 1e-12);
    EXPECT_NEAR(CoverageArea(mOutline, mHolder, {{C, 1}}), 1.0, 1e-12);
    EXPECT_NEAR(WeightedArea(mOutline, mHolder, A), 4.0, 1e-12);
    EXPECT_NEAR(WeightedArea(mOutline, mHolder, B), -4.0, 1e-12);
    EXPECT_NEAR(WeightedArea(mOutline, mHolder, C), 1.0, 1e-12);
}

TEST_F(DiagramOutlineTest, FeederFinishedWithoutPointsGivesNoLoopTypesAndResetsTheSharedPools)
{
    OutlineFeeder2D feeder;
    FaceDiagram shared;  // in the shared pools
    mOutline.Begin(shared, kOwnerKindCallbacks, nullptr, &mWork, feeder);
    EXPECT_EQ(shared.mPools, &GetSharedDiagramPools());
    ASSERT_NE(GetSharedDiagramPools().mVerts.Alloc(3), nullptr);
    ASSERT_NE(GetSharedDiagramWorkPools().mPoints2D.Alloc(5), nullptr);
    mHolder.mLoopTypes = NewLoopTypes(1, mWork);
    mOutline.Finish(feeder, mHolder, 0, nullptr);
    EXPECT_EQ(mOutline.mLoopTypeCount, 0);
    EXPECT_FALSE(mOutline.IsEmpty());
    EXPECT_EQ(mOutline.mPointCount, 0);
    EXPECT_EQ(mHolder.mLoopTypes, nullptr);
    EXPECT_EQ(SharedPoolsUsed(), 0u);

    mOutline.Reset();
    EXPECT_TRUE(mOutline.IsEmpty());
    EXPECT_EQ(mOutline.mOwnerKind, -1);
    EXPECT_EQ(mOutline.mLoopTypeTriangles, nullptr);
}

TEST_F(DiagramOutlineTest, OnePointContourAddsNoEdge)
{
    OutlineFeeder2D feeder;
    Begin(feeder);
    FeedContour(B, false, {{5, 5}}, feeder);
    FeedContour(A, false, {}, feeder);
    EXPECT_EQ(mDiagram.PieceCount(), 0);
    FeedContour(A, false, Square(0, 0, 1), feeder);
    ASSERT_TRUE(mOutline.Finish(feeder, mHolder, 0, nullptr));
    ASSERT_EQ(mOutline.mLoopTypeCount, 1);
    EXPECT_EQ(mHolder.mLoopTypes[0].mOwnerCount, 1);
    EXPECT_EQ(OwnerCount(mHolder.mLoopTypes[0], A), 1);
}

TEST_F(DiagramOutlineTest, HolderIsClearWhenNeverFilledOrEveryAreaIsEmpty)
{
    const LoopTypeHolder never;
    EXPECT_TRUE(never.IsClear(mOutline));

    // Two copies of one square turning opposite ways: the winding numbers cancel.
    OutlineFeeder2D feeder;
    Begin(feeder);
    FeedContour(A, false, Square(0, 0, 1), feeder);
    FeedContour(B, true, Square(0, 0, 1), feeder);
    ASSERT_TRUE(mOutline.Finish(feeder, mHolder, 0, nullptr));
    ASSERT_EQ(mOutline.mLoopTypeCount, 1);
    EXPECT_TRUE(never.IsClear(mOutline));
    EXPECT_FALSE(mHolder.IsClear(mOutline));

    mHolder.Recolor(PolygonFillOptions::kBlend | PolygonFillOptions::kCancel, mOutline);
    EXPECT_TRUE(mHolder.IsClear(mOutline));
    mHolder.Recolor(PolygonFillOptions::kBlend, mOutline);
    EXPECT_FALSE(mHolder.IsClear(mOutline));
}

// Two disjoint unit squares, A's at the origin and B's at x = 2; B's area is left empty.
class FilledOutline : public DiagramOutlineTest
{
protected:
    void SetUp() override
    {
        DiagramOutlineTest::SetUp();
        OutlineFeeder2D feeder;
        Begin(feeder);
        FeedContour(A, false, Square(0, 0, 1), feeder);
        FeedContour(B, false, Square(2, 0, 1), feeder);
        ASSERT_TRUE(mOutline.Finish(feeder, mHolder, 0, nullptr));
        ASSERT_EQ(mOutline.mLoopTypeCount, 2);
        mA = OwnerCount(mHolder.mLoopTypes[0], A) ? 0 : 1;
        mHolder.mLoopTypes[mA].mColor1 = ColorRGB{0.2f, 0.4f, 0.6f};
        mHolder.mLoopTypes[1 - mA].mOpacity = 0.0f;
    }

    int mA = 0;
};

TEST_F(FilledOutline, FlatDrawingPlacesTheAreasInTheFramesPlaneAtHalfAlpha)
{
    Transform3D frame;
    frame.SetFrameToWorld(Vec3D{0, 0, 5}, Vec3D{0, 1, 0}, Vec3D{0, 0, 1}, Vec3D{1, 0, 0});
    RecordingSceneDrawer drawer;
    {
        ScopedSceneDrawer scope(&drawer);
        mHolder.DrawFlat(frame, mOutline);
    }
    ASSERT_EQ(drawer.CountCalls("DrawTriangles"), 1);
    const std::vector<double>& v = drawer.LastCall("DrawTriangles")->values;
    ASSERT_EQ(v.size(), 2u * 9u + 4u);
    double area = 0.0;
    for (size_t t = 0; t < 2; ++t)
    {
        Points2D yz;
        for (size_t c = 0; c < 3; ++c)
        {
            const double* p = &v[9 * t + 3 * c];
            EXPECT_EQ(p[0], 0.0);
            EXPECT_TRUE(p[1] == 0.0 || p[1] == 1.0);
            EXPECT_TRUE(p[2] == 5.0 || p[2] == 6.0);
            yz.push_back(Vec2D{p[1], p[2]});
        }
        area += SignedArea(yz);
    }
    EXPECT_NEAR(area, 1.0, 1e-12);
    EXPECT_FLOAT_EQ(float(v[18]), 0.2f);
    EXPECT_FLOAT_EQ(float(v[19]), 0.4f);
    EXPECT_FLOAT_EQ(float(v[20]), 0.6f);
    EXPECT_FLOAT_EQ(float(v[21]), 0.5f);
}

// Records what is painted on the page.
class RecordingCanvas : public PrintCanvas
{
public:
    void SelectSolidBrush(uint32_t rgb) override
    {
        brushes.push_back(rgb);
        ++selected;
    }
    void ReleaseSolidBrush() override { --selected; }
    void PaintClippedTriangle(const Vec2D& a, const Vec2D& b, const Vec2D& c) override
    {
        EXPECT_EQ(selected, 1) << "painted without a brush";
        triangles.push_back({a, b, c});
    }

    std::vector<uint32_t> brushes;
    std::vector<Points2D> triangles;
    int selected = 0;
};

TEST_F(FilledOutline, PrintingPaintsEachAreaThroughTheTransformInItsColourOrThePrintGrey)
{
    PrintTransform2D transform;
    transform.a = 2.0;
    transform.c = 10.0;
    transform.e = -2.0;
    transform.f = 20.0;
    struct Case
    {
        const char* name;
        int shading;
        uint32_t brush;
    };
    const Case kCases[] = {
        {"colour", kPrintShadingColor, ColorToRGB(ColorRGB{0.2f, 0.4f, 0.6f})},
        {"greyscale", kPrintShadingGreyscale, 0xBFBFBFu},  // 0.75 of white: the strongest shade 0.25
    };
    GetUnitSettings().mPrintShadeMax = 0.25f;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetUnitSettings().mPrintShading = c.shading;
        RecordingCanvas canvas;
        mHolder.DrawGdi(transform, canvas, mOutline);
        ASSERT_EQ(canvas.brushes.size(), 1u);
        EXPECT_EQ(canvas.brushes[0], c.brush);
        EXPECT_EQ(canvas.selected, 0);
        ASSERT_EQ(canvas.triangles.size(), 2u);
        double area = 0.0;
        for (const Points2D& t : canvas.triangles)
        {
            for (const Vec2D& p : t)
            {
                EXPECT_TRUE(p.x == 10.0 || p.x == 12.0);
                EXPECT_TRUE(p.y == 20.0 || p.y == 18.0);
            }
            area += SignedArea(t);
        }
        // Scaled by 2 and mirrored in y.
        EXPECT_NEAR(area, -4.0, 1e-12);
    }
}
}  // namespace
