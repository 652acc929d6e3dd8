#pragma once

#include "kernel/Messages.h"

// printf-style text into the first pane of the main window's status bar (cut to 512 bytes with
// "..." like a message).
void SetStatusText(const char* format, ...) ORVANE_PRINTF(1, 2);
