#include "document/PolyDoc.h"

#include "document/ModelViewState.h"
#include "document/PolyApp.h"
#include "document/RecentFileList.h"
#include "document/ToolbarBoxes.h"
#include "kernel/Paths.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "library/LibraryEntry.h"
#include "model/MouseThrowState.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "platform/MainWindow.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "render/ViewSnapshot.h"

#include <algorithm>
#include <memory>

namespace
{
bool gCurrentIsLast = false;
CPolyDoc* gLivingDocument = nullptr;

// A pane's camera, projection and 2D area, kept in a model record.
struct SavedSnapshot : SavedViewState
{
    ViewSnapshot snapshot;
};

void SaveViewBlock(ModelViewRecord& block, NewView* view)
{
    const auto* state = dynamic_cast<const ModelViewState*>(view);
    block.mViewType = state ? state->GetViewType() : -1;
    if (const auto* gl = dynamic_cast<const OpenGLView*>(view))
    {
        auto saved = std::make_unique<SavedSnapshot>();
        saved->snapshot.Save(*gl);
        block.mState = std::move(saved);
    }
    if (state)
    {
        block.mExplosion = state->GetExplosion();
        block.mProjection4D = state->GetProjection4D();
        block.mRotation4D = state->GetRotation4D();
    }
}

void RestoreViewBlock(const ModelViewRecord& block, NewView* view)
{
    auto* state = dynamic_cast<ModelViewState*>(view);
    if (state && block.mViewType >= 0)
        state->SetViewType(block.mViewType, true);
    const auto* saved = dynamic_cast<const SavedSnapshot*>(block.mState.get());
    if (auto* gl = dynamic_cast<OpenGLView*>(view); gl && saved)
        saved->snapshot.Restore(*gl);
    if (!state)
        return;
    state->SetExplosion(block.mExplosion);
    // A block never saved holds no projection: the pane keeps its own.
    if (block.mProjection4D >= 0)
        state->SetProjection4D(block.mProjection4D);
    state->SetRotation4D(block.mRotation4D);
}
}  // namespace

CPolyDoc::CPolyDoc()
{
    gLivingDocument = this;
    BindUndoCommands();
    BindColorCommands();
    BindOpenCommands();
    BindSaveCommands();
    BindNetCommands();
    BindDisplayCommands();
    BindTextCommands();
    SetDocumentModelRecords(&mRecords);
    SwitchModelRecord(mRecords.NewRecord(), kKeepPaths, nullptr);
}

CPolyDoc::~CPolyDoc()
{
    if (gLivingDocument == this)
        gLivingDocument = nullptr;
    // The list unregisters itself when it goes.
}

PolyTemplate* CPolyDoc::GetCurrentTemplate() const
{
    return &mRecords.mCurrent->mTemplate;
}

ModelRecord* CPolyDoc::AddModelRecord()
{
    ModelRecord* record = mRecords.NewRecord();
    gCurrentIsLast = false;
    return record;
}

bool CPolyDoc::DeleteModelRecord(ModelRecord* record)
{
    if (!record || record == mRecords.mCurrent)
        return false;
    mRecords.DeleteRecord(record);
    gCurrentIsLast = mRecords.mCurrent == mRecords.mLast;
    return true;
}

void CPolyDoc::SwitchModelRecord(ModelRecord* record, int flags, NewView* view)
{
    if (!record || record == mRecords.mCurrent)
        return;
    if (ModelRecord* old = mRecords.mCurrent)
    {
        if (!(flags & kNoPaths))
        {
            old->mPathName = mPathName;
            old->mFilePath = mOwnFilePath;
        }
        old->mScene = GetSceneParameters();
        int k = 0;
        for (NewView* v = NewView::GetFirstView(); v && k < ModelRecord::kNumViewRecords; v = v->next, ++k)
            if (!view || v == view)
                SaveViewBlock(old->mViews[k], v);
        DeleteSavedMouseThrows(old->mFirstThrow);
        old->mFirstThrow = SaveActiveMouseThrows();
    }

    mRecords.mCurrent = record;
    gCurrentIsLast = false;
    if (!(flags & (kKeepPaths | kNoPaths)))
    {
        SetPathName(record->mPathName.c_str(), false);
        mOwnFilePath = record->mFilePath;
    }
    if (!(flags & kNoRestore))
    {
        GetSceneParameters() = record->mScene;
        int k = 0;
        for (NewView* v = NewView::GetFirstView(); v && k < ModelRecord::kNumViewRecords; v = v->next, ++k)
            if (!view || v == view)
                RestoreViewBlock(record->mViews[k], v);
        RestoreMouseThrows(record->mFirstThrow);
        DeleteSavedMouseThrows(record->mFirstThrow);
    }
    gCurrentIsLast = record == mRecords.mLast;
    NewView::ScrollBarUpdate() = gCurrentIsLast;
}

const std::string& CPolyDoc::GetFilePath() const
{
    return IsBlank(mOwnFilePath) ? mPathName : mOwnFilePath;
}

void CPolyDoc::SetPathName(const char* path, bool addToRecentFiles)
{
    // The form belongs to the file: another file's is not known.
    if (IsBlank(path) || mPathName != path)
        mFileForm = -1;
    if (IsBlank(path))
        mPathName.clear();
    else
    {
        mPathName = path;
        if (addToRecentFiles)
            GetRecentFileList().Add(mPathName);
    }
    mOwnFilePath.clear();
    UpdateTitle();
}

void CPolyDoc::UpdateTitle()
{
    const Poly& poly = mRecords.mCurrent->mPoly;
    std::string name = poly.mBaseName;
    if (name.empty() && poly.mLibraryEntry && poly.mLibraryEntry->mName)
        name = poly.mLibraryEntry->mName;
    mTitle = MakeDocumentTitle(GetFilePath(), poly.GetName(), name);
    SetMainWindowTitle(mTitle);
    ShowCurrentInToolbarBoxes();
    GetShell().InfoNeedsUpdate(15);
}

void CPolyDoc::ModelChanged(bool keepPath)
{
    if (!keepPath)
        SetPathName(nullptr, false);
    ShowCurrentInToolbarBoxes();
    for (void* v = GetShell().NextView(nullptr); v; v = GetShell().NextView(v))
    {
        GetShell().UpdateViewTitle(v);
        GetShell().RequestViewFit(v, 1);
    }
}

std::string MakeDocumentTitle(const std::string& filePath, const std::string& symbol, const std::string& name)
{
    std::string title;
    if (!IsBlank(filePath))
    {
        title = std::string("\"") + GetFileNamePart(filePath.c_str()) + "\": ";
        // Model names keep '/' as ';' in file names.
        std::replace(title.begin(), title.end(), ';', '/');
    }
    if (!symbol.empty())
        title += symbol + " - ";
    title += name.empty() ? "<No Name>" : name;
    return title;
}

CPolyDoc* GetPolyDoc()
{
    return gLivingDocument;
}

bool IsCurrentRecordLast()
{
    return gCurrentIsLast;
}

void RefreshDocument(int flags)
{
    CPolyDoc* doc = GetPolyDoc();
    if (!doc)
        return;
    if (!(flags & 1))
    {
        doc->ModelChanged((flags & 2) != 0);
        return;
    }
    doc->UpdateTitle();
    for (void* v = GetShell().NextView(nullptr); v; v = GetShell().NextView(v))
        GetShell().UpdateViewTitle(v);
    NewView::InvalidateAll(true, false);
}
