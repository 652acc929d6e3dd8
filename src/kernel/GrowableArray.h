#pragma once

#include <cstdint>
#include <memory>
#include <new>

// A plain growable block of values (colour lists and the like); its users fill it with Add.
template <class T>
class GrowableArray
{
public:
    uint32_t capacity = 0;
    uint32_t count = 0;
    std::unique_ptr<T[]> items;

    // False, with nothing changed, when the block cannot grow.
    bool Add(const T& value)
    {
        if (count == capacity && !Reserve(capacity == 0 ? 16 : capacity * 2))
            return false;
        items[count++] = value;
        return true;
    }

    bool Reserve(uint32_t n)
    {
        if (n <= capacity)
            return true;
        std::unique_ptr<T[]> grown(new (std::nothrow) T[n]);
        if (!grown)
            return false;
        for (uint32_t i = 0; i < count; ++i)
            grown[i] = items[i];
        items = std::move(grown);
        capacity = n;
        return true;
    }

    void Clear() { count = 0; }
    void Free()
    {
        items.reset();
        capacity = count = 0;
    }

    T& operator[](uint32_t i) { return items[i]; }
    const T& operator[](uint32_t i) const { return items[i]; }
    T* begin() { return items.get(); }
    T* end() { return items.get() + count; }
    const T* begin() const { return items.get(); }
    const T* end() const { return items.get() + count; }
};
