// The small modal dialogs raised for real under the test display: the whole-number prompt, the
// check-list picker, the colour chooser, the optional message's icon and the prompt that reopens
// where it was left.

#include "DialogDriver.h"
#include "kernel/ChooseColorDialog.h"
#include "kernel/Messages.h"
#include "kernel/Prompt.h"
#include "platform/NumberDialog.h"
#include "platform/SelectItemDialog.h"
#include "platform/StringDialog.h"
#include "platform/WxDialogs.h"
#include "platform/WxUserServices.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checklst.h>
#include <wx/colordlg.h>
#include <wx/frame.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
class SmallDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mServices = std::make_unique<WxUserServices>();
        mPrevious = SetServices(mServices.get());
    }
    void TearDown() override
    {
        if (mServices)
            SetServices(mPrevious);
    }

    std::unique_ptr<WxUserServices> mServices;
    UserServices* mPrevious = nullptr;
};

template <class Dialog>
DialogDriver::Step On(std::function<void(Dialog&)> act)
{
    return [act](wxDialog& d) {
        auto* dialog = dynamic_cast<Dialog*>(&d);
        if (!dialog)
            return false;
        act(*dialog);
        return true;
    };
}

void Press(wxDialog& dialog, int button)
{
    DialogDriver::Click(dialog.FindWindow(button));
}
}  // namespace

TEST_F(SmallDialogsTest, TheNumberPromptTakesASignedWholeNumber)
{
    std::string caption;
    std::string shown;
    DialogDriver driver({On<NumberDialog>([&](NumberDialog& d) {
        caption = d.GetTitle().utf8_string();
        shown = d.Edit()->GetValue().utf8_string();
        d.Edit()->SetValue("-12");
        Press(d, wxID_OK);
    })});
    int value = 6;
    EXPECT_TRUE(PromptInteger("Enter number of edge subdivisions", value));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(value, -12);
    EXPECT_EQ(caption, "Enter a number");
    EXPECT_EQ(shown, "6");
}

TEST_F(SmallDialogsTest, TheNumberPromptRefusesOtherTextAndCancelKeepsTheValue)
{
    bool stillOpen = false;
    DialogDriver driver({On<NumberDialog>([](NumberDialog& d) {
                             d.Edit()->SetValue("1.5");
                             Press(d, wxID_OK);
                         }),
                         // The click has been handled once the field's text is selected again.
                         [&](wxDialog& d) {
                             auto* n = dynamic_cast<NumberDialog*>(&d);
                             if (!n)
                                 return false;
                             long from = 0;
                             long to = 0;
                             n->Edit()->GetSelection(&from, &to);
                             if (to - from != 3)
                                 return false;
                             stillOpen = n->IsModal() && n->Edit()->GetValue() == "1.5";
                             Press(d, wxID_CANCEL);
                             return true;
                         }});
    int value = 4;
    EXPECT_FALSE(PromptInteger("Enter frequency of geodesic sphere", value));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(stillOpen) << "the prompt closed on a number that is not whole";
    EXPECT_EQ(value, 4);
}

TEST_F(SmallDialogsTest, TheCheckListGivesTheTickedIndicesInListOrder)
{
    const std::vector<std::string> items = {"Default", "Start-up", "Load built-in model", "Load from file"};
    std::vector<int> result = {42};
    std::string caption;
    std::vector<int> startTicks;
    {
        // OK with nothing ticked: none, and an empty list.
        DialogDriver driver({On<SelectItemDialog>([&](SelectItemDialog& d) {
            caption = d.GetTitle().utf8_string();
            startTicks = d.Ticked();
            Press(d, wxID_OK);
        })});
        EXPECT_EQ(SelectItemsFromList("Select transition occasions", items, {}, result), 0);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(caption, "Select one item from list");
    EXPECT_TRUE(startTicks.empty());
    EXPECT_TRUE(result.empty());
    {
        // Cancel: -1 and the caller's list as it was, whatever was ticked.
        result = {42};
        DialogDriver driver({On<SelectItemDialog>([&](SelectItemDialog& d) {
            startTicks = d.Ticked();
            d.List()->Check(0);
            Press(d, wxID_CANCEL);
        })});
        EXPECT_EQ(SelectItemsFromList("Select transition occasions", items, {3, 1}, result), -1);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(startTicks, (std::vector<int>{1, 3}));
        EXPECT_EQ(result, std::vector<int>{42});
    }
    {
        // Select All, then OK: every index in list order.
        DialogDriver driver({On<SelectItemDialog>([](SelectItemDialog& d) {
                                 wxWindow* all = nullptr;
                                 for (wxWindow* child : d.GetChildren())
                                     if (child->GetLabel() == "Select All")
                                         all = child;
                                 DialogDriver::Click(all);
                             }),
                             [](wxDialog& d) {
                                 auto* s = dynamic_cast<SelectItemDialog*>(&d);
                                 if (!s || s->Ticked().size() != 4)
                                     return false;
                                 Press(d, wxID_OK);
                                 return true;
                             }});
        EXPECT_EQ(SelectItemsFromList("Select transition occasions", items, {2}, result), 4);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(result, (std::vector<int>{0, 1, 2, 3}));
    }
    {
        DialogDriver driver({On<SelectItemDialog>([](SelectItemDialog& d) {
                                 for (wxWindow* child : d.GetChildren())
                                     if (child->GetLabel() == "Select None")
                                         DialogDriver::Click(child);
                             }),
                             [](wxDialog& d) {
                                 auto* s = dynamic_cast<SelectItemDialog*>(&d);
                                 if (!s || !s->Ticked().empty())
                                     return false;
                                 Press(d, wxID_OK);
                                 return true;
                             }});
        EXPECT_EQ(SelectItemsFromList("Select transition occasions", items, {0, 2}, result), 0);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_TRUE(result.empty());
    }
}

TEST_F(SmallDialogsTest, TheColourChooserOpensFullOnTheColour)
{
    bool full = false;
    wxColour offered;
    DialogDriver driver({On<wxColourDialog>([&](wxColourDialog& d) {
        full = d.GetColourData().GetChooseFull();
        offered = d.GetColourData().GetColour();
        gtk_dialog_response(GTK_DIALOG(d.GetHandle()), GTK_RESPONSE_CANCEL);
    })});
    ColorRGB color{0.5f, 0.25f, 1.0f};
    EXPECT_FALSE(ChooseColorDialog(color));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(full);
    EXPECT_EQ(offered, wxColour(128, 64, 255));
    EXPECT_EQ(color.r, 0.5f);
    EXPECT_EQ(color.b, 1.0f);
}

TEST_F(SmallDialogsTest, AStringPromptWithARecordReopensWhereItWasLeft)
{
    int position[2] = {-1, -1};
    int size[2] = {0, 0};
    wxPoint first;
    const DialogDriver* self = nullptr;
    wxPoint reopened;
    DialogDriver driver({On<StringDialog>([&](StringDialog& d) {
                             first = d.GetScreenPosition();
                             d.Move(first.x + 37, first.y + 23);
                             Press(d, wxID_OK);
                         }),
                         // The second prompt, once the first has gone.
                         [&](wxDialog& d) {
                             if (self->opened.size() < 2 || !dynamic_cast<StringDialog*>(&d))
                                 return false;
                             reopened = d.GetScreenPosition();
                             Press(d, wxID_CANCEL);
                             return true;
                         }});
    self = &driver;
    std::string comments = "A model";
    EXPECT_TRUE(PromptString("Comments about this model", comments, nullptr, position, size));
    EXPECT_EQ(position[0], first.x + 37);
    EXPECT_EQ(position[1], first.y + 23);
    EXPECT_FALSE(PromptString("Comments about this model", comments, nullptr, position, size));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(driver.StepsDone(), 2u);
    EXPECT_EQ(reopened, wxPoint(first.x + 37, first.y + 23));
}

TEST_F(SmallDialogsTest, AnOptionalMessageWithoutAnIconFlagShowsTheProgramsIcon)
{
    auto countPictures = [](wxWindow& dialog) {
        int n = 0;
        for (wxWindow* child : dialog.GetChildren())
            n += dynamic_cast<wxStaticBitmap*>(child) != nullptr;
        return n;
    };
    auto* main = new wxFrame(nullptr, wxID_ANY, "Main");
    wxWindow* previousTop = wxTheApp->GetTopWindow();
    wxTheApp->SetTopWindow(main);
    {
        // No icon yet: no picture.
        OptionalMessageDialog plain(nullptr, "Text", 0);
        EXPECT_EQ(countPictures(plain), 0);
        OptionalMessageDialog warning(nullptr, "Text", kOptExclamationIcon);
        EXPECT_EQ(countPictures(warning), 1);
    }
    wxBitmap picture(32, 32);
    wxIcon icon;
    icon.CopyFromBitmap(picture);
    main->SetIcon(icon);
    {
        OptionalMessageDialog plain(nullptr, "Text", 0);
        EXPECT_EQ(countPictures(plain), 1);
    }
    wxTheApp->SetTopWindow(previousTop);
    main->Destroy();
}
