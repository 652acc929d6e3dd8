#include "kernel/SceneThrows.h"

#include "kernel/SceneParameters.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"

#include <cmath>

bool gClampMorphing = true;

namespace
{
constexpr double kRatioRate = 0.002;  // per pixel
constexpr double kSliceRate = 0.001;
constexpr int kDualMorphViews = 0x4000;
constexpr int kFoldingNetViews = 0x12C0F;
constexpr int k3DModelViews = 0x800;
constexpr int kNetViews = 0x10000;
}  // namespace

SceneThrows& GetSceneThrows()
{
    static SceneThrows throws;
    return throws;
}

void SetMorphRatio(double ratio, bool redraw)
{
    if (std::fabs(ratio) < kTol)
        ratio = 0.0;
    SceneParameters& scene = GetSceneParameters();
    if (ratio == scene.morphRatio)
        return;
    scene.morphRatio = ratio;
    GetShell().ResetMorphOutlines();
    if (redraw)
        GetShell().InvalidateViewsOfType(kDualMorphViews, 0);
}

void SetNetShrink4D(double factor, bool redraw)
{
    SceneParameters& scene = GetSceneParameters();
    if (factor == scene.netShrink4D)
        return;
    scene.netShrink4D = factor;
    if (redraw)
        GetShell().InvalidateViewsOfType(kNetViews, 0);
}

bool MorphThrow::Apply(float dx, float dy)
{
    double v = GetSceneParameters().morphRatio + (double(dx) - dy) * kRatioRate;
    const bool reversed = gClampMorphing && KeepInRange(&v, 0.0, 1.0);
    SetMorphRatio(v, false);
    return reversed;
}

void MorphThrow::InvalidateTargets()
{
    GetShell().InvalidateViewsOfType(kDualMorphViews, 0);
}

bool FoldThrow::Apply(float dx, float dy)
{
    double& fold = GetSceneParameters().foldRatio;
    fold -= (double(dx) - dy) * kRatioRate;
    return KeepInRange(&fold, 0.0, 1.0);
}

void FoldThrow::InvalidateTargets()
{
    GetShell().InvalidateViewsOfType(kFoldingNetViews, 0);
}

bool Shrink4DThrow::Apply(float dx, float dy)
{
    double& shrink = GetSceneParameters().shrink4D;
    shrink += (double(dx) - dy) * kRatioRate;
    return KeepInRange(&shrink, 0.0, 1.0);
}

void Shrink4DThrow::InvalidateTargets()
{
    GetShell().InvalidateViewsOfType(k3DModelViews, 0);
}

bool NetShrink4DThrow::Apply(float dx, float dy)
{
    double v = GetSceneParameters().netShrink4D + (double(dx) - dy) * kRatioRate;
    const bool reversed = KeepInRange(&v, 0.0, 1.0);
    SetNetShrink4D(v, false);
    return reversed;
}

void NetShrink4DThrow::InvalidateTargets()
{
    GetShell().InvalidateViewsOfType(kNetViews, 0);
}

bool SliceDepthThrow::Apply(float dx, float dy)
{
    double& slice = GetSceneParameters().sliceRatio;
    slice += (double(dx) - dy) * kSliceRate;
    return KeepInRange(&slice, 0.0, 1.0);
}

void SliceDepthThrow::InvalidateTargets()
{
    GetShell().InvalidateCrossSectionViews(0);
}
