#pragma once

#include "render/CDib.h"

#include <memory>

class OpenGLView;

// A view's picture at any size: the view draws into a framebuffer object of its own context (so
// textures, display lists and fonts stay shared and nothing is rebuilt), with its size, 2D area and
// over-sampling set for the picture and put back afterwards. The picture lands in the render DIB,
// size times over-sampling; the final DIB is the render DIB itself, or a picture of the requested
// size that FillFinal reduces the render into. Made by the image export and by printing, for one
// command.
class OffscreenBitmap
{
public:
    OffscreenBitmap();
    ~OffscreenBitmap();
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // The render DIB of w s x h s and, when s is not 1 or separateFinal, a final DIB of w x h.
    // False after "Failed to create bitmap..." when the memory or the GL's largest buffer is too
    // small.
    bool CreateBitmaps(OpenGLView& view, int w, int h, int s, bool separateFinal);
    // Draws the view into the render DIB (making the DIBs first unless they are there); the view is
    // as before afterwards, but for a redraw mark. False when it could not draw.
    bool Render(OpenGLView& view, int w, int h, int s);
    // The final DIB from the render: the mean of each s x s block. Nothing to do when they are one.
    bool FillFinal();

    CDib* GetRenderDib() { return mRender.get(); }
    CDib* GetFinalDib() { return mFinal ? mFinal.get() : mRender.get(); }
    int GetOverSampling() const { return mOverSampling; }

    // The largest side a buffer may have in this GL; 0 until a render or CreateBitmaps asked.
    static int GetMaxBufferSize();

private:
    std::unique_ptr<CDib> mRender;
    std::unique_ptr<CDib> mFinal;  // null when the render DIB is the final one
    int mOverSampling = 1;
};

// The message of a picture that cannot be made.
inline constexpr const char* kBitmapFailedText = "Failed to create bitmap.\nTry a smaller size or less over-sampling";
