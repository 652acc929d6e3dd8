#include "document/UndoList.h"

#include "document/ColorUndo.h"
#include "document/DocumentSettings.h"
#include "document/ScaleUndo.h"
#include "document/UndoItem.h"
#include "document/WholeModelUndo.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UndoKinds.h"
#include "kernel/WaitCursor.h"
#include "model/ModelRecord.h"

#include <wx/menu.h>

namespace
{
UndoItem* gFirst = nullptr;  // oldest
UndoItem* gLast = nullptr;   // newest
UndoItem* gRedoPoint = nullptr;  // the oldest undone item; null: nothing to redo
int gStepCount = 0;
int gTotalSize = 0;
int gGroupDepth = 0;
int64_t gGroupStartSerial = 0;  // items made since the group began belong to it
int64_t gNextSerial = 1;
// The step the latest AddUndo made (the serial of its first item); -1 when it made none.
int64_t gLastAddSerial = -1;
bool gOpen = false;
// Applying items must not change the list it walks.
bool gApplying = false;
UndoItemMaker gMaker;

bool Enabled()
{
    return GetDocumentSettings().undoEnabled;
}

UndoItem* MakeItem(int kind)
{
    return gMaker ? gMaker(kind) : MakeProgramUndoItem(kind);
}

void Append(UndoItem* item)
{
    item->mSerial = gNextSerial++;
    ListAppend(item, gFirst, gLast);
}

void CountSize(UndoItem* item)
{
    item->mCountedSize = item->GetSize();
    gTotalSize += item->mCountedSize;
}

// Unlinks and deletes an item, its bytes leaving the total.
void DeleteItem(UndoItem* item)
{
    if (item == gRedoPoint)
        gRedoPoint = item->next;
    gTotalSize -= item->mCountedSize;
    ListRemove(item, gFirst, gLast);
    delete item;
}

// A step that was undone no longer leads anywhere once a new change is made.
void DeleteRedoItems()
{
    if (!gRedoPoint)
        return;
    while (gLast && gRedoPoint)
    {
        UndoItem* item = gLast;
        // Each undone step is a whole step counted on its own, inside a group or not.
        if (!(item->mFlags & UndoItem::kJoinedToNext))
            --gStepCount;
        const bool wasRedoPoint = item == gRedoPoint;
        DeleteItem(item);
        if (wasRedoPoint)
            gRedoPoint = nullptr;
    }
}

// The newest item and every item joined before it.
void DeleteNewestStep()
{
    if (!gLast)
        return;
    if (gGroupDepth == 0)
        --gStepCount;
    DeleteItem(gLast);
    while (gLast && (gLast->mFlags & UndoItem::kJoinedToNext))
        DeleteItem(gLast);
}

void ShowMessage(const std::string& text)
{
    GetShell().SetViewMessage(nullptr, text);
}

// After an item exchanged its state it holds the other model: the total follows.
void Recount(UndoItem* item)
{
    gTotalSize -= item->mCountedSize;
    CountSize(item);
}

UndoItem* NewestUndoable()
{
    return gRedoPoint ? gRedoPoint->prev : gLast;
}

void DumpList(const char* why)
{
    DebugTrace("%s", why);
    DebugTrace("UndoList: TotalNumUndos %d, UndoGroupDepth %d\n", gStepCount, gGroupDepth);
}
}  // namespace

void SetUndoItemMaker(UndoItemMaker maker)
{
    gMaker = std::move(maker);
}

UndoItem* MakeProgramUndoItem(int kind)
{
    if (kind == kUndoScaleChange)
        return new ScaleUndo();
    if (kind == kUndoColorChange)
        return ColorUndo::Capture();
    if (kind == kUndoImageOptions)
        return new UndoItem(kind);
    if (IsWholeModelUndoKind(kind))
        return WholeModelUndo::Capture(kind);
    return nullptr;
}

void AddUndo(int kind, bool join)
{
    if (gApplying)
        return;
    if (gOpen)
    {
        DebugTrace("AddUndo(): Undo is still open!\nLastUndo '%s'", gLast ? UndoKindName(gLast->GetKind()) : "NULL");
        CloseUndo();
    }
    if (!join)
        gLastAddSerial = -1;
    if (!Enabled())
        return;
    if (kind == kUndoCreateNewModel || kind == kUndoFileOpen || kind == kUndoOpenTourItem)
    {
        // Only a finished model can be recorded: not one whose vertices are still being matched.
        const Poly* poly = GetCurrentPoly();
        if (!poly || (poly->mMatchingStatus != Poly::kMatchingFinished &&
                      poly->mMatchingStatus != Poly::kMatchingOpenBranches))
            return;
    }
    ScopedWaitCursor wait;
    if (!join)
        DeleteRedoItems();

    UndoItem* item = MakeItem(kind);
    if (!item)
    {
        DebugTrace("AddUndo(): nothing recorded for '%s'", UndoKindName(kind));
        return;
    }
    if (IsWholeModelUndoKind(kind) && GetInverseTransitionDepth() > 0)
        item->mFlags |= UndoItem::kInverted;
    UndoItem* previous = gLast;
    Append(item);
    if (IsOpenUndoKind(kind))
        gOpen = true;
    else
        CountSize(item);

    if (join)
    {
        if (previous)
        {
            previous->mFlags |= UndoItem::kJoinedToNext;
            item->mFlags |= UndoItem::kJoinedToPrev;
        }
        return;
    }
    item->mFlags |= UndoItem::kNamesStep;
    gLastAddSerial = item->mSerial;
    if (gGroupDepth == 0)
        ++gStepCount;
    TrimUndoList();
}

void CloseUndo()
{
    if (!Enabled() || gApplying)
        return;
    if (!gOpen || !gLast)
    {
        gOpen = false;
        DebugTrace("CloseUndo(): Not open");
        return;
    }
    gOpen = false;
    UndoItem* item = gLast;
    const int kind = item->GetKind();
    const bool keep = kind == kUndoFileOpen || kind == kUndoOpenTourItem || item->CloseUndo();
    CountSize(item);
    if (!keep)
    {
        // The open item is the newest: it goes with whatever was joined to it.
        const int64_t serial = item->mSerial;
        DeleteNewestStep();
        if (gLastAddSerial >= serial || !gLast)
            gLastAddSerial = -1;
    }
    TrimUndoList();
}

void DiscardLastUndo()
{
    if (!Enabled() || gApplying)
        return;
    if (gOpen)
        CloseUndo();
    if (gRedoPoint || !gLast)
        return;
    // Only the step the latest AddUndo made: when that recorded nothing, the newest step belongs
    // to an earlier change that succeeded.
    if (gLastAddSerial < 0 || gLast->mSerial < gLastAddSerial)
        return;
    DeleteNewestStep();
    gLastAddSerial = -1;
}

void BeginUndoGroup(int kind)
{
    if (!Enabled() || gApplying)
        return;
    if (++gGroupDepth == 1)
    {
        gGroupStartSerial = gNextSerial;
        AddUndo(kind, false);
    }
}

void EndUndoGroup()
{
    if (!Enabled() || gApplying)
        return;
    if (gGroupDepth <= 0)
    {
        DumpList("EndUndoGroup: called too many times");
        return;
    }
    if (--gGroupDepth > 0)
        return;
    // Nothing recorded inside the group: there is nothing to join, and nothing older to touch.
    if (!gLast || gLast->mSerial < gGroupStartSerial)
        return;
    UndoItem* first = gLast;
    while (first->prev && first->prev->mSerial >= gGroupStartSerial)
        first = first->prev;
    for (UndoItem* item = first; item; item = item->next)
    {
        if (item != gLast)
            item->mFlags |= UndoItem::kJoinedToNext;
        if (item != first)
            item->mFlags = (item->mFlags | UndoItem::kJoinedToPrev) & ~UndoItem::kNamesStep;
    }
    first->mFlags |= UndoItem::kNamesStep;
    ++gStepCount;
    TrimUndoList();
}

void TrimUndoList()
{
    if (!Enabled())
    {
        ClearUndoList();
        return;
    }
    if (gGroupDepth > 0)
        return;
    const DocumentSettings& s = GetDocumentSettings();
    while (gFirst && (gStepCount > s.maxNumUndos || (gStepCount > s.minNumUndos && gTotalSize > s.maxUndoSize)))
    {
        --gStepCount;
        bool joined = true;
        while (gFirst && joined)
        {
            joined = (gFirst->mFlags & UndoItem::kJoinedToNext) != 0;
            // A trimmed redo point hands its place to the next item, which is undone as well.
            DeleteItem(gFirst);
        }
    }
}

void ClearUndoList()
{
    gRedoPoint = nullptr;
    gOpen = false;
    while (gLast)
        DeleteItem(gLast);
    gStepCount = 0;
    gTotalSize = 0;
    gLastAddSerial = -1;
}

int GetUndoSize()
{
    return gTotalSize;
}

int GetUndoStepCount()
{
    return gStepCount;
}

bool IsUndoListEmpty()
{
    return gFirst == nullptr;
}

bool CanUndo()
{
    return gFirst && gRedoPoint != gFirst;
}

bool CanRedo()
{
    return gRedoPoint != nullptr;
}

UndoItem* GetOldestUndoItem()
{
    return gFirst;
}

UndoItem* GetNewestUndoItem()
{
    return gLast;
}

void UndoList::Undo()
{
    // A step asked for while one is being applied (from a loop inside it) waits for the next.
    if (gApplying)
        return;
    if (!Enabled())
    {
        ShowMessage("Undo/redo is disabled");
        return;
    }
    if (gOpen)
        CloseUndo();
    if (!CanUndo())
    {
        ShowMessage("Can't undo any further");
        return;
    }
    ScopedWaitCursor wait;
    gApplying = true;
    UndoItem* item = NewestUndoable();
    while (item)
    {
        if (!(item->mFlags & UndoItem::kSkipOnUndo))
        {
            if (!item->Apply(true))
                ErrorMessage("Undo failed");
            else if (item->mFlags & UndoItem::kNamesStep)
                ShowMessage(std::string("Undid ") + UndoKindName(item->GetKind()));
            Recount(item);
        }
        gRedoPoint = item;
        item = item->prev && (item->prev->mFlags & UndoItem::kJoinedToNext) ? item->prev : nullptr;
    }
    gApplying = false;
    GetShell().InvalidateAllViews(false, 1);
}

void UndoList::Redo()
{
    // A step asked for while one is being applied (from a loop inside it) waits for the next.
    if (gApplying)
        return;
    if (!Enabled())
    {
        ShowMessage("Undo/redo is disabled");
        return;
    }
    if (!CanRedo())
    {
        ShowMessage("Can't redo any further");
        return;
    }
    ScopedWaitCursor wait;
    gApplying = true;
    UndoItem* item = gRedoPoint;
    while (item)
    {
        if (!(item->mFlags & UndoItem::kSkipOnRedo))
        {
            if (!item->Apply(false))
                ErrorMessage("Redo failed");
            else if (item->mFlags & UndoItem::kNamesStep)
                ShowMessage(std::string("Redid ") + UndoKindName(item->GetKind()));
            Recount(item);
        }
        gRedoPoint = item->next;
        item = item->next && (item->next->mFlags & UndoItem::kJoinedToPrev) ? item->next : nullptr;
    }
    gApplying = false;
    GetShell().InvalidateAllViews(false, 1);
}

std::string UndoMenuText(bool withAccelerator)
{
    std::string text = "Can't &Undo";
    for (const UndoItem* item = CanUndo() ? NewestUndoable() : nullptr; item; item = item->prev)
        if (item->mFlags & UndoItem::kNamesStep)
        {
            text = std::string("&Undo ") + UndoKindName(item->GetKind());
            break;
        }
    return withAccelerator ? text + "\tCtrl+Z" : text;
}

std::string RedoMenuText(bool withAccelerator)
{
    std::string text = "Can't &Redo";
    for (const UndoItem* item = gRedoPoint; item; item = item->next)
        if (item->mFlags & UndoItem::kNamesStep)
        {
            text = std::string("&Redo ") + UndoKindName(item->GetKind());
            break;
        }
    return withAccelerator ? text + "\tCtrl+R" : text;
}

std::vector<std::string> UndoHistoryTexts(bool undoSide, bool& more)
{
    std::vector<std::string> texts;
    more = false;
    const char* verb = undoSide ? "&Undo " : "&Redo ";
    const UndoItem* item = undoSide ? (CanUndo() ? NewestUndoable() : nullptr) : gRedoPoint;
    for (; item; item = undoSide ? item->prev : item->next)
    {
        if (!(item->mFlags & UndoItem::kNamesStep))
            continue;
        if (int(texts.size()) == kUndoHistoryEntries)
        {
            more = true;
            break;
        }
        texts.push_back(verb + std::string(UndoKindName(item->GetKind())));
    }
    return texts;
}

void BuildUndoHistoryMenu(wxMenu& menu, bool undoSide)
{
    if (undoSide ? !CanUndo() : !CanRedo())
        return;
    bool more = false;
    const std::vector<std::string> texts = UndoHistoryTexts(undoSide, more);
    int id = 1;
    for (const std::string& text : texts)
        menu.Append(id++, wxString::FromUTF8(text));
    if (more)
        menu.Append(id, "...")->Enable(false);
}
