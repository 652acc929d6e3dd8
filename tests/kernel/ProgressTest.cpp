#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
int64_t gNowMs = 0;
int64_t FakeClock()
{
    return gNowMs;
}

bool gContextHeld = false;
bool ContextHeld()
{
    return gContextHeld;
}

// Pausing takes ten seconds of the fake clock.
class PausingServices : public ScriptedServices
{
public:
    ProgressInput WaitProgressWindow() override
    {
        gNowMs += 10000;
        return ScriptedServices::WaitProgressWindow();
    }
};

class ProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gNowMs = 1000000;
        gContextHeld = false;
        mPreviousClock = SetProgressClock(FakeClock);
        mPreviousServices = SetServices(&mServices);
        SetGLContextHeldQuery(ContextHeld);
    }
    void TearDown() override
    {
        while (InProgress())
            EndProgress();
        SetGLContextHeldQuery(nullptr);
        SetServices(mPreviousServices);
        SetProgressClock(mPreviousClock);
    }

    const ProgressDisplay& LastDisplay() const { return mServices.progressUpdates.back(); }

    PausingServices mServices;
    ProgressClock mPreviousClock = nullptr;
    UserServices* mPreviousServices = nullptr;
};
}  // namespace

TEST_F(ProgressTest, NothingShowsWithinTheFirstSecond)
{
    BeginProgress();
    for (int i = 0; i < 10; ++i)
    {
        gNowMs += 99;
        EXPECT_TRUE(ShowProgress(i / 10.0, "Step %d", i));
    }
    EXPECT_EQ(mServices.progressOpened, 0);
    EXPECT_EQ(mServices.progressPumps, 0);  // before the window only the clock is read
    EndProgress();
    EXPECT_FALSE(InProgress());
    EXPECT_EQ(mServices.progressOpened, 0);
    EXPECT_EQ(mServices.progressClosed, 0);
}

TEST_F(ProgressTest, TheWindowOpensAfterASecondAndShowsTheOverallFraction)
{
    BeginProgress();
    gNowMs += 1000;
    ASSERT_TRUE(ShowProgress(0.25, "Created %d of %d faces", 1, 4));
    EXPECT_EQ(mServices.progressOpened, 1);
    EXPECT_TRUE(LastDisplay().setCaption);
    EXPECT_EQ(LastDisplay().caption, "Created 1 of 4 faces");
    EXPECT_EQ(LastDisplay().barPosition, int(0.25 * kProgressBarRange));
    EXPECT_EQ(LastDisplay().timeTaken, "Time Taken: " + Duration::FromMilliseconds(1000).Format());
    EXPECT_EQ(LastDisplay().timeRemaining, "Time Remaining: " + Duration::FromMilliseconds(3000).Format());

    // An inner operation reports 0..1 inside its caller's half.
    const ProgressRange saved = PushProgressRange(0.5, 1.0);
    BeginProgress();
    ASSERT_TRUE(ShowProgress(0.5));
    EXPECT_FALSE(LastDisplay().setCaption);  // the caption line stays
    EXPECT_EQ(LastDisplay().barPosition, int(0.75 * kProgressBarRange));
    const ProgressRange inner = PushProgressRange(0.0, 0.5);
    ASSERT_TRUE(ShowProgress(1.0));
    EXPECT_EQ(LastDisplay().barPosition, int(0.75 * kProgressBarRange));
    PopProgressRange(inner);
    EndProgress();
    EXPECT_EQ(mServices.progressClosed, 0);  // only the outermost level closes the window
    PopProgressRange(saved);

    // Fraction 0 still shows a sliver, 2 shows a full bar, NaN counts as 0.
    ASSERT_TRUE(ShowProgress(0.0));
    EXPECT_EQ(LastDisplay().barPosition, 1);
    ASSERT_TRUE(ShowProgress(2.0));
    EXPECT_EQ(LastDisplay().barPosition, kProgressBarRange);
    ASSERT_TRUE(ShowProgress(std::nan("")));
    EXPECT_EQ(LastDisplay().barPosition, 1);
    EXPECT_FALSE(LastDisplay().setTimeRemaining);  // no estimate from nothing done

    const size_t updates = mServices.progressUpdates.size();
    ASSERT_TRUE(ShowProgress(kProgressKeepAlive));
    EXPECT_EQ(mServices.progressUpdates.size(), updates);

    SetProgressShowRemaining(false);
    ASSERT_TRUE(ShowProgress(0.5));
    EXPECT_TRUE(LastDisplay().setTimeRemaining);
    EXPECT_EQ(LastDisplay().timeRemaining, "");
    EndProgress();
    EXPECT_EQ(mServices.progressOpened, 1);
    EXPECT_EQ(mServices.progressClosed, 1);

    // Show-remaining is on again for the next operation.
    BeginProgress();
    gNowMs += 2000;
    ASSERT_TRUE(ShowProgress(0.5));
    EXPECT_EQ(LastDisplay().timeRemaining, "Time Remaining: " + Duration::FromMilliseconds(2000).Format());
    EndProgress();
}

TEST_F(ProgressTest, NoWindowWhileAViewHoldsItsContext)
{
    BeginProgress();
    gNowMs += 5000;
    gContextHeld = true;
    EXPECT_TRUE(ShowProgress(0.5));
    EXPECT_EQ(mServices.progressOpened, 0);
    gContextHeld = false;
    EXPECT_TRUE(ShowProgress(0.5));
    EXPECT_EQ(mServices.progressOpened, 1);
    EndProgress();
}

TEST_F(ProgressTest, TooManyEndsAreReportedAndLeaveNoLevel)
{
    for (int i = 0; i < 3; ++i)
        BeginProgress();
    EXPECT_EQ(GetProgressLevel(), 3);
    for (int i = 0; i < 3; ++i)
        EndProgress();
    EXPECT_EQ(mServices.CountCalls("MessageBox"), 0);
    EndProgress();
    ASSERT_EQ(mServices.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mServices.LastCall()->caption, "Internal Error");
    EXPECT_EQ(mServices.LastCall()->text, "Too many calls to EndProgress()");
    EXPECT_EQ(GetProgressLevel(), 0);
    EXPECT_FALSE(ShowProgress(0.5));  // outside any level
}

TEST_F(ProgressTest, PausedTimeIsNotTaken)
{
    BeginProgress();
    gNowMs += 2000;
    ASSERT_TRUE(ShowProgress(0.1));
    mServices.pauseAtPump = mServices.progressPumps;  // the user presses Pause now
    gNowMs += 1000;
    ASSERT_TRUE(ShowProgress(0.2));  // ten seconds pass before Resume
    EXPECT_EQ(gNowMs, 1000000 + 2000 + 1000 + 10000);
    EXPECT_EQ(LastDisplay().timeTaken, "Time Taken: " + Duration::FromMilliseconds(3000).Format());
    EXPECT_EQ(GetProgressElapsed(), Duration::FromMilliseconds(3000));
    EXPECT_EQ(GetProgressTimeText(), Duration::FromMilliseconds(3000).Format());
    EndProgress();
}

TEST_F(ProgressTest, TimeAlreadySpentCounts)
{
    BeginProgress(Duration::FromMilliseconds(1500));
    EXPECT_EQ(GetProgressElapsed(), Duration::FromMilliseconds(1500));
    EXPECT_TRUE(ShowProgress(0.5));
    EXPECT_EQ(mServices.progressOpened, 1);  // already past the second
    EndProgress();
}

TEST_F(ProgressTest, ACancelClosesTheLevelThatSawIt)
{
    // An operation with explicit levels inside one with a scope.
    {
        ProgressScope outer;
        gNowMs += 2000;
        ASSERT_TRUE(ShowProgress(0.1));
        BeginProgress();
        mServices.cancelAtPump = mServices.progressPumps;
        EXPECT_FALSE(ShowProgress(0.2));  // the user pressed Cancel
        EXPECT_EQ(GetProgressLevel(), 1);
        EXPECT_EQ(mServices.progressClosed, 0);  // the window stays until the outermost level ends
        EndProgress();  // the inner operation's own end: nothing more to close
        EXPECT_EQ(GetProgressLevel(), 1);
        EXPECT_FALSE(ShowProgress(0.3));  // the outer level sees the cancel too
        EXPECT_EQ(GetProgressLevel(), 0);
        EXPECT_EQ(mServices.progressClosed, 1);
    }
    EXPECT_EQ(GetProgressLevel(), 0);
    EXPECT_EQ(mServices.CountCalls("MessageBox"), 0);  // no "Too many calls"

    // Explicit levels only: the outermost EndProgress after a cancel is quiet too.
    BeginProgress();
    gNowMs += 2000;
    mServices.cancelAtPump = mServices.progressPumps;
    EXPECT_FALSE(ShowProgress(0.5));
    EXPECT_EQ(GetProgressLevel(), 0);
    EndProgress();
    EXPECT_EQ(mServices.CountCalls("MessageBox"), 0);

    // A later, unrelated operation ends normally.
    BeginProgress();
    BeginProgress();
    EndProgress();
    EXPECT_EQ(GetProgressLevel(), 1);
    EndProgress();
    EXPECT_EQ(GetProgressLevel(), 0);
    EXPECT_EQ(mServices.CountCalls("MessageBox"), 0);
}

TEST_F(ProgressTest, AScopeClosedByACancelDoesNotCloseAgain)
{
    BeginProgress();  // a caller with an explicit level
    {
        ProgressScope scope;
        gNowMs += 2000;
        mServices.cancelAtPump = 0;
        EXPECT_FALSE(ShowProgress(0.5));
        EXPECT_EQ(GetProgressLevel(), 1);
    }
    EXPECT_EQ(GetProgressLevel(), 1);  // the caller's level is still open
    EndProgress();
    EXPECT_EQ(GetProgressLevel(), 0);
    EXPECT_EQ(mServices.CountCalls("MessageBox"), 0);
}
