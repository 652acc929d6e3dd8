#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/GrowableArray.h"
#include "kernel/Vec3D.h"

#include <cstdio>
#include <memory>
#include <vector>

class SimplePoly;
class SimpleFace;

// What the 3D export writers share: their files, the zeroing of tiny coordinates, which faces are
// written, and the face colours. Used by the SimplePoly export files of this module only.

struct ExportFileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using ExportFile = std::unique_ptr<std::FILE, ExportFileCloser>;

// Closes the file and tells whether everything reached it.
bool FinishExportFile(ExportFile& file);

// A value within the standard tolerance of zero as 0, so that no file shows "-1e-17".
double ExportZeroed(double v);
Vec3D ExportZeroed(const Vec3D& v);

// Neither Temp nor Hidden.
bool IsWrittenFace(const SimpleFace& face);

// The face colours, and for every face the place of its colour in that list (-1 for a face not
// written).
struct ExportFaceColors
{
    GrowableArray<ColorRGB> colors;
    std::vector<int> faceColor;
};
// False when the colour list could not be made (reported).
bool CollectExportFaceColors(const SimplePoly& poly, ExportFaceColors& out);
// The faces of each colour in face order, colour after colour.
std::vector<std::vector<int>> ExportFacesByColor(const ExportFaceColors& fc);

// Reports the first face of another size than a triangle, once per export.
void CheckExportTriangle(const SimpleFace& face, const char* writer, bool& reported);
