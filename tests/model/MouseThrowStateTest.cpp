#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "model/MouseThrowState.h"

#include <gtest/gtest.h>

namespace
{
// A throw with a value of its own that its saved state keeps.
class ScaleThrow : public MouseThrow
{
public:
    explicit ScaleThrow(int type) : MouseThrow(type) {}
    bool Apply(float dx, float dy) override
    {
        mValue += dx - dy;
        return false;
    }
    void InvalidateTargets() override {}
    void SaveState(MouseThrowState& state) override { state.mBlock = {mLimit}; }
    void RestoreState(const MouseThrowState& state) override
    {
        if (!state.mBlock.empty())
            mLimit = state.mBlock[0];
    }
    double mValue = 0.0;
    double mLimit = 0.0;
};

class MouseThrowStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPreviousTime = SetFrozenTime(5.0);
        StopAllMouseThrows();
    }
    void TearDown() override
    {
        StopAllMouseThrows();
        SetFrozenTime(mPreviousTime);
    }
    double mPreviousTime = -1.0;
};
}  // namespace

TEST_F(MouseThrowStateTest, SavedThrowsMoveOnAsBeforeWhenRestored)
{
    ScaleThrow a(1000), b(1002), idle(1001);
    a.Start(10.0f, -2.0f);
    b.SetAxis(Vec3D{0, 1, 0});
    b.Start(0.0f, 7.0f);
    b.mLimit = 2.5;
    SetFrozenTime(6.0);
    StepMouseThrows(nullptr);

    SavedMouseThrow* saved = SaveActiveMouseThrows();
    ASSERT_NE(saved, nullptr);
    // Another model's motions run meanwhile.
    StopAllMouseThrows();
    b.mLimit = 0.0;
    idle.Start(1.0f, 0.0f);

    RestoreMouseThrows(saved);
    DeleteSavedMouseThrows(saved);
    EXPECT_EQ(saved, nullptr);
    EXPECT_FALSE(idle.IsMoving());
    ASSERT_TRUE(a.IsMoving());
    ASSERT_TRUE(b.IsMoving());
    EXPECT_EQ(b.mLimit, 2.5);
    EXPECT_EQ(b.GetAxis().y, 1.0);
    // The motion continues from the last step: one more second moves as a second did before.
    const double aBefore = a.mValue, bBefore = b.mValue;
    SetFrozenTime(7.0);
    StepMouseThrows(nullptr);
    EXPECT_DOUBLE_EQ(a.mValue - aBefore, 12.0);
    EXPECT_DOUBLE_EQ(b.mValue - bBefore, -7.0);
}

TEST_F(MouseThrowStateTest, ThrowsThatAreGoneAreSkipped)
{
    SavedMouseThrow* saved = nullptr;
    {
        ScaleThrow gone(1003);
        gone.Start(3.0f, 0.0f);
        saved = SaveActiveMouseThrows();
    }
    ScaleThrow other(1004);
    RestoreMouseThrows(saved);
    EXPECT_FALSE(AnyMouseThrowMoving());
    DeleteSavedMouseThrows(saved);
}

TEST_F(MouseThrowStateTest, ASnapshotKeepsTheMotionsAcrossAStop)
{
    ScaleThrow a(1005);
    a.Start(4.0f, 0.0f);
    MouseThrowSnapshot snapshot;
    StopAllMouseThrows();
    snapshot.Restore();
    EXPECT_TRUE(a.IsMoving());
    EXPECT_FLOAT_EQ(a.GetVelocityX(), 4.0f);
    // A second restore has nothing left to bring back.
    StopAllMouseThrows();
    snapshot.Restore();
    EXPECT_FALSE(a.IsMoving());
}
