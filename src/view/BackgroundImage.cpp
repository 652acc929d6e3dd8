#include "view/BackgroundImage.h"

#include "kernel/Strings.h"
#include "kernel/Tolerance.h"
#include "render/BackgroundImageSettings.h"
#include "render/ImageFile.h"
#include "render/OpenGLView.h"
#include "render/TextureImage.h"

#include <GL/gl.h>

#include <cmath>

BackgroundQuad ComputeBackgroundQuad(int fit, const int viewport[4], int imageWidth, int imageHeight, double shiftX)
{
    BackgroundQuad q;
    double w = viewport[2] / 2.0;
    double h = viewport[3] / 2.0;
    q.centreX = viewport[0] + w;
    q.centreY = viewport[1] + h;
    if (imageWidth > 0 && imageHeight > 0 && viewport[2] > 0 && viewport[3] > 0)
    {
        const double a = double(viewport[2]) / viewport[3];
        const double i = double(imageWidth) / imageHeight;
        switch (fit)
        {
        case kBackgroundFitWithin:
            if (a >= i)
                w = h * i;
            else
                h = w / i;
            break;
        case kBackgroundFitAround:
            if (a > i)
                h = w / i;
            else
                w = h * i;
            break;
        case kBackgroundFitWidth:
            h = w / i;
            break;
        case kBackgroundFitHeight:
            w = h * i;
            break;
        case kBackgroundActualSize:
            w = imageWidth / 2.0;
            h = imageHeight / 2.0;
            // An odd difference between the viewport and the image would put the edges on half
            // pixels, and the image would be resampled.
            q.centreX = viewport[0] + std::floor((viewport[2] - imageWidth) / 2.0) + w;
            q.centreY = viewport[1] + std::floor((viewport[3] - imageHeight) / 2.0) + h;
            break;
        default:  // stretched over the whole viewport
            break;
        }
    }
    q.centreX += shiftX;
    q.halfWidth = w;
    q.halfHeight = h;
    return q;
}

double BackgroundStereoShift(double viewRadius, double cameraDistance, double eyeSeparation, bool leftEye,
                             int viewportHeight, double fieldOfView)
{
    const double tanHalf = std::tan(fieldOfView * kPi / 360.0);
    if (cameraDistance <= 0.0 || tanHalf <= 0.0)
        return 0.0;
    const double separation = leftEye ? -eyeSeparation : eyeSeparation;
    return 2.0 * viewRadius / (2.0 * viewRadius + cameraDistance) * separation * (viewportHeight / 2.0) /
           (tanHalf * cameraDistance);
}

namespace
{
TextureImage* gBackground = nullptr;  // one reference and one use held
}  // namespace

BackgroundTexture& GetBackgroundTexture()
{
    static BackgroundTexture texture;
    if (const TextureImage* t = gBackground)
    {
        texture.name = t->mNames[0];
        texture.imageWidth = t->mImageWidth;
        texture.imageHeight = t->mImageHeight;
        texture.textureWidth = t->mTextureWidth;
        texture.textureHeight = t->mTextureHeight;
        texture.texelsWide = t->mTexelsWide;
        texture.texelsHigh = t->mTexelsHigh;
        const ImageMargins m = GetCenteringMargins(t->mTexelsWide, t->mTexelsHigh, t->mTextureWidth, t->mTextureHeight);
        texture.marginLeft = m.left;
        texture.marginBottom = m.bottom;
    }
    return texture;
}

bool HasBackgroundImage()
{
    return gBackground != nullptr || GetBackgroundTexture().name != 0;
}

bool SetBackgroundImage(const std::string& path)
{
    TextureImage* t = nullptr;
    if (!IsBlank(path))
    {
        t = TextureImage::New(path, GL_CLAMP, GL_CLAMP, nullptr, false);
        if (!t)
            return false;
        if (!t->Use())
        {
            t->Unuse();
            TextureImage::Release(t);
            return false;
        }
    }
    ReleaseBackgroundTexture();
    gBackground = t;
    BackgroundImageSettings& settings = GetBackgroundImageSettings();
    settings.currentPath = t ? t->mPath : std::string();
    settings.pendingPath.clear();
    NewView::InvalidateAll(false, false);
    return true;
}

void ReleaseBackgroundTexture()
{
    BackgroundTexture& texture = GetBackgroundTexture();
    if (TextureImage* t = gBackground)
    {
        gBackground = nullptr;
        t->Unuse();
        TextureImage::Release(t);
        texture = BackgroundTexture();
        return;
    }
    if (texture.name)
        if (OpenGLView* view = dynamic_cast<OpenGLView*>(NewView::GetFirstView()); view && view->PreOpenGL())
        {
            const GLuint name = texture.name;
            glDeleteTextures(1, &name);
            view->PostOpenGL();
        }
    texture = BackgroundTexture();
}
