#include "kernel/RecordingSceneDrawer.h"

#include "kernel/RenderSettings.h"

void RecordingSceneDrawer::Record(const char* name, std::vector<double> values, const char* text)
{
    calls.push_back(Call{name, std::move(values), text ? text : ""});
}

int RecordingSceneDrawer::CountCalls(const std::string& name) const
{
    int n = 0;
    for (const Call& c : calls)
        n += c.name == name;
    return n;
}

const RecordingSceneDrawer::Call* RecordingSceneDrawer::LastCall(const std::string& name) const
{
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

bool RecordingSceneDrawer::AllWhiteMode() const
{
    return viewAllWhite || GetRenderSettings().allWhite;
}

void RecordingSceneDrawer::SetColor3f(float r, float g, float b)
{
    SetColor4f(r, g, b, 1.0f);
}

void RecordingSceneDrawer::SetColor4f(float r, float g, float b, float a)
{
    // The view's rule: white in the all-white mode.
    if (AllWhiteMode())
        r = g = b = 1.0f;
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
    Record("SetColor", {r, g, b, a});
}

void RecordingSceneDrawer::SetMaterialColor4f(float r, float g, float b, float a)
{
    if (AllWhiteMode())
        r = g = b = 1.0f;
    material[0] = r;
    material[1] = g;
    material[2] = b;
    material[3] = a;
    Record("SetMaterialColor", {r, g, b, a});
}

int RecordingSceneDrawer::SetBlendMode(int mode)
{
    const int previous = blendMode;
    blendMode = mode;
    Record("SetBlendMode", {double(mode)});
    return previous;
}

void RecordingSceneDrawer::SetDepthMode(bool on)
{
    depth = on;
    Record("SetDepthMode", {double(on)});
}

bool RecordingSceneDrawer::SetLighting(bool on)
{
    const bool previous = lighting;
    lighting = on;
    Record("SetLighting", {double(on)});
    return previous;
}

bool RecordingSceneDrawer::UseDefaultLights(bool on)
{
    const bool previous = lighting;
    lighting = on;
    Record("UseDefaultLights", {double(on)});
    return previous;
}

void RecordingSceneDrawer::UseRainbowLights(bool on)
{
    // As a view: false switches lighting back on with the default lights, true changes the set only.
    if (!on)
        lighting = true;
    Record("UseRainbowLights", {double(on)});
}

void RecordingSceneDrawer::DisableTexture()
{
    Record("DisableTexture", {});
}

void RecordingSceneDrawer::ApplyFontTextureState()
{
    Record("ApplyFontTextureState", {});
}

void RecordingSceneDrawer::DrawCircle3D(const Vec3D& c, const Vec3D& n, double radius, int segments, bool filled,
                                        const Vec3D* startAxis)
{
    std::vector<double> v = {c.x, c.y, c.z, n.x, n.y, n.z, radius, double(segments), double(filled)};
    if (startAxis)
        v.insert(v.end(), {startAxis->x, startAxis->y, startAxis->z});
    Record("DrawCircle3D", v);
}

void RecordingSceneDrawer::DrawSceneText(uint32_t settings, const Vec3D& a, double size, const char* text, int flags,
                                         const Vec3D& n, const Vec3D* direction)
{
    std::vector<double> v = {double(settings), a.x, a.y, a.z, size, double(flags), n.x, n.y, n.z};
    if (direction)
        v.insert(v.end(), {direction->x, direction->y, direction->z});
    Record("DrawSceneText", v, text);
}

void RecordingSceneDrawer::DrawAxisTriad(const char* text, const Vec3D& p, const Vec3D& x, const Vec3D& y,
                                         const Vec3D& z, double length, const ColorRGB* c)
{
    std::vector<double> v = {p.x, p.y, p.z, x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z, length};
    if (c)
        v.insert(v.end(), {c->r, c->g, c->b});
    Record("DrawAxisTriad", v, text);
}

void RecordingSceneDrawer::DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize)
{
    Record("DrawDoubleArrow", {from.x, from.y, from.z, to.x, to.y, to.z, headSize});
}

float RecordingSceneDrawer::SetLineWidth(float width)
{
    const float previous = lineWidth;
    lineWidth = width;
    Record("SetLineWidth", {width});
    return previous;
}

void RecordingSceneDrawer::DrawLines(const Vec3D* ends, const float* rgba, int count)
{
    Record("DrawLines", {double(count)});
    for (int i = 0; i < count; ++i)
    {
        const Vec3D& a = ends[2 * i];
        const Vec3D& b = ends[2 * i + 1];
        float r = rgba[4 * i], g = rgba[4 * i + 1], bl = rgba[4 * i + 2];
        if (AllWhiteMode())
            r = g = bl = 1.0f;
        Record("Line", {a.x, a.y, a.z, b.x, b.y, b.z, r, g, bl, rgba[4 * i + 3]});
    }
}

void RecordingSceneDrawer::DrawTriangles(const Vec3D* corners, int count)
{
    std::vector<double> values;
    for (int i = 0; i < 3 * count; ++i)
        values.insert(values.end(), {corners[i].x, corners[i].y, corners[i].z});
    values.insert(values.end(), {color[0], color[1], color[2], color[3]});
    Record("DrawTriangles", values);
}

void RecordingSceneDrawer::SetNormal(const Vec3D& normal)
{
    Record("SetNormal", {normal.x, normal.y, normal.z});
}

namespace
{
std::vector<double> PointsAndColor(const Vec3D* points, int count, const float color[4])
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.insert(values.end(), {points[i].x, points[i].y, points[i].z});
    values.insert(values.end(), {color[0], color[1], color[2], color[3]});
    return values;
}
}  // namespace

void RecordingSceneDrawer::DrawLineStrip(const Vec3D* points, int count)
{
    Record("DrawLineStrip", PointsAndColor(points, count, color));
}

void RecordingSceneDrawer::DrawPoints(const Vec3D* points, int count)
{
    Record("DrawPoints", PointsAndColor(points, count, color));
}

float RecordingSceneDrawer::SetPointSize(float size)
{
    const float previous = pointSize;
    pointSize = size;
    Record("SetPointSize", {size});
    return previous;
}

void RecordingSceneDrawer::DrawTextAtPoint(const char* text, const Vec2D& p, int flags)
{
    Record("DrawTextAtPoint", {p.x, p.y, double(flags)}, text);
}

void RecordingSceneDrawer::Draw2DDiagram(const Vec3D* points, int count)
{
    std::vector<double> values;
    for (int i = 0; points && i < count; ++i)
        values.insert(values.end(), {points[i].x, points[i].y, points[i].z});
    Record("Draw2DDiagram", std::move(values));
}

bool RecordingSceneDrawer::IsFacingViewer(const Vec3D& point, const Vec3D& normal)
{
    if (!perspective)
        return Vec3Dot(normal, towardViewer) > 0.0;
    Vec3D toEye;
    Vec3Sub(toEye, eye, point);
    return Vec3Dot(normal, toEye) > 0.0;
}

void RecordingSceneDrawer::SetGLSelectionItem(int itemType, int index)
{
    selectionType = itemType;
    selectionIndex = index;
    Record("SetGLSelectionItem", {double(itemType), double(index)});
}

void RecordingSceneDrawer::ClearGLSelectionItem()
{
    selectionType = selectionIndex = -1;
    Record("ClearGLSelectionItem", {});
}

bool RecordingSceneDrawer::AddTriangle(const Vec3D corners[3], const Vec3D& n, const float rgba[4], unsigned flags,
                                       double scale, FaceImage* image, const FaceTexMapping*, const Vec3D*)
{
    std::vector<double> v;
    for (int i = 0; i < 3; ++i)
        v.insert(v.end(), {corners[i].x * scale, corners[i].y * scale, corners[i].z * scale});
    v.insert(v.end(), {n.x, n.y, n.z, rgba[0], rgba[1], rgba[2], rgba[3], double(flags), double(selectionType),
                       double(selectionIndex)});
    Record("AddTriangle", v, image ? "image" : nullptr);
    const bool now = DrawsTriangleAtOnce(rgba, flags, image, picking);
    ++(now ? drawnTriangles : queuedTriangles);
    return now;
}

void RecordingSceneDrawer::DrawPoints(const Vec3D* points, const float* rgba, int count, float size)
{
    Record("DrawPoints", {double(count), double(size)});
    for (int i = 0; i < count; ++i)
        Record("Point", {points[i].x, points[i].y, points[i].z, rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2],
                         rgba[4 * i + 3]});
}

void RecordingSceneDrawer::DrawRasterText(const char* text, const Vec3D& point)
{
    Record("DrawRasterText", {point.x, point.y, point.z}, text);
}

void RecordingSceneDrawer::SetLineStipple(int pattern)
{
    Record("SetLineStipple", {double(pattern)});
    lineStipple = pattern;
}

bool RecordingSceneDrawer::SetPolygonOffsetFill(bool on)
{
    Record("SetPolygonOffsetFill", {on ? 1.0 : 0.0});
    const bool previous = polygonOffset;
    polygonOffset = on;
    return previous;
}

bool RecordingSceneDrawer::SetDepthTest(bool on)
{
    Record("SetDepthTest", {on ? 1.0 : 0.0});
    const bool previous = depthTest;
    depthTest = on;
    return previous;
}
