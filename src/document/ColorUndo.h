#pragma once

#include "document/UndoItem.h"

#include <cstdint>
#include <vector>

// Every element colour of the current model before a colour change, packed: for each face, then
// each vertex, its front and back colour, then each edge's colour; for a 4D model the colour of
// every element of the polytope and of its dual when built. Applying it exchanges the stored colours
// with the model's, so colours come back to the nearest 1/255 step.
class ColorUndo : public UndoItem
{
public:
    // Null without a model and for a model without elements.
    static ColorUndo* Capture();

    int32_t GetSize() const override { return int32_t(mColors.size()) * 8 + 28; }
    bool Apply(bool undo) override;

private:
    ColorUndo();

    struct Entry
    {
        uint32_t front;
        uint32_t back;
    };
    std::vector<Entry> mColors;
};
