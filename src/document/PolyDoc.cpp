#include "document/PolyDoc.h"

#include "document/ModelRecord.h"
#include "document/ModelViewState.h"
#include "document/PolyApp.h"
#include "document/RecentFileList.h"
#include "kernel/Paths.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "platform/MainWindow.h"
#include "render/OpenGLView.h"

#include <algorithm>

namespace
{
bool gCurrentIsLast = false;

void SaveViewBlock(ModelViewBlock& block, NewView* view)
{
    const auto* state = dynamic_cast<const ModelViewState*>(view);
    block.viewType = state ? state->GetViewType() : -1;
    if (const auto* gl = dynamic_cast<const OpenGLView*>(view))
        block.snapshot.Save(*gl);
    if (state)
    {
        block.explosion = state->GetExplosion();
        block.projection4D = state->GetProjection4D();
        block.rotation4D = state->GetRotation4D();
    }
}

void RestoreViewBlock(const ModelViewBlock& block, NewView* view)
{
    auto* state = dynamic_cast<ModelViewState*>(view);
    if (state && block.viewType >= 0)
        state->SetViewType(block.viewType, true);
    if (auto* gl = dynamic_cast<OpenGLView*>(view))
        block.snapshot.Restore(*gl);
    if (!state)
        return;
    state->SetExplosion(block.explosion);
    // A block never saved holds no projection: the pane keeps its own.
    if (block.projection4D >= 0)
        state->SetProjection4D(block.projection4D);
    state->SetRotation4D(block.rotation4D);
}
}  // namespace

CPolyDoc::CPolyDoc()
{
    SwitchModelRecord(new ModelRecord(mFirstRecord, mLastRecord), kKeepPaths, nullptr);
}

CPolyDoc::~CPolyDoc()
{
    ListDeleteAll(mFirstRecord, mLastRecord);
    mCurrentRecord = nullptr;
}

PolyTemplate* CPolyDoc::GetCurrentTemplate() const
{
    return &mCurrentRecord->mTemplate;
}

ModelRecord* CPolyDoc::AddModelRecord()
{
    auto* record = new ModelRecord(mFirstRecord, mLastRecord);
    gCurrentIsLast = false;
    return record;
}

bool CPolyDoc::DeleteModelRecord(ModelRecord* record)
{
    if (!record || record == mCurrentRecord)
        return false;
    ListRemove(record, mFirstRecord, mLastRecord);
    delete record;
    gCurrentIsLast = mCurrentRecord == mLastRecord;
    return true;
}

void CPolyDoc::SwitchModelRecord(ModelRecord* record, int flags, NewView* view)
{
    if (!record || record == mCurrentRecord)
        return;
    if (ModelRecord* old = mCurrentRecord)
    {
        if (!(flags & kNoPaths))
        {
            old->mPathName = mPathName;
            old->mOwnFilePath = mOwnFilePath;
        }
        old->mScene = GetSceneParameters();
        int k = 0;
        for (NewView* v = NewView::GetFirstView(); v && k < kModelViewBlocks; v = v->next, ++k)
            if (!view || v == view)
                SaveViewBlock(old->mViews[k], v);
    }

    mCurrentRecord = record;
    gCurrentIsLast = false;
    if (!(flags & (kKeepPaths | kNoPaths)))
    {
        SetPathName(record->mPathName.c_str(), false);
        mOwnFilePath = record->mOwnFilePath;
    }
    if (!(flags & kNoRestore))
    {
        GetSceneParameters() = record->mScene;
        int k = 0;
        for (NewView* v = NewView::GetFirstView(); v && k < kModelViewBlocks; v = v->next, ++k)
            if (!view || v == view)
                RestoreViewBlock(record->mViews[k], v);
    }
    gCurrentIsLast = record == mLastRecord;
    NewView::ScrollBarUpdate() = gCurrentIsLast;
}

const std::string& CPolyDoc::GetFilePath() const
{
    return IsBlank(mOwnFilePath) ? mPathName : mOwnFilePath;
}

void CPolyDoc::SetPathName(const char* path, bool addToRecentFiles)
{
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
    // The model's own symbol and name join the title once the document's records hold a model.
    mTitle = MakeDocumentTitle(GetFilePath(), std::string(), std::string());
    SetMainWindowTitle(mTitle);
    GetShell().InfoNeedsUpdate(15);
}

void CPolyDoc::ModelChanged(bool keepPath)
{
    if (!keepPath)
        SetPathName(nullptr, false);
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

bool IsCurrentRecordLast()
{
    return gCurrentIsLast;
}

void RefreshDocument(int flags)
{
    CPolyDoc* doc = CPolyApp::GetDocument();
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
