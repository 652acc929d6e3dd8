#include "view/PaneFixture.h"
#include "view/TitleButtons.h"

#include <string>
#include <vector>

namespace
{
// Kind and icon of each button, rightmost first; a gap after a button is written as "|".
std::string Describe(const std::vector<TitleButtonChoice>& buttons)
{
    std::string text;
    for (const TitleButtonChoice& b : buttons)
        text += std::to_string(b.kind) + "/" + std::to_string(b.icon) + (b.gap ? "| " : " ");
    return text;
}

TEST(TitleButtons, EachPaneShowsTheButtonsOfItsTypeModeAndModel)
{
    struct Case
    {
        const char* name;
        int type;
        int mouseMode;
        bool model4D;
        bool augmenting;
        int netsShown;
        const char* buttons;
    };
    const Case kCases[] = {
        {"base pane", kViewTypePoly, kMouseModeSelect, false, false, 0, "1/198 0/199| "},
        {"dual pane", kViewTypeDual, kMouseModeSelect, false, false, 0, "1/198 0/199| 12/202 "},
        {"section pane", kViewTypeSlice, kMouseModeSelect, false, false, 0, "1/198 0/199| 7/194 6/195| "},
        {"section pane, 4D", kViewTypeSlice, kMouseModeSelect, true, false, 0, "1/198 0/199| 7/194 6/195| 12/206 "},
        {"folding net, all nets", kViewTypeNet3D, kMouseModeSelect, false, false, 0, "1/198 0/199| "},
        {"folding net, one net", kViewTypeNet3D, kMouseModeSelect, false, false, 2, "7/194 6/195| "},
        {"stellation", kViewTypeUniStellation, kMouseModeSelect, false, false, 0,
         "1/198 0/199| 3/196 2/197| 12/202 "},
        {"stellation diagram", kViewTypeStelDiagram, kMouseModeSelect, false, false, 0, "7/194 6/195| 3/196 2/197| "},
        {"faceting preview, faceting mode", kViewTypeFacetPreview, kMouseModeFaceting, false, false, 0,
         "1/198 0/199| 5/209 4/210| 11/201 10/200 14/203| 12/202 15/208 "},
        {"faceting diagram, faceting mode", kViewTypeFacetDiagram, kMouseModeFaceting, false, false, 0,
         "7/194 6/195| 5/209 4/210| 11/201| "},
        {"unfolded net", kViewTypeNet2D, kMouseModeSelect, false, false, 0, "7/194 6/195| 11/201| "},
        {"base pane, measuring", kViewTypePoly, kMouseModeMeasure, false, false, 0, "1/198 0/199| 15/208 "},
        {"augmentation preview", kViewTypePoly, kMouseModeFaceting, false, true, 0,
         "1/198 0/199| 11/201 10/200 7/194 6/195 9/204 8/205| "},
        {"4D base", kViewTypePoly, kMouseModeSelect, true, false, 0, "1/198 0/199| 12/206 "},
        {"4D dual", kViewTypeDual, kMouseModeSelect, true, false, 0, "1/198 0/199| 12/206 13/207 "},
        {"4D cell", kViewTypeFace, kMouseModeSelect, true, false, 0, "7/194 6/195| 12/206 "},
        {"a morph", kViewTypeMorphSizing, kMouseModeSelect, false, false, 0, "1/198 0/199| 12/202 "},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        TitleButtonState state;
        state.viewType = c.type;
        state.mouseMode = c.mouseMode;
        state.model4D = c.model4D;
        state.augmentationPreview = c.augmenting;
        state.netsShownInFoldingView = c.netsShown;
        EXPECT_EQ(Describe(ChooseTitleButtons(state)), c.buttons);
    }
}

using TitleButtonsPaneTest = PaneFixture;

TEST_F(TitleButtonsPaneTest, TheArrowsOfTheBasePaneStepThroughTheLibrary)
{
    ASSERT_NE(OpenModel("3.3.3.3.3"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeDual, false);
    pane->SetViewType(kViewTypePoly, false);
    ASSERT_EQ(pane->GetButtonCount(), 2);
    EXPECT_EQ(pane->GetButton(0).command, kTitleNextPolyhedron);
    EXPECT_EQ(pane->GetButton(1).command, kTitlePreviousPolyhedron);
    for (int i = 0; i < 2; ++i)
    {
        const wxBitmap& icon = pane->GetButton(i).icon;
        ASSERT_TRUE(icon.IsOk());
        EXPECT_EQ(icon.GetWidth(), 12);
        EXPECT_EQ(icon.GetHeight(), 11);
    }
    UpdateAllViewTitles();
    ASSERT_EQ(pane->GetTitle(), "Icosahedron");
    EXPECT_TRUE(pane->OnTitleButton(0, kTitleNextPolyhedron, 0));
    mDocument->FinishAllTransitions();
    const std::string next = pane->GetTitle();
    EXPECT_NE(next, "Icosahedron");
    EXPECT_TRUE(pane->OnTitleButton(1, kTitlePreviousPolyhedron, 0));
    mDocument->FinishAllTransitions();
    EXPECT_EQ(pane->GetTitle(), "Icosahedron");
    EXPECT_FALSE(pane->OnTitleButton(0, kTitleCentre, 0)) << "measuring comes with its mode";

    // Measuring adds the centre button to every pane.
    GetElementDisplayOptions().mMouseMode = kMouseModeMeasure;
    UpdateAllViewButtons();
    ASSERT_EQ(pane->GetButtonCount(), 3);
    EXPECT_EQ(pane->GetButton(2).command, kTitleCentre);
}
}  // namespace
