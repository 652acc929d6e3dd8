#pragma once

#include <functional>

// GUI tests run inside one wx application started by WxTestMain (under Xvfb in the test runs). A
// fixture skips when there is no display. A failed wx assert fails the running test.
bool WxTestAppRunning();

// Handles pending window-system events until done() answers true, at most `rounds` rounds; true when
// done. For waiting on the window system (a window mapped, a first paint), never for timing.
bool PumpEventsUntil(const std::function<bool()>& done, int rounds = 2000);
