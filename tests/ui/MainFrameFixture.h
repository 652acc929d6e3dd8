#pragma once

#include "document/PolyDoc.h"
#include "render/NewView.h"
#include "support/WxTestApp.h"
#include "ui/MainFrame.h"
#include "ui/ModelPane.h"
#include "ui/PaneLayout.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <memory>
#include <vector>

// A shown main window with its own document, as the program makes it, at 1000 x 800.
class MainFrameFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mDocument = std::make_unique<CPolyDoc>();
        mFrame = new CMainFrame(mDocument.get());
        mFrame->SetSize(40, 40, 1000, 800);
        wxTheApp->SetTopWindow(mFrame);
        mFrame->Show();
        PumpEventsUntil([this] { return mFrame->IsShownOnScreen() && mFrame->GetClientSize().x > 900; });
        Pump();
    }

    void TearDown() override
    {
        if (mFrame)
        {
            mFrame->Destroy();
            Pump();
        }
        mDocument.reset();
    }

    // Lets the window system and the queued calls catch up.
    static void Pump() { PumpEventsUntil([] { return false; }, 10); }

    // A command as a menu or key gives it to the frame.
    void RunCommand(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(event);
    }

    static std::vector<ModelPane*> Panes()
    {
        std::vector<ModelPane*> panes;
        for (NewView* v = NewView::GetFirstView(); v; v = v->next)
            panes.push_back(dynamic_cast<ModelPane*>(v));
        return panes;
    }

    // A pane's rectangle in the frame's client area.
    wxRect ClientRect(const wxWindow* window) const
    {
        wxRect r = window->GetScreenRect();
        r.SetPosition(mFrame->ScreenToClient(r.GetPosition()));
        return r;
    }

    std::unique_ptr<CPolyDoc> mDocument;
    CMainFrame* mFrame = nullptr;
};
