#include "render/OffscreenBitmap.h"

#include "kernel/Messages.h"
#include "platform/GLCanvasWindow.h"
#include "render/GLContextState.h"
#include "render/OpenGLView.h"
#include "render/RasterText.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace
{
int gMaxBufferSize = 0;

// The framebuffer-object entry points, looked up once; all null when the GL has none.
struct FramebufferCalls
{
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

    bool Load()
    {
        if (genFramebuffers)
            return true;
        auto get = [](const char* name) { return GLCanvasWindow::GetProcAddress(name); };
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(get("glGenFramebuffers"));
        deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(get("glDeleteFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(get("glBindFramebuffer"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(get("glGenRenderbuffers"));
        deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(get("glDeleteRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(get("glBindRenderbuffer"));
        renderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(get("glRenderbufferStorage"));
        framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(get("glFramebufferRenderbuffer"));
        checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(get("glCheckFramebufferStatus"));
        const bool all = genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers &&
                         deleteRenderbuffers && bindRenderbuffer && renderbufferStorage && framebufferRenderbuffer &&
                         checkFramebufferStatus;
        if (!all)
            genFramebuffers = nullptr;
        return all;
    }
};

FramebufferCalls& Calls()
{
    static FramebufferCalls calls;
    return calls;
}

// A framebuffer object with colour and depth-stencil renderbuffers, bound while it lives. The
// view's context must be current for its whole life.
class ScopedFramebuffer
{
public:
    bool Create(int w, int h)
    {
        FramebufferCalls& gl = Calls();
        if (!gl.Load())
            return false;
        gl.genFramebuffers(1, &mFramebuffer);
        gl.genRenderbuffers(2, mRenderbuffers);
        gl.bindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
        gl.bindRenderbuffer(GL_RENDERBUFFER, mRenderbuffers[0]);
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, mRenderbuffers[0]);
        gl.bindRenderbuffer(GL_RENDERBUFFER, mRenderbuffers[1]);
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, mRenderbuffers[1]);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, mRenderbuffers[1]);
        gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
        const bool complete = gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        // A storage that could not be had leaves an error behind; it is answered here.
        while (glGetError() != GL_NO_ERROR)
        {
        }
        return complete;
    }
    ~ScopedFramebuffer()
    {
        FramebufferCalls& gl = Calls();
        if (!mFramebuffer)
            return;
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.deleteRenderbuffers(2, mRenderbuffers);
        gl.deleteFramebuffers(1, &mFramebuffer);
    }

private:
    GLuint mFramebuffer = 0;
    GLuint mRenderbuffers[2] = {0, 0};
};

// The largest side of a buffer in the current context.
int QueryMaxBufferSize()
{
    GLint renderbuffer = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    while (glGetError() != GL_NO_ERROR)
    {
    }
    return std::min({int(renderbuffer), int(viewport[0]), int(viewport[1])});
}
}  // namespace

OffscreenBitmap::OffscreenBitmap() = default;
OffscreenBitmap::~OffscreenBitmap() = default;

int OffscreenBitmap::GetMaxBufferSize()
{
    return gMaxBufferSize;
}

bool OffscreenBitmap::CreateBitmaps(OpenGLView& view, int w, int h, int s, bool separateFinal)
{
    mRender.reset();
    mFinal.reset();
    mOverSampling = std::max(s, 1);
    if (view.PreOpenGL())
    {
        gMaxBufferSize = QueryMaxBufferSize();
        view.PostOpenGL();
    }
    const long long rw = (long long)w * mOverSampling;
    const long long rh = (long long)h * mOverSampling;
    bool ok = w > 0 && h > 0 && gMaxBufferSize > 0 && rw <= gMaxBufferSize && rh <= gMaxBufferSize;
    if (ok)
    {
        mRender = std::make_unique<CDib>(int(rw), int(rh), 24);
        ok = mRender->CreateBits();
    }
    if (ok && (mOverSampling != 1 || separateFinal))
    {
        mFinal = std::make_unique<CDib>(w, h, 24);
        ok = mFinal->CreateBits();
    }
    if (!ok)
    {
        mRender.reset();
        mFinal.reset();
        ErrorMessage("%s", kBitmapFailedText);
    }
    return ok;
}

bool OffscreenBitmap::FillFinal()
{
    if (!mRender || !mFinal)
        return mRender != nullptr;
    return mFinal->ReduceFrom(*mRender, mOverSampling);
}

bool OffscreenBitmap::Render(OpenGLView& view, int w, int h, int s)
{
    s = std::max(s, 1);
    if ((!mRender || mRender->GetWidth() != w * s || mRender->GetHeight() != h * s) &&
        !CreateBitmaps(view, w, h, s, false))
        return false;
    if (!view.PreOpenGL())
        return false;
    ScopedFramebuffer framebuffer;
    if (!framebuffer.Create(w * s, h * s))
    {
        view.PostOpenGL();
        ErrorMessage("%s", kBitmapFailedText);
        return false;
    }

    // What the picture changes in the view, to be put back field by field.
    const int savedWidth = view.GetWidth();
    const int savedHeight = view.GetHeight();
    const float savedScrollX = view.mScrollX;
    const float savedScrollY = view.mScrollY;
    const float savedDocWidth = view.mDocWidth;
    const float savedDocHeight = view.mDocHeight;
    const int savedDepthBits = gDepthBits;
    const float savedOffsetUnits = gPolygonOffsetUnits;
    const int marks = view.GetRedrawMarks();

    const int bw = w * s;
    const int bh = h * s;
    view.SetDrawingSize(bw, bh);
    // The 2D area grows about the middle of what the window showed.
    if (savedHeight > 0)
    {
        const float f = float(bh) / float(savedHeight);
        auto scale = [f](float doc, float window, float scroll, float bitmap, float& outDoc, float& outScroll) {
            const float centre = doc < window ? doc / 2.0f : window / 2.0f + scroll;
            outDoc = doc * f;
            outScroll = outDoc < bitmap ? 0.0f : centre * f - bitmap / 2.0f;
        };
        scale(savedDocWidth, float(savedWidth), savedScrollX, float(bw), view.mDocWidth, view.mScrollX);
        scale(savedDocHeight, float(savedHeight), savedScrollY, float(bh), view.mDocHeight, view.mScrollY);
    }
    view.UpdateAspect();
    view.mWindowMatrixValid = false;
    NewView::Invalidate(&view, true);
    view.mOffscreen = true;
    view.mOverSampling *= s;
    view.mLineStipple = -1;

    view.OnDraw();

    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, bw, bh, GL_BGR, GL_UNSIGNED_BYTE, mRender->GetBits());
    const bool read = glGetError() == GL_NO_ERROR;

    view.mOffscreen = false;
    view.mOverSampling /= s;
    view.mLineStipple = -1;
    view.SetDrawingSize(savedWidth, savedHeight);
    view.mScrollX = savedScrollX;
    view.mScrollY = savedScrollY;
    view.mDocWidth = savedDocWidth;
    view.mDocHeight = savedDocHeight;
    gDepthBits = savedDepthBits;
    gPolygonOffsetUnits = savedOffsetUnits;
    view.SetRedrawMarks(marks);
    view.UpdateAspect();
    view.mWindowMatrixValid = false;
    view.PostOpenGL();
    NewView::Invalidate(&view, true);
    if (!read)
        DebugTrace("OffscreenBitmap::Render(): the picture could not be read back\n");
    return read;
}
