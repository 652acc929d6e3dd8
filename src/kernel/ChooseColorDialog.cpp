#include "kernel/ChooseColorDialog.h"

#include "kernel/Messages.h"
#include "kernel/UserServices.h"

bool ChooseColorDialog(ColorRGB& color)
{
    uint32_t packed = ColorToRGB(color);
    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const bool ok = Services().ChooseColor(packed);
    ResumeGLContextAfterModal(state);
    if (!ok)
        return false;
    color.r = float(packed & 0xFF) / 255.0f;
    color.g = float((packed >> 8) & 0xFF) / 255.0f;
    color.b = float((packed >> 16) & 0xFF) / 255.0f;
    return true;
}
