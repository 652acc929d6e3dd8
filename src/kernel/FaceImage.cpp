#include "kernel/FaceImage.h"

#include "kernel/Tolerance.h"

#include <cmath>

namespace
{
TextureImageHost* gHost = nullptr;
FaceImage* gFirst = nullptr;
FaceImage* gLast = nullptr;

constexpr double kAxisTol = 1e-5;

double PlaneAt(const double plane[4], const Vec3D& p)
{
    return plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
}

// The unit normal of a plane function, or the fallback when it vanishes.
Vec3D PlaneDirection(const double plane[4], const Vec3D& fallback)
{
    Vec3D n{plane[0], plane[1], plane[2]};
    const double length = Vec3Length(n);
    if (length <= kAxisTol)
        return fallback;
    Vec3Scale(n, n, 1.0 / length);
    return n;
}

// Brings u within half a turn of the reference.
float WrapNear(float u, float reference)
{
    if (u > reference + 0.5f)
        u -= std::trunc(u - reference + 0.5f);
    else if (u < reference - 0.5f)
        u += std::trunc(reference - u + 0.5f);
    return u;
}

bool OnAxis(const Vec3D& p, const Vec3D& axis)
{
    int major = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(axis[i]) > std::fabs(axis[major]))
            major = i;
    const double k = p[major] / axis[major];
    for (int i = 0; i < 3; ++i)
        if (!WithinTol(p[i], k * axis[i], kAxisTol))
            return false;
    return true;
}
}  // namespace

TextureImageHost* SetTextureImageHost(TextureImageHost* host)
{
    TextureImageHost* previous = gHost;
    gHost = host;
    return previous;
}

FaceImage* FaceImage::Create(TextureImage* texture, int projection, int wrap, const void* owner, bool ownerIsCell)
{
    auto* image = new FaceImage();
    image->mTexture = texture;
    image->mProjection = projection;
    image->mWrap = wrap;
    image->mOwner = owner;
    if (ownerIsCell)
        image->mFlags |= kOwnerIsCell;
    ListAppend(image, gFirst, gLast);
    return image;
}

FaceImage::~FaceImage()
{
    while (mTextureUses > 0)
        UnuseTexture();
    if (mTexture && gHost)
        gHost->Release(mTexture);
}

void FaceImage::Release(FaceImage* image)
{
    if (!image || !image->Unuse())
        return;
    ListRemove(image, gFirst, gLast);
    delete image;
}

FaceImage* FaceImage::CloneFor(FaceImage* image, FaceImageRef* cellSlot, FaceImageRef* elementSlot)
{
    if (!image || (!cellSlot && !elementSlot))
        return nullptr;
    if (!image->mClone)
    {
        if (image->mTexture && gHost)
            gHost->AddReference(image->mTexture);
        FaceImage* clone = Create(image->mTexture, image->mProjection, image->mWrap, image->mOwner, cellSlot != nullptr);
        clone->mFlags = (image->mFlags & ~kOwnerIsCell) | (clone->mFlags & kOwnerIsCell);
        clone->mUOffset = image->mUOffset;
        clone->mVOffset = image->mVOffset;
        clone->mRotationAngle = image->mRotationAngle;
        clone->mSnappedAngle = image->mSnappedAngle;
        clone->mPlacement = image->mPlacement;
        clone->mRotation = image->mRotation;
        clone->mHeight = image->mHeight;
        clone->mStretch = image->mStretch;
        image->mClone = clone;
    }
    (cellSlot ? cellSlot : elementSlot)->Set(image->mClone);
    return image->mClone;
}

void FaceImage::UseTexture()
{
    if (mTextureUses++ == 0 && mTexture && gHost)
        gHost->Use(mTexture);
}

void FaceImage::UnuseTexture()
{
    if (mTextureUses <= 0)
        return;
    if (--mTextureUses == 0 && mTexture && gHost)
        gHost->Unuse(mTexture);
}

TextureGeometry FaceImage::GetTextureGeometry() const
{
    return mTexture && gHost ? gHost->Geometry(mTexture) : TextureGeometry();
}

void FaceImage::PrepareTexCoords(FaceTexMapping& mapping, const Transform3D& facePlacement) const
{
    const TextureGeometry tex = GetTextureGeometry();
    mapping.flags = 0;
    const Transform3D& frame = mProjection == kProjectEachFace ? facePlacement : mPlacement;
    Transform3D::Multiply(mapping.placement, frame, mRotation);
    Vec3D x, y;
    mapping.placement.m.GetColumn(x, 0);
    mapping.placement.m.GetColumn(y, 1);
    const Vec3D& origin = mapping.placement.t;

    const double s = (mFlags & kFlip) ? -1.0 : 1.0;
    const double width = tex.aspect * mStretch * mHeight;
    Vec3D n;
    Vec3Scale(n, x, s / width);
    double* u = mapping.uPlane;
    u[0] = n.x;
    u[1] = n.y;
    u[2] = n.z;
    u[3] = 0.5 - s * mUOffset - Vec3Dot(origin, n);
    if (!tex.repeatS)
    {
        const double f = double(tex.textureWidth) / tex.texelsWide;
        for (int i = 0; i < 4; ++i)
            u[i] /= f;
        u[3] += double(tex.marginLeft) / tex.textureWidth;
    }

    Vec3Scale(n, y, 1.0 / mHeight);
    double* v = mapping.vPlane;
    v[0] = n.x;
    v[1] = n.y;
    v[2] = n.z;
    v[3] = 0.5 - mVOffset - Vec3Dot(origin, n);
    if (!tex.repeatT)
    {
        const double f = double(tex.textureHeight) / tex.texelsHigh;
        for (int i = 0; i < 4; ++i)
            v[i] /= f;
        v[3] += double(tex.marginBottom) / tex.textureHeight;
    }
}

void FaceImage::ComputeTexCoord(const FaceTexMapping& mapping, const Vec3D& p, float uv[2],
                                const float* referenceU) const
{
    if (mProjection != kProjectCylindrical && mProjection != kProjectSpherical)
    {
        uv[0] = float(PlaneAt(mapping.uPlane, p));
        uv[1] = float(PlaneAt(mapping.vPlane, p));
        return;
    }
    const Vec3D a = PlaneDirection(mapping.uPlane, Vec3D{1, 0, 0});
    const Vec3D axis = PlaneDirection(mapping.vPlane, Vec3D{0, 1, 0});
    Vec3D r;
    Vec3AddScaled(r, p, -Vec3Dot(axis, p), axis);
    const double rLength = Vec3Length(r);
    double u = 0.5;
    if (rLength > kAxisTol)
    {
        Vec3Scale(r, r, 1.0 / rLength);
        double t = Vec3Angle(a, r);
        Vec3D c;
        Vec3Cross(c, a, r);
        if (Vec3Dot(axis, c) < 0.0)
            t = -t;
        u = t / (2.0 * kPi) + 0.75;
    }
    u -= mUOffset;
    float fu = float(u);
    if (referenceU)
        fu = WrapNear(fu, *referenceU);
    else if (fu > 1.0f)
        fu -= 1.0f;
    uv[0] = fu;

    if (mProjection == kProjectCylindrical)
    {
        uv[1] = float(PlaneAt(mapping.vPlane, p));
        return;
    }
    const double length = Vec3Length(p);
    if (length <= kAxisTol)
    {
        uv[1] = 0.5f;
        return;
    }
    Vec3D dir;
    Vec3Scale(dir, p, 1.0 / length);
    const double polar = Vec3Angle(axis, dir);
    uv[1] = float((0.5 - polar / kPi) * GetTextureGeometry().aspect * 0.5);
}

void FaceImage::FinishTexCoord(float uv[2]) const
{
    if (mProjection != kProjectSpherical)
        return;
    const TextureGeometry tex = GetTextureGeometry();
    double v = uv[1] * mStretch + 0.5 - mVOffset;
    if (!tex.repeatT)
        v = (tex.texelsHigh * v + tex.marginBottom) / tex.textureHeight;
    uv[1] = float(v);
}

void FaceImage::TexCoordAt(const FaceTexMapping& mapping, const Vec3D& point, float uv[2], const float* reference) const
{
    ComputeTexCoord(mapping, point, uv, reference);
    FinishTexCoord(uv);
}

void FaceImage::FixSeamTexCoords(const FaceTexMapping& mapping, const Vec3D corners[3], float uv[3][2],
                                 int projection) const
{
    if (projection != kProjectCylindrical && projection != kProjectSpherical)
        return;
    const Vec3D axis = PlaneDirection(mapping.vPlane, Vec3D{0, 1, 0});
    bool on[3];
    int count = 0;
    for (int i = 0; i < 3; ++i)
    {
        on[i] = OnAxis(corners[i], axis);
        count += on[i];
    }
    if (count == 2)
    {
        const int off = !on[0] ? 0 : !on[1] ? 1 : 2;
        for (int i = 0; i < 3; ++i)
            uv[i][0] = uv[off][0];
    }
    else if (count == 1)
    {
        const int k = on[0] ? 0 : on[1] ? 1 : 2;
        float* a = uv[(k + 2) % 3];
        float* b = uv[(k + 1) % 3];
        b[0] = WrapNear(b[0], a[0]);
        uv[k][0] = (a[0] + b[0]) * 0.5f;
    }
}

bool FaceImagesExist()
{
    return gFirst != nullptr;
}

FaceImage* GetFirstFaceImage()
{
    return gFirst;
}

void ClearFaceImageClones()
{
    for (FaceImage* image = gFirst; image; image = image->next)
        image->mClone = nullptr;
}

void FaceImageRef::Set(FaceImage* image)
{
    if (image == mImage)
        return;
    if (mImage)
    {
        if (mUsesTexture)
            mImage->UnuseTexture();
        FaceImage::Release(mImage);
    }
    mImage = image;
    if (mImage)
    {
        mImage->AddUser();
        if (mUsesTexture)
            mImage->UseTexture();
    }
}
