#include "stellation/FacetingSettings.h"

const ioEnumEntry kFacetingCriterionNames[] = {{kFacetingIsohedral, "Isohedral"},
                                               {kFacetingDualTidy, "DualTidy"},
                                               {kFacetingTidy, "Tidy"},
                                               {kFacetingCoplanarVerts, "CoplanarVerts"},
                                               {-1, nullptr}};

FacetingSettings& GetFacetingSettings()
{
    static FacetingSettings settings;
    return settings;
}
