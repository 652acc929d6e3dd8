#include "render/TextureImage.h"

#include "kernel/FaceImage.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "render/GLContextState.h"
#include "render/ImageFile.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "render/PrepareTexture.h"

namespace
{
TextureImage* gFirst = nullptr;
TextureImage* gLast = nullptr;
bool gBlockyPixels = false;
int gMaximumImageSize = 1024;

bool SameRGB(const float* a, const float* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The model's face images reach their textures through this.
class Host : public TextureImageHost
{
public:
    void AddReference(TextureImage* texture) override { texture->AddReference(); }
    void Release(TextureImage* texture) override { TextureImage::Release(texture); }
    void Use(TextureImage* texture) override { texture->Use(); }
    void Unuse(TextureImage* texture) override { texture->Unuse(); }
    TextureGeometry Geometry(const TextureImage* t) const override
    {
        TextureGeometry g;
        g.repeatS = t->mWrapS == GL_REPEAT;
        g.repeatT = t->mWrapT == GL_REPEAT;
        g.textureWidth = t->mTextureWidth;
        g.textureHeight = t->mTextureHeight;
        g.texelsWide = t->mTexelsWide;
        g.texelsHigh = t->mTexelsHigh;
        const ImageMargins m = GetCenteringMargins(t->mTexelsWide, t->mTexelsHigh, t->mTextureWidth, t->mTextureHeight);
        g.marginLeft = m.left;
        g.marginBottom = m.bottom;
        g.aspect = t->mAspect;
        g.alphaChannel = t->mTranslucent;
        return g;
    }
};

void InstallHost()
{
    static Host host;
    static bool installed = false;
    if (!installed)
    {
        SetTextureImageHost(&host);
        installed = true;
    }
}

int TextureWrapS(int projection, int wrap)
{
    return projection == FaceImage::kProjectCylindrical || projection == FaceImage::kProjectSpherical ? GL_REPEAT
                                                                                                       : wrap;
}
}  // namespace

bool& BlockyPixels()
{
    return gBlockyPixels;
}

int& MaximumImageSize()
{
    return gMaximumImageSize;
}

TextureImage* TextureImage::GetFirst()
{
    return gFirst;
}

TextureImage* TextureImage::Find(const std::string& fullPath, int wrapS, int wrapT, const float* color)
{
    for (TextureImage* t = gFirst; t; t = t->next)
    {
        // Paths compare with case, as the file system does.
        if (t->mPath != fullPath || t->mWrapS != wrapS || t->mWrapT != wrapT)
            continue;
        if (color && (wrapS == GL_CLAMP_TO_BORDER || wrapT == GL_CLAMP_TO_BORDER) && !SameRGB(t->mBorderColor, color))
            continue;
        return t;
    }
    return nullptr;
}

TextureImage* TextureImage::New(const std::string& path, int wrapS, int wrapT, const float* color, bool useNow)
{
    InstallHost();
    std::string full;
    if (!GetFullPath(full, path.c_str()))
        return nullptr;
    if (TextureImage* found = Find(full, wrapS, wrapT, color))
    {
        found->AddReference();
        return found;
    }
    if (!GetAnyGLView())
    {
        InternalError("TextureImage::New() called without OpenGL view");
        return nullptr;
    }
    if (!PathExists(full.c_str()))
        return nullptr;
    auto* t = new TextureImage();
    t->mPath = full;
    t->mWrapS = wrapS;
    t->mWrapT = wrapT;
    if (color)
        for (int i = 0; i < 3; ++i)
            t->mBorderColor[i] = color[i];
    ListAppend(t, gFirst, gLast);
    t->mReferences = 1;
    if (useNow && !t->Use())
    {
        Release(t);
        return nullptr;
    }
    return t;
}

TextureImage::~TextureImage()
{
    while (mUses > 0)
        Unuse();
}

void TextureImage::Release(TextureImage* t)
{
    if (!t)
        return;
    if (t->mReferences-- > 1)
        return;
    ListRemove(t, gFirst, gLast);
    delete t;
}

bool TextureImage::Use()
{
    if (mUses++ > 0)
        return true;
    OpenGLView* view = GetAnyGLView();
    if (!view || !view->PreOpenGL())
        return true;
    glGenTextures(2, mNames);
    const bool made = Prepare(true, false, false);
    view->PostOpenGL();
    return made;
}

void TextureImage::Unuse()
{
    if (mUses <= 0 || --mUses > 0)
        return;
    OpenGLView* view = GetAnyGLView();
    if (view && view->PreOpenGL())
    {
        glDeleteTextures(2, mNames);
        view->PostOpenGL();
    }
    mNames[0] = mNames[1] = 0;
}

bool TextureImage::Prepare(bool checkTime, bool force, bool reuse)
{
    OpenGLView* view = GetAnyGLView();
    if (!view)
    {
        InternalError("TextureImage::Prepare() called without OpenGL view");
        return false;
    }
    if (!view->PreOpenGL())
        return false;
    bool keepStorage = false;
    if (mNames[0] && glIsTexture(mNames[0]))
    {
        const int64_t time = checkTime ? GetFileModifiedTime(mPath.c_str()) : -1;
        if (!force && !(checkTime && time != -1 && time != mFileTime))
        {
            view->PostOpenGL();
            return true;
        }
        keepStorage = reuse;
    }
    if (!mNames[0])
        glGenTextures(2, mNames);
    FIBITMAP* image = LoadImageFile(mPath, true);
    if (!image)
    {
        if (!keepStorage)
            mFileTime = -1;
        view->PostOpenGL();
        return false;
    }
    ++mLoads;
    NewView::InvalidateAll(false, false);
    if (!keepStorage)
    {
        mFileTime = GetFileModifiedTime(mPath.c_str());
        mImageWidth = int(FreeImage_GetWidth(image));
        mImageHeight = int(FreeImage_GetHeight(image));
        mAspect = double(mImageWidth) / std::max(mImageHeight, 1);
    }
    bool followEdge = true;
    for (int i = 0; i < 4; ++i)
        followEdge = followEdge && mBorderColor[i] == mEdgeColor[i];
    TextureRequest r;
    r.name = mNames[0];
    r.image = image;
    r.flags = kTextureMipmaps;
    if (mWrapS == GL_REPEAT)
        r.flags |= kTextureRepeatS;
    else if (mWrapS == GL_CLAMP_TO_BORDER)
        r.flags |= kTextureBorderS;
    if (mWrapT == GL_REPEAT)
        r.flags |= kTextureRepeatT;
    else if (mWrapT == GL_CLAMP_TO_BORDER)
        r.flags |= kTextureBorderT;
    if (keepStorage)
        r.flags |= kTextureKeepStorage;
    if (gBlockyPixels)
        r.flags |= kTextureNearest;
    r.secondName = mNames[1];
    int maximum = gMaximumImageSize;
    r.maximumSize = &maximum;
    r.edgeColor = mEdgeColor;
    r.borderColor = followEdge ? nullptr : mBorderColor;
    r.imageWidth = &mTexelsWide;
    r.imageHeight = &mTexelsHigh;
    r.textureWidth = &mTextureWidth;
    r.textureHeight = &mTextureHeight;
    const int channels = PrepareTexture(r);
    FreeImage_Unload(image);
    // A border colour never chosen follows the image's own edge.
    if (followEdge)
        for (int i = 0; i < 4; ++i)
            mBorderColor[i] = mEdgeColor[i];
    mTranslucent = channels == 2 || channels == 4;
    view->PostOpenGL();
    return channels > 0;
}

void TextureImage::PrepareAll(bool checkTime, bool force)
{
    OpenGLView* view = GetAnyGLView();
    if (!view)
    {
        InternalError("TextureImage::PrepareAll() called without OpenGL view");
        return;
    }
    bool open = false;
    for (TextureImage* t = gFirst; t; t = t->next)
    {
        if (!t->IsUsed())
            continue;
        if (!open && !(open = view->PreOpenGL()))
            return;
        t->Prepare(checkTime, force, false);
    }
    if (open)
        view->PostOpenGL();
}

FaceImage* NewFaceImage(const std::string& path, int projection, int wrap, const void* owner, bool ownerIsCell,
                        const float* borderColor)
{
    if (path.empty() || !owner)
        return nullptr;
    TextureImage* texture = TextureImage::New(path, TextureWrapS(projection, wrap), wrap, borderColor, false);
    if (!texture)
        return nullptr;
    return FaceImage::Create(texture, projection, wrap, owner, ownerIsCell);
}

TextureImage* GetFaceImageTexture(const FaceImage* image)
{
    return image ? image->mTexture : nullptr;
}

void SetFaceImageWrap(FaceImage* image, int wrap, const float* color)
{
    if (!image || !image->mTexture)
        return;
    TextureImage* old = image->mTexture;
    const int wrapS = TextureWrapS(image->mProjection, wrap);
    image->mWrap = wrap;
    // A border baked into the texels needs a texture of its own; any other colour changes in place.
    const bool bordered = wrapS == GL_CLAMP_TO_BORDER || wrap == GL_CLAMP_TO_BORDER;
    if (old->mWrapS == wrapS && old->mWrapT == wrap && (!color || !bordered || SameRGB(old->mBorderColor, color)))
    {
        if (color)
            for (int i = 0; i < 3; ++i)
                old->mBorderColor[i] = color[i];
        NewView::InvalidateAll(false, false);
        return;
    }
    TextureImage* t = TextureImage::New(old->mPath, wrapS, wrap, color ? color : old->mBorderColor, false);
    if (!t)
    {
        ErrorMessage("Couldn't reload image '%s'", old->mPath.c_str());
        return;
    }
    if (image->IsTextureUsed())
    {
        t->Use();
        old->Unuse();
    }
    TextureImage::Release(old);
    image->mTexture = t;
    NewView::InvalidateAll(false, false);
}

void SetFaceImageProjection(FaceImage* image, int projection)
{
    if (!image || image->mProjection == projection)
        return;
    image->mProjection = projection;
    image->mStretch = 1.0;
    SetFaceImageWrap(image, image->mWrap, nullptr);
}

void BindFaceImageTexture(const FaceImage* image, bool second)
{
    const TextureImage* t = image ? image->mTexture : nullptr;
    if (!t)
        return;
    const GLuint name = t->mNames[second ? 1 : 0];
    if (!name || !glIsTexture(name))
        return;
    BindTexture(name);
    const int clamp = GetGLCapabilities().edgeClampMode;
    const GLint edge = clamp > 0 ? GLint(clamp) : GLint(GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->mWrapS == GL_REPEAT ? GL_REPEAT : edge);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->mWrapT == GL_REPEAT ? GL_REPEAT : edge);
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR,
                     image->mWrap == GL_CLAMP_TO_BORDER ? t->mBorderColor : t->mEdgeColor);
}

void UnbindFaceImageTexture(const FaceImage* image)
{
    if (image)
        DisableTexture();
}
