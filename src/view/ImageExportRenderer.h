#pragma once

#include "kernel/Mat4.h"
#include "render/ViewSnapshot.h"

class CPolyView;
struct ImageExportFields;

// Puts one model pane, frame by frame, into the state of an image or animation export and back
// afterwards: made by File > Export Image/Video... on its stack around the dialog and the writing,
// and by tests. While it lives the pane's camera and 4D rotation belong to it.
class ImageExportRenderer
{
public:
    // Saves the pane and applies the fields at full size once.
    ImageExportRenderer(CPolyView& view, ImageExportFields& fields);
    // The pane gets back its camera, 4D rotation, pixel aspect and borders; the texts come back.
    ~ImageExportRenderer();
    ImageExportRenderer(const ImageExportRenderer&) = delete;
    ImageExportRenderer& operator=(const ImageExportRenderer&) = delete;

    // The fields become the pane's output settings: a preview keeps the pixel aspect of the last
    // full call and takes the borders of a picture without over-sampling.
    void SetFrameSize(bool preview);
    // The saved camera and 4D rotation back in the pane.
    void RestoreView();

    CPolyView& GetView() const { return mView; }
    ImageExportFields& GetFields() const { return mFields; }
    const ViewSnapshot& GetSnapshot() const { return mSnapshot; }
    const Mat4& GetStartRotation4D() const { return mRotation4D; }
    double GetStartTime() const { return mStartTime; }
    // The frames to prepare: the fields' frames, twice as many when interlaced (a frame per field).
    int GetFrameCount() const { return mFrameCount; }

private:
    CPolyView& mView;
    ImageExportFields& mFields;
    double mStartTime = 0.0;
    ViewSnapshot mSnapshot;
    Mat4 mRotation4D;
    bool mTextsWereOn = true;
    int mFrameCount = 1;
};

// The turn of frame a in degrees for X rotations over N' steps; 0 when there are no steps.
double ExportFrameAngle(int frame, double rotations, int steps);
// The ratio of frame a going from p to q over N' steps, folded into 0..1 by a triangle wave of period
// 2 (1 to 2 runs back to 0); p when there are no steps.
double ExportFrameRatio(int frame, double p, double q, int steps);
// The border in pixels of a side of size pixels times the over-sampling, for borders per cent: to
// the nearest integer.
int ExportFitBorder(int size, int overSampling, double bordersPercent);
