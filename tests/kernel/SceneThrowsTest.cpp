#include "kernel/ProgramClock.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

namespace
{
class SceneThrowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSaved = GetSceneParameters();
        mPreviousTime = SetFrozenTime(20.0);
        StopAllMouseThrows();
        SetMouseThrowBounce(false);
    }
    void TearDown() override
    {
        StopAllMouseThrows();
        GetSceneParameters() = mSaved;
        gClampMorphing = true;
        SetFrozenTime(mPreviousTime);
    }
    SceneParameters mSaved;
    double mPreviousTime = -1.0;
};
}  // namespace

TEST_F(SceneThrowsTest, DragsMoveTheirValueByTheirRate)
{
    struct Case
    {
        const char* name;
        MouseThrow* t;
        double* value;
        double change;  // for a drag of 100 pixels to the right
        const char* redraw;
    };
    SceneThrows& throws = GetSceneThrows();
    SceneParameters& scene = GetSceneParameters();
    const Case kCases[] = {
        {"morph", &throws.morph, &scene.morphRatio, 0.2, "ViewsOfType 16384"},
        {"fold", &throws.fold, &scene.foldRatio, -0.2, "ViewsOfType 76815"},
        {"4D shrink", &throws.shrink4D, &scene.shrink4D, 0.2, "ViewsOfType 2048"},
        {"4D net shrink", &throws.netShrink4D, &scene.netShrink4D, 0.2, "ViewsOfType 65536"},
        {"slice depth", &throws.sliceDepth, &scene.sliceRatio, 0.1, nullptr},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        ScopedShell installed(&shell);
        *c.value = 0.4;
        // Sideways and upwards count the same.
        c.t->ApplyMouseDelta(60.0f, -40.0f);
        EXPECT_NEAR(*c.value, 0.4 + c.change, 1e-12);
        // Drags do not redraw by themselves; a moving throw marks its views.
        EXPECT_TRUE(shell.calls.empty());
        c.t->Start(1.0f, 0.0f);
        InvalidateMouseThrowTargets();
        if (c.redraw)
        {
            EXPECT_EQ(shell.Count(c.redraw), 1);
        }
        c.t->Stop();
    }
}

TEST_F(SceneThrowsTest, AThrownMorphSwingsBetweenTheModelsUnlessUnclamped)
{
    MorphThrow& morph = GetSceneThrows().morph;
    GetSceneParameters().morphRatio = 0.5;
    morph.Start(500.0f, 0.0f);  // one unit of ratio per second
    SetFrozenTime(21.0);
    StepMouseThrows(nullptr);
    EXPECT_EQ(GetSceneParameters().morphRatio, 1.0);
    SetFrozenTime(21.8);
    StepMouseThrows(nullptr);
    EXPECT_NEAR(GetSceneParameters().morphRatio, 0.2, 1e-6);

    gClampMorphing = false;
    GetSceneParameters().morphRatio = 0.5;
    morph.Start(500.0f, 0.0f);
    SetFrozenTime(23.8);
    StepMouseThrows(nullptr);
    EXPECT_NEAR(GetSceneParameters().morphRatio, 2.5, 1e-6);

    SetMorphRatio(3e-8, false);
    EXPECT_EQ(GetSceneParameters().morphRatio, 0.0);
}
