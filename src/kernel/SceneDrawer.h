#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"
#include "kernel/View4D.h"

#include <cstdint>

class FaceImage;
struct FaceTexMapping;

// How the model's drawing code (elements, diagrams, labels) draws into the view that is drawing. The
// view installs itself for the length of its drawing (ScopedSceneDrawer); the rendering layer draws
// with GL, tests install a RecordingSceneDrawer. With none installed nothing is drawn and the
// queries answer as for a plain view that is not picking or printing.
class SceneDrawer
{
public:
    virtual ~SceneDrawer() = default;

    // The colour of lines and points, through the view's rules (white in the all-white mode).
    virtual void SetColor3f(float r, float g, float b) = 0;
    void SetColor3fv(const float rgb[3]) { SetColor3f(rgb[0], rgb[1], rgb[2]); }
    virtual void SetColor4f(float r, float g, float b, float a) = 0;
    void SetColor4(const ColorRGB& color, float alpha) { SetColor4f(color.r, color.g, color.b, alpha); }

    // Colour and material (ambient and diffuse) of the filled primitives that follow.
    virtual void SetMaterialColor4f(float r, float g, float b, float a) = 0;
    void SetMaterialColor(const ColorRGB& c) { SetMaterialColor4f(c.r, c.g, c.b, 1.0f); }
    void SetMaterialColor3f(float r, float g, float b) { SetMaterialColor4f(r, g, b, 1.0f); }
    void SetMaterialColor4(const float rgba[4]) { SetMaterialColor4f(rgba[0], rgba[1], rgba[2], rgba[3]); }
    // Packed 0x00BBGGRR.
    void SetMaterialColorRGB(uint32_t rgb);

    // 0 none, 1 screen door, 2 alpha blending, 3 additive; returns the previous mode.
    virtual int SetBlendMode(int mode) = 0;
    virtual void SetDepthMode(bool on) = 0;
    virtual bool GetDepthMode() const = 0;
    // Returns the previous wish.
    virtual bool SetLighting(bool on) = 0;
    // With false: lighting off; answers whether it was on.
    virtual bool UseDefaultLights(bool on) = 0;
    // With true: the rainbow light set; with false: lighting back on (the other half of
    // UseDefaultLights(false)).
    virtual void UseRainbowLights(bool on) = 0;
    virtual void DisableTexture() = 0;
    // Texturing on when the current font draws from a texture, off otherwise.
    virtual void ApplyFontTextureState() = 0;

    // A circle in the plane through centre perpendicular to normal; startAxis may be null.
    virtual void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                              const Vec3D* startAxis) = 0;
    // One label in the scene, with the label markup; flags 0x800: the selected element.
    virtual void DrawSceneText(uint32_t settings, const Vec3D& anchor, double size, const char* text, int flags,
                               const Vec3D& normal, const Vec3D* direction) = 0;
    // The text at the point in the colour (white when null) and the three axes scaled by length.
    virtual void DrawAxisTriad(const char* text, const Vec3D& point, const Vec3D& xAxis, const Vec3D& yAxis,
                               const Vec3D& zAxis, double length, const ColorRGB* color) = 0;
    // A line with an arrow head at each end.
    virtual void DrawDoubleArrow(const Vec3D& from, const Vec3D& to, double headSize) = 0;
    // The dash pattern of the lines drawn after it (16 bits, 0 solid).
    virtual void SetLineStipple(int /*pattern*/) {}
    // Width of the lines drawn after it, in pixels; answers the width it replaces.
    virtual float SetLineWidth(float width) = 0;
    // One batch of separate segments: segment i runs from ends[2i] to ends[2i + 1] in the colour
    // rgba[4i .. 4i + 3], which passes the rules of SetColor4f.
    virtual void DrawLines(const Vec3D* ends, const float* rgba, int count) = 0;
    // One batch of count plain triangles (corners 3i .. 3i + 2) in the current colour.
    virtual void DrawTriangles(const Vec3D* corners, int count) = 0;
    // The normal of the filled primitives that follow.
    virtual void SetNormal(const Vec3D& normal) = 0;
    // One open line strip through the points in the current colour.
    virtual void DrawLineStrip(const Vec3D* points, int count) = 0;
    // Size of the points drawn after it, in pixels; answers the size it replaces.
    virtual float SetPointSize(float size) = 0;
    // One batch of points in the current colour.
    virtual void DrawPoints(const Vec3D* points, int count) = 0;
    // One batch of points of the given size in pixels, point i in the colour rgba[4i .. 4i + 3].
    virtual void DrawPoints(const Vec3D* /*points*/, const float* /*rgba*/, int /*count*/, float /*size*/) {}
    // Polygon offset of filled faces (off: coplanar lines may fight with the face); the depth test.
    // Both answer the previous state.
    virtual bool SetPolygonOffsetFill(bool on) { return on; }
    virtual bool SetDepthTest(bool on) { return on; }
    // Bitmap text at a point of the scene, line under line.
    virtual void DrawRasterText(const char* /*text*/, const Vec3D& /*point*/) {}
    // Bitmap text at a point of a 2D diagram; flags 1 centres it.
    virtual void DrawTextAtPoint(const char* text, const Vec2D& point, int flags) = 0;

    virtual bool IsFacingViewer(const Vec3D& point, const Vec3D& normal) = 0;
    // Where the eye is, in the model's coordinates.
    virtual Vec3D GetEyePosition() const { return Vec3D{0.0, 0.0, 1e6}; }

    // Names what is drawn next for picking: item type and index come back from a pick.
    virtual void SetGLSelectionItem(int itemType, int index) = 0;
    virtual void ClearGLSelectionItem() = 0;

    // Every filled triangle of the model: drawn at once when opaque, else queued until the end of the
    // scene. flags: 1 draw at once, 2 queue before the sorted ones, 4 after them. Answers true when
    // drawn at once.
    virtual bool AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags,
                             double scale, FaceImage* image, const FaceTexMapping* mapping,
                             const Vec3D* texPoints) = 0;

    // The view's state.
    // The view as the shell names it (kernel/Shell.h); null for a drawer that is no view.
    virtual void* ShellView() const { return nullptr; }
    virtual bool IsPicking() const = 0;
    virtual bool FacetsPicked() const = 0;
    virtual bool IsPrinting() const = 0;
    virtual int ViewTypeCode() const = 0;
    // The program's all-white switch or the view's own.
    virtual bool AllWhiteMode() const = 0;
    virtual float LineScale() const = 0;
    virtual float PointScale() const = 0;

    // What the model view that draws knows of its scene; a drawer that is no model view answers as
    // one showing the base side of a model of radius 1.
    // The radius of what the view shows (the largest vertex distance of the shown model, with its
    // stellation, dual, morph and 4D cases).
    virtual double GetViewRadius(int /*mode*/) const { return 1.0; }
    virtual bool ShowsDual() const { return false; }
    // The pane's 4D projection; null for a drawer that is no model pane (a 4D model then projects
    // as an unturned perspective pane of the view radius).
    virtual const View4D* GetView4D() const { return nullptr; }
    // The measurement's picked points of a 2D diagram with their numbers; entries whose x is the
    // largest double are unset.
    virtual void Draw2DDiagram(const Vec3D* /*points*/, int /*count*/) {}
};

// Flag of DrawSceneText: the label of the selected element.
inline constexpr int kSceneTextSelected = 0x800;

// Flags of AddTriangle.
inline constexpr unsigned kTriangleDrawNow = 1;
inline constexpr unsigned kTriangleQueueBefore = 2;
inline constexpr unsigned kTriangleQueueAfter = 4;

// The rule every drawer follows: a triangle is drawn at once when it is opaque (alpha at least 1 and
// no image whose texture has an alpha channel), when asked to, or while the view picks (so picking
// never depends on the queue); otherwise it waits for the end of the scene.
bool DrawsTriangleAtOnce(const float rgba[4], unsigned flags, const FaceImage* image, bool picking);

// The drawer of the view that is drawing; a silent one when none is.
SceneDrawer& CurrentSceneDrawer();
bool IsSceneDrawerInstalled();
// Installs a drawer (null: none); returns the previous one.
SceneDrawer* SetSceneDrawer(SceneDrawer* drawer);

class ScopedSceneDrawer
{
public:
    explicit ScopedSceneDrawer(SceneDrawer* drawer) : mPrevious(SetSceneDrawer(drawer)) {}
    ~ScopedSceneDrawer() { SetSceneDrawer(mPrevious); }
    ScopedSceneDrawer(const ScopedSceneDrawer&) = delete;
    ScopedSceneDrawer& operator=(const ScopedSceneDrawer&) = delete;

private:
    SceneDrawer* mPrevious;
};
