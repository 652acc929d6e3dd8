#include "view/ImageExportRenderer.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/ProgramClock.h"
#include "render/NewView.h"
#include "view/ImageExportFields.h"
#include "view/PolyView.h"

#include <cmath>

double ExportFrameAngle(int frame, double rotations, int steps)
{
    if (steps <= 0)
        return 0.0;
    return double(frame) * rotations / double(steps) * 360.0;
}

double ExportFrameRatio(int frame, double p, double q, int steps)
{
    if (steps <= 0)
        return p;
    double v = std::fabs(p + double(frame) / double(steps) * (q - p));
    v -= 2.0 * std::floor(v / 2.0);
    return v > 1.0 ? 2.0 - v : v;
}

int ExportFitBorder(int size, int overSampling, double bordersPercent)
{
    return int(std::lround(double(overSampling) * size * bordersPercent * 0.01));
}

ImageExportRenderer::ImageExportRenderer(CPolyView& view, ImageExportFields& fields) : mView(view), mFields(fields)
{
    mStartTime = GetElapsedSeconds(true);
    mTextsWereOn = OpenGLView::ViewTextsEnabled();
    mSnapshot.Save(view);
    mRotation4D = view.GetRotation4D();
    SetFrameSize(false);
}

ImageExportRenderer::~ImageExportRenderer()
{
    OpenGLView::ViewTextsEnabled() = mTextsWereOn;
    mView.SetPixelAspect(1.0f);
    mView.SetFitBorders(0, 0);
    RestoreView();
    mView.UpdateAspect();
    NewView::Invalidate(&mView, false);
}

void ImageExportRenderer::SetFrameSize(bool preview)
{
    OpenGLView::ViewTextsEnabled() = mTextsWereOn && !mFields.hideText;
    int m = 1;
    if (!preview)
    {
        const double aspect = EvaluateNumber(mFields.aspect.c_str(), true);
        mView.SetPixelAspect(aspect >= 0.001 ? float(aspect) : 1.0f);
        m = mFields.overSample;
    }
    mView.SetFitBorders(ExportFitBorder(mFields.width, m, mFields.borders),
                        ExportFitBorder(mFields.height, m, mFields.borders));
    mFrameCount = mFields.numFrames * (mFields.interlaceMethod != ImageExportFields::kNotInterlaced ? 2 : 1);
}

void ImageExportRenderer::RestoreView()
{
    mSnapshot.Restore(mView);
    mView.SetRotation4D(mRotation4D);
}
