#pragma once

#include "document/AppShell.h"
#include "document/PolyDoc.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneParameters.h"
#include "kernel/ViewTypes.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/GLCanvasWindow.h"
#include "render/BackgroundImageSettings.h"
#include "render/KitStyle.h"
#include "render/OpenGLView.h"
#include "ui/MainFrameFixture.h"
#include "ui/PaneLayout.h"
#include "view/BackgroundImage.h"
#include "view/PolyView.h"
#include "view/ViewDisplayOptions.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <vector>

// A shown main window whose panes are the program's model panes, with the program's shell, scripted
// services and the display settings put back after each test.
class PaneFixture : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        // Every test starts from one pane, whatever the layout the last one left.
        if (GetCurrentLayoutIndex() != kLayout1)
        {
            mFrame->SetLayout(kLayout1);
            PumpEventsUntil([] {
                auto* pane = dynamic_cast<OpenGLView*>(NewView::GetFirstView());
                return pane && pane->IsShownOnScreen() && pane->GetCanvas()->GetClientSize().x > 900;
            });
            Pump();
        }
        mPreviousShell = SetShell(&mShell);
        mTransitions = AreTransitionsEnabled();
        EnableTransitions(false);
        mElementOptions = GetElementDisplayOptions();
        mViewOptions = GetViewDisplayOptions();
        mBackground = GetBackgroundImageSettings();
        mScene = GetSceneParameters();
        mRender = GetRenderSettings();
    }

    void TearDown() override
    {
        if (!IsSkipped())
        {
            SetKitStyle(false);
            EnableTransitions(mTransitions);
            GetElementDisplayOptions() = mElementOptions;
            GetViewDisplayOptions() = mViewOptions;
            GetBackgroundImageSettings() = mBackground;
            GetSceneParameters() = mScene;
            GetRenderSettings() = mRender;
            OpenGLView::ViewsLocked() = false;
        }
        MainFrameFixture::TearDown();
        if (mPreviousShell || !IsSkipped())
            SetShell(mPreviousShell);
    }

    static CPolyView* Pane(int i)
    {
        int k = 0;
        for (NewView* v = NewView::GetFirstView(); v; v = v->next, ++k)
            if (k == i)
                return dynamic_cast<CPolyView*>(v);
        return nullptr;
    }

    // The library model of the configuration or name as the current model, at rest.
    Poly* OpenModel(const char* name)
    {
        const LibraryEntry* entry = FindLibraryEntry(name, nullptr, false);
        EXPECT_NE(entry, nullptr) << name;
        if (!entry || !mDocument->OpenLibraryModel(entry))
            return nullptr;
        mDocument->FinishAllTransitions();
        return GetCurrentPoly();
    }

    // The frame's pixels, read before they are shown.
    struct Frame
    {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> rgb;
        const unsigned char* At(int x, int y) const { return &rgb[3 * (size_t(y) * size_t(width) + size_t(x))]; }
        bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
        // Any pixel within d of (x, y) is of the colour, within tol per channel.
        bool NearColor(int x, int y, int d, const unsigned char c[3], int tol) const
        {
            for (int yy = y - d; yy <= y + d; ++yy)
                for (int xx = x - d; xx <= x + d; ++xx)
                    if (Inside(xx, yy) && std::abs(At(xx, yy)[0] - c[0]) <= tol &&
                        std::abs(At(xx, yy)[1] - c[1]) <= tol && std::abs(At(xx, yy)[2] - c[2]) <= tol)
                        return true;
            return false;
        }
        // Pixels of the rectangle that are not black.
        int CountLit(int x0, int y0, int x1, int y1) const
        {
            int n = 0;
            for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
                for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
                    n += At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 0;
            return n;
        }
    };

    static Frame DrawAndRead(CPolyView* pane)
    {
        Frame frame;
        pane->GetCanvas()->SetFrameDrawnCallback([&](GLCanvasWindow& canvas) {
            const wxSize size = canvas.GetClientSize() * canvas.GetContentScaleFactor();
            frame.width = size.x;
            frame.height = size.y;
            frame.rgb.assign(size_t(size.x) * size_t(size.y) * 3, 0);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, size.x, size.y, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
        });
        pane->OnDraw();
        pane->GetCanvas()->SetFrameDrawnCallback(nullptr);
        return frame;
    }

    // Where a model point lands in the pixels of the frame drawn last (y up, as read).
    static void ProjectToPixel(CPolyView* pane, const Vec3D& p, int& x, int& y)
    {
        Vec3D w;
        pane->ProjectToWindow(w, p);
        x = int(std::lround(w.x));
        y = int(std::lround(pane->GetViewport()[3] - w.y));
    }

    ScopedScriptedServices mScripted;
    AppShell mShell;
    Shell* mPreviousShell = nullptr;
    bool mTransitions = true;
    ElementDisplayOptions mElementOptions;
    ViewDisplayOptions mViewOptions;
    BackgroundImageSettings mBackground;
    SceneParameters mScene;
    RenderSettings mRender;
};
