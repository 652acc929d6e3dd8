#include "kernel/SphereOptions.h"

SphereOptions& GetSphereOptions()
{
    static SphereOptions options;
    return options;
}
