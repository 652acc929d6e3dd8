#include "stellation/StellationSettings.h"

StellationSettings& GetStellationSettings()
{
    static StellationSettings settings;
    return settings;
}
