#pragma once

class wxEvtHandler;

// The Esc key and the Options commands of mouse inertia, handled for the whole main window.
void BindEscapeCommands(wxEvtHandler* frame);

// Esc acts on the first thing of its list that applies: a running transition is finished, then
// the motions after mouse drags stop, then a mouse selection mode returns to selecting, then full
// screen ends, then stereo display. True when something was done.
bool RunEscapeKey();

// Finishes every running transition; true when one was running. The transitions install it.
using FinishTransitionsHook = bool (*)();
FinishTransitionsHook SetFinishTransitionsHook(FinishTransitionsHook hook);
