#include "document/PolyDoc.h"

#include "document/ModelFileNames.h"
#include "document/ModelViewState.h"
#include "document/PolyApp.h"
#include "document/RecentFileList.h"
#include "document/UndoList.h"
#include "kernel/FileDialog.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "library/SceneFile.h"
#include "library/SceneReader.h"
#include "model/ColorSchemes.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "operations/MakeFacesRegular.h"
#include "operations/WatermanPoly.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace
{
// Transition occasions of a library model and of a model file being opened.
constexpr int kOccasionLoadBuiltInModel = 3;
constexpr int kOccasionLoadFromFile = 4;
// Bits of the face scheme word that give elements on the symmetry axes colours of their own.
constexpr uint32_t kSpecialArrangements = 0xFFF000;
constexpr char kWatermanPrefix[] = "Waterman R";

// The stepping commands write to the first pane's message line.
void SetFirstViewMessage(const std::string& text)
{
    if (NewView* view = NewView::GetFirstView())
        NewView::SetMessage(view, "%s", text.c_str());
}

bool FirstViewHasMessage()
{
    const NewView* view = NewView::GetFirstView();
    return view && !view->GetMessage().empty();
}

struct FrontBack
{
    ColorRGB front;
    ColorRGB back;
};

std::optional<FrontBack> SelectedColors(const Stellation* side)
{
    const FaceVert* face = side ? side->GetSelectedFace() : nullptr;
    if (!face)
        return std::nullopt;
    return FrontBack{face->mColor, face->mBackColor};
}

// In single-colour mode a new model keeps the colours the user gave the last one.
void ApplyRemembered(ElemList& list, const std::optional<FrontBack>& colors, bool frontBackAlike)
{
    if (!colors)
        return;
    for (FaceVert* e = list.mFirst; e; e = e->mNext)
    {
        e->mColor = colors->front;
        e->mBackColor = frontBackAlike ? colors->front : colors->back;
    }
}

bool AnyViewOfType(int a, int b)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
    {
        const auto* state = dynamic_cast<const ModelViewState*>(v);
        const int code = state ? state->GetViewType() : kViewTypeNone;
        if (code == a || code == b)
            return true;
    }
    return false;
}

// Base views become dual views and the reverse; other types keep theirs.
void SwapBaseAndDualViews()
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
    {
        auto* state = dynamic_cast<ModelViewState*>(v);
        if (!state)
            continue;
        const int code = state->GetViewType();
        const int swapped = code == kViewTypePoly                ? kViewTypeDual
                            : code == kViewTypeDual              ? kViewTypePoly
                            : code == kViewTypeUniStellation     ? kViewTypeDualStellation
                            : code == kViewTypeDualStellation    ? kViewTypeUniStellation
                                                                 : code;
        if (swapped != code)
            state->SetViewType(swapped, false);
    }
}

// The root after "Waterman R", and the centre its suffix names; false for any other name.
bool ReadWatermanName(const std::string& name, int& root, int& centre)
{
    if (name.compare(0, sizeof kWatermanPrefix - 1, kWatermanPrefix) != 0)
        return false;
    const char* p = name.c_str() + sizeof kWatermanPrefix - 1;
    root = std::atoi(p);
    while (*p >= '0' && *p <= '9')
        ++p;
    centre = std::strncmp(p, ", type 2", 8) == 0 ? 1 : std::strncmp(p, ", cubic", 7) == 0 ? 2 : 0;
    return true;
}
}  // namespace

bool CPolyDoc::OpenLibraryModel(const LibraryEntry* entry, bool fromChooser, bool keepSearch)
{
    if (!entry)
        return false;
    // An entry that stands for a model file opens the file.
    if ((entry->mFlags & LibraryEntry::kFileEntry) && entry->mName && PathExists(entry->mName))
        return OpenModelFile(entry->mName, (fromChooser ? 0 : kOpenPathOnly) | (keepSearch ? kOpenKeepSearch : 0));
    LibrarySearchResult* search = GetCurrentSearchResult();
    const Poly& old = GetCurrentRecord()->mPoly;
    const std::optional<FrontBack> faceColors = SelectedColors(old.GetFaceStellation());
    const std::optional<FrontBack> vertColors = SelectedColors(old.GetVertStellation());

    bool recoloured = false;
    BeginUndoGroup(kUndoOpenBuiltInModel);
    const bool built = BuildNewModel(
        kOccasionLoadBuiltInModel,
        [&](Poly& poly) {
            PolyTemplate* templ = GetCurrentTemplate();
            if (!poly.CreateFromLibraryEntry(templ, entry, false))
                return false;
            poly.SetFromLibraryEntry(entry);
            const uint32_t scheme = FaceColorScheme();
            if ((scheme & kFaceColorSingle) && !(scheme & kSpecialArrangements))
            {
                const bool alike = (scheme & kFaceColorFrontBackAlike) != 0;
                ApplyRemembered(poly.mFaces, faceColors, alike);
                ApplyRemembered(poly.mVerts, vertColors, alike);
                recoloured = true;
            }
            return true;
        },
        true);
    if (!built)
        DiscardLastUndo();
    EndUndoGroup();
    if (keepSearch)
        SetCurrentSearchResult(search);
    if (!built)
        return false;
    mUnbuiltEntry = nullptr;
    if (recoloured)
        GetShell().FaceColorsChanged(GetCurrentPoly(), false);
    ModelChanged(false);
    UpdateTitle();
    NewView::InvalidateAll(true, false);
    return true;
}

bool CPolyDoc::OpenModelByName(const char* text)
{
    bool recognised = false;
    if (const LibraryEntry* entry = FindLibraryEntry(text, &recognised, true))
        return OpenLibraryModel(entry, false, false);
    const std::string typed = text ? text : "";
    // An index or a Wythoff symbol that names nothing has been reported by the lookup.
    if (recognised)
        return false;
    if (typed.find('*') != std::string::npos || typed.find_first_of(".,") == std::string::npos)
    {
        ErrorMessage("Couldn't find any model with name or symbol\n\"%s\"", typed.c_str());
        return false;
    }

    // A vertex configuration: the model is matched from it. The current model's template is left
    // alone until the new model stands, so a text that does not parse changes nothing.
    AddUndo(kUndoCreateNewModel, false);
    const bool built = BuildNewModel(
        UndoKindTransitionPreset(kUndoCreateNewModel),
        [&](Poly& poly) {
            PolyTemplate* templ = GetCurrentTemplate();
            return templ->Parse(typed.c_str()) && poly.PrepareFromTemplate(templ, 0);
        },
        true);
    if (!built)
    {
        DiscardLastUndo();
        return false;
    }
    mUnbuiltEntry = nullptr;
    RefreshDocument(0);
    return true;
}

std::string ShowSideOfSearchResult(const LibrarySearchResult* result)
{
    Poly* poly = GetCurrentPoly();
    if (!result || !poly)
        return std::string();
    if (result->mDual && !AnyViewOfType(kViewTypeDual, kViewTypeDualStellation))
    {
        SwapBaseAndDualViews();
        poly->SetShowDual(true);
        if (AnyViewOfType(kViewTypeDual, kViewTypeDualStellation))
            return "Switched from base to dual view";
    }
    else if (!result->mDual && !AnyViewOfType(kViewTypePoly, kViewTypeUniStellation))
    {
        SwapBaseAndDualViews();
        poly->SetShowDual(false);
        // Panes that show neither side (diagrams, nets) were not switched: nothing to report then.
        if (AnyViewOfType(kViewTypePoly, kViewTypeUniStellation))
            return "Switched from dual to base view";
    }
    return std::string();
}

void CPolyDoc::StepModel(int step)
{
    // Stepping backwards plays every transition it starts in reverse.
    InverseTransitionScope backwards(step < 0);
    if (GetFirstSearchResult())
    {
        LibrarySearchResult* first = GetFirstSearchResult();
        if (first == GetLastSearchResult())
        {
            SetFirstViewMessage("Your search only found one polyhedron");
            return;
        }
        LibrarySearchResult* current = GetCurrentSearchResult();
        LibrarySearchResult* next = nullptr;
        bool wrapped = false;
        if (current)
            next = step > 0 ? current->next : current->prev;
        if (!next)
        {
            next = step > 0 ? first : GetLastSearchResult();
            wrapped = current != nullptr;
        }
        SetCurrentSearchResult(next);
        OpenLibraryModel(next->mEntry, false, true);
        std::string text = ShowSideOfSearchResult(next);
        if (wrapped && !FirstViewHasMessage())
        {
            if (!text.empty())
                text += "\n\n";
            text += step > 0 ? "Wrapped from last to first search result" : "Wrapped from first to last search result";
        }
        if (!IsBlank(text))
            SetFirstViewMessage(text);
        return;
    }

    if (!IsBlank(GetFilePath()))
    {
        StepThroughFolder(step);
        return;
    }

    const Poly& poly = GetCurrentRecord()->mPoly;
    int root = 0;
    int centre = 0;
    if (ReadWatermanName(poly.mBaseName, root, centre))
    {
        if (step < 0 && root < 2)
        {
            SetFirstViewMessage("There are no more Waterman polyhedra in this direction");
            return;
        }
        CreateWatermanPoly(centre, root + (step > 0 ? 1 : -1));
        return;
    }

    // After a row that could not be built, the next step goes on from that row rather than trying
    // it again from the model still shown.
    const LibraryEntry* from = mUnbuiltEntry ? mUnbuiltEntry : poly.mLibraryEntry;
    const LibraryEntry* entry = StepLibraryEntry(from, GetCurrentTemplate(), step);
    if (entry && !OpenLibraryModel(entry, false, false))
        mUnbuiltEntry = entry;
}

bool CPolyDoc::StepThroughFolder(int step)
{
    const std::string current = GetFilePath();
    const std::string folder = GetFolderPart(current.c_str());
    const std::string name = GetFileNamePart(current.c_str());
    // The folder goes into the pattern: the working directory stays where it is.
    const std::vector<std::string> files = ListFiles((folder + "*.orva").c_str(), 1);
    const int count = int(files.size());
    if (count == 0 || (count == 1 && CompareNatural(files[0].c_str(), name.c_str()) == 0))
    {
        SetFirstViewMessage("There are no other .ORVA files in this folder");
        return false;
    }
    // Next starts after the last file at or before the current name, Previous before the first at or
    // after it; the current file itself is not tried again.
    int position = step > 0 ? -1 : count;
    if (step > 0)
    {
        for (int i = 0; i < count; ++i)
            if (CompareNatural(files[size_t(i)].c_str(), name.c_str()) <= 0)
                position = i;
    }
    else
    {
        for (int i = count - 1; i >= 0; --i)
            if (CompareNatural(files[size_t(i)].c_str(), name.c_str()) >= 0)
                position = i;
    }
    bool wrapped = false;
    for (int tries = 0; tries < count; ++tries)
    {
        position += step > 0 ? 1 : -1;
        if (position >= count || position < 0)
        {
            position = position >= count ? 0 : count - 1;
            wrapped = true;
        }
        const std::string& file = files[size_t(position)];
        if (CompareNatural(file.c_str(), name.c_str()) == 0)
            continue;
        if (!OpenModelFile(folder + file, kOpenPathOnly))
            continue;
        if (wrapped && !FirstViewHasMessage())
            SetFirstViewMessage(step > 0 ? "Wrapped from last to first file in folder"
                                         : "Wrapped from first to last file in folder");
        return true;
    }
    return false;
}

void CPolyDoc::OnNextPolyhedron(wxCommandEvent& /*event*/)
{
    StepModel(1);
}

void CPolyDoc::OnPreviousPolyhedron(wxCommandEvent& /*event*/)
{
    StepModel(-1);
}

void CPolyDoc::OnMakeFacesRegular(wxCommandEvent& /*event*/)
{
    MakeFacesRegular();
}

bool CPolyDoc::OpenModelFile(const std::string& path, int flags)
{
    int options = 0;
    if (!(flags & kOpenWithoutPath))
        options |= kSceneSetPath | ((flags & kOpenPathOnly) ? 0 : kSceneAddToRecentFiles);
    if (flags & kOpenKeepSearch)
        options |= kSceneKeepSearch;
    SceneFileInfo info;
    // A transition's record switch clears the form with the path; a failure puts both back.
    const int form = mFileForm;
    // The item stays open while the file is read; closing it records what the file set besides the
    // model (sub-symmetry, drawn facets) for redo.
    AddUndo(kUndoFileOpen, false);
    const bool built = BuildNewModel(
        kOccasionLoadFromFile,
        [&](Poly& poly) {
            return ReadSceneFile(path.c_str(), &poly, GetCurrentTemplate(), options, &info, nullptr, nullptr);
        },
        false);
    if (!built)
    {
        DiscardLastUndo();
        mFileForm = form;
        return false;
    }
    CloseUndo();
    mUnbuiltEntry = nullptr;
    if (!(flags & kOpenWithoutPath))
        SetFileForm(info.form);
    RefreshDocument(1);
    return true;
}

bool CPolyDoc::OnOpenDocument(const std::string& path)
{
    return OpenModelFile(path, 0);
}

bool CPolyDoc::AskOpenModelFile()
{
    std::string path;
    const FileDialogInfoScope info([](const std::string& selected) {
        std::string text;
        ModelFileInfoText(selected.c_str(), text);
        return text;
    });
    if (!AskOpenFile("Open Model", path, "orva", kModelFileOpenFilter, &gBrowseOrva))
        return false;
    return OnOpenDocument(path);
}

bool CPolyDoc::OpenRecentFile(int index)
{
    RecentFileList& list = GetRecentFileList();
    const std::string path = list.Get(index);
    if (path.empty())
        return false;
    if (OnOpenDocument(path))
        return true;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Get(i) == path)
        {
            list.Remove(i);
            break;
        }
    return false;
}

void CPolyDoc::OnFileOpen(wxCommandEvent& /*event*/)
{
    AskOpenModelFile();
}

void CPolyDoc::OnRecentFile(wxCommandEvent& event)
{
    OpenRecentFile(event.GetId() - kCmdFileMruFirst);
}

void CPolyDoc::BindOpenCommands()
{
    Bind(wxEVT_MENU, &CPolyDoc::OnFileOpen, this, kCmdFileOpen);
    Bind(wxEVT_MENU, &CPolyDoc::OnRecentFile, this, kCmdFileMruFirst, kCmdFileMruLast);
    Bind(wxEVT_MENU, &CPolyDoc::OnNextPolyhedron, this, kCmdNextPolyhedron);
    Bind(wxEVT_MENU, &CPolyDoc::OnPreviousPolyhedron, this, kCmdPreviousPolyhedron);
    Bind(wxEVT_MENU, &CPolyDoc::OnMakeFacesRegular, this, kCmdMakeFacesRegular);
}
