#include "kernel/Progress.h"

#include "kernel/UserServices.h"

#include <chrono>
#include <cmath>
#include <cstdarg>
#include <vector>

namespace
{
constexpr int64_t kWindowDelayMs = 1000;

int64_t SteadyClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct ProgressState
{
    int level = 0;
    int64_t startMs = 0;
    ProgressRange range;
    int64_t pauseMs = 0;  // the length of the last pause
    bool windowShown = false;
    bool showRemaining = true;
    // Levels closed by a cancel whose own EndProgress is still to come, innermost last.
    std::vector<int> closedByCancel;
    ProgressClock clock = nullptr;
};

ProgressState gProgress;

int64_t NowMs()
{
    return gProgress.clock ? gProgress.clock() : SteadyClockMs();
}

int64_t TotalMs(const Duration& d)
{
    return d.Days() * Duration::kMsPerDay + d.Milliseconds();
}

void CloseLevel()
{
    ProgressState& p = gProgress;
    if (--p.level > 0)
        return;
    if (p.level < 0)
    {
        p.level = 0;
        InternalError("Too many calls to EndProgress()");
    }
    if (p.windowShown)
    {
        p.windowShown = false;
        Services().CloseProgressWindow();
    }
    p.showRemaining = true;
    p.closedByCancel.clear();
}

void DropCancelRecordsFrom(int level)
{
    std::vector<int>& records = gProgress.closedByCancel;
    while (!records.empty() && records.back() >= level)
        records.pop_back();
}

bool ShowProgressText(double x, const std::string* caption)
{
    ProgressState& p = gProgress;
    p.pauseMs = 0;
    if (p.level < 1)
        return false;
    if (!p.windowShown)
    {
        // Before the window opens only the clock is read, so callers may report often.
        if (NowMs() - p.startMs < kWindowDelayMs || IsGLContextHeld())
            return true;
        Services().OpenProgressWindow();
        p.windowShown = true;
    }

    ProgressInput input = Services().PumpProgressWindow();
    if (input.paused && !input.cancelled)
    {
        const int64_t pausedAt = NowMs();
        while (input.paused && !input.cancelled)
            input = Services().WaitProgressWindow();
        p.pauseMs = NowMs() - pausedAt;
        p.startMs += p.pauseMs;
    }
    if (input.cancelled)
    {
        const int closing = p.level;
        CloseLevel();
        p.closedByCancel.push_back(closing);
        return false;
    }
    if (x == kProgressKeepAlive)
        return true;
    if (!(x >= 0.0))
        x = 0.0;  // NaN too
    else if (x > 1.0)
        x = 1.0;

    ProgressDisplay display;
    if (caption)
    {
        display.setCaption = true;
        display.caption = *caption;
    }
    const Duration elapsed = GetProgressElapsed();
    display.timeTaken = "Time Taken: " + elapsed.Format();
    const double f = p.range.lo + (p.range.hi - p.range.lo) * x;
    if (!p.showRemaining)
        display.timeRemaining.clear();
    else if (f > 1e-30)
    {
        const Duration total = elapsed / f;
        display.timeRemaining = "Time Remaining: " + (total - elapsed).Format();
    }
    else
        display.setTimeRemaining = false;
    int position = int(f * kProgressBarRange);
    display.barPosition = position == 0 ? 1 : position;
    Services().UpdateProgressWindow(display);
    return true;
}
}  // namespace

void BeginProgress(const Duration& alreadySpent)
{
    ProgressState& p = gProgress;
    ++p.level;
    // A level opened now has no cancel pending, whatever an earlier one at its depth left.
    DropCancelRecordsFrom(p.level);
    if (p.level != 1)
        return;
    p.startMs = NowMs() - TotalMs(alreadySpent);
    p.range = ProgressRange();
    p.pauseMs = 0;
    ShowProgressText(0.0, nullptr);
}

bool ShowProgress(double fraction)
{
    return ShowProgressText(fraction, nullptr);
}

bool ShowProgress(double fraction, const char* format, ...)
{
    if (!format)
        return ShowProgressText(fraction, nullptr);
    va_list args;
    va_start(args, format);
    const std::string caption = FormatMessageText(512, format, args);
    va_end(args);
    return ShowProgressText(fraction, &caption);
}

void EndProgress()
{
    ProgressState& p = gProgress;
    if (!p.closedByCancel.empty() && p.closedByCancel.back() == p.level + 1)
    {
        p.closedByCancel.pop_back();
        return;
    }
    CloseLevel();
}

bool InProgress()
{
    return gProgress.level > 0;
}

int GetProgressLevel()
{
    return gProgress.level;
}

ProgressRange PushProgressRange(double a, double b)
{
    ProgressRange& r = gProgress.range;
    const ProgressRange saved = r;
    r.lo = saved.lo + (saved.hi - saved.lo) * a;
    r.hi = saved.lo + (saved.hi - saved.lo) * b;
    return saved;
}

void PopProgressRange(const ProgressRange& saved)
{
    gProgress.range = saved;
}

void SetProgressShowRemaining(bool on)
{
    gProgress.showRemaining = on;
}

Duration GetProgressElapsed()
{
    return Duration::FromMilliseconds(NowMs() - gProgress.startMs);
}

std::string GetProgressTimeText()
{
    return GetProgressElapsed().Format();
}

ProgressScope::ProgressScope(const Duration& alreadySpent)
{
    BeginProgress(alreadySpent);
    mLevel = gProgress.level;
}

ProgressScope::~ProgressScope()
{
    if (gProgress.level >= mLevel)
        EndProgress();
    else
        DropCancelRecordsFrom(mLevel);
}

ProgressClock SetProgressClock(ProgressClock clock)
{
    const ProgressClock previous = gProgress.clock;
    gProgress.clock = clock;
    return previous;
}
