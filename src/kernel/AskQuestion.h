#pragma once

#include "kernel/Messages.h"
#include "kernel/UserServices.h"

#include <cstdarg>
#include <initializer_list>

// Questions whose buttons the caller names at run time. Each label starts with its marks:
//   a layout mark: "," or "/" puts the button on a new row ("/" with a wider gap), "|" in a new
//   column (ignored on the first label);
//   then any run of: "+" the default button (Enter), "-" the cancel button (Escape, the close box),
//   "#" disabled, "<" text aligned left, "=" and one character that typing presses the button;
//   then the text.
// Flags are QuestionRequest::Flags: kHtml for a message in the small HTML subset, and one icon.

// Fills request.buttons, defaultIndex and cancelIndex from the labels. A disabled default passes the
// default on to the next label (past the last: no default).
void ParseQuestionLabels(const char* const* labels, int count, QuestionRequest& request);

// The index of the label that typing the character c chooses, -1 for none. A disabled label keeps its
// accelerator but does not answer to it: an empty memory slot keeps its digit and must not be picked.
int QuestionAcceleratorAnswer(const QuestionRequest& request, int c);

// Each answers the index of the label whose button ended the question (counting every label from 0):
// Enter gives the default index, Escape or the close box the cancel index (-1 without a "-" label).
// -1 too while another question is open. The message is a printf format filled from the arguments
// that follow it; a blank message shows neither message nor icon. The labels come before the format
// so that the format stays the last named parameter and the compiler checks its arguments.
int AskQuestion(int flags, const char* caption, std::initializer_list<const char*> labels, const char* format, ...)
    ORVANE_PRINTF(4, 5);
int AskQuestionList(int flags, const char* caption, int count, const char* const* labels, const char* format, ...)
    ORVANE_PRINTF(5, 6);
int AskQuestionV(int flags, const char* caption, int count, const char* const* labels, const char* format,
                 va_list args);
