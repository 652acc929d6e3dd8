#include "ui/HelpCommands.h"

#include "document/UpdateCheckWorker.h"

#include "document/UpdateCheckSettings.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "platform/CommandIds.h"
#include "platform/OpenLink.h"
#include "ui/AboutDialog.h"

#include <wx/stdpaths.h>
#include <wx/window.h>

namespace
{
constexpr char kEnquiryAddress[] = "enquiries@orvane.org";

struct PageRow
{
    HelpPage page;
    const char* path;  // on the maker's site; null for the enquiries
};
const PageRow kPages[] = {
    {HelpPage::kHome, ""},
    {HelpPage::kPaper, "Paper.php"},
    {HelpPage::kForums, "Forums"},
    // The maker's own pages send the visitor on to the social-media page and the app store, so
    // that those addresses can change without a new version of the program.
    {HelpPage::kSocial, "Social.php"},
    {HelpPage::kCompanionApp, "Pocket.php"},
    {HelpPage::kProduct, "Orvane.php"},
    {HelpPage::kEnquiries, nullptr},
};

std::string SitePage(const char* path)
{
    std::string base = GetUpdateCheckSettings().siteAddress;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return *path ? base + "/" + path : base;
}

void OpenPage(HelpPage page)
{
    OpenLink(GetHelpPageAddress(page));  // a page that cannot be opened says nothing
}
}  // namespace

std::string GetHelpPageAddress(HelpPage page)
{
    for (const PageRow& row : kPages)
        if (row.page == page)
            return row.path ? SitePage(row.path) : std::string("mailto:") + kEnquiryAddress;
    return std::string();
}

const char* GetEnquiryAddress()
{
    return kEnquiryAddress;
}

bool FindManual(const std::string& programPath, std::string& found)
{
    const size_t slash = programPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
    for (const char* place : {"", "Installation/", "../Installation/"})
    {
        found = folder + place + kManualFileName;
        if (PathExists(found.c_str()))
            return true;
    }
    found.clear();
    return false;
}

void OpenManual(const std::string& programPath)
{
    std::string path;
    if (!FindManual(programPath, path))
    {
        ErrorMessage("Can't find '%s'.", kManualFileName);
        return;
    }
    std::string full;
    if (!GetFullPath(full, path.c_str()))
        full = path;
    OpenLink(full, LinkKind::kProgramFile);
}

void BindHelpCommands(wxWindow* frame)
{
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenManual(wxStandardPaths::Get().GetExecutablePath().utf8_string()); }, kCmdHelpManual);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenPage(HelpPage::kPaper); }, kCmdHelpPaper);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenPage(HelpPage::kForums); }, kCmdHelpForums);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenPage(HelpPage::kSocial); }, kCmdHelpSocialPage);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenPage(HelpPage::kCompanionApp); }, kCmdHelpCompanionApp);
    frame->Bind(wxEVT_MENU, [frame](wxCommandEvent&) { RunAboutDialog(frame); }, kCmdHelpAbout);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { CheckForUpdatesNow(); }, kCmdCheckForUpdates);
}
