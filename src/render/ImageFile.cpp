#include "render/ImageFile.h"

#include "kernel/Messages.h"
#include "kernel/Paths.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <new>

#ifndef GL_CLAMP_TO_BORDER
#define GL_CLAMP_TO_BORDER 0x812D
#endif

namespace
{
// The transparency table survives FreeImage's conversions only where we carry it over.
void CopyTransparency(FIBITMAP* from, FIBITMAP* to)
{
    if (FreeImage_GetTransparencyCount(from) > 0 && FreeImage_GetBPP(to) == 8)
        FreeImage_SetTransparencyTable(to, FreeImage_GetTransparencyTable(from),
                                       int(FreeImage_GetTransparencyCount(from)));
    if (FreeImage_GetTransparentIndex(from) >= 0 && FreeImage_GetBPP(to) == 8)
        FreeImage_SetTransparentIndex(to, FreeImage_GetTransparentIndex(from));
}

FIBITMAP* Replace(FIBITMAP* old, FIBITMAP* converted)
{
    if (!converted)
    {
        FreeImage_Unload(old);
        return nullptr;
    }
    FreeImage_Unload(old);
    return converted;
}

bool PaletteIsGrey(const RGBQUAD* palette, unsigned count)
{
    for (unsigned i = 0; i < count; ++i)
        if (palette[i].rgbRed != palette[i].rgbGreen || palette[i].rgbRed != palette[i].rgbBlue)
            return false;
    return true;
}

// A grey image stored as indices into a grey palette (white first, say) becomes plain grey levels.
void PaletteToGreyLevels(FIBITMAP* image)
{
    RGBQUAD* palette = FreeImage_GetPalette(image);
    const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
    for (unsigned y = 0; y < h; ++y)
    {
        BYTE* row = FreeImage_GetScanLine(image, int(y));
        for (unsigned x = 0; x < w; ++x)
            row[x] = palette[row[x]].rgbRed;
    }
    for (unsigned i = 0; i < 256; ++i)
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = BYTE(i);
}

BYTE ToByte(float component)
{
    return BYTE(std::lround(std::fmin(std::fmax(component, 0.0f), 1.0f) * 255.0f));
}
}  // namespace

FIBITMAP* NormalizeImageDepth(FIBITMAP* image)
{
    if (!image)
        return nullptr;
    switch (FreeImage_GetImageType(image))
    {
    case FIT_BITMAP:
        break;
    case FIT_UINT16:  // the high byte of each grey level
        image = Replace(image, FreeImage_ConvertTo8Bits(image));
        break;
    case FIT_RGB16:
    case FIT_RGBF:
        image = Replace(image, FreeImage_ConvertTo24Bits(image));
        break;
    case FIT_RGBA16:
    case FIT_RGBAF:
        image = Replace(image, FreeImage_ConvertTo32Bits(image));
        break;
    default:
        image = Replace(image, FreeImage_ConvertToStandardType(image, TRUE));
        break;
    }
    if (!image)
        return nullptr;
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp == 1 || bpp == 4)
    {
        FIBITMAP* converted = FreeImage_ConvertTo8Bits(image);
        if (converted)
            CopyTransparency(image, converted);
        image = Replace(image, converted);
    }
    else if (bpp == 16)
        image = Replace(image, FreeImage_ConvertTo24Bits(image));
    if (!image)
        return nullptr;
    if (FreeImage_GetBPP(image) == 8 && !FreeImage_IsTransparent(image) && FreeImage_GetPalette(image) &&
        FreeImage_GetColorType(image) != FIC_MINISBLACK &&
        PaletteIsGrey(FreeImage_GetPalette(image), FreeImage_GetColorsUsed(image)))
        PaletteToGreyLevels(image);
    return image;
}

FREE_IMAGE_FORMAT GetImageFileType(const std::string& path)
{
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(path.c_str());
    return format;
}

FIBITMAP* LoadImageFile(const std::string& path, bool gif256)
{
    const FREE_IMAGE_FORMAT format = GetImageFileType(path);
    int flags = 0;
    if (format == FIF_JPEG || format == FIF_JNG)
        flags = JPEG_ACCURATE;
    else if (format == FIF_GIF && gif256)
        flags = GIF_LOAD256;
    FIBITMAP* image = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.c_str(), flags);
    if (!image)
    {
        DebugTrace("Failed to load image '%s', format %d, flags 0x%x\n", path.c_str(), int(format), flags);
        return nullptr;
    }
    return NormalizeImageDepth(image);
}

FIBITMAP* LoadImageResource(const std::string& name)
{
    const wxString exe = wxStandardPaths::Get().GetExecutablePath();
    const std::string folder = GetFolderPart(exe.utf8_str().data());
    for (const char* place : {"images/", "../resources/images/"})
    {
        const std::string path = folder + place + name;
        if (PathExists(path.c_str()))
            return LoadImageFile(path, false);
    }
    DebugTrace("Can't load resource %s", name.c_str());
    return nullptr;
}

RGBQUAD* GetPaletteWithAlpha(FIBITMAP* image)
{
    RGBQUAD* palette = image ? FreeImage_GetPalette(image) : nullptr;
    if (!palette)
        return nullptr;
    const unsigned used = FreeImage_GetColorsUsed(image);
    const unsigned count = FreeImage_GetTransparencyCount(image);
    const BYTE* table = FreeImage_GetTransparencyTable(image);
    if (count > 0 && table)
    {
        for (unsigned i = 0; i < used; ++i)
            palette[i].rgbReserved = i < count ? table[i] : 255;
    }
    else
    {
        for (unsigned i = 0; i < used; ++i)
            palette[i].rgbReserved = 255;
        const int transparent = FreeImage_GetTransparentIndex(image);
        if (transparent >= 0 && unsigned(transparent) < used)
            palette[transparent].rgbReserved = 0;
    }
    return palette;
}

bool GetPixelRGBA(FIBITMAP* image, unsigned x, unsigned y, RGBQUAD* out)
{
    if (!image || !out)
        return false;
    if (FreeImage_GetBPP(image) >= 16 && FreeImage_GetPixelColor(image, x, y, out))
    {
        if (FreeImage_GetBPP(image) == 24)
            out->rgbReserved = 255;
        return true;
    }
    BYTE index = 0;
    if (!FreeImage_GetPixelIndex(image, x, y, &index))
        return false;
    const RGBQUAD* palette = FreeImage_GetPalette(image);
    if (!palette)
        return false;
    *out = palette[index];
    return true;
}

ImageMargins GetCenteringMargins(int w, int h, int W, int H)
{
    ImageMargins m;
    m.left = (W - w) / 2;
    m.top = (H - h) / 2;
    m.right = W - m.left - w;
    m.bottom = H - m.top - h;
    return m;
}

FIBITMAP* RescaleImageNearest(FIBITMAP* image, int nw, int nh)
{
    if (!image || nw <= 0 || nh <= 0)
        return nullptr;
    const unsigned bpp = FreeImage_GetBPP(image);
    FIBITMAP* out = FreeImage_Allocate(nw, nh, int(bpp), FreeImage_GetRedMask(image), FreeImage_GetGreenMask(image),
                                       FreeImage_GetBlueMask(image));
    if (!out)
        return nullptr;
    if (const RGBQUAD* palette = FreeImage_GetPalette(image))
        std::memcpy(FreeImage_GetPalette(out), palette, FreeImage_GetColorsUsed(image) * sizeof(RGBQUAD));
    CopyTransparency(image, out);
    const int w = int(FreeImage_GetWidth(image)), h = int(FreeImage_GetHeight(image));
    const int bytes = int(bpp / 8);
    const int sx = w / nw, rx = w % nw, sy = h / nh, ry = h % nh;
    int row = sy / 2;
    int accY = nh / 4;
    for (int y = 0; y < nh; ++y)
    {
        const BYTE* src = FreeImage_GetScanLine(image, std::min(row, h - 1));
        BYTE* dst = FreeImage_GetScanLine(out, y);
        int col = sx / 2;
        int accX = nw / 4;
        for (int x = 0; x < nw; ++x)
        {
            std::memcpy(dst + x * bytes, src + std::min(col, w - 1) * bytes, size_t(bytes));
            col += sx;
            accX += rx;
            if (accX >= nw)
            {
                ++col;
                accX -= nw;
            }
        }
        row += sy;
        accY += ry;
        if (accY >= nh)
        {
            ++row;
            accY -= nh;
        }
    }
    return out;
}

int GetOpenGLBuffer(FIBITMAP* image, unsigned char** out, int W, int H, int wrapS, int wrapT, const float* border)
{
    if (!image || !out)
        return 0;
    *out = nullptr;
    const int w = int(FreeImage_GetWidth(image)), h = int(FreeImage_GetHeight(image));
    if (W <= 0)
        W = w;
    if (H <= 0)
        H = h;
    const ImageMargins m = GetCenteringMargins(w, h, W, H);
    const int bytes = int(FreeImage_GetBPP(image) / 8);
    const bool alpha = bytes == 2 || bytes == 4 || (bytes == 1 && FreeImage_IsTransparent(image));
    const bool grey = FreeImage_GetColorType(image) == FIC_MINISBLACK && !alpha;
    int channels = (grey ? 1 : 3) + (alpha ? 1 : 0);
    const bool fillS = border && wrapS == GL_CLAMP_TO_BORDER && w < W;
    const bool fillT = border && wrapT == GL_CLAMP_TO_BORDER && h < H;
    const RGBQUAD* palette = GetPaletteWithAlpha(image);
    if (grey && (fillS || fillT) && (border[0] != border[1] || border[0] != border[2]))
        channels += 2;
    const bool greyOut = channels <= 2;

    auto* buffer = new (std::nothrow) unsigned char[size_t(W) * size_t(H) * size_t(channels)];
    if (!buffer)
    {
        InternalError("GetOpenGLBuffer(): no memory for %d x %d texels", W, H);
        return 0;
    }
    unsigned char borderTexel[4] = {0, 0, 0, 255};
    if (border)
    {
        if (greyOut)
        {
            borderTexel[0] = ToByte(border[0]);
            borderTexel[1] = ToByte(border[3]);
        }
        else
            for (int i = 0; i < 4; ++i)
                borderTexel[i] = ToByte(border[i]);
    }

    // One source pixel as texels of the output.
    const auto convert = [&](const BYTE* p, unsigned char* t) {
        if (grey && !greyOut)
        {
            t[0] = t[1] = t[2] = p[0];
            return;
        }
        if (grey)
        {
            t[0] = p[0];
            return;
        }
        if (bytes >= 3)
        {
            t[0] = p[FI_RGBA_RED];
            t[1] = p[FI_RGBA_GREEN];
            t[2] = p[FI_RGBA_BLUE];
            if (channels == 4)
                t[3] = bytes == 4 ? p[FI_RGBA_ALPHA] : 255;
            return;
        }
        if (palette)
        {
            const RGBQUAD& c = palette[p[0]];
            t[0] = c.rgbRed;
            t[1] = c.rgbGreen;
            t[2] = c.rgbBlue;
            if (channels == 4)
                t[3] = c.rgbReserved;
            return;
        }
        t[0] = t[1] = t[2] = p[0];
        if (channels == 4)
            t[3] = bytes == 2 ? p[1] : 255;
    };
    const size_t rowBytes = size_t(W) * channels;
    const auto fillRow = [&](unsigned char* t, int count) {
        for (int i = 0; i < count; ++i, t += channels)
            std::memcpy(t, borderTexel, size_t(channels));
    };
    const auto imageRow = [&](int y, unsigned char* t) {
        const BYTE* src = FreeImage_GetScanLine(image, y);
        unsigned char first[4], last[4];
        convert(src, first);
        convert(src + (w - 1) * bytes, last);
        for (int i = 0; i < m.left; ++i, t += channels)
            std::memcpy(t, fillS ? borderTexel : first, size_t(channels));
        for (int x = 0; x < w; ++x, t += channels)
            convert(src + x * bytes, t);
        for (int i = 0; i < m.right; ++i, t += channels)
            std::memcpy(t, fillS ? borderTexel : last, size_t(channels));
    };
    unsigned char* t = buffer;
    for (int i = 0; i < m.bottom; ++i, t += rowBytes)
        if (fillS || fillT)
            fillRow(t, W);
        else
            imageRow(0, t);
    for (int y = 0; y < h; ++y, t += rowBytes)
        imageRow(y, t);
    for (int i = 0; i < m.top; ++i, t += rowBytes)
        if (fillS || fillT)
            fillRow(t, W);
        else
            imageRow(h - 1, t);
    *out = buffer;
    return channels;
}

wxBitmap ImageToBitmap(FIBITMAP* image)
{
    if (!image)
        return wxBitmap();
    unsigned char* texels = nullptr;
    const int channels = GetOpenGLBuffer(image, &texels, 0, 0, 0, 0, nullptr);
    if (!channels)
        return wxBitmap();
    const int w = int(FreeImage_GetWidth(image)), h = int(FreeImage_GetHeight(image));
    wxImage picture(w, h, false);
    const bool alpha = channels == 2 || channels == 4;
    if (alpha)
        picture.InitAlpha();
    for (int y = 0; y < h; ++y)
    {
        const unsigned char* t = texels + size_t(y) * w * channels;
        const int row = h - 1 - y;  // the buffer is bottom-up
        for (int x = 0; x < w; ++x, t += channels)
        {
            if (channels <= 2)
                picture.SetRGB(x, row, t[0], t[0], t[0]);
            else
                picture.SetRGB(x, row, t[0], t[1], t[2]);
            if (alpha)
                picture.SetAlpha(x, row, t[channels - 1]);
        }
    }
    delete[] texels;
    return wxBitmap(picture);
}
