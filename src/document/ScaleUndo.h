#pragma once

#include "document/UndoItem.h"

// The model scale of the unit settings before a change of scale; applying it exchanges the stored
// scale with the current one.
class ScaleUndo : public UndoItem
{
public:
    ScaleUndo();

    int32_t GetSize() const override { return 24; }
    bool Apply(bool undo) override;

    double GetStoredScale() const { return mScale; }

private:
    double mScale;
};
