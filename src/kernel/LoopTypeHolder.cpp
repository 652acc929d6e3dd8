#include "kernel/LoopTypeHolder.h"

#include "kernel/DiagramOutline.h"
#include "kernel/LoopType.h"
#include "kernel/PrintCanvas.h"
#include "kernel/SceneDrawer.h"
#include "kernel/UnitSettings.h"

#include <vector>

namespace
{
// The points of triangle i of a loop type; false when an index leaves the outline's points.
bool TrianglePoints(const DiagramOutline& outline, const LoopTypeTriangles& t, int32_t i, Vec2D out[3])
{
    for (int k = 0; k < 3; ++k)
    {
        const int32_t index = t.mIndices[i + k];
        if (index < 0 || index >= outline.mPointCount)
            return false;
        out[k] = outline.mPoints[index];
    }
    return true;
}
}  // namespace

bool LoopTypeHolder::IsClear(const DiagramOutline& outline) const
{
    if (!mLoopTypes)
        return true;
    for (int32_t k = 0; k < outline.mLoopTypeCount; ++k)
        if (mLoopTypes[k].mOpacity != 0.0f)
            return false;
    return true;
}

void LoopTypeHolder::Recolor(uint32_t options, const DiagramOutline& outline)
{
    CalcAllColors(mLoopTypes, outline.mLoopTypeCount, options, outline.mOwnerKind, nullptr);
}

void LoopTypeHolder::DrawFlat(const Transform3D& frame, const DiagramOutline& outline) const
{
    if (!mLoopTypes || !outline.mLoopTypeTriangles)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    std::vector<Vec3D> corners;
    for (int32_t k = 0; k < outline.mLoopTypeCount; ++k)
    {
        const LoopType& type = mLoopTypes[k];
        if (type.mOpacity == 0.0f)
            continue;
        ColorRGB color;
        const bool unlit = type.GetColor(color, false, true, outline.mOwnerKind, nullptr);
        drawer.SetColor4(color, 0.5f);
        const LoopTypeTriangles& t = outline.mLoopTypeTriangles[k];
        corners.clear();
        for (int32_t i = 0; i + 2 < t.mCount; i += 3)
        {
            Vec2D p[3];
            if (!TrianglePoints(outline, t, i, p))
                continue;
            for (const Vec2D& q : p)
            {
                Vec3D world;
                frame.Apply(world, Vec3D{q.x, q.y, 0.0});
                corners.push_back(world);
            }
        }
        drawer.DrawTriangles(corners.data(), int(corners.size() / 3));
        if (unlit)
            drawer.UseRainbowLights(false);
    }
}

void LoopTypeHolder::DrawGdi(const PrintTransform2D& transform, PrintCanvas& canvas,
                             const DiagramOutline& outline) const
{
    if (!mLoopTypes || !outline.mLoopTypeTriangles)
        return;
    const UnitSettings& units = GetUnitSettings();
    for (int32_t k = 0; k < outline.mLoopTypeCount; ++k)
    {
        const LoopType& type = mLoopTypes[k];
        if (type.mOpacity == 0.0f)
            continue;
        ColorRGB color;
        if (type.GetColor(color, false, true, outline.mOwnerKind, nullptr))
            CurrentSceneDrawer().UseRainbowLights(false);
        if (units.mPrintShading == kPrintShadingGreyscale)
        {
            // The strongest shading the page uses, so that the area shows against white paper.
            const float grey = 1.0f - units.mPrintShadeMax;
            color = ColorRGB{grey, grey, grey};
        }
        canvas.SelectSolidBrush(ColorToRGB(color));
        const LoopTypeTriangles& t = outline.mLoopTypeTriangles[k];
        for (int32_t i = 0; i + 2 < t.mCount; i += 3)
        {
            Vec2D p[3];
            if (TrianglePoints(outline, t, i, p))
                canvas.PaintClippedTriangle(transform.Apply(p[0]), transform.Apply(p[1]), transform.Apply(p[2]));
        }
        canvas.ReleaseSolidBrush();
    }
}
