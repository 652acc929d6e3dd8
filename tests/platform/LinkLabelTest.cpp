// Link labels clicked as the user clicks them; links are recorded, never opened.

#include "GuiInput.h"
#include "platform/LinkLabel.h"
#include "platform/OpenLink.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <string>
#include <vector>

namespace
{
class LinkLabelTest : public ::testing::Test
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
        dialog = new wxDialog(nullptr, wxID_ANY, "Labels", wxPoint(30, 30), wxSize(400, 200));
    }
    void TearDown() override
    {
        if (dialog)
        {
            wxDialog* d = dialog;
            d->Destroy();
            PumpEventsUntil([d] { return !wxTopLevelWindows.Find(d); }, 200);
            SetLinkOpener(mPrevious);
        }
    }

    void ShowAndClick(LinkLabel* label)
    {
        if (!dialog->IsShown())
        {
            dialog->Show();
            PumpEventsUntil([label] { return label->IsShownOnScreen() && GuiInput::MouseWindow(label); });
        }
        GuiInput::Click(label, wxPoint(3, label->GetClientSize().y / 2));
        PumpEventsUntil([] { return false; }, 30);
    }

    wxDialog* dialog = nullptr;
    std::vector<std::string> opened;

private:
    LinkOpener mPrevious;
};
}  // namespace

TEST_F(LinkLabelTest, ALinkWithoutATargetOpensItsOwnText)
{
    auto* label = new LinkLabel(dialog, wxID_ANY, "placeholder", wxPoint(10, 10));
    label->SetLink("https://example.org/");
    EXPECT_EQ(label->GetForegroundColour(), wxColour(0, 0, 255));
    EXPECT_TRUE(label->GetFont().GetUnderlined());
    EXPECT_TRUE(label->GetCursor().IsOk());
    ShowAndClick(label);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});

    // An empty target opens the window text again.
    opened.clear();
    label->SetLinkTarget("https://example.org/other");
    label->SetLinkTarget("");
    ShowAndClick(label);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
}

TEST_F(LinkLabelTest, ACallbackTakesTheTargetInsteadOfTheDesktop)
{
    auto* label = new LinkLabel(dialog, wxID_ANY, "x", wxPoint(10, 10));
    std::vector<std::string> called;
    label->SetLink("Read the manual", "OrvaneMaxManual.html",
                   [&called](const std::string& target) { called.push_back(target); });
    ShowAndClick(label);
    EXPECT_EQ(called, std::vector<std::string>{"OrvaneMaxManual.html"});
    EXPECT_TRUE(opened.empty());
}

TEST_F(LinkLabelTest, SchemesOtherThanWebAndMailAreNotOpened)
{
    auto* file = new LinkLabel(dialog, wxID_ANY, "x", wxPoint(10, 10));
    file->SetLink("Open", "file:///etc/passwd");
    auto* script = new LinkLabel(dialog, wxID_ANY, "x", wxPoint(10, 60));
    script->SetLink("Run", "javascript:alert(1)");
    ShowAndClick(file);
    ShowAndClick(script);
    EXPECT_TRUE(opened.empty());
}

TEST_F(LinkLabelTest, APlainColouredLabelKeepsTheArrowAndIgnoresClicks)
{
    auto* label = new LinkLabel(dialog, wxID_ANY, "https://example.org/", wxPoint(10, 10));
    label->SetTextColor(0x0090 << 8 | 64);  // (64, 144, 0)
    label->SetBold(true);
    EXPECT_EQ(label->GetForegroundColour(), wxColour(64, 144, 0));
    EXPECT_EQ(label->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_FALSE(label->GetCursor().IsOk());
    ShowAndClick(label);
    EXPECT_TRUE(opened.empty());
    // With the notify style clicks reach it.
    label->SetNotify(true);
    ShowAndClick(label);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
}

TEST_F(LinkLabelTest, OneAndAHalfTimesTheFontHeightKeepsBold)
{
    auto* label = new LinkLabel(dialog, wxID_ANY, "Uniform polyhedra", wxPoint(10, 10));
    label->SetBold(true);
    const int height = label->GetFontHeight();
    const double points = label->GetFont().GetFractionalPointSize();
    const int lineHeight = label->GetBestSize().y;
    ASSERT_GT(height, 0);
    label->SetFontHeight(height * 3 / 2);
    EXPECT_EQ(label->GetFontHeight(), height * 3 / 2);
    EXPECT_NEAR(label->GetFont().GetFractionalPointSize(), points * (height * 3 / 2) / height, 0.6);
    EXPECT_EQ(label->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_GT(label->GetBestSize().y, lineHeight);
}

TEST_F(LinkLabelTest, SubclassingPutsTheLinkInThePlaceholdersSlot)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* before = new wxStaticText(dialog, wxID_ANY, "Before");
    auto* placeholder = new wxStaticText(dialog, 1234, "Placeholder");
    auto* after = new wxStaticText(dialog, wxID_ANY, "After");
    sizer->Add(before);
    sizer->Add(placeholder);
    sizer->Add(after);
    dialog->SetSizer(sizer);

    auto* label = new LinkLabel();
    EXPECT_FALSE(label->SubclassAndSetLink(4321, dialog, "missing"));
    EXPECT_TRUE(label->SubclassAndSetLink(1234, dialog, "https://example.org/", ""));
    EXPECT_EQ(dialog->FindWindow(1234), label);
    EXPECT_EQ(sizer->GetItem(size_t(1))->GetWindow(), label);
    EXPECT_EQ(label->GetLabelText(), "https://example.org/");
    dialog->Layout();
    ShowAndClick(label);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
}
