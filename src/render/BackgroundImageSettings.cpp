#include "render/BackgroundImageSettings.h"

BackgroundImageSettings& GetBackgroundImageSettings()
{
    static BackgroundImageSettings settings;
    return settings;
}
