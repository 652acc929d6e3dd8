#include "document/UpdateCheck.h"

#include "document/UpdateCheckSettings.h"
#include "kernel/Strings.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of the digits at p, 0 without any; p moves past them. Capped: a reply from the network
// may hold any run of digits.
long long ReadNumber(const char*& p)
{
    long long n = 0;
    for (; IsDigit(*p); ++p)
        if (n < LLONG_MAX / 10 - 10)
            n = n * 10 + (*p - '0');
    return n;
}

const char* SkipSpace(const char* p)
{
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

bool IsPreRelease(const char* rest)
{
    return ComparePrefixNoCase(rest, "alpha") == 0 || ComparePrefixNoCase(rest, "beta") == 0;
}
}  // namespace

bool IsNewerVersion(const char* known, const char* version)
{
    const char* k = known ? known : "";
    const char* v = version ? version : "";
    const long long kMajor = ReadNumber(k);
    const long long vMajor = ReadNumber(v);
    if (vMajor != kMajor)
        return vMajor < kMajor;
    if (*k != '.' || *v != '.')
        return std::strcmp(known ? known : "", version ? version : "") != 0;

    ++k;
    ++v;
    const long long kMinor = ReadNumber(k);
    const long long vMinor = ReadNumber(v);
    if (kMinor != vMinor)
        return kMinor > vMinor;
    if (*k == '.' || *v == '.')
    {
        if (*v != '.')
            return true;
        if (*k != '.')
            return false;
        ++k;
        ++v;
        const long long kThird = ReadNumber(k);
        const long long vThird = ReadNumber(v);
        if (kThird != vThird)
            return kThird > vThird;
    }

    k = SkipSpace(k);
    v = SkipSpace(v);
    const bool kPre = IsPreRelease(k);
    const bool vPre = IsPreRelease(v);
    // A final release is newer than its own pre-releases.
    if (kPre != vPre)
        return vPre;
    return CompareNatural(k, v) > 0;
}

bool IsNewerVersionKnown(const char* version)
{
    return IsNewerVersion(GetUpdateCheckSettings().latestKnownVersion.c_str(), version);
}
