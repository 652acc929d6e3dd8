#include "model/CompoundPart.h"

int CompoundPart::GetGenus() const
{
    const int chi = GetEulerCharacteristic();
    return (mFlags & kOneSided) ? 2 - chi : (2 - chi) / 2;
}

void CompoundPart::FreeList(CompoundPart*& first, CompoundPart*& last)
{
    while (first)
    {
        CompoundPart* next = first->mNext;
        delete first;
        first = next;
    }
    last = nullptr;
}
