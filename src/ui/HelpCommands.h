#pragma once

#include "document/ProgramIdentity.h"

#include <string>

class wxWindow;

// The Help menu, handled for the whole main window: the manual installed beside the program, the
// maker's web pages, and the About box.

// The program's identity as the About box and the manual show it.
inline constexpr char kProgramDate[] = "1st December 2026";
inline constexpr char kManualFileName[] = "OrvaneMaxManual.html";

// The pages the Help menu and the About box open.
enum class HelpPage
{
    kHome,
    kPaper,
    kForums,
    kSocial,
    kCompanionApp,
    kProduct,
    kEnquiries,
};
// Its address: the maker's pages lie on the base address the update check keeps; the enquiries
// address is a "mailto:" link.
std::string GetHelpPageAddress(HelpPage page);
// The enquiry e-mail address as the About box shows it.
const char* GetEnquiryAddress();

// The manual for a program at programPath: beside it, else in "Installation" beside it, else in
// "../Installation"; the last tried is the answer when it exists. False when none does.
bool FindManual(const std::string& programPath, std::string& found);

// Opens the manual found for the program at programPath (F1 gives the running program's), or says
// "Can't find '...'.".
void OpenManual(const std::string& programPath);

void BindHelpCommands(wxWindow* frame);
