// The "Enter a string" prompt raised for real through the program's services.

#include "DialogDriver.h"
#include "kernel/Prompt.h"
#include "platform/DialogUtils.h"
#include "platform/StringDialog.h"
#include "platform/WxUserServices.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace
{
class StringDialogTest : public ::testing::Test
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

StringDialog* AsPrompt(wxDialog& dialog)
{
    return dynamic_cast<StringDialog*>(&dialog);
}

DialogDriver::Step TypeAndPress(const char* text, int button)
{
    return [text, button](wxDialog& d) {
        StringDialog* p = AsPrompt(d);
        if (!p)
            return false;
        p->Edit()->SetValue(wxString::FromUTF8(text));
        DialogDriver::Click(p->FindWindow(button));
        return true;
    };
}

// The rectangle of a child in the dialog's client area, measured from the client area's far corner.
struct FromFar
{
    int right;
    int bottom;
};
FromFar Far(wxWindow* child)
{
    const wxSize client = child->GetParent()->GetClientSize();
    const wxRect r = child->GetRect();
    return {client.x - (r.GetRight() + 1), client.y - (r.GetBottom() + 1)};
}
}  // namespace

TEST_F(StringDialogTest, RealPromptShowsTheEquationErrorAndStaysOpen)
{
    std::string errorCaption;
    std::string errorText;
    bool stillOpen = false;
    DialogDriver driver({TypeAndPress("2+", wxID_OK),
                         [&](wxDialog& d) {
                             auto* box = dynamic_cast<wxMessageDialogBase*>(&d);
                             if (!box)
                                 return false;
                             errorCaption = box->GetTitle().utf8_string();
                             errorText = box->GetMessage().utf8_string();
                             gtk_dialog_response(GTK_DIALOG(d.GetHandle()), GTK_RESPONSE_OK);
                             return true;
                         },
                         [&](wxDialog& d) {
                             StringDialog* p = AsPrompt(d);
                             if (!p)
                                 return false;
                             stillOpen = p->IsModal() && p->Edit()->GetValue() == "2+";
                             return TypeAndPress("2*r2", wxID_OK)(d);
                         }});
    double value = 1.5;
    EXPECT_TRUE(PromptReal("Enter tab size", value));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(driver.StepsDone(), 3u);
    EXPECT_EQ(errorCaption, "Error");
    EXPECT_EQ(errorText, "Error in equation:\nEquation ended early");
    EXPECT_TRUE(stillOpen) << "the prompt closed on a bad equation";
    EXPECT_DOUBLE_EQ(value, 2.0 * std::sqrt(2.0));
}

TEST_F(StringDialogTest, TextPromptIsOneLineAndCancelKeepsTheBuffer)
{
    std::string title;
    std::string shown;
    bool multiLine = true;
    bool heightFixed = false;
    char buffer[80] = "5/2 7/3";
    {
        DialogDriver driver({[&](wxDialog& d) {
                                 StringDialog* p = AsPrompt(d);
                                 if (!p)
                                     return false;
                                 title = p->GetTitle().utf8_string();
                                 shown = p->Edit()->GetValue().utf8_string();
                                 multiLine = p->Edit()->IsMultiLine();
                                 heightFixed = p->GetMaxSize().y == p->GetMinSize().y && p->GetMaxSize().x < 0;
                                 return true;
                             },
                             TypeAndPress("3 7", wxID_CANCEL)});
        EXPECT_FALSE(PromptText("What two polygons should the duoprism be based on?", buffer, sizeof buffer));
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_STREQ(buffer, "5/2 7/3");
    EXPECT_EQ(title, "Enter text");
    EXPECT_EQ(shown, "5/2 7/3");
    EXPECT_FALSE(multiLine);
    EXPECT_TRUE(heightFixed) << "a one-line prompt may only grow wider";
    {
        // Enter in the field presses OK.
        DialogDriver driver({[](wxDialog& d) {
            StringDialog* p = AsPrompt(d);
            if (!p)
                return false;
            p->Edit()->SetValue("3 7");
            DialogDriver::Type(d, WXK_RETURN);
            return true;
        }});
        EXPECT_TRUE(PromptText("What two polygons?", buffer, sizeof buffer, "Duoprism"));
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_STREQ(buffer, "3 7");
}

TEST_F(StringDialogTest, EnlargedStringPromptGrowsItsFieldAndKeepsOkBottomLeft)
{
    wxRect editBefore, editAfter, okBefore, okAfter;
    FromFar okFarBefore{}, okFarAfter{}, cancelFarBefore{}, cancelFarAfter{};
    wxSize grownTo;
    std::string shown;
    int aWidth = 0;
    DialogDriver driver({[&](wxDialog& d) {
                             StringDialog* p = AsPrompt(d);
                             if (!p)
                                 return false;
                             shown = p->Edit()->GetValue().utf8_string();
                             aWidth = MeasureTextGuiFont(p, "a", 0).x;
                             editBefore = p->Edit()->GetRect();
                             okBefore = p->FindWindow(wxID_OK)->GetRect();
                             okFarBefore = Far(p->FindWindow(wxID_OK));
                             cancelFarBefore = Far(p->FindWindow(wxID_CANCEL));
                             grownTo = p->GetSize() + wxSize(200, 150);
                             p->SetSize(grownTo);
                             return true;
                         },
                         [&](wxDialog& d) {
                             StringDialog* p = AsPrompt(d);
                             if (!p || p->GetSize() != grownTo)
                                 return false;  // the window system has not resized it yet
                             editAfter = p->Edit()->GetRect();
                             okAfter = p->FindWindow(wxID_OK)->GetRect();
                             okFarAfter = Far(p->FindWindow(wxID_OK));
                             cancelFarAfter = Far(p->FindWindow(wxID_CANCEL));
                             p->Edit()->AppendText("\nthird");
                             DialogDriver::Click(p->FindWindow(wxID_OK));
                             return true;
                         }});
    std::string comments = "first\r\nsecond";
    int position[2] = {-1, -1};
    int size[2] = {0, 0};
    EXPECT_TRUE(PromptString("Comments about this model", comments, nullptr, position, size));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(shown, "first\nsecond");
    EXPECT_EQ(comments, "first\nsecond\nthird");
    EXPECT_GE(editBefore.width, 50 * aWidth);

    EXPECT_EQ(editAfter.x, editBefore.x);
    EXPECT_EQ(editAfter.y, editBefore.y);
    EXPECT_EQ(editAfter.width, editBefore.width + 200);
    EXPECT_EQ(editAfter.height, editBefore.height + 150);
    EXPECT_EQ(okAfter.x, okBefore.x);
    EXPECT_EQ(okAfter.height, okBefore.height);
    EXPECT_EQ(okFarAfter.bottom, okFarBefore.bottom);
    EXPECT_EQ(cancelFarAfter.right, cancelFarBefore.right);
    EXPECT_EQ(cancelFarAfter.bottom, cancelFarBefore.bottom);

    // The caller's arrays remember where the prompt closed, and it opens there again.
    EXPECT_EQ(size[0], grownTo.x);
    EXPECT_EQ(size[1], grownTo.y);
    EXPECT_GE(position[0], 0);
    wxSize reopened;
    {
        DialogDriver again({[&](wxDialog& d) {
            reopened = d.GetSize();
            DialogDriver::Click(d.FindWindow(wxID_CANCEL));
            return true;
        }});
        EXPECT_FALSE(PromptString("Comments about this model", comments, nullptr, position, size));
        EXPECT_FALSE(again.TimedOut());
    }
    EXPECT_EQ(reopened, grownTo);
    EXPECT_EQ(comments, "first\nsecond\nthird");
}
