#include "kernel/SceneParameters.h"

SceneParameters& GetSceneParameters()
{
    static SceneParameters parameters;
    return parameters;
}
