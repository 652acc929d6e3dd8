#pragma once

#include "kernel/Duration.h"
#include "kernel/Messages.h"

#include <cstdint>
#include <string>

// The progress of a long operation on the user-interface thread. An operation opens a level with
// BeginProgress (or a ProgressScope), reports with ShowProgress and closes its level with
// EndProgress. Levels nest: an inner operation reports 0..1 and its caller maps that into its own
// share with PushProgressRange. The "Processing..." window opens only once the operation has run for
// a second (never while a view holds its GL context); then each ShowProgress handles the window's
// input (Pause, Cancel) and drops input to every other window. After a cancel ShowProgress answers
// false, having closed the level that saw it; the EndProgress that matches such a level does nothing.

// A fraction that only keeps the window responsive: nothing is displayed.
inline constexpr double kProgressKeepAlive = -99.9;

// alreadySpent counts as time taken before the outermost level opened.
void BeginProgress(const Duration& alreadySpent = Duration());
// False when the user cancelled and when no level is open.
bool ShowProgress(double fraction);
bool ShowProgress(double fraction, const char* format, ...) ORVANE_PRINTF(2, 3);
void EndProgress();
bool InProgress();
int GetProgressLevel();

struct ProgressRange
{
    double lo = 0.0;
    double hi = 1.0;
};
// Narrows the current range to [lo + (hi - lo) a, lo + (hi - lo) b]; returns the range it replaced.
ProgressRange PushProgressRange(double a, double b);
void PopProgressRange(const ProgressRange& saved);

// Off for searches whose end cannot be estimated; on again after every outermost EndProgress.
void SetProgressShowRemaining(bool on);
// Since the outermost BeginProgress, pauses excluded.
Duration GetProgressElapsed();
// The elapsed time in words, for reports such as "Took %s.".
std::string GetProgressTimeText();

// Opens a level for its lifetime. Its end closes the level unless a cancel already did.
class ProgressScope
{
public:
    explicit ProgressScope(const Duration& alreadySpent = Duration());
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    int mLevel;
};

// The clock progress measures with: milliseconds of a monotonic wall clock, so that waiting (for
// the disk, for the user) counts. Tests install their own; null restores the steady clock.
using ProgressClock = int64_t (*)();
ProgressClock SetProgressClock(ProgressClock clock);
