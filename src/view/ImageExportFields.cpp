#include "view/ImageExportFields.h"

#include "document/ExportSettings.h"
#include "kernel/EvaluateExpression.h"
#include "kernel/Paths.h"
#include "render/ImageExportFiles.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
// The frame rate is kept in the settings as the 32 bits of its float.
float FloatFromBits(int bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int BitsFromFloat(float value)
{
    int bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
}  // namespace

void ImageExportFields::Load(const ExportSettings& s)
{
    folder = s.folders.empty() ? std::string() : s.folders.front();
    imageType = s.imageType > 0 ? s.imageType : 5;
    sameSizeAsView = s.sameSizeAsView != 0;
    width = s.width;
    height = s.height;
    unitScale = s.unitScale;
    dpiText = std::to_string(s.dpi);
    aspect = s.aspect;
    fit = s.fit != 0;
    fitLoose = s.fitLoose != 0 && !fit;
    borders = s.borders;
    overSample = s.overSample < 1 ? 1 : s.overSample > 3 ? 3 : s.overSample;
    jpegQuality = s.jpegQuality < 0 ? 0 : s.jpegQuality > 100 ? 100 : s.jpegQuality;
    orientation = s.orientation;
    isAnimation = s.isAnimation != 0;
    tour = false;
    numRotations = s.numRotations;
    rotate4D = s.rotate4D != 0;
    tilt = s.tiltAxis;
    startRatio = s.startRatio;
    endRatio = s.endRatio;
    seamless = s.endAfterFinalFrame != 0;
    hideText = s.hideText != 0;
    openAfter = s.openAfterExport != 0;
    // A video record never stored is all zeros: it starts at 25 fps, 100 frames, quality 85 %.
    const bool stored = s.fps != 0 || s.numFrames != 0;
    fps = stored ? FloatFromBits(s.fps) : 25.0f;
    if (!std::isfinite(fps) || fps < 0.0f)
        fps = 25.0f;
    numFrames = !stored ? 100 : s.numFrames < 1 ? 1 : s.numFrames;
    interlaceMethod = s.interlaceMethod < 0 || s.interlaceMethod > 2 ? 0 : s.interlaceMethod;
    compression = s.compression;
    quality = stored ? s.quality : 8500;
    previewing = s.isPreviewing;
}

void ImageExportFields::Store(ExportSettings& s) const
{
    s.imageType = imageType;
    s.sameSizeAsView = sameSizeAsView;
    s.width = width;
    s.height = height;
    s.unitScale = unitScale;
    s.dpi = GetDpi();
    s.aspect = aspect;
    s.fit = fit;
    s.fitLoose = fitLoose;
    s.borders = borders;
    s.overSample = overSample;
    s.jpegQuality = jpegQuality;
    s.orientation = orientation;
    s.isAnimation = isAnimation;
    s.tour = tour;
    s.numRotations = numRotations;
    s.rotate4D = rotate4D;
    s.tiltAxis = tilt;
    s.startRatio = startRatio;
    s.endRatio = endRatio;
    s.endAfterFinalFrame = seamless;
    s.hideText = hideText;
    s.openAfterExport = openAfter;
    s.fps = BitsFromFloat(fps);
    s.numFrames = numFrames;
    s.interlaceMethod = interlaceMethod;
    s.compression = compression;
    s.quality = quality;
    s.isPreviewing = previewing;
}

bool ImageExportFields::IsAnimation() const
{
    return isAnimation || HasExtension(fileName, ".avi");
}

double ImageExportFields::GetLength() const
{
    return fps >= 0.001f ? numFrames / double(fps) : 0.0;
}

int ImageExportFields::GetDpi() const
{
    return std::atoi(dpiText.c_str());
}

std::string ImageExportFields::GetPath() const
{
    std::string path = AddExportImageExtension(fileName, imageType - 1);
    if (!folder.empty())
        path = folder + "/" + path;
    NormaliseSlashes(path);
    return path;
}

std::string ImageExportFields::CheckFields() const
{
    std::string faults;
    if (borders > 49.0)
        faults += "\n  - Borders around fit must be less than 50%";
    const char* error = nullptr;
    const double a = EvaluateExpression(aspect.c_str(), &error);
    if (error)
        faults += std::string("\n  - Pixel aspect ratio: ") + error;
    else if (a < 0.001)
        faults += "\n  - Pixel aspect ratio must be greater than zero";
    if (fps < 0.001f)
        faults += "\n  - Frame rate must be greater than zero";
    if (numFrames < 1)
        faults += "\n  - Number of frames must be greater than zero";
    if (GetDpi() < 1)
        faults += "\n  - DPI must be greater than zero";
    return faults;
}

int FramesForLength(double fps, double seconds)
{
    return int(std::lround(fps * seconds));
}
