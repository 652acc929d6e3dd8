#include "kernel/Prompt.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/UserServices.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr char kNumberTitle[] = "Enter a real number or equation";

bool RunPrompt(const PromptRequest& request, std::string& text)
{
    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const bool ok = Services().Prompt(request, text);
    ResumeGLContextAfterModal(state);
    return ok;
}

// The longest start of text that fits into limit bytes without splitting a UTF-8 sequence.
size_t Utf8Cut(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

template <class Real>
bool PromptNumber(const char* prompt, Real& value, const char* title, const char* format)
{
    char start[64];
    std::snprintf(start, sizeof start, format, double(value));
    PromptRequest request;
    request.title = title ? title : kNumberTitle;
    request.prompt = prompt ? prompt : "";
    request.accept = [](const std::string& typed) { return IsValidExpression(typed.c_str(), true); };
    std::string text = start;
    if (!RunPrompt(request, text))
        return false;
    // The start text does not give back every value exactly; OK on it keeps the value as it was.
    if (text != start)
        value = Real(EvaluateNumber(text.c_str(), true));
    return true;
}
}  // namespace

bool PromptText(const char* prompt, char* buffer, int size, const char* title)
{
    if (!buffer || size <= 0)
    {
        InternalError("PromptText(): no buffer");
        return false;
    }
    PromptRequest request;
    request.title = title ? title : "Enter text";
    request.prompt = prompt ? prompt : "";
    request.maxLength = size - 1;
    std::string text(buffer, strnlen(buffer, size_t(size)));
    if (!RunPrompt(request, text))
        return false;
    const size_t n = Utf8Cut(text, size_t(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return true;
}

bool PromptString(const char* prompt, std::string& text, const char* title, int* position, int* size)
{
    PromptRequest request;
    request.title = title ? title : "Enter a string";
    request.prompt = prompt ? prompt : "";
    request.multiLine = true;
    request.rememberedPos = position;
    request.rememberedSize = size;
    std::string edited = text;
    if (!RunPrompt(request, edited))
        return false;
    text = std::move(edited);
    return true;
}

bool PromptReal(const char* prompt, double& value, const char* title)
{
    return PromptNumber(prompt, value, title, "%.15g");
}

bool PromptFloat(const char* prompt, float& value, const char* title)
{
    return PromptNumber(prompt, value, title, "%.7g");
}

bool PromptInteger(const char* prompt, int& value)
{
    GLContextSuspension state;
    SuspendGLContextForModal(state);
    int edited = value;
    const bool ok = Services().PromptInteger(prompt ? prompt : "", edited);
    ResumeGLContextAfterModal(state);
    if (ok)
        value = edited;
    return ok;
}

bool ReadWholeNumber(const std::string& text, int& value)
{
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t')
        ++start;
    // strtol would also take a leading blank after the sign, or hexadecimal with base 0: neither here.
    if (!((*start >= '0' && *start <= '9') ||
          ((*start == '-' || *start == '+') && start[1] >= '0' && start[1] <= '9')))
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(start, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    value = int(number);
    return true;
}
