#include "kernel/NetTabSettings.h"

NetTabSettings& GetNetTabSettings()
{
    static NetTabSettings settings;
    return settings;
}
