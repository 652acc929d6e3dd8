#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>

class StellationCell;

// One breadth-first wave of cells from the core; its cells follow each other in the cell list.
// The Stellation owns its layers.
class StellationCellLayer : public LinkNode<StellationCellLayer>
{
public:
    // Appended to the list; numbered after the previous layer, whose count of cell types is then
    // known from the two first cells.
    StellationCellLayer(StellationCell* firstCell, StellationCellLayer*& first, StellationCellLayer*& last);

    // The cells that may join a fully supported stellation at this layer, given the layers below:
    // each pair of mirror candidates first, second of the pair before its partner.
    void CollectCandidates();
    // Counts the candidates up (or down) by one as a binary number, first candidate lowest; false
    // when the count overflowed to all excluded (or underflowed to all included).
    bool NextCombination();
    bool PrevCombination();
    bool HasIncludedCandidate() const;
    bool HasCandidates() const { return mFirstCandidate != nullptr; }
    void ClearCandidates();

    int32_t mNumber = 0;
    int32_t mNumCellTypes = 0;  // set when the next layer starts
    StellationCell* mFirstCell;
    StellationCell* mFirstCandidate = nullptr;
    StellationCell* mLastCandidate = nullptr;
};
