#include "platform/GLCanvasWindow.h"

#include <wx/dcclient.h>

#include <GL/gl.h>
#include <GL/glx.h>

#include <algorithm>
#include <vector>

namespace
{
long gMakeCurrentCount = 0;

// Every live context; the first one is the one new contexts share lists and textures with.
std::vector<wxGLContext*>& LiveContexts()
{
    static std::vector<wxGLContext*> contexts;
    return contexts;
}

wxGLAttributes MakeAttributes(int depth, int stencil)
{
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(depth);
    if (stencil > 0)
        attributes.Stencil(stencil);
    attributes.EndList();
    return attributes;
}
}  // namespace

const wxGLAttributes& GLCanvasWindow::DisplayAttributes()
{
    static const wxGLAttributes attributes = [] {
        const int tries[][2] = {{24, 8}, {24, 1}, {16, 1}, {16, 0}};
        for (const auto& t : tries)
        {
            wxGLAttributes a = MakeAttributes(t[0], t[1]);
            if (wxGLCanvas::IsDisplaySupported(a))
                return a;
        }
        return MakeAttributes(16, 0);
    }();
    return attributes;
}

GLCanvasWindow::GLCanvasWindow(wxWindow* parent, wxWindowID id)
    : wxGLCanvas(parent, DisplayAttributes(), id, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE)
{
    // Painting is all ours: no background erase between frames.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &GLCanvasWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &GLCanvasWindow::OnSize, this);
}

GLCanvasWindow::~GLCanvasWindow()
{
    ReleaseContext();
}

void GLCanvasWindow::ReleaseContext()
{
    if (!mContext)
        return;
    auto& contexts = LiveContexts();
    contexts.erase(std::remove(contexts.begin(), contexts.end(), mContext.get()), contexts.end());
    mContext.reset();
}

bool GLCanvasWindow::MakeContextCurrent()
{
    // A window moved to another parent has no drawable until the toolkit realises it again.
    if (!IsShownOnScreen() || GetXWindow() == 0)
        return false;
    if (!mContext)
    {
        auto& contexts = LiveContexts();
        mContext = std::make_unique<wxGLContext>(this, contexts.empty() ? nullptr : contexts.front());
        if (!mContext->IsOK())
        {
            mContext.reset();
            return false;
        }
        contexts.push_back(mContext.get());
    }
    ++gMakeCurrentCount;
    return mContext->SetCurrent(*this);
}

bool GLCanvasWindow::RecreateContext()
{
    if (!mContext)
        return MakeContextCurrent();
    auto fresh = std::make_unique<wxGLContext>(this, mContext.get());
    if (!fresh->IsOK())
        return false;
    auto& contexts = LiveContexts();
    std::replace(contexts.begin(), contexts.end(), mContext.get(), fresh.get());
    mContext = std::move(fresh);
    return true;
}

void GLCanvasWindow::ReleaseCurrentContext()
{
    if (Display* display = glXGetCurrentDisplay())
        glXMakeCurrent(display, None, nullptr);
}

long GLCanvasWindow::CountMakeCurrent()
{
    return gMakeCurrentCount;
}

void* GLCanvasWindow::GetProcAddress(const char* name)
{
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

void GLCanvasWindow::SetFrameDrawnCallback(std::function<void(GLCanvasWindow&)> callback)
{
    mFrameDrawn = std::move(callback);
}

bool GLCanvasWindow::DrawFrame()
{
    if (!MakeContextCurrent())
        return false;
    const wxSize size = GetClientSize() * GetContentScaleFactor();
    glViewport(0, 0, size.x, size.y);
    Render();
    FinishFrame();
    return true;
}

void GLCanvasWindow::FinishFrame()
{
    if (mFrameDrawn)
        mFrameDrawn(*this);
    SwapBuffers();
}

void GLCanvasWindow::PaintNow()
{
    DrawFrame();
}

void GLCanvasWindow::Render()
{
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GLCanvasWindow::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);  // validates the damaged region even when nothing can be drawn yet
    PaintNow();
}

void GLCanvasWindow::OnSize(wxSizeEvent& event)
{
    Refresh(false);
    event.Skip();
}
