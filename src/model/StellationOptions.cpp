#include "model/StellationOptions.h"

namespace
{
int gStellationOptions = 0;
int gStellationCriterion = 0;
}

int GetStellationOptions()
{
    return gStellationOptions;
}

void StoreStellationOptions(int bits)
{
    gStellationOptions = bits;
}

int GetStellationCriterion()
{
    return gStellationCriterion;
}

void StoreStellationCriterion(int criterion)
{
    gStellationCriterion = criterion;
}
