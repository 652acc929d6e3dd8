// The kit style switch: the seven display settings it replaces and brings back.

#include "kernel/RenderSettings.h"
#include "model/ElementDisplayOptions.h"
#include "render/KitStyle.h"

#include <gtest/gtest.h>

namespace
{
class KitStyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSaved = GetElementDisplayOptions();
        ElementDisplayOptions& o = GetElementDisplayOptions();
        o.mShowVerts = false;
        o.mShowEdges = false;
        o.mSpheresAndCylinders = false;
        o.mSphereRadBasedOn = 0;
        o.mSphereRad = 0.4;
        o.mCylinderRad = 0.7;
    }
    void TearDown() override
    {
        SetKitStyle(false);
        GetElementDisplayOptions() = mSaved;
    }

    ElementDisplayOptions mSaved;
};
}  // namespace

TEST_F(KitStyleTest, SwitchingOnAndOffGivesBackTheUsersValues)
{
    ElementDisplayOptions& o = GetElementDisplayOptions();
    SetKitStyle(true);
    EXPECT_TRUE(IsKitStyle());
    EXPECT_TRUE(o.mShowVerts);
    EXPECT_TRUE(o.mShowEdges);
    EXPECT_TRUE(o.mSpheresAndCylinders);
    EXPECT_EQ(o.mSphereRadBasedOn, 1);
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.17);
    EXPECT_DOUBLE_EQ(o.mCylinderRad, 0.55);

    // A second switch-on changes nothing: the saved values stay the user's.
    o.mSphereRad = 0.2;
    SetKitStyle(true);
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.2);

    SetKitStyle(false);
    EXPECT_FALSE(IsKitStyle());
    EXPECT_FALSE(o.mShowVerts);
    EXPECT_FALSE(o.mShowEdges);
    EXPECT_FALSE(o.mSpheresAndCylinders);
    EXPECT_EQ(o.mSphereRadBasedOn, 0);
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.4);
    EXPECT_DOUBLE_EQ(o.mCylinderRad, 0.7);

    // Every switch-on starts from the kit defaults.
    SetKitStyle(true);
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.17);
}

TEST_F(KitStyleTest, SuspendingShowsTheUsersValuesAndKeepsChangesMadeInKitStyle)
{
    EXPECT_FALSE(SuspendKitStyle());
    ResumeKitStyle(false);
    EXPECT_FALSE(IsKitStyle());
    EXPECT_DOUBLE_EQ(GetElementDisplayOptions().mSphereRad, 0.4);

    ElementDisplayOptions& o = GetElementDisplayOptions();
    SetKitStyle(true);
    o.mSphereRad = 0.3;
    const bool suspended = SuspendKitStyle();
    EXPECT_TRUE(suspended);
    EXPECT_FALSE(IsKitStyle());
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.4);
    EXPECT_FALSE(o.mShowVerts);
    ResumeKitStyle(suspended);
    EXPECT_TRUE(IsKitStyle());
    EXPECT_DOUBLE_EQ(o.mSphereRad, 0.3);
    EXPECT_TRUE(o.mShowVerts);
}
