// Commands reach the active view, then the document, then the main frame, then the application;
// their update events take the same road after the command table's rule.

#include "MainFrameFixture.h"

#include "kernel/ViewTypes.h"
#include "platform/CommandRouting.h"
#include "platform/CommandTable.h"

#include <string>

namespace
{
// Ids of our own, away from the program's.
constexpr int kAllFour = 20001;
constexpr int kDocFrameApp = 20002;
constexpr int kFrameApp = 20003;
constexpr int kAppOnly = 20004;
constexpr int kViewSkips = 20005;
constexpr int kNetsOnly = 20006;
constexpr int kNetsOwnerUpdates = 20007;

const CommandInfo kTestCommands[] = {
    {kNetsOnly, nullptr, "Net Thing", nullptr, {kViewFamilyNet, kCommandForAnyModel, false}},
    {kNetsOwnerUpdates, nullptr, "Checked Net Thing", nullptr, {kViewFamilyNet, kCommandForAnyModel, true}},
    {kAppOnly, nullptr, "Always", nullptr, {}},
};

class CommandRoutingTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (!mFrame)
            return;
        mFrame->SetCommandTable(&mTable);
        mView = NewView::GetActiveView();
        ASSERT_NE(mView, nullptr);
        Handle(mView, "view", {kAllFour, kViewSkips});
        Handle(mDocument.get(), "document", {kAllFour, kDocFrameApp, kViewSkips, kNetsOwnerUpdates});
        Handle(mFrame, "frame", {kAllFour, kDocFrameApp, kFrameApp});
        Handle(wxTheApp, "application", {kAllFour, kDocFrameApp, kFrameApp, kAppOnly});
    }

    void TearDown() override
    {
        if (wxTheApp)
            for (int id : {kAllFour, kDocFrameApp, kFrameApp, kAppOnly})
            {
                wxTheApp->Unbind(wxEVT_MENU, &CommandRoutingTest::OnAppCommand, this, id);
                wxTheApp->Unbind(wxEVT_UPDATE_UI, &CommandRoutingTest::OnAppUpdate, this, id);
            }
        MainFrameFixture::TearDown();
    }

    void Handle(wxEvtHandler* handler, const std::string& level, std::initializer_list<int> ids)
    {
        for (int id : ids)
        {
            if (handler == wxTheApp)
            {
                handler->Bind(wxEVT_MENU, &CommandRoutingTest::OnAppCommand, this, id);
                handler->Bind(wxEVT_UPDATE_UI, &CommandRoutingTest::OnAppUpdate, this, id);
                continue;
            }
            handler->Bind(
                wxEVT_MENU,
                [this, level](wxCommandEvent& event) {
                    mReached = level;
                    mRunningInside = IsCommandRunning();
                    if (event.GetId() == kViewSkips && level == "view")
                        event.Skip();
                },
                id);
            handler->Bind(
                wxEVT_UPDATE_UI,
                [this, level](wxUpdateUIEvent& event) {
                    mUpdated = level;
                    event.Check(true);
                },
                id);
        }
    }

    void OnAppCommand(wxCommandEvent&) { mReached = "application"; }
    void OnAppUpdate(wxUpdateUIEvent&) { mUpdated = "application"; }

    std::string Run(int id)
    {
        mReached.clear();
        RunCommand(id);
        return mReached;
    }

    // The update event of a command's item: who saw it, and whether the item is enabled.
    std::string Update(int id, bool& enabled)
    {
        mUpdated.clear();
        wxUpdateUIEvent event(id);
        event.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(event);
        enabled = !event.GetSetEnabled() || event.GetEnabled();
        return mUpdated;
    }

    CommandTable mTable{kTestCommands, std::size(kTestCommands)};
    NewView* mView = nullptr;
    std::string mReached;
    std::string mUpdated;
    bool mRunningInside = false;
};
}  // namespace

TEST_F(CommandRoutingTest, EachCommandReachesTheFirstLevelThatHandlesIt)
{
    EXPECT_EQ(Run(kAllFour), "view");
    EXPECT_EQ(Run(kDocFrameApp), "document");
    EXPECT_EQ(Run(kFrameApp), "frame");
    EXPECT_EQ(Run(kAppOnly), "application");
    // A view that passes the command on hands it to the document.
    EXPECT_EQ(Run(kViewSkips), "document");
    EXPECT_TRUE(mRunningInside);
    EXPECT_FALSE(IsCommandRunning());
}

TEST_F(CommandRoutingTest, AnotherActiveViewTakesTheViewsCommands)
{
    NewView* other = Panes()[1];
    ASSERT_NE(other, mView);
    other->Activate(false);
    // The second pane has no handlers of its own: the document is next.
    EXPECT_EQ(Run(kAllFour), "document");
    mView->Activate(false);
    EXPECT_EQ(Run(kAllFour), "view");
}

TEST_F(CommandRoutingTest, UpdateEventsTakeTheSameRoad)
{
    bool enabled = false;
    EXPECT_EQ(Update(kAllFour, enabled), "view");
    EXPECT_EQ(Update(kDocFrameApp, enabled), "document");
    EXPECT_EQ(Update(kFrameApp, enabled), "frame");
    // A command the table declares without asking for its owner's update is simply enabled.
    enabled = false;
    EXPECT_EQ(Update(kAppOnly, enabled), "");
    EXPECT_TRUE(enabled);
}

TEST_F(CommandRoutingTest, TheTablesRuleComesBeforeTheOwner)
{
    // The active pane shows the model, not a net: both net commands are off and no owner is asked.
    ASSERT_EQ(Panes()[0], NewView::GetActiveView());
    ASSERT_EQ(Panes()[0]->GetViewType(), kViewTypePoly);
    bool enabled = true;
    EXPECT_EQ(Update(kNetsOnly, enabled), "");
    EXPECT_FALSE(enabled);
    EXPECT_EQ(Update(kNetsOwnerUpdates, enabled), "");
    EXPECT_FALSE(enabled);

    // On the net pane both are on; only the one that asks for it goes to its owner.
    Panes()[1]->Activate(false);
    EXPECT_EQ(Update(kNetsOnly, enabled), "");
    EXPECT_TRUE(enabled);
    EXPECT_EQ(Update(kNetsOwnerUpdates, enabled), "document");
    EXPECT_TRUE(enabled);
}
