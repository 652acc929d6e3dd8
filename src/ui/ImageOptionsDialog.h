#pragma once

#include <wx/dialog.h>

#include <string>

class ColorButton;
class HtmlRichEdit;
class wxCheckBox;
class wxRadioButton;
class wxStaticBitmap;

// How images go onto faces: the options of the last use, kept for the run.
struct ImageOptions
{
    int applyTo = 0;  // selected face, faces with no image, all, same type, same colour, same image
    int boundary = 0;  // border around image, clamp, repeat
    bool borderFromImage = true;
    float borderColor[3] = {0.94f, 0.94f, 0.94f};
    int scale = 0;  // guess, fit within, fit around
    int projection = 0;  // each face, planar, cylindrical, spherical, cubic
    int orientation = 1;  // no change, project towards the selected item, align the third way
    bool keepUpright = false;
    int coloring = 1;  // use the face colour too, ignore it

    // The start values; the border colour is the system's button face.
    static void SetDefaults();
};
ImageOptions& GetImageOptions();

// The dialog's radio groups.
enum ImageOptionGroup
{
    kImageGroupApplyTo,
    kImageGroupBoundary,
    kImageGroupScale,
    kImageGroupProjection,
    kImageGroupOrientation,
    kImageGroupColoring,
    kImageGroupCount
};

// Image Options: how an image is projected, oriented and bounded, which faces take it, how it is
// scaled and whether the face colour shows. Opened for a new image (mode 0), an image list (1), the
// selected face's image (3) or all images (4). Every read of the controls stores the chosen groups
// in the global options at once, so a Cancel keeps what the picture help read.
class ImageOptionsDialog : public wxDialog
{
public:
    static constexpr int kModeNewImage = 0;
    static constexpr int kModeList = 1;
    static constexpr int kModeSelected = 3;
    static constexpr int kModeAll = 4;

    // canNoImage / canSameImage: whether "All faces with no image" / "... with selected face image"
    // may be chosen.
    ImageOptionsDialog(wxWindow* parent, int mode, const std::string& header, bool canNoImage, bool canSameImage);
    ~ImageOptionsDialog() override;

    // The group's choice, -1 for none; choosing as a click does.
    int GetChoice(int group) const;
    void Choose(int group, int index);
    wxRadioButton* GetRadio(int group, int index) const { return mRadios[group][index]; }
    wxCheckBox* GetKeepUpright() const { return mKeepUpright; }
    // Reads the controls into the global options, as OK and the hover help do.
    void ReadControls();
    // What the mouse resting on the radio shows.
    void HoverRadio(int group, int index);
    const std::string& GetPictureName() const { return mPicture; }

private:
    void UpdateFromOptions();
    void ProjectionChanged();
    void UpdateOrientationLabel(int projection);
    void ShowPicture(const std::string& name);
    void PickBorderColor();
    void BorderFromImageClicked();
    void OnOK(wxCommandEvent& event);

    int mMode;
    ImageOptions mOptions;
    wxRadioButton* mRadios[kImageGroupCount][6] = {};
    int mGroupSizes[kImageGroupCount] = {6, 3, 3, 5, 3, 2};
    wxRadioButton* mNone[kImageGroupCount] = {};  // hidden: holds the group's "nothing chosen"
    wxCheckBox* mKeepUpright = nullptr;
    wxCheckBox* mBorderFromImage = nullptr;
    ColorButton* mBorderColor = nullptr;
    wxStaticBitmap* mPictureBox = nullptr;
    std::string mPicture;
};

// Runs the dialog (the scripted services answer it in tests): true on OK.
using ImageOptionsRunner = bool (*)(ImageOptionsDialog& dialog);
ImageOptionsRunner SetImageOptionsRunner(ImageOptionsRunner runner);
bool RunImageOptionsDialog(ImageOptionsDialog& dialog);
