#include "kernel/DiagramOwnerHooks.h"

namespace
{
DiagramModelHooks gHooks;
}

void SetDiagramModelHooks(const DiagramModelHooks& hooks)
{
    gHooks = hooks;
}

const DiagramModelHooks& GetDiagramModelHooks()
{
    return gHooks;
}
