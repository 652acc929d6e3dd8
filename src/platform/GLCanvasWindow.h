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
    // The end of a frame drawn by the owner: the callback, then the swap. The context must be current.
    void FinishFrame();

    // A new context sharing lists and textures with the old one, which is then deleted (the window's
    // drawable may have changed). False, with the old context kept, when none can be made.
    bool RecreateContext();

    // No context is current on this thread afterwards.
    static void ReleaseCurrentContext();
    // How often a context was made current, for checking that nested brackets do not switch.
    static long CountMakeCurrent();
    // An entry point of the GL library or an extension; null when missing.
    static void* GetProcAddress(const char* name);

protected:
    // Draws the scene into the current context; the default clears to mid grey.
    virtual void Render();
    // What a paint event draws; by default DrawFrame.
    virtual void PaintNow();

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);

    std::unique_ptr<wxGLContext> mContext;
    std::function<void(GLCanvasWindow&)> mFrameDrawn;
};
