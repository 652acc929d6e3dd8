#include "kernel/ProgramClock.h"

#include <chrono>

namespace
{
using Clock = std::chrono::steady_clock;

struct ProgramClock
{
    Clock::time_point start = Clock::now();
    Clock::time_point base = start;
    double frozen = -1.0;
};

ProgramClock& TheClock()
{
    static ProgramClock clock;
    return clock;
}

// Starts the clock with the program, before main runs.
const bool kClockStarted = (TheClock(), true);
}  // namespace

void InitTimer()
{
    ProgramClock& clock = TheClock();
    clock.start = Clock::now();
    clock.base = clock.start;
}

void RestartClock()
{
    TheClock().base = Clock::now();
}

double GetElapsedSeconds(bool allowFrozen)
{
    const ProgramClock& clock = TheClock();
    if (allowFrozen && clock.frozen >= 0.0)
        return clock.frozen;
    return std::chrono::duration<double>(Clock::now() - clock.base).count();
}

double SetFrozenTime(double seconds)
{
    ProgramClock& clock = TheClock();
    const double previous = clock.frozen;
    clock.frozen = seconds >= 0.0 ? seconds : -1.0;
    return previous;
}
