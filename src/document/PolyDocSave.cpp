// File > Save, Save As and Save Default Scene: the document's scene written to model files.

#include "document/PolyDoc.h"

#include "document/DocumentSettings.h"
#include "document/ModelFileNames.h"
#include "document/PolyApp.h"
#include "kernel/FileDialog.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/StatusText.h"
#include "kernel/Strings.h"
#include "kernel/TokenFile.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "library/LibraryFolder.h"
#include "library/SceneFile.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"

namespace
{
// The name Save As offers for a model never saved: the model's own, '/' written as ';'.
std::string SuggestedFileName(const Poly& poly)
{
    std::string name = poly.mBaseName;
    if (IsBlank(name) && poly.mLibraryEntry && poly.mLibraryEntry->mName)
        name = poly.mLibraryEntry->mName;
    if (IsBlank(name))
        name = "Untitled";
    ToSemicolonNames(name);
    AddModelFileExtension(name);
    return name;
}
}  // namespace

void CPolyDoc::BindSaveCommands()
{
    Bind(wxEVT_MENU, &CPolyDoc::OnFileSave, this, kCmdFileSave);
    Bind(wxEVT_MENU, &CPolyDoc::OnFileSaveAs, this, kCmdFileSaveAs);
    Bind(wxEVT_MENU, &CPolyDoc::OnSaveDefaultScene, this, kCmdSaveDefaultScene);
}

bool CPolyDoc::WriteModelFile(const std::string& path, int form)
{
    if (!WriteSceneFile(path.c_str(), form, &GetCurrentRecord()->mPoly, 0))
        return false;
    SetPathName(path.c_str(), true);
    mFileForm = form;
    mModified = false;
    return true;
}

bool CPolyDoc::SaveModelFile()
{
    const std::string path = GetFilePath();
    // A model opened from the library keeps the library's file as it was: it is saved elsewhere.
    if (IsBlank(path) || IsInLibraryFolder(path.c_str()))
        return SaveModelFileAs();
    const int form = mFileForm >= 0 ? mFileForm : (GetDocumentSettings().saveModelsAsText ? kIoAscii : kIoBinary);
    return WriteModelFile(path, form);
}

bool CPolyDoc::SaveModelFileAs()
{
    std::string path = GetFilePath();
    if (IsBlank(path))
        path = SuggestedFileName(GetCurrentRecord()->mPoly);
    else if (IsInLibraryFolder(path.c_str()))
        path = GetFileNamePart(path.c_str());
    const bool text = mFileForm >= 0 ? mFileForm == kIoAscii : GetDocumentSettings().saveModelsAsText;
    int filterIndex = text ? kSaveFilterText : kSaveFilterBinary;
    if (!AskSaveFile("Save Model As", path, "orva", kModelFileSaveFilter, &gBrowseOrva, &filterIndex))
        return false;
    const int form = filterIndex == kSaveFilterText ? kIoAscii : kIoBinary;
    GetDocumentSettings().saveModelsAsText = form == kIoAscii;
    return WriteModelFile(path, form);
}

bool CPolyDoc::SaveDefaultScene()
{
    const std::string path = DefaultScenePath();
    if (!MakeFolders(GetFolderPart(path.c_str()).c_str()))
    {
        ErrorMessage("Couldn't make the folder of the default scene:\n%s", GetFolderPart(path.c_str()).c_str());
        return false;
    }
    if (!WriteSceneFile(path.c_str(), kIoAscii, &GetCurrentRecord()->mPoly, 0))
        return false;
    SetStatusText("Default scene saved to %s", path.c_str());
    return true;
}

void CPolyDoc::OnFileSave(wxCommandEvent& /*event*/)
{
    SaveModelFile();
}

void CPolyDoc::OnFileSaveAs(wxCommandEvent& /*event*/)
{
    SaveModelFileAs();
}

void CPolyDoc::OnSaveDefaultScene(wxCommandEvent& /*event*/)
{
    SaveDefaultScene();
}
