#include "render/ImageFile.h"
#include "render/ImageFileTypes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
constexpr int kBorder = 0x812D;  // GL_CLAMP_TO_BORDER

int CountEntries(const std::string& filter)
{
    // Each entry is "name|patterns|"; the filter ends with one more "|".
    int bars = 0;
    for (char c : filter)
        bars += c == '|';
    return (bars - 1) / 2;
}

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

// All texels of the image's buffer, with their channel count.
std::vector<unsigned char> Texels(FIBITMAP* image, int& channels)
{
    unsigned char* buffer = nullptr;
    channels = GetOpenGLBuffer(image, &buffer, 0, 0, 0, 0, nullptr);
    std::vector<unsigned char> texels;
    if (buffer)
        texels.assign(buffer, buffer + size_t(FreeImage_GetWidth(image)) * FreeImage_GetHeight(image) * channels);
    delete[] buffer;
    return texels;
}
}  // namespace

TEST(ImageFileTypesTest, FiltersListTheReadableAndWritableTypes)
{
    const std::string open = BuildImageFilter(kImageMaskOpen);
    EXPECT_EQ(CountEntries(open), 22);
    EXPECT_EQ(open.rfind("All Image Files|*.dds;", 0), 0u);
    EXPECT_NE(open.find("|All Files (*.*)|*.*||"), std::string::npos);
    EXPECT_EQ(open.find("AVI"), std::string::npos);

    const std::string save = BuildImageFilter(kImageMaskSave);
    EXPECT_EQ(CountEntries(save), 17);
    EXPECT_EQ(save.rfind("All Image Files|*.gif;", 0), 0u);
    EXPECT_NE(save.find("All Video Files|*.avi|"), std::string::npos);
    EXPECT_EQ(save.find("DirectDraw"), std::string::npos);
}

TEST(ImageFileTypesTest, FilterIndicesAndExtensions)
{
    EXPECT_EQ(GetImageFilterIndex("photo.JPEG", kImageMaskOpen), 5);
    EXPECT_EQ(GetImageFilterIndex("/a.b/photo", kImageMaskOpen), -1);
    EXPECT_EQ(GetImageFilterIndex("x.png", kImageMaskOpen), 7);

    struct Case
    {
        const char* path;
        const char* expected;
    };
    const Case kCases[] = {{"photo.jpe", "photo.jpe"}, {"photo", "photo.jpg"}, {"picture.txt", "picture.jpg"},
                           {"dir.x/photo", "dir.x/photo.jpg"}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        AddImageExtension(path, 5, kImageMaskOpen);
        EXPECT_EQ(path, c.expected);
    }
    std::string gathering = "photo";
    AddImageExtension(gathering, 0, kImageMaskOpen);
    EXPECT_EQ(gathering, "photo");

    // Entry 0 gathers all images and has no short name; entry 1 is DDS, the first short-named type.
    EXPECT_EQ(FilterIndexToTypeIndex(0, kImageMaskOpen), -1);
    EXPECT_EQ(FilterIndexToTypeIndex(1, kImageMaskOpen), 0);
    EXPECT_STREQ(GetImageTypeShortName(0, kImageMaskOpen), "DDS");
    for (int n = 0; n < 20; ++n)
        EXPECT_EQ(FilterIndexToTypeIndex(TypeIndexToFilterIndex(n, kImageMaskOpen), kImageMaskOpen), n);
    EXPECT_EQ(TypeIndexToFilterIndex(20, kImageMaskOpen), -1);
    EXPECT_EQ(GetImageTypeShortName(20, kImageMaskOpen), nullptr);
}

TEST(ImageFileTest, CenteringMargins)
{
    const ImageMargins m = GetCenteringMargins(100, 50, 128, 64);
    EXPECT_EQ(m.left, 14);
    EXPECT_EQ(m.right, 14);
    EXPECT_EQ(m.top, 7);
    EXPECT_EQ(m.bottom, 7);
    const ImageMargins odd = GetCenteringMargins(3, 1, 8, 4);
    EXPECT_EQ(odd.left + odd.right, 5);
    EXPECT_EQ(odd.top + odd.bottom, 3);
}

TEST(ImageFileTest, PackedAndWideImagesGiveTheTexelsOfTheirEightBitVersions)
{
    // A 4 x 4 checkerboard in 1-bit PBM and in 8-bit PGM, black at (0, 0) of the file (its top row).
    const std::string pbm = TempPath("orvane-check.pbm"), pgm = TempPath("orvane-check.pgm");
    {
        std::ofstream a(pbm), b(pgm);
        a << "P1\n4 4\n";
        b << "P2\n4 4\n255\n";
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
            {
                const bool black = (x + y) % 2 == 0;
                a << (black ? "1 " : "0 ");
                b << (black ? "0 " : "255 ");
            }
    }
    // A grey ramp in 16-bit and 8-bit PNG.
    const std::string wide = TempPath("orvane-ramp16.png"), narrow = TempPath("orvane-ramp8.png");
    {
        FIBITMAP* w16 = FreeImage_AllocateT(FIT_UINT16, 16, 2);
        FIBITMAP* w8 = FreeImage_Allocate(16, 2, 8);
        RGBQUAD* palette = FreeImage_GetPalette(w8);
        for (int i = 0; i < 256; ++i)
            palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = BYTE(i);
        for (int y = 0; y < 2; ++y)
        {
            auto* row16 = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(w16, y));
            BYTE* row8 = FreeImage_GetScanLine(w8, y);
            for (int x = 0; x < 16; ++x)
            {
                row8[x] = BYTE(x * 16 + y);
                row16[x] = (unsigned short)(row8[x] * 257);
            }
        }
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, w16, wide.c_str(), 0));
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, w8, narrow.c_str(), 0));
        FreeImage_Unload(w16);
        FreeImage_Unload(w8);
    }
    const std::pair<std::string, std::string> kPairs[] = {{pbm, pgm}, {wide, narrow}};
    for (const auto& [packed, plain] : kPairs)
    {
        SCOPED_TRACE(packed);
        FIBITMAP* a = LoadImageFile(packed, true);
        FIBITMAP* b = LoadImageFile(plain, true);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(FreeImage_GetBPP(a), 8u);
        int ca = 0, cb = 0;
        const std::vector<unsigned char> ta = Texels(a, ca), tb = Texels(b, cb);
        EXPECT_EQ(ca, 1);
        EXPECT_EQ(cb, 1);
        EXPECT_EQ(ta, tb);
        FreeImage_Unload(a);
        FreeImage_Unload(b);
    }
    // The checkerboard's black corner is the file's top-left: the buffer's last row, first texel.
    FIBITMAP* check = LoadImageFile(pbm, true);
    int c = 0;
    const std::vector<unsigned char> t = Texels(check, c);
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[12], 0);
    EXPECT_EQ(t[13], 255);
    FreeImage_Unload(check);
    for (const std::string& p : {pbm, pgm, wide, narrow})
        std::remove(p.c_str());
}

TEST(ImageFileTest, MissingOrUnreadableFilesGiveNull)
{
    EXPECT_EQ(LoadImageFile(TempPath("orvane-no-such-image.png"), false), nullptr);
    const std::string junk = TempPath("orvane-junk.png");
    std::ofstream(junk) << "not an image";
    EXPECT_EQ(LoadImageFile(junk, false), nullptr);
    std::remove(junk.c_str());
}

TEST(ImageFileTest, BuffersFillMarginsWithNearestPixelsOrTheBorder)
{
    // 2 x 1 RGB: red then blue.
    FIBITMAP* image = FreeImage_Allocate(2, 1, 24);
    BYTE* row = FreeImage_GetScanLine(image, 0);
    row[FI_RGBA_RED] = 255;
    row[3 + FI_RGBA_BLUE] = 255;
    unsigned char* buffer = nullptr;
    ASSERT_EQ(GetOpenGLBuffer(image, &buffer, 4, 2, kBorder, 0, nullptr), 3);
    // Row 0 (bottom margin) copies the image row, extended: red red blue blue.
    const unsigned char expected[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
    EXPECT_TRUE(std::equal(expected, expected + 12, buffer));
    delete[] buffer;

    const float green[4] = {0, 1, 0, 1};
    ASSERT_EQ(GetOpenGLBuffer(image, &buffer, 4, 2, kBorder, kBorder, green), 3);
    // Bottom margin all border; the image row between green texels.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(buffer[i * 3 + 1], 255) << i;
    const unsigned char imageRow[] = {0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 255, 0};
    EXPECT_TRUE(std::equal(imageRow, imageRow + 12, buffer + 12));
    delete[] buffer;
    FreeImage_Unload(image);

    // A grey image with a red border becomes coloured.
    FIBITMAP* grey = FreeImage_Allocate(1, 1, 8);
    RGBQUAD* palette = FreeImage_GetPalette(grey);
    for (int i = 0; i < 256; ++i)
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = BYTE(i);
    FreeImage_GetScanLine(grey, 0)[0] = 100;
    const float red[4] = {1, 0, 0, 1};
    EXPECT_EQ(GetOpenGLBuffer(grey, &buffer, 2, 2, kBorder, kBorder, red), 3);
    delete[] buffer;
    EXPECT_EQ(GetOpenGLBuffer(grey, &buffer, 0, 0, 0, 0, nullptr), 1);
    delete[] buffer;
    FreeImage_Unload(grey);
}

TEST(ImageFileTest, NearestRescaleKeepsWholePixels)
{
    // 4 x 1, four grey levels, halved: every output pixel is one of the inputs.
    FIBITMAP* image = FreeImage_Allocate(4, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
        {
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[0] = p[1] = p[2] = BYTE(x * 60 + y);
        }
    FIBITMAP* half = RescaleImageNearest(image, 2, 1);
    ASSERT_NE(half, nullptr);
    const BYTE* row = FreeImage_GetScanLine(half, 0);
    EXPECT_EQ(row[0], 60 * 1 + 1);
    EXPECT_EQ(row[3], 60 * 3 + 1);
    FreeImage_Unload(half);
    FreeImage_Unload(image);
}

TEST(ImageFileTest, TheProgramsOwnPicturesLoad)
{
    // The dialog help pictures sit in images/ beside the program.
    FIBITMAP* picture = LoadImageResource("clamp.png");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(picture), 160u);
    FreeImage_Unload(picture);
    EXPECT_EQ(LoadImageResource("no-such-picture.png"), nullptr);
}
