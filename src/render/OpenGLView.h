#pragma once

#include "kernel/Messages.h"
#include "kernel/MouseThrow.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec3F.h"
#include "render/CameraThrows.h"
#include "render/GLSelection.h"
#include "render/NewView.h"

#include <memory>
#include <vector>

class GLCanvasWindow;
class OffscreenBitmap;
class RasterFont;

// What one zoom-to-fit pass collects: the slopes and extra radii of the camera's view cone (3D
// perspective), the 2D angle, the x and y ranges (orthogonal and 2D) and the largest distance needed.
struct FitBounds
{
    double hSlope = 1.0;
    double vSlope = 1.0;
    double hExtraRadius = 0.0;
    double vExtraRadius = 0.0;
    double angle2D = 0.0;
    double minX = 9.99999e99;
    double minY = 9.99999e99;
    double maxX = -9.99999e99;
    double maxY = -9.99999e99;
    double largestDistance = -9.99999e99;
};

// A text box in window pixels, y up: all 0 when nothing was drawn.
struct ViewTextBox
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A pane that draws with OpenGL: a NewView whose client area is a GL canvas with its own rendering
// context (sharing lists and textures with the first one). Code that issues GL calls outside the
// frame brackets them with PreOpenGL/PostOpenGL, which nest; the view whose context is current is
// GetCurrentGLView. A frame runs a fixed pipeline of hooks that the views built on this one fill. 3D
// views look from a camera orbiting the origin; 2D views show a rectangle of a flat world at a zoom,
// scrolled and turned. The view's state setters are the one way drawing code changes colour,
// material, blending, stipple, culling and depth mask. While it draws a frame the view is the current
// SceneDrawer, so the model's drawing code reaches all of it.
class OpenGLView : public NewView, public SceneDrawer, public MouseThrowOwner
{
public:
    // Mouse modes of navigation: what the buttons held and the space bar do now.
    enum MouseMode
    {
        kModeNone = 0,
        kModeNotPossible = 1,
        kModeZoom = 2,
        kModeTumble = 3,
        kModeTwist = 4,
        kModeReadyToPan = 5,
        kModePan = 6,
        kModeFOV = 7,
        kModeZoom2D = 8,
        kModePan2D = 9,
        kModeTwist2D = 10,
        kModePivot = 11
    };

    // Stereo modes.
    static constexpr int kStereoOff = 0;
    static constexpr int kStereoSideBySide = 9;
    static constexpr int kStereoAnaglyph = 10;

    explicit OpenGLView(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~OpenGLView() override;

    // ---- Context and frame ----

    // Makes the view's context current (nestable). False only when no context can be had yet.
    bool PreOpenGL();
    void PostOpenGL();
    static OpenGLView* GetCurrentGLView();
    static int GetGLNestingDepth();

    // Switches drawing with GL on or off (off: DrawWithoutGL paints). The GL-for-printing flag
    // becomes on and glForPrinting; returns it.
    bool EnableOpenGL(bool on, bool glForPrinting);
    bool IsOpenGLEnabled() const { return mGLEnabled; }

    // Draws one frame now through the pipeline.
    void OnDraw();
    // Draws the scene in OpenGL's selection mode around the client point (y downward), with a
    // 6 x 6 pixel region when large, else one pixel, and appends a hit for every named primitive
    // there; mode is the caller's nonzero code, which the scene may read while it draws. Nothing is
    // shown, and the redraw marks stay as they were. True when the selection buffer overflowed:
    // the hits then come from the records that could be read.
    bool DoSelection(std::vector<GLHit>& hits, int mode, int x, int y, bool large);
    int GetSelectionMode() const { return mSelectionMode; }

    void SetFullScreen(bool on) override;
    void SetViewIndex(int n) override;

    GLCanvasWindow* GetCanvas() const { return mCanvas; }
    // Draws the view into the bitmap at w x h times the over-sampling s (OffscreenBitmap::Render);
    // views with context-bound resources of their own set them aside around it.
    virtual bool RenderOffscreen(OffscreenBitmap& bitmap, int w, int h, int s);
    // Output settings of a picture export: the pixel aspect multiplies the aspect ratio, and the
    // fits leave the border pixels free at each side. 1 and 0 outside exports.
    void SetPixelAspect(float aspect) { mPixelAspect = aspect > 0.0f ? aspect : 1.0f; }
    float GetPixelAspect() const { return mPixelAspect; }
    void SetFitBorders(int horizontal, int vertical)
    {
        mFitBorderX = horizontal;
        mFitBorderY = vertical;
    }
    int GetFitBorderX() const { return mFitBorderX; }
    int GetFitBorderY() const { return mFitBorderY; }
    bool Is3D() const { return m3D; }
    int GetOverSampling() const { return mOverSampling; }
    bool IsOffscreen() const { return mOffscreen; }

    // The program-wide switch that lets views write their texts (an export may hide them).
    static bool& ViewTextsEnabled();
    // Sets or clears bits of the program's render flags word (1 rainbow colours, 2 stereo glasses).
    static void SetRenderFlags(int flags, bool on);
    static void SetRainbowColorMode(bool on);
    // The view's own all-white switch (the program's is in RenderSettings).
    void SetAllWhite(bool on) { mAllWhite = on; }
    // Explosion of the model drawn (1: not exploded); queued triangles sort alone when below 1.
    virtual double GetExplodeScale() const { return 1.0; }

    // ---- Mouse navigation ----

    // Only without Shift and Ctrl; a middle button counts as both buttons.
    int GetMouseMode() const;
    const wxCursor* GetModeCursor() override;
    void GetMouseHints(std::string& left, std::string& right, std::string& both) override;
    void OnWheel(int delta) override;
    TumbleThrow& GetTumbleThrow() { return mTumbleThrow; }
    TwistThrow& GetTwistThrow() { return mTwistThrow; }
    ZoomThrow& GetZoomThrow() { return mZoomThrow; }
    PivotThrow& GetPivotThrow() { return mPivotThrow; }
    TurnThrow& GetTurnThrow() { return mTurnThrow; }
    // Degrees per pixel of a tumble.
    float GetTumbleRate() const { return mTumbleRate; }
    // Multiplies the camera distance (the half-height when orthogonal), within the distance limits.
    void ScaleCameraDistance(double factor);
    // Negative: no limit.
    void SetDistanceLimits(double minimum, double maximum)
    {
        mMinDistance = minimum;
        mMaxDistance = maximum;
    }
    int GetThrowOwnerIndex() const override { return GetViewNumber(); }
    void ProjectThrowPoint(Vec3D& out, const Vec3D& p) override { ProjectToWindow(out, p); }

    // ---- Camera, projection, fitting and stereo ----

    void ResetCamera(bool alsoFOV);
    void ResetView();
    void OrthonormalizeCamera();
    // Camera to model: columns right, up, backward; translation the eye.
    void GetCameraTransform(Transform3D& out) const;
    void SetCameraTransform(const Transform3D& transform);
    // Model to camera.
    void GetViewTransform(Transform3D& out) const;
    void RotateView(int axisIndex, double degrees);
    void RotateViewEuler(double a, double b, double c);
    void RotateViewAboutAxis(const Vec3D& axis, double degrees, bool orbit);
    void RotateCameraAboutWorldAxis(const Vec3D& axis, double degrees);

    void SetFOVLimit(float vertical, float aspectLimit);
    void SetVerticalFOV(float v);
    void SetHorizontalFOV(float h);
    void SetNominalFOV(float v);
    float GetNominalFOV() const;
    float GetNarrowFOV() const;
    float GetVerticalFOV() const { return mFOV; }
    float VerticalToHorizontalFOV(float v, float w, float h) const;
    float HorizontalToVerticalFOV(float a, float w, float h) const;

    void SetOrthogonal(bool on);
    bool IsOrthogonal() const { return mOrthogonal; }
    float GetHalfHeight() const { return mHalfHeight; }
    void SetHalfHeight(float h) { mHalfHeight = h; }

    void FitSphere(const Vec3D* centre, double radius);
    void BeginFitBounds(FitBounds& record, double extraRadius, double angle2D) const;
    void ExtendFitBounds(FitBounds& record, const Vec3D& p) const;
    void ApplyFitBounds(const FitBounds& record);

    void UpdateAspect();
    void UpdateViewport();
    void ApplyProjection(int matrixMode);
    virtual void SetViewingMatrix(int matrixMode, bool placeLights);

    virtual bool IsFacingViewer(const Vec3D& point, const Vec3D& normal, bool useMatrix);
    virtual bool IsFacingViewerF(const Vec3F& point, const Vec3F& normal, bool useMatrix);
    double DotTowardViewer(const Vec3D& p, const Vec3D& v, bool normalise) const;
    void ComputeWindowMatrix();
    void ProjectToWindow(Vec3D& out, const Vec3D& p);
    void ProjectToWindowF(Vec3F& out, const Vec3F& p);
    void GetDirectionToViewer(Vec3D& out, const Vec3D& p) const;
    void GetPickRay(Vec3D& origin, Vec3D& direction, int x, int y) const;

    void SetStereoMode(int type);
    int GetStereoMode() const;
    int GetStereoType() const { return mStereoMode; }
    int GetCurrentEye() const { return mCurrentEye; }

    // Locked views follow this one; true when any changed.
    virtual bool SyncOtherViews();
    void StopLinkedThrows(bool zoomOnly, bool alsoPivot);
    static bool& ViewsLocked();

    const Vec3D& GetEye() const { return mEye; }
    const Vec3D& GetRight() const { return mRight; }
    const Vec3D& GetUp() const { return mUp; }
    const Vec3D& GetBackward() const { return mBackward; }
    const Vec3D& GetCurrentEyePosition() const { return mCurrentEyePos; }
    void SetEye(const Vec3D& eye)
    {
        mEye = eye;
        mCurrentEyePos = eye;
        mWindowMatrixValid = false;
    }
    float GetAspect() const { return mAspect; }
    float GetNear() const { return mNear; }
    float GetFar() const { return mFar; }
    float GetEyeSeparation() const { return mEyeSeparation; }
    const int* GetViewport() const { return mViewport; }
    const float* GetAnaglyphTint() const { return mTint; }
    double GetMinDistance() const { return mMinDistance; }
    double GetMaxDistance() const { return mMaxDistance; }

    // ---- The 2D drawing area ----

    void SetScrollArea(float left, float bottom, float right, float top);
    void GetScrollArea(float& left, float& top, float& right, float& bottom) const
    {
        left = mLeft2D;
        top = mTop2D;
        right = mRight2D;
        bottom = mBottom2D;
    }
    float GetScrollAreaWidth() const { return mRight2D - mLeft2D; }
    float GetScrollAreaHeight() const { return mTop2D - mBottom2D; }
    void SetRotationAllowed(bool allowed, bool keepAngle);
    bool IsRotationAllowed() const { return mRotationAllowed; }
    void UpdateScrollSize();
    void SetDocumentSize(float width, float height, bool force);
    void ScrollTo(float x, float y);
    void ClampScroll(float& x, float& y) const;
    wxRect GetVisibleRect() const;
    void ZoomToFitArea();
    float GetScaledHeight() const;
    float Get2DZoom() const { return mZoom2D; }
    void Set2DZoom(float zoom) { mZoom2D = zoom; }
    float Get2DAngle() const { return mAngle2D; }
    void Set2DAngle(float degrees) { mAngle2D = degrees; }
    float GetScrollX() const { return mScrollX; }
    float GetScrollY() const { return mScrollY; }
    float GetDocumentWidth() const { return mDocWidth; }
    float GetDocumentHeight() const { return mDocHeight; }

    double WorldXAtPixel(double px) const;
    double WorldYAtPixel(double py) const;
    double PixelOfWorldX(double x) const;
    double PixelOfWorldY(double y) const;
    double PixelsToWorldX(double n) const;
    double PixelsToWorldY(double n) const;
    double WorldToPixelsX(double d) const;
    double WorldToPixelsY(double d) const;
    void ClientToWorld2D(Vec2D& out, double px, double py) const;
    void WorldToClient2D(Vec2D& out, double x, double y) const;
    void Compute2DVisible();
    // The part of the world that can show, after the last 2D projection.
    void GetVisibleWorld(double& left, double& bottom, double& right, double& top) const;

    // ---- GL state setters ----

    int SetCullMode(int mode);
    bool SetDepthMask(bool on);
    int SetBlendMode(int mode) override;
    int GetBlendMode() const { return mBlendMode; }
    void SetLineStipple(int pattern) override;
    int GetLineStipple() const { return mLineStipple; }
    void SetColor3f(float r, float g, float b) override;
    void SetColor4f(float r, float g, float b, float a) override;
    void SetColor4fv(const float rgba[4]) { SetColor4f(rgba[0], rgba[1], rgba[2], rgba[3]); }
    void SetMaterialColor4f(float r, float g, float b, float a) override;
    void SetMaterialColorAlpha(const ColorRGB& color, float alpha);
    void SetMaterialEmission(float r, float g, float b, float factor);
    void ClearMaterialEmission();
    void SetMaterialShininess(float value);
    void SetMaterialSpecularColor(const float rgb[3]);
    void SetMaterialSpecular(float grey);
    // The depth mode is the 3D flag: depth testing (and lighting) only for 3D views.
    void SetDepthMode(bool on) override;
    bool GetDepthMode() const override { return m3D; }
    bool SetLighting(bool on) override;
    bool GetLighting() const { return mLighting; }
    bool UseDefaultLights(bool on) override;
    void UseRainbowLights(bool on) override;
    void DisableTexture() override;
    void ApplyFontTextureState() override;

    // ---- Text and shapes ----

    void MeasureText(const char* text, int& width, int& height) const;
    int GetTextHeight() const;
    int MeasureLine(const std::string& latin1) const;
    void DrawTextAt(const char* text, double x, double y, bool centred);
    void DrawTextAtPoint(const char* text, const Vec2D& point, int flags) override;
    // A text at a window pixel with a box of the inverse colour behind it; flags 1 centres it
    // horizontally on x, 2 vertically on y.
    ViewTextBox DrawTextBox(const char* text, double x, double y, const float color[3], int flags, float alpha);
    // A text block at a standard place: 0 top, 1 third line, 2 bottom, 3 middle. Nothing while the
    // view texts are off.
    ViewTextBox DrawViewText(int kind, const char* text, const float color[3], int dx, int dy, float alpha);
    void DrawClippedLine2D(const Vec2D& p, const Vec2D& q);
    void DrawArrowHead3D(const Vec3D& from, const Vec3D& tip, double size);
    void DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size);
    void DrawSphere(const Vec3D& centre, double radius);
    void DrawCylinder(const Vec3D& from, const Vec3D& to, double radius, double gap, const Vec3D* startAxis,
                      int flags);
    void DrawCylinder(const Vec3D& from, const Vec3D& to, double r1, double r2, double inset1, double inset2,
                      const Vec3D* startAxis, bool caps);
    // L: the squared on-screen diameter in pixels of a ball of the radius at the point.
    double ScreenSizeMeasure(const Vec3D& centre, double radius);
    int SphereSubdivisions(double measure) const;
    int CylinderSegments(double measure) const;

    // ---- SceneDrawer ----

    void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                      const Vec3D* startAxis) override;
    void DrawSceneText(uint32_t settings, const Vec3D& anchor, double size, const char* text, int flags,
                       const Vec3D& normal, const Vec3D* direction) override;
    void DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                       const Vec3D& zAxis, double length, const ColorRGB* color) override;
    void DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize) override;
    float SetLineWidth(float width) override;
    void DrawLines(const Vec3D* ends, const float* rgba, int count) override;
    void DrawTriangles(const Vec3D* corners, int count) override;
    void SetNormal(const Vec3D& normal) override;
    void DrawLineStrip(const Vec3D* points, int count) override;
    float SetPointSize(float size) override;
    void DrawPoints(const Vec3D* points, int count) override;
    void DrawPoints(const Vec3D* points, const float* rgba, int count, float size) override;
    bool SetPolygonOffsetFill(bool on) override;
    void DrawRasterText(const char* text, const Vec3D& point) override;
    bool SetDepthTest(bool on) override;
    bool IsFacingViewer(const Vec3D& point, const Vec3D& normal) override;
    Vec3D GetEyePosition() const override { return mCurrentEyePos; }
    void SetGLSelectionItem(int itemType, int index) override;
    void ClearGLSelectionItem() override;
    bool AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags, double scale,
                     FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints) override;
    void* ShellView() const override { return const_cast<NewView*>(static_cast<const NewView*>(this)); }
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
    // Called when a context has been made and set up.
    virtual void PrepareTextures() {}
    // Inside SetViewingMatrix, after the camera's translation.
    virtual void ApplyModelTransform() {}
    // The mouse throws of the view: the zoom throw, and the tumble, twist and turn throws (with the
    // pivot throw when asked).
    virtual void StopZoomThrow();
    virtual void StopRotationThrows(bool alsoPivot);

    // A navigation drag: button down (after the bookkeeping), button up (before it).
    void BeginMouseAction(int flags, int x, int y);
    void EndMouseAction(int flags, int x, int y);
    void OnMouseButtonDown(int button, int flags, int x, int y) override;
    void OnMouseButtonUp(int button, int flags, int x, int y) override;
    void OnMouseMove(int flags, int x, int y) override;

    void RepaintNow() override;
    void OnClientResized() override;
    // Only flat views scroll.
    bool WantsScrollBars() const override { return !m3D; }
    void OnHScroll(int code, int trackPosition) override;
    void OnVScroll(int code, int trackPosition) override;

    int mSelectionMode = 0;  // set while the view draws for picking
    int mPickX = 0;
    int mPickY = 0;
    bool mLargePick = false;
    bool mOffscreen = false;
    int mOverSampling = 1;
    float mLineScale = 1.0f;
    float mPointScale = 1.0f;

private:
    friend class OpenGLViewCanvas;
    friend class OffscreenBitmap;
    friend struct CameraSnapshot;
    friend struct ViewSnapshot;
    void DrawFrame();
    void DrawEye();
    double FitFraction(bool horizontal) const;
    void OpenedContext(bool fresh);
    void InitOpenGLState();
    void ApplyLighting();
    void ScrollBy(int code, int trackPosition, bool horizontal);

    GLCanvasWindow* mCanvas = nullptr;
    std::unique_ptr<RasterFont> mRasterFont;
    bool mGLEnabled = true;
    bool mGLForPrinting = true;
    bool m3D = true;
    bool mLighting = true;
    bool mAllWhite = false;
    bool mStateInitialised = false;
    // A camera given before the window first draws (a model file's at start-up) outlives the
    // first context, which otherwise starts the camera from its defaults.
    bool mCameraPlaced = false;
    int mBlendMode = 0;
    int mLineStipple = 0;
    int mCullMode = -1;
    bool mDepthMask = true;

    // Camera.
    Vec3D mEye{0, 0, 2};
    Vec3D mRight{1, 0, 0};
    Vec3D mUp{0, 1, 0};
    Vec3D mBackward{0, 0, 1};
    float mFOV = 25.0f;
    float mHalfHeight = 1.0f;
    float mAspectLimit = -1.0f;
    float mHFOVAtLimit = 0.0f;
    float mVFOVAtLimit = 0.0f;
    Vec3D mCurrentEyePos{0, 0, 2};
    float mWindowMatrix[16] = {};
    bool mWindowMatrixValid = false;
    float mNear = 0.1f;
    float mFar = 4000.0f;
    float mPixelAspect = 1.0f;
    int mFitBorderX = 0;
    int mFitBorderY = 0;
    bool mOrthogonal = false;
    float mAspect = 1.0f;
    int mStereoMode = kStereoOff;
    float mEyeSeparation = 0.2f;
    float mStereoNumerator = 3.0f;
    float mStereoDenominator = 70.0f;
    int mCurrentEye = 0;
    int mLeftHalfEye = 1;
    int mChannel1 = 0;
    int mChannel2 = 3;
    int mViewport[4] = {0, 0, 1, 1};
    float mTint[3] = {1.0f, 1.0f, 1.0f};
    float mTumbleRate = 0.3f;
    double mMinDistance = -1.0;
    double mMaxDistance = -1.0;
    TumbleThrow mTumbleThrow{this};
    TwistThrow mTwistThrow{this};
    ZoomThrow mZoomThrow{this};
    PivotThrow mPivotThrow{this};
    TurnThrow mTurnThrow{this};
    float mZoomAnchorX = 0.0f;
    float mZoomAnchorY = 0.0f;

    // 2D area.
    int mPrevWidth = 1;
    int mPrevHeight = 1;
    float mLeft2D = 0.0f;
    float mBottom2D = 1.0f;
    float mRight2D = 1.0f;
    float mTop2D = 0.0f;
    float mScrollX = 0.0f;
    float mScrollY = 0.0f;
    float mDocWidth = 1.0f;
    float mDocHeight = 1.0f;
    float mZoom2D = 1.0f;
    float mAngle2D = 0.0f;
    bool mRotationAllowed = true;
    double mVisLeft = 0.0;
    double mVisBottom = 0.0;
    double mVisRight = 1.0;
    double mVisTop = 1.0;
};

// Release every GL nesting level of the UI thread around a modal dialog and take them back after it;
// installed into the message functions when the first view is made.
void SuspendGLContext(GLContextSuspension& saved, bool redrawWhenNone);
void ResumeGLContext(const GLContextSuspension& saved, bool redrawWhenNone);
void InstallGLContextHooks();

// Traces a pending GL error with the step's label; never tells the user.
void CheckGLError(const char* format, ...) ORVANE_PRINTF(1, 2);

// The setting "PivotAroundAxis": dragging with both buttons pivots around the selected item
// instead of twisting (the space bar swaps the two).
extern bool gPivotAroundAxis;
