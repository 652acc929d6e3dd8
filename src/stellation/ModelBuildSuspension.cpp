#include "stellation/ModelBuildSuspension.h"

namespace
{
bool gModelBuildSuspended = false;
}

bool IsModelBuildSuspended()
{
    return gModelBuildSuspended;
}

void SetModelBuildSuspended(bool on)
{
    gModelBuildSuspended = on;
}
