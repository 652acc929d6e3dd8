#include "kernel/DisplayOptions.h"

DisplayOptions& GetDisplayOptions()
{
    static DisplayOptions options;
    return options;
}

int GetMouseMode()
{
    return GetDisplayOptions().mouseMode;
}

int GetDiagnosticLabelFlags()
{
    return GetDisplayOptions().diagnosticLabelFlags;
}

bool DrawSpheresAtVerts()
{
    const DisplayOptions& o = GetDisplayOptions();
    return o.sphereSwitch && o.spheresAndCylinders;
}

bool DrawCylindersAtEdges()
{
    const DisplayOptions& o = GetDisplayOptions();
    return o.cylinderSwitch && o.spheresAndCylinders;
}
