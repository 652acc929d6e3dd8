#pragma once

#include "platform/GLCanvasWindow.h"
#include "view/PolyView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

// A pane's frame as drawn, read before it is shown (rows from the bottom, as GL reads them).
struct PaneFrame
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[3 * (size_t(y) * size_t(width) + size_t(x))]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // The pixel is inside and not black.
    bool Covered(int x, int y) const { return Inside(x, y) && At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 0; }
    // Any pixel within d of (x, y) is of the colour, within tol per channel.
    bool NearColor(int x, int y, int d, const unsigned char c[3], int tol) const
    {
        for (int yy = y - d; yy <= y + d; ++yy)
            for (int xx = x - d; xx <= x + d; ++xx)
                if (Inside(xx, yy) && std::abs(At(xx, yy)[0] - c[0]) <= tol &&
                    std::abs(At(xx, yy)[1] - c[1]) <= tol && std::abs(At(xx, yy)[2] - c[2]) <= tol)
                    return true;
        return false;
    }
    // Pixels of the rectangle that are not black.
    int CountLit(int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
                n += At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 0;
        return n;
    }
};

// Draws the pane now and reads its whole frame.
inline PaneFrame DrawPaneAndRead(CPolyView* pane)
{
    PaneFrame frame;
    pane->GetCanvas()->SetFrameDrawnCallback([&](GLCanvasWindow& canvas) {
        const wxSize size = canvas.GetClientSize() * canvas.GetContentScaleFactor();
        frame.width = size.x;
        frame.height = size.y;
        frame.rgb.assign(size_t(size.x) * size_t(size.y) * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, size.x, size.y, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    });
    pane->OnDraw();
    pane->GetCanvas()->SetFrameDrawnCallback(nullptr);
    return frame;
}
