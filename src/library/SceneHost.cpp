#include "library/SceneHost.h"

namespace
{
SceneHost gEmptyHost;
SceneHost* gHost = &gEmptyHost;
}  // namespace

SceneHost& GetSceneHost()
{
    return *gHost;
}

SceneHost* SetSceneHost(SceneHost* host)
{
    SceneHost* previous = gHost == &gEmptyHost ? nullptr : gHost;
    gHost = host ? host : &gEmptyHost;
    return previous;
}
