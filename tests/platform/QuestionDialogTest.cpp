// The question box raised for real through the program's services and answered as a user would.

#include "DialogDriver.h"
#include "kernel/AskQuestion.h"
#include "platform/HtmlRichEdit.h"
#include "platform/QuestionDialog.h"
#include "platform/WxUserServices.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/window.h>

#include <memory>

namespace
{
class QuestionDialogTest : public ::testing::Test
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

QuestionDialog* AsQuestion(wxDialog& dialog)
{
    return dynamic_cast<QuestionDialog*>(&dialog);
}

// The truncation question: X the default, Y and Z on rows of their own, Z the cancel button.
int AskXYZ(DialogDriver& driver)
{
    const int answer = AskQuestion(0, "Truncation choice", {"+X", "/Y", "/-Z"}, "Choose one.");
    EXPECT_FALSE(driver.TimedOut()) << "the question did not end as the user asked";
    return answer;
}
}  // namespace

TEST_F(QuestionDialogTest, EnterEscapeAndAClickAnswerWithTheirLabels)
{
    wxRect x, y, z;
    bool focusOnDefault = false;
    {
        DialogDriver driver({[&](wxDialog& d) {
            QuestionDialog* q = AsQuestion(d);
            if (!q)
                return false;
            if (wxWindow::FindFocus() != q->Button(0))
                return false;  // the focus arrives with the first paint
            focusOnDefault = true;
            x = q->Button(0)->GetRect();
            y = q->Button(1)->GetRect();
            z = q->Button(2)->GetRect();
            DialogDriver::Type(d, WXK_RETURN);
            return true;
        }});
        EXPECT_EQ(AskXYZ(driver), 0);
    }
    EXPECT_TRUE(focusOnDefault);
    // Rows of their own, spanning the same width, 8 pixels more apart than the closest rows.
    EXPECT_EQ(x.x, y.x);
    EXPECT_EQ(y.x, z.x);
    EXPECT_EQ(x.width, y.width);
    EXPECT_EQ(y.width, z.width);
    EXPECT_EQ(y.y - x.GetBottom() - 1, kQuestionRowGap + kQuestionGapExtra);
    EXPECT_EQ(z.y - y.GetBottom() - 1, kQuestionRowGap + kQuestionGapExtra);

    {
        DialogDriver driver({[](wxDialog& d) {
            DialogDriver::Type(d, WXK_ESCAPE);
            return true;
        }});
        EXPECT_EQ(AskXYZ(driver), 2);
    }
    {
        DialogDriver driver({[](wxDialog& d) {
            QuestionDialog* q = AsQuestion(d);
            if (!q)
                return false;
            DialogDriver::Click(q->Button(1));
            return true;
        }});
        EXPECT_EQ(AskXYZ(driver), 1);
    }
    {
        DialogDriver driver({[](wxDialog& d) {
            d.Close();  // the close box
            return true;
        }});
        EXPECT_EQ(AskXYZ(driver), 2);
    }
}

TEST_F(QuestionDialogTest, ADisabledLabelCannotBeClickedAndPassesTheDefaultOn)
{
    bool stillOpen = false;
    bool focusOnNext = false;
    int ticks = 0;
    DialogDriver driver({[&](wxDialog& d) {
                             QuestionDialog* q = AsQuestion(d);
                             if (!q || wxWindow::FindFocus() != q->Button(1))
                                 return false;
                             focusOnNext = true;
                             EXPECT_FALSE(q->Button(0)->IsEnabled());
                             DialogDriver::Click(q->Button(0));
                             return true;
                         },
                         [&](wxDialog& d) {
                             // Give the click time to arrive; the question must still be open.
                             if (++ticks < 40)
                                 return false;
                             stillOpen = d.IsModal();
                             DialogDriver::Type(d, WXK_RETURN);
                             return true;
                         }});
    const int answer =
        AskQuestion(0, "Remove Images from...", {"+#Selected face only", "/All faces", "/-Cancel"}, "Which faces?");
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(focusOnNext) << "the default did not move to the next label";
    EXPECT_TRUE(stillOpen) << "the click on the disabled button ended the question";
    EXPECT_EQ(answer, 1);
}

TEST_F(QuestionDialogTest, MemorySlotsAnswerToTheirDigitsExceptEmptyOnes)
{
    bool stillOpen = false;
    bool leftAligned = false;
    int ticks = 0;
    DialogDriver driver({[&](wxDialog& d) {
                             QuestionDialog* q = AsQuestion(d);
                             if (!q)
                                 return false;
                             leftAligned = q->Button(0)->HasFlag(wxBU_LEFT) && !q->Button(3)->HasFlag(wxBU_LEFT);
                             DialogDriver::Type(d, '2');  // the empty slot
                             return true;
                         },
                         [&](wxDialog& d) {
                             if (++ticks < 40)
                                 return false;
                             stillOpen = d.IsModal();
                             DialogDriver::Type(d, '3');
                             return true;
                         }});
    const int answer = AskQuestion(0, "Retrieve Model from Memory",
                                   {"/<=1 1: Cube", "/<#=2 2: (empty)", "/<=3 3: Pentagonal prism", "/-Cancel"},
                                   "Which memory slot would you like\nto retrieve a model from?");
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(leftAligned);
    EXPECT_TRUE(stillOpen) << "the digit of an empty slot ended the question";
    EXPECT_EQ(answer, 2);
}

TEST_F(QuestionDialogTest, ABlankMessageRemovesMessageAndIcon)
{
    struct Seen
    {
        bool message = false;
        bool icon = false;
        bool html = false;
        int buttonTop = -1;
        int messageBottom = -1;
    };
    auto look = [](Seen& seen) {
        return [&seen](wxDialog& d) {
            QuestionDialog* q = AsQuestion(d);
            if (!q)
                return false;
            seen.message = q->MessageWindow() != nullptr;
            seen.icon = q->IconWindow() != nullptr;
            seen.html = dynamic_cast<HtmlRichEdit*>(q->MessageWindow()) != nullptr;
            seen.buttonTop = q->Button(0)->GetPosition().y;
            if (q->MessageWindow())
                seen.messageBottom = q->MessageWindow()->GetRect().GetBottom();
            DialogDriver::Click(q->Button(0));
            return true;
        };
    };

    Seen blank;
    {
        DialogDriver driver({look(blank)});
        EXPECT_EQ(AskQuestion(QuestionRequest::kStopIcon, "Blank", {"OK"}, "%s", "  "), 0);
    }
    EXPECT_FALSE(blank.message);
    EXPECT_FALSE(blank.icon);
    Seen full;
    {
        DialogDriver driver({look(full)});
        EXPECT_EQ(AskQuestion(QuestionRequest::kStopIcon, "Not blank", {"OK"}, "Something went wrong."), 0);
    }
    EXPECT_TRUE(full.message);
    EXPECT_TRUE(full.icon);
    EXPECT_FALSE(full.html);
    // Without the message the buttons follow the caption directly.
    EXPECT_LT(blank.buttonTop, full.buttonTop);
    EXPECT_GT(full.buttonTop, full.messageBottom);

    Seen html;
    {
        DialogDriver driver({look(html)});
        EXPECT_EQ(AskQuestion(QuestionRequest::kHtml | QuestionRequest::kInformationIcon, "No new version available",
                              {"OK"}, "<b>You already have the latest version.</b>\n\nIf you wish, <a href=\"%s\">click here</a>.",
                              "https://example.org/"),
                  0);
    }
    EXPECT_TRUE(html.html);
    EXPECT_TRUE(html.icon);
    EXPECT_GT(html.buttonTop, html.messageBottom);
}

TEST_F(QuestionDialogTest, WithoutADefaultNoButtonHasTheFocus)
{
    // The disabled default on the last label leaves the question without one.
    auto ask = [] { return AskQuestion(0, "Keep?", {"-Cancel", "=kKeep", "+#Gone"}, "No default"); };
    bool focusOnButton = true;
    int ticks = 0;
    {
        DialogDriver driver({[&](wxDialog& d) {
            QuestionDialog* q = AsQuestion(d);
            if (!q || ++ticks < 20)
                return false;
            const wxWindow* focus = wxWindow::FindFocus();
            focusOnButton = focus == q->Button(0) || focus == q->Button(1) || focus == q->Button(2);
            DialogDriver::Type(d, WXK_RETURN);
            return true;
        }});
        EXPECT_EQ(ask(), -1);  // Enter: the default index
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_FALSE(focusOnButton);
    {
        DialogDriver driver({[](wxDialog& d) {
            DialogDriver::Type(d, 'k');
            return true;
        }});
        EXPECT_EQ(ask(), 1);  // keys still reach the question
        EXPECT_FALSE(driver.TimedOut());
    }
}
