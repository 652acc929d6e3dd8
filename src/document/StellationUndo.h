#pragma once

#include "document/UndoItem.h"

#include <vector>

class Poly;
class Stellation;

// The cells of one side's stellation whose inclusion a change toggled ("Stellation Change", or
// "Dual Stellation Change" for the dual side). Toggling is its own inverse, so undo and redo apply
// the same list.
class UndoOneStel : public UndoItem
{
public:
    explicit UndoOneStel(int kind);

    int32_t GetSize() const override { return int32_t(4 * mCells.size() + 24); }
    // Keeps the recorded cells of its side that still differ from before; false when none do.
    bool CloseUndo() override;
    bool Apply(bool undo) override;

    bool IsDual() const { return mDual; }
    const std::vector<int>& GetCells() const { return mCells; }

    // The indices of the recorded cells of the side that were not toggled back, ascending; false
    // when a recorded cell is inconsistent with its list.
    static bool CollectCells(Poly* poly, bool dual, std::vector<int>& cells);
    // Builds the side's stellation when needed and toggles each cell, with "Maintain Reflexibility"
    // off meanwhile; false without a model or a stellation.
    static bool ToggleCells(Poly* poly, bool dual, const std::vector<int>& cells);

private:
    bool mDual;
    std::vector<int> mCells;
};
