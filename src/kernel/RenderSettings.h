#pragma once

#include <cstdint>

// Program-wide drawing switches: the views apply them and the model's drawing code reads them, so
// they live here rather than with any one view. The rendering layer and the settings set them.
struct RenderSettings
{
    // Bits of the render flags word.
    static constexpr int kRainbowColors = 1;
    static constexpr int kStereoGlasses = 2;

    int renderFlags = 0;
    bool allWhite = false;  // the all-white drawing mode (each view may also switch it on for itself)
    bool kitStyle = false;  // the ball-and-rod kit style
    // Lift of scene text towards the eye: mode 0 a fraction of its distance from the eye, mode 1 an
    // absolute distance.
    double textOffset = 0.001;
    int textOffsetMode = 0;
    float sceneTextColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float edgeWidth = 1.0f;  // line width of edges, pixels
    // The font set-up's text size: what it is proportional to ("FontPropTo": 0 fixed, 1 the element
    // count, 2 the mean edge length, 3 the item's own size) and its factor ("FontSize").
    int textSizeMode = 1;
    double textSize = 1.0;
    // The placement words of face, edge and vertex texts: the low four bits are the placement mode (0
    // extend from, 1 flat on, 2 stand on, 3 aligned to the screen, which lifts the text by the
    // element's radius); 0x100 keeps the size on screen, 0x200 upright, 0x400 left to right.
    uint32_t faceTextSettings = 0x601;
    uint32_t edgeTextSettings = 0x602;
    uint32_t vertexTextSettings = 0x600;
};

RenderSettings& GetRenderSettings();

// A face's own colour applies only while no render flag is set.
int GetRenderFlags();
// While the kit style is on every face counts as translucent and face labels are lifted by the
// vertex sphere radius.
bool IsKitStyle();

// Callers that need another lift save these, set theirs, draw and restore.
int GetTextOffsetMode();
double GetTextOffset();
void SetTextOffset(double lift, int mode);

// The default colour of scene text (RGBA).
void SetSceneTextColor(const float rgba[4]);
