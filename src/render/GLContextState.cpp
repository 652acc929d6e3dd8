#include "render/GLContextState.h"

#include "kernel/Messages.h"
#include "render/OpenGLView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

int gDepthBits = -1;
float gPolygonOffsetUnits = 200.0f;
float gDepthPrecisionScale = 1.0f;
bool gFirstFrame = true;
bool gUseStencil = true;
bool gAutoStencil = true;
bool gColorMask[4] = {true, true, true, true};
int gStencilUsedDepth = 0;
int gStencilStep = 0;

namespace
{
// major * 10 + minor.
int VersionNumber(const char* version)
{
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) < 1)
        return 0;
    return major * 10 + minor;
}
}  // namespace

GLCapabilities& GetGLCapabilities()
{
    static GLCapabilities capabilities;
    return capabilities;
}

bool HasGLExtension(const char* extensionList, const char* name)
{
    if (!extensionList || !name || !*name)
        return false;
    const size_t n = std::strlen(name);
    for (const char* p = extensionList; *p;)
    {
        while (*p == ' ')
            ++p;
        const char* word = p;
        while (*p && *p != ' ')
            ++p;
        if (size_t(p - word) >= n)
        {
            size_t i = 0;
            while (i < n && std::tolower(static_cast<unsigned char>(word[i])) ==
                                std::tolower(static_cast<unsigned char>(name[i])))
                ++i;
            if (i == n)
                return true;
        }
    }
    return false;
}

bool WantsTextureUnitCount(const char* version, const char* extensions)
{
    return VersionNumber(version) > 12 || HasGLExtension(extensions, "GL_ARB_multitexture");
}

GLCapabilities ComputeGLCapabilities(const char* version, const char* extensions, int maxTextureUnits,
                                     void* activeTexture)
{
    GLCapabilities c;
    const int v = VersionNumber(version);
    c.edgeClampMode = v > 11 || HasGLExtension(extensions, "GL_EXT_texture_edge_clamp") ||
                              HasGLExtension(extensions, "GL_SGIS_texture_edge_clamp")
                          ? GL_CLAMP_TO_EDGE
                          : GL_CLAMP;
    c.separateSpecular = v > 11 || HasGLExtension(extensions, "GL_EXT_separate_specular_color");
    c.textureUnits = WantsTextureUnitCount(version, extensions) ? maxTextureUnits : 1;
    if (!HasGLExtension(extensions, "GL_EXT_texture_env_combine") &&
        !HasGLExtension(extensions, "GL_ARB_texture_env_combine"))
        c.textureUnits = 1;
    if (c.textureUnits > 1)
    {
        c.activeTexture = activeTexture;
        if (!activeTexture)
            c.textureUnits = 1;
    }
    if (c.textureUnits < 1)
        c.textureUnits = 1;
    return c;
}

float PolygonOffsetUnitsForDepth(int depthBits)
{
    if (depthBits >= 24)
        return 200.0f;
    return std::floor(200.0f / float(1 << (24 - std::max(depthBits, 1)))) + 1.0f;
}

int DepthBitsFromProbe(unsigned read20, unsigned read12, unsigned read4)
{
    if (read20 == 0)
        return 8;
    if (read12 == 0)
        return 16;
    return read4 != 0 ? 32 : 24;
}

void PrepareCoplanarStencil(int step)
{
    OpenGLView* view = OpenGLView::GetCurrentGLView();
    gStencilStep = step;
    switch (step)
    {
    case 1:
        if (gStencilUsedDepth++ == 0)
            glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_NOTEQUAL, 1, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        break;
    case 2:
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        break;
    case 3:
        glStencilFunc(GL_EQUAL, 1, 1);
        glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        if (view)
            view->SetDepthMask(false);
        break;
    case 4:
        --gStencilUsedDepth;
        if (gStencilUsedDepth <= 0)
            glDisable(GL_STENCIL_TEST);
        if (gStencilUsedDepth < 0)
        {
            InternalError("StencilUsedDepth < 0");
            gStencilUsedDepth = 0;
        }
        glStencilFunc(GL_ALWAYS, 0, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glColorMask(gColorMask[0], gColorMask[1], gColorMask[2], gColorMask[3]);
        if (view)
            view->SetDepthMask(true);
        gStencilStep = 0;
        break;
    default:
        break;
    }
    CheckGLError("PrepareCoplanarStencil");
}
