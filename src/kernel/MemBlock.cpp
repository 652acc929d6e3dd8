#include "kernel/MemBlock.h"

#include <cstdlib>

MemBlock::MemBlock(MemBlock&& other) noexcept : mSize(other.mSize), mData(other.mData)
{
    other.mSize = 0;
    other.mData = nullptr;
}

MemBlock& MemBlock::operator=(MemBlock&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        mSize = other.mSize;
        mData = other.mData;
        other.mSize = 0;
        other.mData = nullptr;
    }
    return *this;
}

void MemBlock::Clear()
{
    std::free(mData);
    mData = nullptr;
    mSize = 0;
}
