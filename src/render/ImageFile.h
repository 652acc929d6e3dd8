#pragma once

#include "render/FreeImageInclude.h"

#include <string>

class wxBitmap;

// Every image the program reads (images on faces, the background, previews, its own pictures) goes
// through here, on FreeImage. A loaded image has 8 bits per channel: paletted or grey 8-bit, 24 or
// 32 bits, so that the texel code below never sees packed bits, 16-bit channels or floats. The
// caller owns the image and frees it with FreeImage_Unload.

FREE_IMAGE_FORMAT GetImageFileType(const std::string& path);
// Null when the file cannot be read (traced, not shown). gif256: GIFs as 256-colour images.
FIBITMAP* LoadImageFile(const std::string& path, bool gif256);
// One of the program's own pictures, from the resources folder beside the program.
FIBITMAP* LoadImageResource(const std::string& name);
// Brings any image to 8 bits per channel, transparency kept; takes over the image given.
FIBITMAP* NormalizeImageDepth(FIBITMAP* image);

// The palette with each entry's alpha in its fourth byte; null without a palette.
RGBQUAD* GetPaletteWithAlpha(FIBITMAP* image);
// The pixel in BGRA order (rgbBlue first), through the palette for paletted images.
bool GetPixelRGBA(FIBITMAP* image, unsigned x, unsigned y, RGBQUAD* out);

struct ImageMargins
{
    int left = 0, top = 0, right = 0, bottom = 0;
};
// A w x h image centred in W x H.
ImageMargins GetCenteringMargins(int w, int h, int W, int H);

// A copy at the new size, each pixel the nearest source pixel.
FIBITMAP* RescaleImageNearest(FIBITMAP* image, int newWidth, int newHeight);

// The texels of an image centred in W x H (0: the image's own sizes), bottom row first, rows packed.
// The margins take the border colour where a side is clamped to a border, else the image's nearest
// pixels. Returns the channel count (1 grey, 2 grey and alpha, 3 RGB, 4 RGBA) and the buffer, which
// the caller frees with delete[]; 0 and null on failure.
int GetOpenGLBuffer(FIBITMAP* image, unsigned char** out, int W, int H, int wrapS, int wrapT,
                    const float* borderColor);

// The image for a dialog (a preview, a picture box).
wxBitmap ImageToBitmap(FIBITMAP* image);
