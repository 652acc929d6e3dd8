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
#include "platform/ToolBarEx.h"
#include "render/BackgroundImageSettings.h"
#include "render/KitStyle.h"
#include "render/OpenGLView.h"
#include "ui/MainFrameFixture.h"
#include "ui/PaneLayout.h"
#include "view/BackgroundImage.h"
#include "view/PaneFrame.h"
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
        // The pane tests sample their pane on a grid of pixels: they keep the pane size they were
        // written for, which the toolbars would take from.
        for (int bar = 0; bar < kNumMainToolBars; ++bar)
            mFrame->GetDockManager().GetPane(mFrame->GetToolBar(bar)).Hide();
        mFrame->GetDockManager().Update();
        Pump();
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

    using Frame = PaneFrame;
    static Frame DrawAndRead(CPolyView* pane) { return DrawPaneAndRead(pane); }

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
