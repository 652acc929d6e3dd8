#pragma once

#include <string>

// The background image of the model panes: where its quad goes in a viewport for each fit mode,
// and the GL texture that holds it. The panes draw it behind the scene, and again over it while it
// is set to show through.

// "BGImageFit".
inline constexpr int kBackgroundFitWithin = 0;
inline constexpr int kBackgroundFitAround = 1;
inline constexpr int kBackgroundFitWidth = 2;
inline constexpr int kBackgroundFitHeight = 3;
inline constexpr int kBackgroundStretch = 4;
inline constexpr int kBackgroundActualSize = 5;

// A quad in window pixels (y up): its centre and half sizes.
struct BackgroundQuad
{
    double centreX = 0.0;
    double centreY = 0.0;
    double halfWidth = 0.0;
    double halfHeight = 0.0;
};

// The quad of an image of the given pixel size in the viewport (x, y, width, height) for the fit
// mode, moved sideways by shiftX. An empty image or viewport gives the whole viewport. The actual
// size keeps the image's edges on whole pixels.
BackgroundQuad ComputeBackgroundQuad(int fit, const int viewport[4], int imageWidth, int imageHeight, double shiftX);

// The sideways shift of the quad for one eye in stereo, so that the image sits at the depth of the
// model's centre: viewRadius R, camera distance L, the eye separation (negated for the left eye),
// the viewport's height in pixels and the vertical field of view in degrees.
double BackgroundStereoShift(double viewRadius, double cameraDistance, double eyeSeparation, bool leftEye,
                             int viewportHeight, double fieldOfView);

// The texture of the background image: the GL name (0: no image) and the image's own pixels within
// the texture, whose sides may be larger.
struct BackgroundTexture
{
    unsigned name = 0;
    int imageWidth = 0;  // the file's pixels, which the fit modes measure
    int imageHeight = 0;
    int textureWidth = 0;
    int textureHeight = 0;
    int texelsWide = 0;  // the image inside its texture, after rescaling; 0: the image's own sizes
    int texelsHigh = 0;
    int marginLeft = 0;  // where it sits in the texture
    int marginBottom = 0;
};

// The texture of the image shown, brought up to date with its file.
BackgroundTexture& GetBackgroundTexture();
// Deletes the texture (with a view's context current) and forgets it.
void ReleaseBackgroundTexture();

// Image > Load Background Image...: the image of the file, clamped, behind every pane; a blank path
// removes it. False, with nothing changed, when the file cannot be shown.
bool SetBackgroundImage(const std::string& path);
bool HasBackgroundImage();
