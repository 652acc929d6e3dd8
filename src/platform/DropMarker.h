#pragma once

#include <wx/gdicmn.h>

#include <array>

class wxWindow;

// The insertion marker of a dragged list row: a grey horizontal line with two short strokes at each
// end (5 and 3 pixels long). GTK draws through cairo, which cannot invert pixels, so the marker is
// made of small child windows over the rows: moving or hiding it leaves nothing behind, and showing
// it twice shows it once.
class DropMarker
{
public:
    DropMarker() = default;
    DropMarker(const DropMarker&) = delete;
    DropMarker& operator=(const DropMarker&) = delete;
    ~DropMarker();

    // Shows the marker on the window along the line y, from x 0 to width.
    void Show(wxWindow* window, int y, int width);
    void Hide();
    // Hides the marker and lets go of its windows.
    void Reset();
    bool IsShown() const { return mShown; }
    // The line the marker shows, in the window's client coordinates.
    wxRect Line() const;

private:
    void Make(wxWindow* window);

    wxWindow* mOwner = nullptr;
    std::array<wxWindow*, 5> mParts{};  // the line, then the outer and inner strokes at each end
    bool mShown = false;
};
