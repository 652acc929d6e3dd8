#include "RenderTestView.h"

#include "render/PrepareTexture.h"

#include <functional>
#include <vector>

namespace
{
using PrepareTextureTest = RenderTest;

// A w x h RGB image whose pixel (x, y), y from the bottom, is colour(x, y) as 0xRRGGBB.
FIBITMAP* MakeImage(int w, int h, const std::function<unsigned(int, int)>& colour)
{
    FIBITMAP* image = FreeImage_Allocate(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const unsigned c = colour(x, y);
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[FI_RGBA_RED] = BYTE(c >> 16);
            p[FI_RGBA_GREEN] = BYTE(c >> 8);
            p[FI_RGBA_BLUE] = BYTE(c);
        }
    return image;
}

struct Upload
{
    int channels = 0;
    int imageW = 0, imageH = 0, texW = 0, texH = 0;
    float edge[4] = {0, 0, 0, 0};
};

Upload Prepare(GLuint name, FIBITMAP* image, int flags, int maximum, const float* border = nullptr)
{
    Upload u;
    TextureRequest r;
    r.name = name;
    r.image = image;
    r.flags = flags;
    r.maximumSize = &maximum;
    r.edgeColor = u.edge;
    r.borderColor = border;
    r.imageWidth = &u.imageW;
    r.imageHeight = &u.imageH;
    r.textureWidth = &u.texW;
    r.textureHeight = &u.texH;
    u.channels = PrepareTexture(r);
    return u;
}

int LevelWidth(int level)
{
    GLint w = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    return w;
}

int LevelHeight(int level)
{
    GLint h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    return h;
}

std::vector<unsigned char> LevelTexels(int level)
{
    std::vector<unsigned char> texels(size_t(LevelWidth(level)) * LevelHeight(level) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

unsigned TexelAt(const std::vector<unsigned char>& t, int w, int x, int y)
{
    const unsigned char* p = &t[(size_t(y) * w + x) * 3];
    return unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
}
}  // namespace

TEST_F(PrepareTextureTest, SizesFollowWrapsBordersAndTheMaximum)
{
    ASSERT_TRUE(mView->PreOpenGL());
    GLuint name = 0;
    glGenTextures(1, &name);
    // Red inside, a green first column to find the image's place in its texture.
    FIBITMAP* image = MakeImage(300, 200, [](int x, int) { return x == 0 ? 0x00ff00u : 0xff0000u; });

    Upload u = Prepare(name, image, 0, 1024);
    EXPECT_EQ(u.channels, 3);
    EXPECT_EQ(u.texW, 512);
    EXPECT_EQ(u.texH, 256);
    EXPECT_EQ(u.imageW, 300);
    EXPECT_EQ(u.imageH, 200);
    EXPECT_EQ(LevelWidth(0), 512);
    EXPECT_EQ(LevelHeight(0), 256);
    std::vector<unsigned char> t = LevelTexels(0);
    // Centred: left margin 106, bottom margin 28; clamped margins repeat the nearest pixels.
    EXPECT_EQ(TexelAt(t, 512, 106, 128), 0x00ff00u);
    EXPECT_EQ(TexelAt(t, 512, 107, 128), 0xff0000u);
    EXPECT_EQ(TexelAt(t, 512, 20, 128), 0x00ff00u);
    EXPECT_EQ(TexelAt(t, 512, 500, 5), 0xff0000u);

    u = Prepare(name, image, kTextureRepeatS, 1024);
    EXPECT_EQ(u.texW, 256);
    EXPECT_EQ(u.imageW, 256);
    EXPECT_EQ(u.imageH, 200);
    FreeImage_Unload(image);

    FIBITMAP* square = MakeImage(256, 256, [](int, int) { return 0x808080u; });
    u = Prepare(name, square, kTextureBorderS | kTextureBorderT, 256);
    EXPECT_EQ(u.texW, 256);
    EXPECT_EQ(u.texH, 256);
    EXPECT_EQ(u.imageW, 254);
    EXPECT_EQ(u.imageH, 254);
    FreeImage_Unload(square);

    FIBITMAP* dot = MakeImage(1, 1, [](int, int) { return 0x336699u; });
    u = Prepare(name, dot, kTextureMipmaps, 1024);
    EXPECT_EQ(u.texW, 1);
    EXPECT_EQ(u.texH, 1);
    EXPECT_EQ(LevelWidth(0), 1);
    EXPECT_EQ(LevelWidth(1), 0);
    FreeImage_Unload(dot);
    glDeleteTextures(1, &name);
    mView->PostOpenGL();
}

TEST_F(PrepareTextureTest, EdgeColourIsTheDominantColourElseTheAverage)
{
    ASSERT_TRUE(mView->PreOpenGL());
    GLuint name = 0;
    glGenTextures(1, &name);
    // 16 x 16: the edge has 60 pixels; the bottom row and both columns blue (46), the top row yellow.
    FIBITMAP* mostly = MakeImage(16, 16, [](int, int y) { return y == 15 ? 0xffff00u : 0x0000ffu; });
    Upload u = Prepare(name, mostly, 0, 1024);
    EXPECT_FLOAT_EQ(u.edge[0], 0.0f);
    EXPECT_FLOAT_EQ(u.edge[1], 0.0f);
    EXPECT_FLOAT_EQ(u.edge[2], 1.0f);
    FreeImage_Unload(mostly);

    // Alternating black and white: no long runs, so the average grey.
    FIBITMAP* noisy = MakeImage(16, 16, [](int x, int y) { return (x + y) % 2 ? 0xffffffu : 0u; });
    u = Prepare(name, noisy, 0, 1024);
    EXPECT_NEAR(u.edge[0], 0.5f, 0.02f);
    EXPECT_NEAR(u.edge[1], 0.5f, 0.02f);
    FreeImage_Unload(noisy);
    glDeleteTextures(1, &name);
    mView->PostOpenGL();
}

TEST_F(PrepareTextureTest, MipmapsKeepTheBorderAndKeptStorageFallsBackOnNewSizes)
{
    ASSERT_TRUE(mView->PreOpenGL());
    GLuint name = 0;
    glGenTextures(1, &name);
    FIBITMAP* image = MakeImage(30, 14, [](int, int) { return 0xffffffu; });
    const float blue[4] = {0, 0, 1, 1};
    Upload u = Prepare(name, image, kTextureBorderS | kTextureBorderT | kTextureMipmaps, 1024, blue);
    EXPECT_EQ(u.texW, 32);
    EXPECT_EQ(u.texH, 16);
    for (int level = 0; LevelWidth(level) > 0 && level < 6; ++level)
    {
        SCOPED_TRACE(level);
        const int w = LevelWidth(level), h = LevelHeight(level);
        const std::vector<unsigned char> t = LevelTexels(level);
        for (int y = 0; y < h; ++y)
        {
            EXPECT_EQ(TexelAt(t, w, 0, y), 0x0000ffu);
            EXPECT_EQ(TexelAt(t, w, w - 1, y), 0x0000ffu);
        }
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(TexelAt(t, w, x, 0), 0x0000ffu);
    }

    // The same sizes: updated in place. New sizes: a full upload that writes them.
    FIBITMAP* bigger = MakeImage(60, 14, [](int, int) { return 0xff0000u; });
    int maximum = 1024;
    int imageW = u.imageW, imageH = u.imageH, texW = u.texW, texH = u.texH;
    TextureRequest r;
    r.name = name;
    r.image = bigger;
    r.flags = kTextureBorderS | kTextureBorderT | kTextureKeepStorage;
    r.maximumSize = &maximum;
    r.borderColor = blue;
    r.imageWidth = &imageW;
    r.imageHeight = &imageH;
    r.textureWidth = &texW;
    r.textureHeight = &texH;
    EXPECT_EQ(PrepareTexture(r), 3);
    EXPECT_EQ(imageW, 60);
    EXPECT_EQ(texW, 64);
    EXPECT_EQ(LevelWidth(0), 64);
    EXPECT_EQ(TexelAt(LevelTexels(0), 64, 32, 8), 0xff0000u);
    FreeImage_Unload(bigger);
    FreeImage_Unload(image);
    glDeleteTextures(1, &name);
    mView->PostOpenGL();
}
