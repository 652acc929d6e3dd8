#include "RenderTestView.h"

#include "kernel/FaceImage.h"
#include "render/ImageFile.h"
#include "render/TextureImage.h"

#include <filesystem>
#include <string>

namespace
{
using TextureImageTest = RenderTest;

std::string WriteImage(const char* name, unsigned colour, int w = 8, int h = 4)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    FIBITMAP* image = FreeImage_Allocate(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[FI_RGBA_RED] = BYTE(colour >> 16);
            p[FI_RGBA_GREEN] = BYTE(colour >> 8);
            p[FI_RGBA_BLUE] = BYTE(colour);
        }
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
    return path;
}

int CountTextures()
{
    int n = 0;
    for (TextureImage* t = TextureImage::GetFirst(); t; t = t->next)
        ++n;
    return n;
}

const int kFaceA = 0, kFaceB = 0;  // owners only need addresses
}  // namespace

TEST_F(TextureImageTest, FacesShareTexturesAndTheLastReleaseDeletesThem)
{
    const std::string path = WriteImage("orvane-share.png", 0xff0000);
    FaceImageRef slotA, slotB;
    FaceImage* a = NewFaceImage(path, FaceImage::kProjectEachFace, GL_CLAMP_TO_BORDER, &kFaceA, false, nullptr);
    // The same file reached through another spelling of its folder.
    const std::string other = std::filesystem::path(path).parent_path().string() + "/./orvane-share.png";
    FaceImage* b = NewFaceImage(other, FaceImage::kProjectEachFace, GL_CLAMP_TO_BORDER, &kFaceB, false, nullptr);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(GetFaceImageTexture(a), GetFaceImageTexture(b));
    TextureImage* texture = GetFaceImageTexture(a);
    EXPECT_EQ(texture->GetReferenceCount(), 2);
    EXPECT_FALSE(texture->IsUsed());

    slotA.Set(a);
    slotB.Set(b);
    ASSERT_TRUE(texture->IsUsed());
    const GLuint name = texture->mNames[0];
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_TRUE(glIsTexture(name));
    mView->PostOpenGL();
    EXPECT_EQ(texture->mImageWidth, 8);
    EXPECT_DOUBLE_EQ(texture->mAspect, 2.0);
    // A border never chosen takes the image's edge colour.
    EXPECT_FLOAT_EQ(texture->mBorderColor[0], 1.0f);
    EXPECT_FLOAT_EQ(texture->mBorderColor[1], 0.0f);

    slotA.Set(nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 1);
    EXPECT_EQ(CountTextures(), 1);
    slotB.Set(nullptr);
    EXPECT_EQ(CountTextures(), 0);
    EXPECT_FALSE(FaceImagesExist());
    ASSERT_TRUE(mView->PreOpenGL());
    EXPECT_FALSE(glIsTexture(name));
    mView->PostOpenGL();
    std::filesystem::remove(path);
}

TEST_F(TextureImageTest, WrapChangesKeepOrReplaceTheTexture)
{
    const std::string path = WriteImage("orvane-wrap.png", 0x00ff00);
    FaceImageRef slot;
    FaceImage* sphere = NewFaceImage(path, FaceImage::kProjectSpherical, GL_REPEAT, &kFaceA, false, nullptr);
    ASSERT_NE(sphere, nullptr);
    slot.Set(sphere);
    TextureImage* repeated = GetFaceImageTexture(sphere);
    EXPECT_EQ(repeated->mWrapS, GL_REPEAT);
    EXPECT_EQ(repeated->mWrapT, GL_REPEAT);

    SetFaceImageWrap(sphere, GL_CLAMP, nullptr);
    TextureImage* clamped = GetFaceImageTexture(sphere);
    EXPECT_EQ(sphere->mWrap, GL_CLAMP);
    EXPECT_EQ(clamped->mWrapS, GL_REPEAT);
    EXPECT_EQ(clamped->mWrapT, GL_CLAMP);
    EXPECT_EQ(CountTextures(), 1);  // the repeated one went with its last reference
    EXPECT_TRUE(clamped->IsUsed());

    // A border colour on a clamped image changes in place.
    const float blue[3] = {0, 0, 1};
    SetFaceImageWrap(sphere, GL_CLAMP, blue);
    EXPECT_EQ(GetFaceImageTexture(sphere), clamped);
    EXPECT_FLOAT_EQ(clamped->mBorderColor[2], 1.0f);

    // A new border colour around a bordered image needs texels of its own.
    SetFaceImageProjection(sphere, FaceImage::kProjectPlanar);
    SetFaceImageWrap(sphere, GL_CLAMP_TO_BORDER, nullptr);
    TextureImage* bordered = GetFaceImageTexture(sphere);
    EXPECT_EQ(bordered->mWrapS, GL_CLAMP_TO_BORDER);
    const float red[3] = {1, 0, 0};
    SetFaceImageWrap(sphere, GL_CLAMP_TO_BORDER, red);
    EXPECT_FLOAT_EQ(GetFaceImageTexture(sphere)->mBorderColor[0], 1.0f);
    EXPECT_FLOAT_EQ(GetFaceImageTexture(sphere)->mBorderColor[2], 0.0f);
    slot.Set(nullptr);
    EXPECT_EQ(CountTextures(), 0);
    std::filesystem::remove(path);
}

TEST_F(TextureImageTest, AChangedFileIsReloadedOnceWhenThePanesComeBack)
{
    const std::string path = WriteImage("orvane-reload.png", 0x0000ff);
    FaceImageRef slot;
    FaceImage* image = NewFaceImage(path, FaceImage::kProjectEachFace, GL_CLAMP, &kFaceA, false, nullptr);
    ASSERT_NE(image, nullptr);
    slot.Set(image);
    TextureImage* texture = GetFaceImageTexture(image);
    EXPECT_EQ(texture->mLoads, 1);
    TextureImage::PrepareAll(true, false);
    EXPECT_EQ(texture->mLoads, 1);

    WriteImage("orvane-reload.png", 0xffffff, 16, 4);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    TextureImage::PrepareAll(true, false);
    EXPECT_EQ(texture->mLoads, 2);
    EXPECT_EQ(texture->mImageWidth, 16);
    TextureImage::PrepareAll(true, false);
    EXPECT_EQ(texture->mLoads, 2);
    // Blocky Pixels forces every used texture.
    TextureImage::PrepareAll(false, true);
    EXPECT_EQ(texture->mLoads, 3);
    slot.Set(nullptr);
    std::filesystem::remove(path);
}

TEST_F(TextureImageTest, MissingFilesMakeNoImage)
{
    EXPECT_EQ(NewFaceImage("/nonexistent/orvane.png", 0, GL_CLAMP, &kFaceA, false, nullptr), nullptr);
    EXPECT_EQ(NewFaceImage("", 0, GL_CLAMP, &kFaceA, false, nullptr), nullptr);
    EXPECT_EQ(CountTextures(), 0);
}
