#include "view/ViewDisplayOptions.h"

#include "kernel/UnitSettings.h"

ViewDisplayOptions& GetViewDisplayOptions()
{
    static ViewDisplayOptions options;
    return options;
}

int& FirstPageTopMarginTwips()
{
    static int twips = 0;
    return twips;
}

double GetFirstPageTopMargin()
{
    return GetUnitSettings().TwipsToUnits(double(FirstPageTopMarginTwips()));
}

void SetFirstPageTopMargin(double length)
{
    FirstPageTopMarginTwips() = GetUnitSettings().UnitsToTwipsRounded(length);
}
