#include "kernel/StatusText.h"

#include "kernel/UserServices.h"

#include <cstdarg>

void SetStatusText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(512, format, args);
    va_end(args);
    Services().SetStatusText(text);
}
