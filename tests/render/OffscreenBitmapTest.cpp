// Pictures of a view drawn off the screen, the 24-bit buffer they land in, and their files.

#include "RenderTestView.h"
#include "kernel/ScriptedServices.h"
#include "render/CDib.h"
#include "render/ImageExportFiles.h"
#include "render/OffscreenBitmap.h"

#include <FreeImage.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
using OffscreenBitmapTest = RenderTest;

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

bool IsRed(const uint8_t* bgr)
{
    return bgr[2] > 200 && bgr[1] < 40 && bgr[0] < 40;
}

bool IsBlack(const uint8_t* bgr)
{
    return bgr[0] < 40 && bgr[1] < 40 && bgr[2] < 40;
}

// A red square over the middle half of a black picture, drawn in the view's own coordinates.
void DrawMiddleSquare()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    UseUnitOrtho();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2d(-0.5, -0.5);
    glVertex2d(0.5, -0.5);
    glVertex2d(0.5, 0.5);
    glVertex2d(-0.5, 0.5);
    glEnd();
}

// A picture of w x h whose pixel (x, y) has blue x, green y and red x + y (mod 256).
CDib Gradient(int w, int h)
{
    CDib dib(w, h, 24);
    dib.CreateBits();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            uint8_t* p = dib.PixelAt(x, y);
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(x + y);
        }
    return dib;
}
}  // namespace

TEST(CDibTest, RowsArePaddedToFourBytesAndTheBmpHasItsBitsAtOffset54)
{
    CDib dib(101, 10, 24);
    EXPECT_EQ(dib.GetRowBytes(), 304u);
    EXPECT_EQ(dib.GetImageSize(), 3040u);
    EXPECT_FALSE(dib.HasBits());
    ASSERT_TRUE(dib.CreateBits());

    CDib picture = Gradient(101, 10);
    const std::string path = TempPath("orvane_dib_test.bmp");
    ASSERT_TRUE(picture.Write(path));

    // The file header as written.
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 3040u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[10] | bytes[11] << 8, 54);

    // An independent reader sees the same pixels.
    FIBITMAP* read = FreeImage_Load(FIF_BMP, path.c_str(), 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(read), 101u);
    EXPECT_EQ(FreeImage_GetHeight(read), 10u);
    RGBQUAD c;
    ASSERT_TRUE(FreeImage_GetPixelColor(read, 100, 7, &c));  // FreeImage counts rows from the bottom too
    EXPECT_EQ(c.rgbBlue, 100);
    EXPECT_EQ(c.rgbGreen, 7);
    EXPECT_EQ(c.rgbRed, 107);
    FreeImage_Unload(read);

    CDib back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.GetWidth(), 101);
    EXPECT_EQ(back.GetHeight(), 10);
    EXPECT_EQ(0, std::memcmp(back.GetBits(), picture.GetBits(), 3040));
    std::remove(path.c_str());
}

TEST(CDibTest, ForeignOrShortFilesAreRefusedWithReadError)
{
    ScopedScriptedServices boxes;
    const std::string path = TempPath("orvane_dib_bad.bmp");
    const char* contents[] = {"", "BM", "PK\x03\x04 not a bitmap at all, but long enough to hold a header......"};
    for (const char* text : contents)
    {
        SCOPED_TRACE(text);
        std::ofstream(path, std::ios::binary) << text;
        CDib dib;
        EXPECT_FALSE(dib.Read(path));
        EXPECT_FALSE(dib.HasBits());
        ASSERT_NE(boxes.services.LastCall(), nullptr);
        EXPECT_EQ(boxes.services.LastCall()->text, "Read error");
    }
    std::remove(path.c_str());
}

TEST(CDibTest, ReductionAveragesEachBlock)
{
    CDib big(4, 2, 24);
    ASSERT_TRUE(big.CreateBits());
    // The left 2 x 2 block: two white and two black pixels; the right block all grey 100.
    const uint8_t values[2][4] = {{255, 0, 100, 100}, {0, 255, 100, 100}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            std::memset(big.PixelAt(x, y), values[y][x], 3);
    CDib small(2, 1, 24);
    ASSERT_TRUE(small.CreateBits());
    ASSERT_TRUE(small.ReduceFrom(big, 2));
    EXPECT_EQ(small.PixelAt(0, 0)[0], 128);  // 510 / 4 = 127.5, to the nearest
    EXPECT_EQ(small.PixelAt(1, 0)[1], 100);
    CDib wrong(3, 1, 24);
    ASSERT_TRUE(wrong.CreateBits());
    EXPECT_FALSE(wrong.ReduceFrom(big, 2));
}

TEST_F(OffscreenBitmapTest, OverSampledRenderIsLargerAndPutsTheViewBack)
{
    TestView* view = mView;
    view->SetScrollArea(0.0f, 0.0f, 100.0f, 100.0f);
    const int width = view->GetWidth(), height = view->GetHeight();
    const float aspect = view->GetAspect();
    const float scrollX = view->GetScrollX(), scrollY = view->GetScrollY();
    const float docW = view->GetDocumentWidth(), docH = view->GetDocumentHeight();

    int seenW = 0, seenH = 0, seenSampling = 0;
    bool seenOffscreen = false;
    view->scene = [&] {
        seenW = view->GetWidth();
        seenH = view->GetHeight();
        seenSampling = view->GetOverSampling();
        seenOffscreen = view->IsOffscreen();
        DrawMiddleSquare();
    };
    OffscreenBitmap bitmap;
    ASSERT_TRUE(view->RenderOffscreen(bitmap, 250, 150, 2));
    view->scene = nullptr;
    EXPECT_EQ(seenW, 500);
    EXPECT_EQ(seenH, 300);
    EXPECT_EQ(seenSampling, 2);
    EXPECT_TRUE(seenOffscreen);

    CDib* render = bitmap.GetRenderDib();
    ASSERT_NE(render, nullptr);
    EXPECT_EQ(render->GetWidth(), 500);
    EXPECT_EQ(render->GetHeight(), 300);
    // The square covers the middle half both ways.
    EXPECT_TRUE(IsRed(render->PixelAt(250, 150)));
    EXPECT_TRUE(IsRed(render->PixelAt(130, 80)));
    EXPECT_TRUE(IsRed(render->PixelAt(370, 220)));
    EXPECT_TRUE(IsBlack(render->PixelAt(120, 150)));
    EXPECT_TRUE(IsBlack(render->PixelAt(380, 150)));
    EXPECT_TRUE(IsBlack(render->PixelAt(250, 70)));
    EXPECT_TRUE(IsBlack(render->PixelAt(250, 230)));
    EXPECT_TRUE(IsBlack(render->PixelAt(0, 0)));

    ASSERT_TRUE(bitmap.FillFinal());
    CDib* final = bitmap.GetFinalDib();
    ASSERT_NE(final, render);
    EXPECT_EQ(final->GetWidth(), 250);
    EXPECT_EQ(final->GetHeight(), 150);
    EXPECT_TRUE(IsRed(final->PixelAt(125, 75)));
    EXPECT_TRUE(IsBlack(final->PixelAt(10, 10)));

    // The view is as it was, field by field.
    EXPECT_EQ(view->GetWidth(), width);
    EXPECT_EQ(view->GetHeight(), height);
    EXPECT_FLOAT_EQ(view->GetAspect(), aspect);
    EXPECT_FLOAT_EQ(view->GetScrollX(), scrollX);
    EXPECT_FLOAT_EQ(view->GetScrollY(), scrollY);
    EXPECT_FLOAT_EQ(view->GetDocumentWidth(), docW);
    EXPECT_FLOAT_EQ(view->GetDocumentHeight(), docH);
    EXPECT_EQ(view->GetOverSampling(), 1);
    EXPECT_FALSE(view->IsOffscreen());

    // And the window still draws its own picture.
    int onScreenW = 0;
    DrawWith([&] { onScreenW = view->GetWidth(); });
    EXPECT_EQ(onScreenW, width);
}

TEST_F(OffscreenBitmapTest, WithoutOverSamplingTheRenderIsTheFinalPicture)
{
    mView->scene = DrawMiddleSquare;
    OffscreenBitmap bitmap;
    ASSERT_TRUE(mView->RenderOffscreen(bitmap, 64, 48, 1));
    mView->scene = nullptr;
    EXPECT_EQ(bitmap.GetFinalDib(), bitmap.GetRenderDib());
    EXPECT_TRUE(bitmap.FillFinal());
    EXPECT_TRUE(IsRed(bitmap.GetFinalDib()->PixelAt(32, 24)));
}

TEST_F(OffscreenBitmapTest, TooLargeABufferIsRefusedWithTheMessage)
{
    ScopedScriptedServices boxes;
    OffscreenBitmap bitmap;
    // Past the GL's largest buffer side, whatever the GL.
    EXPECT_FALSE(mView->RenderOffscreen(bitmap, 1 << 20, 10, 3));
    ASSERT_GT(OffscreenBitmap::GetMaxBufferSize(), 0);
    ASSERT_NE(boxes.services.LastCall(), nullptr);
    EXPECT_EQ(boxes.services.LastCall()->text, kBitmapFailedText);
    EXPECT_EQ(bitmap.GetRenderDib(), nullptr);
    EXPECT_EQ(mView->GetOverSampling(), 1);
}

TEST(ImageExportFilesTest, FilterAndExtensions)
{
    const std::string filter = BuildExportImageFilter();
    int bars = 0;
    for (char c : filter)
        bars += c == '|';
    EXPECT_EQ(bars, 2 * kNumExportFilterEntries + 1);
    EXPECT_EQ(filter.rfind("All Files (*.*)|*.*||"), filter.size() - 21);
    // "ExportImageType" counts GIF as entry 5, 1-based.
    EXPECT_EQ(GetExportFilterIndex("a.gif") + 1, 5);
    EXPECT_STREQ(GetExportImageTypeShortName(ExportFilterToTypeIndex(GetExportFilterIndex("x.JPEG"))), "JPEG");
    EXPECT_EQ(GetExportFilterIndex("x.txt"), -1);
    EXPECT_EQ(GetExportFilterIndex("noextension"), -1);
    EXPECT_EQ(ExportFilterToTypeIndex(0), -1);
    struct Case
    {
        const char* path;
        const char* type;
        const char* expected;
    };
    const Case cases[] = {
        {"photo.jpe", "JPEG", "photo.jpe"},
        {"photo", "JPEG", "photo.jpg"},
        {"picture.txt", "JPEG", "picture.jpg"},
        {"dir.v2/model", "PNG", "dir.v2/model.png"},
        {"a.GIF", "GIF", "a.GIF"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        int type = 0;
        while (GetExportImageTypeShortName(type) && std::string(GetExportImageTypeShortName(type)) != c.type)
            ++type;
        EXPECT_EQ(AddExportImageExtension(c.path, ExportTypeToFilterIndex(type)), c.expected);
    }
    EXPECT_EQ(NumberedFramePath("/tmp/My Poly.png", 7), "/tmp/My Poly0007.png");
}

TEST(ImageExportFilesTest, EveryWritableTypeWritesAFileFreeImageReadsBack)
{
    const CDib picture = Gradient(40, 30);
    const char* extensions[] = {"gif", "jpg", "png", "pbm", "pgm", "ppm", "tga", "tif", "bmp", "wbmp", "xpm"};
    for (const char* extension : extensions)
    {
        SCOPED_TRACE(extension);
        const std::string path = TempPath((std::string("orvane_still.") + extension).c_str());
        ASSERT_TRUE(WriteImageFile(picture, path, 300, 90));
        FIBITMAP* read = FreeImage_Load(FreeImage_GetFIFFromFilename(path.c_str()), path.c_str(), 0);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(FreeImage_GetWidth(read), 40u);
        EXPECT_EQ(FreeImage_GetHeight(read), 30u);
        if (std::string(extension) == "png")
        {
            RGBQUAD c;
            ASSERT_TRUE(FreeImage_GetPixelColor(read, 13, 21, &c));
            EXPECT_EQ(c.rgbBlue, 13);
            EXPECT_EQ(c.rgbGreen, 21);
            EXPECT_EQ(c.rgbRed, 34);
            // 300 dots per inch, kept as dots per metre.
            EXPECT_NEAR(FreeImage_GetDotsPerMeterX(read), 300 / 0.0254, 1.0);
        }
        FreeImage_Unload(read);
        std::remove(path.c_str());
    }
    // Icons are square, at most 256 pixels a side; other sizes are refused, not written wrongly.
    const std::string icon = TempPath("orvane_still.ico");
    ASSERT_TRUE(WriteImageFile(Gradient(32, 32), icon, 0, 90));
    FIBITMAP* read = FreeImage_Load(FIF_ICO, icon.c_str(), 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(read), 32u);
    FreeImage_Unload(read);
    std::remove(icon.c_str());
    ScopedScriptedServices boxes;
    EXPECT_FALSE(WriteImageFile(picture, icon, 0, 90));
    EXPECT_FALSE(std::filesystem::exists(icon));
    // No video encoder: an AVI name is refused here too.
    EXPECT_FALSE(WriteImageFile(picture, TempPath("orvane_still.avi"), 0, 90));
    EXPECT_EQ(boxes.services.CountCalls("MessageBox"), 2);
}

TEST(ImageExportFilesTest, InterlacedFieldsTakeAlternateLines)
{
    CDib a(2, 4, 24), b(2, 4, 24), out(2, 4, 24);
    ASSERT_TRUE(a.CreateBits() && b.CreateBits() && out.CreateBits());
    std::memset(a.GetBits(), 10, a.GetImageSize());
    std::memset(b.GetBits(), 20, b.GetImageSize());
    // Lower field first: the first field on the odd lines from the top (rows 2 and 0 from the bottom).
    ASSERT_TRUE(InterlaceFields(out, a, b, true));
    EXPECT_EQ(out.PixelAt(0, 3)[0], 20);  // top line 0
    EXPECT_EQ(out.PixelAt(0, 2)[0], 10);  // line 1
    EXPECT_EQ(out.PixelAt(1, 1)[0], 20);
    EXPECT_EQ(out.PixelAt(1, 0)[0], 10);
    ASSERT_TRUE(InterlaceFields(out, a, b, false));
    EXPECT_EQ(out.PixelAt(0, 3)[0], 10);
    EXPECT_EQ(out.PixelAt(0, 2)[0], 20);
}
