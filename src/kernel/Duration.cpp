#include "kernel/Duration.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
int64_t RoundHalfAway(double x)
{
    return x >= 0.0 ? int64_t(x + 0.5) : int64_t(x - 0.5);
}

void AppendUnit(std::string& text, int64_t count, const char* unit)
{
    if (!text.empty())
        text += ", ";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%" PRId64 " %s%s", count, unit, count == 1 ? "" : "s");
    text += buf;
}
}  // namespace

Duration Duration::FromSeconds(double seconds)
{
    const double days = std::floor(seconds / 86400.0);
    return Duration(int64_t(days), RoundHalfAway((seconds - days * 86400.0) * 1000.0));
}

void Duration::Set(int64_t days, int64_t ms)
{
    mDays = days;
    mMs = ms;
    Normalise();
}

void Duration::Normalise()
{
    if (std::llabs(mMs) >= kMsPerDay)
    {
        mDays += mMs / kMsPerDay;  // C++ division truncates, so quotient and rest keep the sign of mMs
        mMs %= kMsPerDay;
    }
    if (mDays < 0 && mMs > 0)
    {
        mDays += 1;
        mMs -= kMsPerDay;
    }
    else if (mDays > 0 && mMs < 0)
    {
        mDays -= 1;
        mMs += kMsPerDay;
    }
}

Duration& Duration::operator+=(const Duration& other)
{
    Set(mDays + other.mDays, mMs + other.mMs);
    return *this;
}

Duration& Duration::operator-=(const Duration& other)
{
    Set(mDays - other.mDays, mMs - other.mMs);
    return *this;
}

Duration operator-(const Duration& a, const Duration& b)
{
    return Duration(a.mDays - b.mDays, a.mMs - b.mMs);
}

Duration operator+(const Duration& a, const Duration& b)
{
    return Duration(a.mDays + b.mDays, a.mMs + b.mMs);
}

Duration operator/(const Duration& span, double x)
{
    const double days = double(span.mDays) / x;
    const double wholeDays = std::trunc(days);
    const int64_t fromDaysMs = RoundHalfAway((days - wholeDays) * double(Duration::kMsPerDay));

    const double ms = double(span.mMs) / x;
    const double msDays = std::floor(ms / double(Duration::kMsPerDay));
    const int64_t restMs = RoundHalfAway(ms - msDays * double(Duration::kMsPerDay));

    return Duration(int64_t(wholeDays) + int64_t(msDays), fromDaysMs + restMs);
}

std::string Duration::Format() const
{
    const char* sign = IsNegative() ? "-" : "";
    const int64_t days = std::llabs(mDays);
    const int64_t ms = std::llabs(mMs);
    std::string text;

    const int64_t millis = ms % 1000;
    const int64_t seconds = (ms / 1000) % 60;
    const int64_t minutes = (ms / 60000) % 60;
    const int64_t hours = (ms / 3600000) % 24;

    // The year factor is the float nearest 1/365.25, kept as such so that 730 days read as
    // "1 year, 12 months".
    const int64_t years = int64_t(std::floor(double(days) * double(0.0027378509f)));
    const int64_t dayRest = days - int64_t(std::floor(double(years) * 365.25));
    const int64_t months = dayRest * 12 / 365;
    const int64_t daysShown = dayRest - months * 365 / 12;

    if (years / 1000 >= 2)
    {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%" PRId64 " millennia", years / 1000);
        return sign + std::string(buf);
    }

    if (years > 0)
        AppendUnit(text, years, "year");
    if (months > 0)
        AppendUnit(text, months, "month");
    if (years > 0)
        return sign + text;
    if (daysShown > 0)
        AppendUnit(text, daysShown, "day");
    if (months > 0)
        return sign + text;
    if (hours > 0)
        AppendUnit(text, hours, "hour");
    if (daysShown > 0)
        return sign + text;
    if (minutes > 0)
        AppendUnit(text, minutes, "minute");
    if (hours > 0)
        return sign + text;

    if (!text.empty())
        text += ", ";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f seconds", double(seconds) + double(millis) * 0.001);
    return sign + text + buf;
}
