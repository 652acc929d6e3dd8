#include "stellation/StellationCell.h"

#include "stellation/Stellation.h"
#include "stellation/StellationCellLayer.h"

StellationCell::StellationCell(Stellation* stellation, int index, StellationCellLayer* layer)
    : mStellation(stellation), mIndex(index), mLayer(layer)
{
    if (stellation)
        ListAppend(this, stellation->mFirstCell, stellation->mLastCell);
}

int StellationCell::GetIndexInLayer(const StellationCell* cell)
{
    if (!cell || !cell->mLayer || !cell->mLayer->mFirstCell)
        return -1;
    return cell->mIndex - cell->mLayer->mFirstCell->mIndex;
}

StellationCell* StellationCell::GetMirror()
{
    if ((mFlags & kCellChiralFirst) && next)
        return next;
    if ((mFlags & kCellChiralSecond) && prev)
        return prev;
    return this;
}

int StellationCell::GetNumCopies() const
{
    if (mFlags & kCellCore)
        return 1;
    if (mStellation && mStellation->mLastCell == this)
        return 0;
    int axisClass = -1;
    if (mFlags & kCellOnAxis)
        axisClass = (mFlags & kCellAxisClass0) ? 0 : (mFlags & kCellAxisClass1) ? 1 : 2;
    return Stellation::CountCopies(mStellation, axisClass);
}
