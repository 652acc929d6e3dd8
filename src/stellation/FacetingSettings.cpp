#include "stellation/FacetingSettings.h"

FacetingSettings& GetFacetingSettings()
{
    static FacetingSettings settings;
    return settings;
}
