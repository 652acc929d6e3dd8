#include "document/UndoList.h"

#include "document/AppShell.h"
#include "document/ColorUndo.h"
#include "document/DocumentSettings.h"
#include "document/ScaleUndo.h"
#include "document/DrawnFacetUndo.h"
#include "document/ImageUndo.h"
#include "document/ReflexibilityUndo.h"
#include "document/StellationUndo.h"
#include "document/SubSymmetryUndo.h"
#include "document/UndoItem.h"
#include "document/WholeModelUndo.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UndoKinds.h"
#include "kernel/WaitCursor.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"

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
// The item the group's kind made, which names the step; side items made before it do not.
int64_t gGroupNameSerial = -1;
int64_t gNextSerial = 1;
// The step the latest AddUndo made (the serial of its first item); -1 when it made none.
int64_t gLastAddSerial = -1;
bool gOpen = false;
// Applying items must not change the list it walks.
bool gApplying = false;
UndoItemMaker gMaker;
// The cells the open stellation or reflexibility item has seen change, by their new state.
std::vector<StellationCell*> gRecordedIncluded;
std::vector<StellationCell*> gRecordedExcluded;

void ClearRecordedCells()
{
    for (std::vector<StellationCell*>* list : {&gRecordedIncluded, &gRecordedExcluded})
    {
        for (StellationCell* cell : *list)
            cell->mFlags &= ~kCellUndoRecorded;
        list->clear();
    }
}

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

// A side item of the step being built, joined to the item before it when that belongs to the step
// too; every side item is joined to the item that follows it. False when nothing was recorded.
bool AppendSideItem(int kind, uint32_t marks, int64_t stepStart)
{
    UndoItem* item = MakeItem(kind);
    if (!item)
        return false;
    UndoItem* previous = gLast;
    Append(item);
    CountSize(item);
    item->mFlags |= marks | UndoItem::kJoinedToNext;
    if (previous && previous->mSerial >= stepStart)
        item->mFlags |= UndoItem::kJoinedToPrev;
    return true;
}

bool IsStellated(const Poly& poly)
{
    return !Stellation::IsOriginal(poly.GetFaceStellation()) || !Stellation::IsOriginal(poly.GetVertStellation());
}

// The cells by which the stellations differ from the unstellated model: recorded by resetting
// them (without refitting the views) under the open item, which applying at once toggles back.
bool AppendStellationSideItem(Poly& poly, int64_t stepStart)
{
    if (!AppendSideItem(kUndoReflexibilityChange, UndoItem::kSkipOnRedo, stepStart))
        return false;
    UndoItem* item = gLast;
    {
        ShellFitSuspension noFits;
        gOpen = true;
        for (Stellation* side : {poly.GetFaceStellation(), poly.GetVertStellation()})
            if (!side->IsOriginal())
                side->ResetToOriginal();
        gOpen = false;
        item->CloseUndo();
        ClearRecordedCells();
        gApplying = true;
        item->Apply(false);
        gApplying = false;
    }
    Recount(item);
    return true;
}

// What a whole-model change loses with the model: drawn facets, whose item exchanges and so acts in
// both directions, and the stellations and the applied subgroup, which only undoing puts back.
bool AppendBeforeSideItems(int64_t stepStart)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    bool added = false;
    if (HasDrawnFacets(*poly))
        added |= AppendSideItem(kUndoFacetingChange, 0, stepStart);
    if (IsStellated(*poly))
        added |= AppendStellationSideItem(*poly, stepStart);
    if (HasSubSymmetry(*poly))
        added |= AppendSideItem(kUndoSubSymmetry, UndoItem::kSkipOnRedo, stepStart);
    return added;
}

// The state after a file or tour item was read, which only redoing puts back after the model.
void AppendAfterSideItems()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    const bool subSymmetry = HasSubSymmetry(*poly);
    const bool drawnFacets = HasDrawnFacets(*poly);
    for (int kind : {kUndoSubSymmetry, kUndoFacetingChange})
    {
        if ((kind == kUndoSubSymmetry && !subSymmetry) || (kind == kUndoFacetingChange && !drawnFacets))
            continue;
        UndoItem* previous = gLast;
        UndoItem* item = MakeItem(kind);
        if (!item)
            continue;
        Append(item);
        CountSize(item);
        item->mFlags |= UndoItem::kSkipOnUndo | UndoItem::kJoinedToPrev;
        if (previous)
            previous->mFlags |= UndoItem::kJoinedToNext;
    }
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
    if (kind == kUndoFacetingChange)
        return DrawnFacetUndo::Capture();
    if (kind == kUndoSubSymmetry)
        return SubSymmetryUndo::Capture();
    if (kind == kUndoReflexibilityChange)
        return new ReflexibilityUndo();
    if (kind == kUndoStellationChange || kind == kUndoDualStellationChange)
        return GetCurrentPoly() ? new UndoOneStel(kind) : nullptr;
    if (kind == kUndoApplyImage || kind == kUndoImageSwap)
        return ImageUndo::Capture(kind);
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

    // Items made before the main item (a colour step, side items) belong to its step.
    const int64_t stepStart = gNextSerial;
    bool leadingItems = false;
    if (!join && kind == kUndoSubSymmetry)
        leadingItems = AppendSideItem(kUndoColorChange, 0, stepStart);
    else if (!join && IsWholeModelUndoKind(kind))
        leadingItems = AppendBeforeSideItems(stepStart);

    UndoItem* item = MakeItem(kind);
    if (!item)
    {
        DebugTrace("AddUndo(): nothing recorded for '%s'", UndoKindName(kind));
        // Items around a change that was not recorded would undo only half of it.
        while (gLast && gLast->mSerial >= stepStart)
            DeleteItem(gLast);
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

    if (join || leadingItems)
    {
        if (previous)
        {
            previous->mFlags |= UndoItem::kJoinedToNext;
            item->mFlags |= UndoItem::kJoinedToPrev;
        }
        if (join)
            return;
    }
    item->mFlags |= UndoItem::kNamesStep;
    gLastAddSerial = stepStart;
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
        ClearRecordedCells();
        return;
    }
    gOpen = false;
    UndoItem* item = gLast;
    const int kind = item->GetKind();
    const bool readIn = kind == kUndoFileOpen || kind == kUndoOpenTourItem;
    const bool keep = readIn || item->CloseUndo();
    CountSize(item);
    if (readIn)
        AppendAfterSideItems();
    if (!keep)
    {
        // The open item is the newest: it goes with whatever was joined to it.
        const int64_t serial = item->mSerial;
        DeleteNewestStep();
        if (gLastAddSerial >= serial || !gLast)
            gLastAddSerial = -1;
    }
    TrimUndoList();
    ClearRecordedCells();
}

void DiscardLastUndo()
{
    ClearRecordedCells();
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

void AddColorAndImageUndo()
{
    AddUndo(kUndoColorChange, false);
    // Joined only to a colour item of its own: never to an older, unrelated step.
    const bool colorRecorded = gLastAddSerial >= 0 && gLast && gLast->GetKind() == kUndoColorChange;
    AddUndo(kUndoApplyImage, colorRecorded);
}

void BeginUndoGroup(int kind)
{
    if (!Enabled() || gApplying)
        return;
    if (++gGroupDepth == 1)
    {
        gGroupStartSerial = gNextSerial;
        AddUndo(kind, false);
        gGroupNameSerial = gLast && gLast->mSerial >= gGroupStartSerial ? gLast->mSerial : -1;
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
    UndoItem* naming = first;
    for (UndoItem* item = first; item; item = item->next)
    {
        if (item->mSerial == gGroupNameSerial)
            naming = item;
        if (item != gLast)
            item->mFlags |= UndoItem::kJoinedToNext;
        if (item != first)
            item->mFlags |= UndoItem::kJoinedToPrev;
        item->mFlags &= ~UndoItem::kNamesStep;
    }
    naming->mFlags |= UndoItem::kNamesStep;
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
    ClearRecordedCells();
    gRedoPoint = nullptr;
    gOpen = false;
    while (gLast)
        DeleteItem(gLast);
    gStepCount = 0;
    gTotalSize = 0;
    gLastAddSerial = -1;
}

void AddStelUndo(const Stellation* stellation)
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    AddUndo(stellation == poly->GetFaceStellation() ? kUndoStellationChange : kUndoDualStellationChange, false);
}

void RecordStelCellChange(StellationCell* cell, bool nowIncluded)
{
    if (!cell || !gOpen || gApplying || !gLast || (cell->mFlags & kCellUndoRecorded))
        return;
    const int kind = gLast->GetKind();
    if (kind != kUndoStellationChange && kind != kUndoDualStellationChange && kind != kUndoReflexibilityChange)
        return;
    (nowIncluded ? gRecordedIncluded : gRecordedExcluded).push_back(cell);
    cell->mFlags |= kCellUndoRecorded;
}

const std::vector<StellationCell*>& RecordedStelCells(bool included)
{
    return included ? gRecordedIncluded : gRecordedExcluded;
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
