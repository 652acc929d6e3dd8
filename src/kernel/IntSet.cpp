#include "kernel/IntSet.h"

#include <algorithm>
#include <new>

void IntSet::Init()
{
    items.reset();
    capacity = 0;
    count = 0;
}

int IntSet::Add(int32_t key)
{
    for (int i = 0; i < count; ++i)
        if (items[i] == key)
            return i;
    if (count == capacity)
    {
        const int newCapacity = capacity == 0 ? 10 : capacity * 2;
        std::unique_ptr<int32_t[]> grown(new (std::nothrow) int32_t[newCapacity]);
        if (!grown)
            return -1;
        std::copy(items.get(), items.get() + count, grown.get());
        items = std::move(grown);
        capacity = newCapacity;
    }
    items[count] = key;
    return count++;
}

void IntSet::Free()
{
    Init();
}
