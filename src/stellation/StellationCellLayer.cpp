#include "stellation/StellationCellLayer.h"

#include "stellation/StellationCell.h"

StellationCellLayer::StellationCellLayer(StellationCell* firstCell, StellationCellLayer*& first,
                                         StellationCellLayer*& last)
    : mFirstCell(firstCell)
{
    StellationCellLayer* previous = last;
    ListAppend(this, first, last);
    if (previous)
    {
        mNumber = previous->mNumber + 1;
        previous->mNumCellTypes = StellationCell::GetIndex(firstCell) - StellationCell::GetIndex(previous->mFirstCell);
    }
}
