#pragma once

#include <functional>
#include <string>
#include <vector>

class Stellation;
class StellationCell;
class UndoItem;
class wxMenu;

// The one list of undoable changes. A change opens an item of its kind before it alters anything
// (AddUndo), closes it afterwards when the kind records during the change (CloseUndo), and throws it
// away when it fails (DiscardLastUndo). Items joined to each other form one step; Undo and Redo walk
// whole steps. The list keeps at most "MaxNumUndos" steps and, beyond "MinNumUndos", at most
// "MaxUndoSize" bytes (DocumentSettings).

// join: the item belongs to the step being built.
void AddUndo(int kind, bool join);
void CloseUndo();
// Removes the newest step unapplied, but only when the latest AddUndo made it: a change that
// recorded nothing never takes an earlier, unrelated step with it.
void DiscardLastUndo();
// One step of a "Color Change" and an "Apply Image" item, for a change that touches both.
void AddColorAndImageUndo();
// Brackets several changes as one step named after the first.
void BeginUndoGroup(int kind);
void EndUndoGroup();
void TrimUndoList();
void ClearUndoList();

// "Stellation Change" for the current model's own stellation, else "Dual Stellation Change";
// nothing without a current model.
void AddStelUndo(const Stellation* stellation);
// While a stellation or reflexibility item is open, each cell whose inclusion changes is recorded
// once, on the list of its new state.
void RecordStelCellChange(StellationCell* cell, bool nowIncluded);
const std::vector<StellationCell*>& RecordedStelCells(bool included);

int GetUndoSize();
int GetUndoStepCount();
bool IsUndoListEmpty();
bool CanUndo();
bool CanRedo();

namespace UndoList
{
// One step back or forward, reported on the active view's message line.
void Undo();
void Redo();
}  // namespace UndoList

// "&Undo <step>" or "Can't &Undo", with "\tCtrl+Z" when asked; likewise "&Redo"/"\tCtrl+R".
std::string UndoMenuText(bool withAccelerator);
std::string RedoMenuText(bool withAccelerator);

inline constexpr int kUndoHistoryEntries = 20;
// The steps in the order they would be undone (or redone), at most kUndoHistoryEntries; more is set
// when further steps exist.
std::vector<std::string> UndoHistoryTexts(bool undoSide, bool& more);
// The history as a pop-up: ids 1, 2, ... for the number of steps, and a greyed "..." when there are
// more. Empty when nothing can be undone (redone).
void BuildUndoHistoryMenu(wxMenu& menu, bool undoSide);

// Makes the item of a kind, capturing the state before the change; null when the kind has no item
// (yet) or the state cannot be captured. The list installs the program's own maker; tests may
// install another (null restores the program's).
using UndoItemMaker = std::function<UndoItem*(int kind)>;
void SetUndoItemMaker(UndoItemMaker maker);
UndoItem* MakeProgramUndoItem(int kind);

// The ends of the list, oldest first, for inspection.
UndoItem* GetOldestUndoItem();
UndoItem* GetNewestUndoItem();
