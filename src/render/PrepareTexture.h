#pragma once

#include "render/FreeImageInclude.h"

#include <GL/gl.h>

class OpenGLView;

// Images become OpenGL textures here: power-of-two sizes, a one-texel border of a chosen colour for
// clamping to a border, an edge colour found from the image when none is given, mipmaps built so
// that the border survives at every level, updates in place, and a second texture of the alpha.

inline constexpr int kTextureRepeatS = 0x01;
inline constexpr int kTextureRepeatT = 0x02;
inline constexpr int kTextureBorderS = 0x04;
inline constexpr int kTextureBorderT = 0x08;
inline constexpr int kTextureMipmaps = 0x10;
inline constexpr int kTextureAlphaMask = 0x20;
inline constexpr int kTextureKeepStorage = 0x40;
inline constexpr int kTextureNearest = 0x80;

struct TextureRequest
{
    GLuint name = 0;
    FIBITMAP* image = nullptr;
    int flags = 0;
    GLuint secondName = 0;  // receives the alpha of an image with an alpha channel; 0 none
    int* maximumSize = nullptr;  // lowered to what the GL allows; null: the GL's limit
    float* edgeColor = nullptr;  // out: the colour of the image's edge
    const float* borderColor = nullptr;  // null: the edge colour just found
    // The sizes of the last upload: read for the in-place test, then written.
    int* imageWidth = nullptr;
    int* imageHeight = nullptr;
    int* textureWidth = nullptr;
    int* textureHeight = nullptr;
};

// The view whose context is current, else the active one, else the first; null when none exists.
OpenGLView* GetAnyGLView();

// Fills the texture; returns the channel count (1 to 4), 0 without a view.
int PrepareTexture(TextureRequest request);

// Mipmap levels 1 and up from level 0's texels (overwritten in place); the colours, when given, fill
// the first and last texel of each row (colourS) and the first and last row (colourT).
void BuildMipmaps(int channels, int width, int height, GLenum format, unsigned char* pixels, const float* colorS,
                  const float* colorT);

// The colour of the image's edge: a colour covering more than a quarter of it in long runs, else
// the average. Components are 0..1.
void FindEdgeColor(FIBITMAP* image, float color[4]);

// One of the program's own pictures as a texture; -1 when it cannot be loaded.
int LoadTextureResource(GLuint name, const char* resource, int flags, int maximumSize, float* edgeColor,
                        const float* borderColor);

// Binds the texture and turns texturing on, when the name is a texture.
void BindTexture(GLuint name);
void DisableTexture();
// Reflections: the texture on unit 1 with sphere-map coordinates.
void BindSphereMapTexture(GLuint name);
void DisableSphereMapTexture();
