#include "kernel/SceneDrawer.h"

#include "kernel/FaceImage.h"
#include "kernel/RenderSettings.h"

namespace
{
// Draws nothing; answers as a plain view that is neither picking nor printing.
class SilentSceneDrawer final : public SceneDrawer
{
public:
    void SetColor3f(float, float, float) override {}
    void SetColor4f(float, float, float, float) override {}
    void SetMaterialColor4f(float, float, float, float) override {}
    int SetBlendMode(int mode) override
    {
        const int previous = mBlend;
        mBlend = mode;
        return previous;
    }
    void SetDepthMode(bool on) override { mDepth = on; }
    bool GetDepthMode() const override { return mDepth; }
    bool SetLighting(bool on) override
    {
        const bool previous = mLighting;
        mLighting = on;
        return previous;
    }
    bool UseDefaultLights(bool on) override { return SetLighting(on); }
    void UseRainbowLights(bool on) override
    {
        if (!on)
            mLighting = true;
    }
    void DisableTexture() override {}
    void ApplyFontTextureState() override {}
    void DrawCircle3D(const Vec3D&, const Vec3D&, double, int, bool, const Vec3D*) override {}
    void DrawSceneText(uint32_t, const Vec3D&, double, const char*, int, const Vec3D&, const Vec3D*) override {}
    void DrawAxisTriad(const char*, const Vec3D&, const Vec3D&, const Vec3D&, const Vec3D&, double,
                       const ColorRGB*) override
    {
    }
    void DrawDoubleArrow(const Vec3D&, const Vec3D&, double) override {}
    float SetLineWidth(float width) override
    {
        const float previous = mLineWidth;
        mLineWidth = width;
        return previous;
    }
    void DrawLines(const Vec3D*, const float*, int) override {}
    void DrawTriangles(const Vec3D*, int) override {}
    void SetNormal(const Vec3D&) override {}
    void DrawLineStrip(const Vec3D*, int) override {}
    float SetPointSize(float size) override
    {
        const float previous = mPointSize;
        mPointSize = size;
        return previous;
    }
    void DrawPoints(const Vec3D*, int) override {}
    void DrawTextAtPoint(const char*, const Vec2D&, int) override {}
    bool IsFacingViewer(const Vec3D&, const Vec3D&) override { return true; }
    void SetGLSelectionItem(int, int) override {}
    void ClearGLSelectionItem() override {}
    bool AddTriangle(const Vec3D*, const Vec3D&, const float*, unsigned, double, FaceImage*, const FaceTexMapping*,
                     const Vec3D*) override
    {
        return true;
    }
    bool IsPicking() const override { return false; }
    bool FacetsPicked() const override { return false; }
    bool IsPrinting() const override { return false; }
    int ViewTypeCode() const override { return 0; }
    bool AllWhiteMode() const override;
    float LineScale() const override { return 1.0f; }
    float PointScale() const override { return 1.0f; }

private:
    int mBlend = 0;
    float mLineWidth = 1.0f;
    float mPointSize = 1.0f;
    bool mDepth = true;
    bool mLighting = true;
};

SceneDrawer* gDrawer = nullptr;
}  // namespace

bool SilentSceneDrawer::AllWhiteMode() const
{
    return GetRenderSettings().allWhite;
}

void SceneDrawer::SetMaterialColorRGB(uint32_t rgb)
{
    ColorRGB c;
    ColorFromRGB(c, rgb);
    SetMaterialColor4f(c.r, c.g, c.b, 1.0f);
}

bool DrawsTriangleAtOnce(const float rgba[4], unsigned flags, const FaceImage* image, bool picking)
{
    if ((flags & kTriangleDrawNow) || picking)
        return true;
    return rgba[3] >= 1.0f && !(image && image->HasAlphaChannel());
}

SceneDrawer& CurrentSceneDrawer()
{
    static SilentSceneDrawer silent;
    return gDrawer ? *gDrawer : silent;
}

bool IsSceneDrawerInstalled()
{
    return gDrawer != nullptr;
}

SceneDrawer* SetSceneDrawer(SceneDrawer* drawer)
{
    SceneDrawer* previous = gDrawer;
    gDrawer = drawer;
    return previous;
}
