#include "RenderTestView.h"

#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "render/GLSelection.h"
#include "render/TranslucentQueue.h"

#include <GL/glu.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}

// Notes what the GL state was while a message box was up.
class BoxWatcher : public ScriptedServices
{
public:
    OpenGLView* viewDuringBox = reinterpret_cast<OpenGLView*>(1);
    int depthDuringBox = -1;
    int scenesBeforeBox = -1;
    TestView* watched = nullptr;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
    {
        viewDuringBox = OpenGLView::GetCurrentGLView();
        depthDuringBox = OpenGLView::GetGLNestingDepth();
        if (watched)
            scenesBeforeBox = watched->scenes;
        return ScriptedServices::MessageBox(text, caption, type);
    }
};

using OpenGLViewTest = RenderTest;
}  // namespace

TEST_F(OpenGLViewTest, ContextBracketsNest)
{
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), nullptr);
    EXPECT_FALSE(IsGLContextHeld());
    ASSERT_TRUE(mView->PreOpenGL());
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), mView);
    EXPECT_EQ(OpenGLView::GetGLNestingDepth(), 2);
    EXPECT_TRUE(IsGLContextHeld());
    mView->PostOpenGL();
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), mView);  // only the outermost end releases
    mView->PostOpenGL();
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), nullptr);
    EXPECT_EQ(OpenGLView::GetGLNestingDepth(), 0);

    // A second view inside the first one's bracket: traced, and the first stays current.
    auto* second = new TestView(mFrame);
    mFrame->GetSizer()->Add(second, 1, wxEXPAND);
    mFrame->Layout();
    ASSERT_TRUE(PumpEventsUntil([second] { return second->scenes > 0; }));
    gTrace.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_TRUE(second->PreOpenGL());
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), mView);
    second->PostOpenGL();
    mView->PostOpenGL();
    SetTraceSink(previous);
    ASSERT_GE(gTrace.size(), 2u);
    EXPECT_EQ(gTrace[0].rfind("Must call PostOpenGL() after PreOpenGL().", 0), 0u);
    EXPECT_EQ(gTrace[1].rfind("PostOpenGL(): View changed since call to PreOpenGL().", 0), 0u);

    ScopedScriptedServices boxes;
    mView->PostOpenGL();
    ASSERT_EQ(boxes.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(boxes.services.LastCall()->caption, "Internal Error");
    EXPECT_EQ(boxes.services.LastCall()->text, "Too many calls to PostOpenGL()\n");
    EXPECT_EQ(OpenGLView::GetGLNestingDepth(), 0);
}

TEST_F(OpenGLViewTest, AMessageBoxReleasesTheContextAndRestoresIt)
{
    BoxWatcher boxes;
    UserServices* previous = SetServices(&boxes);
    ASSERT_TRUE(mView->PreOpenGL());
    ASSERT_TRUE(mView->PreOpenGL());
    NewView::ClearRedrawFlags(mView);
    ErrorMessage("while drawing");
    EXPECT_EQ(boxes.viewDuringBox, nullptr);
    EXPECT_EQ(boxes.depthDuringBox, 0);
    EXPECT_EQ(OpenGLView::GetCurrentGLView(), mView);
    EXPECT_EQ(OpenGLView::GetGLNestingDepth(), 2);  // the bracket depth is back
    EXPECT_TRUE(mView->GetRedrawMarks() & NewView::kRedraw);
    mView->PostOpenGL();
    mView->PostOpenGL();

    // Without a held context the marked views are painted before the box goes up.
    boxes.watched = mView;
    const int scenes = mView->scenes;
    NewView::Invalidate(mView, false);
    ErrorMessage("between frames");
    EXPECT_EQ(boxes.scenesBeforeBox, scenes + 1);
    SetServices(previous);
}

TEST_F(OpenGLViewTest, StateSettersReachGL)
{
    DrawWith([this] {
        EXPECT_EQ(mView->SetBlendMode(2), 0);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        GLint source = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        EXPECT_EQ(source, GL_SRC_ALPHA);
        EXPECT_EQ(mView->SetBlendMode(1), 2);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_POLYGON_STIPPLE));
        EXPECT_EQ(mView->SetBlendMode(3), 1);
        EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
        glGetIntegerv(GL_BLEND_SRC, &source);
        EXPECT_EQ(source, GL_ONE);
        mView->SetBlendMode(0);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));

        EXPECT_TRUE(mView->GetDepthMode());
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        mView->SetLighting(true);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(mView->UseDefaultLights(false));  // answers that lighting was on
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        mView->UseRainbowLights(false);  // the other half of the pair: lighting back on
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        mView->SetDepthMode(false);  // a flat view: no depth test, no lighting
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        mView->SetDepthMode(true);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

        // The all-white mode: white lines and no lighting.
        mView->SetAllWhite(true);
        mView->SetLighting(true);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        mView->SetColor3f(0.2f, 0.4f, 0.6f);
        GLfloat color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_FLOAT_EQ(color[0], 1.0f);
        EXPECT_FLOAT_EQ(color[2], 1.0f);
        mView->SetAllWhite(false);
        mView->SetLighting(true);
        mView->SetColor4f(0.2f, 0.4f, 0.6f, 0.5f);
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_FLOAT_EQ(color[1], 0.4f);
        EXPECT_FLOAT_EQ(color[3], 0.5f);

        // Lit 3D material; the rainbow mode makes it grey.
        mView->SetMaterialColor4f(0.2f, 0.4f, 0.8f, 1.0f);
        GLfloat diffuse[4];
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        EXPECT_FLOAT_EQ(diffuse[2], 0.8f);
        OpenGLView::SetRenderFlags(RenderSettings::kRainbowColors, true);
        EXPECT_EQ(GetRenderFlags(), RenderSettings::kRainbowColors);
        mView->SetMaterialColor4f(0.2f, 0.4f, 0.8f, 1.0f);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        EXPECT_FLOAT_EQ(diffuse[0], 0.8f);
        OpenGLView::SetRenderFlags(RenderSettings::kRainbowColors, false);
        EXPECT_EQ(GetRenderFlags(), 0);
    });
}

TEST_F(OpenGLViewTest, CirclesAndTrianglesLandWhereTheyShould)
{
    Pixel centre, inside, outside, edge;
    DrawWith([&] {
        UseUnitOrtho();
        mView->SetDepthMode(false);
        mView->SetColor3f(1.0f, 0.0f, 0.0f);
        CurrentSceneDrawer().DrawCircle3D(Vec3D{0, 0, 0}, Vec3D{0, 0, 1}, 0.5, 64, true, nullptr);
        centre = ReadPixelAt(0.0, 0.0);
        inside = ReadPixelAt(0.0, 0.45);
        outside = ReadPixelAt(0.55, 0.0);
        // The outline form leaves the middle alone.
        mView->SetColor3f(0.0f, 1.0f, 0.0f);
        CurrentSceneDrawer().DrawCircle3D(Vec3D{0, 0, 0}, Vec3D{0, 0, 1}, 0.5, 64, false, nullptr);
        edge = ReadPixelAt(0.0, 0.0);
        mView->SetDepthMode(true);
    });
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    EXPECT_EQ(inside.r, 255);
    EXPECT_NEAR(outside.r, 128, 1);  // the grey background
    EXPECT_EQ(edge.r, 255);
    EXPECT_EQ(edge.g, 0);
}

TEST_F(OpenGLViewTest, TranslucentTrianglesAreDrawnFarthestFirst)
{
    Pixel overlap;
    int queuedAfterAdd = -1, allAfterAdd = -1, queuedAfterFlush = -1;
    bool opaqueNow = false, translucentNow = true;
    int blendAfterEmptyFlush = -1, blendAfterFlush = -1;
    DrawWith([&] {
        UseUnitOrtho();
        mView->SetDepthMode(false);
        mView->SetLighting(false);
        mView->SetBlendMode(3);
        FlushTranslucentQueue();  // nothing queued: no state changes
        blendAfterEmptyFlush = mView->GetBlendMode();
        mView->SetBlendMode(0);

        const Vec3D nearTri[3] = {{-0.8, -0.8, 0.5}, {0.8, -0.8, 0.5}, {0.0, 0.8, 0.5}};
        const Vec3D farTri[3] = {{-0.8, -0.8, -0.5}, {0.8, -0.8, -0.5}, {0.0, 0.8, -0.5}};
        const Vec3D offscreen[3] = {{5, 5, 0}, {6, 5, 0}, {5, 6, 0}};
        const Vec3D up{0, 0, 1};
        const float red[4] = {1, 0, 0, 0.5f};
        const float blue[4] = {0, 0, 1, 0.5f};
        const float solid[4] = {0, 1, 0, 1.0f};
        SceneDrawer& d = CurrentSceneDrawer();
        // Submitted nearest first: only sorting puts the far one underneath.
        translucentNow = d.AddTriangle(nearTri, up, red, 0, 1.0, nullptr, nullptr, nullptr);
        d.AddTriangle(farTri, up, blue, 0, 1.0, nullptr, nullptr, nullptr);
        d.AddTriangle(offscreen, up, red, kTriangleQueueBefore, 1.0, nullptr, nullptr, nullptr);
        opaqueNow = d.AddTriangle(offscreen, up, solid, 0, 1.0, nullptr, nullptr, nullptr);
        queuedAfterAdd = CountQueuedTriangles();
        allAfterAdd = CountAllQueuedTriangles();
        FlushTranslucentQueue();
        queuedAfterFlush = CountAllQueuedTriangles();
        blendAfterFlush = mView->GetBlendMode();
        overlap = ReadPixelAt(0.0, 0.0);
    });
    EXPECT_EQ(blendAfterEmptyFlush, 3);
    EXPECT_FALSE(translucentNow);
    EXPECT_TRUE(opaqueNow);
    EXPECT_EQ(queuedAfterAdd, 2);
    EXPECT_EQ(allAfterAdd, 3);
    EXPECT_EQ(queuedAfterFlush, 0);
    EXPECT_EQ(blendAfterFlush, 0);
    // Grey 128, then blue at one half, then red at one half over it.
    EXPECT_NEAR(overlap.r, 128 / 4 + 128, 3);
    EXPECT_NEAR(overlap.g, 128 / 4, 3);
    EXPECT_NEAR(overlap.b, 128 / 4 + 64, 3);

    // While picking nothing waits.
    mView->SetSelecting(1);
    bool drawnWhilePicking = false;
    DrawWith([&] {
        const Vec3D tri[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        const float faint[4] = {1, 1, 1, 0.1f};
        drawnWhilePicking = CurrentSceneDrawer().AddTriangle(tri, Vec3D{0, 0, 1}, faint, 0, 1.0, nullptr, nullptr,
                                                             nullptr);
    });
    mView->SetSelecting(0);
    EXPECT_TRUE(drawnWhilePicking);
}

TEST_F(OpenGLViewTest, FacingTheViewerDependsOnTheProjection)
{
    SceneDrawer& d = *mView;
    mView->ResetCamera(true);
    mView->SetOrthogonal(true);
    EXPECT_TRUE(d.IsFacingViewer(Vec3D{0, 0, 0}, Vec3D{0, 0, 1}));
    EXPECT_FALSE(d.IsFacingViewer(Vec3D{0, 0, 0}, Vec3D{0, 0, -1}));
    EXPECT_TRUE(d.IsFacingViewer(Vec3D{2, 0, 0}, Vec3D{1, 0, 0.1}));

    mView->SetOrthogonal(false);
    mView->SetEye(Vec3D{0, 0, 5});
    // Seen from the eye at z = 5 this face turns away, though it leans towards +z.
    EXPECT_FALSE(d.IsFacingViewer(Vec3D{2, 0, 0}, Vec3D{1, 0, 0.1}));
    EXPECT_TRUE(d.IsFacingViewer(Vec3D{0, 0, 1}, Vec3D{0, 0, 1}));
    // The window matrix agrees for faces seen head on.
    EXPECT_TRUE(mView->IsFacingViewer(Vec3D{0, 0, 1}, Vec3D{0, 0, 1}, true));
    EXPECT_FALSE(mView->IsFacingViewer(Vec3D{0, 0, 1}, Vec3D{0, 0, -1}, true));

    // The camera orbits to the far side.
    mView->RotateView(1, 180.0);
    EXPECT_NEAR(mView->GetEye().z, -5.0, 1e-12);
    EXPECT_FALSE(d.IsFacingViewer(Vec3D{0, 0, 1}, Vec3D{0, 0, 1}));
    EXPECT_TRUE(mView->IsFacingViewer(Vec3D{0, 0, 1}, Vec3D{0, 0, -1}, true));
    mView->ResetView();
}

TEST_F(OpenGLViewTest, AxisTriadsAndLabelsDrawInTheirColours)
{
    int onX = 0, onY = 0, labelPixels = 0;
    // Pixels of exactly one colour in a small block around a point (lines fall on pixel edges).
    auto countNear = [](double x, double y, int r, int g, int b) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int px = viewport[0] + int((x + 1) / 2 * viewport[2]) - 2;
        const int py = viewport[1] + int((y + 1) / 2 * viewport[3]) - 2;
        unsigned char block[5 * 5 * 3];
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(px, py, 5, 5, GL_RGB, GL_UNSIGNED_BYTE, block);
        int n = 0;
        for (int i = 0; i < 75; i += 3)
            n += block[i] == r && block[i + 1] == g && block[i + 2] == b;
        return n;
    };
    DrawWith([&] {
        UseUnitOrtho();
        mView->SetDepthMode(false);
        const ColorRGB yellow{1, 1, 0};
        CurrentSceneDrawer().DrawAxisTriad("Axis", Vec3D{-0.5, -0.5, 0}, Vec3D{1, 0, 0}, Vec3D{0, 1, 0},
                                           Vec3D{0, 0, 1}, 1.0, &yellow);
        onX = countNear(0.1, -0.5, 255, 128, 128);
        onY = countNear(-0.5, 0.1, 128, 255, 128);
        // The label starts at the origin of the triad: some of its pixels are yellow.
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int x0 = viewport[0] + viewport[2] / 4, y0 = viewport[1] + viewport[3] / 4;
        std::vector<unsigned char> block(40 * 20 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x0, y0, 40, 20, GL_RGB, GL_UNSIGNED_BYTE, block.data());
        for (size_t i = 0; i < block.size(); i += 3)
            labelPixels += block[i] > 200 && block[i + 1] > 200 && block[i + 2] < 100;
        mView->SetDepthMode(true);
    });
    EXPECT_GT(onX, 0);  // reddish along x
    EXPECT_GT(onY, 0);  // greenish along y
    EXPECT_GT(labelPixels, 5);
}

TEST_F(OpenGLViewTest, ViewsCanDrawWithoutGL)
{
    EXPECT_FALSE(mView->EnableOpenGL(false, true));
    EXPECT_FALSE(mView->IsOpenGLEnabled());
    EXPECT_FALSE(mView->PreOpenGL());
    const int without = mView->withoutGL;
    mView->OnDraw();
    EXPECT_EQ(mView->withoutGL, without + 1);
    EXPECT_TRUE(mView->EnableOpenGL(true, true));
    const int scenes = mView->scenes;
    ASSERT_TRUE(PumpEventsUntil([&] {
        mView->OnDraw();
        return mView->scenes > scenes;
    }));
    EXPECT_FALSE(mView->EnableOpenGL(true, false));  // GL on, printing without it
}

TEST(GLSelection, NamesPackTypeAndIndex)
{
    ScopedScriptedServices boxes;
    InitGLSelection(40);  // six bits of type
    const unsigned name = GLSelectionName(14, 5);
    EXPECT_EQ(name, (5u << 6) + 14u + 1u);
    EXPECT_EQ(GetGLSelectionItemType(name - 1), 14);
    EXPECT_EQ(GetGLSelectionItemIndex(name - 1), 5);
    EXPECT_NE(GLSelectionName(63, 0), 0u);  // the mask itself fits
    EXPECT_EQ(boxes.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(GLSelectionName(64, 0), 0u);
    ASSERT_EQ(boxes.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(boxes.services.LastCall()->text, "SetGLSelectionItem(): itemType too big");
    InitGLSelection(1);
    EXPECT_EQ(GLSelectionName(0, 7), 8u);
}
