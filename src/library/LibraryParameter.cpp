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
        std::snprintf(text, sizeof text, "%d", current->mNumber);
    for (;;)
    {
        if (ask && !PromptText("Enter a value for <<N>", text, kParameterTextSize))
            return false;
        // Clamped, so that a long run of digits is refused as too large rather than wrapped.
        const int value = int(std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX));
        if (entry->SetParams(value, 1, true))
            return true;
        if (!ask)
            return false;
    }
}
