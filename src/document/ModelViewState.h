#pragma once

#include "kernel/Mat4.h"

// The state of a model pane that belongs to the model it shows rather than to the pane: the document
// keeps it per model record and the layouts per pane position. The model pane implements it.
class ModelViewState
{
public:
    virtual ~ModelViewState() = default;

    // The view-type code (kernel/ViewTypes.h), -1 for none yet.
    virtual int GetViewType() const = 0;
    // keep: the camera stays and no fit is asked for.
    virtual void SetViewType(int code, bool keep) = 0;
    // 1: faces in place.
    virtual double GetExplosion() const = 0;
    virtual void SetExplosion(double scale) = 0;
    // 0 perspective, 1 orthogonal, 2 as the 3D projection.
    virtual int GetProjection4D() const = 0;
    virtual void SetProjection4D(int type) = 0;
    virtual const Mat4& GetRotation4D() const = 0;
    virtual void SetRotation4D(const Mat4& rotation) = 0;
    // Fits the pane to its model before its next frame (1 allowing for rotation, 3 tight).
    virtual void RequestFit(int /*mode*/) {}
    // Rebuilds the caption's title from the model's names.
    virtual void UpdateTitle() {}
};
