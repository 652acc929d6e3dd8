#pragma once

#include "render/OpenGLView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <functional>
#include <vector>

// A view whose scene is whatever the test puts in it, counting its frames.
class TestView : public OpenGLView
{
public:
    using OpenGLView::OpenGLView;

    std::function<void()> scene;
    int scenes = 0;
    int withoutGL = 0;

    void SetSelecting(int mode) { mSelectionMode = mode; }
    void SetPickPoint(int x, int y)
    {
        mPickX = x;
        mPickY = y;
    }
    void SetOffscreen(bool on) { mOffscreen = on; }
    void SetOverSampling(int factor) { mOverSampling = factor; }
    void Scroll(bool horizontal, int code, int trackPosition)
    {
        if (horizontal)
            OnHScroll(code, trackPosition);
        else
            OnVScroll(code, trackPosition);
    }
    // Window pixels, y up, with depths z in -1..1 (the larger nearer); a selection pass keeps its
    // pick region in front of it.
    void UsePixelProjection()
    {
        const int* vp = GetViewport();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        if (mSelectionMode)
        {
            GLint viewport[4] = {vp[0], vp[1], vp[2], vp[3]};
            const double s = mLargePick ? 6.0 : 1.0;
            gluPickMatrix(mPickX, mPickY, s, s, viewport);
        }
        glOrtho(0, vp[2], 0, vp[3], -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // The eyes drawn in the last frame.
    std::vector<int> eyes;

protected:
    void DrawScene() override
    {
        ++scenes;
        eyes.push_back(GetCurrentEye());
        if (scene)
            scene();
    }
    void DrawWithoutGL() override { ++withoutGL; }
};

// A shown frame holding one test view, ready after its first frame.
class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "render test", wxDefaultPosition, wxSize(220, 240));
        mView = new TestView(mFrame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(mView, 1, wxEXPAND);
        mFrame->SetSizer(sizer);
        mFrame->Show();
        ASSERT_TRUE(PumpEventsUntil([this] { return mView->scenes > 0; })) << "the view never drew";
    }
    void TearDown() override
    {
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
    }

    // Makes the view's drawing area w x h pixels.
    void SizeView(int w, int h)
    {
        const wxSize frameSize = mFrame->GetClientSize();
        const wxSize viewSize(mView->GetWidth(), mView->GetHeight());
        mFrame->SetClientSize(frameSize.x + w - viewSize.x, frameSize.y + h - viewSize.y);
        ASSERT_TRUE(PumpEventsUntil([&] { return mView->GetWidth() == w && mView->GetHeight() == h; }))
            << "view is " << mView->GetWidth() << " x " << mView->GetHeight();
        // The window system resizes the canvas's own window a little later.
        int rounds = 0;
        PumpEventsUntil([&] { return ++rounds > 30; });
    }

    // Draws one frame now with the scene given.
    void DrawWith(std::function<void()> scene)
    {
        mView->eyes.clear();
        mView->scene = std::move(scene);
        mView->OnDraw();
        mView->scene = nullptr;
    }

    wxFrame* mFrame = nullptr;
    TestView* mView = nullptr;
};

// Model coordinates -1..1 fill the view, no perspective.
inline void UseUnitOrtho()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

struct Pixel
{
    int r = 0, g = 0, b = 0;
};

// The back-buffer pixel at a point of the unit square (-1..1 both ways).
inline Pixel ReadPixelAt(double x, double y)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int px = viewport[0] + int((x + 1) / 2 * viewport[2]);
    const int py = viewport[1] + int((y + 1) / 2 * viewport[3]);
    unsigned char rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(px, py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return Pixel{rgb[0], rgb[1], rgb[2]};
}
