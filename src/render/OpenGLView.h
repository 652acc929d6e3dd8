#pragma once

#include "kernel/Messages.h"
#include "kernel/SceneDrawer.h"
#include "render/NewView.h"

class GLCanvasWindow;

// A pane that draws with OpenGL: a NewView whose client area is a GL canvas with its own rendering
// context (sharing lists and textures with the first one). Code that issues GL calls outside the
// frame brackets them with PreOpenGL/PostOpenGL, which nest; the view whose context is current is
// GetCurrentGLView. While it draws a frame the view is the current SceneDrawer, so the model's
// drawing code reaches its colour and material rules, primitives and translucent queue.
class OpenGLView : public NewView, public SceneDrawer
{
public:
    explicit OpenGLView(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~OpenGLView() override;

    // Makes the view's context current (nestable). False only when no context can be had yet.
    bool PreOpenGL();
    void PostOpenGL();
    static OpenGLView* GetCurrentGLView();
    static int GetGLNestingDepth();

    // Switches drawing with GL on or off (off: DrawWithoutGL paints). The GL-for-printing flag
    // becomes on and glForPrinting; returns it.
    bool EnableOpenGL(bool on, bool glForPrinting);
    bool IsOpenGLEnabled() const { return mGLEnabled; }

    // Draws one frame now: background, DrawBackground, DrawScene and the translucent queue.
    void OnDraw();

    GLCanvasWindow* GetCanvas() const { return mCanvas; }

    // Sets or clears bits of the program's render flags word (1 rainbow colours, 2 stereo glasses).
    static void SetRenderFlags(int flags, bool on);
    // The view's own all-white switch (the program's is in RenderSettings).
    void SetAllWhite(bool on) { mAllWhite = on; }
    // Explosion of the model drawn (1: not exploded); queued triangles sort alone when below 1.
    virtual double GetExplodeScale() const { return 1.0; }
    // Where the eye is in model coordinates, from the current matrices: the eye point of a
    // perspective view, or for a parallel view the direction towards the viewer.
    void GetViewer(Vec3D& eyeOrDirection, bool& perspective) const;

    // Cached GL state setters.
    int SetCullMode(int mode);
    bool SetDepthMask(bool on);
    void SetMaterialColorAlpha(const ColorRGB& color, float alpha);
    void SetMaterialSpecular(float grey);

    // SceneDrawer.
    void SetColor3f(float r, float g, float b) override;
    void SetColor4f(float r, float g, float b, float a) override;
    void SetMaterialColor4f(float r, float g, float b, float a) override;
    int SetBlendMode(int mode) override;
    int GetBlendMode() const { return mBlendMode; }
    // The depth mode is the 3D flag: depth testing (and lighting) only for 3D views.
    void SetDepthMode(bool on) override;
    bool GetDepthMode() const override { return m3D; }
    bool SetLighting(bool on) override;
    bool UseDefaultLights(bool on) override;
    void UseRainbowLights(bool on) override;
    void DisableTexture() override;
    void ApplyFontTextureState() override;
    void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                      const Vec3D* startAxis) override;
    void DrawSceneText(uint32_t settings, const Vec3D& anchor, double size, const char* text, int flags,
                       const Vec3D& normal, const Vec3D* direction) override;
    void DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                       const Vec3D& zAxis, double length, const ColorRGB* color) override;
    void DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize) override;
    float SetLineWidth(float width) override;
    void DrawLines(const Vec3D* ends, const float* rgba, int count) override;
    void DrawTextAtPoint(const char* text, const Vec2D& point, int flags) override;
    bool IsFacingViewer(const Vec3D& point, const Vec3D& normal) override;
    void SetGLSelectionItem(int itemType, int index) override;
    void ClearGLSelectionItem() override;
    bool AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags, double scale,
                     FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints) override;
    bool IsPicking() const override { return mSelectionMode != 0; }
    bool FacetsPicked() const override { return false; }
    bool IsPrinting() const override { return NewView::IsPrinting(); }
    int ViewTypeCode() const override { return 0; }
    bool AllWhiteMode() const override;
    float LineScale() const override { return mLineScale; }
    float PointScale() const override { return mPointScale; }

protected:
    // Frame hooks, empty here: the scene of the views built on this one.
    virtual void PrepareForDraw() {}
    virtual void ClearBackground();
    virtual void DrawBackground() {}
    virtual void DrawScene() {}
    virtual void DrawWithoutGL() {}
    // Called when the context has been made and set up.
    virtual void PrepareTextures() {}

    void RepaintNow() override;

    int mSelectionMode = 0;  // set while the view draws for picking
    float mLineScale = 1.0f;
    float mPointScale = 1.0f;
    int mStereoMode = 0;  // 10 anaglyph

private:
    friend class OpenGLViewCanvas;
    void DrawFrameInContext();
    void InitOpenGLState();
    void ApplyLighting();
    void OnSize(wxSizeEvent& event);

    GLCanvasWindow* mCanvas = nullptr;
    bool mGLEnabled = true;
    bool mGLForPrinting = true;
    bool m3D = true;
    bool mLighting = true;
    bool mAllWhite = false;
    bool mStateInitialised = false;
    int mBlendMode = 0;
    int mCullMode = -1;
    bool mDepthMask = true;
};

// Release every GL nesting level of the UI thread around a modal dialog and take them back after it;
// installed into the message functions when the first view is made.
void SuspendGLContext(GLContextSuspension& saved, bool redrawWhenNone);
void ResumeGLContext(const GLContextSuspension& saved, bool redrawWhenNone);
void InstallGLContextHooks();

// Traces a pending GL error with the step's label; never tells the user.
void CheckGLError(const char* format, ...) ORVANE_PRINTF(1, 2);

// Switches the ball-and-rod kit style and redraws.
void SetKitStyle(bool on);
