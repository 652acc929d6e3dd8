#include "render/OpenGLView.h"

#include "kernel/RenderSettings.h"
#include "kernel/UiThread.h"
#include "kernel/UserServices.h"
#include "platform/GLCanvasWindow.h"
#include "render/GLContextState.h"
#include "render/GLLight.h"
#include "render/GLSelection.h"
#include "render/OffscreenBitmap.h"
#include "render/RasterText.h"
#include "render/TranslucentQueue.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <string>
#include <thread>

// The canvas under a view: its paints are the view's frames.
class OpenGLViewCanvas : public GLCanvasWindow
{
public:
    explicit OpenGLViewCanvas(OpenGLView* view) : GLCanvasWindow(view), mView(view) {}

protected:
    void PaintNow() override { mView->OnDraw(); }

private:
    OpenGLView* mView;
};

bool gPivotAroundAxis = false;

namespace
{
OpenGLView* gCurrentView = nullptr;
int gDepth = 0;
bool gHaveGLThread = false;
std::thread::id gGLThread;
bool gDrawing = false;  // the draw guard

bool OnGLThread()
{
    return gHaveGLThread ? std::this_thread::get_id() == gGLThread : IsUiThread();
}

bool ContextHeld()
{
    return gCurrentView && OnGLThread();
}

const char kLowColorText[] =
    "WARNING: Your display is set to use only %d-bit color.\nThis setting also adversely affects the "
    "resolution of\nthe \"Z-buffer\", which may cause artefacts in the\ndisplay.  We suggest you increase "
    "this setting.\n\nRight-click on your screen background and select\n'Properties' from the menu, then "
    "select the 'Settings' tab.\nYou should be able to set the number of colors there.\nYou should select "
    "24 or 32 bits (at least 16 million colors).";

// One depth pixel at the window's corner written and read back.
unsigned ProbeDepthBits(unsigned value)
{
    glRasterPos2i(0, 0);
    glDrawPixels(1, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, &value);
    unsigned read = 0;
    glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, &read);
    return read;
}

void DetectCapabilities()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    GLint units = 1;
    if (WantsTextureUnitCount(version, extensions))
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    GetGLCapabilities() =
        ComputeGLCapabilities(version, extensions, units, GLCanvasWindow::GetProcAddress("glActiveTextureARB"));
}
}  // namespace

OpenGLView::OpenGLView(wxWindow* parent, wxWindowID id) : NewView(parent, id)
{
    InstallGLContextHooks();
    mCanvas = new OpenGLViewCanvas(this);
    SetClientChild(mCanvas);
    mTumbleThrow.Init(0, this, MouseThrow::kAxisMode);
    mTwistThrow.Init(1, this, 0);
    mZoomThrow.Init(2, this, 0);
    mPivotThrow.Init(3, this, MouseThrow::kAxisMode | MouseThrow::kFixedAxis);
    mTurnThrow.Init(4, this, MouseThrow::kAxisMode);
}

OpenGLView::~OpenGLView()
{
    // A view going away while current leaves no dangling current view behind.
    if (gCurrentView == this)
    {
        if (!mSelectionMode)
            GLCanvasWindow::ReleaseCurrentContext();
        gCurrentView = nullptr;
        gDepth = 0;
    }
}

// ---- Context ----

bool OpenGLView::PreOpenGL()
{
    if (gDepth > 0)
    {
        ++gDepth;
        if (gCurrentView != this)
            DebugTrace("Must call PostOpenGL() after PreOpenGL().    Wasn't called for view %d, now view %d\n",
                       gCurrentView ? gCurrentView->GetViewNumber() : -1, GetViewNumber());
        return true;
    }
    ++gDepth;
    bool fresh = false;
    if (!mSelectionMode)
    {
        fresh = !mCanvas->HasContext();
        if (!mGLEnabled || !mCanvas->MakeContextCurrent())
        {
            if (mGLEnabled && fresh && mCanvas->IsShownOnScreen() && mCanvas->GetXWindow() != 0)
                DebugTrace("Problems opening GL window.\n");
            --gDepth;
            return false;
        }
    }
    gCurrentView = this;
    gGLThread = std::this_thread::get_id();
    gHaveGLThread = true;
    if (fresh || !mStateInitialised)
        OpenedContext(fresh);
    CheckGLError("PreOpenGL");
    return true;
}

void OpenGLView::PostOpenGL()
{
    if (gCurrentView != this)
        DebugTrace("PostOpenGL(): View changed since call to PreOpenGL().    Was %d, now %d\n",
                   gCurrentView ? gCurrentView->GetViewNumber() : -1, GetViewNumber());
    if (--gDepth < 0)
    {
        gDepth = 0;
        gCurrentView = nullptr;
        InternalError("Too many calls to PostOpenGL()\n");
        return;
    }
    if (gDepth > 0)
        return;
    CheckGLError("PostOpenGL");
    // No context stays current between messages; a picking pass keeps its own until it ends.
    if (!mSelectionMode)
        GLCanvasWindow::ReleaseCurrentContext();
    gCurrentView = nullptr;
}

OpenGLView* OpenGLView::GetCurrentGLView()
{
    return gCurrentView;
}

int OpenGLView::GetGLNestingDepth()
{
    return gDepth;
}

// The steps after a context was made current for the first time: capabilities, depth precision,
// then the view's own state. A brand-new window's camera starts from its defaults.
void OpenGLView::OpenedContext(bool fresh)
{
    if (GetGLCapabilities().edgeClampMode == -1)
        DetectCapabilities();
    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    if (stencilBits < 1)
    {
        DebugTrace("No stencil planes, view %d!\n", GetViewNumber());
        gUseStencil = false;
    }
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    gDepthBits = depthBits;
    gPolygonOffsetUnits = PolygonOffsetUnitsForDepth(depthBits);
    if (depthBits < 24)
    {
        GLint r = 0, g = 0, b = 0;
        glGetIntegerv(GL_RED_BITS, &r);
        glGetIntegerv(GL_GREEN_BITS, &g);
        glGetIntegerv(GL_BLUE_BITS, &b);
        if (r + g + b < 24)
            ShowOptionalMessage(kOptionalMsgLowColorDepth, kOptExclamationIcon | kOptOncePerRun, kLowColorText,
                                int(r + g + b));
    }
    glPolygonOffset(0.0f, gPolygonOffsetUnits);
    glDepthFunc(GL_LEQUAL);
    InitOpenGLState();
    if (fresh && mCameraPlaced)
        UpdateAspect();
    else if (fresh)
        ResetView();
}

void OpenGLView::InitOpenGLState()
{
    mStateInitialised = true;
    // A new context starts from GL's defaults: the caches follow.
    mBlendMode = 0;
    mLineStipple = 0;
    mCullMode = -1;
    mDepthMask = true;
    glClearDepth(1.0);
    if (m3D)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    // Drawing code hands in normals of any length.
    glEnable(GL_NORMALIZE);
    SetCullMode(0);
    mRasterFont = CreateRasterFont(mOverSampling);
    InitMaterials(this);
    PrepareTextures();
    CheckGLError("InitOpenGLState");
}

bool OpenGLView::EnableOpenGL(bool on, bool glForPrinting)
{
    mGLForPrinting = on && glForPrinting;
    if (on != mGLEnabled)
    {
        mGLEnabled = on;
        if (!on)
        {
            if (gCurrentView == this)
                while (gDepth > 0)
                    PostOpenGL();
            mCanvas->ReleaseContext();
            mStateInitialised = false;
        }
        mCanvas->Show(on);
        LayoutPanes();
        Invalidate(this, true);
    }
    return mGLForPrinting;
}

void OpenGLView::SetFullScreen(bool on)
{
    if (on == IsFullScreen())
        return;
    NewView::SetFullScreen(on);
    if (!mGLEnabled || !mCanvas->HasContext())
        return;
    // The move may have given the canvas a new window: a new context, sharing the old one's lists.
    if (gCurrentView == this)
        while (gDepth > 0)
            PostOpenGL();
    // The next bracket sets the new context up, once the canvas has its window again.
    if (mCanvas->RecreateContext())
        mStateInitialised = false;
    Invalidate(this, true);
}

void OpenGLView::SetViewIndex(int n)
{
    NewView::SetViewIndex(n);
}

// ---- Frame ----

void OpenGLView::RepaintNow()
{
    if (mGLEnabled && mCanvas->IsShownOnScreen())
        OnDraw();
    else
        NewView::RepaintNow();
}

bool OpenGLView::RenderOffscreen(OffscreenBitmap& bitmap, int w, int h, int s)
{
    return bitmap.Render(*this, w, h, s);
}

void OpenGLView::OnDraw()
{
    if (gDrawing)
        return;
    gDrawing = true;
    // The throws advance once per idle pass, to the time of the first frame drawn after it.
    if (IsMouseThrowStepPending())
        StepMouseThrows(nullptr);
    if (!mGLEnabled || (IsPrinting() && !mGLForPrinting))
        DrawWithoutGL();
    else
        DrawFrame();
    ClearRedrawFlags(this);
    gDrawing = false;
}

bool OpenGLView::DoSelection(std::vector<GLHit>& hits, int mode, int x, int y, bool large)
{
    constexpr int kBufferSize = 256;
    // A full buffer holds at least this many records of one name.
    constexpr int kOverflowRecords = 64;
    if (gDrawing || !PreOpenGL())
        return false;
    GLuint buffer[kBufferSize] = {};
    glSelectBuffer(kBufferSize, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    mSelectionMode = mode ? mode : -1;
    mPickX = x;
    mPickY = GetHeight() - y;
    mLargePick = large;
    const int marks = GetRedrawMarks();
    // Bitmap text would only crowd the buffer.
    const bool rasterText = SetRasterTextEnabled(false);
    OnDraw();
    SetRasterTextEnabled(rasterText);
    SetRedrawMarks(marks);
    int records = glRenderMode(GL_RENDER);
    const bool overflow = records < 0;
    if (overflow)
        records = kOverflowRecords;
    if (records > 0)
        ReadGLHitRecords(buffer, kBufferSize, records, hits);
    mSelectionMode = 0;
    glPopName();
    CheckGLError("OpenGLView::DoSelection");
    PostOpenGL();
    return overflow;
}

void OpenGLView::DrawFrame()
{
    PrepareForDraw();
    if (mStereoMode != kStereoOff)
        mEyeSeparation = float(Vec3Dot(mEye, mBackward)) * mStereoNumerator / mStereoDenominator;
    if (!PreOpenGL())
        return;
    if (gFirstFrame)
    {
        gFirstFrame = false;
        ClearBackground();
        if (gDepthBits > 0 && gDepthBits % 8 == 0)
        {
            glDepthFunc(GL_ALWAYS);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluOrtho2D(0, GetWidth() - 1, 0, GetHeight() - 1);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            const int bits = DepthBitsFromProbe(ProbeDepthBits(1u << 20), ProbeDepthBits(1u << 12),
                                                ProbeDepthBits(1u << 4));
            if (bits < gDepthBits)
                gDepthBits = bits;
            if (gDepthBits < 24)
            {
                gDepthPrecisionScale = 1.0f / float(1 << (24 - gDepthBits));
                gPolygonOffsetUnits = std::floor(200.0f * gDepthPrecisionScale) + 1.0f;
            }
            else
            {
                gDepthPrecisionScale = 1.0f;
                gPolygonOffsetUnits = 200.0f;
            }
            glPolygonOffset(0.0f, gPolygonOffsetUnits);
            glDepthFunc(GL_LEQUAL);
        }
    }
    SetLighting(mLighting);
    glLineWidth(1.0f);
    glPointSize(1.0f);
    ClearBackground();
    if (m3D && mStereoMode != kStereoOff)
    {
        // Picking in side-by-side stereo draws only the eye whose half holds the pick point.
        const bool pickRight = mPickX >= GetWidth() / 2;
        for (int eye = 1; eye <= 2; ++eye)
        {
            const bool eyeOnRight = eye != mLeftHalfEye;
            if (mStereoMode == kStereoSideBySide && mSelectionMode && pickRight != eyeOnRight)
                continue;
            if (eye == 2 && mStereoMode == kStereoAnaglyph)
                glClear(GL_DEPTH_BUFFER_BIT);
            mCurrentEye = eye;
            DrawEye();
        }
        mCurrentEye = 0;
    }
    else
    {
        mCurrentEye = 0;
        DrawEye();
    }
    if (!mSelectionMode)
    {
        glFinish();
        if (mOffscreen)
            glClear(GL_DEPTH_BUFFER_BIT);
        else
            mCanvas->FinishFrame();
    }
    CheckGLError("OpenGLView::OnDraw");
    PostOpenGL();
}

void OpenGLView::DrawEye()
{
    UpdateViewport();
    DrawBackground();
    SetViewingMatrix(GL_PROJECTION, true);
    ScopedSceneDrawer drawing(this);
    DrawScene();
    FlushTranslucentQueue();
}

void OpenGLView::ClearBackground()
{
    const ColorRGB& c = GetBackgroundColor();
    if (IsPrinting())
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    else if (mStereoMode == kStereoAnaglyph)
    {
        const float m = std::max(c.r, std::max(c.g, c.b));
        glClearColor(m * mTint[0], m * mTint[1], m * mTint[2], 1.0f);
    }
    else
        glClearColor(c.r, c.g, c.b, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | (gUseStencil ? GL_STENCIL_BUFFER_BIT : 0));
}

// ---- Lighting switches ----

void OpenGLView::ApplyLighting()
{
    if (!PreOpenGL())
        return;
    if (m3D && mLighting && !AllWhiteMode())
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    CheckGLError("SetLighting");
    PostOpenGL();
}

bool OpenGLView::SetLighting(bool on)
{
    const bool previous = mLighting;
    mLighting = on;
    ApplyLighting();
    return previous;
}

void OpenGLView::SetDepthMode(bool on)
{
    if (on == m3D)
        return;
    m3D = on;
    if (PreOpenGL())
    {
        if (on)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        PostOpenGL();
    }
    ApplyLighting();
    ForgetScrollRanges();
    UpdateScrollSize();
}

bool OpenGLView::AllWhiteMode() const
{
    return mAllWhite || GetRenderSettings().allWhite;
}

void OpenGLView::SetRenderFlags(int flags, bool on)
{
    int& word = GetRenderSettings().renderFlags;
    word = on ? word | flags : word & ~flags;
    InvalidateAll(false, true);
}

void OpenGLView::SetRainbowColorMode(bool on)
{
    SetRenderFlags(RenderSettings::kRainbowColors, on);
    // Coloured glasses keep the white lights.
    SelectLightSet(on && !(GetRenderFlags() & RenderSettings::kStereoGlasses));
    gRainbowColors = on;
    for (NewView* v = GetFirstView(); v; v = v->next)
        if (auto* gl = dynamic_cast<OpenGLView*>(v); gl && gl->Is3D())
            Invalidate(gl, true);
}

bool OpenGLView::UseDefaultLights(bool on)
{
    if (!on)
        return SetLighting(false);
    if (!gRainbowColors)
        return false;
    SelectLightSet(false);
    SetViewingMatrix(GL_PROJECTION, true);
    return true;
}

void OpenGLView::UseRainbowLights(bool on)
{
    if (on)
    {
        SelectLightSet(true);
        SetViewingMatrix(GL_PROJECTION, true);
    }
    else
        SetLighting(true);
}

// ---- Suspending around modal boxes ----

void SuspendGLContext(GLContextSuspension& saved, bool redrawWhenNone)
{
    saved = GLContextSuspension();
    if (!OnGLThread())
        return;
    if (OpenGLView* view = gCurrentView)
    {
        saved.view = view;
        saved.depth = gDepth;
        while (gDepth > 0 && gCurrentView == view)
            view->PostOpenGL();
    }
    else if (redrawWhenNone)
        NewView::RedrawAllNow();
}

void ResumeGLContext(const GLContextSuspension& saved, bool redrawWhenNone)
{
    auto* view = static_cast<OpenGLView*>(saved.view);
    // The box may have outlived the view.
    if (view && NewView::IsListed(view))
    {
        while (OpenGLView::GetGLNestingDepth() < saved.depth)
            if (!view->PreOpenGL())
                break;
        NewView::Invalidate(view, true);
    }
    else if (redrawWhenNone && OnGLThread())
        NewView::InvalidateAll(false, true);
}

void InstallGLContextHooks()
{
    SetGLContextHooks(SuspendGLContext, ResumeGLContext);
    SetGLContextHeldQuery(ContextHeld);
}

void CheckGLError(const char* format, ...)
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return;
    va_list args;
    va_start(args, format);
    const std::string label = FormatMessageText(512, format, args);
    va_end(args);
    DebugTrace("GL Error: %s: %s\n", label.c_str(), reinterpret_cast<const char*>(gluErrorString(error)));
}
