#include "model/ElementDisplayOptions.h"

ElementDisplayOptions& GetElementDisplayOptions()
{
    static ElementDisplayOptions options;
    return options;
}
