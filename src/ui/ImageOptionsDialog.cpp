#include "ui/ImageOptionsDialog.h"

#include "kernel/ColorRGB.h"
#include "kernel/Strings.h"
#include "platform/ColorButton.h"
#include "platform/DialogUtils.h"
#include "platform/HtmlRichEdit.h"
#include "render/ImageFile.h"
#include "render/PickColor.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>

#include <cmath>

namespace
{
ImageOptionsRunner gRunner = nullptr;
int gPosition[2] = {-1, -1};

const char* const kLabels[kImageGroupCount][6] = {
    {"Selected face only", "All faces with no image", "All faces", "All faces of selected face type",
     "All faces of selected face color", "All faces with selected face image"},
    {"Border around image", "Clamp image", "Repeat image"},
    {"Guess scale", "Fit within", "Fit around"},
    {"Project onto each face separately", "Planar projection", "Cylindrical projection", "Spherical projection",
     "Cubic projection"},
    {"No change", "Project towards selected item (face/edge/vertex/symmetry)", "Align height of image to selected item"},
    {"Use face color in addition to image", "Ignore face color"},
};
const char* const kCaptions[kImageGroupCount] = {"Apply image to", "Image boundary", "Scale", "Projection",
                                                 "Orientation", "Color"};

// The picture help: which picture each radio shows.
const char* const kPictures[kImageGroupCount][6] = {
    {"apply.png", "apply.png", "apply.png", "apply.png", "apply.png", "apply.png"},
    {"border.png", "clamp.png", "repeat.png"},
    {"", "fitwithin.png", "fitaround.png"},
    {"eachface.png", "planar.png", "cylindrical.png", "spherical.png", ""},
    {"", "", ""},
    {"facecolor.png", "planar.png"},
};

uint32_t ToBgr(const float rgb[3])
{
    const auto byte = [](float c) { return uint32_t(std::lround(std::fmin(std::fmax(c, 0.0f), 1.0f) * 255.0f)); };
    return byte(rgb[0]) | byte(rgb[1]) << 8 | byte(rgb[2]) << 16;
}

int& Field(ImageOptions& o, int group)
{
    switch (group)
    {
    case kImageGroupApplyTo:
        return o.applyTo;
    case kImageGroupBoundary:
        return o.boundary;
    case kImageGroupScale:
        return o.scale;
    case kImageGroupProjection:
        return o.projection;
    case kImageGroupOrientation:
        return o.orientation;
    default:
        return o.coloring;
    }
}
}  // namespace

ImageOptions& GetImageOptions()
{
    static ImageOptions options;
    return options;
}

void ImageOptions::SetDefaults()
{
    ImageOptions& o = GetImageOptions();
    o = ImageOptions();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    o.borderColor[0] = face.Red() / 255.0f;
    o.borderColor[1] = face.Green() / 255.0f;
    o.borderColor[2] = face.Blue() / 255.0f;
}

ImageOptionsRunner SetImageOptionsRunner(ImageOptionsRunner runner)
{
    const ImageOptionsRunner previous = gRunner;
    gRunner = runner;
    return previous;
}

bool RunImageOptionsDialog(ImageOptionsDialog& dialog)
{
    if (gRunner)
        return gRunner(dialog);
    return dialog.ShowModal() == wxID_OK;
}

ImageOptionsDialog::ImageOptionsDialog(wxWindow* parent, int mode, const std::string& header, bool canNoImage,
                                       bool canSameImage)
    : wxDialog(parent, wxID_ANY, "Image Options"), mMode(mode), mOptions(GetImageOptions())
{
    // A cubic projection is not offered: it opens as planar.
    if (mOptions.projection > 3)
        mOptions.projection = 1;
    const bool changeMode = mode == kModeSelected || mode == kModeAll;
    if (!changeMode && mOptions.orientation == 0)
        mOptions.orientation = mOptions.projection >= 2 ? 2 : 1;

    auto* top = new wxBoxSizer(wxVERTICAL);
    if (!IsBlank(header))
    {
        auto* text = new HtmlRichEdit(this, wxID_ANY);
        text->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
        text->SetHtmlText(header);
        text->SetMinSize(text->FitToText(460));
        top->Add(text, 0, wxEXPAND | wxALL, 6);
    }
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    wxStaticBoxSizer* boxes[kImageGroupCount] = {};
    for (int g = 0; g < kImageGroupCount; ++g)
    {
        boxes[g] = new wxStaticBoxSizer(wxVERTICAL, this, kCaptions[g]);
        wxWindow* box = boxes[g]->GetStaticBox();
        for (int i = 0; i < mGroupSizes[g]; ++i)
        {
            std::string label = kLabels[g][i];
            if (changeMode && ((g == kImageGroupApplyTo && i == 0) || (g == kImageGroupScale && i == 0)))
                label = "No change";
            auto* radio = new wxRadioButton(box, wxID_ANY, label, wxDefaultPosition, wxDefaultSize,
                                            i == 0 ? wxRB_GROUP : 0);
            mRadios[g][i] = radio;
            boxes[g]->Add(radio, 0, wxALL, 2);
            radio->Bind(wxEVT_ENTER_WINDOW, [this, g, i](wxMouseEvent& event) {
                HoverRadio(g, i);
                event.Skip();
            });
            radio->Bind(wxEVT_RADIOBUTTON, [this, g](wxCommandEvent&) {
                if (g == kImageGroupProjection)
                    ProjectionChanged();
            });
        }
        // GTK always keeps one button of a group on: a hidden one stands for "nothing chosen".
        mNone[g] = new wxRadioButton(box, wxID_ANY, "");
        mNone[g]->Hide();
        if (g == kImageGroupBoundary)
        {
            auto* row = new wxBoxSizer(wxHORIZONTAL);
            mBorderColor = new ColorButton(box, wxID_ANY, "Border color");
            mBorderColor->SetColor(ToBgr(mOptions.borderColor));
            mBorderColor->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PickBorderColor(); });
            mBorderFromImage = new wxCheckBox(box, wxID_ANY, "Border color from image");
            mBorderFromImage->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { BorderFromImageClicked(); });
            for (wxWindow* w : {static_cast<wxWindow*>(mBorderColor), static_cast<wxWindow*>(mBorderFromImage)})
                w->Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& event) {
                    ReadControls();
                    ShowPicture("border.png");
                    event.Skip();
                });
            row->Add(mBorderColor, 0, wxALL, 2);
            row->Add(mBorderFromImage, 0, wxALL | wxALIGN_CENTER_VERTICAL, 2);
            boxes[g]->Add(row, 0, wxLEFT, 16);
        }
        if (g == kImageGroupOrientation)
        {
            mKeepUpright = new wxCheckBox(box, wxID_ANY, "Keep image upright");
            mKeepUpright->Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& event) {
                ReadControls();
                ShowPicture("apply.png");
                event.Skip();
            });
            boxes[g]->Add(mKeepUpright, 0, wxALL, 2);
        }
    }
    mRadios[kImageGroupProjection][4]->Disable();
    mRadios[kImageGroupProjection][4]->Hide();
    if (mode == kModeSelected)
        mRadios[kImageGroupApplyTo][5]->Hide();
    if (mode != kModeAll)
    {
        mRadios[kImageGroupApplyTo][1]->Enable(canNoImage);
        mRadios[kImageGroupApplyTo][5]->Enable(canSameImage);
    }
    if (mode != kModeAll)
        left->Add(boxes[kImageGroupApplyTo], 0, wxEXPAND | wxALL, 4);
    else
        boxes[kImageGroupApplyTo]->GetStaticBox()->Hide();
    left->Add(boxes[kImageGroupProjection], 0, wxEXPAND | wxALL, 4);
    left->Add(boxes[kImageGroupOrientation], 0, wxEXPAND | wxALL, 4);
    right->Add(boxes[kImageGroupBoundary], 0, wxEXPAND | wxALL, 4);
    right->Add(boxes[kImageGroupScale], 0, wxEXPAND | wxALL, 4);
    right->Add(boxes[kImageGroupColoring], 0, wxEXPAND | wxALL, 4);
    mPictureBox = new wxStaticBitmap(this, wxID_ANY, wxBitmap(160, 120));
    right->Add(mPictureBox, 0, wxALIGN_CENTER | wxALL, 4);
    columns->Add(left, 1, wxEXPAND);
    columns->Add(right, 1, wxEXPAND);
    top->Add(columns, 1, wxEXPAND);
    auto* buttons = CreateStdDialogButtonSizer(wxOK | wxCANCEL);
    top->Add(buttons, 0, wxEXPAND | wxALL, 6);
    for (int id : {wxID_OK, wxID_CANCEL})
        if (wxWindow* button = FindWindow(id))
            button->Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& event) {
                ReadControls();
                ShowPicture("intro.png");
                event.Skip();
            });
    Bind(wxEVT_BUTTON, &ImageOptionsDialog::OnOK, this, wxID_OK);
    SetSizerAndFit(top);
    PlaceDialog(this, gPosition[0] >= 0 ? gPosition : nullptr, nullptr, parent);

    UpdateFromOptions();
    ShowPicture("intro.png");
}

ImageOptionsDialog::~ImageOptionsDialog()
{
    const wxPoint p = GetPosition();
    gPosition[0] = p.x;
    gPosition[1] = p.y;
}

void ImageOptionsDialog::UpdateFromOptions()
{
    const bool changeMode = mMode == kModeSelected || mMode == kModeAll;
    for (int g = 0; g < kImageGroupCount; ++g)
    {
        const int value = mMode == kModeAll ? -1 : Field(mOptions, g);
        if (value >= 0 && value < mGroupSizes[g])
            mRadios[g][value]->SetValue(true);
        else
            mNone[g]->SetValue(true);
    }
    mBorderFromImage->SetValue(mOptions.borderFromImage);
    mKeepUpright->SetValue(mOptions.keepUpright);
    const int projection = GetChoice(kImageGroupProjection);
    for (int i = 0; i < 3; ++i)
        mRadios[kImageGroupOrientation][i]->Enable(projection != 0);
    if (!changeMode)
        mRadios[kImageGroupOrientation][0]->Disable();
    mKeepUpright->Enable(projection <= 0);
    UpdateOrientationLabel(projection);
}

int ImageOptionsDialog::GetChoice(int group) const
{
    for (int i = 0; i < mGroupSizes[group]; ++i)
        if (mRadios[group][i]->GetValue())
            return i;
    return -1;
}

void ImageOptionsDialog::Choose(int group, int index)
{
    mRadios[group][index]->SetValue(true);
    if (group == kImageGroupProjection)
        ProjectionChanged();
}

void ImageOptionsDialog::ReadControls()
{
    ImageOptions& global = GetImageOptions();
    for (int g = 0; g < kImageGroupCount; ++g)
    {
        const int choice = GetChoice(g);
        if (choice < 0)
            continue;
        Field(mOptions, g) = choice;
        Field(global, g) = choice;
    }
    if (GetChoice(kImageGroupBoundary) >= 0)
    {
        mOptions.borderFromImage = mBorderFromImage->GetValue();
        global.borderFromImage = mOptions.borderFromImage;
        for (int i = 0; i < 3; ++i)
            global.borderColor[i] = mOptions.borderColor[i];
    }
    mOptions.keepUpright = mKeepUpright->GetValue();
    global.keepUpright = mOptions.keepUpright;
}

void ImageOptionsDialog::UpdateOrientationLabel(int projection)
{
    const char* label = projection == 3   ? "Align sphere axis to selected item"
                        : projection == 2 ? "Align cylinder axis to selected item"
                                          : "Align height of image to selected item";
    mRadios[kImageGroupOrientation][2]->SetLabel(label);
}

void ImageOptionsDialog::ProjectionChanged()
{
    ReadControls();
    const int projection = GetChoice(kImageGroupProjection);
    if (!(mMode == kModeSelected && GetChoice(kImageGroupApplyTo) == 0) && mMode != kModeAll)
        mRadios[kImageGroupApplyTo][projection != 0 ? 2 : 0]->SetValue(true);
    for (int i = 0; i < 3; ++i)
        mRadios[kImageGroupOrientation][i]->Enable(projection != 0);
    const int orientation = GetChoice(kImageGroupOrientation);
    if (projection != 0 && (mMode == kModeNewImage || mMode == kModeList || orientation != 0))
    {
        mRadios[kImageGroupOrientation][0]->Enable(mMode == kModeSelected || mMode == kModeAll);
        if (orientation != 0)
            mRadios[kImageGroupOrientation][projection >= 2 ? 2 : 1]->SetValue(true);
    }
    UpdateOrientationLabel(projection);
    mKeepUpright->Enable(projection == 0);
    ReadControls();
}

void ImageOptionsDialog::HoverRadio(int group, int index)
{
    ReadControls();
    std::string picture = kPictures[group][index];
    if (group == kImageGroupScale && index == 0)
    {
        if (mMode == kModeSelected)
            picture = "apply.png";
        else
            picture = GetChoice(kImageGroupApplyTo) != 0 && GetChoice(kImageGroupProjection) != 0 ? "fitaround.png"
                                                                                                  : "fitwithin.png";
    }
    if (!picture.empty())
        ShowPicture(picture);
}

void ImageOptionsDialog::ShowPicture(const std::string& name)
{
    if (name == mPicture)
        return;
    mPicture = name;
    FIBITMAP* image = LoadImageResource(name);
    if (!image)
        return;
    mPictureBox->SetBitmap(ImageToBitmap(image));
    FreeImage_Unload(image);
}

void ImageOptionsDialog::PickBorderColor()
{
    ReadControls();
    ColorRGB color{mOptions.borderColor[0], mOptions.borderColor[1], mOptions.borderColor[2]};
    if (!PickColor(color, false))
        return;
    mOptions.borderColor[0] = color.r;
    mOptions.borderColor[1] = color.g;
    mOptions.borderColor[2] = color.b;
    mRadios[kImageGroupBoundary][0]->SetValue(true);
    mBorderFromImage->SetValue(false);
    mBorderColor->SetColor(ToBgr(mOptions.borderColor));
    ReadControls();
}

void ImageOptionsDialog::BorderFromImageClicked()
{
    mRadios[kImageGroupBoundary][0]->SetValue(true);
    ReadControls();
}

void ImageOptionsDialog::OnOK(wxCommandEvent& event)
{
    ReadControls();
    event.Skip();
}
