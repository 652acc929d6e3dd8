#include "kernel/RenderSettings.h"

RenderSettings& GetRenderSettings()
{
    static RenderSettings settings;
    return settings;
}

int GetRenderFlags()
{
    return GetRenderSettings().renderFlags;
}

bool IsKitStyle()
{
    return GetRenderSettings().kitStyle;
}

int GetTextOffsetMode()
{
    return GetRenderSettings().textOffsetMode;
}

double GetTextOffset()
{
    return GetRenderSettings().textOffset;
}

void SetTextOffset(double lift, int mode)
{
    GetRenderSettings().textOffset = lift;
    GetRenderSettings().textOffsetMode = mode;
}

void SetSceneTextColor(const float rgba[4])
{
    for (int i = 0; i < 4; ++i)
        GetRenderSettings().sceneTextColor[i] = rgba[i];
}
