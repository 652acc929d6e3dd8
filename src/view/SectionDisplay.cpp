#include "view/SectionDisplay.h"

#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"

void InvalidateModelCrossSection()
{
    if (Poly* poly = GetCurrentPoly())
    {
        delete poly->mSectionPolygons;
        poly->mSectionPolygons = nullptr;
    }
}
