#include "stellation/StellationRegion.h"

int StellationRegion::GetIndex() const
{
    int index = 0;
    for (const StellationRegion* r = prev; r; r = r->prev)
        ++index;
    return index;
}
