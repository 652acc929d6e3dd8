#include "model/FaceVert.h"
#include "view/PaneFixture.h"

#include <cmath>
#include <vector>

namespace
{
TEST(BackgroundQuad, EachFitModePlacesTheImageInTheViewport)
{
    struct Case
    {
        const char* name;
        int fit;
        int viewport[4];
        int imageWidth, imageHeight;
        double width, height;  // of the quad
        double centreX, centreY;
    };
    const Case kCases[] = {
        {"within, square viewport", kBackgroundFitWithin, {0, 0, 300, 300}, 200, 100, 300, 150, 150, 150},
        {"around, square viewport", kBackgroundFitAround, {0, 0, 300, 300}, 200, 100, 600, 300, 150, 150},
        {"width", kBackgroundFitWidth, {0, 0, 300, 300}, 200, 100, 300, 150, 150, 150},
        {"height", kBackgroundFitHeight, {0, 0, 300, 300}, 200, 100, 600, 300, 150, 150},
        {"stretched", kBackgroundStretch, {0, 0, 300, 300}, 200, 100, 300, 300, 150, 150},
        {"actual size", kBackgroundActualSize, {0, 0, 300, 300}, 200, 100, 200, 100, 150, 150},
        {"within, wide viewport", kBackgroundFitWithin, {0, 0, 400, 100}, 200, 100, 200, 100, 200, 50},
        {"around, wide viewport", kBackgroundFitAround, {0, 0, 400, 100}, 200, 100, 400, 200, 200, 50},
        {"within, same shape", kBackgroundFitWithin, {0, 0, 400, 200}, 200, 100, 400, 200, 200, 100},
        {"around, same shape", kBackgroundFitAround, {0, 0, 400, 200}, 200, 100, 400, 200, 200, 100},
        {"width of a tall image", kBackgroundFitWidth, {0, 0, 300, 300}, 100, 200, 300, 600, 150, 150},
        {"the right half of a side-by-side pair", kBackgroundFitWithin, {300, 0, 300, 300}, 200, 100, 300, 150, 450, 150},
        // An odd leftover would put the image's edges on half pixels: the image moves by half a pixel.
        {"actual size, odd leftover", kBackgroundActualSize, {10, 20, 301, 299}, 200, 100, 200, 100, 160, 169},
        {"no image", kBackgroundFitWithin, {0, 0, 300, 200}, 0, 0, 300, 200, 150, 100},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const BackgroundQuad q = ComputeBackgroundQuad(c.fit, c.viewport, c.imageWidth, c.imageHeight, 0.0);
        EXPECT_DOUBLE_EQ(2.0 * q.halfWidth, c.width);
        EXPECT_DOUBLE_EQ(2.0 * q.halfHeight, c.height);
        EXPECT_DOUBLE_EQ(q.centreX, c.centreX);
        EXPECT_DOUBLE_EQ(q.centreY, c.centreY);
        if (c.fit == kBackgroundActualSize)
        {
            EXPECT_EQ(q.centreX - q.halfWidth, std::floor(q.centreX - q.halfWidth)) << "left edge on a pixel";
            EXPECT_EQ(q.centreY - q.halfHeight, std::floor(q.centreY - q.halfHeight)) << "bottom edge on a pixel";
        }
    }
    const int viewport[4] = {0, 0, 300, 300};
    const BackgroundQuad shifted = ComputeBackgroundQuad(kBackgroundFitWithin, viewport, 200, 100, -12.5);
    EXPECT_DOUBLE_EQ(shifted.centreX, 137.5);
}

TEST(BackgroundQuad, TheStereoShiftPutsTheImageAtTheModelsDepth)
{
    const double right = BackgroundStereoShift(1.0, 5.0, 0.2, false, 400, 25.0);
    const double left = BackgroundStereoShift(1.0, 5.0, 0.2, true, 400, 25.0);
    EXPECT_GT(right, 0.0);
    EXPECT_DOUBLE_EQ(left, -right);
    // The eye's offset seen at the model's centre, in pixels, scaled by how far the model reaches
    // towards the camera: at distance L a length s spans s * (h/2) / (tan(fov/2) L) pixels.
    const double pixelsPerUnit = 200.0 / (std::tan(12.5 * kPi / 180.0) * 5.0);
    EXPECT_NEAR(right, 2.0 / 7.0 * 0.2 * pixelsPerUnit, 1e-9);
    EXPECT_EQ(BackgroundStereoShift(1.0, 5.0, 0.0, false, 400, 25.0), 0.0);
}

class BackgroundImageTest : public PaneFixture
{
protected:
    void TearDown() override
    {
        if (!IsSkipped())
            ReleaseBackgroundTexture();
        PaneFixture::TearDown();
    }

    // A 256 x 128 texture whose lower-left 200 x 100 pixels are the image, in red; the rest is green
    // and must never show.
    void MakeTexture(CPolyView* pane)
    {
        ASSERT_TRUE(pane->PreOpenGL());
        std::vector<unsigned char> pixels(256 * 128 * 3, 0);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 256; ++x)
                pixels[3 * (size_t(y) * 256 + size_t(x)) + (x < 200 && y < 100 ? 0 : 1)] = 255;
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 128, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        pane->PostOpenGL();
        BackgroundTexture& texture = GetBackgroundTexture();
        texture.name = name;
        texture.imageWidth = 200;
        texture.imageHeight = 100;
        texture.textureWidth = 256;
        texture.textureHeight = 128;
    }
};

const unsigned char kRed[3] = {255, 0, 0};
const unsigned char kBlack[3] = {0, 0, 0};

TEST_F(BackgroundImageTest, TheImageFillsItsQuadBehindTheScene)
{
    CPolyView* pane = Pane(0);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    MakeTexture(pane);
    struct Case
    {
        const char* name;
        int fit;
    };
    const Case kCases[] = {{"within", kBackgroundFitWithin},
                           {"actual size", kBackgroundActualSize},
                           {"height", kBackgroundFitHeight}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetBackgroundImageSettings().fit = c.fit;
        const Frame frame = DrawAndRead(pane);
        ASSERT_GT(frame.width, 300);
        const int* viewport = pane->GetViewport();
        const BackgroundQuad q = ComputeBackgroundQuad(c.fit, viewport, 200, 100, 0.0);
        const int left = int(std::lround(q.centreX - q.halfWidth)), right = int(std::lround(q.centreX + q.halfWidth));
        const int bottom = int(std::lround(q.centreY - q.halfHeight)), top = int(std::lround(q.centreY + q.halfHeight));
        int inside = 0, wrong = 0;
        for (int y = 0; y < frame.height; y += 3)
            for (int x = 0; x < frame.width; x += 3)
            {
                const bool edge = std::abs(x - left) < 2 || std::abs(x - right) < 2 || std::abs(y - bottom) < 2 ||
                                  std::abs(y - top) < 2;
                if (edge)
                    continue;
                const bool in = x > left && x < right && y > bottom && y < top;
                inside += in;
                const unsigned char* p = frame.At(x, y);
                const unsigned char* expected = in ? kRed : kBlack;
                wrong += p[0] != expected[0] || p[1] != expected[1] || p[2] != expected[2];
            }
        EXPECT_GT(inside, 100);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(BackgroundImageTest, WithShowThroughTheImageIsAlsoLaidOverTheModel)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{0.0f, 0.0f, 1.0f};
    CPolyView* pane = Pane(0);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    MakeTexture(pane);
    GetBackgroundImageSettings().fit = kBackgroundActualSize;

    GetBackgroundImageSettings().alpha = 0.0f;
    Frame frame = DrawAndRead(pane);
    const int cx = frame.width / 2, cy = frame.height / 2;
    const unsigned char* behind = frame.At(cx, cy);
    EXPECT_GT(behind[2], 60) << "the model hides the image";
    const int redBehind = behind[0];
    const int corner[3] = {frame.At(2, 2)[0], frame.At(2, 2)[1], frame.At(2, 2)[2]};
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0) << "outside the image the background";

    GetBackgroundImageSettings().alpha = 0.5f;
    frame = DrawAndRead(pane);
    const unsigned char* over = frame.At(cx, cy);
    EXPECT_NEAR(over[0], 0.5 * 255 + 0.5 * redBehind, 3.0) << "half of the image laid over the model";
    EXPECT_GT(over[2], 20);
    poly->Clear();
}
}  // namespace
