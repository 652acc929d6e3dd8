// The rich text of the HTML subset read back through the control's own character attributes.

#include "GuiInput.h"
#include "platform/HtmlRichEdit.h"
#include "platform/OpenLink.h"
#include "platform/RichTextMeasure.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/frame.h>

#include <algorithm>

#include <string>
#include <vector>

namespace
{
// A shown frame holding one rich text; links are recorded, never opened.
class HtmlRichEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mPrevious = SetLinkOpener([this](const std::string& target, LinkKind) {
            opened.push_back(target);
            return true;
        });
        mFrame = new wxFrame(nullptr, wxID_ANY, "Rich text", wxPoint(20, 20), wxSize(500, 300));
        edit = new HtmlRichEdit(mFrame, wxID_ANY, wxPoint(0, 0), wxSize(500, 300));
        mFrame->Show();
        PumpEventsUntil([this] { return GuiInput::MouseWindow(edit) && edit->IsShownOnScreen(); });
    }
    void TearDown() override
    {
        if (mFrame)
        {
            wxFrame* frame = mFrame;
            frame->Destroy();
            PumpEventsUntil([frame] { return !wxTopLevelWindows.Find(frame); }, 200);
            SetLinkOpener(mPrevious);
        }
    }

    // The position of the first character of a text in the control.
    long Find(const std::string& text) const
    {
        const long at = long(edit->GetValue().find(wxString::FromUTF8(text)));
        EXPECT_GE(at, 0) << text;
        return at;
    }
    // A point inside the character at a position, in client coordinates.
    wxPoint CharPoint(long position) const
    {
        wxRect caret;
        EXPECT_TRUE(edit->GetCaretPositionForIndex(position, caret));
        return edit->GetPhysicalPoint(caret.GetPosition()) + wxPoint(3, caret.height / 2);
    }
    wxRichTextAttr StyleAt(long position) const
    {
        wxRichTextAttr attr;
        EXPECT_TRUE(edit->GetStyle(position, attr));
        return attr;
    }

    HtmlRichEdit* edit = nullptr;
    std::vector<std::string> opened;

private:
    wxFrame* mFrame = nullptr;
    LinkOpener mPrevious;
};

wxColour Rgb(int r, int g, int b)
{
    return wxColour(r, g, b);
}
}  // namespace

TEST_F(HtmlRichEditTest, BoldAndItalicWordsWithAPlainSpaceBetween)
{
    edit->SetHtmlText("<b>bold</b> <i>italic</i>");
    ASSERT_EQ(edit->GetValue(), "bold italic");
    for (long p = 0; p < 4; ++p)
    {
        EXPECT_EQ(StyleAt(p).GetFontWeight(), wxFONTWEIGHT_BOLD);
        EXPECT_EQ(StyleAt(p).GetFontStyle(), wxFONTSTYLE_NORMAL);
    }
    EXPECT_EQ(StyleAt(4).GetFontWeight(), wxFONTWEIGHT_NORMAL);
    EXPECT_EQ(StyleAt(4).GetFontStyle(), wxFONTSTYLE_NORMAL);
    for (long p = 5; p < 11; ++p)
    {
        EXPECT_EQ(StyleAt(p).GetFontWeight(), wxFONTWEIGHT_NORMAL);
        EXPECT_EQ(StyleAt(p).GetFontStyle(), wxFONTSTYLE_ITALIC);
    }
}

TEST_F(HtmlRichEditTest, ListsShowTheirMarksLineByLine)
{
    edit->SetHtmlText("<ol><li>a<li>b</ol>");
    EXPECT_EQ(edit->GetValue(), "    1. a\n    2. b");
    EXPECT_EQ(edit->GetNumberOfLines(), 2);
    edit->SetHtmlText("<ul><li>x<ul><li>y</ul></ul> after");
    EXPECT_EQ(edit->GetValue(), "    * x\n        - y after");
    edit->AppendHtml("\n<b>more</b>");
    EXPECT_EQ(edit->GetValue(), "    * x\n        - y after\nmore");
    EXPECT_EQ(StyleAt(Find("more")).GetFontWeight(), wxFONTWEIGHT_BOLD);
}

TEST_F(HtmlRichEditTest, FontSizesAndColours)
{
    edit->SetHtmlText("n<font size=+2>big<font size=10 color=#00ff00>ten</font>back</font>"
                      "<font color=orange>orange</font>end");
    const int normal = StyleAt(0).GetFontSize();
    ASSERT_GT(normal, 0);
    EXPECT_EQ(normal * 20, edit->DefaultTwips());
    EXPECT_EQ(StyleAt(Find("big")).GetFontSize(), normal + 4);
    EXPECT_EQ(StyleAt(Find("ten")).GetFontSize(), 10);
    EXPECT_EQ(StyleAt(Find("ten")).GetTextColour(), Rgb(0, 255, 0));
    EXPECT_EQ(StyleAt(Find("back")).GetFontSize(), normal + 4);
    EXPECT_EQ(StyleAt(Find("back")).GetTextColour(), StyleAt(0).GetTextColour());
    EXPECT_EQ(StyleAt(Find("orange")).GetTextColour(), Rgb(255, 127, 0));
    EXPECT_EQ(StyleAt(Find("end")).GetFontSize(), normal);
}

TEST_F(HtmlRichEditTest, EntitiesAndALiteralLessThan)
{
    edit->SetHtmlText("&amp;|&copy;|&zz;|Q&A <<b>");
    EXPECT_EQ(edit->GetValue(), wxString::FromUTF8("&|\xC2\xA9| |Q&A <b>"));
    EXPECT_EQ(StyleAt(Find("b>")).GetFontWeight(), wxFONTWEIGHT_NORMAL);
}

TEST_F(HtmlRichEditTest, AppendFormattedGivesTheRangeItsFormatting)
{
    edit->SetHtmlText("plain ");
    edit->AppendFormatted("strong", 1 | 4, 0x0000C0, 360);
    const wxRichTextAttr attr = StyleAt(Find("strong"));
    EXPECT_EQ(attr.GetFontWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(attr.GetFontStyle(), wxFONTSTYLE_NORMAL);
    EXPECT_TRUE(attr.GetFontUnderlined());
    EXPECT_EQ(attr.GetTextColour(), Rgb(192, 0, 0));
    EXPECT_EQ(attr.GetFontSize(), 18);
    EXPECT_EQ(edit->GetInsertionPoint(), edit->GetLastPosition());
}

TEST_F(HtmlRichEditTest, LinksLookLikeLinksAndAClickHandsOnTheirTarget)
{
    edit->SetHtmlText("Visit <a href=\"https://example.org/x\">our page</a>, "
                      "<a href=\"file:///etc/passwd\">this</a> or <a href=\"javascript:alert(1)\">that</a>.");
    const long link = Find("our page");
    const wxRichTextAttr attr = StyleAt(link + 2);
    EXPECT_TRUE(attr.GetFontUnderlined());
    EXPECT_EQ(attr.GetTextColour().Blue(), 255);
    EXPECT_EQ(attr.GetURL(), "https://example.org/x");
    EXPECT_FALSE(StyleAt(0).HasURL());
    EXPECT_FALSE(StyleAt(0).GetFontUnderlined());

    // The hand over the link, the text cursor beside it.
    auto cursorAt = [this](long position) {
        const wxPoint at = CharPoint(position);
        wxMouseEvent move(wxEVT_MOTION);
        move.SetPosition(at);
        move.SetEventObject(edit);
        edit->ProcessWindowEvent(move);
        return edit->GetCursor();
    };
    EXPECT_TRUE(cursorAt(link + 2).IsSameAs(edit->GetURLCursor()));
    EXPECT_FALSE(cursorAt(1).IsSameAs(edit->GetURLCursor()));

    for (const char* text : {"our page", "this", "that"})
    {
        GuiInput::Click(edit, CharPoint(Find(text) + 1));
        PumpEventsUntil([] { return false; }, 30);
    }
    // Only the web address reached the desktop.
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/x"});
}

TEST_F(HtmlRichEditTest, ALinkWithoutItsClosingQuoteEndsTheText)
{
    edit->SetHtmlText("before <a href=\"https://example.org>x</a> after");
    EXPECT_EQ(edit->GetValue(), "before ");
}

TEST_F(HtmlRichEditTest, TheMeasureCoversEveryLineInItsOwnSize)
{
    edit->SetHtmlText("one\n<font size=+8>two</font>\n\nfour");
    const wxSize measured = MeasureRichEditText(edit, 5);
    wxClientDC dc(edit);
    wxRichTextAttr big = StyleAt(Find("two"));
    wxRichTextAttr small = StyleAt(0);
    const wxSize two = MeasureCharFormatText("two", dc, big);
    const wxSize one = MeasureCharFormatText("one", dc, small);
    EXPECT_GT(two.y, one.y);
    EXPECT_EQ(measured.y, 3 * one.y + two.y + 5);
    EXPECT_EQ(measured.x, std::max({two.x, one.x, MeasureCharFormatText("four", dc, small).x}) + 3);

    // Fitted, the whole text shows.
    const wxSize size = edit->FitToText(1000);
    EXPECT_EQ(size.x, measured.x);
    EXPECT_GE(size.y, measured.y - 5);
    EXPECT_EQ(edit->GetNumberOfLines(), 4);
}
