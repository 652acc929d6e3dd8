#pragma once

#include "document/UndoItem.h"

#include <vector>

// The "Maintain Reflexibility" option of the stellations with the cells of both sides that changed
// with it. As a side item of a whole-model change it holds the cells by which the stellations
// differed from the unstellated model, and gives them back when the change is undone.
class ReflexibilityUndo : public UndoItem
{
public:
    ReflexibilityUndo();

    int32_t GetSize() const override { return int32_t(4 * (mBaseCells.size() + mDualCells.size()) + 36); }
    // Kept even when no cell changed: the option itself was the change.
    bool CloseUndo() override;
    bool Apply(bool undo) override;

    bool GetStoredOption() const { return mMaintain; }
    const std::vector<int>& GetCells(bool dual) const { return dual ? mDualCells : mBaseCells; }

private:
    bool mMaintain;
    std::vector<int> mBaseCells;
    std::vector<int> mDualCells;
};
