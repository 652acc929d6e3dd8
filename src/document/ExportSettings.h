#pragma once

#include <string>
#include <vector>

// The options of image and video export that the settings keep between runs. The export dialog
// shows and changes them; the frame renderer reads them.
struct ExportSettings
{
    static constexpr int kMaxFolders = 10;

    std::vector<std::string> folders;  // "ExportFolder0".. : the dialog's folder list, most recent first
    int orientation = 0;               // "ExportOrientation", 0-9
    int sameSizeAsView = 0;            // "ExportSameSizeAsView"
    int fit = 1;                       // "ExportFit": fit tightly, each frame
    int fitLoose = 0;                  // "ExportFitLoose": fit with room for rotation
    double borders = 0.0;              // "ExportBorders", per cent
    std::string aspect = "1";          // "ExportAspect": pixel aspect ratio as typed
    int hideText = 1;                  // "ExportHideText"
    int openAfterExport = 0;           // "ExportOpen"
    int width = 500;                   // "ExportWidth", pixels
    int height = 500;                  // "ExportHeight"
    int overSample = 2;                // "ExportOverSample"
    double unitScale = 2.54;           // "ExportUnitScale": 2.54 for centimetres, 1 for inches
    int dpi = 96;                      // "ExportDPI"
    int jpegQuality = 95;              // "ExportJPegQuality"
    int isAnimation = 0;               // "ExportIsAnimation"
    int tour = 0;                      // "ExportTour"
    int endAfterFinalFrame = 1;        // "ExportEndAfterFinalFrame": seamless looping
    std::string numRotations = "1/5";  // "ExportNumRotations", as typed
    int rotate4D = 1;                  // "Export4DRot"
    std::string tiltAxis = "0";        // "ExportTiltAxis", degrees as typed
    std::string startRatio = "0";      // "ExportStartRatio"
    std::string endRatio = "1";        // "ExportEndRatio"
    bool isPreviewing = true;          // "ExportIsPreviewing"
    // The video settings record.
    int fps = 0;                       // "ExportFps"
    int interlaceMethod = 0;           // "ExportInterlaceMethod"
    int numFrames = 0;                 // "ExportNumFrames"
    int compression = 0;               // "ExportCompression"
    int quality = 0;                   // "ExportQuality"
    int imageType = 0;                 // "ExportImageType": 1-based index in the file filter, 0 none
};

ExportSettings& GetExportSettings();
