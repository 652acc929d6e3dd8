#include "kernel/FaceImage.h"

#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

class TextureImage
{
public:
    int references = 1;
    int uses = 0;
    TextureGeometry geometry;
};

namespace
{
// Textures as the rendering layer would keep them, counted.
class CountingHost : public TextureImageHost
{
public:
    void AddReference(TextureImage* t) override { ++t->references; }
    void Release(TextureImage* t) override { --t->references; }
    void Use(TextureImage* t) override { ++t->uses; }
    void Unuse(TextureImage* t) override { --t->uses; }
    TextureGeometry Geometry(const TextureImage* t) const override { return t->geometry; }
};

class FaceImageTest : public ::testing::Test
{
protected:
    void SetUp() override { mPrevious = SetTextureImageHost(&mHost); }
    void TearDown() override { SetTextureImageHost(mPrevious); }

    CountingHost mHost;
    TextureImageHost* mPrevious = nullptr;
};

Transform3D Identity()
{
    return Transform3D();
}
}  // namespace

TEST_F(FaceImageTest, ElementsCountTheirImageAndTheLastOneDeletesIt)
{
    TextureImage texture;
    EXPECT_FALSE(FaceImagesExist());
    FaceImage* image = FaceImage::Create(&texture, FaceImage::kProjectEachFace, FaceImage::kWrapClamp, nullptr, false);
    EXPECT_TRUE(FaceImagesExist());
    {
        FaceImageRef face1;
        FaceImageRef face2;
        FaceImageRef cell(false);
        face1.Set(image);
        face2.Set(image);
        cell.Set(image);
        EXPECT_EQ(image->GetUserCount(), 3);
        EXPECT_EQ(texture.uses, 1);  // one texture use for the image, taken by the faces only
        face2.Set(nullptr);
        EXPECT_EQ(image->GetUserCount(), 2);
        EXPECT_EQ(texture.uses, 1);
        face1.Set(image);  // the same image again: nothing changes
        EXPECT_EQ(image->GetUserCount(), 2);
    }
    // The last user let go: the image is gone, its texture use ended and its reference released.
    EXPECT_FALSE(FaceImagesExist());
    EXPECT_EQ(texture.uses, 0);
    EXPECT_EQ(texture.references, 0);
    FaceImage::Release(nullptr);
}

TEST_F(FaceImageTest, CopiedElementsShareOneClone)
{
    TextureImage texture;
    texture.geometry.alphaChannel = true;
    FaceImage* image = FaceImage::Create(&texture, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat, nullptr, false);
    image->mFlags = FaceImage::kFlip | FaceImage::kKeepUpright;
    image->mUOffset = 0.25;
    image->mHeight = 3.0;
    FaceImageRef oldA, oldB;
    oldA.Set(image);
    oldB.Set(image);
    EXPECT_TRUE(image->HasAlphaChannel());

    ClearFaceImageClones();
    FaceImageRef newA, newB, newCell(false);
    FaceImage* clone = FaceImage::CloneFor(oldA.Get(), nullptr, &newA);
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, image);
    EXPECT_EQ(FaceImage::CloneFor(oldB.Get(), nullptr, &newB), clone);
    EXPECT_EQ(newA.Get(), clone);
    EXPECT_EQ(clone->GetUserCount(), 2);
    EXPECT_EQ(clone->mFlags, image->mFlags);
    EXPECT_EQ(clone->mProjection, FaceImage::kProjectPlanar);
    EXPECT_DOUBLE_EQ(clone->mUOffset, 0.25);
    EXPECT_DOUBLE_EQ(clone->mHeight, 3.0);
    EXPECT_EQ(texture.references, 2);  // the clone holds its own reference

    // A clone attached to a cell is marked as a cell's.
    ClearFaceImageClones();
    FaceImage* cellClone = FaceImage::CloneFor(image, &newCell, nullptr);
    ASSERT_NE(cellClone, nullptr);
    EXPECT_NE(cellClone, clone);
    EXPECT_TRUE(cellClone->mFlags & FaceImage::kOwnerIsCell);
    EXPECT_EQ(FaceImage::CloneFor(nullptr, nullptr, &newA), nullptr);
}

TEST_F(FaceImageTest, PlanarCoordinatesAndFlipping)
{
    TextureImage texture;  // square, repeating
    FaceImage* image = FaceImage::Create(&texture, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, nullptr, false);
    image->mHeight = 2.0;
    FaceImageRef holder;
    holder.Set(image);

    FaceTexMapping mapping;
    image->PrepareTexCoords(mapping, Identity());
    float uv[2];
    image->TexCoordAt(mapping, Vec3D{0, 0, 0}, uv, nullptr);
    EXPECT_FLOAT_EQ(uv[0], 0.5f);
    EXPECT_FLOAT_EQ(uv[1], 0.5f);
    image->TexCoordAt(mapping, Vec3D{-0.4, 1, 5}, uv, nullptr);  // one image width is 2 units
    EXPECT_FLOAT_EQ(uv[0], 0.3f);
    EXPECT_FLOAT_EQ(uv[1], 1.0f);

    image->mFlags |= FaceImage::kFlip;
    image->PrepareTexCoords(mapping, Identity());
    image->TexCoordAt(mapping, Vec3D{-0.4, 1, 5}, uv, nullptr);
    EXPECT_FLOAT_EQ(uv[0], 0.7f);  // mirrored about the image centre

    // The image's own rotation turns it in its plane: a quarter turn sends image right along +y.
    image->mFlags = 0;
    image->mRotation.SetRotation(2, kPi / 2);
    image->PrepareTexCoords(mapping, Identity());
    image->TexCoordAt(mapping, Vec3D{0, 0.4, 0}, uv, nullptr);
    EXPECT_NEAR(uv[0], 0.7f, 1e-6);
    EXPECT_NEAR(uv[1], 0.5f, 1e-6);
}

TEST_F(FaceImageTest, SphericalImageMapsThePoles)
{
    TextureImage texture;
    texture.geometry.aspect = 2.0;  // twice as wide as high
    FaceImage* image = FaceImage::Create(&texture, FaceImage::kProjectSpherical, FaceImage::kWrapRepeat, nullptr, false);
    image->mPlacement = Identity();  // axis along y
    FaceImageRef holder;
    holder.Set(image);
    FaceTexMapping mapping;
    image->PrepareTexCoords(mapping, Transform3D());

    float north[2], south[2], equator[2];
    image->TexCoordAt(mapping, Vec3D{0, 3, 0}, north, nullptr);
    image->TexCoordAt(mapping, Vec3D{0, -3, 0}, south, nullptr);
    image->TexCoordAt(mapping, Vec3D{1, 0, 0}, equator, nullptr);
    EXPECT_NEAR(north[1], 1.0f, 1e-6);
    EXPECT_NEAR(south[1], 0.0f, 1e-6);
    EXPECT_NEAR(equator[1], 0.5f, 1e-6);
    // On the image's right axis the angle is 0: u = 0.75.
    EXPECT_NEAR(equator[0], 0.75f, 1e-6);
    float behind[2];
    image->TexCoordAt(mapping, Vec3D{0, 0, -1}, behind, nullptr);
    EXPECT_NEAR(std::fabs(behind[0] - equator[0]), 0.25f, 1e-6);  // a quarter turn away
}

TEST_F(FaceImageTest, SeamsOfCylindricalImages)
{
    TextureImage texture;
    FaceImage* image =
        FaceImage::Create(&texture, FaceImage::kProjectCylindrical, FaceImage::kWrapRepeat, nullptr, false);
    FaceImageRef holder;
    holder.Set(image);
    FaceTexMapping mapping;
    image->PrepareTexCoords(mapping, Transform3D());

    // A reference keeps u within half a turn.
    float uv[2];
    const float reference = 0.05f;
    image->ComputeTexCoord(mapping, Vec3D{std::cos(-1.0), 0, -std::sin(-1.0)}, uv, nullptr);
    const float free = uv[0];
    image->ComputeTexCoord(mapping, Vec3D{std::cos(-1.0), 0, -std::sin(-1.0)}, uv, &reference);
    EXPECT_LE(std::fabs(uv[0] - reference), 0.5f);
    EXPECT_NEAR(std::fabs(uv[0] - free), 1.0f, 1e-6);

    // A corner on the axis takes the mean u of the other two, once they are brought together.
    const Vec3D corners[3] = {{0, 2, 0}, {1, 0, 0}, {0, 0, 1}};
    float tex[3][2] = {{0.5f, 1}, {0.95f, 0}, {0.05f, 0}};
    image->FixSeamTexCoords(mapping, corners, tex, FaceImage::kProjectCylindrical);
    EXPECT_NEAR(tex[2][0], 0.05f, 1e-6);   // the corner before the axis corner stays
    EXPECT_NEAR(tex[1][0], -0.05f, 1e-6);  // the one after it comes within half a turn
    EXPECT_NEAR(tex[0][0], 0.0f, 1e-6);

    // Two corners on the axis take the third's u; a planar image is never changed.
    const Vec3D two[3] = {{0, 2, 0}, {0, -1, 0}, {1, 0, 0}};
    float tex2[3][2] = {{0.1f, 0}, {0.2f, 0}, {0.6f, 0}};
    image->FixSeamTexCoords(mapping, two, tex2, FaceImage::kProjectCylindrical);
    EXPECT_FLOAT_EQ(tex2[0][0], 0.6f);
    EXPECT_FLOAT_EQ(tex2[1][0], 0.6f);
    float tex3[3][2] = {{0.1f, 0}, {0.2f, 0}, {0.6f, 0}};
    image->FixSeamTexCoords(mapping, two, tex3, FaceImage::kProjectPlanar);
    EXPECT_FLOAT_EQ(tex3[0][0], 0.1f);
}

TEST_F(FaceImageTest, ImagesInsideLargerTexturesAreScaledIntoTheirPart)
{
    TextureImage texture;
    texture.geometry.repeatS = texture.geometry.repeatT = false;
    texture.geometry.textureWidth = 256;
    texture.geometry.textureHeight = 128;
    texture.geometry.texelsWide = 200;
    texture.geometry.texelsHigh = 100;
    texture.geometry.marginLeft = 28;
    texture.geometry.marginBottom = 14;
    texture.geometry.aspect = 2.0;
    FaceImage* image = FaceImage::Create(&texture, FaceImage::kProjectEachFace, FaceImage::kWrapClamp, nullptr, false);
    image->mHeight = 1.0;  // width 2
    FaceImageRef holder;
    holder.Set(image);
    FaceTexMapping mapping;
    image->PrepareTexCoords(mapping, Identity());
    float low[2], high[2];
    image->TexCoordAt(mapping, Vec3D{-1, -0.5, 0}, low, nullptr);   // the image's lower left corner
    image->TexCoordAt(mapping, Vec3D{1, 0.5, 0}, high, nullptr);    // its upper right
    EXPECT_NEAR(low[0], 28.0 / 256, 1e-6);
    EXPECT_NEAR(high[0], 228.0 / 256, 1e-6);
    EXPECT_NEAR(low[1], 14.0 / 128, 1e-6);
    EXPECT_NEAR(high[1], 114.0 / 128, 1e-6);
}
