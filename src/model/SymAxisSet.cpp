#include "model/SymAxisSet.h"

#include <new>

bool SymAxisSet::Init(int order, int numAxes, int numEnds)
{
    mOrder = order;
    mNumAxes = numAxes;
    mNumEnds = numEnds;
    mAxes.reset();
    if (numAxes <= 0)
        return true;
    mAxes.reset(new (std::nothrow) SymAxis[numAxes]());
    if (!mAxes)
    {
        mNumAxes = 0;
        return false;
    }
    return true;
}
