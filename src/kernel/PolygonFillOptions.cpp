#include "kernel/PolygonFillOptions.h"

PolygonFillOptions& GetPolygonFillOptions()
{
    static PolygonFillOptions options;
    return options;
}

uint32_t GetDiagramDrawFlags(bool cancel, bool nonOrientable)
{
    uint32_t flags = GetPolygonFillOptions().mFlags;
    if (flags & PolygonFillOptions::kAuto)
    {
        if (nonOrientable)
            flags |= PolygonFillOptions::kModulo2;
        else
            flags &= ~PolygonFillOptions::kModulo2;
    }
    if (cancel)
    {
        flags |= PolygonFillOptions::kCancel;
        if (nonOrientable)
            flags |= PolygonFillOptions::kModulo2;
    }
    return flags;
}

namespace
{
NonOrientableModelQuery gNonOrientableQuery = nullptr;
}

void SetNonOrientableModelQuery(NonOrientableModelQuery query)
{
    gNonOrientableQuery = query;
}

bool IsModulo2Filling()
{
    const bool nonOrientable = gNonOrientableQuery && gNonOrientableQuery();
    return (GetDiagramDrawFlags(false, nonOrientable) & PolygonFillOptions::kModulo2) != 0;
}
