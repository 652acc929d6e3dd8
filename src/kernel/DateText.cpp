#include "kernel/DateText.h"

#include <ctime>
#include <cstdlib>

namespace
{
std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm;
}

std::string Strftime(const char* format, const std::tm& tm)
{
    char buf[80];
    const size_t n = std::strftime(buf, sizeof buf, format, &tm);
    return std::string(buf, n);
}
}  // namespace

const char* OrdinalSuffix(int n)
{
    n = std::abs(n);
    if ((n / 10) % 10 == 1)
        return "th";
    switch (n % 10)
    {
    case 1:
        return "st";
    case 2:
        return "nd";
    case 3:
        return "rd";
    default:
        return "th";
    }
}

std::string FormatDate(bool longForm)
{
    const std::tm tm = LocalNow();
    if (!longForm)
        return Strftime("%d/%m/%y", tm);
    // The day without a leading zero; strftime has no portable flag for that.
    return std::to_string(tm.tm_mday) + Strftime(" %B %Y", tm);
}

std::string FormatTimeAndDate()
{
    return Strftime("%X", LocalNow()) + ", " + FormatDate(true);
}
