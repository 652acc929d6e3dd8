#include "library/SceneHost.h"

#include "kernel/MouseThrow.h"
#include "library/LayoutSectionData.h"

namespace
{
// The interface types a file's throw records may name.
constexpr int kThrowTypeBound = 1012;

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

bool SceneHost::ReadLayoutSection(ioFile* f, bool /*apply*/)
{
    LayoutSectionData unused;
    return ReadLayoutSectionData(f, 0, unused);
}

bool SceneHost::ReadMouseThrows(ioFile* f, bool /*apply*/)
{
    return ReadMouseThrowData(f, kThrowTypeBound, false);
}
