#include "polytope4d/Polytope4DOptions.h"

namespace
{
bool gAutoGeneratePolychora = true;
int gCellHidingMode4D = kCellHidingFront;
}  // namespace

bool GetAutoGeneratePolychora()
{
    return gAutoGeneratePolychora;
}

void SetAutoGeneratePolychora(bool on)
{
    gAutoGeneratePolychora = on;
}

int GetCellHidingMode4D()
{
    return gCellHidingMode4D;
}

void SetCellHidingMode4D(int mode)
{
    if (mode >= kCellHidingNone && mode <= kCellHidingFront)
        gCellHidingMode4D = mode;
}

void ToggleCellHidingMode4D(int mode)
{
    SetCellHidingMode4D(GetCellHidingMode4D() == mode ? kCellHidingNone : mode);
}
