#include "polytope4d/Polytope4DOptions.h"

namespace
{
bool gAutoGeneratePolychora = true;
}

bool GetAutoGeneratePolychora()
{
    return gAutoGeneratePolychora;
}

void SetAutoGeneratePolychora(bool on)
{
    gAutoGeneratePolychora = on;
}
