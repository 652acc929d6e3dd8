#include "kernel/Polygon3D.h"

#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace
{
// A polygon of its own, outside any list.
struct LonePolygon
{
    Polygon3D* first = nullptr;
    Polygon3D* last = nullptr;
    Polygon3D* polygon = new Polygon3D(first, last);

    explicit LonePolygon(const std::vector<Vec3D>& points = {})
    {
        for (const Vec3D& p : points)
            AddRingVert(0.0, 0.0, nullptr, &p, polygon->mRing);
    }
    ~LonePolygon() { FreePolygon3DList(first); }
    Polygon3D* operator->() { return polygon; }
};

std::vector<Vec3D> RingPositions(const RingVert* ring)
{
    std::vector<Vec3D> out;
    if (!ring)
        return out;
    const RingVert* v = ring;
    do
    {
        out.push_back(v->pos);
        v = v->next;
    } while (v != ring);
    return out;
}

void ExpectSamePoints(const std::vector<Vec3D>& a, const std::vector<Vec3D>& b, double tol)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(Vec3Equal(a[i], b[i], tol))
            << "point " << i << ": " << a[i].x << " " << a[i].y << " " << a[i].z;
}

// Sums the signed area of the triangles in the polygon's plane.
double TriangleArea(const Triangulation2D& t)
{
    double area = 0.0;
    for (int i = 0; i + 2 < t.indexCount; i += 3)
    {
        const Vec2D& a = t.points[size_t(t.indices[i])];
        const Vec2D& b = t.points[size_t(t.indices[i + 1])];
        const Vec2D& c = t.points[size_t(t.indices[i + 2])];
        area += ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2.0;
    }
    return area;
}
}  // namespace

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

TEST(Polygon3DTest, PrepareGivesAnOutwardFrameAndFillsTheArea)
{
    // A 2 x 2 square in the plane x = -3 given both ways round: the normal points away from the
    // origin either way, and the area is filled counterclockwise about it.
    const std::vector<Vec3D> square = {{-3, -1, -1}, {-3, 1, -1}, {-3, 1, 1}, {-3, -1, 1}};
    for (bool reversed : {false, true})
    {
        std::vector<Vec3D> points = square;
        if (reversed)
            std::reverse(points.begin(), points.end());
        LonePolygon p(points);
        EXPECT_EQ(p->Prepare(), 6);
        EXPECT_TRUE(Vec3Equal(p->mNormal, Vec3D{-1, 0, 0}, 1e-12));
        EXPECT_TRUE(Vec3Equal(p->mCentroid, Vec3D{-3, 0, 0}, 1e-12));
        Vec3D cross;
        Vec3Cross(cross, p->mNormal, p->mXAxis);
        EXPECT_TRUE(Vec3Equal(cross, p->mYAxis, 1e-12));
        EXPECT_NEAR(Vec3Dot(p->mXAxis, p->mNormal), 0.0, 1e-12);
        EXPECT_NEAR(Vec3Length(p->mXAxis), 1.0, 1e-12);
        EXPECT_NEAR(TriangleArea(p->mTriangulation), 4.0, 1e-12);
        EXPECT_NE(p->mRings, nullptr);
        EXPECT_TRUE(p->IsInPlane(Vec3D{-3, 7, -5}));
        EXPECT_TRUE(p->IsInPlane(Vec3D{-3 + 0.9e-7, 0, 0}));
        EXPECT_FALSE(p->IsInPlane(Vec3D{-3 + 2e-7, 0, 0}));
    }
}

TEST(Polygon3DTest, TooFewPointsLeaveNothingToFill)
{
    const std::vector<std::vector<Vec3D>> cases = {
        {{1, 2, 3}},
        {{1, 2, 3}, {2, 2, 3}},
        {{0, 0, 1}, {1, 0, 1}, {3, 0, 1}},  // on one line
    };
    for (const auto& points : cases)
    {
        LonePolygon p(points);
        EXPECT_EQ(p->Prepare(), 0) << points.size() << " points";
        EXPECT_EQ(p->mTriangulation.indexCount, -1);
        EXPECT_TRUE(p->IsInPlane(Vec3D{5, -7, 11}));  // no triangles: any point counts as in the plane
        EXPECT_TRUE(Vec3Equal(p->GetRingCentre(), RingCentroid3D(p->mRing), 0.0));
    }
    LonePolygon one({{1, 2, 3}});
    one->Prepare();
    one->RemoveLastVert();
    EXPECT_EQ(one->mRing, nullptr);
    EXPECT_EQ(one->mRings, nullptr);
    EXPECT_EQ(one->mTriangulation.points, nullptr);
}

TEST(Polygon3DTest, AutoCompleteContinuesThePatternOfTheGivenEdges)
{
    const char* const kTooFew = "Can't auto-complete polygon until\nyou have defined more points";
    const double h = std::sqrt(3.0) / 2.0;
    struct Case
    {
        const char* name;
        std::vector<Vec3D> given;
        const char* message;
        std::vector<Vec3D> after;  // empty: as given
    };
    const std::vector<Case> cases = {
        {"three corners of a square", {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, nullptr,
         {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}},
        {"square given clockwise", {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}}, nullptr,
         {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}}},
        {"two edges of a hexagon", {{1, 0, 2}, {0.5, h, 2}, {-0.5, h, 2}}, nullptr,
         {{1, 0, 2}, {0.5, h, 2}, {-0.5, h, 2}, {-1, 0, 2}, {-0.5, -h, 2}, {0.5, -h, 2}}},
        {"all four corners", {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, "Polygon appears to be complete already.",
         {}},
        {"zigzag", {{0, 0, 0}, {1, 0, 0}, {1.5, h, 0}, {2.5, h, 0}, {3, 2 * h, 0}}, "Polygon won't close.", {}},
        {"two points", {{0, 0, 1}, {1, 0, 1}}, kTooFew, {}},
        {"three points on a line", {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}, kTooFew, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        ScopedShell scope(&shell);
        LonePolygon p(c.given);
        const char* message = p->AutoComplete(nullptr);
        if (c.message)
        {
            ASSERT_NE(message, nullptr);
            EXPECT_STREQ(message, c.message);
        }
        else
            EXPECT_EQ(message, nullptr);
        ExpectSamePoints(RingPositions(p->mRing), c.after.empty() ? c.given : c.after, 1e-12);
        const bool tooFew = message && std::strcmp(message, kTooFew) == 0;
        // Prepared and redrawn after everything but the refusal.
        EXPECT_EQ(shell.Count("InvalidateAll"), tooFew ? 0 : 1);
        if (!tooFew)
        {
            // Prepared again: the triangles cover the ring's area.
            double ringArea = 0.0;
            const RingVert* v = p->mRing;
            do
            {
                ringArea += (v->x * v->next->y - v->next->x * v->y) / 2.0;
                v = v->next;
            } while (v != p->mRing);
            EXPECT_GT(p->mTriangulation.indexCount, 0);
            EXPECT_NEAR(TriangleArea(p->mTriangulation), std::fabs(ringArea), 1e-12);
        }
    }
}

TEST(Polygon3DTest, AutoCompleteOffersOnlyTheAddedPointsForSnapping)
{
    LonePolygon p({{0, 0, 1}, {2, 0, 1}, {2, 2, 1}});
    std::vector<Vec3D> offered;
    const Vec3D modelVertex{0.5e-7, 2 - 0.5e-7, 1};
    EXPECT_EQ(p->AutoComplete([&](Vec3D& point) {
        offered.push_back(point);
        if (Vec3Equal(point, modelVertex, 1e-7))
            point = modelVertex;
    }),
              nullptr);
    ExpectSamePoints(offered, {{0, 2, 1}}, 1e-12);
    EXPECT_EQ(p->mRing->prev->pos.x, modelVertex.x);
    EXPECT_EQ(p->mRing->prev->pos.y, modelVertex.y);
}

TEST(Polygon3DTest, CombineNumbersEachInputOnFromTheOnesBefore)
{
    Triangulation2D a, b, c;
    a.points.reset(new Vec2D[4]{{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    a.indexCount = 6;
    a.indices.reset(new int32_t[6]{0, 1, 2, 0, 2, 3});
    b.points.reset(new Vec2D[5]{{5, 5}, {6, 5}, {5, 6}, {9, 9}, {9, 9}});  // the last two are unused
    b.indexCount = 3;
    b.indices.reset(new int32_t[3]{0, 1, 2});
    const Triangulation2D inputs[3] = {std::move(a), Triangulation2D{}, std::move(b)};
    c.Combine(3, inputs);
    ASSERT_EQ(c.indexCount, 9);
    const std::vector<int32_t> indices(c.indices.get(), c.indices.get() + 9);
    EXPECT_EQ(indices, (std::vector<int32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6}));
    const std::vector<Vec2D> expected = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {5, 5}, {6, 5}, {5, 6}};
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(c.points[i].x, expected[i].x);
        EXPECT_EQ(c.points[i].y, expected[i].y);
    }
}

namespace
{
// Projects onto the plane z = 0 of the map's image; a point whose image lies below it fails.
class DropZ final : public DiagramProjector
{
public:
    bool Project(const Vec3D& point, const Transform3D& map, Vec2D& out) const override
    {
        Vec3D p;
        map.Apply(p, point);
        out = Vec2D{p.x, p.y};
        return p.z >= 0.0;
    }
};

struct DrawFixture : ::testing::Test
{
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer scope{&drawer};
    Transform3D identity;
    PolygonDrawStyle style;

    DrawFixture()
    {
        identity.m.SetIdentity();
        style.edgeWidth = 2.0f;
        style.vertSize = 4.0f;
        style.edgeColor = ColorRGB{0.25f, 0.5f, 0.75f};
        style.vertColor = ColorRGB{1.0f, 0.0f, 0.5f};
        drawer.lineScale = 1.5f;
        drawer.pointScale = 2.0f;
    }

    std::vector<Vec3D> Points(const RecordingSceneDrawer::Call& call) const
    {
        std::vector<Vec3D> out;
        for (size_t i = 0; i + 4 < call.values.size(); i += 3)
            out.push_back(Vec3D{call.values[i], call.values[i + 1], call.values[i + 2]});
        return out;
    }
};
}  // namespace

TEST_F(DrawFixture, OnePointTwoPointsAndAnArea)
{
    const std::vector<Vec3D> corners = {{1, 0, 1}, {0, 1, 1}, {-1, 0, 1}};
    for (size_t n = 1; n <= 3; ++n)
    {
        SCOPED_TRACE(n);
        drawer.calls.clear();
        LonePolygon p(std::vector<Vec3D>(corners.begin(), corners.begin() + long(n)));
        p->Prepare();
        p->Draw(identity, 2.0, nullptr, style);

        EXPECT_EQ(drawer.CountCalls("DrawTriangles"), n == 3 ? 1 : 0);
        EXPECT_EQ(drawer.CountCalls("DrawLineStrip"), n >= 2 ? 1 : 0);
        const std::vector<Vec3D> expected = {{2, 0, 2}, {0, 2, 2}, {-2, 0, 2}};
        const RecordingSceneDrawer::Call* points = drawer.LastCall("DrawPoints");
        ASSERT_NE(points, nullptr);
        ExpectSamePoints(Points(*points), std::vector<Vec3D>(expected.begin(), expected.begin() + long(n)), 1e-12);
        EXPECT_FLOAT_EQ(float(points->values[3 * n]), 1.0f);  // the vertex colour
        EXPECT_FLOAT_EQ(float(points->values[3 * n + 1]), 0.0f);
        if (n >= 2)
        {
            const RecordingSceneDrawer::Call* strip = drawer.LastCall("DrawLineStrip");
            ExpectSamePoints(Points(*strip), std::vector<Vec3D>(expected.begin(), expected.begin() + long(n)), 1e-12);
            EXPECT_FLOAT_EQ(float(strip->values[3 * n + 2]), 0.75f);  // the edge colour
        }
        if (n == 3)
        {
            // Filled in light blue, half translucent, without lighting.
            const RecordingSceneDrawer::Call* material = nullptr;
            for (const auto& call : drawer.calls)
            {
                if (call.name == "DrawTriangles")
                    break;
                if (call.name == "SetMaterialColor")
                    material = &call;
            }
            ASSERT_NE(material, nullptr);
            EXPECT_EQ(material->values, (std::vector<double>{0.7f, 0.7f, 1.0f, 0.5f}));
            // The triangle through the frame lands on the given corners, scaled.
            const RecordingSceneDrawer::Call* fill = drawer.LastCall("DrawTriangles");
            ASSERT_EQ(fill->values.size(), 9u + 4u);
            std::vector<Vec3D> filled = Points(*fill);
            auto byX = [](const Vec3D& a, const Vec3D& b) { return a.x < b.x; };
            std::sort(filled.begin(), filled.end(), byX);
            std::vector<Vec3D> corners = expected;
            std::sort(corners.begin(), corners.end(), byX);
            ExpectSamePoints(filled, corners, 1e-12);
            const RecordingSceneDrawer::Call* normal = drawer.LastCall("SetNormal");
            ASSERT_NE(normal, nullptr);
            EXPECT_EQ(normal->values, (std::vector<double>{0, 0, 1}));
        }
        // The widths used and what they are left at.
        std::vector<double> widths;
        std::vector<double> sizes;
        for (const auto& call : drawer.calls)
        {
            if (call.name == "SetLineWidth")
                widths.push_back(call.values[0]);
            if (call.name == "SetPointSize")
                sizes.push_back(call.values[0]);
        }
        if (n >= 2)
        {
            EXPECT_EQ(widths, (std::vector<double>{4.5, 1.5}));
        }
        EXPECT_EQ(sizes, (std::vector<double>{12.0, 2.0}));
        EXPECT_TRUE(drawer.lighting);
    }
}

TEST_F(DrawFixture, MirroredMapsTurnTheNormalAndDiagramsDropUnprojectablePoints)
{
    LonePolygon p({{1, 0, 1}, {0, 1, 1}, {-1, 0, 1}, {0, -1, 1}});
    p->Prepare();
    Transform3D mirror = identity;
    mirror.m.At(0, 0) = -1.0;
    p->DrawFilled(mirror, 1.0, nullptr);
    EXPECT_EQ(drawer.LastCall("SetNormal")->values, (std::vector<double>{0, 0, -1}));

    // In a diagram the corner below the plane is left out of the outline and the points.
    p->mRing->prev->pos = Vec3D{0, -1, -1};
    DropZ projector;
    drawer.calls.clear();
    p->Draw(identity, 1.0, &projector, style);
    EXPECT_EQ(drawer.LastCall("SetNormal")->values, (std::vector<double>{0, 0, 1}));
    ExpectSamePoints(Points(*drawer.LastCall("DrawPoints")), {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, 1e-12);
}
