#include "ui/ExportImageDialog.h"

#include "document/ExportSettings.h"
#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/FileDialog.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "render/ImageExportFiles.h"
#include "view/ImageExportFields.h"
#include "view/PolyView.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace
{
struct Preset
{
    const char* text;
    int width;  // 0: the window's size
    int height;
    const char* aspect;
    const char* fps;  // null: the frame rate stays
};

const Preset kPresets[] = {
    {"<Common resolutions>", -1, -1, nullptr, nullptr},
    {"Same as screen\tUse same resolution as current view", 0, 0, "1", nullptr},
    {"YouTube 16:9\tYouTube high definition widescreen, 1280x720", 1280, 720, "1", "30"},
    {"YouTube 4:3\tYouTube standard definition, 640x480", 640, 480, "1", "30"},
    {"ATSC FullHD\tFull High definition ATSC, 1920x1080", 1920, 1080, "1", "60"},
    {"ATSC HD\tHigh definition ATSC, 1280x720", 1280, 720, "1", "60"},
    {"NTSC SD\tStandard definition NTSC, 720x480", 720, 480, "4320/4739", "29.97"},
    {"PAL FullHD\tFull High definition PAL, 1920x1080", 1920, 1080, "1", "50"},
    {"PAL HD\tHigh definition PAL, 1280x720", 1280, 720, "1", "50"},
    {"PAL SD\tStandard definition PAL, 720x576", 720, 576, "128/117", "25"},
    {"qHD\tQuarter Full Hi-Def, 960x540", 960, 540, "1", "30"},
    {"SVGA\tSuper VGA, 800x600", 800, 600, "1", "30"},
    {"WVGA\tWide VGA, 800x480", 800, 480, "1", "30"},
    {"VGA\tVGA, 640x480", 640, 480, "1", "30"},
    {"QVGA\tQuarter VGA, 320x240", 320, 240, "1", "30"},
};

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

std::string Text(const wxTextCtrl* control)
{
    return control->GetValue().ToStdString(wxConvUTF8);
}

double Number(const wxTextCtrl* control)
{
    return std::atof(Text(control).c_str());
}

wxTextCtrl* AddField(wxWindow* parent, wxSizer* row, const char* label, int width)
{
    if (label)
        row->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    auto* field = new wxTextCtrl(parent, wxID_ANY, "", wxDefaultPosition, wxSize(width, -1));
    row->Add(field, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    return field;
}
}  // namespace

ExportImageDialog::ExportImageDialog(wxWindow* parent, CPolyView& view, ImageExportFields& fields,
                                     ImageExportRenderer& /*renderer*/)
    : wxDialog(parent, wxID_ANY, "Exporting Image/Video"), mView(view), mFields(fields)
{
    auto* top = new wxBoxSizer(wxVERTICAL);

    // The file.
    auto* file = new wxStaticBoxSizer(wxVERTICAL, this, "Save as");
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    mFileName = AddField(this, nameRow, nullptr, 260);
    mFileType = new wxChoice(this, wxID_ANY);
    for (int i = 0; GetExportImageTypeShortName(i); ++i)
        mFileType->Append(GetExportImageTypeShortName(i));
    nameRow->Add(mFileType, 0, wxALIGN_CENTER_VERTICAL);
    file->Add(nameRow, 0, wxALL, 2);
    auto* folderRow = new wxBoxSizer(wxHORIZONTAL);
    folderRow->Add(new wxStaticText(this, wxID_ANY, "Folder"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mFolder = new wxComboBox(this, wxID_ANY, "", wxDefaultPosition, wxSize(300, -1));
    folderRow->Add(mFolder, 1, wxRIGHT, 4);
    auto* browse = new wxButton(this, wxID_ANY, "Browse...");
    folderRow->Add(browse, 0);
    file->Add(folderRow, 0, wxEXPAND | wxALL, 2);
    top->Add(file, 0, wxEXPAND | wxALL, 4);

    // Resolution and fit.
    auto* resolution = new wxStaticBoxSizer(wxVERTICAL, this, "Resolution");
    mPresets = new wxChoice(this, wxID_ANY);
    for (const Preset& p : kPresets)
    {
        wxString text(p.text);
        text.Replace("\t", "  -  ");
        mPresets->Append(text);
    }
    resolution->Add(mPresets, 0, wxEXPAND | wxALL, 2);
    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    mSameSize = new wxCheckBox(this, wxID_ANY, "Same as window");
    sizeRow->Add(mSameSize, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    mWidth = AddField(this, sizeRow, nullptr, 70);
    sizeRow->Add(new wxStaticText(this, wxID_ANY, "X"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    mHeight = AddField(this, sizeRow, nullptr, 70);
    sizeRow->Add(new wxStaticText(this, wxID_ANY, "pixels"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    const wxString dpis[] = {"72", "96", "150", "300", "600", "1200"};
    mDpi = new wxComboBox(this, wxID_ANY, "", wxDefaultPosition, wxSize(80, -1), 6, dpis);
    sizeRow->Add(mDpi, 0, wxRIGHT, 4);
    sizeRow->Add(new wxStaticText(this, wxID_ANY, "DPI"), 0, wxALIGN_CENTER_VERTICAL);
    resolution->Add(sizeRow, 0, wxALL, 2);
    auto* aspectRow = new wxBoxSizer(wxHORIZONTAL);
    mAspect = AddField(this, aspectRow, "Pixel aspect ratio:", 100);
    resolution->Add(aspectRow, 0, wxALL, 2);
    auto* fitRow = new wxBoxSizer(wxHORIZONTAL);
    mFit = new wxCheckBox(this, wxID_ANY, "Fit tightly (each frame)");
    mFitLoose = new wxCheckBox(this, wxID_ANY, "Fit with room for rotation etc.");
    fitRow->Add(mFit, 0, wxRIGHT, 8);
    fitRow->Add(mFitLoose, 0, wxRIGHT, 8);
    mBorders = AddField(this, fitRow, "Borders when fitting:", 50);
    fitRow->Add(new wxStaticText(this, wxID_ANY, "%"), 0, wxALIGN_CENTER_VERTICAL);
    resolution->Add(fitRow, 0, wxALL, 2);
    top->Add(resolution, 0, wxEXPAND | wxALL, 4);

    // Quality and orientation.
    auto* quality = new wxStaticBoxSizer(wxHORIZONTAL, this, "Quality");
    quality->Add(new wxStaticText(this, wxID_ANY, "Over-sampling"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mOverSample = new wxSpinCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(110, -1), wxSP_ARROW_KEYS, 1, 3, 2);
    quality->Add(mOverSample, 0, wxRIGHT, 12);
    quality->Add(new wxStaticText(this, wxID_ANY, "JPeg Quality"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mJpegQuality = new wxSpinCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(120, -1), wxSP_ARROW_KEYS, 0, 100, 95);
    quality->Add(mJpegQuality, 0, wxRIGHT, 12);
    quality->Add(new wxStaticText(this, wxID_ANY, "Orientation"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mOrientation = new wxChoice(this, wxID_ANY);
    quality->Add(mOrientation, 1);
    top->Add(quality, 0, wxEXPAND | wxALL, 4);

    // Animation.
    auto* animation = new wxStaticBoxSizer(wxVERTICAL, this, "Animation options");
    auto* kindRow = new wxBoxSizer(wxHORIZONTAL);
    mAnimation = new wxCheckBox(this, wxID_ANY, "Export animation (image sequence)");
    mTour = new wxCheckBox(this, wxID_ANY, "Export current tour");
    kindRow->Add(mAnimation, 0, wxRIGHT, 12);
    kindRow->Add(mTour, 0);
    animation->Add(kindRow, 0, wxALL, 2);
    auto* turnRow = new wxBoxSizer(wxHORIZONTAL);
    turnRow->Add(new wxStaticText(this, wxID_ANY, "Rotate around"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mAroundVertical = new wxRadioButton(this, wxID_ANY, "Vertical axis", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mAroundSelected = new wxRadioButton(this, wxID_ANY, "Selected item");
    turnRow->Add(mAroundVertical, 0, wxRIGHT, 4);
    turnRow->Add(mAroundSelected, 0, wxRIGHT, 12);
    mRotate4D = new wxCheckBox(this, wxID_ANY, "4D rotation");
    turnRow->Add(mRotate4D, 0);
    animation->Add(turnRow, 0, wxALL, 2);
    auto* numberRow = new wxBoxSizer(wxHORIZONTAL);
    mRotations = AddField(this, numberRow, "Number of rotations\n(May use equation, eg 1/5)", 70);
    mTilt = AddField(this, numberRow, "Tilt forward (degrees)", 50);
    animation->Add(numberRow, 0, wxALL, 2);
    auto* ratioRow = new wxBoxSizer(wxHORIZONTAL);
    mRatioLabel = new wxStaticText(this, wxID_ANY, "Initial ratio");
    ratioRow->Add(mRatioLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mStartRatio = AddField(this, ratioRow, nullptr, 60);
    mEndRatio = AddField(this, ratioRow, "to", 60);
    animation->Add(ratioRow, 0, wxALL, 2);
    auto* timeRow = new wxBoxSizer(wxHORIZONTAL);
    mFrameRate = AddField(this, timeRow, "Frame rate", 60);
    timeRow->Add(new wxStaticText(this, wxID_ANY, "fps"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    mLength = AddField(this, timeRow, "Length", 60);
    timeRow->Add(new wxStaticText(this, wxID_ANY, "secs. = "), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mFrames = AddField(this, timeRow, nullptr, 60);
    timeRow->Add(new wxStaticText(this, wxID_ANY, "frames"), 0, wxALIGN_CENTER_VERTICAL);
    animation->Add(timeRow, 0, wxALL, 2);
    auto* loopRow = new wxBoxSizer(wxHORIZONTAL);
    const wxString interlaces[] = {"Not interlaced", "Lower field first", "Upper field first"};
    mInterlace = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 3, interlaces);
    loopRow->Add(mInterlace, 0, wxRIGHT, 12);
    mSeamless = new wxCheckBox(this, wxID_ANY, "Seemless looping");
    loopRow->Add(mSeamless, 0);
    animation->Add(loopRow, 0, wxALL, 2);
    top->Add(animation, 0, wxEXPAND | wxALL, 4);

    // The video box: no encoder here, said plainly.
    auto* video = new wxStaticBoxSizer(wxVERTICAL, this, "AVI video compression");
    mCompressor = new wxChoice(this, wxID_ANY);
    mCompressor->Append("<No compression>");
    mCompressor->SetSelection(0);
    mCompressor->Disable();
    video->Add(mCompressor, 0, wxEXPAND | wxALL, 2);
    video->Add(new wxStaticText(this, wxID_ANY,
                                "No video encoder is available: animations are written as animated GIF\n"
                                "(a .gif name) or as numbered images (name0000.png onwards)."),
               0, wxALL, 2);
    top->Add(video, 0, wxEXPAND | wxALL, 4);

    auto* options = new wxBoxSizer(wxHORIZONTAL);
    mHideText = new wxCheckBox(this, wxID_ANY, "Hide messages during render");
    mOpenAfter = new wxCheckBox(this, wxID_ANY, "Open after exporting");
    options->Add(mHideText, 0, wxRIGHT, 12);
    options->Add(mOpenAfter, 0);
    top->Add(options, 0, wxALL, 6);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* saveClose = new wxButton(this, wxID_ANY, "Save settings and close");
    buttons->Add(saveClose, 0, wxRIGHT, 20);
    buttons->Add(new wxButton(this, wxID_OK, "Export"), 0, wxRIGHT, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 6);
    SetSizerAndFit(top);

    FillFromFields();

    // Rules.
    mFileName->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (mGuard)
            return;
        mNameChanged = true;
        const int index = GetExportFilterIndex(Text(mFileName));
        mFields.imageType = index + 1;
        const int type = ExportFilterToTypeIndex(index);
        if (type >= 0)
            mFileType->SetSelection(type);
        UpdateControlStates();
    });
    mFileType->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        const int index = ExportTypeToFilterIndex(mFileType->GetSelection());
        mFields.imageType = index + 1;
        mGuard = true;
        mFileName->ChangeValue(Utf8(AddExportImageExtension(Text(mFileName), index)));
        mGuard = false;
        mNameChanged = true;
        UpdateControlStates();
    });
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        gBrowseExport.SetPath(mFolder->GetValue().ToStdString(wxConvUTF8).c_str());
        std::string path = AddExportImageExtension(Text(mFileName), mFields.imageType - 1);
        int filter = mFields.imageType;
        if (!AskSaveFile("Save Image/Video", path, "gif", BuildExportImageFilter().c_str(), &gBrowseExport, &filter))
            return;
        const std::string folder = GetFolderPart(path.c_str());
        mFolder->SetValue(Utf8(folder));
        mFileName->SetValue(Utf8(GetFileNamePart(path.c_str())));
    });
    mPresets->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { ChoosePreset(mPresets->GetSelection()); });
    mSameSize->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControlStates(); });
    mFit->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        if (mFit->GetValue())
            mFitLoose->SetValue(false);
        UpdateControlStates();
    });
    mFitLoose->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        if (mFitLoose->GetValue())
            mFit->SetValue(false);
        UpdateControlStates();
    });
    mAnimation->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControlStates(); });
    mFrameRate->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { FrameRateEdited(); });
    mLength->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { LengthEdited(); });
    mFrames->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { FramesEdited(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Accept())
            EndModal(wxID_OK);
    }, wxID_OK);
    saveClose->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ReadFields();
        StoreSettings();
        EndModal(wxID_CANCEL);
    });
    UpdateControlStates();
}

void ExportImageDialog::FillFromFields()
{
    mGuard = true;
    mFileName->ChangeValue(Utf8(mFields.fileName));
    const int type = ExportFilterToTypeIndex(mFields.imageType - 1);
    mFileType->SetSelection(type);
    const ExportSettings& settings = GetExportSettings();
    for (const std::string& folder : settings.folders)
        if (!IsBlank(folder))
            mFolder->Append(Utf8(folder));
    const char* remembered = gBrowseExport.GetPath();
    mFolder->SetValue(Utf8(remembered ? remembered : mFields.folder));
    // Filling the name counts as a change: it is remembered even when the user keeps it.
    mNameChanged = true;
    mPresets->SetSelection(0);
    mSameSize->SetValue(mFields.sameSizeAsView);
    mWidth->ChangeValue(wxString::Format("%d", mFields.width));
    mHeight->ChangeValue(wxString::Format("%d", mFields.height));
    mDpi->SetValue(Utf8(mFields.dpiText));
    mAspect->ChangeValue(Utf8(mFields.aspect));
    mFit->SetValue(mFields.fit);
    mFitLoose->SetValue(mFields.fitLoose);
    mBorders->ChangeValue(Utf8(FormatReal(mFields.borders, 2)));
    mOverSample->SetValue(mFields.overSample);
    mJpegQuality->SetValue(mFields.jpegQuality);
    // The orientations the model's group has.
    const struct
    {
        int code;
        const char* name;
        int axisClass;
    } orientations[] = {{0, "Current orientation", -1},
                        {1, "Default orientation", -1},
                        {2, "Look down", 0},
                        {3, "Look down", 1},
                        {4, "Look down", 2},
                        {5, "Look at current face/edge/vertex/symmetry", -1},
                        {6, "Sit on", 0},
                        {7, "Sit on", 1},
                        {8, "Sit on", 2},
                        {9, "Sit on current face/edge/vertex/symmetry", -1}};
    for (const auto& o : orientations)
    {
        std::string text = o.name;
        if (o.axisClass >= 0)
        {
            text = GetAxisMenuText(o.name, o.axisClass);
            if (text.find_first_of("0123456789") == std::string::npos)
                continue;
        }
        mOrientation->Append(Utf8(text), reinterpret_cast<void*>(intptr_t(o.code)));
        if (o.code == mFields.orientation)
            mOrientation->SetSelection(int(mOrientation->GetCount()) - 1);
    }
    if (mOrientation->GetSelection() == wxNOT_FOUND)
        mOrientation->SetSelection(0);
    mAnimation->SetValue(mFields.isAnimation);
    mTour->SetValue(false);
    mAroundVertical->SetValue(mFields.rotateAround == 0);
    mAroundSelected->SetValue(mFields.rotateAround == 1);
    mRotations->ChangeValue(Utf8(mFields.numRotations));
    mRotate4D->SetValue(mFields.rotate4D);
    mTilt->ChangeValue(Utf8(mFields.tilt));
    mStartRatio->ChangeValue(Utf8(mFields.startRatio));
    mEndRatio->ChangeValue(Utf8(mFields.endRatio));
    mInterlace->SetSelection(mFields.interlaceMethod);
    mSeamless->SetValue(mFields.seamless);
    mHideText->SetValue(mFields.hideText);
    mOpenAfter->SetValue(mFields.openAfter);
    mGuard = false;
    WriteTiming();
}

void ExportImageDialog::WriteTiming()
{
    mGuard = true;
    mFrameRate->ChangeValue(Utf8(FormatReal(mFields.fps, 2)));
    if (mFields.fps > 0.001f)
        mLength->ChangeValue(Utf8(FormatReal(mFields.GetLength(), 2)));
    mFrames->ChangeValue(wxString::Format("%d", mFields.numFrames));
    mGuard = false;
}

void ExportImageDialog::FrameRateEdited()
{
    if (mGuard)
        return;
    const double length = mFields.GetLength();
    mFields.fps = float(std::max(Number(mFrameRate), 0.001));
    mFields.numFrames = FramesForLength(mFields.fps, length);
    if (mFields.numFrames <= 0)
        mFields.numFrames = 1;
    mGuard = true;
    if (mFields.fps > 0.001f)
        mLength->ChangeValue(Utf8(FormatReal(mFields.GetLength(), 2)));
    else
        mLength->ChangeValue(Utf8(FormatReal(1.0 / mFields.fps, 2)));
    mFrames->ChangeValue(wxString::Format("%d", mFields.numFrames));
    mGuard = false;
}

void ExportImageDialog::LengthEdited()
{
    if (mGuard)
        return;
    mFields.numFrames = FramesForLength(mFields.fps, Number(mLength));
    if (mFields.numFrames <= 0)
        mFields.numFrames = 1;
    mGuard = true;
    mFrames->ChangeValue(wxString::Format("%d", mFields.numFrames));
    mGuard = false;
}

void ExportImageDialog::FramesEdited()
{
    if (mGuard)
        return;
    mFields.numFrames = std::max(std::atoi(Text(mFrames).c_str()), 1);
    mGuard = true;
    if (mFields.fps > 0.001f)
        mLength->ChangeValue(Utf8(FormatReal(mFields.GetLength(), 2)));
    mGuard = false;
}

void ExportImageDialog::ChoosePreset(int preset)
{
    if (preset <= 0 || preset >= int(std::size(kPresets)))
        return;
    const Preset& p = kPresets[preset];
    mSameSize->SetValue(p.width == 0);
    if (p.width > 0)
    {
        mWidth->ChangeValue(wxString::Format("%d", p.width));
        mHeight->ChangeValue(wxString::Format("%d", p.height));
    }
    mAspect->ChangeValue(p.aspect);
    if (p.fps)
        mFrameRate->SetValue(p.fps);  // runs the frame-rate rule
    UpdateControlStates();
}

void ExportImageDialog::UpdateControlStates()
{
    const std::string name = Text(mFileName);
    const bool avi = HasExtension(name, ".avi");
    const bool anim = mAnimation->GetValue() || avi;
    mAnimation->SetLabel(avi                            ? "Export video (AVI)"
                         : HasExtension(name, ".gif") ? "Export animated GIF"
                                                      : "Export animation (image sequence)");
    mAnimation->Enable(!avi);
    // Tours do not exist yet.
    mTour->SetValue(false);
    mTour->Disable();
    mJpegQuality->Enable(HasExtension(name, ".jpg") || HasExtension(name, ".jpeg"));
    if (mSameSize->GetValue())
    {
        mWidth->ChangeValue(wxString::Format("%d", mView.GetWidth()));
        mHeight->ChangeValue(wxString::Format("%d", mView.GetHeight()));
    }
    mWidth->Enable(!mSameSize->GetValue());
    mHeight->Enable(!mSameSize->GetValue());
    mBorders->Enable(mFit->GetValue() || mFitLoose->GetValue());
    mAroundVertical->Enable(anim);
    mAroundSelected->Enable(anim);
    mRotations->Enable(anim);
    const Poly* poly = GetCurrentPoly();
    const int type = mView.GetViewType();
    const bool model4D = poly && (poly->mFlags & Poly::kIs4D);
    mRotate4D->Enable(anim && model4D && (ViewTypeHasAll(type, kViewFamily3D) || type == kViewTypeFacetPreview));
    mTilt->Enable(anim && mView.Is3D());
    const char* ratio = nullptr;
    if (ViewTypeHasAll(type, kViewFamilyMorph))
        ratio = "Morph ratio:";
    else if (type == kViewTypeNet3D)
        ratio = "Unfolding ratio:";
    else if (IsSectionTarget(&mView, true))
        ratio = "Cross-section depth:";
    if (ratio)
        mRatioLabel->SetLabel(ratio);
    mStartRatio->Enable(anim && ratio);
    mEndRatio->Enable(anim && ratio);
    mFrameRate->Enable(anim);
    mInterlace->Enable(anim);
    mSeamless->Enable(anim);
    mLength->Enable(anim);
    mFrames->Enable(anim);
}

void ExportImageDialog::ReadFields()
{
    mFields.fileName = Text(mFileName);
    mFields.folder = mFolder->GetValue().ToStdString(wxConvUTF8);
    mFields.sameSizeAsView = mSameSize->GetValue();
    mFields.width = std::atoi(Text(mWidth).c_str());
    mFields.height = std::atoi(Text(mHeight).c_str());
    mFields.dpiText = mDpi->GetValue().ToStdString(wxConvUTF8);
    mFields.aspect = Text(mAspect);
    mFields.fit = mFit->GetValue();
    mFields.fitLoose = mFitLoose->GetValue();
    mFields.borders = Number(mBorders);
    mFields.overSample = mOverSample->GetValue();
    mFields.jpegQuality = mJpegQuality->GetValue();
    const int o = mOrientation->GetSelection();
    mFields.orientation = o < 0 ? 0 : int(intptr_t(mOrientation->GetClientData(unsigned(o))));
    mFields.isAnimation = mAnimation->GetValue();
    mFields.tour = false;
    mFields.rotateAround = mAroundSelected->GetValue() ? 1 : 0;
    mFields.numRotations = Text(mRotations);
    mFields.rotate4D = mRotate4D->GetValue();
    mFields.tilt = Text(mTilt);
    mFields.startRatio = Text(mStartRatio);
    mFields.endRatio = Text(mEndRatio);
    mFields.fps = float(std::max(Number(mFrameRate), 0.001));
    mFields.numFrames = std::atoi(Text(mFrames).c_str());
    mFields.interlaceMethod = std::max(mInterlace->GetSelection(), 0);
    mFields.seamless = mSeamless->GetValue();
    mFields.hideText = mHideText->GetValue();
    mFields.openAfter = mOpenAfter->GetValue();
}

bool ExportImageDialog::Accept()
{
    ReadFields();
    const std::string faults = mFields.CheckFields();
    if (!faults.empty())
    {
        ErrorMessage("The following fields were filled out incorrectly:\n%s", faults.c_str());
        return false;
    }
    if (mFields.width < 1 || mFields.height < 1)
    {
        ErrorMessage("The following fields were filled out incorrectly:\n%s",
                     "\n  - The image must be at least one pixel wide and high");
        return false;
    }
    gBrowseExport.SetPath(mFields.folder.c_str());
    const std::string path = mFields.GetPath();
    if (PathExists(path.c_str()) && !AskYesNo("%s already exists.\nDo you want to replace it?", path.c_str()))
        return false;
    StoreSettings();
    return true;
}

void ExportImageDialog::StoreSettings()
{
    // The next default name puts in the suffix of its own pane.
    if (mNameChanged)
        if (CPolyDoc* doc = GetPolyDoc())
        {
            std::string name = mFields.fileName;
            const size_t dot = name.rfind('.');
            const std::string suffix = mView.ViewTypeFileSuffix();
            const size_t stem = dot == std::string::npos ? name.size() : dot;
            if (!suffix.empty() && stem >= suffix.size() && name.compare(stem - suffix.size(), suffix.size(), suffix) == 0)
                name.erase(stem - suffix.size(), suffix.size());
            doc->SetExportName(name);
        }
    ExportSettings& settings = GetExportSettings();
    mFields.Store(settings);
    // The folder heads the history, once.
    if (!IsBlank(mFields.folder))
    {
        std::vector<std::string> folders{mFields.folder};
        for (const std::string& f : settings.folders)
            if (f != mFields.folder && int(folders.size()) < ExportSettings::kMaxFolders)
                folders.push_back(f);
        settings.folders = folders;
    }
}

bool AskExportImage(CPolyView& view, ImageExportFields& fields, ImageExportRenderer& renderer)
{
    ExportImageDialog dialog(wxTheApp->GetTopWindow(), view, fields, renderer);
    return dialog.ShowModal() == wxID_OK;
}
