#pragma once

#include <memory>
#include <new>

// A count with an owned array of default-constructed records (the mirror planes of a group, ...).
template <class T>
class CountedArray
{
public:
    int count = 0;
    std::unique_ptr<T[]> items;

    // Replaces the records by n fresh ones; no array for n <= 0. False when memory runs out.
    bool Resize(int n)
    {
        items.reset();
        count = 0;
        if (n <= 0)
            return true;
        items.reset(new (std::nothrow) T[n]());
        if (!items)
            return false;
        count = n;
        return true;
    }

    void Free() { Resize(0); }

    T& operator[](int i) { return items[i]; }
    const T& operator[](int i) const { return items[i]; }
    T* begin() { return items.get(); }
    T* end() { return items.get() + count; }
    const T* begin() const { return items.get(); }
    const T* end() const { return items.get() + count; }
};
