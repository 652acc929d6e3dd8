// The GL state setters of OpenGLView: the one way drawing code changes colour, material, blending,
// stipple, culling and depth mask, so that the stereo and rainbow colour rules apply everywhere and
// nothing reaches GL when nothing changes.

#include "render/OpenGLView.h"

#include "kernel/RenderSettings.h"
#include "render/FontCache.h"
#include "render/GLSelection.h"
#include "render/TranslucentQueue.h"

#include <GL/gl.h>

#include <algorithm>

namespace
{
// The screen-door pattern: every other pixel of every other row.
const GLubyte* StipplePattern()
{
    static GLubyte pattern[128] = {};
    static bool made = false;
    if (!made)
    {
        for (int row = 0; row < 32; row += 2)
            for (int b = 0; b < 4; ++b)
                pattern[row * 4 + b] = 0xAA;
        made = true;
    }
    return pattern;
}
}  // namespace

int OpenGLView::SetCullMode(int mode)
{
    const int previous = mCullMode;
    if (mode == mCullMode)
        return previous;
    mCullMode = mode;
    if (mode == 0)
        glDisable(GL_CULL_FACE);
    else
    {
        glCullFace(mode == 2 ? GL_FRONT : GL_BACK);
        if (previous <= 0)
            glEnable(GL_CULL_FACE);
    }
    return previous;
}

bool OpenGLView::SetDepthMask(bool on)
{
    const bool previous = mDepthMask;
    if (on != mDepthMask)
    {
        mDepthMask = on;
        glDepthMask(on ? GL_TRUE : GL_FALSE);
    }
    return previous;
}

int OpenGLView::SetBlendMode(int mode)
{
    const int previous = mBlendMode;
    if (mSelectionMode || mode == mBlendMode)
        return previous;
    glDisable(previous == 1 ? GL_POLYGON_STIPPLE : GL_BLEND);
    switch (mode)
    {
    case 1:
        glPolygonStipple(StipplePattern());
        glEnable(GL_POLYGON_STIPPLE);
        break;
    case 2:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case 3:
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
        break;
    default:
        break;
    }
    mBlendMode = mode;
    return previous;
}

void OpenGLView::SetLineStipple(int pattern)
{
    if (mSelectionMode || pattern == mLineStipple)
        return;
    mLineStipple = pattern;
    if (pattern == 0)
        glDisable(GL_LINE_STIPPLE);
    else
    {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(mOverSampling, GLushort(pattern));
    }
}

void OpenGLView::SetColor3f(float r, float g, float b)
{
    SetColor4f(r, g, b, 1.0f);
}

void OpenGLView::SetColor4f(float r, float g, float b, float a)
{
    if (mStereoMode == kStereoAnaglyph)
        r = g = b = IsPrinting() ? 0.0f : 1.0f;
    else if (AllWhiteMode())
        r = g = b = 1.0f;
    glColor4f(r, g, b, a);
}

float OpenGLView::SetLineWidth(float width)
{
    GLfloat previous = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &previous);
    glLineWidth(width);
    return previous;
}

void OpenGLView::DrawLines(const Vec3D* ends, const float* rgba, int count)
{
    if (count <= 0)
        return;
    glBegin(GL_LINES);
    for (int i = 0; i < count; ++i)
    {
        SetColor4f(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]);
        glVertex3d(ends[2 * i].x, ends[2 * i].y, ends[2 * i].z);
        glVertex3d(ends[2 * i + 1].x, ends[2 * i + 1].y, ends[2 * i + 1].z);
    }
    glEnd();
}

void OpenGLView::DrawPoints(const Vec3D* points, const float* rgba, int count, float size)
{
    if (count <= 0)
        return;
    glPointSize(size * mPointScale);
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i)
    {
        SetColor4f(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]);
        glVertex3d(points[i].x, points[i].y, points[i].z);
    }
    glEnd();
    glPointSize(mPointScale);
}

bool OpenGLView::SetPolygonOffsetFill(bool on)
{
    const bool previous = glIsEnabled(GL_POLYGON_OFFSET_FILL) == GL_TRUE;
    if (on)
        glEnable(GL_POLYGON_OFFSET_FILL);
    else
        glDisable(GL_POLYGON_OFFSET_FILL);
    return previous;
}

bool OpenGLView::SetDepthTest(bool on)
{
    const bool previous = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    if (on && m3D)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    return previous;
}

void OpenGLView::DrawTriangles(const Vec3D* corners, int count)
{
    if (count <= 0)
        return;
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3 * count; ++i)
        glVertex3d(corners[i].x, corners[i].y, corners[i].z);
    glEnd();
}

void OpenGLView::SetNormal(const Vec3D& normal)
{
    glNormal3d(normal.x, normal.y, normal.z);
}

void OpenGLView::DrawLineStrip(const Vec3D* points, int count)
{
    if (count <= 0)
        return;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < count; ++i)
        glVertex3d(points[i].x, points[i].y, points[i].z);
    glEnd();
}

float OpenGLView::SetPointSize(float size)
{
    GLfloat previous = 1.0f;
    glGetFloatv(GL_POINT_SIZE, &previous);
    glPointSize(size);
    return previous;
}

void OpenGLView::DrawPoints(const Vec3D* points, int count)
{
    if (count <= 0)
        return;
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i)
        glVertex3d(points[i].x, points[i].y, points[i].z);
    glEnd();
}

void OpenGLView::SetMaterialColor4f(float r, float g, float b, float a)
{
    if (AllWhiteMode())
        r = g = b = 1.0f;
    else if (GetRenderFlags() && m3D)
        r = g = b = std::max(r, std::max(g, b));  // the coloured lights tint the grey
    if (mStereoMode == kStereoAnaglyph)
    {
        if (!m3D)
        {
            glColor4f(r, g, b, a);
            return;
        }
        const float m = std::max(r, std::max(g, b));
        r = m * mTint[0];
        g = m * mTint[1];
        b = m * mTint[2];
    }
    if (m3D && mLighting && !AllWhiteMode())
    {
        const GLfloat color[4] = {r, g, b, a};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, color);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, color);
    }
    else
        glColor4f(r, g, b, a);
}

void OpenGLView::SetMaterialColorAlpha(const ColorRGB& color, float alpha)
{
    SetMaterialColor4f(color.r, color.g, color.b, alpha);
}

void OpenGLView::SetMaterialEmission(float r, float g, float b, float factor)
{
    SetMaterialColor3f(r, g, b);
    if (!(m3D && mLighting))
        return;
    const GLfloat emission[4] = {r * factor, g * factor, b * factor, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
}

void OpenGLView::ClearMaterialEmission()
{
    if (!(m3D && mLighting))
        return;
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
}

void OpenGLView::SetMaterialShininess(float value)
{
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, value);
}

void OpenGLView::SetMaterialSpecularColor(const float rgb[3])
{
    const GLfloat specular[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

void OpenGLView::SetMaterialSpecular(float grey)
{
    const GLfloat specular[4] = {grey, grey, grey, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

void OpenGLView::DisableTexture()
{
    glDisable(GL_TEXTURE_2D);
}

void OpenGLView::ApplyFontTextureState()
{
    ::ApplyFontTextureState();
}

void OpenGLView::SetGLSelectionItem(int itemType, int index)
{
    if (mSelectionMode)
        ::SetGLSelectionItem(itemType, index);
}

void OpenGLView::ClearGLSelectionItem()
{
    if (mSelectionMode)
        ::ClearGLSelectionItem();
}

bool OpenGLView::AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags,
                             double scale, FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints)
{
    return TranslucentQueue::AddTriangle(corners, normal, rgba, flags, scale, image, mapping, texPoints);
}
