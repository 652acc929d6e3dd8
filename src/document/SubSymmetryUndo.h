#pragma once

#include "document/UndoItem.h"

class Poly;

// The two subgroup choices of the model (rotational and reflective index; 0 and 0: the full group).
// Applying it narrows the model to the stored subgroup again; as a side item of a whole-model change
// it keeps the colours the rebuilt model came back with.
class SubSymmetryUndo : public UndoItem
{
public:
    // Null without a model.
    static SubSymmetryUndo* Capture();

    int32_t GetSize() const override { return 24; }
    bool Apply(bool undo) override;

    int GetStoredChoice(int i) const { return mChoice[i]; }

private:
    SubSymmetryUndo();
    int mChoice[2] = {0, 0};
};

// A subgroup of the full group is applied.
bool HasSubSymmetry(const Poly& poly);
