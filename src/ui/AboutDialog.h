#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>

class LinkLabel;
class wxStaticBitmap;

// Help > About OrvaneMax...: the program's icon, name, version, date, links and a picture of the
// icosahedron. Made and run modally by RunAboutDialog.
class AboutDialog : public wxDialog
{
public:
    explicit AboutDialog(wxWindow* parent);

    LinkLabel* NameLabel() const { return mName; }
    LinkLabel* VersionLabel() const { return mVersion; }
    LinkLabel* HomeLink() const { return mHome; }
    LinkLabel* EnquiryLink() const { return mEnquiries; }
    LinkLabel* ProductLink() const { return mProduct; }
    wxStaticBitmap* Picture() const { return mPicture; }

private:
    LinkLabel* mName;
    LinkLabel* mVersion;
    LinkLabel* mHome;
    LinkLabel* mEnquiries;
    LinkLabel* mProduct;
    wxStaticBitmap* mPicture;
};

// "Version 5.4", with "  (not the latest!)" once a newer version is known.
std::string GetAboutVersionText();

// The icosahedron, lit from the upper left, on the dialog's background colour.
wxBitmap MakeAboutPicture(const wxSize& size, const wxColour& background);

void RunAboutDialog(wxWindow* parent);
