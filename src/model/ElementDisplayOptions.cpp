#include "model/ElementDisplayOptions.h"

ElementDisplayOptions& GetElementDisplayOptions()
{
    static ElementDisplayOptions options;
    return options;
}

namespace
{
constexpr int kDiagnosticGroups[] = {kDiagnosticRegionGroup, kDiagnosticDiagramVertexGroup, kDiagnosticFaceletGroup};
}  // namespace

int ToggleDiagnosticBits(int mask, int bits)
{
    for (const int group : kDiagnosticGroups)
        if (bits & group)
            return (mask & ~group) | ((mask & bits) ? 0 : bits);
    return (mask & bits) == bits ? mask & ~bits : mask | bits;
}
