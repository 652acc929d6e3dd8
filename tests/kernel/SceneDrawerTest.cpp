#include "kernel/FaceImage.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"

#include <gtest/gtest.h>

TEST(SceneDrawer, WithoutAViewNothingIsDrawn)
{
    EXPECT_FALSE(IsSceneDrawerInstalled());
    SceneDrawer& silent = CurrentSceneDrawer();
    EXPECT_FALSE(silent.IsPicking());
    EXPECT_FALSE(silent.IsPrinting());
    const bool wasLit = silent.SetLighting(false);
    EXPECT_FALSE(silent.SetLighting(wasLit));  // still a readable state to restore

    RecordingSceneDrawer recorder;
    {
        ScopedSceneDrawer scope(&recorder);
        EXPECT_TRUE(IsSceneDrawerInstalled());
        EXPECT_EQ(&CurrentSceneDrawer(), &recorder);
        CurrentSceneDrawer().DrawCircle3D(Vec3D{0, 0, 0}, Vec3D{0, 0, 1}, 2.0, 120, false, nullptr);
    }
    EXPECT_FALSE(IsSceneDrawerInstalled());
    ASSERT_EQ(recorder.CountCalls("DrawCircle3D"), 1);
    EXPECT_DOUBLE_EQ(recorder.LastCall("DrawCircle3D")->values[7], 120.0);
}

TEST(SceneDrawer, TrianglesWaitOnlyWhenTranslucent)
{
    const float opaque[4] = {1, 0, 0, 1.0f};
    const float almost[4] = {1, 0, 0, 0.999f};
    EXPECT_TRUE(DrawsTriangleAtOnce(opaque, 0, nullptr, false));
    EXPECT_FALSE(DrawsTriangleAtOnce(almost, 0, nullptr, false));
    EXPECT_FALSE(DrawsTriangleAtOnce(almost, kTriangleQueueBefore, nullptr, false));
    EXPECT_TRUE(DrawsTriangleAtOnce(almost, kTriangleDrawNow, nullptr, false));
    EXPECT_TRUE(DrawsTriangleAtOnce(almost, 0, nullptr, true));  // picking never waits

    RecordingSceneDrawer recorder;
    const Vec3D corners[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    EXPECT_TRUE(recorder.AddTriangle(corners, Vec3D{0, 0, 1}, opaque, 0, 2.0, nullptr, nullptr, nullptr));
    EXPECT_FALSE(recorder.AddTriangle(corners, Vec3D{0, 0, 1}, almost, 0, 2.0, nullptr, nullptr, nullptr));
    EXPECT_EQ(recorder.drawnTriangles, 1);
    EXPECT_EQ(recorder.queuedTriangles, 1);
    EXPECT_DOUBLE_EQ(recorder.LastCall("AddTriangle")->values[3], 2.0);  // corners come scaled
}

TEST(SceneDrawer, AllWhiteModeWhitensColours)
{
    RecordingSceneDrawer recorder;
    recorder.SetColor3f(0.2f, 0.4f, 0.6f);
    EXPECT_FLOAT_EQ(recorder.color[0], 0.2f);
    GetRenderSettings().allWhite = true;
    EXPECT_TRUE(recorder.AllWhiteMode());
    recorder.SetMaterialColorRGB(0x000080FF);
    EXPECT_FLOAT_EQ(recorder.material[0], 1.0f);
    EXPECT_FLOAT_EQ(recorder.material[1], 1.0f);
    GetRenderSettings().allWhite = false;
    recorder.SetMaterialColorRGB(0x000080FF);
    EXPECT_FLOAT_EQ(recorder.material[0], 1.0f);
    EXPECT_NEAR(recorder.material[1], 128.0f / 255.0f, 1e-6);
    EXPECT_FLOAT_EQ(recorder.material[2], 0.0f);
}

TEST(SceneDrawer, TextOffsetsAreSavedSetAndRestored)
{
    const double lift = GetTextOffset();
    const int mode = GetTextOffsetMode();
    SetTextOffset(0.25, 1);
    EXPECT_DOUBLE_EQ(GetTextOffset(), 0.25);
    EXPECT_EQ(GetTextOffsetMode(), 1);
    SetTextOffset(lift, mode);
    EXPECT_DOUBLE_EQ(GetTextOffset(), lift);

    const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    SetSceneTextColor(grey);
    EXPECT_FLOAT_EQ(GetRenderSettings().sceneTextColor[0], 0.5f);
    const float white[4] = {1, 1, 1, 1};
    SetSceneTextColor(white);
}
