#pragma once

#include <string>

struct ExportSettings;

// Everything a picture or animation export needs, as the Exporting Image/Video dialog shows it:
// loaded from the export settings when the dialog opens and stored back by OK. The frame renderer
// and the writer read it.
struct ImageExportFields
{
    static constexpr int kNotInterlaced = 0;
    static constexpr int kLowerFieldFirst = 1;
    static constexpr int kUpperFieldFirst = 2;

    std::string folder;
    std::string fileName;
    int imageType = 5;  // "ExportImageType": 1-based entry of the export filter (5 GIF)
    bool sameSizeAsView = false;
    int width = 500;
    int height = 500;
    double unitScale = 2.54;
    std::string dpiText = "96";
    std::string aspect = "1";
    bool fit = true;
    bool fitLoose = false;
    double borders = 0.0;  // per cent
    int overSample = 2;
    int jpegQuality = 95;
    int orientation = 0;
    bool isAnimation = false;
    bool tour = false;
    int rotateAround = 0;  // 0 the vertical axis, 1 the selected item
    std::string numRotations = "1/5";
    bool rotate4D = true;
    std::string tilt = "0";
    std::string startRatio = "0";
    std::string endRatio = "1";
    bool seamless = true;  // "Seemless looping": the last frame is not the first again
    bool hideText = true;
    bool openAfter = false;
    float fps = 25.0f;
    int numFrames = 100;
    int interlaceMethod = kNotInterlaced;
    int compression = 0;
    int quality = 8500;
    bool previewing = true;

    void Load(const ExportSettings& settings);
    void Store(ExportSettings& settings) const;

    // An AVI name makes any export an animation.
    bool IsAnimation() const;
    // There are no tours yet.
    bool IsTourExport() const { return false; }
    // frames / rate; 0 for a rate below 0.001.
    double GetLength() const;
    int GetDpi() const;
    // The folder and the name, with the type's extension.
    std::string GetPath() const;
    // The faults that keep OK from exporting, each on a line of its own ("\n  - ..."); empty when
    // every field is right.
    std::string CheckFields() const;
};

// Frames for a length at a rate: to the nearest integer, halves away from zero.
int FramesForLength(double fps, double seconds);
