#include "render/PrepareTexture.h"

#include "render/GLContextState.h"
#include "render/ImageFile.h"
#include "render/OpenGLView.h"

#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
// A colour of the edge and how many pixels its long runs cover.
struct RunColour
{
    unsigned char rgba[4];
    int total;
};

struct EdgeTrack
{
    RGBQUAD last{};
    int run = 0;
};

void FlushRun(EdgeTrack& track, std::vector<RunColour>& colours)
{
    if (track.run <= 4)
        return;
    const unsigned char c[4] = {track.last.rgbRed, track.last.rgbGreen, track.last.rgbBlue, track.last.rgbReserved};
    for (size_t i = 0; i < colours.size(); ++i)
        if (std::memcmp(colours[i].rgba, c, 4) == 0)
        {
            colours[i].total += track.run;
            // Move to front: an edge has few colours and the same ones come back.
            std::rotate(colours.begin(), colours.begin() + long(i), colours.begin() + long(i) + 1);
            return;
        }
    RunColour added;
    std::memcpy(added.rgba, c, 4);
    added.total = track.run;
    colours.insert(colours.begin(), added);
}

void AddEdgeRun(EdgeTrack& track, const RGBQUAD& p, std::vector<RunColour>& colours)
{
    if (track.run > 0 && std::memcmp(&track.last, &p, sizeof(RGBQUAD)) == 0)
    {
        ++track.run;
        return;
    }
    FlushRun(track, colours);
    track.last = p;
    track.run = 1;
}

int TextureSide(int needed, int maximum)
{
    if (needed < 2)
        return 1;
    int side = 1;
    while (side < needed && side < maximum)
        side *= 2;
    return side;
}

GLenum FormatOf(int channels, bool alphaMask)
{
    switch (channels)
    {
    case 4:
        return GL_RGBA;
    case 3:
        return GL_RGB;
    case 2:
        return GL_LUMINANCE_ALPHA;
    default:
        return alphaMask ? GL_ALPHA : GL_LUMINANCE;
    }
}

GLint GLWrap(bool repeat)
{
    if (repeat)
        return GL_REPEAT;
    const int clamp = GetGLCapabilities().edgeClampMode;
    return clamp > 0 ? GLint(clamp) : GLint(GL_CLAMP);
}

void FillBorderTexels(unsigned char* pixels, int c, int w, int h, const float* colorS, const float* colorT)
{
    unsigned char s[4], t[4];
    for (int i = 0; i < 4; ++i)
    {
        s[i] = colorS ? (unsigned char)std::lround(colorS[i] * 255.0f) : 0;
        t[i] = colorT ? (unsigned char)std::lround(colorT[i] * 255.0f) : 0;
    }
    // Luminance formats take the red component (and alpha for the second channel).
    if (c <= 2)
    {
        s[1] = s[3];
        t[1] = t[3];
    }
    if (colorS)
        for (int y = 0; y < h; ++y)
        {
            std::memcpy(pixels + size_t(y) * w * c, s, size_t(c));
            std::memcpy(pixels + (size_t(y) * w + (w - 1)) * c, s, size_t(c));
        }
    if (colorT)
        for (int x = 0; x < w; ++x)
        {
            std::memcpy(pixels + size_t(x) * c, t, size_t(c));
            std::memcpy(pixels + (size_t(h - 1) * w + x) * c, t, size_t(c));
        }
}
}  // namespace

OpenGLView* GetAnyGLView()
{
    if (OpenGLView* current = OpenGLView::GetCurrentGLView())
        return current;
    if (auto* active = dynamic_cast<OpenGLView*>(NewView::GetActiveView()))
        return active;
    return dynamic_cast<OpenGLView*>(NewView::GetFirstView());
}

void FindEdgeColor(FIBITMAP* image, float color[4])
{
    const int w = int(FreeImage_GetWidth(image)), h = int(FreeImage_GetHeight(image));
    std::vector<RunColour> colours;
    EdgeTrack tracks[2];
    double sums[4] = {0, 0, 0, 0};
    int n = 0;
    const auto visit = [&](int x, int y, int track) {
        RGBQUAD p{};
        if (!GetPixelRGBA(image, unsigned(x), unsigned(y), &p))
            return;
        sums[0] += p.rgbRed;
        sums[1] += p.rgbGreen;
        sums[2] += p.rgbBlue;
        sums[3] += p.rgbReserved;
        ++n;
        AddEdgeRun(tracks[track], p, colours);
    };
    for (int x = 0; x < w; ++x)
    {
        visit(x, 0, 0);
        if (h > 1)
            visit(x, h - 1, 1);
    }
    for (int y = 1; y < h - 1; ++y)
    {
        visit(0, y, 0);
        if (w > 1)
            visit(w - 1, y, 1);
    }
    FlushRun(tracks[0], colours);
    FlushRun(tracks[1], colours);
    if (n == 0)
    {
        color[0] = color[1] = color[2] = 0.0f;
        color[3] = 1.0f;
        return;
    }
    const RunColour* best = nullptr;
    for (const RunColour& c : colours)
        if (!best || c.total > best->total)
            best = &c;
    for (int i = 0; i < 4; ++i)
        color[i] = best && best->total * 4 > n ? best->rgba[i] / 255.0f : float(sums[i] / (n * 255.0));
    for (int i = 0; i < 4; ++i)
        if (color[i] < 1.0f / 510.0f)
            color[i] = 0.0f;
}

void BuildMipmaps(int c, int w, int h, GLenum format, unsigned char* pixels, const float* colorS, const float* colorT)
{
    for (int level = 1; w > 1 || h > 1; ++level)
    {
        const int nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
        const int n = (w > 1 ? 2 : 1) * (h > 1 ? 2 : 1);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x)
                for (int k = 0; k < c; ++k)
                {
                    int sum = 0;
                    for (int dy = 0; dy < (h > 1 ? 2 : 1); ++dy)
                        for (int dx = 0; dx < (w > 1 ? 2 : 1); ++dx)
                        {
                            const int sx = w > 1 ? 2 * x + dx : 0, sy = h > 1 ? 2 * y + dy : 0;
                            sum += pixels[(size_t(sy) * w + sx) * c + k];
                        }
                    // In place: each new texel sits at or before every source texel still unread.
                    pixels[(size_t(y) * nw + x) * c + k] = (unsigned char)((sum + n / 2) / n);
                }
        w = nw;
        h = nh;
        FillBorderTexels(pixels, c, w, h, colorS, colorT);
        glTexImage2D(GL_TEXTURE_2D, level, GLint(format), w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    }
}

int PrepareTexture(TextureRequest r)
{
    OpenGLView* view = GetAnyGLView();
    if (!view || !r.image)
        return 0;
    if (!view->PreOpenGL())
        return 0;
    const bool repeatS = r.flags & kTextureRepeatS, repeatT = r.flags & kTextureRepeatT;
    const bool borderS = !repeatS && (r.flags & kTextureBorderS), borderT = !repeatT && (r.flags & kTextureBorderT);
    const bool mipmaps = r.flags & kTextureMipmaps;
    bool keep = r.flags & kTextureKeepStorage;

    GLint glMax = 1024;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &glMax);
    int maximum = r.maximumSize ? std::min(*r.maximumSize, int(glMax)) : int(glMax);
    maximum = std::max(maximum, 1);
    if (r.maximumSize)
        *r.maximumSize = maximum;
    FIBITMAP* image = r.image;
    const int w = int(FreeImage_GetWidth(image)), h = int(FreeImage_GetHeight(image));

    float edge[4] = {0, 0, 0, 1};
    if (!keep && r.edgeColor)
    {
        FindEdgeColor(image, edge);
        std::memcpy(r.edgeColor, edge, sizeof(edge));
    }
    const int bS = borderS ? 1 : 0, bT = borderT ? 1 : 0;
    const int W = w + 2 * bS, H = h + 2 * bT;
    int tw = TextureSide(W, maximum), th = TextureSide(H, maximum);
    if (!mipmaps)
    {
        if (repeatS && tw > 1 && W < tw * 3 / 4)
            tw /= 2;
        if (repeatT && th > 1 && H < th * 3 / 4)
            th /= 2;
    }
    const int iw = (repeatS || tw < W) ? std::max(tw - 2 * bS, 1) : w;
    const int ih = (repeatT || th < H) ? std::max(th - 2 * bT, 1) : h;
    FIBITMAP* scaled = nullptr;
    if (iw != w || ih != h)
    {
        scaled = mipmaps ? FreeImage_Rescale(image, iw, ih, FILTER_BILINEAR) : RescaleImageNearest(image, iw, ih);
        if (scaled)
            image = scaled;
    }
    const int imageW = int(FreeImage_GetWidth(image)), imageH = int(FreeImage_GetHeight(image));
    if (keep)
        keep = (!r.imageWidth || *r.imageWidth == imageW) && (!r.imageHeight || *r.imageHeight == imageH) &&
               (!r.textureWidth || *r.textureWidth == tw) && (!r.textureHeight || *r.textureHeight == th);
    if (r.imageWidth)
        *r.imageWidth = imageW;
    if (r.imageHeight)
        *r.imageHeight = imageH;
    if (r.textureWidth)
        *r.textureWidth = tw;
    if (r.textureHeight)
        *r.textureHeight = th;

    glBindTexture(GL_TEXTURE_2D, r.name);
    const GLint magnify = (r.flags & kTextureNearest) ? GL_NEAREST : GL_LINEAR;
    if (!keep)
    {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLWrap(repeatS));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLWrap(repeatT));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
    }
    const float* border = r.borderColor ? r.borderColor : (r.edgeColor ? r.edgeColor : edge);
    unsigned char* pixels = nullptr;
    const int wrapS = borderS ? GL_CLAMP_TO_BORDER : (repeatS ? GL_REPEAT : GL_CLAMP);
    const int wrapT = borderT ? GL_CLAMP_TO_BORDER : (repeatT ? GL_REPEAT : GL_CLAMP);
    const int c = keep ? GetOpenGLBuffer(image, &pixels, 0, 0, wrapS, wrapT, border)
                       : GetOpenGLBuffer(image, &pixels, tw, th, wrapS, wrapT, border);
    std::unique_ptr<unsigned char[]> owned(pixels);
    const bool alphaMask = r.flags & kTextureAlphaMask;
    const GLenum format = FormatOf(c, alphaMask);
    if (c > 0)
    {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (alphaMask)
            for (GLenum p : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE})
                glPixelTransferf(p, 0.0f);
        if (alphaMask)
            for (GLenum p : {GL_RED_BIAS, GL_GREEN_BIAS, GL_BLUE_BIAS})
                glPixelTransferf(p, 1.0f);
        const ImageMargins m = GetCenteringMargins(imageW, imageH, tw, th);
        if (keep)
            glTexSubImage2D(GL_TEXTURE_2D, 0, m.left, m.bottom, imageW, imageH, format, GL_UNSIGNED_BYTE, pixels);
        else
        {
            glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), tw, th, 0, format, GL_UNSIGNED_BYTE, pixels);
            if (mipmaps)
                BuildMipmaps(c, tw, th, format, pixels, bS ? border : nullptr, bT ? border : nullptr);
        }
        if (alphaMask)
        {
            for (GLenum p : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE})
                glPixelTransferf(p, 1.0f);
            for (GLenum p : {GL_RED_BIAS, GL_GREEN_BIAS, GL_BLUE_BIAS})
                glPixelTransferf(p, 0.0f);
        }
        if (r.secondName && (c == 2 || c == 4))
        {
            // The alpha alone, as grey levels, rebuilt from level 0 (the mipmaps overwrote the buffer).
            unsigned char* base = nullptr;
            const int again = keep ? GetOpenGLBuffer(image, &base, 0, 0, wrapS, wrapT, border)
                                   : GetOpenGLBuffer(image, &base, tw, th, wrapS, wrapT, border);
            std::unique_ptr<unsigned char[]> ownedBase(base);
            const int sw = keep ? imageW : tw, sh = keep ? imageH : th;
            std::vector<unsigned char> alpha(size_t(sw) * sh);
            for (size_t i = 0; i < alpha.size() && again; ++i)
                alpha[i] = base[i * again + again - 1];
            glBindTexture(GL_TEXTURE_2D, r.secondName);
            if (keep)
                glTexSubImage2D(GL_TEXTURE_2D, 0, m.left, m.bottom, sw, sh, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                                alpha.data());
            else
            {
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLWrap(repeatS));
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLWrap(repeatT));
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, sw, sh, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, alpha.data());
            }
        }
    }
    CheckGLError("PrepareTexture");
    view->PostOpenGL();
    if (scaled)
        FreeImage_Unload(scaled);
    return c;
}

int LoadTextureResource(GLuint name, const char* resource, int flags, int maximumSize, float* edgeColor,
                        const float* borderColor)
{
    FIBITMAP* image = LoadImageResource(resource);
    if (!image)
        return -1;
    TextureRequest r;
    r.name = name;
    r.image = image;
    r.flags = flags;
    r.maximumSize = &maximumSize;
    r.edgeColor = edgeColor;
    r.borderColor = borderColor;
    const int channels = PrepareTexture(r);
    FreeImage_Unload(image);
    return channels;
}

void BindTexture(GLuint name)
{
    if (glIsTexture(name))
    {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
    }
}

void DisableTexture()
{
    glDisable(GL_TEXTURE_2D);
}

namespace
{
// Switches the texture unit where the GL has more than one.
void ActiveTextureUnit(GLenum unit)
{
    const GLCapabilities& caps = GetGLCapabilities();
    if (caps.textureUnits > 1 && caps.activeTexture)
        reinterpret_cast<void (*)(GLenum)>(caps.activeTexture)(unit);
}
}  // namespace

void BindSphereMapTexture(GLuint name)
{
    if (!glIsTexture(name))
        return;
    ActiveTextureUnit(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    ActiveTextureUnit(GL_TEXTURE0);
}

void DisableSphereMapTexture()
{
    ActiveTextureUnit(GL_TEXTURE1);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    ActiveTextureUnit(GL_TEXTURE0);
}
