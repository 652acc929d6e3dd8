#include "render/OpenGLView.h"

#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/UiThread.h"
#include "platform/GLCanvasWindow.h"
#include "render/DrawPrimitives.h"
#include "render/GLSelection.h"
#include "render/RasterText.h"
#include "render/TranslucentQueue.h"

#include <wx/sizer.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string>
#include <thread>

// The canvas under a view: its frames are the view's.
class OpenGLViewCanvas : public GLCanvasWindow
{
public:
    explicit OpenGLViewCanvas(OpenGLView* view) : GLCanvasWindow(view), mView(view) {}

protected:
    void Render() override { mView->DrawFrameInContext(); }

private:
    OpenGLView* mView;
};

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

// The screen-door pattern: every other pixel of every other row.
const GLubyte* StipplePattern()
{
    static GLubyte pattern[128] = {};
    static bool made = false;
    if (!made)
    {
        for (int row = 0; row < 32; row += 2)
            for (int b = 0; b < 4; ++b)
                pattern[row * 4 + b] = 0xAA;
        made = true;
    }
    return pattern;
}

// The inverse of the upper 3x3 of a column-major 4x4 matrix; false when singular.
bool Invert3x3(const double m[16], double inv[9])
{
    const double a = m[0], b = m[4], c = m[8];
    const double d = m[1], e = m[5], f = m[9];
    const double g = m[2], h = m[6], k = m[10];
    const double det = a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g);
    if (std::fabs(det) < 1e-300)
        return false;
    // Row-major result.
    inv[0] = (e * k - f * h) / det;
    inv[1] = (c * h - b * k) / det;
    inv[2] = (b * f - c * e) / det;
    inv[3] = (f * g - d * k) / det;
    inv[4] = (a * k - c * g) / det;
    inv[5] = (c * d - a * f) / det;
    inv[6] = (d * h - e * g) / det;
    inv[7] = (b * g - a * h) / det;
    inv[8] = (a * e - b * d) / det;
    return true;
}

// Markup of scene labels, dropped until scene fonts show it.
std::string PlainLabel(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p)
    {
        if (*p == '<')
        {
            const char* end = std::strchr(p, '>');
            if (end)
            {
                p = end;
                continue;
            }
        }
        if (*p == ':' && std::strncmp(p, ":<in>", 5) == 0)
        {
            p += 4;
            continue;
        }
        out += *p;
    }
    return out;
}
}  // namespace

OpenGLView::OpenGLView(wxWindow* parent, wxWindowID id) : NewView(parent, id)
{
    InstallGLContextHooks();
    mCanvas = new OpenGLViewCanvas(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(mCanvas, 1, wxEXPAND);
    SetSizer(sizer);
}

OpenGLView::~OpenGLView()
{
    // A view going away while current leaves no dangling current view behind.
    if (gCurrentView == this)
    {
        gCurrentView = nullptr;
        gDepth = 0;
    }
}

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
    if (!mSelectionMode && (!mGLEnabled || !mCanvas->MakeContextCurrent()))
        return false;
    ++gDepth;
    gCurrentView = this;
    gGLThread = std::this_thread::get_id();
    gHaveGLThread = true;
    if (!mStateInitialised)
        InitOpenGLState();
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
    // The GLX context may stay bound; what counts is that no view holds it between messages.
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
        Layout();
        Invalidate(this, true);
    }
    return mGLForPrinting;
}

void OpenGLView::OnDraw()
{
    if (!mGLEnabled)
    {
        DrawWithoutGL();
        ClearRedrawFlags(this);
        return;
    }
    if (!mCanvas->DrawFrame())
        return;  // no context yet: the first paint draws
}

void OpenGLView::RepaintNow()
{
    if (mGLEnabled && mCanvas->IsShownOnScreen())
        OnDraw();
    else
        NewView::RepaintNow();
}

void OpenGLView::DrawFrameInContext()
{
    if (gDrawing)
        return;
    gDrawing = true;
    PrepareForDraw();
    if (PreOpenGL())
    {
        SetLighting(mLighting);
        glLineWidth(1.0f);
        glPointSize(1.0f);
        ClearBackground();
        DrawBackground();
        {
            ScopedSceneDrawer drawing(this);
            DrawScene();
            FlushTranslucentQueue();
        }
        CheckGLError("OpenGLView::OnDraw");
        PostOpenGL();
    }
    ClearRedrawFlags(this);
    gDrawing = false;
}

void OpenGLView::InitOpenGLState()
{
    mStateInitialised = true;
    mBlendMode = 0;
    mCullMode = -1;
    mDepthMask = true;
    glClearDepth(1.0);
    if (m3D)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    SetCullMode(0);
    // One white light from the viewer until the light sets take over.
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    PrepareTextures();
    CheckGLError("InitOpenGLState");
}

void OpenGLView::ClearBackground()
{
    const ColorRGB& c = GetBackgroundColor();
    if (IsPrinting())
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    else
        glClearColor(c.r, c.g, c.b, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

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

bool OpenGLView::UseDefaultLights(bool on)
{
    return SetLighting(on);
}

void OpenGLView::UseRainbowLights(bool on)
{
    SetLighting(on);
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

int OpenGLView::SetCullMode(int mode)
{
    const int previous = mCullMode;
    if (mode == mCullMode)
        return previous;
    mCullMode = mode;
    if (mode == 0)
        glDisable(GL_CULL_FACE);
    else
    {
        glCullFace(mode == 2 ? GL_FRONT : GL_BACK);
        if (previous <= 0)
            glEnable(GL_CULL_FACE);
    }
    return previous;
}

bool OpenGLView::SetDepthMask(bool on)
{
    const bool previous = mDepthMask;
    if (on != mDepthMask)
    {
        mDepthMask = on;
        glDepthMask(on ? GL_TRUE : GL_FALSE);
    }
    return previous;
}

void OpenGLView::SetColor3f(float r, float g, float b)
{
    SetColor4f(r, g, b, 1.0f);
}

void OpenGLView::SetColor4f(float r, float g, float b, float a)
{
    if (mStereoMode == 10)
        r = g = b = IsPrinting() ? 0.0f : 1.0f;
    else if (AllWhiteMode())
        r = g = b = 1.0f;
    glColor4f(r, g, b, a);
}

void OpenGLView::SetMaterialColor4f(float r, float g, float b, float a)
{
    if (AllWhiteMode())
        r = g = b = 1.0f;
    else if (GetRenderSettings().renderFlags && m3D)
        r = g = b = std::max(r, std::max(g, b));  // the coloured lights tint the grey
    if (mStereoMode == 10)
    {
        if (!m3D)
        {
            glColor4f(r, g, b, a);
            return;
        }
        r = g = b = std::max(r, std::max(g, b));
    }
    if (m3D && mLighting && !AllWhiteMode())
    {
        const GLfloat color[4] = {r, g, b, a};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, color);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, color);
    }
    else
        glColor4f(r, g, b, a);
}

void OpenGLView::SetMaterialColorAlpha(const ColorRGB& color, float alpha)
{
    SetMaterialColor4f(color.r, color.g, color.b, alpha);
}

void OpenGLView::SetMaterialSpecular(float grey)
{
    if (!(m3D && mLighting))
        return;
    const GLfloat specular[4] = {grey, grey, grey, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

int OpenGLView::SetBlendMode(int mode)
{
    const int previous = mBlendMode;
    if (mSelectionMode || mode == mBlendMode)
        return previous;
    glDisable(previous == 1 ? GL_POLYGON_STIPPLE : GL_BLEND);
    switch (mode)
    {
    case 1:
        glPolygonStipple(StipplePattern());
        glEnable(GL_POLYGON_STIPPLE);
        break;
    case 2:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case 3:
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
        break;
    default:
        break;
    }
    mBlendMode = mode;
    return previous;
}

void OpenGLView::DisableTexture()
{
    glDisable(GL_TEXTURE_2D);
}

void OpenGLView::ApplyFontTextureState()
{
    // The raster font draws pixels, not textured quads.
    glDisable(GL_TEXTURE_2D);
}

void OpenGLView::DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                              const Vec3D* startAxis)
{
    ::DrawCircle3D(centre, normal, radius, segments, filled, startAxis);
}

void OpenGLView::DrawSceneText(uint32_t /*settings*/, const Vec3D& anchor, double /*size*/, const char* text,
                               int /*flags*/, const Vec3D& normal, const Vec3D* /*direction*/)
{
    if (!text || !*text)
        return;
    // Until scene fonts place and size labels, a label is raster text lifted off its element.
    Vec3D at = anchor;
    double lift = GetTextOffset();
    if (GetTextOffsetMode() == 1)
    {
        const double length = Vec3Length(normal);
        lift = length > 0.0 ? lift / length : 0.0;
    }
    Vec3AddScaledTo(at, lift, normal);
    const float* c = GetRenderSettings().sceneTextColor;
    SetColor4f(c[0], c[1], c[2], c[3]);
    DrawRasterText(PlainLabel(text).c_str(), at);
}

void OpenGLView::DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                               const Vec3D& zAxis, double length, const ColorRGB* color)
{
    if (color)
        SetColor3f(color->r, color->g, color->b);
    else
        SetColor3f(1.0f, 1.0f, 1.0f);
    DrawRasterText(text, point);
    const Vec3D* axes[3] = {&xAxis, &yAxis, &zAxis};
    const float tints[3][3] = {{1.0f, 0.5f, 0.5f}, {0.5f, 1.0f, 0.5f}, {0.5f, 0.5f, 1.0f}};
    for (int i = 0; i < 3; ++i)
    {
        SetColor3f(tints[i][0], tints[i][1], tints[i][2]);
        Vec3D end;
        Vec3AddScaled(end, point, length, *axes[i]);
        glBegin(GL_LINES);
        glVertex3d(point.x, point.y, point.z);
        glVertex3d(end.x, end.y, end.z);
        glEnd();
    }
}

void OpenGLView::DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize)
{
    Vec3D viewer;
    bool perspective = false;
    GetViewer(viewer, perspective);
    Vec3D backward = viewer;
    if (perspective)
    {
        Vec3D mid;
        Vec3Midpoint(mid, from, to);
        Vec3Sub(backward, viewer, mid);
        Vec3Normalize(backward);
    }
    DrawDoubleArrow3D(from, to, headSize, backward);
}

float OpenGLView::SetLineWidth(float width)
{
    GLfloat previous = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &previous);
    glLineWidth(width);
    return previous;
}

void OpenGLView::DrawLines(const Vec3D* ends, const float* rgba, int count)
{
    if (count <= 0)
        return;
    glBegin(GL_LINES);
    for (int i = 0; i < count; ++i)
    {
        SetColor4f(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]);
        glVertex3d(ends[2 * i].x, ends[2 * i].y, ends[2 * i].z);
        glVertex3d(ends[2 * i + 1].x, ends[2 * i + 1].y, ends[2 * i + 1].z);
    }
    glEnd();
}

void OpenGLView::DrawTextAtPoint(const char* text, const Vec2D& point, int flags)
{
    DrawRasterText2D(text, point.x, point.y, (flags & 1) != 0);
}

void OpenGLView::GetViewer(Vec3D& eyeOrDirection, bool& perspective) const
{
    eyeOrDirection = Vec3D{0, 0, 1};
    perspective = false;
    if (gCurrentView != this)
        return;
    double modelview[16], projection[16], inv[9];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    if (!Invert3x3(modelview, inv))
        return;
    perspective = projection[15] == 0.0 && projection[11] != 0.0;
    if (perspective)
    {
        // The eye at the origin of eye space, taken back into the model.
        const double t[3] = {modelview[12], modelview[13], modelview[14]};
        for (int i = 0; i < 3; ++i)
            eyeOrDirection[i] = -(inv[3 * i] * t[0] + inv[3 * i + 1] * t[1] + inv[3 * i + 2] * t[2]);
    }
    else
    {
        // Eye space looks along -z: +z points at the viewer.
        for (int i = 0; i < 3; ++i)
            eyeOrDirection[i] = inv[3 * i + 2];
    }
}

bool OpenGLView::IsFacingViewer(const Vec3D& point, const Vec3D& normal)
{
    Vec3D viewer;
    bool perspective = false;
    GetViewer(viewer, perspective);
    if (!perspective)
        return Vec3Dot(normal, viewer) > 0.0;
    Vec3D toEye;
    Vec3Sub(toEye, viewer, point);
    return Vec3Dot(normal, toEye) > 0.0;
}

void OpenGLView::SetGLSelectionItem(int itemType, int index)
{
    if (mSelectionMode)
        ::SetGLSelectionItem(itemType, index);
}

void OpenGLView::ClearGLSelectionItem()
{
    if (mSelectionMode)
        ::ClearGLSelectionItem();
}

bool OpenGLView::AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags,
                             double scale, FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints)
{
    return TranslucentQueue::AddTriangle(corners, normal, rgba, flags, scale, image, mapping, texPoints);
}

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

void SetKitStyle(bool on)
{
    GetRenderSettings().kitStyle = on;
    GetShell().InfoNeedsUpdate(15);
    NewView::InvalidateAll(false, true);
}
