// The main window's toolbar class: right clicks on buttons, commands of a bar that floats in a
// window of its own, and menu items whose marks are drawn on their pictures.

#include "GuiInput.h"

#include "platform/MenuPictureChecks.h"
#include "platform/ToolBarEx.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr int kPlain = 601;
constexpr int kGreyed = 602;
constexpr int kMarked = 603;

class RecordingBar : public CToolBarEx
{
public:
    using CToolBarEx::CToolBarEx;
    void OnDropDown(int command) override { dropDowns.push_back(command); }
    std::vector<int> dropDowns;
};

// The frame the bar's commands belong to: it enables kPlain and kMarked, greys kGreyed, marks
// kMarked while marked is set, and counts the commands it hears.
class CommandFrame : public wxFrame
{
public:
    CommandFrame() : wxFrame(nullptr, wxID_ANY, "Main", wxPoint(40, 40), wxSize(800, 600))
    {
        Bind(wxEVT_MENU, [this](wxCommandEvent& e) { commands.push_back(e.GetId()); }, kPlain, kMarked);
        Bind(
            wxEVT_UPDATE_UI,
            [this](wxUpdateUIEvent& e) {
                e.Enable(e.GetId() != kGreyed);
                if (e.GetId() == kMarked)
                    e.Check(marked);
            },
            kPlain, kMarked);
    }
    std::vector<int> commands;
    bool marked = false;
};

class ToolBarExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new CommandFrame;
        mBar = new RecordingBar(mFrame, wxID_ANY, mFrame);
        const wxBitmapBundle picture = wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR, wxSize(16, 16));
        mBar->AddTool(kPlain, "plain", picture);
        mBar->AddSeparator();
        mBar->AddTool(kGreyed, "greyed", picture);
        mBar->AddTool(kMarked, "marked", picture, "", wxITEM_CHECK);
        mBar->Realize();
        mBar->SetSize(mBar->GetBestSize());
        mFrame->Show();
        PumpEventsUntil([this] { return mFrame->IsShownOnScreen() && mBar->IsShownOnScreen(); });
        mBar->UpdateButtons();
    }
    void TearDown() override
    {
        if (mFrame)
            mFrame->Destroy();
        PumpEventsUntil([] { return false; }, 5);
    }

    void RightClick(int id)
    {
        const wxPoint centre = mBar->GetToolRect(id).GetPosition() + mBar->GetToolRect(id).GetSize() / 2;
        GuiInput::PutMouse(mBar, GDK_BUTTON_PRESS, centre, 0, 3);
        GuiInput::PutMouse(mBar, GDK_BUTTON_RELEASE, centre, GDK_BUTTON3_MASK, 3);
        PumpEventsUntil([] { return false; }, 5);
    }

    CommandFrame* mFrame = nullptr;
    RecordingBar* mBar = nullptr;
};
}  // namespace

TEST_F(ToolBarExTest, ARightClickAsksForTheDropDownOfAnEnabledButtonOnly)
{
    ASSERT_FALSE(mBar->GetToolEnabled(kGreyed));
    RightClick(kPlain);
    RightClick(kGreyed);
    RightClick(kMarked);
    EXPECT_EQ(mBar->dropDowns, (std::vector<int>{kPlain, kMarked}));
    // The click asks for a menu and sends no command.
    EXPECT_TRUE(mFrame->commands.empty());

    // The base class has no drop-downs: the click does nothing at all.
    auto* plainBar = new CToolBarEx(mFrame, wxID_ANY, mFrame);
    plainBar->AddTool(kPlain, "plain", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR, wxSize(16, 16)));
    plainBar->Realize();
    plainBar->SetSize(wxRect(wxPoint(0, 100), plainBar->GetBestSize()));
    PumpEventsUntil([plainBar] { return plainBar->IsShownOnScreen(); });
    const wxPoint centre = plainBar->GetToolRect(kPlain).GetPosition() + wxSize(4, 4);
    GuiInput::PutMouse(plainBar, GDK_BUTTON_PRESS, centre, 0, 3);
    GuiInput::PutMouse(plainBar, GDK_BUTTON_RELEASE, centre, GDK_BUTTON3_MASK, 3);
    PumpEventsUntil([] { return false; }, 5);
    EXPECT_TRUE(mFrame->commands.empty());
}

TEST_F(ToolBarExTest, UpdatePassesFollowTheFrameAndTheTipSource)
{
    EXPECT_TRUE(mBar->GetToolEnabled(kPlain));
    EXPECT_FALSE(mBar->GetToolEnabled(kGreyed));
    EXPECT_FALSE(mBar->GetToolToggled(kMarked));
    mFrame->marked = true;
    int asked = 0;
    mBar->SetTipSource([&asked](int command) {
        ++asked;
        return "tip " + std::to_string(command);
    });
    mBar->UpdateButtons();
    EXPECT_TRUE(mBar->GetToolToggled(kMarked));
    EXPECT_EQ(mBar->FindTool(kPlain)->GetShortHelp(), "tip 601");
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(mBar->GetButtonCommands(), (std::vector<int>{kPlain, 0, kGreyed, kMarked}));
}

TEST_F(ToolBarExTest, ABarInAWindowOfItsOwnSendsItsCommandsToItsTarget)
{
    // A floating bar's parent is a small frame of its own, where commands would stop.
    auto* floating = new wxFrame(mFrame, wxID_ANY, "Floating", wxPoint(300, 300), wxSize(200, 60));
    auto* bar = new CToolBarEx(floating, wxID_ANY, mFrame);
    bar->AddTool(kPlain, "plain", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR, wxSize(16, 16)));
    bar->AddTool(kGreyed, "greyed", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR, wxSize(16, 16)));
    bar->Realize();
    floating->Show();
    wxCommandEvent click(wxEVT_MENU, kPlain);
    click.SetEventObject(bar);
    bar->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(mFrame->commands, std::vector<int>{kPlain});
    bar->UpdateButtons();
    EXPECT_FALSE(bar->GetToolEnabled(kGreyed));
    EXPECT_TRUE(bar->GetToolEnabled(kPlain));
}

TEST_F(ToolBarExTest, AMarkOnAPictureItemIsDrawnOnThePicture)
{
    const wxBitmap picture = wxArtProvider::GetBitmap(wxART_NEW, wxART_MENU, wxSize(16, 16));
    ASSERT_TRUE(picture.IsOk());
    auto* menu = new wxMenu;
    wxMenuItem* item = new wxMenuItem(menu, kMarked, "Marked");
    item->SetBitmap(picture);
    menu->Append(item);
    menu->Append(kPlain, "Plain");
    wxMenuBar* bar = new wxMenuBar;
    bar->Append(menu, "Menu");
    mFrame->SetMenuBar(bar);
    item = menu->FindItem(kMarked);
    MakePictureCheckItem(item, picture);
    ASSERT_TRUE(IsPictureCheckItem(item));
    EXPECT_FALSE(IsPictureCheckItem(menu->FindItem(kPlain)));

    // The frame's update checks the item: the toolkit would fail on a plain item, so the mark
    // becomes the look and the event no longer asks for it.
    class Checker : public wxEvtHandler
    {
    public:
        bool mark = true;
        bool ProcessEvent(wxEvent& event) override
        {
            if (event.GetEventType() != wxEVT_UPDATE_UI)
                return false;
            auto& update = static_cast<wxUpdateUIEvent&>(event);
            if (update.GetId() != kMarked)
                return false;
            update.Check(mark);
            TakePictureCheckFromUpdate(update);
            return true;
        }
    } checker;
    for (const bool mark : {true, false, true})
    {
        checker.mark = mark;
        menu->UpdateUI(&checker);
        EXPECT_EQ(IsPictureCheckItemChecked(item), mark);
        const wxImage shown = item->GetBitmap().ConvertToImage();
        const wxImage plain = picture.ConvertToImage();
        ASSERT_EQ(shown.GetSize(), plain.GetSize());
        const bool samePixels = std::equal(shown.GetData(), shown.GetData() + shown.GetWidth() * shown.GetHeight() * 3,
                                           plain.GetData());
        EXPECT_EQ(samePixels, !mark) << "the checked look differs from the plain picture";
    }
    EXPECT_FALSE(item->IsCheckable());
}
