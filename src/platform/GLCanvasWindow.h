#pragma once

#include <wx/glcanvas.h>

#include <functional>
#include <memory>

// A wxGLCanvas with its own rendering context, made lazily on first use (GTK needs a realised window)
// and sharing display lists and textures with the first context of the program.
class GLCanvasWindow : public wxGLCanvas
{
public:
    explicit GLCanvasWindow(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~GLCanvasWindow() override;

    // Makes this canvas's context current, creating it on first use. False while the window cannot
    // take a context yet (not shown).
    bool MakeContextCurrent();

    bool HasContext() const { return mContext != nullptr; }
    // Deletes the context; the next MakeContextCurrent makes a new one.
    void ReleaseContext();

    // Called after each frame is drawn, with the context current and before the buffers swap.
    void SetFrameDrawnCallback(std::function<void(GLCanvasWindow&)> callback);

    // RGBA, double buffer, depth 24, stencil 8; less when the display cannot give that.
    static const wxGLAttributes& DisplayAttributes();

    // Draws one frame now: make current, Render, callback, swap. False when there is no context yet.
    bool DrawFrame();

protected:
    // Draws the scene into the current context; the default clears to mid grey.
    virtual void Render();

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);

    std::unique_ptr<wxGLContext> mContext;
    std::function<void(GLCanvasWindow&)> mFrameDrawn;
};
