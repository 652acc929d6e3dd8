#include "platform/GLCapture.h"

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <vector>

bool SaveBackBufferAsPpm(const std::string& path, int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file)
        return false;
    std::fprintf(file.get(), "P6\n%d %d\n255\n", width, height);
    const size_t rowBytes = size_t(width) * 3;
    // GL rows run bottom to top.
    for (int y = height - 1; y >= 0; --y)
        if (std::fwrite(pixels.data() + size_t(y) * rowBytes, 1, rowBytes, file.get()) != rowBytes)
            return false;
    return std::fflush(file.get()) == 0;
}
