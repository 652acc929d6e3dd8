// The Help menu: the manual found beside the program, the web pages and the About box. Links are
// recorded, never opened.

#include "MainFrameFixture.h"

#include "document/UpdateCheckSettings.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "platform/GuiInput.h"
#include "platform/LinkLabel.h"
#include "platform/OpenLink.h"
#include "ui/AboutDialog.h"
#include "ui/HelpCommands.h"

#include <wx/image.h>
#include <wx/menu.h>
#include <wx/statbmp.h>
#include <wx/stdpaths.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct OpenedLink
{
    std::string target;
    LinkKind kind;
};

// Records the links instead of opening them, and keeps the update check's settings.
class LinkRecorder
{
public:
    LinkRecorder()
        : mSaved(GetUpdateCheckSettings()), mPrevious(SetLinkOpener([this](const std::string& target, LinkKind kind) {
              opened.push_back({target, kind});
              return true;
          }))
    {
    }
    ~LinkRecorder()
    {
        SetLinkOpener(mPrevious);
        GetUpdateCheckSettings() = mSaved;
    }

    std::vector<OpenedLink> opened;

private:
    UpdateCheckSettings mSaved;
    LinkOpener mPrevious;
};

TEST(HelpManual, IsFoundBesideTheProgramThenInTheInstallationFolders)
{
    std::string temp;
    ASSERT_TRUE(GetTempFolder(temp));
    const fs::path root = fs::path(temp) / "help-manual";
    struct Case
    {
        const char* name;
        std::vector<const char*> manuals;  // folders under root holding the manual
        const char* found;                 // relative to root; null when none
    };
    const Case kCases[] = {
        {"beside the program first", {"bin", "bin/Installation", "Installation"}, "bin/OrvaneMaxManual.html"},
        {"in Installation beside the program", {"bin/Installation", "Installation"},
         "bin/Installation/OrvaneMaxManual.html"},
        {"in the sibling Installation", {"Installation"}, "bin/../Installation/OrvaneMaxManual.html"},
        {"nowhere", {}, nullptr},
        {"not in the program's parent", {""}, nullptr},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        for (const char* folder : c.manuals)
        {
            fs::create_directories(root / folder);
            std::ofstream(root / folder / kManualFileName) << "<html></html>\n";
        }
        std::string found = "stale";
        const bool ok = FindManual((root / "bin" / "orvane").string(), found);
        EXPECT_EQ(ok, c.found != nullptr);
        EXPECT_EQ(found, c.found ? (root / c.found).string() : std::string());
    }

    // A program with none tells the user and opens nothing.
    fs::create_directories(root / "bin");
    LinkRecorder links;
    ScopedScriptedServices scripted;
    OpenManual((root / "bin" / "orvane").string());
    EXPECT_TRUE(links.opened.empty());
    ASSERT_EQ(scripted.services.calls.size(), 1u);
    EXPECT_EQ(scripted.services.calls[0].text, "Can't find 'OrvaneMaxManual.html'.");
    fs::remove_all(root);
}

class HelpMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mLinks = std::make_unique<LinkRecorder>();
        GetUpdateCheckSettings().siteAddress = "https://site.test/maker/";
    }
    void TearDown() override
    {
        mLinks.reset();
        MainFrameFixture::TearDown();
    }

    // As the menu shows it after its update rules ran.
    bool IsEnabled(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        wxMenuItem* item = mFrame->GetMenuBar()->FindItem(id);
        return item && item->IsEnabled();
    }

    std::unique_ptr<LinkRecorder> mLinks;
    ScopedScriptedServices mScripted;
};

TEST_F(HelpMenuTest, F1OpensTheManualShippedBesideTheProgram)
{
    GuiInput::Key(mFrame, GDK_KEY_F1);
    PumpEventsUntil([this] { return !mLinks->opened.empty(); }, 400);
    ASSERT_EQ(mLinks->opened.size(), 1u);
    const OpenedLink& link = mLinks->opened[0];
    EXPECT_EQ(link.kind, LinkKind::kProgramFile);
    const fs::path program = wxStandardPaths::Get().GetExecutablePath().utf8_string();
    EXPECT_EQ(fs::path(link.target), program.parent_path() / "OrvaneMaxManual.html");
    // The build's copy of the project's own page.
    std::ifstream in(link.target);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(page.find("<title>OrvaneMax Manual</title>"), std::string::npos);
    EXPECT_TRUE(mScripted.services.calls.empty());
}

TEST_F(HelpMenuTest, EachWebCommandOpensItsPageOnTheMakersSite)
{
    const std::pair<int, const char*> kCases[] = {
        {kCmdHelpPaper, "https://site.test/maker/Paper.php"},
        {kCmdHelpForums, "https://site.test/maker/Forums"},
        {kCmdHelpSocialPage, "https://site.test/maker/Social.php"},
        {kCmdHelpCompanionApp, "https://site.test/maker/Pocket.php"},
    };
    for (const auto& [command, address] : kCases)
    {
        SCOPED_TRACE(address);
        mLinks->opened.clear();
        ASSERT_TRUE(IsEnabled(command));
        RunCommand(command);
        ASSERT_EQ(mLinks->opened.size(), 1u);
        EXPECT_EQ(mLinks->opened[0].target, address);
        EXPECT_EQ(mLinks->opened[0].kind, LinkKind::kAddress);
    }
    // A page that cannot be opened says nothing.
    SetLinkOpener([](const std::string&, LinkKind) { return false; });
    RunCommand(kCmdHelpForums);
    EXPECT_TRUE(mScripted.services.calls.empty());
}

TEST_F(HelpMenuTest, TheVersionSaysWhenANewerOneIsKnown)
{
    struct Case
    {
        const char* stored;
        const char* shown;
    };
    const Case kCases[] = {
        {"", "Version 5.4"},
        {"5.4", "Version 5.4"},
        {"5.5", "Version 5.4  (not the latest!)"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.stored);
        GetUpdateCheckSettings().latestKnownVersion = c.stored;
        AboutDialog dialog(mFrame);
        EXPECT_EQ(dialog.VersionLabel()->GetLabelText().utf8_string(), c.shown);
    }
}

TEST_F(HelpMenuTest, TheAboutBoxShowsTheNameLinksAndPicture)
{
    AboutDialog dialog(mFrame);
    EXPECT_EQ(dialog.GetTitle(), "About OrvaneMax");
    EXPECT_EQ(dialog.NameLabel()->GetLabelText(), "OrvaneMax");
    EXPECT_EQ(dialog.NameLabel()->GetForegroundColour(), wxColour(64, 144, 0));
    EXPECT_EQ(dialog.NameLabel()->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(dialog.HomeLink()->Target(), "https://site.test/maker");
    EXPECT_EQ(dialog.ProductLink()->GetLabelText(), "https://site.test/maker/Orvane.php");
    EXPECT_EQ(dialog.ProductLink()->Target(), "https://site.test/maker/Orvane.php");
    EXPECT_EQ(dialog.EnquiryLink()->GetLabelText(), "enquiries@orvane.org");
    EXPECT_EQ(dialog.EnquiryLink()->Target(), "mailto:enquiries@orvane.org");

    // The picture: the solid fills the middle and leaves the corners to the background.
    const wxImage picture = dialog.Picture()->GetBitmap().ConvertToImage();
    ASSERT_TRUE(picture.IsOk());
    const wxColour background = dialog.GetBackgroundColour();
    auto pixel = [&](int x, int y) { return wxColour(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y)); };
    EXPECT_EQ(pixel(1, 1), background);
    EXPECT_EQ(pixel(picture.GetWidth() - 2, picture.GetHeight() - 2), background);
    const wxColour middle = pixel(picture.GetWidth() / 2, picture.GetHeight() / 2);
    EXPECT_NE(middle, background);
    EXPECT_GT(middle.Red(), middle.Blue());  // the faces' orange, lit
}

TEST_F(HelpMenuTest, AboutOpensTheBoxWhoseEnquiryLinkWritesAMail)
{
    ASSERT_TRUE(IsEnabled(kCmdHelpAbout));
    ASSERT_TRUE(IsEnabled(kCmdHelpManual));
    std::string caption;
    DialogDriver driver({[&](wxDialog& top) {
                             auto* about = dynamic_cast<AboutDialog*>(&top);
                             if (!about)
                                 return false;
                             caption = about->GetTitle().utf8_string();
                             GuiInput::Click(about->EnquiryLink(), wxPoint(3, about->EnquiryLink()->GetClientSize().y / 2));
                             return true;
                         },
                         [&](wxDialog& top) {
                             if (mLinks->opened.empty())
                                 return false;
                             DialogDriver::Click(top.FindWindow(wxID_OK));
                             return true;
                         }});
    RunCommand(kCmdHelpAbout);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(caption, "About OrvaneMax");
    ASSERT_EQ(mLinks->opened.size(), 1u);
    EXPECT_EQ(mLinks->opened[0].target, "mailto:enquiries@orvane.org");
}
}  // namespace
