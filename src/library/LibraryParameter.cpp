#include "library/LibraryParameter.h"

#include "kernel/IntMath.h"
#include "kernel/Prompt.h"
#include "library/LibraryEntry.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr int kParameterTextSize = 80;

struct ParameterText
{
    int n;
    int d;
};

// Clamped, so that a long run of digits is refused as too large rather than wrapped.
int ClampedInt(long value)
{
    return int(std::clamp<long>(value, INT_MIN, INT_MAX));
}

ParameterText ReadParameterText(const char* text)
{
    char* end = nullptr;
    ParameterText value{ClampedInt(std::strtol(text, &end, 10)), 1};
    while (*end == ' ')
        ++end;
    if (*end == '/')
        value.d = ClampedInt(std::strtol(end + 1, nullptr, 10));
    return value;
}
}

int PrismaticFaceCount(uint32_t kind, int n, int d)
{
    const int g = Gcd(n, d);
    int faces = n == 2 * d ? n : n + 2 * g;
    if (kind == LibraryEntry::kAntiprismFamily)
        faces += n;
    return faces;
}

bool PromptLibraryParameter(LibraryEntry* entry, const LibraryEntry* current, bool ask)
{
    if (!entry)
        return false;
    if (!(entry->mFlags & LibraryEntry::kParametricFamily))
        return true;
    char text[kParameterTextSize] = "5";
    if (current && (current->mFlags & LibraryEntry::kParametricFamily))
    {
        if (current->mPage1 > 1)
            std::snprintf(text, sizeof text, "%d/%d", current->mNumber, current->mPage1);
        else
            std::snprintf(text, sizeof text, "%d", current->mNumber);
    }
    for (;;)
    {
        if (ask && !PromptText("Enter a value for <<N>", text, kParameterTextSize))
            return false;
        // "n" or "n/d": the cuploids have star bases only (d even), so a whole number alone could never
        // make one.
        const ParameterText value = ReadParameterText(text);
        if (entry->SetParams(value.n, value.d, true))
            return true;
        if (!ask)
            return false;
    }
}
