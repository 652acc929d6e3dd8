#include "kernel/ReadFraction.h"

#include "kernel/Strings.h"

#include <climits>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits at p into value; false on overflow.
bool ReadNumber(const char*& p, int& value)
{
    long long n = 0;
    for (; IsDigit(*p); ++p)
    {
        n = n * 10 + (*p - '0');
        if (n > INT_MAX)
            return false;
    }
    value = int(n);
    return true;
}
}  // namespace

bool ReadFraction(const char*& cursor, int& numerator, int& denominator)
{
    if (!cursor)
        return false;
    const char* p = cursor;
    while (IsSpaceAscii(*p))
        ++p;
    if (!IsDigit(*p))
        return false;
    int n = 0;
    int d = 1;
    if (!ReadNumber(p, n))
        return false;
    if (*p == '/' && IsDigit(p[1]))
    {
        ++p;
        // A zero denominator would reach every caller as a division by zero.
        if (!ReadNumber(p, d) || d == 0)
            return false;
    }
    while (IsSpaceAscii(*p))
        ++p;
    numerator = n;
    denominator = d;
    cursor = p;
    return true;
}
