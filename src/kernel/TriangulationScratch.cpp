#include "kernel/TriangulationScratch.h"

#include <new>

RingVert** TriangulationScratch::GetVertexPointers(int n)
{
    if (mCapacity < n)
    {
        mVertexPointers.reset();
        mCapacity = 0;
        const int64_t capacity = int64_t(n) * 3 / 2 + 20;
        if (capacity > INT32_MAX)
            return nullptr;
        mVertexPointers.reset(new (std::nothrow) RingVert*[size_t(capacity)]);
        if (!mVertexPointers)
            return nullptr;
        mCapacity = int32_t(capacity);
    }
    return mVertexPointers.get();
}
