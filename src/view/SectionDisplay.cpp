#include "view/SectionDisplay.h"

#include "model/ModelRecord.h"
#include "model/Poly.h"

void InvalidateModelCrossSection()
{
    if (Poly* poly = GetCurrentPoly())
        poly->InvalidateCrossSection();
}
