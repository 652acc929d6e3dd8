#include "RenderTestView.h"

#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "platform/GLCanvasWindow.h"
#include "render/GLContextState.h"
#include "render/GLSelection.h"
#include "render/RasterText.h"
#include "render/TranslucentQueue.h"

#include <GL/glu.h>
#include <GL/glx.h>

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

TEST_F(OpenGLViewTest, NestedBracketsMakeTheContextCurrentOnce)
{
    const long before = GLCanvasWindow::CountMakeCurrent();
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_EQ(GLCanvasWindow::CountMakeCurrent(), before + 1);
    EXPECT_NE(glXGetCurrentContext(), nullptr);
    ASSERT_TRUE(mView->PreOpenGL());
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_EQ(GLCanvasWindow::CountMakeCurrent(), before + 1);
    mView->PostOpenGL();
    mView->PostOpenGL();
    EXPECT_NE(glXGetCurrentContext(), nullptr);
    mView->PostOpenGL();
    // The outermost end releases the context itself.
    EXPECT_EQ(glXGetCurrentContext(), nullptr);

    // A frame asked for from inside a frame's hook returns at once.
    int inner = -1;
    DrawWith([&] {
        const int scenes = mView->scenes;
        mView->OnDraw();
        inner = mView->scenes - scenes;
    });
    EXPECT_EQ(inner, 0);
}

TEST_F(OpenGLViewTest, TheFirstContextReportsItsDepthAndStencil)
{
    // The test display gives 24 depth bits and 8 stencil bits; the first frame's probe agrees.
    EXPECT_EQ(gDepthBits, 24);
    EXPECT_FLOAT_EQ(gPolygonOffsetUnits, 200.0f);
    EXPECT_TRUE(gUseStencil);
    EXPECT_FALSE(gFirstFrame);
    GLfloat units = 0.0f;
    GLint depthFunc = 0;
    DrawWith([&] {
        glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    });
    EXPECT_FLOAT_EQ(units, 200.0f);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_NE(GetGLCapabilities().edgeClampMode, -1);
}

TEST(GLContextState, DepthPrecisionAndExtensions)
{
    struct DepthCase
    {
        int bits;
        float units;
    };
    const DepthCase kDepths[] = {{16, 1.0f}, {20, 13.0f}, {24, 200.0f}, {32, 200.0f}};
    for (const DepthCase& c : kDepths)
        EXPECT_FLOAT_EQ(PolygonOffsetUnitsForDepth(c.bits), c.units) << c.bits << " bits";
    // What 2^20, 2^12 and 2^4 read back as.
    EXPECT_EQ(DepthBitsFromProbe(0, 0, 0), 8);
    EXPECT_EQ(DepthBitsFromProbe(1u << 20, 0, 0), 16);
    EXPECT_EQ(DepthBitsFromProbe(1u << 20, 1u << 12, 0), 24);
    EXPECT_EQ(DepthBitsFromProbe(1u << 20, 1u << 12, 1u << 4), 32);

    const char* list = "GL_ARB_multitexture GL_EXT_texture_env_combine GL_SGIS_texture_edge_clamp";
    EXPECT_TRUE(HasGLExtension(list, "gl_arb_multi"));  // a case-insensitive prefix of a word
    EXPECT_TRUE(HasGLExtension(list, "GL_SGIS_texture_edge_clamp"));
    EXPECT_FALSE(HasGLExtension(list, "multitexture"));  // not from the middle of a word
    EXPECT_FALSE(HasGLExtension(list, "GL_ARB_multitexture_more"));
    EXPECT_FALSE(HasGLExtension(nullptr, "GL_ARB_multitexture"));

    int stand = 0;
    void* entry = &stand;
    struct CapsCase
    {
        const char* name;
        const char* version;
        const char* extensions;
        void* activeTexture;
        int edgeClamp;
        bool separateSpecular;
        int units;
    };
    const CapsCase kCaps[] = {
        {"1.1 bare", "1.1 Mesa", "", entry, GL_CLAMP, false, 1},
        {"1.1 with extensions", "1.1", "GL_EXT_texture_edge_clamp GL_EXT_separate_specular_color", entry,
         GL_CLAMP_TO_EDGE, true, 1},
        {"multitexture and combine", "1.1", "GL_ARB_multitexture GL_ARB_texture_env_combine", entry, GL_CLAMP, false,
         4},
        {"no entry point", "1.3", "GL_ARB_texture_env_combine", nullptr, GL_CLAMP_TO_EDGE, true, 1},
        {"no combine", "2.1", "GL_ARB_multitexture", entry, GL_CLAMP_TO_EDGE, true, 1},
        {"modern", "4.5 (Compatibility Profile) Mesa", "GL_ARB_texture_env_combine", entry, GL_CLAMP_TO_EDGE, true,
         4},
    };
    for (const CapsCase& c : kCaps)
    {
        SCOPED_TRACE(c.name);
        const GLCapabilities caps = ComputeGLCapabilities(c.version, c.extensions, 4, c.activeTexture);
        EXPECT_EQ(caps.edgeClampMode, c.edgeClamp);
        EXPECT_EQ(caps.separateSpecular, c.separateSpecular);
        EXPECT_EQ(caps.textureUnits, c.units);
    }
}

TEST_F(OpenGLViewTest, SettersLeaveGLAloneWhenNothingChanges)
{
    // Each setter is called twice with one value, with the GL state changed behind its back in
    // between: a second GL call would undo that change.
    GLboolean cullAfter = GL_TRUE, blendAfter = GL_TRUE, stippleAfter = GL_TRUE, depthAfter = GL_FALSE;
    GLint stipplePattern = 0, stippleFactor = 0, cullFace = 0;
    bool stippleWhilePicking = true;
    DrawWith([&] {
        EXPECT_EQ(mView->SetCullMode(2), 0);
        glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        glDisable(GL_CULL_FACE);
        EXPECT_EQ(mView->SetCullMode(2), 2);
        cullAfter = glIsEnabled(GL_CULL_FACE);
        mView->SetCullMode(0);

        mView->SetDepthMask(false);
        glDepthMask(GL_TRUE);
        EXPECT_FALSE(mView->SetDepthMask(false));
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthAfter);
        mView->SetDepthMask(true);  // the cache says false: this one reaches GL
        glDepthMask(GL_FALSE);
        mView->SetDepthMask(true);
        glDepthMask(GL_TRUE);

        mView->SetBlendMode(2);
        glDisable(GL_BLEND);
        EXPECT_EQ(mView->SetBlendMode(2), 2);
        blendAfter = glIsEnabled(GL_BLEND);
        mView->SetBlendMode(0);

        mView->SetOverSampling(3);
        mView->SetLineStipple(0x5555);
        glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &stipplePattern);
        glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &stippleFactor);
        glDisable(GL_LINE_STIPPLE);
        mView->SetLineStipple(0x5555);
        stippleAfter = glIsEnabled(GL_LINE_STIPPLE);
        mView->SetOverSampling(1);
        mView->SetLineStipple(0);
        // Picking never stipples.
        mView->SetSelecting(1);
        mView->SetLineStipple(0x0F0F);
        stippleWhilePicking = glIsEnabled(GL_LINE_STIPPLE);
        mView->SetSelecting(0);
    });
    EXPECT_EQ(cullFace, GL_FRONT);
    EXPECT_FALSE(cullAfter);
    EXPECT_TRUE(depthAfter);
    EXPECT_FALSE(blendAfter);
    EXPECT_EQ(stipplePattern, 0x5555);
    EXPECT_EQ(stippleFactor, 3);  // the over-sampling factor
    EXPECT_FALSE(stippleAfter);
    EXPECT_FALSE(stippleWhilePicking);
    EXPECT_EQ(mView->GetLineStipple(), 0);
}

TEST_F(OpenGLViewTest, CoplanarStencilKeepsAnEdgeOnItsFaceVisible)
{
    // An edge lying in its face's plane, drawn before the face (as the model drawing does): with the
    // views' depth test (less or equal) the face covers it, the stencil sequence keeps it.
    auto face = [] {
        glColor3f(1, 0, 0);
        glBegin(GL_QUADS);
        glVertex3d(-0.8, -0.8, 0);
        glVertex3d(0.8, -0.8, 0);
        glVertex3d(0.8, 0.8, 0);
        glVertex3d(-0.8, 0.8, 0);
        glEnd();
    };
    auto edge = [] {
        glColor3f(0, 1, 0);
        glLineWidth(3.0f);
        glBegin(GL_LINES);
        glVertex3d(-0.8, 0.0, 0);
        glVertex3d(0.8, 0.0, 0);
        glEnd();
        glLineWidth(1.0f);
    };
    Pixel plain, kept, faceAway;
    GLint stencilLeft = -1, depthAfter = -1;
    GLboolean testAfter = GL_TRUE;
    DrawWith([&] {
        UseUnitOrtho();
        mView->SetLighting(false);
        edge();
        face();
        plain = ReadPixelAt(0.0, 0.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

        PrepareCoplanarStencil(1);
        edge();
        PrepareCoplanarStencil(2);
        face();
        PrepareCoplanarStencil(3);
        edge();
        PrepareCoplanarStencil(4);
        kept = ReadPixelAt(0.0, 0.0);
        faceAway = ReadPixelAt(0.0, 0.5);
        // The third step cleared every mark.
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        std::vector<GLubyte> stencil(size_t(viewport[2]) * size_t(viewport[3]));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, viewport[2], viewport[3], GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
        stencilLeft = 0;
        for (GLubyte s : stencil)
            stencilLeft += s != 0;
        depthAfter = gStencilUsedDepth;
        testAfter = glIsEnabled(GL_STENCIL_TEST);
    });
    EXPECT_EQ(plain.r, 255);  // the face covered the edge
    EXPECT_EQ(plain.g, 0);
    EXPECT_EQ(kept.g, 255);
    EXPECT_EQ(kept.r, 0);
    EXPECT_EQ(faceAway.r, 255);
    EXPECT_EQ(stencilLeft, 0);
    EXPECT_EQ(depthAfter, 0);
    EXPECT_FALSE(testAfter);

    // An end without a beginning.
    ScopedScriptedServices boxes;
    DrawWith([] { PrepareCoplanarStencil(4); });
    ASSERT_EQ(boxes.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(boxes.services.LastCall()->text, "StencilUsedDepth < 0");
    EXPECT_EQ(gStencilUsedDepth, 0);
}

TEST_F(OpenGLViewTest, TwoViewsShareDisplayLists)
{
    auto* second = new TestView(mFrame);
    mFrame->GetSizer()->Add(second, 1, wxEXPAND);
    mFrame->Layout();
    ASSERT_TRUE(PumpEventsUntil([second] { return second->scenes > 0; }));

    // A list compiled in the first view's context...
    GLuint list = 0;
    DrawWith([&] {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glColor3f(0, 0, 1);
        glRectd(-0.5, -0.5, 0.5, 0.5);
        glEndList();
    });
    ASSERT_NE(list, 0u);
    // ...draws in the second's, where the raster font's lists exist too.
    Pixel drawn;
    GLboolean fontList = GL_FALSE;
    second->scene = [&] {
        UseUnitOrtho();
        second->SetDepthMode(false);
        glCallList(list);
        drawn = ReadPixelAt(0.0, 0.0);
        fontList = glIsList(kRasterFontListBase + 'A');
        glDeleteLists(list, 1);
        second->SetDepthMode(true);
    };
    second->OnDraw();
    second->scene = nullptr;
    EXPECT_EQ(drawn.b, 255);
    EXPECT_EQ(drawn.r, 0);
    EXPECT_TRUE(fontList);
}

TEST(GLSelection, TheModelViewsThirtySevenTypesTakeSixBits)
{
    ScopedScriptedServices boxes;
    InitGLSelection(37);
    EXPECT_EQ(GLSelectionName(36, 2), (2u << 6) + 37u);
    EXPECT_EQ(GLSelectionName(63, 1), (1u << 6) + 64u);  // 63 is the mask: still a type
    EXPECT_EQ(GetGLSelectionItemType((5u << 6) + 21u), 21);
    EXPECT_EQ(GetGLSelectionItemIndex((5u << 6) + 21u), 5);
    EXPECT_EQ(boxes.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(GLSelectionName(64, 0), 0u);
    ASSERT_EQ(boxes.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(boxes.services.LastCall()->text, "SetGLSelectionItem(): itemType too big");
}

TEST_F(OpenGLViewTest, FullScreenKeepsDrawingWithANewContext)
{
    NewView::SetBackgroundColor(mView, ColorRGB{0.0f, 0.5f, 1.0f});
    GLuint list = 0;
    DrawWith([&] {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glEndList();
    });
    mView->SetFullScreen(true);
    ASSERT_TRUE(PumpEventsUntil([this] { return mView->GetCanvas()->IsShownOnScreen(); }));
    EXPECT_EQ(mView->GetWidth(), wxGetDisplaySize().x);
    Pixel full;
    GLboolean listKept = GL_FALSE;
    const int scenes = mView->scenes;
    DrawWith([&] {
        full = ReadPixelAt(0.5, 0.5);
        listKept = glIsList(list);
    });
    EXPECT_EQ(mView->scenes, scenes + 1);
    EXPECT_EQ(full.b, 255);  // the view's own background
    EXPECT_TRUE(listKept);   // the new context shares the old one's lists

    mView->SetFullScreen(false);
    ASSERT_TRUE(PumpEventsUntil([this] { return mView->GetCanvas()->IsShownOnScreen(); }));
    Pixel back;
    DrawWith([&] {
        back = ReadPixelAt(0.0, 0.0);
        glDeleteLists(list, 1);
    });
    EXPECT_EQ(back.b, 255);
    EXPECT_EQ(back.g, 128);
    NewView::SetBackgroundColor(mView, NewView::GetDefaultBackgroundColor());
}

TEST_F(OpenGLViewTest, AMessageLivesThroughExactlyOneFrame)
{
    NewView::SetMessage(mView, "Stellation %d of %d", 3, 59);
    NewView::Invalidate(mView, false);  // before the frame: kept
    EXPECT_EQ(mView->GetMessage(), "Stellation 3 of 59");
    std::string shown;
    DrawWith([&] { shown = mView->GetMessage(); });
    EXPECT_EQ(shown, "Stellation 3 of 59");  // the frame had it to draw
    EXPECT_EQ(mView->GetRedrawMarks() & (NewView::kRedraw | NewView::kKeepMessage), 0);
    NewView::Invalidate(mView, false);  // the first after the frame: gone
    EXPECT_EQ(mView->GetMessage(), "");
}
