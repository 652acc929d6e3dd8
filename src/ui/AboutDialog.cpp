#include "ui/AboutDialog.h"

#include "document/UpdateCheck.h"
#include "kernel/Vec3D.h"
#include "platform/LinkLabel.h"
#include "ui/CommandPictures.h"
#include "ui/HelpCommands.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{
constexpr char kNotice[] = "Copyright \xC2\xA9 2020-2026 the Orvane developers";
// The program's name is shown in its own green, 0x00BBGGRR.
constexpr uint32_t kNameColor = 0x00009040;
const wxSize kPictureSize(220, 170);

struct Triangle
{
    std::array<Vec3D, 3> corners;
};

// The twenty faces: every three vertices at the edge length from one another.
std::vector<Triangle> IcosahedronFaces()
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    std::vector<Vec3D> v;
    for (double a : {-1.0, 1.0})
        for (double b : {-phi, phi})
        {
            v.push_back(Vec3D{0.0, a, b});
            v.push_back(Vec3D{a, b, 0.0});
            v.push_back(Vec3D{b, 0.0, a});
        }
    auto adjacent = [&](size_t i, size_t j) { return std::fabs(Vec3Distance(v[i], v[j]) - 2.0) < 1e-9; };
    std::vector<Triangle> faces;
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size(); ++j)
            for (size_t k = j + 1; k < v.size(); ++k)
                if (adjacent(i, j) && adjacent(j, k) && adjacent(i, k))
                    faces.push_back(Triangle{{v[i], v[j], v[k]}});
    return faces;
}

// Turned a little about y and then x, so that no face is seen square on.
Vec3D Turn(const Vec3D& p)
{
    const double ay = 0.45, ax = 0.35;
    const Vec3D q{p.x * std::cos(ay) + p.z * std::sin(ay), p.y, -p.x * std::sin(ay) + p.z * std::cos(ay)};
    return Vec3D{q.x, q.y * std::cos(ax) - q.z * std::sin(ax), q.y * std::sin(ax) + q.z * std::cos(ax)};
}
}  // namespace

wxBitmap MakeAboutPicture(const wxSize& size, const wxColour& background)
{
    wxBitmap bitmap(size, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(background));
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return bitmap;

    // Faces towards the viewer (z grows towards the viewer) only: the solid hides the rest.
    Vec3D light{-0.5, 0.6, 1.0};
    Vec3Normalize(light);
    const double scale = 0.48 * std::min(size.x, size.y) / std::sqrt(1.0 + 2.618034);
    for (const Triangle& face : IcosahedronFaces())
    {
        std::array<Vec3D, 3> p;
        for (size_t i = 0; i < 3; ++i)
            p[i] = Turn(face.corners[i]);
        // Outward: the faces surround the centre.
        Vec3D normal;
        Vec3Normal3(normal, p[0], p[1], p[2]);
        Vec3Normalize(normal);
        if (Vec3Dot(normal, p[0]) < 0.0)
            Vec3Neg(normal, normal);
        if (normal.z <= 0.0)
            continue;
        const double shade = 0.35 + 0.65 * std::max(0.0, Vec3Dot(normal, light));
        const wxColour colour(static_cast<unsigned char>(230 * shade), static_cast<unsigned char>(120 * shade),
                              static_cast<unsigned char>(40 * shade));
        wxGraphicsPath path = gc->CreatePath();
        for (size_t i = 0; i < 3; ++i)
        {
            const double x = size.x / 2.0 + scale * p[i].x;
            const double y = size.y / 2.0 - scale * p[i].y;
            if (i == 0)
                path.MoveToPoint(x, y);
            else
                path.AddLineToPoint(x, y);
        }
        path.CloseSubpath();
        gc->SetBrush(wxBrush(colour));
        gc->SetPen(wxPen(wxColour(60, 30, 10), 1));
        gc->DrawPath(path);
    }
    gc.reset();
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

std::string GetAboutVersionText()
{
    std::string text = std::string("Version ") + kProgramVersion;
    if (IsNewerVersionKnown(kProgramVersion))
        text += "  (not the latest!)";
    return text;
}

AboutDialog::AboutDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(std::string("About ") + kProgramName))
{
    wxStaticBitmap* icon = new wxStaticBitmap(this, wxID_ANY, GetCommandPicture(kProgramIconPicture).GetBitmap(
                                                                    wxSize(32, 32)));

    mName = new LinkLabel(this, wxID_ANY, kProgramName);
    mName->SetTextColor(kNameColor);
    mName->SetBold(true);
    mVersion = new LinkLabel(this, wxID_ANY, GetAboutVersionText());
    LinkLabel* date = new LinkLabel(this, wxID_ANY, kProgramDate);
    mHome = new LinkLabel(this, wxID_ANY, std::string());
    const std::string home = GetHelpPageAddress(HelpPage::kHome);
    mHome->SetLink(home, home);
    LinkLabel* notice = new LinkLabel(this, wxID_ANY, kNotice);

    mPicture = new wxStaticBitmap(this, wxID_ANY, MakeAboutPicture(kPictureSize, GetBackgroundColour()));

    LinkLabel* enquiriesTitle = new LinkLabel(this, wxID_ANY, "Enquiries:");
    mEnquiries = new LinkLabel(this, wxID_ANY, std::string());
    mEnquiries->SetLink(GetEnquiryAddress(), GetHelpPageAddress(HelpPage::kEnquiries));
    LinkLabel* siteTitle = new LinkLabel(this, wxID_ANY, "Web site:");
    mProduct = new LinkLabel(this, wxID_ANY, std::string());
    const std::string product = GetHelpPageAddress(HelpPage::kProduct);
    mProduct->SetLink(product, product);

    // The text column beside the picture, the two link rows under both, OK at the bottom right.
    wxBoxSizer* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(mName, 0, wxBOTTOM, 2);
    texts->Add(mVersion, 0, wxBOTTOM, 2);
    texts->Add(date, 0, wxBOTTOM, 16);
    texts->Add(mHome, 0, wxBOTTOM, 2);
    texts->Add(notice);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(icon, 0, wxRIGHT, 12);
    top->Add(texts, 1, wxRIGHT, 12);
    top->Add(mPicture);

    wxFlexGridSizer* links = new wxFlexGridSizer(2, 4, 12);
    links->Add(enquiriesTitle);
    links->Add(mEnquiries);
    links->Add(siteTitle);
    links->Add(mProduct);

    wxBoxSizer* all = new wxBoxSizer(wxVERTICAL);
    all->Add(top, 0, wxEXPAND | wxALL, 9);
    all->Add(links, 0, wxLEFT | wxRIGHT, 9);
    all->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 9);
    SetSizerAndFit(all);
    CentreOnParent();
}

void RunAboutDialog(wxWindow* parent)
{
    AboutDialog dialog(parent);
    dialog.ShowModal();
}
