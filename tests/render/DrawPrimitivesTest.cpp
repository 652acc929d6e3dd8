#include "RenderTestView.h"

#include "render/DrawPrimitives.h"
#include "render/RasterText.h"

#include <cmath>
#include <functional>
#include <vector>

namespace
{
using PrimitivesTest = RenderTest;

// Pixels in the viewport that differ from the background colour.
int CountDrawn(const Pixel& background)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<unsigned char> rgb(size_t(viewport[2]) * size_t(viewport[3]) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int n = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        n += std::abs(rgb[i] - background.r) + std::abs(rgb[i + 1] - background.g) +
                 std::abs(rgb[i + 2] - background.b) >
             6;
    return n;
}

std::vector<float> ReadDepths()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<float> depth(size_t(viewport[2]) * size_t(viewport[3]));
    glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}
}  // namespace

TEST(RasterText, LinesAndLatin1)
{
    struct LinesCase
    {
        const char* text;
        int lines;
    };
    const LinesCase kLines[] = {{"", 0},          {"one", 1},       {"a\r\nb", 2}, {"a\n\rb", 2},
                                {"a\r\rb", 3},    {"a\n\nb", 3},    {"a\n", 1},    {"a\r\n\r\nb", 3},
                                {"a\rb\nc", 3}};
    for (const LinesCase& c : kLines)
        EXPECT_EQ(CountTextLines(c.text), c.lines) << "text: " << c.text;
    EXPECT_EQ(CountTextLines(nullptr), 0);
    EXPECT_EQ(SplitTextLines("ab\r\ncd").back(), "cd");

    EXPECT_EQ(ToLatin1("plain"), "plain");
    EXPECT_EQ(ToLatin1("caf\xC3\xA9"), "caf\xE9");       // e acute fits
    EXPECT_EQ(ToLatin1("5 \xE2\x82\xAC"), "5 ?");        // the euro sign does not
    EXPECT_EQ(ToLatin1("\xF0\x9F\x99\x82!"), "?!");      // four-byte forms
    EXPECT_EQ(ToLatin1("a\xC3"), "a?");                  // cut short
}

TEST_F(PrimitivesTest, ViewTextSitsAtItsPlaceInABox)
{
    SizeView(220, 200);
    const float white[3] = {1, 1, 1};
    ViewTextBox top, bottom, third, middle, none;
    int th = 0, wide = 0, narrow = 0, pairWidth = 0, pairHeight = 0;
    Pixel boxPixel, background;
    GLint depthFunc = 0;
    bool lighting = true;
    int blend = -1;
    DrawWith([&] {
        th = mView->GetTextHeight();
        top = mView->DrawViewText(0, "Top line", white, 0, 0, 0.5f);
        bottom = mView->DrawViewText(2, "first\nsecond", white, 0, 0, 0.5f);
        third = mView->DrawViewText(1, "third", white, 0, 0, 0.5f);
        middle = mView->DrawViewText(3, "mid", white, 0, 0, 0.5f);
        none = mView->DrawViewText(0, "", white, 0, 0, 0.5f);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
        lighting = glIsEnabled(GL_LIGHTING);
        blend = mView->GetBlendMode();
        unsigned char rgb[3];
        // Beside the last glyph, below the baseline: box, no ink.
        glReadPixels(bottom.right - 1, 1, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        boxPixel = Pixel{rgb[0], rgb[1], rgb[2]};
        glReadPixels(110, 100, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        background = Pixel{rgb[0], rgb[1], rgb[2]};
        mView->MeasureText("W", wide, pairHeight);
        mView->MeasureText("i", narrow, pairHeight);
        mView->MeasureText("ab\r\nabcd", pairWidth, pairHeight);
    });
    ASSERT_GT(th, 5);
    // Kind 0: the first line's base at h + 1 - text height, so the box's upper edge at h + 1.
    EXPECT_EQ(top.bottom, 201);
    EXPECT_EQ(top.left, 1 - 2);
    EXPECT_EQ(top.top, 201 - th - 6);
    // Kind 2: the last of two lines just above the bottom.
    EXPECT_EQ(bottom.bottom, th + th + 2);
    EXPECT_EQ(bottom.top, 2 - 6 + th - th);
    // Kinds 1 and 3 are indented 30 pixels in a view wider than 120.
    EXPECT_EQ(third.left, 30 - 2);
    EXPECT_EQ(third.bottom, 201 - 2 * th);
    EXPECT_EQ(middle.bottom, th + std::min((th * (1 - 2) + 200) / 2, 201 - th));
    EXPECT_EQ(none.left + none.top + none.right + none.bottom, 0);
    // The box is the inverse colour at half strength over the background.
    EXPECT_NEAR(boxPixel.r, background.r / 2, 2);
    // The state is put back.
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_TRUE(lighting);
    EXPECT_EQ(blend, 0);
    EXPECT_GT(wide, narrow);
    int abcd = 0, h = 0;
    DrawWith([&] { mView->MeasureText("abcd", abcd, h); });
    EXPECT_EQ(pairWidth, abcd);
    EXPECT_EQ(pairHeight, 2 * th);
}

TEST_F(PrimitivesTest, RasterTextCanBeSwitchedOff)
{
    int drawnOn = 0, drawnOff = 0;
    DrawWith([&] {
        UseUnitOrtho();
        mView->SetDepthMode(false);
        const Pixel grey = ReadPixelAt(0.0, 0.0);
        mView->SetColor3f(1, 1, 0);
        const bool was = SetRasterTextEnabled(false);
        DrawRasterText("Hidden", Vec3D{-0.5, 0, 0});
        mView->DrawTextAt("Hidden", -0.5, 0.0, true);
        drawnOff = CountDrawn(grey);
        SetRasterTextEnabled(was);
        mView->DrawTextAt("Shown", 0.0, 0.0, true);
        drawnOn = CountDrawn(grey);
        mView->SetDepthMode(true);
    });
    EXPECT_EQ(drawnOff, 0);
    EXPECT_GT(drawnOn, 10);
}

TEST_F(PrimitivesTest, SphereDetailFollowsItsSizeOnTheScreen)
{
    SizeView(200, 200);
    DrawWith(nullptr);
    mView->ResetView();
    mView->SetOrthogonal(true);
    mView->SetHalfHeight(1.0f);  // 100 pixels per unit
    // A ball 4 pixels across: L = 16.
    EXPECT_NEAR(mView->ScreenSizeMeasure(Vec3D{0.3, -0.2, 0.1}, 0.02), 16.0, 1e-3);
    EXPECT_EQ(mView->SphereSubdivisions(16.0), 2);
    struct Level
    {
        double measure;
        int sphere, cylinder;
    };
    const Level kLevels[] = {{0.5, 2, 4},  {3, 2, 6},    {24.9, 2, 8},  {25, 3, 8},    {99, 3, 8},    {100, 4, 16},
                             {399, 4, 16}, {400, 6, 16}, {900, 6, 32}, {3599, 6, 32}, {3600, 8, 32}};
    for (const Level& l : kLevels)
    {
        EXPECT_EQ(mView->SphereSubdivisions(l.measure), l.sphere) << l.measure;
        EXPECT_EQ(mView->CylinderSegments(l.measure), l.cylinder) << l.measure;
    }
    // Pictures rendered off screen always take the finest level.
    mView->SetOffscreen(true);
    EXPECT_EQ(mView->SphereSubdivisions(16.0), 8);
    EXPECT_EQ(mView->CylinderSegments(0.5), 32);
    mView->SetOffscreen(false);
    mView->SetOrthogonal(false);
}

TEST_F(PrimitivesTest, EveryOctantOfASphereFacesOutward)
{
    // Culling back faces must not change the depth picture: the near surface is all front faces.
    for (double side : {1.0, -1.0})
    {
        SCOPED_TRACE(side > 0 ? "seen from +z" : "seen from -z");
        mView->ResetView();
        if (side < 0)
            mView->RotateView(1, 180.0);
        mView->RotateView(0, 10.0);
        std::vector<float> plain, culled;
        int drawn = 0;
        DrawWith([&] {
            const Pixel grey = ReadPixelAt(-0.99, -0.99);
            mView->DrawSphere(Vec3D{0, 0, 0}, 0.8);
            drawn = CountDrawn(grey);
            plain = ReadDepths();
            glClear(GL_DEPTH_BUFFER_BIT);
            mView->SetCullMode(1);
            mView->DrawSphere(Vec3D{0, 0, 0}, 0.8);
            culled = ReadDepths();
            mView->SetCullMode(0);
        });
        EXPECT_GT(drawn, 1000);
        ASSERT_EQ(plain.size(), culled.size());
        int differ = 0;
        for (size_t i = 0; i < plain.size(); ++i)
            differ += std::fabs(plain[i] - culled[i]) > 1e-6f;
        EXPECT_EQ(differ, 0);
    }
}

TEST_F(PrimitivesTest, CylindersSkipWhatTheirGapsSwallow)
{
    int swallowed = -1, drawn = 0, tapered = 0;
    DrawWith([&] {
        const Pixel grey = ReadPixelAt(-0.99, -0.99);
        // Points 1 apart with a gap of 0.6 at each end: nothing is left.
        mView->DrawCylinder(Vec3D{-0.5, 0, 0}, Vec3D{0.5, 0, 0}, 0.2, 0.6, nullptr, 1);
        // Coincident ends: nothing either.
        mView->DrawCylinder(Vec3D{0, 0, 0}, Vec3D{0, 0, 1e-6}, 0.2, 0.0, nullptr, 1);
        swallowed = CountDrawn(grey);
        mView->DrawCylinder(Vec3D{-0.5, 0, 0}, Vec3D{0.5, 0, 0}, 0.2, 0.1, nullptr, 1);
        drawn = CountDrawn(grey);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mView->DrawCylinder(Vec3D{0, -0.5, 0}, Vec3D{0, 0.5, 0}, 0.3, 0.05, 0.2, 0.2, nullptr, true);
        tapered = CountDrawn(grey);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mView->DrawCylinder(Vec3D{0, -0.5, 0}, Vec3D{0, 0.5, 0}, 0.3, 0.05, 0.6, 0.5, nullptr, true);
        tapered -= CountDrawn(grey);  // insets past the length: gone
    });
    EXPECT_EQ(swallowed, 0);
    EXPECT_GT(drawn, 500);
    EXPECT_GT(tapered, 500);
}

TEST(DrawPrimitives, OctantGridsAreUnitVectorsFromPoleToEquator)
{
    for (int n : {2, 6, 8})
    {
        SCOPED_TRACE(n);
        const std::vector<Vec3F> grid = BuildOctantGrid(n);
        ASSERT_EQ(grid.size(), size_t((n + 1) * (n + 2) / 2));
        for (const Vec3F& g : grid)
        {
            EXPECT_NEAR(std::sqrt(Vec3FDot(g, g)), 1.0, 1e-6);
            EXPECT_GE(g.x, 0.0f);
            EXPECT_GE(g.y, 0.0f);
            EXPECT_GE(g.z, 0.0f);
        }
        // Row 0 is the pole; the last row runs from z to x along the equator.
        EXPECT_FLOAT_EQ(grid[0].y, 1.0f);
        const size_t lastRow = size_t(n * (n + 1) / 2);
        EXPECT_FLOAT_EQ(grid[lastRow].z, 1.0f);
        EXPECT_FLOAT_EQ(grid.back().x, 1.0f);
        EXPECT_FLOAT_EQ(grid[lastRow + size_t(n / 2)].y, 0.0f);
    }
}

TEST(DrawPrimitives, LinesClipToTheRectangle)
{
    const Vec2D lo{0, 0}, hi{10, 10};
    struct ClipCase
    {
        const char* name;
        Vec2D p, q;
        bool kept;
        Vec2D cp, cq;
    };
    const ClipCase kCases[] = {
        {"inside", {1, 1}, {9, 2}, true, {1, 1}, {9, 2}},
        {"across", {-5, 5}, {15, 5}, true, {0, 5}, {10, 5}},
        {"diagonal in", {-2, -2}, {5, 5}, true, {0, 0}, {5, 5}},
        {"corner to corner", {-1, 11}, {11, -1}, true, {0, 10}, {10, 0}},
        {"both left", {-3, 1}, {-1, 9}, false, {}, {}},
        {"missing the corner", {-2, 8}, {2, 14}, false, {}, {}},
    };
    for (const ClipCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Vec2D p = c.p, q = c.q;
        ASSERT_EQ(ClipLine2D(p, q, lo, hi), c.kept);
        if (!c.kept)
            continue;
        EXPECT_NEAR(p.x, c.cp.x, 1e-12);
        EXPECT_NEAR(p.y, c.cp.y, 1e-12);
        EXPECT_NEAR(q.x, c.cq.x, 1e-12);
        EXPECT_NEAR(q.y, c.cq.y, 1e-12);
    }
    EXPECT_EQ(OutCode2D(Vec2D{-1, 11}, lo, hi), 1 | 8);
    EXPECT_EQ(OutCode2D(Vec2D{11, -1}, lo, hi), 2 | 4);
}

namespace
{
struct FeedbackVertex
{
    double x, y;
};

// The window-space vertices of what draw issues, with lines and polygons flattened in order; the
// projection makes window coordinates equal to model coordinates.
std::vector<FeedbackVertex> Feedback(const std::function<void()>& draw)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<FeedbackVertex> out;
    for (GLint i = 0; i < n;)
    {
        const GLfloat token = buffer[size_t(i++)];
        int count = 0;
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
            count = 2;
        else if (token == GL_POLYGON_TOKEN)
            count = int(buffer[size_t(i++)]);
        else if (token == GL_POINT_TOKEN)
            count = 1;
        for (int k = 0; k < count; ++k, i += 3)
            out.push_back(FeedbackVertex{buffer[size_t(i)] - double(viewport[0]), buffer[size_t(i + 1)]});
    }
    return out;
}

void ExpectVertices(const std::vector<FeedbackVertex>& got, const std::vector<FeedbackVertex>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
    {
        EXPECT_NEAR(got[i].x, want[i].x, 1e-3) << "vertex " << i;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-3) << "vertex " << i;
    }
}
}  // namespace

TEST_F(PrimitivesTest, ShapesPutTheirCornersWhereTheyBelong)
{
    SizeView(300, 300);
    const double c45 = std::sqrt(0.5);
    std::vector<FeedbackVertex> arrow, noArrow, square, circle3D, arc;
    DrawWith([&] {
        mView->SetDepthMode(false);
        arrow = Feedback([] { DrawArrowHead2D(Vec2D{100, 100}, Vec2D{200, 100}, 10); });
        noArrow = Feedback([] { DrawArrowHead2D(Vec2D{100, 100}, Vec2D{100, 100}, 10); });
        square = Feedback([] { DrawCircle2D(Vec2D{100, 100}, 50, 4, false); });
        const Vec3D x{1, 0, 0};
        circle3D = Feedback([&] { DrawCircle3D(Vec3D{100, 100, 0}, Vec3D{0, 0, 1}, 50, 4, false, &x); });
        arc = Feedback([] { DrawArc2D(Vec2D{100, 100}, 50, Vec2D{150, 100}, Vec2D{100, 200}, 8); });
        mView->SetDepthMode(true);
    });
    // Barbs 45 degrees either side of the way back, as a strip barb-tip-barb.
    ExpectVertices(arrow, {{200 - 10 * c45, 100 - 10 * c45}, {200, 100}, {200, 100}, {200 - 10 * c45, 100 + 10 * c45}});
    EXPECT_TRUE(noArrow.empty());
    ExpectVertices(square, {{150, 100}, {100, 150}, {100, 150}, {50, 100}, {50, 100}, {100, 50}, {100, 50}, {150, 100}});
    // A 3D circle's polygon has its edges touching the circle: corners at r / cos(pi / n).
    const double r = 50 / c45;
    ExpectVertices(circle3D, {{100 + r, 100}, {100, 100 + r}, {100, 100 + r}, {100 - r, 100}, {100 - r, 100},
                              {100, 100 - r}, {100, 100 - r}, {100 + r, 100}});
    // A quarter arc in eighth-turn steps ends on its end point once.
    ExpectVertices(arc, {{150, 100}, {100 + 50 * c45, 100 + 50 * c45}, {100 + 50 * c45, 100 + 50 * c45}, {100, 150}});
}
