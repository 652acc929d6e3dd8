#include "model/StellationOptions.h"

namespace
{
int gStellationOptions = 0;
}

int GetStellationOptions()
{
    return gStellationOptions;
}

void StoreStellationOptions(int bits)
{
    gStellationOptions = bits;
}
