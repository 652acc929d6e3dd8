#pragma once

// What the program knows of its GL contexts, found on the first context of the run and refined by
// the first frame, and the program-wide GL state that the views share.

// Extension-dependent capabilities, detected once.
struct GLCapabilities
{
    int edgeClampMode = -1;  // -1 until detected, then GL_CLAMP_TO_EDGE or GL_CLAMP
    bool separateSpecular = false;
    int textureUnits = 1;
    void* activeTexture = nullptr;  // glActiveTextureARB when more than one unit is used
};
GLCapabilities& GetGLCapabilities();

// True when name is a case-insensitive prefix of one blank-separated word of the list.
bool HasGLExtension(const char* extensionList, const char* name);
// From a GL_VERSION text ("major.minor ..."), the extension list, GL_MAX_TEXTURE_UNITS (read by the
// caller only when asked through needUnits) and the active-texture entry point.
GLCapabilities ComputeGLCapabilities(const char* version, const char* extensions, int maxTextureUnits,
                                     void* activeTexture);
// Whether the texture-unit count is to be read for this version and extension list.
bool WantsTextureUnitCount(const char* version, const char* extensions);

// Polygon-offset units for a depth buffer of this many bits: 200 at 24 bits and more, less for
// coarser buffers (16 bits give 1).
float PolygonOffsetUnitsForDepth(int depthBits);
// The depth precision from what 32-bit depth values 2^20, 2^12 and 2^4 read back as.
int DepthBitsFromProbe(unsigned read20, unsigned read12, unsigned read4);

// Program-wide GL state.
extern int gDepthBits;              // -1 until a context reports its depth bits
extern float gPolygonOffsetUnits;   // 200
extern float gDepthPrecisionScale;  // 1
extern bool gFirstFrame;            // the next frame is the first of the run
extern bool gUseStencil;            // the setting "UseStencil"; off when a context has no stencil bits
extern bool gAutoStencil;           // the setting "AutoStencil": the coplanar method is chosen per model
extern bool gColorMask[4];          // the colour mask of the eye being drawn
extern int gStencilUsedDepth;
extern int gStencilStep;

// The four steps that keep lines and points lying in a face's plane visible without depth fighting:
// 1 the lines are drawn, marking the stencil; 2 the face is drawn where unmarked; 3 the lines are
// drawn again to clear the marks, writing neither colour nor depth; 4 back to normal.
void PrepareCoplanarStencil(int step);
