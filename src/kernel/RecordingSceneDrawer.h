#pragma once

#include "kernel/SceneDrawer.h"

#include <string>
#include <vector>

// A drawer for tests: keeps the state a view would keep (colours, blend, depth, lighting, selection
// name) and records every drawing call with its numbers and text, so a test can check what the
// model's drawing code asked for. The view's answers (picking, facing, all-white ...) are settable.
class RecordingSceneDrawer : public SceneDrawer
{
public:
    struct Call
    {
        std::string name;  // the method, e.g. "DrawCircle3D", "AddTriangle"
        std::vector<double> values;
        std::string text;
    };

    std::vector<Call> calls;
    int CountCalls(const std::string& name) const;
    const Call* LastCall(const std::string& name) const;

    // The view's answers.
    bool picking = false;
    bool facetsPicked = false;
    bool printing = false;
    int viewTypeCode = 0;
    bool viewAllWhite = false;
    float lineScale = 1.0f;
    float pointScale = 1.0f;
    double viewRadius = 1.0;
    bool showsDual = false;
    void* shellView = nullptr;
    const View4D* view4D = nullptr;
    // IsFacingViewer: the eye for a perspective view, else the direction towards the viewer.
    bool perspective = false;
    Vec3D eye{0, 0, 10};
    Vec3D towardViewer{0, 0, 1};

    // The state the calls left.
    float color[4] = {1, 1, 1, 1};
    float material[4] = {1, 1, 1, 1};
    int blendMode = 0;
    float lineWidth = 1.0f;
    int lineStipple = 0;
    float pointSize = 1.0f;
    bool depth = true;
    bool depthTest = true;
    bool polygonOffset = true;
    bool lighting = true;
    int selectionType = -1;  // -1 while nothing is named
    int selectionIndex = -1;
    int drawnTriangles = 0;
    int queuedTriangles = 0;

    void SetColor3f(float r, float g, float b) override;
    void SetColor4f(float r, float g, float b, float a) override;
    void SetMaterialColor4f(float r, float g, float b, float a) override;
    int SetBlendMode(int mode) override;
    void SetDepthMode(bool on) override;
    bool GetDepthMode() const override { return depth; }
    bool SetLighting(bool on) override;
    bool UseDefaultLights(bool on) override;
    void UseRainbowLights(bool on) override;
    void DisableTexture() override;
    void ApplyFontTextureState() override;
    void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                      const Vec3D* startAxis) override;
    void DrawSceneText(uint32_t settings, const Vec3D& anchor, double size, const char* text, int flags,
                       const Vec3D& normal, const Vec3D* direction) override;
    void DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                       const Vec3D& zAxis, double length, const ColorRGB* color) override;
    void DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize) override;
    float SetLineWidth(float width) override;
    // Recorded with the pattern.
    void SetLineStipple(int pattern) override;
    // Recorded as one "DrawLines" call with the count, then one "Line" call per segment: its two ends
    // and its colour after the view's rules (x0, y0, z0, x1, y1, z1, r, g, b, a).
    void DrawLines(const Vec3D* ends, const float* rgba, int count) override;
    // Recorded with x, y, z of every corner, then the current colour (r, g, b, a).
    void DrawTriangles(const Vec3D* corners, int count) override;
    // Recorded with x, y, z.
    void SetNormal(const Vec3D& normal) override;
    // Both recorded with x, y, z of every point, then the current colour (r, g, b, a).
    void DrawLineStrip(const Vec3D* points, int count) override;
    void DrawPoints(const Vec3D* points, int count) override;
    float SetPointSize(float size) override;
    // Recorded with the count and size, then one "Point" call per point: x, y, z, r, g, b, a.
    void DrawPoints(const Vec3D* points, const float* rgba, int count, float size) override;
    bool SetPolygonOffsetFill(bool on) override;
    bool SetDepthTest(bool on) override;
    void DrawTextAtPoint(const char* text, const Vec2D& point, int flags) override;
    // Recorded with x, y, z and the text.
    void DrawRasterText(const char* text, const Vec3D& point) override;
    bool IsFacingViewer(const Vec3D& point, const Vec3D& normal) override;
    Vec3D GetEyePosition() const override { return eye; }
    void SetGLSelectionItem(int itemType, int index) override;
    void ClearGLSelectionItem() override;
    bool AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags, double scale,
                     FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints) override;
    bool IsPicking() const override { return picking; }
    bool FacetsPicked() const override { return facetsPicked; }
    bool IsPrinting() const override { return printing; }
    int ViewTypeCode() const override { return viewTypeCode; }
    bool AllWhiteMode() const override;
    float LineScale() const override { return lineScale; }
    float PointScale() const override { return pointScale; }
    double GetViewRadius(int) const override { return viewRadius; }
    bool ShowsDual() const override { return showsDual; }
    void* ShellView() const override { return shellView; }
    const View4D* GetView4D() const override { return view4D; }
    // Recorded with x, y, z of every point.
    void Draw2DDiagram(const Vec3D* points, int count) override;

private:
    void Record(const char* name, std::vector<double> values, const char* text = nullptr);
};
