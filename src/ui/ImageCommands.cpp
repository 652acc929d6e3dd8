#include "ui/ImageCommands.h"

#include "document/PolyApp.h"
#include "kernel/AskQuestion.h"
#include "kernel/FaceImage.h"
#include "kernel/FileDialog.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Prompt.h"
#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/UndoKinds.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "render/BackgroundImageSettings.h"
#include "render/ImageFileTypes.h"
#include "render/NewView.h"
#include "render/PrepareTexture.h"
#include "render/TextureImage.h"
#include "ui/ImageOptionsDialog.h"
#include "view/BackgroundImage.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/window.h>

#include <algorithm>
#include <cmath>

namespace
{
FaceVert* ImageTarget()
{
    Poly* poly = GetCurrentPoly();
    return poly && !(poly->mFlags & Poly::kIs4D) ? poly->GetStellationFace() : nullptr;
}

FaceImage* TargetImage()
{
    FaceVert* target = ImageTarget();
    return target ? target->mImage.Get() : nullptr;
}

bool ListHasImage(const ElemList& list)
{
    for (const FaceVert* f = list.mFirst; f; f = f->mNext)
        if (f->mImage.Get())
            return true;
    return false;
}

bool ListAllImages(const ElemList& list)
{
    for (const FaceVert* f = list.mFirst; f; f = f->mNext)
        if (!f->mImage.Get())
            return false;
    return true;
}

// The list the target belongs to: the shown side's faces.
ElemList* TargetList()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || (poly->mFlags & Poly::kIs4D))
        return nullptr;
    if (FaceVert* target = ImageTarget())
        return target->mList;
    return poly->mShowDual ? static_cast<ElemList*>(&poly->mVerts) : &poly->mFaces;
}

bool SomeElementHasImage()
{
    const ElemList* list = TargetList();
    return list && ListHasImage(*list);
}

wxWindow* DialogParent()
{
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

// The dialog's scope for one image as Poly::ApplyImageToFaces names it.
int ScopeOfApplyTo(int applyTo)
{
    static const int kScopes[6] = {Poly::kImageScopeFace,        Poly::kImageScopeWithoutImage,
                                   Poly::kImageScopeAllFaces,    Poly::kImageScopeSameType,
                                   Poly::kImageScopeSameColor,   Poly::kImageScopeSameImage};
    return applyTo >= 0 && applyTo < 6 ? kScopes[applyTo] : Poly::kImageScopeFace;
}

int WrapOfBoundary(int boundary)
{
    switch (boundary)
    {
    case 0:
        return FaceImage::kWrapClampToBorder;
    case 1:
        return FaceImage::kWrapClamp;
    case 2:
        return FaceImage::kWrapRepeat;
    default:
        return -1;
    }
}

int BoundaryOfWrap(int wrap)
{
    return wrap == FaceImage::kWrapClampToBorder ? 0 : wrap == FaceImage::kWrapRepeat ? 2 : 1;
}

// The flags the dialog sets on one image.
void ApplyFlags(FaceImage* image, const ImageOptions& o, bool withColoring)
{
    if (o.keepUpright)
        image->mFlags |= FaceImage::kKeepUpright;
    else
        image->mFlags &= ~FaceImage::kKeepUpright;
    if (!withColoring)
        return;
    if (o.coloring == 0)
        image->mFlags |= FaceImage::kUseFaceColor;
    else if (o.coloring == 1)
        image->mFlags &= ~FaceImage::kUseFaceColor;
}

bool LoadOntoTarget(const std::string& path)
{
    Poly* poly = GetCurrentPoly();
    FaceVert* target = ImageTarget();
    if (!poly || !target)
        return false;
    const ImageOptions& o = GetImageOptions();
    const int projection = std::clamp(o.projection, 0, 3);
    const int wrap = WrapOfBoundary(o.boundary) < 0 ? FaceImage::kWrapClampToBorder : WrapOfBoundary(o.boundary);
    FaceImage* image = NewFaceImage(path, projection, wrap, target, false, o.borderFromImage ? nullptr : o.borderColor);
    if (!image)
    {
        ErrorMessage("Couldn't load image '%s'", path.c_str());
        return false;
    }
    ApplyFlags(image, o, true);
    Shell& shell = GetShell();
    shell.BeginUndoGroup(kUndoImageOptions);
    // A user of our own keeps the image while the faces take it.
    image->AddUser();
    poly->ApplyImageToFaces(image, target, ScopeOfApplyTo(o.applyTo));
    FaceImage::Release(image);
    shell.EndUndoGroup();
    NewView::InvalidateAll(false, false);
    return true;
}

// The options of one image as the dialog chose them; -1 groups leave theirs.
void ChangeImage(FaceImage* image, const ImageOptions& o, const int chosen[kImageGroupCount])
{
    if (chosen[kImageGroupBoundary] >= 0)
        SetFaceImageWrap(image, WrapOfBoundary(o.boundary), o.borderFromImage ? nullptr : o.borderColor);
    if (chosen[kImageGroupProjection] >= 0)
        SetFaceImageProjection(image, std::clamp(o.projection, 0, 3));
    ApplyFlags(image, o, chosen[kImageGroupColoring] >= 0);
}

bool ChangeImages(int mode)
{
    Poly* poly = GetCurrentPoly();
    FaceVert* target = ImageTarget();
    FaceImage* image = TargetImage();
    if (!poly || (mode == 3 && !image))
        return false;
    ImageOptions& o = GetImageOptions();
    std::string header;
    if (mode == 3)
    {
        o.applyTo = 0;
        o.orientation = 0;
        o.scale = 0;
        o.boundary = BoundaryOfWrap(image->mWrap);
        o.projection = image->mProjection;
        o.keepUpright = image->mFlags & FaceImage::kKeepUpright;
        o.coloring = (image->mFlags & FaceImage::kUseFaceColor) ? 0 : 1;
        if (const TextureImage* t = GetFaceImageTexture(image))
        {
            for (int i = 0; i < 3; ++i)
                o.borderColor[i] = std::max(t->mBorderColor[i], 0.0f);
            o.borderFromImage = std::equal(t->mBorderColor, t->mBorderColor + 3, t->mEdgeColor);
        }
    }
    else
        header = "Options chosen will be applied to ALL images.\n\nTo leave an option unchanged, do not select any "
                 "item\nfrom that group.";
    const ElemList* list = TargetList();
    ImageOptionsDialog dialog(DialogParent(), mode, header, list && !ListAllImages(*list), image != nullptr);
    if (!RunImageOptionsDialog(dialog))
        return false;
    int chosen[kImageGroupCount];
    for (int g = 0; g < kImageGroupCount; ++g)
        chosen[g] = dialog.GetChoice(g);
    Shell& shell = GetShell();
    shell.BeginUndoGroup(kUndoImageOptions);
    if (mode == 3)
    {
        if (o.applyTo != 0 && target)
            poly->ApplyImageToFaces(image, target, ScopeOfApplyTo(o.applyTo));
        ChangeImage(image, o, chosen);
    }
    else
    {
        ClearFaceImageClones();
        std::vector<FaceImage*> seen;
        for (ElemList* l : {static_cast<ElemList*>(&poly->mFaces), static_cast<ElemList*>(&poly->mVerts)})
            for (FaceVert* f = l->mFirst; f; f = f->mNext)
            {
                FaceImage* each = f->mImage.Get();
                if (!each || std::find(seen.begin(), seen.end(), each) != seen.end())
                    continue;
                seen.push_back(each);
                ChangeImage(each, o, chosen);
            }
    }
    shell.EndUndoGroup();
    NewView::InvalidateAll(false, false);
    return true;
}

void LoadImageCommand()
{
    FaceImage* current = TargetImage();
    const TextureImage* texture = GetFaceImageTexture(current);
    std::string path = texture ? texture->mPath : std::string();
    const std::string filter = BuildImageFilter(kImageMaskOpen);
    if (!AskOpenFile("Find an Image", path, "jpg", filter.c_str(), &gBrowseImage))
        return;
    ReadImageList(0, path);
}

void RemoveImagesCommand()
{
    Poly* poly = GetCurrentPoly();
    ElemList* list = TargetList();
    if (!poly || !list || !list->mFirst)
        return;
    FaceVert* target = ImageTarget();
    const bool hasImage = target && target->mImage.Get();
    const std::string first = std::string("+") + (hasImage ? "" : "#") + "Selected face only";
    const std::string same = std::string("/") + (hasImage ? "" : "#") + "All faces with same image as selected face";
    const int answer = AskQuestion(0, "Remove Images from...",
                                   {first.c_str(), "/All faces of same type as selected face",
                                    "/All faces with same color as selected face", same.c_str(), "/All faces",
                                    "/-Cancel"},
                                   "Remove images from which faces?");
    static const int kScopes[5] = {Poly::kImageScopeFace, Poly::kImageScopeSameType, Poly::kImageScopeSameColor,
                                   Poly::kImageScopeSameImage, Poly::kImageScopeAllFaces};
    if (answer < 0 || answer > 4)
        return;
    // Without a selected face only "All faces" has a meaning; any face of the list stands for it.
    if (!target && answer != 4)
        return;
    poly->ApplyImageToFaces(nullptr, target ? target : list->mFirst, kScopes[answer]);
    NewView::InvalidateAll(false, false);
}

void ApplyImageCommand()
{
    Poly* poly = GetCurrentPoly();
    FaceVert* target = ImageTarget();
    FaceImage* image = TargetImage();
    if (!poly || !image)
        return;
    const bool full = target->mList && ListAllImages(*target->mList);
    const std::string noImage = std::string("/") + (full ? "#" : "") + "All faces with no image";
    const int answer = AskQuestion(0, "Apply Image to...",
                                   {"+All faces of same type as selected face",
                                    "/All faces with same color as selected face", noImage.c_str(), "/All faces",
                                    "/-Cancel"},
                                   "Apply image from selected face to which other faces?");
    static const int kScopes[4] = {Poly::kImageScopeSameType, Poly::kImageScopeSameColor,
                                   Poly::kImageScopeWithoutImage, Poly::kImageScopeAllFaces};
    if (answer < 0 || answer > 3)
        return;
    poly->ApplyImageToFaces(image, target, kScopes[answer]);
    NewView::InvalidateAll(false, false);
}

void LoadBackgroundCommand()
{
    std::string path = GetBackgroundImageSettings().currentPath;
    const std::string filter = BuildImageFilter(kImageMaskOpen);
    if (!AskOpenFile("Find a Background Image", path, "jpg", filter.c_str(), &gBrowseImage))
        return;
    if (!SetBackgroundImage(path))
        ErrorMessage("Couldn't load image '%s'", path.c_str());
}

void ShowThroughCommand()
{
    float& alpha = GetBackgroundImageSettings().alpha;
    float value = alpha;
    if (!PromptFloat("The background image may show through your model.\nEnter a value between 0.0 and 0.95.\n"
                     "0.0 - Model completely obscures background image.\n"
                     "0.95 - Background image almost completely obscures model.",
                     value))
        return;
    alpha = ClampShowThrough(value);
    NewView::InvalidateAll(false, false);
}

void MaximumImageSizeCommand()
{
    int size = MaximumImageSize();
    if (!PromptInteger("Images can take up a lot of graphics memory, and\nabove 1024x1024, images really won't look "
                       "any better.\n\nEnter the largest width or height of an image, in pixels:",
                       size))
        return;
    size = std::clamp(size, 1, 65536);
    if (size == MaximumImageSize())
        return;
    MaximumImageSize() = size;
    if (TextureImage::GetFirst() && GetAnyGLView())
        TextureImage::PrepareAll(false, true);
    NewView::InvalidateAll(false, false);
}

void ToggleBlockyPixels()
{
    BlockyPixels() = !BlockyPixels();
    if (TextureImage::GetFirst() && GetAnyGLView())
        TextureImage::PrepareAll(false, true);
    NewView::InvalidateAll(false, false);
}

const int kFitCommands[6] = {kCmdBackgroundFitWithin, kCmdBackgroundFitAround, kCmdBackgroundFitWidth,
                             kCmdBackgroundFitHeight, kCmdBackgroundStretch,   kCmdBackgroundActualSize};

template <class Handler>
void OnMenu(wxEvtHandler* frame, int id, Handler handler)
{
    frame->Bind(wxEVT_MENU, [handler](wxCommandEvent&) { handler(); }, id);
}

template <class Test>
void EnableWhen(wxEvtHandler* frame, int id, Test test)
{
    frame->Bind(wxEVT_UPDATE_UI, [test](wxUpdateUIEvent& event) { event.Enable(test()); }, id);
}
}  // namespace

float ClampShowThrough(float value)
{
    if (!(value >= 0.0f))
        return 0.0f;
    return std::min(value, 0.95f);
}

bool ReadImageList(int mode, const std::string& path)
{
    if (mode == 3 || mode == 4)
        return ChangeImages(mode);
    if (mode != 0 || !ImageTarget())
        return false;
    ImageOptions& o = GetImageOptions();
    o.applyTo = 0;
    std::string name = GetFileNamePart(path.c_str());
    const std::string header = "Loading image \"" + name + "\"";
    const ElemList* list = TargetList();
    ImageOptionsDialog dialog(DialogParent(), ImageOptionsDialog::kModeNewImage, header,
                              list && !ListAllImages(*list), TargetImage() != nullptr);
    if (!RunImageOptionsDialog(dialog))
        return false;
    return LoadOntoTarget(path);
}

void BindImageCommands(wxEvtHandler* frame)
{
    ImageOptions::SetDefaults();
    OnMenu(frame, kCmdLoadImage, LoadImageCommand);
    EnableWhen(frame, kCmdLoadImage, [] { return ImageTarget() != nullptr; });
    OnMenu(frame, kCmdRemoveImages, RemoveImagesCommand);
    EnableWhen(frame, kCmdRemoveImages, SomeElementHasImage);
    OnMenu(frame, kCmdApplyImageToFaces, ApplyImageCommand);
    EnableWhen(frame, kCmdApplyImageToFaces, [] { return TargetImage() != nullptr; });
    OnMenu(frame, kCmdImageOptions, [] { ReadImageList(3, std::string()); });
    EnableWhen(frame, kCmdImageOptions, [] { return TargetImage() != nullptr; });
    OnMenu(frame, kCmdOptionsForAllImages, [] { ReadImageList(4, std::string()); });
    EnableWhen(frame, kCmdOptionsForAllImages, SomeElementHasImage);
    OnMenu(frame, kCmdBlockyPixels, ToggleBlockyPixels);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(BlockyPixels()); }, kCmdBlockyPixels);
    OnMenu(frame, kCmdMaximumImageSize, MaximumImageSizeCommand);

    OnMenu(frame, kCmdLoadBackgroundImage, LoadBackgroundCommand);
    OnMenu(frame, kCmdRemoveBackgroundImage, [] { SetBackgroundImage(std::string()); });
    EnableWhen(frame, kCmdRemoveBackgroundImage, HasBackgroundImage);
    OnMenu(frame, kCmdBackgroundShowThrough, ShowThroughCommand);
    EnableWhen(frame, kCmdBackgroundShowThrough, HasBackgroundImage);
    for (int fit = 0; fit < 6; ++fit)
    {
        OnMenu(frame, kFitCommands[fit], [fit] {
            GetBackgroundImageSettings().fit = fit;
            NewView::InvalidateAll(false, false);
        });
        frame->Bind(
            wxEVT_UPDATE_UI,
            [fit](wxUpdateUIEvent& event) {
                event.Enable(HasBackgroundImage());
                event.Check(GetBackgroundImageSettings().fit == fit);
            },
            kFitCommands[fit]);
    }
    // Coming back to the program: image files changed meanwhile are read again.
    if (wxTheApp)
        wxTheApp->Bind(wxEVT_ACTIVATE_APP, [](wxActivateEvent& event) {
            if (event.GetActive() && TextureImage::GetFirst() && GetAnyGLView())
                TextureImage::PrepareAll(true, false);
            event.Skip();
        });
}
