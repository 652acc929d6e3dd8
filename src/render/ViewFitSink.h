#pragma once

#include "kernel/FitPointSink.h"
#include "render/OpenGLView.h"

// Hands the points of a core fit pass (element outlines, vertex figures) to a view's zoom-to-fit
// record, for the life of one pass.
class ViewFitSink : public FitPointSink
{
public:
    ViewFitSink(const OpenGLView& view, FitBounds& record) : mView(view), mRecord(record) {}

    void ExtendFit(const Vec3D& point) override { mView.ExtendFitBounds(mRecord, point); }

private:
    const OpenGLView& mView;
    FitBounds& mRecord;
};
