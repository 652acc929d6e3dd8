#pragma once

#include <wx/control.h>

#include <cstdint>

// The push button that shows a colour: its whole face is painted in the colour and its caption is
// written in white or black so that it stays readable. The option dialogs open the colour chooser
// from its click (wxEVT_BUTTON). A control of our own: GTK buttons neither paint owner-drawn faces
// nor keep background colours. Owned by its dialog.
class ColorButton : public wxControl
{
public:
    ColorButton() = default;
    ColorButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);
    bool Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    // Colours are 0x00BBGGRR. The caption turns white on a dark colour (red + green + blue below 383),
    // black on a light one.
    void SetColor(uint32_t color);
    void SetColors(uint32_t textColor, uint32_t faceColor);
    uint32_t GetColor() const { return mFace; }
    uint32_t GetTextColor() const { return mText; }

    // The default button of its dialog wears a black outline.
    void SetDefault(bool isDefault = true);

    // Draws the button into rect: face, frame, caption and focus rectangle.
    void DrawItem(wxDC& dc, const wxRect& rect, bool pressed, bool focused) const;

    bool AcceptsFocus() const override { return IsEnabled(); }

protected:
    wxSize DoGetBestClientSize() const override;

private:
    void Init();
    void Redraw();
    void Click();
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);

    uint32_t mText = 0;
    uint32_t mFace = 0;
    uint32_t mDisabledFace = 0;
    uint32_t mLight = 0;
    uint32_t mHighlight = 0;
    uint32_t mShadow = 0;
    uint32_t mDarkShadow = 0;
    bool mDefault = false;
    bool mTracking = false;  // the left button went down here and is held
    bool mPressed = false;   // drawn pressed: tracking with the pointer inside
};
