// Help > Check for Software Updates Now... and the check at start, against a server on 127.0.0.1
// with canned replies: what the user is told, what is remembered, and that nothing waits.

#include "MainFrameFixture.h"

#include "document/PolyApp.h"
#include "document/UpdateCheckSettings.h"
#include "document/UpdateCheckWorker.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "support/LocalHttpServer.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
class UpdateCheckTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetUpdateCheckSettings();
        // The server's address comes from the setting here, not from the environment.
        unsetenv("ORVANE_UPDATE_SITE");
        UpdateCheckSettings& settings = GetUpdateCheckSettings();
        settings.siteAddress = mServer.Address();
        settings.latestKnownVersion.clear();
        settings.lastCheckDay = -1;
        mServices.services.Clear();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            mServer.Release();
            GetHttpWorker().Stop();
            GetHttpWorker().TakeResult();
            GetHttpWorker().DeleteReplyFile();
            GetUpdateCheckSettings() = mSaved;
        }
        MainFrameFixture::TearDown();
    }

    // Idle steps until no check is running or waiting to be told.
    void FinishChecks()
    {
        PumpEventsUntil([] {
            CPolyApp::IdleStep(-1.0);
            return GetHttpWorker().GetState() == HttpWorker::kIdle;
        });
    }

    std::vector<ScriptedServices::Call> Shown() const
    {
        std::vector<ScriptedServices::Call> shown;
        for (const auto& call : mServices.services.calls)
            if (call.kind == "Question" || call.kind == "MessageBox")
                shown.push_back(call);
        return shown;
    }

    static std::string Lines(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += "<li>Change " + std::to_string(i) + "\n";
        return text;
    }

    LocalHttpServer mServer;
    ScopedScriptedServices mServices;
    UpdateCheckSettings mSaved;
};

TEST_F(UpdateCheckTest, ANewerVersionIsReportedWithTwentyChangesAndTheMenuPath)
{
    mServer.Push(200, "5.5\n<ul>\n" + Lines(24));
    RunCommand(kCmdCheckForUpdates);
    FinishChecks();
    ASSERT_EQ(Shown().size(), 1u);
    const ScriptedServices::Call report = Shown()[0];
    EXPECT_EQ(report.kind, "Question");
    EXPECT_EQ(report.caption, "New version available");
    const std::string& text = report.text;
    EXPECT_NE(text.find("A new version of OrvaneMax is available!"), std::string::npos);
    EXPECT_NE(text.find("<b>Current version:</b> 5.4"), std::string::npos);
    EXPECT_NE(text.find("<b>New version:</b> 5.5"), std::string::npos);
    // "<ul>" and nineteen changes make the twenty lines; the rest is cut.
    EXPECT_NE(text.find("<li>Change 19\n<li>...\n</ul>"), std::string::npos);
    EXPECT_EQ(text.find("Change 20"), std::string::npos);
    EXPECT_NE(text.find(mServer.Address() + "/History.php"), std::string::npos);
    EXPECT_NE(text.find(mServer.Address() + "/Downloads.php"), std::string::npos);
    EXPECT_NE(text.find("Help->Check for Software Updates Now"), std::string::npos);
    EXPECT_EQ(GetUpdateCheckSettings().latestKnownVersion, "5.5");
    EXPECT_NE(GetUpdateCheckSettings().lastCheckDay, -1);
    EXPECT_EQ(mServer.Requests(), std::vector<std::string>{"/LatestOrvane.php?oldVer=5.4"});
}

TEST_F(UpdateCheckTest, EachReplyGivesItsOwnAnswer)
{
    const struct
    {
        int status;
        const char* reply;
        const char* caption;  // null: nothing shown
        const char* text;     // found in what is shown
        bool dayStored;
    } cases[] = {
        {200, "5.4\n", "No new version available", "<b>You already have the latest version.</b>", true},
        {200, "6.0 Beta 2\n<ul><li>Big</ul>\n", "New version available",
         "A major new release of OrvaneMax is now available!", true},
        {200, "Die\n", nullptr, nullptr, false},
        {404, "gone", "", "Checking for latest version failed.\n\nCouldn't find file on server (status 404).", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.reply);
        mServices.services.Clear();
        GetUpdateCheckSettings().lastCheckDay = -1;
        GetUpdateCheckSettings().latestKnownVersion.clear();
        mServer.Push(c.status, c.reply);
        CheckForUpdatesNow();
        FinishChecks();
        const auto shown = Shown();
        if (!c.caption)
        {
            EXPECT_TRUE(shown.empty());
        }
        else
        {
            ASSERT_EQ(shown.size(), 1u);
            if (*c.caption)
            {
                EXPECT_EQ(shown[0].caption, c.caption);
            }
            EXPECT_NE(shown[0].text.find(c.text), std::string::npos) << shown[0].text;
        }
        EXPECT_EQ(GetUpdateCheckSettings().lastCheckDay != -1, c.dayStored);
    }
}

TEST_F(UpdateCheckTest, AReplyThatIsNoVersionIsAskedForTwiceMore)
{
    for (int i = 0; i < 3; ++i)
        mServer.Push(200, "oops\n");
    CheckForUpdatesNow();
    FinishChecks();
    EXPECT_EQ(mServer.Requests().size(), 3u);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "Checking for latest version failed.\nPlease try again.");
    EXPECT_EQ(GetUpdateCheckSettings().lastCheckDay, -1);
}

TEST_F(UpdateCheckTest, AServerThatIsNotThereIsToldOnlyWhenAsked)
{
    GetUpdateCheckSettings().siteAddress = "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort());
    AutoUpdateCheck(UpdateCheckPageAddress("LatestOrvane.php"), "OrvaneMax", nullptr, "5.4");
    FinishChecks();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(GetUpdateCheckSettings().lastCheckDay, -1);

    CheckForUpdatesNow();
    FinishChecks();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text.rfind("Checking for latest version failed.\n\ncurl_easy_perform: ", 0), 0u)
        << Shown()[0].text;

    // Without an address there is no check at start, and asking fails at once.
    mServices.services.Clear();
    GetUpdateCheckSettings().siteAddress.clear();
    AutoUpdateCheck(UpdateCheckPageAddress("LatestOrvane.php"), "OrvaneMax", nullptr, "5.4");
    EXPECT_EQ(GetHttpWorker().GetState(), HttpWorker::kIdle);
    CheckForUpdatesNow();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "Checking for latest version failed.");
}

TEST_F(UpdateCheckTest, StartUpAsksAtMostOnceADayAfterASuccess)
{
    const std::string page = UpdateCheckPageAddress("LatestOrvane.php");
    mServer.Push(404, "");
    AutoUpdateCheck(page, "OrvaneMax", nullptr, "5.4");
    FinishChecks();
    // A failed check stores no day, so the next start asks again.
    mServer.Push(200, "5.4\n");
    AutoUpdateCheck(page, "OrvaneMax", nullptr, "5.4");
    FinishChecks();
    EXPECT_EQ(mServer.Requests().size(), 2u);
    EXPECT_EQ(GetUpdateCheckSettings().lastCheckDay, GetDayNumber());
    AutoUpdateCheck(page, "OrvaneMax", nullptr, "5.4");
    FinishChecks();
    EXPECT_EQ(mServer.Requests().size(), 2u);
    // An automatic check meeting the version it knows tells nothing.
    EXPECT_TRUE(Shown().empty());
}

TEST_F(UpdateCheckTest, TheProgramRunsOnWhileTheServerThinks)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
    mServer.Hold();
    mServer.Push(200, "5.4\n");
    AutoUpdateCheck(UpdateCheckPageAddress("LatestOrvane.php"), "OrvaneMax", nullptr, "5.4");
    ASSERT_TRUE(PumpEventsUntil([this] { return mServer.Requests().size() == 1u; }));

    // A manual request takes the automatic one over; a second one is refused.
    CheckForUpdatesNow();
    EXPECT_TRUE(Shown().empty());
    CheckForUpdatesNow();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "The program is already busy looking for updates.");
    mServices.services.Clear();

    // Idle steps and commands go on while the reply is held.
    for (int i = 0; i < 5; ++i)
        CPolyApp::IdleStep(-1.0);
    RunCommand(kCmdNextPolyhedron);
    EXPECT_STRNE(mDocument->GetCurrentRecord()->mPoly.mLibraryEntry->mName, "Cube");
    EXPECT_EQ(GetHttpWorker().GetState(), HttpWorker::kRunning);
    EXPECT_TRUE(Shown().empty());

    mServer.Release();
    FinishChecks();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].caption, "No new version available");
}

}  // namespace
