#pragma once

// The user-interface thread, recorded once at start-up. Rendering contexts and dialogs are
// touched only from it.
void RecordUiThread();
bool IsUiThread();
