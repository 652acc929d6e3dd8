#pragma once

#include "kernel/LinkNode.h"

#include <GL/gl.h>

#include <cstdint>
#include <string>

class FaceImage;

#ifndef GL_CLAMP_TO_BORDER
#define GL_CLAMP_TO_BORDER 0x812D
#endif

// One image file as OpenGL textures, shared by every face image, pane and model that shows the same
// file with the same wrapping (and border colour). Owners hold references; the GL textures exist
// while the record is used. It remembers its file's time and reloads the texture when the file
// changes. It is the TextureImageHost behind the model's FaceImage.
class TextureImage : public LinkNode<TextureImage>
{
public:
    // The record for the file (made absolute) and wraps, shared when one exists: one more reference.
    // Null for a missing file, or when useNow and the texture cannot be made.
    static TextureImage* New(const std::string& path, int wrapS, int wrapT, const float* borderColor, bool useNow);
    static TextureImage* Find(const std::string& fullPath, int wrapS, int wrapT, const float* borderColor);
    static TextureImage* GetFirst();

    void AddReference() { ++mReferences; }
    // Drops one reference; the last deletes the record (and its textures).
    static void Release(TextureImage* texture);
    // The first use makes the GL textures; the last deletes them.
    bool Use();
    void Unuse();
    bool IsUsed() const { return mUses > 0; }
    int GetReferenceCount() const { return mReferences; }
    int GetUseCount() const { return mUses; }

    // Loads the file into the texture when it has none, or when forced, or when checkTime and the
    // file changed; reuse keeps the texture's storage when the sizes allow. True when a texture is
    // there afterwards.
    bool Prepare(bool checkTime, bool force, bool reuse);
    // Prepare of every used record.
    static void PrepareAll(bool checkTime, bool force);

    std::string mPath;
    int mWrapS = GL_CLAMP;
    int mWrapT = GL_CLAMP;
    int64_t mFileTime = -1;
    int mImageWidth = 1;
    int mImageHeight = 1;
    int mTexelsWide = 1;  // the image inside its texture, after rescaling
    int mTexelsHigh = 1;
    int mTextureWidth = 1;
    int mTextureHeight = 1;
    double mAspect = 1.0;
    GLuint mNames[2] = {0, 0};
    bool mTranslucent = false;
    float mBorderColor[4] = {-1.0f, 0.0f, 0.0f, 1.0f};  // red -1: never chosen
    float mEdgeColor[4] = {-1.0f, 0.0f, 0.0f, 1.0f};
    int mLoads = 0;  // files read into the texture

private:
    TextureImage() = default;
    ~TextureImage() override;

    int mReferences = 0;
    int mUses = 0;
};

// "Blocky Pixels when Close-Up" and "Maximum Image Size".
bool& BlockyPixels();
int& MaximumImageSize();

// A face image of the file, not yet on any element; owner is the face or cell that places it.
// Cylindrical and spherical images repeat across their seam. Null when the file cannot be had.
FaceImage* NewFaceImage(const std::string& path, int projection, int wrap, const void* owner, bool ownerIsCell,
                        const float* borderColor);
// The image's boundary mode and border colour: in place when the texture's wraps stay, else through
// another texture record.
void SetFaceImageWrap(FaceImage* image, int wrap, const float* borderColor);
void SetFaceImageProjection(FaceImage* image, int projection);
// Binds the image's texture (or its alpha texture) with its wraps and border colour.
void BindFaceImageTexture(const FaceImage* image, bool second);
void UnbindFaceImageTexture(const FaceImage* image);
TextureImage* GetFaceImageTexture(const FaceImage* image);
