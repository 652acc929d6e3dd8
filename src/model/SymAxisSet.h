#pragma once

#include "model/SymAxis.h"

#include <cstdint>
#include <memory>

// One class of equivalent rotation axes of a SymGroup, which owns it.
class SymAxisSet
{
public:
    // Sets the three counts and gives the class numAxes zeroed axes (none for numAxes <= 0).
    // False when memory runs out; the class is then left without axes.
    bool Init(int order, int numAxes, int numEnds);

    int32_t mOrder = -1;    // the axes are mOrder-fold
    int32_t mNumAxes = -1;
    int32_t mNumEnds = -1;  // poles: twice mNumAxes when both ends of an axis are equivalent
    std::unique_ptr<SymAxis[]> mAxes;
    bool mOneSided = false;  // mNumAxes == mNumEnds
    // Holds the far ends of an earlier class's axes; enumeration passes it over so that no
    // rotation comes out twice.
    bool mSkip = false;
};
