#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec3D.h"

#include <cstdint>

// An image placed on faces (or vertices, the faces of the dual side, or 4D cells). Elements carry it
// through a FaceImageRef, each holding one user; the image goes when its last user lets go. Its
// texture is the rendering layer's TextureImage, reached through the TextureImageHost it installs:
// the model code compiles and runs without GL, and without a host an image has no texture.

class TextureImage;

// What the model code needs to know of a texture.
struct TextureGeometry
{
    bool repeatS = true;  // wrap GL_REPEAT; otherwise the image sits inside a larger texture
    bool repeatT = true;
    int textureWidth = 1;
    int textureHeight = 1;
    int texelsWide = 1;  // the image's size inside its texture
    int texelsHigh = 1;
    int marginLeft = 0;  // the image's place inside its texture
    int marginBottom = 0;
    double aspect = 1.0;  // image width / height
    bool alphaChannel = false;
};

class TextureImageHost
{
public:
    virtual ~TextureImageHost() = default;
    virtual void AddReference(TextureImage* texture) = 0;
    virtual void Release(TextureImage* texture) = 0;
    // Uses of the GL textures: the first makes them, the last deletes them.
    virtual void Use(TextureImage* texture) = 0;
    virtual void Unuse(TextureImage* texture) = 0;
    virtual TextureGeometry Geometry(const TextureImage* texture) const = 0;
};

// Installs the host (null: none); returns the previous one.
TextureImageHost* SetTextureImageHost(TextureImageHost* host);

// The texture mapping of one face, prepared once per face and drawing: u and v as plane functions.
struct FaceTexMapping
{
    Transform3D placement;  // x: image right, y: image up, z: out of the image, t: image centre
    double uPlane[4] = {0, 0, 0, 0};  // u = a x + b y + c z + d
    double vPlane[4] = {0, 0, 0, 0};
    uint32_t flags = 0;
};

class FaceImageRef;

class FaceImage : public LinkNode<FaceImage>
{
public:
    static constexpr uint32_t kUseFaceColor = 0x1;
    static constexpr uint32_t kFlip = 0x2;
    static constexpr uint32_t kOwnerIsCell = 0x4;
    static constexpr uint32_t kCountMark = 0x8;
    static constexpr uint32_t kKeepUpright = 0x10;

    static constexpr int kProjectEachFace = 0;
    static constexpr int kProjectPlanar = 1;
    static constexpr int kProjectCylindrical = 2;
    static constexpr int kProjectSpherical = 3;

    // The GL boundary modes, by their GL values.
    static constexpr int kWrapClamp = 0x2900;
    static constexpr int kWrapRepeat = 0x2901;
    static constexpr int kWrapClampToBorder = 0x812D;

    // A new image taking over one reference of the texture, not yet carried by any element.
    // owner is the element (face, vertex or cell) whose frame places the image.
    static FaceImage* Create(TextureImage* texture, int projection, int wrap, const void* owner, bool ownerIsCell);
    // Drops one user; at the last the image leaves the program's list and is deleted. Null-safe.
    static void Release(FaceImage* image);

    // The clone of the image made for the model being built, attached to the element's slot: made on
    // first use with the image's placement settings, so every element that carried this image carries
    // the one clone. A cell slot takes no texture use. The caller then sets the clone's owner.
    static FaceImage* CloneFor(FaceImage* image, FaceImageRef* cellSlot, FaceImageRef* elementSlot);

    void AddUser() { ++mUserCount; }
    // True when that was the last user.
    bool Unuse() { return --mUserCount <= 0; }
    int GetUserCount() const { return mUserCount; }
    void UseTexture();
    void UnuseTexture();
    bool IsTextureUsed() const { return mTextureUses > 0; }

    TextureGeometry GetTextureGeometry() const;
    // A texture with an alpha channel makes the element translucent.
    bool HasAlphaChannel() const { return GetTextureGeometry().alphaChannel; }
    double GetWidth() const { return GetTextureGeometry().aspect * mStretch; }
    // Width in model units.
    double GetScale() const { return GetWidth() * mHeight; }

    // Fills the mapping. facePlacement is the face's own frame, used by kProjectEachFace; the other
    // projections use the stored placement. The image's rotation acts first, inside the image plane.
    void PrepareTexCoords(FaceTexMapping& mapping, const Transform3D& facePlacement) const;
    // The texture coordinate of a point: with a reference u (cylindrical and spherical images), u is
    // kept within half a turn of it.
    void ComputeTexCoord(const FaceTexMapping& mapping, const Vec3D& point, float uv[2], const float* referenceU) const;
    void FinishTexCoord(float uv[2]) const;
    void TexCoordAt(const FaceTexMapping& mapping, const Vec3D& point, float uv[2], const float* reference) const;
    // Mends the coordinates of one triangle where a cylindrical or spherical image wraps or meets its
    // axis; other projections are left alone.
    void FixSeamTexCoords(const FaceTexMapping& mapping, const Vec3D corners[3], float uv[3][2], int projection) const;

    TextureImage* mTexture = nullptr;  // one reference held
    const void* mOwner = nullptr;
    uint32_t mFlags = 0;
    int mProjection = kProjectEachFace;
    int mWrap = kWrapClampToBorder;
    double mUOffset = 0.0;  // image widths
    double mVOffset = 0.0;  // image heights
    double mRotationAngle = 0.0;
    double mSnappedAngle = 0.0;
    Transform3D mPlacement;
    Transform3D mRotation;
    double mHeight = 2.0;
    double mStretch = 1.0;
    FaceImage* mClone = nullptr;

private:
    FaceImage() = default;
    ~FaceImage() override;

    int mUserCount = 0;
    int mTextureUses = 0;
};

// True while any face image exists.
bool FaceImagesExist();
FaceImage* GetFirstFaceImage();
// Forgets every clone link, before a model's elements are copied.
void ClearFaceImageClones();

// An element's image slot: holds one user of its image (and, for faces, one use of its texture).
class FaceImageRef
{
public:
    explicit FaceImageRef(bool usesTexture = true) : mUsesTexture(usesTexture) {}
    ~FaceImageRef() { Set(nullptr); }
    FaceImageRef(const FaceImageRef&) = delete;
    FaceImageRef& operator=(const FaceImageRef&) = delete;

    FaceImage* Get() const { return mImage; }
    // Lets go of the old image and takes the new one (null: none).
    void Set(FaceImage* image);

private:
    FaceImage* mImage = nullptr;
    bool mUsesTexture;
};
