#include "kernel/RadixSort.h"

#include <cstring>
#include <new>
#include <utility>

namespace
{
uint32_t KeyBits(float key)
{
    uint32_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    return bits;
}
}  // namespace

void RadixSort::Release()
{
    mRanks.reset();
    mRanks2.reset();
    mKeys.reset();
    mObjects.reset();
    mCapacity = 0;
    mSize = 0;
}

bool RadixSort::Resize(uint32_t n)
{
    Release();
    mRanks.reset(new (std::nothrow) uint32_t[n]);
    if (mRanks)
        mRanks2.reset(new (std::nothrow) uint32_t[n]);
    if (mRanks2)
        mKeys.reset(new (std::nothrow) float[n]);
    if (mKeys)
        mObjects.reset(new (std::nothrow) void*[n]);
    if (!mObjects)
    {
        Release();
        return false;
    }
    mCapacity = n;
    ResetRanks();
    return true;
}

void RadixSort::ResetRanks()
{
    for (uint32_t i = 0; i < mCapacity; ++i)
        mRanks[i] = i;
}

bool RadixSort::Prepare(uint32_t n)
{
    if (n == mSize && mRanks)
        return true;
    if (n > mCapacity || !mRanks)
    {
        if (!Resize(n))
            return false;
    }
    else
    {
        ResetRanks();
    }
    mSize = n;
    return true;
}

bool RadixSort::Sort(const float* keys, uint32_t n)
{
    if (!keys || n == 0)
        return true;
    ++mTotalSorts;
    if (!Prepare(n))
        return false;

    uint32_t hist[4][256] = {};
    bool ordered = true;
    float previous = keys[mRanks[0]];
    for (uint32_t i = 0; i < n; ++i)
    {
        const uint32_t bits = KeyBits(keys[i]);
        ++hist[0][bits & 0xFF];
        ++hist[1][(bits >> 8) & 0xFF];
        ++hist[2][(bits >> 16) & 0xFF];
        ++hist[3][bits >> 24];
        if (ordered)
        {
            const float k = keys[mRanks[i]];
            if (k < previous)
                ordered = false;
            previous = k;
        }
    }
    if (ordered)
    {
        ++mHits;
        return true;
    }

    uint32_t negatives = 0;
    for (int b = 128; b < 256; ++b)
        negatives += hist[3][b];

    uint32_t offset[256];
    const uint32_t firstBits = KeyBits(keys[0]);
    for (int pass = 0; pass < 3; ++pass)
    {
        const int shift = pass * 8;
        const uint32_t* count = hist[pass];
        if (count[(firstBits >> shift) & 0xFF] == n)
            continue;
        offset[0] = 0;
        for (int b = 1; b < 256; ++b)
            offset[b] = offset[b - 1] + count[b - 1];
        for (uint32_t i = 0; i < n; ++i)
        {
            const uint32_t index = mRanks[i];
            mRanks2[offset[(KeyBits(keys[index]) >> shift) & 0xFF]++] = index;
        }
        std::swap(mRanks, mRanks2);
    }

    // The top byte holds the sign: negative keys sort in reverse order of their bit patterns.
    const uint32_t* count = hist[3];
    const uint32_t firstTop = firstBits >> 24;
    if (count[firstTop] == n)
    {
        if (firstTop >= 128)
        {
            for (uint32_t i = 0; i < n; ++i)
                mRanks2[i] = mRanks[n - 1 - i];
            std::swap(mRanks, mRanks2);
        }
        return true;
    }
    offset[0] = negatives;
    for (int b = 1; b < 128; ++b)
        offset[b] = offset[b - 1] + count[b - 1];
    offset[255] = 0;
    for (int b = 254; b >= 128; --b)
        offset[b] = offset[b + 1] + count[b + 1];
    for (int b = 128; b < 256; ++b)
        offset[b] += count[b];
    for (uint32_t i = 0; i < n; ++i)
    {
        const uint32_t index = mRanks[i];
        const uint32_t top = KeyBits(keys[index]) >> 24;
        if (top < 128)
            mRanks2[offset[top]++] = index;
        else
            mRanks2[--offset[top]] = index;
    }
    std::swap(mRanks, mRanks2);
    return true;
}
