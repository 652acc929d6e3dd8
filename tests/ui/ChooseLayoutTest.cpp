// View > Choose Layout...: the pictures of the eleven layouts and the switch to the one chosen.

#include "MainFrameFixture.h"

#include "platform/DialogDriver.h"
#include "platform/CommandIds.h"
#include "ui/ChooseLayoutDialog.h"

#include <wx/menu.h>
#include <wx/radiobut.h>

#include <gtk/gtk.h>

#include <string>

namespace
{
class ChooseLayoutTest : public MainFrameFixture
{
protected:
    void SwitchTo(int layout)
    {
        mFrame->SetLayout(layout);
        Pump();
        ASSERT_EQ(GetCurrentLayoutIndex(), layout);
    }
};

DialogDriver::Step OnLayoutDialog(std::function<bool(ChooseLayoutDialog&)> act)
{
    return [act](wxDialog& d) {
        auto* dialog = dynamic_cast<ChooseLayoutDialog*>(&d);
        return dialog && act(*dialog);
    };
}

bool PressOk(ChooseLayoutDialog& d)
{
    DialogDriver::Click(d.FindWindow(wxID_OK));
    return true;
}
}  // namespace

TEST(ChooseLayoutPictures, EachPictureShowsItsLayoutsPanesSideBySide)
{
    PaneLayout::InitAll();
    const wxRect area(3, 3, 90, 66);
    for (int layout = 0; layout < kNumPaneLayouts; ++layout)
    {
        SCOPED_TRACE(GetPaneLayoutName(layout));
        const std::vector<wxRect> panes = LayoutPaneRects(layout, area, 3);
        ASSERT_EQ(int(panes.size()), GetPaneLayout(layout).PaneCount());
        int covered = 0;
        for (size_t i = 0; i < panes.size(); ++i)
        {
            EXPECT_TRUE(area.Contains(panes[i])) << i;
            EXPECT_GT(panes[i].width, 0);
            EXPECT_GT(panes[i].height, 0);
            covered += panes[i].width * panes[i].height;
            for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(panes[i].Intersects(panes[j])) << i << " meets " << j;
        }
        // The gaps between panes take what the panes leave of the area, no more.
        EXPECT_GT(covered, area.width * area.height * 3 / 5);
    }
    // The narrow column of the three-pane layouts holds the nested pair.
    const std::vector<wxRect> splitLeft = LayoutPaneRects(kLayout3SplitLeft, area, 3);
    EXPECT_LT(splitLeft[1].width, splitLeft[0].width);
    EXPECT_EQ(splitLeft[1].x, splitLeft[2].x);
}

TEST_F(ChooseLayoutTest, TheDialogOpensOnTheCurrentLayoutAndOkWithoutAChangeKeepsIt)
{
    SwitchTo(kLayout4SplitLeft);
    std::vector<bool> set;
    std::vector<std::string> labels;
    std::string caption;
    DialogDriver driver({OnLayoutDialog([&](ChooseLayoutDialog& d) {
        caption = d.GetTitle().utf8_string();
        for (int i = 0; i < kNumPaneLayouts; ++i)
        {
            set.push_back(d.Radio(i)->GetValue());
            labels.push_back(d.Radio(i)->GetLabel().utf8_string());
        }
        return PressOk(d);
    })});
    RunCommand(kCmdChooseLayout);
    Pump();
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(caption, "Choose Layout");
    const std::vector<bool> seventh = {false, false, false, false, false, false, true, false, false, false, false};
    EXPECT_EQ(set, seventh);
    const std::vector<std::string> keys = {"(Ctrl+1)", "(Ctrl+2)", "(Ctrl+3)", "(Ctrl+3)", "(Ctrl+3)", "(Ctrl+4)",
                                           "(Ctrl+4)", "(Ctrl+4)", "(Ctrl+5)", "(Ctrl+5)", "(Ctrl+6)"};
    EXPECT_EQ(labels, keys);
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout4SplitLeft);
    EXPECT_EQ(Panes().size(), 4u);
}

TEST_F(ChooseLayoutTest, ChoosingAPictureSwitchesAsItsKeyDoes)
{
    SwitchTo(kLayout4SplitLeft);
    DialogDriver driver({OnLayoutDialog([](ChooseLayoutDialog& d) {
                             DialogDriver::Click(d.Picture(kLayout5SplitRight));
                             return true;
                         }),
                         OnLayoutDialog([](ChooseLayoutDialog& d) {
                             return d.Radio(kLayout5SplitRight)->GetValue() && PressOk(d);
                         })});
    RunCommand(kCmdChooseLayout);
    Pump();
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout5SplitRight);
    EXPECT_EQ(Panes().size(), 5u);
    // Ctrl+5 from the same layout leads to the same place.
    EXPECT_EQ(LayoutForCommand(kCmdLayout5, kLayout4SplitLeft), kLayout5SplitRight);

    // Cancel changes nothing.
    DialogDriver cancel({OnLayoutDialog([](ChooseLayoutDialog& d) {
        d.Radio(kLayout1)->SetValue(true);
        DialogDriver::Click(d.FindWindow(wxID_CANCEL));
        return true;
    })});
    RunCommand(kCmdChooseLayout);
    Pump();
    EXPECT_FALSE(cancel.TimedOut());
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout5SplitRight);
}

TEST_F(ChooseLayoutTest, TheMenuItemNamesTheLayoutKeysWithoutTakingOne)
{
    wxMenuItem* item = mFrame->GetMenuBar()->FindItem(kCmdChooseLayout);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabelText(), "Choose Layout...");
    // Ctrl+6 stays the six-pane layout's key.
    EXPECT_EQ(item->GetAccel(), nullptr);
    GtkWidget* box = gtk_bin_get_child(GTK_BIN(item->GetMenuItem()));
    ASSERT_TRUE(GTK_IS_BOX(box));
    GList* children = gtk_container_get_children(GTK_CONTAINER(box));
    std::string keys;
    for (GList* c = children; c; c = c->next)
        if (GTK_IS_LABEL(c->data) && !GTK_IS_ACCEL_LABEL(c->data))
            keys = gtk_label_get_text(GTK_LABEL(c->data));
    g_list_free(children);
    EXPECT_EQ(keys, "Ctrl+1-6");
}
