#pragma once

#include "kernel/BigUInt.h"
#include "kernel/Duration.h"
#include "library/RangeList.h"

#include <cstdint>
#include <memory>
#include <vector>

class ElemList;
class Poly;
class Stellation;

// What a model file's "Stellation" or "DualStellation" section says of one side beyond the colours
// of its elements: filled while the section is read, when the model may not exist yet, and applied
// to the side after the read. The reader owns one per side for the length of a read.
struct SceneStellationState
{
    bool colored = false;  // the section gave its elements colours
    // Colours by face type (0x00BBGGRR), front and back lists of one count; -1 when none was read.
    int faceTypeColorCount = -1;
    std::vector<uint32_t> faceTypeColors;
    std::vector<uint32_t> backFaceTypeColors;

    BigUInt facetingTotal;
    BigUInt facetingChirals;
    BigUInt facetingCompounds;
    Duration facetingTime;

    // The cells of the stellation and of the enumeration as runs of cell numbers; counts of -1
    // when not read.
    int usedCellCount = -1;
    std::unique_ptr<RangePair[]> usedCells;
    int enumCellCount = -1;
    std::unique_ptr<RangePair[]> enumCells;
    int maxCellSoFar = -1;

    bool enumerationRead = false;  // "NumStellations" was read
    BigUInt numStellations;
    BigUInt numChirals;
    BigUInt numMillerExceptions;
    int maxNumCells = -1;
    Duration timeTaken;
    Duration startSubTime;
    Duration endSubTime;
    Duration endTime;

    // Gives the side what the model can take now: each element of the list takes the front (and,
    // when read, the back) colour of its face type, for the face types the colours reach. The cells,
    // faceting totals and enumeration counts are kept for the stellation build to take.
    void Apply(Poly& poly, ElemList& list, Stellation& stellation) const;
};
