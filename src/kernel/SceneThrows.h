#pragma once

#include "kernel/MouseThrow.h"

// The throws of the scene values that every pane shares (kernel/SceneParameters.h): one object of
// each kind for the whole program, without an owner view.
class MorphThrow : public MouseThrow
{
public:
    MorphThrow() : MouseThrow(1000) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

class FoldThrow : public MouseThrow
{
public:
    FoldThrow() : MouseThrow(1001) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

class Shrink4DThrow : public MouseThrow
{
public:
    Shrink4DThrow() : MouseThrow(1003) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

class NetShrink4DThrow : public MouseThrow
{
public:
    NetShrink4DThrow() : MouseThrow(1004) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

class SliceDepthThrow : public MouseThrow
{
public:
    SliceDepthThrow() : MouseThrow(1005) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

struct SceneThrows
{
    MorphThrow morph;
    FoldThrow fold;
    Shrink4DThrow shrink4D;
    NetShrink4DThrow netShrink4D;
    SliceDepthThrow sliceDepth;
};

// Made at the first call (the program makes them at start-up), alive until exit.
SceneThrows& GetSceneThrows();

// "Clamp Morphing, 0 - 100%": the morph ratio stays in [0, 1]; on at start.
extern bool gClampMorphing;

// A ratio within 1e-7 of 0 becomes 0; with redraw the dual-morph views are marked.
void SetMorphRatio(double ratio, bool redraw);
// With redraw the net views are marked.
void SetNetShrink4D(double factor, bool redraw);
