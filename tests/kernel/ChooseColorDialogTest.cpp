#include "kernel/ChooseColorDialog.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

TEST(ChooseColorDialogTest, OffersTheColourAsBytesAndTakesTheChoice)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;

    // Each channel times 255, halves away from zero.
    ColorRGB color{0.5f, 0.25f, 1.0f};
    s.PushAnswer(0x00FF4010);  // blue 255, green 64, red 16
    ASSERT_TRUE(ChooseColorDialog(color));
    ASSERT_EQ(s.offeredColors.size(), 1u);
    EXPECT_EQ(s.offeredColors[0], 0x00FF4080u);
    EXPECT_EQ(s.LastCall("Color")->text, "128,64,255");
    EXPECT_FLOAT_EQ(color.r, 16.0f / 255.0f);
    EXPECT_FLOAT_EQ(color.g, 64.0f / 255.0f);
    EXPECT_EQ(color.b, 1.0f);

    // OK on the colour offered gives back the bytes it was offered as.
    ColorRGB grey{0.2f, 0.2f, 0.2f};
    ASSERT_TRUE(ChooseColorDialog(grey));
    EXPECT_EQ(s.offeredColors.back(), 0x00333333u);
    EXPECT_EQ(grey.r, 51.0f / 255.0f);
}

TEST(ChooseColorDialogTest, CancelLeavesTheColourUnchanged)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    ColorRGB color{0.5f, 0.25f, 1.0f};
    s.PushText("", false);
    EXPECT_FALSE(ChooseColorDialog(color));
    EXPECT_EQ(color.r, 0.5f);
    EXPECT_EQ(color.g, 0.25f);
    EXPECT_EQ(color.b, 1.0f);
    EXPECT_EQ(s.CountCalls("Color"), 1);
}
