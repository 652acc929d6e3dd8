#pragma once

#include "document/UndoItem.h"

// The "Maintain Reflexibility" option of the stellations, exchanged when applied.
class ReflexibilityUndo : public UndoItem
{
public:
    ReflexibilityUndo();

    int32_t GetSize() const override { return 36; }
    // Kept even when nothing else changed: the option itself was the change.
    bool CloseUndo() override { return true; }
    bool Apply(bool undo) override;

    bool GetStoredOption() const { return mMaintain; }

private:
    bool mMaintain;
};
