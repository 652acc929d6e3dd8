#include "kernel/Messages.h"

#include "kernel/UiThread.h"
#include "kernel/UserServices.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
constexpr size_t kMessageBufferSize = 512;
constexpr size_t kInfoBufferSize = 800;

SuspendGLContextHook gSuspendHook = nullptr;
ResumeGLContextHook gResumeHook = nullptr;
GLContextHeldQuery gHeldQuery = nullptr;
TraceSink gTraceSink = nullptr;
int gMessageBoxCount = 0;

int ShowFormatted(const char* caption, unsigned type, const char* traceFormat, size_t size, const char* format,
                  va_list args)
{
    const std::string text = FormatMessageText(size, format, args);
    if (traceFormat)
        DebugTrace(traceFormat, text.c_str());
    return DoMessageBox(text, caption, type);
}
}  // namespace

std::string FormatMessageText(size_t bufferSize, const char* format, va_list args)
{
    std::vector<char> buffer(bufferSize);
    const int needed = std::vsnprintf(buffer.data(), bufferSize, format, args);
    if (needed < 0)
        return std::string();
    if (size_t(needed) >= bufferSize)
        std::memcpy(buffer.data() + bufferSize - 4, "...", 4);
    return std::string(buffer.data());
}

uint32_t& OptionalMessageRunMask()
{
    static uint32_t mask = 0xFFFFFFFFu;
    return mask;
}

uint32_t& ShowMessagesSetting()
{
    static uint32_t mask = 0xFFFFFFFFu;
    return mask;
}

void SetGLContextHooks(SuspendGLContextHook suspend, ResumeGLContextHook resume)
{
    gSuspendHook = suspend;
    gResumeHook = resume;
}

void SuspendGLContextForModal(GLContextSuspension& state)
{
    state = GLContextSuspension();
    if (gSuspendHook && IsUiThread())
        gSuspendHook(state, true);
}

void ResumeGLContextAfterModal(const GLContextSuspension& state)
{
    if (gResumeHook && IsUiThread())
        gResumeHook(state, true);
}

void SetGLContextHeldQuery(GLContextHeldQuery query)
{
    gHeldQuery = query;
}

bool IsGLContextHeld()
{
    return gHeldQuery && gHeldQuery();
}

int DoMessageBox(const std::string& text, const char* caption, unsigned type)
{
    ++gMessageBoxCount;
    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const int result = Services().MessageBox(text, caption, type);
    ResumeGLContextAfterModal(state);
    return result;
}

int GetMessageBoxCount()
{
    return gMessageBoxCount;
}

int ErrorMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = ShowFormatted("Error", kMbOk | kMbIconStop, "ERROR: %s\n", kMessageBufferSize, format, args);
    va_end(args);
    return result;
}

int InternalError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result =
        ShowFormatted("Internal Error", kMbOk | kMbIconStop, "ERROR: %s\n", kMessageBufferSize, format, args);
    va_end(args);
    return result;
}

int WarningMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result =
        ShowFormatted("Warning", kMbOk | kMbIconExclamation, "WARNING: %s\n", kMessageBufferSize, format, args);
    va_end(args);
    return result;
}

int InfoMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = ShowFormatted("Information", kMbOk | kMbIconInformation, nullptr, kInfoBufferSize, format, args);
    va_end(args);
    return result;
}

bool AskYesNo(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = ShowFormatted("Question", kMbYesNo | kMbIconQuestion, nullptr, kMessageBufferSize, format, args);
    va_end(args);
    return result == kIdYes;
}

bool AskOkCancel(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result =
        ShowFormatted("Question", kMbOkCancel | kMbIconQuestion, nullptr, kMessageBufferSize, format, args);
    va_end(args);
    return result == kIdOk;
}

int ShowMessage(unsigned type, const char* format, ...)
{
    const unsigned icon = type & kMbIconMask;
    const char* caption = icon == kMbIconExclamation ? "Warning" : icon == kMbIconStop ? "Error" : "Question";
    va_list args;
    va_start(args, format);
    const int result = ShowFormatted(caption, type, nullptr, kMessageBufferSize, format, args);
    va_end(args);
    return result;
}

void ReportLastError(const char* format, ...)
{
    // Read first: formatting may touch errno.
    const int code = errno;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(kMessageBufferSize, format, args);
    va_end(args);

    char systemText[256] = "";
    const char* message = code != 0 ? strerror_r(code, systemText, sizeof systemText) : nullptr;
    if (message && *message && std::strncmp(message, "Unknown error", 13) != 0)
        ErrorMessage("%s: %s", text.c_str(), message);
    else
        ErrorMessage("%s: Failed with error code %d", text.c_str(), code);
}

void ShowOptionalMessage(uint32_t kind, int options, const char* format, ...)
{
    uint32_t& runMask = OptionalMessageRunMask();
    uint32_t& stored = ShowMessagesSetting();
    if (!(runMask & kind) || !(stored & kind))
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(kMessageBufferSize, format, args);
    va_end(args);

    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const bool ticked = Services().OptionalMessage(text, options);
    ResumeGLContextAfterModal(state);

    if (options & kOptOncePerRun)
    {
        runMask &= ~kind;
        if (!ticked)
            stored &= ~kind;
    }
    else if (!ticked)
        runMask &= ~kind;
}

TraceSink SetTraceSink(TraceSink sink)
{
    const TraceSink previous = gTraceSink;
    gTraceSink = sink;
    return previous;
}

void DebugTrace(const char* format, ...)
{
    if (!gTraceSink)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(1024, format, args);
    va_end(args);
    gTraceSink(text.c_str());
}

TraceScope::TraceScope(const char* label) : mLabel(label)
{
    DebugTrace("%s\n", mLabel);
}

TraceScope::~TraceScope()
{
    if (mStep)
        DebugTrace("%s\n", mStep);
    DebugTrace("%s done\n", mLabel);
}

TraceGuard::TraceGuard(const char* label) : mLabel(label), mActive(true)
{
    DebugTrace("%s\n", mLabel);
}

void TraceGuard::End()
{
    if (!mActive)
        return;
    DebugTrace("%s done\n", mLabel);
    mActive = false;
}
