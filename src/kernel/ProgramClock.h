#pragma once

// Seconds since the program started, from a monotonic clock. Frame export freezes it at each
// frame's time so that animation renders deterministically.

void InitTimer();
// Measure from now on.
void RestartClock();
// The frozen time when one is set and allowed, else the running time. Animation passes true;
// code that measures real time passes false.
double GetElapsedSeconds(bool allowFrozen);
// A value >= 0 freezes the clock at it, a negative one lets it run; returns the previous value.
double SetFrozenTime(double seconds);
