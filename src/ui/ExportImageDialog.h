#pragma once

#include <wx/dialog.h>

class CPolyView;
class ImageExportRenderer;
class wxCheckBox;
class wxChoice;
class wxComboBox;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;
struct ImageExportFields;

// "Exporting Image/Video" of File > Export Image/Video...: the file, the resolution, the fit, the
// quality, the orientation, the animation and its timing. OK checks the fields, asks before
// replacing a file and stores them in the export settings; "Save settings and close" stores them
// and exports nothing. Animations are written as animated GIFs or numbered images: no video encoder
// is linked, so the AVI compressor list offers "<No compression>" alone, greyed.
class ExportImageDialog : public wxDialog
{
public:
    // The renderer is the one the preview will play through; there is no preview yet.
    ExportImageDialog(wxWindow* parent, CPolyView& view, ImageExportFields& fields, ImageExportRenderer& renderer);

    // OK's steps: false (the dialog stays) after telling the user about a fault or a file kept.
    bool Accept();
    // Reads the controls into the fields.
    void ReadFields();
    // Enables the controls that apply to the name, the kind of export and the view.
    void UpdateControlStates();
    // A preset of the resolution list (1..14); 0 does nothing.
    void ChoosePreset(int preset);
    // The timing rules: the others of frame rate, length and frames follow the one edited.
    void FrameRateEdited();
    void LengthEdited();
    void FramesEdited();

    wxTextCtrl* FileName() const { return mFileName; }
    wxChoice* FileType() const { return mFileType; }
    wxComboBox* Folder() const { return mFolder; }
    wxChoice* Presets() const { return mPresets; }
    wxTextCtrl* Width() const { return mWidth; }
    wxTextCtrl* Height() const { return mHeight; }
    wxTextCtrl* Aspect() const { return mAspect; }
    wxTextCtrl* Borders() const { return mBorders; }
    wxCheckBox* Animation() const { return mAnimation; }
    wxCheckBox* Tour() const { return mTour; }
    wxTextCtrl* FrameRate() const { return mFrameRate; }
    wxTextCtrl* Length() const { return mLength; }
    wxTextCtrl* Frames() const { return mFrames; }
    wxChoice* Compressor() const { return mCompressor; }

private:
    void FillFromFields();
    void WriteTiming();
    void StoreSettings();

    CPolyView& mView;
    ImageExportFields& mFields;
    bool mGuard = false;
    bool mNameChanged = false;

    wxTextCtrl* mFileName = nullptr;
    wxChoice* mFileType = nullptr;
    wxComboBox* mFolder = nullptr;
    wxChoice* mPresets = nullptr;
    wxCheckBox* mSameSize = nullptr;
    wxTextCtrl* mWidth = nullptr;
    wxTextCtrl* mHeight = nullptr;
    wxComboBox* mDpi = nullptr;
    wxTextCtrl* mAspect = nullptr;
    wxCheckBox* mFit = nullptr;
    wxCheckBox* mFitLoose = nullptr;
    wxTextCtrl* mBorders = nullptr;
    wxSpinCtrl* mOverSample = nullptr;
    wxSpinCtrl* mJpegQuality = nullptr;
    wxChoice* mOrientation = nullptr;
    wxCheckBox* mAnimation = nullptr;
    wxCheckBox* mTour = nullptr;
    wxRadioButton* mAroundVertical = nullptr;
    wxRadioButton* mAroundSelected = nullptr;
    wxTextCtrl* mRotations = nullptr;
    wxCheckBox* mRotate4D = nullptr;
    wxTextCtrl* mTilt = nullptr;
    wxStaticText* mRatioLabel = nullptr;
    wxTextCtrl* mStartRatio = nullptr;
    wxTextCtrl* mEndRatio = nullptr;
    wxTextCtrl* mFrameRate = nullptr;
    wxTextCtrl* mLength = nullptr;
    wxTextCtrl* mFrames = nullptr;
    wxChoice* mInterlace = nullptr;
    wxCheckBox* mSeamless = nullptr;
    wxCheckBox* mHideText = nullptr;
    wxCheckBox* mOpenAfter = nullptr;
    wxChoice* mCompressor = nullptr;
};

// The main window's asker of File > Export Image/Video....
bool AskExportImage(CPolyView& view, ImageExportFields& fields, ImageExportRenderer& renderer);
