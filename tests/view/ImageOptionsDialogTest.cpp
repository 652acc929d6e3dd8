// The Image Options dialog's linked choices and how it stores what it reads.

#include "view/PaneFixture.h"

#include "ui/ImageOptionsDialog.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>

namespace
{
class ImageOptionsDialogTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (!IsSkipped())
            mOptions = GetImageOptions();
    }
    void TearDown() override
    {
        if (!IsSkipped())
            GetImageOptions() = mOptions;
        PaneFixture::TearDown();
    }
    ImageOptions mOptions;
};
}  // namespace

TEST_F(ImageOptionsDialogTest, TheProjectionLeadsTheFacesAndTheOrientation)
{
    GetImageOptions() = ImageOptions();
    ImageOptionsDialog dialog(mFrame, ImageOptionsDialog::kModeNewImage, "Loading image \"a.png\"", true, false);
    EXPECT_EQ(dialog.GetChoice(kImageGroupApplyTo), 0);
    EXPECT_FALSE(dialog.GetRadio(kImageGroupApplyTo, 5)->IsEnabled());
    EXPECT_FALSE(dialog.GetRadio(kImageGroupOrientation, 1)->IsEnabled());

    dialog.Choose(kImageGroupProjection, 2);
    EXPECT_EQ(dialog.GetChoice(kImageGroupApplyTo), 2);
    EXPECT_EQ(dialog.GetRadio(kImageGroupOrientation, 2)->GetLabel(), "Align cylinder axis to selected item");
    EXPECT_EQ(dialog.GetChoice(kImageGroupOrientation), 2);
    EXPECT_TRUE(dialog.GetRadio(kImageGroupOrientation, 1)->IsEnabled());
    EXPECT_FALSE(dialog.GetRadio(kImageGroupOrientation, 0)->IsEnabled());
    EXPECT_FALSE(dialog.GetKeepUpright()->IsEnabled());

    dialog.Choose(kImageGroupProjection, 3);
    EXPECT_EQ(dialog.GetRadio(kImageGroupOrientation, 2)->GetLabel(), "Align sphere axis to selected item");

    dialog.Choose(kImageGroupProjection, 0);
    EXPECT_EQ(dialog.GetChoice(kImageGroupApplyTo), 0);
    EXPECT_TRUE(dialog.GetKeepUpright()->IsEnabled());
    EXPECT_EQ(dialog.GetRadio(kImageGroupOrientation, 2)->GetLabel(), "Align height of image to selected item");
}

TEST_F(ImageOptionsDialogTest, ARememberedCubicProjectionOpensAsPlanar)
{
    GetImageOptions().projection = 4;
    ImageOptionsDialog dialog(mFrame, ImageOptionsDialog::kModeNewImage, "", true, true);
    EXPECT_EQ(dialog.GetChoice(kImageGroupProjection), 1);
    EXPECT_FALSE(dialog.GetRadio(kImageGroupProjection, 4)->IsEnabled());
}

TEST_F(ImageOptionsDialogTest, WhatTheHoverReadIsKeptAfterCancel)
{
    GetImageOptions() = ImageOptions();
    {
        ImageOptionsDialog dialog(mFrame, ImageOptionsDialog::kModeNewImage, "", true, true);
        dialog.GetRadio(kImageGroupBoundary, 1)->SetValue(true);
        dialog.HoverRadio(kImageGroupBoundary, 1);
        EXPECT_EQ(dialog.GetPictureName(), "clamp.png");

        // Cancel: the dialog goes without OK.
    }
    EXPECT_EQ(GetImageOptions().boundary, 1);
}

TEST_F(ImageOptionsDialogTest, ForAllImagesNoGroupIsChosenAndOnlyChosenGroupsAreStored)
{
    GetImageOptions() = ImageOptions();
    GetImageOptions().projection = 3;
    ImageOptionsDialog dialog(mFrame, ImageOptionsDialog::kModeAll, "Options chosen will be applied to ALL images.",
                              true, true);
    for (int g = 0; g < kImageGroupCount; ++g)
        EXPECT_EQ(dialog.GetChoice(g), -1) << g;
    EXPECT_EQ(dialog.GetRadio(kImageGroupScale, 0)->GetLabel(), "No change");
    dialog.GetRadio(kImageGroupBoundary, 2)->SetValue(true);
    dialog.ReadControls();
    EXPECT_EQ(GetImageOptions().boundary, 2);
    EXPECT_EQ(GetImageOptions().projection, 3);
}
