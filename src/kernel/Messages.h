#pragma once

#include <cstdint>
#include <cstdarg>
#include <string>

// The printf-style message boxes every feature uses to tell the user something, and the trace hook.
// Texts are cut to 512 bytes (information boxes 800) and then end in "...".

#define ORVANE_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

// Each returns the id of the button pressed (kIdOk, ...).
int ErrorMessage(const char* format, ...) ORVANE_PRINTF(1, 2);
int InternalError(const char* format, ...) ORVANE_PRINTF(1, 2);
int WarningMessage(const char* format, ...) ORVANE_PRINTF(1, 2);
int InfoMessage(const char* format, ...) ORVANE_PRINTF(1, 2);

// True for Yes / OK.
bool AskYesNo(const char* format, ...) ORVANE_PRINTF(1, 2);
bool AskOkCancel(const char* format, ...) ORVANE_PRINTF(1, 2);

// A box of the caller's type (kMbYesNoCancel | kMbIconQuestion, ...), captioned by its icon:
// "Warning" for the exclamation icon, "Error" for the stop icon, "Question" otherwise.
int ShowMessage(unsigned type, const char* format, ...) ORVANE_PRINTF(2, 3);

// An error box with the caller's text and the system's text for errno as read on entry.
void ReportLastError(const char* format, ...) ORVANE_PRINTF(1, 2);

// A message the user may silence. kind is one bit; options are kOptStopIcon... and kOptOncePerRun.
void ShowOptionalMessage(uint32_t kind, int options, const char* format, ...) ORVANE_PRINTF(3, 4);

// Kinds of optional message.
inline constexpr uint32_t kOptionalMsgLowColorDepth = 1;
inline constexpr uint32_t kOptionalMsg256Colors = 2;

// The kinds of optional message still allowed: for this run, and the stored setting "ShowMessages".
uint32_t& OptionalMessageRunMask();
uint32_t& ShowMessagesSetting();

// Shows one modal box, releasing the view's rendering context around it.
int DoMessageBox(const std::string& text, const char* caption, unsigned type);
// How many boxes have been shown: an operation compares it before and after a step to learn whether
// the step already told the user why it failed.
int GetMessageBoxCount();

// Formats into a buffer of bufferSize bytes: a text that does not fit is cut and ends in "...".
std::string FormatMessageText(size_t bufferSize, const char* format, va_list args);

// The rendering layer installs these so that a modal box never runs while a view holds its GL
// context: suspend releases every nesting level and remembers them, resume takes them again.
struct GLContextSuspension
{
    void* view = nullptr;
    int depth = 0;
};
using SuspendGLContextHook = void (*)(GLContextSuspension& state, bool redraw);
using ResumeGLContextHook = void (*)(const GLContextSuspension& state, bool redraw);
void SetGLContextHooks(SuspendGLContextHook suspend, ResumeGLContextHook resume);
void SuspendGLContextForModal(GLContextSuspension& state);
void ResumeGLContextAfterModal(const GLContextSuspension& state);

// The rendering layer also answers whether a view holds its GL context on this thread: no progress
// window may open then, since its paint would need the context. Without an answer: false.
using GLContextHeldQuery = bool (*)();
void SetGLContextHeldQuery(GLContextHeldQuery query);
bool IsGLContextHeld();

// The trace hook: labels of operations and their steps. It does nothing unless a sink is installed
// (diagnostic runs, tests); nothing may depend on it.
void DebugTrace(const char* format, ...) ORVANE_PRINTF(1, 2);
using TraceSink = void (*)(const char* text);
TraceSink SetTraceSink(TraceSink sink);

// Traces an operation's entry and, on every way out, its last step and its exit.
class TraceScope
{
public:
    explicit TraceScope(const char* label);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

    void SetStep(const char* step) { mStep = step; }

private:
    const char* mLabel;
    const char* mStep = nullptr;
};

// Traces once at construction and once when ended, early or at destruction.
class TraceGuard
{
public:
    explicit TraceGuard(const char* label);
    ~TraceGuard() { End(); }
    TraceGuard(const TraceGuard&) = delete;
    TraceGuard& operator=(const TraceGuard&) = delete;

    void End();

private:
    const char* mLabel;
    bool mActive;
};
