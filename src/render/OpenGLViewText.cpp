// Raster text, text boxes and the sized primitives (spheres, cylinders, arrows) of OpenGLView.

#include "render/OpenGLView.h"

#include "kernel/RenderSettings.h"
#include "kernel/SineTable.h"
#include "render/DrawPrimitives.h"
#include "render/RasterText.h"
#include "render/SceneText.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
int Nint(double v)
{
    return int(std::lround(v));
}

// Moves the raster position by whole pixels.
void MoveRaster(float dx, float dy)
{
    glBitmap(0, 0, 0.0f, 0.0f, dx, dy, nullptr);
}

// A unit vector perpendicular to d (unit), from the axis of d's smallest component.
Vec3D PerpendicularTo(const Vec3D& d)
{
    Vec3D axis;
    axis[Vec3MinAxis(d)] = 1.0;
    Vec3D p;
    Vec3Cross(p, d, axis);
    Vec3Normalize(p);
    return p;
}
}  // namespace

// ---- Text ----

int OpenGLView::GetTextHeight() const
{
    return mRasterFont ? mRasterFont->GetTextHeight() : 13;
}

int OpenGLView::MeasureLine(const std::string& latin1) const
{
    return mRasterFont ? mRasterFont->LineWidth(latin1) : 0;
}

void OpenGLView::MeasureText(const char* text, int& width, int& height) const
{
    width = height = 0;
    if (!text || !*text)
        return;
    const std::vector<std::string> lines = SplitTextLines(ToLatin1(text).c_str());
    for (const std::string& line : lines)
        width = std::max(width, MeasureLine(line));
    height = int(lines.size()) * GetTextHeight();
}

void OpenGLView::DrawTextAt(const char* text, double x, double y, bool centred)
{
    if (!text || !*text || !IsRasterTextEnabled())
        return;
    const std::vector<std::string> lines = SplitTextLines(ToLatin1(text).c_str());
    const float height = float(GetTextHeight());
    glRasterPos2d(x, y);
    // The offsets are whole pixels, whatever the projection: moving the raster position keeps them so.
    if (centred)
        MoveRaster(0.0f, height * float(lines.size()) / 2.0f - height);
    for (const std::string& line : lines)
    {
        const float width = float(MeasureLine(line));
        const float shift = centred ? -std::floor(width / 2.0f) : 0.0f;
        MoveRaster(shift, 0.0f);
        CallRasterLists(line);
        MoveRaster(-shift - width, -height);
    }
}

void OpenGLView::DrawTextAtPoint(const char* text, const Vec2D& point, int flags)
{
    DrawTextAt(text, point.x, point.y, (flags & 1) != 0);
}

ViewTextBox OpenGLView::DrawTextBox(const char* text, double x, double y, const float color[3], int flags,
                                    float alpha)
{
    ViewTextBox box;
    if (!text || !*text || !IsRasterTextEnabled())
        return box;
    const bool lighting = SetLighting(false);
    const int w = mViewport[2], h = mViewport[3];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
    int width = 0, height = 0;
    MeasureText(text, width, height);
    const int textHeight = GetTextHeight();
    if (flags & 1)
        x -= width / 2;
    if (flags & 2)
        y += (height + 6) / 2 - textHeight;
    box.left = Nint(x) - 2;
    box.top = textHeight + Nint(y) - height - 6;
    box.right = Nint(x) + width + 2;
    box.bottom = textHeight + Nint(y);
    const int blend = SetBlendMode(2);
    SetColor4f(1.0f - color[0], 1.0f - color[1], 1.0f - color[2], alpha);
    glRecti(box.left, box.top, box.right, box.bottom);
    SetColor3f(color[0], color[1], color[2]);
    DrawTextAt(text, x, y, false);
    SetBlendMode(blend);
    glDepthFunc(GL_LEQUAL);
    SetLighting(lighting);
    return box;
}

bool& OpenGLView::ViewTextsEnabled()
{
    static bool enabled = true;
    return enabled;
}

ViewTextBox OpenGLView::DrawViewText(int kind, const char* text, const float color[3], int dx, int dy,
                                     float alpha)
{
    if (!ViewTextsEnabled())
        return ViewTextBox();
    const int w = mViewport[2], h = mViewport[3];
    const int textHeight = GetTextHeight();
    const int lines = CountTextLines(text);
    const int indent = w <= 91 ? 1 : w < 120 ? w - 90 : 30;
    int left = 1, base = 0;
    switch (kind)
    {
    case 0:
        base = h + 1 - textHeight;
        break;
    case 1:
        base = h + 1 - 3 * textHeight;
        left = indent;
        break;
    case 2:
        base = textHeight * (lines - 1) + 2;
        break;
    default:
        base = std::min((textHeight * (lines - 2) + h) / 2, h + 1 - textHeight);
        left = indent;
        break;
    }
    return DrawTextBox(text, left + dx, base + dy, color, 0, alpha);
}

// ---- 2D and 3D shapes ----

void OpenGLView::DrawClippedLine2D(const Vec2D& p, const Vec2D& q)
{
    Vec2D a = p, b = q;
    if (!ClipLine2D(a, b, Vec2D{mVisLeft, mVisBottom}, Vec2D{mVisRight, mVisTop}))
        return;
    glBegin(GL_LINES);
    glVertex2d(a.x, a.y);
    glVertex2d(b.x, b.y);
    glEnd();
}

void OpenGLView::DrawArrowHead3D(const Vec3D& from, const Vec3D& tip, double size)
{
    ::DrawArrowHead3D(from, tip, size, mBackward);
}

void OpenGLView::DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size)
{
    ::DrawDoubleArrow3D(a, b, size, mBackward);
}

double OpenGLView::ScreenSizeMeasure(const Vec3D& centre, double radius)
{
    Vec3D edge, a, b;
    Vec3AddScaled(edge, centre, radius, mRight);
    ProjectToWindow(a, centre);
    ProjectToWindow(b, edge);
    const double dx = b.x - a.x, dy = b.y - a.y;
    return 4.0 * (dx * dx + dy * dy);
}

int OpenGLView::SphereSubdivisions(double measure) const
{
    if (mOffscreen)
        return 8;
    return measure < 25 ? 2 : measure < 100 ? 3 : measure < 400 ? 4 : measure < 3600 ? 6 : 8;
}

int OpenGLView::CylinderSegments(double measure) const
{
    if (mOffscreen)
        return 32;
    return measure < 1 ? 4 : measure < 4 ? 6 : measure < 100 ? 8 : measure < 900 ? 16 : 32;
}

void OpenGLView::DrawSphere(const Vec3D& centre, double radius)
{
    const int n = SphereSubdivisions(mOffscreen ? 0.0 : ScreenSizeMeasure(centre, radius));
    const int gridN = (n == 3 || n == 6) ? 6 : 8;
    const std::vector<Vec3F>& grid = SphereOctantTable(gridN);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int octant = 0; octant < 8; ++octant)
    {
        const int signs[3] = {(octant & 1) ? -1 : 1, (octant & 2) ? -1 : 1, (octant & 4) ? -1 : 1};
        DrawSphereOctant(centre, radius, grid, gridN, gridN / n, signs);
    }
    glPopClientAttrib();
}

namespace
{
// The frame of a cylinder's side: the unit axis d, the start axis u across it and w = u x d.
bool CylinderFrame(const Vec3D& from, const Vec3D& to, const Vec3D* startAxis, Vec3D& d, double& length, Vec3D& u,
                   Vec3D& w)
{
    Vec3Sub(d, to, from);
    if (std::fabs(d.x) <= 1e-5 && std::fabs(d.y) <= 1e-5 && std::fabs(d.z) <= 1e-5)
        return false;
    length = Vec3Length(d);
    Vec3Div(d, d, length);
    if (startAxis)
    {
        u = *startAxis;
        Vec3AddScaledTo(u, -Vec3Dot(u, d), d);
        if (!Vec3Normalize(u))
            u = PerpendicularTo(d);
    }
    else
        u = PerpendicularTo(d);
    Vec3Cross(w, u, d);
    return true;
}

// The first texture coordinate's range and the second's mapping, projecting a picture onto the side
// as seen along u with square texels.
struct SideTexture
{
    double low = 0.0, high = 1.0;
    double diameter = 0.0, length = 0.0;

    double Second(double c) const
    {
        if (diameter >= length)
            return (c + 1.0) / 2.0;
        return 0.5 + c * diameter / (2.0 * length);
    }
};

SideTexture MakeSideTexture(double diameter, double length)
{
    SideTexture t;
    t.diameter = diameter;
    t.length = length;
    if (diameter >= length && diameter > 0.0)
    {
        t.low = 0.5 - length / (2.0 * diameter);
        t.high = 0.5 + length / (2.0 * diameter);
    }
    return t;
}
}  // namespace

void OpenGLView::DrawCylinder(const Vec3D& from, const Vec3D& to, double radius, double gap, const Vec3D* startAxis,
                              int flags)
{
    Vec3D d, u, w;
    double length = 0.0;
    if (!CylinderFrame(from, to, startAxis, d, length, u, w) || 2.0 * gap >= length)
        return;
    Vec3D a, b;
    Vec3AddScaled(a, from, gap, d);
    Vec3AddScaled(b, to, -gap, d);
    const double drawn = length - 2.0 * gap;
    int n = 32;
    if (!mOffscreen)
    {
        const Vec3D& nearer = Vec3Distance(a, mCurrentEyePos) <= Vec3Distance(b, mCurrentEyePos) ? a : b;
        n = CylinderSegments(ScreenSizeMeasure(nearer, radius));
    }
    const SideTexture tex = MakeSideTexture(2.0 * radius, drawn);
    std::vector<GLfloat> normals(size_t(n + 1) * 6), vertices(size_t(n + 1) * 6), texCoords(size_t(n + 1) * 4);
    for (int i = 0; i <= n; ++i)
    {
        double s, c;
        SineTable::SinCos(i, n, s, c);
        const Vec3D normal{c * w.x + s * u.x, c * w.y + s * u.y, c * w.z + s * u.z};
        const Vec3D* ends[2] = {&b, &a};  // the `to` end first
        for (int e = 0; e < 2; ++e)
        {
            const size_t k = size_t(2 * i + e);
            normals[3 * k] = float(normal.x);
            normals[3 * k + 1] = float(normal.y);
            normals[3 * k + 2] = float(normal.z);
            vertices[3 * k] = float(ends[e]->x + radius * normal.x);
            vertices[3 * k + 1] = float(ends[e]->y + radius * normal.y);
            vertices[3 * k + 2] = float(ends[e]->z + radius * normal.z);
            texCoords[2 * k] = float(e == 0 ? tex.high : tex.low);
            texCoords[2 * k + 1] = float(tex.Second(c));
        }
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 2 * (n + 1));
    glPopClientAttrib();
    if (flags & 1)
    {
        glTexCoord2f(0.0f, 0.0f);
        Vec3D back;
        Vec3Neg(back, d);
        ::DrawCircle3D(b, d, radius, n, true, &w);
        ::DrawCircle3D(a, back, radius, n, true, &w);
    }
}

void OpenGLView::DrawCylinder(const Vec3D& from, const Vec3D& to, double r1, double r2, double inset1,
                              double inset2, const Vec3D* startAxis, bool caps)
{
    Vec3D d, u, w;
    double length = 0.0;
    if (!CylinderFrame(from, to, startAxis, d, length, u, w) || inset1 + inset2 >= length)
        return;
    Vec3D a, b;
    Vec3AddScaled(a, from, inset1, d);
    Vec3AddScaled(b, to, -inset2, d);
    const double drawn = length - inset1 - inset2;
    int n = 32;
    if (!mOffscreen)
    {
        const bool aNearer = Vec3Distance(a, mCurrentEyePos) <= Vec3Distance(b, mCurrentEyePos);
        n = CylinderSegments(ScreenSizeMeasure(aNearer ? a : b, aNearer ? r1 : r2));
    }
    const SideTexture tex = MakeSideTexture(2.0 * std::max(r1, r2), drawn);
    const double slope = r1 - r2;
    const double norm = std::sqrt(drawn * drawn + slope * slope);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= n; ++i)
    {
        double s, c;
        SineTable::SinCos(i, n, s, c);
        const Vec3D out{c * w.x + s * u.x, c * w.y + s * u.y, c * w.z + s * u.z};
        Vec3D normal;
        Vec3Scale(normal, out, drawn / norm);
        Vec3AddScaledTo(normal, slope / norm, d);
        glNormal3d(normal.x, normal.y, normal.z);
        glTexCoord2d(tex.low, tex.Second(c));
        glVertex3d(b.x + r2 * out.x, b.y + r2 * out.y, b.z + r2 * out.z);
        glTexCoord2d(tex.high, tex.Second(c));
        glVertex3d(a.x + r1 * out.x, a.y + r1 * out.y, a.z + r1 * out.z);
    }
    glEnd();
    if (caps)
    {
        Vec3D back;
        Vec3Neg(back, d);
        ::DrawCircle3D(b, d, r2, n, true, &w);
        ::DrawCircle3D(a, back, r1, n, true, &w);
    }
}

// ---- SceneDrawer ----

void OpenGLView::DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                              const Vec3D* startAxis)
{
    ::DrawCircle3D(centre, normal, radius, segments, filled, startAxis);
}

void OpenGLView::DrawSceneText(uint32_t settings, const Vec3D& anchor, double size, const char* text, int flags,
                               const Vec3D& normal, const Vec3D* direction)
{
    ::DrawSceneText(*this, settings, anchor, size, -1.0f, text, flags, &normal, direction);
}

void OpenGLView::DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                               const Vec3D& zAxis, double length, const ColorRGB* color)
{
    if (color)
        SetColor3f(color->r, color->g, color->b);
    else
        SetColor3f(1.0f, 1.0f, 1.0f);
    DrawRasterText(text, point);
    const Vec3D* axes[3] = {&xAxis, &yAxis, &zAxis};
    const float tints[3][3] = {{1.0f, 0.5f, 0.5f}, {0.5f, 1.0f, 0.5f}, {0.5f, 0.5f, 1.0f}};
    for (int i = 0; i < 3; ++i)
    {
        SetColor3f(tints[i][0], tints[i][1], tints[i][2]);
        Vec3D end;
        Vec3AddScaled(end, point, length, *axes[i]);
        glBegin(GL_LINES);
        glVertex3d(point.x, point.y, point.z);
        glVertex3d(end.x, end.y, end.z);
        glEnd();
    }
}

void OpenGLView::DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize)
{
    DrawDoubleArrow3D(from, to, headSize);
}

void OpenGLView::DrawRasterText(const char* text, const Vec3D& point)
{
    ::DrawRasterText(text, point);
}
