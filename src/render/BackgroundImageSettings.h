#pragma once

#include <string>

// The background image of the views: its fit and show-through, the path of the image shown, and a
// path read from the settings that the first model view to be made loads and then drops.
struct BackgroundImageSettings
{
    std::string currentPath;  // empty while no image is shown
    std::string pendingPath;
    int fit = 0;         // "BGImageFit", 0-5
    float alpha = 0.0f;  // "BGImageAlpha": show-through over the model

    // What the settings keep: the image shown, else one still waiting for a view to load it.
    const std::string& PathToKeep() const { return currentPath.empty() ? pendingPath : currentPath; }
};

BackgroundImageSettings& GetBackgroundImageSettings();
