#include "operations/WatermanPoly.h"

#include "kernel/Progress.h"
#include "kernel/UndoKinds.h"
#include "kernel/UnitSettings.h"
#include "kernel/WaitCursor.h"
#include "model/CreatePoly.h"
#include "model/SimplePoly.h"
#include "model/WatermanHull.h"

#include <cstdio>
#include <memory>

namespace
{
int gRoot = 6;
int gCentre = kWatermanLatticePoint;

const char* CentreSuffix(int centre)
{
    switch (centre)
    {
    case kWatermanMidpoint:
        return ", type 2";
    case kWatermanSimpleCubic:
        return ", cubic";
    default:
        return "";
    }
}
}  // namespace

int GetWatermanRoot()
{
    return gRoot;
}

int GetWatermanCentre()
{
    return gCentre;
}

void GetWatermanNames(int centre, int root, char* name, char* dualName, int size)
{
    std::snprintf(name, size_t(size), "%s%d%s", "Waterman R", root, CentreSuffix(centre));
    std::snprintf(dualName, size_t(size), "%s%d%s", "Waterman dual R", root, CentreSuffix(centre));
}

bool CreateWatermanPoly(int centre, int root)
{
    gRoot = root;
    gCentre = centre;
    // Checked before the scale is touched, so that a refused root leaves everything as it was.
    if (root < kWatermanMinRoot || root > kWatermanMaxRoot || centre < kWatermanLatticePoint ||
        centre > kWatermanSimpleCubic)
        return false;

    ProgressScope progress;
    ScopedWaitCursor wait;
    GetUnitSettings().SetScale(1.0, false);
    std::unique_ptr<SimplePoly> hull = CreateWatermanHull(centre, root);
    if (!hull)
        return false;
    char name[64];
    char dualName[64];
    GetWatermanNames(centre, root, name, dualName, int(sizeof name));
    hull->SetName(name);
    hull->SetDualName(dualName);
    return SetModelFromSimplePoly(hull.get(), kUndoCreateWatermanPolyhedron, false, false);
}
